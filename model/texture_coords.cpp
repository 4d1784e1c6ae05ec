#include "model/texture_coords.h"
#include "model/hermite.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include <string.h>

// Vertices per row, or 0 when the object has no usable rows: fewer than one row, or a
// vertex count that does not divide into them.
static uint32_t VerticesPerRow(const PlanObject* object)
{
    if (object->rows < 1 || object->vertexCount % object->rows != 0)
        return 0;
    return object->vertexCount / object->rows;
}

static bool IsRoofPlaneType(uint16_t type)
{
    return type >= 32 && type <= 35;
}

// The plane across the smallest span; ties go to 2, then 1, then 3.
static uint16_t ChooseProjectionMode(uint16_t type, float dx, float dy, float dz)
{
    if (IsRoofPlaneType(type))
        return dz < dx ? 1 : 3;
    if (dy <= dx && dy <= dz)
        return 2;
    if (dz <= dx && dz <= dy)
        return 1;
    if (dx <= dz && dx <= dy)
        return 3;
    return 2;
}

static float ClampUnit(float value)
{
    if (value < 0.0f)
        return 0.0f;
    if (value > 1.0f)
        return 1.0f;
    return value;
}

void ComputeProjectionExtents(PlanObject* object)
{
    if (!object || !activeDocument || !activeDocument->settings)
        return;
    const uint32_t perRow = VerticesPerRow(object);
    if (perRow == 0 || !object->firstVertex)
        return;

    float minimum[3], maximum[3];
    const PlanVertex* v = object->firstVertex;
    for (int k = 0; k < 3; ++k)
        minimum[k] = maximum[k] = v->position[k];
    uint32_t index = 0;
    for (; v && index < perRow; v = v->next, ++index)
        for (int k = 0; k < 3; ++k) {
            if (v->position[k] < minimum[k])
                minimum[k] = v->position[k];
            if (v->position[k] > maximum[k])
                maximum[k] = v->position[k];
        }
    const uint16_t mode = ChooseProjectionMode(object->type, maximum[0] - minimum[0],
                                               maximum[1] - minimum[1], maximum[2] - minimum[2]);
    int first, second;
    GetViewPlaneAxes(mode, &first, &second);

    const float box[4] = {minimum[second], minimum[first], maximum[second], maximum[first]};
    memcpy(object->textureBlock, box, sizeof(box));
    memcpy(object->textureBlock + sizeof(box), box, sizeof(box));
    object->projectionMode = mode;

    float width1 = maximum[first] - minimum[first];
    float width2 = maximum[second] - minimum[second];
    if (width1 == 0.0f)
        width1 = 1.0f;
    if (width2 == 0.0f)
        width2 = 1.0f;
    for (PlanVertex* each = object->firstVertex; each; each = each->next) {
        each->reserved1 = ClampUnit((each->position[first] - minimum[first]) / width1);
        each->reserved2 = ClampUnit((each->position[second] - minimum[second]) / width2);
    }
}

static bool IsZeroTangent(const float* tangent)
{
    return tangent[0] == 0.0f && tangent[1] == 0.0f && tangent[2] == 0.0f;
}

// A segment is straight when the tangents that shape it (the outgoing one of its start,
// the incoming one of its end) are both zero.
static float SegmentLength(const PlanVertex* from, const PlanVertex* to)
{
    if (IsZeroTangent(from->outTangent) && IsZeroTangent(to->inTangent))
        return Distance3D(from->position[0], from->position[1], from->position[2], to->position[0],
                          to->position[1], to->position[2]);
    return ComputeCurveLength3D(from, to);
}

// First vertex of the row measured: the third row of exactly three with the flag.
static const PlanVertex* RowStart(const PlanObject* object, uint32_t perRow, uint8_t thirdRow)
{
    const PlanVertex* v = object->firstVertex;
    if (object->rows == 3 && thirdRow)
        for (uint32_t i = 0; i < 2 * perRow && v; ++i)
            v = v->next;
    return v;
}

