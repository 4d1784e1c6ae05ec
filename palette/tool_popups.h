#pragma once
// The two pop-up menus of the palette: the floor pop-up (which storey the user works on
// and which storeys are shown), opened from the floor button and the measurement bar,
// and the stain-or-paint pop-up of the variant button for new doors and windows.
#include <windows.h>
#include <cstdint>

// The finish of new doors and of new windows: 1 stain, 2 paint (both 1 at start).
extern uint32_t doorFinish;
extern uint32_t windowFinish;
// The texture id the door and window tools give a new door or window: 2218 stained,
// 0 painted.
extern uint32_t doorTexture;
extern uint32_t windowTexture;

// Shows the floor pop-up with its bottom-left corner at the button's client (left + 51,
// top) and applies the choice; a dismissed menu swallows the next tool click.
void ShowFloorPopup(HWND button);
// The stain-or-paint pop-up of the variant button (rectangle in frame client
// coordinates), only while the variant list shows the door, opening or window variants.
void ShowStainPaintPopup(const RECT* buttonRect);
