// The landscape tools from taped input: the heights of plots, fill zones and fills, the
// outlines too small for an area, the one sloped plot of a plan, and the gate on a
// picket-fence section with its refusals.
#include "support_tools.h"
#include <gtest/gtest.h>
#include <string>
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "support/test_support.h"
#include "tools/landscape_tools.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_state.h"

namespace {

using tooltest::At;
using tooltest::Frame;
using tooltest::ToolTest;
using vtest::VertexAt;

// A click, then the corners of the placement gesture, ended by a double click.
std::vector<Frame> Outline(std::initializer_list<POINT> corners)
{
    std::vector<Frame> frames = tooltest::Drag({{0, 0}});
    frames.push_back(At(0, 0));
    for (const POINT& p : corners) {
        frames.push_back(At(p.x, p.y));
        frames.push_back(At(p.x, p.y, WM_LBUTTONDOWN));
    }
    frames.push_back(At(frames.back().x, frames.back().y, WM_LBUTTONDBLCLK));
    frames.push_back(At(frames.back().x, frames.back().y));
    return frames;
}

class LandscapeTools : public ToolTest {
protected:
    PlanObject* FindType(uint16_t type) const
    {
        for (PlanFloor* floor = document->firstFloor; floor; floor = floor->next)
            for (PlanObject* o = floor->firstObject; o; o = o->next)
                if (o->type == type)
                    return o;
        return nullptr;
    }
    int CountType(uint16_t type) const
    {
        int count = 0;
        for (PlanFloor* floor = document->firstFloor; floor; floor = floor->next)
            for (PlanObject* o = floor->firstObject; o; o = o->next)
                count += o->type == type;
        return count;
    }
};

TEST_F(LandscapeTools, GroundObjectsLieAboveTheirDrawnOutline)
{
    struct Case { int16_t tool; std::vector<Frame> frames; uint16_t type; float raise; uint32_t faces; } cases[] = {
        {7500, Outline({{100, 0}, {100, 100}, {0, 100}}), 21, 1.0f, 1150},
        {7501, Outline({{100, 0}, {100, 100}, {0, 100}}), 27, 2.0f, 1115},
        {7503, tooltest::Drag({{0, 0}, {40, 0}}), 26, 3.0f, 1115},
    };
    for (const Case& c : cases) {
        RunGesture(c.tool, c.frames);
        PlanObject* made = FindType(c.type);
        ASSERT_NE(made, nullptr) << c.tool;
        EXPECT_EQ(made->category, 128u) << c.tool;
        EXPECT_EQ(made->onTerrain, 1) << c.tool;
        // y grows downward: raised is smaller than the pressed height.
        const float drawn = planMouseState.dragStart[1];
        for (PlanVertex* v = made->firstVertex; v; v = v->next) {
            EXPECT_FLOAT_EQ(v->position[1], drawn - c.raise) << c.tool;
            EXPECT_EQ(v->faceTextureA, c.faces) << c.tool;
            EXPECT_EQ(v->faceColourA.red, 65535) << c.tool;
        }
        if (c.type != 26)
            EXPECT_EQ(CountVertexChain(made), 4) << c.tool;
        if (c.type == 21)
            EXPECT_EQ(made->styleOrTexture, 1151u);
    }
}

TEST_F(LandscapeTools, AreasOfTwoCornersAreNotMade)
{
    for (int16_t tool : {7500, 7501, 7510}) {
        RunGesture(tool, Outline({{100, 0}}));
        EXPECT_EQ(vtest::CountFloorObjects(Floor()), 0) << tool;
        EXPECT_EQ(pendingObject, nullptr) << tool;
    }
}

TEST_F(LandscapeTools, ASecondSlopedPlotReplacesTheFirstAndKeepsItsSlope)
{
    document->settings->slopeDefault = 4.0f;
    RunGesture(7509, tooltest::Drag({{0, 0}, {100, 0}}));
    PlanObject* first = FindType(ObjSlope);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->firstVertex->mainHeight, 4.0f);
    first->firstVertex->mainHeight = 7.5f;   // as the slope dialog would leave it

