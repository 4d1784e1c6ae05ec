#include "tools/kept_text_lines.h"
#include "model/units.h"
#include "planview/run_fonts.h"
#include "tools/text_layout_font.h"
#include "tools/fresh_text_layout.h"
#include <cstddef>
#include <cstring>

bool fittingTextControl = false;

namespace {

LONG RoundHalfUp(float value)
{
    return static_cast<LONG>(value + 0.5f);
}

KeptTextLayout* KeptLayoutOf(HWND control)
{
    return reinterpret_cast<KeptTextLayout*>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

bool SameLogFont(const LOGFONTA& a, const LOGFONTA& b)
{
    return std::memcmp(&a, &b, offsetof(LOGFONTA, lfFaceName)) == 0 &&
           std::strncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

// Where a text's lines can reach on the screen: `lines` lines of at most `widest`
// pixels from the box's top, anchored as the alignment anchors them, with a line's
// height of room all round for the glyphs' overhangs; and the frame, where the control
// lies.
RECT TextReach(const RECT& box, LONG style, LONG widest, int lines, LONG lineHeight, const RECT& frame)
{
    LONG left = box.left;
    if (style & ES_CENTER)
        left = RoundHalfUp(static_cast<float>(box.left + box.right) / 2.0f) - widest / 2 - 1;
    else if (style & ES_RIGHT)
        left = box.right - widest;
    RECT reach = {left - lineHeight, box.top - lineHeight, left + widest + 1 + lineHeight,
                  box.top + static_cast<LONG>(lines) * lineHeight + lineHeight};
    UnionRect(&reach, &reach, &frame);
    return reach;
}

// Where the control lies in its parent's client area.
RECT ControlRectInParent(HWND control, HWND parent)
{
    RECT now;
    GetWindowRect(control, &now);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&now), 2);
    return now;
}

} // namespace

// The control's text (ANSI).
std::string ControlTextOf(HWND control)
{
    std::string text;
    int length = GetWindowTextLengthA(control);
    text.assign(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    length = length > 0 ? GetWindowTextA(control, &text[0], length + 1) : 0;
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return text;
}

KeptTextLayout* KeptLayoutFor(HWND control)
{
    KeptTextLayout* layout = KeptLayoutOf(control);
    if (!layout) {
        layout = new KeptTextLayout();
        SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(layout));
    }
    return layout;
}

void ReleaseKeptLayout(HWND control)
{
    delete KeptLayoutOf(control);
    SetWindowLongPtrA(control, GWLP_USERDATA, 0);
}

void MoveControlTo(HWND control, const RECT& place)
{
    MoveWindow(control, place.left, place.top, place.right - place.left, place.bottom - place.top, FALSE);
}

namespace {

// The lines the control holds, as it wraps them now, its state and the lines' widest
// extent on the DC (0 without a DC).
void ReadControlLines(HWND control, HDC dc, KeptTextLayout* layout)
{
    layout->lines.clear();
    layout->starts.clear();
    layout->widest = 0;
    layout->lineCount = static_cast<int>(SendMessageA(control, EM_GETLINECOUNT, 0, 0));
    SendMessageA(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&layout->format));
    layout->margins = SendMessageA(control, EM_GETMARGINS, 0, 0);
    std::vector<char> line;
    for (int i = 0; i < layout->lineCount; ++i) {
        LRESULT start = SendMessageA(control, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
        if (start < 0)
            break;
        layout->starts.push_back(start);
        LRESULT chars = SendMessageA(control, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
        if (chars <= 0)
            continue;
        if (chars > 0xFFFF)
            chars = 0xFFFF;  // EM_GETLINE takes its size in one word
        line.assign(static_cast<size_t>(chars) + 2, '\0');
        *reinterpret_cast<WORD*>(line.data()) = static_cast<WORD>(chars);
        LRESULT got = SendMessageA(control, EM_GETLINE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line.data()));
        if (got <= 0)
            continue;
        layout->lines.emplace_back(i, std::string(line.data(), static_cast<size_t>(got)));
        SIZE extent = {0, 0};
        if (dc && GetTextExtentPoint32A(dc, line.data(), static_cast<int>(got), &extent) && extent.cx > layout->widest)
            layout->widest = extent.cx;
    }
}

} // namespace

