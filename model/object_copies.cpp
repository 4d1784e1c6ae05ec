#include "model/object_copies.h"
#include "model/generated_children.h"
#include "model/object_edit.h"
#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/texture_coords.h"
#include "model/units.h"
#include "model/wall_openings.h"
#include "model3d/rebuild_driver.h"
#include "model3d/wall_rebuild.h"
#include "render3d/object_polygons.h"
#include "dialogs/plant_info.h"
#include "planview/plan_background.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "shell/app_globals.h"
#include "shell/message_box.h"
#include "tools/text_editing.h"
#include <math.h>
#include <string.h>
#include <vector>

float mirrorPoint[2] = {0.0f, 0.0f};

static const float kPi = 3.14159265358979323846f;

static PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

static PlanVertex* LastVertexOf(const PlanObject* object)
{
    PlanVertex* v = object->firstVertex;
    while (v && v->next)
        v = v->next;
    return v;
}

static uint32_t ChainLength(const PlanObject* object)
{
    uint32_t n = 0;
    for (PlanVertex* v = object->firstVertex; v; v = v->next)
        ++n;
    return n;
}

static void SetTreeFloor(PlanObject* first, PlanFloor* floor)
{
    for (PlanObject* object = first; object; object = object->next) {
        object->floor = floor;
        SetTreeFloor(object->firstChild, floor);
    }
}

static void DeselectWithoutDrawing(PlanObject* object)
{
    SetAllPointsSelected(object, 0);
}

// ---------------------------------------------------------------------------------
// Copies

void CopyObjectLink(PlanObject* source, PlanObject* copy);

// Places the copy after the previous sibling, first among the parent's children, or at
// the end of the source's floor.
static void LinkCopy(PlanObject* copy, PlanObject* source, PlanObject* parent,
                     PlanObject* previousSibling, uint8_t attach)
{
    if (previousSibling) {
        copy->owner = previousSibling->owner;
        copy->floor = previousSibling->floor;
        copy->previous = previousSibling;
        copy->next = previousSibling->next;
        if (previousSibling->next)
            previousSibling->next->previous = copy;
        previousSibling->next = copy;
    } else if (parent) {
        copy->owner = parent;
        copy->floor = parent->floor;
        copy->previous = nullptr;
        copy->next = parent->firstChild;
        if (parent->firstChild)
            parent->firstChild->previous = copy;
        parent->firstChild = copy;
    } else if (attach && source->floor) {
        AttachObjectToFloor(copy, source->floor);
    }
}

PlanObject* CreateObjectFromTemplate(PlanObject* source, PlanObject* parent,
                                     PlanObject* previousSibling, float offsetX, float offsetZ,
                                     uint8_t attach, uint32_t code)
{
    if (!source)
        return nullptr;
    float box[4];
    memcpy(box, source->box2D, sizeof(box));
    box[kRectMinY] += offsetZ;
    box[kRectMaxY] += offsetZ;
    box[kRectMinX] += offsetX;
    box[kRectMaxX] += offsetX;
    PlanObject* copy = CreateObject(source->type, source->closed, source->creationFlag,
                                    &source->colourA, &source->colourB, source->size,
                                    source->value1, source->value2, box, nullptr, nullptr, nullptr,
                                    source->floor, nullptr);
    if (!copy)
        return nullptr;

    CopyObjectAttributes(source, copy);
    if (source->plantData)
        copy->plantData = CopyPlantInfo(source->plantData);

    const uint8_t selected = (code == 5008 || code == 5138 || code == 5329) ? 1 : 0;
    CopyVertexChain(source, copy, offsetX, offsetZ, selected);
    // A copy that could not get every vertex is no copy.
    if (ChainLength(copy) != ChainLength(source)) {
        FreeObject(copy);
        return nullptr;
    }

    if (code == 5008)
        MirrorSelectedPoints(copy, 1);
    else if (code == 5138)
        MirrorSelectedPoints(copy, 0);

    LinkCopy(copy, source, parent, previousSibling, attach);
    CopyObjectLink(source, copy);
    UpdateObjectExtents(copy);

    if (code != 5329) {
        PlanObject* previousCopy = nullptr;
        for (PlanObject* child = source->firstChild; child; child = child->next) {
            PlanObject* childCopy = CreateObjectFromTemplate(child, copy, previousCopy, offsetX,
                                                             offsetZ, attach, code);
            if (childCopy)
                previousCopy = childCopy;
        }
    }
    return copy;
}

