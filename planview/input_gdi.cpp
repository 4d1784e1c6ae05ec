#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "render3d/render_window.h"
#include <cmath>
#include <cstdlib>
#include <cstring>

// ---------------------------------------------------------------------------------
// The input source

SHORT InputSource::KeyState(int virtualKey)
{
    return GetAsyncKeyState(virtualKey);
}

BOOL InputSource::CursorPos(POINT* screenPoint)
{
    return GetCursorPos(screenPoint);
}

BOOL InputSource::PeekQueue(MSG* message, HWND window, UINT first, UINT last, UINT remove)
{
    return PeekMessageA(message, window, first, last, remove);
}

DWORD InputSource::TickCount()
{
    return GetTickCount();
}

BOOL InputSource::MoveCursor(int x, int y)
{
    return SetCursorPos(x, y);
}

PlanPaneDC::PlanPaneDC() : dc(activePlanPane ? GetDC(activePlanPane) : nullptr), pane(activePlanPane) {}

PlanPaneDC::~PlanPaneDC()
{
    if (dc)
        ReleaseDC(pane, dc);
}

static InputSource systemInput;
static InputSource* installedInput = nullptr;

InputSource& CurrentInput()
{
    return installedInput ? *installedInput : systemInput;
}

InputSource* SetInputSource(InputSource* source)
{
    InputSource* previous = installedInput;
    installedInput = source;
    return previous;
}

// ---------------------------------------------------------------------------------
// Buttons and cursor

static bool KeyIsDown(int virtualKey)
{
    return (CurrentInput().KeyState(virtualKey) & 0x8000) != 0;
}

bool IsMouseButtonDown()
{
    return KeyIsDown(VK_LBUTTON) || KeyIsDown(VK_RBUTTON);
}

bool IsLeftButtonDown()
{
    return KeyIsDown(VK_LBUTTON);
}

bool PollRenderRightButton()
{
    if (!renderWindow)
        return false;
    // Stale right clicks of the render window would otherwise reach its window
    // procedure after the navigation loop has already acted on the button.
    MSG message;
    CurrentInput().PeekQueue(&message, renderWindow, WM_RBUTTONDOWN, WM_RBUTTONDOWN,
                             PM_REMOVE | PM_NOYIELD);
    CurrentInput().PeekQueue(&message, renderWindow, WM_RBUTTONUP, WM_RBUTTONUP,
                             PM_REMOVE | PM_NOYIELD);
    return KeyIsDown(VK_RBUTTON);
}

void GetCursorLogicalPosInWindow(HWND window, POINT* point)
{
    if (!window || !point)
        return;
    POINT cursor = {0, 0};
    CurrentInput().CursorPos(&cursor);
    ScreenToClient(window, &cursor);
    HDC dc = GetDC(window);
    if (dc) {
        DPtoLP(dc, &cursor, 1);
        ReleaseDC(window, dc);
    }
    *point = cursor;
}

POINT GetCursorLogicalPos()
{
    POINT point = {0, 0};
    if (!activePlanPane) {
        CurrentInput().CursorPos(&point);
        return point;
    }
    GetCursorLogicalPosInWindow(activePlanPane, &point);
    return point;
}

uint32_t GetDoubleClickSpeed()
{
    // The tools swallow input this long after a finish: a time beyond what the system
    // allows for a double click, or none that reads as one, must not stall the frame.
    const uint32_t kDefault = 550, kLongest = 5000;
    char text[32] = {};
    GetProfileStringA("windows", "DoubleClickSpeed", "", text, sizeof text);
    char* end = text;
    const long value = std::strtol(text, &end, 10);
    while (*end == ' ' || *end == '\t')
        ++end;
    if (end == text || *end != '\0' || value < 0)
        return kDefault;
    return value > static_cast<long>(kLongest) ? kLongest : static_cast<uint32_t>(value);
}

static LONG HoldFontUnits(LONG value)
{
    if (value > kMaxFontUnits)
        return kMaxFontUnits;
    if (value < -kMaxFontUnits)
        return -kMaxFontUnits;
    return value;
}

