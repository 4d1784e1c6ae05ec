#pragma once
#include <windows.h>

// Draws the variant button above the side bar on the frame: state 0 normal, 1 hovered, 2 pressed.
void DrawToolVariantButton(HDC frameDC, int state);
