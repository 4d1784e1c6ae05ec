#include "palette/tool_popups.h"

void ShowStainPaintPopup(const RECT*) {}
