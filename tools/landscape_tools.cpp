#include "tools/landscape_tools.h"
#include <cmath>
#include "files/symbol_library.h"
#include "model/generated_children.h"
#include "model/object_copies.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/texture_coords.h"
#include "model/units.h"
#include "model3d/array_objects.h"
#include "model3d/fences.h"
#include "model3d/rebuild_driver.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "render3d/object_polygons.h"
#include "render3d/scene_upkeep.h"
#include "shell/app_globals.h"
#include "shell/camera_presets.h"
#include "shell/message_box.h"
#include "tools/door_tool.h"
#include "tools/drawing_elements.h"
#include "tools/placement_drag.h"
#include "tools/plan_mouse_state.h"
#include "tools/shape_tools.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include "tools/undo.h"

namespace {

const double kPi = 3.14159265358979323846;
const double kDegreesPerRadian = 57.29577951308232;
const double kRadiansPerDegree = 0.017453292519943295;
const uint32_t kGardenCategory = 128;
const ColourTriple kUnset = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
const uint32_t kPlotTexture = 1151;
const uint32_t kPlotFaceTexture = 1150;
const uint32_t kFillZoneFaceTexture = 1115;
const uint16_t kPlotType = 21;
const uint16_t kFillZoneType = 27;
const uint16_t kFillType = 26;
const uint16_t kFenceOutlineType = 9;
const uint16_t kGateStartKind = 6;
const float kArrowStroke = 150.0f;
const double kArrowSpread = 30.0;

const char kGateOffSectionItalian[] =
    "Cliccare e trascinare su una sezione di steccato per inserire questo cancello.";
const char kGateOffSectionEnglish[] =
    "Please click-and-drag on the bottom base of a fence section to place the gate.";
const char kGateExists[] =
    "Esiste già un cancello su questa sezione dello steccato. Cliccare e trascinare  su "
    "un'altra sezione dello steccato per aggiungere il cancello.";
const char kGateTooWide[] =
    "La sezione dello steccato non è abbastanza ampia per questo cancello. Cliccare e "
    "trascinare su una sezione più ampia di steccato per inserire questo cancello.";

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

// How an outline tool finishes its object.
struct OutlineLook {
    uint16_t type;
    uint8_t needsArea;          // a closed outline of fewer than 3 corners makes nothing
    float raise;                // vertices raised by this much (y grows downward)
    bool faceTextures;          // the table gives per-vertex textures
    uint32_t faceTexture;
};

// Every vertex: the face textures of the look, unset face colours, raised.
void DressVertices(PlanObject* object, const OutlineLook& look)
{
    for (PlanVertex* vertex = object->firstVertex; vertex; vertex = vertex->next) {
        if (look.faceTextures) {
            vertex->faceTextureA = look.faceTexture;
            vertex->faceTextureB = look.faceTexture;
            vertex->faceColourA = kUnset;
            vertex->faceColourB = kUnset;
        }
        vertex->position[1] -= look.raise;
    }
}

// An outline the gesture handed back but that cannot be an area goes again; nothing is
// left to undo.
void DiscardOutline(PlanObject* outline)
{
    if (pendingObject == outline) {
        pendingObject = nullptr;
        undoAvailable = 0;
    }
    FreeObject(outline);
    InvalidatePlanView();
}

// The common start of an outline tool's object; null when the gesture gave none or the
// outline cannot hold the object.
PlanObject* TakeOutline(PlanObject* outline, const OutlineLook& look)
{
    if (!outline)
        return nullptr;
    if (look.needsArea && CountVertexChain(outline) < 3) {
        DiscardOutline(outline);
        return nullptr;
    }
    outline->type = look.type;
    outline->category = kGardenCategory;
    DressVertices(outline, look);
    UpdateObjectExtents(outline);
    return outline;
}

void FinishObject(PlanObject* object)
{
    BuildObject3D(object);
    pendingObject = object;
    undoAvailable = 1;
    InvalidatePlanView();
}

// The ground materials of fills and paths: the texture of the settings, colours unset.
void SetGroundMaterial(PlanObject* object, uint16_t texture)
{
    object->styleOrTexture = texture;
    object->colourA = kUnset;
    object->colourB = kUnset;
    object->onTerrain = 1;
    object->value2 = 0;
}

void Tell(const char* text)
{
    ShowMessageBox(frameWindow, text, applicationTitle, MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
}

void TellOffSection()
{
    Tell(GetCameraPresetCommand() == ViewTop ? kGateOffSectionItalian : kGateOffSectionEnglish);
}

// The direction from s to e in steps of 15 degrees, the length kept.
void SnapDirection(const float* s, float* e)
{
    float distance = 0.0f;
    const float angle = AngleBetweenPoints(s[0], s[2], e[0], e[2], &distance);
    const int32_t steps = static_cast<int32_t>(angle * kDegreesPerRadian / 15.0 + 0.5);
    float dx = 0.0f, dz = 0.0f;
    OffsetPointPolar(static_cast<float>(steps * 15.0 * kRadiansPerDegree), distance, &dx, &dz);
    e[0] = s[0] + dx;
    e[2] = s[2] + dz;
}

// The sloped plot's arrow: from e back to s, its head at e.
void DrawSlopeArrow(HDC dc, const float* s, const float* e)
{
    DrawWorldLine(dc, e[0], 0.0f, e[2], s[0], 0.0f, s[2], 0);
    float distance = 0.0f;
    const double back = AngleBetweenPoints(e[0], e[2], s[0], s[2], &distance);
    for (double spread : {kArrowSpread, -kArrowSpread}) {
        float dx = 0.0f, dz = 0.0f;
        OffsetPointPolar(static_cast<float>(back + spread * kRadiansPerDegree), kArrowStroke, &dx, &dz);
        DrawWorldLine(dc, e[0], 0.0f, e[2], e[0] + dx, 0.0f, e[2] + dz, 0);
    }
}

// The plan keeps one sloped plot: the first found on any floor goes, and its slope
// value is the new one's.
float TakeOverSlope(PlanDocument* document, float slope)
{
    for (PlanFloor* floor = document->firstFloor; floor; floor = floor->next) {
        for (PlanObject* object = floor->firstObject; object; object = object->next) {
            if (object->type != ObjSlope)
                continue;
            if (object->firstVertex)
                slope = object->firstVertex->mainHeight;
            if (pendingObject == object) {
                pendingObject = nullptr;
                undoAvailable = 0;
            }
            FreeObject(object);
            return slope;
        }
    }
    return slope;
}

PlanObject* MakeSlopedPlot(PlanDocument* document, const float* s, const float* e)
{
    const float slope = TakeOverSlope(document, document->settings->slopeDefault);
    const Point3f points[2] = {{s[0], s[1], s[2]}, {e[0], e[1], e[2]}};
    const Point3f zero[2] = {};
    PlanObject* plot = BuildObjectFromArrays(points, nullptr, zero, zero, nullptr, nullptr, 2,
                                             document->currentFloor, 1, ObjSlope, 0, 1);
    if (!plot)
        return nullptr;
    plot->category = kGardenCategory;
    for (PlanVertex* vertex = plot->firstVertex; vertex; vertex = vertex->next)
        vertex->mainHeight = slope;
    return plot;
}

// The two gate ends (x, z) on the section from the press: the section drag of openings.
bool DragGateEnds(const PlanMouseState* hit, float width, float* first, float* second)
{
    float low = 0.0f, high = 0.0f;
    const float span = GetWallSectionSpan(0.0f, 0.0f, hit->vertexA, hit->vertexB, &low, &high);
    const float parameters[3] = {width, 0.0f, 0.0f};
    DrawOpeningPreviewXor(hit->object, hit->vertexA, hit->vertexB, parameters, span, low, high,
                          planMouseState.dragStart[0], planMouseState.dragStart[2], first, second,
                          0, 0, ObjPicketFence, nullptr, nullptr, 0);
    return true;
}

PlanVertex* NewGateVertex(uint16_t kind, const float* end, float height, const PlanVertex* look,
                          PlanObject* fence)
{
    PlanVertex* vertex = NewVertexNode(kind, 0, 0, 0.0f, 0.0f, 0.0f, end[0], height, end[1], 0.0f,
                                       0.0f, 0.0f, 0.0f, 0.0f, 0.0f, fence);
    if (vertex && look) {
        vertex->faceTextureA = look->faceTextureA;
        vertex->faceTextureB = look->faceTextureB;
        vertex->faceColourA = look->faceColourA;
        vertex->faceColourB = look->faceColourB;
    }
    return vertex;
}

// The plan pane's area of the new gate, grown by 5 pixels.
void InvalidateGateArea(const PlanVertex* start, const PlanVertex* end)
{
    HDC dc = activePlanPane ? GetDC(activePlanPane) : nullptr;
    if (!dc)
        return;
    POINT corners[2] = {ProjectToPane(start->position), ProjectToPane(end->position)};
    LPtoDP(dc, corners, 2);
    ReleaseDC(activePlanPane, dc);
    RECT rect = {corners[0].x < corners[1].x ? corners[0].x : corners[1].x,
                 corners[0].y < corners[1].y ? corners[0].y : corners[1].y,
                 corners[0].x < corners[1].x ? corners[1].x : corners[0].x,
                 corners[0].y < corners[1].y ? corners[1].y : corners[0].y};
    InflateRect(&rect, 5, 5);
    InvalidateRect(activePlanPane, &rect, TRUE);
}

}  // namespace

void HandleLotTool(int32_t wx, int32_t wy, float x, float y, float z, int16_t event)
{
    PlanObject* outline = TrackPlacementDrag(wx, wy, x, y, z, event, 0, 1, 1, kPlotType);
    PlanObject* plot = TakeOutline(outline, {kPlotType, 1, 1.0f, true, kPlotFaceTexture});
    if (!plot)
        return;
    plot->colourA = kUnset;
    plot->colourB = kUnset;
    plot->styleOrTexture = kPlotTexture;
    plot->onTerrain = 1;
    ComputeProjectionExtents(plot);
    ComputeMeshTextureCoords(plot);
    FinishObject(plot);
}

void HandleFillZoneTool(int32_t wx, int32_t wy, float x, float y, float z, int16_t event)
{
    PlanSettings* settings = ActiveSettings();
    PlanObject* outline = TrackPlacementDrag(wx, wy, x, y, z, event, 0, 1, 1, kFillZoneType);
    PlanObject* zone = TakeOutline(outline, {kFillZoneType, 1, 2.0f, true, kFillZoneFaceTexture});
    if (!zone)
        return;
    SetGroundMaterial(zone, settings->fillTexture);
    ComputeProjectionExtents(zone);
    ComputeMeshTextureCoords(zone);
    FinishObject(zone);
}

void HandlePathTool(int32_t wx, int32_t wy, float x, float y, float z, int16_t event)
{
    PlanSettings* settings = ActiveSettings();
    PlanObject* outline = TrackPlacementDrag(wx, wy, x, y, z, event, 1, 0, 1, ObjPath);
    PlanObject* path = TakeOutline(outline, {ObjPath, 0, 0.0f, true, currentPathTexture});
    if (!path)
        return;
    path->size = settings->pathWidth;
    SetGroundMaterial(path, settings->pathTexture);
    RebuildPath(path);
    FinishObject(path);
}

void HandleFillTool(int32_t wx, int32_t wy, float x, float y, float z, int16_t event)
{
    PlanSettings* settings = ActiveSettings();
    PlanObject* oval = HandleOvalTool(wx, wy, x, y, z, event);
    if (!oval || !settings)
        return;
    PlanObject* fill = TakeOutline(oval, {kFillType, 0, 3.0f, true, currentFillTexture});
    SetGroundMaterial(fill, settings->fillTexture);
    FinishObject(fill);
}

void HandleFenceTool(int32_t wx, int32_t wy, float x, float y, float z, int16_t event)
{
    PlanSettings* settings = ActiveSettings();
    PlanObject* outline = TrackPlacementDrag(wx, wy, x, y, z, event, 1, 0, 1, kFenceOutlineType);
    PlanObject* fence = TakeOutline(outline, {ObjFence, 0, 0.0f, true, currentFenceTexture});
    if (!fence)
        return;
    fence->colourA = settings->fenceColour;
    fence->colourB = settings->fenceColour;
    fence->onTerrain = 1;
    RebuildFence(fence);
    FinishObject(fence);
}

void HandlePicketFenceTool(int32_t wx, int32_t wy, float x, float y, float z, int16_t event)
{
    PlanSettings* settings = ActiveSettings();
    PlanObject* outline = TrackPlacementDrag(wx, wy, x, y, z, event, 0, 0, 1, kFenceOutlineType);
    PlanObject* fence =
        TakeOutline(outline, {ObjPicketFence, 0, 0.0f, true, currentPicketFenceTexture});
    if (!fence)
        return;
    fence->colourA = settings->fenceSecondColour;
    fence->colourB = settings->fenceSecondColour;
    fence->styleOrTexture = settings->fenceStyle;
    fence->onTerrain = 1;
    RebuildPicketFence(fence);
    FinishObject(fence);
}

void HandleTopographyTool(int32_t wx, int32_t wy, float x, float y, float z, int16_t event)
{
    PlanSettings* settings = ActiveSettings();
    const uint8_t smooth = currentToolId == 7510 ? 1 : 0;
    PlanObject* outline = TrackPlacementDrag(wx, wy, x, y, z, event, smooth, 1, 1, ObjTopography);
    PlanObject* topography = TakeOutline(outline, {ObjTopography, 1, 0.0f, false, 0});
    if (!topography)
        return;
    topography->size = settings->topographyStep;
    RebuildAll3D();
    RedrawRenderWindow();
}

void HandleSlopedLotTool(int32_t, int32_t, float x, float y, float z, int16_t event)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings)
        return;
    const float* s = planMouseState.dragStart;
    float e[3] = {x, y, z};
    if (!ShiftHeld())
        SnapDirection(s, e);
    if (HDC dc = activePlanPane ? GetDC(activePlanPane) : nullptr) {
        DrawSlopeArrow(dc, s, e);
        ReleaseDC(activePlanPane, dc);
    }
    if (event != kToolRelease)
        return;
    float start[3], end[3];
    RoundPoint(s, start);
    RoundPoint(e, end);
    if (document->currentFloor &&
        (start[0] != end[0] || start[1] != end[1] || start[2] != end[2])) {
        if (PlanObject* plot = MakeSlopedPlot(document, s, e)) {
            pendingObject = plot;
            undoAvailable = 1;
            RebuildAll3D();
            RedrawRenderWindow();
            InvalidatePlanView();
        }
    }
    ReleaseToolCapture();
}

