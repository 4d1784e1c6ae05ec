#pragma once

// Turns the plan into the scene polygons of the live 3D view: all of it after a load,
// a paste or a change of the whole plan, or one object at a time after each edit. By
// object type it decides which of an object's own vertices, generated children,
// openings and parts become faces, marks the object being built (buildObject,
// buildChild) and applies the framing view's filter. Every entry builds only while the
// live view is visible and marks the scene out of date while it is hidden.

struct PlanFloor;
struct PlanObject;

// Frees the scene and the ground grid and builds both again for "First Floor" and
// every storey after it.
void RebuildAll3D();
// Every object of a shown storey, with its children.
void RebuildFloor3D(PlanFloor* floor);
// The object, then its children (group members, a wall's openings) in list order.
void RebuildObjectTree3D(PlanObject* object);
// The scene polygons of one object by its type.
void BuildObject3D(PlanObject* object);

// Held around a walk that edits many objects (the operation dispatcher's walks over the
// floors): a whole rebuild asked for meanwhile runs once, when the outermost hold is let
// go, instead of once for every terrain or slope object the walk moves or deletes; from
// the ask on, the walk's objects are not built one by one, since that rebuild builds
// them all.
// Whether a whole rebuild is owed at the end of the walk under way, the view shown: the
// scene's polygons are then all freed and built anew, and no object of the walk need be
// built on its own before.
bool WholeRebuildPending();
// Within a held walk, the wait cursor of the first object rebuilt stays until the walk
// ends, rather than being shown and taken back for each object.
void ShowWaitCursorForWalk();
class WholeRebuildsHeld {
public:
    WholeRebuildsHeld();
    ~WholeRebuildsHeld();
    WholeRebuildsHeld(const WholeRebuildsHeld&) = delete;
    WholeRebuildsHeld& operator=(const WholeRebuildsHeld&) = delete;
};