void LayOutFreshLines(HWND control, HFONT font, SIZE size, const std::string& text, HDC dc, KeptTextLayout* layout)
{
    const bool wasFitting = fittingTextControl;
    fittingTextControl = true;
    HWND fresh = BeginFreshLayout(control, font, size);
    if (fresh) {
        SetWindowTextA(fresh, text.c_str());
        ReadControlLines(fresh, dc, layout);
        FinishFreshLayout(fresh);
    } else {
        ReadControlLines(control, dc, layout);
    }
    fittingTextControl = wasFitting;
}

void RestoreControlFormat(HWND control, KeptTextLayout* layout)
{
    if (!layout->refitRect)
        return;
    RECT client;
    GetClientRect(control, &client);
    SendMessageA(control, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&client));
    layout->refitRect = false;
}

bool KeepTextLines(const TextFit& fit, const RECT& frame, const RECT* area, KeptTextLayout* layout)
{
    const std::string text = ControlTextOf(fit.control);
    const SIZE size = {fit.box.right - fit.box.left, fit.box.bottom - fit.box.top};
    const LONG shape = fit.style & ~(WS_DISABLED | WS_VISIBLE);
    const float zoom = ZoomFloat(1.0f);
    const bool current = layout->laidOut && SameLogFont(layout->font, fit.font) && layout->style == shape &&
                         layout->size.cx == size.cx && layout->size.cy == size.cy && layout->zoom == zoom &&
                         layout->text == text;
    // Until the lines are laid out, none is wider than the whole text, nor are there more
    // of them than its characters.
    LONG widest = layout->widest;
    int lineCount = layout->lineCount;
    if (!current) {
        SIZE extent = {0, 0};
        GetTextExtentPoint32A(fit.out, text.data(), static_cast<int>(text.size()), &extent);
        widest = extent.cx;
        lineCount = static_cast<int>(text.size()) + 1;
    }
    const RECT reach = TextReach(fit.box, fit.style, widest, lineCount, fit.lineHeight, frame);
    const RECT now = ControlRectInParent(fit.control, fit.pane);
    RECT common;
    if (area && !IntersectRect(&common, &reach, area)) {
        // Nothing of it shows; but no control stays in the pane away from its text.
        RECT client;
        if (fit.pane && GetClientRect(fit.pane, &client) && IntersectRect(&common, &now, &client) &&
            !EqualRect(&now, &fit.place))
            MoveControlTo(fit.control, fit.place);
        return false;
    }
    if (!EqualRect(&now, &fit.place))
        MoveControlTo(fit.control, fit.place);

    fittingTextControl = true;
    RestoreControlFormat(fit.control, layout);
    if (!current) {
        // The lines are laid out from nothing in the copy of the face (text_layout_font.h)
        // at the control's size, whatever this control lived through.
        RECT client;
        GetClientRect(fit.control, &client);
        const SIZE clientSize = {client.right, client.bottom};
        const LOGFONTA lent = TextLayoutLogFont(fit.zoomed);
        LOGFONTA ownLook;
        std::memset(&ownLook, 0, sizeof ownLook);
        if (fit.own && GetObjectA(fit.own, sizeof ownLook, &ownLook) > 0 && SameLogFont(ownLook, lent)) {
            // The control's own font is that font (at 100 %): no other is made for it.
            LayOutFreshLines(fit.control, fit.own, clientSize, text, fit.out, layout);
        } else if (HFONT lentFont = AcquireRunFont(lent)) {
            LayOutFreshLines(fit.control, lentFont, clientSize, text, fit.out, layout);
            ReleaseRunFont(lentFont);
        } else {
            LayOutFreshLines(fit.control, fit.own, clientSize, text, fit.out, layout);
        }
        layout->font = fit.font;
        layout->style = shape;
        layout->size = size;
        layout->zoom = zoom;
        layout->text = text;
        layout->laidOut = true;
    }
    fittingTextControl = false;
    return true;
}