LOGFONTA MakeDrawableFont(const LOGFONTA& stored)
{
    LOGFONTA font = stored;
    font.lfHeight = HoldFontUnits(font.lfHeight);
    font.lfWidth = HoldFontUnits(font.lfWidth);
    font.lfEscapement %= 3600;
    font.lfOrientation %= 3600;
    if (font.lfWeight < 0 || font.lfWeight > 1000)
        font.lfWeight = FW_NORMAL;
    font.lfItalic = font.lfItalic ? 1 : 0;
    font.lfUnderline = font.lfUnderline ? 1 : 0;
    font.lfStrikeOut = font.lfStrikeOut ? 1 : 0;
    switch (font.lfCharSet) {
    case ANSI_CHARSET: case DEFAULT_CHARSET: case SYMBOL_CHARSET: case SHIFTJIS_CHARSET:
    case HANGEUL_CHARSET: case GB2312_CHARSET: case CHINESEBIG5_CHARSET: case OEM_CHARSET:
    case JOHAB_CHARSET: case HEBREW_CHARSET: case ARABIC_CHARSET: case GREEK_CHARSET:
    case TURKISH_CHARSET: case VIETNAMESE_CHARSET: case THAI_CHARSET: case EASTEUROPE_CHARSET:
    case RUSSIAN_CHARSET: case MAC_CHARSET: case BALTIC_CHARSET:
        break;
    default:
        font.lfCharSet = DEFAULT_CHARSET;
        break;
    }
    if (font.lfOutPrecision > OUT_PS_ONLY_PRECIS)
        font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision &= CLIP_MASK | CLIP_LH_ANGLES | CLIP_TT_ALWAYS | CLIP_EMBEDDED;
    if (font.lfQuality > CLEARTYPE_NATURAL_QUALITY)
        font.lfQuality = DEFAULT_QUALITY;
    font.lfFaceName[LF_FACESIZE - 1] = '\0';
    return font;
}

HFONT CreateDrawableFont(const LOGFONTA& stored)
{
    LOGFONTA font = MakeDrawableFont(stored);
    return CreateFontIndirectA(&font);
}

DWORD GetInputTickCount()
{
    return CurrentInput().TickCount();
}

// ---------------------------------------------------------------------------------
// Queue peeks

