#pragma once
#include <stdint.h>

// The wiring 7108 and sprinkler 7508 tools. The wire is a quarter ellipse dragged from
// the press to the release, an open drawing element of shape kind 112 in the electrical
// category. The sprinkler's drag sets its place and throw radius, a second click the
// angle it covers; it becomes a pie-shaped sprinkler (type 125) in the garden category
// that keeps its spray angle. Both are built in the plan's x and z whatever the view.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

void HandleWiringTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
// An angle phase that ends before the pointer moved, or with a sweep of 0 (with Shift
// back in the very direction of the radius), makes nothing.
void HandleSprinklerTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);

// The spray-angle label of a sweep in degrees: the whole degrees of its size followed by
// the degree sign, byte 0xBA of the program's code page ("90º").
void FormatSprayAngle(float sweepDegrees, char* text, int size);
