#include "shell/measurement_bar.h"
#include "shell/app_globals.h"
#include "shell/keys_and_menus.h"
#include "model/dialog_fields.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "palette/tool_popups.h"
#include "palette/tool_windows.h"
#include "planview/input_gdi.h"
#include "planview/plan_redraw.h"
#include "resources/resource_ids.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

HGDIOBJ miscBarOldFont = nullptr;

namespace {

// Where the readouts start and where their text is drawn.
constexpr int kReadoutLeft = 90;
constexpr int kReadoutGrowth = 10;
constexpr int kReadoutTextX = 85;
constexpr int kReadoutBaseline = 12;

// The bar's buttons: x ranges of a press and the rectangles inverted while a pop-up is up.
constexpr int kMeasuringLineRight = 24;
constexpr int kDimensionsRight = 51;
constexpr int kFloorRight = 78;
const RECT kDimensionsInvert = {25, 0, 50, 0};
const RECT kFloorInvert = {51, 0, 76, 0};

// The items of the dimensions and areas pop-up; the frame serves them.
enum {
    kDoorWindowDimensions = 5289,
    kAutomaticDimensions = 5290,
    kFirstFloorArea = 5300,
    kSecondFloorArea = 5301,
    kThirdFloorArea = 5302,
};

// The label a readout does not repaint, so that it does not flicker while a drag updates
// the value behind it; the size and area readouts keep only 3 pixels.
constexpr int kFixedLabelWidth = 3;

HINSTANCE Instance()
{
    return hInstance ? hInstance : GetModuleHandleA(nullptr);
}

HBITMAP LoadMappedBitmap(int id)
{
    return static_cast<HBITMAP>(
        LoadImageA(Instance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
}

void DrawResourceBitmap(HDC dc, int id, int x, int y)
{
    // A picture that cannot be loaded is simply not drawn.
    if (HBITMAP bitmap = LoadMappedBitmap(id)) {
        BlitBitmap(dc, bitmap, x, y);
        DeleteObject(bitmap);
    }
}

// The bar of the active document, when it has one and settings.
HWND ReadoutBar()
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings || !document->measurementStrip)
        return nullptr;
    return document->measurementStrip;
}

bool Metric()
{
    return activeDocument->settings->unitSystem != kUnitSystemFeetInches;
}

// A length by the unit system: metres in metric plans (with the suffix given), the plan's
// display format in imperial ones.
std::string LengthValue(float length, const char* metreSuffix)
{
    char text[kLengthTextSize];
    if (Metric())
        std::snprintf(text, sizeof text, "%0.2f%s", static_cast<double>(InchesToMetres(length)), metreSuffix);
    else
        FormatLength(length, text, activeDocument->settings, 1);
    return text;
}

void GrownReadoutRect(HWND bar, RECT* rect)
{
    GetReadoutRect(bar, rect);
    InflateRect(rect, kReadoutGrowth, kReadoutGrowth);
}

// Fills the readout area from labelWidth right of its (grown) left edge; with text, draws
// it on the baseline. The bar's DC keeps its font and colours for the bar's life.
void DrawReadout(HWND bar, int labelWidth, const char* text)
{
    RECT rect;
    GrownReadoutRect(bar, &rect);
    rect.left += labelWidth;
    FillRectBackground(bar, &rect);
    if (!text || !text[0])
        return;
    HDC dc = GetDC(bar);
    if (!dc)
        return;
    const UINT align = SetTextAlign(dc, TA_LEFT | TA_BASELINE | TA_NOUPDATECP);
    TextOutA(dc, kReadoutTextX, kReadoutBaseline, text, static_cast<int>(std::strlen(text)));
    SetTextAlign(dc, align);
    ReleaseDC(bar, dc);
}

int LabelWidth(HWND bar, const char* label)
{
    HDC dc = GetDC(bar);
    if (!dc)
        return 0;
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, label, static_cast<int>(std::strlen(label)), &size);
    ReleaseDC(bar, dc);
    return size.cx;
}

// A labelled value: the label is measured alone, the value follows two blanks after it.
void ShowLabelledReadout(const char* label, const std::string& value)
{
    HWND bar = ReadoutBar();
    if (!bar)
        return;
    const std::string text = std::string(label) + "  " + value;
    DrawReadout(bar, LabelWidth(bar, label), text.c_str());
}

void ClearReadout()
{
    if (HWND bar = ReadoutBar())
        DrawReadout(bar, 0, nullptr);
}

// Rounding of the readouts: + 0.5, truncated toward zero.
long RoundedTowardZero(float value)
{
    return static_cast<long>(value + 0.5f);
}

