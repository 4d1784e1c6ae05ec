// Real input on the shown frame: a rectangle dragged with the mouse, taken back and
// brought again with Ctrl+Z, and selected by a marquee.
// velmora-test: timeout 120
// velmora-test: desktop
#include "support_tools.h"
#include <gtest/gtest.h>
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "support/test_support.h"
#include "tools/tool_state.h"

namespace {

using tooltest::InputStep;
using tooltest::ShownFrame;

class FrameDrag : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(frame.Start()); }
    void TearDown() override { frame.Stop(); }
    void DragOnPane(POINT from, POINT to)
    {
        for (int wait = 0; wait < 50 && WindowFromPoint(frame.ScreenPoint(from.x, from.y)) != frame.pane; ++wait) {
            SetWindowPos(frame.frame, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
            Sleep(20);
        }
        ASSERT_EQ(WindowFromPoint(frame.ScreenPoint(from.x, from.y)), frame.pane);
        ASSERT_EQ(WindowFromPoint(frame.ScreenPoint(to.x, to.y)), frame.pane);
        POINT middle = {(from.x + to.x) / 2, (from.y + to.y) / 2};
        tooltest::PlayInput({
            {frame.ScreenPoint(from.x, from.y), 0},
            {frame.ScreenPoint(from.x, from.y), MOUSEEVENTF_LEFTDOWN, 0, 0, true},
            {frame.ScreenPoint(middle.x, middle.y), 0},
            {frame.ScreenPoint(to.x, to.y), 0},
            {frame.ScreenPoint(to.x, to.y), MOUSEEVENTF_LEFTUP},
        });
    }
    // Tests running beside this one share the desktop, and one of their windows may take
    // the keyboard for a moment: keys that never reached this program are sent again.
    // Once the Z came it is the only one, and its effect is the caller's to check.
    void ControlZ()
    {
        int keys = 0;
        for (int attempt = 0; attempt < 3 && keys == 0; ++attempt) {
            SetForegroundWindow(frame.frame);
            SetFocus(frame.pane);
            vtest::ReceivedInput taken(WM_KEYDOWN, {'Z'});
            tooltest::PlayInput({{POINT{0, 0}, 0, 'Z', VK_CONTROL}});
            keys = taken.Count();
        }
        EXPECT_EQ(keys, 1);
    }
    ShownFrame frame;
};

TEST_F(FrameDrag, RectangleDrawnUndoneRedoneAndSelectedByMarquee)
{
    PlanFloor* floor = activeDocument->currentFloor;
    activeDocument->settings->snapToGrid = 0;
    currentToolId = 7700;
    DragOnPane({100, 100}, {200, 170});
    PlanObject* rectangle = floor->firstObject;
    ASSERT_NE(rectangle, nullptr);
    EXPECT_EQ(rectangle->type, ObjDrawingElement);
    EXPECT_EQ(rectangle->subType, 1u);
    // 100 by 70 pixels at the plan's zoom.
    const float zoom = activeDocument->settings->zoom;
    EXPECT_NEAR(rectangle->box3D[4] - rectangle->box3D[1], 100.0f / zoom, 0.01f);
    EXPECT_NEAR(rectangle->box3D[5] - rectangle->box3D[2], 70.0f / zoom, 0.01f);
    EXPECT_EQ(mouseCaptured, 0u);
    EXPECT_EQ(GetCapture(), nullptr);

    ControlZ();
    EXPECT_EQ(floor->firstObject, nullptr);
    ControlZ();
    EXPECT_EQ(floor->firstObject, rectangle);

    currentToolId = 200;
    DragOnPane({60, 60}, {260, 230});
    EXPECT_TRUE(rectangle->firstVertex->selected);
    EXPECT_EQ(floor->firstObject, rectangle);
}

}  // namespace

namespace {

TEST_F(FrameDrag, WallDrawnWithTheMouseAndTakenBackWithControlZ)
{
    PlanFloor* floor = activeDocument->currentFloor;
    activeDocument->settings->snapToGrid = 0;
    currentToolId = 7051;
    DragOnPane({100, 100}, {300, 140});
    PlanObject* wall = floor->firstObject;
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(wall->type, ObjWall);
    ASSERT_EQ(CountVertexChain(wall), 2);
    // Held to the x axis: the same depth at both ends, 200 pixels long at the zoom.
    EXPECT_EQ(wall->firstVertex->position[2], wall->firstVertex->next->position[2]);
    EXPECT_NEAR(wall->firstVertex->next->position[0] - wall->firstVertex->position[0],
                200.0f / activeDocument->settings->zoom, 0.01f);
    ControlZ();
    EXPECT_EQ(floor->firstObject, nullptr);
}

}  // namespace

namespace {

TEST_F(FrameDrag, RoofAndDoorPlacedWithTheMouse)
{
    vtest::MessageBoxRecorder boxes;
    PlanFloor* floor = activeDocument->currentFloor;
    PlanSettings* s = activeDocument->settings;
    s->snapToGrid = 0;
    currentToolId = 7301;
    DragOnPane({60, 60}, {260, 160});
    PlanObject* roof = floor->firstObject;
    ASSERT_NE(roof, nullptr);
    EXPECT_EQ(roof->type, ObjRoof);
    int planes = 0;
    for (PlanObject* p = static_cast<PlanObject*>(roof->link); p; p = p->next)
        ++planes;
    EXPECT_EQ(planes, 12);

    // A wall, then a sliding door pressed on it and dragged along.
    currentToolId = 7051;
    DragOnPane({60, 220}, {360, 220});
    PlanObject* wall = roof->next;
    ASSERT_NE(wall, nullptr);
    ASSERT_EQ(wall->type, ObjWall);
    // The floor-plan tab: walls can be picked.
    s->visibleCategories = s->tabCategoryMasks[1];
    s->doorStyle = 510;
    s->doorWidth = 30.0f;
    s->doorHeight = 80.0f;
    currentToolId = 7053;
    DragOnPane({150, 220}, {200, 220});
    ASSERT_NE(wall->firstChild, nullptr) << (boxes.Count() ? boxes.Last().text : "");
    EXPECT_EQ(wall->firstChild->type, ObjDoor);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(mouseCaptured, 0u);
}

}  // namespace
