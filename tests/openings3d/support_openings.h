#pragma once
// Openings on a wall along +x (thickness 6, base 0) in a plan whose display units are
// plan units, built in memory for the door, window and wall-element models.
#include "model/plan_object.h"
#include "support/plan_fixtures.h"
#include <vector>

namespace otest {

class OpeningTest : public vtest::RecordCheckedDocumentTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // A door (16), window (17) or wall element (56) on the wall with its ends at x = 0
    // and x = width, the record filled as the placing tools fill it.
    PlanObject* AddOpening(uint16_t type, int16_t style, float width, float height,
                           float casing);
    OpeningRecord* Record(PlanObject* opening)
    {
        return static_cast<OpeningRecord*>(opening->link);
    }

    PlanObject* wall = nullptr;
};

// The parts of a record's list, in order.
std::vector<PlanObject*> Parts(const OpeningRecord* record);
std::vector<uint16_t> PartTypes(const OpeningRecord* record);
// The box of a part's vertex positions: min y, x, z, max y, x, z.
struct Box {
    float minY, minX, minZ, maxY, maxX, maxZ;
};
Box BoxOf(const PlanObject* part);

} // namespace otest

#define EXPECT_BOX(box, x0, x1, y0, y1, z0, z1)   \
    do {                                           \
        const otest::Box b_ = (box);               \
        EXPECT_NEAR(b_.minX, (x0), 1e-3f);         \
        EXPECT_NEAR(b_.maxX, (x1), 1e-3f);         \
        EXPECT_NEAR(b_.minY, (y0), 1e-3f);         \
        EXPECT_NEAR(b_.maxY, (y1), 1e-3f);         \
        EXPECT_NEAR(b_.minZ, (z0), 1e-3f);         \
        EXPECT_NEAR(b_.maxZ, (z1), 1e-3f);         \
    } while (0)
