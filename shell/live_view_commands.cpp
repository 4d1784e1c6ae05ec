#include "shell/live_view_commands.h"
#include "dialogs/storey_units_dialogs.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model3d/rebuild_driver.h"
#include "model3d/scene_polygons.h"
#include "model3d/stairs.h"
#include "palette/tool_windows.h"
#include "planview/plan_redraw.h"
#include "render3d/high_quality_render.h"
#include "render3d/interactive_view.h"
#include "render3d/render_window.h"
#include "render3d/scene_upkeep.h"
#include "render3d/selvith_window.h"
#include "shell/app_globals.h"
#include "shell/camera_presets.h"
#include "shell/frame_window.h"

namespace {

constexpr uint16_t kWalkCamera = 1;
constexpr uint16_t kFlyCamera = 2;
constexpr float kDegrees = 0.017453292519943295f;
constexpr float kSideInset = 125.0f;

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

bool LiveViewExists()
{
    return selvithWindow && renderWindow;
}

// Shows the view when it is hidden (rebuilding the scene first when it is out of
// date) and brings it to the top. True when it was hidden.
bool ShowLiveViewWindow()
{
    if (!LiveViewExists())
        return false;
    const bool hidden = !IsWindowVisible(selvithWindow);
    if (hidden) {
        ShowWindow(selvithWindow, SW_SHOW);
        if (scene3DOutOfDate)
            RebuildAll3D();
    }
    SetWindowPos(selvithWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return hidden;
}

void SetRenderCursor(HCURSOR cursor)
{
    if (renderWindow && cursor)
        SetClassLongPtrA(renderWindow, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
}

HCURSOR WalkCursor() { return namedCursors[FootCursorIndex]; }
HCURSOR FlyCursor() { return namedCursors[Chopper1Index]; }

// The render window's cursor follows the camera mode.
void CursorStep(const PlanSettings* settings)
{
    SetRenderCursor(settings->cameraMode == kFlyCamera ? FlyCursor() : WalkCursor());
}

// The walk camera's look-at point, 1000 ahead along the heading, and the sky.
void PlaceWalkCamera(const PlanSettings* settings)
{
    float dx = 0.0f, dz = 0.0f;
    OffsetPointPolar((settings->cameraHeading + 90.0f) * kDegrees, 1000.0f, &dx, &dz);
    IgnoreCameraChange(settings->cameraX, walkEyeHeight, -settings->cameraZ);
    UpdateSkyForCamera(settings->cameraX + dx, walkEyeHeight, -(settings->cameraZ + dz));
}

// The fly camera lies at the flight distance from the origin along pitch and yaw.
void PlaceAerialCamera(const PlanSettings* settings)
{
    float horizontal = 0.0f, height = 0.0f, x = 0.0f, z = 0.0f;
    OffsetPointPolar(settings->aerialPitch * kDegrees, orbitDistance, &horizontal, &height);
    OffsetPointPolar(settings->aerialYaw * kDegrees, horizontal, &x, &z);
    IgnoreCameraChange(x, -height, z);
    UpdateSkyForCamera(x, -height, z);
}

// The current storey's eye height, as choosing the storey gives it.
float StoreyEyeHeight(const PlanSettings* settings)
{
    const PlanFloor* floor = activeDocument ? activeDocument->currentFloor : nullptr;
    if (!floor)
        return walkEyeHeight;
    return GetStoreyEyeHeight(floor, settings);
}

void WalkCommand(PlanSettings* settings)
{
    settings->orthographic3D = 0;
    ShowLiveViewWindow();
    if (activePlanPane)
        SetClassLongPtrA(activePlanPane, GCLP_HCURSOR,
                         reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, IDC_ARROW)));
    SetRenderCursor(WalkCursor());
    settings->cameraMode = kWalkCamera;
    PlaceWalkCamera(settings);
    RedrawRenderWindow();
}

void AerialCommand(PlanSettings* settings)
{
    settings->orthographic3D = 0;
    ShowLiveViewWindow();
    if (activePlanPane)
        SetClassLongPtrA(activePlanPane, GCLP_HCURSOR,
                         reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, IDC_ARROW)));
    SetRenderCursor(FlyCursor());
    settings->cameraMode = kFlyCamera;
    PlaceAerialCamera(settings);
    RedrawRenderWindow();
}

