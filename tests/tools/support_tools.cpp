#include "support_tools.h"
#include <gtest/gtest.h>
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "planview/plan_mouse_dispatch.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "support/frame_fixtures.h"
#include "support/test_support.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include "tools/undo.h"

namespace tooltest {

std::vector<DispatchedEvent> ToolTest::events;

TapeInput::TapeInput(HWND pane, std::vector<Frame> frames) : pane(pane), frames(std::move(frames))
{
}

SHORT TapeInput::KeyState(int key)
{
    if (frames.empty() || ranOut)
        return 0;
    const Frame& f = frames[index];
    bool down = false;
    switch (key) {
    case VK_LBUTTON: down = f.left; break;
    case VK_RBUTTON: down = f.right; break;
    case VK_SHIFT: down = f.shift; break;
    case VK_CONTROL: down = f.ctrl; break;
    default: break;
    }
    return down ? static_cast<SHORT>(0x8000) : 0;
}

BOOL TapeInput::CursorPos(POINT* screen)
{
    if (index + 1 >= frames.size()) {
        if (!ranOut) {
            ADD_FAILURE() << "the input tape ran out after " << frames.size() << " frames";
            PostMessageA(pane, WM_KEYDOWN, VK_ESCAPE, 0);
        }
        ranOut = true;
    } else {
        ++index;
        const Frame& f = frames[index];
        if (f.post)
            PostMessageA(f.to ? f.to : pane, f.post, f.wParam, MAKELPARAM(f.x, f.y));
        if (f.thenPost)
            PostMessageA(pane, f.thenPost, 0, MAKELPARAM(f.x, f.y));
    }
    const Frame& f = frames.empty() ? Frame() : frames[index];
    POINT point = {f.x, f.y};
    ClientToScreen(pane, &point);
    *screen = point;
    return TRUE;
}

std::vector<Frame> Drag(std::initializer_list<POINT> points, bool shift)
{
    std::vector<Frame> frames;
    for (const POINT& p : points) {
        Frame f;
        f.x = p.x;
        f.y = p.y;
        f.shift = shift;
        frames.push_back(f);
    }
    frames.back().left = false;
    frames.push_back(frames.back());
    return frames;
}

std::vector<Frame> Clicks(POINT first, std::vector<Frame> loop)
{
    std::vector<Frame> frames = Drag({first});
    frames.insert(frames.end(), loop.begin(), loop.end());
    return frames;
}

Frame At(int x, int y, UINT post, WPARAM wParam)
{
    Frame f;
    f.x = x;
    f.y = y;
    f.left = false;
    f.post = post;
    f.wParam = wParam;
    return f;
}

void ToolTest::SetUp()
{
    RecordCheckedDocumentTest::SetUp();
    pane = vtest::CreatePaneStandIn();
    activePlanPane = pane;
    vtest::ShowTopView();
    viewOrigin = ViewPoint{0.0f, -96.0f, 0.0f};
    PlanSettings* s = document->settings;
    s->zoom = 1.0f;
    s->drawingUnit = 1;
    s->drawingScale = 72.0f;
    s->snapStepX = 1.0f;
    s->snapStepY = 1.0f;
    // The floor-plan tab: walls and what hangs on them can be picked.
    s->visibleCategories = s->tabCategoryMasks[1];
    events.clear();
    toolEventTap = [](int32_t wx, int32_t wy, float x, float y, float z, int16_t event, int16_t tool) {
        events.push_back({event, wx, wy, x, y, z, tool});
    };
}

void ToolTest::TearDown()
{
    CancelPendingObject();
    toolEventTap = nullptr;
    planMouseState = {};
    currentToolId = -1;
    undoDocument = nullptr;
    returnToWallTool = 0;
    vtest::TakeQuitMessage();   // drops what is queued
    activePlanPane = nullptr;
    DestroyWindow(pane);
    RecordCheckedDocumentTest::TearDown();
}

void ToolTest::RunGesture(int16_t tool, const std::vector<Frame>& frames)
{
    currentToolId = tool;
    TapeInput tape(pane, frames);
    tooltest::InputScope scope(&tape);
    HDC dc = GetDC(pane);
    HandlePlanToolMouse(dc, pane, frames.front().x, frames.front().y, WM_LBUTTONDOWN);
    ReleaseDC(pane, dc);
}

PlanFloor* ToolTest::Floor() const
{
    return document->currentFloor;
}

PlanObject* ToolTest::LastObject() const
{
    PlanObject* object = Floor()->firstObject;
    while (object && object->next)
        object = object->next;
    return object;
}

void ToolTest::ExpectXZ(const PlanVertex* vertex, float x, float z, float tolerance)
{
    ASSERT_NE(vertex, nullptr);
    EXPECT_NEAR(vertex->position[0], x, tolerance);
    EXPECT_NEAR(vertex->position[2], z, tolerance);
}

void ToolTest::ExpectXZ(PlanObject* object, int index, float x, float z, float tolerance)
{
    SCOPED_TRACE("vertex " + std::to_string(index));
    ExpectXZ(vtest::VertexAt(object, index), x, z, tolerance);
}

PlanXZ VertexXZ(PlanObject* object, int index)
{
    PlanVertex* v = vtest::VertexAt(object, index);
    return v ? PlanXZ{v->position[0], v->position[2]} : PlanXZ{-1e9f, -1e9f};
}

bool ShownFrame::Start()
{
    frame = vtest::StartShell();
    if (!frame)
        return false;
    // Tests running beside this one share the desktop: the frame stays above their windows.
    SetWindowPos(frame, HWND_TOPMOST, 300, 250, 900, 700, SWP_SHOWWINDOW);
    SendMessageA(frame, WM_COMMAND, 2, 0);
    pane = activePlanPane;
    SetForegroundWindow(frame);
    UpdateWindow(frame);
    vtest::PumpMessages();
    return pane != nullptr;
}

void ShownFrame::Stop()
{
    vtest::ForgetDocumentChanges();
    CancelPendingObject();
    undoDocument = nullptr;
    vtest::StopShell();
    currentToolId = -1;
}

POINT ShownFrame::ScreenPoint(int x, int y) const
{
    POINT point = {x, y};
    ClientToScreen(pane, &point);
    return point;
}

} // namespace tooltest