    // Without Shift the direction steps by 15 degrees: (100, 8) is taken at 0 degrees.
    RunGesture(7509, tooltest::Drag({{0, 0}, {100, 8}}));
    EXPECT_EQ(CountType(ObjSlope), 1);
    PlanObject* second = FindType(ObjSlope);
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(CountVertexChain(second), 2);
    for (PlanVertex* v = second->firstVertex; v; v = v->next)
        EXPECT_EQ(v->mainHeight, 7.5f);
    EXPECT_NEAR(VertexAt(second, 1)->position[0], 100.32f, 0.01f);
    EXPECT_NEAR(VertexAt(second, 1)->position[2], 0.0f, 0.01f);
}

TEST_F(LandscapeTools, GatesGoOnPicketFenceSectionsWideEnough)
{
    const std::string offSection =
        "Cliccare e trascinare su una sezione di steccato per inserire questo cancello.";
    const std::string exists =
        "Esiste gi\xE0 un cancello su questa sezione dello steccato. Cliccare e trascinare  su "
        "un'altra sezione dello steccato per aggiungere il cancello.";
    const std::string tooNarrow =
        "La sezione dello steccato non \xE8 abbastanza ampia per questo cancello. Cliccare e "
        "trascinare su una sezione pi\xF9 ampia di steccato per inserire questo cancello.";
    struct Case {
        const char* name;
        uint16_t type;
        float length;
        uint16_t startKind;
        float press;
        std::string message;   // empty: the gate is placed
        float first, second;
    } cases[] = {
        {"as wide as the span", ObjPicketFence, 42.0f, 1, 21.0f, "", 3.0f, 39.0f},
        {"0.5 above the span", ObjPicketFence, 41.5f, 1, 21.0f, tooNarrow, 0, 0},
        {"a gate there already", ObjPicketFence, 100.0f, 6, 50.0f, exists, 0, 0},
        {"not a picket fence", ObjFence, 100.0f, 1, 50.0f, offSection, 0, 0},
        // Room to spare: kept 5.0 inside the span, 8.0 from the section's start.
        {"near the start", ObjPicketFence, 100.0f, 1, 10.0f, "", 8.0f, 44.0f},
    };
    document->settings->gateWidth = 36.0f;   // one display inch is one plan unit here
    for (const Case& c : cases) {
        PlanObject* fence = vtest::MakePointObject(c.type, Floor(), {{0, 0, 0}, {c.length, 0, 0}}, 0, 0);
        fence->firstVertex->kind = c.startKind;
        planMouseState = {};
        planMouseState.hit = 1;
        planMouseState.segmentHit = 1;
        planMouseState.object = fence;
        planMouseState.vertexA = VertexAt(fence, 0);
        planMouseState.vertexB = VertexAt(fence, 1);
        planMouseState.dragStart[0] = c.press;
        vtest::MessageBoxRecorder boxes;
        {
            // The section drag sees the button up at once: the gate stays at the press.
            tooltest::TapeInput tape(pane, {At(int(c.press), 0), At(int(c.press), 0)});
            tooltest::InputScope scope(&tape);
            HandleGateTool(c.press, 0.0f, 0.0f, 1);
        }
        EXPECT_EQ(mouseCaptured, 0u) << c.name;
        if (!c.message.empty()) {
            ASSERT_EQ(boxes.Count(), 1u) << c.name;
            EXPECT_EQ(boxes.Last().text, c.message) << c.name;
            EXPECT_EQ(CountVertexChain(fence), 2) << c.name;
        } else {
            EXPECT_EQ(boxes.Count(), 0u) << c.name;
            ASSERT_EQ(CountVertexChain(fence), 4) << c.name;
            EXPECT_EQ(VertexAt(fence, 1)->kind, 6) << c.name;
            EXPECT_NEAR(VertexAt(fence, 1)->position[0], c.first, 0.01f) << c.name;
            EXPECT_EQ(VertexAt(fence, 2)->kind, 1) << c.name;
            EXPECT_NEAR(VertexAt(fence, 2)->position[0], c.second, 0.01f) << c.name;
            EXPECT_EQ(fence->size, 36.0f) << c.name;
        }
        FreeObject(fence);
    }
}

}  // namespace
