#include "model3d/fences.h"
#include "model3d/array_objects.h"
#include "model3d/generated_parts.h"
#include "model3d/generator_limits.h"
#include "model3d/rebuild_wait_cursor.h"
#include "model/hermite.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "render3d/object_polygons.h"
#include <windows.h>
#include <initializer_list>
#include <stdlib.h>

PostRunState postRunState;

namespace {

constexpr uint16_t kGateStart = 6;
constexpr float kPostSpacing = 20.0f;
constexpr float kShortestGate = 50.0f;

// Picket width W, fence height H, gap (rail width) G, rail height R.
struct PicketStyle {
    float width;
    float height;
    float gap;
    float railHeight;
    bool rails;
};

bool PicketStyleOf(uint32_t style, PicketStyle* out)
{
    switch (style) {
    case 700: *out = {12.0f, 72.0f, 6.0f, 8.0f, true}; return true;
    case 701: *out = {12.0f, 96.0f, 6.0f, 8.0f, true}; return true;
    case 702: *out = {16.0f, 72.0f, 6.0f, 8.0f, true}; return true;
    case 703: *out = {10.0f, 144.0f, 0.0f, 0.0f, false}; return true;
    default: return false;
    }
}

bool CanRebuild(PlanObject* fence, uint16_t type)
{
    return fence && fence->type == type && fence->rows == 1 && fence->vertexCount >= 2 &&
           CountVertexChain(fence) >= 2 && activeDocument && activeDocument->settings;
}

void StartRebuild(PlanObject* fence)
{
    RemoveObjectPolygons(fence);
    FreeGeneratedParts(fence);
}

PlanFloor* FloorOf(const PlanObject* fence)
{
    return fence->floor ? fence->floor : activeDocument->currentFloor;
}

// Each segment of the polyline in chain order, the closing one of a closed fence last.
template <typename Visit>
void ForEachSegment(PlanObject* fence, Visit visit)
{
    PlanVertex* v = fence->firstVertex;
    for (; v && v->next && !PieceBudget::Spent(); v = v->next)
        visit(v, v->next);
    if (fence->closed && v && v != fence->firstVertex && !PieceBudget::Spent())
        visit(v, fence->firstVertex);
}

// Where one segment's pieces are laid: its start, direction and length.
struct SegmentFrame {
    const PlanVertex* a;
    float angle;
    float length;
};

SegmentFrame FrameOf(const PlanVertex* a, const PlanVertex* b)
{
    SegmentFrame frame{a, 0.0f, 0.0f};
    frame.angle = AngleBetweenPoints(a->position[0], a->position[2], b->position[0], b->position[2],
                                     &frame.length);
    return frame;
}

// A flat board standing in the segment's plane: its outline given as (offset along the
// segment from the piece's base at along-distance s, y), y values as they stand. It
// takes the materials of the vertex given, its colour A that vertex's face-A colour.
void AddBoard(PlanObject* fence, const SegmentFrame& frame, float s,
              std::initializer_list<Point3f> outline, const PlanVertex* materials)
{
    if (!PieceBudget::Take())
        return;
    Point3f points[8];
    Point3f zero[8] = {};
    int32_t n = 0;
    for (const Point3f& p : outline) {
        float dx = 0.0f, dz = 0.0f;
        OffsetPointPolar(frame.angle, s + p.x, &dx, &dz);
        points[n++] = {frame.a->position[0] + dx, p.y, frame.a->position[2] + dz};
    }
    PlanObject* piece = CreateSolidFromArrays(points, nullptr, zero, zero, nullptr, nullptr, n,
                                              FloorOf(fence), 1);
    if (!piece)
        return;
    UnlinkObject(piece);
    piece->type = ObjPicketFence;
    piece->colourA = materials->faceColourA;
    for (PlanVertex* v = piece->firstVertex; v; v = v->next) {
        v->faceTextureA = materials->faceTextureA;
        v->faceTextureB = materials->faceTextureB;
        v->faceColourA = materials->faceColourA;
        v->faceColourB = materials->faceColourB;
    }
    AppendGeneratedPart(fence, piece);
}

void AddPicket(PlanObject* fence, const SegmentFrame& frame, float s, float w, const PicketStyle& st)
{
    const float base = frame.a->position[1];
    const float h = st.height;
    AddBoard(fence, frame, s,
             {{0, base, 0}, {0, 8.0f - h, 0}, {w / 2.0f, -h, 0}, {w, 8.0f - h, 0}, {w, base, 0}},
             fence->firstVertex);
}

// Two rails across a gap, R high, centred a quarter and 0.6 of the fence height up.
void AddRails(PlanObject* fence, const SegmentFrame& frame, float s, const PicketStyle& st)
{
    for (float centre : {-0.25f * st.height, -0.6f * st.height}) {
        float low = centre + st.railHeight / 2.0f;
        float high = centre - st.railHeight / 2.0f;
        AddBoard(fence, frame, s, {{0, low, 0}, {0, high, 0}, {st.gap, high, 0}, {st.gap, low, 0}},
                 fence->firstVertex);
    }
}

void BuildPicketSegment(PlanObject* fence, const SegmentFrame& frame, const PicketStyle& st)
{
    const float t = frame.length;
    float r = t;
    while (r > st.width && r > st.gap && !PieceBudget::Spent()) {
        AddPicket(fence, frame, t - r, st.width, st);
        r -= st.width;
        if (r > st.width && r > st.gap && st.rails) {
            AddRails(fence, frame, t - r, st);
            r -= st.gap;
        }
    }
    if (r > 0.0f)
        AddPicket(fence, frame, t - r, r, st);
}

// A gate: hinge and latch gaps with rails, two end boards rising 8.0 towards the middle
// and a middle board with a crest 6.0 above the fence.
void BuildGateSegment(PlanObject* fence, const SegmentFrame& frame, const PicketStyle& st)
{
    const float t = frame.length;
    if (!(t >= kShortestGate))
        return;
    const float g = st.gap;
    const float h = st.height;
    const float inner = t - 2.0f * g;
    float q = 6.0f;
    float m = 12.0f;
    if (m > inner - 2.0f * q)
        q = inner * 0.25f;
    m = inner - 2.0f * q;
    AddRails(fence, frame, 0.0f, st);
    AddRails(fence, frame, t - g, st);
    const PlanVertex* gate = frame.a;
    const float base = gate->position[1];
    AddBoard(fence, frame, g, {{0, base, 0}, {0, 8.0f - h, 0}, {q, -h, 0}, {q, base, 0}}, gate);
    AddBoard(fence, frame, t - g - q, {{0, base, 0}, {0, -h, 0}, {q, 8.0f - h, 0}, {q, base, 0}},
             gate);
    AddBoard(fence, frame, g + q,
             {{0, base, 0}, {0, -h, 0}, {0.25f * m, -h - 6.0f, 0}, {0.75f * m, -h - 6.0f, 0},
              {m, -h, 0}, {m, base, 0}},
             gate);
}

// A post 8.0 square turned to the chord, from 1.0 to 12.0..24.0 above its base.
void AddPost(PlanObject* fence, const float* p, float angle)
{
    if (!PieceBudget::Take())
        return;
    float h = 11.0f + (float)(rand() % 13 + 1);
    Point3f lower[4], upper[4];
    Point3f zero[4] = {};
    const float corners[4][2] = {{-4, -4}, {4, -4}, {4, 4}, {-4, 4}};
    for (int i = 0; i < 4; ++i) {
        float ax = 0.0f, az = 0.0f, cx = 0.0f, cz = 0.0f;
        OffsetPointPolar(angle, corners[i][0], &ax, &az);
        OffsetPointPolar(angle + 1.5707963267948966f, corners[i][1], &cx, &cz);
        lower[i] = {p[0] + ax + cx, p[1] - 1.0f, p[2] + az + cz};
        upper[i] = {lower[i].x, p[1] - h, lower[i].z};
    }
    PlanObject* post = CreateSolidFromArrays(lower, upper, zero, zero, zero, zero, 4, FloorOf(fence), 1);
    if (!post)
        return;
    UnlinkObject(post);
    post->colourA = fence->firstVertex->faceColourA;
    AppendGeneratedPart(fence, post);
}

// Posts every spacing along the chord, the distance carried on from the chord before.
void WalkChord(PlanObject* fence, const float* from, const float* to)
{
    float d = 0.0f;
    float angle = AngleBetweenPoints(from[0], from[2], to[0], to[2], &d);
    float covered = 0.0f;
    const float spacing = postRunState.lengths[0];
    while (d > 0.0f && !PieceBudget::Spent()) {
        float need = spacing - postRunState.carried;
        if (need <= d) {
            covered += need;
            float dx = 0.0f, dz = 0.0f;
            OffsetPointPolar(angle, covered, &dx, &dz);
            const float at[3] = {from[0] + dx, from[1], from[2] + dz};
            AddPost(fence, at, angle);
            postRunState.carried = 0.0f;
            d -= need;
        } else {
            postRunState.carried += d;
            d = 0.0f;
        }
    }
}

void WalkPostSegment(PlanObject* fence, const PlanVertex* a, const PlanVertex* b)
{
    float coefficients[3][4];
    ComputeVertexSegmentCoefficients(a, b, coefficients);
    const int32_t n = 4 * (int32_t)UsableCurveSteps(activeDocument->settings);
    float previous[3] = {0.0f, 0.0f, 0.0f};
    for (int32_t i = 0; i <= n && !PieceBudget::Spent(); ++i) {
        float point[3];
        EvaluateSegmentCoefficients(coefficients, (float)i / (float)n, point);
        if (i > 0)
            WalkChord(fence, previous, point);
        for (int k = 0; k < 3; ++k)
            previous[k] = point[k];
    }
}

} // namespace

