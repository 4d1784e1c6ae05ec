#include "planview/measuring_line.h"

// The measuring line is not built yet: it is never shown.
void DrawMeasuringLine(HDC) {}