// Sum of the first 'segments' segments of the row; segment P of a closed object runs from
// the row's last vertex back to the object's first vertex.
static float SumRowSegments(const PlanObject* object, uint32_t perRow, uint8_t thirdRow,
                            uint32_t segments)
{
    const PlanVertex* v = RowStart(object, perRow, thirdRow);
    float length = 0.0f;
    uint32_t done = 0;
    for (uint32_t column = 1; v && column < perRow && done < segments; ++column, ++done) {
        if (!v->next)
            return length;
        length += SegmentLength(v, v->next);
        v = v->next;
    }
    if (v && done < segments && done == perRow - 1 && object->closed && object->firstVertex)
        length += SegmentLength(v, object->firstVertex);
    return length;
}

float ComputeRowLength(const PlanObject* object, uint8_t thirdRow)
{
    if (!object || object->rows <= 1)
        return 0.0f;
    const uint32_t perRow = VerticesPerRow(object);
    if (perRow <= 1)
        return 0.0f;
    return SumRowSegments(object, perRow, thirdRow, object->closed ? perRow : perRow - 1);
}

float ComputeRowLengthTo(const PlanObject* object, int16_t segments, uint8_t thirdRow)
{
    if (!object || segments <= 0 || object->rows <= 1)
        return 0.0f;
    const uint32_t perRow = VerticesPerRow(object);
    if (perRow == 0 || static_cast<uint32_t>(segments) - 1 > perRow)
        return 0.0f;
    return SumRowSegments(object, perRow, thirdRow, static_cast<uint32_t>(segments));
}

void ComputeMeshTextureCoords(PlanObject* object)
{
    if (!object || object->rows <= 1)
        return;
    const uint32_t perRow = VerticesPerRow(object);
    if (perRow <= 1 || perRow > 32767)
        return;
    const float length1 = ComputeRowLength(object, 0);
    const float length3 = object->rows > 2 ? ComputeRowLength(object, 1) : length1;
    uint32_t row = 1;
    uint32_t column = 1;
    uint32_t visited = 0;
    for (PlanVertex* v = object->firstVertex; v && visited < object->vertexCount; v = v->next, ++visited) {
        const uint8_t third = row >= 3 ? 1 : 0;
        v->v = third ? length3 : length1;
        v->u = ComputeRowLengthTo(object, static_cast<int16_t>(column - 1), third);
        if (++column > perRow) {
            column = 1;
            ++row;
        }
    }
}

float ComputeCurveLength3D(const PlanVertex* a, const PlanVertex* b)
{
    if (!a || !b || !activeDocument || !activeDocument->settings)
        return 0.0f;
    const uint16_t steps = activeDocument->settings->curveSteps;
    if (steps == 0)
        return 0.0f;
    HermiteScratch& scratch = hermiteScratch;
    FillHermiteBasis(scratch.basis);
    FillHermiteBasisTransposed(scratch.basisTransposed);
    // The t = 0 edge of the patch over (a, a, b, b) is the segment from a to b.
    ComputeHermitePatchCoefficients(scratch.geometryX, scratch.geometryY, scratch.geometryZ,
                                    scratch.basis, scratch.basisTransposed, scratch.product,
                                    scratch.coefficientsX, scratch.coefficientsY,
                                    scratch.coefficientsZ, a, a, b, b, 1, 0.0f, 0.0f);
    const float step = 1.0f / static_cast<float>(steps);
    float length = 0.0f;
    float s = 0.0f;
    for (uint16_t i = 0; i < steps; ++i, s += step) {
        float x0, y0, z0, x1, y1, z1;
        EvaluateHermitePatchPoint(scratch.coefficientsX, scratch.coefficientsY, scratch.coefficientsZ,
                                  scratch.s, scratch.t, s + step, 0.0f, &x1, &y1, &z1);
        EvaluateHermitePatchPoint(scratch.coefficientsX, scratch.coefficientsY, scratch.coefficientsZ,
                                  scratch.s, scratch.t, s, 0.0f, &x0, &y0, &z0);
        length += Distance3D(x1, y1, z1, x0, y0, z0);
    }
    return length;
}
