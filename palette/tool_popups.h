#pragma once
#include <windows.h>
#include <cstdint>

// The texture id the door and window tools give a new door or window: 2218 stained,
// 0 painted.
extern uint32_t doorTexture;
extern uint32_t windowTexture;

// Shows the floor pop-up (which storey the user works on and which storeys are shown) for
// the floor button or the measurement bar, and applies the choice.
void ShowFloorPopup(HWND button);
// The stain-or-paint pop-up of the variant button (rectangle in frame client coordinates).
void ShowStainPaintPopup(const RECT* buttonRect);
