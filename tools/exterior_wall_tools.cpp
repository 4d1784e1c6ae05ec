#include "tools/exterior_wall_tools.h"
#include <cmath>
#include "model/outline_offsets.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/texture_coords.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "model3d/array_objects.h"
#include "model3d/rebuild_driver.h"
#include "model3d/wall_rebuild.h"
#include "planview/dimension_lines.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "shell/app_globals.h"
#include "shell/message_box.h"
#include "tools/placement_drag.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include "tools/undo.h"
#include "tools/wall_tool.h"

namespace {

const int16_t kFoundationPerimeterTool = 7000;
const uint32_t kExteriorWall = 54;
const uint32_t kWallTexture = 1700;
const uint32_t kWallSlots[3] = {2213, 2212, 2219};
const int16_t kOffsetSideLeft = 7;
const int16_t kOffsetSideRight = 8;
const double kDegreesPerRadian = 57.29577951308232;
const double kRadiansPerDegree = 0.017453292519943295;

const char kExteriorWallHelp[] =
    "Lo strumento Muro esterno si usa per definire l'intero perimetro della pianta della casa.\n\n"
    "Cliccare e rilasciare il pulsante sinistro del mouse per definire ciascuno spigolo del "
    "perimetro. Cliccare e rilasciare il pulsante destro del mouse dopo aver definito l'ultimo "
    "spigolo.\n\nIl muro di chiusura verrà creato automaticamente dall'ultimo spigolo allo "
    "spigolo iniziale per chiudere il perimetro.";
const char kFoundationHelp[] =
    "Lo strumento Perimetro fondamenta si usa per definire l'intero perimetro della pianta delle "
    "fondamemta.\n\nCliccare e rilasciare il pulsante sinistro del mouse per definire ciascuno "
    "spigolo del perimetro. Cliccare e rilasciare il pulsante destro del mouse dopo aver definito "
    "l'ultimo spigolo.\n\nIl muro di chiusura verrà creato automaticamente dall'ultimo spigolo "
    "allo spigolo iniziale per chiudere il perimetro.";

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

// The closed exterior wall round the outline: offset by half the wall thickness to the
// outside, the face words on the outside face whatever the outline's winding.
PlanObject* MakeExteriorWall(PlanObject* outline, int16_t tool)
{
    PlanSettings* settings = Settings();
    outline->type = ObjWall;
    outline->subType = kExteriorWall;
    outline->category = tool == kFoundationPerimeterTool ? kCategoryFoundation : kCategoryFloorPlan;
    const int16_t winding = GetPolygonWinding(outline);
    PlanObject* wall = SplitClosedWallGroupSide(outline, settings->wallThickness / 2.0f,
                                                winding == 1 ? kOffsetSideLeft : kOffsetSideRight);
    ForgetPendingObject(outline);
    FreeObject(outline);
    if (!wall)
        return nullptr;
    const PlanFloor* storey = activeDocument->currentFloor;
    const float height = storey ? storey->height : kDefaultFloorHeight;
    wall->type = ObjWall;
    wall->subType = kExteriorWall;
    wall->closed = 1;
    wall->rows = 1;
    wall->category = tool == kFoundationPerimeterTool ? kCategoryFoundation : kCategoryFloorPlan;
    wall->size = settings->wallThickness;
    wall->colourA = settings->wallColour;
    wall->colourB = settings->doorColour;
    wall->colourM[0] = 0;
    wall->offsetSide = 0;
    wall->styleOrTexture = kWallTexture;
    wall->imageId1 = kWallSlots[0];
    wall->imageId2 = kWallSlots[1];
    wall->value3 = kWallSlots[2];
    const ColourTriple unset = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
    wall->colour3 = unset;
    wall->colour4 = unset;
    wall->colour5 = unset;
    wall->parameters[0] = height;
    wall->parameters[1] = settings->studSpacing;
    wall->parameters[2] = 0.5f;
    wall->parameters[3] = settings->floorToolDefaults[0];
    ComputeProjectionExtents(wall);
    ComputeMeshTextureCoords(wall);
    for (PlanVertex* v = wall->firstVertex; v; v = v->next) {
        SetWallSegmentDefaults(v, 7051, height);
        v->segmentStyleExtra = 1;
        v->alternationMarker = winding == 1 ? 1 : 0;
        v->faceFlagsA = winding == 1 ? 0 : 3;
        v->faceFlagsB = winding == 1 ? 3 : 0;
        v->segmentFlags = 0;
    }
    wall->buildFlag = 0;
    RebuildWall(wall);
    BuildObject3D(wall);
    pendingObject = wall;
    undoAvailable = 1;
    InvalidatePlanView();
    return wall;
}

struct Run {
    float s[3];
    float e[3];
};

// S at the drag start, E at the point dispatched; without Shift in steps of 15 degrees.
Run TwoPointRun(float x, float z)
{
    Run run;
    for (int i = 0; i < 3; ++i)
        run.s[i] = planMouseState.dragStart[i];
    run.e[0] = x;
    run.e[1] = run.s[1];
    run.e[2] = z;
    if (!ShiftHeld()) {
        float length = 0.0f;
        const float angle = AngleBetweenPoints(run.s[0], run.s[2], x, z, &length);
        const int32_t steps = static_cast<int32_t>(angle * kDegreesPerRadian / 15.0 + 0.5);
        float dx = 0.0f, dz = 0.0f;
        OffsetPointPolar(static_cast<float>(steps * 15.0 * kRadiansPerDegree), length, &dx, &dz);
        run.e[0] = run.s[0] + dx;
        run.e[2] = run.s[2] + dz;
    }
    return run;
}

bool SameWholePoint(const float* a, const float* b)
{
    for (int i = 0; i < 3; ++i)
        if (std::trunc(a[i] + 0.5f) != std::trunc(b[i] + 0.5f))
            return false;
    return true;
}

void Line(HDC dc, float x1, float z1, float x2, float z2, float y)
{
    DrawWorldLine(dc, x1, y, z1, x2, y, z2, 0);
}

// Two strokes from the end back toward the start, at the angle either side.
void ArrowHead(HDC dc, const Run& run, float length, double halfAngleDegrees, float y)
{
    float unused = 0.0f;
    const float back = AngleBetweenPoints(run.e[0], run.e[2], run.s[0], run.s[2], &unused);
    for (int sign : {-1, 1}) {
        float dx = 0.0f, dz = 0.0f;
        OffsetPointPolar(static_cast<float>(back + sign * halfAngleDegrees * kRadiansPerDegree), length, &dx, &dz);
        Line(dc, run.e[0], run.e[2], run.e[0] + dx, run.e[2] + dz, y);
    }
}

// The duct's sides dotted either side of the run, with arrow marks along it pointing
// back to the start, and its length.
void DrawDuctPreview(HDC dc, const Run& run, float angle, float y)
{
    const float half = UnitsToPlanLength(6.0f, Settings(), 0);
    float dx = 0.0f, dz = 0.0f;
    OffsetPointPolar(angle + 1.5707963f, half, &dx, &dz);
    HPEN dotted = CreatePen(PS_DOT, 1, RGB(255, 0, 0));
    HGDIOBJ previous = dotted ? SelectObject(dc, dotted) : nullptr;
    Line(dc, run.s[0] + dx, run.s[2] + dz, run.e[0] + dx, run.e[2] + dz, y);
    Line(dc, run.s[0] - dx, run.s[2] - dz, run.e[0] - dx, run.e[2] - dz, y);
    if (previous)
        SelectObject(dc, previous);
    if (dotted)
        DeleteObject(dotted);
    for (float t : {0.25f, 0.5f, 0.75f, 1.0f}) {
        // The marks are drawn in view coordinates.
        float mx = run.s[0] + (run.e[0] - run.s[0]) * t, my = y;
        float mz = run.s[2] + (run.e[2] - run.s[2]) * t;
        float sx = run.s[0], sy = y, sz = run.s[2];
        ProjectSegmentToView(&mx, &my, &mz, &sx, &sy, &sz, perspectiveOn);
        DrawDimensionEndMarks(dc, nullptr, mx, my, sx, sy, 4);
    }
    halfInchToggle = 1;
    DrawDimensionLine(dc, run.s[0], run.s[2], run.e[0], run.e[2], run.s[0], run.s[2], run.e[0], run.e[2],
                      1, 17.0f, 1, nullptr, nullptr, 0, 0, 5.0f, 0, nullptr);
}

// The previews of the two-point foundation tools and the duct.
void DrawRunPreview(HDC dc, uint16_t type, const Run& run)
{
    const float y = run.s[1];
    float unused = 0.0f;
    const float angle = AngleBetweenPoints(run.s[0], run.s[2], run.e[0], run.e[2], &unused);
    if (type == ObjBeam) {
        const float half = UnitsToPlanLength(6.0f, Settings(), 0);
        float dx = 0.0f, dz = 0.0f;
        OffsetPointPolar(angle + 1.5707963f, half, &dx, &dz);
        HPEN dashed = CreatePen(PS_DASH, 1, RGB(255, 0, 0));
        HGDIOBJ previous = dashed ? SelectObject(dc, dashed) : nullptr;
        Line(dc, run.s[0] + dx, run.s[2] + dz, run.e[0] + dx, run.e[2] + dz, y);
        Line(dc, run.e[0] - dx, run.e[2] - dz, run.s[0] - dx, run.s[2] - dz, y);
        Line(dc, run.s[0] - dx, run.s[2] - dz, run.s[0] + dx, run.s[2] + dz, y);
        if (previous)
            SelectObject(dc, previous);
        if (dashed)
            DeleteObject(dashed);
        Line(dc, run.e[0] + dx, run.e[2] + dz, run.e[0] - dx, run.e[2] - dz, y);
        halfInchToggle = 1;
        DrawDimensionLine(dc, run.s[0], run.s[2], run.e[0], run.e[2], run.s[0], run.s[2], run.e[0],
                          run.e[2], 1, 17.0f, 1, nullptr, nullptr, 0, 0, 5.0f, 0, nullptr);
    } else if (type == ObjTensionCable) {
        Line(dc, run.s[0], run.s[2], run.e[0], run.e[2], y);
        float dx = 0.0f, dz = 0.0f;
        OffsetPointPolar(angle + 1.5707963f, 5.0f / 2.0f, &dx, &dz);
        Line(dc, run.e[0] - dx, run.e[2] - dz, run.e[0] + dx, run.e[2] + dz, y);
        ArrowHead(dc, run, 12.0f, 15.0, y);
        halfInchToggle = 1;
        DrawDimensionLine(dc, run.s[0], run.s[2], run.e[0], run.e[2], run.s[0], run.s[2], run.e[0],
                          run.e[2], 1, 5.0f, 1, nullptr, nullptr, 0, 0, 5.0f, 0, nullptr);
    } else if (type == ObjAirDuct) {
        DrawDuctPreview(dc, run, angle, y);
    } else {
        Line(dc, run.s[0], run.s[2], run.e[0], run.e[2], 0.0f);
        ArrowHead(dc, run, 50.0f, 30.0, 0.0f);
    }
}

}  // namespace

