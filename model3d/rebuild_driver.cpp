#include "model3d/rebuild_driver.h"
#include "model3d/object_faces.h"
#include "model3d/rebuild_wait_cursor.h"
#include "model3d/roof_framing.h"
#include "model3d/scene_polygons.h"
#include "model3d/wall_framing.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/texture_coords.h"
#include "render3d/ground_height_grid.h"
#include "render3d/interactive_view.h"
#include "render3d/scene_upkeep.h"
#include "render3d/selvith_window.h"
#include "render3d/shaded_polygons.h"
#include "shell/status_bar.h"

namespace {

constexpr uint16_t kTypeLibraryObject = 15;

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

// The framing view builds structure only.
bool IsFramedType(uint16_t type)
{
    switch (type) {
    case 12: case 13: case 14: case 38: case 48: case 51: case 57: case 127:
        return true;
    default:
        return false;
    }
}

// 3D symbols of electrical, plumbing and heating fixtures: built from their parts.
bool IsFixtureSymbol(uint16_t type)
{
    switch (type) {
    case 68: case 69: case 71: case 72: case 79: case 80: case 81: case 82: case 88: case 98:
    case 110:
        return true;
    default:
        return false;
    }
}

PlanObject* FirstGeneratedChild(PlanObject* object)
{
    return static_cast<PlanObject*>(object->link);
}

// Faces of the object under a temporary type code; the polygons keep the code as their
// source type, which tells the renderers what surface they are.
void BuildAsType(PlanObject* object, uint16_t code)
{
    uint16_t type = object->type;
    object->type = code;
    BuildObjectFaces(object);
    object->type = type;
}

void BuildGeneratedChildren(PlanObject* object)
{
    for (PlanObject* child = FirstGeneratedChild(object); child; child = child->next) {
        buildChild = child;
        BuildObjectFaces(child);
    }
}

// Subtracts the offset from the height of every vertex of the object.
void LowerVertices(PlanObject* object, float offset)
{
    for (PlanVertex* v = object->firstVertex; v; v = v->next)
        v->position[1] -= offset;
}

// A group of library objects on the terrain rests on the ground at its centre. Where
// the grid has no ground it stays where it is: its stored vertices would otherwise be
// pushed out of sight and saved so.
void SettleGroupOnTerrain(PlanObject* group)
{
    PlanObject* first = group->firstChild;
    if (!first || first->type != kTypeLibraryObject || !group->onTerrain)
        return;
    float x = (group->box3D[1] + group->box3D[4]) / 2.0f;
    float z = (group->box3D[2] + group->box3D[5]) / 2.0f;
    float ground = GetTerrainHeightAt(x, z, 0);
    if (!(ground < kNoGroundHeight))
        return;
    float offset = group->box3D[3] - ground;
    for (PlanObject* child = group->firstChild; child; child = child->next)
        LowerVertices(child, offset);
    // The box follows, so that the next rebuild finds the group already settled.
    group->box3D[0] -= offset;
    group->box3D[3] -= offset;
}

void BuildWallGroup(PlanObject* wall, bool framing)
{
    if (wall->vertexCount > 2 && wall->colourM[0] == 0) {
        uint8_t closed = wall->closed;
        PlanObject* host = wall->host;
        wall->buildFlag = 1;
        wall->closed = 1;
        wall->host = nullptr;
        ComputeProjectionExtents(wall);
        ComputeMeshTextureCoords(wall);
        BuildAsType(wall, kSceneFloorUnderWalls);
        if (!framing && wall->floor)
            BuildAsType(wall, kSceneCeilingUnderWalls);
        wall->closed = closed;
        wall->host = host;
        wall->buildFlag = 0;
    }
    for (PlanObject* mesh = FirstGeneratedChild(wall); mesh; mesh = mesh->next) {
        mesh->needsRebuild = 1;
        BuildObjectFaces(mesh);
    }
    if (framing) {
        BuildWallFraming(wall);
        return;
    }
    for (PlanObject* child = wall->firstChild; child; child = child->next) {
        buildChild = child;
        if (child->type == ObjWallElement) {
            for (PlanObject* part = child->firstPart; part; part = part->next) {
                part->needsRebuild = 1;
                BuildObjectFaces(part);
            }
        } else if (child->type == ObjDoor || child->type == ObjWindow) {
            const OpeningRecord* record = static_cast<const OpeningRecord*>(child->link);
            for (PlanObject* part = record ? record->parts : nullptr; part; part = part->next) {
                part->needsRebuild = 1;
                BuildObjectFaces(part);
            }
        }
    }
    buildChild = wall;
}

// A fence on the terrain: each piece is first moved so that its first vertex lies on
// the ground (pieces where the grid has no ground stay).
void BuildFence(PlanObject* fence)
{
    for (PlanObject* child = FirstGeneratedChild(fence); child; child = child->next) {
        buildChild = child;
        const PlanVertex* first = child->firstVertex;
        if (fence->onTerrain && first) {
            float ground = GetTerrainHeightAt(first->position[0], first->position[2], 0);
            if (ground < kNoGroundHeight)
                LowerVertices(child, first->position[1] - ground);
        }
        BuildObjectFaces(child);
    }
}

void BuildDeck(PlanObject* deck, bool framing)
{
    for (PlanObject* child = FirstGeneratedChild(deck); child; child = child->next) {
        if (framing && child->type == ObjDeckPart)
            continue;
        buildChild = child;
        BuildObjectFaces(child);
    }
    buildChild = deck;
    BuildObjectFaces(deck);
}

void BuildByType(PlanObject* object, bool framing)
{
    switch (object->type) {
    case ObjWall:
        BuildWallGroup(object, framing);
        break;
    case ObjFloorSlab:
        if (!framing)
            BuildAsType(object, kSceneSlabUnderside);
        BuildObjectFaces(object);
        if (object->parameters[2] > 0.0f)
            BuildGeneratedChildren(object);
        break;
    case ObjRoof:
        if (framing)
            BuildRoofFraming(object);
        else
            BuildGeneratedChildren(object);
        break;
    case ObjPath: case ObjPicketFence: case ObjStair: case ObjRailing: case ObjFreehandRoof:
    case ObjImage:
        BuildGeneratedChildren(object);
        break;
    case ObjFence:
        BuildFence(object);
        break;
    case ObjFloorOpening:
        BuildAsType(object, kSceneFloorOpeningHole);
        BuildObjectFaces(object);
        if (object->parameters[2] > 0.0f)
            BuildGeneratedChildren(object);
        break;
    case ObjDeck:
        BuildDeck(object, framing);
        break;
    default:
        if (IsFixtureSymbol(object->type)) {
            for (PlanObject* part = object->firstPart; part; part = part->next) {
                part->needsRebuild = 1;
                BuildObjectFaces(part);
            }
        } else {
            BuildObjectFaces(object);
        }
        break;
    }
}

int wholeRebuildHolds = 0;
bool wholeRebuildAsked = false;
// The wait cursor shown from a held walk's first rebuild to the walk's end.
RebuildWaitCursor* walkWaitCursor = nullptr;

} // namespace

