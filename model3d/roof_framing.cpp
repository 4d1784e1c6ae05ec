#include "model3d/roof_framing.h"
#include "model3d/generator_limits.h"
#include "model3d/wall_framing.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "tools/roof_planes.h"
#include <math.h>

namespace {

constexpr float kHalfPi = 1.5707963267948966f;
constexpr float kRafterHalfWidth = 1.25f;
constexpr float kRafterDepth = 10.0f;

struct Pt {
    float v[3];
};

Pt Lerp(const Pt& a, const Pt& b, float f)
{
    return {{a.v[0] + (b.v[0] - a.v[0]) * f, a.v[1] + (b.v[1] - a.v[1]) * f,
             a.v[2] + (b.v[2] - a.v[2]) * f}};
}

Pt Across(const Pt& p, float angle, float distance)
{
    float dx = 0.0f, dz = 0.0f;
    OffsetPointPolar(angle + kHalfPi, distance, &dx, &dz);
    return {{p.v[0] + dx, p.v[1], p.v[2] + dz}};
}

Pt Raised(const Pt& p, float rise)
{
    return {{p.v[0], p.v[1] - rise, p.v[2]}};
}

// The points a truss leaves for the members that join the first and the last truss.
struct TrussRecord {
    Pt a, b, apex;
    Pt tieThirdA, tieThirdB;
    Pt chordA, chordB;      // on each top chord, a third of the span from its eave
};

// One rafter 2.5 wide and 10.0 deep along the line a-b, from the line up: its underside
// and top carry the stud texture, its sides the block texture.
void AddRafter(const Pt& a, const Pt& b, PlanObject* roof)
{
    if (!PieceBudget::Take())
        return;
    float length = 0.0f;
    float angle = AngleBetweenPoints(a.v[0], a.v[2], b.v[0], b.v[2], &length);
    Pt a0 = Across(a, angle, -kRafterHalfWidth), a1 = Across(a, angle, kRafterHalfWidth);
    Pt b0 = Across(b, angle, -kRafterHalfWidth), b1 = Across(b, angle, kRafterHalfWidth);
    Pt a0t = Raised(a0, kRafterDepth), a1t = Raised(a1, kRafterDepth);
    Pt b0t = Raised(b0, kRafterDepth), b1t = Raised(b1, kRafterDepth);
    EmitTexturedQuad(a0.v, b0.v, b1.v, a1.v, roof, 1);
    EmitBlockQuad(a0.v, b0.v, b0t.v, a0t.v, roof);
    EmitBlockQuad(a1.v, b1.v, b1t.v, a1t.v, roof);
    EmitTexturedQuad(a0t.v, b0t.v, b1t.v, a1t.v, roof, 1);
}

// An upright 2.5 across and 10.0 along the truss direction (turned with flip), from the
// bottom point up to the top point.
void AddRoofUpright(float angle, const Pt& bottom, const Pt& top, PlanObject* roof, bool flip)
{
    if (!PieceBudget::Take())
        return;
    float along = flip ? -10.0f : 10.0f;
    Pt base[4];
    const float alongs[4] = {0.0f, along, along, 0.0f};
    const float acrosses[4] = {-kRafterHalfWidth, -kRafterHalfWidth, kRafterHalfWidth,
                               kRafterHalfWidth};
    for (int i = 0; i < 4; ++i) {
        float dx = 0.0f, dz = 0.0f;
        OffsetPointPolar(angle, alongs[i], &dx, &dz);
        Pt p = {{bottom.v[0] + dx, bottom.v[1], bottom.v[2] + dz}};
        base[i] = Across(p, angle, acrosses[i]);
    }
    for (int i = 0; i < 4; ++i) {
        const Pt& c0 = base[i];
        const Pt& c1 = base[(i + 1) % 4];
        Pt c0t = {{c0.v[0], top.v[1], c0.v[2]}};
        Pt c1t = {{c1.v[0], top.v[1], c1.v[2]}};
        EmitTexturedQuad(c0.v, c0t.v, c1t.v, c1.v, roof, 1);
    }
}

// One truss across the roof from eave point a to eave point b, its apex over the middle
// raised by the pitch over half the span.
TrussRecord AddRoofTruss(const Pt& a, const Pt& b, float pitchFactor, PlanObject* roof, bool tie,
                         bool web)
{
    TrussRecord record;
    float span = Distance2D(a.v[0], a.v[2], b.v[0], b.v[2]);
    record.a = a;
    record.b = b;
    record.apex = Raised(Lerp(a, b, 0.5f), pitchFactor * span / 2.0f);
    record.tieThirdA = Lerp(a, b, 1.0f / 3.0f);
    record.tieThirdB = Lerp(a, b, 2.0f / 3.0f);
    // A third of the span from the eave is two thirds of the way up the chord.
    record.chordA = Lerp(a, record.apex, 2.0f / 3.0f);
    record.chordB = Lerp(b, record.apex, 2.0f / 3.0f);
    if (tie)
        AddRafter(a, b, roof);
    AddRafter(a, record.apex, roof);
    AddRafter(b, record.apex, roof);
    if (web) {
        float length = 0.0f;
        float angle = AngleBetweenPoints(a.v[0], a.v[2], b.v[0], b.v[2], &length);
        AddRafter(record.tieThirdA, record.chordB, roof);
        AddRafter(record.tieThirdB, record.chordA, roof);
        AddRoofUpright(angle, record.tieThirdA, record.chordA, roof, false);
        AddRoofUpright(angle, record.tieThirdB, record.chordB, roof, true);
    }
    return record;
}

// n trusses for the length left, at least 0.
int32_t TrussCount(float span, float spacing)
{
    double wanted = floor((double)span / spacing + 0.5);
    if (!(wanted > 0.0))
        return 0;
    return wanted > kMaxGeneratedPieces ? kMaxGeneratedPieces : (int32_t)wanted;
}

} // namespace

