// Input polling through the input source and the queue peeks, and the small drawing
// routines of the plan view.
// It changes the profile's double-click time for a moment: never beside the tests that
// finish tools with real input.
// velmora-test: screen
#include "support_drawing.h"
#include "support_plan.h"
#include "model/plan_document.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include <cstring>

using vtest::DibSurface;
using vtest::InputScope;
using vtest::MetafileRecorder;
using vtest::PlanViewTest;
using vtest::ScriptedInput;

namespace {

class InputGdiTest : public PlanViewTest {
protected:
    void SetUp() override
    {
        PlanViewTest::SetUp();
        DrainQueue();
        planDC = nullptr;
        planOutputMode = 0;
    }
    void TearDown() override
    {
        DrainQueue();
        planDC = nullptr;
        planOutputMode = 0;
        PlanViewTest::TearDown();
    }
    static void DrainQueue()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    void Post(UINT message, WPARAM wParam = 0) { PostMessageA(pane, message, wParam, 0); }
    static bool Queued(UINT message, WPARAM* wParam = nullptr)
    {
        MSG found;
        if (!PeekMessageA(&found, nullptr, message, message, PM_NOREMOVE))
            return false;
        if (wParam)
            *wParam = found.wParam;
        return true;
    }
};

TEST_F(InputGdiTest, RemovingPeekLeavesCommandsAndRegisteredMessagesQueued)
{
    const UINT update = RegisterWindowMessageA("UPDATE SPREADSHEET");
    Post(update);
    Post(WM_COMMAND, 5262);
    Post(WM_USER + 7);
    Post(WM_KEYDOWN, VK_ESCAPE);
    MSG message = {};
    EXPECT_TRUE(PeekButtonOrKeyMessage(&message));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(message.wParam, static_cast<WPARAM>(VK_ESCAPE));
    EXPECT_FALSE(Queued(WM_KEYDOWN));
    EXPECT_FALSE(PeekClickOrKeyMessage(&message));   // nothing of its kinds is left

    WPARAM command = 0;
    EXPECT_TRUE(Queued(WM_COMMAND, &command));
    EXPECT_EQ(command, static_cast<WPARAM>(5262));
    EXPECT_TRUE(Queued(update));
    EXPECT_TRUE(Queued(WM_USER + 7));
}

TEST_F(InputGdiTest, MouseMoveAtTheHeadIsTakenAndReportsFalse)
{
    Post(WM_MOUSEMOVE);
    Post(WM_KEYDOWN, 'A');
    MSG message = {};
    EXPECT_FALSE(PeekButtonOrKeyMessage(&message));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_FALSE(Queued(WM_MOUSEMOVE));
    EXPECT_TRUE(PeekButtonOrKeyMessage(&message));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_FALSE(PeekButtonOrKeyMessage(&message));
}

TEST_F(InputGdiTest, EachPeekAnswersForItsKinds)
{
    MSG message = {};
    Post(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(PeekClickOrKeyMessage(&message));
    Post(WM_LBUTTONDBLCLK);
    EXPECT_FALSE(PeekButtonOrKeyMessage(&message));   // taken all the same
    EXPECT_FALSE(Queued(WM_LBUTTONDBLCLK));
    Post(WM_NCRBUTTONDOWN);
    EXPECT_TRUE(PeekButtonDownMessage(&message));
    Post(WM_KEYDOWN, 'B');
    EXPECT_FALSE(PeekButtonDownMessage(&message));
    EXPECT_FALSE(Queued(WM_KEYDOWN));
    Post(WM_RBUTTONDOWN);
    EXPECT_TRUE(PeekButtonOrKeyMessage(nullptr));
}

TEST_F(InputGdiTest, NonRemovingPeeksLeaveTheMessage)
{
    Post(WM_COMMAND, 9);
    Post(WM_LBUTTONUP);
    MSG message = {};
    EXPECT_FALSE(PeekButtonOrKeyMessageNoRemove(&message));
    EXPECT_TRUE(PeekMouseOrKeyMessageNoRemove(&message));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_TRUE(Queued(WM_LBUTTONUP));
    Post(WM_RBUTTONDOWN);
    EXPECT_TRUE(Queued(WM_COMMAND));
}

TEST_F(InputGdiTest, ButtonsCursorAndClockComeFromTheInputSource)
{
    ScriptedInput input;
    InputScope scope(&input);
    EXPECT_FALSE(IsMouseButtonDown());
    input.keys[VK_RBUTTON] = {static_cast<SHORT>(0x8000)};
    EXPECT_TRUE(IsMouseButtonDown());
    EXPECT_FALSE(IsLeftButtonDown());
    input.keys[VK_LBUTTON] = {1};   // pressed earlier, not held
    EXPECT_FALSE(IsLeftButtonDown());
    input.now = 123456;
    EXPECT_EQ(GetInputTickCount(), 123456u);
    EXPECT_FALSE(PollRenderRightButton());   // no render window
}

LRESULT CALLBACK OwnDcProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(InputGdiTest, CursorInLogicalUnitsOfThePane)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = OwnDcProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VelmoraOwnDcTest";
    RegisterClassA(&windowClass);
    HWND owned = CreateWindowA("VelmoraOwnDcTest", "", WS_POPUP, 20, 10, 200, 200, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owned, nullptr);
    HDC dc = GetDC(owned);
    SetWindowOrgEx(dc, 100, 200, nullptr);
    ReleaseDC(owned, dc);

    ScriptedInput input;
    input.cursor = {50, 50};   // screen: client (30, 40)
    InputScope scope(&input);
    activePlanPane = owned;
    POINT point = GetCursorLogicalPos();
    EXPECT_EQ(point.x, 130);
    EXPECT_EQ(point.y, 240);
    POINT other = {-1, -1};
    GetCursorLogicalPosInWindow(nullptr, &other);
    EXPECT_EQ(other.x, -1);
    GetCursorLogicalPosInWindow(owned, nullptr);
    activePlanPane = pane;
    DestroyWindow(owned);
}

TEST_F(InputGdiTest, DoubleClickSpeedIsTheProfilesWithinWhatTheSystemAllows)
{
    const struct { const char* value; uint32_t speed; } cases[] = {
        {"", 550}, {"-1", 550}, {"fast", 550}, {"12ms", 550}, {"300", 300}, {"20000", 5000}, {nullptr, 550}};
    for (const auto& c : cases) {
        WriteProfileStringA("windows", "DoubleClickSpeed", c.value);
        EXPECT_EQ(GetDoubleClickSpeed(), c.speed) << (c.value ? c.value : "absent");
    }
}

TEST_F(InputGdiTest, RectanglesFromCorners)
{
    RECT rect;
    MakeRectFromCorners(10, 5, 2, 8, &rect);
    EXPECT_EQ(rect.left, 2);
    EXPECT_EQ(rect.top, 5);
    EXPECT_EQ(rect.right, 10);
    EXPECT_EQ(rect.bottom, 8);
    EXPECT_FALSE(IsRectSinglePoint(&rect));
    MakeRectFromCorners(4, 4, 4, 4, &rect);
    EXPECT_TRUE(IsRectSinglePoint(&rect));
    EXPECT_TRUE(IsRectSinglePoint(nullptr));
}

TEST_F(InputGdiTest, ArcEndPointsWhilePrinting)
{
    MetafileRecorder record;
    planDC = record.dc();
    planOutputMode = 1;
    const RECT circle = {0, 0, 100, 100};
    // Clockwise from the top over 90 degrees: drawn counter-clockwise from 3 o'clock
    // (on a circle of radius 100 about the centre) to 12 o'clock. Coordinates get +0.5
    // and truncation toward zero, so -50 becomes -49.
    DrawPlanArc(&circle, 0, 90);
    DrawPlanArc(&circle, 0, -90);    // the other way: from 12 to 9 o'clock reversed
    DrawPlanArc(&circle, 30, 0);     // no sweep
    const RECT tiny = {0, 0, 2, 2};
    DrawPlanArc(&tiny, 0, 1);        // both ends round to one pixel
    const RECT flat = {0, 0, 200, 100};
    DrawPlanArc(&flat, 90, 90);      // ellipse: y scaled by 1/2
    const RECT line = {5, 5, 5, 5};
    DrawPlanArc(&line, 0, 90);
    DrawPlanArc(nullptr, 0, 90);
    const auto& arcs = record.Arcs();
    ASSERT_EQ(arcs.size(), 3u);
    EXPECT_EQ(arcs[0].start.x, 150);
    EXPECT_EQ(arcs[0].start.y, 50);
    EXPECT_EQ(arcs[0].end.x, 50);
    EXPECT_EQ(arcs[0].end.y, -49);
    EXPECT_EQ(arcs[1].start.x, 50);
    EXPECT_EQ(arcs[1].start.y, -49);
    EXPECT_EQ(arcs[1].end.x, -49);
    EXPECT_EQ(arcs[1].end.y, 50);
    EXPECT_EQ(arcs[2].start.x, 100);
    EXPECT_EQ(arcs[2].start.y, 150);
    EXPECT_EQ(arcs[2].end.x, 300);
    EXPECT_EQ(arcs[2].end.y, 50);
}

TEST_F(InputGdiTest, TextWhilePrintingKeepsThePrintDcBackgroundMode)
{
    DibSurface page(200, 100);
    SetBkMode(page.dc(), OPAQUE);
    SetTextAlign(page.dc(), TA_TOP | TA_LEFT);
    MoveToEx(page.dc(), 10, 60, nullptr);
    planDC = page.dc();
    planOutputMode = 1;
    DrawTextAt(nullptr, "Abc");
    EXPECT_EQ(GetBkMode(page.dc()), OPAQUE);
    EXPECT_EQ(GetTextAlign(page.dc()), static_cast<UINT>(TA_TOP | TA_LEFT));
    POINT position;
    GetCurrentPositionEx(page.dc(), &position);
    EXPECT_GT(position.x, 10);   // the current position moved on
    EXPECT_LT(page.CountAll(RGB(255, 255, 255)), 200 * 100);

    // On the screen the DC's own modes come back too.
    planOutputMode = 0;
    DibSurface screen(200, 100);
    SetBkMode(screen.dc(), OPAQUE);
    MoveToEx(screen.dc(), 10, 60, nullptr);
    DrawTextAtDC(screen.dc(), "Abc");
    EXPECT_EQ(GetBkMode(screen.dc()), OPAQUE);
    EXPECT_EQ(GetTextAlign(screen.dc()), static_cast<UINT>(TA_TOP | TA_LEFT));
}

TEST_F(InputGdiTest, TextWidthAndMetrics)
{
    DibSurface surface(10, 10);
    EXPECT_EQ(GetTextWidth(nullptr, "Abc"), 2);
    EXPECT_EQ(GetTextWidth(surface.dc(), nullptr), 2);
    EXPECT_EQ(GetTextWidth(surface.dc(), ""), 2);
    SIZE size;
    GetTextExtentPoint32A(surface.dc(), "Abc", 3, &size);
    EXPECT_EQ(GetTextWidth(surface.dc(), "Abc"), size.cx + 2);
    EXPECT_GT(size.cx, 0);

    uint16_t ascent = 9, descent = 9, widest = 9, leading = 9;
    GetTextMetricsOfDC(nullptr, &ascent, &descent, &widest, &leading);
    EXPECT_EQ(ascent + descent + widest + leading, 0);
    GetTextMetricsOfDC(surface.dc(), &ascent, &descent, &widest, &leading);
    EXPECT_GT(ascent, 0);
    EXPECT_GT(widest, 0);
}

TEST_F(InputGdiTest, FillColourOfThePlan)
{
    DibSurface surface(20, 20);
    RECT area = {2, 2, 8, 8};
    FillRectWithFillColour(surface.dc(), &area);
    EXPECT_EQ(surface.Pixel(5, 5), RGB(248, 248, 255));
    EXPECT_EQ(surface.Pixel(9, 9), RGB(255, 255, 255));
    activeDocument = nullptr;
    RECT other = {10, 10, 15, 15};
    FillRectWithFillColour(surface.dc(), &other);
    EXPECT_EQ(surface.Pixel(12, 12), RGB(255, 255, 255));
    activeDocument = document;
}

TEST_F(InputGdiTest, MenuCommandsByCommandId)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 5044, "Griglia");
    CheckMenuCommand(menu, 5044, true);
    EXPECT_TRUE(GetMenuState(menu, 5044, MF_BYCOMMAND) & MF_CHECKED);
    CheckMenuCommand(menu, 5044, false);
    EXPECT_FALSE(GetMenuState(menu, 5044, MF_BYCOMMAND) & MF_CHECKED);
    GrayMenuCommand(menu, 5044);
    EXPECT_TRUE(GetMenuState(menu, 5044, MF_BYCOMMAND) & MF_GRAYED);
    EnableMenuCommand(menu, 5044);
    EXPECT_FALSE(GetMenuState(menu, 5044, MF_BYCOMMAND) & MF_GRAYED);
    CheckMenuCommand(nullptr, 5044, true);
    DestroyMenu(menu);
}

} // namespace
