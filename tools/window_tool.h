#pragma once
#include <stdint.h>

// The window tool 7054.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

// Places a window on the wall section under the pointer.
void HandleWindowTool(float x, float y, float z, int16_t event);
