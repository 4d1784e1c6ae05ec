#include "model3d/outline_tessellation.h"
#include "model3d/generator_limits.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/hermite.h"
#include <stdlib.h>
#include <string.h>

MeshVertex* NewVertexList()
{
    return (MeshVertex*)malloc(sizeof(MeshVertex));
}

int AppendVertex(MeshVertex** array, float x, float y, float z, int32_t* size, uint16_t flag,
                 float u, float v)
{
    if (!array || !*array || !size || *size < 0)
        return 0;
    int32_t count = *size + 1;
    MeshVertex* grown = (MeshVertex*)realloc(*array, (size_t)count * sizeof(MeshVertex));
    if (!grown) {
        // The old block is still ours: release it rather than lose it.
        free(*array);
        *array = nullptr;
        return 0;
    }
    *array = grown;
    *size = count;
    MeshVertex& last = grown[count - 1];
    last.x = x;
    last.y = y;
    last.z = z;
    last.edgeFlag = flag;
    last.u = u;
    last.v = v;
    return 1;
}

void FreeVertexList(MeshVertex* array)
{
    if (array)
        free(array);
}

static bool IsZero3(const float* t)
{
    return t[0] == 0.0f && t[1] == 0.0f && t[2] == 0.0f;
}

void TessellateSegment(MeshVertex** array, PlanVertex* from, PlanVertex* to, int32_t* size,
                       int32_t* added)
{
    if (!array || !from || !to || !size || !added)
        return;
    *added = 0;
    if (!activeDocument || !activeDocument->settings)
        return;

    if (IsZero3(from->outTangent) && IsZero3(to->inTangent)) {
        if (AppendVertex(array, from->position[0], from->position[1], from->position[2], size, 0,
                         from->u, from->v))
            *added = 1;
        return;
    }

    PlanObject* owner = from->owner;
    if (!owner)
        return;
    // The projection box lies in the texture block as [min second, min first, max
    // second, max first] of the owner's projection plane.
    float box[4];
    memcpy(box, owner->textureBlock, sizeof(box));
    float e1 = box[1];
    float e2 = box[0];
    float su = box[2] - box[0];
    float sv = box[3] - box[1];
    if (su == 0.0f)
        su = 1.0f;
    if (sv == 0.0f)
        sv = 1.0f;

    float coefficients[3][4];
    ComputeVertexSegmentCoefficients(from, to, coefficients);
    int32_t steps = static_cast<int32_t>(UsableCurveSteps(activeDocument->settings));
    float dt = 1.0f / (float)steps;
    float u = 0.0f;
    float v = 0.0f;
    // The end point starts the next segment, so t stops one step short of 1.
    for (int32_t i = 0; i < steps; ++i) {
        float t = (float)i * dt;
        float p[3];
        EvaluateSegmentCoefficients(coefficients, t, p);
        switch (owner->projectionMode) {
        case 1:
            u = (p[0] - e2) / su;
            v = (p[1] - e1) / sv;
            break;
        case 2:
            u = (p[0] - e2) / su;
            v = (p[2] - e1) / sv;
            break;
        case 3:
            u = (p[2] - e2) / su;
            v = (p[1] - e1) / sv;
            break;
        default:
            break;
        }
        if (!AppendVertex(array, p[0], p[1], p[2], size, 0, u, v))
            return;
        ++*added;
    }
}

MeshVertex* BuildPathVertices(PlanVertex* first, int32_t* count)
{
    if (!first || !count || *count < 3)
        return nullptr;
    int32_t n = *count;
    *count = 0;
    MeshVertex* array = NewVertexList();
    if (!array)
        return nullptr;
    int32_t size = 0;
    PlanVertex* current = first;
    // The stored count only bounds the walk; the chain itself ends it.
    for (int32_t k = 0; k < n - 1 && current->next; ++k) {
        int32_t added = 0;
        TessellateSegment(&array, current, current->next, &size, &added);
        if (!array) {
            *count = 0;
            return nullptr;
        }
        *count += added;
        current = current->next;
    }
    int32_t added = 0;
    TessellateSegment(&array, current, first, &size, &added);
    if (!array) {
        *count = 0;
        return nullptr;
    }
    *count += added;
    if (*count == 0) {
        FreeVertexList(array);
        return nullptr;
    }
    return array;
}
