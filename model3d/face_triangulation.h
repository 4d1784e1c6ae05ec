#pragma once
#include <stdint.h>
#include "model3d/mesh_vertex.h"

// Two services of the scene builders. Before a finished polygon joins the scene, every
// outline of more than four vertices is cut into triangles by ear clipping in a 2D
// projection, so the renderers only draw pieces of at most four vertices; real edges
// stay visible in outline drawing (edge flag 0) and the diagonals are hidden (1). Path
// parts are cut into quads along their two rails instead. And the texture repeat
// factors that keep a texture at its real size on faces of any extent, from the size
// its information file gives.

struct PolygonOutline;
struct ScenePolygon;

// A point of the 2D projection used by the cut.
struct ProjectedPoint {
    float x;
    float y;
};

// Replaces the polygon's outlines by their cut form; keeps them when the cut gives
// nothing.
void TriangulateSceneNode(ScenePolygon* polygon);
// Appends the cut form of one outline to the list and returns its head. A cut that
// cannot be finished (a self-crossing outline) keeps the triangles found in at most 50
// rounds.
PolygonOutline* SplitOutline(const PolygonOutline* outline, PolygonOutline* list);
// The quads between the two rails of a path part outline (vertices 0 .. n/2 - 1 along
// one side, n - 1 down to n/2 along the other), appended to the list.
PolygonOutline* SplitPathStrip(const PolygonOutline* outline, PolygonOutline* list);
// Whether the triangle t of the projected outline p (n points) can be cut off.
bool IsValidEar(const ProjectedPoint* t, const ProjectedPoint* p, int32_t n);
// Even-odd test of point against n vertices.
bool PointInPolygon(ProjectedPoint point, const ProjectedPoint* v, int32_t n);
// Whether the outline edge a-b crosses the triangle's diagonal t[0]-t[2].
bool SegmentsCross(ProjectedPoint a, ProjectedPoint b, const ProjectedPoint* t);
// Smallest and largest x and y of the two points (box: min x, min y, max x, max y); an
// axis without extent is widened by 0.5 each way.
void GetSegmentBox(ProjectedPoint a, ProjectedPoint b, float* box);

// "Width" and "Height" of section "Size" of the texture's information file, 100 each
// when missing (display units). A library texture's file is read once and its size kept
// for the run: a large plan asks for the same few textures on every face.
void GetTextureSize(uint32_t textureId, int32_t* width, int32_t* height);
// Forgets the kept sizes, so that each information file is read again (called when the
// 3D view's window is made, as the failed pictures are forgotten).
void ForgetTextureSizes();
// The profile read GetTextureSize goes through: MeantProfileInt (files/profile_file.h), or
// a test's stand-in that counts the reads; null puts MeantProfileInt back.
typedef unsigned int(__stdcall* ProfileIntReader)(const char* section, const char* key,
                                                   int fallback, const char* path);
void SetTextureSizeReader(ProfileIntReader reader);
// Repeat factors for a face uLength by vLength (plan units): length over the texture's
// plan size; the V factor is negative, which turns the texture upright given the
// downward y. Both 1.0 without a texture size, settings, or for an id outside 1..13999.
void GetTextureUvScale(uint32_t textureId, float uLength, float vLength, float* uFactor,
                       float* vFactor);
