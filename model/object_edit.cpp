#include "model/object_edit.h"
#include "model/object_copies.h"
#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "model/wall_openings.h"
#include "model3d/wall_rebuild.h"
#include "render3d/object_polygons.h"
#include "dialogs/common_values.h"
#include "planview/selection.h"
#include "shell/app_globals.h"
#include "shell/message_box.h"
#include "shell/selection_elevation.h"

PlanObject* groupUnderConstruction = nullptr;
uint8_t wallTerrainRefused = 0;

// Selection changes of whole objects. Without drawing the flags are set directly, so the
// result does not depend on a plan pane being there; with drawing the pane shows it.
static void ChangeSelection(PlanObject* object, uint8_t mode, uint8_t draw)
{
    if (draw && activePlanPane)
        SelectObjectAndDrawHandles(object, mode, 1);
    else
        ApplySelectionMode(object, mode);
}

// ---------------------------------------------------------------------------------
// Copies

// Returns the last copy made, or the object itself when none was made.
static PlanObject* Duplicate(PlanObject* object, uint32_t code, PlanSettings* settings)
{
    if ((object->type >= 100 && object->type <= 107) || object->type == ObjDimensionLabel)
        return object;
    uint32_t count = 1;
    float offsetX = 0.0f;
    float offsetZ = 0.0f;
    if (code == kCopySelectionCode) {
        if (!settings)
            return object;
        count = settings->duplicateCount;
        offsetX = UnitsToPlanLength(settings->duplicateOffsetX, settings, 0);
        offsetZ = UnitsToPlanLength(settings->duplicateOffsetZ, settings, 0);
    }
    PlanObject* current = object;
    for (uint32_t i = 0; i < count; ++i) {
        PlanObject* copy = CreateObjectFromTemplate(current, nullptr, nullptr, offsetX, offsetZ, 1, code);
        if (!copy)
            continue;
        RebuildByType(copy);
        if (code != kCopySelectionCode)
            ChangeSelection(copy, kSelectDeselect, 0);
        current = copy;
    }
    return current;
}

// ---------------------------------------------------------------------------------
// Grouping

static void AddToGroup(PlanObject* object)
{
    if (!object->floor)
        return;
    if (!groupUnderConstruction) {
        const ColourTriple unset = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
        const ColourTriple black = {0, 0, 0};
        PlanObject* group = CreateObject(ObjGroup, 0, 0, &unset, &black, 0.0f, 6, 0, nullptr, nullptr,
                                         nullptr, nullptr, object->floor, nullptr);
        if (group && activeDocument->settings) {
            group->category = activeDocument->settings->activeCategory;
            AttachObjectToFloor(group, object->floor);
        }
        if (group) {
            ResetExtentRect(group->box2D);
            ResetExtentBox(group->box3D);
        }
        groupUnderConstruction = group;
    }
    PlanObject* group = groupUnderConstruction;
    if (!group)
        return;
    AddObjectToCurrentGroup(object);
    // The group is measured by its members, so its box follows each new one: it grows by
    // the member alone, which keeps grouping linear in the selection.
    if (object->owner == group) {
        AddObjectVertexExtents2D(object, 0, group->box2D, 0, 0);
        AddObjectVertexExtents3D(object, 0, group->box3D, 0);
    }
}

// ---------------------------------------------------------------------------------
// Moves between floors

static PlanFloor* LastShownFloor()
{
    PlanFloor* found = nullptr;
    for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next)
        if (floor->shown)
            found = floor;
    return found;
}

static PlanFloor* FirstShownFloor()
{
    for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next)
        if (floor->shown)
            return floor;
    return nullptr;
}

static void SetTreeFloor(PlanObject* first, PlanFloor* floor)
{
    for (PlanObject* object = first; object; object = object->next) {
        object->floor = floor;
        SetTreeFloor(object->firstChild, floor);
    }
}

