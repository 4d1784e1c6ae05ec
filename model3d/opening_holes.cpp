#include "model3d/opening_holes.h"
#include "model3d/scene_polygons.h"
#include "model/plan_object.h"
#include <math.h>
#include <stdlib.h>
#include <vector>

namespace {

// A hole point: along the wall from the opening's centre line, and its rise above the
// opening's base line.
struct HolePoint {
    float u;
    float k;
};

enum HoleFamily {
    kNoHole,
    kRectangle,
    kArchedHead,
    kQuarterArchHead,
    kCutCorners,
    kRakedHead,
    kGableHead,
    kParallelogram,
    kOctagon,
    kCircle,
};

constexpr float kDegrees = 0.017453292519943295f;

HoleFamily FamilyOf(int32_t style)
{
    if ((style >= 500 && style <= 503) || (style >= 508 && style <= 511) || style == 600)
        return kRectangle;
    if ((style >= 504 && style <= 507) || (style >= 601 && style <= 604))
        return kArchedHead;
    if ((style >= 605 && style <= 610) || style == 624 || style == 625)
        return kQuarterArchHead;
    if (style >= 611 && style <= 613)
        return kCutCorners;
    if (style >= 614 && style <= 617)
        return kRakedHead;
    if (style == 618 || style == 619)
        return kGableHead;
    if (style == 620 || style == 621)
        return kParallelogram;
    if (style == 622)
        return kOctagon;
    if (style == 623)
        return kCircle;
    return kNoHole;
}

// Families whose shape has a side and so follows the hinge or flip side.
bool ReadsFlipSide(HoleFamily family)
{
    return family == kArchedHead || family == kQuarterArchHead || family == kCutCorners ||
           family == kRakedHead || family == kParallelogram;
}

bool TurnsUpsideDown(HoleFamily family)
{
    return family != kRectangle && family != kOctagon && family != kCircle;
}

// A quarter or more of the width, or 1.0 when that comes out 0.
float CutOf(float w, float fraction)
{
    float q = w * fraction;
    return q == 0.0f ? 1.0f : q;
}

void ArchedHead(int32_t style, float w, float h, std::vector<HolePoint>& out)
{
    float hw = w / 2.0f;
    float r = hw + 1.0f;
    float s = 1.0f;
    float p = 0.0f;
    bool sill = true;
    switch (style) {
    case 504: case 506: s = 1.0f; p = h - hw * s; break;
    case 505: case 507: s = 0.5f; p = h - hw * s; break;
    case 601: s = 1.0f; sill = false; break;
    case 602: s = 0.5f; sill = false; break;
    default:
        s = style == 603 ? 0.5f : 1.0f;
        p = hw * s <= h ? h - hw * s : 1.0f;
        break;
    }
    if (sill)
        out.push_back({-r, -1.0f});
    for (int a = 180; a >= 100; a -= 10)
        out.push_back({-fabsf(r * cosf(a * kDegrees)), p + fabsf(r * sinf(a * kDegrees)) * s});
    out.push_back({0.0f, p + r * s});
    for (int a = 80; a >= 0; a -= 10)
        out.push_back({fabsf(r * cosf(a * kDegrees)), p + fabsf(r * sinf(a * kDegrees)) * s});
    if (sill)
        out.push_back({r, -1.0f});
}

void QuarterArchHead(int32_t style, float w, float h, std::vector<HolePoint>& out)
{
    float hw1 = w / 2.0f + 1.0f;
    float big = w + 1.0f;
    bool sill = style >= 605 && style <= 608;
    float s = (style == 607 || style == 608 || style == 624 || style == 625) ? 0.5f : 1.0f;
    float p = 0.0f;
    if (sill)
        p = w * s <= h ? h - w * s : 1.0f;
    if (sill)
        out.push_back({-hw1, -1.0f});
    for (int a = 180; a >= 100; a -= 10)
        out.push_back({hw1 - fabsf(big * cosf(a * kDegrees)), p + fabsf(big * sinf(a * kDegrees)) * s});
    out.push_back({hw1, p + big * s});
    out.push_back({hw1, 0.0f});
}

void Outline(int32_t style, HoleFamily family, float w, float h, std::vector<HolePoint>& out)
{
    float hw = w / 2.0f;
    switch (family) {
    case kRectangle:
        out.insert(out.end(),
                   {{-(hw + 1.0f), -1.0f}, {-(hw + 1.0f), h}, {hw + 1.0f, h}, {hw + 1.0f, -1.0f}});
        break;
    case kArchedHead:
        ArchedHead(style, w, h, out);
        break;
    case kQuarterArchHead:
        QuarterArchHead(style, w, h, out);
        break;
    case kCutCorners: {
        float q = CutOf(w, style == 613 ? 0.25f : 0.5f);
        if (h < q)
            h = q + 1.0f;
        if (style == 613)
            out.insert(out.end(),
                       {{-hw, 0}, {-hw, h - q}, {-hw + q, h}, {hw - q, h}, {hw, h - q}, {hw, 0}});
        else
            out.insert(out.end(), {{-hw, 0}, {-hw, h - q}, {-hw + q, h}, {hw, h}, {hw, 0}});
        break;
    }
    case kRakedHead:
        if (h < w)
            h = w + 1.0f;
        if (style <= 615)
            out.insert(out.end(), {{-hw, 0}, {-hw, h - w}, {hw, h}, {hw, 0}});
        else
            out.insert(out.end(), {{-hw, 0}, {hw, w}, {hw, 0}});
        break;
    case kGableHead:
        if (hw >= h)
            h = hw + 1.0f;
        if (style == 619)
            out.insert(out.end(), {{-hw, 0}, {-hw, h - hw}, {0, h}, {hw, h - hw}, {hw, 0}});
        else
            out.insert(out.end(), {{-hw, 0}, {0, hw}, {hw, 0}});
        break;
    case kParallelogram: {
        float q = CutOf(w, 0.25f);
        out.insert(out.end(), {{-hw, 0}, {-hw + q, w}, {hw, w}, {hw - q, 0}});
        break;
    }
    case kOctagon: {
        float q = CutOf(w, 0.3f);
        out.insert(out.end(), {{-hw + q, 0}, {-hw, q}, {-hw, w - q}, {-hw + q, w}, {hw - q, w},
                               {hw, w - q}, {hw, q}, {hw - q, 0}});
        break;
    }
    case kCircle: {
        float r = hw;
        for (int a = 180; a >= 100; a -= 10)
            out.push_back({-fabsf(r * cosf(a * kDegrees)), r + fabsf(r * sinf(a * kDegrees))});
        for (int a = 90; a >= 10; a -= 10)
            out.push_back({fabsf(r * cosf(a * kDegrees)), r + fabsf(r * sinf(a * kDegrees))});
        for (int a = 360; a >= 280; a -= 10)
            out.push_back({fabsf(r * cosf(a * kDegrees)), r - fabsf(r * sinf(a * kDegrees))});
        for (int a = 270; a >= 190; a -= 10)
            out.push_back({-fabsf(r * cosf(a * kDegrees)), r - fabsf(r * sinf(a * kDegrees))});
        break;
    }
    case kNoHole:
        break;
    }
}

} // namespace

