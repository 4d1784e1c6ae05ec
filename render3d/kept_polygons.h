#pragma once
#include <stdint.h>
#include <vector>
#include "render3d/shaded_polygons.h"

// Polygons kept shaded in vertex arrays, for what is drawn again and again unchanged
// (the scene's colour pass, the ground, the wall copies that cut it). They are filled as
// a ShadedPolygonSink and stored as OpenGL keeps what glColor4ub, glTexCoord2f and
// glVertex3f send (each colour byte as the float byte / 255), each outline as the
// triangles OpenGL makes of a GL_POLYGON, (k + 1, k + 2, 0) for k from 0: drawn with one
// call for each run of one texture, they give the pixels of the same polygons sent one
// by one. Only for polygons drawn filled: drawn as lines, the triangles' inner edges
// would show.

// Whether what is kept is drawn from its arrays (the default) or sent polygon by
// polygon as it is shaded, as the wireframe's lines are.
extern bool drawKeptPolygons;

// A vertex as OpenGL keeps it.
struct KeptVertex {
    float x, y, z;
    float colour[4];
    float u, v;
};

// One step of the drawing: the triangles of a run of one texture (0 untextured), or a
// change of the stencil state around a wall face's holes.
struct KeptStep {
    enum Kind : uint8_t { Draw, HolesBegin, FaceBegin, FaceEnd };
    Kind kind;
    uint32_t texture;
    uint32_t first;     // the first index of a Draw and how many
    uint32_t count;
};

class KeptPolygons : public ShadedPolygonSink {
public:
    void Clear();
    bool Empty() const { return steps.empty(); }
    // Whether a vertex was kept: the polygons then leave current values behind.
    bool HasVertices() const { return !vertices.empty(); }
    // The holes of a wall face: colour and depth writes off, the stencil set wherever
    // they lie to the running stencil value of the scene drawing (each face has its
    // own); the face: writes on, drawn where the stencil is not that value; its end: the
    // stencil test off, the value moved on (the stencil cleared when it would pass 255).
    void AddStep(KeptStep::Kind kind);

    void Begin(uint32_t texture, const float* normal) override;
    void BeginOutline(int32_t vertexCount) override;
    void Vertex(const ShadedVertex& vertex, bool hiddenEdge) override;
    void EndOutline() override;
    void End() override;

    // Draws the steps; textures missing from OpenGL are loaded first. Texturing is off
    // afterwards, as each polygon leaves it, and the current colour, texture coordinate
    // and normal are those the last polygon sent.
    void Draw() const;

private:
    std::vector<KeptVertex> vertices;
    std::vector<uint32_t> indices;
    std::vector<KeptStep> steps;
    std::vector<uint32_t> textures;
    bool textured = false;
    uint32_t outlineStart = 0;
    ShadedVertex lastVertex = {};
    bool hasLastTexCoord = false;
    float lastTexCoord[2] = {0.0f, 0.0f};
    float pendingNormal[3] = {0.0f, 0.0f, 0.0f};
    float lastNormal[3] = {0.0f, 0.0f, 0.0f};
};

// Whether both faces of polygons are drawn filled (the wireframe draws lines).
bool PolygonsFilled();