// The vertex of the copy's chain at the place the vertex has in the source's chain.
static PlanVertex* MapVertex(const PlanObject* sourceOwner, const PlanObject* copyOwner,
                             const PlanVertex* vertex)
{
    if (!vertex)
        return nullptr;
    PlanVertex* copied = copyOwner->firstVertex;
    for (PlanVertex* v = sourceOwner->firstVertex; v && copied; v = v->next, copied = copied->next)
        if (v == vertex)
            return copied;
    return nullptr;
}

static void CopyOpeningRecord(PlanObject* source, PlanObject* copy)
{
    const OpeningRecord* from = static_cast<const OpeningRecord*>(source->link);
    OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
    if (!record)
        return;
    record->typeCopy = from->typeCopy;
    record->style = from->style;
    if (source->owner && copy->owner) {
        record->startVertex = MapVertex(source->owner, copy->owner, from->startVertex);
        record->endVertex = MapVertex(source->owner, copy->owner, from->endVertex);
        record->distanceFromStart = from->distanceFromStart;
        record->distanceToEnd = from->distanceToEnd;
        record->width = from->width;
        record->height = from->height;
        record->elevation = from->elevation;
        record->hingeSide = from->hingeSide;
        record->swingAngle = from->swingAngle;
        record->flags = from->flags;
        record->glazingBarsAcross = from->glazingBarsAcross;
        record->glazingBarsDown = from->glazingBarsDown;
        record->casingWidth = from->casingWidth;
    }
    copy->link = record;
}

static LONG RoundToWhole(float value)
{
    return static_cast<LONG>(value + 0.5f);
}

static void CopyTextEditor(PlanObject* source, PlanObject* copy)
{
    HWND sourceWindow = static_cast<HWND>(source->link);
    if (!IsWindow(sourceWindow))
        return;
    if (activeDocument)
        DeactivateDocumentChild();
    int length = GetWindowTextLengthA(sourceWindow);
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    GetWindowTextA(sourceWindow, text.data(), length + 1);
    LONG style = GetWindowLongA(sourceWindow, GWL_STYLE);
    DWORD alignment = (style & ES_CENTER) ? ES_CENTER : (style & ES_RIGHT) ? ES_RIGHT : ES_LEFT;
    LONG left = RoundToWhole(source->box2D[kRectMinX]);
    LONG top = RoundToWhole(source->box2D[kRectMinY]);
    LONG right = RoundToWhole(source->box2D[kRectMaxX]);
    LONG bottom = RoundToWhole(source->box2D[kRectMaxY]);
    HWND window = CreateTextEditWindow(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | ES_MULTILINE |
                                           ES_AUTOVSCROLL | ES_WANTRETURN | alignment,
                                       left, top, right - left, bottom - top, activePlanPane);
    if (!window)
        return;
    SetWindowTextA(window, text.data());
    // The copy's control owns a font of its own, so either text can go without the other.
    CopyTextEditFont(sourceWindow, window);
    EnableWindow(window, FALSE);
    BringWindowToTop(window);
    SendMessageA(window, WM_SETREDRAW, FALSE, 0);
    copy->link = window;
}

static void CopyPictureRecord(PlanObject* source, PlanObject* copy)
{
    const PictureRecord* from = static_cast<const PictureRecord*>(source->link);
    PictureRecord* record = AllocateRecordOf<PictureRecord>();
    if (!record)
        return;
    memcpy(record->values, from->values, sizeof(record->values));
    record->metafile = from->metafile ? CopyEnhMetaFileA(from->metafile, nullptr) : nullptr;
    copy->link = record;
}

