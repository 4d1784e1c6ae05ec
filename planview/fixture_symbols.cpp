#include "planview/fixture_symbols.h"

// The symbol renderers are not built yet: these objects show nothing of their own.
void DrawWallElementSymbol(HDC, PlanObject*, uint32_t) {}
void DrawPitchSymbol(HDC, PlanObject*) {}
void DrawSlopeSymbol(HDC, PlanObject*) {}
void DrawPlantSymbol(HDC, PlanObject*) {}
void DrawBeamSymbol(HDC, PlanObject*) {}
void DrawCableSymbol(HDC, PlanObject*) {}
void DrawSlopeArrowSymbol(HDC, PlanObject*) {}
void DrawPierSymbol(HDC, PlanObject*) {}
void DrawStairSymbol(HDC, PlanObject*) {}
void DrawDuctSymbol(HDC, PlanObject*) {}
void DrawSymbolTemplate(HDC, float, const float*, uint32_t, float, float) {}
