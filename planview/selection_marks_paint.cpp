#include "planview/selection_marks_paint.h"

// The walk over the floors' marks is not built yet: a repaint shows no marks.
void DrawSelectionMarks(PlanFloor*, const RECT*) {}
