#include "model/plan_document.h"
#include "model/object_operations.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "dialogs/common_values.h"
#include "files/plan_file.h"
#include "palette/category_tabs.h"
#include "palette/tool_windows.h"
#include "planview/plan_pane.h"
#include "planview/selection.h"
#include "planview/view_origin.h"
#include "render3d/scene_upkeep.h"
#include "render3d/selvith_window.h"
#include "shell/app_globals.h"
#include "shell/camera_presets.h"
#include "shell/companions.h"
#include "shell/elevation_pane.h"
#include "shell/frame_window.h"
#include "shell/keys_and_menus.h"
#include "shell/message_box.h"
#include "tools/undo.h"

// Commands this window sends to the frame.
static const WPARAM kPlanViewCommand = 5149;
static const WPARAM kSaveCommand = 5;

static HINSTANCE ModuleInstance()
{
    return hInstance ? hInstance : GetModuleHandleA(nullptr);
}

static HWND PaneOf(HWND window)
{
    return reinterpret_cast<HWND>(GetWindowLongPtrA(window, 0));
}

static void SendFrameCommand(WPARAM command)
{
    if (frameWindow)
        SendMessageA(frameWindow, WM_COMMAND, command, 0);
}

// Positions of the children for a client area of width w and height h.
struct DocumentLayout {
    RECT pane, hScroll, vScroll, sizeBox, strip;  // x, y, width, height in left/top/right/bottom
};

static DocumentLayout ComputeLayout(int w, int h, bool onCreate)
{
    int v = GetSystemMetrics(SM_CXVSCROLL);
    int s = GetSystemMetrics(SM_CYHSCROLL);
    int tallExtra = onCreate ? 1 : 2;
    DocumentLayout layout;
    layout.pane = {-1, -1, w + 2 - v, h + tallExtra - s};
    layout.hScroll = {308, h - s, w + 2 - v - 309, s};
    layout.vScroll = {w - v, -1, v, h + tallExtra - s};
    layout.sizeBox = {w - v + 1, h - s + 1, v, s};
    layout.strip = {-1, onCreate ? h - s + 1 : h - s, 310, s};
    return layout;
}

static HWND MakeChild(DWORD exStyle, const char* className, DWORD style, const RECT& place, HWND parent,
                      int id)
{
    return CreateWindowExA(exStyle, className, nullptr, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                           place.right, place.bottom, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           ModuleInstance(), nullptr);
}

