#include "planview/hit_testing.h"
#include "model/hermite.h"
#include "model/object_extents.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_state.h"

// GDI takes 16-bit coordinates: hit tests work within +-32767.
static const float kHitLimit = 32767.0f;

static PlanSettings* CurrentSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

static float ClampToHitRange(float v)
{
    if (v != v)
        return kHitLimit;  // a point that is not a number hits nothing near the plan
    if (v > kHitLimit)
        return kHitLimit;
    if (v < -kHitLimit)
        return -kHitLimit;
    return v;
}

// +0.5 and truncation toward zero, also for negative values.
static int RoundCoordinate(float v)
{
    return static_cast<int>(v + 0.5f);
}

// Half size of a vertex handle in pixels, at least 2.
static int HandleHalfSize(const PlanSettings* settings)
{
    int h = settings ? settings->pickTolerance : 5;
    return h < 2 ? 2 : h;
}

// Samples of a curve: twice the curve steps (a file's 0 or huge count made usable), 10
// without settings.
static float CurveSamples(const PlanSettings* settings)
{
    return settings ? 2.0f * UsableCurveSteps(settings) : 10.0f;
}

// A model point into the current view, zoomed, with perspective when it is on.
static void ProjectToView(float x, float y, float z, float* out)
{
    TransformPointToView(&x, &y, &z, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin,
                         viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
    if (perspectiveOn)
        ApplyPerspective(&x, &y, &z, viewerDistance, 0.0f, 0.0f, 0.0f);
    out[0] = ClampToHitRange(x);
    out[1] = ClampToHitRange(y);
    out[2] = z;
}

static bool ClickIn(const RECT& rect, const PlanMouseState* state)
{
    POINT click = {state->x, state->y};
    return PtInRect(&rect, click) != 0;
}

static void Grow(RECT* rect, int dx, int dy)
{
    rect->left -= dx;
    rect->right += dx;
    rect->top -= dy;
    rect->bottom += dy;
}

static bool IsAllowedType(uint16_t type, const int16_t* allowedTypes, int16_t count)
{
    if (!allowedTypes || count < 1)
        return true;
    for (int i = 0; i < count; ++i)
        if (static_cast<uint16_t>(allowedTypes[i]) == type)
            return true;
    return false;
}

// Objects answered as a whole wherever the click lands in their rectangle.
static bool IsHitAsWhole(const PlanObject* object)
{
    switch (object->type) {
    case 15: case 28: case 31: case 56: case 115: case 200: case 201: case 301: case 302:
        return true;
    default:
        return object->subType == 89;
    }
}

static bool IsOpeningChild(uint16_t type)
{
    return type == ObjDoor || type == ObjWindow || type == ObjWallElement;
}

bool HitTestBoxCorner(float x, float y, float z, PlanMouseState* state)
{
    if (!state)
        return false;
    float view[3];
    ProjectToView(x, y, z, view);
    int cx = RoundCoordinate(view[0]);
    int cy = RoundCoordinate(view[1]);
    RECT square = {cx - 3, cy - 3, cx + 3, cy + 3};
    return ClickIn(square, state);
}

bool HitTestVertexHandle(PlanVertex* vertex, PlanMouseState* state, int16_t penDx,
                         int16_t penDy)
{
    if (!vertex || !state)
        return false;
    float view[3];
    ProjectToView(vertex->position[0], vertex->position[1], vertex->position[2], view);
    int cx = RoundCoordinate(view[0]);
    int cy = RoundCoordinate(view[1]);
    int h = HandleHalfSize(CurrentSettings());
    RECT square = {cx - h, cy - h, cx + h, cy + h};
    // A wide pen's offsets are negative: the square widens by them.
    Grow(&square, -penDx, -penDy);
    return ClickIn(square, state);
}

// The click near the Hermite curve p0 -> p1 with the end tangents t0 and t1.
static bool HitTestCurve(const float* p0, const float* t0, const float* p1, const float* t1,
                         PlanMouseState* state, int16_t penDx, int16_t penDy)
{
    PlanSettings* settings = CurrentSettings();
    int grow = HandleHalfSize(settings) - 1;

    RECT bounds;
    GetCurveSegmentViewBounds(p0[0], t0[0], t1[0], p1[0], p0[1], t0[1], t1[1], p1[1],
                              p0[2], t0[2], t1[2], p1[2], &bounds);
    Grow(&bounds, grow - penDx, grow - penDy);
    if (!ClickIn(bounds, state))
        return false;

    float coefficients[3][4];
    ComputeSegmentCoefficients(p0, t0, p1, t1, coefficients);
    float n = CurveSamples(settings);
    float step = 1.0f / n;
    float previous[3] = {0.0f, 0.0f, 0.0f};
    float previousT = 0.0f;
    for (float t = 0.0f; t < 1.0f + step; t += step) {
        float model[3];
        EvaluateSegmentCoefficients(coefficients, t, model);
        float view[3];
        ProjectToView(model[0], model[1], model[2], view);
        if (t > 0.0f) {
            int x1 = RoundCoordinate(previous[0]), y1 = RoundCoordinate(previous[1]);
            int x2 = RoundCoordinate(view[0]), y2 = RoundCoordinate(view[1]);
            RECT chord = {x1 < x2 ? x1 : x2, y1 < y2 ? y1 : y2, x1 < x2 ? x2 : x1,
                          y1 < y2 ? y2 : y1};
            Grow(&chord, grow - penDx, grow - penDy);
            if (ClickIn(chord, state)) {
                for (int k = 0; k < 3; ++k) {
                    state->chordPrevious[k] = previous[k];
                    state->chordCurrent[k] = view[k];
                    state->hitPoint[k] = model[k];
                }
                state->chordPreviousT = previousT;
                state->chordCurrentT = t;
                return true;
            }
        }
        for (int k = 0; k < 3; ++k)
            previous[k] = view[k];
        previousT = t;
    }
    return false;
}

bool HitTestSegment(PlanVertex* a, PlanVertex* b, PlanMouseState* state, int16_t penDx,
                    int16_t penDy)
{
    if (!a || !b || !state)
        return false;
    return HitTestCurve(a->position, a->outTangent, b->position, b->inTangent, state, penDx,
                        penDy);
}

static void SetVertexHit(PlanMouseState* state, PlanObject* object, PlanVertex* vertex)
{
    state->vertexHit = 1;
    state->vertexA = vertex;
    state->object = object;
    for (int k = 0; k < 3; ++k)
        state->hitPoint[k] = vertex->position[k];
}

// The end handles take precedence over the segment between them; unselectable ends
// and segments between two unselectable ends are not hit.
static bool ResolveSegmentHit(PlanObject* object, PlanVertex* a, PlanVertex* b,
                              PlanMouseState* state, int16_t penDx, int16_t penDy)
{
    if (HitTestVertexHandle(a, state, penDx, penDy)) {
        if (!a->selectable)
            return false;
        SetVertexHit(state, object, a);
        return true;
    }
    if (!HitTestVertexHandle(b, state, penDx, penDy)) {
        if (!a->selectable && !b->selectable)
            return false;
        state->segmentHit = 1;
        state->vertexA = a;
        state->vertexB = b;
        state->object = object;
        return true;
    }
    if (!b->selectable)
        return false;
    SetVertexHit(state, object, b);
    return true;
}

bool HitTestSegmentAndEnds(PlanObject* object, PlanVertex* a, PlanVertex* b,
                           PlanMouseState* state, int16_t penDx, int16_t penDy)
{
    if (!a || !b || !state)
        return false;
    if (!HitTestSegment(a, b, state, penDx, penDy))
        return false;
    return ResolveSegmentHit(object, a, b, state, penDx, penDy);
}

// The segment between the same column of two mesh rows, curved by the vertices' cross
// tangents as the mesh outline draws it.
static bool HitTestCrossSegmentAndEnds(PlanObject* object, PlanVertex* a, PlanVertex* b,
                                       PlanMouseState* state, int16_t penDx, int16_t penDy)
{
    if (!a || !b)
        return false;
    if (!HitTestCurve(a->position, a->extra, b->position, b->extra, state, penDx, penDy))
        return false;
    return ResolveSegmentHit(object, a, b, state, penDx, penDy);
}

static PlanVertex* LastVertex(PlanVertex* first)
{
    PlanVertex* last = first;
    while (last && last->next)
        last = last->next;
    return last;
}

// The rows of a mesh, their closing segments and the cross segments, in the order the
// mesh outline is drawn.
static bool PickMeshSegment(PlanObject* object, PlanMouseState* state, int16_t dx, int16_t dy)
{
    int rows = object->rows;
    uint32_t perRow = rows > 0 ? object->vertexCount / static_cast<uint32_t>(rows) : 0;
    PlanVertex* lowerStart = object->firstVertex;
    for (uint32_t i = 0; i < perRow && lowerStart; ++i)
        lowerStart = lowerStart->next;
    if (perRow == 0 || !lowerStart)
        return false;
    PlanVertex* upperStart = object->firstVertex;
    bool firstPass = true;
    while (lowerStart) {
        PlanVertex* upper = upperStart;
        PlanVertex* lower = lowerStart;
        for (uint32_t step = 0; step + 1 < perRow; ++step) {
            if (!upper->next || !lower->next)
                return false;
            if (firstPass && HitTestSegmentAndEnds(object, upper, upper->next, state, dx, dy))
                return true;
            if (HitTestSegmentAndEnds(object, lower, lower->next, state, dx, dy))
                return true;
            if (HitTestCrossSegmentAndEnds(object, upper, lower, state, dx, dy))
                return true;
            upper = upper->next;
            lower = lower->next;
        }
        if (object->closed) {
            if (firstPass && HitTestSegmentAndEnds(object, upper, upperStart, state, dx, dy))
                return true;
            if (HitTestSegmentAndEnds(object, lower, lowerStart, state, dx, dy))
                return true;
        }
        if (HitTestCrossSegmentAndEnds(object, upper, lower, state, dx, dy))
            return true;
        upperStart = lowerStart;
        lowerStart = lower->next;
        firstPass = false;
    }
    return false;
}

bool PickObjectSegment(PlanObject* object, PlanMouseState* state, uint8_t thinPens)
{
    if (!object || !state)
        return false;
    int16_t dx = 0, dy = 0;
    if (!thinPens)
        GetPenCentreOffset(GetObjectPenWidth(object, 1), &dx, &dy);
    if (object->rows > 1)
        return PickMeshSegment(object, state, dx, dy);
    PlanVertex* first = object->firstVertex;
    for (PlanVertex* v = first; v && v->next; v = v->next)
        if (HitTestSegmentAndEnds(object, v, v->next, state, dx, dy))
            return true;
    PlanVertex* last = LastVertex(first);
    if (object->closed && last && last != first)
        return HitTestSegmentAndEnds(object, last, first, state, dx, dy);
    return false;
}

bool PickObjectPart(PlanObject* object, PlanMouseState* state, uint8_t selectedOnly,
                    const int16_t* allowedTypes, int16_t count, uint8_t thinPens)
{
    PlanSettings* settings = CurrentSettings();
    if (!object || !state || !settings)
        return false;
    bool testSelf = IsAllowedType(object->type, allowedTypes, count) &&
                    (!selectedOnly || IsAnyPointSelected(object));
    if (testSelf) {
        float extents[4];
        ResetExtentRect(extents);
        AddObjectViewExtents(object, 0, extents, 0, 0);
        RECT rect = {RoundCoordinate(ClampToHitRange(extents[kRectMinX])),
                     RoundCoordinate(ClampToHitRange(extents[kRectMinY])),
                     RoundCoordinate(ClampToHitRange(extents[kRectMaxX])),
                     RoundCoordinate(ClampToHitRange(extents[kRectMaxY]))};
        int grow = HandleHalfSize(settings) - 1;
        Grow(&rect, grow, grow);
        if (ClickIn(rect, state)) {
            if (IsHitAsWhole(object)) {
                state->vertexHit = 1;
                state->vertexA = object->firstVertex;
                state->object = object;
                return true;
            }
            if (PickObjectSegment(object, state, thinPens))
                return true;
        }
    }
    for (PlanObject* child = object->firstChild; child; child = child->next) {
        if (IsOpeningChild(child->type) &&
            !IsObjectInViewFilter(child, settings->visibleCategories))
            continue;
        if (PickObjectPart(child, state, selectedOnly, allowedTypes, count, thinPens))
            return true;
    }
    return false;
}

// Handle n (1..8) of a stored 3D box [min y, min x, min z, max y, max x, max z]:
// four corners at min z, then the same four at max z, each face in the order
// (min x, min y), (max x, min y), (max x, max y), (min x, max y).
static void BoxCorner(const float* box, int n, float* corner)
{
    static const uint8_t useMaxX[4] = {0, 1, 1, 0};
    static const uint8_t useMaxY[4] = {0, 0, 1, 1};
    int i = (n - 1) & 3;
    corner[0] = useMaxX[i] ? box[kBoxMaxX] : box[kBoxMinX];
    corner[1] = useMaxY[i] ? box[kBoxMaxY] : box[kBoxMinY];
    corner[2] = n > 4 ? box[kBoxMaxZ] : box[kBoxMinZ];
}

static bool PickBoxHandle(PlanObject* object, PlanMouseState* state)
{
    for (int n = 1; n <= 8; ++n) {
        float corner[3];
        BoxCorner(object->box3D, n, corner);
        if (HitTestBoxCorner(corner[0], corner[1], corner[2], state)) {
            state->boxHandleHit = 1;
            state->handleIndex = static_cast<uint16_t>(n);
            state->object = object;
            for (int k = 0; k < 3; ++k)
                state->hitPoint[k] = corner[k];
            return true;
        }
    }
    return false;
}

bool PickObjectOnFloor(PlanFloor* floor, PlanMouseState* state, uint8_t selectedOnly,
                       const int16_t* allowedTypes, int16_t count, uint8_t thinPens)
{
    PlanSettings* settings = CurrentSettings();
    if (!floor || !state || !settings || !floor->shown || !floor->active)
        return false;
    PlanObject* last = floor->firstObject;
    while (last && last->next)
        last = last->next;
    // The object drawn last lies on top: it is asked first.
    for (PlanObject* object = last; object; object = object->previous) {
        if (!IsObjectInViewFilter(object, settings->visibleCategories))
            continue;
        if (IsAnyPointSelected(object) && !IsPointEditable(currentToolId, object) &&
            PickBoxHandle(object, state))
            return true;
        if (PickObjectPart(object, state, selectedOnly, allowedTypes, count, thinPens))
            return true;
    }
    return false;
}

bool PickObjectAtPoint(PlanFloor* firstFloor, PlanMouseState* state, uint8_t selectedOnly,
                       const int16_t* allowedTypes, int16_t count, uint8_t thinPens)
{
    if (!firstFloor || !state || !CurrentSettings())
        return false;
    PlanFloor* floor = firstFloor;
    while (floor->next)
        floor = floor->next;
    for (; floor; floor = floor->previous) {
        if (PickObjectOnFloor(floor, state, selectedOnly, allowedTypes, count, thinPens))
            return true;
        if (floor == firstFloor)
            break;
    }
    return false;
}

void RubberBandSelect(PlanFloor* firstFloor, const RECT* band, uint8_t mode, uint8_t draw)
{
    PlanSettings* settings = CurrentSettings();
    if (!band || !settings)
        return;
    uint32_t mask = settings->visibleCategories;
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next) {
        if (!floor->shown || !floor->active)
            continue;
        for (PlanObject* object = floor->firstObject; object; object = object->next) {
            if (!IsObjectInViewFilter(object, mask))
                continue;
            float extents[4];
            ResetExtentRect(extents);
            GetObjectExtents2D(object, 0, extents, 0, 0);
            RECT rect = {RoundCoordinate(ClampToHitRange(extents[kRectMinX])) - 2,
                         RoundCoordinate(ClampToHitRange(extents[kRectMinY])) - 2,
                         RoundCoordinate(ClampToHitRange(extents[kRectMaxX])) + 2,
                         RoundCoordinate(ClampToHitRange(extents[kRectMaxY])) + 2};
            RECT common;
            if (!IntersectRect(&common, &rect, band))
                continue;
            POINT corners[4] = {{rect.left, rect.top}, {rect.right, rect.top},
                                {rect.left, rect.bottom}, {rect.right, rect.bottom}};
            bool inside = true;
            for (const POINT& corner : corners)
                inside = inside && PtInRect(band, corner);
            if (inside)
                SelectVisibleObject(object, mode, draw, mask);
        }
    }
}