void BuildRoofFraming(PlanObject* roof)
{
    if (!roof || roof->type != ObjRoof || !activeDocument || !activeDocument->settings)
        return;
    uint32_t style = roof->styleOrTexture;
    if (style < 1 || style > 6)
        return;
    RoofPoint outline[4];
    const PlanVertex* v = roof->firstVertex;
    for (int i = 0; i < 4; ++i, v = v->next) {
        if (!v)
            return;
        outline[i] = {v->position[0], v->position[1], v->position[2]};
    }
    // The framing follows the roof's planes: their ridge tells where an end is hipped
    // (the ridge stops short of the end edge) or joins another roof (it runs on past it).
    RoofPoint ridgeStart, ridgeEnd;
    ComputeRoofRidge(outline, roof->size, style, &ridgeStart, &ridgeEnd);
    // The trusses are laid from the end that is hipped or gabled, so the connector of
    // styles 4 and 5, which the planes put at V0-V3, is taken as the far end.
    const bool connectorAtV0 = style == 4 || style == 5;
    const int order[4] = {connectorAtV0 ? 1 : 0, connectorAtV0 ? 0 : 1, connectorAtV0 ? 3 : 2,
                          connectorAtV0 ? 2 : 3};
    Pt c[4];
    for (int i = 0; i < 4; ++i)
        c[i] = {{outline[order[i]].x, outline[order[i]].y, outline[order[i]].z}};
    const RoofPoint firstRidge = connectorAtV0 ? ridgeEnd : ridgeStart;
    const RoofPoint farRidge = connectorAtV0 ? ridgeStart : ridgeEnd;

    PieceBudget budget;
    // Trusses run across the span C0-C3 and are laid along the ridge, parallel to C0-C1.
    const float length = Distance2D(c[0].v[0], c[0].v[2], c[1].v[0], c[1].v[2]);
    const float spacing = UnitsToPlanLength(24.0f, activeDocument->settings, 0);
    const float pitchFactor = roof->size / 12.0f;
    if (!(length > 0.0f) || !(spacing > 0.0f) || !isfinite(length))
        return;
    // How far along C0-C1 a ridge end lies.
    auto along = [&](const RoofPoint& p) {
        return ((p.x - c[0].v[0]) * (c[1].v[0] - c[0].v[0]) +
                (p.z - c[0].v[2]) * (c[1].v[2] - c[0].v[2])) / length;
    };

    const bool hippedFirst = style == 1 || style == 3 || style == 5;
    const bool hippedLast = style == 1;
    const bool connectorFirst = style == 6;
    const bool connectorLast = style >= 4;
    // A hipped end's truss stands under its ridge end; any other end's on its edge.
    const float first = hippedFirst ? along(firstRidge) : 0.0f;
    const float last = hippedLast ? along(farRidge) : length;
    if (!isfinite(first) || !isfinite(last))
        return;
    const int32_t n = TrussCount(last - first, spacing);

    auto trussAt = [&](float at) {
        float f = at / length;
        return AddRoofTruss(Lerp(c[0], c[1], f), Lerp(c[3], c[2], f), pitchFactor, roof, false,
                            false);
    };
    TrussRecord firstTruss = {};
    for (int32_t i = 0; i < n && !PieceBudget::Spent(); ++i) {
        TrussRecord truss = trussAt(first + (float)i * spacing);
        if (i == 0)
            firstTruss = truss;
    }
    TrussRecord lastTruss = trussAt(last);
    // Without a first truss there is nothing to join the last one to.
    if (n < 1)
        return;

    AddRafter(firstTruss.apex, lastTruss.apex, roof);
    AddRafter(firstTruss.chordA, lastTruss.chordA, roof);
    AddRafter(firstTruss.chordB, lastTruss.chordB, roof);

    auto hipFirstEnd = [&]() {
        AddRafter(c[0], firstTruss.apex, roof);
        AddRafter(c[3], firstTruss.apex, roof);
        AddRafter(firstTruss.chordA, c[0], roof);
        AddRafter(firstTruss.chordB, c[3], roof);
    };
    // A connector point is the ridge's end out past the edge, level with the nearer apex,
    // so that its members lie in the planes that run on into the other roof.
    auto connectorAt = [&](const RoofPoint& ridge, const TrussRecord& truss) {
        const Pt point = {{ridge.x, truss.apex.v[1], ridge.z}};
        AddRafter(point, truss.apex, roof);
        AddRafter(point, truss.chordA, roof);
        AddRafter(point, truss.chordB, roof);
    };
    if (hippedFirst)
        hipFirstEnd();
    if (hippedLast) {
        AddRafter(c[1], lastTruss.apex, roof);
        AddRafter(c[2], lastTruss.apex, roof);
        AddRafter(lastTruss.chordA, c[1], roof);
        AddRafter(lastTruss.chordB, c[2], roof);
    }
    if (style == 1) {
        for (int i = 0; i < 4; ++i)
            AddRafter(c[i], c[(i + 1) % 4], roof);
    } else if (style == 2) {
        AddRafter(firstTruss.a, lastTruss.a, roof);
        AddRafter(firstTruss.b, lastTruss.b, roof);
    } else if (hippedFirst) {
        AddRafter(c[0], c[3], roof);
        AddRafter(c[0], c[1], roof);
        AddRafter(c[3], c[2], roof);
    }
    if (connectorFirst)
        connectorAt(firstRidge, firstTruss);
    if (connectorLast)
        connectorAt(farRidge, lastTruss);
}