void CopyObjectLink(PlanObject* source, PlanObject* copy)
{
    if (!source || !copy)
        return;
    if (source->link) {
        if (IsOpeningType(source->type))
            CopyOpeningRecord(source, copy);
        else if (source->type == ObjTextFrame)
            CopyTextEditor(source, copy);
        else if (source->type == ObjMetafilePicture)
            CopyPictureRecord(source, copy);
    }
    if (source->type == ObjImage && source->imagePath) {
        copy->imagePath = DuplicateRecordText(source->imagePath);
        NumberImagePicture(copy);
    }
}

// ---------------------------------------------------------------------------------
// Mirror and nudge

void MirrorSelectedPoints(PlanObject* object, uint8_t horizontal)
{
    PlanSettings* settings = ActiveSettings();
    if (!object || !settings)
        return;
    const uint16_t plane = settings->viewPlane;
    int axis;
    float centre;
    if (horizontal) {
        axis = plane == 3 ? 2 : 0;
        centre = mirrorPoint[0];
    } else {
        axis = (plane == 1 || plane == 3) ? 1 : 2;
        centre = mirrorPoint[1];
    }
    for (PlanVertex* v = object->firstVertex; v; v = v->next) {
        if (!v->selected)
            continue;
        v->position[axis] = 2.0f * centre - v->position[axis];
        v->inTangent[axis] = -v->inTangent[axis];
        v->outTangent[axis] = -v->outTangent[axis];
    }
    UpdateObjectExtents(object);
}

void NudgeSelectedPoints(PlanObject* object, float distance, int direction)
{
    PlanSettings* settings = ActiveSettings();
    if (!object || !settings || direction < 0 || direction > 3)
        return;
    int first, second;
    GetViewPlaneAxes(settings->viewPlane, &first, &second);
    // 0 up and 2 down change the second (vertical) coordinate, 1 left and 3 right the first.
    const int axis = (direction == 0 || direction == 2) ? second : first;
    const float step = direction < 2 ? -distance : distance;
    for (PlanVertex* v = object->firstVertex; v; v = v->next)
        if (v->selected)
            v->position[axis] += step;
}

// ---------------------------------------------------------------------------------
// Groups

void AddObjectToCurrentGroup(PlanObject* object)
{
    PlanObject* group = groupUnderConstruction;
    if (!object || !group || object == group)
        return;
    // A group can never become a member of something inside itself.
    for (PlanObject* above = group->owner; above; above = above->owner)
        if (above == object)
            return;
    UnlinkObject(object);
    AppendToObjectList(&group->firstChild, object);
    object->owner = group;
    // Members stay on the group's floor, so that their openings and deck steps are still
    // refitted when the group moves.
    object->floor = group->floor;
    SetTreeFloor(object->firstChild, group->floor);
}

void Ungroup(PlanObject* group)
{
    if (!group || group->type != ObjGroup)
        return;
    // Read before the group is freed: freeing unlinks it and releases the record.
    PlanFloor* floor = group->floor;
    if (!floor)
        return;
    PlanObject* member = group->firstChild;
    group->firstChild = nullptr;
    FreeObject(group);
    while (member) {
        PlanObject* next = member->next;
        member->owner = nullptr;
        member->previous = nullptr;
        member->next = nullptr;
        AttachObjectToFloor(member, floor);
        SetTreeFloor(member->firstChild, floor);
        DeselectWithoutDrawing(member);
        UpdateObjectExtents(member);
        member = next;
    }
}

// ---------------------------------------------------------------------------------
// Wall-group conversions

static void RebuildConvertedWall(PlanObject* wall)
{
    RebuildWall(wall);
    FitWallOpenings(wall);
    BuildObject3D(wall);
    InvalidatePlanView();
}

void ConvertWallGroupToInterior(PlanObject* wall)
{
    if (!wall || wall->type != ObjWall)
        return;
    DeselectWithoutDrawing(wall);
    wall->parameters[2] = 0.5f;
    if (wall->category == kCategoryFoundation)
        wall->category = kCategoryFloorPlan;
    wall->subType = 0;
    wall->colourM[0] = 1;
    RebuildConvertedWall(wall);
}

