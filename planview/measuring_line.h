#pragma once
#include <windows.h>

// Draws the active document's measuring line while it is shown.
void DrawMeasuringLine(HDC dc);
