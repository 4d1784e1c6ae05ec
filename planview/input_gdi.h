#pragma once
// Input polling and the small GDI and menu routines shared by the plan view, the
// readouts and the tools.
//
// The plan's drags and long redraws never dispatch messages: they read the key and
// button state, the cursor, the clock and the message queue themselves. Every such
// read goes through one InputSource, which reads the real Windows state unless a test
// has installed a source of its own.
#include <windows.h>
#include <stdint.h>

class InputSource {
public:
    virtual ~InputSource() = default;
    // GetAsyncKeyState: bit 15 set while the key is down, bit 0 when it was pressed
    // since the previous call.
    virtual SHORT KeyState(int virtualKey);
    // GetCursorPos: the cursor in screen coordinates.
    virtual BOOL CursorPos(POINT* screenPoint);
    // PeekMessageA on the calling thread's queue.
    virtual BOOL PeekQueue(MSG* message, HWND window, UINT first, UINT last, UINT remove);
    // GetTickCount: milliseconds.
    virtual DWORD TickCount();
    // SetCursorPos: moves the screen cursor.
    virtual BOOL MoveCursor(int x, int y);
};

// The source in use.
InputSource& CurrentInput();
// Makes source the one in use (null: the real Windows state again); returns the
// previous one (null when it was the real one).
InputSource* SetInputSource(InputSource* source);

// The plan pane's own DC (activePlanPane's, null without a pane) for the length of a
// scope: the marks and rubber bands draw on it in whatever mode the pane left it.
class PlanPaneDC {
public:
    PlanPaneDC();
    ~PlanPaneDC();
    PlanPaneDC(const PlanPaneDC&) = delete;
    PlanPaneDC& operator=(const PlanPaneDC&) = delete;
    HDC dc;

private:
    HWND pane;
};

// Buttons and cursor.
bool IsMouseButtonDown();       // left or right button down
bool IsLeftButtonDown();
// Takes one queued right press and one right release of the render window, if any;
// then true while the right button is down. False without a render window.
bool PollRenderRightButton();
// The cursor in logical units of activePlanPane (client units without a DC).
POINT GetCursorLogicalPos();
// The same for a given window; nothing without a window or an output.
void GetCursorLogicalPosInWindow(HWND window, POINT* point);
// "DoubleClickSpeed" of section "windows" of the system profile in milliseconds, at most
// 5000; 550 when absent, empty, negative or no number.
uint32_t GetDoubleClickSpeed();
// Clock of the input source, for waits and repeat delays.
DWORD GetInputTickCount();

// One-shot reads of the queue between steps of a long operation. They look only at
// mouse and key messages (client and non-client), so posted commands, registered
// messages, paints and timers stay queued for the message loop. The removing ones take
// the next such message whatever its kind and report whether it is one they look for.
bool PeekClickOrKeyMessage(MSG* message);          // left/right press, left double click, key down
// The same for a loop that takes its clicks in one window (the plan pane): a press
// anywhere else, on another window or on the frame of this one, is no click of the loop.
// It stays queued, for the window it landed on to do its own work once the loop has
// ended, and is reported as elsewhere (a left press on the plan's own scroll bars as
// such: a loop may let it scroll and go on). The window lets go of the mouse capture at
// once, so that a press lands on the window under the pointer. The loop's click is the
// very message judged so: a press that comes meanwhile is judged on its own.
enum class LoopClick { None, Here, Elsewhere, ScrollBar };
LoopClick PeekLoopClickOrKey(HWND window, MSG* message);
// Where a click of the loop was made, in the window's logical units: a press is taken
// where it was made, wherever the pointer has gone since. False for a key.
bool LoopClickPoint(HWND window, const MSG& message, POINT* logical);
// Takes a press left queued off the queue and has its window do its work there and then
// (a scroll bar follows the button until its release); the window is painted after it.
void DispatchLoopPress(HWND window, const MSG& press);
// For a loop that ends at one left press in the window: true at that press (taken off
// the queue, its point in at) and at a press elsewhere (left queued, as above, at
// unchanged); other clicks and keys are dropped.
bool PeekPlacingPress(HWND window, POINT* at = nullptr);
bool PeekButtonOrKeyMessage(MSG* message);         // left/right press, key down
bool PeekButtonDownMessage(MSG* message);          // left/right press, client or non-client
bool PeekButtonOrKeyMessageNoRemove(MSG* message); // as PeekButtonOrKeyMessage, leaves it queued
// Leaves it queued; true for presses, releases, moves and key downs.
bool PeekMouseOrKeyMessageNoRemove(MSG* message);
// Takes and drops the clicks and keys of one double-click time after a tool's last
// click, so the second click of a double click that ended the tool starts nothing.
void SwallowInputForDoubleClickTime();