void ConvertWallGroupToExterior(PlanObject* wall)
{
    if (!wall || wall->type != ObjWall)
        return;
    if (ChainLength(wall) < 3) {
        ShowMessageBox(nullptr,
                       "An Interior wall group must contain at least 2 wall segments to be converted to "
                       "Exterior.  An Exterior wall group defines interior space.",
                       applicationTitle, MB_OK);
        return;
    }
    DeselectWithoutDrawing(wall);
    wall->parameters[2] = 0.5f;
    wall->subType = 54;
    wall->colourM[0] = 0;
    RebuildConvertedWall(wall);
}

// ---------------------------------------------------------------------------------
// Moving to the adjacent storey

static const char* const kStoreyNames[3] = {"First Floor", "Second Floor", "Third Floor"};

static bool IsUpwardFloorMove(uint32_t command)
{
    return command == 5168 || command == 5170;
}

static bool IsFloorMoveCommand(uint32_t command)
{
    return command >= 5168 && command <= 5171;
}

PlanFloor* FindAdjacentStorey(uint32_t command)
{
    if (!activeDocument || !activeDocument->currentFloor || !IsFloorMoveCommand(command))
        return nullptr;
    const PlanFloor* current = activeDocument->currentFloor;
    int index = -1;
    for (int i = 0; i < 3; ++i)
        if (strcmp(current->name, kStoreyNames[i]) == 0)
            index = i;
    if (index < 0)
        return nullptr;
    int target = IsUpwardFloorMove(command) ? index + 1 : index - 1;
    if (target < 0 || target > 2)
        return nullptr;
    return FindFloorByName(kStoreyNames[target]);
}

const char* NoAdjacentStoreyMessage(uint32_t command)
{
    switch (command) {
    case 5168:
        return "Questo è il piano più alto. Non ci sono altri piani sopra di esso su cui spostare gli "
               "oggetti selezionati.";
    case 5169:
        return "Questo è il piano più basso. Non ci sono altri piani sotto di esso su cui spostare gli "
               "oggetti selezionati.";
    case 5170:
        return "Questo è il piano più alto. Non ci sono altri piani sopra di esso nei quali copiare gli "
               "oggetti selezionati.";
    case 5171:
        return "You are currently on the bottom floor.  There are no floors below the bottom floor to "
               "copy the selected objects.";
    default:
        return "";
    }
}

float GetLowestSegmentElevation(const PlanObject* wall)
{
    if (!wall)
        return 0.0f;
    float lowest = 10000.0f;
    bool any = false;
    for (PlanVertex* v = wall->firstVertex; v; v = v->next) {
        if (!v->next && !wall->closed)
            break;
        if (!v->next && v == wall->firstVertex)
            break;
        any = true;
        if (v->segmentElevation < lowest)
            lowest = v->segmentElevation;
    }
    return any ? lowest : wall->elevation;
}

// Height shift of a move to the target storey: the current storey's height upwards, the
// target's height downwards.
static bool FloorMoveShift(uint32_t command, PlanFloor** target, float* shift)
{
    if (!activeDocument || !activeDocument->settings || !activeDocument->currentFloor)
        return false;
    *target = FindAdjacentStorey(command);
    if (!*target)
        return false;
    *shift = IsUpwardFloorMove(command) ? activeDocument->currentFloor->height : -(*target)->height;
    return true;
}

static bool AreOwnPointsAllSelected(const PlanObject* object)
{
    for (PlanVertex* v = object->firstVertex; v; v = v->next)
        if (!v->selected)
            return false;
    return object->firstVertex != nullptr;
}

static void ShiftWallSegments(PlanObject* wall, float shift)
{
    if (AreOwnPointsAllSelected(wall))
        wall->elevation += shift;
    PlanVertex* first = wall->firstVertex;
    PlanVertex* last = LastVertexOf(wall);
    for (PlanVertex* v = first; v; v = v->next)
        if (v->next && v->selected && v->next->selected)
            v->segmentElevation += shift;
    if (wall->closed && last && last != first && last->selected && first->selected)
        last->segmentElevation += shift;
    wall->elevation = GetLowestSegmentElevation(wall);
}

