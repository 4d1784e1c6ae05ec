#include "model3d/scene_polygons.h"
#include "model3d/face_triangulation.h"
#include "model3d/kept_scene_runs.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "render3d/ground_height_grid.h"
#include "render3d/selvith_window.h"
#include <math.h>
#include <stdlib.h>
#include <unordered_map>
#include <vector>

ScenePolygon* sceneMeshes = nullptr;
ScenePolygon* sceneMeshesTail = nullptr;
ScenePolygon* secondaryMeshes = nullptr;
ScenePolygon* secondaryMeshesTail = nullptr;
ScenePolygon* currentMesh = nullptr;
PlanObject* buildObject = nullptr;
PlanObject* buildChild = nullptr;
uint8_t sceneChanged = 0;
uint8_t scene3DOutOfDate = 1;

namespace {

constexpr float kDegreesToRadians = 0.017453292519943295f;
constexpr uint16_t kTypeLibraryObject = 15;
constexpr uint16_t kTypeLot = 21;
constexpr uint16_t kTypeFill = 26;
constexpr uint16_t kTypeFillZone = 27;
// A path or fill on the ground floats this far above it.
constexpr float kGroundSurfaceLift = 6.0f;
// The lot lies this far above the datum, or above its slope.
constexpr float kLotLift = 3.0f;
constexpr float kPlaneHeightLimit = 10000.0f;

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

// Object types whose polygons are drawn in the second pass.
bool IsSecondPassType(uint16_t type)
{
    switch (type) {
    case 13: case 15: case 18: case 19: case 21: case 22: case 23: case 25: case 26:
    case 27: case 36: case 38: case 39: case 40: case 42: case 43: case 44: case 45:
    case 46: case 47: case 48: case 49: case 50: case 51: case 52: case 59: case 60:
    case 111: case 127: case 128: case 131:
        return true;
    default:
        return false;
    }
}

template <typename Visit>
void ForEachSceneVertex(ScenePolygon* polygon, Visit visit)
{
    for (PolygonOutline* outline = polygon->outlines; outline; outline = outline->next)
        for (int32_t i = 0; outline->vertices && i < outline->vertexCount; ++i)
            visit(outline->vertices[i]);
}

// The polygons of sceneMeshes by build owner, in append order: an edit removes its
// object's polygons, and every part freed with the object finds it has none, without a
// walk of the whole scene.
std::unordered_map<PlanObject*, std::vector<ScenePolygon*>> ownedPolygons;
// The owner the last polygon was filed under: one build files a run under one owner.
PlanObject* lastOwner = nullptr;
std::vector<ScenePolygon*>* lastOwned = nullptr;

void FileUnderOwner(ScenePolygon* polygon)
{
    PlanObject* owner = polygon->buildOwner;
    if (!owner)
        return;
    if (owner != lastOwner || !lastOwned) {
        lastOwned = &ownedPolygons[owner];
        lastOwner = owner;
    }
    lastOwned->push_back(polygon);
}

void ForgetOwners()
{
    ownedPolygons.clear();
    lastOwner = nullptr;
    lastOwned = nullptr;
}

void UnlinkScenePolygon(ScenePolygon** head, ScenePolygon** tail, ScenePolygon* polygon)
{
    if (polygon->previous)
        polygon->previous->next = polygon->next;
    else
        *head = polygon->next;
    if (polygon->next)
        polygon->next->previous = polygon->previous;
    else
        *tail = polygon->previous;
    polygon->previous = nullptr;
    polygon->next = nullptr;
}

// The first slope object of the plan that has two vertices.
PlanObject* FindFirstSlope()
{
    for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next)
        for (PlanObject* object = floor->firstObject; object; object = object->next)
            if (object->type == ObjSlope && object->firstVertex && object->firstVertex->next)
                return object;
    return nullptr;
}

// One bilinear step of the grid lookup, along x then z and along z then x, averaged.
float InterpolateCell(const float* grid, int32_t columns, int32_t r, int32_t c, float fx, float fz)
{
    int32_t stride = columns + 1;
    float g00 = grid[r * stride + c];
    float g01 = grid[r * stride + c + 1];
    float g10 = grid[(r + 1) * stride + c];
    float g11 = grid[(r + 1) * stride + c + 1];
    float top = g00 + (g01 - g00) * fx;
    float bottom = g10 + (g11 - g10) * fx;
    float alongXThenZ = top + (bottom - top) * fz;
    float left = g00 + (g10 - g00) * fz;
    float right = g01 + (g11 - g01) * fz;
    float alongZThenX = left + (right - left) * fx;
    return (alongXThenZ + alongZThenX) * 0.5f;
}

} // namespace

