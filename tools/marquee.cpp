#include "tools/marquee.h"
#include <cmath>
#include "model/plan_document.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "planview/hit_testing.h"
#include "planview/input_gdi.h"
#include "shell/camera_presets.h"
#include "shell/measurement_bar.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"

namespace {

// The camera view the marquee was pressed in (5149 the top view).
int marqueeViewCode = 0;

const float kScreenLimit = 30000.0f;

int32_t RoundHalfUp(float value)
{
    return static_cast<int32_t>(std::trunc(value + 0.5f));
}

void DrawBand(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y1);
    LineTo(dc, x2, y2);
    LineTo(dc, x1, y2);
    LineTo(dc, x1, y1);
}

// Each event draws the band once: the press draws it, each pair of moves erases and
// redraws it, the release erases it.
void DrawMarquee(HDC dc, int32_t wx, int32_t wy, float x, float y, float z)
{
    const PlanMouseState& state = planMouseState;
    if (marqueeViewCode != ViewTop) {
        DrawBand(dc, state.pressPixelX, state.pressPixelY, wx, wy);
        return;
    }
    float x1 = state.dragStart[0], y1 = state.dragStart[1], z1 = state.dragStart[2];
    float x2 = x, y2 = y, z2 = z;
    ProjectSegmentToView(&x1, &y1, &z1, &x2, &y2, &z2, perspectiveOn);
    const float corners[4] = {x1, y1, x2, y2};
    bool onScreen = true;
    for (float c : corners)
        onScreen = onScreen && c > -kScreenLimit && c < kScreenLimit;
    if (onScreen)
        DrawBand(dc, RoundHalfUp(x1), RoundHalfUp(y1), RoundHalfUp(x2), RoundHalfUp(y2));
    ShowAreaReadout(std::fabs(state.dragStart[0] - x), std::fabs(state.dragStart[2] - z));
}

void OrderAxis(float first, float second, uint8_t centred, float* low, float* high,
               LONG* lowRect, LONG* highRect)
{
    if (first >= second) {
        *low = second;
        *high = first;
        if (centred)
            *high += first - second;
    } else {
        *low = first;
        *high = second;
        if (centred)
            *low -= second - first;
    }
    *lowRect = static_cast<int16_t>(RoundHalfUp(*low));
    *highRect = static_cast<int16_t>(RoundHalfUp(*high));
}

}  // namespace

void TrackMarqueeSelection(int32_t wx, int32_t wy, float x, float y, float z, int16_t event)
{
    HWND pane = activePlanPane;
    HDC dc = pane ? GetDC(pane) : nullptr;
    if (event == kToolPress) {
        ShowAreaReadout(0.0f, 0.0f);
        marqueeViewCode = GetCameraPresetCommand();
    }
    if (dc) {
        HPEN dotted = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
        HGDIOBJ previousPen = dotted ? SelectObject(dc, dotted) : nullptr;
        const int previousMode = SetROP2(dc, R2_NOTXORPEN);
        DrawMarquee(dc, wx, wy, x, y, z);
        SetROP2(dc, previousMode);
        if (previousPen)
            SelectObject(dc, previousPen);
        if (dotted)
            DeleteObject(dotted);
        ReleaseDC(pane, dc);
    }
    if (event != kToolRelease)
        return;
    PlanDocument* document = activeDocument;
    if (document && document->settings && document->firstFloor) {
        RECT band;
        MakeRectFromCorners(planMouseState.pressPixelX, planMouseState.pressPixelY, wx + 1, wy + 1,
                            &band);
        RubberBandSelect(document->firstFloor, &band, ShiftHeld() ? 3 : 1, 1);
        RefreshWorkingElevationValue(document);
    }
    ReleaseToolCapture();
    ShowAreaReadout(0.0f, 0.0f);
}

void ComputeBoxFromCorners(float a1, float u1, float a2, float u2, float box[4], int32_t rect[4],
                           uint8_t zoom, uint8_t centred)
{
    if (!box || !rect)
        return;
    if (zoom) {
        a1 = ZoomFloat(a1);
        u1 = ZoomFloat(u1);
        a2 = ZoomFloat(a2);
        u2 = ZoomFloat(u2);
    }
    LONG sides[4];
    OrderAxis(u1, u2, centred, &box[0], &box[2], &sides[1], &sides[3]);
    OrderAxis(a1, a2, centred, &box[1], &box[3], &sides[0], &sides[2]);
    for (int i = 0; i < 4; ++i)
        rect[i] = sides[i];
}

void ComputeRubberBandBox(int16_t modifiers, float a1, float u1, float a2, float u2, float box[4],
                          int32_t rect[4], uint8_t zoom, uint8_t centred)
{
    if (modifiers & kModifierShift) {
        const float side = std::fabs(a2 - a1);
        u2 = u2 > u1 ? u1 + side : u1 - side;
    }
    ComputeBoxFromCorners(a1, u1, a2, u2, box, rect, zoom, centred);
}

void NormaliseRectangle(RECT* out, int16_t x1, int16_t y1, int16_t x2, int16_t y2)
{
    if (!out)
        return;
    out->left = x1 < x2 ? x1 : x2;
    out->right = x1 < x2 ? x2 : x1;
    out->top = y1 < y2 ? y1 : y2;
    out->bottom = y1 < y2 ? y2 : y1;
}
