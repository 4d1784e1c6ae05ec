#include "planview/drag_zoom_camera.h"
#include "model/colour_maths.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "model3d/scene_polygons.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "planview/plan_background.h"
#include "planview/plan_redraw.h"
#include "render3d/image_shadow_utilities.h"
#include "render3d/interactive_view.h"
#include "render3d/render_window.h"
#include "render3d/scene_upkeep.h"
#include "render3d/selvith_window.h"
#include "shell/app_globals.h"
#include "shell/camera_presets.h"
#include "tools/point_mapping.h"
#include <math.h>

uint8_t aerialToggle = 0;
uint8_t navigating3D = 0;

namespace {

const double kDegreesToRadians = 3.14159265358979 / 180.0;
const uint16_t kWalkMode = 1;
const uint16_t kAerialMode = 2;
// The navigation's steps are those of a pass at this rate, whatever the frame rate.
const float kNavigationPassesPerSecond = 60.0f;
// A longer pause (a slow frame, a stall) moves no further than this would.
const DWORD kLongestNavigationPass = 250;

PlanSettings* ReadySettings()
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings || !activePlanPane)
        return nullptr;
    if (!FindFloorByName("First Floor") || !FindFloorByName("Third Floor"))
        return nullptr;
    return document->settings;
}

// The grid's steps and the offsets that centre it on the plan extents; steps that are
// no length give no grid at all (and no division by them).
struct GridLayout {
    float gx, gy, ox, oy;
    float extents[4];
    float reference[3];
    bool usable;
};

GridLayout LayOutGrid(const PlanSettings* s)
{
    GridLayout g = {};
    g.gx = UnitsToPlanLength(s->gridSpacingX, s, 0);
    g.gy = UnitsToPlanLength(s->gridSpacingY, s, 0);
    g.extents[0] = s->extentTop;
    g.extents[1] = s->extentLeft;
    g.extents[2] = s->extentBottom;
    g.extents[3] = s->extentRight;
    g.reference[0] = s->referenceX;
    g.reference[1] = s->referenceHeight;
    g.reference[2] = s->referenceZ;
    g.usable = g.gx > 0.0f && g.gy > 0.0f && isfinite(g.gx) && isfinite(g.gy);
    if (g.usable) {
        float whole = 0.0f;
        g.ox = ModfF((s->extentRight - s->extentLeft) / g.gx / 2.0f, &whole) * g.gx;
        g.oy = ModfF((s->extentBottom - s->extentTop) / g.gy / 2.0f, &whole) * g.gy;
    }
    return g;
}

void DrawGridOrBorder(HDC dc, const PlanSettings* s, const GridLayout& g)
{
    if (s->gridVisible && s->limitLockHeight) {
        if (g.usable)
            DrawGridLines(dc, g.gx, g.gy, g.ox, g.oy, g.extents, 1, 2, g.reference, 0);
    } else {
        DrawPlanBorder(dc, g.gx, g.gy, g.ox, g.oy, g.extents, 1, 2, g.reference, 0);
    }
}

void SetNamedCursor(int index)
{
    if (index >= 0 && index < NamedCursorCount && namedCursors[index])
        SetCursor(namedCursors[index]);
}


// Steps 1 and 4 of the viewpoint drags around the loop.
class CameraDragScope {
public:
    explicit CameraDragScope(PlanSettings* settings)
    {
        if (settings->cameraMode != kWalkMode) {
            settings->cameraMode = kWalkMode;
            InvalidateRect(renderWindow, nullptr, FALSE);
            if (namedCursors[FootCursorIndex])
                SetClassLongPtrA(renderWindow, GCLP_HCURSOR,
                                 reinterpret_cast<LONG_PTR>(namedCursors[FootCursorIndex]));
        }
        interactiveRedraw = 1;
        SetupViewport3D();
    }
    ~CameraDragScope() { interactiveRedraw = 0; }
};

} // namespace

