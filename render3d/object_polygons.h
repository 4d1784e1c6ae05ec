#pragma once

// The one call the editing road makes after changing an object (tools, dialogs, undo,
// the operation dispatcher, painting in 3D): the object's scene polygons are removed
// and built again while the live 3D view is visible.

struct PlanObject;

// Unlinks and frees the scene polygons built for the object (those whose build owner
// it is); nothing when it has none.
void RemoveObjectPolygons(PlanObject* object);
// With the live view visible: removes and rebuilds the object's polygons under the
// wait cursor (in a held walk, shown from its first rebuild to its end; nothing while
// the walk owes a whole rebuild). Hidden: marks the scene out of date. No live view:
// nothing.
void RebuildObject3D(PlanObject* object);
