#include "tools/roof_tool.h"
#include <cmath>
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model3d/array_objects.h"
#include "model3d/generated_parts.h"
#include "model3d/rebuild_driver.h"
#include "planview/dimension_lines.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "render3d/object_polygons.h"
#include "tools/drawing_elements.h"
#include "tools/plan_mouse_state.h"
#include "tools/roof_planes.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"

namespace {

const float kDimensionOffset = 5.0f;
// The looks a new roof gives its planes: face A (tops and bands), face B (undersides).
const uint32_t kTopTexture = 1255;
const uint32_t kUndersideTexture = 850;
const ColourTriple kTopColour = {0xDFDF, 0xCDCD, 0xB5B5};
const ColourTriple kUndersideColour = {58000, 58000, 58000};

// The outline of the drag from P to Q at P's height; V0-V1, which the ridge follows,
// runs along the longer side (along z for a square).
void RoofCorners(const float* p, const float* q, RoofPoint v[4])
{
    const float y = p[1];
    if (std::fabs(p[0] - q[0]) <= std::fabs(p[2] - q[2])) {
        v[0] = {p[0], y, q[2]};
        v[1] = {p[0], y, p[2]};
        v[2] = {q[0], y, p[2]};
        v[3] = {q[0], y, q[2]};
    } else {
        v[0] = {p[0], y, p[2]};
        v[1] = {q[0], y, p[2]};
        v[2] = {q[0], y, q[2]};
        v[3] = {p[0], y, q[2]};
    }
}

void Line(HDC dc, const RoofPoint& a, const RoofPoint& b)
{
    DrawWorldLine(dc, a.x, a.y, a.z, b.x, b.y, b.z, 0);
}

// The eaves, the end edges of the hipped ends, the hips and the ridge, inverting.
void DrawRoofPreview(HDC dc, const RoofPoint v[4], float pitch, uint32_t style)
{
    RoofPoint s, e;
    ComputeRoofRidge(v, pitch, style, &s, &e);
    Line(dc, v[0], v[1]);
    Line(dc, v[2], v[3]);
    if (style == 1 || style == 3)
        Line(dc, v[0], v[3]);
    if (style == 1 || style == 5)
        Line(dc, v[1], v[2]);
    Line(dc, v[0], s);
    Line(dc, v[3], s);
    Line(dc, v[1], e);
    Line(dc, v[2], e);
    if (style != 7)
        Line(dc, s, e);
}

PlanObject* BuildRoof(const RoofPoint v[4])
{
    PlanDocument* document = activeDocument;
    PlanSettings* settings = document->settings;
    PlanFloor* storey = document->currentFloor;
    PointArrays arrays;
    if (!arrays.Allocate(4, 3))
        return nullptr;
    for (int i = 0; i < 4; ++i)
        arrays.items[0][i] = {v[i].x, v[i].y, v[i].z};
    PlanObject* roof = CreateSolidFromArrays(arrays.items[0], nullptr, arrays.items[1], arrays.items[2],
                                             nullptr, nullptr, 4, storey, 1);
    if (!roof)
        return nullptr;
    roof->type = ObjRoof;
    roof->closed = 1;
    roof->category = kCategoryRoof;
    roof->value2 = settings->cathedralCeiling;
    roof->styleOrTexture = settings->roofStyle;
    roof->size = settings->roofPitch;
    // On top of the storey's walls.
    roof->elevation = GetFloorBaseHeight(storey) + storey->height;
    roof->floor = storey;
    PlanVertex* look = roof->firstVertex;
    look->faceTextureA = kTopTexture;
    look->faceTextureB = kUndersideTexture;
    look->faceColourA = kTopColour;
    look->faceColourB = kUndersideColour;
    return roof;
}

}  // namespace

void HandleRoofTool(int32_t, int32_t, float x, float, float z, int16_t event)
{
    PlanDocument* document = activeDocument;
    PlanSettings* settings = document ? document->settings : nullptr;
    if (!settings || !document->currentFloor)
        return;
    const float* p = planMouseState.dragStart;
    const float q[3] = {x, p[1], z};
    RoofPoint v[4];
    RoofCorners(p, q, v);
    HDC dc = activePlanPane ? GetDC(activePlanPane) : nullptr;
    if (dc) {
        halfInchToggle = 1;
        if (settings->dimensionDrawing) {
            halfInchToggle = 1;
            DrawDimensionLine(dc, p[0], q[2], q[0], q[2], p[0], q[2], q[0], q[2], 1, kDimensionOffset, 1,
                              nullptr, nullptr, 0, 0, kDimensionOffset, 0, nullptr);
            halfInchToggle = 1;
            DrawDimensionLine(dc, q[0], p[2], q[0], q[2], q[0], p[2], q[0], q[2], 1, kDimensionOffset, 1,
                              nullptr, nullptr, 0, 0, kDimensionOffset, 0, nullptr);
        }
        DrawRoofPreview(dc, v, settings->roofPitch, settings->roofStyle);
        ReleaseDC(activePlanPane, dc);
    }
    if (event != kToolRelease)
        return;
    // A click without a drag makes no roof.
    PlanObject* roof = SameWholePoint(p, q) ? nullptr : BuildRoof(v);
    CompleteCreation(roof);
    if (roof) {
        RebuildRoof(roof);
        BuildObject3D(roof);
        InvalidatePlanView();
    }
}

void RebuildRoof(PlanObject* roof)
{
    if (!roof || roof->type != ObjRoof)
        return;
    RemoveObjectPolygons(roof);
    FreeGeneratedParts(roof);
    BuildRoofPlanes(roof);
}

void RebuildFloorRoofs(PlanFloor* floor)
{
    ForEachShownFloorObject(floor, RebuildRoof);
}

void RebuildAllRoofs(PlanFloor* firstFloor)
{
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        RebuildFloorRoofs(floor);
}