bool SelectPointInRect(PlanObject* object, const RECT* band, uint8_t mode, uint8_t draw)
{
    PlanSettings* settings = CurrentSettings();
    if (!object || !band || !settings)
        return false;
    const bool alone = SelectsPointsAlone(object);
    for (PlanVertex* v = object->firstVertex; v; v = v->next) {
        float view[3];
        ProjectToView(v->position[0], v->position[1], v->position[2], view);
        const POINT at = {RoundCoordinate(view[0]), RoundCoordinate(view[1])};
        if (!PtInRect(band, at))
            continue;
        SelectPointOrObject(v, object, mode, draw);
        if (!alone)
            return true;
    }
    for (PlanObject* child = object->firstChild; child; child = child->next) {
        if (!IsObjectInViewFilter(child, settings->visibleCategories))
            continue;
        if (SelectPointInRect(child, band, mode, draw))
            return true;
    }
    return false;
}

void RubberBandSelectPoints(PlanFloor* firstFloor, const RECT* band, uint8_t mode, uint8_t draw)
{
    PlanSettings* settings = CurrentSettings();
    if (!band || !settings)
        return;
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next) {
        if (!floor->shown || !floor->active)
            continue;
        for (PlanObject* object = floor->firstObject; object; object = object->next)
            if (IsObjectInViewFilter(object, settings->visibleCategories))
                SelectPointInRect(object, band, mode, draw);
    }
}
