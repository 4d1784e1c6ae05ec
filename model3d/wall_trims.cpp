#include "model3d/wall_trims.h"
#include "model3d/face_triangulation.h"
#include "model3d/generator_limits.h"
#include "model3d/scene_polygons.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include <initializer_list>
#include <math.h>
#include <stdlib.h>

namespace {

constexpr float kBaseboardDepth = 0.75f;
constexpr float kRailDepth = 1.9f;
// The stiles stand just in front of the rails.
constexpr float kStileDepth = 1.91f;

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

float Units(float length)
{
    return UnitsToPlanLength(length, Settings(), 0);
}

// Points in front of the face: along it from S, a rise above its foot, and an offset
// towards its outside.
struct TrimFrame {
    const TrimFace& face;
    float alongX, alongZ;
    float outX, outZ;

    explicit TrimFrame(const TrimFace& f) : face(f)
    {
        alongX = (f.e[0] - f.s[0]) / f.length;
        alongZ = (f.e[2] - f.s[2]) / f.length;
        OffsetPointPolar(f.angle + 1.5707963267948966f, 1.0f, &outX, &outZ);
    }
    MeshVertex At(float along, float rise, float off, float u, float v) const
    {
        float fraction = along / face.length;
        float y = face.s[1] + (face.e[1] - face.s[1]) * fraction - (face.b + rise);
        return {face.s[0] + along * alongX + off * outX, y, face.s[2] + along * alongZ + off * outZ, 0,
                u, v};
    }
};

// A new trim polygon on the material pair (both slots point back at it).
ScenePolygon* NewTrim(const TrimFace& face, int16_t code, uint32_t* texture, ColourTriple* colour)
{
    ScenePolygon* polygon = CreateSceneNode();
    if (!polygon)
        return nullptr;
    polygon->sourceType = code;
    polygon->elevation = face.elevation;
    polygon->trimWord = currentMesh->trimWord;
    polygon->textureA = polygon->textureB = *texture;
    polygon->textureSlotA = polygon->textureSlotB = texture;
    polygon->colourA = polygon->colourB = *colour;
    polygon->colourSlotA = polygon->colourSlotB = colour;
    return polygon;
}

// A quad of the four frame points (u, v at the corners as the baseboard has them).
void AddQuad(ScenePolygon* polygon, const MeshVertex& a, const MeshVertex& b, const MeshVertex& c,
             const MeshVertex& d, const float* vector)
{
    MeshVertex* quad = static_cast<MeshVertex*>(malloc(4 * sizeof(MeshVertex)));
    if (!quad)
        return;
    quad[0] = a;
    quad[1] = b;
    quad[2] = c;
    quad[3] = d;
    const float corners[4][2] = {{0.0f, 1.0f}, {0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}};
    for (int i = 0; i < 4; ++i) {
        quad[i].u = corners[i][0];
        quad[i].v = corners[i][1];
    }
    AppendNodeFace(quad, 4, vector[0], vector[1], vector[2], polygon);
}

// A front quad from along a0 to a1 and rise r0 to r1 at the offset.
void AddFront(ScenePolygon* polygon, const TrimFrame& frame, float a0, float a1, float r0, float r1,
              float off)
{
    AddQuad(polygon, frame.At(a0, r0, off, 0, 1), frame.At(a0, r1, off, 0, 0),
            frame.At(a1, r1, off, 1, 0), frame.At(a1, r0, off, 1, 1), frame.face.face->vector);
}

void FinishTrim(ScenePolygon* polygon, float uLength, float vLength)
{
    if (!polygon)
        return;
    if (!polygon->outlines) {
        FreeSceneNode(polygon);
        return;
    }
    if (polygon->textureA) {
        GetTextureUvScale(polygon->textureA, uLength, vLength, &polygon->uFactorA,
                          &polygon->vFactorA);
        polygon->uFactorB = polygon->uFactorA;
        polygon->vFactorB = polygon->vFactorA;
    }
    AddPartPolygon(polygon, currentMesh);
}

bool CanBuild(const TrimFace& face)
{
    return face.face && face.s && face.e && currentMesh && buildObject && Settings() &&
           face.length > 0.0f && isfinite(face.length);
}

// At least two, at most the generator limit, of a member every pitch over the span.
int32_t MemberCount(float span, float pitch)
{
    double wanted = pitch > 0.0f ? floor((double)span / pitch + 0.5) : 2.0;
    if (!(wanted >= 2.0))
        return 2;
    return wanted > kMaxGeneratedPieces ? kMaxGeneratedPieces : (int32_t)wanted;
}

} // namespace