bool SceneBuildAllowed()
{
    if (!selvithWindow)
        return false;
    if (!IsWindowVisible(selvithWindow)) {
        scene3DOutOfDate = 1;
        return false;
    }
    scene3DOutOfDate = 0;
    return true;
}

ScenePolygon* CreateSceneNode()
{
    ScenePolygon* polygon = static_cast<ScenePolygon*>(calloc(1, sizeof(ScenePolygon)));
    if (!polygon)
        return nullptr;
    polygon->uFactorA = polygon->vFactorA = 1.0f;
    polygon->uFactorB = polygon->vFactorB = 1.0f;
    polygon->billboardHalfWidth = 1.0f;
    polygon->billboardHeight = 1.0f;
    return polygon;
}

PolygonOutline* CreatePolygonOutline(MeshVertex* vertices, int32_t count, float a, float b, float c)
{
    if (!vertices)
        return nullptr;
    PolygonOutline* outline = static_cast<PolygonOutline*>(calloc(1, sizeof(PolygonOutline)));
    if (!outline) {
        free(vertices);
        return nullptr;
    }
    float largest = fabsf(a);
    if (fabsf(b) > largest)
        largest = fabsf(b);
    if (fabsf(c) > largest)
        largest = fabsf(c);
    if (largest >= 1.0f) {
        float scale = 0.99f / largest;
        a *= scale;
        b *= scale;
        c *= scale;
    }
    outline->vertices = vertices;
    outline->vertexCount = count;
    outline->vector[0] = a;
    outline->vector[1] = b;
    outline->vector[2] = c;
    return outline;
}

void AppendNodeFace(MeshVertex* vertices, int32_t count, float a, float b, float c,
                    ScenePolygon* polygon)
{
    if (!vertices)
        return;
    if (!polygon) {
        free(vertices);
        return;
    }
    PolygonOutline* outline = CreatePolygonOutline(vertices, count, a, b, c);
    if (!outline)
        return;
    if (!polygon->outlines) {
        polygon->outlines = outline;
        return;
    }
    PolygonOutline* tail = polygon->outlines;
    while (tail->next)
        tail = tail->next;
    tail->next = outline;
    outline->previous = tail;
}

void FreePolygonOutline(PolygonOutline* outline)
{
    if (!outline)
        return;
    free(outline->vertices);
    free(outline);
}

void FreeOutlineList(PolygonOutline* first)
{
    while (first) {
        PolygonOutline* next = first->next;
        FreePolygonOutline(first);
        first = next;
    }
}

void FreeSceneNodeList(ScenePolygon* first)
{
    while (first) {
        ScenePolygon* next = first->next;
        FreeSceneNode(first);
        first = next;
    }
}

void AppendScenePolygon(ScenePolygon** head, ScenePolygon** tail, ScenePolygon* polygon)
{
    polygon->next = nullptr;
    ScenePolygon* last = *head ? (*tail ? *tail : *head) : nullptr;
    while (last && last->next)
        last = last->next;
    polygon->previous = last;
    if (last)
        last->next = polygon;
    else
        *head = polygon;
    *tail = polygon;
}

bool FreeOwnedScenePolygons(PlanObject* owner)
{
    auto found = ownedPolygons.find(owner);
    if (found == ownedPolygons.end())
        return false;
    std::vector<ScenePolygon*> owned = std::move(found->second);
    ownedPolygons.erase(found);
    if (lastOwner == owner) {
        lastOwner = nullptr;
        lastOwned = nullptr;
    }
    for (ScenePolygon* polygon : owned) {
        LeaveKeptRun(polygon);
        UnlinkScenePolygon(&sceneMeshes, &sceneMeshesTail, polygon);
        FreeSceneNode(polygon);
    }
    return !owned.empty();
}

void FreeSceneMeshes()
{
    FreeSceneNodeList(sceneMeshes);
    sceneMeshes = nullptr;
    sceneMeshesTail = nullptr;
    ForgetOwners();
    ForgetKeptRuns();
}

struct SetAsideScene {
    ScenePolygon* head;
    ScenePolygon* tail;
    std::unordered_map<PlanObject*, std::vector<ScenePolygon*>> owned;
    KeptRunSet* runs;
    GroundGridHold grid;
};

