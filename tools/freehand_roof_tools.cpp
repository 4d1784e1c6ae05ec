#include "tools/freehand_roof_tools.h"
#include <cmath>
#include "model/generated_children.h"
#include "model/object_copies.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/texture_coords.h"
#include "model/units.h"
#include "model3d/rebuild_driver.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "render3d/object_polygons.h"
#include "tools/exterior_wall_tools.h"
#include "tools/floor_stair_deck_tools.h"
#include "tools/placement_drag.h"
#include "tools/plan_mouse_state.h"
#include "tools/point_mapping.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include "tools/undo.h"

namespace {

const int16_t kFreehandRoofPreview = 57;
const float kArrowHalf = 40.0f;
const float kFallDirection = 270.0f;
const double kDegreesPerRadian = 57.29577951308232;
const double kRadiansPerDegree = 0.017453292519943295;
const uint32_t kRoofSlotTexture = 1255;
const ColourTriple kRoofSlotColour = {58000, 58000, 58000};
const ColourTriple kUndersideColour = {57311, 52685, 46517};
const ColourTriple kRed = {65535, 0, 0};

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

// The middle of the roof in plan, from its stored 3D box.
void RoofMiddle(const PlanObject* roof, float* x, float* z)
{
    *x = (roof->box3D[1] + roof->box3D[4]) / 2.0f;
    *z = (roof->box3D[2] + roof->box3D[5]) / 2.0f;
}

// The arrow's two ends about the middle, along the direction (degrees), at height 0.
void ArrowEnds(float qx, float qz, float degrees, float ends[2][2])
{
    float dx = 0.0f, dz = 0.0f;
    OffsetPointPolar(static_cast<float>(degrees * kRadiansPerDegree), kArrowHalf, &dx, &dz);
    ends[0][0] = qx - dx;
    ends[0][1] = qz - dz;
    ends[1][0] = qx + dx;
    ends[1][1] = qz + dz;
}

PlanObject* MakeArrow(PlanObject* roof)
{
    const PlanSettings* settings = Settings();
    const ColourTriple unset = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
    const ColourTriple black = {0, 0, 0};
    PlanObject* arrow = CreateObject(ObjFreehandRoofPart, 0, 0, &unset, &black, 1.0f, 6, 0, nullptr,
                                     nullptr, nullptr, roof, roof->floor, nullptr);
    if (!arrow)
        return nullptr;
    arrow->rows = 1;
    arrow->size = settings->roofPitch;
    float qx = 0.0f, qz = 0.0f;
    RoofMiddle(roof, &qx, &qz);
    float ends[2][2];
    ArrowEnds(qx, qz, roof->parameters[0], ends);
    for (const auto& end : ends) {
        PlanVertex* v = NewVertexNode(1, 1, 0, 0.0f, 0.0f, 0.0f, end[0], 0.0f, end[1], 0.0f, 0.0f, 0.0f,
                                      0.0f, 0.0f, 0.0f, arrow);
        if (v)
            AddObjectPoint(v, arrow);
    }
    UpdateObjectExtents(arrow);
    AppendToObjectList(&roof->firstChild, arrow);
    return arrow;
}

}  // namespace

void HandleFreehandRoofTool(int32_t wx, int32_t wy, float x, float y, float z, int16_t event)
{
    PlanDocument* document = activeDocument;
    PlanSettings* settings = Settings();
    if (!settings || !document->currentFloor)
        return;
    PlanObject* roof = TrackPlacementDrag(wx, wy, x, y, z, event, 0, 1, 1, kFreehandRoofPreview);
    if (!roof || RefuseThinOutline(roof))
        return;
    PlanFloor* storey = document->currentFloor;
    roof->type = ObjFreehandRoof;
    roof->category = kCategoryRoof;
    roof->size = settings->roofPitch;
    roof->elevation = GetFloorBaseHeight(storey) + storey->height;
    roof->winding = 0;
    roof->colourA = kRed;
    roof->colourB = kRed;
    roof->styleOrTexture = 0;
    roof->imageId1 = kRoofSlotTexture;
    roof->colour3 = kRoofSlotColour;
    roof->imageId2 = 0;
    roof->colour4 = kUndersideColour;
    ComputeProjectionExtents(roof);
    ComputeMeshTextureCoords(roof);
    roof->parameters[0] = kFallDirection;
    UpdateObjectExtents(roof);
    MakeArrow(roof);
    RebuildFreehandRoof(roof);
    BuildObject3D(roof);
    pendingObject = roof;
    undoAvailable = 1;
}

