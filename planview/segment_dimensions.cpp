#include "planview/segment_dimensions.h"
#include "model/generated_children.h"
#include "model/outline_offsets.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "planview/dimension_lines.h"
#include "planview/labels_and_fills.h"
#include <math.h>

namespace {

const float kQuarterTurn = 1.5707963267948966f;
const uint32_t kExteriorWallGroup = 54;
// Per-segment flags of a wall vertex.
const uint32_t kNoAutomaticDimension = 1;
const uint32_t kNoOpeningLabel = 2;
// Decks: the edge carries a railing.
const uint32_t kDeckRailingEdge = 1;
const uint16_t kGateVertex = 6;

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

struct PlanPoint {
    float x, z;
};

PlanPoint At(const PlanVertex* v)
{
    return {v->position[0], v->position[2]};
}

PlanPoint Offset(PlanPoint p, float angle, float distance)
{
    float dx = 0.0f, dz = 0.0f;
    OffsetPointPolar(angle, distance, &dx, &dz);
    return {p.x + dx, p.z + dz};
}

float Direction(PlanPoint from, PlanPoint to, float* length = nullptr)
{
    float d = 0.0f;
    const float angle = AngleBetweenPoints(from.x, from.z, to.x, to.z, &d);
    if (length)
        *length = d;
    return angle;
}

// +0.5 truncated toward zero, held within the screen's reach.
LONG RoundCoordinate(float v)
{
    if (!(v > -30000.0f))
        v = -30000.0f;
    else if (v > 30000.0f)
        v = 30000.0f;
    return static_cast<LONG>(v + 0.5f);
}

PlanVertex* LastVertex(PlanObject* object)
{
    PlanVertex* last = object->firstVertex;
    while (last && last->next)
        last = last->next;
    return last;
}

// The suffix and side of the text-only dimensions by type; false for the types that
// are dimensioned like walls. A drawing element of kind 2, 5 or 7 gets none at all.
bool TextOnlyDimension(const PlanObject* object, const PlanVertex* a, uint8_t sideFlag,
                       const char** suffix, uint8_t* side, bool* none)
{
    *suffix = nullptr;
    *side = sideFlag;
    *none = false;
    switch (object->type) {
    case 8: case 9: case 27: case 57: case 114: case 130:
        return true;
    case 21:
        *suffix = " P.";
        *side = sideFlag ? 0 : 1;
        return true;
    case ObjPicketFence:
        *suffix = a->kind == kGateVertex ? " Cancello" : " Steccato";
        return true;
    case ObjDrawingElement:
        *none = object->subType == 2 || object->subType == 5 || object->subType == 7;
        return true;
    case ObjRailing:
        *suffix = " Sbarra";
        return true;
    case ObjDeck:
        *suffix = (a->segmentFlags & kDeckRailingEdge) ? " (Sbarra)" : " (Apri)";
        return true;
    default:
        return false;
    }
}

// The openings (doors and windows) of the wall on the segment that starts at A, linked
// through their records' scratch links in order of distance (equal distances keep the
// order of the wall's children). Returns the first record and the count.
OpeningRecord* SortSegmentOpenings(PlanObject* wall, const PlanVertex* a, const PlanObject* skip,
                                   int* count)
{
    OpeningRecord* first = nullptr;
    *count = 0;
    for (PlanObject* child = wall->firstChild; child; child = child->next) {
        if ((child->type != ObjDoor && child->type != ObjWindow) || child == skip || !child->link)
            continue;
        OpeningRecord* record = static_cast<OpeningRecord*>(child->link);
        if (record->startVertex != a)
            continue;
        record->sortPrevious = nullptr;
        record->sortNext = nullptr;
        OpeningRecord* before = nullptr;
        OpeningRecord* after = first;
        while (after && !(record->distanceFromStart < after->distanceFromStart)) {
            before = after;
            after = static_cast<OpeningRecord*>(after->sortNext);
        }
        record->sortPrevious = before;
        record->sortNext = after;
        if (before)
            before->sortNext = record;
        else
            first = record;
        if (after)
            after->sortPrevious = record;
        ++*count;
    }
    return first;
}

// The remainder of a chain in whole feet and inches, so that the pieces add up to the
// overall length; negative when the rounded pieces already exceed it.
void ChainRemainder(float totalLength, const PlanSettings* settings, int32_t feetSoFar,
                    int32_t inchesSoFar, int32_t* feet, int32_t* inches)
{
    const double total = ConvertUnitsToInches(PlanLengthToUnits(totalLength, settings, 0), settings);
    double r = (total - (static_cast<double>(inchesSoFar) + 12.0 * feetSoFar)) / 12.0;
    const bool negative = r < 0.0;
    r = fabs(r);
    if (!(r < 1.0e9))
        r = r == r ? 1.0e9 : 0.0;
    double wholeFeet = trunc(r);
    double wholeInches = trunc((r - wholeFeet) * 12.0 + 0.5);
    if (wholeInches >= 12.0) {
        wholeFeet += 1.0;
        wholeInches = 0.0;
    }
    *feet = static_cast<int32_t>(negative ? -wholeFeet : wholeFeet);
    *inches = static_cast<int32_t>(negative ? -wholeInches : wholeInches);
}

void DrawWallSegmentDimensions(HDC dc, PlanObject* wall, PlanVertex* a, PlanVertex* b,
                               PlanSettings* settings)
{
    PlanPoint s = At(a), e = At(b);
    ComputeDimensionOffsets(wall, a, b, &s.x, &s.z, &e.x, &e.z);
    const uint8_t side = a->alternationMarker == 0 ? 1 : 0;
    const bool noDimensions = (a->segmentFlags & kNoAutomaticDimension) != 0;
    const bool exteriorCase = wall->subType == kExteriorWallGroup &&
                              !(settings->visibleCategories & kCategoryFloorPlan);
    int32_t feet = 0, inches = 0;

    int count = 0;
    OpeningRecord* first = exteriorCase ? nullptr : SortSegmentOpenings(wall, a, nullptr, &count);
    if (first) {
        float total = 0.0f;
        const float theta = Direction(s, e, &total);
        PlanPoint r = s;
        halfInchToggle = 1;
        int32_t feetSoFar = 0, inchesSoFar = 0;
        for (OpeningRecord* record = first; record;
             record = static_cast<OpeningRecord*>(record->sortNext)) {
            const PlanPoint q = Offset(At(a), theta, record->distanceFromStart);
            if (!noDimensions) {
                DrawDimensionLine(dc, s.x, s.z, e.x, e.z, r.x, r.z, q.x, q.z, side, 5.0f, 0, &feet,
                                  &inches, 0, 0, 5.0f, 0, nullptr);
                feetSoFar += feet;
                inchesSoFar += inches;
            }
            r = q;
            if (!(a->segmentFlags & kNoOpeningLabel))
                DrawOpeningSizeLabel(dc, record, s.x, s.z, e.x, e.z, q.x, q.z, side ? 0 : 1, 5.0f);
        }
        if (!noDimensions) {
            uint8_t given = 0;
            if (settings->unitSystem == kUnitSystemFeetInches) {
                ChainRemainder(total, settings, feetSoFar, inchesSoFar, &feet, &inches);
                given = 1;
            }
            DrawDimensionLine(dc, s.x, s.z, e.x, e.z, r.x, r.z, e.x, e.z, side, 5.0f, 0, &feet,
                              &inches, given, 0, 5.0f, 0, nullptr);
        }
        halfInchToggle = 1;
        if (count >= 2 && !noDimensions)
            DrawDimensionLine(dc, s.x, s.z, e.x, e.z, s.x, s.z, e.x, e.z, side, 25.0f, 0, &feet,
                              &inches, 0, 0, 5.0f, 0, nullptr);
        return;
    }

    halfInchToggle = 1;
    if (noDimensions)
        return;
    float offset = 5.0f;
    // Outside the floor-plan view the footing shows: the dimension clears it.
    if (exteriorCase)
        offset += UnitsToPlanLength(wall->parameters[3], settings, 0) / 2.0f;
    DrawDimensionLine(dc, s.x, s.z, e.x, e.z, s.x, s.z, e.x, e.z, side, offset, 0, &feet, &inches,
                      0, 0, 5.0f, 0, nullptr);
}

// Whether the neighbour lies on the theta + 90 degree side of the segment A -> B.
bool NeighbourOnPlusSide(PlanPoint a, PlanPoint b, float theta, const PlanVertex* neighbour)
{
    const PlanPoint m = {(a.x + b.x) / 2.0f, (a.z + b.z) / 2.0f};
    const PlanPoint m1 = Offset(m, theta - kQuarterTurn, 100.0f);
    const PlanPoint m2 = Offset(m, theta + kQuarterTurn, 100.0f);
    const PlanPoint n = At(neighbour);
    return Distance2D(m2.x, m2.z, n.x, n.z) < Distance2D(m1.x, m1.z, n.x, n.z);
}

} // namespace