void HandleRunTool(float x, float z, int16_t event, uint16_t type)
{
    PlanSettings* settings = Settings();
    if (!settings)
        return;
    const Run run = TwoPointRun(x, z);
    if (activePlanPane) {
        HDC dc = GetDC(activePlanPane);
        if (dc) {
            DrawRunPreview(dc, type, run);
            ReleaseDC(activePlanPane, dc);
        }
    }
    if (event != kToolRelease)
        return;
    PlanFloor* storey = activeDocument->currentFloor;
    PlanObject* made = nullptr;
    if (storey && !SameWholePoint(run.s, run.e)) {
        const Point3f points[2] = {{run.s[0], run.s[1], run.s[2]}, {run.e[0], run.s[1], run.e[2]}};
        const Point3f zero[2] = {};
        made = CreateSurfaceFromArrays(points, nullptr, zero, zero, nullptr, nullptr, 2, storey, 1);
        if (made) {
            made->type = type;
            made->category = type == ObjAirDuct ? kCategoryHvac : kCategoryFoundation;
            if (type == ObjBeam) {
                made->parameters[2] = settings->floorToolDefaults[2];
                made->parameters[3] = settings->floorToolDefaults[1];
            } else if (type == ObjAirDuct) {
                made->parameters[2] = settings->ductWidth;
                made->parameters[3] = settings->ductHeight;
            }
            pendingObject = made;
            undoAvailable = 1;
            InvalidatePlanView();
        }
    }
    ReleaseToolCapture();
}

void HandleExteriorWallTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event)
{
    if (!Settings())
        return;
    const int16_t tool = currentToolId;
    PlanObject* outline = TrackPlacementDrag(windowX, windowY, x, y, z, event, 0, 1, 1,
                                             kExteriorWallPreviewType);
    if (!outline)
        return;
    if (CountVertexChain(outline) < 3) {
        ForgetPendingObject(outline);
        FreeObject(outline);
        ShowMessageBox(frameWindow, tool == kFoundationPerimeterTool ? kFoundationHelp : kExteriorWallHelp,
                       applicationTitle, MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
        return;
    }
    MakeExteriorWall(outline, tool);
}

void HandleBeamTool(int32_t, int32_t, float x, float, float z, int16_t event)
{
    HandleRunTool(x, z, event, ObjBeam);
}

void HandleTensionCableTool(int32_t, int32_t, float x, float, float z, int16_t event)
{
    HandleRunTool(x, z, event, ObjTensionCable);
}

void HandleSlopeArrowTool(int32_t, int32_t, float x, float, float z, int16_t event)
{
    HandleRunTool(x, z, event, ObjFoundationSlopeArrow);
}

void HandlePierTool(int32_t, int32_t, float x, float y, float z, int16_t event)
{
    PlanSettings* settings = Settings();
    if (!settings || event != kToolRelease)
        return;
    PlanFloor* storey = activeDocument->currentFloor;
    const float diameter = settings->floorToolDefaults[3];
    const float half = UnitsToPlanLength(diameter / 2.0f, settings, 0);
    if (storey) {
        const float ex = planMouseState.dragEnd[0], ez = planMouseState.dragEnd[2];
        const float ey = planMouseState.dragEnd[1];
        const Point3f corners[4] = {{ex - half, ey, ez - half}, {ex + half, ey, ez - half},
                                    {ex + half, ey, ez + half}, {ex - half, ey, ez + half}};
        const Point3f zero[4] = {};
        PlanObject* pier = CreateSurfaceFromArrays(corners, nullptr, zero, zero, nullptr, nullptr, 4, storey, 1);
        if (pier) {
            pier->type = ObjPier;
            pier->category = kCategoryFoundation;
            pier->parameters[0] = diameter;
            pendingObject = pier;
            undoAvailable = 1;
            InvalidatePlanView();
        }
    }
    (void)x;
    (void)y;
    (void)z;
    ReleaseToolCapture();
}