// A size part counts when it rounds to nonzero; the values are too large for a long only
// in a damaged plan, and then they still count.
bool SizePresent(float value)
{
    if (!std::isfinite(value) || std::fabs(value) > 1.0e9f)
        return true;
    return RoundedTowardZero(value) != 0;
}

void PaintBarLines(HDC dc, int height)
{
    HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    const int bottom = height > 100 ? height : 100;
    const int shadowX[3] = {24, 50, 76};
    HGDIOBJ previous = SelectObject(dc, shadow ? shadow : GetStockObject(BLACK_PEN));
    for (int x : shadowX) {
        MoveToEx(dc, x, 0, nullptr);
        LineTo(dc, x, bottom);
    }
    SelectObject(dc, light ? light : GetStockObject(WHITE_PEN));
    for (int x : shadowX) {
        MoveToEx(dc, x + 1, 0, nullptr);
        LineTo(dc, x + 1, bottom);
    }
    SelectObject(dc, previous);
    if (shadow)
        DeleteObject(shadow);
    if (light)
        DeleteObject(light);
}

void InvertBarRect(HWND bar, RECT rect)
{
    RECT client;
    GetClientRect(bar, &client);
    rect.bottom = client.bottom;
    HDC dc = GetDC(bar);
    if (!dc)
        return;
    InvertRect(dc, &rect);
    ReleaseDC(bar, dc);
}

void RedrawBarNow(HWND bar)
{
    RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// The dimensions and areas pop-up, its bottom edge at the bar's (25, top); a chosen item
// reaches the frame as a command.
void ShowDimensionsMenu(HWND bar)
{
    const PlanSettings* settings = activeDocument->settings;
    InvertBarRect(bar, kDimensionsInvert);
    if (HMENU menu = CreatePopupMenu()) {
        AppendMenuA(menu, MF_STRING, kAutomaticDimensions, "Quotatura automatica");
        AppendMenuA(menu, MF_STRING, kDoorWindowDimensions, "Quote porte/finestre");
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, kFirstFloorArea, "Metri quadrati pianterreno");
        AppendMenuA(menu, MF_STRING, kSecondFloorArea, "Metri quadrati primo piano");
        AppendMenuA(menu, MF_STRING, kThirdFloorArea, "Metri quadrati secondo piano");
        CheckMenuCommand(menu, kAutomaticDimensions, settings->dimensionDrawing != 0);
        CheckMenuCommand(menu, kDoorWindowDimensions, settings->labelDrawing != 0);
        RECT client;
        GetClientRect(bar, &client);
        POINT at = {25, client.top};
        ClientToScreen(bar, &at);
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_BOTTOMALIGN, at.x, at.y, 0, frameWindow, nullptr);
        DestroyMenu(menu);
    }
    InvertBarRect(bar, kDimensionsInvert);
}

// The working storey: 1, or 2 and 3 while the second or third storey is the active one.
int WorkingStorey()
{
    const PlanFloor* second = FindFloorByName("Second Floor");
    const PlanFloor* third = FindFloorByName("Third Floor");
    if (third && third->active)
        return 3;
    if (second && second->active)
        return 2;
    return 1;
}

void CreateBarFont(HWND bar)
{
    HDC dc = GetDC(bar);
    if (!dc)
        return;
    // The class owns its DC, so what is selected here stays for the bar's life.
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    if (HFONT font = CreateFontA(-11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x34, "Arial")) {
        miscBarOldFont = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    }
    ReleaseDC(bar, dc);
}

void DeleteBarFont(HWND bar)
{
    HDC dc = GetDC(bar);
    if (!dc)
        return;
    if (miscBarOldFont) {
        HGDIOBJ font = SelectObject(dc, miscBarOldFont);
        if (font && font != miscBarOldFont)
            DeleteObject(font);
    }
    ReleaseDC(bar, dc);
}

} // namespace

