// The wall tools from taped drags (top view, zoom 1, one display inch a plan unit, snap
// 1), and the merge of two walls at their ends with the doors they carry.
#include "support_tools.h"
#include <gtest/gtest.h>
#include <cmath>
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_state.h"
#include "tools/undo.h"
#include "tools/wall_merge.h"
#include "tools/wall_tool.h"

namespace {

using tooltest::AddWall;
using tooltest::ToolTest;
using tooltest::VertexXZ;
using vtest::VertexAt;

class WallTool : public ToolTest {
protected:
    void ClearFloor()
    {
        CancelPendingObject();
        FreeFloorObjects(Floor());
    }
};

TEST_F(WallTool, NewWallsKeepToAxesAndDiagonalsOrFifteenDegreeStepsWithShift)
{
    struct Case { POINT from, to; bool shift; float x, z; } cases[] = {
        {{0, 0}, {100, 40}, false, 100.0f, 0.0f},
        {{200, 0}, {300, 60}, false, 300.0f, 100.0f},
        {{0, 200}, {40, 300}, false, 0.0f, 300.0f},
        // 37 degrees (z grows down the pane) becomes 30 at the dragged length 125.
        {{0, 0}, {100, -75}, true, 108.25f, -62.5f},
        // 38 degrees becomes 45 at 126.82.
        {{0, 0}, {100, -78}, true, 89.68f, -89.68f},
    };
    for (const Case& c : cases) {
        RunGesture(7051, tooltest::Drag({c.from, c.to}, c.shift));
        PlanObject* wall = LastObject();
        ASSERT_NE(wall, nullptr);
        ASSERT_EQ(CountVertexChain(wall), 2);
        ExpectXZ(wall, 0, static_cast<float>(c.from.x), static_cast<float>(c.from.y));
        ExpectXZ(wall, 1, c.x, c.z, 0.05f);
        EXPECT_EQ(pendingObject, wall);
        ClearFloor();
    }
    // Less than 20 units is a click: nothing is made.
    RunGesture(7051, tooltest::Drag({{400, 0}, {419, 0}}));
    EXPECT_EQ(Floor()->firstObject, nullptr);
}

TEST_F(WallTool, NewWallsTakeTheirDefaults)
{
    struct Case { int16_t tool; float height; uint32_t faceFlags; uint32_t category; } cases[] = {
        {7051, 96.0f, 3, kCategoryFloorPlan},
        {7507, 36.0f, 0, kCategoryGarden},
    };
    for (const Case& c : cases) {
        RunGesture(c.tool, tooltest::Drag({{0, 0}, {100, 0}}));
        PlanObject* wall = LastObject();
        ASSERT_NE(wall, nullptr);
        EXPECT_EQ(wall->type, ObjWall);
        EXPECT_EQ(wall->styleOrTexture, 1700u);
        EXPECT_EQ(wall->imageId1, 2213u);
        EXPECT_EQ(wall->imageId2, 2212u);
        EXPECT_EQ(wall->value3, 2219u);
        EXPECT_EQ(wall->category, c.category);
        EXPECT_EQ(wall->subType, 0u);
        for (int i = 0; i < 2; ++i) {
            const PlanVertex* v = VertexAt(wall, i);
            EXPECT_EQ(v->faceFlagsA, c.faceFlags);
            EXPECT_EQ(v->faceFlagsB, c.faceFlags);
            EXPECT_EQ(v->alternationMarker, i);
            EXPECT_EQ(v->mainHeight, c.height);
            EXPECT_EQ(v->heightC, c.height * 1.25f);
            EXPECT_EQ(v->heightD, c.height * 1.75f);
        }
        ClearFloor();
    }
}

TEST_F(WallTool, ExtendCloseAndTrimAtTheNearFace)
{
    RunGesture(7051, tooltest::Drag({{0, 0}, {100, 0}}));
    PlanObject* wall = LastObject();
    RunGesture(7051, tooltest::Drag({{100, 0}, {100, 100}}));
    ASSERT_EQ(CountVertexChain(wall), 3);
    ExpectXZ(wall, 2, 100.0f, 100.0f);
    EXPECT_EQ(wall->closed, 0);
    // From the free end back to the first point: the chain closes.
    RunGesture(7051, tooltest::Drag({{100, 100}, {50, 50}, {0, 0}}));
    EXPECT_EQ(wall->closed, 1);
    EXPECT_EQ(CountVertexChain(wall), 3);
    EXPECT_EQ(vtest::CountFloorObjects(Floor()), 1);
    ClearFloor();

    // A new wall across another (thickness 6) ends on its near face.
    AddWall(Floor(), {{200, 0, -100}, {200, 0, 100}}, document->settings->activeCategory);
    RunGesture(7051, tooltest::Drag({{0, 50}, {250, 50}}));
    ExpectXZ(LastObject(), 1, 197.0f, 50.0f);
}

TEST_F(WallTool, JoiningTakesTheOtherWallWithItsDoorAndExteriorMarking)
{
    const uint32_t category = document->settings->activeCategory;
    // The first wall runs (0,0)-(100,0); the other, exterior, carries a door at 50.
    struct Case { POINT from, to; vtest::Point3 otherStart, otherEnd; float doorX, doorZ; } cases[] = {
        // Its last end onto the other's first: the other follows in its own order.
        {{100, 0}, {100, 100}, {100, 0, 100}, {200, 0, 100}, 150.0f, 100.0f},
        // Its first end onto the other's first: the other runs backwards in front.
        {{0, 0}, {0, 100}, {0, 0, 100}, {100, 0, 100}, 50.0f, 100.0f},
    };
    for (const Case& c : cases) {
        PlanObject* first = AddWall(Floor(), {{0, 0, 0}, {100, 0, 0}}, category);
        PlanObject* other = AddWall(Floor(), {c.otherStart, c.otherEnd}, category);
        other->subType = 54;
        PlanObject* door = tooltest::AddDoor(other, 0, 50.0f, 30.0f);
        RunGesture(7051, tooltest::Drag({c.from, c.to}));
        ASSERT_EQ(vtest::CountFloorObjects(Floor()), 1);
        EXPECT_EQ(CountVertexChain(first), 4);
        EXPECT_EQ(first->subType, 54u);
        EXPECT_EQ(door->owner, first);
        // The door is where it was.
        const tooltest::PlanXZ a = VertexXZ(door, 0), b = VertexXZ(door, 1);
        EXPECT_NEAR((a.x + b.x) / 2.0f, c.doorX, 0.01f);
        EXPECT_NEAR(a.z, c.doorZ, 0.01f);
        EXPECT_NEAR(std::fabs(b.x - a.x), 30.0f, 0.01f);
        ClearFloor();
    }
}

class WallMerge : public WallTool {};

TEST_F(WallMerge, EveryPairOfEndsKeepsDoorsInPlaceAndSegmentDataOnItsSegment)
{
    const uint32_t category = document->settings->activeCategory;
    // A runs from (0,0) to (100,0) to (100,100) (reversed where the case says); B from
    // (200,100) over (300,100) (reversed likewise). The ends that meet are made to touch.
    struct Case { bool reverseA, aFirst, reverseB, bFirst; bool flips; } cases[] = {
        {true, true, false, true, true},     // a0 on b0: A reversed into B
        {true, true, true, false, false},    // a0 on bm
        {false, false, false, true, false},  // an on b0
        {false, false, true, false, true},   // an on bm: A reversed into B
    };
    for (const Case& c : cases) {
        std::initializer_list<vtest::Point3> a = {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}};
        std::initializer_list<vtest::Point3> aReversed = {{100, 0, 100}, {100, 0, 0}, {0, 0, 0}};
        std::initializer_list<vtest::Point3> b = {{100, 0, 100}, {300, 0, 100}};
        std::initializer_list<vtest::Point3> bReversed = {{300, 0, 100}, {100, 0, 100}};
        PlanObject* wallA = AddWall(Floor(), c.reverseA ? aReversed : a, category);
        PlanObject* wallB = AddWall(Floor(), c.reverseB ? bReversed : b, category);
        // Segment data that must follow the segment (0,0)-(100,0) of A.
        PlanVertex* marked = c.reverseA ? VertexAt(wallA, 1) : VertexAt(wallA, 0);
        marked->faceTextureA = 77;
        marked->faceTextureB = 88;
        PlanObject* door = tooltest::AddDoor(wallA, c.reverseA ? 1 : 0, 40.0f, 30.0f);
        const uint8_t hinge = static_cast<OpeningRecord*>(door->link)->hingeSide;
        const float doorX = (VertexXZ(door, 0).x + VertexXZ(door, 1).x) / 2.0f;
        PlanVertex* endA = c.aFirst ? wallA->firstVertex : VertexAt(wallA, 2);
        PlanVertex* endB = c.bFirst ? wallB->firstVertex : VertexAt(wallB, 1);
        MergeWallsAtEnds(wallA, endA, wallB, endB);
        ASSERT_EQ(vtest::CountFloorObjects(Floor()), 1);
        PlanObject* survivor = Floor()->firstObject;
        EXPECT_EQ(CountVertexChain(survivor), 4);
        EXPECT_EQ(door->owner, survivor);
        EXPECT_NEAR((VertexXZ(door, 0).x + VertexXZ(door, 1).x) / 2.0f, doorX, 0.01f);
        EXPECT_NEAR(VertexXZ(door, 0).z, 0.0f, 0.01f);
        const OpeningRecord* record = static_cast<OpeningRecord*>(door->link);
        EXPECT_EQ(record->hingeSide, c.flips ? (hinge ? 0 : 1) : hinge);
        // The segment (0,0)-(100,0) starts at the vertex the door's record names, and
        // carries the marked faces, traded when it now runs the other way.
        const PlanVertex* start = record->startVertex;
        const bool runsBack = start->position[0] == 100.0f;
        EXPECT_EQ(start->faceTextureA, runsBack == c.reverseA ? 77u : 88u);
        EXPECT_EQ(start->faceTextureB, runsBack == c.reverseA ? 88u : 77u);
        ClearFloor();
    }
    // A wall with itself is left alone.
    PlanObject* wall = AddWall(Floor(), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}}, category);
    MergeWallsAtEnds(wall, wall->firstVertex, wall, VertexAt(wall, 2));
    EXPECT_EQ(CountVertexChain(wall), 3);
    EXPECT_EQ(wall->closed, 0);
}

TEST_F(WallMerge, CollinearPointsGoAndTheirDoorsStayInPlace)
{
    PlanObject* wall = AddWall(Floor(), {{0, 0, 0}, {100, 0, 0}, {200, 0, 0}}, document->settings->activeCategory);
    PlanObject* door = tooltest::AddDoor(wall, 1, 50.0f, 30.0f);   // centred at x 150
    RemoveCollinearWallPoints(wall);
    EXPECT_EQ(CountVertexChain(wall), 2);
    EXPECT_NEAR((VertexXZ(door, 0).x + VertexXZ(door, 1).x) / 2.0f, 150.0f, 0.01f);
    EXPECT_EQ(static_cast<OpeningRecord*>(door->link)->startVertex, wall->firstVertex);
}

}  // namespace
