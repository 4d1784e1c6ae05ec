#include "model/plan_object.h"
#include "model/list_ends.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_settings.h"
#include "model/object_extents.h"
#include "model/wall_openings.h"
#include "model3d/rebuild_driver.h"
#include "model3d/wall_rebuild.h"
#include "render3d/object_polygons.h"
#include "dialogs/plant_info.h"
#include "planview/plan_background.h"
#include "shell/frame_window.h"
#include "planview/selection.h"
#include "shell/app_globals.h"
#include "shell/message_box.h"
#include "tools/text_editing.h"
#include <string.h>

PlanObject* CreateObject(uint16_t type, uint8_t closed, uint8_t creationFlag,
                         const ColourTriple* colourA, const ColourTriple* colourB,
                         float size, uint16_t value1, uint16_t value2, const float* box2D,
                         PlanVertex* firstVertex, PlanObject* firstChild, PlanObject* owner,
                         PlanFloor* floor, void* link)
{
    if (!activeDocument)
        return nullptr;
    PlanObject* object = AllocateRecordOf<PlanObject>();
    if (!object)
        return nullptr;
    PlanSettings* settings = activeDocument->settings;
    if (!settings) {
        ShowMessageBox(nullptr,
                       "Impossibile creare l'oggetto - questo documento non è stato inizializzato.",
                       applicationTitle, MB_OK);
        ReleaseRecord(object);
        return nullptr;
    }
    object->type = type;
    object->closed = closed;
    object->creationFlag = creationFlag;
    if (colourA)
        object->colourA = *colourA;
    if (colourB)
        object->colourB = *colourB;
    object->size = size;
    object->value1 = value1;
    object->value2 = value2;
    if (box2D)
        memcpy(object->box2D, box2D, sizeof(object->box2D));
    object->firstVertex = firstVertex;
    object->firstChild = firstChild;
    object->owner = owner;
    object->floor = floor;
    object->link = link;
    object->rows = 1;
    object->buildFlag = 1;
    object->projectionMode = 2;
    object->needsRebuild = 1;
    object->plantAge = settings->plantAge;
    object->elevation = settings->workingElevation;
    return object;
}

PlanVertex* NewVertexNode(uint16_t kind, uint8_t selected, uint8_t keepFlag,
                          float inX, float inY, float inZ,
                          float x, float y, float z,
                          float outX, float outY, float outZ,
                          float extra1, float extra2, float extra3, PlanObject* owner)
{
    PlanVertex* vertex = AllocateRecordOf<PlanVertex>();
    if (!vertex)
        return nullptr;
    vertex->kind = kind;
    vertex->selected = selected;
    vertex->selectable = 1;
    vertex->keepFlag = keepFlag;
    vertex->inTangent[0] = inX;
    vertex->inTangent[1] = inY;
    vertex->inTangent[2] = inZ;
    vertex->position[0] = x;
    vertex->position[1] = y;
    vertex->position[2] = z;
    vertex->outTangent[0] = outX;
    vertex->outTangent[1] = outY;
    vertex->outTangent[2] = outZ;
    vertex->extra[0] = extra1;
    vertex->extra[1] = extra2;
    vertex->extra[2] = extra3;
    vertex->owner = owner;
    vertex->u = 1.0f;
    vertex->v = 1.0f;
    vertex->faceColourA = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
    vertex->faceColourB = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
    return vertex;
}

static PlanVertex* LastVertex(const PlanObject* object)
{
    PlanVertex* vertex = object->firstVertex;
    while (vertex && vertex->next)
        vertex = vertex->next;
    return vertex;
}

void AddObjectPoint(PlanVertex* vertex, PlanObject* object)
{
    if (!vertex || !object)
        return;
    vertex->owner = object;
    AppendChainNode(&object->firstVertex, vertex);
    object->vertexCount++;
}

void InsertObjectPoint(PlanVertex* vertex, PlanObject* object, PlanVertex* after)
{
    if (!vertex || !object)
        return;
    vertex->owner = object;
    if (after) {
        vertex->previous = after;
        vertex->next = after->next;
        if (after->next)
            after->next->previous = vertex;
        after->next = vertex;
    } else {
        vertex->previous = nullptr;
        vertex->next = object->firstVertex;
        if (object->firstVertex)
            object->firstVertex->previous = vertex;
        object->firstVertex = vertex;
    }
    object->vertexCount++;
}