void ComputeDimensionOffsets(PlanObject* object, PlanVertex* a, PlanVertex* b, float* sx,
                             float* sz, float* ex, float* ez)
{
    PlanSettings* settings = Settings();
    if (!object || !a || !b || !sx || !sz || !ex || !ez || !settings)
        return;
    const PlanPoint pa = At(a), pb = At(b);
    PlanPoint s = pa, e = pb;
    if (object->type == ObjWall && a->segmentStyleExtra != 0) {
        const float t = UnitsToPlanLength(object->size, settings, 0);
        const float theta = Direction(pa, pb);
        float ox = 0.0f, oz = 0.0f;
        OffsetPointPolar(theta, t / 2.0f, &ox, &oz);
        const bool sideSet = a->alternationMarker != 0;
        // Each end moves half the thickness along the wall: away from the segment when
        // the neighbour lies opposite the dimension's side, into it when the neighbour
        // lies on that side, so the dimension reaches the corner of the face it is on.
        const PlanVertex* before = a->previous;
        if (!before && object->closed)
            before = LastVertex(object);
        if (before && before != b) {
            const bool plus = NeighbourOnPlusSide(pa, pb, theta, before);
            const float sign = (sideSet != plus) ? 1.0f : -1.0f;
            s = {pa.x + sign * ox, pa.z + sign * oz};
        }
        const PlanVertex* after = b->next;
        if (!after && object->closed)
            after = object->firstVertex;
        if (after && after != a) {
            const bool plus = NeighbourOnPlusSide(pa, pb, theta, after);
            const float sign = (sideSet != plus) ? -1.0f : 1.0f;
            e = {pb.x + sign * ox, pb.z + sign * oz};
        }
    }
    *sx = s.x;
    *sz = s.z;
    *ex = e.x;
    *ez = e.z;
}