LRESULT CALLBACK MiscBarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateBarFont(window);
        return 0;
    case WM_DESTROY:
        DeleteBarFont(window);
        break;
    case WM_PAINT:
        // Without a plan to show the default procedure still validates the bar.
        if (activeDocument && activeDocument->settings && GetUpdateRect(window, nullptr, FALSE)) {
            PaintMiscBar(window);
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        ClearToolButtonHover();
        return 0;
    case WM_LBUTTONDOWN:
        HandleMiscBarClick(window, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_KEYDOWN:
        HandlePlanKeyDown(wParam, lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void HandleMiscBarClick(HWND bar, int x, int)
{
    PlanDocument* document = activeDocument;
    if (x <= kMeasuringLineRight) {
        if (!document)
            return;
        document->measuringLineShown = document->measuringLineShown ? 0 : 1;
        RedrawBarNow(bar);
        InvalidatePlanView();
    } else if (x <= kDimensionsRight) {
        if (document && document->settings && frameWindow)
            ShowDimensionsMenu(bar);
    } else if (x <= kFloorRight) {
        InvertBarRect(bar, kFloorInvert);
        ShowFloorPopup(bar);
        InvertBarRect(bar, kFloorInvert);
        RedrawBarNow(bar);
    }
}

void PaintMiscBar(HWND bar)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings)
        return;
    RECT client;
    GetClientRect(bar, &client);
    RECT grown = client;
    InflateRect(&grown, kReadoutGrowth, kReadoutGrowth);
    FillRectBackground(bar, &grown);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(bar, &paint);
    if (dc) {
        DrawResourceBitmap(dc, document->measuringLineShown ? IDB_MEASURING_LINE_ON : IDB_MEASURING_LINE_OFF, 1, 0);
        DrawResourceBitmap(dc, IDB_DIMENSIONS_MENU, 26, 0);
        DrawResourceBitmap(dc, IDB_WORKING_FLOOR_FIRST + WorkingStorey() - 1, 52, 0);
        PaintBarLines(dc, client.bottom);
    }
    EndPaint(bar, &paint);
}

void GetReadoutRect(HWND bar, RECT* rect)
{
    GetClientRect(bar, rect);
    rect->left += kReadoutLeft;
}

void ShowLengthReadout(float length)
{
    if (length == 0.0f)
        ClearReadout();
    else if (ReadoutBar())
        ShowLabelledReadout("Lunghezza:", LengthValue(length, " m"));
}

void ShowDiameterReadout(float diameter)
{
    if (diameter == 0.0f)
        ClearReadout();
    else if (ReadoutBar())
        ShowLabelledReadout("Diametro:", LengthValue(diameter, " m."));
}

void ShowAngleReadout(float angle)
{
    if (angle == 32000.0f) {
        ClearReadout();
        return;
    }
    if (!ReadoutBar())
        return;
    char value[32];
    // A damaged angle shows as 0 rather than overflowing the conversion.
    const long degrees = std::isfinite(angle) && std::fabs(angle) < 1.0e9f ? RoundedTowardZero(angle) : 0;
    std::snprintf(value, sizeof value, "%ld degrees", degrees);
    ShowLabelledReadout("Angle:", value);
}

void ShowSizeReadout(float width, float depth, float height)
{
    HWND bar = ReadoutBar();
    if (!bar)
        return;
    const struct {
        float value;
        const char* label;
    } parts[3] = {{width, "Larghezza: "}, {depth, "Profondità: "}, {height, "Altezza: "}};
    std::string text;
    for (const auto& part : parts) {
        if (!SizePresent(part.value))
            continue;
        if (!text.empty())
            text += ", ";
        text += part.label + LengthValue(UnzoomFloat(std::fabs(part.value)), " m");
    }
    if (text.empty())
        DrawReadout(bar, 0, nullptr);
    else
        DrawReadout(bar, kFixedLabelWidth, text.c_str());
}

void ShowDistanceReadout(float distance)
{
    if (distance == 0.0f)
        ClearReadout();
    else if (ReadoutBar())
        ShowLabelledReadout("Visualizza distanza:", LengthValue(distance, " m"));
}

void ShowAreaReadout(float width, float depth)
{
    HWND bar = ReadoutBar();
    if (!bar)
        return;
    if (width == 0.0f && depth == 0.0f) {
        DrawReadout(bar, 0, nullptr);
        return;
    }
    const PlanSettings* settings = activeDocument->settings;
    const float w = PlanLengthToUnits(width, settings, 0);
    const float d = PlanLengthToUnits(depth, settings, 0);
    char wText[kLengthTextSize];
    char dText[kLengthTextSize];
    FormatLength(w, wText, settings, 1);
    FormatLength(d, dText, settings, 1);
    // The area in the unit words of the area commands: square metres, or square feet in
    // imperial plans (the lengths are inches, as for the other readouts).
    char area[64];
    if (Metric())
        std::snprintf(area, sizeof area, "%0.2f m.q.",
                      static_cast<double>(InchesToMetres(w)) * static_cast<double>(InchesToMetres(d)));
    else
        std::snprintf(area, sizeof area, "%0.2f ft.q.", static_cast<double>(w) * static_cast<double>(d) / 144.0);
    const std::string text =
        std::string("Larghezza: ") + wText + ", Profondità: " + dText + ", Area: " + area;
    DrawReadout(bar, kFixedLabelWidth, text.c_str());
}

void ShowReadoutText(const char* text)
{
    if (HWND bar = ReadoutBar())
        DrawReadout(bar, 0, text);
}

void ShowGrowthReadoutText(const char* text)
{
    ShowReadoutText(text);
}

void ShowSelectedLengthReadout(PlanObject*) {}
