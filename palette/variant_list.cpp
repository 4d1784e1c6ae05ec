#include "palette/variant_list.h"
#include "files/kept_paths.h"
#include "files/picture_files.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "palette/tool_popups.h"
#include "palette/tool_press.h"
#include "palette/tool_variants.h"
#include "palette/tool_windows.h"
#include "planview/input_gdi.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "shell/keys_and_menus.h"
#include "shell/status_bar.h"
#include "tools/tool_state.h"
#include <cmath>
#include <cstdlib>

short variantListTool = -1;
int32_t selectedVariant = -1;
uint32_t popEntryCount = 0;

namespace {

const int kEntryStep = 52;
const int kEntrySize = 53;
int32_t listScroll = 0;

struct CountRow {
    int first;
    int last;
    int count;
    bool noneInMetric;
};

const CountRow kVariantCounts[] = {
    {7000, 7002, 9, false}, {7050, 7051, 6, false}, {7052, 7053, 12, false},
    {7054, 7054, 19, false}, {7055, 7056, 8, true},  {7057, 7058, 6, true},
    {7059, 7060, 8, false}, {7101, 7101, 3, false}, {7106, 7106, 3, false},
    {7102, 7102, 2, false}, {7104, 7104, 2, false}, {7107, 7107, 2, false},
    {7111, 7111, 2, false}, {7205, 7206, 6, true},  {7207, 7207, 3, true},
    {7300, 7306, 5, false}, {7400, 7400, 8, false}, {7502, 7502, 8, true},
    {7505, 7505, 4, false}, {7506, 7506, 6, true},  {7509, 7509, 5, false},
    {7510, 7511, 6, false}, {7600, 7601, 7, false}, {7602, 7603, 6, true},
    {7604, 7605, 8, true},
};

const CountRow* CountRowOf(int tool)
{
    for (const CountRow& row : kVariantCounts)
        if (tool >= row.first && tool <= row.last)
            return &row;
    return nullptr;
}

bool PlanIsMetric()
{
    return activeDocument && activeDocument->settings &&
           activeDocument->settings->unitSystem == kUnitSystemMetric;
}

PopEntryRecord* EntryOf(HWND entry)
{
    return reinterpret_cast<PopEntryRecord*>(GetWindowLongPtrA(entry, 0));
}

int ScrollMaximum(HWND list)
{
    int minimum = 0;
    int maximum = 0;
    GetScrollRange(list, SB_VERT, &minimum, &maximum);
    return maximum;
}

void ScrollList(HWND list, WPARAM request)
{
    int maximum = ScrollMaximum(list);
    if (maximum < 2)
        return;
    RECT client;
    GetClientRect(list, &client);
    int page = client.bottom - client.top - kEntryStep;
    int position = GetScrollPos(list, SB_VERT);
    int next = position;
    switch (LOWORD(request)) {
    case SB_LINEUP: next -= kEntryStep; break;
    case SB_LINEDOWN: next += kEntryStep; break;
    case SB_PAGEUP: next -= page; break;
    case SB_PAGEDOWN: next += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: next = (short)HIWORD(request); break;
    default: return;
    }
    if (next < 0)
        next = 0;
    if (next > maximum)
        next = maximum;
    SetScrollPos(list, SB_VERT, next, TRUE);
    ScrollWindow(list, 0, position - next, nullptr, nullptr);
    UpdateWindow(list);
    listScroll = next;
}

void PaintEntry(HWND entry)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(entry, &ps);
    PopEntryRecord* record = EntryOf(entry);
    if (dc && record && activeDocument && activeDocument->settings) {
        char path[MAX_PATH + 64] = "";
        BuildToolPreviewPath(record->previewSet, record->variantNumber, path);
        bool selected = (int32_t)record->variantNumber == selectedVariant;
        if (IsVariantTool(variantListTool)) {
            HBITMAP picture = static_cast<HBITMAP>(
                LoadImageW(nullptr, MeantWidePath(path).c_str(), IMAGE_BITMAP, 0, 0,
                           LR_LOADFROMFILE | LR_LOADMAP3DCOLORS));
            if (picture) {
                BlitBitmap(dc, picture, 1, 0);
                DeleteObject(picture);
            }
            RECT edge;
            GetClientRect(entry, &edge);
            InflateRect(&edge, -2, -2);
            edge.top -= 1;
            edge.bottom -= 2;
            InflateRect(&edge, -1, -1);
            if (selected)
                DrawBevelSunken(entry, dc, &edge);
            else if (hoveredToolButton == entry)
                DrawBevelRaised(entry, dc, &edge);
        } else {
            DrawDibFile(entry, dc, path);
            if (selected)
                DrawChosenEntryFrame(entry, dc);
        }
    }
    EndPaint(entry, &ps);
}

