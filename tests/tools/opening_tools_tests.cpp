// The door, opening and window tools from taped drags on a wall (top view, zoom 1, one
// display inch a plan unit): the span rule and its messages, where the opening lands,
// its record, the swing click and the window's mirror choices.
#include "support_tools.h"
#include <gtest/gtest.h>
#include <cmath>
#include "dialogs/door_window_dialogs.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "planview/selection.h"
#include "support/test_support.h"
#include "tools/door_tool.h"
#include "tools/plan_mouse_state.h"
#include "tools/window_tool.h"
#include "tools/tool_state.h"

namespace {

using tooltest::At;
using tooltest::ToolTest;
using tooltest::VertexXZ;

const char kDoorTooShort[] =
    "La sezione del muro non \xE8 abbastanza ampia per questa porta. Cliccare e trascinare su una "
    "sezione pi\xF9 ampia per inserire questa porta.";
const char kWindowTooShort[] =
    "La sezione del muro non \xE8 abbastanza ampia per questa finestra. Cliccare e trascinare su una "
    "sezione pi\xF9 ampia del muro per inserire questa finestra.";

class OpeningTools : public ToolTest {
protected:
    void SetUp() override
    {
        ToolTest::SetUp();
        PlanSettings* s = document->settings;
        s->doorStyle = 510;   // sliding: no swing step
        s->doorWidth = 30.0f;
        s->doorHeight = 80.0f;
        s->doorCasingWidth = 3.0f;
        s->windowStyle = 601;
        s->windowWidth = 36.0f;
        s->windowHeight = 56.0f;
        s->windowElevation = 24.0f;
        s->windowCasingWidth = 2.5f;
        s->windowBarsAcross = 3;
        s->windowBarsDown = 2;
    }
    void TearDown() override
    {
        windowMirrorHorizontal = windowMirrorVertical = 0;
        ToolTest::TearDown();
    }
    PlanObject* Wall(std::initializer_list<vtest::Point3> points)
    {
        return tooltest::AddWall(Floor(), points, document->settings->activeCategory);
    }
    static OpeningRecord* Record(PlanObject* opening)
    {
        return opening ? static_cast<OpeningRecord*>(opening->link) : nullptr;
    }
    // A drag along the wall line from the press to the release, spare reads after it.
    void Place(int16_t tool, std::initializer_list<POINT> path, std::vector<tooltest::Frame> after = {})
    {
        std::vector<tooltest::Frame> frames = tooltest::Drag(path);
        frames.insert(frames.end(), after.begin(), after.end());
        tooltest::Frame spare = frames.back();
        spare.post = spare.thenPost = 0;
        frames.insert(frames.end(), 4, spare);
        RunGesture(tool, frames);
    }
    vtest::MessageBoxRecorder boxes;
};

TEST_F(OpeningTools, ASectionTakesAnOpeningOnlyWhenItIsTheWidthAndSeventeenLonger)
{
    struct Case { int16_t tool; float length, width; const char* refusal; } cases[] = {
        {7053, 53.0f, 36.0f, nullptr}, {7053, 52.9f, 36.0f, kDoorTooShort},
        {7054, 53.0f, 36.0f, nullptr}, {7054, 52.9f, 36.0f, kWindowTooShort},
        // A width from a settings file that is no length is refused the same way.
        {7053, 200.0f, NAN, kDoorTooShort}, {7054, 200.0f, -36.0f, kWindowTooShort},
    };
    for (const Case& c : cases) {
        document->settings->doorWidth = document->settings->windowWidth = c.width;
        PlanObject* wall = Wall({{0, 0, 0}, {c.length, 0, 0}});
        const size_t before = boxes.Count();
        Place(c.tool, {{26, 0}});
        if (c.refusal) {
            EXPECT_EQ(wall->firstChild, nullptr) << c.tool << " " << c.length;
            ASSERT_EQ(boxes.Count(), before + 1) << c.tool << " " << c.length;
            EXPECT_EQ(boxes.Last().text, c.refusal);
            EXPECT_EQ(boxes.Last().flags, (UINT)(MB_OK | MB_ICONINFORMATION | MB_TASKMODAL));
        } else {
            ASSERT_NE(wall->firstChild, nullptr) << c.tool << " " << c.length;
            EXPECT_EQ(boxes.Count(), before);
            // 8.0 from each end: the width exactly fills the room the drag leaves.
            EXPECT_NEAR(VertexXZ(wall->firstChild, 0).x, 8.0f, 0.01f);
            EXPECT_NEAR(VertexXZ(wall->firstChild, 1).x, 44.0f, 0.01f);
        }
        EXPECT_EQ(mouseCaptured, 0u);
        FreeFloorObjects(Floor());
    }
}

TEST_F(OpeningTools, TheOpeningFollowsThePointerInsideTheSectionAndRecordsItsPlace)
{
    struct Case { int16_t tool; std::initializer_list<POINT> path; float first, second, elevation; } cases[] = {
        // 30 wide pressed 20 from the start of a 47 segment: from 8.0 to 38.0.
        {7053, {{20, 0}}, 8.0f, 38.0f, 0.0f},
        {7052, {{20, 0}, {30, 0}, {31, 0}}, 9.0f, 39.0f, 0.0f},
        {7054, {{20, 0}}, 8.0f, 44.0f, 24.0f},
    };
    document->settings->windowWidth = 36.0f;
    for (const Case& c : cases) {
        PlanObject* wall = Wall({{0, 0, 0}, {c.tool == 7054 ? 53.0f : 47.0f, 0, 0}});
        Place(c.tool, c.path);
        PlanObject* opening = wall->firstChild;
        ASSERT_NE(opening, nullptr) << c.tool;
        const bool window = c.tool == 7054;
        const float width = window ? 36.0f : 30.0f;
        EXPECT_EQ(opening->type, window ? ObjWindow : ObjDoor);
        EXPECT_EQ(opening->owner, wall);
        EXPECT_EQ(opening->category, kCategoryFloorPlan);
        EXPECT_EQ(opening->styleOrTexture, 2218u);
        EXPECT_EQ(opening->colourB.red, kColourChannelUnset);
        EXPECT_EQ(opening->vertexCount, 2u);
        EXPECT_TRUE(opening->firstVertex->selected);
        EXPECT_NEAR(VertexXZ(opening, 0).x, c.first, 0.01f) << c.tool;
        EXPECT_NEAR(VertexXZ(opening, 1).x, c.second, 0.01f) << c.tool;
        const OpeningRecord* r = Record(opening);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->typeCopy, window ? 17 : 16);
        EXPECT_EQ(r->style, window ? 601 : 510);
        EXPECT_EQ(r->startVertex, wall->firstVertex);
        EXPECT_EQ(r->endVertex, wall->firstVertex->next);
        EXPECT_NEAR(r->distanceFromStart, c.first + width / 2.0f, 0.01f);
        EXPECT_NEAR(r->distanceToEnd, (window ? 53.0f : 47.0f) - c.first - width / 2.0f, 0.01f);
        EXPECT_FLOAT_EQ(r->width, width);
        EXPECT_FLOAT_EQ(r->height, window ? 56.0f : 80.0f);
        EXPECT_FLOAT_EQ(r->elevation, c.elevation);
        EXPECT_EQ(r->glazingBarsAcross, window ? 3 : 1);
        EXPECT_EQ(r->glazingBarsDown, window ? 2 : 0);
        EXPECT_FLOAT_EQ(r->casingWidth, window ? 2.5f : 3.0f);
        EXPECT_EQ(r->swingAngle, 0.0f);
        FreeFloorObjects(Floor());
    }
}

