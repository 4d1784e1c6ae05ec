#include "tools/fresh_text_layout.h"
#include "tools/text_editing.h"
#include <algorithm>
#include <map>
#include <utility>

namespace {

// The fresh controls made so far, by pane and style: made once and kept, since making a
// window for every layout costs more than the layout (they go with their pane).
std::map<std::pair<HWND, LONG>, HWND> freshControls;

SIZE ClientSize(HWND window)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

void Resize(HWND window, SIZE size)
{
    const SIZE now = ClientSize(window);
    if (now.cx != size.cx || now.cy != size.cy)
        MoveWindow(window, 0, 0, size.cx, size.cy, FALSE);
}

// The margins a control made at a size takes from the font it is made with (the default
// layout font): those of the font from the least width on, none below it (a control sets
// margins from a font only while it is wide enough for them). Read once for the run from a
// fresh control, so that a layout gives them in one message rather than a font.
struct MadeMargins {
    bool known;
    LRESULT margins;
    LONG least;
};

MadeMargins ReadMadeMargins(HWND fresh)
{
    const SIZE was = ClientSize(fresh);
    auto at = [fresh](LONG width) {
        SendMessageA(fresh, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
        Resize(fresh, SIZE{width, 100});
        SendMessageA(fresh, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultTextLayoutFont()), FALSE);
        return SendMessageA(fresh, EM_GETMARGINS, 0, 0);
    };
    MadeMargins made = {true, at(4096), 0};
    LONG narrow = 0, wide = 4096;  // the least width lies in (narrow, wide]
    while (made.margins != 0 && wide - narrow > 1) {
        const LONG middle = (narrow + wide) / 2;
        (at(middle) == made.margins ? wide : narrow) = middle;
    }
    made.least = wide;
    // Wider than the least width yet without the margins: the rule is not as measured.
    if (made.margins != 0 && (at(wide + 7) != made.margins || at(narrow) == made.margins))
        made.known = false;
    SendMessageA(fresh, WM_SETFONT, 0, FALSE);
    Resize(fresh, was);
    return made;
}

} // namespace

HWND BeginFreshLayout(HWND control, HFONT font, SIZE size)
{
    HWND parent = control ? GetParent(control) : nullptr;
    if (!parent)
        return nullptr;
    // Shown or not, enabled or not, a control lays its lines out alike; the fresh one is
    // never shown.
    const LONG style = GetWindowLongA(control, GWL_STYLE) & ~(WS_VISIBLE | WS_DISABLED);
    HWND& fresh = freshControls[{parent, style}];
    if (fresh && (!IsWindow(fresh) || GetParent(fresh) != parent))
        fresh = nullptr;
    if (size.cx < 0)
        size.cx = 0;
    if (size.cy < 0)
        size.cy = 0;
    static MadeMargins made = {false, 0, 0};
    if (!fresh) {
        fresh = CreateTextEditWindow(static_cast<DWORD>(style), 0, 0, size.cx, size.cy, parent);
        if (!fresh)
            return nullptr;
        if (!made.known && made.least == 0) {
            made = ReadMadeMargins(fresh);
            made.least = std::max(made.least, 1L);
        }
    }
    // As made, without text (FinishFreshLayout took it): the size, and the margins the font
    // a control is made with leaves at that size (a control without a font has none; an
    // empty one counts as 80 wide), then the font.
    Resize(fresh, size);
    if (made.known) {
        const LONG width = size.cx > 0 && size.cy > 0 ? size.cx : 80;
        const LRESULT margins = width >= made.least ? made.margins : 0;
        if (SendMessageA(fresh, EM_GETMARGINS, 0, 0) != margins)
            SendMessageA(fresh, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, margins);
    } else {
        SendMessageA(fresh, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
        SendMessageA(fresh, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultTextLayoutFont()), FALSE);
    }
    SendMessageA(fresh, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return fresh;
}

void FinishFreshLayout(HWND fresh)
{
    if (!fresh)
        return;
    SetWindowTextA(fresh, "");
    // The font may go: the control keeps it only until the next layout gives it another,
    // and draws nothing meanwhile (it is never shown).
}

LRESULT FreshTextMargins(HWND control, HFONT font, SIZE size)
{
    HWND fresh = BeginFreshLayout(control, font, size);
    if (!fresh)
        return 0;
    const LRESULT margins = SendMessageA(fresh, EM_GETMARGINS, 0, 0);
    FinishFreshLayout(fresh);
    return margins;
}
