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

namespace mtest {

// A document made the way the document window makes one (three storeys, default
// settings), active for the length of a test and freed afterwards; the fixture
// checks that the test left no record behind.
class DocumentTest : public vtest::RecordCheckedDocumentTest {
protected:
    void SetUp() override;
    void CheckAfterFree() override;
};

// A document of default settings alone (no floors, no window) made the active one for
// the length of a test; the active document and plan pane come back afterwards.
class ActiveSettingsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    PlanSettings* settings = nullptr;
    PlanDocument document{};
    PlanDocument* savedDocument = nullptr;
    HWND savedPane = nullptr;
};

using Point = vtest::Point3;

// An object of the type on the floor (attached), one vertex per point.
inline PlanObject* MakeObject(uint16_t type, PlanFloor* floor, std::initializer_list<Point> points,
                              uint8_t selected = 0, uint8_t closed = 0)
{
    return vtest::MakePointObject(type, floor, points, selected, closed);
}
// An object that hangs in the owner's child list.
PlanObject* MakeChild(PlanObject* owner, uint16_t type, std::initializer_list<Point> points,
                      uint8_t selected = 0);
using vtest::VertexAt;
int CountChain(const PlanObject* object);
using vtest::CountFloorObjects;
// A door 36 wide standing in the middle of the wall segment that starts at vertex
// index 'start'.
PlanObject* MakeDoorOn(PlanObject* wall, int start, uint8_t selected = 0);

// A dimension and its label linked as a read plan links them: an attachment record on
// the dimension naming the label, a part record on the label naming the dimension.
struct DimensionLink {
    AttachmentRecord* attachment;
    AttachedPartRecord* part;
};
DimensionLink LinkDimensionLabel(PlanObject* dimension, PlanObject* label);

// A plan point as one number, x + 1000 z, and the chain of an object as such numbers:
// outlines compare in one expectation.
float PointKey(float x, float z);
std::vector<float> ChainKeys(const PlanObject* object);

} // namespace mtest
