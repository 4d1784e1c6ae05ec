// The drawing-shape, arc, wiring, sprinkler and curved-stair tools from taped input:
// what each gesture leaves on the floor, with points worked out by hand.
#include "support_tools.h"
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <string>
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "tools/tool_state.h"
#include "tools/wiring_tools.h"

namespace {

using tooltest::Frame;
using tooltest::ToolTest;
using vtest::VertexAt;

struct XZ {
    float x, z;
};

Frame At(int x, int y, UINT post = 0, bool shift = false)
{
    Frame f{x, y, false};
    f.post = post;
    f.shift = shift;
    return f;
}

// A drag (a click for one point) and what the tool's own loop reads after it.
std::vector<Frame> Then(std::vector<Frame> drag, std::initializer_list<Frame> more)
{
    drag.insert(drag.end(), more);
    drag.push_back(drag.back());
    drag.back().post = 0;
    return drag;
}

class ShapeGestures : public ToolTest {
protected:
    // The gesture's new object: the last one of the floor, or null when it made none.
    PlanObject* Run(int16_t tool, const std::vector<Frame>& frames)
    {
        const int before = vtest::CountFloorObjects(Floor());
        RunGesture(tool, frames);
        return vtest::CountFloorObjects(Floor()) == before ? nullptr : LastObject();
    }
    static void ExpectAt(const PlanVertex* v, XZ p, const std::string& what)
    {
        ASSERT_NE(v, nullptr) << what;
        EXPECT_NEAR(v->position[0], p.x, 0.01f) << what;
        EXPECT_NEAR(v->position[2], p.z, 0.01f) << what;
    }
    static const PlanVertex* Last(const PlanObject* o)
    {
        const PlanVertex* v = o->firstVertex;
        while (v && v->next)
            v = v->next;
        return v;
    }
};

TEST_F(ShapeGestures, QuarterArcsRunFromThePressToTheRelease)
{
    // The box spanned by the two points is doubled away from the press, so that the
    // quarter ellipse's ends are the press and the release; its middle lies at 45
    // degrees on the ellipse of radii 30 and 20: 30 - 21.213 across, 14.142 deep.
    struct Case { int16_t tool; POINT q; bool shift; XZ end, middle; } cases[] = {
        {7108, {30, 20}, false, {30, 20}, {8.787f, 14.142f}},
        {7108, {30, 20}, true, {30, 30}, {8.787f, 21.213f}},   // Shift: a quarter circle
        {7704, {30, 20}, false, {30, 20}, {8.787f, 14.142f}},
        {7704, {30, -20}, false, {30, -20}, {8.787f, -14.142f}},
        {7704, {-30, 20}, false, {-30, 20}, {-8.787f, 14.142f}},
        {7704, {-30, -20}, false, {-30, -20}, {-8.787f, -14.142f}},
        {7704, {30, 0}, false, {0, 0}, {0, 0}},   // level with the press: no box, no arc
    };
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.tool) + " to " + std::to_string(c.q.x) + "," +
                                 std::to_string(c.q.y) + (c.shift ? " with Shift" : "");
        PlanObject* arc = Run(c.tool, tooltest::Drag({{0, 0}, c.q}, c.shift));
        if (c.q.y == 0) {
            EXPECT_EQ(arc, nullptr) << what;
            continue;
        }
        ASSERT_NE(arc, nullptr) << what;
        EXPECT_EQ(arc->type, ObjDrawingElement) << what;
        EXPECT_EQ(arc->subType, c.tool == 7108 ? 112u : 5u) << what;
        EXPECT_EQ(arc->closed, 0) << what;
        ASSERT_EQ(CountVertexChain(arc), 3) << what;
        const PlanVertex* first = arc->firstVertex;
        const PlanVertex* last = Last(arc);
        // Either way round; the wire runs from the press.
        const bool fromPress = std::fabs(first->position[0]) < 0.01f && std::fabs(first->position[2]) < 0.01f;
        if (c.tool == 7108)
            EXPECT_TRUE(fromPress) << what;
        ExpectAt(fromPress ? first : last, {0, 0}, what);
        ExpectAt(fromPress ? last : first, c.end, what);
        ExpectAt(VertexAt(arc, 1), c.middle, what);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(first->inTangent[i], 0.0f) << what;
            EXPECT_EQ(last->outTangent[i], 0.0f) << what;
        }
    }
    EXPECT_EQ(Run(7108, tooltest::Drag({{5, 5}})), nullptr);   // a click
}

