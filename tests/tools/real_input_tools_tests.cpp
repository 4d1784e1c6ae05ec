// Real input on the shown frame: a sprinkler placed with its throw and its angle, a
// text frame opened by a click and typed into, placements, polylines and curves ended by
// Escape, the frame's answer after a long double-click time, the scroll bars' scrolling,
// and presses made through the display off the pane while a tool waits for its click.
// velmora-test: timeout 300
// velmora-test: desktop
#include "support_tools.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "palette/category_tabs.h"
#include "palette/tool_windows.h"
#include "shell/command_dispatcher.h"
#include "shell/frame_window.h"
#include "planview/output_routing.h"
#include "shell/camera_presets.h"
#include "support/modal_driver.h"
#include "support/test_support.h"
#include "support/window_pixels.h"
#include "palette/tool_windows.h"
#include "tools/point_mapping.h"
#include "tools/tool_state.h"

namespace {

using tooltest::InputStep;
using tooltest::ShownFrame;

// A wall on the current floor between two points of the pane, in its pixels.
void AddWallBetween(HWND pane, POINT a, POINT b)
{
    POINT ends[2] = {a, b};
    HDC dc = GetDC(pane);
    DPtoLP(dc, ends, 2);
    ReleaseDC(pane, dc);
    float p[2][3];
    for (int i = 0; i < 2; ++i)
        MapPlanPointToModel(ends[i].x, ends[i].y, &p[i][0], &p[i][1], &p[i][2], 0, nullptr, 1);
    vtest::AddWall(activeDocument->currentFloor, {{p[0][0], 0, p[0][2]}, {p[1][0], 0, p[1][2]}}, 2);
}

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
    // The tool's button, its tab shown (the one shown when it has it).
    HWND ShowToolButton(int16_t tool)
    {
        for (int t = -1; t < ToolTabCount; ++t) {
            if (t >= 0)
                SetActiveToolTab(uint16_t(t));
            for (int i = 0; i < FrameToolWindowCount; ++i)
                if (frameToolWindows[i] && IsWindowVisible(frameToolWindows[i]))
                    if (HWND button = FindToolButton(frameToolWindows[i], tool))
                        return button;
        }
        return nullptr;
    }
    static POINT Centre(HWND w)
    {
        RECT r;
        GetWindowRect(w, &r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    static std::string At(POINT p) { return " mousemove " + std::to_string(p.x) + " " + std::to_string(p.y) + " sleep 0.1"; }
    InputStep Move(int x, int y) { return {frame.ScreenPoint(x, y), 0}; }
    InputStep Down(int x, int y) { return {frame.ScreenPoint(x, y), MOUSEEVENTF_LEFTDOWN, 0, 0, true}; }
    InputStep Up(int x, int y) { return {frame.ScreenPoint(x, y), MOUSEEVENTF_LEFTUP}; }
    // The plan scrolled to the middle of its range, or wholly off it (every point of the
    // pane is then held to one of the plan's corners).
    void ScrollPlan(bool offPlan)
    {
        for (HWND bar : {activeDocument->horizontalScrollBar, activeDocument->verticalScrollBar}) {
            int low = 0, high = 0;
            GetScrollRange(bar, SB_CTL, &low, &high);
            SendMessageA(GetParent(frame.pane), bar == activeDocument->verticalScrollBar ? WM_VSCROLL : WM_HSCROLL,
                         MAKEWPARAM(SB_THUMBPOSITION, offPlan ? high : (low + high) / 2), LPARAM(bar));
        }
    }
    // A click at (200, 200) starts the current tool, which keeps this thread until it
    // ends; `helper` plays the user meanwhile. Messages are handled until it is done.
    void StartToolWhile(const std::function<void()>& helper)
    {
        std::atomic<bool> done(false);
        std::thread thread([&]() { helper(), done = true; });
        vtest::ClickUntilReceived([&] { OnTop(300, 200); },
                                  [&] { tooltest::PlayInput({Move(200, 200), Down(200, 200), Up(200, 200)}); });
        for (; !done; Sleep(5))
            vtest::PumpMessages();
        thread.join();
        vtest::PumpMessages();
    }
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

TEST_F(RealInputTools, EscapeEndsAPlacementBeforeItsSecondCornerAndThePaneRepaintsMeanwhile)
{
    // Tool, scrolled wholly off the plan (every point of the pane is then held to one of
    // its corners), corners clicked, objects made.
    const int cases[][4] = {{7055, 1, 1, 0}, {7050, 1, 1, 0}, {7055, 0, 1, 0}, {7055, 0, 2, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c[0] << (c[1] ? " off the plan, corners " : ", corners ") << c[2]);
        ScrollPlan(c[1]);
        currentToolId = static_cast<int16_t>(c[0]);
        PlanFloor* floor = activeDocument->currentFloor;
        const int before = vtest::CountFloorObjects(floor);
        // The first corner keeps this thread in the placement; a helper clicks the second
        // one, has the pane painted, then presses Escape until the placement ends. Input
        // that another test's window took is sent again.
        std::atomic<bool> painted(false), clicked(false), escapeLost(false);
        std::thread helper([&]() {
            auto corners = [&]() {
                PlanObject* outline = vtest::CountFloorObjects(floor) > before ? floor->firstObject : nullptr;
                while (outline && outline->next)
                    outline = outline->next;
                return outline ? CountVertexChain(outline) : 0;
            };
            for (int wait = 0; wait < 2000 && corners() < 1 && !clicked; ++wait)
                Sleep(10);
            for (int attempt = 0; attempt < 5 && corners() < c[2] && !clicked; ++attempt, Sleep(500)) {
                const POINT at = frame.ScreenPoint(300, 200);
                SetCursorPos(at.x, at.y);
                Sleep(100);   // the placement follows the pointer before the press comes
                mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
                mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
            }
            // Painted while the placement waits: a loaded machine may take a while, a loop
            // that lets no paint through never paints.
            InvalidateRect(frame.pane, nullptr, FALSE);
            for (int wait = 0; wait < 500 && !painted; ++wait, Sleep(10))
                painted = !GetUpdateRect(frame.pane, nullptr, FALSE);
            // A click the load held back may start a placement after Escape ended the
            // first: any placement is ended until this thread's clicks are over. Should
            // ten Escapes go unanswered, a posted one ends it and the test fails.
            for (DWORD sent = GetTickCount() - 1000, unanswered = 0; !clicked; Sleep(10)) {
                if (!dragFeedbackActive)
                    unanswered = 0;
                if (!dragFeedbackActive || GetTickCount() - sent < 1000)
                    continue;
                sent = GetTickCount();
                if (++unanswered > 10) {
                    escapeLost = true;
                    PostMessageA(frame.pane, WM_KEYDOWN, VK_ESCAPE, 0);
                    continue;
                }
                SetForegroundWindow(frame.frame);
                keybd_event(VK_ESCAPE, 0, 0, 0);
                keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
            }
        });
        vtest::ClickUntilReceived([&] { OnTop(300, 200); },
                                  [&] { tooltest::PlayInput({Move(200, 200), Down(200, 200), Up(200, 200)}); });
        clicked = true;
        helper.join();
        EXPECT_FALSE(escapeLost);
        EXPECT_TRUE(painted);
        EXPECT_EQ(vtest::CountFloorObjects(floor), before + c[3]);
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

TEST_F(RealInputTools, EscapeLeavesAPolylineOrCurveAndTheFrameAnswersSoonAfterAnyFinish)
{
    // Tool, off the plan, the profile's double-click time, a second corner clicked (then
    // Escape finishes; before it Escape leaves, makes nothing and has the pane repainted).
    // The pointer moves before each Escape, which a key would otherwise take as a corner.
    // The frame answers a posted command within the longest double-click time, 5 s, of the
    // finish (and the input's way there).
    struct Case { int16_t tool; bool offPlan; const char* speed; bool second; } cases[] = {
        {7703, false, nullptr, false}, {7707, false, nullptr, false}, {7703, true, nullptr, false},
        {7707, true, nullptr, false}, {7707, false, "20000", true}, {7055, false, "20000", true},
        {7707, false, "-1", true}, {7055, false, "-1", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tool << (c.offPlan ? " off the plan " : " ") << (c.speed ? c.speed : ""));
        WriteProfileStringA("windows", "DoubleClickSpeed", c.speed);
        ScrollPlan(c.offPlan);
        currentToolId = c.tool;
        PlanFloor* floor = activeDocument->currentFloor;
        const int before = vtest::CountFloorObjects(floor);
        const uint8_t centred = activeDocument->settings->centreDrawing;
        DWORD answered = 0;
        StartToolWhile([&]() {
            for (int wait = 0; wait < 2000 && vtest::CountFloorObjects(floor) == before; ++wait)
                Sleep(10);
            for (int i = 0; i < 5 && (c.second ? i < 2 : vtest::CountFloorObjects(floor) > before); ++i) {
                const POINT at = frame.ScreenPoint(260 + 40 * i, 240);
                SetCursorPos(at.x, at.y);
                Sleep(200);
                SetForegroundWindow(frame.frame);
                if (c.second && i == 0) {
                    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
                    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
                } else {
                    keybd_event(VK_ESCAPE, 0, 0, 0);
                    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
                }
                Sleep(c.second ? 300 : 1000);
            }
            const DWORD finished = GetTickCount();
            PostMessageA(frame.frame, WM_COMMAND, 5018, 0);   // the centre-drawing switch
            while (activeDocument->settings->centreDrawing == centred && GetTickCount() - finished < 30000)
                Sleep(10);
            answered = GetTickCount() - finished;
        });
        WriteProfileStringA("windows", "DoubleClickSpeed", nullptr);
        activeDocument->settings->centreDrawing = centred;
        EXPECT_EQ(vtest::CountFloorObjects(floor), before + (c.second ? 1 : 0));
        EXPECT_LT(answered, 8000u);
        EXPECT_EQ(GetCapture(), nullptr);
        const std::vector<COLORREF> shown = vtest::ClientPixels(frame.pane);
        InvalidateRect(frame.pane, nullptr, TRUE);
        UpdateWindow(frame.pane);
        EXPECT_TRUE(shown == vtest::ClientPixels(frame.pane));
    }
}

TEST_F(RealInputTools, EveryScrollShowsThePlanAtItsNewOriginAtOnce)
{
    // A wall along each axis, across the pane and far beyond it: one shows, moved, after
    // every scroll below.
    RECT client;
    GetClientRect(frame.pane, &client);
    const LONG w = client.right, h = client.bottom;
    AddWallBetween(frame.pane, {w / 2, -2 * h}, {w / 2, 3 * h});
    AddWallBetween(frame.pane, {-2 * w, h / 2}, {3 * w, h / 2});
    activeDocument->settings->visibleCategories |= 2;   // the floor plan's layer, where walls show
    // Vertical, where on the bar in pixels from its top or left end (-1 the far arrow, -2
    // the track past the thumb, -3 the thumb), how far the press is dragged.
    const int cases[][3] = {{1, -1, 0}, {1, 8, 0}, {1, -2, 0}, {1, -3, 30}, {0, -1, 0}, {0, -2, 0}, {0, -3, -30}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c[0] << " " << c[1] << " " << c[2]);
        HWND bar = c[0] ? activeDocument->verticalScrollBar : activeDocument->horizontalScrollBar;
        SCROLLBARINFO info = {sizeof info};
        ASSERT_TRUE(GetScrollBarInfo(bar, OBJID_CLIENT, &info));
        const RECT& r = info.rcScrollBar;
        const int length = c[0] ? r.bottom - r.top : r.right - r.left;
        const int along = c[1] == -1 ? length - 8
                          : c[1] == -2 ? (info.xyThumbBottom + length - info.dxyLineButton) / 2
                          : c[1] == -3 ? (info.xyThumbTop + info.xyThumbBottom) / 2 : c[1];
        auto at = [&](int a) {
            return c[0] ? POINT{(r.left + r.right) / 2, r.top + a} : POINT{r.left + a, (r.top + r.bottom) / 2};
        };
        const POINT press = at(along), release = at(along + c[2]);
        const int position = GetScrollPos(bar, SB_CTL);
        InvalidateRect(frame.pane, nullptr, TRUE);
        UpdateWindow(frame.pane);
        // A press that another test's window took is sent again.
        EXPECT_EQ(vtest::ClickUntilReceived(
                      [&] { SetWindowPos(frame.frame, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); },
                      [&] { tooltest::PlayInput({{press, 0}, {press, MOUSEEVENTF_LEFTDOWN}, {release, 0},
                                                 {release, MOUSEEVENTF_LEFTUP}}); }), 1);
        EXPECT_NE(GetScrollPos(bar, SB_CTL), position);
        const std::vector<COLORREF> shown = vtest::ClientPixels(frame.pane);
        InvalidateRect(frame.pane, nullptr, TRUE);
        UpdateWindow(frame.pane);
        EXPECT_TRUE(shown == vtest::ClientPixels(frame.pane));
        SendMessageA(GetParent(frame.pane), c[0] ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position),
                     LPARAM(bar));
    }
}

// The presses this thread takes off its queue, by window, and the menu loops begun; a
// WM_NULL of wParam kBusy sent to it keeps it busy in `busy`, as a loaded machine may.
struct TakenPresses {
    TakenPresses()
        : get(SetWindowsHookExA(WH_GETMESSAGE, Get, nullptr, GetCurrentThreadId())),
          call(SetWindowsHookExA(WH_CALLWNDPROC, Call, nullptr, GetCurrentThreadId()))
    {
        taken.clear(), menus = 0;
    }
    ~TakenPresses() { UnhookWindowsHookEx(get), UnhookWindowsHookEx(call); }
    static int By(HWND window) { return int(std::count(taken.begin(), taken.end(), window)); }
    static LRESULT CALLBACK Get(int code, WPARAM removal, LPARAM lParam)
    {
        const MSG* m = reinterpret_cast<const MSG*>(lParam);
        if (code == HC_ACTION && removal == PM_REMOVE && (m->message == WM_LBUTTONDOWN || m->message == WM_NCLBUTTONDOWN))
            taken.push_back(m->hwnd);
        return CallNextHookEx(nullptr, code, removal, lParam);
    }
    static LRESULT CALLBACK Call(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
        menus += code == HC_ACTION && m->message == WM_ENTERMENULOOP;
        if (code == HC_ACTION && m->message == WM_NULL && m->wParam == kBusy && busy)
            busy();
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static std::vector<HWND> taken;
    static int menus;
    static constexpr WPARAM kBusy = 0xB05;
    static std::function<void()> busy;
    HHOOK get, call;
};
std::vector<HWND> TakenPresses::taken;
int TakenPresses::menus = 0;
std::function<void()> TakenPresses::busy;

// Presses made through the display, as a hand makes them, while a tool waits for its next
// click: each loop kind, pressed off the pane on each kind of window. The tool is chosen
// on its button, dragged and clicked on the plan, then the press: the tool ends as its
// finish does (an outline kept with its corners, a second click placed where it stands)
// and the press does its own work (the tool chosen, the menu opened, the window's press
// taken), the screen as a repaint draws it. A press on the plan's scroll bar arrow scrolls
// by one step with the outline going on, or ends a second click's wait. A second click on
// the pane, read only once the pointer has gone on, places its point where it was pressed.
TEST_F(RealInputTools, APressOffThePaneEndsTheToolAndDoesItsOwnWork)
{
    enum Press { Pointer, Next, MenuBar, Caption, PlanCaption, PlanBorder, StatusBar, ScrollArrow, OtherPlan, Pane };
    struct Row {
        int tab;
        int16_t tool;   // 0: the tab's first tool
        std::vector<POINT> gesture;   // pressed, dragged to, then clicked
        Press press;
        int made, corners;   // objects made; corners of the last (0: not counted)
    } rows[] = {
        {0, 0, {{300, 300}, {420, 390}}, Pointer, 0, 0},
        {0, 0, {{300, 300}, {420, 390}}, Next, 0, 0},
        {1, 0, {{300, 300}, {420, 390}}, Pointer, 0, 0},
        {1, 0, {{300, 300}, {420, 390}}, Next, 0, 0},
        {-1, 7000, {{100, 100}, {200, 200}, {400, 200}, {400, 100}}, PlanCaption, -1, 3},
        {-1, 7600, {{100, 100}, {200, 200}, {400, 200}, {400, 100}}, Next, -1, 3},
        {-1, 7703, {{100, 100}, {200, 200}, {400, 200}}, StatusBar, 1, 0},
        {-1, 7707, {{100, 100}, {200, 200}, {400, 200}}, PlanBorder, 1, 0},
        {-1, 202, {{100, 300}, {300, 300}, {250, 250}}, MenuBar, 1, 0},
        {-1, 7508, {{200, 200}, {260, 200}, {200, 140}}, Caption, 1, 0},
        {-1, 7056, {{200, 200}, {260, 200}, {200, 140}}, MenuBar, 1, 0},
        {-1, 7705, {{200, 200}, {260, 200}, {200, 140}}, Caption, 1, 0},
        {-1, 7000, {{100, 100}, {200, 200}, {400, 200}}, ScrollArrow, -1, 3},
        {-1, 7703, {{100, 100}, {200, 200}, {400, 200}}, ScrollArrow, 1, 0},
        {-1, 7053, {{300, 300}, {300, 300}, {330, 360}}, StatusBar, 1, 0},
        {-1, 7707, {{100, 100}, {200, 200}, {300, 150}}, OtherPlan, 1, 0},
        {-1, 202, {{100, 300}, {300, 300}, {300, 250}}, Pane, 1, 0}, {-1, 7508, {{200, 200}, {260, 200}, {200, 140}}, Pane, 1, 0},
        {-1, 7056, {{200, 200}, {200, 200}, {260, 150}}, Pane, 1, 0}, {-1, 7705, {{200, 200}, {260, 200}, {200, 140}}, Pane, 1, 0},
        {-1, 7053, {{300, 360}, {300, 360}, {330, 420}}, Pane, 1, 0},
        {-1, 202, {{100, 300}, {300, 300}, {300, 250}}, ScrollArrow, 1, 0}, {-1, 7508, {{200, 200}, {260, 200}, {200, 140}}, ScrollArrow, 1, 0},
        {-1, 7056, {{200, 200}, {200, 200}, {260, 150}}, ScrollArrow, 1, 0}, {-1, 7705, {{200, 200}, {260, 200}, {200, 140}}, ScrollArrow, 1, 0},
        {-1, 7053, {{300, 420}, {300, 420}, {330, 470}}, ScrollArrow, 1, 0},   // each door on a wall of its own
    };
    auto wallAcross = [&](int y) {   // for the door
        AddWallBetween(frame.pane, {50, y}, {550, y});
        InvalidateRect(frame.pane, nullptr, TRUE);
    };
    HWND plan = GetParent(frame.pane);
    SendMessageA(mdiClientWindow, WM_MDIRESTORE, WPARAM(plan), 0);
    SetWindowPos(plan, nullptr, 0, 0, 760, 560, SWP_NOZORDER);
    vtest::PumpMessages();
    auto centre = Centre;
    auto at = At;
    PlanDocument* document = activeDocument;
    auto objects = [&](bool doors) {   // the objects, or the doors on their walls
        std::vector<PlanObject*> all;
        for (PlanFloor* f = document->firstFloor; f; f = f->next)
            for (PlanObject* o = f->firstObject; o; o = o->next)
                for (PlanObject* c = doors ? o->firstChild : o; c; c = doors ? c->next : nullptr)
                    if (!doors || c->type == ObjDoor)
                        all.push_back(c);
        return all;
    };
    auto count = [&](bool doors) { return int(objects(doors).size()); };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "tab " << row.tab << ", tool " << row.tool << ", press " << row.press);
        HWND other = nullptr;
        if (row.press == OtherPlan) {   // a second plan beside this one
            SendMessageA(frame.frame, WM_COMMAND, FrameCommandNew, 0);
            other = activePlanPane;
            SendMessageA(mdiClientWindow, WM_MDITILE, MDITILE_VERTICAL, 0);
            SendMessageA(mdiClientWindow, WM_MDIACTIVATE, WPARAM(plan), 0);
            vtest::PumpMessages();
            ASSERT_EQ(activePlanPane, frame.pane);
        }
        HWND button = nullptr;
        if (row.tab >= 0) {   // the tab's first tool, at its strip's top left
            SetActiveToolTab(uint16_t(row.tab));
            RECT r, f;
            for (HWND b = GetWindow(ToolStripOfTab(activeToolTab), GW_CHILD); b; b = GetWindow(b, GW_HWNDNEXT))
                if (!button || (GetWindowRect(b, &r), GetWindowRect(button, &f), r.top < f.top || (r.top == f.top && r.left < f.left)))
                    button = b;
        } else {
            button = ShowToolButton(row.tool);
        }
        ASSERT_NE(button, nullptr);
        const int16_t tool = ToolButtonOf(button)->toolId;
        // The next tool: the nearest button of its strip.
        HWND next = nullptr;
        for (HWND b = GetWindow(GetParent(button), GW_CHILD); b; b = GetWindow(b, GW_HWNDNEXT)) {
            auto gap = [&](HWND w) { POINT a = Centre(w), c = Centre(button); return std::abs(a.x - c.x) + std::abs(a.y - c.y); };
            if (b != button && ToolButtonOf(b) && (!next || gap(b) < gap(next)))
                next = b;
        }
        ASSERT_TRUE(next || (row.press != Next && row.press != ScrollArrow));
        RECT bar = {};
        MENUBARINFO menu = {sizeof menu};
        GetMenuBarInfo(frame.frame, OBJID_MENU, 1, &menu);
        RECT frameRect, planRect;
        GetWindowRect(frame.frame, &frameRect), GetWindowRect(plan, &planRect);
        const int captionY = GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
        int16_t expectTool = 0;
        HWND target = nullptr;
        POINT press = {};
        switch (row.press) {
        case Pointer: target = FindSelectToolButton(frameToolWindows[0]), expectTool = 200; break;
        case Next: target = next, expectTool = int16_t(ToolButtonOf(next)->toolId); break;
        case MenuBar: target = frame.frame, press = {(menu.rcBar.left + menu.rcBar.right) / 2, (menu.rcBar.top + menu.rcBar.bottom) / 2}; break;
        case Caption: target = frame.frame, press = {frameRect.left + 500, frameRect.top + captionY}; break;
        case PlanCaption: target = plan, press = {planRect.left + 300, planRect.top + captionY}; break;
        case PlanBorder: target = plan, press = {planRect.right - 2, planRect.top + 200}; break;
        case StatusBar: target = statusBarWindow; break;
        case OtherPlan: target = other; break;
        case Pane: target = frame.pane, press = frame.ScreenPoint(row.gesture.back().x, row.gesture.back().y); break;
        case ScrollArrow: {
            SCROLLBARINFO info = {sizeof info};
            GetScrollBarInfo(activeDocument->verticalScrollBar, OBJID_CLIENT, &info);
            bar = info.rcScrollBar;
            target = activeDocument->verticalScrollBar, expectTool = tool;
            press = {(bar.left + bar.right) / 2, bar.bottom - 6};
            break;
        }
        }
        if (!press.x)
            press = centre(target);
        // Where no other window lies over it (the palette's tabs cross the plan window's caption).
        for (int tries = 0; row.press == PlanCaption && WindowFromPoint(press) != plan && tries < 40; ++tries)
            press.x += 10;
        if (row.press == Caption || row.press == PlanCaption || row.press == MenuBar || row.press == PlanBorder) {
            const LRESULT part = SendMessageA(target, WM_NCHITTEST, 0, MAKELPARAM(press.x, press.y));
            ASSERT_EQ(part, row.press == MenuBar ? HTMENU : row.press == PlanBorder ? HTRIGHT : HTCAPTION);
            ASSERT_EQ(WindowFromPoint(press), target);
        }
        // The second click's tools follow the pointer there; the outlines take a corner.
        if (tool == 7053)
            wallAcross(row.gesture[0].y);
        const bool second = tool == 202 || tool == 7508 || tool == 7056 || tool == 7705 || tool == 7053;
        const std::vector<PlanObject*> before = objects(tool == 7053);
        const int position = GetScrollPos(activeDocument->verticalScrollBar, SB_CTL);
        // The tool's button, the drag, the clicks, the press; a menu opened is closed.
        std::string hand = at(centre(button)) + " click 1 sleep 0.2" + at(frame.ScreenPoint(row.gesture[0].x, row.gesture[0].y)) +
                           " mousedown 1 sleep 0.1" + at(frame.ScreenPoint(row.gesture[1].x, row.gesture[1].y)) + " mouseup 1 sleep 0.1";
        for (size_t i = 2; i < row.gesture.size(); ++i)
            hand += at(frame.ScreenPoint(row.gesture[i].x, row.gesture[i].y)) + (second ? " sleep 0.5" : " click 1 sleep 0.1");
        if (row.press == ScrollArrow && !second)
            hand += at(press) + " click 1 sleep 0.2" + at(frame.ScreenPoint(400, 100)) + " click 1 sleep 0.1", press = centre(next);
        // On the pane, the press made while the program is busy, which reads it only once the
        // pointer has gone on.
        TakenPresses::busy = [&] {
            vtest::Hand late("click 1");
            for (Sleep(100); !late.Ended(); Sleep(10)) {}
            MSG queued;
            PeekMessageA(&queued, frame.pane, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE);
            SetCursorPos(frame.ScreenPoint(500, 60).x, frame.ScreenPoint(500, 60).y);
        };
        if (row.press != Pane)
            hand += at(press) + " click 1";
        // Wine's themed bar may leave its arrow drawn hot under a resting pointer that it
        // has forgotten: the hand goes on, as the other rows' hands do.
        if (row.press == ScrollArrow && second)
            hand += at(frame.ScreenPoint(400, 100));
        if (row.press == MenuBar)
            hand += " sleep 0.5 key Escape sleep 0.1 key Escape";
        TakenPresses taken;
        // A tool still waiting once the hand is done would keep this thread for ever: it
        // is ended by a key and a click posted to the pane (and its help box closed), and
        // the row fails.
        vtest::Hand user(hand);
        std::atomic<bool> back(false), rescued(false);
        std::thread rescuer([&] {
            const int patience = int(vtest::ScaledWait(5000) / 10);   // a loaded machine's tool may end late
            while (!user.Ended())
                Sleep(10);
            DWORD_PTR result;
            if (row.press == Pane)
                SendMessageTimeoutA(frame.frame, WM_NULL, TakenPresses::kBusy, 0, SMTO_NORMAL, 30000, &result);
            for (int waited = 0; !back; Sleep(10))
                if (++waited % patience == 0) {
                    rescued = true;
                    PostMessageA(frame.pane, WM_KEYDOWN, VK_ESCAPE, 0), PostMessageA(frame.pane, WM_LBUTTONDOWN, 0, 0);
                    EnumThreadWindows(GetWindowThreadProcessId(frame.frame, nullptr), [](HWND w, LPARAM) {
                        char name[16] = {};   // a tool's help box
                        if (IsWindowVisible(w) && GetClassNameA(w, name, sizeof name) && !strcmp(name, "#32770"))
                            PostMessageA(w, WM_COMMAND, IDOK, 0);
                        return TRUE;
                    }, 0);
                }
        });
        EXPECT_TRUE(user.Wait(500));
        back = true;
        rescuer.join();
        EXPECT_FALSE(rescued);
        EXPECT_EQ(mouseCaptured, 0u);
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_FALSE(dragFeedbackActive);
        if (row.made >= 0)
            EXPECT_EQ(count(tool == 7053), int(before.size()) + row.made);
        else
            EXPECT_GT(count(tool == 7053), int(before.size()));
        if (row.corners) {
            PlanObject* last = document->currentFloor->firstObject;
            for (; last && last->next; last = last->next) {}
            EXPECT_EQ(last ? CountVertexChain(last) : 0, row.corners);
        }
        EXPECT_GE(TakenPresses::By(row.press == ScrollArrow && !second ? next : target), 1);
        if (expectTool && row.press != ScrollArrow) {
            EXPECT_EQ(currentToolId, expectTool);
        }
        if (row.press == MenuBar) {
            EXPECT_EQ(TakenPresses::menus, 1);
        }
        if (row.press == OtherPlan) {
            EXPECT_EQ(activePlanPane, other);
        }
        if (row.press == Pane) {   // a corner, or the door's swing, toward the pressed point in plan units
            POINT p = row.gesture.back();
            HDC dc = GetDC(frame.pane);
            DPtoLP(dc, &p, 1), ReleaseDC(frame.pane, dc);
            float x, y, z, d;
            MapPlanPointToModel(p.x, p.y, &x, &y, &z, 1, nullptr, 1);
            bool there = false;
            for (PlanObject* o : objects(tool == 7053)) {
                for (PlanObject* c = o; std::find(before.begin(), before.end(), o) == before.end() && c;
                     c = tool != 7053 && c == o ? o->firstChild : c == o ? nullptr : c->next) {
                    PlanVertex *h = c->firstVertex, *e = h ? h->next : nullptr;
                    if (auto* r = tool == 7053 && e ? static_cast<OpeningRecord*>(c->link) : nullptr) {
                        if (!r->hingeSide)   // hinged at its second end
                            std::swap(h, e);
                        there |= std::fabs(AngleBetweenPoints(h->position[0], h->position[2], x, z, &d) - r->swingAngle -
                                           AngleBetweenPoints(h->position[0], h->position[2], e->position[0], e->position[2], &d)) < 0.03f;
                        continue;
                    }
                    for (PlanVertex* v = h; v; v = v->next)
                        there |= std::hypot(v->position[0] - x, v->position[2] - z) < 1 + 2 / document->settings->zoom;
                }
            }
            EXPECT_TRUE(there);
        }
        if (row.press == ScrollArrow) {
            EXPECT_EQ(GetScrollPos(activeDocument->verticalScrollBar, SB_CTL), position + activeDocument->settings->scrollStep);
        }
        EXPECT_EQ(vtest::PixelsARepaintChanges(frame.frame), 0);
        SendMessageA(GetParent(frame.pane), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position), LPARAM(activeDocument->verticalScrollBar));
    }
}

// Escape during a drag, then the release: the frame answers a message sent from another
// thread within a second of it.
TEST_F(RealInputTools, EscapeInARectangleDragLeavesTheFrameAnsweringAfterTheRelease)
{
    HWND button = ShowToolButton(7700);
    ASSERT_NE(button, nullptr);
    vtest::Hand hand(At(Centre(button)) + " click 1 sleep 0.2" + At(frame.ScreenPoint(150, 150)) + " mousedown 1 sleep 0.1" +
                     At(frame.ScreenPoint(300, 250)) + " key Escape sleep 0.1 mouseup 1");
    DWORD answered = ~0u;
    std::thread helper([&] {
        while (!hand.Ended())
            Sleep(10);
        const DWORD start = GetTickCount();
        DWORD_PTR result = 0;
        if (SendMessageTimeoutA(frame.frame, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result))
            answered = GetTickCount() - start;
    });
    EXPECT_TRUE(hand.Wait());
    helper.join();
    EXPECT_LT(answered, 1000u);
    EXPECT_EQ(vtest::PixelsARepaintChanges(frame.frame), 0);
}

// After each action the display shows what a repaint of the maximised frame draws, and
// the plan's bars lie in the MDI area: a tool chosen and a click in the plan, the viewpoint
// tool's return, a hover left for the plan, the text tool left by a command, the garden
// tab in and out, a dimension's placing click, a foundation's and a polygon's corners
// ended by a press on the palette, the layout buttons, a restore and a maximise, texts
// taken up again, the first Print cancelled, and an imperial plan's and a metric one's last close.
TEST_F(RealInputTools, EachActionLeavesTheScreenAsARepaintDrawsIt)
{
    ShowWindow(frame.frame, SW_RESTORE), ShowWindow(frame.frame, SW_SHOWMAXIMIZED), SetCursorPos(640, 1020);
    SendMessageA(mdiClientWindow, WM_MDIMAXIMIZE, WPARAM(GetParent(frame.pane)), 0);
    vtest::PixelsARepaintChanges(frame.frame);   // the frame as it starts maximised
    auto press = [&](int strip, int tool) {   // the pointer then goes on to the plan
        SendMessageA(FindToolButton(frameToolWindows[strip], tool), WM_LBUTTONDOWN, 0, 0);
        SendMessageA(frame.pane, WM_MOUSEMOVE, 0, 0);
    };
    auto tape = [&](std::vector<tooltest::Frame> frames) {
        tooltest::TapeInput input(frame.pane, frames);
        tooltest::InputScope scope(&input);
        SendMessageA(frame.pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(frames[0].x, frames[0].y));
    };
    auto send = [&](UINT message, WPARAM id) { SendMessageA(frame.frame, message, id, 0), vtest::PumpMessages(); };
    auto command = [&](WPARAM id) { send(WM_COMMAND, id); };
    auto type = [&](int x, int y) {   // a text opened by a click and typed into, its caret hidden
        tape(tooltest::Drag({{x, y}}));
        SendMessageA(activeDocument->textEditChild, EM_REPLACESEL, TRUE, LPARAM("Abc")), HideCaret(nullptr);
    };
    auto dialog = [&](WPARAM id, int button, int radio = 0) {   // a dialog's button pressed
        auto driver = vtest::ModalDriver::ForDialog("", [=](HWND d) {
            radio && SendMessageA(d, WM_COMMAND, radio, 0), PostMessageA(d, WM_COMMAND, button, 0); });
        command(id), driver.join();
    };
    auto close = [&] { activeDocument->settings->modified = 0, command(FrameCommandClose); };
    // Corners clicked after the first drag, then a press on the hand tool's button: the
    // outline ends with those corners and the press chooses the tool.
    auto cornersThenPalette = [&](int strip, int tool, std::vector<POINT> corners) {
        press(strip, tool);
        auto frames = tooltest::Drag({{300, 300}, {420, 390}});
        frames.push_back(tooltest::At(420, 390));   // the polygon's loop reads where it starts
        for (POINT p : corners)
            for (UINT post : {0u, UINT(WM_LBUTTONDOWN), 0u})
                frames.push_back(tooltest::At(p.x, p.y, post));
        frames.push_back(tooltest::At(-15, 160, WM_LBUTTONDOWN)), frames.back().to = FindToolButton(frameToolWindows[0], 204);
        frames.push_back(tooltest::At(-15, 160));
        tape(frames), vtest::PumpMessages();
        PlanObject* made = activeDocument->currentFloor->firstObject;
        for (; made && made->next; made = made->next) {}
        EXPECT_EQ(CountVertexChain(made), int(corners.size()) + 1) << tool;
        EXPECT_EQ(currentToolId, 204);
    };
    auto place = tooltest::Drag({{300, 300}, {450, 300}});   // measured, then placed by a click
    for (auto f : {tooltest::At(450, 300), tooltest::At(400, 250), tooltest::At(400, 250, WM_LBUTTONDOWN), tooltest::At(400, 250)})
        place.push_back(f);
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"204", [&] { press(0, 204); }}, {"a click", [&] { tape(tooltest::Drag({{300, 300}})); }},
        {"3502", [&] { press(10, 3502); }},
        {"viewpoint", [&] { press(0, 206), tape(tooltest::Drag({{300, 300}, {340, 360}})); }},
        {"204 after it", [&] { press(0, 204); }},
        {"hover", [&] { ToolPaneWndProc(FindToolButton(frameToolWindows[1], 7000), WM_MOUSEMOVE, 0, 0),
                        SendMessageA(frame.pane, WM_MOUSEMOVE, 0, 0); }},   // not through the tooltip
        {"text, a command", [&] { press(0, 203), SendMessageA(frame.frame, WM_COMMAND, FrameCommandZoom100, 0); }},
        {"garden", [] { SetActiveToolTab(GardenTab); }}, {"roof", [] { SetActiveToolTab(4); }},
        {"dimension", [&] { press(0, 202), tape(place); }}, {"another", [&] { tape(place); }},
        {"foundation, the palette", [&] { cornersThenPalette(1, 7000, {{600, 390}, {600, 250}}); }},
        {"polygon, the palette", [&] { cornersThenPalette(9, 7703, {{600, 390}}); }},
        {"3500", [&] { press(10, 3500); }}, {"3501", [&] { press(10, 3501); }}, {"3503", [&] { press(10, 3503); }},
        {"3502 again", [&] { press(10, 3502); }}, {"3500 again", [&] { press(10, 3500); }},
        {"restore, maximise", [&] { send(WM_SYSCOMMAND, SC_RESTORE), send(WM_SYSCOMMAND, SC_MAXIMIZE); }},
        {"201, 203", [&] { press(0, 203), type(60, 700), press(0, 201), vtest::PumpMessages(), press(0, 203),
                           type(300, 700); }},
        {"Ctrl+E, 203", [&] { command(FrameCommandZoom100), press(0, 203), type(540, 700); }},
        {"fonts cancelled, 203", [&] { dialog(30, IDCANCEL), press(0, 203), type(60, 600); }},
        {"the first Cancel", [&] { dialog(FrameCommandPrintFitToPage, IDCANCEL); }},
        {"imperial closed last", [&] { dialog(5011, IDOK, 3), command(FrameCommandNew), close(), close(); }},
        {"metric closed", [&] { command(FrameCommandNew), close(); }}};
    for (const auto& action : actions) {
        action.second();
        EXPECT_EQ(vtest::PixelsARepaintChanges(frame.frame), 0) << action.first;
        if (!activeDocument)
            continue;
        RECT mdi, bar;   // the bars overlap the plan window's edge by a pixel
        GetClientRect(mdiClientWindow, &mdi), MapWindowPoints(mdiClientWindow, nullptr, LPPOINT(&mdi), 2);
        InflateRect(&mdi, 1, 1);
        for (HWND b : {activeDocument->horizontalScrollBar, activeDocument->verticalScrollBar, activeDocument->measurementStrip})
            EXPECT_TRUE(GetWindowRect(b, &bar) && UnionRect(&bar, &bar, &mdi) && EqualRect(&bar, &mdi)) << action.first;
    }
}

}  // namespace
