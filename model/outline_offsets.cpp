#include "model/outline_offsets.h"
#include "model/object_copies.h"
#include "model/object_extents.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "planview/selection.h"
#include <stdlib.h>
#include <vector>

static const float kHalfPi = 1.5707963267948966f;

static PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

// ---------------------------------------------------------------------------------
// Offsets

void OffsetSegment(const PlanVertex* a, const PlanVertex* b, float* x0, float* y0, float* z0,
                   float* x1, float* y1, float* z1, int16_t sign, float distance)
{
    if (!a || !b || !x0 || !y0 || !z0 || !x1 || !y1 || !z1)
        return;
    *y0 = a->position[1];
    *y1 = a->position[1];
    float length = 0.0f;
    float angle = AngleBetweenPoints(a->position[0], a->position[2], b->position[0], b->position[2],
                                     &length) +
                  static_cast<float>(sign) * kHalfPi;
    float dx = 0.0f;
    float dz = 0.0f;
    OffsetPointPolar(angle, distance, &dx, &dz);
    *x0 = a->position[0] + dx;
    *z0 = a->position[2] + dz;
    *x1 = b->position[0] + dx;
    *z1 = b->position[2] + dz;
}

struct OffsetPoint {
    float x, y, z;
};

static bool InsideWidenedExtents(const PlanSettings* settings, float x, float z)
{
    return x >= settings->extentLeft - 100.0f && x <= settings->extentRight + 100.0f &&
           z >= settings->extentTop - 100.0f && z <= settings->extentBottom + 100.0f;
}

// The corner at v between the shifted segments p -> v and v -> n; the start of the
// shifted v -> n where the two are parallel or meet too far away.
static OffsetPoint OffsetCorner(const PlanSettings* settings, const PlanVertex* p, const PlanVertex* v,
                                const PlanVertex* n, int16_t sign, float distance)
{
    OffsetPoint in0, in1, out0, out1;
    OffsetSegment(p, v, &in0.x, &in0.y, &in0.z, &in1.x, &in1.y, &in1.z, sign, distance);
    OffsetSegment(v, n, &out0.x, &out0.y, &out0.z, &out1.x, &out1.y, &out1.z, sign, distance);
    float x = kNoIntersection;
    float z = kNoIntersection;
    IntersectLines(in0.x, in0.z, in1.x, in1.z, out0.x, out0.z, out1.x, out1.z, &x, &z);
    OffsetPoint corner = {out0.x, p->position[1], out0.z};
    bool parallel = x == kNoIntersection && z == kNoIntersection;
    if (!parallel && InsideWidenedExtents(settings, x, z)) {
        corner.x = x;
        corner.z = z;
    }
    return corner;
}

PlanObject* BuildOffsetSide(PlanObject* object, int16_t side, float distance, uint8_t attach)
{
    PlanSettings* settings = ActiveSettings();
    if (!object || !settings)
        return nullptr;
    PlanObject* offset = CreateObject(object->type, object->closed, object->creationFlag,
                                      &object->colourA, &object->colourB, object->size,
                                      object->value1, object->value2, object->box2D, nullptr,
                                      nullptr, nullptr, object->floor, nullptr);
    if (!offset)
        return nullptr;
    const int16_t sign = side == kOffsetSideRight ? -1 : 1;

    std::vector<const PlanVertex*> chain;
    for (const PlanVertex* v = object->firstVertex; v; v = v->next)
        chain.push_back(v);
    const size_t n = chain.size();
    std::vector<OffsetPoint> points;
    if (n == 1) {
        points.push_back({chain[0]->position[0], chain[0]->position[1], chain[0]->position[2]});
    } else if (n >= 2) {
        for (size_t i = 0; i < n; ++i) {
            const bool first = i == 0;
            const bool last = i == n - 1;
            if (!object->closed && first) {
                OffsetPoint start, end;
                OffsetSegment(chain[0], chain[1], &start.x, &start.y, &start.z, &end.x, &end.y,
                              &end.z, sign, distance);
                points.push_back(start);
            } else if (!object->closed && last) {
                OffsetPoint start, end;
                OffsetSegment(chain[n - 2], chain[n - 1], &start.x, &start.y, &start.z, &end.x,
                              &end.y, &end.z, sign, distance);
                points.push_back(end);
            } else {
                const PlanVertex* p = first ? chain[n - 1] : chain[i - 1];
                const PlanVertex* next = last ? chain[0] : chain[i + 1];
                points.push_back(OffsetCorner(settings, p, chain[i], next, sign, distance));
            }
        }
    }
    for (const OffsetPoint& point : points) {
        PlanVertex* vertex = NewVertexNode(1, 1, 0, 0.0f, 0.0f, 0.0f, point.x, point.y, point.z, 0.0f,
                                           0.0f, 0.0f, 0.0f, 0.0f, 0.0f, offset);
        if (!vertex) {
            FreeObject(offset);
            return nullptr;
        }
        AddObjectPoint(vertex, offset);
    }
    if (attach)
        AttachObjectToFloor(offset, object->floor);
    UpdateObjectExtents(offset);
    return offset;
}

