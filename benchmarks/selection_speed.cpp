// Speed of the commands that act on the selection, over selections of 1,000 and 10,000
// objects, inside the program's own (hidden) frame: grouping (5025) and ungrouping
// (operation 5026 on the selection), the furniture editor's reply ("WORKBENCH CLOSING":
// the exchange file read, placed and grouped), copy (19), paste (20), delete (5199), a
// move by the select tool, its undo (16), a half turn (5034) and the selection moved to
// the storey above (5168) or copied there (5170). After each pair of
// sizes comes their ratio: time linear in the selection gives about 10. The reply is
// also taken at the largest size alone.
//
//   selection_speed.exe [--runs N] [--largest-reply N]
//
// Runs in the program directory (the current directory), where it writes the exchange
// file. Times are medians in ms.
#include "bench_support.h"
#include "files/object_exchange.h"
#include "model/object_edit.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "shell/app_globals.h"
#include "shell/companions.h"
#include "shell/frame_window.h"
#include "shell/startup.h"
#include "planview/plan_mouse_dispatch.h"
#include "tools/undo.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

HWND frame = nullptr;
int runs = 7;

void Command(int id)
{
    SendMessageA(frame, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

// Every plan closed unasked, then a new empty one, active.
void FreshPlan()
{
    for (HWND child = GetWindow(mdiClientWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (PlanDocument* document = GetWindowDocument(child))
            if (document->settings)
                document->settings->modified = 0;
    Command(9000);
    Command(2);
    ShowTopView();
}

// n small outlines on the first storey, in a square grid 40 apart, every point selected:
// closed rectangles and two-point lines in turn.
void AddSelectedObjects(int n)
{
    PlanFloor* floor = activeDocument->firstFloor;
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
    const float origin = -side * 20.0f;
    for (int i = 0; i < n; ++i) {
        const float x = origin + (i % side) * 40.0f;
        const float z = origin + (i / side) * 40.0f;
        PlanObject* object = i % 2 ? AddObject(floor, ObjDrawingElement, 6, false, 1.0f, {{x, z}, {x + 30, z + 30}})
                                   : AddObject(floor, ObjDrawingElement, 1, true, 1.0f,
                                               {{x, z}, {x + 30, z}, {x + 30, z + 30}, {x, z + 30}});
        for (PlanVertex* v = object->firstVertex; v; v = v->next)
            v->selected = 1;
    }
}

// A plan with the selection of n objects, then the step timed.
double Timed(int n, const std::function<void()>& step, const std::function<void()>& prepare = nullptr)
{
    return Median(runs, step, [&] {
        FreshPlan();
        AddSelectedObjects(n);
        if (prepare)
            prepare();
    });
}

// The select tool's press on the first object's first segment, one step and the release:
// the whole selection moves 30 units to the right.
void MoveBySelectTool()
{
    PlanObject* grabbed = activeDocument->firstFloor->firstObject;
    AimSelectToolAt(grabbed);
    const int x = static_cast<int>(grabbed->firstVertex->position[0]) + 4;
    const int z = static_cast<int>(grabbed->firstVertex->position[2]);
    // As the pane's press handling does before a drag.
    BeginUndoableGesture();
    activeDocument->lastEditKind = GetToolUndoCode(currentToolId);
    activeDocument->lastEditUndone = 0;
    undoAvailable = 0;
    HandlePlanButtonDown(x, z);
    HandlePlanMouseMove(x + 30, z, x, z, x, z);
    HandlePlanButtonUp(x + 30, z, x + 30, z, x, z);
}

// The exchange file of n selected objects, as the editor would write its reply.
std::string WriteReply(int n)
{
    FreshPlan();
    AddSelectedObjects(n);
    std::string path = std::string(programDirectory) + "\\Z!TOVRL.TMP";
    WriteObjectExchangeFile(path.c_str());
    return path;
}

// The editor started from the menu of the active plan, then its closing message.
double ReplyTime(int n)
{
    WriteReply(n);
    return Median(runs, [] { SendMessageA(frame, workbenchClosingMessage, 0, 0); }, [] {
        FreshPlan();
        FurnitureEditorStarted(nullptr, nullptr);
    });
}

struct Step {
    const char* name;
    std::function<double(int)> time;
};

void Report(const Step& step)
{
    const double small = step.time(1000);
    const double large = step.time(10000);
    PrintTime(std::string(step.name) + ", 1000 selected", small, runs);
    PrintTime(std::string(step.name) + ", 10000 selected", large, runs);
    PrintValue(std::string(step.name) + ", 10000 / 1000", large / std::max(small, 0.01), "x");
}

} // namespace

int main(int argc, char** argv)
{
    int largestReply = 100000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (!std::strcmp(argv[i], "--runs"))
            runs = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--largest-reply"))
            largestReply = std::atoi(argv[++i]);
    }
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!InitStartupState(instance, nullptr) || !RegisterWindowClasses(instance)) {
        std::printf("selection_speed: the program's start-up failed\n");
        return 1;
    }
    PrepareFrameResources();
    frame = CreateFrameWindow();
    if (!frame) {
        std::printf("selection_speed: no frame\n");
        return 1;
    }

    const Step steps[] = {
        {"group (5025)", [](int n) { return Timed(n, [] { Command(5025); }); }},
        {"ungroup (5026 on the selection)", [](int n) {
             return Timed(n, [] { ForEachFloorSelection(activeDocument->firstFloor, kUngroupSelectedCode, nullptr); },
                          [] { Command(5025); });
         }},
        {"editor's reply (WORKBENCH CLOSING)", ReplyTime},
        {"copy (19)", [](int n) { return Timed(n, [] { Command(19); }); }},
        {"paste (20)", [](int n) { return Timed(n, [] { Command(20); }, [] { Command(19); }); }},
        {"delete (5199)", [](int n) { return Timed(n, [] { Command(5199); }); }},
        {"move by the select tool", [](int n) { return Timed(n, MoveBySelectTool); }},
        {"undo of the move (16)", [](int n) { return Timed(n, [] { Command(16); }, MoveBySelectTool); }},
        {"half turn (5034)", [](int n) { return Timed(n, [] { Command(5034); }); }},
        {"moved to the storey above (5168)", [](int n) { return Timed(n, [] { Command(5168); }); }},
        {"copied to the storey above (5170)", [](int n) { return Timed(n, [] { Command(5170); }); }},
    };
    for (const Step& step : steps)
        Report(step);
    if (largestReply > 10000)
        PrintTime("editor's reply (WORKBENCH CLOSING), " + std::to_string(largestReply) + " objects",
                  ReplyTime(largestReply), runs);

    FreshPlan();
    Command(9000);
    DestroyWindow(frame);
    return 0;
}
