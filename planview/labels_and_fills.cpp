#include "planview/labels_and_fills.h"

// Labels and area fills are not built yet: nothing is filled or written.
void FillObjectArea(HDC, PlanObject*, int, int, const ColourTriple*, const ColourTriple*, int32_t) {}
void DrawWallGroupOutline(HDC, PlanObject*, PlanObject*) {}
void HighlightExteriorWallGroups(HDC, PlanFloor*) {}
void DrawDeckLabel(HDC, PlanObject*) {}
void DrawSprinklerLabel(HDC, PlanObject*) {}