static LRESULT OnCreate(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    DocumentLayout layout = ComputeLayout(client.right, client.bottom, true);

    // The children overlap by a pixel (the pane's edge on the bars and the strip, the strip's
    // last column on the horizontal bar's first). The strip lies on top and the others clip
    // their siblings, so that a pixel shown twice is always the upper one's, whichever
    // repaints last.
    const DWORD clip = WS_CLIPSIBLINGS;
    HWND pane = MakeChild(WS_EX_CLIENTEDGE, "MainClass", WS_BORDER | clip, layout.pane, window, DocumentPaneId);
    if (!pane) {
        SetWindowLongPtrA(window, 0, 0);
        return 0;
    }
    HWND hScroll = MakeChild(0, "scrollbar", SBS_HORZ | clip, layout.hScroll, window, DocumentHScrollId);
    HWND vScroll = MakeChild(0, "scrollbar", SBS_VERT | clip, layout.vScroll, window, DocumentVScrollId);
    HWND sizeBox = MakeChild(0, "scrollbar", SBS_SIZEBOX | SBS_SIZEBOXBOTTOMRIGHTALIGN | clip, layout.sizeBox, window,
                             DocumentSizeBoxId);
    HWND strip = MakeChild(0, "MiscClass", 0, layout.strip, window, DocumentStripId);
    if (strip) {
        SetWindowLongA(strip, 0, 1);
        SetWindowPos(strip, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    PlanDocument* document = CreatePlanDocument();
    if (document) {
        // The new plan is the one being worked on, with its pane.
        activePlanPane = pane;
        document->measurementStrip = strip;
        document->horizontalScrollBar = hScroll;
        document->verticalScrollBar = vScroll;
        document->sizeBox = sizeBox;
        if (PlanSettings* settings = document->settings) {
            RECT paneClient;
            GetClientRect(pane, &paneClient);
            int left = static_cast<int>(settings->extentLeft);
            int right = static_cast<int>(settings->extentRight);
            int top = static_cast<int>(settings->extentTop);
            int bottom = static_cast<int>(settings->extentBottom);
            HDC dc = GetDC(pane);
            if (dc) {
                SetWindowOrg16(dc, left + ((right - left) - paneClient.right) / 2,
                               top + ((bottom - top) - paneClient.bottom) / 2);
                ReleaseDC(pane, dc);
            }
            RefreshWorkingElevationValue(document);
        }
    }
    UpdatePlanScrollBars(hScroll, vScroll);
    SetWindowLongPtrA(pane, 0, reinterpret_cast<LONG_PTR>(document));
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(pane));
    return 0;
}

static void MoveChild(HWND window, int id, const RECT& place)
{
    HWND child = GetDlgItem(window, id);
    if (child)
        MoveWindow(child, place.left, place.top, place.right, place.bottom, TRUE);
}

static LRESULT OnSize(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (wParam == SIZE_MINIMIZED)
        SendFrameCommand(kPlanViewCommand);
    DocumentLayout layout = ComputeLayout(LOWORD(lParam), HIWORD(lParam), false);
    MoveChild(window, DocumentPaneId, layout.pane);
    MoveChild(window, DocumentHScrollId, layout.hScroll);
    MoveChild(window, DocumentVScrollId, layout.vScroll);
    MoveChild(window, DocumentStripId, layout.strip);
    if (HWND sizeBox = GetDlgItem(window, DocumentSizeBoxId)) {
        ShowWindow(sizeBox, wParam == SIZE_MAXIMIZED ? SW_HIDE : SW_SHOW);
        MoveWindow(sizeBox, layout.sizeBox.left, layout.sizeBox.top, layout.sizeBox.right, layout.sizeBox.bottom,
                   TRUE);
    }
    if (wParam != SIZE_MINIMIZED)
        UpdatePlanScrollBars(GetDlgItem(window, DocumentHScrollId), GetDlgItem(window, DocumentVScrollId));
    ResetWorkingElevationAndRedraw();
    return DefMDIChildProcA(window, message, wParam, lParam);
}

static LRESULT OnScroll(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    bool vertical = message == WM_VSCROLL;
    HWND pane = PaneOf(window);
    HWND bar = reinterpret_cast<HWND>(lParam);
    if (!bar)
        bar = GetDlgItem(window, vertical ? DocumentVScrollId : DocumentHScrollId);
    int step = 50;
    if (activeDocument && activeDocument->settings)
        step = activeDocument->settings->scrollStep;
    RECT paneClient = {0, 0, 0, 0};
    if (pane)
        GetClientRect(pane, &paneClient);
    int page = vertical ? paneClient.bottom : paneClient.right;
    int delta = 0;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: delta = -step; break;
    case SB_LINEDOWN: delta = step; break;
    case SB_PAGEUP: delta = -page; break;
    case SB_PAGEDOWN: delta = page; break;
    case SB_THUMBPOSITION: delta = static_cast<int>(HIWORD(wParam)) - GetScrollPos(bar, SB_CTL); break;
    default: return 0;
    }
    if (delta == 0)
        return 0;
    ClearToolButtonHover();
    ScrollPlanView(bar, pane, vertical ? 1 : 0, static_cast<int16_t>(delta), page, 1);
    return 0;
}