SetAsideScene* SetSceneAside()
{
    SetAsideScene* scene = new SetAsideScene{sceneMeshes, sceneMeshesTail, std::move(ownedPolygons),
                                             TakeKeptRuns(), {}};
    SwapGroundGrid(&scene->grid);
    sceneMeshes = sceneMeshesTail = nullptr;
    ForgetOwners();
    return scene;
}

void TakeSceneBack(SetAsideScene* scene)
{
    if (!scene)
        return;
    FreeSceneMeshes();
    sceneMeshes = scene->head;
    sceneMeshesTail = scene->tail;
    ownedPolygons = std::move(scene->owned);
    GiveKeptRunsBack(scene->runs);
    SwapGroundGrid(&scene->grid);
    FreeGroundGridHold(&scene->grid);
    delete scene;
}

void FreeSetAsideScene(SetAsideScene* scene)
{
    if (!scene)
        return;
    FreeKeptRunSet(scene->runs);
    FreeSceneNodeList(scene->head);
    FreeGroundGridHold(&scene->grid);
    delete scene;
}

void FreeSceneNode(ScenePolygon* polygon)
{
    if (!polygon)
        return;
    FreeOutlineList(polygon->outlines);
    FreeSceneNodeList(polygon->openings);
    FreeSceneNodeList(polygon->parts);
    free(polygon);
}

void BuildObjectSceneNode(ScenePolygon* polygon, PlanObject* object)
{
    PlanSettings* settings = Settings();
    if (!settings || !polygon || !object)
        return;
    polygon->source = object;
    polygon->buildOwner = buildObject;
    polygon->buildChild = buildChild;
    if (buildChild)
        polygon->childType = buildChild->type;
    PlaceSceneNodeVertically(polygon, buildObject);

    if (object->type == ObjRoof)
        polygon->drawPass = object->value2 ? 2 : 1;
    else
        polygon->drawPass = IsSecondPassType(object->type) ? 2 : 1;
    if (settings->framingStyle && polygon->partKind == kPartFramingMember)
        polygon->drawPass = 2;

    if (polygon->partKind != kPartPlant && polygon->partKind != kPartImagePanel &&
        object->type != ObjRoof)
        TriangulateSceneNode(polygon);

    AppendScenePolygon(&sceneMeshes, &sceneMeshesTail, polygon);
    FileUnderOwner(polygon);
    sceneChanged = 1;
}

void AddOpeningPolygon(ScenePolygon* polygon, ScenePolygon* face)
{
    if (!polygon || !face)
        return;
    PlaceSceneNodeVertically(polygon, buildObject);
    polygon->drawPass = 2;
    AppendScenePolygon(&face->openings, &face->lastOpening, polygon);
}

void AddPartPolygon(ScenePolygon* polygon, ScenePolygon* face)
{
    if (!polygon || !face)
        return;
    PlaceSceneNodeVertically(polygon, buildObject);
    polygon->drawPass = 2;
    polygon->source = buildObject;
    polygon->buildOwner = buildObject;
    polygon->buildChild = buildChild;
    if (buildChild && buildObject)
        polygon->childType = buildObject->type;
    AppendScenePolygon(&face->parts, &face->lastPart, polygon);
}

void PlaceSceneNodeVertically(ScenePolygon* polygon, PlanObject* object)
{
    PlanSettings* settings = Settings();
    if (!settings || !polygon || !object)
        return;
    PlanObject* top = GetTopLevelObject(object);
    if (!top)
        return;
    if (polygon->sourceType == kTypeLot) {
        PlaceLotOnSlope(polygon);
        return;
    }
    if (!top->onTerrain) {
        float elevation = top->type == ObjWall ? polygon->elevation : top->elevation;
        float base = UnitsToPlanLength(elevation, settings, 0);
        ForEachSceneVertex(polygon, [base](MeshVertex& v) { v.y -= base; });
        return;
    }

    int16_t type = polygon->sourceType;
    bool keepsHeight = type == kTypeLibraryObject || type == ObjFence;
    bool floatsOnGround = type == ObjPath || type == ObjPathPart || type == kTypeFill ||
                          type == kTypeFillZone;
    if (keepsHeight)
        return;
    float base = kNoGroundHeight;
    ForEachSceneVertex(polygon, [&](MeshVertex& v) {
        float ground = GetTerrainHeightAt(v.x, v.z, 0);
        // Where the grid has no ground the vertex keeps its own height.
        if (!(ground < kNoGroundHeight))
            return;
        if (floatsOnGround)
            v.y = ground - kGroundSurfaceLift;
        else if (ground < base)
            base = ground;
    });
    if (floatsOnGround || !(base < kNoGroundHeight))
        return;
    ForEachSceneVertex(polygon, [base](MeshVertex& v) { v.y += base; });
}

