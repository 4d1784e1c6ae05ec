#include "tools/fresh_text_layout.h"
#include "tools/text_editing.h"
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
    if (!fresh) {
        fresh = CreateTextEditWindow(static_cast<DWORD>(style), 0, 0, size.cx, size.cy, parent);
        if (!fresh)
            return nullptr;
    } else {
        // As made: no margins (a control made has no font, so none), the size, then the
        // font a control is made with, all without text (FinishFreshLayout took it).
        SendMessageA(fresh, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
        const SIZE now = ClientSize(fresh);
        if (now.cx != size.cx || now.cy != size.cy)
            MoveWindow(fresh, 0, 0, size.cx, size.cy, FALSE);
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
