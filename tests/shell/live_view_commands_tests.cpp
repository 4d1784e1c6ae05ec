#include <gtest/gtest.h>
#include "shell/app_globals.h"
#include "shell/command_dispatcher.h"
#include "shell/frame_window.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "palette/tool_windows.h"
#include "render3d/interactive_view.h"
#include "render3d/render_window.h"
#include "render3d/selvith_window.h"
#include "tools/tool_state.h"
#include "support/plan_fixtures.h"
#include "support/test_support.h"
#include "support_commands.h"
#include "support_shell.h"
#include <GL/gl.h>
#include <cmath>
#include <string>

namespace {

using shelltest::SendCommand;
using shelltest::WindowText;

class LiveViewCommands : public testing::Test {
protected:
    void SetUp() override
    {
        frame = shelltest::StartShell();
        ASSERT_NE(nullptr, frame);
        shelltest::SetFrameClientSize(frame, 1000, 700);
        // The view counts as shown only in a shown frame.
        ShowWindow(frame, SW_SHOWNOACTIVATE);
        SendCommand(frame, FrameCommandNew);
        ASSERT_NE(nullptr, activeDocument);
        settings = activeDocument->settings;
    }
    void TearDown() override
    {
        currentToolId = -1;
        highlightedPane = nullptr;
        vtest::ShowTopView();
        shelltest::ForgetDocumentChanges();
        shelltest::StopShell();
        walkFieldOfView = 45.0f;
        flyFieldOfView = 38.0f;
        fieldOfViewCommand = 5318;
    }
    // The plan seen from the front, so that 5220 may hide the view.
    void LeaveTopView()
    {
        viewPitchDegrees = 0.0f;
        viewYawDegrees = 0.0f;
        perspectiveOn = 0;
    }

    HWND frame = nullptr;
    PlanSettings* settings = nullptr;
    vtest::MessageBoxRecorder boxes;
};

} // namespace

TEST_F(LiveViewCommands, Command5270MakesAndShowsTheViewWhereTheQuarterLayoutPutsIt)
{
    ASSERT_EQ(nullptr, selvithWindow);
    SendCommand(frame, 5270);
    ASSERT_NE(nullptr, selvithWindow);
    ASSERT_NE(nullptr, renderWindow);
    EXPECT_EQ(frame, GetParent(selvithWindow));
    EXPECT_EQ(selvithWindow, GetParent(renderWindow));
    EXPECT_TRUE(IsWindowVisible(selvithWindow));
    EXPECT_TRUE(IsWindowVisible(renderWindow));
    EXPECT_EQ("Selvith (Visuale completa)", WindowText(selvithWindow));
    RECT mdi;
    GetClientRect(mdiClientWindow, &mdi);
    const int w = mdi.right / 2 - 30, h = (int)(0.55 * w);
    RECT place = shelltest::ChildPlacement(selvithWindow);
    EXPECT_EQ(24 + w, place.left);
    EXPECT_EQ(29 + h, place.top);
    EXPECT_EQ(mdi.right - (GetSystemMetrics(SM_CXVSCROLL) + 2) - w, place.right);
    // A second 5270 makes no second view.
    HWND view = selvithWindow;
    SendCommand(frame, 5270);
    EXPECT_EQ(view, selvithWindow);
}

TEST_F(LiveViewCommands, Command5220MakesTheViewAndTogglesIt)
{
    LeaveTopView();
    SendCommand(frame, 5220);
    ASSERT_NE(nullptr, selvithWindow);
    EXPECT_TRUE(IsWindowVisible(selvithWindow));
    SendCommand(frame, 5220);
    EXPECT_FALSE(IsWindowVisible(selvithWindow));
    SendCommand(frame, 5220);
    EXPECT_TRUE(IsWindowVisible(selvithWindow));
}

TEST_F(LiveViewCommands, ClosingTheViewHidesItAndGoesBackToTheSelectTool)
{
    SendCommand(frame, 5270);
    // The general strip's buttons of tools 200 to 206: going back selects the first.
    HWND buttons[7];
    for (int i = 0; i < 7; ++i)
        buttons[i] = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 22 * i, 20, 20,
                                     frameToolWindows[0], nullptr, nullptr, nullptr);
    highlightedPane = buttons[3];
    currentToolId = 7051;
    SendMessageA(selvithWindow, WM_CLOSE, 0, 0);
    ASSERT_TRUE(IsWindow(selvithWindow));
    EXPECT_FALSE(IsWindowVisible(selvithWindow));
    EXPECT_EQ(200, currentToolId);
    EXPECT_EQ(buttons[0], highlightedPane);
}

TEST_F(LiveViewCommands, CameraTransparencyAndFramingCommands)
{
    SendCommand(frame, 5270);
    settings->cameraMode = 2;
    settings->aerialPitch = 7.0f;
    settings->aerialYaw = 100.0f;
    orbitDistance = 900.0f;
    SendCommand(frame, 5241);
    EXPECT_EQ(20.0f, settings->aerialPitch);
    EXPECT_EQ(330.0f, settings->aerialYaw);
    EXPECT_EQ(1500.0f, orbitDistance);

    SendCommand(frame, 5325);
    EXPECT_EQ(1, settings->view3DFlag1490);
    EXPECT_EQ(6, settings->view3DMode);
    SendCommand(frame, 5325);
    EXPECT_EQ(0, settings->view3DFlag1490);
    EXPECT_EQ(5, settings->view3DMode);

    SendCommand(frame, 5287);
    EXPECT_EQ("Selvith (Visuale struttura)", WindowText(selvithWindow));
    EXPECT_EQ(1, settings->framingStyle);
    SendCommand(frame, 5288);
    EXPECT_EQ("Selvith (Visuale completa)", WindowText(selvithWindow));
    EXPECT_EQ(0, settings->framingStyle);
}

TEST_F(LiveViewCommands, Command5317GivesTheWalkProjectionFortyDegrees)
{
    SendCommand(frame, 5270);
    SendCommand(frame, 5317);
    EXPECT_EQ(5317, fieldOfViewCommand);
    settings->cameraMode = 1;
    SetupViewport3D();
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    // The perspective's y scale is the cotangent of half the field of view.
    EXPECT_NEAR(projection[5], 1.0 / std::tan(20.0 * M_PI / 180.0), 1e-4);
    settings->cameraMode = 2;
    SetupViewport3D();
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(projection[5], 1.0 / std::tan(16.5 * M_PI / 180.0), 1e-4);
}
