#include "render3d/ground_height_grid.h"
#include "model3d/outline_tessellation.h"
#include "model3d/scene_drawing.h"
#include "model3d/scene_polygons.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plane_geometry.h"
#include "model/view_projection.h"
#include "render3d/high_quality_render.h"
#include "render3d/interactive_view.h"
#include "render3d/scene_upkeep.h"
#include <math.h>
#include <stdlib.h>

float* groundGrid = nullptr;
int32_t groundGridRows = 0;
int32_t groundGridColumns = 0;
uint32_t groundGridGeneration = 0;
uint8_t hasTerrainObjects = 0;

namespace {

constexpr float kCellSize = 72.0f;
// Far beyond any site (a square of 1000 cells is 72000 plan units across); it keeps a
// damaged extent from asking for a huge block.
constexpr int64_t kMaxGridPoints = 1001 * 1001;
constexpr float kDegreesToRadians = 0.017453292519943295f;
constexpr float kPlaneHeightLimit = 10000.0f;

// The kept answer of PlanHasTerrainObjects, -1 when it must be walked for, and what it
// was walked for.
int keptTerrainAnswer = -1;
const PlanDocument* keptForDocument = nullptr;
const float* keptForGrid = nullptr;

void FreeGrid()
{
    free(groundGrid);
    groundGrid = nullptr;
    groundGridRows = 0;
    groundGridColumns = 0;
}

// Whole cells between the two extents; -1 when they are not finite or less than one
// cell apart.
int64_t CellsBetween(float minimum, float maximum)
{
    float span = maximum - minimum;
    if (!isfinite(span) || !(span >= kCellSize) || span > (float)kMaxGridPoints * kCellSize)
        return -1;
    return (int64_t)span / 72;
}

float GridX(int32_t column)
{
    return activeDocument->settings->extentLeft + kCellSize * (float)column;
}

float GridZ(int32_t row)
{
    return activeDocument->settings->extentTop + kCellSize * (float)row;
}

template <typename Height>
void AddToEveryPoint(Height height)
{
    for (int32_t i = 0; i <= groundGridRows; ++i)
        for (int32_t j = 0; j <= groundGridColumns; ++j)
            groundGrid[i * (groundGridColumns + 1) + j] += height(GridX(j), GridZ(i));
}

void AddTopography(PlanObject* object)
{
    int32_t count = (int32_t)object->vertexCount;
    MeshVertex* outline = BuildPathVertices(object->firstVertex, &count);
    if (!outline)
        return;
    float step = object->size;
    AddToEveryPoint([&](float x, float z) {
        return IsPointInOutline(x, z, outline, count) ? step : 0.0f;
    });
    FreeVertexList(outline);
}

void AddSlope(PlanObject* object)
{
    const PlanVertex* first = object->firstVertex;
    const PlanVertex* second = first ? first->next : nullptr;
    if (!second)
        return;
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
    AddToEveryPoint([=](float x, float z) {
        float h = SolvePlaneForZ(x, z, a, b, c, d);
        return h > -kPlaneHeightLimit && h < kPlaneHeightLimit ? h : 0.0f;
    });
}

} // namespace

void SwapGroundGrid(GroundGridHold* hold)
{
    GroundGridHold current = {groundGrid, groundGridRows, groundGridColumns};
    groundGrid = hold->grid;
    groundGridRows = hold->rows;
    groundGridColumns = hold->columns;
    *hold = current;
    ForgetTerrainAnswer();
    ++groundGridGeneration;
    ++sceneGeneration;
}

void FreeGroundGridHold(GroundGridHold* hold)
{
    free(hold->grid);
    *hold = {nullptr, 0, 0};
}

void AllocGroundHeightGrid()
{
    NoteSceneChange();
    ForgetTerrainAnswer();
    ++sceneGeneration;
    ++groundGridGeneration;
    if (!SceneBuildAllowed())
        return;
    FreeGrid();
    if (!activeDocument || !activeDocument->settings)
        return;
    const PlanSettings* settings = activeDocument->settings;
    int64_t rows = CellsBetween(settings->extentTop, settings->extentBottom);
    int64_t columns = CellsBetween(settings->extentLeft, settings->extentRight);
    if (rows < 1 || columns < 1 || (rows + 1) * (columns + 1) > kMaxGridPoints)
        return;
    groundGrid = static_cast<float*>(calloc((size_t)((rows + 1) * (columns + 1)), sizeof(float)));
    if (!groundGrid)
        return;
    groundGridRows = (int32_t)rows;
    groundGridColumns = (int32_t)columns;
}

void FillGroundHeightGrid()
{
    if (!SceneBuildAllowed())
        return;
    if (!activeDocument || !activeDocument->settings || !groundGrid || groundGridRows < 1 ||
        groundGridColumns < 1)
        return;
    ++groundGridGeneration;
    RestartButtonPolling();
    for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next) {
        for (PlanObject* object = floor->firstObject; object; object = object->next) {
            if (!sceneChanged && StopButtonPolled()) {
                renderAborted = 1;
                return;
            }
            if (object->type == ObjTopography)
                AddTopography(object);
            else if (object->type == ObjSlope)
                AddSlope(object);
        }
    }
}

int IsPointInOutline(float x, float z, const MeshVertex* vertices, int32_t count)
{
    if (!vertices || count < 1)
        return 0;
    int crossings = 0;
    for (int32_t k = 1; k <= count; ++k) {
        const MeshVertex& a = vertices[k - 1];
        const MeshVertex& b = vertices[k == count ? 0 : k];
        float lowZ = a.z < b.z ? a.z : b.z;
        float highZ = a.z < b.z ? b.z : a.z;
        float highX = a.x < b.x ? b.x : a.x;
        if (!(z > lowZ && z <= highZ) || a.z == b.z || x > highX)
            continue;
        if (a.x == b.x || x <= a.x + (z - a.z) * (b.x - a.x) / (b.z - a.z))
            ++crossings;
    }
    return crossings & 1;
}

bool DocumentHasTerrainObjects()
{
    hasTerrainObjects = 0;
    if (!groundGrid || !activeDocument)
        return false;
    for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next)
        for (PlanObject* object = floor->firstObject; object; object = object->next)
            if (object->type == ObjTopography || object->type == ObjSlope) {
                hasTerrainObjects = 1;
                return true;
            }
    return false;
}

bool PlanHasTerrainObjects()
{
    if (keptTerrainAnswer < 0 || keptForDocument != activeDocument || keptForGrid != groundGrid) {
        keptTerrainAnswer = DocumentHasTerrainObjects() ? 1 : 0;
        keptForDocument = activeDocument;
        keptForGrid = groundGrid;
    }
    hasTerrainObjects = (uint8_t)keptTerrainAnswer;
    return keptTerrainAnswer == 1;
}

void ForgetTerrainAnswer()
{
    keptTerrainAnswer = -1;
}

bool IsTerrainObject(const PlanObject* object)
{
    if (!object)
        return false;
    if (object->type == ObjTopography || object->type == ObjSlope)
        return true;
    if (object->type == ObjGroup)
        for (const PlanObject* member = object->firstChild; member; member = member->next)
            if (IsTerrainObject(member))
                return true;
    return false;
}