void DrawFrame3D(PlanSettings* settings, bool sky)
{
    if (sky && skyFollowsCamera)
        UpdateSkyTextureOffsets(settings);
    DrawScene3D(settings);
    SetPolygonDrawMode(sceneMeshes);
    SwapRenderBuffers();
}

void DragZoomView()
{
    PlanSettings* s = ReadySettings();
    if (!s)
        return;
    HWND pane = activePlanPane;
    PlanDocument* document = activeDocument;
    const int view = GetCameraPresetCommand();
    const uint8_t gridSwitch = s->gridVisible;
    const GridLayout grid = LayOutGrid(s);
    if (s->view3DMode == 3 || s->view3DMode == 5)
        UpdateSunDirection();
    const float cap = ZoomLimit(s);   // beyond it the zoomed plan leaves the device range
    HDC dc = GetDC(pane);
    if (!dc)
        return;
    RECT rect;
    GetClientRect(pane, &rect);
    DPtoLP(dc, reinterpret_cast<POINT*>(&rect), 2);
    POINT previous = {0, 0};
    GetCursorLogicalPosInWindow(pane, &previous);

    if (view == ViewTop) {
        // Directly on the pane.
        while (IsMouseButtonDown()) {
            POINT now = previous;
            GetCursorLogicalPosInWindow(pane, &now);
            if (now.y == previous.y)
                continue;
            const float zoom = s->zoom + static_cast<float>(previous.y - now.y) / 100.0f;
            if (zoom > 0.24f && zoom < 5.01f && zoom <= cap) {
                s->zoom = zoom;
                FillBackgroundRect(nullptr, dc, &rect, view);
                DrawGridOrBorder(dc, s, grid);
                RedrawPlan(dc, document->firstFloor, &rect, DrawAllObjects, nullptr);
            }
            previous = now;
        }
    } else {
        HBITMAP previousBitmap = nullptr;
        HDC offscreen = CreateOffscreenDC(pane, &previousBitmap, 1);
        const COLORREF textColour = SetTextColor(dc, RGB(192, 192, 192));
        if (offscreen)
            FillBackgroundRect(nullptr, offscreen, &rect, view);
        const float baseX = UnzoomFloat(viewOrigin.x), baseY = UnzoomFloat(viewOrigin.y),
                    baseZ = UnzoomFloat(viewOrigin.z);
        bool first = true;
        int cursorShown = -1;
        while (IsMouseButtonDown()) {
            POINT now = previous;
            GetCursorLogicalPosInWindow(pane, &now);
            if (!first && now.y == previous.y)
                continue;
            first = false;
            const int cursor = now.y <= previous.y ? ZoomCursorInIndex : ZoomCursorOutIndex;
            if (cursor != cursorShown) {
                SetNamedCursor(cursor);
                cursorShown = cursor;
            }
            const float zoom = s->zoom + static_cast<float>(previous.y - now.y) / 100.0f;
            if (!perspectiveOn || perspectiveScale == 1.0f) {
                if (zoom > 0.04f && zoom < 3.01f && zoom <= cap) {
                    s->zoom = zoom;
                    viewOrigin.x = baseX * zoom;
                    viewOrigin.z = baseZ * zoom;
                    viewOrigin.y = baseY * zoom;
                    if (perspectiveScale == 1.0f)
                        ResetWorkingElevation();
                }
            } else {
                // With perspective the drag moves the camera along its heading's quadrant.
                const float dy = static_cast<float>(now.y - previous.y);
                const float yaw = viewYawDegrees;
                if (yaw >= 45.0f && yaw < 135.0f)
                    viewOrigin.x += dy;
                else if (yaw >= 225.0f && yaw < 315.0f)
                    viewOrigin.x -= dy;
                else if (yaw >= 135.0f && yaw < 225.0f)
                    viewOrigin.z -= dy;
                else
                    viewOrigin.z += dy;
            }
            if (offscreen) {
                DrawGridOrBorder(offscreen, s, grid);
                RedrawPlan(offscreen, document->firstFloor, &rect, DrawAllObjects, nullptr);
                BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, offscreen,
                       rect.left, rect.top, SRCCOPY);
                FillBackgroundRect(nullptr, offscreen, &rect, view);
            }
            previous = now;
        }
        SetTextColor(dc, textColour);
        if (offscreen)
            DeleteOffscreenDC(offscreen, previousBitmap);
    }
    ReleaseDC(pane, dc);

    SetCursor(reinterpret_cast<HCURSOR>(GetClassLongPtrA(pane, GCLP_HCURSOR)));
    interactiveRedraw = 0;
    UpdatePlanScrollBars(document->horizontalScrollBar, document->verticalScrollBar);
    s->gridVisible = gridSwitch;
    PaintPlanView(nullptr, (view == ViewTop || s->view3DMode == 1) ? static_cast<uint32_t>(DrawAllObjects)
                                                                    : static_cast<uint32_t>(PaintWithoutBackground));
    if (view == ViewTop)
        s->zoomTopView = s->zoom;
    else if (view == 5179 || view == 5162)
        s->zoomOtherViews = s->zoom;
}