void DrawSegmentAutoDimension(HDC dc, PlanObject* object, PlanVertex* a, PlanVertex* b,
                              uint8_t sideFlag)
{
    PlanSettings* settings = Settings();
    if (!dc || !object || !a || !b || !settings)
        return;
    const char* suffix = nullptr;
    uint8_t side = sideFlag;
    bool none = false;
    if (TextOnlyDimension(object, a, sideFlag, &suffix, &side, &none)) {
        halfInchToggle = 1;
        if (none || !settings->dimensionDrawing)
            return;
        int32_t feet = 0, inches = 0;
        DrawDimensionLine(dc, a->position[0], a->position[2], b->position[0], b->position[2],
                          a->position[0], a->position[2], b->position[0], b->position[2], side,
                          5.0f, 0, &feet, &inches, 0, 0, 5.0f, 1, suffix);
        return;
    }
    // The opening labels follow their own flag; the dimensions the dimension flag.
    DrawWallSegmentDimensions(dc, object, a, b, settings);
}

void DrawSegmentDimensions(HDC dc, PlanObject* object)
{
    PlanSettings* settings = Settings();
    if (!settings || !object || !settings->dimensionDrawing)
        return;
    PlanVertex* first = object->firstVertex;
    if (!first || !first->next)
        return;
    const bool fewerThanThree = !first->next->next;
    const uint8_t side = (fewerThanThree || GetPolygonWinding(object) == 1) ? 1 : 0;
    PlanVertex* v = first;
    for (; v->next; v = v->next)
        DrawSegmentAutoDimension(dc, object, v, v->next, side);
    if (object->closed)
        DrawSegmentAutoDimension(dc, object, v, first, side);
}

