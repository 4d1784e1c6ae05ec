#pragma once
#include <windows.h>

// The stain-or-paint pop-up of the variant button (rectangle in frame client coordinates).
void ShowStainPaintPopup(const RECT* buttonRect);
