#include "planview/plan_pane.h"
#include "model/plan_document.h"
#include "model/view_projection.h"
#include "palette/tool_windows.h"
#include "planview/plan_background.h"
#include "planview/plan_mouse_dispatch.h"
#include "planview/plan_redraw.h"
#include "shell/keys_and_menus.h"
#include "shell/status_bar.h"
#include "tools/text_editing.h"
#include "tools/text_editing.h"

namespace {

PlanDocument* PaneDocument(HWND pane)
{
    return reinterpret_cast<PlanDocument*>(GetWindowLongPtrA(pane, 0));
}

void OnCreate(HWND pane)
{
    // The class owns its DC, so these stay selected for the pane's life.
    HDC dc = GetDC(pane);
    if (!dc)
        return;
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SetBkMode(dc, TRANSPARENT);
    ReleaseDC(pane, dc);
}

void OnDestroy(HWND pane)
{
    // The pane owns its document: free it and leave no global pointing at it.
    PlanDocument* document = PaneDocument(pane);
    if (!document)
        return;
    if (activeDocument == document)
        activeDocument = nullptr;
    if (activePlanPane == pane)
        activePlanPane = nullptr;
    SetWindowLongPtrA(pane, 0, 0);
    FreePlanDocument(document);
}

// The pane is painted as the active pane with its own document; a pane other than the
// one clicked last is shown as a plain top view. Everything borrowed is given back.
void OnPaint(HWND pane)
{
    planViewInvalid = 1;
    HWND savedPane = activePlanPane;
    PlanDocument* savedDocument = activeDocument;
    activePlanPane = pane;

    bool borrowedView = savedPane != pane;
    float savedPitch = viewPitchDegrees, savedYaw = viewYawDegrees;
    uint8_t savedPerspective = perspectiveOn;
    // The paint recomputes these from the angles and its document; they are put back
    // exactly as they were.
    float savedTrig[4] = {viewPitchCos, viewPitchSin, viewYawCos, viewYawSin};
    PlaneEquation savedPlane = workPlane;
    if (borrowedView) {
        viewPitchDegrees = 90.0f;
        viewYawDegrees = 0.0f;
        perspectiveOn = 0;
    }
    activeDocument = PaneDocument(pane);

    if (GetUpdateRect(pane, nullptr, FALSE)) {
        PAINTSTRUCT paint;
        if (BeginPaint(pane, &paint)) {
            // The paint rectangle in the logical units of the pane's own DC.
            RECT area = paint.rcPaint;
            GetClipBox(paint.hdc, &area);
            if (activeDocument)
                PaintPlanView(&area, DrawAllObjects);
            EndPaint(pane, &paint);
        }
    }

    if (borrowedView) {
        viewPitchDegrees = savedPitch;
        viewYawDegrees = savedYaw;
        perspectiveOn = savedPerspective;
    }
    viewPitchCos = savedTrig[0];
    viewPitchSin = savedTrig[1];
    viewYawCos = savedTrig[2];
    viewYawSin = savedTrig[3];
    workPlane = savedPlane;
    activePlanPane = savedPane;
    activeDocument = savedDocument;
    planViewInvalid = 0;
}

void OnClick(HWND pane, UINT message, LPARAM lParam)
{
    // A click that closed a palette pop-up is not meant for the plan.
    if (swallowNextToolClick) {
        swallowNextToolClick = 0;
        return;
    }
    HDC dc = GetDC(pane);
    if (!dc)
        return;
    DispatchPlanInput(dc, 0, pane, message, lParam);
    ReleaseDC(pane, dc);
}

} // namespace

LRESULT CALLBACK PlanWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_DESTROY:
        OnDestroy(window);
        break;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_KEYDOWN:
        HandlePlanKeyDown(wParam, lParam);
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_UPDATE && lParam) {
            if (PlanObject* text = FindTextLabelOfObject(reinterpret_cast<HWND>(lParam), 0))
                RefitTextEditWindow(text);
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        ClearToolButtonHover();
        if (lastStatusId != StatusDefaultId)
            ShowStatusHelp(StatusDefaultId);
        return 0;
    case WM_LBUTTONDOWN:
        OnClick(window, message, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        // Double and right clicks always act with the select tool.
        RevertToSelectTool(1);
        OnClick(window, message, lParam);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void ScrollPlanView(HWND scrollBar, HWND pane, int vertical, int16_t step, int, int update)
{
    if (!pane || !scrollBar || step == 0)
        return;
    int low = 0, high = 0;
    GetScrollRange(scrollBar, SB_CTL, &low, &high);
    int old = GetScrollPos(scrollBar, SB_CTL);
    int now = old + step;
    if (now > high)
        now = high;
    if (now < low)
        now = low;
    // The pane DC's window origin is the scroll position: the pixels move one way and
    // the origin the other.
    HDC dc = GetDC(pane);
    if (dc) {
        if (vertical) {
            ScrollWindow(pane, 0, old - now, nullptr, nullptr);
            OffsetWindowOrgEx(dc, 0, now - old, nullptr);
        } else {
            ScrollWindow(pane, old - now, 0, nullptr, nullptr);
            OffsetWindowOrgEx(dc, now - old, 0, nullptr);
        }
        ReleaseDC(pane, dc);
    }
    SetScrollPos(scrollBar, SB_CTL, now, TRUE);
    // ScrollWindow on a window that owns its DC, under Wine, may neither move the
    // pixels nor mark the uncovered part: the whole pane is painted again at the new
    // origin.
    InvalidateRect(pane, nullptr, TRUE);
    if (update)
        UpdateWindow(pane);
}

void ScrollPlanViewRepaint(HWND scrollBar, HWND pane, int vertical, int16_t step, int update)
{
    ScrollPlanView(scrollBar, pane, vertical, step, 0, update);
}
