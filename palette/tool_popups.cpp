#include "palette/tool_popups.h"

uint32_t doorTexture = 2218;
uint32_t windowTexture = 2218;

// The floor pop-up is not built yet: nothing is shown and the storeys stay as they are.
void ShowFloorPopup(HWND) {}
void ShowStainPaintPopup(const RECT*) {}