void RebuildPicketFence(PlanObject* fence)
{
    if (!CanRebuild(fence, ObjPicketFence))
        return;
    StartRebuild(fence);
    PicketStyle style;
    if (!PicketStyleOf(fence->styleOrTexture, &style))
        return;
    PieceBudget budget;
    ForEachSegment(fence, [&](PlanVertex* a, PlanVertex* b) {
        SegmentFrame frame = FrameOf(a, b);
        if (a->kind == kGateStart)
            BuildGateSegment(fence, frame, style);
        else
            BuildPicketSegment(fence, frame, style);
    });
}

void RebuildFence(PlanObject* fence)
{
    if (!CanRebuild(fence, ObjFence))
        return;
    RebuildWaitCursor wait;
    StartRebuild(fence);
    postRunState = {};
    postRunState.lengths[0] = kPostSpacing;
    postRunState.carried = kPostSpacing;
    PieceBudget budget;
    ForEachSegment(fence, [&](PlanVertex* a, PlanVertex* b) { WalkPostSegment(fence, a, b); });
}

void RebuildFloorFences(PlanFloor* floor)
{
    ForEachShownFloorObject(floor, RebuildFence);
}

void RebuildFloorPicketFences(PlanFloor* floor)
{
    ForEachShownFloorObject(floor, RebuildPicketFence);
}

void RebuildAllFences(PlanFloor* firstFloor)
{
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        RebuildFloorFences(floor);
}

void RebuildAllPicketFences(PlanFloor* firstFloor)
{
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        RebuildFloorPicketFences(floor);
}
