#include "model3d/wall_framing.h"
#include "model3d/face_triangulation.h"
#include "model3d/generator_limits.h"
#include "model3d/outline_tessellation.h"
#include "model3d/scene_polygons.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/view_projection.h"
#include <algorithm>
#include <math.h>
#include <vector>

namespace {

constexpr uint32_t kStudTexture = 2202;
constexpr uint32_t kBlockTexture = 2203;
constexpr ColourTriple kFoundationGrey = {49344, 49344, 49344};
constexpr float kHalfPi = 1.5707963267948966f;
constexpr float kPlateThickness = 2.5f;
constexpr uint32_t kExteriorWallGroup = 54;

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

float Units(float length)
{
    return UnitsToPlanLength(length, Settings(), 0);
}

struct P3 {
    float v[3];
    const float* data() const { return v; }
};

P3 Point(float x, float y, float z)
{
    return {{x, y, z}};
}

// The point moved in the plan by distance along the angle, at height y.
P3 Moved(const float* from, float angle, float distance, float y)
{
    float dx = 0.0f, dz = 0.0f;
    OffsetPointPolar(angle, distance, &dx, &dz);
    return Point(from[0] + dx, y, from[2] + dz);
}

enum QuadLook { kStudLook, kBlockLook, kPlainLook };

void EmitQuad(const float* const p[4], PlanObject* owner, QuadLook look, int grain)
{
    if (!owner || !Settings())
        return;
    ScenePolygon* saved = currentMesh;
    ScenePolygon* polygon = CreateSceneNode();
    if (!polygon)
        return;
    float a = grain == 1 ? Distance2D(p[0][0], p[0][1], p[1][0], p[1][1])
                         : Distance2D(p[0][0], p[0][2], p[1][0], p[1][2]);
    float b = Distance2D(p[0][0], p[0][2], p[3][0], p[3][2]);
    const float corners[4][2] = {{0.0f, 1.0f}, {0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}};
    MeshVertex* vertices = NewVertexList();
    int32_t size = 0;
    for (int i = 0; i < 4 && vertices; ++i) {
        if (size > 0) {
            const MeshVertex& last = vertices[size - 1];
            if (last.x == p[i][0] && last.y == p[i][1] && last.z == p[i][2])
                continue;
        }
        AppendVertex(&vertices, p[i][0], p[i][1], p[i][2], &size, 0, corners[i][0], corners[i][1]);
    }
    if (!vertices || size < 3) {
        FreeVertexList(vertices);
        FreeSceneNode(polygon);
        return;
    }
    if (look == kPlainLook) {
        polygon->colourA = kFoundationGrey;
        polygon->colourB = kFoundationGrey;
    } else {
        uint32_t texture = look == kStudLook ? kStudTexture : kBlockTexture;
        polygon->textureA = polygon->textureB = texture;
        GetTextureUvScale(texture, b, a, &polygon->uFactorA, &polygon->vFactorA);
        polygon->uFactorB = polygon->uFactorA;
        polygon->vFactorB = polygon->vFactorA;
    }
    polygon->partKind = kPartFramingMember;
    polygon->sourceType = (int16_t)owner->type;
    float na, nb, nc, nd;
    ComputePlaneFromPoints(vertices[0].x, vertices[0].y, vertices[0].z, vertices[1].x,
                           vertices[1].y, vertices[1].z, vertices[2].x, vertices[2].y,
                           vertices[2].z, &na, &nb, &nc, &nd);
    AppendNodeFace(vertices, size, na, nb, nc, polygon);
    currentMesh = polygon;
    if (polygon->outlines)
        BuildObjectSceneNode(polygon, owner);
    else
        FreeSceneNode(polygon);
    currentMesh = saved;
}

// The four long faces of a box around the line a-b: across runs half either way
// square to the line, each end from its y up by rise.
void EmitBox(const float* a, const float* b, float half, float rise, PlanObject* owner,
             QuadLook sides, QuadLook ends, int grain)
{
    float length = 0.0f;
    float angle = AngleBetweenPoints(a[0], a[2], b[0], b[2], &length);
    P3 a0 = Moved(a, angle + kHalfPi, -half, a[1]);
    P3 a1 = Moved(a, angle + kHalfPi, half, a[1]);
    P3 b0 = Moved(b, angle + kHalfPi, -half, b[1]);
    P3 b1 = Moved(b, angle + kHalfPi, half, b[1]);
    P3 a0t = Point(a0.v[0], a[1] - rise, a0.v[2]);
    P3 a1t = Point(a1.v[0], a[1] - rise, a1.v[2]);
    P3 b0t = Point(b0.v[0], b[1] - rise, b0.v[2]);
    P3 b1t = Point(b1.v[0], b[1] - rise, b1.v[2]);
    const float* underside[4] = {a0.v, b0.v, b1.v, a1.v};
    const float* side0[4] = {a0.v, b0.v, b0t.v, a0t.v};
    const float* side1[4] = {a1.v, b1.v, b1t.v, a1t.v};
    const float* top[4] = {a0t.v, b0t.v, b1t.v, a1t.v};
    EmitQuad(underside, owner, ends, grain);
    EmitQuad(side0, owner, sides, grain);
    EmitQuad(side1, owner, sides, grain);
    EmitQuad(top, owner, ends, grain);
}

// A plate whose underside lies at the points' y: 10.0 across, 2.5 thick.
void AddPlate(const float* a, const float* b, PlanObject* wall)
{
    if (PieceBudget::Take())
        EmitBox(a, b, 5.0f, kPlateThickness, wall, kStudLook, kStudLook, 0);
}

// A stud 10.0 across the wall and 2.5 along it, from the bottom point up to the top.
void AddStud(float angle, const float* bottom, const float* top, PlanObject* wall)
{
    if (!PieceBudget::Take())
        return;
    P3 corner[4];
    const float along[4] = {-1.25f, 1.25f, 1.25f, -1.25f};
    const float across[4] = {-5.0f, -5.0f, 5.0f, 5.0f};
    for (int i = 0; i < 4; ++i) {
        P3 p = Moved(bottom, angle, along[i], bottom[1]);
        corner[i] = Moved(p.v, angle + kHalfPi, across[i], bottom[1]);
    }
    for (int i = 0; i < 4; ++i) {
        const P3& c0 = corner[i];
        const P3& c1 = corner[(i + 1) % 4];
        P3 c0top = Point(c0.v[0], top[1], c0.v[2]);
        P3 c1top = Point(c1.v[0], top[1], c1.v[2]);
        const float* quad[4] = {c0.v, c0top.v, c1top.v, c1.v};
        EmitQuad(quad, wall, kStudLook, 1);
    }
}

// The wall's stud spacing, or the plan's when the wall's is below 6.0; a plan spacing
// that is not a positive number counts as 16.0.
float StudSpacing(const PlanObject* wall)
{
    float spacing = wall->parameters[1];
    if (!(spacing >= 6.0f) || !isfinite(spacing)) {
        spacing = Settings()->studSpacing;
        if (!(spacing > 0.0f) || !isfinite(spacing))
            spacing = 16.0f;
    }
    return Units(spacing);
}

void AddStudRun(const float* a, const float* b, float bottomY, float topY, PlanObject* wall,
                bool first, bool last)
{
    float length = 0.0f;
    float angle = AngleBetweenPoints(a[0], a[2], b[0], b[2], &length);
    float spacing = StudSpacing(wall);
    double wanted = spacing > 0.0f ? floor((double)length / spacing + 0.5) : 0.0;
    int32_t n = wanted > 0.0 ? (wanted > kMaxGeneratedPieces ? kMaxGeneratedPieces : (int32_t)wanted)
                             : 0;
    if (first) {
        P3 foot = Point(a[0], bottomY, a[2]);
        P3 head = Point(a[0], topY, a[2]);
        AddStud(angle, foot.v, head.v, wall);
    }
    for (int32_t i = 1; i < n && !PieceBudget::Spent(); ++i) {
        P3 foot = Moved(a, angle, (float)i * spacing, bottomY);
        P3 head = Point(foot.v[0], topY, foot.v[2]);
        AddStud(angle, foot.v, head.v, wall);
    }
    if (last) {
        P3 foot = Point(b[0], bottomY, b[2]);
        P3 head = Point(b[0], topY, b[2]);
        AddStud(angle, foot.v, head.v, wall);
    }
}

// A block 6.0 across the line from offset above the points up by height.
void AddFramingBlock(const float* a, const float* b, float offset, float height, PlanObject* wall)
{
    if (!PieceBudget::Take())
        return;
    P3 a0 = Point(a[0], a[1] - offset, a[2]);
    P3 b0 = Point(b[0], b[1] - offset, b[2]);
    EmitBox(a0.v, b0.v, 3.0f, height, wall, kBlockLook, kBlockLook, 0);
}

void AddFoundationBlock(const float* a, const float* b, float offset, float height, PlanObject* wall)
{
    if (!PieceBudget::Take())
        return;
    P3 a0 = Point(a[0], a[1] - offset, a[2]);
    P3 b0 = Point(b[0], b[1] - offset, b[2]);
    EmitBox(a0.v, b0.v, 3.0f, height, wall, kPlainLook, kPlainLook, 0);
}

// The doors and windows on the segment that starts at the vertex, by distance.
std::vector<const OpeningRecord*> SegmentOpenings(PlanObject* wall, const PlanVertex* vertex)
{
    std::vector<const OpeningRecord*> records;
    for (PlanObject* child = wall->firstChild; child; child = child->next) {
        if (child->type != ObjDoor && child->type != ObjWindow)
            continue;
        const OpeningRecord* record = static_cast<const OpeningRecord*>(child->link);
        if (record && record->startVertex == vertex)
            records.push_back(record);
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const OpeningRecord* x, const OpeningRecord* y) {
                         return x->distanceFromStart < y->distanceFromStart;
                     });
    return records;
}

