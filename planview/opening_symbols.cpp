#include "planview/opening_symbols.h"

// Door and window symbols are not built yet.
void DrawDoorSymbol(HDC, PlanObject*, const RECT*, uint32_t, const DragTransform*) {}
void DrawWindowSymbol(HDC, PlanObject*, const RECT*, uint32_t, const DragTransform*) {}
