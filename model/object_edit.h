#pragma once
#include <stdint.h>

// The whole-object dispatcher: copies, groups, floor moves, removals, elevation, terrain
// fitting and view category of the selected top-level objects that the selection walkers
// (ForEachFloorSelection, ForEachSelectedObjectOnFloor) hand it. It does not visit
// children.

struct PlanObject;

// Codes of the whole-object dispatcher.
enum EditObjectCode : uint32_t {
    kRemoveCutObjectCode = 21,
    kCountSelectedCode = 2000,
    kCopySelectionCode = 5006,
    kDuplicateMirroredHCode = 5008,
    kGroupSelectionCode = 5025,
    kUngroupSelectedCode = 5026,
    kMoveToLastShownFloorCode = 5105,
    kMoveToFirstShownFloorHeadCode = 5106,
    kDuplicateMirroredVCode = 5138,
    kMoveToFloorAboveCode = 5168,
    kMoveToFloorBelowCode = 5169,
    kCopyToFloorAboveCode = 5170,
    kCopyToFloorBelowCode = 5171,
    kDeleteSelectedObjectCode = 5199,
    kSetElevationCode = 5324,
    kFitToTerrainCode = 5326,
    kSetCategoryFoundationCode = 5335,
    kSetCategoryGardenCode = 5342,
    kDropEmptyTextCode = 8002,
    kMergeSelectedPointValuesCode = 8007,
};

// The group that code 5025 fills; the grouping sequence sets it to none before it starts.
extern PlanObject* groupUnderConstruction;
// Set by code 5326 when a wall was among the objects; the sender clears and reports it.
extern uint8_t wallTerrainRefused;

// Applies a code to one selected top-level object. The argument is the active document's
// PlanSettings for 5006 and 8007, otherwise none. Nothing for a null object or without an
// active document. Codes 5168 to 5171 refuse, with one message for the first selected
// object of the floor, when there is no storey in their direction.
void EditObject(PlanObject* object, uint32_t code, void* argument);
