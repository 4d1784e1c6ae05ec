#pragma once
#include <stdint.h>

// The arc 7704 and circular arc 7705 tools.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

void HandleArcTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event, int16_t toolId);