void DragFreehandRoofArrow()
{
    PlanObject* arrow = planMouseState.object;
    PlanObject* roof = arrow ? arrow->owner : nullptr;
    PlanVertex* grabbed = planMouseState.vertexA;
    if (!Settings() || !arrow || arrow->type != ObjFreehandRoofPart || !roof || !grabbed || !activePlanPane)
        return;
    float qx = 0.0f, qz = 0.0f;
    RoofMiddle(roof, &qx, &qz);
    // The second end points the way of the pointer, the first the other way.
    const bool fromMiddle = grabbed->previous != nullptr;
    HDC dc = GetDC(activePlanPane);
    HPEN pen = dc ? CreatePen(PS_SOLID, 0, RGB(0, 0, 0)) : nullptr;
    HGDIOBJ previousPen = pen ? SelectObject(dc, pen) : nullptr;
    const int previousMode = dc ? SetROP2(dc, R2_NOTXORPEN) : R2_COPYPEN;
    float ends[2][2];
    float degrees = roof->parameters[0];
    bool shown = false;
    bool moved = false;
    auto draw = [&]() {
        if (dc)
            DrawWorldLine(dc, ends[0][0], 0.0f, ends[0][1], ends[1][0], 0.0f, ends[1][1], 0);
    };
    float last[2] = {1.0e9f, 1.0e9f};
    const POINT press = GetCursorLogicalPos();
    while (IsMouseButtonDown()) {
        const POINT cursor = GetCursorLogicalPos();
        float x = 0.0f, y = 0.0f, z = 0.0f;
        MapPlanPointToModel(cursor.x, cursor.y, &x, &y, &z, 1, nullptr, 1);
        x = std::trunc(x + 0.5f);
        z = std::trunc(z + 0.5f);
        RecordShiftKey();
        if (x == last[0] && z == last[1])
            continue;
        last[0] = x;
        last[1] = z;
        if (cursor.x != press.x || cursor.y != press.y)
            moved = true;
        float unused = 0.0f;
        const float angle = fromMiddle ? AngleBetweenPoints(qx, qz, x, z, &unused)
                                       : AngleBetweenPoints(x, z, qx, qz, &unused);
        // Steps of 15 degrees, whatever the Shift state: the degrees truncated to a step.
        degrees = static_cast<float>(static_cast<int32_t>(angle * kDegreesPerRadian / 15.0) * 15);
        if (shown)
            draw();
        ArrowEnds(qx, qz, degrees, ends);
        draw();
        shown = true;
    }
    if (shown)
        draw();
    if (dc) {
        SetROP2(dc, previousMode);
        if (previousPen)
            SelectObject(dc, previousPen);
        ReleaseDC(activePlanPane, dc);
    }
    if (pen)
        DeleteObject(pen);
    if (!moved)
        return;
    PlanVertex* v = arrow->firstVertex;
    for (int i = 0; i < 2 && v; ++i, v = v->next) {
        v->position[0] = ends[i][0];
        v->position[1] = 0.0f;
        v->position[2] = ends[i][1];
    }
    UpdateObjectExtents(arrow);
    roof->parameters[0] = degrees;
    RebuildFreehandRoof(roof);
    RebuildObject3D(roof);
    InvalidatePlanView();
    SetSelectionAllFloors(activeDocument->firstFloor, kSelectDeselect, 1);
    SelectObjectAndDrawHandles(arrow, kSelectSelect, 1);
}

void HandleAirDuctTool(int32_t, int32_t, float x, float, float z, int16_t event)
{
    HandleRunTool(x, z, event, ObjAirDuct);
}