void BuildBaseboard(const TrimFace& face, float height)
{
    if (!CanBuild(face))
        return;
    TrimFrame frame(face);
    float h = Units(height);
    ScenePolygon* board = NewTrim(face, kSceneBaseboard, &buildObject->value3, &buildObject->colour5);
    if (!board)
        return;
    AddFront(board, frame, 0.0f, face.length, 0.0f, h, kBaseboardDepth);
    FinishTrim(board, face.length, h);
}

void BuildWainscot(const TrimFace& face, float height)
{
    if (!CanBuild(face))
        return;
    TrimFrame frame(face);
    const float t = Units(4.0f);
    const float h = Units(height);
    const float zero[3] = {0.0f, 0.0f, 0.0f};
    const float length = face.length;

    ScenePolygon* panel = NewTrim(face, kSceneWainscot, &buildObject->imageId2, &buildObject->colour4);
    if (!panel)
        return;
    AddFront(panel, frame, 0.0f, length, t, h - t, kBaseboardDepth);
    FinishTrim(panel, length, h);

    ScenePolygon* rails = NewTrim(face, kSceneWainscot, &buildObject->imageId1, &buildObject->colour3);
    if (!rails)
        return;
    int32_t n = MemberCount(h - t, Units(12.0f));
    float step = (h - t) / (float)(n - 1);
    for (int32_t i = 0; i < n; ++i) {
        float r0 = (float)i * step;
        float r1 = r0 + t;
        AddFront(rails, frame, 0.0f, length, r0, r1, kRailDepth);
        for (float r : {r0, r1})
            AddQuad(rails, frame.At(0.0f, r, 0.0f, 0, 1), frame.At(0.0f, r, kRailDepth, 0, 0),
                    frame.At(length, r, kRailDepth, 1, 0), frame.At(length, r, 0.0f, 1, 1), zero);
    }
    FinishTrim(rails, length, h);

    ScenePolygon* stiles = NewTrim(face, kSceneWainscot, &buildObject->imageId2, &buildObject->colour4);
    if (!stiles)
        return;
    int32_t m = MemberCount(length - t, Units(18.0f));
    float pitch = (length - t) / (float)(m - 1);
    for (int32_t j = 0; j < m; ++j) {
        float a0 = (float)j * pitch;
        float a1 = a0 + t;
        AddFront(stiles, frame, a0, a1, t, h - t, kStileDepth);
        for (float a : {a0, a1})
            AddQuad(stiles, frame.At(a, t, 0.0f, 0, 1), frame.At(a, h - t, 0.0f, 0, 0),
                    frame.At(a, h - t, kStileDepth, 1, 0), frame.At(a, t, kStileDepth, 1, 1), zero);
    }
    FinishTrim(stiles, t, h - 2.0f * t);
}

float GetElementHeightForKind(const PlanVertex* vertex, int end)
{
    PlanSettings* settings = Settings();
    if (!vertex || !settings)
        return 0.0f;
    const PlanVertex* next = vertex->next;
    if (!next && vertex->owner && vertex->owner->closed && vertex->owner->firstVertex != vertex)
        next = vertex->owner->firstVertex;
    const float start = Units(vertex->mainHeight);
    const float farEnd = Units(vertex->heightC);
    const bool atStart = end == 1;
    float rise = 0.0f;
    if (next)
        rise = Distance2D(vertex->position[0], vertex->position[2], next->position[0],
                          next->position[2]) *
               (vertex->angleA / 12.0f);
    switch (vertex->segmentStyle) {
    case 1: case 4: case 5: case 6: case 7: case 10: case 11:
        return atStart ? start : farEnd;
    case 2:
        if (atStart)
            return start;
        return next ? rise + start : 0.0f;
    case 3:
        if (!atStart)
            return start;
        return next ? rise + start : 0.0f;
    case 8: case 9:
        return atStart ? farEnd : start;
    default:
        return start;
    }
}
