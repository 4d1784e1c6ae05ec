#include <gtest/gtest.h>
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "shell/status_bar.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "planview/output_routing.h"
#include "render3d/high_quality_render.h"
#include "support/test_support.h"
#include "support/window_pixels.h"
#include "support_shell.h"
#include <algorithm>
#include <cstring>

namespace {

// The bar is drawn on the screen: the frame is shown for these tests so its pixels can
// be read back, small and in a corner of the display, out of the way of other tests'
// windows.
class StatusBar : public testing::Test {
protected:
    void SetUp() override
    {
        frame = shelltest::StartShell();
        ASSERT_NE(nullptr, frame);
        SetWindowLongPtrA(frame, GWL_STYLE, GetWindowLongPtrA(frame, GWL_STYLE) & ~WS_MAXIMIZE);
        SetWindowPos(frame, nullptr, GetSystemMetrics(SM_CXSCREEN) - 520, GetSystemMetrics(SM_CYSCREEN) - 170,
                     500, 150, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        UpdateWindow(frame);
        vtest::PumpMessages();
        face = GetSysColor(COLOR_BTNFACE);
    }
    void TearDown() override
    {
        planOutputMode = 0;
        finalRenderRequested = 0;
        if (document) {
            FreePlanDocument(document);
            document = nullptr;
        }
        activeDocument = nullptr;
        shelltest::StopShell();
    }

    // Pixels of the bar's client area that are not the button face: drawn text or bar.
    int MarkedPixels()
    {
        const std::vector<COLORREF> pixels = vtest::ClientPixels(statusBarWindow, 400);
        return static_cast<int>(pixels.size() - std::count(pixels.begin(), pixels.end(), face));
    }
    COLORREF PixelAt(int x, int y) { return vtest::WindowPixel(statusBarWindow, x, y); }
    void OpenDocument()
    {
        document = CreatePlanDocument();
        ASSERT_NE(nullptr, document);
        activeDocument = document;
    }

    HWND frame = nullptr;
    COLORREF face = 0;
    PlanDocument* document = nullptr;
};

TEST_F(StatusBar, PaintShowsTheDefaultHelp)
{
    ClearStatusBar();
    EXPECT_EQ(0, MarkedPixels());
    RedrawWindow(statusBarWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(MarkedPixels(), 20);
    EXPECT_STREQ("Premere F1 per visualizzare la Guida", statusDefaultText);
}

TEST_F(StatusBar, FirstDefaultRequestDrawsNothing)
{
    ClearStatusBar();
    lastStatusId = -1;
    ShowStatusHelp(-1);
    EXPECT_EQ(0, MarkedPixels());
    lastStatusId = 5;
    ShowStatusHelp(-1);
    EXPECT_GT(MarkedPixels(), 20);
    EXPECT_EQ(-1, lastStatusId);
}

TEST_F(StatusBar, SameIdTwiceDrawsOnce)
{
    std::strcpy(customStatusText, "MMMMMMMM");
    lastStatusId = -1;
    ShowStatusHelp(-4);
    int drawn = MarkedPixels();
    EXPECT_GT(drawn, 20);
    ClearStatusBar();
    ShowStatusHelp(-4);
    EXPECT_EQ(0, MarkedPixels());
    // A caller with a new text clears the last id first, so it is always shown.
    lastStatusId = -1;
    ShowStatusHelp(-4);
    EXPECT_EQ(drawn, MarkedPixels());
}

TEST_F(StatusBar, EmptyTextKeepsTheOldText)
{
    std::strcpy(customStatusText, "MMMMMMMM");
    lastStatusId = -1;
    ShowStatusHelp(-4);
    int drawn = MarkedPixels();
    symbarStatusText[0] = 0;
    ShowStatusHelp(-3);
    EXPECT_EQ(-3, lastStatusId);
    EXPECT_EQ(drawn, MarkedPixels());
    // So does an id without a string-table text.
    ShowStatusHelp(32123);
    EXPECT_EQ(drawn, MarkedPixels());
}

TEST_F(StatusBar, NothingIsDrawnWhileThePlanGoesToAPrinter)
{
    ClearStatusBar();
    planOutputMode = 1;
    SetStatusText("MMMMMMMM");
    EXPECT_EQ(0, MarkedPixels());
    planOutputMode = 0;
    SetStatusText("MMMMMMMM");
    EXPECT_GT(MarkedPixels(), 20);
}

TEST_F(StatusBar, ProgressIsThrottledTo100Milliseconds)
{
    ClearStatusBar();
    DWORD recent = GetTickCount() - 50;
    progressTick = recent;
    ShowRenderingProgress();
    EXPECT_EQ(0, MarkedPixels());
    EXPECT_EQ(recent, progressTick);

    progressTick = GetTickCount() - 200;
    ShowPreparing3DViewProgress();
    EXPECT_GT(MarkedPixels(), 20);
    EXPECT_LE(GetTickCount() - progressTick, 100u);

    ResetStatusProgress();
    EXPECT_EQ(0u, progressTick);
    EXPECT_EQ(0, MarkedPixels());
}

TEST_F(StatusBar, RenderProgressBarFillsItsShareOfTheBar)
{
    OpenDocument();
    // A bar of 400 pixels between its 2-pixel margins.
    RECT window;
    GetWindowRect(statusBarWindow, &window);
    RECT client;
    GetClientRect(statusBarWindow, &client);
    SetWindowPos(statusBarWindow, nullptr, 0, 0, 404 + (window.right - window.left) - client.right,
                 window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(statusBarWindow, &client);
    ASSERT_EQ(404, client.right);
    COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);

    ClearStatusBar();
    DrawRenderProgressBar(0, 10);
    EXPECT_EQ(0, MarkedPixels());

    DrawRenderProgressBar(5, 10);
    int right = 202;
    EXPECT_EQ(highlight, PixelAt(2, 5));
    EXPECT_EQ(highlight, PixelAt(right - 1, 5));
    EXPECT_EQ(face, PixelAt(right, 5));
    EXPECT_EQ(face, PixelAt(2, 1));

    // With shadows the total counts twice.
    ClearStatusBar();
    document->settings->renderQuality = 1;
    DrawRenderProgressBar(5, 10);
    right = 102;
    EXPECT_EQ(highlight, PixelAt(right - 1, 5));
    EXPECT_EQ(face, PixelAt(right, 5));

    // The final render runs passes - 1 times as many steps (4 passes).
    ClearStatusBar();
    document->settings->renderQuality = 0;
    document->settings->antiAliasPasses = 4;
    finalRenderRequested = 1;
    DrawRenderProgressBar(6, 10);
    right = 82;
    EXPECT_EQ(highlight, PixelAt(right - 1, 5));
    EXPECT_EQ(face, PixelAt(right, 5));
}

TEST_F(StatusBar, RenderProgressBarNeedsADocument)
{
    ClearStatusBar();
    DrawRenderProgressBar(10, 10);
    EXPECT_EQ(0, MarkedPixels());
}

} // namespace
