#include "model/plan_floor.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/units.h"
#include "planview/selection.h"
#include <string.h>

PlanFloor* CreateFloor(const char* name, uint8_t shown, uint8_t active, PlanObject* firstObject)
{
    PlanFloor* floor = AllocateRecordOf<PlanFloor>();
    if (!floor)
        return nullptr;
    if (name) {
        strncpy(floor->name, name, sizeof(floor->name) - 1);
        floor->name[sizeof(floor->name) - 1] = 0;
    }
    floor->shown = shown;
    floor->active = active;
    floor->firstObject = firstObject;
    floor->height = kDefaultFloorHeight;
    return floor;
}

void AttachObjectToFloor(PlanObject* object, PlanFloor* floor)
{
    if (!object || !floor)
        return;
    object->floor = floor;
    AppendToObjectList(&floor->firstObject, object);
}

void AppendFloorToDocument(PlanFloor* floor)
{
    if (!floor || !activeDocument)
        return;
    PlanFloor* last = activeDocument->firstFloor;
    while (last && last->next)
        last = last->next;
    floor->next = nullptr;
    floor->previous = last;
    if (last) {
        last->next = floor;
    } else {
        activeDocument->firstFloor = floor;
        activeDocument->currentFloor = floor;
    }
}

void RemoveFloor(PlanFloor* floor)
{
    if (!floor || !activeDocument)
        return;
    PlanFloor* replacement = floor->previous ? floor->previous : floor->next;
    if (activeDocument->firstFloor == floor)
        activeDocument->firstFloor = replacement;
    if (activeDocument->currentFloor == floor)
        activeDocument->currentFloor = replacement;
    // The view sheet must not outlive its floor either.
    if (activeDocument->currentViewSheet == floor)
        activeDocument->currentViewSheet = nullptr;
    if (floor->previous)
        floor->previous->next = floor->next;
    if (floor->next)
        floor->next->previous = floor->previous;
    floor->previous = nullptr;
    floor->next = nullptr;
    FreeFloorObjects(floor);
    ReleaseRecord(floor);
}

void FreeFloorObjects(PlanFloor* floor)
{
    FreeFloorObjectsAfter(floor, nullptr);
    floor->firstObject = nullptr;
}

PlanObject* LastFloorObject(const PlanFloor* floor)
{
    PlanObject* last = floor ? floor->firstObject : nullptr;
    while (last && last->next)
        last = last->next;
    return last;
}

void FreeFloorObjectsAfter(PlanFloor* floor, PlanObject* last)
{
    PlanObject* object = last ? last->next : floor ? floor->firstObject : nullptr;
    while (object) {
        PlanObject* next = object->next;
        FreeObject(object);
        object = next;
    }
}

static const char* const kStoreyNames[3] = {"First Floor", "Second Floor", "Third Floor"};
static const char* const kTopSheetNames[3] = {"X_TOP_FIRST_FLOOR", "X_TOP_SECOND_FLOOR",
                                              "X_TOP_THIRD_FLOOR"};

// The sheet name of a view code.
static const char* ViewSheetName(uint32_t viewCode)
{
    switch (viewCode) {
    case 5149: {
        PlanFloor* storeys[3];
        for (int i = 0; i < 3; ++i)
            storeys[i] = FindFloorByName(kStoreyNames[i]);
        if (storeys[0] && storeys[1] && storeys[2])
            for (int i = 0; i < 3; ++i)
                if (activeDocument->currentFloor == storeys[i])
                    return kTopSheetNames[i];
        return kTopSheetNames[0];
    }
    case 5151: return "X_LEFT";
    case 5152: return "X_RIGHT";
    case 5153: return "X_FRONT";
    case 5154: return "X_BACK";
    default: return kTopSheetNames[0];
    }
}

PlanFloor* FindFloorByNumber(uint32_t viewCode)
{
    if (!activeDocument)
        return nullptr;
    const char* name = ViewSheetName(viewCode);
    PlanFloor* floor = FindFloorByName(name);
    if (floor)
        return floor;
    floor = CreateFloor(name, 1, 1, nullptr);
    if (!floor)
        return nullptr;
    AppendFloorToDocument(floor);
    return floor;
}

PlanFloor* FindFloorByName(const char* name)
{
    if (!activeDocument || !name)
        return nullptr;
    for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next)
        if (strcmp(floor->name, name) == 0)
            return floor;
    return nullptr;
}

