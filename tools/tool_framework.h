#pragma once
#include <windows.h>
#include <stdint.h>

// The tool framework: the plan pane's drag loop hands every gesture to three entry
// points (one press, a move for every poll while a button is down, one release). Each
// maps its window point into the model, keeps the drag points of the shared pointer
// record, sets the pane's DC to inverting red rubber bands for the dispatch, and calls
// DispatchToolEvent, which picks the handler by the current tool id.
//
// A move comes as a pair of events 2: the first at the old point (erasing the preview
// drawn there), the second at the new point. The release is one event 3 at the last
// point previewed.

enum ToolEvent : int16_t {
    kToolPress = 1,
    kToolMove = 2,
    kToolRelease = 3,
};

// Tool ids the framework itself treats apart.
enum FrameworkToolId : int16_t {
    kSelectToolId = 200,
    kRotateToolId = 201,
    kViewpointToolId = 206,
    kResizeToolId = 215,
    kPointEditToolId = 216,
};

// The entry points of the plan pane's drag loop (pane logical units).
void HandlePlanButtonDown(int32_t x, int32_t y);
void HandlePlanMouseMove(int32_t newX, int32_t newY, int32_t previousX, int32_t previousY,
                         int32_t pressX, int32_t pressY);
void HandlePlanButtonUp(int32_t newX, int32_t newY, int32_t lastX, int32_t lastY, int32_t pressX,
                        int32_t pressY);

// Sets the plan's modified flag and hands the event to the current tool's handler; a
// press of the pointer tool on a handle of a selected object's box resizes it (tool
// 215 for this event, last-edit kind 9). Nothing without a document with settings or
// without a current tool.
void DispatchToolEvent(int32_t windowX, int32_t windowY, float x, float y, float z,
                       int16_t event);

// Shift as read now, kept in the modifier bits of the pointer record.
void RecordShiftKey();
// 1 when Shift is down now and the kept bit is clear, or up now and the bit set.
uint8_t ShiftKeyToggled();
// One look of a second click's wait that follows the pointer from `previous`: the first
// (`looked` false) takes `cursor` as read, a move from the drag's end; each later one a
// press on the plan pane where it was made (`placed`), else the pointer. False where the
// point has not moved and Shift is as kept; otherwise `previous` becomes the point.
bool FollowPointer(POINT* cursor, POINT* previous, bool looked, bool* placed);
// The end of the one-shot viewpoint tool: the tool it interrupted is current again (the
// select tool when none or itself is remembered), with the arrow cursor on the plan pane
// and its button shown current.
void ReturnFromViewpointTool();
bool ShiftHeld();   // the kept Shift bit
bool CtrlHeld();    // the Ctrl bit read at the press

// The pane's DC prepared for a dispatch: inverting pen mode (R2_NOTXORPEN) and a red
// pen of width 0, both put back (and the pen deleted) by Restore. Without an active
// pane or a DC nothing changes.
class PaneXorState {
public:
    PaneXorState();
    ~PaneXorState();
    PaneXorState(const PaneXorState&) = delete;
    PaneXorState& operator=(const PaneXorState&) = delete;
    // The mode the DC had before (R2_COPYPEN without a DC).
    int PreviousMode() const { return previousMode; }

private:
    HDC dc = nullptr;
    HPEN redPen = nullptr;
    HGDIOBJ previousPen = nullptr;
    int previousMode = R2_COPYPEN;
};

// Called with every dispatched event when set (the tests' tap); null in the program.
extern void (*toolEventTap)(int32_t windowX, int32_t windowY, float x, float y, float z,
                            int16_t event, int16_t toolId);
