#pragma once
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "support/plan_fixtures.h"
#include <gtest/gtest.h>
#include <initializer_list>
#include <vector>

namespace m3test {

// A fresh document, active for one test and freed afterwards. Its drawing scale makes
// one display unit one plan unit, so expected lengths read as the plan's own numbers.
// The fixture checks that nothing the test made was left behind.
class GeneratorTest : public vtest::RecordCheckedDocumentTest {
protected:
    void SetUp() override;
    PlanSettings* Settings() { return document->settings; }
};

using P3 = vtest::Point3;

// An object of the type appended to the floor, one straight vertex per point.
inline PlanObject* MakeObject(uint16_t type, PlanFloor* floor, std::initializer_list<P3> points,
                              uint8_t closed = 0)
{
    return vtest::MakePointObject(type, floor, points, 0, closed);
}
// Positions of the object's chain in order.
std::vector<P3> Positions(const PlanObject* object);
// The generated parts hung on an owner's link, in order.
std::vector<PlanObject*> Parts(const PlanObject* owner);
std::vector<PlanObject*> PartsOfType(const PlanObject* owner, uint16_t type);
// Centre (x, z) of a part's first ring, its lowest and highest y.
P3 RingCentre(const PlanObject* part);
float MinY(const PlanObject* part);
float MaxY(const PlanObject* part);

} // namespace m3test

// Points compare to 1e-3 with a message naming the index.
#define EXPECT_POINT(actual, ex, ey, ez)                  \
    do {                                                  \
        const m3test::P3 p_ = (actual);                   \
        EXPECT_NEAR(p_.x, (ex), 1e-3f);                   \
        EXPECT_NEAR(p_.y, (ey), 1e-3f);                   \
        EXPECT_NEAR(p_.z, (ez), 1e-3f);                   \
    } while (0)
