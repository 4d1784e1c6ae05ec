#include "openings3d/rectangular_frames.h"
#include "openings3d/arched_leaf.h"
#include "openings3d/garage_door.h"
#include "openings3d/hinged_leaves.h"
#include "openings3d/opening_parts.h"
#include "openings3d/sills_and_bars.h"
#include <initializer_list>

namespace {

const float kHalfPi = 1.5707963267948966f;
// A casing narrower than this (display units) leaves a plain lining.
const float kLiningCasing = 0.4f;
// How far a door casing and a sash casing stand in front of each wall face.
const float kDoorCasingOffset = 2.1f;
const float kSashCasingOffset = 2.0f;

struct FramePoint {
    PlanPoint2 at;
    float y;
};

bool AddRing(PlanObject* part, const FramePoint* points, int count)
{
    for (int i = 0; i < count; ++i)
        if (!AddPartPoint(part, points[i].at.x, points[i].y, points[i].at.z))
            return false;
    return true;
}

// The two ends of the opening pushed out to one face: side +1 the first face, -1 the
// second.
struct FaceEnds {
    PlanPoint2 q0;
    PlanPoint2 q1;
};

struct OpeningLine {
    PlanPoint2 p0;
    PlanPoint2 p1;
    float a01;      // P0 -> P1
    float a10;      // P1 -> P0
    float length;
    float y0;       // sill lines under P0 and P1
    float y1;
};

OpeningLine ReadLine(const OpeningBasis& b)
{
    OpeningLine line;
    line.p0 = {b.p0[0], b.p0[2]};
    line.p1 = {b.p1[0], b.p1[2]};
    line.a01 = PlanAngle(line.p0, line.p1, &line.length);
    line.a10 = PlanAngle(line.p1, line.p0, nullptr);
    line.y0 = b.p0[1] - b.lift;
    line.y1 = b.p1[1] - b.lift;
    return line;
}

FaceEnds OnFace(const OpeningLine& line, float offset, float side)
{
    return {PointAlong(line.p0, line.a01 + side * kHalfPi, offset),
            PointAlong(line.p1, line.a10 - side * kHalfPi, offset)};
}

} // namespace

bool BuildDoorFrame(PlanObject* object)
{
    OpeningBasis b;
    if (!ReadOpeningBasis(object, &b))
        return false;
    OpeningRecord* record = b.record;
    OpeningLine line = ReadLine(b);
    const float h = record->height;
    const float cw = b.casing;
    const bool lining = record->casingWidth < kLiningCasing;
    const float offset = lining ? b.halfThickness : b.halfThickness + kDoorCasingOffset;

    PlanObject* part = CreateOpeningPart(object, ObjOpeningFrame, lining ? 0 : 1);
    if (!part)
        return false;
    for (float side : {1.0f, -1.0f}) {
        FaceEnds f = OnFace(line, offset, side);
        // Jamb, head, jamb; the casing ring then runs back round them cw wider.
        PlanPoint2 o0 = PointAlong(f.q0, line.a10, cw);
        PlanPoint2 o1 = PointAlong(f.q1, line.a01, cw);
        const FramePoint ring[8] = {{f.q1, line.y1},          {f.q1, line.y1 - h},
                                    {f.q0, line.y0 - h},      {f.q0, line.y0},
                                    {o0, line.y0},            {o0, line.y0 - h - cw},
                                    {o1, line.y1 - h - cw},   {o1, line.y1}};
        if (!AddRing(part, ring, lining ? 4 : 8)) {
            FreeObject(part);
            return false;
        }
    }
    part->rows = 2;
    if (lining) {
        // Only the jambs and the head between the faces: no end faces.
        part->buildFlag = 0;
        PaintAsLining(part);
    } else {
        PaintWithOpeningFinish(part, object);
    }
    ReplaceOpeningParts(record, part);

    switch ((int16_t)record->style) {
    case 501:
        BuildStandardDoorLeaf(object, record);
        break;
    case 508:
        BuildFrenchDoorLeaf(object, record);
        break;
    case 509:
        BuildGlazedDoorLeaf(object, record);
        break;
    case 503:
        BuildGarageDoor(object, record);
        break;
    default:
        break;
    }
    FinishOpeningPart(part);
    return true;
}

bool BuildSashFrame(PlanObject* object)
{
    OpeningBasis b;
    if (!ReadOpeningBasis(object, &b))
        return false;
    OpeningRecord* record = b.record;
    OpeningLine line = ReadLine(b);
    const float h = record->height;
    const float cw = b.casing;
    const float hc = cw / 2.0f;
    const float m = line.length / 2.0f;
    const int kRing = 12;

    PlanObject* part = CreateOpeningPart(object, ObjOpeningFrame, 1);
    if (!part)
        return false;
    for (float side : {1.0f, -1.0f}) {
        FaceEnds f = OnFace(line, b.halfThickness + kSashCasingOffset, side);
        // Round the window hole, then round the casing's outside, cut at the middle of
        // the bottom: cw wide at the sides and the head, hc below the sill line.
        PlanPoint2 middle = PointAlong(f.q0, line.a01, m);
        PlanPoint2 out0 = PointAlong(middle, line.a10, cw + m);
        PlanPoint2 out1 = PointAlong(f.q1, line.a01, cw);
        PlanPoint2 back = PointAlong(out1, line.a10, cw + m);
        const FramePoint ring[kRing] = {
            {f.q1, line.y1},          {f.q1, line.y1 - h},    {f.q0, line.y0 - h},
            {f.q0, line.y0},          {middle, line.y0},      {middle, line.y0 + hc},
            {out0, line.y1 + hc},     {out0, line.y0 - h - cw}, {out1, line.y1 - h - cw},
            {out1, line.y1 + hc},     {back, line.y1 + hc},   {back, line.y1}};
        if (!AddRing(part, ring, kRing)) {
            FreeObject(part);
            return false;
        }
    }
    part->rows = 2;
    PaintWithOpeningFinish(part, object);
    ReplaceOpeningParts(record, part);

    // The glazed area: the casing's outer corners (points 7 to 10) in the middle plane.
    float corners[4][3];
    const PlanVertex* front = part->firstVertex;
    for (int i = 0; i < 6 && front; ++i)
        front = front->next;
    const PlanVertex* rear = front;
    for (int i = 0; i < kRing && rear; ++i)
        rear = rear->next;
    for (int c = 0; c < 4 && front && rear; ++c, front = front->next, rear = rear->next)
        for (int k = 0; k < 3; ++k)
            corners[c][k] = (front->position[k] + rear->position[k]) / 2.0f;
    BuildGlazingBarGrid(object, record, corners[0], corners[1], corners[2], corners[3]);

    FinishOpeningPart(part);
    return true;
}
