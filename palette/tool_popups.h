#pragma once
#include <windows.h>

// Shows the floor pop-up (which storey the user works on and which storeys are shown) for
// the floor button or the measurement bar, and applies the choice.
void ShowFloorPopup(HWND button);
// The stain-or-paint pop-up of the variant button (rectangle in frame client coordinates).
void ShowStainPaintPopup(const RECT* buttonRect);
