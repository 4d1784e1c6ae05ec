#pragma once
#include <windows.h>
#include <commdlg.h>
#include <deque>
#include <initializer_list>
#include <string>
#include <vector>
#include "support/frame_fixtures.h"

struct PlanDocument;
struct PlanFloor;
struct PlanObject;

namespace shelltest {

// Answers the program's file dialogs in the user's place: each call takes the next
// queued answer (a path to choose, or a cancel) and records what the dialog was asked.
class FileDialogAnswers {
public:
    struct Call {
        bool save;
        std::string title;       // empty when none
        std::string initialName;
        std::string filter;      // pairs joined with '|'
        std::string extension;
        DWORD flags;
        DWORD maxFile;
        HWND owner;
    };
    FileDialogAnswers();
    ~FileDialogAnswers();
    void Choose(const std::string& path) { answers.push_back(path); }
    void Cancel() { answers.push_back(std::string(1, '\0')); }
    const std::vector<Call>& Calls() const { return calls; }
private:
    static BOOL Hook(OPENFILENAMEA* record, bool save, void* context);
    std::vector<Call> calls;
    std::deque<std::string> answers;
};

// Sends a command to the frame as the menu does and returns the frame's result.
LRESULT SendCommand(HWND frame, int command, LPARAM lParam = 0);
// The document windows of the MDI client, in z order.
std::vector<HWND> DocumentWindows();
using vtest::ForgetDocumentChanges;
std::string WindowText(HWND window);

// A line (type 6) on the floor, one vertex per point (x, z in the plan, height 0).
struct PlanPoint { float x, z; };
PlanObject* AddLine(PlanFloor* floor, std::initializer_list<PlanPoint> points, bool selected = false);
// Objects on every floor of the document (top level only).
int CountObjects(const PlanDocument* document);
// The storey with that name in the active document.
PlanFloor* Storey(const char* name);
// Full path of a file in the test's own folder.
std::string LocalPath(const std::string& name);

} // namespace shelltest
