#include "tools/roof_planes.h"
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/texture_coords.h"
#include "model3d/array_objects.h"
#include "model3d/generated_parts.h"

namespace {

// The fascia band's height, also the ridge's allowance above it, and the pitch's run.
const float kBandHeight = 12.0f;
const float kPitchRun = 12.0f;
const int32_t kMostCorners = 6;

RoofPoint Raised(RoofPoint p)
{
    p.y -= kBandHeight;
    return p;
}

RoofPoint Lowered(RoofPoint p)
{
    p.y += kBandHeight;
    return p;
}

// One roof's build: where the planes go, their corners' order and their looks.
struct RoofBuild {
    PlanObject* roof;
    PlanFloor* floor;
    Point3f* corners;
    Point3f* zero;
    RoofPoint v[4];
    RoofPoint s, e;
    // The corners are taken as listed when true, else in the other sense of rotation.
    bool listedOrder;
    const PlanVertex* look;
};

// The corners of an outline that runs one way round in the plan are listed as they
// come; the other way, the first stays first and the rest follow backwards.
bool ListedOrder(const RoofPoint* v)
{
    return (v[0].x < v[2].x && v[0].z < v[2].z && v[0].z < v[3].z) ||
           (v[1].x < v[3].x && v[1].z < v[3].z && v[0].x < v[3].x) ||
           (v[2].x < v[0].x && v[2].z < v[0].z && v[3].z < v[0].z) ||
           (v[3].x < v[1].x && v[3].z < v[1].z && v[3].x < v[0].x);
}

// A plane of the type over the listed corners, in listed order or the other sense; a
// plane that cannot be made is left out.
void Emit(const RoofBuild& b, uint16_t type, bool listed, std::initializer_list<RoofPoint> points)
{
    int32_t n = 0;
    for (const RoofPoint& p : points)
        b.corners[n++] = {p.x, p.y, p.z};
    if (!listed)
        std::reverse(b.corners + 1, b.corners + n);
    PlanObject* plane = CreateSolidFromArrays(b.corners, nullptr, b.zero, b.zero, nullptr, nullptr, n,
                                              b.floor, 0);
    if (!plane)
        return;
    AttachRoofPlane(plane, b.roof);
    plane->type = type;
    // Tops take the roof's face-A texture and colour; bands its face-A colour; the
    // undersides its face-B colour.
    const uint32_t texture = type == ObjRoofPlane ? b.look->faceTextureA : 0;
    const ColourTriple colour = type == ObjRoofUnderside ? b.look->faceColourB : b.look->faceColourA;
    for (PlanVertex* v = plane->firstVertex; v; v = v->next) {
        v->faceTextureA = v->faceTextureB = texture;
        v->faceColourA = v->faceColourB = colour;
    }
}

// The hip end at V0-V3 up to S (start), or at V1-V2 up to E (end), whose orders are the
// start's exchanged.
void BuildHipEnd(const RoofBuild& b, bool atStart)
{
    const RoofPoint a = atStart ? b.v[0] : b.v[1];
    const RoofPoint c = atStart ? b.v[3] : b.v[2];
    const RoofPoint apex = atStart ? b.s : b.e;
    const bool listed = atStart ? b.listedOrder : !b.listedOrder;
    Emit(b, ObjRoofPlane, listed, {Raised(a), Raised(c), apex});
    Emit(b, ObjRoofBand, listed, {a, c, Raised(c), Raised(a)});
    Emit(b, ObjRoofUnderside, listed, {a, c, Lowered(apex)});
}

void BuildStartHipEnd(const RoofBuild& b)
{
    BuildHipEnd(b, true);
}

void BuildEndHipEnd(const RoofBuild& b)
{
    BuildHipEnd(b, false);
}

// The two rake bands of a gable end from its eave corners up to the ridge end; no
// triangle closes the gable, whose wall is not the roof's.
void BuildGableEnd(const RoofBuild& b, bool atStart)
{
    const RoofPoint a = atStart ? b.v[0] : b.v[1];
    const RoofPoint c = atStart ? b.v[3] : b.v[2];
    const RoofPoint apex = atStart ? b.s : b.e;
    const bool listed = atStart ? b.listedOrder : !b.listedOrder;
    Emit(b, ObjRoofBand, listed, {Raised(a), a, Lowered(apex), apex});
    Emit(b, ObjRoofBand, listed, {apex, Lowered(apex), c, Raised(c)});
}

void BuildStartGableEnd(const RoofBuild& b)
{
    BuildGableEnd(b, true);
}

void BuildEndGableEnd(const RoofBuild& b)
{
    BuildGableEnd(b, false);
}

// The two main slopes with their fascias and undersides, every style.
void BuildMainSlopes(const RoofBuild& b)
{
    const RoofPoint* v = b.v;
    Emit(b, ObjRoofPlane, b.listedOrder, {Raised(v[3]), Raised(v[2]), b.e, b.s});
    Emit(b, ObjRoofBand, b.listedOrder, {v[3], v[2], Raised(v[2]), Raised(v[3])});
    Emit(b, ObjRoofPlane, b.listedOrder, {Raised(v[0]), b.s, b.e, Raised(v[1])});
    Emit(b, ObjRoofBand, b.listedOrder, {v[0], Raised(v[0]), Raised(v[1]), v[1]});
    Emit(b, ObjRoofUnderside, b.listedOrder, {v[3], v[2], Lowered(b.e), Lowered(b.s)});
    Emit(b, ObjRoofUnderside, b.listedOrder, {v[0], Lowered(b.s), Lowered(b.e), v[1]});
}

}  // namespace

