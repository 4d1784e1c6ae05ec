#pragma once
#include <stdint.h>

// Electrical, plumbing and heating fixtures: on a wall section or free-standing.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

void HandleWallFixtureTool(float x, float y, float z, int16_t event, int16_t toolId);
void HandleFreeFixtureTool(float x, float z, int16_t event, int16_t toolId);
