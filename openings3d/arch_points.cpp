#include "openings3d/arch_points.h"
#include "model/plane_geometry.h"
#include <math.h>

namespace {
const double kRadiansPerDegree = 0.017453292519943295;
}

void ArchOffsets(float r, int q, float* across, float* rise)
{
    float dx = 0.0f;
    float dy = 0.0f;
    OffsetPointPolar((float)(q * kRadiansPerDegree), r, &dx, &dy);
    *across = fabsf(dx);
    *rise = fabsf(dy);
}

ArchOutline::ArchOutline(PlanObject* opening, uint16_t type, uint8_t closed, PlanPoint2 origin,
                         float angle)
    : part_(CreateOpeningPart(opening, type, closed)), origin_(origin), angle_(angle)
{
}

ArchOutline::~ArchOutline()
{
    FreeObject(part_);
}

void ArchOutline::Add(float s, float y)
{
    AddPlan(PointAlong(origin_, angle_, s), y);
}

void ArchOutline::AddPlan(PlanPoint2 at, float y)
{
    if (!part_)
        return;
    if (!AddPartPoint(part_, at.x, y, at.z)) {
        FreeObject(part_);
        part_ = nullptr;
    }
}

void ArchOutline::AddArc(float centre, float r, float k, float spring, int qFrom, int qTo)
{
    const int step = qTo >= qFrom ? 10 : -10;
    for (int q = qFrom;; q += step) {
        if (q != 90) {
            float across = 0.0f;
            float rise = 0.0f;
            ArchOffsets(r, q, &across, &rise);
            Add(q > 90 ? centre - across : centre + across, spring - rise * k);
        }
        if (q == qTo)
            break;
    }
}

void ArchOutline::AddCrown(float centre, float r, float k, float spring)
{
    Add(centre, spring - r * k);
}

void ArchOutline::AddArchDown(float centre, float r, float k, float spring)
{
    AddArc(centre, r, k, spring, 180, 100);
    AddCrown(centre, r, k, spring);
    AddArc(centre, r, k, spring, 80, 0);
}

void ArchOutline::AddArchUp(float centre, float r, float k, float spring)
{
    AddArc(centre, r, k, spring, 0, 80);
    AddCrown(centre, r, k, spring);
    AddArc(centre, r, k, spring, 100, 180);
}

PlanObject* ArchOutline::Release()
{
    PlanObject* part = part_;
    part_ = nullptr;
    if (part)
        part->rows = 1;
    return part;
}
