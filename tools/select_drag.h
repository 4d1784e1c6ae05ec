#pragma once
#include <stdint.h>

// The select tool's drag of the selection (tools 200 and 216 on a hit).
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

// Moves the selection, its points, edges or wall ends.
void DragSelection(float x, float y, float z, int16_t event);