float GetFloorBaseHeight(const PlanFloor* floor)
{
    float base = 0.0f;
    if (!floor)
        return base;
    for (const PlanFloor* before = floor->previous; before; before = before->previous)
        base += before->height;
    return base;
}

float GetStoreyEyeHeight(const PlanFloor* floor, const PlanSettings* settings)
{
    if (!floor)
        return 0.0f;
    return UnitsToPlanLength(GetFloorBaseHeight(floor), settings, 0) +
           UnitsToPlanLength(floor->height, settings, 0) / 2.0f;
}

static void DeselectFloorObjects(PlanFloor* floor)
{
    for (PlanObject* object = floor->firstObject; object; object = object->next)
        ApplySelectionMode(object, kSelectDeselect);
}

// Switches the redrawing of every text frame's editor window on or off by its floor.
static void SetTextEditorRedraw(PlanObject* object, uint8_t shown)
{
    for (; object; object = object->next) {
        if (object->type == ObjTextFrame && object->link && IsWindow(static_cast<HWND>(object->link)))
            SendMessageA(static_cast<HWND>(object->link), WM_SETREDRAW, shown ? TRUE : FALSE, 0);
        SetTextEditorRedraw(object->firstChild, shown);
    }
}

void SelectCurrentFloor(PlanFloor* floor)
{
    if (!activeDocument)
        return;
    for (PlanFloor* sheet = activeDocument->firstFloor; sheet; sheet = sheet->next) {
        int topIndex = -1;
        for (int i = 0; i < 3; ++i)
            if (strcmp(sheet->name, kTopSheetNames[i]) == 0)
                topIndex = i;
        if (topIndex >= 0) {
            PlanFloor* storey = FindFloorByName(kStoreyNames[topIndex]);
            if (storey) {
                DeselectFloorObjects(sheet);
                sheet->shown = storey->shown ? 1 : 0;
                sheet->active = 0;
            }
        } else if (strcmp(sheet->name, "X_FRONT") == 0 || strcmp(sheet->name, "X_BACK") == 0 ||
                   strcmp(sheet->name, "X_LEFT") == 0 || strcmp(sheet->name, "X_RIGHT") == 0) {
            DeselectFloorObjects(sheet);
            sheet->shown = 0;
            sheet->active = 0;
        }
    }
    if (floor) {
        floor->shown = 1;
        floor->active = 1;
    }
    for (PlanFloor* each = activeDocument->firstFloor; each; each = each->next)
        SetTextEditorRedraw(each->firstObject, each->shown);
}

static void SetTreeFloor(PlanObject* object, PlanFloor* floor)
{
    for (; object; object = object->next) {
        object->floor = floor;
        SetTreeFloor(object->firstChild, floor);
    }
}

void MoveObjectToFloor(PlanObject* object, PlanFloor* floor)
{
    if (!object || !floor)
        return;
    UnlinkObject(object);
    // A top-level object now: its old owner's list no longer holds it.
    object->owner = nullptr;
    AttachObjectToFloor(object, floor);
    SetTreeFloor(object->firstChild, floor);
}

static bool IsAnnotationType(uint16_t type)
{
    return type == ObjTextFrame || type == ObjDimensionLabel || type == ObjDimensionLine;
}

void MoveAnnotationsToViewSheet(PlanFloor* floor, uint32_t viewCode)
{
    if (!floor || !activeDocument)
        return;
    PlanFloor* sheet = FindFloorByNumber(viewCode);
    if (!sheet || sheet == floor)
        return;
    PlanObject* object = floor->firstObject;
    while (object) {
        PlanObject* next = object->next;
        bool move = IsAnnotationType(object->type) ||
                    (object->type == ObjGroup && object->firstChild &&
                     IsAnnotationType(object->firstChild->type));
        if (move)
            MoveObjectToFloor(object, sheet);
        object = next;
    }
}

void ForEachShownFloorObject(PlanFloor* floor, const std::function<void(PlanObject*)>& visit)
{
    if (!floor || !floor->shown)
        return;
    PlanObject* object = floor->firstObject;
    while (object) {
        PlanObject* next = object->next;
        visit(object);
        object = next;
    }
}

void ForEachShownObject(PlanFloor* firstFloor, const std::function<void(PlanObject*)>& visit)
{
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        ForEachShownFloorObject(floor, visit);
}