void ShiftElevationForFloorMove(PlanObject* object, uint32_t command)
{
    PlanFloor* target = nullptr;
    float shift = 0.0f;
    if (!object || !FloorMoveShift(command, &target, &shift))
        return;
    if (object->type == ObjWall)
        ShiftWallSegments(object, shift);
    else
        object->elevation += shift;
    object->onTerrain = 0;
    if (object->type == ObjGroup) {
        for (PlanObject* member = object->firstChild; member; member = member->next)
            RebuildObject3D(member);
    } else {
        RebuildObject3D(object);
    }
}

bool MoveObjectToAdjacentFloor(PlanObject* object, uint32_t command)
{
    PlanFloor* target = nullptr;
    float shift = 0.0f;
    if (!object || !FloorMoveShift(command, &target, &shift))
        return false;
    ShiftElevationForFloorMove(object, command);
    MoveObjectToFloor(object, target);
    DeselectWithoutDrawing(object);
    if (object->type == ObjWall) {
        RebuildWall(object);
        FitWallOpenings(object);
    }
    return true;
}

// ---------------------------------------------------------------------------------
// Tangents and boxes

void RecomputeObject(PlanObject* object)
{
    PlanSettings* settings = ActiveSettings();
    if (!object || !settings || ChainLength(object) < 2)
        return;
    const float tension = settings->recomputeValue / 10.0f;
    int axes[2];
    GetViewPlaneAxes(settings->viewPlane, &axes[0], &axes[1]);
    PlanVertex* first = object->firstVertex;
    PlanVertex* last = LastVertexOf(object);
    for (PlanVertex* v = first; v; v = v->next) {
        PlanVertex* previous = v->previous ? v->previous : (object->closed ? last : nullptr);
        PlanVertex* next = v->next ? v->next : (object->closed ? first : nullptr);
        if (!previous || !next)
            continue;
        for (int axis : axes) {
            float tangent = tension * (next->position[axis] - previous->position[axis]);
            v->outTangent[axis] = tangent;
            v->inTangent[axis] = tangent;
        }
    }
}

void UpdateObjectExtents(PlanObject* object)
{
    UpdateObjectExtentsFiltered(object, 0, 0);
}

void UpdateObjectExtentsFiltered(PlanObject* object, uint32_t selectedOnly, uint8_t verticesOnly)
{
    if (!object)
        return;
    float rect[4];
    ResetExtentRect(rect);
    GetObjectExtents2D(object, selectedOnly ? 1 : 0, rect, verticesOnly, 0);
    memcpy(object->box2D, rect, sizeof(rect));
    float box[6];
    ResetExtentBox(box);
    GetObjectExtents3D(object, 0, box, 0);
    memcpy(object->box3D, box, sizeof(box));
}

void UpdateGroupExtents(PlanFloor* floor, uint32_t flags, uint8_t selectedOnly)
{
    if (!floor || !floor->shown)
        return;
    for (PlanObject* object = floor->firstObject; object; object = object->next)
        if (object->type == ObjGroup && (!selectedOnly || IsAnyPointSelected(object)))
            UpdateObjectExtentsFiltered(object, flags, 0);
}

void UpdateAllGroupExtents(PlanFloor* firstFloor, uint32_t flags, uint8_t selectedOnly)
{
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        UpdateGroupExtents(floor, flags, selectedOnly);
}

static void SetTextEditRedraw(PlanObject* first, uint8_t shown)
{
    for (PlanObject* object = first; object; object = object->next) {
        if (object->type == ObjTextFrame && object->link && IsWindow(static_cast<HWND>(object->link)))
            SendMessageA(static_cast<HWND>(object->link), WM_SETREDRAW, shown ? TRUE : FALSE, 0);
        SetTextEditRedraw(object->firstChild, shown);
    }
}