void FreeVertexChain(PlanObject* object)
{
    if (!object)
        return;
    PlanVertex* vertex = object->firstVertex;
    while (vertex) {
        PlanVertex* next = vertex->next;
        ReleaseRecord(vertex);
        vertex = next;
    }
    // The head goes with the chain, so nothing can reach the released vertices.
    object->firstVertex = nullptr;
    object->vertexCount = 0;
}

void CopyVertexChain(const PlanObject* source, PlanObject* destination,
                     float offsetX, float offsetZ, uint8_t selected)
{
    if (!source || !destination)
        return;
    for (PlanVertex* from = source->firstVertex; from; from = from->next) {
        PlanVertex* copy = AllocateRecordOf<PlanVertex>();
        if (!copy)
            return;
        *copy = *from;
        copy->previous = nullptr;
        copy->next = nullptr;
        copy->selected = selected;
        copy->position[0] += offsetX;
        copy->position[2] += offsetZ;
        AddObjectPoint(copy, destination);
    }
}

int32_t CountVertexChain(const PlanObject* object)
{
    int32_t n = 0;
    for (const PlanVertex* v = object->firstVertex; v; v = v->next)
        ++n;
    return n;
}

void CopyObjectAttributes(const PlanObject* source, PlanObject* copy)
{
    memcpy(copy->colourM, source->colourM, sizeof(copy->colourM));
    copy->rows = source->rows;
    copy->buildFlag = source->buildFlag;
    copy->winding = source->winding;
    copy->styleOrTexture = source->styleOrTexture;
    memcpy(copy->textureBlock, source->textureBlock, sizeof(copy->textureBlock));
    copy->projectionMode = source->projectionMode;
    copy->plantAge = source->plantAge;
    copy->subType = source->subType;
    copy->imageId1 = source->imageId1;
    copy->imageId2 = source->imageId2;
    copy->colour3 = source->colour3;
    copy->colour4 = source->colour4;
    copy->elevation = source->elevation;
    copy->onTerrain = source->onTerrain;
    copy->value3 = source->value3;
    copy->colour5 = source->colour5;
    copy->category = source->category;
    memcpy(copy->parameters, source->parameters, sizeof(copy->parameters));
    copy->offsetSide = source->offsetSide;
    copy->value4 = source->value4;
}

void AppendToObjectList(PlanObject** first, PlanObject* object)
{
    AppendListNode(first, object);
}

void UnlinkObject(PlanObject* object)
{
    if (!object)
        return;
    ForgetListMember(object);
    if (object->previous)
        object->previous->next = object->next;
    else if (object->owner && object->owner->firstChild == object)
        object->owner->firstChild = object->next;
    else if (!object->owner && object->floor && object->floor->firstObject == object)
        object->floor->firstObject = object->next;
    if (object->next)
        object->next->previous = object->previous;
    object->previous = nullptr;
    object->next = nullptr;
    object->floor = nullptr;
}

static void FreeChain(PlanObject* first, bool members)
{
    while (first) {
        PlanObject* next = first->next;
        first->previous = nullptr;
        first->next = nullptr;
        if (members)
            first->owner = nullptr;
        FreeObject(first);
        first = next;
    }
}

void FreeObjectChain(PlanObject* first)
{
    FreeChain(first, false);
}

void FreeMemberChain(PlanObject* first)
{
    FreeChain(first, true);
}

// Types whose link is the list of their generated parts (wall mesh, fence pieces,
// stair and railing solids, deck faces, path surface, slab sides, image panel, roof plate,
// roof planes).
static bool HoldsGeneratedParts(uint16_t type)
{
    switch (type) {
    case ObjWall: case ObjFence: case ObjPicketFence: case ObjStair: case ObjRailing:
    case ObjDeck: case ObjPath: case ObjFloorSlab: case ObjFloorOpening: case ObjImage:
    case ObjFreehandRoof: case ObjRoof:
        return true;
    default:
        return false;
    }
}

// The type whose extras the object holds: a library shape is retyped to its symbol's
// code after its extras were read, and they go as what they are.
static uint16_t ExtrasType(const PlanObject* object)
{
    return object->extrasType ? object->extrasType : object->type;
}

