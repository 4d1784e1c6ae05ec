#pragma once
// Selection state of plan objects. The selection lives in the vertices: each
// PlanVertex carries a selected, a selectable and a keep flag, and an object is
// selected when one of its vertices is.
//
// Selection modes (u8, compared as signed with 4):
//   1 select (any value below 4 other than 2 and 3 selects), 2 deselect, 3 toggle,
//   4 make selectable, 5 make the selected unselectable, 6 nothing,
//   7 set and 8 clear the keep flag of the selected.
#include <cstdint>

struct PlanObject;
struct PlanVertex;
struct PlanFloor;

enum SelectionMode : uint8_t {
    kSelectSelect = 1,
    kSelectDeselect = 2,
    kSelectToggle = 3,
    kSelectMakeSelectable = 4,
    kSelectMakeUnselectable = 5,
    kSelectNothing = 6,
    kSelectSetKeep = 7,
    kSelectClearKeep = 8,
};

// Queries. All are false for a null object.
bool IsAnyPointSelected(const PlanObject* object);   // own vertices; children except for types 12 and 51
bool AreAllPointsSelected(const PlanObject* object); // no unselected vertex; children except for 12 and 51
bool HasSelectedPoints(const PlanObject* object);    // own vertices or any child's (walls and decks too)
// True when the object's vertices are selected one by one (point squares); false when
// it is selected as a whole (box and handles). True for no object or a tool id <= 0.
bool IsPointEditable(int16_t toolId, const PlanObject* object);

// Set one flag on every vertex of the object and, recursively, of its children.
void SetAllPointsSelected(PlanObject* object, uint8_t value);
void SetAllPointsSelectable(PlanObject* object, uint8_t value);
void SetAllPointsLock(PlanObject* object, uint8_t value);

// Object-level modes; true when the selection changed (mode 4 never reports a change).
bool ApplySelectionMode(PlanObject* object, uint8_t mode);
bool ApplyObjectMarkMode(PlanObject* object, uint8_t mode);

// Vertex-level modes; with the draw flag the vertex's XOR point mark follows its flag.
// True when the vertex's selected flag changed.
bool SelectPoint(PlanVertex* vertex, uint8_t mode, uint8_t draw);
bool ApplyPointMarkMode(PlanVertex* vertex, uint8_t mode, uint8_t draw);
void SelectObjectPoints(PlanObject* object, uint8_t mode, uint8_t draw);

// Selects an object as a whole (box and handles) or point by point, as the current
// tool handles it. Needs the plan pane.
void SelectObjectAndDrawHandles(PlanObject* object, uint8_t mode, uint8_t draw);
// Every object of a shown, active floor; of every floor of the list. A deselect clears
// hidden and inactive floors too (their marks are not drawn while they are hidden).
void SetFloorSelection(PlanFloor* floor, uint8_t mode, uint8_t draw);
void SetSelectionAllFloors(PlanFloor* firstFloor, uint8_t mode, uint8_t draw);

// The same, limited to objects shown under the category mask.
void SelectVisibleObject(PlanObject* object, uint8_t mode, uint8_t draw, uint32_t mask);
void SelectVisibleObjectPoints(PlanObject* object, uint8_t mode, uint8_t draw, uint32_t mask);
void DrawFloorSelectionHandles(PlanFloor* floor, uint8_t mode, uint8_t draw, uint32_t mask);
void DrawSelectionHandlesAllFloors(PlanFloor* firstFloor, uint8_t mode, uint8_t draw, uint32_t mask);

// Whether a click on one of the object's points selects that point alone (false: the
// object's outermost group is selected whole).
bool SelectsPointsAlone(const PlanObject* object);
// A click on a vertex or on a segment: selects the point(s), or the object (its
// outermost group) when it is not edited point by point. Needs a current tool.
void SelectPointOrObject(PlanVertex* vertex, PlanObject* object, uint8_t mode, uint8_t draw);
void SelectSegmentOrObject(PlanVertex* a, PlanVertex* b, PlanObject* object, uint8_t mode, uint8_t draw);

// Moves the selected objects of all shown floors (operation 6000) so that one corner of
// their extents lies on the snap grid (snapped down, as a mapped point is): command
// 5140 the top left corner (least x, least depth), 5141 the top right, 5142 the bottom
// left, 5143 the bottom right. Other commands, no selection or no plan: nothing.
void SnapSelectionCornerToGrid(uint16_t command);
