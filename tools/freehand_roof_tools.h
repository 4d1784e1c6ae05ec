#pragma once
#include <stdint.h>

// The freehand roof 7306 (an outline from the placement gesture that becomes a roof of
// type 57 with a slope arrow through its middle saying which way it falls) and the air
// duct 7400 (a two-point run, the HVAC twin of the beam tool).

// Dispatcher window form: (window x, window y, model x, y, z, event).
void HandleFreehandRoofTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleAirDuctTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);

// The select tool's drag of a freehand roof's slope arrow (the handle hit at the press):
// the arrow turns about the roof's middle in steps of 15 degrees and the roof falls
// the new way.
void DragFreehandRoofArrow();