static void ReleaseObjectLink(PlanObject* object)
{
    void* link = object->link;
    object->link = nullptr;
    if (!link)
        return;
    uint16_t type = ExtrasType(object);
    if (IsDimensionType(type)) {
        AttachmentRecord* record = static_cast<AttachmentRecord*>(link);
        if (record->label && record->label->type == ObjDimensionLabel && record->label->link) {
            AttachedPartRecord* labelRecord = static_cast<AttachedPartRecord*>(record->label->link);
            if (labelRecord->owner == object)
                labelRecord->owner = nullptr;
        }
        ReleaseRecord(record);
    } else if (type == ObjTextFrame) {
        HWND editWindow = static_cast<HWND>(link);
        if (activeDocument) {
            DeactivateDocumentChild();
            if (activePlanPane)
                SendMessageA(activePlanPane, WM_ACTIVATE, WA_ACTIVE, 0);
        }
        // The control takes its font with it.
        DestroyTextEditWindow(editWindow);
    } else if (type == ObjDimensionLabel) {
        AttachedPartRecord* record = static_cast<AttachedPartRecord*>(link);
        if (record->owner && IsDimensionType(record->owner->type) && record->owner->link) {
            AttachmentRecord* dimension = static_cast<AttachmentRecord*>(record->owner->link);
            if (dimension->label == object)
                dimension->label = nullptr;
        }
        ReleaseRecord(record);
    } else if (type == ObjMetafilePicture) {
        PictureRecord* record = static_cast<PictureRecord*>(link);
        if (record->metafile)
            DeleteEnhMetaFile(record->metafile);
        ReleaseRecord(record);
    } else if (IsOpeningType(type)) {
        // The placement record and the 3D parts built on it belong to the opening
        // alone; releasing them here keeps a deleted door from leaking its record.
        OpeningRecord* record = static_cast<OpeningRecord*>(link);
        FreeObjectChain(record->parts);
        ReleaseRecord(record);
    } else if (HoldsGeneratedParts(type)) {
        // The generated mesh, pieces and faces hang on the link and are owned by it.
        FreeObjectChain(static_cast<PlanObject*>(link));
    } else {
        // Other links belong to whoever hung them there; put it back untouched.
        object->link = link;
    }
}

void FreeObject(PlanObject* object)
{
    if (!object)
        return;
    RemoveObjectPolygons(object);
    if (companionEditObject == object)
        companionEditObject = nullptr;
    UnlinkObject(object);
    ReleaseObjectLink(object);
    FreeVertexChain(object);
    if (object->plantData) {
        FreePlantInfo(object->plantData);
        object->plantData = nullptr;
    }
    if (object->type == ObjTopography || object->type == ObjSlope)
        RebuildAll3D();
    else if (ExtrasType(object) == ObjImage && object->imagePath) {
        ReleaseRecord(object->imagePath);
        object->imagePath = nullptr;
    }
    PlanObject* child = object->firstChild;
    object->firstChild = nullptr;
    FreeMemberChain(child);
    PlanObject* part = object->firstPart;
    object->firstPart = nullptr;
    FreeObjectChain(part);
    ReleaseRecord(object);
}

// ---------------------------------------------------------------------------------
// Deleting one segment of a wall group.

static int VertexIndex(const PlanObject* object, const PlanVertex* vertex)
{
    int index = 0;
    for (PlanVertex* v = object->firstVertex; v; v = v->next, ++index)
        if (v == vertex)
            return index;
    return -1;
}

static void RemoveVertex(PlanObject* object, PlanVertex* vertex)
{
    if (vertex->previous)
        vertex->previous->next = vertex->next;
    else
        object->firstVertex = vertex->next;
    if (vertex->next)
        vertex->next->previous = vertex->previous;
    if (object->vertexCount)
        object->vertexCount--;
    ReleaseRecord(vertex);
}

// Moves the chain's first vertex to its end.
static void MoveFirstVertexToEnd(PlanObject* object)
{
    PlanVertex* first = object->firstVertex;
    PlanVertex* last = LastVertex(object);
    if (!first || first == last)
        return;
    object->firstVertex = first->next;
    first->next->previous = nullptr;
    first->previous = last;
    first->next = nullptr;
    last->next = first;
}

// Rotates the chain so that vertex becomes its head.
static void RotateChainToStart(PlanObject* object, PlanVertex* vertex)
{
    while (object->firstVertex && object->firstVertex != vertex)
        MoveFirstVertexToEnd(object);
}

