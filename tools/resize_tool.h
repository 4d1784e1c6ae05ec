#pragma once
#include <stdint.h>

// Resize of the selection by a handle of its box (tool 215).
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

// Scales the selection about the handle opposite the one pressed.
void ResizeSelection(float x, float y, int16_t event);
