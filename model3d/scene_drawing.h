#pragma once
#include <stdint.h>

// The walkers that draw the scene list. Holes are never cut out of geometry: they are
// drawn first into the stencil buffer, and the surface is then drawn only where the
// stencil does not hold the hole's value. Door and window holes (the opening polygons
// of a wall face) are cut face by face, each face with its own stencil value; floor
// openings cut every floor-like surface (slabs, their undersides, the floors and
// ceilings under wall groups) in a pass of their own.
//
// CompileSceneDisplayList records that drawing once into the interactive view's display
// list and serves picking: every polygon and part polygon is named by its place in the
// scene list (from 2; 1 is the ground), since OpenGL names are 32-bit and addresses are
// not.

struct ScenePolygon;

// The stencil reference of the next wall face with holes (2 at the start of a frame).
extern int32_t runningStencilValue;
// The first OpenGL name of the scene's polygons; 1 names the ground.
constexpr uint32_t kFirstPolygonName = 2;

// Moves the running stencil value on to the next face. Before it would pass 255 (the
// stencil has 8 bits and GL clamps the reference, so faces would cut each other's
// holes) the stencil is cleared and the value starts again at 2.
void AdvanceRunningStencilValue();
// Draws the scene from its display list, compiling it first when there is none; then,
// outside picking, the plants and image panels, which are never compiled.
void CompileSceneDisplayList(ScenePolygon* first);
// The polygon or part polygon of sceneMeshes that carries the name; null for none.
ScenePolygon* FindScenePolygonByName(uint32_t name);