// The message ranges a peek may look at: non-client mouse, keys, client mouse. A
// posted WM_COMMAND (0x111), a timer or a registered message (0xC000 and up) lies in
// none of them.
static const UINT inputRanges[][2] = {
    {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
    {WM_KEYFIRST, WM_KEYLAST},
    {WM_MOUSEFIRST, WM_MOUSELAST},
};

static bool IsInputMessage(UINT message)
{
    for (const auto& range : inputRanges)
        if (message >= range[0] && message <= range[1])
            return true;
    return false;
}

// The next queued mouse or key message; with remove it is taken off the queue.
static bool PeekNextInputMessage(MSG* out, bool remove)
{
    InputSource& input = CurrentInput();
    MSG best;
    bool found = false;
    // Usually the head of the queue is the one; only when something else is queued
    // before it are the input ranges searched, the earliest of them winning.
    if (input.PeekQueue(&best, nullptr, 0, 0, PM_NOREMOVE | PM_NOYIELD) &&
        IsInputMessage(best.message))
        found = true;
    const bool atHead = found;
    for (size_t i = 0; !atHead && i < sizeof inputRanges / sizeof inputRanges[0]; ++i) {
        MSG candidate;
        if (!input.PeekQueue(&candidate, nullptr, inputRanges[i][0], inputRanges[i][1],
                             PM_NOREMOVE | PM_NOYIELD))
            continue;
        if (!found || static_cast<LONG>(candidate.time - best.time) < 0) {
            best = candidate;
            found = true;
        }
    }
    if (!found)
        return false;
    if (remove) {
        // The first queued message of exactly this number is the one just seen.
        MSG taken;
        if (!input.PeekQueue(&taken, nullptr, best.message, best.message, PM_REMOVE | PM_NOYIELD))
            return false;
        best = taken;
    }
    *out = best;
    return true;
}

static bool IsOneOf(UINT message, const UINT* kinds, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        if (kinds[i] == message)
            return true;
    return false;
}

template <size_t N>
static bool PeekFor(MSG* message, const UINT (&kinds)[N], bool remove)
{
    MSG local;
    MSG* out = message ? message : &local;
    if (!PeekNextInputMessage(out, remove))
        return false;
    return IsOneOf(out->message, kinds, N);
}

bool PeekClickOrKeyMessage(MSG* message)
{
    static const UINT kinds[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK, WM_KEYDOWN};
    return PeekFor(message, kinds, true);
}

// A press made through the display is read off the X connection whenever the thread
// looks at its queue, and its window is chosen as the thread takes it. So the message
// judged is the one taken: looked at once, and taken off the queue only when it is the
// loop's, by its own number and window. A second look that takes "the next input message"
// may take a press that came in between, on another window, as the loop's own click.
LoopClick PeekLoopClickOrKey(HWND window, MSG* message)
{
    static const UINT presses[] = {WM_LBUTTONDOWN,   WM_LBUTTONDBLCLK,   WM_RBUTTONDOWN,   WM_RBUTTONDBLCLK,
                                   WM_MBUTTONDOWN,   WM_MBUTTONDBLCLK,   WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK,
                                   WM_NCRBUTTONDOWN, WM_NCRBUTTONDBLCLK, WM_NCMBUTTONDOWN, WM_NCMBUTTONDBLCLK};
    static const UINT clicks[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK, WM_KEYDOWN};
    if (!window)
        return PeekClickOrKeyMessage(message) ? LoopClick::Here : LoopClick::None;
    if (GetCapture() == window)
        ReleaseCapture();
    MSG next;
    if (!PeekNextInputMessage(&next, false))
        return LoopClick::None;
    if (IsOneOf(next.message, presses, sizeof presses / sizeof *presses) &&
        (next.hwnd != window || next.message < WM_MOUSEFIRST)) {
        *message = next;
        const PlanDocument* document = activeDocument;
        const bool bar = document && next.message == WM_LBUTTONDOWN &&
                         (next.hwnd == document->verticalScrollBar || next.hwnd == document->horizontalScrollBar);
        return bar ? LoopClick::ScrollBar : LoopClick::Elsewhere;
    }
    MSG taken;
    if (!CurrentInput().PeekQueue(&taken, next.hwnd, next.message, next.message, PM_REMOVE | PM_NOYIELD))
        return LoopClick::None;
    *message = taken;
    return IsOneOf(taken.message, clicks, sizeof clicks / sizeof *clicks) ? LoopClick::Here : LoopClick::None;
}

bool LoopClickPoint(HWND window, const MSG& message, POINT* logical)
{
    if (!window || message.hwnd != window || message.message < WM_MOUSEFIRST || message.message > WM_MOUSELAST)
        return false;
    POINT point = {static_cast<int16_t>(LOWORD(message.lParam)), static_cast<int16_t>(HIWORD(message.lParam))};
    HDC dc = GetDC(window);
    if (dc) {
        DPtoLP(dc, &point, 1);
        ReleaseDC(window, dc);
    }
    *logical = point;
    return true;
}

void DispatchLoopPress(HWND window, const MSG& press)
{
    MSG taken;
    if (CurrentInput().PeekQueue(&taken, press.hwnd, press.message, press.message, PM_REMOVE | PM_NOYIELD))
        DispatchMessageA(&taken);
    if (window)
        UpdateWindow(window);
}

bool PeekPlacingPress(HWND window, POINT* at)
{
    MSG message;
    const LoopClick click = PeekLoopClickOrKey(window, &message);
    if (click == LoopClick::Here && message.message == WM_LBUTTONDOWN) {
        if (at)
            LoopClickPoint(window, message, at);
        return true;
    }
    return click == LoopClick::Elsewhere || click == LoopClick::ScrollBar;
}

void SwallowInputForDoubleClickTime()
{
    const DWORD start = GetInputTickCount();
    const DWORD wait = GetDoubleClickSpeed();
    while (GetInputTickCount() - start < wait) {
        MSG message;
        PeekClickOrKeyMessage(&message);
        Sleep(1);
    }
}

static const UINT kButtonOrKeyKinds[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_KEYDOWN};

bool PeekButtonOrKeyMessage(MSG* message)
{
    return PeekFor(message, kButtonOrKeyKinds, true);
}

bool PeekButtonDownMessage(MSG* message)
{
    static const UINT kinds[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN};
    return PeekFor(message, kinds, true);
}

bool PeekButtonOrKeyMessageNoRemove(MSG* message)
{
    return PeekFor(message, kButtonOrKeyKinds, false);
}

bool PeekMouseOrKeyMessageNoRemove(MSG* message)
{
    static const UINT kinds[] = {WM_LBUTTONDOWN, WM_LBUTTONUP,    WM_RBUTTONDOWN,
                                 WM_NCLBUTTONUP, WM_MOUSEMOVE,    WM_KEYDOWN,
                                 WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN};
    return PeekFor(message, kinds, false);
}

// ---------------------------------------------------------------------------------
// Rectangles and arcs

void MakeRectFromCorners(int x1, int y1, int x2, int y2, RECT* rect)
{
    if (!rect)
        return;
    rect->left = x1 < x2 ? x1 : x2;
    rect->right = x1 < x2 ? x2 : x1;
    rect->top = y1 < y2 ? y1 : y2;
    rect->bottom = y1 < y2 ? y2 : y1;
}

bool IsRectSinglePoint(const RECT* rect)
{
    if (!rect)
        return true;
    return rect->left == rect->right && rect->top == rect->bottom;
}

void DrawPlanArc(const RECT* rect, int16_t startDegrees, int16_t sweepDegrees)
{
    if (!rect)
        return;
    const double toRadians = 3.14159265358979323846 / 180.0;
    int a1Degrees = 360 - startDegrees + 90;
    int a2Degrees = a1Degrees - sweepDegrees;
    double a1 = a1Degrees * toRadians;
    double a2 = a2Degrees * toRadians;

    double w = static_cast<double>(rect->right) - rect->left;
    double h = static_cast<double>(rect->bottom) - rect->top;
    double cx = rect->left + w / 2.0;
    double cy = rect->top + h / 2.0;
    double r = w, sx = 1.0, sy = 1.0;
    if (w > h) {
        r = w;
        sy = h / w;
    } else if (w < h) {
        r = h;
        sx = w / h;
    }
    // A rectangle flat in its larger side has no arc to show (and no scale to take).
    if (r == 0.0)
        return;
    int p1x = static_cast<int>(cx + sx * r * std::cos(a1) + 0.5);
    int p1y = static_cast<int>(cy + sy * -r * std::sin(a1) + 0.5);
    int p2x = static_cast<int>(cx + sx * r * std::cos(a2) + 0.5);
    int p2y = static_cast<int>(cy + sy * -r * std::sin(a2) + 0.5);
    if (p1x == p2x && p1y == p2y)
        return;

    HDC dc = nullptr;
    bool release = false;
    if (planOutputMode == 0) {
        if (!activePlanPane)
            return;
        dc = GetDC(activePlanPane);
        release = true;
    } else {
        dc = planDC;
    }
    if (!dc)
        return;
    int direction = SetArcDirection(dc, AD_COUNTERCLOCKWISE);
    if (sweepDegrees >= 0)
        Arc(dc, rect->left, rect->top, rect->right, rect->bottom, p2x, p2y, p1x, p1y);
    else
        Arc(dc, rect->left, rect->top, rect->right, rect->bottom, p1x, p1y, p2x, p2y);
    if (direction)
        SetArcDirection(dc, direction);
    if (release)
        ReleaseDC(activePlanPane, dc);
}

void DrawRectOutline(HDC dc, const RECT* rect)
{
    if (!dc || !rect)
        return;
    MoveToEx(dc, rect->left, rect->top, nullptr);
    LineTo(dc, rect->right, rect->top);
    LineTo(dc, rect->right, rect->bottom);
    LineTo(dc, rect->left, rect->bottom);
    LineTo(dc, rect->left, rect->top);
}

void DrawPlanRectOutline(const RECT* rect)
{
    if (!rect || !activePlanPane)
        return;
    HDC dc = GetDC(activePlanPane);
    if (!dc)
        return;
    DrawRectOutline(dc, rect);
    ReleaseDC(activePlanPane, dc);
}

// ---------------------------------------------------------------------------------
// Current position and lines

static void MoveOrLineInWindow(HWND window, int x, int y, bool line)
{
    if (!window)
        return;
    HDC dc = GetDC(window);
    if (!dc)
        return;
    if (line)
        LineTo(dc, static_cast<short>(x), static_cast<short>(y));
    else
        MoveToEx(dc, static_cast<short>(x), static_cast<short>(y), nullptr);
    ReleaseDC(window, dc);
}

void MoveToInWindow(HWND window, int x, int y)
{
    MoveOrLineInWindow(window, x, y, false);
}

void LineToInWindow(HWND window, int x, int y)
{
    MoveOrLineInWindow(window, x, y, true);
}

void MoveToInPlanPane(int x, int y)
{
    MoveOrLineInWindow(activePlanPane, x, y, false);
}

void LineToInPlanPane(int x, int y)
{
    MoveOrLineInWindow(activePlanPane, x, y, true);
}

// ---------------------------------------------------------------------------------
// Text

static bool PrintingText()
{
    return planOutputMode && planDC;
}

static void TextOnPrintDC(const char* text, int length)
{
    // The print DC's background mode was set by the print command: leave it alone.
    UINT align = SetTextAlign(planDC, TA_BASELINE | TA_UPDATECP);
    TextOutA(planDC, 0, 0, text, length);
    SetTextAlign(planDC, align);
}

static void TextOnScreenDC(HDC dc, const char* text, int length)
{
    UINT align = SetTextAlign(dc, TA_BASELINE | TA_UPDATECP);
    int mode = SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 0, 0, text, length);
    SetBkMode(dc, mode);
    SetTextAlign(dc, align);
}

