#include "tools/point_mapping.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_state.h"

namespace {
const short kTextToolId = 203;
const short kViewpointToolId = 206;
}

// Grid snapping of model points is not built yet: nothing is snapped.
uint8_t SnapFloatPointToGrid(PlanSettings*, float*, float*, float*) { return 0; }

void MapFloatPointToModel(float x, float y, float* outX, float* outY, float* outZ, uint8_t snap,
                          PlanMouseState* hit, uint8_t unzoom)
{
    if (!activeDocument || !activeDocument->settings || !outX || !outY || !outZ)
        return;
    PlanSettings* settings = activeDocument->settings;
    *outX = x;
    *outY = y;
    // Depth: on the plane through the point hit, facing the viewer, or on the working plane.
    if (hit && hit->hit && hit->object) {
        switch (settings->viewPlane) {
        case 1:
            *outZ = GetWorkPlaneDepth(*outX, *outY, hit->hitPoint[2]);
            break;
        case 2:
            *outZ = GetWorkPlaneDepth(*outX, *outY, hit->hitPoint[1]);
            break;
        case 3:
            *outZ = GetWorkPlaneDepth(*outX, *outY, hit->hitPoint[0]);
            break;
        default:
            break;
        }
    } else {
        *outZ = SolvePlaneForZ(*outX, *outY, workPlane.a, workPlane.b, workPlane.c, workPlane.d);
    }
    if (perspectiveOn)
        RemovePerspective(outX, outY, outZ, viewerDistance, 0.0f, 0.0f, 0.0f);
    RotatePointByAngles(outX, outY, outZ, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin,
                        viewOrigin.x, viewOrigin.y, viewOrigin.z);
    if (unzoom) {
        *outX = UnzoomFloat(*outX);
        *outY = UnzoomFloat(*outY);
        *outZ = UnzoomFloat(*outZ);
    }
    if (currentToolId == -1)
        return;
    if (settings->snapToGrid && currentToolId != kTextToolId && snap)
        SnapFloatPointToGrid(settings, outX, outY, outZ);
}

void MapPlanPointToModel(int32_t x, int32_t y, float* outX, float* outY, float* outZ,
                         uint8_t snap, PlanMouseState* hit, uint8_t unzoom)
{
    MapFloatPointToModel((float)x, (float)y, outX, outY, outZ,
                         currentToolId == kViewpointToolId ? 0 : snap, hit, unzoom);
}
