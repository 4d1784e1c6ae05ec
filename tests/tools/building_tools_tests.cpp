// The outline building tools (slab, floor opening, stairs, railings, decks, freehand
// roof) and the air duct from taped gestures (top view, zoom 1, one display inch a plan
// unit): what each makes of the outline, the outline too thin to close, the slope
// arrow's 15-degree steps and the duct's.
#include "support_tools.h"
#include <gtest/gtest.h>
#include <cmath>
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "tools/freehand_roof_tools.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_state.h"
#include "tools/undo.h"

namespace {

using tooltest::At;
using tooltest::Frame;
using tooltest::ToolTest;
using tooltest::VertexXZ;

class BuildingTools : public ToolTest {
protected:
    void SetUp() override
    {
        ToolTest::SetUp();
        // The defaults: slab 12 thick; stair 48, 7, 10, railing 36; railing 36, balusters 6;
        // deck 24 high, railing 36, balusters 6, option 4 on. One side of each pair off.
        document->settings->stairRailingSecondSide = 0;
        document->settings->railingFlag820 = 0;
        Floor()->height = 120.0f;
    }
    // Corners clicked after the first one at (0, 0); the last is a double click.
    PlanObject* Draw(int16_t tool, std::initializer_list<POINT> corners)
    {
        std::vector<Frame> loop;
        for (const POINT& p : corners)
            loop.push_back(At(p.x, p.y, WM_LBUTTONDOWN));
        loop.back().post = WM_LBUTTONDBLCLK;
        loop.insert(loop.end(), 4, At(loop.back().x, loop.back().y));
        RunGesture(tool, tooltest::Clicks({0, 0}, loop));
        return LastObject();
    }
};

TEST_F(BuildingTools, EachToolGivesItsOutlineTheFieldsOfItsKind)
{
    const uint16_t unset = kColourChannelUnset;
    struct Case {
        int16_t tool; uint16_t type; uint32_t subType, category, texture, slot1, slot2;
        float p[5]; uint32_t o1, o2; uint32_t faceTexture; float y; uint32_t segmentFlags; float mainHeight;
    } cases[] = {
        {7059, 13, 0, 2, 0, 1700, 0, {0, 0, 12, 0, 0}, 0, 0, 1700, -1.0f, 0, 0},
        {7060, 48, 0, 2, 0, 1700, 0, {0, 0, 12, 0, 0}, 0, 0, 1700, -1.0f, 0, 0},
        {7055, 38, 800, 2, 0, 2206, 1700, {48, 7, 10, 36, 120}, 1, 0, 0, 0.0f, 0, 0},
        {7604, 38, 800, 64, 0, 2206, 2207, {48, 7, 10, 36, 120}, 1, 0, 0, 0.0f, 0, 0},
        {7057, 45, 802, 2, 0, 2206, 0, {36, 6, 0, 0, 0}, 0, 1, 0, 0.0f, 0, 0},
        {7603, 45, 803, 64, 0, 2206, 0, {36, 6, 0, 0, 0}, 0, 1, 0, 0.0f, 0, 0},
        // A deck stands its height above the ground, y growing downward.
        {7600, 51, 0, 64, 1301, 2300, 2210, {24, 6, 0, 0, 0}, 0, 0, 2300, -24.0f, 5, 36},
        {7601, 51, 0, 64, 1301, 2300, 2210, {24, 6, 0, 0, 0}, 0, 0, 2300, -24.0f, 4, 36},
    };
    for (const Case& c : cases) {
        PlanObject* o = Draw(c.tool, {{100, 0}, {100, 100}, {0, 100}});
        ASSERT_NE(o, nullptr) << c.tool;
        EXPECT_EQ(o->type, c.type) << c.tool;
        EXPECT_EQ(o->subType, c.subType) << c.tool;
        EXPECT_EQ(o->category, c.category) << c.tool;
        EXPECT_EQ(o->colourA.red, unset);
        EXPECT_EQ(o->colourB.blue, unset);
        if (c.texture) {
            EXPECT_EQ(o->styleOrTexture, c.texture) << c.tool;
        }
        EXPECT_EQ(o->imageId1, c.slot1) << c.tool;
        EXPECT_EQ(o->imageId2, c.slot2) << c.tool;
        for (int i = 0; i < 5; ++i)
            EXPECT_FLOAT_EQ(o->parameters[i], c.p[i]) << c.tool << " P" << i + 1;
        EXPECT_EQ(o->offsetSide, c.o1) << c.tool;
        EXPECT_EQ(o->value4, c.o2) << c.tool;
        ASSERT_GE(CountVertexChain(o), 2) << c.tool;
        for (PlanVertex* v = o->firstVertex; v; v = v->next) {
            EXPECT_EQ(v->faceTextureA, c.faceTexture) << c.tool;
            EXPECT_EQ(v->faceTextureB, c.faceTexture) << c.tool;
            EXPECT_EQ(v->faceColourA.green, unset) << c.tool;
            EXPECT_FLOAT_EQ(v->position[1], c.y) << c.tool;
            if (c.type == ObjDeck) {
                EXPECT_EQ(v->segmentFlags, c.segmentFlags) << c.tool;
                EXPECT_FLOAT_EQ(v->mainHeight, c.mainHeight) << c.tool;
            }
        }
        FreeFloorObjects(Floor());
    }
}

TEST_F(BuildingTools, AClosedOutlineOfTwoCornersMakesNothing)
{
    for (int16_t tool : {7059, 7060, 7600, 7306}) {
        undoAvailable = 0;
        EXPECT_EQ(Draw(tool, {{100, 0}, {100, 100}}), nullptr) << tool;
        EXPECT_EQ(pendingObject, nullptr) << tool;
        EXPECT_EQ(undoAvailable, 0u) << tool;
    }
}

TEST_F(BuildingTools, AFreehandRoofFallsTowards270AndItsArrowTurnsInSteps)
{
    PlanObject* roof = Draw(7306, {{100, 0}, {100, 100}, {0, 100}, {0, 20}});
    ASSERT_NE(roof, nullptr);
    EXPECT_EQ(roof->type, ObjFreehandRoof);
    EXPECT_FLOAT_EQ(roof->elevation, 120.0f);
    EXPECT_FLOAT_EQ(roof->parameters[0], 270.0f);
    PlanObject* arrow = roof->firstChild;
    ASSERT_NE(arrow, nullptr);
    ASSERT_EQ(arrow->type, ObjFreehandRoofPart);
    // Through the roof's middle (50, 50), 40 either side, pointing down the screen.
    EXPECT_NEAR(VertexXZ(arrow, 0).z, 10.0f, 0.01f);
    EXPECT_NEAR(VertexXZ(arrow, 1).z, 90.0f, 0.01f);
    CancelPendingObject();

    // The second end dragged to 55 degrees from the middle: 45 (steps truncate). A
    // press and release without a move changes nothing.
    struct Case { std::vector<Frame> frames; float degrees, x1, z1; } cases[] = {
        {{At(50, 90), Frame{50, 90}, Frame{50, 90}, Frame{50, 90, false}, At(50, 90)}, 270.0f, 50.0f, 90.0f},
        {{At(50, 90), Frame{50, 90}, Frame{84, 1}, Frame{84, 1, false}, At(84, 1)}, 45.0f, 78.28f, 21.72f},
    };
    for (const Case& c : cases) {
        planMouseState = {};
        planMouseState.hit = 1;
        planMouseState.object = arrow;
        planMouseState.vertexHit = 1;
        planMouseState.vertexA = arrow->firstVertex->next;
        tooltest::TapeInput tape(pane, c.frames);
        tooltest::InputScope scope(&tape);
        DragFreehandRoofArrow();
        EXPECT_FLOAT_EQ(roof->parameters[0], c.degrees);
        EXPECT_NEAR(VertexXZ(arrow, 1).x, c.x1, 0.01f);
        EXPECT_NEAR(VertexXZ(arrow, 1).z, c.z1, 0.01f);
    }
}

TEST_F(BuildingTools, AnAirDuctStepsBy15DegreesUnlessShiftIsHeld)
{
    document->settings->ductWidth = 10.0f;
    document->settings->ductHeight = 8.0f;
    // (-35, -197) lies at 100 degrees from the press; 105 at the same length without Shift.
    struct Case { bool shift; float x, z; } cases[] = {{false, -51.78f, -193.26f}, {true, -35.0f, -197.0f}};
    for (const Case& c : cases) {
        RunGesture(7400, tooltest::Drag({{0, 0}, {-35, -197}}, c.shift));
        PlanObject* duct = Floor()->firstObject;
        ASSERT_NE(duct, nullptr);
        EXPECT_EQ(duct->type, ObjAirDuct);
        EXPECT_EQ(duct->category, kCategoryHvac);
        EXPECT_FLOAT_EQ(duct->parameters[2], 10.0f);
        EXPECT_FLOAT_EQ(duct->parameters[3], 8.0f);
        EXPECT_NEAR(VertexXZ(duct, 1).x, c.x, 0.05f) << c.shift;
        EXPECT_NEAR(VertexXZ(duct, 1).z, c.z, 0.05f) << c.shift;
        CancelPendingObject();
        FreeFloorObjects(Floor());
    }
    // A click makes no duct.
    RunGesture(7400, tooltest::Drag({{10, 10}}));
    EXPECT_EQ(Floor()->firstObject, nullptr);
}

}  // namespace
