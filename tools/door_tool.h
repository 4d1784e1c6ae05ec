#pragma once
#include <stdint.h>

// The square opening 7052 and door 7053 tools.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

// Places an opening or a door on the wall section under the pointer.
void HandleDoorTool(float x, float y, float z, int16_t event);
