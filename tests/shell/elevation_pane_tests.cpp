#include <gtest/gtest.h>
#include "shell/elevation_pane.h"
#include "shell/frame_window.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "planview/input_gdi.h"
#include "support/input_fixtures.h"
#include "support/test_support.h"
#include "support/window_pixels.h"
#include "support_commands.h"
#include "support_shell.h"
#include <cmath>
#include <limits>
#include <vector>

namespace {

// Replays a drag over pane points: one pointer position per poll with the left button
// held, released after the last one.
class DragTape : public InputSource {
public:
    std::vector<POINT> path;
    size_t polls = 0;
    SHORT KeyState(int key) override { return key == VK_LBUTTON && polls < path.size() ? SHORT(0x8000) : 0; }
    BOOL CursorPos(POINT* point) override
    {
        *point = path[polls < path.size() ? polls : path.size() - 1];
        ClientToScreen(elevationPaneWindow, point);
        ++polls;
        return TRUE;
    }
};

// A shown frame whose pane is 291 pixels high (steps of 8.56), with one plan.
class ElevationPane : public testing::Test {
protected:
    void SetUp() override
    {
        frame = shelltest::StartShell();
        ASSERT_NE(nullptr, frame);
        // At the left edge of the screen, clear of the frames other tests show, and never
        // taking the keyboard from them.
        SetWindowPos(frame, HWND_TOP, 0, 0, 280, 600, SWP_SHOWWINDOW | SWP_NOACTIVATE);
        shelltest::SetFrameClientSize(frame, 260, 500);
        shelltest::SendCommand(frame, 2);
        ASSERT_NE(nullptr, activeDocument);
        settings = activeDocument->settings;
        RECT client;
        GetClientRect(elevationPaneWindow, &client);
        ASSERT_EQ(291, client.bottom);
        vtest::PumpMessages();
    }
    void TearDown() override
    {
        shelltest::ForgetDocumentChanges();
        shelltest::StopShell();
    }
    void Layout(uint8_t first, uint8_t same, float inches)
    {
        settings->workingElevationValue = {first, same, inches};
        LayoutElevationPane(settings->workingElevationValue);
    }
    // Presses (on the arrow or at a pane point) and drags through pane points.
    void Drag(HWND target, int pressY, std::vector<int> pathY)
    {
        DragTape tape;
        for (int y : pathY)
            tape.path.push_back({10, y});
        vtest::InputScope scope(&tape);
        SendMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, pressY));
    }
    COLORREF PanePixel(int y) { return vtest::WindowPixel(elevationPaneWindow, 21, y); }
    int ArrowTop() { return shelltest::ChildPlacement(elevationArrowWindow).top; }

    HWND frame = nullptr;
    PlanSettings* settings = nullptr;
    vtest::MessageBoxRecorder boxes;
};

TEST_F(ElevationPane, ValuesPlaceOrHideTheArrow)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        uint16_t units;
        uint8_t first, same;
        float inches;
        bool arrow;
        int index, top;   // the arrow's step and its y in the pane, when shown
        bool bar;
    } cases[] = {
        {3, 1, 1, 0.0f, true, 22, 182, true},    {3, 1, 1, 36.0f, true, 19, 157, true},
        {3, 0, 1, 300.0f, true, -3, -31, true},  {4, 1, 1, 118.11f, true, 19, 157, true},
        {4, 0, 1, -393.7f, true, 32, 268, true}, {4, 0, 1, 117.92f, true, 19, 157, true},
        {3, 0, 0, 36.0f, false, 0, 0, false},
        {3, 1, 1, nan, false, 0, 0, false},      {3, 1, 1, 1.0e30f, false, 0, 0, false},
    };
    for (const Case& c : cases) {
        settings->unitSystem = c.units;
        Layout(c.first, c.same, c.inches);
        EXPECT_EQ(c.arrow, IsWindowVisible(elevationArrowWindow) != 0) << c.inches;
        EXPECT_EQ(c.bar, elevationValueShown != 0) << c.inches;
        if (c.arrow) {
            EXPECT_EQ(c.index, elevationArrowIndex) << c.inches;
            EXPECT_EQ(c.top, ArrowTop()) << c.inches;
        }
    }

    // 30 inches lies between steps: no arrow, the shadow bar from step 19.5 down, that is
    // from y 167 (19.5 x 291 / 34 = 166.9, rounded).
    settings->unitSystem = 3;
    Layout(0, 1, 30.0f);
    EXPECT_FALSE(IsWindowVisible(elevationArrowWindow));
    EXPECT_FLOAT_EQ(19.5f, elevationPaneValue);
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), PanePixel(167));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PanePixel(166));
}

TEST_F(ElevationPane, DragsSetTheWorkingElevation)
{
    struct Case {
        uint16_t units;
        float start;       // inches
        bool onArrow;      // else a press on the pane at the first point
        std::vector<int> path;
        float elevation;   // inches
    } cases[] = {
        {3, 0.0f, true, {180, 100, 40, 0, -30}, 240.0f},     // to the top: step 2, +20 feet
        {4, 0.0f, true, {180, 100, 0}, 787.4f},              // +20 metres
        {3, 300.0f, true, {0, 150, 300, 290}, -120.0f},      // from off the scale to the bottom
        {3, 0.0f, false, {180}, 12.0f},                      // a press on step 21
    };
    for (const Case& c : cases) {
        settings->unitSystem = c.units;
        settings->modified = 0;
        settings->workingElevation = c.start;
        Layout(1, 1, c.start);
        HWND target = c.onArrow ? elevationArrowWindow : elevationPaneWindow;
        Drag(target, c.path[0], c.path);
        EXPECT_FLOAT_EQ(c.elevation, settings->workingElevation) << c.path.back();
        EXPECT_EQ(1u, settings->modified);
    }
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(ElevationPane, MixedSelectionMovesOnlyAfterYes)
{
    settings->unitSystem = 3;
    PlanObject* low = shelltest::AddLine(shelltest::Storey("First Floor"), {{0, 0}, {50, 0}}, true);
    PlanObject* high = shelltest::AddLine(shelltest::Storey("First Floor"), {{0, 20}, {50, 20}}, true);
    low->elevation = 0.0f;
    high->elevation = 36.0f;
    for (int answer : {IDNO, IDYES}) {
        boxes.QueueAnswer(answer);
        Layout(0, 0, 0.0f);
        settings->modified = 0;
        Drag(elevationPaneWindow, 171, {171});   // step 20: 2 feet
        ASSERT_EQ(answer == IDNO ? 1u : 2u, boxes.Count());
        EXPECT_EQ("Questa nuova impostazione per l'elevazione sarà applicata a tutti gli oggetti attualmente "
                  "selezionati. Spostare tutti gli oggetti selezionati su questa nuova elevazione?",
                  boxes.Last().text);
        EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL), boxes.Last().flags);
        EXPECT_FLOAT_EQ(answer == IDNO ? 0.0f : 24.0f, low->elevation);
        EXPECT_FLOAT_EQ(answer == IDNO ? 36.0f : 24.0f, high->elevation);
        EXPECT_EQ(answer == IDNO ? 0u : 1u, settings->modified);
    }
}

} // namespace
