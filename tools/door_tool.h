#pragma once

struct PlanVertex;

// Doors and square openings placed on a wall section, and the span rule the window and
// fixture tools share.

// The usable span of the segment start -> end for an opening: its length less 6.0, from
// low = 3.0 to high = length - 3.0. The pointer is not used.
float GetWallSectionSpan(float pointerX, float pointerY, const PlanVertex* segmentStart,
                         const PlanVertex* segmentEnd, float* low, float* high);
