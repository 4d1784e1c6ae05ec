#pragma once
#include <stdint.h>

// The dimension tool 202.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

void HandleDimensionTool(float x, float y, float z, int16_t event);