void DrawOpeningDimensions(HDC dc, PlanObject* wall, PlanVertex* a, PlanVertex* b, uint16_t,
                           const float* position, PlanObject* moving)
{
    PlanSettings* settings = Settings();
    if (!dc || !wall || !a || !b || !position || !settings)
        return;
    PlanPoint s = At(a), e = At(b);
    ComputeDimensionOffsets(wall, a, b, &s.x, &s.z, &e.x, &e.z);
    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(BLACK_PEN));

    int count = 0;
    OpeningRecord* first = SortSegmentOpenings(wall, a, moving, &count);
    const float offset = (count > 1 || (moving && count > 0)) ? 45.0f : 25.0f;
    const uint8_t side = a->alternationMarker == 0 ? 1 : 0;
    halfInchToggle = 1;
    const PlanPoint p = {position[0], position[1]};
    const float theta = Direction(s, e);
    const float d = Distance2D(s.x, s.z, p.x, p.z);
    PlanPoint r = s;
    PlanPoint beyond = e;
    for (OpeningRecord* record = first; record;
         record = static_cast<OpeningRecord*>(record->sortNext)) {
        const PlanPoint q = Offset(At(a), theta, record->distanceFromStart);
        if (record->distanceFromStart > d) {
            beyond = q;
            break;
        }
        r = q;
    }
    int32_t feet = 0, inches = 0;
    DrawDimensionLine(dc, s.x, s.z, e.x, e.z, r.x, r.z, p.x, p.z, side, offset, 1, &feet, &inches,
                      0, 0, 5.0f, 0, nullptr);
    DrawDimensionLine(dc, s.x, s.z, e.x, e.z, beyond.x, beyond.z, p.x, p.z, side, offset, 1, &feet,
                      &inches, 0, 1, 5.0f, 0, nullptr);
    halfInchToggle = 1;
    if (previousPen)
        SelectObject(dc, previousPen);
}

void DrawPathLengthDimension(HDC dc, PlanObject* path)
{
    PlanSettings* settings = Settings();
    if (!dc || !path || !settings || !settings->dimensionDrawing)
        return;
    // The walking surface: a bordered path's first parts are its fence pieces.
    PlanObject* outline = FindPathSurface(path);
    if (!outline || !outline->firstVertex)
        return;
    const PlanPoint f = At(outline->firstVertex), z = At(LastVertex(outline));
    int32_t feet = 0, inches = 0;
    halfInchToggle = 1;
    DrawDimensionLine(dc, f.x, f.z, z.x, z.z, f.x, f.z, z.x, z.z, 1, 5.0f, 0, &feet, &inches, 0, 0,
                      0.0f, 1, nullptr);
}

void DrawObjectDimensions(HDC dc, float ax, float, float az, float bx, float, float bz,
                          float thickness)
{
    if (!dc || !Settings())
        return;
    const PlanPoint a = {ax, az}, b = {bx, bz};
    const float theta = Direction(a, b);
    const float back = Direction(b, a);
    const float h = thickness / 2.0f;
    PlanPoint corners[4] = {Offset(a, theta + kQuarterTurn, h), Offset(b, back - kQuarterTurn, h),
                            Offset(b, back + kQuarterTurn, h), Offset(a, theta - kQuarterTurn, h)};
    POINT device[4];
    for (int i = 0; i < 4; i += 2) {
        float y1 = 0.0f, y2 = 0.0f;
        float x1 = corners[i].x, z1 = corners[i].z, x2 = corners[i + 1].x, z2 = corners[i + 1].z;
        ProjectSegmentToView(&x1, &y1, &z1, &x2, &y2, &z2, perspectiveOn);
        device[i] = {RoundCoordinate(x1), RoundCoordinate(y1)};
        device[i + 1] = {RoundCoordinate(x2), RoundCoordinate(y2)};
    }
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    if (red) {
        HGDIOBJ previousBrush = SelectObject(dc, red);
        HGDIOBJ previousPen = SelectObject(dc, GetStockObject(NULL_PEN));
        Polygon(dc, device, 4);
        if (previousPen)
            SelectObject(dc, previousPen);
        if (previousBrush)
            SelectObject(dc, previousBrush);
        DeleteObject(red);
    }
    halfInchToggle = 1;
    int32_t feet = 0, inches = 0;
    DrawDimensionLine(dc, ax, az, bx, bz, ax, az, bx, bz, 1, 5.0f, 1, &feet, &inches, 0, 0, 5.0f, 0,
                      nullptr);
}