void ComputeRoofRidge(const RoofPoint v[4], float pitch, uint32_t style, RoofPoint* s, RoofPoint* e)
{
    const float h = std::hypot(v[3].x - v[0].x, v[3].z - v[0].z) / 2.0f;
    const float rise = pitch / kPitchRun * h + kBandHeight;
    *s = {(v[0].x + v[3].x) / 2.0f, v[0].y - rise, (v[0].z + v[3].z) / 2.0f};
    *e = {(v[1].x + v[2].x) / 2.0f, v[1].y - rise, (v[1].z + v[2].z) / 2.0f};
    const float length = std::hypot(v[1].x - v[0].x, v[1].z - v[0].z);
    const float ux = length > 0.0f ? (v[1].x - v[0].x) / length : 0.0f;
    const float uz = length > 0.0f ? (v[1].z - v[0].z) / length : 0.0f;
    // How far each ridge end moves along V0 -> V1, in half spans.
    int startMove = 0, endMove = 0;
    switch (style) {
    case 1: startMove = 1; endMove = -1; break;
    case 3: startMove = 1; break;
    case 4: startMove = -1; break;
    case 5: startMove = -1; endMove = -1; break;
    case 6: startMove = -1; endMove = 1; break;
    default: break;
    }
    s->x += startMove * h * ux;
    s->z += startMove * h * uz;
    e->x += endMove * h * ux;
    e->z += endMove * h * uz;
}

void AttachRoofPlane(PlanObject* plane, PlanObject* roof)
{
    if (!plane || !roof)
        return;
    plane->type = ObjRoofPlane;
    plane->closed = 1;
    ComputeProjectionExtents(plane);
    ComputeMeshTextureCoords(plane);
    UnlinkObject(plane);
    plane->host = roof;
    AppendGeneratedPart(roof, plane);
}

void BuildRoofPlanes(PlanObject* roof)
{
    PlanDocument* document = activeDocument;
    if (!roof || !document || !document->settings)
        return;
    PlanFloor* floor = roof->floor ? roof->floor : document->currentFloor;
    if (!floor)
        return;
    RoofBuild b = {};
    b.roof = roof;
    b.floor = floor;
    b.look = roof->firstVertex;
    const PlanVertex* corner = roof->firstVertex;
    for (int i = 0; i < 4; ++i, corner = corner->next) {
        if (!corner)
            return;
        b.v[i] = {corner->position[0], corner->position[1], corner->position[2]};
    }
    PointArrays arrays;
    if (!arrays.Allocate(kMostCorners, 6))
        return;
    b.corners = arrays.items[0];
    b.zero = arrays.items[1];
    b.listedOrder = ListedOrder(b.v);
    ComputeRoofRidge(b.v, roof->size, roof->styleOrTexture, &b.s, &b.e);
    switch (roof->styleOrTexture) {
    case 1: BuildStartHipEnd(b); BuildEndHipEnd(b); break;
    case 2: BuildStartGableEnd(b); BuildEndGableEnd(b); break;
    case 3: BuildStartHipEnd(b); BuildEndGableEnd(b); break;
    case 4: BuildEndGableEnd(b); break;
    case 5: BuildEndHipEnd(b); break;
    default: break;
    }
    BuildMainSlopes(b);
}