void DrawTextAt(HWND window, const char* text)
{
    // A print goes to the print DC: no window DC is needed for it.
    HDC dc = text && window && !PrintingText() ? GetDC(window) : nullptr;
    DrawTextAtDC(dc, text);
    if (dc)
        ReleaseDC(window, dc);
}

void DrawTextAtDC(HDC dc, const char* text)
{
    if (!text)
        return;
    int length = static_cast<int>(std::strlen(text));
    if (PrintingText()) {
        TextOnPrintDC(text, length);
        return;
    }
    if (dc)
        TextOnScreenDC(dc, text, length);
}

int32_t GetTextWidth(HDC dc, const char* text)
{
    if (!dc || !text)
        return 2;
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    return size.cx + 2;
}

int32_t GetPlanPaneTextWidth(const char* text)
{
    if (!activePlanPane)
        return 2;
    HDC dc = GetDC(activePlanPane);
    int32_t width = GetTextWidth(dc, text);
    if (dc)
        ReleaseDC(activePlanPane, dc);
    return width;
}

void ReleaseOwnDCFont(HWND window, HFONT* font, HGDIOBJ* displaced)
{
    if (!*font)
        return;
    HDC dc = GetDC(window);
    if (dc) {
        if (*displaced)
            SelectObject(dc, *displaced);
        ReleaseDC(window, dc);
    }
    DeleteObject(*font);
    *font = nullptr;
    *displaced = nullptr;
}