static void MoveToFloorHead(PlanObject* object, PlanFloor* floor)
{
    UnlinkObject(object);
    object->owner = nullptr;
    object->previous = nullptr;
    object->next = floor->firstObject;
    if (floor->firstObject)
        floor->firstObject->previous = object;
    floor->firstObject = object;
    object->floor = floor;
    SetTreeFloor(object->firstChild, floor);
}

// True when no selected object comes before this one on its floor: the walker meets it
// first, so a refusal is told once per command.
static bool IsFirstSelectedOnFloor(const PlanObject* object)
{
    if (!object->floor)
        return true;
    for (PlanObject* other = object->floor->firstObject; other && other != object; other = other->next)
        if (IsAnyPointSelected(other))
            return false;
    return true;
}

static bool RefuseWithoutAdjacentStorey(PlanObject* object, uint32_t code)
{
    if (FindAdjacentStorey(code))
        return false;
    if (activeDocument->settings && activeDocument->currentFloor && IsFirstSelectedOnFloor(object))
        ShowMessageBox(nullptr, NoAdjacentStoreyMessage(code), applicationTitle,
                       MB_ICONINFORMATION | MB_TASKMODAL);
    return true;
}

// Returns the object that ends up on the other storey, or null.
static PlanObject* MoveOrCopyToAdjacentStorey(PlanObject* object, uint32_t code)
{
    if (RefuseWithoutAdjacentStorey(object, code))
        return nullptr;
    if (code == kMoveToFloorAboveCode || code == kMoveToFloorBelowCode) {
        if (!MoveObjectToAdjacentFloor(object, code))
            return nullptr;
        RebuildObject3D(object);
        return object;
    }
    PlanObject* copy = CreateObjectFromTemplate(object, nullptr, nullptr, 0.0f, 0.0f, 1, kCopySelectionCode);
    if (!copy)
        return nullptr;
    RebuildByType(copy);
    ChangeSelection(object, kSelectDeselect, 0);
    ChangeSelection(copy, kSelectSelect, 0);
    const uint32_t moveCode = code == kCopyToFloorAboveCode ? kMoveToFloorAboveCode : kMoveToFloorBelowCode;
    if (MoveObjectToAdjacentFloor(copy, moveCode))
        RebuildObject3D(copy);
    return copy;
}

// ---------------------------------------------------------------------------------
// Elevation

static bool AreOwnPointsAllSelected(const PlanObject* object)
{
    for (PlanVertex* v = object->firstVertex; v; v = v->next)
        if (!v->selected)
            return false;
    return object->firstVertex != nullptr;
}

// Walls: the selected segments take the elevation and the wall the lowest of its segments;
// openings wholly selected on a segment that is not itself selected take it too.
static bool SetWallElevation(PlanObject* wall, float elevation, PlanSettings* settings)
{
    if (AreOwnPointsAllSelected(wall))
        wall->elevation = elevation;
    PlanVertex* first = wall->firstVertex;
    PlanVertex* last = first;
    for (PlanVertex* v = first; v; v = v->next) {
        if (v->next && v->selected && v->next->selected)
            v->segmentElevation = elevation;
        last = v;
    }
    if (wall->closed && last && last != first && last->selected && first->selected)
        last->segmentElevation = elevation;
    wall->elevation = GetLowestSegmentElevation(wall);

    bool openingsChanged = false;
    for (PlanObject* child = wall->firstChild; child; child = child->next) {
        if (child->type != ObjDoor && child->type != ObjWindow && child->type != ObjWallElement)
            continue;
        if (!child->link || !AreAllPointsSelected(child))
            continue;
        OpeningRecord* record = static_cast<OpeningRecord*>(child->link);
        if (!record->startVertex || !record->endVertex)
            continue;
        if (record->startVertex->selected && record->endVertex->selected)
            continue;
        record->elevation = UnitsToPlanLength(elevation, settings, 0);
        openingsChanged = true;
    }
    return openingsChanged;
}