TEST_F(ShapeGestures, CurvedStairClimbsFromTheFirstClick)
{
    struct Case { int16_t tool; POINT q; UINT end; } cases[] = {
        {7056, {30, 20}, WM_LBUTTONDOWN},  {7056, {30, -20}, WM_LBUTTONDOWN},
        {7056, {-30, 20}, WM_LBUTTONDOWN}, {7605, {-30, -20}, WM_RBUTTONDOWN},
    };
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.q.x) + "," + std::to_string(c.q.y);
        PlanObject* stair = Run(c.tool, Then(tooltest::Drag({{0, 0}}),
                                             {At(0, 0), At(c.q.x, c.q.y), At(c.q.x, c.q.y, c.end)}));
        ASSERT_NE(stair, nullptr) << what;
        EXPECT_EQ(stair->type, ObjStair) << what;
        EXPECT_EQ(stair->subType, 801u) << what;
        ExpectAt(stair->firstVertex, {0, 0}, what);
        ExpectAt(Last(stair), {float(c.q.x), float(c.q.y)}, what);
        EXPECT_EQ(stair->parameters[4], 96.0f) << what;   // one storey of default height
        const bool deck = c.tool == 7605;
        EXPECT_EQ(stair->category, deck ? 64u : 2u) << what;
        EXPECT_EQ(stair->imageId2, deck ? 2207u : 1700u) << what;
    }
    // A second click before the pointer moves makes nothing.
    EXPECT_EQ(Run(7056, Then(tooltest::Drag({{0, 0}}), {At(0, 0), At(0, 0, WM_LBUTTONDOWN)})), nullptr);
}

TEST_F(ShapeGestures, CircularArcsAndSprinklersTakeTheirSweepFromASecondClick)
{
    // Radius 30 dragged east of the press; the second click due north (z -30) is a
    // quarter turn counter-clockwise: three quarters round clockwise without Shift. The
    // points run from the end back to the start (east), 45 degrees apart.
    struct Case {
        int16_t tool;
        std::vector<Frame> phase;
        int points;        // arc points; 0: nothing made
        float spray;       // the sprinkler's angle
        XZ first, middle;
    } cases[] = {
        {7705, {At(30, 0), At(0, -30), At(0, -30, WM_LBUTTONDOWN)}, 7, 0, {0, -30}, {-21.213f, 21.213f}},
        {7705, {At(30, 0, 0, true), At(0, -30, 0, true), At(0, -30, WM_LBUTTONDOWN, true)}, 3, 0,
         {0, -30}, {21.213f, -21.213f}},
        // Right clicks change nothing; the very direction of the radius is a full turn.
        {7705, {At(30, 0), At(60, 0), At(60, 0, WM_RBUTTONDOWN), At(60, 0, WM_LBUTTONDOWN)}, 9, 0,
         {30, 0}, {-30, 0}},
        {7705, {At(30, 0, 0, true), At(60, 0, 0, true), At(60, 0, WM_LBUTTONDOWN, true)}, 0, 0, {}, {}},
        {7705, {At(30, 0), At(30, 0, WM_LBUTTONDOWN)}, 0, 0, {}, {}},
        {7508, {At(30, 0), At(0, -30), At(0, -30, WM_LBUTTONDOWN)}, 7, 270.0f, {0, -30},
         {-21.213f, 21.213f}},
        {7508, {At(30, 0, 0, true), At(0, -30, 0, true), At(0, -30, WM_LBUTTONDOWN, true)}, 3, 90.0f,
         {0, -30}, {21.213f, -21.213f}},
        {7508, {At(30, 0, 0, true), At(60, 0, 0, true), At(60, 0, WM_LBUTTONDOWN, true)}, 0, 0, {}, {}},
        {7508, {At(30, 0), At(30, 0, WM_KEYDOWN), At(30, 0, WM_LBUTTONDOWN)}, 0, 0, {}, {}},
        // A press elsewhere already queued at the first look: the pointer is taken where it went.
        {7705, {At(0, -30, WM_NCLBUTTONDOWN)}, 7, 0, {0, -30}, {-21.213f, 21.213f}},
        {7508, {At(0, -30, WM_NCLBUTTONDOWN)}, 7, 270.0f, {0, -30}, {-21.213f, 21.213f}},
    };
    int index = 0;
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.tool) + " case " + std::to_string(index++);
        std::vector<Frame> frames = tooltest::Drag({{0, 0}, {30, 0}});
        frames.insert(frames.end(), c.phase.begin(), c.phase.end());
        frames.push_back(At(c.phase.back().x, c.phase.back().y));
        PlanObject* made = Run(c.tool, frames);
        if (c.points == 0) {
            EXPECT_EQ(made, nullptr) << what;
            continue;
        }
        ASSERT_NE(made, nullptr) << what;
        ExpectAt(made->firstVertex, c.first, what);
        ExpectAt(VertexAt(made, c.points / 2), c.middle, what);
        if (c.tool == 7705) {
            EXPECT_EQ(made->subType, 5u) << what;
            EXPECT_EQ(CountVertexChain(made), c.points) << what;
            continue;
        }
        // The sprinkler closes on its centre; its angle is positive either way round.
        EXPECT_EQ(made->type, ObjSprinkler) << what;
        EXPECT_EQ(made->category, 128u) << what;
        EXPECT_EQ(made->closed, 1) << what;
        EXPECT_EQ(CountVertexChain(made), c.points + 1) << what;
        ExpectAt(VertexAt(made, c.points - 1), {30, 0}, what);
        ExpectAt(Last(made), {0, 0}, what);
        EXPECT_EQ(Last(made)->selected, 1) << what;
        EXPECT_FLOAT_EQ(made->parameters[0], c.spray) << what;
    }
    EXPECT_EQ(Run(7508, tooltest::Drag({{5, 5}})), nullptr);   // a click asks for no angle
    // A drag first looked at once the button is up ends where its release was made.
    PlanObject* late = Run(7705, {At(0, 0), At(30, 0, WM_LBUTTONUP), At(0, -30), At(0, -30, WM_LBUTTONDOWN), At(0, -30)});
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(CountVertexChain(late), 7);
}