TEST_F(OpeningTools, WindowMirrorsNegativeElevationAndTheGarageDoorHinge)
{
    struct Case { int16_t tool; uint8_t mirrorH, mirrorV; uint16_t style; float elevation; float corner;
                  uint8_t hinge; uint16_t flags; float recordElevation; } cases[] = {
        {7054, 1, 0, 0, 24.0f, 0.0f, 1, 0, 24.0f},
        {7054, 0, 1, 0, -5.0f, 0.0f, 0, 1, 0.0f},
        // A garage door on a wall of three corners hinges on side 1 when the wall turns
        // one way, 0 the other way; on a straight wall it keeps 0.
        {7053, 0, 0, 503, 0.0f, -100.0f, 1, 0, 0.0f},
        {7053, 0, 0, 503, 0.0f, 100.0f, 0, 0, 0.0f},
        {7053, 0, 0, 503, 0.0f, 0.0f, 0, 0, 0.0f},
    };
    for (const Case& c : cases) {
        windowMirrorHorizontal = c.mirrorH;
        windowMirrorVertical = c.mirrorV;
        document->settings->windowElevation = c.elevation;
        document->settings->doorStyle = c.style;
        PlanObject* wall = c.corner != 0.0f ? Wall({{0, 0, 0}, {100, 0, 0}, {100, 0, c.corner}})
                                            : Wall({{0, 0, 0}, {100, 0, 0}});
        Place(c.tool, {{50, 0}});
        const OpeningRecord* r = Record(wall->firstChild);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->hingeSide, c.hinge);
        EXPECT_EQ(r->flags, c.flags);
        EXPECT_FLOAT_EQ(r->elevation, c.recordElevation);
        FreeFloorObjects(Floor());
    }
}