// Drops the openings whose segment no longer exists and points every other one at
// the vertex that now ends its segment; then the wall is rebuilt.
static void RefitGroupAfterSegmentDelete(PlanObject* wall)
{
    PlanObject* child = wall->firstChild;
    while (child) {
        PlanObject* next = child->next;
        if (IsOpeningType(child->type) && child->link) {
            OpeningRecord* record = static_cast<OpeningRecord*>(child->link);
            PlanVertex* start = record->startVertex;
            bool gone = !start || VertexIndex(wall, start) < 0 || (!wall->closed && !start->next);
            if (gone) {
                FreeObject(child);
            } else {
                record->endVertex = start->next ? start->next : wall->firstVertex;
            }
        }
        child = next;
    }
    RebuildWall(wall);
    FitWallOpenings(wall);
    RebuildObject3D(wall);
}

// A second wall group with the same settings as the given one and no vertices,
// children or generated geometry, placed beside it.
static PlanObject* MakeSplitWallGroup(PlanObject* wall)
{
    PlanObject* copy = CreateObject(wall->type, wall->closed, wall->creationFlag, &wall->colourA,
                                    &wall->colourB, wall->size, wall->value1, wall->value2,
                                    wall->box2D, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!copy)
        return nullptr;
    CopyObjectAttributes(wall, copy);
    memcpy(copy->box3D, wall->box3D, sizeof(copy->box3D));
    copy->needsRebuild = wall->needsRebuild;
    if (wall->owner) {
        // Stays in the same group as the original, right after it.
        copy->owner = wall->owner;
        copy->floor = wall->floor;
        copy->previous = wall;
        copy->next = wall->next;
        if (wall->next)
            wall->next->previous = copy;
        wall->next = copy;
    } else if (wall->floor) {
        AttachObjectToFloor(copy, wall->floor);
    }
    return copy;
}

// Moves the vertices from 'from' to the end of the chain, and the openings standing on
// them, from the wall to the split-off group.
static void MoveTailToGroup(PlanObject* wall, PlanVertex* from, PlanObject* copy)
{
    if (from->previous)
        from->previous->next = nullptr;
    else
        wall->firstVertex = nullptr;
    from->previous = nullptr;
    uint32_t moved = 0;
    copy->firstVertex = from;
    for (PlanVertex* v = from; v; v = v->next) {
        v->owner = copy;
        ++moved;
    }
    copy->vertexCount = moved;
    wall->vertexCount = wall->vertexCount >= moved ? wall->vertexCount - moved : 0;

    PlanObject* child = wall->firstChild;
    while (child) {
        PlanObject* next = child->next;
        if (IsOpeningType(child->type) && child->link) {
            OpeningRecord* record = static_cast<OpeningRecord*>(child->link);
            if (record->startVertex && VertexIndex(copy, record->startVertex) >= 0) {
                // Unlink from the wall's children and append to the copy's.
                if (child->previous)
                    child->previous->next = child->next;
                else
                    wall->firstChild = child->next;
                if (child->next)
                    child->next->previous = child->previous;
                child->owner = copy;
                AppendToObjectList(&copy->firstChild, child);
            }
        }
        child = next;
    }
}

static bool OpeningStandsOn(const PlanObject* wall, PlanVertex* segmentStart)
{
    for (PlanObject* child = wall->firstChild; child; child = child->next) {
        if (!IsOpeningType(child->type) || !child->link)
            continue;
        if (static_cast<OpeningRecord*>(child->link)->startVertex == segmentStart)
            return true;
    }
    return false;
}