PlanObject* BuildOffsetWallGroupVariant(PlanObject* object, int16_t side, float distance)
{
    return BuildOffsetSide(object, side, distance, 1);
}

PlanObject* SplitOpenWallGroupSide(PlanObject* object, float width, int16_t side)
{
    if (!object || object->closed)
        return nullptr;
    return BuildOffsetSide(object, side, UnitsToPlanLength(width, ActiveSettings(), 0), 1);
}

PlanObject* SplitClosedWallGroupSide(PlanObject* object, float width, int16_t side)
{
    if (!object || !object->closed)
        return nullptr;
    return BuildOffsetSide(object, side, UnitsToPlanLength(width, ActiveSettings(), 0), 1);
}

// A new vertex at the position of the object's first vertex, appended to it.
static void RepeatFirstVertex(PlanObject* object)
{
    const PlanVertex* first = object->firstVertex;
    if (!first)
        return;
    PlanVertex* vertex = NewVertexNode(1, first->selected, 0, 0.0f, 0.0f, 0.0f, first->position[0],
                                       first->position[1], first->position[2], 0.0f, 0.0f, 0.0f,
                                       0.0f, 0.0f, 0.0f, object);
    AddObjectPoint(vertex, object);
}

PlanObject* SplitWallGroupIntoSides(PlanObject* object, float width, uint8_t attach)
{
    if (!object)
        return nullptr;
    const float w = UnitsToPlanLength(width, ActiveSettings(), 0);
    // Read now: in the centred case the object is freed before the sides are joined.
    const bool closed = object->closed != 0;
    PlanObject* band = object;
    PlanObject* other = nullptr;
    switch (object->offsetSide) {
    case 0: {
        PlanObject* right = BuildOffsetSide(object, kOffsetSideRight, w / 2.0f, attach);
        other = BuildOffsetSide(object, kOffsetSideLeft, w / 2.0f, attach);
        if (right) {
            FreeObject(object);
            band = right;
        }
        break;
    }
    case 1:
        other = BuildOffsetSide(object, kOffsetSideLeft, w, attach);
        break;
    case 2:
        other = BuildOffsetSide(object, kOffsetSideRight, w, attach);
        break;
    default:
        return object;
    }
    if (!other)
        return band;

    if (closed) {
        RepeatFirstVertex(band);
        RepeatFirstVertex(other);
    }
    // The other side runs back along the band, from its last vertex to its first.
    PlanVertex* v = other->firstVertex;
    while (v && v->next)
        v = v->next;
    other->firstVertex = nullptr;
    other->vertexCount = 0;
    while (v) {
        PlanVertex* previous = v->previous;
        v->previous = nullptr;
        v->next = nullptr;
        AddObjectPoint(v, band);
        v = previous;
    }
    FreeObject(other);

    band->closed = 1;
    band->rows = 1;
    uint32_t count = 0;
    for (PlanVertex* each = band->firstVertex; each; each = each->next)
        ++count;
    band->vertexCount = count;
    UpdateObjectExtents(band);
    return band;
}

// ---------------------------------------------------------------------------------
// Winding

static int16_t TruncateHalfUp(float value)
{
    return static_cast<int16_t>(value + 0.5f);
}

int16_t GetPolygonWinding(PlanObject* object)
{
    if (!object || !activeDocument)
        return 1;
    PlanSettings* settings = activeDocument->settings;
    if (!settings)
        return 0;
    int first, second;
    GetViewPlaneAxes(settings->viewPlane, &first, &second);
    const uint32_t rows = object->rows ? object->rows : 1;
    if (object->vertexCount % rows != 0)
        return 0;
    const uint32_t perRow = object->vertexCount / rows;

    uint32_t available = 0;
    for (const PlanVertex* v = object->firstVertex; v && available < perRow; v = v->next)
        ++available;
    if (available < 2)
        return 1;
    POINT* polygon = static_cast<POINT*>(malloc(available * sizeof(POINT)));
    if (!polygon)
        return 0;
    const PlanVertex* v = object->firstVertex;
    for (uint32_t i = 0; i < available; ++i, v = v->next) {
        polygon[i].x = TruncateHalfUp(v->position[first]);
        polygon[i].y = TruncateHalfUp(v->position[second]);
    }
    HRGN region = CreatePolygonRgn(polygon, static_cast<int>(available), WINDING);
    free(polygon);
    if (!region)
        return 1;

    const PlanVertex* a = object->firstVertex;
    const PlanVertex* b = a->next;
    float length = 0.0f;
    float angle = AngleBetweenPoints(a->position[first], a->position[second], b->position[first],
                                     b->position[second], &length) +
                  kHalfPi;
    float dx = 0.0f;
    float dy = 0.0f;
    OffsetPointPolar(angle, 2.0f, &dx, &dy);
    float testX = (a->position[first] + b->position[first]) / 2.0f + dx;
    float testY = (a->position[second] + b->position[second]) / 2.0f + dy;
    BOOL inside = PtInRegion(region, TruncateHalfUp(testX), TruncateHalfUp(testY));
    DeleteObject(region);
    return inside ? 1 : -1;
}

