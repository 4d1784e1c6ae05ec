#pragma once
#include <functional>
#include <stdint.h>

// Storeys ("First Floor", "Second Floor", "Third Floor") and the view sheets of the
// camera presets ("X_TOP_FIRST_FLOOR" ... "X_BACK"). A document's floors form a
// doubly linked list in creation order; a floor owns its objects.

struct PlanObject;
struct PlanSettings;

struct PlanFloor {
    PlanFloor* previous;
    char name[256];             // compared exactly, case-sensitive
    uint8_t shown;              // the floor is drawn
    uint8_t active;             // its objects can be selected and edited
    PlanObject* firstObject;
    float height;               // storey height in inches, 96.0 when new
    PlanFloor* next;
};

const float kDefaultFloorHeight = 96.0f;

PlanFloor* CreateFloor(const char* name, uint8_t shown, uint8_t active, PlanObject* firstObject);
void AttachObjectToFloor(PlanObject* object, PlanFloor* floor);
void AppendFloorToDocument(PlanFloor* floor);
void RemoveFloor(PlanFloor* floor);
// Frees every object of the floor, in list order; the floor's list is left empty.
void FreeFloorObjects(PlanFloor* floor);
// The floor's last object, null for none; FreeFloorObjectsAfter frees the objects after it
// (all of them for null): those a read appended to the floor meanwhile.
PlanObject* LastFloorObject(const PlanFloor* floor);
void FreeFloorObjectsAfter(PlanFloor* floor, PlanObject* last);
PlanFloor* FindFloorByNumber(uint32_t viewCode);
PlanFloor* FindFloorByName(const char* name);
float GetFloorBaseHeight(const PlanFloor* floor);
// Where the walk view's eye stands on the storey: its base plus half its height (display
// lengths both), in plan units.
float GetStoreyEyeHeight(const PlanFloor* floor, const PlanSettings* settings);
void SelectCurrentFloor(PlanFloor* floor);
void MoveObjectToFloor(PlanObject* object, PlanFloor* floor);
void MoveAnnotationsToViewSheet(PlanFloor* floor, uint32_t viewCode);

// Hands each top-level object of the floor, when it is shown, to visit in list order.
// Each object's successor is taken before the call, so visit may free the object.
void ForEachShownFloorObject(PlanFloor* floor, const std::function<void(PlanObject*)>& visit);
// The same for every floor of the list from firstFloor.
void ForEachShownObject(PlanFloor* firstFloor, const std::function<void(PlanObject*)>& visit);