TEST_F(ShapeGestures, SprayAngleLabelEndsInTheCodePagesDegreeSign)
{
    struct Case { float sweep; const char* bytes; } cases[] = {
        {90.0f, "90\xBA"}, {-270.0f, "270\xBA"}, {-359.6f, "360\xBA"},
    };
    for (const Case& c : cases) {
        char text[16];
        FormatSprayAngle(c.sweep, text, sizeof text);
        EXPECT_STREQ(text, c.bytes) << c.sweep;
    }
}

TEST_F(ShapeGestures, LinesAndMultigons)
{
    struct Case {
        int16_t tool;
        std::vector<Frame> frames;
        uint8_t centred;
        int16_t sides;
        std::vector<XZ> points;   // empty: nothing made
    } cases[] = {
        // Shift with a steep drag: along the depth through the press.
        {7702, tooltest::Drag({{0, 0}, {10, 40}}, true), 0, 6, {{0, 0}, {0, 40}}},
        // Centre drawing: the press is the line's middle.
        {7702, tooltest::Drag({{10, 10}, {30, 20}}), 1, 6, {{-10, 0}, {30, 20}}},
        {7702, tooltest::Drag({{10, 10}}), 0, 6, {}},
        // Five sides, the pointer due east: the fifth corner is the pointer.
        {7706, tooltest::Drag({{0, 0}, {50, 0}}), 0, 5,
         {{15.451f, -47.553f}, {-40.451f, -29.389f}, {-40.451f, 29.389f}, {15.451f, 47.553f}, {50, 0}}},
        {7706, tooltest::Drag({{0, 0}, {50, 0}}), 0, 2, {}},
        {7706, tooltest::Drag({{0, 0}, {50, 0}}), 0, -3, {}},
    };
    for (const Case& c : cases) {
        document->settings->centreDrawing = c.centred;
        document->settings->multigonSides = static_cast<uint16_t>(c.sides);
        PlanObject* made = Run(c.tool, c.frames);
        const std::string what = std::to_string(c.tool) + " sides " + std::to_string(c.sides);
        if (c.points.empty()) {
            EXPECT_EQ(made, nullptr) << what;
            continue;
        }
        ASSERT_NE(made, nullptr) << what;
        EXPECT_EQ(made->subType, c.tool == 7702 ? 6u : 4u) << what;
        ASSERT_EQ(CountVertexChain(made), static_cast<int>(c.points.size())) << what;
        for (size_t i = 0; i < c.points.size(); ++i)
            ExpectAt(VertexAt(made, static_cast<int>(i)), c.points[i], what);
    }
}

