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
#include "support/test_support.h"
#include "tools/door_tool.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_state.h"
#include "tools/window_tool.h"

namespace {

using tooltest::At;
using tooltest::VertexXZ;

class OpeningTools : public tooltest::ToolTest {
protected:
    void SetUp() override
    {
        ToolTest::SetUp();
        PlanSettings* s = document->settings;
        // Door 30 x 80, casing 3; window 36 x 56 at 24 by default.
        s->doorStyle = 510;   // sliding: no swing step
        s->windowStyle = 601;
        s->windowCasingWidth = 2.5f;
        s->windowBarsAcross = 3;
        s->windowBarsDown = 2;
    }
    void TearDown() override
    {
        windowMirrorHorizontal = windowMirrorVertical = 0;
        ToolTest::TearDown();
    }
    // A wall along the points, pressed at the path's first point and dragged along it;
    // spare reads after the frames.
    OpeningRecord* Place(int16_t tool, std::initializer_list<vtest::Point3> wall,
                         std::initializer_list<POINT> path, std::vector<tooltest::Frame> after = {})
    {
        FreeFloorObjects(Floor());
        opening = nullptr;
        PlanObject* w = tooltest::AddWall(Floor(), wall, document->settings->activeCategory);
        std::vector<tooltest::Frame> frames = tooltest::Drag(path);
        frames.insert(frames.end(), after.begin(), after.end());
        tooltest::Frame spare = frames.back();
        spare.post = spare.thenPost = 0;
        frames.insert(frames.end(), 4, spare);
        RunGesture(tool, frames);
        opening = w->firstChild;
        return opening ? static_cast<OpeningRecord*>(opening->link) : nullptr;
    }
    PlanObject* opening = nullptr;
    vtest::MessageBoxRecorder boxes;
};

TEST_F(OpeningTools, ASectionTakesAnOpeningOnlyWhenItIsTheWidthAndSeventeenLonger)
{
    const char* door = "La sezione del muro non \xE8 abbastanza ampia per questa porta. Cliccare e trascinare su "
                       "una sezione pi\xF9 ampia per inserire questa porta.";
    const char* window = "La sezione del muro non \xE8 abbastanza ampia per questa finestra. Cliccare e trascinare "
                         "su una sezione pi\xF9 ampia del muro per inserire questa finestra.";
    struct Case { int16_t tool; float length, width; const char* refusal; } cases[] = {
        {7053, 53.0f, 36.0f, nullptr}, {7053, 52.9f, 36.0f, door},
        {7054, 53.0f, 36.0f, nullptr}, {7054, 52.9f, 36.0f, window},
        // A width from a settings file that is no length is refused the same way.
        {7053, 200.0f, NAN, door}, {7054, 200.0f, -36.0f, window},
    };
    for (const Case& c : cases) {
        document->settings->doorWidth = document->settings->windowWidth = c.width;
        const size_t before = boxes.Count();
        Place(c.tool, {{0, 0, 0}, {c.length, 0, 0}}, {{26, 0}});
        EXPECT_EQ(opening == nullptr, c.refusal != nullptr) << c.tool << " " << c.length;
        ASSERT_EQ(boxes.Count(), before + (c.refusal ? 1 : 0));
        if (c.refusal) {
            EXPECT_EQ(boxes.Last().text, c.refusal);
            EXPECT_EQ(boxes.Last().flags, (UINT)(MB_OK | MB_ICONINFORMATION | MB_TASKMODAL));
        } else {
            // 8.0 from each end: the width exactly fills the room the drag leaves.
            EXPECT_NEAR(VertexXZ(opening, 0).x, 8.0f, 0.01f);
            EXPECT_NEAR(VertexXZ(opening, 1).x, 44.0f, 0.01f);
        }
        EXPECT_EQ(mouseCaptured, 0u);
    }
}

TEST_F(OpeningTools, TheOpeningFollowsThePointerInsideTheSectionAndRecordsItsPlace)
{
    struct Case { int16_t tool; std::initializer_list<POINT> path; float length, first, elevation; uint8_t mirrorH, mirrorV;
                  uint16_t doorStyle; float corner; uint8_t hinge; uint16_t flags; } cases[] = {
        // 30 wide pressed 20 from the start of a 47 segment: from 8.0 to 38.0.
        {7053, {{20, 0}}, 47, 8.0f, 0, 0, 0, 510, 0, 0, 0},
        {7052, {{20, 0}, {30, 0}, {31, 0}}, 47, 9.0f, 0, 0, 0, 510, 0, 0, 0},
        {7054, {{20, 0}}, 53, 8.0f, 24, 1, 0, 0, 0, 1, 0},
        // A negative elevation default becomes 0; upside down.
        {7054, {{20, 0}}, 53, 8.0f, -5, 0, 1, 0, 0, 0, 1},
        // A garage door on a wall of three corners hinges by the wall's turn.
        {7053, {{20, 0}}, 47, 8.0f, 0, 0, 0, 503, -100, 1, 0},
        {7053, {{20, 0}}, 47, 8.0f, 0, 0, 0, 503, 100, 0, 0},
    };
    for (const Case& c : cases) {
        windowMirrorHorizontal = c.mirrorH;
        windowMirrorVertical = c.mirrorV;
        document->settings->windowElevation = c.elevation;
        document->settings->doorStyle = c.doorStyle;
        const OpeningRecord* r = c.corner != 0 ? Place(c.tool, {{0, 0, 0}, {c.length, 0, 0}, {c.length, 0, c.corner}}, c.path)
                                               : Place(c.tool, {{0, 0, 0}, {c.length, 0, 0}}, c.path);
        ASSERT_NE(r, nullptr) << c.tool;
        const bool window = c.tool == 7054;
        const float width = window ? 36.0f : 30.0f;
        EXPECT_EQ(opening->type, window ? ObjWindow : ObjDoor);
        EXPECT_EQ(opening->category, kCategoryFloorPlan);
        EXPECT_EQ(opening->styleOrTexture, 2218u);
        EXPECT_EQ(opening->colourB.red, kColourChannelUnset);
        EXPECT_TRUE(opening->firstVertex->selected);
        EXPECT_NEAR(VertexXZ(opening, 0).x, c.first, 0.01f) << c.tool;
        EXPECT_NEAR(VertexXZ(opening, 1).x, c.first + width, 0.01f) << c.tool;
        EXPECT_EQ(r->typeCopy, window ? 17 : 16);
        EXPECT_EQ(r->style, window ? 601 : c.doorStyle);
        EXPECT_EQ(r->startVertex, opening->owner->firstVertex);
        EXPECT_NEAR(r->distanceFromStart, c.first + width / 2.0f, 0.01f);
        EXPECT_NEAR(r->distanceToEnd, c.length - c.first - width / 2.0f, 0.01f);
        EXPECT_FLOAT_EQ(r->height, window ? 56.0f : 80.0f);
        EXPECT_FLOAT_EQ(r->elevation, c.elevation > 0 ? c.elevation : 0.0f);
        EXPECT_EQ(r->glazingBarsAcross * 10 + r->glazingBarsDown, window ? 32 : 10);
        EXPECT_FLOAT_EQ(r->casingWidth, window ? 2.5f : 3.0f);
        EXPECT_EQ(r->hingeSide, c.hinge) << c.tool << " " << c.corner;
        EXPECT_EQ(r->flags, c.flags);
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
        // A right click and a key do not end the step; the left click does.
        const OpeningRecord* r = Place(7053, {{0, 0, 50}, {100, 0, 50}}, {{50, 50}},
                                       {At(40, 90, WM_RBUTTONDOWN), At(c.click.x, c.click.y, WM_KEYDOWN, 'A'),
                                        At(c.click.x, c.click.y, WM_LBUTTONDOWN)});
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->hingeSide, c.hinge) << c.click.x << "," << c.click.y;
        EXPECT_EQ(r->flags, c.sense) << c.click.x << "," << c.click.y;
        EXPECT_NEAR(std::fmod(r->swingAngle + 6.2832f, 6.2832f), std::fmod(c.angle + 6.2832f, 6.2832f), 1e-3f);
    }
}

TEST_F(OpeningTools, APressOffAWallIsRefusedInTheLanguageOfTheView)
{
    Place(7053, {{0, 0, 0}, {100, 0, 0}}, {{200, 200}});
    Place(7054, {{0, 0, 0}, {100, 0, 0}}, {{200, 200}});
    viewPitchDegrees = 0.0f;
    viewYawDegrees = 270.0f;
    planMouseState = {};
    HandleDoorTool(0, 0, 0, 1);
    HandleWindowTool(0, 0, 0, 1);
    ASSERT_EQ(boxes.Count(), 4u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Cliccare e trascinare su una sezione di muro per inserire questa porta.");
    EXPECT_EQ(boxes.Boxes()[1].text, "Cliccare e trascinare su una sezione di muro per inserire questa finestra.");
    EXPECT_EQ(boxes.Boxes()[2].text, "Please click-and-drag on the bottom base of a wall section to place the door.");
    EXPECT_EQ(boxes.Boxes()[3].text, "Please click-and-drag on the bottom base of a wall section to place this window.");
}

}  // namespace
