#pragma once
#include <stdint.h>

// One vertex of a 3D face, kept in plain growable arrays. Packed to 22 bytes: the
// area measurement and the ground grid read these arrays as they lie.
#pragma pack(push, 1)
struct MeshVertex {
    float x;            // plan x
    float y;            // height, growing downward
    float z;            // plan z
    uint16_t edgeFlag;  // 0: the edge to the next vertex is a real edge
    float u;            // texture coordinates before the repeat factors
    float v;
};
#pragma pack(pop)
static_assert(sizeof(MeshVertex) == 22, "a mesh vertex is 22 bytes");
