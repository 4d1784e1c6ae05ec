#pragma once
#include <stdint.h>

// The curved stair tool 7056/7605.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

void HandleCurvedStairTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
