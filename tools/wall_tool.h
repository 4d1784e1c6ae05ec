#pragma once
#include <stdint.h>

// The interior wall 7051 and retaining wall 7507 tools.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

// Draws, extends, joins and closes walls.
void HandleWallTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