void UpdateTextEditRedraw()
{
    if (!activeDocument)
        return;
    for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next)
        SetTextEditRedraw(floor->firstObject, floor->shown);
}

// ---------------------------------------------------------------------------------
// Re-centring

static int32_t RoundHalfUp(float value)
{
    return static_cast<int32_t>(value + 0.5f);
}

static bool BoxIsEmpty(const float* box)
{
    return box[kBoxMinX] == kExtentEmpty && box[kBoxMaxX] == -kExtentEmpty;
}

// Offset that brings the centre of the measured box onto the centre of the plan extents.
static void RecentringOffset(const PlanSettings* settings, const float* box, TransformRecord* move)
{
    memset(move, 0, sizeof(*move));
    const int32_t siteX = (RoundHalfUp(settings->extentLeft) + RoundHalfUp(settings->extentRight)) / 2;
    const int32_t siteZ = (RoundHalfUp(settings->extentTop) + RoundHalfUp(settings->extentBottom)) / 2;
    const float centreX = (box[kBoxMinX] + box[kBoxMaxX]) / 2.0f;
    const float centreZ = (box[kBoxMinZ] + box[kBoxMaxZ]) / 2.0f;
    move->offset[0] = static_cast<float>(siteX) - centreX;
    move->offset[2] = static_cast<float>(siteZ) - centreZ;
}

void RecentreDrawing(uint8_t selectedOnly, float* out)
{
    if (out)
        memset(out, 0, 4 * sizeof(float));
    PlanSettings* settings = ActiveSettings();
    if (!out || !settings || !activePlanPane)
        return;
    float box[6];
    ResetExtentBox(box);
    GetAllFloorsExtents3D(activeDocument->firstFloor, selectedOnly, box, 0);
    // Nothing measured: there is nothing to move.
    if (BoxIsEmpty(box))
        return;
    TransformRecord move;
    RecentringOffset(settings, box, &move);
    ForEachFloorObject(activeDocument->firstFloor, selectedOnly, MoveBy, &move);
    ResetExtentRect(out);
    GetAllFloorsExtents2D(activeDocument->firstFloor, selectedOnly, out, 0, 0);
}

void RecentreFloor(PlanFloor* floor, uint8_t selectedOnly, float* out)
{
    if (out)
        memset(out, 0, 4 * sizeof(float));
    PlanSettings* settings = ActiveSettings();
    if (!out || !floor || !settings || !activePlanPane)
        return;
    float box[6];
    ResetExtentBox(box);
    GetFloorExtents3D(floor, selectedOnly, box, 0);
    if (BoxIsEmpty(box))
        return;
    TransformRecord move;
    RecentringOffset(settings, box, &move);
    ForEachObjectOnFloor(floor, selectedOnly, MoveBy, &move);
    ResetExtentRect(out);
    GetFloorExtents2D(floor, selectedOnly, out, 0, 0);
}

// ---------------------------------------------------------------------------------
// Axis swaps

static void SwapAxes(PlanObject* object, int a, int b)
{
    if (!object)
        return;
    for (PlanVertex* v = object->firstVertex; v; v = v->next) {
        float* points[3] = {v->inTangent, v->position, v->outTangent};
        for (float* p : points) {
            float keep = p[a];
            p[a] = p[b];
            p[b] = keep;
        }
    }
}

void SwapObjectYZ(PlanObject* object)
{
    SwapAxes(object, 1, 2);
}

void SwapObjectXZ(PlanObject* object)
{
    SwapAxes(object, 0, 2);
}

// ---------------------------------------------------------------------------------
// Row order

bool EnsureCounterClockwise(PlanObject* object, uint8_t reverse)
{
    if (!object)
        return false;
    if (object->winding == 1)
        return true;
    if (object->winding == -1 && reverse)
        ReverseObjectRows(object);
    return false;
}

