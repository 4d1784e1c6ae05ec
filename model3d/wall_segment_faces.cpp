#include "model3d/wall_segment_faces.h"
#include "model3d/face_triangulation.h"
#include "model3d/object_faces.h"
#include "model3d/opening_holes.h"
#include "model3d/scene_polygons.h"
#include "model3d/wall_trims.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include <algorithm>
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <vector>

namespace {

constexpr uint32_t kFramingStudTexture = 2202;
constexpr ColourTriple kCapGrey = {57568, 57568, 57568};
constexpr uint16_t kNeverARealEdge = 10000;
constexpr float kPi = 3.14159265358979f;

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

float Units(float length)
{
    return UnitsToPlanLength(length, Settings(), 0);
}

bool Finite(float v)
{
    return isfinite(v) != 0;
}

// One point of a profile: its distance from the segment's start S, its height above
// the foot.
struct ProfilePoint {
    float fromStart;
    float height;
};

// A wall segment's elevation profile: the heights at its start and far end, the points
// between (in order from the start), the top height.
struct Profile {
    float atStart;
    float atEnd;
    std::vector<ProfilePoint> between;
    float top;
};

Profile Plain(float f)
{
    return {f, f, {}, f};
}

// The profile by shape code. Heights F, G, M include the slab thickness; the pitches
// are rises per unit of run. Codes that divide by a pitch, or meet at a gable, fall back
// to the plain profile at F when the division or the meeting has no finite answer.
Profile ProfileFor(uint32_t code, float L, float F, float G, float M, float p, float q)
{
    Profile plain = Plain(F);
    Profile out = plain;
    switch (code) {
    case 1: {
        if (p == 0.0f || q == 0.0f)
            return plain;
        float x = 0.0f, y = 0.0f;
        IntersectLines(0.0f, F, 100.0f, F + 100.0f * p, L, G, L - 100.0f, G + 100.0f * q, &x, &y);
        if (x == kNoIntersection || y == kNoIntersection)
            return plain;
        out = {F, G, {{fabsf(x), fabsf(y)}}, fabsf(y)};
        break;
    }
    case 2:
        out = {F, F + L * p, {}, F + L * p};
        break;
    case 3:
        out = {F + L * p, F, {}, F + L * p};
        break;
    case 4: case 5: case 6: case 7: {
        if (p == 0.0f || q == 0.0f)
            return plain;
        float first = (code == 4 || code == 5) ? (M - F) / p : (F - M) / p;
        float second = (code == 4 || code == 6) ? (M - G) / q : (G - M) / q;
        out = {F, G, {{first, M}, {L - second, M}}, M};
        break;
    }
    case 8: case 9: case 10: case 11: {
        if (p == 0.0f)
            return plain;
        float r = (G - F) / p;
        float at = code == 8 ? L - r : code == 9 ? L + r : code == 10 ? r : -r;
        if (code <= 9)
            out = {G, F, {{at, G}}, G};
        else
            out = {F, G, {{at, G}}, G};
        break;
    }
    default:
        return plain;
    }
    bool finite = Finite(out.atStart) && Finite(out.atEnd) && Finite(out.top);
    for (const ProfilePoint& point : out.between)
        finite = finite && Finite(point.fromStart) && Finite(point.height);
    return finite ? out : plain;
}

// Which wall segment and side a quad of the mesh belongs to.
struct SegmentPlace {
    int32_t segments;   // N
    int32_t index;      // j', the wall vertex of the segment
    bool sideTwo;
    bool corner;        // the closing corner, or the far end of an open group
};

bool PlaceQuad(const PlanObject* mesh, const PlanObject* wall, int32_t j, SegmentPlace* place)
{
    const bool closed = wall->closed != 0;
    int32_t n = (int32_t)(mesh->vertexCount / 4) - (closed ? 1 : 0);
    if (n < 2)
        return false;
    place->segments = n;
    place->corner = false;
    if (j <= (closed ? n - 1 : n - 2)) {
        place->index = j;
        place->sideTwo = false;
        return true;
    }
    place->sideTwo = true;
    if (closed) {
        place->index = 2 * n - j;
        place->corner = place->index == j;
    } else {
        place->index = (int32_t)(mesh->vertexCount / 2) - j - 2;
        place->corner = place->index == n - 1;
    }
    return place->index >= 0;
}

PlanVertex* ChainVertex(PlanObject* object, int32_t index, bool wrap)
{
    int32_t count = CountVertexChain(object);
    if (count < 1 || index < 0)
        return nullptr;
    if (wrap)
        index %= count;
    PlanVertex* v = object->firstVertex;
    for (int32_t i = 0; i < index && v; ++i)
        v = v->next;
    return v;
}

// The successor on the wall line; the first vertex after the last of a closed group.
PlanVertex* NextWallVertex(PlanObject* wall, PlanVertex* v)
{
    if (v->next)
        return v->next;
    return wall->closed && wall->firstVertex != v ? wall->firstVertex : nullptr;
}

// The openings whose record starts at the wall vertex, by distance: ascending on side
// one, descending on side two; equal distances keep their order.
std::vector<PlanObject*> OpeningsOf(PlanObject* wall, const PlanVertex* vertex, bool sideTwo)
{
    std::vector<PlanObject*> openings;
    for (PlanObject* child = wall->firstChild; child; child = child->next) {
        if (!IsOpeningType(child->type))
            continue;
        const OpeningRecord* record = static_cast<const OpeningRecord*>(child->link);
        if (record && record->startVertex == vertex)
            openings.push_back(child);
    }
    auto distance = [](PlanObject* o) {
        return static_cast<const OpeningRecord*>(o->link)->distanceFromStart;
    };
    std::stable_sort(openings.begin(), openings.end(), [&](PlanObject* x, PlanObject* y) {
        return sideTwo ? distance(x) > distance(y) : distance(x) < distance(y);
    });
    return openings;
}

// Where the segment starts along the face: the overhang of the face's start corner past
// the wall vertex along the wall line.
float StartOffset(PlanObject* wall, PlanVertex* vertex, PlanVertex* next, const float* corner,
                  const OpeningRecord* record, float length)
{
    if (!wall->closed && vertex == wall->firstVertex)
        return 0.0f;
    if (!wall->closed && next && !next->next)
        return length - (record->distanceFromStart + record->distanceToEnd);
    float fx = 0.0f, fz = 0.0f;
    FindPerpendicularFoot(vertex->position[0], vertex->position[2], next->position[0],
                          next->position[2], corner[0], corner[2], &fx, &fz);
    float a = Distance2D(vertex->position[0], vertex->position[2], fx, fz);
    float towardsNext = (fx - vertex->position[0]) * (next->position[0] - vertex->position[0]) +
                        (fz - vertex->position[2]) * (next->position[2] - vertex->position[2]);
    return towardsNext < 0.0f ? a : -a;
}

// Baseboard heights by bit (8, 16, 32, 64), wainscot heights (128, 256, 512, 1024), and
// the height without a height bit; imperial in inches, metric in centimetres.
void BuildTrim(const TrimFace& face, uint32_t word)
{
    const bool metric = Settings()->unitSystem == kUnitSystemMetric;
    auto pick = [&](const uint32_t* bits, const float* inches, const float* centimetres,
                    float noneInches, float noneCentimetres) {
        for (int i = 0; i < 4; ++i)
            if (word & bits[i])
                return metric ? CentimetresToInches(centimetres[i]) : inches[i];
        return metric ? CentimetresToInches(noneCentimetres) : noneInches;
    };
    if (word & 3u) {
        static const uint32_t bits[4] = {8, 16, 32, 64};
        static const float inches[4] = {3.0f, 4.0f, 6.0f, 8.0f};
        static const float centimetres[4] = {8.0f, 10.0f, 15.0f, 20.0f};
        BuildBaseboard(face, pick(bits, inches, centimetres, 6.0f, 15.0f));
    } else if (word & 4u) {
        static const uint32_t bits[4] = {128, 256, 512, 1024};
        static const float inches[4] = {36.0f, 42.0f, 48.0f, 60.0f};
        static const float centimetres[4] = {90.0f, 105.0f, 120.0f, 150.0f};
        BuildWainscot(face, pick(bits, inches, centimetres, 42.0f, 105.0f));
    }
}

// A position on the face line at the distance from vertex 0 towards vertex 3.
void FaceLinePoint(const MeshVertex& v0, const MeshVertex& v3, float length, float fromV0,
                   float* out)
{
    float f = length != 0.0f ? fromV0 / length : 0.0f;
    out[0] = v0.x + (v3.x - v0.x) * f;
    out[1] = v0.y + (v3.y - v0.y) * f;
    out[2] = v0.z + (v3.z - v0.z) * f;
}

// The face's new outline: vertex 0, the profile over it towards vertex 3, vertex 3.
void ReplaceByProfile(PolygonOutline* outline, const Profile& profile, bool sideTwo,
                      float length, bool plainRectangle, bool firstFloor)
{
    const MeshVertex v0 = outline->vertices[0];
    const MeshVertex v3 = outline->vertices[3];
    const float t = profile.top != 0.0f ? profile.top : 1.0f;
    const float h0 = sideTwo ? profile.atStart : profile.atEnd;
    const float h3 = sideTwo ? profile.atEnd : profile.atStart;

    std::vector<MeshVertex> points;
    points.push_back({v0.x, v0.y, v0.z, 0, 0.0f, 1.0f});
    points.push_back({v0.x, v0.y - h0, v0.z, 0, 0.0f, 1.0f - h0 / t});
    std::vector<ProfilePoint> between = profile.between;
    if (!sideTwo)
        std::reverse(between.begin(), between.end());
    for (const ProfilePoint& point : between) {
        float fromV0 = sideTwo ? point.fromStart : length - point.fromStart;
        float at[3];
        FaceLinePoint(v0, v3, length, fromV0, at);
        points.push_back({at[0], at[1] - point.height, at[2], 0, fromV0 / length, 0.0f});
    }
    points.push_back({v3.x, v3.y - h3, v3.z, 0, 1.0f, 1.0f - h3 / t});
    points.push_back({v3.x, v3.y, v3.z, 0, 1.0f, 1.0f});
    // A parallel view hides the rectangle's upper edges.
    if (plainRectangle) {
        points[1].edgeFlag = kNeverARealEdge;
        if (firstFloor)
            points.back().edgeFlag = kNeverARealEdge;
    }

    MeshVertex* vertices = static_cast<MeshVertex*>(malloc(points.size() * sizeof(MeshVertex)));
    if (!vertices) {
        free(outline->vertices);
        outline->vertices = nullptr;
        outline->vertexCount = 0;
        return;
    }
    memcpy(vertices, points.data(), points.size() * sizeof(MeshVertex));
    free(outline->vertices);
    outline->vertices = vertices;
    outline->vertexCount = (int32_t)points.size();
}

// A light grey quad across the wall's thickness at a segment's end, from its foot up to
// the height given, filed under the wall.
void BuildEndCap(PlanObject* mesh, PlanObject* wall, const PlanVertex* from, const PlanVertex* to,
                 float height, float elevation)
{
    ScenePolygon* face = currentMesh;
    currentMesh = CreateSceneNode();
    if (currentMesh) {
        currentMesh->sourceType = (int16_t)mesh->type;
        currentMesh->colourA = kCapGrey;
        currentMesh->colourB = kCapGrey;
        currentMesh->elevation = elevation;
        const float fromUp[3] = {from->position[0], from->position[1] - height, from->position[2]};
        const float toUp[3] = {to->position[0], to->position[1] - height, to->position[2]};
        float across = Distance3D(from->position[0], from->position[1], from->position[2],
                                  to->position[0], to->position[1], to->position[2]);
        BuildQuadFace(to->position, toUp, fromUp, from->position, across, across, wall, 0.0f, 0.0f,
                      across, across);
        if (currentMesh->outlines)
            BuildObjectSceneNode(currentMesh, wall);
        else
            FreeSceneNode(currentMesh);
    }
    currentMesh = face;
}

} // namespace

