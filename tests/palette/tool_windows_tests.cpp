// velmora-test: desktop
// velmora-test: timeout 300
#include "support_palette.h"
#include "model/plan_document.h"
#include "palette/category_tabs.h"
#include "palette/tool_windows.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "support/input_fixtures.h"
#include "support/window_pixels.h"
#include "tools/tool_state.h"
#include <commctrl.h>
#include <map>

using namespace ptest;

namespace {

// The strip's buttons by tool id, with their places in the strip.
std::map<int, RECT> ButtonPlaces(HWND strip)
{
    std::map<int, RECT> places;
    for (HWND b = GetWindow(strip, GW_CHILD); b; b = GetWindow(b, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(b, &r);
        MapWindowPoints(nullptr, strip, reinterpret_cast<POINT*>(&r), 2);
        if (ToolButtonRecord* record = ToolButtonOf(b))
            places[record->toolId] = r;
    }
    return places;
}

std::string TooltipOf(HWND strip, HWND button)
{
    char text[128] = "";
    TOOLINFOA info = {};
    info.cbSize = sizeof(info);
    info.hwnd = strip;
    info.uId = reinterpret_cast<UINT_PTR>(button);
    info.lpszText = text;
    SendMessageA(tooltipWindow, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    return text;
}

class ToolStrips : public PaletteTest {};

TEST_F(ToolStrips, ButtonsAreLaidOutByKindAndNamedByTooltips)
{
    const struct {
        int strip;
        int first;
        int count;
        RECT firstPlace;
        int dx;
        int dy;
    } strips[] = {{0, 200, 7, {0, 0, 21, 23}, 0, 22}, {3, 7100, 18, {1, 0, 35, 27}, 33, 0}};
    for (const auto& s : strips) {
        std::map<int, RECT> places = ButtonPlaces(frameToolWindows[s.strip]);
        ASSERT_EQ((int)places.size(), s.count);
        for (int i = 0; i < s.count; ++i) {
            const RECT& r = places[s.first + i];
            EXPECT_EQ(r.left, s.firstPlace.left + s.dx * i) << s.first + i;
            EXPECT_EQ(r.top, s.firstPlace.top + s.dy * i) << s.first + i;
            EXPECT_EQ(r.right - r.left, s.firstPlace.right - s.firstPlace.left);
            EXPECT_EQ(r.bottom - r.top, s.firstPlace.bottom - s.firstPlace.top);
        }
    }
    // The last general button is at 132; the last electrical one at 562.
    EXPECT_EQ(ButtonPlaces(frameToolWindows[0])[206].top, 132);
    EXPECT_EQ(ButtonPlaces(frameToolWindows[3])[7117].left, 562);
    HWND electrical = frameToolWindows[3];
    EXPECT_EQ(TooltipOf(electrical, FindToolButton(electrical, 7108)), "Interruttore");
    HWND floorStrip = FloorButtonToolWindow();
    EXPECT_EQ(TooltipOf(floorStrip, FindToolButton(floorStrip, 3300)), "");
    EXPECT_EQ(currentToolId, 200);
    EXPECT_EQ(highlightedPane, FindToolButton(frameToolWindows[0], 200));
}

POINT CentreOf(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The plan pane's cursor for a creation tool (momentary buttons leave the arrow).
HCURSOR ExpectedCursor(int tool)
{
    const std::map<int, int> named = {
        {7051, WallCursorIndex}, {7052, DoorCursorIndex}, {7053, DoorCursorIndex},
        {7054, WindowCursorIndex}, {7059, FloorCursorIndex}, {7300, RoofCursorIndex},
        {7502, PathCursorIndex}, {7503, FillCursorIndex}, {7504, EdgingCursorIndex},
        {7505, FenceCursorIndex}, {7506, GateCursorIndex}, {7510, TopoCursorIndex},
        {7511, TopoCursorIndex}};
    if (tool == 7061 || tool == 7512)
        return LoadCursorA(nullptr, IDC_ARROW);
    auto found = named.find(tool);
    return found != named.end() ? namedCursors[found->second] : LoadCursorA(nullptr, IDC_CROSS);
}

// Other test programs' windows share the screen and come and go over the frame: the frame
// is raised until the point shows a window of this program, so that no click lands in
// another test, and a click whose press never reached this program is sent again. Once a
// press came it is the only one, and its effect is the caller's to check.
void Click(HWND frame, POINT p)
{
    const int presses = vtest::ClickUntilReceived(
        [&] {
            for (int wait = 0; wait < 250; ++wait) {
                SetWindowPos(frame, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                SetWindowPos(frame, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
                if (GetWindowThreadProcessId(WindowFromPoint(p), nullptr) == GetCurrentThreadId())
                    break;
                PaletteTest::Pump(20);
            }
        },
        [&] { vtest::ClickAt(p); });
    EXPECT_EQ(presses, 1) << "at " << p.x << ", " << p.y;
}

// A press that reaches the program only while the next attempt raises the frame is the
// click's: no second click follows it.
TEST(RealClicks, APressThatComesLateIsNotFollowedByASecondClick)
{
    HWND target = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
    ASSERT_NE(target, nullptr);
    int raises = 0, clicks = 0;
    const int presses = vtest::ClickUntilReceived(
        [&] {
            if (++raises == 2) {
                PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, 0);
                PaletteTest::Pump(20);
            }
        },
        [&] { ++clicks; });
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(raises, 2);
    DestroyWindow(target);
}

// The button's pixel as it shows, with the frame on top of whatever else is there.
COLORREF ShownPixel(HWND frame, HWND button, int x, int y)
{
    SetWindowPos(frame, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return vtest::WindowPixel(button, x, y);
}

// Of 3449 and 3450 only 3450 has a picture among the resources: only its button has a
// record and takes a press (a swallowed one). 201 shows its own picture: a black bar.
TEST_F(ToolStrips, AButtonWithoutItsPictureHasNoRecordAndIgnoresPresses)
{
    const ToolPaneDescriptor descriptor = {3, 3449, 2};
    HWND missing = GetWindow(CreateToolWindow(&descriptor, 0, 300, 80, 28, 120, frame), GW_CHILD);
    EXPECT_EQ(ToolButtonOf(missing), nullptr);
    for (HWND button : {missing, GetWindow(missing, GW_HWNDNEXT)}) {
        swallowNextToolClick = 1;
        SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        EXPECT_EQ(swallowNextToolClick, button == missing ? 1 : 0);
    }
    ShowFrame();
    EXPECT_EQ(ShownPixel(frame, FindToolButton(frameToolWindows[0], 201), 4, 4), RGB(0, 0, 0));
}

TEST_F(ToolStrips, RealClicksOnEveryTabAndToolMakeItCurrentPressedAndItsCursorThePlans)
{
    OpenPlan();
    ShowFrame();
    const COLORREF lit = GetSysColor(COLOR_3DLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    for (uint16_t tab = 0; tab < ToolTabCount; ++tab) {
        // The active tab lies under the active-tab button, whose click opens the layer menu.
        if (tab != activeToolTab) {
            POINT slot = {59 * tab + 20, 9};
            ClientToScreen(categoryTabStrip, &slot);
            Click(frame, slot);
        }
        ASSERT_EQ(activeToolTab, tab);
        HWND strip = ToolStripOfTab(tab);
        ASSERT_TRUE(IsWindowVisible(strip)) << tab;
        for (const auto& place : ButtonPlaces(strip)) {
            const int tool = place.first;
            HWND button = FindToolButton(strip, (uint16_t)tool);
            const bool momentary = tool == 7061 || tool == 7512;
            Click(frame, CentreOf(button));
            EXPECT_EQ(currentToolId, momentary ? 200 : tool) << tool;
            EXPECT_EQ(GetClassLongPtrA(activePlanPane, GCLP_HCURSOR),
                      reinterpret_cast<LONG_PTR>(ExpectedCursor(tool)))
                << tool;
            if (momentary)
                continue;
            // The current tool's picture (lit grey) inside a sunken edge.
            EXPECT_EQ(ShownPixel(frame, button, 2, 23), lit) << tool;
            EXPECT_EQ(ShownPixel(frame, button, 1, 1), shadow) << tool;
        }
    }
    SetWindowPos(frame, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

} // namespace
