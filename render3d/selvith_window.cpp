#include "render3d/selvith_window.h"
#include "dialogs/storey_units_dialogs.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model3d/scene_polygons.h"
#include "palette/tool_windows.h"
#include "planview/input_gdi.h"
#include "planview/plan_mouse_dispatch.h"
#include "planview/plan_redraw.h"
#include "render3d/render_window.h"
#include "render3d/scene_upkeep.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "shell/keys_and_menus.h"
#include "shell/status_bar.h"
#include "resources/resource_ids.h"
#include <stdio.h>
#include <string.h>

HWND selvithWindow = nullptr;
uint8_t skyFollowsCamera = 1;
uint16_t fieldOfViewCommand = 5318;
HWND selvithToolPanes[SelvithPaneCount] = {};

namespace {

constexpr int kRenderChildId = 3;
constexpr int kStripHeight = 51;   // the render child leaves this much below its top of 28
constexpr int kPaneRowHeight = 28;
constexpr uint16_t kBestQuality = 6;
constexpr uint16_t kFastestQuality = 10;
constexpr uint16_t kNarrowestView = 5316;
constexpr uint16_t kWidestView = 5320;
constexpr uint16_t kLeastAlpha = 175;
constexpr uint16_t kFullAlpha = 255;
constexpr uint16_t kAlphaStep = 20;
constexpr int kHideDoorsPane = 3;

struct PaneSpec {
    ToolPaneDescriptor descriptor;
    int x, y, width, height;
};
// The hide-doors pane is placed from the client's bottom right by WM_SIZE.
const PaneSpec kPanes[SelvithPaneCount] = {
    {{3, 400, 2}, 0, 0, 76, 28},
    {{31, 3400, 4}, 80, 0, 142, 28},
    {{32, 3430, 4}, 226, 0, 142, 28},
    {{34, 3450, 1}, 0, 0, 43, 23},
};

// Offsets of each button from the client's left edge and bottom edge.
struct StripButtonSpec {
    int left, top, right, bottom;
    const char* help;
};
const StripButtonSpec kStripButtons[StripButtonCount] = {
    {4, -12, 15, -2, "Rallenta la velocità delle funzioni Visita e Sorvola e migliora la qualità di resa nella finestra Selvith"},
    {48, -12, 59, -2, "Aumenta la velocità delle funzioni Visita e Sorvola e diminuisce la qualità di resa nella finestra Selvith"},
    {77, -12, 88, -2, "Restringe il campo di visualizzazione delle funzioni Visita e Sorvola nella finestra Selvith"},
    {121, -12, 132, -2, "Amplia il campo di visualizzazione delle funzioni Visita e Sorvola nella finestra Selvith"},
    {148, -15, 156, -7, "Imposta la direzione della visuale dal margine sinistro del terreno"},
    {164, -15, 172, -7, "Imposta la direzione della visuale dal margine destro del terreno"},
    {156, -21, 164, -13, "Imposta la direzione della visuale dal margine superiore del terreno"},
    {156, -9, 164, -1, "Imposta la direzione della visuale dal margine inferiore del terreno"},
    {189, -12, 200, -2, "Aumenta il livello della trasparenza delle superfici nel rendering delle funzioni Visita e Sorvola"},
    {233, -12, 244, -2, "Attenua il livello della trasparenza delle superfici nel rendering delle funzioni Visita e Sorvola"},
};

// The button the pointer was last over (-1 none).
int hoveredStripButton = -1;

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

bool IsTransparencyButton(int button)
{
    return button == StripMoreTransparency || button == StripLessTransparency;
}

bool IsSiteEdgeButton(int button)
{
    return button >= StripFromLeft && button <= StripFromBottom;
}

bool ButtonEnabled(int button, const PlanSettings* settings)
{
    switch (button) {
    case StripSlower: return settings->moveSpeed3D > kBestQuality;
    case StripFaster: return settings->moveSpeed3D < kFastestQuality;
    case StripNarrower: return fieldOfViewCommand > kNarrowestView;
    case StripWider: return fieldOfViewCommand < kWidestView;
    case StripMoreTransparency:
    case StripLessTransparency: return settings->view3DFlag1490 != 0;
    }
    return true;
}

// Whether one more click of a transparency button would change the alpha.
bool TransparencyStepPossible(int button, const PlanSettings* settings)
{
    const uint16_t alpha = settings->view3DValue1488;
    return button == StripMoreTransparency ? alpha > kLeastAlpha : alpha < kFullAlpha;
}

// The first button under the point; without the transparency flag its two buttons are
// not there. -1 for none.
int StripButtonAt(POINT point, const RECT& client, const PlanSettings* settings)
{
    for (int button = 0; button < StripButtonCount; ++button) {
        if (IsTransparencyButton(button) && !settings->view3DFlag1490)
            continue;
        RECT rect = SelvithStripButtonRect(button, client);
        if (point.x >= rect.left && point.x <= rect.right && point.y >= rect.top &&
            point.y <= rect.bottom)
            return button;
    }
    return -1;
}

HBITMAP LoadStripPicture(int id)
{
    return static_cast<HBITMAP>(
        LoadImageA(hInstance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
}

void BlitStripPicture(HDC dc, int id, int x, int y)
{
    HBITMAP picture = LoadStripPicture(id);
    if (!picture)
        return;
    BlitBitmap(dc, picture, x, y);
    DeleteObject(picture);
}

int QualityPicture(uint16_t quality)
{
    return quality >= kBestQuality && quality <= kFastestQuality
               ? IDB_QUALITY_GAUGE_FIRST + (quality - kBestQuality)
               : IDB_QUALITY_GAUGE_FIRST + 2;
}

int FieldOfViewPicture(uint16_t command)
{
    return command >= kNarrowestView && command <= kWidestView
               ? IDB_FIELD_OF_VIEW_GAUGE_FIRST + (command - kNarrowestView)
               : IDB_FIELD_OF_VIEW_GAUGE_FIRST + 2;
}

int TransparencyPicture(uint16_t alpha)
{
    if (alpha >= kLeastAlpha && alpha <= kFullAlpha && (alpha - kLeastAlpha) % kAlphaStep == 0)
        return IDB_TRANSPARENCY_GAUGE_FIRST + (alpha - kLeastAlpha) / kAlphaStep;
    return IDB_TRANSPARENCY_GAUGE_FIRST + 3;
}

void RedrawStrip(HWND window)
{
    HDC dc = GetDC(window);
    if (!dc)
        return;
    DrawSelvithStrip(window, dc);
    ReleaseDC(window, dc);
}

void DrawButtonBevel(HWND window, int button, bool sunken)
{
    RECT client;
    GetClientRect(window, &client);
    RECT rect = SelvithStripButtonRect(button, client);
    HDC dc = GetDC(window);
    if (!dc)
        return;
    if (sunken)
        DrawBevelSunken(window, dc, &rect);
    else
        DrawBevelRaised(window, dc, &rect);
    ReleaseDC(window, dc);
}

// The strip's buttons act while pressed: the handler waits here for the release.
void WaitForButtonRelease()
{
    while (IsMouseButtonDown())
        Sleep(10);
}

void RedrawRenderWindowAfterChange()
{
    sceneChanged = 1;
    RedrawRenderWindow();
}

void CreateChildren(HWND window)
{
    for (int i = 0; i < SelvithPaneCount; ++i) {
        const PaneSpec& spec = kPanes[i];
        HWND pane = CreateToolWindow(&spec.descriptor, spec.x, spec.y, spec.width, spec.height,
                                     4 + i, window);
        selvithToolPanes[i] = pane;
        if (pane)
            ShowWindow(pane, SW_SHOW);
    }
    RECT client;
    GetClientRect(window, &client);
    renderWindow = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, "RenderClass", "",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 23,
                                   kPaneRowHeight, client.right - 23,
                                   client.bottom - kPaneRowHeight, window,
                                   reinterpret_cast<HMENU>((INT_PTR)kRenderChildId), hInstance,
                                   nullptr);
}

void Layout(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    if (renderWindow && GetParent(renderWindow) == window)
        MoveWindow(renderWindow, 0, kPaneRowHeight, client.right, client.bottom - kStripHeight, TRUE);
    if (HWND pane = selvithToolPanes[kHideDoorsPane])
        MoveWindow(pane, client.right - 38, client.bottom - 23, 43, 23, TRUE);
}

void Paint(HWND window)
{
    if (!GetUpdateRect(window, nullptr, FALSE))
        return;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc && ActiveSettings())
        DrawSelvithStrip(window, dc);
    EndPaint(window, &paint);
}

void ShowHelp(int button)
{
    snprintf(customStatusText, sizeof customStatusText, "%s", SelvithStripHelpText(button));
    ShowStatusHelp(StatusCustomTextId);
}

void Hover(HWND window, LPARAM lParam)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return;
    POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    RECT client;
    GetClientRect(window, &client);
    int button = StripButtonAt(point, client, settings);
    if (button < 0) {
        ClearToolButtonHover();
        hoveredStripButton = -1;
        return;
    }
    RECT rect = SelvithStripButtonRect(button, client);
    if (button != hoveredStripButton) {
        HWND previous = hoveredBarWindow;
        ClearToolButtonHover();
        hoveredBarWindow = window;
        hoveredBarRect = rect;
        hoveredStripButton = button;
        if (previous && previous != window)
            RedrawWindow(previous, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        if (ButtonEnabled(button, settings))
            DrawButtonBevel(window, button, false);
        ShowHelp(button);
    } else if (!hoveredBarWindow) {
        ClearToolButtonHover();
        hoveredBarWindow = window;
        hoveredBarRect = rect;
        ShowHelp(button);
    } else {
        hoveredBarWindow = window;
        hoveredBarRect = rect;
    }
}

void ClickQuality(HWND window, int button, PlanSettings* settings)
{
    if (button == StripSlower)
        --settings->moveSpeed3D;
    else
        ++settings->moveSpeed3D;
    skyFollowsCamera = settings->moveSpeed3D < kFastestQuality ? 1 : 0;
    RedrawStrip(window);
    DrawButtonBevel(window, button, true);
    WaitForButtonRelease();
    if (ButtonEnabled(button, settings))
        DrawButtonBevel(window, button, false);
    else
        RedrawStrip(window);
}

void ClickFieldOfView(HWND window, int button, PlanSettings* settings)
{
    fieldOfViewCommand = (uint16_t)(fieldOfViewCommand + (button == StripNarrower ? -1 : 1));
    if (frameWindow)
        SendMessageA(frameWindow, WM_COMMAND, fieldOfViewCommand, 0);
    RedrawStrip(window);
    DrawButtonBevel(window, button, true);
    RedrawRenderWindowAfterChange();
    WaitForButtonRelease();
    if (ButtonEnabled(button, settings))
        DrawButtonBevel(window, button, false);
}

void ClickSiteEdge(HWND window, int button, PlanSettings* settings)
{
    static const int16_t kSides[4] = {2, 4, 3, 1};  // left, right, top, bottom
    RedrawStrip(window);
    DrawButtonBevel(window, button, true);
    WaitForButtonRelease();
    settings->orthographic3D = kSides[button - StripFromLeft];
    RedrawStrip(window);
    RedrawRenderWindowAfterChange();
    DrawButtonBevel(window, button, false);
    RunZoomFactorDialog(settings);
    InvalidatePlanView();
}

void ClickTransparency(HWND window, int button, PlanSettings* settings)
{
    // The alpha is a byte of the render: it stays within 175 to 255.
    uint16_t& alpha = settings->view3DValue1488;
    if (button == StripMoreTransparency) {
        if (alpha < kLeastAlpha + 1)
            return;
        alpha = alpha - kAlphaStep < kLeastAlpha ? kLeastAlpha : (uint16_t)(alpha - kAlphaStep);
    } else {
        if (alpha >= kFullAlpha)
            return;
        alpha = alpha + kAlphaStep > kFullAlpha ? kFullAlpha : (uint16_t)(alpha + kAlphaStep);
    }
    RedrawStrip(window);
    DrawButtonBevel(window, button, true);
    RedrawRenderWindowAfterChange();
    WaitForButtonRelease();
    if (TransparencyStepPossible(button, settings))
        DrawButtonBevel(window, button, false);
    else
        RedrawStrip(window);
}

// True when a button took the click.
bool Click(HWND window, LPARAM lParam)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return false;
    POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    RECT client;
    GetClientRect(window, &client);
    int button = StripButtonAt(point, client, settings);
    if (button < 0 || !ButtonEnabled(button, settings))
        return false;
    if (button == StripSlower || button == StripFaster)
        ClickQuality(window, button, settings);
    else if (button == StripNarrower || button == StripWider)
        ClickFieldOfView(window, button, settings);
    else if (IsSiteEdgeButton(button))
        ClickSiteEdge(window, button, settings);
    else
        ClickTransparency(window, button, settings);
    return true;
}

} // namespace

