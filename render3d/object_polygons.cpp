#include "render3d/object_polygons.h"

// No 3D polygons are built from plan objects yet: nothing to remove or rebuild.
void RemoveObjectPolygons(PlanObject*) {}
void RebuildObject3D(PlanObject*) {}