TEST_F(ShapeGestures, PolygonsAndCurvesCloseOnlyOverThreeCorners)
{
    struct Case {
        const char* name;
        int16_t tool;
        std::vector<Frame> phase;
        uint8_t closed;
        std::vector<XZ> points;
    } cases[] = {
        {"closed on the start", 7703,
         {At(0, 0), At(100, 0), At(100, 0, WM_LBUTTONDOWN), At(100, 100), At(100, 100, WM_LBUTTONDOWN),
          At(0, 100), At(0, 100, WM_LBUTTONDOWN), At(0, 0), At(0, 0, WM_LBUTTONDOWN),
          At(0, 0, WM_LBUTTONDBLCLK)},
         1, {{0, 0}, {100, 0}, {100, 100}, {0, 100}}},
        {"double click far away", 7703,
         {At(0, 0), At(100, 0), At(100, 0, WM_LBUTTONDOWN), At(100, 100), At(100, 100, WM_LBUTTONDOWN),
          At(100, 100, WM_LBUTTONDBLCLK)},
         0, {{0, 0}, {100, 0}, {100, 100}}},
        // Closing would leave two corners: the outline stays open as it stands.
        {"too few to close", 7703,
         {At(0, 0), At(100, 0), At(100, 0, WM_LBUTTONDOWN), At(0, 0), At(0, 0, WM_LBUTTONDOWN),
          At(0, 0, WM_LBUTTONDBLCLK)},
         0, {{0, 0}, {100, 0}, {0, 0}}},
        // A right click with the first point alone adds a point; a key then ends it.
        {"right click first", 7703,
         {At(0, 0), At(100, 0), At(100, 0, WM_RBUTTONDOWN), At(100, 50), At(100, 50, WM_KEYDOWN)},
         0, {{0, 0}, {100, 0}}},
        {"closed curve", 7707,
         {At(0, 0), At(100, 0), At(100, 0, WM_LBUTTONDOWN), At(100, 100), At(100, 100, WM_LBUTTONDOWN),
          At(0, 100), At(0, 100, WM_LBUTTONDOWN), At(0, 0), At(0, 0, WM_LBUTTONDOWN),
          At(0, 0, WM_LBUTTONDBLCLK)},
         1, {{0, 0}, {100, 0}, {100, 100}, {0, 100}}},
    };
    for (const Case& c : cases) {
        std::vector<Frame> frames = tooltest::Drag({{0, 0}});
        frames.insert(frames.end(), c.phase.begin(), c.phase.end());
        frames.push_back(At(c.phase.back().x, c.phase.back().y));
        PlanObject* made = Run(c.tool, frames);
        ASSERT_NE(made, nullptr) << c.name;
        EXPECT_EQ(made->type, ObjDrawingElement) << c.name;
        EXPECT_EQ(made->subType, c.tool == 7707 ? 7u : 3u) << c.name;
        EXPECT_EQ(made->closed, c.closed) << c.name;
        ASSERT_EQ(CountVertexChain(made), static_cast<int>(c.points.size())) << c.name;
        for (size_t i = 0; i < c.points.size(); ++i)
            ExpectAt(VertexAt(made, static_cast<int>(i)), c.points[i], c.name);
        // The builder's outline is gone: the element is the floor's only object.
        EXPECT_EQ(vtest::CountFloorObjects(Floor()), 1) << c.name;
        if (c.tool == 7707)
            EXPECT_NE(VertexAt(made, 1)->outTangent[0], 0.0f) << c.name;
        FreeObject(made);
        pendingObject = nullptr;
    }
}

}  // namespace
