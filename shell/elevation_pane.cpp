#include "shell/elevation_pane.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "shell/keys_and_menus.h"
#include "shell/message_box.h"
#include "shell/selection_elevation.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "palette/tool_windows.h"
#include "planview/input_gdi.h"
#include "resources/resource_ids.h"

#include <commctrl.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

HWND elevationArrowWindow = nullptr;
int elevationArrowIndex = 22;
float elevationPaneValue = 22.0f;
uint8_t elevationWholeStep = 1;
uint8_t elevationValueShown = 1;
uint8_t elevationIsWorking = 0;

namespace {

constexpr double kSteps = 34.0;
constexpr int kZeroStep = 22;
constexpr int kTopStep = 2;
constexpr int kBottomStep = 32;
constexpr int kArrowWidth = 20;
constexpr int kArrowHeight = 13;
constexpr int kArrowHalfHeight = 6;
constexpr int kLabelCount = 16;
// A summary further than this many feet or metres from 0 comes from a damaged plan: the
// pane shows no value for it rather than an arrow thousands of steps away.
constexpr double kLargestLevel = 10000.0;

// The commands of the pane's menu.
enum {
    kSetElevationCommand = 5271,
    kBackToGroundCommand = 5326,
    kSetWorkingElevationCommand = 5327,
};

const char* const kMoveSelectionQuestion =
    "Questa nuova impostazione per l'elevazione sarà applicata a tutti gli oggetti attualmente "
    "selezionati. Spostare tutti gli oggetti selezionati su questa nuova elevazione?";

HFONT arrowFont = nullptr;
HGDIOBJ arrowOldFont = nullptr;

// The unit system (0 without an active plan) the pane's labels and the arrow's label
// were last drawn for: a plan closed, another activated or given other units asks for
// new ones.
uint16_t paneDrawnUnits = 0;
uint16_t arrowDrawnUnits = 0;

HINSTANCE Instance()
{
    return hInstance ? hInstance : GetModuleHandleA(nullptr);
}

// Rounding of the pane: + 0.5, truncated toward zero.
int Rounded(double value)
{
    return static_cast<int>(value + 0.5);
}

int ClientHeight(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    return client.bottom - client.top;
}

double StepOf(HWND pane)
{
    return ClientHeight(pane) / kSteps;
}

// A drag or a press needs a step of at least one pixel, so that a pane squeezed to
// nothing still maps the pointer to a step.
double DragStepOf(HWND pane)
{
    const double step = StepOf(pane);
    return step < 1.0 ? 1.0 : step;
}

int ClampedStep(int index)
{
    return index < kTopStep ? kTopStep : (index > kBottomStep ? kBottomStep : index);
}

bool MetricPlan(const PlanSettings* settings)
{
    return settings->unitSystem == kUnitSystemMetric;
}

uint16_t ActiveUnits()
{
    return activeDocument && activeDocument->settings ? activeDocument->settings->unitSystem : 0;
}

// The scale's labels are metric or in feet, the arrow's label in either or absent.
bool PaneLooksAlike(uint16_t units, uint16_t drawn)
{
    return (units == kUnitSystemMetric) == (drawn == kUnitSystemMetric);
}

void PlaceArrow(HWND pane, int index)
{
    RECT client;
    GetClientRect(pane, &client);
    MoveWindow(elevationArrowWindow, 0, client.top + Rounded(index * StepOf(pane)) - kArrowHalfHeight, kArrowWidth,
               kArrowHeight, TRUE);
}

void RedrawNow(HWND window, bool erase)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | (erase ? RDW_ERASE : 0));
}

HBITMAP LoadMappedBitmap(int id)
{
    return static_cast<HBITMAP>(
        LoadImageA(Instance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
}

void DrawLine(HDC dc, COLORREF colour, int x1, int y1, int x2, int y2)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ previous = SelectObject(dc, pen ? pen : GetStockObject(BLACK_PEN));
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, previous);
    if (pen)
        DeleteObject(pen);
}