void UpdateObjectWinding(PlanObject* object)
{
    if (!object)
        return;
    if (object->type == ObjWall)
        object = static_cast<PlanObject*>(object->link);
    if (!object)
        return;
    const uint32_t rows = object->rows;
    if (object->buildFlag && object->closed && object->vertexCount > 2 && rows > 1 &&
        object->vertexCount % rows == 0) {
        const PlanVertex* v0 = object->firstVertex;
        const PlanVertex* v1 = v0 ? v0->next : nullptr;
        const PlanVertex* v2 = v1 ? v1->next : nullptr;
        if (v2) {
            float p[3][3];
            const PlanVertex* vertices[3] = {v0, v1, v2};
            for (int i = 0; i < 3; ++i) {
                p[i][0] = vertices[i]->position[0];
                p[i][1] = vertices[i]->position[1];
                p[i][2] = vertices[i]->position[2];
                TransformPointToView(&p[i][0], &p[i][1], &p[i][2], viewPitchCos, viewPitchSin,
                                     viewYawCos, viewYawSin, viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
            }
            float a, b, c, d;
            ComputePlaneFromPoints(p[0][0], p[0][1], p[0][2], p[1][0], p[1][1], p[1][2], p[2][0],
                                   p[2][1], p[2][2], &a, &b, &c, &d);
            object->winding = c <= 0.0f ? 1 : -1;
        }
    }
    for (PlanObject* child = object->firstChild; child; child = child->next)
        UpdateObjectWinding(child);
}

void UpdateFloorWinding(PlanFloor* floor)
{
    if (!floor || !floor->shown)
        return;
    for (PlanObject* object = floor->firstObject; object; object = object->next)
        UpdateObjectWinding(object);
}

void UpdateAllObjectsWinding(PlanFloor* firstFloor)
{
    // Every mesh is judged from the same viewpoint, whatever the current view.
    ApplyViewAngles(20.0f, 330.0f, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, 0);
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        UpdateFloorWinding(floor);
    ApplyViewAngles(viewPitchDegrees, viewYawDegrees, &viewPitchCos, &viewPitchSin, &viewYawCos,
                    &viewYawSin, perspectiveOn);
}

// ---------------------------------------------------------------------------------
// Small setters

void ClearObjectVertexSlopes(PlanObject* object)
{
    if (!object)
        return;
    for (PlanVertex* v = object->firstVertex; v; v = v->next)
        for (int k = 0; k < 3; ++k) {
            v->inTangent[k] = 0.0f;
            v->outTangent[k] = 0.0f;
        }
}

static bool IsSmoothableType(uint16_t type)
{
    return type == 21 || type == ObjFence || type == 26 || type == 27 || type == ObjStair ||
           type == ObjRailing;
}

void RecomputeCurvesOrDeselect(PlanObject* object)
{
    if (!object)
        return;
    if (IsSmoothableType(object->type))
        RecomputeObject(object);
    else
        SelectObjectAndDrawHandles(object, kSelectDeselect, 1);
}

void StraightenOrDeselect(PlanObject* object)
{
    if (!object)
        return;
    if (IsSmoothableType(object->type))
        ClearObjectVertexSlopes(object);
    else
        SelectObjectAndDrawHandles(object, kSelectDeselect, 1);
}

void ApplyDefaultPenWidthToObject(PlanObject* object)
{
    PlanSettings* settings = ActiveSettings();
    if (!object || !settings)
        return;
    object->size = static_cast<float>(static_cast<int16_t>(settings->defaultPenWidth));
}

void SetClosedObjectStyleWord(PlanObject* object, uint16_t value)
{
    if (!object || !object->closed)
        return;
    object->value2 = value;
}
