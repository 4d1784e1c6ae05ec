// Real input on the shown frame: a sprinkler placed with its throw and its angle, and a
// text frame opened by a click and typed into.
// velmora-test: timeout 120
// velmora-test: desktop
#include "support_tools.h"
#include <gtest/gtest.h>
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "shell/camera_presets.h"
#include "tools/tool_state.h"

namespace {

using tooltest::InputStep;
using tooltest::ShownFrame;

class RealInputTools : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.Start());
        activeDocument->settings->snapToGrid = 0;
    }
    void TearDown() override { frame.Stop(); }
    // Tests beside this one share the desktop: the frame is kept on top until the pane
    // is the window under the point.
    void OnTop(int x, int y)
    {
        for (int wait = 0; wait < 50 && WindowFromPoint(frame.ScreenPoint(x, y)) != frame.pane; ++wait) {
            SetWindowPos(frame.frame, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
            Sleep(20);
        }
        ASSERT_EQ(WindowFromPoint(frame.ScreenPoint(x, y)), frame.pane);
    }
    InputStep Move(int x, int y) { return {frame.ScreenPoint(x, y), 0}; }
    InputStep Down(int x, int y) { return {frame.ScreenPoint(x, y), MOUSEEVENTF_LEFTDOWN, 0, 0, true}; }
    InputStep Up(int x, int y) { return {frame.ScreenPoint(x, y), MOUSEEVENTF_LEFTUP}; }
    ShownFrame frame;
};

TEST_F(RealInputTools, ASprinklerTakesItsRadiusFromTheDragAndItsAngleFromTheClick)
{
    currentToolId = 7508;
    OnTop(200, 140);
    // Dragged 60 pixels east, then a click due north: three quarters round clockwise.
    tooltest::PlayInput({Move(200, 200), Down(200, 200), Move(230, 200), Move(260, 200), Up(260, 200),
                         Move(240, 160), Move(200, 140), Down(200, 140), Up(200, 140)});
    PlanObject* sprinkler = activeDocument->currentFloor->firstObject;
    ASSERT_NE(sprinkler, nullptr);
    EXPECT_EQ(sprinkler->type, ObjSprinkler);
    EXPECT_NEAR(sprinkler->parameters[0], 270.0f, 1.0f);
    const float zoom = activeDocument->settings->zoom;
    EXPECT_NEAR(sprinkler->box3D[4] - sprinkler->box3D[1], 120.0f / zoom, 0.5f);
    EXPECT_EQ(mouseCaptured, 0u);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(RealInputTools, AClickOpensATextFrameThatTakesTheTyping)
{
    activeDocument->currentViewSheet = FindFloorByNumber(ViewTop);
    currentToolId = 203;
    OnTop(150, 120);
    tooltest::PlayInput({Move(150, 120), Down(150, 120), Up(150, 120)});
    PlanObject* frameObject = activeDocument->currentViewSheet->firstObject;
    ASSERT_NE(frameObject, nullptr);
    ASSERT_EQ(frameObject->type, ObjTextFrame);
    HWND control = static_cast<HWND>(frameObject->link);
    ASSERT_TRUE(IsWindow(control));
    // 200 by 36 pixels; the plan's zoom may round the frame by a pixel once it is drawn.
    RECT client;
    GetClientRect(control, &client);
    EXPECT_NEAR(client.right, 200, 1);
    EXPECT_NEAR(client.bottom, 36, 1);
    EXPECT_EQ(activeDocument->textEditChild, control);
    // The tool gave the control the keyboard; should a window of another test have taken
    // it meanwhile, so that a key never reached this program, it is given back and the
    // keys are typed again. Once both came, each came once and both are in the text.
    int keys = 0;
    for (int attempt = 0; attempt < 3 && keys < 2; ++attempt) {
        if (attempt > 0) {
            SetWindowTextA(control, "");
            SetForegroundWindow(frame.frame);
            SetFocus(control);
        }
        vtest::ReceivedInput taken(WM_KEYDOWN, {'O', 'K'});
        tooltest::PlayInput({{POINT{0, 0}, 0, 'O'}, {POINT{0, 0}, 0, 'K'}});
        keys = taken.Count();
    }
    EXPECT_EQ(keys, 2);
    char text[16] = {};
    GetWindowTextA(control, text, sizeof text);
    EXPECT_STREQ(text, "ok");
}

}  // namespace
