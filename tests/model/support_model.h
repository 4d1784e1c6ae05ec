#pragma once
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include <gtest/gtest.h>
#include <initializer_list>

namespace mtest {

// A document made the way the document window makes one (three storeys, default
// settings), active for the length of a test and freed afterwards; the fixture
// checks that the test left no record behind.
class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    PlanFloor* Storey(int index);  // 0 first, 1 second, 2 third

    PlanDocument* document = nullptr;
    long baselineRecords = 0;
};

struct Point { float x, y, z; };

// An object of the type on the floor (attached), one vertex per point.
PlanObject* MakeObject(uint16_t type, PlanFloor* floor, std::initializer_list<Point> points,
                       uint8_t selected = 0, uint8_t closed = 0);
// An object that hangs in the owner's child list.
PlanObject* MakeChild(PlanObject* owner, uint16_t type, std::initializer_list<Point> points,
                      uint8_t selected = 0);
PlanVertex* VertexAt(PlanObject* object, int index);
int CountChain(const PlanObject* object);
int CountFloorObjects(const PlanFloor* floor);
// A door 36 wide standing in the middle of the wall segment that starts at vertex
// index 'start'.
PlanObject* MakeDoorOn(PlanObject* wall, int start, uint8_t selected = 0);

} // namespace mtest