// Fonts from files. A LOGFONT read from a plan keeps its bytes, but the fonts drawn with
// it are made from this copy: height and width held to what a device draws (0 stays
// "default"), weight, charset, quality and angles in range, the face name terminated.
// No stored font can then crash or stall a text draw on any device.
const LONG kMaxFontUnits = 4096;
LOGFONTA MakeDrawableFont(const LOGFONTA& stored);
// CreateFontIndirectA of the drawable copy.
HFONT CreateDrawableFont(const LOGFONTA& stored);

// Rectangles.
void MakeRectFromCorners(int x1, int y1, int x2, int y2, RECT* rect);
bool IsRectSinglePoint(const RECT* rect);   // true for no rectangle

// An elliptic arc in the rectangle, from start over sweep degrees (clockwise from the
// top of the plan): on a DC of activePlanPane on the screen, on planDC while printing.
void DrawPlanArc(const RECT* rect, int16_t startDegrees, int16_t sweepDegrees);
// Rectangle outlines with the DC's current pen and raster operation.
void DrawPlanRectOutline(const RECT* rect);
void DrawRectOutline(HDC dc, const RECT* rect);

// Current position and lines on a window's DC or the plan pane's (16-bit coordinates).
void MoveToInWindow(HWND window, int x, int y);
void LineToInWindow(HWND window, int x, int y);
void MoveToInPlanPane(int x, int y);
void LineToInPlanPane(int x, int y);

// Text at the current position, on its base line, moving the position on. While
// printing it goes to planDC; otherwise to the window's DC (or the given DC) with a
// transparent background. Alignment and background mode are restored.
void DrawTextAt(HWND window, const char* text);
void DrawTextAtDC(HDC dc, const char* text);
// Text extent width + 2; 2 without DC or text.
int32_t GetTextWidth(HDC dc, const char* text);
int32_t GetPlanPaneTextWidth(const char* text);
// Ascent, descent, maximum character width and external leading; all 0 when the
// metrics cannot be read.
void GetTextMetricsOfDC(HDC dc, uint16_t* ascent, uint16_t* descent, uint16_t* maxCharWidth,
                        uint16_t* externalLeading);
void GetPlanPaneTextMetrics(uint16_t* ascent, uint16_t* descent, uint16_t* maxCharWidth,
                            uint16_t* externalLeading);
// A window whose class owns its DC keeps its font selected there for its whole life; at
// its end (WM_NCDESTROY) the object the font displaced goes back into the DC and the
// font is deleted. Both handles are cleared.
void ReleaseOwnDCFont(HWND window, HFONT* font, HGDIOBJ* displaced);

// Fills with the window DC's background colour.
void FillRectBackground(HWND window, const RECT* rect);
// Fills with the plan's fill colour (settings background colour); nothing without a
// document with settings.
void FillRectWithFillColour(HDC dc, const RECT* rect);

// Menu items by command id.
void CheckMenuCommand(HMENU menu, UINT commandId, bool checked);
void EnableMenuCommand(HMENU menu, UINT commandId);
void GrayMenuCommand(HMENU menu, UINT commandId);