PlanVertex* ReverseVertexList(PlanVertex* first, int16_t n)
{
    if (!first || !first->next)
        return nullptr;
    if (n < 2)
        return first;
    PlanVertex* current = first;
    PlanVertex* reversed = nullptr;
    // Walks at most n vertices and never past the end of the list.
    for (int16_t i = 0; i < n && current; ++i) {
        PlanVertex* next = current->next;
        current->next = reversed;
        if (reversed)
            reversed->previous = current;
        reversed = current;
        current = next;
    }
    reversed->previous = nullptr;
    first->next = nullptr;
    return reversed;
}

static bool HasReversibleRows(uint16_t type)
{
    switch (type) {
    case 3: case 8: case 9: case 10: case 11: case 12: case 19:
        return true;
    default:
        return false;
    }
}

// An opening keeps standing on its segment: the segment now runs the other way.
static void TurnOpeningsAround(PlanObject* object)
{
    for (PlanObject* child = object->firstChild; child; child = child->next) {
        if (!IsOpeningType(child->type) || !child->link)
            continue;
        OpeningRecord* record = static_cast<OpeningRecord*>(child->link);
        PlanVertex* start = record->startVertex;
        record->startVertex = record->endVertex;
        record->endVertex = start;
        float distance = record->distanceFromStart;
        record->distanceFromStart = record->distanceToEnd;
        record->distanceToEnd = distance;
    }
}

void ReverseObjectRows(PlanObject* object)
{
    if (!object || !HasReversibleRows(object->type))
        return;
    const uint32_t rows = object->rows ? object->rows : 1;
    const uint32_t count = ChainLength(object);
    if (count < 2 || count % rows != 0 || count / rows < 2)
        return;
    const uint32_t perRow = count / rows;
    if (perRow > 32767)
        return;
    std::vector<PlanVertex*> heads;
    PlanVertex* v = object->firstVertex;
    for (uint32_t i = 0; v; ++i, v = v->next)
        if (i % perRow == 0)
            heads.push_back(v);
    PlanVertex* previousTail = nullptr;
    for (PlanVertex* head : heads) {
        PlanVertex* newHead = ReverseVertexList(head, static_cast<int16_t>(perRow));
        if (previousTail) {
            previousTail->next = newHead;
            newHead->previous = previousTail;
        } else {
            object->firstVertex = newHead;
        }
        previousTail = head;
    }
    if (object->type == ObjWall && rows == 1)
        TurnOpeningsAround(object);
}

// ---------------------------------------------------------------------------------
// Extrusion and lathe

static PlanVertex* CopyVertexNode(const PlanVertex* from)
{
    PlanVertex* copy = AllocateRecordOf<PlanVertex>();
    if (!copy)
        return nullptr;
    *copy = *from;
    copy->previous = nullptr;
    copy->next = nullptr;
    return copy;
}

static bool IsSingleRow(const PlanObject* object)
{
    return object->rows <= 1;
}

void ExtrudeOutline(PlanObject* object, float distance)
{
    PlanSettings* settings = ActiveSettings();
    if (!object || !settings || !IsSingleRow(object) || !object->firstVertex)
        return;
    // The axis normal to the view plane.
    const int axis = settings->viewPlane == 1 ? 2 : settings->viewPlane == 3 ? 0 : 1;
    PlanVertex* lastOriginal = LastVertexOf(object);
    for (PlanVertex* v = object->firstVertex; v; v = v->next) {
        PlanVertex* copy = CopyVertexNode(v);
        if (!copy)
            break;
        copy->position[axis] += distance;
        AddObjectPoint(copy, object);
        if (v == lastOriginal)
            break;
    }
    object->rows = 2;
    UpdateObjectExtents(object);
    ComputeProjectionExtents(object);
    ComputeMeshTextureCoords(object);
}