bool WholeRebuildPending()
{
    return wholeRebuildHolds > 0 && wholeRebuildAsked && selvithWindow && IsWindowVisible(selvithWindow);
}

WholeRebuildsHeld::WholeRebuildsHeld()
{
    ++wholeRebuildHolds;
}

WholeRebuildsHeld::~WholeRebuildsHeld()
{
    if (--wholeRebuildHolds > 0)
        return;
    if (wholeRebuildAsked) {
        wholeRebuildAsked = false;
        RebuildAll3D();
    }
    delete walkWaitCursor;
    walkWaitCursor = nullptr;
}

void ShowWaitCursorForWalk()
{
    if (wholeRebuildHolds > 0 && !walkWaitCursor)
        walkWaitCursor = new RebuildWaitCursor();
}

void RebuildAll3D()
{
    if (wholeRebuildHolds > 0) {
        wholeRebuildAsked = true;
        return;
    }
    NoteSceneChange();
    if (!SceneBuildAllowed())
        return;
    FreeScenePolygons();
    ResetStatusProgress();
    ForgetDrawnColour();
    AllocGroundHeightGrid();
    FillGroundHeightGrid();
    if (activeDocument)
        for (PlanFloor* floor = FindFloorByName("First Floor"); floor; floor = floor->next)
            RebuildFloor3D(floor);
    NoteWholeSceneBuilt();
    ClearStatusBar();
}

void RebuildFloor3D(PlanFloor* floor)
{
    if (!SceneBuildAllowed() || !floor || !floor->shown)
        return;
    for (PlanObject* object = floor->firstObject; object; object = object->next) {
        RebuildObjectTree3D(object);
        ShowPreparing3DViewProgress();
    }
}

void RebuildObjectTree3D(PlanObject* object)
{
    if (!object)
        return;
    BuildObject3D(object);
    for (PlanObject* child = object->firstChild; child; child = child->next)
        RebuildObjectTree3D(child);
}

void BuildObject3D(PlanObject* object)
{
    NoteSceneChange();
    // A terrain object made or made again (a redo) changes whether the plan has ground.
    if (IsTerrainObject(object))
        ForgetTerrainAnswer();
    if (!SceneBuildAllowed())
        return;
    PlanSettings* settings = Settings();
    if (!settings || !object)
        return;
    if (object->type == ObjGroup) {
        SettleGroupOnTerrain(object);
        return;
    }
    // A whole rebuild is owed at the end of the walk: it builds this object anew.
    if (WholeRebuildPending())
        return;
    buildObject = object;
    buildChild = object;
    const bool framing = settings->framingStyle != 0;
    if (framing && !IsFramedType(object->type)) {
        buildObject = nullptr;
        buildChild = nullptr;
        return;
    }
    BuildByType(object, framing);
    DeleteSceneDisplayList();
    buildObject = nullptr;
    buildChild = nullptr;
}