void BuildOpeningHole(const PolygonOutline* face, float angle, float length, const float* p,
                      const OpeningRecord* record, uint8_t reversed, float a, float, float b)
{
    if (!face || !p || !record || !currentMesh)
        return;
    int32_t style = (int16_t)record->style;
    HoleFamily family = FamilyOf(style);
    if (family == kNoHole)
        return;
    std::vector<HolePoint> shape;
    Outline(style, family, record->width, record->height, shape);

    bool mirror = reversed != 0;
    if (ReadsFlipSide(family) && record->hingeSide)
        mirror = !mirror;
    float centre = record->distanceFromStart + a;
    if (reversed)
        centre = length - centre;
    const float c = cosf(angle);
    const float s = sinf(angle);

    const int32_t n = (int32_t)shape.size();
    MeshVertex* vertices = static_cast<MeshVertex*>(malloc(sizeof(MeshVertex) * (size_t)n));
    if (!vertices)
        return;
    for (int32_t i = 0; i < n; ++i) {
        float t = centre + (mirror ? -shape[i].u : shape[i].u);
        vertices[i] = {p[0] + t * c, p[1] - (b + record->elevation + shape[i].k), p[2] - t * s, 0,
                       1.0f, 1.0f};
    }
    if (record->flags == 1 && TurnsUpsideDown(family)) {
        float low = vertices[0].y, high = vertices[0].y;
        for (int32_t i = 1; i < n; ++i) {
            low = vertices[i].y < low ? vertices[i].y : low;
            high = vertices[i].y > high ? vertices[i].y : high;
        }
        float middle = (low + high) / 2.0f;
        for (int32_t i = 0; i < n; ++i)
            vertices[i].y = 2.0f * middle - vertices[i].y;
    }

    ScenePolygon* hole = CreateSceneNode();
    if (!hole) {
        free(vertices);
        return;
    }
    AppendNodeFace(vertices, n, face->vector[0], face->vector[1], face->vector[2], hole);
    if (!hole->outlines) {
        FreeSceneNode(hole);
        return;
    }
    hole->sourceType = kSceneOpeningHole;
    hole->source = buildObject;
    hole->buildOwner = buildObject;
    hole->buildChild = buildObject;
    if (record->startVertex)
        hole->elevation = record->startVertex->segmentElevation;
    AddOpeningPolygon(hole, currentMesh);
}
