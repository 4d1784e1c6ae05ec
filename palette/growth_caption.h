#pragma once
// The plant growth caption: a small progress bar in the frame's top strip shows the
// planting-age step as a fraction of the largest step, and, while the press-and-hold
// stepper runs, the readout area of the active plan window spells the age out.
#include <windows.h>
#include <cstdint>

// The largest growth step (23 at start: 20 years); the growth simulation dialog sets it.
extern uint16_t largestGrowthStep;
// Set by the press-and-hold stepper while it runs: the caption is shown.
extern uint8_t growthCaptionShown;

// Step 1, 2, 3 are three, six and nine months; step n from 4 on is n - 3 years.
void FormatGrowthPeriod(int step, char* text, size_t size);
// Draws the bar for the step (clamped to 1 .. largestGrowthStep) into the frame's DC at
// its growth control area and, with the caption switch, the caption; nothing without a DC.
void DrawPlantGrowthProgress(HDC dc, int step);
