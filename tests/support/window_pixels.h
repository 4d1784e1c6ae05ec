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
// most `width` columns, read through the window's DC or the one given (released after).
std::vector<COLORREF> ClientPixels(HWND window, int width = INT_MAX, HDC source = nullptr);
// How many pixels of the top-level window's client area as the window system shows it a
// repaint of it whole changes (it, its frame and its windows invalidated and erased, as a
// user's forced repaint does), what is queued handled first as the program's loop would:
// 0 when the screen shows what the program means to show.
int PixelsARepaintChanges(HWND window);
// Whether a window of the calling thread gained or lost the focus or the activation since
// this was made: another program may take the foreground or give it back at any moment,
// and the focused control then draws itself otherwise (a field's selection, a button's mark).
class FocusChanges {
public:
    FocusChanges();
    ~FocusChanges();
    FocusChanges(const FocusChanges&) = delete;
    FocusChanges& operator=(const FocusChanges&) = delete;
    bool Any() const;

private:
    HHOOK hook;
    unsigned first;
};

} // namespace vtest