void GetTextMetricsOfDC(HDC dc, uint16_t* ascent, uint16_t* descent, uint16_t* maxCharWidth,
                        uint16_t* externalLeading)
{
    TEXTMETRICA metrics;
    bool ok = dc && GetTextMetricsA(dc, &metrics);
    if (ascent)
        *ascent = ok ? static_cast<uint16_t>(metrics.tmAscent) : 0;
    if (descent)
        *descent = ok ? static_cast<uint16_t>(metrics.tmDescent) : 0;
    if (maxCharWidth)
        *maxCharWidth = ok ? static_cast<uint16_t>(metrics.tmMaxCharWidth) : 0;
    if (externalLeading)
        *externalLeading = ok ? static_cast<uint16_t>(metrics.tmExternalLeading) : 0;
}

void GetPlanPaneTextMetrics(uint16_t* ascent, uint16_t* descent, uint16_t* maxCharWidth,
                            uint16_t* externalLeading)
{
    HDC dc = activePlanPane ? GetDC(activePlanPane) : nullptr;
    GetTextMetricsOfDC(dc, ascent, descent, maxCharWidth, externalLeading);
    if (dc)
        ReleaseDC(activePlanPane, dc);
}

// ---------------------------------------------------------------------------------
// Fills

void FillRectBackground(HWND window, const RECT* rect)
{
    if (!window || !rect)
        return;
    HDC dc = GetDC(window);
    if (!dc)
        return;
    HBRUSH brush = CreateSolidBrush(GetBkColor(dc));
    if (brush) {
        FillRect(dc, rect, brush);
        DeleteObject(brush);
    }
    ReleaseDC(window, dc);
}

void FillRectWithFillColour(HDC dc, const RECT* rect)
{
    if (!dc || !rect || !activeDocument || !activeDocument->settings)
        return;
    const ColourTriple& c = activeDocument->settings->backgroundColour;
    HBRUSH brush = CreateSolidBrush(RGB(c.red / 257, c.green / 257, c.blue / 257));
    if (!brush)
        return;
    FillRect(dc, rect, brush);
    DeleteObject(brush);
}

// ---------------------------------------------------------------------------------
// Menus

void CheckMenuCommand(HMENU menu, UINT commandId, bool checked)
{
    if (menu)
        CheckMenuItem(menu, commandId, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void EnableMenuCommand(HMENU menu, UINT commandId)
{
    if (menu)
        EnableMenuItem(menu, commandId, MF_BYCOMMAND | MF_ENABLED);
}

void GrayMenuCommand(HMENU menu, UINT commandId)
{
    if (menu)
        EnableMenuItem(menu, commandId, MF_BYCOMMAND | MF_GRAYED);
}