void ResetViewCommand(PlanSettings* settings)
{
    ShowLiveViewWindow();
    if (settings->cameraMode == kFlyCamera) {
        settings->aerialPitch = 20.0f;
        settings->aerialYaw = 330.0f;
        orbitDistance = 1500.0f;
        PlaceAerialCamera(settings);
    } else {
        settings->cameraHeading = 0.0f;
        settings->cameraX = 0.0f;
        settings->cameraZ = settings->extentBottom - kSideInset;
        walkEyeHeight = StoreyEyeHeight(settings);
        PlaceWalkCamera(settings);
    }
    // The view shows the camera it now has.
    RedrawRenderWindow();
    InvalidatePlanView();
}

void SideCameraCommand(PlanSettings* settings, int command)
{
    switch (command) {
    case 5151:
        settings->cameraHeading = 270.0f;
        settings->cameraX = settings->extentLeft + kSideInset;
        settings->cameraZ = 0.0f;
        break;
    case 5152:
        settings->cameraHeading = 90.0f;
        settings->cameraX = settings->extentRight - kSideInset;
        settings->cameraZ = 0.0f;
        break;
    case 5153:
        settings->cameraHeading = 0.0f;
        settings->cameraX = 0.0f;
        settings->cameraZ = settings->extentBottom - kSideInset;
        break;
    default:
        settings->cameraHeading = 180.0f;
        settings->cameraX = 0.0f;
        settings->cameraZ = settings->extentTop + kSideInset;
        break;
    }
    settings->cameraMode = kWalkCamera;
    SetRenderCursor(WalkCursor());
    walkEyeHeight = StoreyEyeHeight(settings);
    PlaceWalkCamera(settings);
    RedrawRenderWindow();
    InvalidatePlanView();
}

void ElevationViewCommand(PlanSettings* settings, int command)
{
    if (!LiveViewExists())
        return;
    static const uint16_t kCodes[4] = {1, 3, 2, 4};  // front, back, left, right
    settings->orthographic3D = kCodes[command - 5351];
    ShowLiveViewWindow();
    RunZoomFactorDialog(settings);
    InvalidatePlanView();
}

RECT MdiClientRect()
{
    RECT rect = {0, 0, 0, 0};
    if (mdiClientWindow)
        GetClientRect(mdiClientWindow, &rect);
    return rect;
}

HWND ActiveDocumentWindow()
{
    if (!mdiClientWindow)
        return nullptr;
    return reinterpret_cast<HWND>(SendMessageA(mdiClientWindow, WM_MDIGETACTIVE, 0, 0));
}

// The quarter-screen place of the live view, in the frame's client coordinates.
RECT QuarterScreenPlacement()
{
    const RECT mdi = MdiClientRect();
    const int w = mdi.right / 2 - 30;
    const int h = (int)(0.55 * w);
    RECT place;
    place.left = 24 + w;
    place.top = 29 + h;
    place.right = mdi.right - (GetSystemMetrics(SM_CXVSCROLL) + 2) - w;   // width
    place.bottom = mdi.bottom - 2 - GetSystemMetrics(SM_CYHSCROLL) - h;  // height
    return place;
}