void PlaceLotOnSlope(ScenePolygon* polygon)
{
    if (!polygon || !activeDocument)
        return;
    PlanObject* slope = FindFirstSlope();
    if (!slope) {
        ForEachSceneVertex(polygon, [](MeshVertex& v) { v.y = -kLotLift; });
        return;
    }
    const PlanVertex* first = slope->firstVertex;
    const PlanVertex* second = first->next;
    float x0 = first->position[0];
    float z0 = first->position[2];
    float distance = 0.0f;
    float angle = AngleBetweenPoints(x0, z0, second->position[0], second->position[2], &distance);
    float rise = -1000.0f * tanf(first->mainHeight * kDegreesToRadians);
    float dx1, dz1, dx2, dz2;
    OffsetPointPolar(angle, 1000.0f, &dx1, &dz1);
    OffsetPointPolar(angle + static_cast<float>(M_PI_2), 1000.0f, &dx2, &dz2);
    float a, b, c, d;
    ComputePlaneFromPoints(x0, z0, 0.0f, x0 + dx1, z0 + dz1, rise, x0 + dx2, z0 + dz2, 0.0f, &a,
                           &b, &c, &d);
    ForEachSceneVertex(polygon, [=](MeshVertex& v) {
        float h = SolvePlaneForZ(v.x, v.z, a, b, c, d);
        if (h > -kPlaneHeightLimit && h < kPlaneHeightLimit)
            v.y = -(h + kLotLift);
    });
}

float GetTerrainHeightAt(float x, float z, int)
{
    if (!activeDocument)
        return kNoGroundHeight;
    PlanSettings* settings = activeDocument->settings;
    if (!settings || !PlanHasTerrainObjects())
        return 0.0f;
    const float* grid = groundGrid;
    int32_t rows = groundGridRows;
    int32_t columns = groundGridColumns;
    if (!grid || rows < 1 || columns < 1)
        return 0.0f;
    const float rowOrigin = settings->extentTop;
    const float columnOrigin = settings->extentLeft;
    if (!(x == x) || !(z == z))
        return kNoGroundHeight;

    // Rows are scanned in order and a later matching row overrides an earlier one; in a
    // row the first matching column is its cell. Only the rows and columns around the
    // point can match, so the scan is limited to them.
    float value = -10000.0f;
    float rowEstimate = floorf((z - rowOrigin) / 72.0f);
    float columnEstimate = floorf((x - columnOrigin) / 72.0f);
    if (rowEstimate < -2.0f || rowEstimate > (float)rows + 2.0f || columnEstimate < -2.0f ||
        columnEstimate > (float)columns + 2.0f)
        return kNoGroundHeight;
    int32_t firstRow = (int32_t)rowEstimate - 1 < 0 ? 0 : (int32_t)rowEstimate - 1;
    int32_t lastRow = (int32_t)rowEstimate + 1 > rows ? rows : (int32_t)rowEstimate + 1;
    int32_t firstColumn = (int32_t)columnEstimate - 1 < 0 ? 0 : (int32_t)columnEstimate - 1;
    int32_t lastColumn = (int32_t)columnEstimate + 1 > columns ? columns : (int32_t)columnEstimate + 1;
    for (int32_t r = firstRow; r <= lastRow; ++r) {
        float z0 = rowOrigin + 72.0f * (float)r;
        if (!(z0 <= z && z <= z0 + 72.0f))
            continue;
        for (int32_t c = firstColumn; c <= lastColumn; ++c) {
            float x0 = columnOrigin + 72.0f * (float)c;
            if (!(x0 <= x && x <= x0 + 72.0f))
                continue;
            float stored = grid[r * (columns + 1) + c];
            if (c < columns && r < rows)
                value = InterpolateCell(grid, columns, r, c, (x - x0) / 72.0f, (z - z0) / 72.0f);
            else if (stored > value)
                value = stored;
            break;
        }
    }
    return -value;
}