namespace {

// The loop of both viewpoint drags: at every move of the cursor the marker is erased,
// place() sets the viewpoint from the cursor (pane logical units), the marker is drawn
// again and the 3D view shows one frame.
template <typename Place>
void TrackCameraDrag(PlanSettings* s, bool sky, Place place)
{
    CameraDragScope scope(s);
    POINT previous = {0, 0};
    GetCursorLogicalPosInWindow(activePlanPane, &previous);
    while (IsMouseButtonDown()) {
        POINT now = previous;
        GetCursorLogicalPosInWindow(activePlanPane, &now);
        if (now.x == previous.x && now.y == previous.y)
            continue;
        previous = now;
        HDC dc = GetDC(activePlanPane);
        DrawCameraMarker(dc);
        place(now);
        DrawCameraMarker(dc);
        ReleaseDC(activePlanPane, dc);
        DrawFrame3D(s, sky);
    }
}

} // namespace

void AimCameraDrag()
{
    PlanSettings* s = ReadySettings();
    if (!s || !renderWindow)
        return;
    float px = s->cameraX, py = 0.0f, pz = s->cameraZ;
    TransformPointToView(&px, &py, &pz, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin,
                         viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
    TrackCameraDrag(s, true, [&](POINT now) {
        float distance = 0.0f;
        float heading = static_cast<float>(
            AngleBetweenPoints(px, py, static_cast<float>(now.x), static_cast<float>(now.y), &distance) /
                kDegreesToRadians -
            90.0);
        if (heading < 0.0f)
            heading += 360.0f;
        if (heading > 359.0f)
            heading -= 360.0f;
        s->cameraHeading = heading;
    });
}

void MoveCameraDrag()
{
    PlanSettings* s = ReadySettings();
    if (!s || !renderWindow)
        return;
    TrackCameraDrag(s, false, [&](POINT now) {
        float x = s->cameraX, y = 0.0f, z = s->cameraZ;
        MapPlanPointToModel(now.x, now.y, &x, &y, &z, 0, nullptr, 1);
        s->cameraX = x;
        s->cameraZ = z;
    });
}

void NavigateIn3DView()
{
    PlanSettings* s = ReadySettings();
    if (!s || !renderWindow)
        return;
    const bool aerial = s->cameraMode == kAerialMode;
    const bool leaveMarker = (CurrentInput().KeyState(VK_CONTROL) & 0x8000) || aerial;
    interactiveRedraw = 1;
    navigating3D = 1;
    SetupViewport3D();

    const bool fast = s->moveSpeed3D >= 6 && s->moveSpeed3D <= 10;
    int k = fast ? 2 : 6;
    const float distanceStep = fast ? 30.0f : 10.0f;
    const float heightStep = fast ? 6.0f : 2.0f;
    if (!aerial)
        k /= 2;
    const int m = 2 * k;

    POINT start = {0, 0};
    GetCursorLogicalPosInWindow(renderWindow, &start);
    bool rightWasDown = false;
    DWORD blinkTick = GetInputTickCount();
    DWORD passTick = blinkTick;
    bool blink = false;
    while (IsMouseButtonDown()) {
        const bool right = PollRenderRightButton();
        if (rightWasDown && !right)
            aerialToggle ^= 1;
        rightWasDown = right;

        // Every step below is scaled by the time since the previous pass, so that a walk
        // or a flight keeps its speed on a fast machine and a slow one.
        const DWORD now = GetInputTickCount();
        DWORD elapsed = now - passTick;
        passTick = now;
        if (elapsed > kLongestNavigationPass)
            elapsed = kLongestNavigationPass;
        const float passes = static_cast<float>(elapsed) * kNavigationPassesPerSecond / 1000.0f;

        // The cursor blinks: two walk cursors every 500 ms, two aerial ones every 150 ms.
        if (now - blinkTick >= (aerial ? 150u : 500u)) {
            blinkTick = now;
            blink = !blink;
            SetNamedCursor(aerial ? (blink ? Chopper1Index : Chopper2Index)
                                  : (blink ? FootCursorLeftIndex : FootCursorRightIndex));
        }

        POINT cursor = start;
        GetCursorLogicalPosInWindow(renderWindow, &cursor);
        const int divisor = aerial ? k : m;
        const int tx = start.x + (cursor.x - start.x) / divisor;
        const int ty = start.y + (cursor.y - start.y) / divisor;
        if (tx == start.x && ty == start.y && !right)
            continue;
        const float dx = static_cast<float>(tx - start.x), dy = static_cast<float>(ty - start.y);

        HDC dc = leaveMarker ? nullptr : GetDC(activePlanPane);
        if (dc)
            DrawCameraMarker(dc);
        bool turned = false;
        if (aerial) {
            float pitch = s->aerialPitch - dy / 3.0f * passes;
            s->aerialPitch = fminf(25.0f, fmaxf(5.0f, pitch));
            if (right) {
                const float step = distanceStep * passes;
                if (aerialToggle)
                    orbitDistance += step;
                else if (orbitDistance > step)
                    orbitDistance -= step;
            }
            float yaw = fmodf(s->aerialYaw - dx / 3.0f * passes, 360.0f);
            s->aerialYaw = yaw < 0.0f ? yaw + 360.0f : yaw;
        } else {
            turned = dx != 0.0f;
            float heading = fmodf(s->cameraHeading - dx / 4.0f * passes, 360.0f);
            s->cameraHeading = heading < 0.0f ? heading + 360.0f : heading;
            const float speed = dy / static_cast<float>(k) * passes;
            float mx = 0.0f, mz = 0.0f;
            OffsetPointPolar(static_cast<float>((s->cameraHeading + 90.0f) * kDegreesToRadians), 1000.0f,
                             &mx, &mz);
            s->cameraX -= speed / 1000.0f * mx;
            s->cameraZ -= speed / 1000.0f * mz;
            if (right)
                walkEyeHeight += (aerialToggle ? heightStep : -heightStep) * passes;
        }
        if (dc) {
            DrawCameraMarker(dc);
            ReleaseDC(activePlanPane, dc);
        }
        if (!aerial && right && s->moveSpeed3D == 6)
            BuildSecondaryPolygonList();
        DrawFrame3D(s, aerial || turned);
    }
    if (!aerial)
        SetNamedCursor(FootCursorIndex);
    interactiveRedraw = 0;
    navigating3D = 0;
    InvalidateRect(renderWindow, nullptr, FALSE);
    UpdateWindow(renderWindow);
}
