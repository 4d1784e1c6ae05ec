#include "palette/tool_popups.h"

// The floor pop-up is not built yet: nothing is shown and the storeys stay as they are.
void ShowFloorPopup(HWND) {}
void ShowStainPaintPopup(const RECT*) {}