void PlaceLiveView(const RECT& place, const PlanSettings* settings)
{
    MoveWindow(selvithWindow, place.left, place.top, place.right, place.bottom, TRUE);
    ShowWindow(selvithWindow, SW_SHOW);
    SetWindowPos(selvithWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    CursorStep(settings);
}

// The document window gets its normal place and is maximised by the MDI client, every bar
// and scroll bar of it inside the MDI area. A placement's own maximise is not the MDI one,
// and a placement moves a maximised window to a maximised position of its own (0, 0 here,
// the window's bars then below the MDI area): such a window goes back where it lay.
void MaximiseDocumentWindow()
{
    HWND document = ActiveDocumentWindow();
    if (!document)
        return;
    const RECT mdi = MdiClientRect();
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(document, &placement);
    placement.rcNormalPosition = {1, 1, mdi.right - 1, mdi.bottom - 1};
    placement.showCmd = SW_SHOWNA;   // the state stays as it is
    const bool maximised = IsZoomed(document) != 0;
    RECT place;
    GetWindowRect(document, &place);
    MapWindowPoints(nullptr, mdiClientWindow, reinterpret_cast<POINT*>(&place), 2);
    SetWindowPlacement(document, &placement);
    if (maximised)
        SetWindowPos(document, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(mdiClientWindow, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(document), 0);
}

void LayoutCommand(PlanSettings* settings, int command)
{
    const RECT mdi = MdiClientRect();
    switch (command) {
    case 5257:
        if (selvithWindow)
            ShowWindow(selvithWindow, SW_HIDE);
        MaximiseDocumentWindow();
        return;
    case 5258:
        MaximiseDocumentWindow();
        if (LiveViewExists())
            PlaceLiveView(QuarterScreenPlacement(), settings);
        return;
    case 5259: {
        if (HWND document = ActiveDocumentWindow()) {
            ShowWindow(document, SW_SHOWNORMAL);
            MoveWindow(document, 1, 17, (mdi.left + mdi.right) / 2, mdi.bottom - 17, TRUE);
        }
        ResetWorkingElevationAndRedraw();
        if (LiveViewExists())
            PlaceLiveView({25 + mdi.right / 2, 30 + 16, mdi.right / 2, mdi.bottom - 17}, settings);
        return;
    }
    case 5260:
        if (LiveViewExists())
            PlaceLiveView({24, 29 - 1, mdi.right, mdi.bottom + 1}, settings);
        return;
    case 5321: {
        const int w = mdi.right / 2;
        const int h = (int)(0.68 * w);
        if (LiveViewExists())
            PlaceLiveView({24 + w, 29 + h, mdi.right - w, mdi.bottom - h}, settings);
        return;
    }
    }
}

void FinalRenderCommand(PlanSettings* settings)
{
    if (!LiveViewExists())
        return;
    const uint32_t request = settings->frameValue;
    settings->frameValue = 0;
    ShowLiveViewWindow();
    RedrawFinalRender();
    settings->frameValue = request;
}

void FramingCommand(PlanSettings* settings, int command)
{
    const bool framing = command == 5287;
    ShowLiveViewWindow();
    if (selvithWindow)
        SetWindowTextA(selvithWindow, framing ? "Selvith (Visuale struttura)"
                                              : "Selvith (Visuale completa)");
    settings->framingStyle = framing ? 1 : 0;
    RebuildAllStairs(activeDocument->firstFloor);
    RebuildAll3D();
    RedrawRenderWindow();
}

void TransparencyCommand(PlanSettings* settings)
{
    settings->view3DFlag1490 = settings->view3DFlag1490 ? 0 : 1;
    settings->view3DMode = settings->view3DFlag1490 ? 6 : 5;
    if (highlightedPane)
        RedrawWindow(highlightedPane, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    if (selvithWindow)
        RedrawWindow(selvithWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RedrawFinalRender();
    ShowLiveViewWindow();
}

// The fly and walk fields of view of each command.
void FieldOfViewCommand(int command)
{
    static const float kFly[5] = {28.0f, 33.0f, 38.0f, 43.0f, 48.0f};
    static const float kWalk[5] = {35.0f, 40.0f, 45.0f, 50.0f, 55.0f};
    flyFieldOfView = kFly[command - 5316];
    walkFieldOfView = kWalk[command - 5316];
    fieldOfViewCommand = (uint16_t)command;
}

void ShowOrCreateCommand(HWND frame, PlanSettings* settings)
{
    if (!selvithWindow)
        CreateLiveView(frame);
    if (!LiveViewExists())
        return;
    if (ShowLiveViewWindow())
        RedrawRenderWindow();
    CursorStep(settings);
}

} // namespace

HWND CreateLiveView(HWND frame)
{
    PlanSettings* settings = ActiveSettings();
    if (selvithWindow || !frame || !settings)
        return selvithWindow;
    const RECT place = QuarterScreenPlacement();
    const char* caption = settings->framingStyle ? "Selvith (Visuale struttura)"
                                                 : "Selvith (Visuale completa)";
    HWND view = CreateWindowExA(0, "SelvithClass", caption,
                                WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                    WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                place.left, place.top, place.right, place.bottom, frame,
                                reinterpret_cast<HMENU>((INT_PTR)LiveViewId), hInstance, nullptr);
    if (!view)
        return nullptr;
    selvithWindow = view;
    SetWindowPos(view, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (scene3DOutOfDate)
        RebuildAll3D();
    RedrawRenderWindow();
    CursorStep(settings);
    return view;
}

void LiveViewCommand(HWND frame, int command)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return;
    switch (command) {
    case 5189: WalkCommand(settings); break;
    case 5190: AerialCommand(settings); break;
    case 5241: ResetViewCommand(settings); break;
    case 5151: case 5152: case 5153: case 5154: SideCameraCommand(settings, command); break;
    case 5351: case 5352: case 5353: case 5354: ElevationViewCommand(settings, command); break;
    case 5257: case 5258: case 5259: case 5260: case 5321: LayoutCommand(settings, command); break;
    case 5270: ShowOrCreateCommand(frame, settings); break;
    case 5285: FinalRenderCommand(settings); break;
    case 5287: case 5288: FramingCommand(settings, command); break;
    case 5325: TransparencyCommand(settings); break;
    case 5316: case 5317: case 5318: case 5319: case 5320: FieldOfViewCommand(command); break;
    }
}