void BuildWallSegmentFaces(PlanObject* mesh, PlanObject* wallGroup, PlanVertex* const corners[4],
                           int32_t quadIndex, PolygonOutline* outlines)
{
    PlanSettings* settings = Settings();
    ScenePolygon* face = currentMesh;
    if (!mesh || !wallGroup || !corners || !outlines || !settings || !face ||
        outlines->vertexCount != 4 || !outlines->vertices)
        return;
    SegmentPlace place;
    if (!PlaceQuad(mesh, wallGroup, quadIndex, &place))
        return;
    const bool closed = wallGroup->closed != 0;
    // A quad whose segment has no wall vertex keeps its plain face.
    PlanVertex* vertex = ChainVertex(wallGroup, place.index, closed);
    if (!vertex)
        return;
    PlanVertex* next = NextWallVertex(wallGroup, vertex);
    const float t = Units(wallGroup->parameters[2]);
    MeshVertex* v = outlines->vertices;

    if (place.corner) {
        // The corner takes the height at the far end of the segment before it.
        PlanVertex* before = closed ? ChainVertex(wallGroup, place.index - 1, true) : vertex->previous;
        if (!before)
            return;
        float h = GetElementHeightForKind(before, 2) + t;
        v[1].y = v[0].y - h;
        v[2].y = v[0].y - h;
        face->elevation = before->segmentElevation;
        return;
    }
    if (settings->framingStyle && vertex->segmentStyle == 0) {
        FreeOutlineList(face->outlines);
        face->outlines = nullptr;
        return;
    }

    // Side one shows the vertex's second face material, side two its first.
    const bool sideTwo = place.sideTwo;
    if (settings->framingStyle) {
        face->textureA = face->textureB = kFramingStudTexture;
        face->textureSlotA = face->textureSlotB = nullptr;
        face->colourSlotA = face->colourSlotB = nullptr;
    } else if (sideTwo) {
        face->textureA = vertex->faceTextureA;
        face->textureSlotA = &vertex->faceTextureA;
        face->colourA = vertex->faceColourA;
        face->colourSlotA = &vertex->faceColourA;
        face->textureB = vertex->faceTextureB;
        face->textureSlotB = &vertex->faceTextureB;
        face->colourB = vertex->faceColourB;
        face->colourSlotB = &vertex->faceColourB;
    } else {
        face->textureA = vertex->faceTextureB;
        face->textureSlotA = &vertex->faceTextureB;
        face->colourA = vertex->faceColourB;
        face->colourSlotA = &vertex->faceColourB;
        face->textureB = vertex->faceTextureA;
        face->textureSlotB = &vertex->faceTextureA;
        face->colourB = vertex->faceColourA;
        face->colourSlotB = &vertex->faceColourA;
    }
    face->trimWord = sideTwo ? &vertex->faceFlagsB : &vertex->faceFlagsA;

    const float v3[3] = {v[3].x, v[3].y, v[3].z};
    const float v0[3] = {v[0].x, v[0].y, v[0].z};
    float length = 0.0f;
    const float towardsFar = AngleBetweenPoints(v3[0], v3[2], v0[0], v0[2], &length);
    // The face direction the profile and the trims read runs from vertex 0 to vertex 3,
    // so that its left-hand side is the face's outside; holes are measured from vertex 3.
    const float faceAngle = towardsFar + kPi;
    face->elevation = vertex->segmentElevation;

    if (next) {
        const float* corner = sideTwo ? corners[2]->position : corners[0]->position;
        for (PlanObject* opening : OpeningsOf(wallGroup, vertex, sideTwo)) {
            if (opening->type != ObjDoor && opening->type != ObjWindow)
                continue;
            const OpeningRecord* record = static_cast<const OpeningRecord*>(opening->link);
            float a = StartOffset(wallGroup, vertex, next, corner, record, length);
            BuildOpeningHole(outlines, towardsFar, length, v3, record, sideTwo ? 1 : 0, a,
                             Units(vertex->mainHeight), t);
        }
    }

    if (!settings->framingStyle) {
        const TrimFace trim = {outlines, faceAngle, length, v3, v0, t, vertex->segmentElevation};
        BuildTrim(trim, sideTwo ? vertex->faceFlagsB : vertex->faceFlagsA);
    }

    const float F = Units(vertex->mainHeight) + t;
    const float G = Units(vertex->heightC) + t;
    const float M = Units(vertex->heightD) + t;
    Profile profile = ProfileFor(vertex->segmentStyle, length, F, G, M, vertex->angleA / 12.0f,
                                 vertex->angleB / 12.0f);
    const bool plainRectangle = settings->orthographic3D != 0 &&
                                (vertex->segmentStyle == 0 || vertex->segmentStyle > 11);
    const bool firstFloor = wallGroup->floor && strcmp(wallGroup->floor->name, "First Floor") == 0;
    ReplaceByProfile(outlines, profile, sideTwo, length, plainRectangle, firstFloor);

    if (face->textureA)
        GetTextureUvScale(face->textureA, length, profile.top, &face->uFactorA, &face->vFactorA);
    if (face->textureB)
        GetTextureUvScale(face->textureB, length, profile.top, &face->uFactorB, &face->vFactorB);
    face->partKind = kPartWallFace;

    // Caps across the wall where the next segment does not go on alike.
    const bool lastOfOpen = !closed && next && !next->next;
    if (!sideTwo || lastOfOpen)
        return;
    bool differs = !next || next->mainHeight != vertex->mainHeight ||
                   next->segmentElevation != vertex->segmentElevation ||
                   vertex->segmentStyle != 0 || next->segmentStyle != 0;
    if (!differs)
        return;
    const PlanVertex* remembered = mesh->firstVertex;
    for (int32_t i = 0; i < place.index + 1 && remembered; ++i)
        remembered = remembered->next;
    if (!remembered)
        return;
    BuildEndCap(mesh, wallGroup, remembered, corners[0], GetElementHeightForKind(vertex, 2) + t,
                vertex->segmentElevation);
    if (next)
        BuildEndCap(mesh, wallGroup, remembered, corners[0], GetElementHeightForKind(next, 1) + t,
                    next->segmentElevation);
}
