#include "palette/tool_tab_window.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "palette/category_tabs.h"
#include "palette/symbol_bar.h"
#include "palette/tool_windows.h"
#include "planview/plan_background.h"
#include "planview/plan_mouse_dispatch.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "shell/keys_and_menus.h"
#include "shell/message_box.h"

namespace {

const int kTabRow = 1;
const int kActiveTabButton = 2;
const int kTabWidth = 59;
const int kTabRowPicture = 11060;
const int kFirstLayerItem = 10000;

const char kNoPlanQuestion[] =
    "Non sono aperte finestre di disegno. Per usare questa opzione occorre aprire un disegno "
    "esistente oppure creare un nuovo disegno. Creare un nuovo disegno?";
const char* const kTabNames[LayerTabCount] = {"Fondamenta",     "Pavimento", "Imp. elettrico",
                                              "Imp. idraulico", "Tetto",     "RVAC",
                                              "Terrazza",       "Giardino"};

LONG_PTR KindOf(HWND window)
{
    return GetWindowLongPtrA(window, 0);
}

// The hot rectangle of a tab window: the client rectangle shrunk by one, its top 3 lower.
RECT HotRect(HWND window)
{
    RECT rect;
    GetClientRect(window, &rect);
    InflateRect(&rect, -1, -1);
    rect.top += 3;
    return rect;
}

void RepaintNow(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void DrawPicture(HDC dc, int id)
{
    if (HBITMAP picture = LoadPaletteBitmap(id)) {
        BlitBitmap(dc, picture, 0, 0);
        DeleteObject(picture);
    }
}

void HighlightLine(HDC dc, int x, int y0, int y1)
{
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    if (!pen)
        return;
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x, y0, nullptr);
    LineTo(dc, x, y1);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void PaintTabWindow(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (dc && !IsRectEmpty(&ps.rcPaint)) {
        if (KindOf(window) == kTabRow) {
            DrawPicture(dc, kTabRowPicture);
            for (int i = 0; i < ToolTabCount; ++i)
                HighlightLine(dc, kTabWidth * i, 2, 16);
        } else {
            DrawPicture(dc, ActiveTabPicture(activeToolTab));
            HighlightLine(dc, 0, 0, 19);
            if (activeToolTab != DrawingShapeTab) {
                RECT edge;
                GetClientRect(window, &edge);
                InflateRect(&edge, -1, -1);
                edge.top += 3;
                edge.right -= 2;
                edge.bottom -= 2;
                if (toolTabPressed)
                    DrawBevelSunken(window, dc, &edge);
                else if (hoveredToolButton == window)
                    DrawBevelRaised(window, dc, &edge);
            }
        }
    }
    EndPaint(window, &ps);
}

void HoverTabWindow(HWND window, LPARAM position)
{
    if (!applicationActive || !activePlanPane)
        return;
    POINT point = {(short)LOWORD(position), (short)HIWORD(position)};
    RECT hot = HotRect(window);
    bool inside = PtInRect(&hot, point) != 0;
    symbarHoverId = -1;
    if (hoveredToolButton == window) {
        if (!inside)
            ClearToolButtonHover();
    } else {
        ClearToolButtonHover();
        if (inside) {
            hoveredToolButton = window;
            RepaintNow(window);
        }
    }
    toolHoverRefresh = 0;
}

void ReleaseTabButton(HWND window)
{
    toolTabPressed = 0;
    RepaintNow(window);
}

// The layer menu of the active tab: the other layers shown with it.
void RunLayerMenu(HWND window)
{
    PlanSettings* settings = activeDocument->settings;
    HMENU menu = CreatePopupMenu();
    if (!menu) {
        ReleaseTabButton(window);
        return;
    }
    for (int i = 0; i < LayerTabCount; ++i) {
        UINT flags = MF_STRING;
        if (i == activeToolTab)
            flags |= MF_CHECKED | MF_GRAYED;
        else if (settings->visibleCategories & (1u << i))
            flags |= MF_CHECKED;
        AppendMenuA(menu, flags, kFirstLayerItem + i, kTabNames[i]);
    }
    RECT rect;
    GetClientRect(window, &rect);
    POINT at = {rect.left, rect.bottom - 2};
    ClientToScreen(window, &at);
    int choice = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY,
                                at.x, at.y, 0, frameWindow, nullptr);
    DestroyMenu(menu);
    if (choice >= kFirstLayerItem && choice < kFirstLayerItem + LayerTabCount) {
        settings->visibleCategories ^= 1u << (choice - kFirstLayerItem);
        settings->tabCategoryMasks[activeToolTab] = settings->visibleCategories;
        RevertToSelectTool(1);
        DeactivateDocumentChild();
        ForEachFloorObject(activeDocument->firstFloor, 0, SuspendTextEditors, nullptr);
        SetSelectionAllFloors(activeDocument->firstFloor, 2, 0);
        InvalidatePlanView();
    }
    ReleaseTabButton(window);
}

} // namespace

void HandleToolTabClick(HWND window, UINT, LPARAM position)
{
    if (!activeDocument || !activePlanPane) {
        if (ShowMessageBox(frameWindow, kNoPlanQuestion, applicationTitle,
                           MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL) == IDYES &&
            frameWindow)
            SendMessageA(frameWindow, WM_COMMAND, 2, 0);
        return;
    }
    POINT point = {(short)LOWORD(position), (short)HIWORD(position)};
    HDC dc = GetDC(window);
    if (dc) {
        DPtoLP(dc, &point, 1);
        ReleaseDC(window, dc);
    }
    if (KindOf(window) == kTabRow) {
        int slot = -1;
        for (int i = 1; i <= ToolTabCount; ++i)
            if (point.x < kTabWidth * i) {
                slot = i - 1;
                break;
            }
        if (slot < 0 || slot == activeToolTab)
            return;
        uint16_t old = activeToolTab;
        activeToolTab = (uint16_t)slot;
        LayoutToolPanes(old, (uint16_t)slot);
        return;
    }
    if (KindOf(window) != kActiveTabButton || !activeDocument->settings)
        return;
    RECT hot;
    GetClientRect(window, &hot);
    hot.top += 3;
    if (!PtInRect(&hot, point))
        return;
    toolTabPressed = 1;
    RepaintNow(window);
    if (activeToolTab == DrawingShapeTab) {
        ReleaseTabButton(window);
        return;
    }
    RunLayerMenu(window);
}

LRESULT CALLBACK ToolTabWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        PaintTabWindow(window);
        return 0;
    case WM_MOUSEMOVE:
        HoverTabWindow(window, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        HandleToolTabClick(window, message, lParam);
        return 0;
    case WM_KEYDOWN:
        HandlePlanKeyDown(wParam, lParam);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
