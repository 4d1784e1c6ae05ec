#pragma once
#include <windows.h>

// The growth-simulation progress bar and caption for a planting-age step.
void DrawPlantGrowthProgress(HDC dc, int step);