static void SetElevation(PlanObject* object)
{
    const float elevation = selectionElevationFeet * 12.0f;
    PlanObject* top = GetTopLevelObject(object);
    if (!top)
        return;
    PlanSettings* settings = activeDocument->settings;
    bool openingsChanged = false;
    if (top->type == ObjWall && settings)
        openingsChanged = SetWallElevation(top, elevation, settings);
    else
        top->elevation = elevation;
    top->onTerrain = 0;
    if (top->type == ObjWall) {
        if (openingsChanged) {
            RebuildWall(top);
            FitWallOpenings(top);
        }
        RebuildObject3D(top);
    } else if (top->type == ObjGroup) {
        for (PlanObject* member = top->firstChild; member; member = member->next)
            RebuildObject3D(member);
    } else {
        RebuildObject3D(top);
    }
}

// ---------------------------------------------------------------------------------

static void DropEmptyText(PlanObject* object)
{
    if (object->type != ObjTextFrame || !object->link)
        return;
    HWND editor = static_cast<HWND>(object->link);
    if (!IsWindow(editor) || SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0) != 0)
        return;
    ChangeSelection(object, kSelectDeselect, 1);
    FreeObject(object);
}

void EditObject(PlanObject* object, uint32_t code, void* argument)
{
    if (!object || !activeDocument)
        return;
    PlanSettings* settingsArgument = static_cast<PlanSettings*>(argument);
    // What is left to measure afterwards: the object, the last copy, or nothing.
    PlanObject* result = object;

    switch (code) {
    case kRemoveCutObjectCode:
        if (!HasKeptVertex(object)) {
            FreeObject(object);
            result = nullptr;
        }
        break;
    case kCountSelectedCode:
        groupNestingCount += 1;
        break;
    case kCopySelectionCode:
    case kDuplicateMirroredHCode:
    case kDuplicateMirroredVCode:
        result = Duplicate(object, code, settingsArgument);
        break;
    case kGroupSelectionCode:
        AddToGroup(object);
        break;
    case kUngroupSelectedCode:
        if (object->type == ObjGroup) {
            Ungroup(object);
            result = nullptr;
        }
        break;
    case kMoveToLastShownFloorCode:
        if (PlanFloor* floor = LastShownFloor()) {
            MoveObjectToFloor(object, floor);
            ChangeSelection(object, kSelectDeselect, 1);
        }
        break;
    case kMoveToFirstShownFloorHeadCode:
        if (PlanFloor* floor = FirstShownFloor()) {
            MoveToFloorHead(object, floor);
            ChangeSelection(object, kSelectDeselect, 1);
        }
        break;
    case kMoveToFloorAboveCode:
    case kMoveToFloorBelowCode:
    case kCopyToFloorAboveCode:
    case kCopyToFloorBelowCode:
        result = MoveOrCopyToAdjacentStorey(object, code);
        break;
    case kDeleteSelectedObjectCode:
        if (!HasKeptVertex(object))
            DeleteObjectWithDependants(object);
        result = nullptr;
        break;
    case kSetElevationCode:
        SetElevation(object);
        break;
    case kFitToTerrainCode:
        if (object->type == ObjWall) {
            wallTerrainRefused = 1;
            object->onTerrain = 0;
        } else {
            object->onTerrain = 1;
        }
        RebuildObject3D(object);
        break;
    case kDropEmptyTextCode:
        DropEmptyText(object);
        result = nullptr;
        break;
    case kMergeSelectedPointValuesCode:
        MergeSelectedPointValuesInto(settingsArgument, object);
        break;
    default:
        if (code >= kSetCategoryFoundationCode && code <= kSetCategoryGardenCode)
            object->category = 1u << (code - kSetCategoryFoundationCode);
        break;
    }

    const bool measuresGroup = code == kCopySelectionCode || code == kDuplicateMirroredHCode ||
                               code == kDuplicateMirroredVCode || code == kGroupSelectionCode ||
                               (code >= kMoveToFloorAboveCode && code <= kCopyToFloorBelowCode);
    if (measuresGroup && result && result->type == ObjGroup)
        UpdateObjectExtentsFiltered(result, 0, 0);
}
