#include "planview/selection_marks.h"

// The marks are not drawn yet: a later repaint shows the selection.
void DrawPointMark(PlanVertex*, uint8_t) {}
void DrawSelectionBox(PlanObject*) {}
void DrawObjectOutlineXor(PlanObject*) {}
void DrawDottedBoundingBox(HDC, const float*) {}
