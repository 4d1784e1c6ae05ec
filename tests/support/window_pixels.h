#pragma once
// The pixels of a shown window as the screen has them, read through the window's DC.
#include <windows.h>
#include <climits>
#include <vector>

namespace vtest {

// The pixel at (x, y) in the coordinates of the window's DC: logical ones, so that a
// window origin the window keeps in its own DC is taken into account.
COLORREF WindowPixel(HWND window, int x, int y);
// The client area's pixels row by row, from its top left corner on the screen, in at
// most `width` columns.
std::vector<COLORREF> ClientPixels(HWND window, int width = INT_MAX);

} // namespace vtest
