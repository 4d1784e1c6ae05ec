#include "support_model3d.h"
#include "model3d/stairs.h"

namespace m3test {

void GeneratorTest::SetUp()
{
    RecordCheckedDocumentTest::SetUp();
    if (HasFatalFailure())
        return;
    ASSERT_NE(document->settings, nullptr);
    // Inches drawn at 72 to the inch: a display length is its plan length.
    document->settings->drawingScale = 72.0f;
    document->settings->drawingUnit = 1;
    document->settings->paperUnit = 1;
    document->settings->zoom = 1.0f;
    stairRunState = StairRunState{};
}

std::vector<P3> Positions(const PlanObject* object)
{
    std::vector<P3> points;
    for (const PlanVertex* v = object ? object->firstVertex : nullptr; v; v = v->next)
        points.push_back({v->position[0], v->position[1], v->position[2]});
    return points;
}

std::vector<PlanObject*> Parts(const PlanObject* owner)
{
    std::vector<PlanObject*> parts;
    for (PlanObject* p = static_cast<PlanObject*>(owner->link); p; p = p->next)
        parts.push_back(p);
    return parts;
}

std::vector<PlanObject*> PartsOfType(const PlanObject* owner, uint16_t type)
{
    std::vector<PlanObject*> parts;
    for (PlanObject* p : Parts(owner))
        if (p->type == type)
            parts.push_back(p);
    return parts;
}

P3 RingCentre(const PlanObject* part)
{
    P3 sum = {0, 0, 0};
    int n = 0;
    int perRing = part->rows ? (int)part->vertexCount / part->rows : (int)part->vertexCount;
    for (const PlanVertex* v = part->firstVertex; v && n < perRing; v = v->next, ++n) {
        sum.x += v->position[0];
        sum.y += v->position[1];
        sum.z += v->position[2];
    }
    if (n)
        sum = {sum.x / n, sum.y / n, sum.z / n};
    return sum;
}

float MinY(const PlanObject* part)
{
    float y = 1e30f;
    for (const PlanVertex* v = part->firstVertex; v; v = v->next)
        y = v->position[1] < y ? v->position[1] : y;
    return y;
}

float MaxY(const PlanObject* part)
{
    float y = -1e30f;
    for (const PlanVertex* v = part->firstVertex; v; v = v->next)
        y = v->position[1] > y ? v->position[1] : y;
    return y;
}

} // namespace m3test
