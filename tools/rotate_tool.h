#pragma once
#include <stdint.h>

// The rotate tool 201 on a hit.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

// Turns the selection about its centre.
void RotateSelection(float x, float y, float z, int16_t event);
