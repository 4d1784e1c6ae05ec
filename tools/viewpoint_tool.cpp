#include "tools/viewpoint_tool.h"
#include <cmath>
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "planview/drag_zoom_camera.h"
#include "planview/plan_background.h"
#include "planview/plan_redraw.h"
#include "render3d/interactive_view.h"
#include "render3d/render_window.h"
#include "shell/measurement_bar.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"

uint8_t viewpointPreviewActive = 0;

namespace {

// The triangle's base is this many times the drag's length either side of the pointer.
const float kHalfBase = 0.6f;
const float kLeastDrag = 5.0f;
const double kDegreesPerRadian = 57.29577951308232;

// The live 3D view from the new camera, when there is one.
void Refresh3D(PlanSettings* settings)
{
    if (renderWindow)
        DrawFrame3D(settings, true);
}

// A plan point in pane units, zoomed and rounded.
POINT PaneCorner(float x, float y, float z)
{
    TransformPointToView(&x, &y, &z, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin, viewOrigin.x,
                         viewOrigin.y, viewOrigin.z, 1);
    return {static_cast<LONG>(std::trunc(x + 0.5f)), static_cast<LONG>(std::trunc(y + 0.5f))};
}

// The viewer's triangle from S to the base at E, inverting, with no outline.
void DrawViewTriangle(HDC dc, const float* s, float ex, float ez)
{
    float length = 0.0f;
    const float angle = AngleBetweenPoints(s[0], s[2], ex, ez, &length);
    float dx = 0.0f, dz = 0.0f;
    OffsetPointPolar(angle + 1.5707963f, kHalfBase * length, &dx, &dz);
    const POINT corners[3] = {PaneCorner(s[0], s[1], s[2]), PaneCorner(ex + dx, s[1], ez + dz),
                              PaneCorner(ex - dx, s[1], ez - dz)};
    HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
    HGDIOBJ previousBrush = yellow ? SelectObject(dc, yellow) : nullptr;
    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(NULL_PEN));
    const int previousMode = SetROP2(dc, R2_NOTXORPEN);
    Polygon(dc, corners, 3);
    SetROP2(dc, previousMode);
    SelectObject(dc, previousPen);
    if (previousBrush)
        SelectObject(dc, previousBrush);
    if (yellow)
        DeleteObject(yellow);
}

}  // namespace

uint8_t HandleViewpointTool(int32_t, int32_t, float x, float, float z, int16_t event)
{
    PlanDocument* document = activeDocument;
    PlanSettings* settings = document ? document->settings : nullptr;
    if (!settings)
        return 0;
    const float* s = planMouseState.dragStart;
    ShowDistanceReadout(PlanLengthToUnits(Distance2D(s[0], s[2], x, z), settings, 0));
    float ex = x, ez = z;
    if (ShiftHeld()) {
        if (std::fabs(ex - s[0]) <= std::fabs(ez - s[2]))
            ex = s[0];
        else
            ez = s[2];
    }
    HDC dc = activePlanPane ? GetDC(activePlanPane) : nullptr;
    if (event == kToolPress && activePlanPane) {
        viewpointPreviewActive = 1;
        if (renderWindow)
            SetupViewport3D();
        DrawCameraMarker(dc);
        settings->cameraX = s[0];
        settings->cameraZ = s[2];
        DrawCameraMarker(dc);
        Refresh3D(settings);
    }
    if (dc)
        DrawViewTriangle(dc, s, ex, ez);
    float length = 0.0f;
    const float back = AngleBetweenPoints(ex, ez, s[0], s[2], &length);
    DrawCameraMarker(dc);
    settings->cameraHeading = static_cast<float>(back * kDegreesPerRadian + 90.0);
    DrawCameraMarker(dc);
    Refresh3D(settings);
    if (dc)
        ReleaseDC(activePlanPane, dc);
    if (event != kToolRelease)
        return 0;
    const uint8_t result = length >= kLeastDrag ? 1 : 0;
    if (!result)
        ReturnFromViewpointTool();
    ShowDistanceReadout(0.0f);
    viewpointPreviewActive = 0;
    ReleaseToolCapture();
    InvalidatePlanView();
    return result;
}
