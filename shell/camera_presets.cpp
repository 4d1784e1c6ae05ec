#include "shell/camera_presets.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "planview/view_origin.h"
#include <windows.h>

// Whole degrees: add a half and truncate toward zero.
static int RoundDegrees(float degrees)
{
    return static_cast<int>(degrees + 0.5f);
}

int GetCameraPresetCommand()
{
    if (!activeDocument || !activeDocument->settings)
        return 0;
    int pitch = RoundDegrees(viewPitchDegrees);
    int yaw = RoundDegrees(viewYawDegrees);
    if (!perspectiveOn) {
        if (pitch == 90 && yaw == 0) return ViewTop;
        if (pitch == 0 && yaw == 270) return ViewLeft;
        if (pitch == 0 && yaw == 90) return ViewRight;
        if (pitch == 0 && yaw == 0) return ViewFront;
        if (pitch == 0 && yaw == 180) return ViewBack;
        return ViewOther;
    }
    if (perspectiveScale == 1.0f) return ViewPerspectivePreset;
    if (perspectiveScale == 6.0f) return ViewAerialPreset;
    return 0;
}

int ResetCameraToTopView(unsigned char* changed)
{
    if (changed)
        *changed = 0;
    if (!activeDocument || !activeDocument->settings)
        return 0;
    perspectiveOn = 0;
    if (changed && !(RoundDegrees(viewPitchDegrees) == 90 && RoundDegrees(viewYawDegrees) == 0))
        *changed = 1;
    activeDocument->settings->viewPlane = 2;
    viewPitchDegrees = 90.0f;
    viewYawDegrees = 0.0f;
    return ViewTop;
}

void ResetWorkingElevation()
{
    if (!activeDocument || !activePlanPane || !activeDocument->currentFloor || !activeDocument->settings)
        return;
    PlanSettings* settings = activeDocument->settings;
    viewOrigin.y = 0.0f;
    settings->referenceHeight = 0.0f;
    settings->workingElevation = GetFloorBaseHeight(activeDocument->currentFloor);
}

void ResetWorkingElevationAndRedraw()
{
    if (!activeDocument || !activePlanPane || !activeDocument->settings)
        return;
    PlanSettings* settings = activeDocument->settings;
    settings->referenceX = settings->extentRight;
    settings->referenceZ = settings->extentTop;
    viewOrigin.x = 0.0f;
    viewOrigin.z = 0.0f;
    ResetWorkingElevation();

    HWND pane = activePlanPane;
    HDC dc = GetDC(pane);
    if (!dc)
        return;
    RECT client;
    GetClientRect(pane, &client);
    // Centre the plan extents in the pane: x from the x extents (least and greatest x),
    // y from the depth extents (least and greatest z), each against its own client size.
    float width = static_cast<float>(client.right - client.left);
    float height = static_cast<float>(client.bottom - client.top);
    int originX = static_cast<int>(settings->extentLeft +
                                   ((settings->extentRight - settings->extentLeft) - width) / 2.0f);
    int originY = static_cast<int>(settings->extentTop +
                                   ((settings->extentBottom - settings->extentTop) - height) / 2.0f);
    SetWindowOrg16(dc, originX, originY);
    if (activeDocument->horizontalScrollBar && activeDocument->verticalScrollBar)
        UpdatePlanScrollBars(activeDocument->horizontalScrollBar, activeDocument->verticalScrollBar);
    InvalidateRect(pane, nullptr, TRUE);
    ReleaseDC(pane, dc);
}
