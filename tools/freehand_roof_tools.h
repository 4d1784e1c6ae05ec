#pragma once
#include <stdint.h>

// The freehand roof 7306 and air duct 7400 tools.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

void HandleFreehandRoofTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleAirDuctTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
// The select tool's drag of a freehand roof's pitch arrow (the handle hit at the press).
void DragFreehandRoofArrow();