void FrameSegment(PlanObject* wall, PlanVertex* v, const PlanVertex* n)
{
    const float lift = Units(wall->parameters[2]) + Units(v->segmentElevation);
    const float foot = v->position[1] - lift;
    const float hs = Units(v->mainHeight);
    const float header = Units(12.0f);
    float length = 0.0f;
    const float angle = AngleBetweenPoints(v->position[0], v->position[2], n->position[0],
                                           n->position[2], &length);
    const float studFoot = foot - kPlateThickness;
    const float studHead = foot - hs;
    P3 a = Point(v->position[0], foot, v->position[2]);
    const P3 end = Point(n->position[0], foot, n->position[2]);

    for (const OpeningRecord* record : SegmentOpenings(wall, v)) {
        float e = record->elevation;
        float h = record->height;
        P3 left = Moved(v->position, angle, record->distanceFromStart - record->width / 2.0f, foot);
        P3 right = Moved(v->position, angle, record->distanceFromStart + record->width / 2.0f, foot);
        AddStudRun(a.v, left.v, studFoot, studHead, wall, true, true);
        AddPlate(a.v, left.v, wall);
        P3 sillLeft = Point(left.v[0], foot - e, left.v[2]);
        P3 sillRight = Point(right.v[0], foot - e, right.v[2]);
        AddPlate(sillLeft.v, sillRight.v, wall);
        float above = hs - (e + h);
        // Short studs where there is room between the bottom plate and the sill.
        if (e > kPlateThickness)
            AddStudRun(left.v, right.v, studFoot, foot - e, wall, false, false);
        if (above <= header) {
            AddFramingBlock(left.v, right.v, e + h, above, wall);
        } else {
            AddFramingBlock(left.v, right.v, e + h, header, wall);
            AddStudRun(left.v, right.v, foot - (e + h + header), studHead, wall, false, false);
        }
        a = right;
    }
    AddStudRun(a.v, end.v, studFoot, studHead, wall, true, true);
    AddPlate(a.v, end.v, wall);
    P3 topStart = Point(v->position[0], foot - hs, v->position[2]);
    P3 topEnd = Point(n->position[0], foot - hs, n->position[2]);
    AddPlate(topStart.v, topEnd.v, wall);

    if (lift > 0.0f) {
        const float* base0 = v->position;
        const float* base1 = n->position;
        if (wall->subType == kExteriorWallGroup && (wall->category & kCategoryFoundation))
            AddFoundationBlock(base0, base1, 0.0f, lift, wall);
        else
            AddFramingBlock(base0, base1, 0.0f, lift, wall);
    }
}

} // namespace

void EmitTexturedQuad(const float* p0, const float* p1, const float* p2, const float* p3,
                      PlanObject* owner, int grain)
{
    const float* p[4] = {p0, p1, p2, p3};
    EmitQuad(p, owner, kStudLook, grain);
}

void EmitBlockQuad(const float* p0, const float* p1, const float* p2, const float* p3,
                   PlanObject* owner)
{
    const float* p[4] = {p0, p1, p2, p3};
    EmitQuad(p, owner, kBlockLook, 0);
}

void EmitPlainQuad(const float* p0, const float* p1, const float* p2, const float* p3,
                   PlanObject* owner)
{
    const float* p[4] = {p0, p1, p2, p3};
    EmitQuad(p, owner, kPlainLook, 0);
}

void BuildWallFraming(PlanObject* wall)
{
    if (!wall || !Settings())
        return;
    PieceBudget budget;
    for (PlanVertex* v = wall->firstVertex; v && !PieceBudget::Spent(); v = v->next) {
        const PlanVertex* n = v->next;
        if (!n && wall->closed && v != wall->firstVertex)
            n = wall->firstVertex;
        if (!n)
            break;
        if (v->segmentStyle == 0)
            FrameSegment(wall, v, n);
    }
}