static LRESULT OnMdiActivate(HWND window, WPARAM wParam, LPARAM lParam)
{
    toolHoverRefresh = 1;
    HWND pane = PaneOf(window);
    if (reinterpret_cast<HWND>(wParam) == window) {
        if (pane)
            InvalidateRect(pane, nullptr, TRUE);
        SendFrameCommand(kPlanViewCommand);
        // The plan losing the focus is this window's own, whichever one the globals name.
        PlanDocument* document = GetWindowDocument(window);
        if (document && document->currentFloor)
            SetFloorSelection(document->currentFloor, kSelectDeselect, 1);
        if (frameWindow)
            InvalidateRect(frameWindow, nullptr, TRUE);
    }
    if (reinterpret_cast<HWND>(lParam) == window) {
        const PlanDocument* previous = activeDocument;
        BringWindowToTop(window);
        activePlanPane = pane;
        if (pane)
            SetFocus(pane);
        activeDocument = pane ? reinterpret_cast<PlanDocument*>(GetWindowLongPtrA(pane, 0)) : nullptr;
        ApplyTabLayerToPlan();
        if (activeDocument && activeDocument->settings) {
            if (activeDocument->settings->toolBarFlag && toolBarWindow)
                RedrawWindow(toolBarWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            RefreshWorkingElevationValue(activeDocument);
        }
        // The live view shows the active plan; activating it again changes nothing.
        if (activeDocument != previous)
            FollowActivePlanIn3D();
        if (frameWindow)
            InvalidateRect(frameWindow, nullptr, TRUE);
        if (pane)
            InvalidateRect(pane, nullptr, TRUE);
        SendFrameCommand(kPlanViewCommand);
    }
    return 0;
}

static void SelectEveryObject(PlanDocument* document)
{
    for (PlanFloor* floor = document->firstFloor; floor; floor = floor->next)
        for (PlanObject* object = floor->firstObject; object; object = object->next)
            SelectObjectPoints(object, kSelectSelect, 0);
}

static LRESULT OnClose(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (selvithWindow)
        ShowWindow(selvithWindow, SW_HIDE);

    // The question and the release are about this window's own plan, which is made the
    // active one meanwhile so that the save command writes it; the plan that was active
    // before is put back afterwards when it is another one.
    HWND pane = PaneOf(window);
    PlanDocument* document = GetWindowDocument(window);
    PlanDocument* previousDocument = activeDocument;
    HWND previousPane = activePlanPane;
    if (document) {
        activeDocument = document;
        activePlanPane = pane;
    }
    auto restoreActive = [&]() {
        if (document && previousDocument != document) {
            activeDocument = previousDocument;
            activePlanPane = previousPane;
        }
    };
    // The furniture editor's reply would have no plan to go into.
    if (!FurnitureEditorLetsPlanClose(window)) {
        restoreActive();
        return 0;
    }
    if (!document || !document->settings || document->settings->modified) {
        char title[256] = "";
        GetWindowTextA(window, title, sizeof(title));
        int answer = ShowMessageBox(frameWindow, "Salvare le modifiche prima di chiudere?", title,
                                    MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL) {
            restoreActive();
            return 0;
        }
        if (answer == IDYES) {
            SendFrameCommand(kSaveCommand);
            if (saveInProgress) {
                restoreActive();
                return 0;
            }
        }
    }
    if (document) {
        SelectEveryObject(document);
        ForEachFloorSelection(document->firstFloor, RemoveCutOpening, nullptr);
    }
    CancelPendingObject();
    restoreActive();
    if (selvithWindow)
        ShowWindow(selvithWindow, SW_HIDE);
    if (toolBarWindow)
        InvalidateRect(toolBarWindow, nullptr, TRUE);
    ClearToolButtonHover();
    return DefMDIChildProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK DocumentWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_SIZE:
        return OnSize(window, message, wParam, lParam);
    case WM_HSCROLL:
    case WM_VSCROLL:
        return OnScroll(window, message, wParam, lParam);
    case WM_MDIACTIVATE:
        return OnMdiActivate(window, wParam, lParam);
    case WM_KEYDOWN:
        HandlePlanKeyDown(wParam, lParam);
        break;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        ClearToolButtonHover();
        break;
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
        return OnClose(window, message, wParam, lParam);
    case WM_DESTROY:
        return 0;
    case WM_NCDESTROY:
        // Its plan is gone (its pane went first): the scale shows the plan now active.
        ShowElevationPaneUnits();
        break;
    default:
        break;
    }
    return DefMDIChildProcA(window, message, wParam, lParam);
}