static void DeleteWallSegment(PlanObject* wall)
{
    PlanVertex* s = nullptr;
    PlanVertex* e = nullptr;
    int selectedCount = 0;
    for (PlanVertex* v = wall->firstVertex; v; v = v->next) {
        if (!v->selected)
            continue;
        ++selectedCount;
        if (!s)
            s = v;
        else if (!e)
            e = v;
    }
    if (selectedCount != 2) {
        RebuildObject3D(wall);
        return;
    }

    bool eFollows = s->next == e;
    // Only a pair that bounds a real segment deletes anything: neighbours, or the first
    // and last vertex of a closed wall (its closing segment). Any other pair would drop
    // a segment, and its doors and windows, that the user never selected.
    bool closingSegment = wall->closed && s == wall->firstVertex && e->next == nullptr;
    if (!eFollows && !closingSegment)
        return;
    // The segment in question starts at S when E follows it, otherwise it is the
    // closing segment, which starts at the last vertex E.
    if (OpeningStandsOn(wall, eFollows ? s : e)) {
        ShowMessageBox(nullptr,
                       "Questo segmento di muro contiene finestre o porte. Eliminare tutte le "
                       "finestre e le porte dal segmento del muro prima di poterlo cancellare.",
                       applicationTitle, MB_OK);
        RebuildObject3D(wall);
        return;
    }

    bool sFirst = s == wall->firstVertex;
    bool eLast = e->next == nullptr;
    bool closed = wall->closed != 0;
    PlanObject* splitCopy = nullptr;

    if (!sFirst && eFollows && (!eLast || closed)) {
        if (closed) {
            RotateChainToStart(wall, e);
            wall->closed = 0;
        } else {
            splitCopy = MakeSplitWallGroup(wall);
            if (!splitCopy) {
                RebuildObject3D(wall);
                return;
            }
            MoveTailToGroup(wall, e, splitCopy);
        }
    } else if (!sFirst && !eFollows && !eLast) {
        return;
    } else if ((eLast && !(closed && eFollows)) || (sFirst && !eFollows)) {
        if (!eLast)
            return;
        if (closed)
            wall->closed = 0;
        else
            RemoveVertex(wall, LastVertex(wall));
    } else {
        // S is the first vertex and E follows it.
        if (closed) {
            MoveFirstVertexToEnd(wall);
            wall->closed = 0;
        } else {
            RemoveVertex(wall, wall->firstVertex);
        }
    }

    RefitGroupAfterSegmentDelete(wall);
    if (splitCopy)
        RefitGroupAfterSegmentDelete(splitCopy);
}

void DeleteObjectWithDependants(PlanObject* object)
{
    if (!object)
        return;
    if (object->type == ObjWall) {
        bool allSelected = true;
        for (PlanVertex* v = object->firstVertex; v; v = v->next)
            if (!v->selected) {
                allSelected = false;
                break;
            }
        if (!allSelected) {
            DeleteWallSegment(object);
            return;
        }
    }
    // The whole object goes, and everything that hangs on it with it: nothing may
    // be left behind pointing at a freed owner.
    FreeObject(object);
}

// ---------------------------------------------------------------------------------

void GetObjectCentre2D(PlanObject* object, float* x, float* y)
{
    if (!object)
        return;
    float box[4] = {32000.0f, 32000.0f, -32000.0f, -32000.0f};
    GetObjectExtents2D(object, 0, box, 0, 0);
    if (x)
        *x = (box[1] + box[3]) / 2.0f;
    if (y)
        *y = (box[0] + box[2]) / 2.0f;
}

PlanObject* GetTopLevelObject(PlanObject* object)
{
    if (!object)
        return nullptr;
    while (object->owner)
        object = object->owner;
    return object;
}

bool IsGroupedObject(const PlanObject* object)
{
    if (!object)
        return false;
    uint16_t type = object->type;
    if (object->owner && !IsOpeningType(type) && type != ObjFreehandRoofPart)
        return true;
    if (object->firstChild && type != ObjWall && type != ObjDeck && type != ObjFreehandRoof)
        return true;
    return false;
}

bool HasKeptVertex(const PlanObject* object)
{
    if (!object)
        return false;
    for (PlanVertex* v = object->firstVertex; v; v = v->next)
        if (v->keepFlag)
            return true;
    for (PlanObject* child = object->firstChild; child; child = child->next)
        if (HasKeptVertex(child))
            return true;
    return false;
}

bool HasUnselectableVertex(const PlanObject* object)
{
    if (!object)
        return false;
    for (PlanVertex* v = object->firstVertex; v; v = v->next)
        if (!v->selectable)
            return true;
    for (PlanObject* child = object->firstChild; child; child = child->next)
        if (HasUnselectableVertex(child))
            return true;
    return false;
}

void FreeOpeningsAtVertex(PlanObject* wall, PlanVertex* vertex)
{
    if (!wall || !vertex || wall->type != ObjWall)
        return;
    PlanObject* child = wall->firstChild;
    while (child) {
        PlanObject* next = child->next;
        if (IsOpeningType(child->type) && child->link &&
            static_cast<OpeningRecord*>(child->link)->startVertex == vertex)
            FreeObject(child);
        child = next;
    }
}

PlanObject* GetNthSelectedObject(int n)
{
    if (!activeDocument || n < 1)
        return nullptr;
    int found = 0;
    for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next)
        for (PlanObject* object = floor->firstObject; object; object = object->next)
            if (IsAnyPointSelected(object) && ++found == n)
                return object;
    return nullptr;
}