RECT SelvithStripButtonRect(int button, const RECT& client)
{
    RECT rect = {0, 0, 0, 0};
    if (button < 0 || button >= StripButtonCount)
        return rect;
    const StripButtonSpec& spec = kStripButtons[button];
    rect.left = client.left + spec.left;
    rect.top = client.bottom + spec.top;
    rect.right = client.left + spec.right;
    rect.bottom = client.bottom + spec.bottom;
    return rect;
}

const char* SelvithStripHelpText(int button)
{
    return button >= 0 && button < StripButtonCount ? kStripButtons[button].help : "";
}

void DrawSelvithStrip(HWND window, HDC dc)
{
    const PlanSettings* settings = ActiveSettings();
    if (!settings || !dc)
        return;
    RECT client;
    GetClientRect(window, &client);
    const int left = client.left, bottom = client.bottom;
    BlitStripPicture(dc, QualityPicture(settings->moveSpeed3D), left + 3, bottom - 21);
    RECT etched = {left + 3, bottom - 21, left + 70, bottom - 1};
    DrawEtchedVerticalLine(window, dc, &etched);
    BlitStripPicture(dc, FieldOfViewPicture(fieldOfViewCommand), left + 75, bottom - 20);
    BlitStripPicture(dc, IDB_SITE_EDGE_ARROWS, left + 148, bottom - 21);
    if (settings->view3DFlag1490)
        BlitStripPicture(dc, TransparencyPicture(settings->view3DValue1488), left + 187, bottom - 23);
}

LRESULT CALLBACK SelvithWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        selvithWindow = window;
        CreateChildren(window);
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        SendMessageA(window, WM_NCACTIVATE, 1, 0);
        return 0;
    case WM_SIZE:
        Layout(window);
        return 0;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_CLOSE:
        ShowWindow(window, SW_HIDE);
        RevertToSelectTool(1);
        return 0;
    case WM_KEYDOWN:
        HandlePlanKeyDown(wParam, lParam);
        return 0;
    case WM_MOUSEMOVE:
        Hover(window, lParam);
        return 0;
    case WM_NCMOUSEMOVE:
        ClearToolButtonHover();
        break;
    case WM_LBUTTONDOWN:
        if (Click(window, lParam))
            return 0;
        break;
    case WM_DESTROY:
        if (selvithWindow == window)
            selvithWindow = nullptr;
        for (HWND& pane : selvithToolPanes)
            pane = nullptr;
        hoveredStripButton = -1;
        if (hoveredBarWindow == window) {
            hoveredBarWindow = nullptr;
            SetRectEmpty(&hoveredBarRect);
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
