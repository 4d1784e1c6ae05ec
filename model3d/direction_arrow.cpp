#include "model3d/direction_arrow.h"

// The stair direction arrow is not built yet.
void DrawDirectionArrow(HDC, PlanObject*, float, float, float, float) {}