TEST_F(OpeningTools, TheSwingClickSetsHingeSenseAndAngle)
{
    document->settings->doorStyle = 501;
    // The door runs from 35 to 65; the click picks the nearer end as the hinge.
    struct Case { POINT click; uint8_t hinge; uint16_t sense; float angle; } cases[] = {
        {{36, 80}, 1, 0, 4.7457f},    // below the first end: a quarter turn clockwise on screen
        {{36, 20}, 1, 4, 1.5375f},    // above it: the other sense
        {{64, 20}, 0, 0, -1.5375f},   // above the second end, turning from the door line back
        {{20, 50}, 0, 0, 0.0f},       // on the door line: no swing
    };
    for (const Case& c : cases) {
        PlanObject* wall = Wall({{0, 0, 50}, {100, 0, 50}});
        // A right click and a key do not end the step; the left click does.
        Place(7053, {{50, 50}},
              {At(40, 90, WM_RBUTTONDOWN), At(c.click.x, c.click.y, WM_KEYDOWN, 'A'),
               At(c.click.x, c.click.y, WM_LBUTTONDOWN)});
        const OpeningRecord* r = Record(wall->firstChild);
        ASSERT_NE(r, nullptr);
        if (c.angle == 0.0f) {
            EXPECT_EQ(r->swingAngle, 0.0f);
            EXPECT_EQ(r->hingeSide, 0);
        } else {
            EXPECT_EQ(r->hingeSide, c.hinge) << c.click.x << "," << c.click.y;
            EXPECT_EQ(r->flags, c.sense) << c.click.x << "," << c.click.y;
            EXPECT_NEAR(std::fmod(r->swingAngle + 6.2832f, 6.2832f), std::fmod(c.angle + 6.2832f, 6.2832f), 1e-3f)
                << c.click.x << "," << c.click.y;
        }
        FreeFloorObjects(Floor());
    }
}

TEST_F(OpeningTools, APressOffAWallIsRefusedByViewAndAPressOnAnOpeningSelectsIt)
{
    PlanObject* wall = Wall({{0, 0, 0}, {100, 0, 0}});
    Place(7053, {{50, 0}});
    PlanObject* door = wall->firstChild;
    ASSERT_NE(door, nullptr);
    Place(7053, {{200, 200}});
    Place(7054, {{200, 200}});
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Cliccare e trascinare su una sezione di muro per inserire questa porta.");
    EXPECT_EQ(boxes.Boxes()[1].text, "Cliccare e trascinare su una sezione di muro per inserire questa finestra.");
    // The door already there is selected, nothing is placed over it.
    SetSelectionAllFloors(document->firstFloor, kSelectDeselect, 0);
    Place(7054, {{50, 0}});
    EXPECT_EQ(door->next, nullptr);
    EXPECT_TRUE(door->firstVertex->selected);
    EXPECT_EQ(boxes.Count(), 2u);
    // A side view gets the English texts.
    viewPitchDegrees = 0.0f;
    viewYawDegrees = 270.0f;
    planMouseState = {};
    planMouseState.hit = 0;
    HandleDoorTool(0, 0, 0, 1);
    HandleWindowTool(0, 0, 0, 1);
    ASSERT_EQ(boxes.Count(), 4u);
    EXPECT_EQ(boxes.Boxes()[2].text, "Please click-and-drag on the bottom base of a wall section to place the door.");
    EXPECT_EQ(boxes.Boxes()[3].text, "Please click-and-drag on the bottom base of a wall section to place this window.");
}

}  // namespace