void HoverEntry(HWND entry)
{
    if (!applicationActive || !activePlanPane)
        return;
    if (hoveredToolButton != entry) {
        ClearToolButtonHover();
        hoveredToolButton = entry;
        RedrawWindow(entry, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    toolHoverRefresh = 0;
}

HWND EntryByNumber(HWND list, int32_t number)
{
    for (HWND child = GetWindow(list, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        PopEntryRecord* record = EntryOf(child);
        if (record && (int32_t)record->variantNumber == number)
            return child;
    }
    return nullptr;
}

void PressEntry(HWND entry, UINT message, LPARAM position)
{
    if (swallowNextToolClick)
        swallowNextToolClick = 0;
    PopEntryRecord* record = EntryOf(entry);
    if (!record) {
        SelectVariantTool(variantListTool);
        return;
    }
    if ((int32_t)record->variantNumber != selectedVariant) {
        int32_t old = selectedVariant;
        selectedVariant = (int32_t)record->variantNumber;
        if (HWND previous = EntryByNumber(GetParent(entry), old))
            RedrawWindow(previous, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        RedrawWindow(entry, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    ApplyToolVariant(record, entry, message, position);
    activeDocument->settings->modified = 1;
    SelectVariantTool(variantListTool);
}

void DrawBox(HDC dc, const RECT& box)
{
    // Closed outlines whose right and bottom edges lie one pixel inside.
    MoveToEx(dc, box.left, box.top, nullptr);
    LineTo(dc, box.right - 1, box.top);
    LineTo(dc, box.right - 1, box.bottom - 1);
    LineTo(dc, box.left, box.bottom - 1);
    LineTo(dc, box.left, box.top);
}

} // namespace

bool IsVariantTool(int tool)
{
    return CountRowOf(tool) != nullptr;
}

int VariantCount(int tool, bool metric)
{
    const CountRow* row = CountRowOf(tool);
    if (!row || (metric && row->noneInMetric))
        return 0;
    return row->count;
}

HWND CreatePopEntry(HWND list, int index, int y, uint32_t variantNumber, uint16_t previewSet)
{
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (!IsVariantTool(variantListTool))
        style |= WS_BORDER;
    HWND entry = CreateWindowExA(0, "PopEntryClass", "", style, -1, y, kEntrySize, kEntrySize, list,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(variantNumber)),
                                 hInstance, nullptr);
    if (!entry)
        return nullptr;
    (void)index;
    PopEntryRecord* record = static_cast<PopEntryRecord*>(std::calloc(1, sizeof(PopEntryRecord)));
    if (record) {
        record->previewSet = previewSet;
        record->variantNumber = variantNumber;
        SetWindowLongPtrA(entry, 0, reinterpret_cast<LONG_PTR>(record));
    }
    return entry;
}

void DestroyPopListEntries(HWND list)
{
    ClearToolButtonHover();
    while (HWND child = list ? GetWindow(list, GW_CHILD) : nullptr)
        DestroyWindow(child);
}

void ResetPopListScroll()
{
    listScroll = 0;
    popEntryCount = 0;
}

bool HideForRebuild(HWND column)
{
    const bool visible = IsWindowVisible(column) != 0;
    if (visible)
        SetWindowPos(column, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW |
                         SWP_NOACTIVATE);
    if (HDC dc = GetDC(column)) {
        SetWindowOrgEx(dc, 0, 0, nullptr);
        ReleaseDC(column, dc);
    }
    return visible;
}

void DrawChosenEntryFrame(HWND entry, HDC dc)
{
    RECT rect;
    GetClientRect(entry, &rect);
    HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT));
    if (!brush)
        return;
    FrameRect(dc, &rect, brush);
    InflateRect(&rect, -1, -1);
    FrameRect(dc, &rect, brush);
    DeleteObject(brush);
}

void ShowPopList(HWND list)
{
    if (!list)
        return;
    const bool metric = PlanIsMetric();
    const bool visible = HideForRebuild(list);
    popEntryCount = 0;
    DestroyPopListEntries(list);
    selectedVariant = -1;
    uint16_t previewSet = 1;
    if (variantListTool == 7052 || variantListTool == 7053)
        previewSet = (uint16_t)doorFinish;
    else if (variantListTool == 7054)
        previewSet = (uint16_t)windowFinish;
    listScroll = 0;
    const int count = VariantCount(variantListTool, metric);
    int y = -1;
    for (int n = 1; n <= count; ++n, y += kEntryStep) {
        CreatePopEntry(list, n, y, (uint32_t)n, previewSet);
        ++popEntryCount;
    }
    RECT client;
    GetClientRect(list, &client);
    int maximum = count * kEntryStep - (client.bottom - client.top) - 1;
    if (maximum < 0)
        maximum = 0;
    SetScrollRange(list, SB_VERT, 0, maximum, FALSE);
    SetScrollPos(list, SB_VERT, 0, TRUE);
    if (frameWindow) {
        if (HDC dc = GetDC(frameWindow)) {
            DrawToolVariantButton(dc, 0);
            ReleaseDC(frameWindow, dc);
        }
    }
    if (visible)
        ShowWindow(list, SW_SHOWNA);
}

void SelectVariantTool(int tool)
{
    if (!IsVariantTool(tool) || tool == currentToolId)
        return;
    SelectToolById(tool);
    SetToolCursor(currentToolId);
}

void AnimateZoomRect(int startX, int startY, int targetCentreX, int targetCentreY, const RECT* target)
{
    if (!target)
        return;
    HDC dc = GetDC(nullptr);
    if (!dc)
        return;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HGDIOBJ oldPen = pen ? SelectObject(dc, pen) : nullptr;
    int oldMode = SetROP2(dc, R2_NOTXORPEN);
    const RECT from = {startX - 22, startY - 22, startX + 22, startY + 22};
    const int halfWidth = (target->right - target->left) / 2 / 2;
    const int halfHeight = (target->bottom - target->top) / 2 / 2;
    const RECT to = {targetCentreX - halfWidth, targetCentreY - halfHeight,
                     targetCentreX + halfWidth, targetCentreY + halfHeight};
    const float steps[4] = {(to.left - from.left) / 29.0f, (to.top - from.top) / 29.0f,
                            (to.right - from.right) / 29.0f, (to.bottom - from.bottom) / 29.0f};
    RECT last = {};
    for (int k = 0; k < 30; ++k) {
        RECT box = {from.left + (LONG)std::lround(k * steps[0]), from.top + (LONG)std::lround(k * steps[1]),
                    from.right + (LONG)std::lround(k * steps[2]), from.bottom + (LONG)std::lround(k * steps[3])};
        if (k > 0)
            DrawBox(dc, last);
        DrawBox(dc, box);
        last = box;
        DWORD start = GetInputTickCount();
        while (GetInputTickCount() - start < 13) {
        }
    }
    DrawBox(dc, last);
    SetROP2(dc, oldMode);
    if (oldPen)
        SelectObject(dc, oldPen);
    if (pen)
        DeleteObject(pen);
    ReleaseDC(nullptr, dc);
}

LRESULT CALLBACK PopListWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        FreeCachedDib();
        return 0;
    case WM_SIZE:
        ShowPopList(window);
        return 0;
    case WM_VSCROLL:
        ScrollList(window, wParam);
        return 0;
    case WM_MOUSEMOVE:
        ClearToolButtonHover();
        if (lastStatusId != StatusDefaultId)
            ShowStatusHelp(StatusDefaultId);
        return 0;
    case WM_NCMOUSEMOVE:
        ClearToolButtonHover();
        break;
    case WM_KEYDOWN:
        HandlePlanKeyDown(wParam, lParam);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK PopEntryWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Freed at the entry's last message, so its window word needs no clearing.
    if (message == WM_NCDESTROY) {
        std::free(EntryOf(window));
        if (hoveredToolButton == window)
            hoveredToolButton = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (!activeDocument || !activeDocument->settings)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        PaintEntry(window);
        return 0;
    case WM_MOUSEMOVE:
        HoverEntry(window);
        return 0;
    case WM_LBUTTONDOWN:
        PressEntry(window, message, lParam);
        return 0;
    case WM_KEYDOWN:
        HandlePlanKeyDown(wParam, lParam);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