// The value bar along the right edge, from the shown step down to the bottom.
void PaintValueBar(HDC dc, const RECT& client, double step)
{
    const double index = elevationWholeStep ? elevationArrowIndex : elevationPaneValue;
    COLORREF colour = GetSysColor(elevationWholeStep ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW);
    if (elevationIsWorking)
        colour = RGB(255, 255, 255);
    RECT bar = {client.right - 3, client.top + Rounded(index * step), client.right + 1, client.bottom};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &bar, brush ? brush : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (brush)
        DeleteObject(brush);
}

void PaintPane(HWND pane)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(pane, &paint);
    if (!dc)
        return;
    RECT client;
    GetClientRect(pane, &client);
    const double step = StepOf(pane);
    if (elevationValueShown)
        PaintValueBar(dc, client, step);

    paneDrawnUnits = ActiveUnits();
    const bool metric = paneDrawnUnits == kUnitSystemMetric;
    const int firstLabel = metric ? IDB_ELEVATION_LABELS_METRES : IDB_ELEVATION_LABELS_FEET;
    const double height = client.bottom - client.top;
    for (int i = 0; i < kLabelCount; ++i) {
        if (HBITMAP label = LoadMappedBitmap(firstLabel + i)) {
            BlitBitmap(dc, label, 2, Rounded((i + 1) * height / 17.0) - 3);
            DeleteObject(label);
        }
    }

    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    for (int i = 1; i <= 31; ++i) {
        const int y = Rounded((i + 1) * step);
        DrawLine(dc, light, client.right - 3, y, client.right, y);
        DrawLine(dc, shadow, client.right - 3, y - 1, client.right, y - 1);
    }
    EndPaint(pane, &paint);
}

// The pane's (and the arrow's) menu at the cursor; the chosen command goes to the frame.
void ShowElevationMenu(HWND window)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    if (elevationIsWorking) {
        AppendMenuA(menu, MF_STRING, kSetWorkingElevationCommand, "Imposta elevazione lavoro...");
    } else {
        AppendMenuA(menu, MF_STRING, kSetElevationCommand, "Imposta elevazione...");
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, kBackToGroundCommand, "Riposiziona sul terreno");
    }
    POINT at = {0, 0};
    GetCursorPos(&at);
    const int command = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
                                       at.y, 0, window, nullptr);
    DestroyMenu(menu);
    if (command && frameWindow)
        SendMessageA(frameWindow, WM_COMMAND, static_cast<WPARAM>(command), 0);
}

void CreateArrow(HWND pane)
{
    RECT client;
    GetClientRect(pane, &client);
    elevationArrowWindow = CreateWindowExA(
        0, "ElevationArrowClass", nullptr, WS_CHILD | WS_VISIBLE, client.left,
        client.top + Rounded(elevationArrowIndex * StepOf(pane)) - kArrowHalfHeight, kArrowWidth, kArrowHeight, pane,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(1)), Instance(), nullptr);
    if (!elevationArrowWindow)
        return;
    if (tooltipWindow) {
        TOOLINFOA tool;
        std::memset(&tool, 0, sizeof tool);
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = pane;
        tool.uId = reinterpret_cast<UINT_PTR>(elevationArrowWindow);
        tool.hinst = Instance();
        tool.lpszText = const_cast<char*>("Cursore Elevazione");
        SendMessageA(tooltipWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    BringWindowToTop(elevationArrowWindow);
    ShowWindow(elevationArrowWindow, SW_SHOW);
    UpdateWindow(elevationArrowWindow);
}

void SetUpArrowDC(HWND arrow)
{
    HDC dc = GetDC(arrow);
    if (!dc)
        return;
    // The class owns its DC, so what is selected here stays for the arrow's life.
    arrowFont = CreateFontA(-9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x34, "Arial");
    if (arrowFont)
        arrowOldFont = SelectObject(dc, arrowFont);
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetTextAlign(dc, TA_CENTER | TA_UPDATECP);
    ReleaseDC(arrow, dc);
}

void PaintArrow(HWND arrow)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(arrow, &paint);
    if (!dc)
        return;
    RECT client;
    GetClientRect(arrow, &client);
    if (HBITMAP picture = LoadMappedBitmap(IDB_ELEVATION_ARROW)) {
        BlitBitmap(dc, picture, 0, 0);
        DeleteObject(picture);
        HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
        HGDIOBJ previous = SelectObject(dc, light ? light : GetStockObject(WHITE_PEN));
        MoveToEx(dc, 0, client.bottom - 2, nullptr);
        LineTo(dc, 0, 0);
        LineTo(dc, 13, 0);
        LineTo(dc, client.right - 1, 6);
        SelectObject(dc, previous);
        if (light)
            DeleteObject(light);
    }
    arrowDrawnUnits = ActiveUnits();
    if (arrowDrawnUnits) {
        char text[32];
        const bool feet = arrowDrawnUnits == kUnitSystemFeetInches;
        std::snprintf(text, sizeof text, "%ld%s", static_cast<long>(kZeroStep - elevationArrowIndex), feet ? "'" : "");
        MoveToEx(dc, 9, 1, nullptr);
        TextOutA(dc, 0, 0, text, static_cast<int>(std::strlen(text)));
    }
    EndPaint(arrow, &paint);
}

