#include "palette/tool_variants.h"

void DrawToolVariantButton(HDC, int) {}