bool PlaceGateOnFence(int16_t event, const PlanMouseState* hit, uint16_t, float width)
{
    PlanSettings* settings = ActiveSettings();
    if (event != kToolPress || !settings || !hit)
        return false;
    if (!hit->hit || !hit->object || !hit->segmentHit || !hit->vertexA || !hit->vertexB ||
        hit->object->type != ObjPicketFence) {
        TellOffSection();
        return false;
    }
    PlanObject* fence = hit->object;
    fence->colourB = settings->gateColour;
    if (!fence->firstVertex || settings->viewPlane != 2)
        return false;
    if (hit->vertexA->kind == kGateStartKind) {
        Tell(kGateExists);
        return false;
    }
    if (GetWallSectionSpan(0.0f, 0.0f, hit->vertexA, hit->vertexB, nullptr, nullptr) < width) {
        Tell(kGateTooWide);
        return false;
    }
    float first[2] = {0.0f, 0.0f}, second[2] = {0.0f, 0.0f};
    DragGateEnds(hit, width, first, second);
    const PlanVertex* look = fence->firstVertex;
    PlanVertex* start = NewGateVertex(kGateStartKind, first, planMouseState.dragStart[1], look, fence);
    PlanVertex* end = NewGateVertex(hit->vertexA->kind, second, planMouseState.dragStart[1], look, fence);
    if (!start || !end) {
        ReleaseRecord(start);
        ReleaseRecord(end);
        return false;
    }
    InsertObjectPoint(start, fence, hit->vertexA);
    InsertObjectPoint(end, fence, start);
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    RebuildPicketFence(fence);
    SetCursor(previous);
    InvalidateGateArea(start, end);
    return true;
}

void HandleGateTool(float, float, float, int16_t event)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings) {
        if (event == kToolRelease)
            ReleaseToolCapture();
        return;
    }
    PlanObject* fence = planMouseState.hit ? planMouseState.object : nullptr;
    if (fence && fence->type == ObjPicketFence)
        fence->size = settings->gateWidth;
    const float width = UnitsToPlanLength(settings->gateWidth, settings, 0);
    PlanMouseState hit = planMouseState;
    if (PlaceGateOnFence(event, &hit, hit.modifiers, width))
        RebuildObject3D(fence);
    InvalidatePlanView();
    ReleaseToolCapture();
}