// The step under the pointer, once it has moved at least half a step from the current one.
bool PointerStep(HWND pane, double step, int current, int* lastY, int* index)
{
    POINT pointer = {0, 0};
    GetCursorLogicalPosInWindow(pane, &pointer);
    if (pointer.y == *lastY)
        return false;
    *lastY = pointer.y;
    if (std::fabs(pointer.y - current * step) < step / 2.0)
        return false;
    *index = ClampedStep(Rounded(pointer.y / step));
    return *index != current;
}

// Follows the pointer from the start step until the buttons are released; the arrow is
// drawn at each new step while elevationArrowIndex keeps the start for the pane.
int TrackArrow(HWND pane, int start)
{
    const double step = DragStepOf(pane);
    HCURSOR previous = nullptr;
    const bool finger = namedCursors[FingerCursorIndex] != nullptr;
    if (finger)
        previous = SetCursor(namedCursors[FingerCursorIndex]);
    int current = start;
    int lastY = INT_MIN;
    while (IsMouseButtonDown()) {
        int index = current;
        if (!PointerStep(pane, step, current, &lastY, &index))
            continue;
        current = index;
        PlaceArrow(pane, current);
        UpdateWindow(pane);
        const int kept = elevationArrowIndex;
        elevationArrowIndex = current;
        RedrawNow(elevationArrowWindow, false);
        elevationArrowIndex = kept;
    }
    if (finger)
        SetCursor(previous);
    return current;
}

// Applies the released step: the working elevation, or the selection moved to it (after
// the question when the selected objects stand at different elevations).
void ApplyArrowStep(PlanDocument* document, int index)
{
    PlanSettings* settings = document->settings;
    const int level = kZeroStep - index;
    const bool metric = MetricPlan(settings);
    if (settings->workingElevationValue.first) {
        const float elevation = metric ? MetresToInches(static_cast<float>(level)) : level * 12.0f;
        if (elevation != settings->workingElevation)
            settings->modified = 1;
        settings->workingElevation = elevation;
        return;
    }
    selectionElevationFeet =
        metric ? MetresToInches(static_cast<float>(level)) / 12.0f : static_cast<float>(level);
    if (!settings->workingElevationValue.same) {
        const int answer = ShowMessageBox(nullptr, kMoveSelectionQuestion, applicationTitle,
                                          MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL);
        if (answer != IDYES) {
            ShowWindow(elevationArrowWindow, SW_HIDE);
            return;
        }
    }
    ForEachFloorSelection(document->firstFloor, MoveSelectionToElevation, nullptr);
    settings->modified = 1;
}

// Drags from the start step and applies the result.
void DragArrowFrom(int start)
{
    HWND pane = elevationPaneWindow;
    PlanDocument* document = activeDocument;
    if (!pane || !elevationArrowWindow || !document || !document->settings)
        return;
    const int index = TrackArrow(pane, start);
    elevationArrowIndex = index;
    ApplyArrowStep(document, index);
    RefreshWorkingElevationValue(document);
    if (activePlanPane)
        RedrawNow(activePlanPane, true);
}

} // namespace

