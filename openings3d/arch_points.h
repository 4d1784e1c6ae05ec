#pragma once
#include <stdint.h>
#include "openings3d/opening_parts.h"

// One outline part built point by point along a line in the plan: the point (s, y) lies
// at origin + OffsetPointPolar(angle, s), at the height y. Arches are stepped in whole
// 10-degree steps, each point of radius r and rise factor k at angle q (degrees) lying
// at s = centre - |r cos q| for q above 90 and centre + |r cos q| below, and rising
// |r sin q| k above the spring line (sine and cosine from OffsetPointPolar).
//
// When a vertex cannot be allocated the part is freed at once; later points are
// ignored and Release gives null. An outline never released frees its part.
class ArchOutline {
public:
    ArchOutline(PlanObject* opening, uint16_t type, uint8_t closed, PlanPoint2 origin,
                float angle);
    ~ArchOutline();
    ArchOutline(const ArchOutline&) = delete;
    ArchOutline& operator=(const ArchOutline&) = delete;

    PlanObject* part() const { return part_; }
    void Add(float s, float y);
    // A plan point as it stands, at the height y.
    void AddPlan(PlanPoint2 at, float y);
    // Arch points from qFrom to qTo inclusive, 10 degrees apart, the crown (q = 90)
    // excepted; spring is the y of the spring line.
    void AddArc(float centre, float r, float k, float spring, int qFrom, int qTo);
    // The crown of the arch: (centre, spring - r k).
    void AddCrown(float centre, float r, float k, float spring);
    // The whole arch from q = 180 over the crown to q = 0, and back.
    void AddArchDown(float centre, float r, float k, float spring);
    void AddArchUp(float centre, float r, float k, float spring);
    // Row count 1, the part handed over (null after a failed allocation).
    PlanObject* Release();

private:
    PlanObject* part_;
    PlanPoint2 origin_;
    float angle_;
};

// |r cos q| and |r sin q| of an angle in degrees, as OffsetPointPolar gives them.
void ArchOffsets(float r, int q, float* across, float* rise);
