#include "tools/point_mapping.h"
#include <cmath>
#include <cstring>
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "model/plan_object.h"
#include "planview/hit_testing.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_state.h"

namespace {

const short kTextToolId = 203;
const short kViewpointToolId = 206;
const short kInteriorWallToolId = 7051;
const short kSelectToolId = 200;
const int32_t kWallPickTolerance = 20;

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

// View space back to model space: the depth, perspective and turn of the view undone,
// then the zoom when asked.
void UnprojectPoint(float x, float y, float* outX, float* outY, float* outZ, const PlanMouseState* hit,
                    uint8_t unzoom)
{
    const PlanSettings* settings = ActiveSettings();
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
}

// The interior-wall tool attaches to the wall under the pointer: a wider pick among
// walls on the current floor fills the pointer record; a press on a segment whose two
// ends are selected hands the gesture to the select drag.
void PickWallUnderPointer(int32_t x, int32_t y, PlanMouseState* target)
{
    PlanSettings* settings = ActiveSettings();
    PlanMouseState* record = AllocateRecordOf<PlanMouseState>();
    bool found = false;
    if (record) {
        record->x = x;
        record->y = y;
        const uint16_t tolerance = settings->pickTolerance;
        settings->pickTolerance = static_cast<uint16_t>(ZoomInt(kWallPickTolerance));
        const int16_t wallType[1] = {ObjWall};
        found = PickObjectAtPoint(activeDocument->currentFloor, record, 0, wallType, 1);
        settings->pickTolerance = tolerance;
    }
    if (found && (record->vertexHit || record->segmentHit) && record->vertexA) {
        CopyHitPart(target, record);
        target->hit = 1;
        if (record->segmentHit && record->vertexB && record->vertexA->selected &&
            record->vertexB->selected) {
            currentToolId = kSelectToolId;
            SetCursor(LoadCursorA(nullptr, IDC_ARROW));
            returnToWallTool = 1;
        }
    } else {
        target->hit = 0;
    }
    ReleaseRecord(record);
}

// Truncation toward zero to a whole unit, without a 16-bit limit: far points keep
// their place instead of wrapping round.
double WholeUnits(float value)
{
    return std::trunc(static_cast<double>(value));
}

// A locked limit plane at `limit` cannot be crossed from the reference's side.
void HoldOnLimitSide(float reference, float* value, float limit)
{
    const double r = WholeUnits(reference);
    const double p = WholeUnits(*value);
    const double g = WholeUnits(limit);
    if ((r >= g && p < g) || (r <= g && p > g))
        *value = limit;
}

void ClampInto(float* value, float low, float high)
{
    if (*value < low)
        *value = low;
    if (*value > high)
        *value = high;
}

}  // namespace

void MapPlanPointToModel(int32_t x, int32_t y, float* outX, float* outY, float* outZ, uint8_t snap,
                         PlanMouseState* hit, uint8_t unzoom)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings || !outX || !outY || !outZ)
        return;
    UnprojectPoint(static_cast<float>(x), static_cast<float>(y), outX, outY, outZ, hit, unzoom);
    if (currentToolId == -1)
        return;
    if (currentToolId == kInteriorWallToolId)
        PickWallUnderPointer(x, y, hit ? hit : &planMouseState);
    if (settings->snapToGrid && snap && currentToolId != kTextToolId &&
        currentToolId != kViewpointToolId)
        SnapFloatPointToGrid(settings, outX, outY, outZ);
}

void MapFloatPointToModel(float x, float y, float* outX, float* outY, float* outZ, uint8_t snap,
                          PlanMouseState* hit, uint8_t unzoom)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings || !outX || !outY || !outZ)
        return;
    UnprojectPoint(x, y, outX, outY, outZ, hit, unzoom);
    if (currentToolId == -1)
        return;
    if (settings->snapToGrid && snap && currentToolId != kTextToolId)
        SnapFloatPointToGrid(settings, outX, outY, outZ);
}

uint8_t SnapFloatPointToGrid(PlanSettings* settings, float* x, float* y, float* z)
{
    if (!settings || !x || !y || !z)
        return 0;
    const float stepX = UnitsToPlanLength(settings->snapStepX, settings, 0);
    const float stepZ = UnitsToPlanLength(settings->snapStepY, settings, 0);
    if (!std::isfinite(stepX) || !std::isfinite(stepZ) || stepX <= 0.0f || stepZ <= 0.0f)
        return 0;
    *x = static_cast<float>(std::floor(WholeUnits(*x) / stepX) * stepX);
    *z = static_cast<float>(std::floor(WholeUnits(*z) / stepZ) * stepZ);
    return 1;
}

void ClampPlanPoint(const float reference[3], float point[3])
{
    const PlanSettings* s = ActiveSettings();
    if (!s || !reference || !point)
        return;
    switch (s->viewPlane) {
    case 2:
        ClampInto(&point[0], s->extentLeft, s->extentRight);
        ClampInto(&point[2], s->extentTop, s->extentBottom);
        if (s->limitLockX)
            HoldOnLimitSide(reference[0], &point[0], s->referenceX);
        if (s->limitLockDepth)
            HoldOnLimitSide(reference[2], &point[2], s->referenceZ);
        break;
    case 1:
        ClampInto(&point[0], s->extentLeft, s->extentRight);
        if (point[1] < s->extentTop)
            point[1] = s->extentTop;
        if (s->limitLockX)
            HoldOnLimitSide(reference[0], &point[0], s->referenceX);
        if (s->limitLockHeight)
            HoldOnLimitSide(reference[1], &point[1], s->referenceHeight);
        break;
    case 3:
        ClampInto(&point[2], s->extentTop, s->extentBottom);
        if (point[1] < s->extentTop)
            point[1] = s->extentTop;
        if (s->limitLockDepth)
            HoldOnLimitSide(reference[2], &point[2], s->referenceZ);
        if (s->limitLockHeight)
            HoldOnLimitSide(reference[1], &point[1], s->referenceHeight);
        break;
    default:
        break;
    }
}
