#pragma once
#include <stdint.h>

struct PlanSettings;

// Moves a plan point to the nearest whole grid step of the settings in the view
// plane; 1 when snapped. y is never changed.
uint8_t SnapFloatPointToGrid(PlanSettings* settings, float* x, float* y, float* z);
