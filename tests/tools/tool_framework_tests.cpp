// The drag loop's events through the tool framework, from taped input, and the
// dispatcher's own choices (resize on a handle, tools without a handler).
#include "support_tools.h"
#include <gtest/gtest.h>
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "tools/marquee.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"

namespace {

using tooltest::Frame;
using tooltest::ToolTest;

class ToolFramework : public ToolTest {};

struct Expected {
    int16_t event;
    int32_t wx, wy;
};

TEST_F(ToolFramework, GesturesGiveOnePressPairsOfMovesAndOneReleaseAtTheLastPoll)
{
    Frame still{10, 10}, shifted{10, 10}, up{10, 10};
    shifted.shift = true;
    up.shift = true;
    up.left = false;
    Frame moved{50, 40}, lastPoll{60, 45}, after{90, 90};
    lastPoll.left = false;
    after.left = false;
    struct Case {
        const char* name;
        std::vector<Frame> tape;
        std::vector<Expected> events;
    } cases[] = {
        {"click", tooltest::Drag({{10, 10}}), {{1, 10, 10}, {3, 10, 10}}},
        {"shift alone", {still, shifted, up, up}, {{1, 10, 10}, {2, 10, 10}, {2, 10, 10}, {3, 10, 10}}},
        {"moved after the last poll", {still, moved, lastPoll, after},
         {{1, 10, 10}, {2, 10, 10}, {2, 50, 40}, {2, 50, 40}, {2, 60, 45}, {3, 60, 45}}},
    };
    for (const Case& c : cases) {
        document->settings->modified = 0;
        mouseCaptured = 1;
        RunGesture(7061, c.tape);
        ASSERT_EQ(events.size(), c.events.size()) << c.name;
        for (size_t i = 0; i < events.size(); ++i) {
            EXPECT_EQ(events[i].event, c.events[i].event) << c.name << " #" << i;
            EXPECT_EQ(events[i].wx, c.events[i].wx) << c.name << " #" << i;
            EXPECT_EQ(events[i].wy, c.events[i].wy) << c.name << " #" << i;
        }
        EXPECT_EQ(document->settings->modified, 1u) << c.name;
        EXPECT_EQ(mouseCaptured, 0u) << c.name;   // a tool without a handler still lets go
        events.clear();
    }
    // Model points: zoom 1 in the top view, x across and z down the pane.
    RunGesture(7061, tooltest::Drag({{30, 70}}));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].x, 30.0f);
    EXPECT_EQ(events[1].z, 70.0f);
}

TEST_F(ToolFramework, PointerPressOnABoxHandleResizesUnlessTheObjectIsOnlyMoved)
{
    struct Case { uint16_t type; uint32_t subType; uint8_t handle; int16_t tool; int16_t kind; } cases[] = {
        // A solid (type 8) is selected whole; a wall point by point.
        {8, 0, 1, 215, 9},         {8, 0, 0, 200, 7},        {ObjWall, 0, 1, 200, 7},
        {ObjPlant, 0, 1, 200, 7},  {ObjLine, 0, 1, 200, 7},  {ObjPier, 0, 1, 200, 7},
        {ObjSprinkler, 0, 1, 200, 7}, {8, 89, 1, 200, 7},
    };
    for (const Case& c : cases) {
        PlanObject* object = vtest::MakePointObject(c.type, nullptr, {{0, 0, 0}, {10, 0, 0}}, 1, 0);
        object->subType = c.subType;
        planMouseState = {};
        planMouseState.hit = 1;
        planMouseState.object = object;
        planMouseState.boxHandleHit = c.handle;
        currentToolId = 200;
        document->lastEditKind = 7;
        events.clear();
        DispatchToolEvent(0, 0, 0, 0, 0, 2);
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].tool, c.tool) << c.type << "/" << c.subType;
        EXPECT_EQ(document->lastEditKind, c.kind) << c.type << "/" << c.subType;
        EXPECT_EQ(currentToolId, 200);
        FreeObject(object);
    }
    planMouseState = {};
}

}  // namespace

namespace {

TEST_F(ToolFramework, MarqueeSelectsWhatLiesInsideAndShiftToggles)
{
    PlanObject* inside = vtest::MakePointObject(ObjLine, Floor(), {{10, 0, 10}, {30, 0, 10}}, 0, 0);
    PlanObject* outside = vtest::MakePointObject(ObjLine, Floor(), {{100, 0, 100}, {120, 0, 110}}, 0, 0);
    for (PlanObject* line : {inside, outside})
        line->category = kCategoryFloorPlan;
    // Dragged from right to left over the first line only.
    RunGesture(200, tooltest::Drag({{50, 50}, {20, 20}, {0, 0}}));
    EXPECT_TRUE(vtest::VertexAt(inside, 0)->selected);
    EXPECT_FALSE(vtest::VertexAt(outside, 0)->selected);
    EXPECT_EQ(mouseCaptured, 0u);
    // With Shift over both: each changes.
    RunGesture(200, tooltest::Drag({{0, 0}, {150, 150}}, true));
    EXPECT_FALSE(vtest::VertexAt(inside, 0)->selected);
    EXPECT_TRUE(vtest::VertexAt(outside, 0)->selected);
}

}  // namespace

namespace {

TEST(RubberBandBoxes, CentredAndSquareBoxes)
{
    // box: up low, across low, up high, across high; rect: left, top, right, bottom, each
    // side + 0.5 truncated toward zero.
    struct Case { int16_t modifiers; float a1, u1, a2, u2; uint8_t centred; float box[4]; int32_t rect[4]; } cases[] = {
        {0, 10, 10, 15, 20, 1, {0, 5, 20, 15}, {5, 0, 15, 20}},
        {4, 0, 0, 10, -3, 0, {-10, 0, 0, 10}, {0, -9, 10, 0}},
        {4, 0, 0, 10, 0, 0, {-10, 0, 0, 10}, {0, -9, 10, 0}},
        {0, 15, 20, 10, 10, 0, {10, 10, 20, 15}, {10, 10, 15, 20}},
    };
    for (const Case& c : cases) {
        float box[4];
        int32_t rect[4];
        ComputeRubberBandBox(c.modifiers, c.a1, c.u1, c.a2, c.u2, box, rect, 0, c.centred);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(box[i], c.box[i]) << i;
            EXPECT_EQ(rect[i], c.rect[i]) << i;
        }
    }
}

}  // namespace
