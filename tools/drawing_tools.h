#pragma once
#include <stdint.h>

// The line 7702, polygon and curve 7703/7707 and multigon 7706 tools.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

void HandleLineTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandlePolygonTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleMultigonTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
