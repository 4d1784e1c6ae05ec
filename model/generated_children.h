#pragma once

#include <stdint.h>

struct PlanFloor;
struct PlanObject;

// Paths, floor slabs and floor openings, photo image objects and freehand roofs are
// drawn and modelled through generated parts hung on their link, in no floor list,
// thrown away and built again at every change.

// The next texture number for a chosen picture; starts at 1.
extern uint32_t imageTextureCounter;
// Gives an image object's picture the next texture number: its image numbers and the
// face textures of its points all take it.
void NumberImagePicture(PlanObject* object);

// Regenerate the generated children of a path (22), a floor slab or floor opening
// (13, 48), an image object (130) and a freehand roof (57).
void RebuildPath(PlanObject* path);
void RebuildSlabChildren(PlanObject* object);
void RebuildImageObject(PlanObject* object);
void RebuildFreehandRoof(PlanObject* roof);

// Lets the user pick the picture of an image object (type 130): a new picture gets the
// next texture number and the panel is rebuilt; the view settings dialog follows.
void ChooseObjectImage(PlanObject* object);

// The same for every such object of every shown floor from firstFloor on.
void RebuildAllPaths(PlanFloor* firstFloor);
void RebuildAllFloorSlabs(PlanFloor* firstFloor);
void RebuildAllImageObjects(PlanFloor* firstFloor);
void RebuildAllFreehandRoofs(PlanFloor* firstFloor);

// The walking surface of a path (type 23): its outline widened to both sides, hosted by
// the path and in no list. Null when it cannot be made.
PlanObject* BuildPathSurface(PlanObject* path);
// A path's walking surface among its generated parts, found by its type: a bordered
// path's fence pieces come first. Null for any other object, or when it has none.
PlanObject* FindPathSurface(const PlanObject* path);
// Lays a freehand roof's plate on the slope of its pitch and direction.
void ApplyRoofSlope(PlanObject* roof, PlanObject* plate);
