#include "tools/text_margins.h"
#include "tools/text_editing.h"
#include <cstddef>
#include <cstring>
#include <map>
#include <string>

namespace {

// The margins read so far (EM_GETMARGINS form) by font, style and size. Reading one takes
// a control made and destroyed; a plan has few fonts and sizes, and past this many the
// kept ones are forgotten and read again as they are needed.
std::map<std::string, LRESULT> freshMargins;
const size_t kMostKeptMargins = 4096;

std::string MarginsKey(const LOGFONTA& font, LONG style, SIZE size)
{
    std::string key(reinterpret_cast<const char*>(&font), offsetof(LOGFONTA, lfFaceName));
    key.append(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
    key.append(reinterpret_cast<const char*>(&style), sizeof style);
    key.append(reinterpret_cast<const char*>(&size), sizeof size);
    return key;
}

} // namespace

void SetFreshTextMargins(HWND control, HFONT font, SIZE size)
{
    HWND parent = control ? GetParent(control) : nullptr;
    LOGFONTA look;
    std::memset(&look, 0, sizeof look);
    if (!parent || !font || GetObjectA(font, sizeof look, &look) <= 0)
        return;
    // Shown or not, enabled or not, a control's margins are the same; the scratch is never
    // shown.
    const LONG style = GetWindowLongA(control, GWL_STYLE) & ~(WS_VISIBLE | WS_DISABLED);
    const std::string key = MarginsKey(look, style, size);
    auto known = freshMargins.find(key);
    if (known == freshMargins.end()) {
        HWND scratch = CreateTextEditWindow(static_cast<DWORD>(style), 0, 0, size.cx, size.cy, parent);
        if (!scratch)
            return;
        SendMessageA(scratch, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        const LRESULT margins = SendMessageA(scratch, EM_GETMARGINS, 0, 0);
        // The font stays its owner's: the scratch goes without it.
        DestroyWindow(scratch);
        if (freshMargins.size() >= kMostKeptMargins)
            freshMargins.clear();
        known = freshMargins.emplace(key, margins).first;
    }
    // Setting margins lays the lines out again: only when they differ.
    if (SendMessageA(control, EM_GETMARGINS, 0, 0) != known->second)
        SendMessageA(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, known->second);
}

void SetLayoutFont(HWND control, HFONT font, SIZE size)
{
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetFreshTextMargins(control, font, size);
}
