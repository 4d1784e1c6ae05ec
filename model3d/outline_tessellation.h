#pragma once
#include <stdint.h>
#include "model3d/mesh_vertex.h"

// Growable MeshVertex arrays and the tessellation of a closed vertex outline (straight
// and Hermite-curved segments) into one, with texture coordinates.

struct PlanVertex;

// A new array with room for one vertex and nothing in it (*size = 0 for the caller);
// null when memory runs out. Arrays grow with AppendVertex and go with FreeVertexList.
MeshVertex* NewVertexList();
// Grows the array by one vertex; 1 when appended, 0 without the array or the size, or
// when memory runs out (the array is then released and *array set to null).
int AppendVertex(MeshVertex** array, float x, float y, float z, int32_t* size, uint16_t flag,
                 float u, float v);
void FreeVertexList(MeshVertex* array);
// The closed outline from first (count vertices, at least 3) with curves cut into the
// settings' curve steps; *count becomes the number of vertices made. Null when nothing
// was made.
MeshVertex* BuildPathVertices(PlanVertex* first, int32_t* count);
// Appends the points of the segment from -> to (its end excluded); *added says how many.
void TessellateSegment(MeshVertex** array, PlanVertex* from, PlanVertex* to, int32_t* size,
                       int32_t* added);
