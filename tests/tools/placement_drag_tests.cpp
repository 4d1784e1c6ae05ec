// The placement gesture's own loop from taped input: how corners are added, how it ends,
// the 15-degree steps, and what it leaves in the queue.
#include "support_tools.h"
#include <gtest/gtest.h>
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "tools/placement_drag.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_state.h"
#include "tools/undo.h"

namespace {

using tooltest::Frame;
using tooltest::ToolTest;
using vtest::VertexAt;

class PlacementDrag : public ToolTest {
protected:
    // The gesture after an initial drag released at (0, 0), over the frames.
    PlanObject* Place(std::vector<Frame> frames, uint8_t closed, uint8_t smooth = 0)
    {
        planMouseState = {};
        frames.insert(frames.begin(), Frame{0, 0, false});
        tooltest::TapeInput tape(pane, frames);
        tooltest::InputScope scope(&tape);
        currentToolId = 7059;
        return TrackPlacementDrag(0, 0, 0, 0, 0, 3, smooth, closed, 1, 13);
    }
    static Frame At(int x, int y, UINT post = 0, WPARAM key = 0)
    {
        Frame f{x, y, false};
        f.post = post;
        f.wParam = key;
        return f;
    }
};

TEST_F(PlacementDrag, HowTheOutlineEnds)
{
    struct Case {
        const char* name;
        uint8_t closed;
        std::vector<Frame> frames;
        int corners;
        uint16_t type;
    } cases[] = {
        // A double click after two corners: the double click's point is not added.
        {"double click", 1, {At(100, 0, WM_LBUTTONDOWN), At(100, 100, WM_LBUTTONDBLCLK), At(100, 100)}, 2, 8},
        // Back within 10 of the first corner: an open outline takes the click, a closed one not.
        {"open on the first corner", 0,
         {At(100, 0, WM_LBUTTONDOWN), At(100, 100, WM_LBUTTONDOWN), At(5, 5, WM_LBUTTONDOWN), At(5, 5)}, 4, 9},
        {"closed on the first corner", 1,
         {At(100, 0, WM_LBUTTONDOWN), At(100, 100, WM_LBUTTONDOWN), At(5, 5, WM_LBUTTONDOWN), At(5, 5)}, 3, 8},
        // 15 from the last corner in every coordinate adds nothing; Shift alone neither adds nor ends.
        {"near click and Shift", 1,
         {At(100, 0, WM_LBUTTONDOWN), At(115, 15, WM_LBUTTONDOWN), At(115, 15, WM_KEYDOWN, VK_SHIFT),
          At(100, 100, WM_RBUTTONDOWN), At(100, 100)}, 2, 8},
        // A right click with only the first corner counts as a left click.
        {"right click first", 0, {At(100, 0, WM_RBUTTONDOWN), At(100, 0, WM_KEYDOWN, 'A'), At(100, 0)}, 2, 9},
    };
    for (const Case& c : cases) {
        PlanObject* outline = Place(c.frames, c.closed);
        ASSERT_NE(outline, nullptr) << c.name;
        EXPECT_EQ(CountVertexChain(outline), c.corners) << c.name;
        EXPECT_EQ(outline->type, c.type) << c.name;
        EXPECT_EQ(outline->closed, c.type == 8 ? 1 : 0) << c.name;
        EXPECT_EQ(pendingObject, outline) << c.name;
        EXPECT_EQ(undoAvailable, 1u) << c.name;
        ExpectXZ(VertexAt(outline, 1), 100.0f, 0.0f);
        FreeObject(outline);
        pendingObject = nullptr;
    }
}

TEST_F(PlacementDrag, DirectionsStepBy15DegreesUnlessShiftIsHeld)
{
    // (100, -75.36) lies at 37 degrees from the first corner: 30 degrees at 125.2.
    Frame shifted = At(100, -75, WM_LBUTTONDOWN);
    shifted.shift = true;
    struct Case { Frame corner; float x, z; } cases[] = {
        {At(100, -75, WM_LBUTTONDOWN), 108.25f, -62.5f},
        {shifted, 100.0f, -75.0f},
    };
    for (const Case& c : cases) {
        PlanObject* outline = Place({c.corner, At(0, 200, WM_LBUTTONDBLCLK), At(0, 200)}, 0);
        ASSERT_NE(outline, nullptr);
        ExpectXZ(VertexAt(outline, 1), c.x, c.z);
        FreeObject(outline);
        pendingObject = nullptr;
    }
}

TEST_F(PlacementDrag, TheWaitAfterTheEndDropsClicksButKeepsCommands)
{
    Frame end = At(100, 100, WM_LBUTTONDBLCLK);
    end.thenPost = WM_LBUTTONDOWN;
    PostMessageA(pane, WM_COMMAND, 5262, 0);
    PlanObject* outline = Place({At(100, 0, WM_LBUTTONDOWN), end}, 1);
    ASSERT_NE(outline, nullptr);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, pane, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&message, pane, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(message.wParam, 5262u);
    EXPECT_EQ(mouseCaptured, 0u);
    FreeObject(outline);
    pendingObject = nullptr;
}

}  // namespace
