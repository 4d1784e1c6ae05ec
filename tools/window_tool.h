#pragma once
#include <stdint.h>

// The window tool 7054: the twin of the door tool. A press on the bottom edge of a wall
// segment drags the window along it; the release makes a window (type 17) under the
// wall at the window defaults' elevation, with its model, and rebuilds the wall.

struct PlanMouseState;

// Dispatcher model form: (x, y, z, event).
void HandleWindowTool(float x, float y, float z, int16_t event);
// The press (other events do nothing); parameters: width, height, elevation (plan
// units), pointer x and z.
void PlaceWindowOnWall(int16_t event, const PlanMouseState* hit, uint16_t modifiers,
                       const float* parameters);
