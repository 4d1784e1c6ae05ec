#pragma once
#include <stdint.h>

// Operations that copy objects, build and dissolve groups, convert wall groups, move
// objects between storeys, mirror and nudge selected points, keep boxes current,
// re-centre the drawing, swap axes, fix the row order and extrude or revolve outlines.
// Every operation returns at once on null arguments and, where it needs them, without
// an active document or settings.

struct PlanFloor;
struct PlanObject;
struct PlanVertex;

// The program-wide mirror point (first and second view coordinate) that the frame's
// mirror commands set and MirrorSelectedPoints reads.
extern float mirrorPoint[2];

// Deep copy of an object: its fields, its vertices moved by the offset (x, z), its own
// link records, and (unless the code is 5329) its children. The copy goes after the
// previous sibling, else first into the parent's children, else (attach set) to the end
// of the source's floor. Vertices are selected for codes 5008, 5138 and 5329; 5008
// mirrors the copy horizontally and 5138 vertically. Null on failure.
PlanObject* CreateObjectFromTemplate(PlanObject* source, PlanObject* parent,
                                     PlanObject* previousSibling, float offsetX, float offsetZ,
                                     uint8_t attach, uint32_t code);
// A copy of the object's outline and parameters without its children (a wall's
// openings, a path's pieces), on no list, its vertex count that of its chain: the
// outline a generated band is built from. Null on failure.
PlanObject* CopyOutlineWithoutChildren(PlanObject* object);
// Gives the copy its own type-dependent link: an opening record on the matching segment
// of the copy's owner, a new text editor window, a picture record with its own metafile;
// an image object also gets its own path and picture number.
void CopyObjectLink(PlanObject* source, PlanObject* copy);

// Mirrors the selected vertices about mirrorPoint in the current view plane.
void MirrorSelectedPoints(PlanObject* object, uint8_t horizontal);
// Moves the selected vertices by the distance: direction 0 up, 1 left, 2 down, 3 right
// in the current view plane.
void NudgeSelectedPoints(PlanObject* object, float distance, int direction);

// Moves an object to the end of the member list of groupUnderConstruction (while a
// grouping runs); the object and its descendants take the group's floor.
void AddObjectToCurrentGroup(PlanObject* object);
// Dissolves a group (type 1000): its members go to the end of the group's floor, without
// owner, deselected, with fresh boxes; the group is freed.
void Ungroup(PlanObject* group);

void ConvertWallGroupToInterior(PlanObject* wall);
// Needs at least 3 vertices; otherwise tells the user and changes nothing.
void ConvertWallGroupToExterior(PlanObject* wall);

// Moving to the storey above (commands 5168, 5170) or below (5169, 5171): only the three
// storeys take part, never a view sheet. The storey next to the current floor in that
// direction, or null (top or bottom storey, or no document).
PlanFloor* FindAdjacentStorey(uint32_t command);
// The message that says there is no storey in the command's direction.
const char* NoAdjacentStoreyMessage(uint32_t command);
// Shifts the object's elevation by the storey height of the move (walls: the elevation of
// the selected segments, then the wall's elevation := the lowest segment elevation); the
// on-terrain flag is cleared and the 3D polygons rebuilt.
void ShiftElevationForFloorMove(PlanObject* object, uint32_t command);
// Shifts the elevation and moves the object to the adjacent storey, deselected; a wall is
// rebuilt. False (and nothing changes) when there is no such storey.
bool MoveObjectToAdjacentFloor(PlanObject* object, uint32_t command);
// The lowest base elevation of the segments of a wall group (start vertices of all its
// segments, the closing one only when closed); the wall's own elevation when it has no
// segment.
float GetLowestSegmentElevation(const PlanObject* wall);

// Smooth tangents from the neighbouring vertices, with the settings' tension.
void RecomputeObject(PlanObject* object);

// Stored 2D and 3D boxes of an object recomputed from its vertices.
void UpdateObjectExtents(PlanObject* object);
// The same, the 2D pass limited to selected vertices and/or to the vertices alone
// (curves not sampled).
void UpdateObjectExtentsFiltered(PlanObject* object, uint32_t selectedOnly, uint8_t verticesOnly);
// Boxes of every group (type 1000) of a shown floor, or of those with a selected point.
void UpdateGroupExtents(PlanFloor* floor, uint32_t flags, uint8_t selectedOnly);
void UpdateAllGroupExtents(PlanFloor* firstFloor, uint32_t flags, uint8_t selectedOnly);
// Switches the redrawing of every text editor window on or off by its floor's shown flag.
void UpdateTextEditRedraw();

// Moves the (selected) objects so that the centre of their extents meets the centre of
// the plan extents; the box receives their 2D extents afterwards (zero when nothing moved).
void RecentreDrawing(uint8_t selectedOnly, float* box);
void RecentreFloor(PlanFloor* floor, uint8_t selectedOnly, float* box);

// Exchange two coordinates of every vertex position and tangent.
void SwapObjectYZ(PlanObject* object);
void SwapObjectXZ(PlanObject* object);

// True when the object's winding is 1; when it is -1 and reverse is set, its rows are
// reversed (the winding field stays).
bool EnsureCounterClockwise(PlanObject* object, uint8_t reverse);
// Reverses each row in place (types 3, 8, 9, 10, 11, 12, 19 only).
void ReverseObjectRows(PlanObject* object);
// Reverses the first n vertices of a list, which end there (the old head's next is
// cleared); returns the new head, null for a list of fewer than two.
PlanVertex* ReverseVertexList(PlanVertex* first, int16_t n);

// Appends a copy of a one-row outline moved by the distance along the axis normal to the
// view plane: two rows.
void ExtrudeOutline(PlanObject* object, float distance);
// Revolves a one-row outline: the parameters are a TransformRecord (angle in radians,
// centre); one new row per step of at most 90 degrees.
void LatheOutline(PlanObject* object, const float* parameters);

// Whole-floor height adjustments.
void ClampFloorObjectHeights(PlanFloor* floor);
void RaiseFloorObjects(PlanFloor* floor, float height);