void LatheOutline(PlanObject* object, const float* parameters)
{
    PlanSettings* settings = ActiveSettings();
    if (!object || !parameters || !settings || !IsSingleRow(object) || !object->firstVertex)
        return;
    const TransformRecord* record = reinterpret_cast<const TransformRecord*>(parameters);
    int first, second;
    if (!GetViewPlaneAxes(settings->viewPlane, &first, &second))
        return;
    const float degrees = record->angle * 180.0f / kPi;
    int steps = static_cast<int>(ceilf(fabsf(degrees / 90.0f)));
    if (steps < 1)
        steps = 1;
    const float stepRadians = degrees / steps * kPi / 180.0f;
    const float cx = record->centre[first];
    const float cy = record->centre[second];
    PlanVertex* lastOriginal = LastVertexOf(object);
    int rowsAdded = 0;
    for (int step = 1; step <= steps; ++step) {
        const float angle = stepRadians * step;
        bool complete = true;
        for (PlanVertex* v = object->firstVertex; v; v = v->next) {
            PlanVertex* copy = CopyVertexNode(v);
            if (!copy) {
                complete = false;
                break;
            }
            float* tangents[2] = {copy->inTangent, copy->outTangent};
            for (float* tangent : tangents)
                if (tangent[first] != 0.0f || tangent[second] != 0.0f)
                    RotatePointAbout(&tangent[first], &tangent[second], 0.0f, 0.0f, angle);
            RotatePointAbout(&copy->position[first], &copy->position[second], cx, cy, angle);
            AddObjectPoint(copy, object);
            if (v == lastOriginal)
                break;
        }
        if (!complete)
            break;
        ++rowsAdded;
    }
    object->rows = static_cast<uint16_t>(rowsAdded + 1);
    UpdateObjectExtents(object);
}

// ---------------------------------------------------------------------------------
// Whole-floor heights

static float InchesToPlanLength(float inches, const PlanSettings* settings)
{
    return UnitsToPlanLength(ConvertInchesToUnits(inches, settings), settings, 0);
}

static void ClampTreeHeights(PlanObject* first, float limit, float openingLimit)
{
    for (PlanObject* object = first; object; object = object->next) {
        if ((object->type == ObjDoor || object->type == ObjWindow) && object->link) {
            OpeningRecord* record = static_cast<OpeningRecord*>(object->link);
            if (record->elevation + record->height > openingLimit) {
                float elevation = openingLimit - record->height;
                record->elevation = elevation > 0.0f ? elevation : 0.0f;
                if (record->elevation + record->height > openingLimit)
                    record->height = openingLimit - record->elevation;
            }
        }
        for (PlanVertex* v = object->firstVertex; v; v = v->next)
            if (v->position[1] > limit)
                v->position[1] = limit;
        ClampTreeHeights(object->firstChild, limit, openingLimit);
    }
}

void ClampFloorObjectHeights(PlanFloor* floor)
{
    PlanSettings* settings = ActiveSettings();
    if (!floor || !settings)
        return;
    const float limit = InchesToPlanLength(GetFloorBaseHeight(floor), settings) +
                        InchesToPlanLength(floor->height, settings);
    const float openingLimit = InchesToPlanLength(floor->height, settings) - 6.0f;
    ClampTreeHeights(floor->firstObject, limit, openingLimit);
}

static void RaiseTree(PlanObject* first, float height)
{
    for (PlanObject* object = first; object; object = object->next) {
        for (PlanVertex* v = object->firstVertex; v; v = v->next)
            v->position[1] += height;
        RaiseTree(object->firstChild, height);
    }
}

void RaiseFloorObjects(PlanFloor* floor, float height)
{
    if (!floor || !ActiveSettings())
        return;
    RaiseTree(floor->firstObject, height);
}

PlanObject* CopyOutlineWithoutChildren(PlanObject* object)
{
    // None of the codes that select or mirror the copy's vertices.
    const uint32_t kCopyWithoutPasteMark = 5006;
    PlanObject* children = object->firstChild;
    object->firstChild = nullptr;
    PlanObject* copy =
        CreateObjectFromTemplate(object, nullptr, nullptr, 0.0f, 0.0f, 0, kCopyWithoutPasteMark);
    object->firstChild = children;
    if (!copy)
        return nullptr;
    copy->vertexCount = (uint32_t)CountVertexChain(copy);
    return copy;
}
