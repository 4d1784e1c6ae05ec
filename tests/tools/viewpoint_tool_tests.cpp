// The viewpoint tool from taped drags (top view, zoom 1, one display inch a plan unit):
// where the viewer goes, where it looks, and which tool is current afterwards.
#include "support_tools.h"
#include <gtest/gtest.h>
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "tools/tool_state.h"
#include "tools/viewpoint_tool.h"

namespace {

using tooltest::ToolTest;

class ViewpointTool : public ToolTest {
protected:
    void TearDown() override
    {
        previousToolId = 0;
        ToolTest::TearDown();
    }
};

TEST_F(ViewpointTool, TheViewerStandsAtThePressAndLooksTowardsTheRelease)
{
    struct Case { std::initializer_list<POINT> path; bool shift; short previous; float heading, x, z; short after; } cases[] = {
        // A click: the viewer moves there, looks along 90 and the tool it interrupted is back.
        {{{100, 100}}, false, 7051, 90.0f, 100.0f, 100.0f, 7051},
        {{{100, 100}}, false, 206, 90.0f, 100.0f, 100.0f, 200},
        // With Shift a drag at 30 degrees looks along x, one at 60 along z.
        {{{0, 0}, {87, -50}}, true, 7054, 270.0f, 0.0f, 0.0f, 7054},
        {{{0, 0}, {50, -87}}, true, 0, 360.0f, 0.0f, 0.0f, 200},
        {{{10, 20}, {10, 120}}, false, 7300, 180.0f, 10.0f, 20.0f, 7300},
    };
    for (const auto& c : cases) {
        previousToolId = c.previous;
        RunGesture(206, tooltest::Drag(c.path, c.shift));
        const PlanSettings* s = document->settings;
        EXPECT_FLOAT_EQ(s->cameraHeading, c.heading) << c.previous;
        EXPECT_FLOAT_EQ(s->cameraX, c.x);
        EXPECT_FLOAT_EQ(s->cameraZ, c.z);
        EXPECT_EQ(currentToolId, c.after) << c.previous;
        EXPECT_EQ(viewpointPreviewActive, 0);
        EXPECT_EQ(mouseCaptured, 0u);
    }
}

}  // namespace