LRESULT CALLBACK ElevationPaneWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateArrow(window);
        return 0;
    case WM_PAINT:
        if (GetUpdateRect(window, nullptr, FALSE)) {
            // A part to paint in other units than the rest shows makes the paint whole.
            ShowElevationPaneUnits();
            PaintPane(window);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
        MoveElevationArrowToPoint(window, message, lParam);
        return 0;
    case WM_RBUTTONDOWN:
        ShowElevationMenu(window);
        return 0;
    case WM_KEYDOWN:
        HandlePlanKeyDown(wParam, lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ElevationArrowWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        SetUpArrowDC(window);
        return 0;
    case WM_PAINT:
        if (GetUpdateRect(window, nullptr, FALSE)) {
            PaintArrow(window);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
        DragElevationArrow(window, message, lParam);
        return 0;
    case WM_RBUTTONDOWN:
        ShowElevationMenu(window);
        return 0;
    case WM_KEYDOWN:
        HandlePlanKeyDown(wParam, lParam);
        return 0;
    case WM_NCDESTROY:
        ReleaseOwnDCFont(window, &arrowFont, &arrowOldFont);
        if (elevationArrowWindow == window)
            elevationArrowWindow = nullptr;
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void LayoutElevationPane(const CommonValue& record)
{
    HWND pane = elevationPaneWindow;
    PlanDocument* document = activeDocument;
    if (!pane || !elevationArrowWindow || !document || !document->settings)
        return;
    elevationValueShown = 0;
    elevationIsWorking = 0;
    double levels = 0.0;
    bool usable = record.first || record.same;
    if (usable) {
        // Twelve pane units to a level: a foot, or a metre in metric plans.
        double value = record.value;
        if (MetricPlan(document->settings))
            value = InchesToMetres(record.value) * 12.0;
        levels = value / 12.0;
        usable = std::isfinite(levels) && std::fabs(levels) <= kLargestLevel;
    }
    if (!usable) {
        ShowWindow(elevationArrowWindow, SW_HIDE);
        RedrawNow(pane, true);
        return;
    }
    elevationValueShown = 1;
    elevationIsWorking = record.first ? 1 : 0;
    int whole = static_cast<int>(levels);
    double fraction = levels - whole;
    if (MetricPlan(document->settings)) {
        // Metres pass through inches and back: a value within a hundredth of a whole
        // level, on either side of it, stands on that level.
        const double nearest = std::trunc(levels + (levels < 0.0 ? -0.5 : 0.5));
        if (std::fabs(levels - nearest) < 0.01) {
            whole = static_cast<int>(nearest);
            fraction = 0.0;
        }
    }
    if (fraction != 0.0) {
        elevationWholeStep = 0;
        elevationPaneValue = static_cast<float>(kZeroStep - levels);
        ShowWindow(elevationArrowWindow, SW_HIDE);
    } else {
        elevationWholeStep = 1;
        elevationArrowIndex = kZeroStep - whole;
        PlaceArrow(pane, elevationArrowIndex);
        ShowWindow(elevationArrowWindow, SW_SHOW);
        RedrawNow(elevationArrowWindow, false);
    }
    RedrawNow(pane, true);
}

void MoveElevationArrowToPoint(HWND pane, UINT, LPARAM lParam)
{
    if (!pane || !elevationArrowWindow)
        return;
    const int y = static_cast<short>(HIWORD(lParam));
    const int index = ClampedStep(Rounded(y / DragStepOf(pane)));
    PlaceArrow(pane, index);
    ShowWindow(elevationArrowWindow, SW_SHOW);
    // The drag starts from the pressed step: a press and release there sets that step.
    DragArrowFrom(index);
}

void DragElevationArrow(HWND, UINT, LPARAM)
{
    DragArrowFrom(elevationArrowIndex);
}

void ShowElevationPaneUnits()
{
    const uint16_t units = ActiveUnits();
    if (elevationPaneWindow && !PaneLooksAlike(units, paneDrawnUnits))
        InvalidateRect(elevationPaneWindow, nullptr, TRUE);
    if (elevationArrowWindow && units != arrowDrawnUnits)
        InvalidateRect(elevationArrowWindow, nullptr, TRUE);
}
