#pragma once
// What the tools' tests share: a taped input source whose frames a drag loop polls, a
// document fixture in the top view at identity scale with a plan pane stand-in and a
// tap on the dispatched events, and a shown frame for drags with real input.
#include <windows.h>
#include <initializer_list>
#include <vector>
#include "planview/input_gdi.h"
#include "support/input_fixtures.h"
#include "support/plan_fixtures.h"

struct PlanObject;
struct PlanVertex;

namespace tooltest {

// One poll of the input: the cursor (pane client units), the buttons and keys held,
// and a message posted to the pane when the frame is reached.
struct Frame {
    int x = 0;
    int y = 0;
    bool left = true;
    bool shift = false;
    bool ctrl = false;
    bool right = false;
    UINT post = 0;
    WPARAM wParam = 0;
    UINT thenPost = 0;   // a second message, queued right behind the first
    HWND to = nullptr;   // where the first goes instead of the pane
};

// Each cursor read takes the next frame; key and button reads answer from the frame
// last taken; the clock moves 20 ms at each read. Running out of frames fails the
// test, releases every button and posts Esc, so that no loop waits for ever.
class TapeInput : public InputSource {
public:
    TapeInput(HWND pane, std::vector<Frame> frames);
    SHORT KeyState(int virtualKey) override;
    BOOL CursorPos(POINT* screenPoint) override;
    DWORD TickCount() override { return now += 20; }
    size_t Taken() const { return index + 1; }

private:
    HWND pane;
    std::vector<Frame> frames;
    size_t index = 0;
    bool ranOut = false;
    DWORD now = 5000;
};

using vtest::InputScope;

// Frames of a press, moves with the button down and a release at the last point
// (followed by the loop's last cursor read).
std::vector<Frame> Drag(std::initializer_list<POINT> points, bool shift = false);

// A click at the first corner (press and release), then the frames of the placement
// gesture's own loop.
std::vector<Frame> Clicks(POINT first, std::vector<Frame> loop);
// A frame of that loop: the cursor at (x, y), no button held, the message posted there.
Frame At(int x, int y, UINT post = 0, WPARAM wParam = 0);

struct DispatchedEvent {
    int16_t event;
    int32_t wx, wy;
    float x, y, z;
    int16_t tool;
};

// A document with a plan pane stand-in, the top view at zoom 1 and identity scale (one
// display inch is one plan unit) with a snap step of 1, and the dispatched events
// recorded. The undo state and the pointer record are reset afterwards.
class ToolTest : public vtest::RecordCheckedDocumentTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs the pane's drag loop over the frames with the tool current.
    void RunGesture(int16_t tool, const std::vector<Frame>& frames);
    PlanFloor* Floor() const;
    // The last top-level object of the floor (the one a tool made last); null for none.
    PlanObject* LastObject() const;
    // Expects the plan x and z of a vertex, or of an object's vertex (0 the first).
    static void ExpectXZ(const PlanVertex* vertex, float x, float z, float tolerance = 0.01f);
    static void ExpectXZ(PlanObject* object, int index, float x, float z, float tolerance = 0.01f);

    HWND pane = nullptr;
    static std::vector<DispatchedEvent> events;
};

using vtest::AddDoor;
using vtest::AddWall;
// The plan x and z of an object's vertex.
struct PlanXZ {
    float x, z;
};
PlanXZ VertexXZ(PlanObject* object, int index);

// The program's frame, shown, with one new plan, for drags with real input; the plan
// pane's client origin on the screen. Stop destroys it and unregisters the classes.
struct ShownFrame {
    HWND frame = nullptr;
    HWND pane = nullptr;
    bool Start();
    void Stop();
    POINT ScreenPoint(int x, int y) const;
};

// Real input from a second thread.
using vtest::InputStep;
using vtest::PlayInput;

} // namespace tooltest
