#pragma once
// A bare copy of a tree of windows, to measure what windows cost without the program's
// own work. The frame benchmark describes the program's hidden frame as it stands after
// start-up (every window, its class's style, its window style, place, text, and every
// tool of every tooltip) and writes the description to a file; the bare windows program
// reads it and makes the same windows again, with DefWindowProc behind the program's
// classes and the system's own classes (MDI client, tooltips) as they are. Uses no code
// of the program, so that a program linking only this is bare.
#include <windows.h>
#include <string>
#include <vector>

struct ReplicaTool {
    int window = -1;          // index of the window the tool belongs to (TOOLINFO hwnd)
    int toolWindow = -1;      // with TTF_IDISHWND: index of the tool's own window
    UINT flags = 0;
    UINT_PTR id = 0;          // without TTF_IDISHWND: the tool's number
    RECT rect = {};
    std::string text;         // empty: the text is asked for (LPSTR_TEXTCALLBACK)
};

struct ReplicaWindow {
    std::string className;    // the original's class
    bool systemClass = false; // not one of the program's classes: created under its own name
    UINT classStyle = 0;
    int windowExtra = 0;
    DWORD style = 0, exStyle = 0;
    RECT place = {};          // in the parent's client coordinates (screen for top-level)
    int parent = -1;          // index of the parent, -1 for a top-level window
    int owner = -1;           // index of the owner of a top-level window, -1 for none
    INT_PTR childId = 0;
    std::string text;
    std::vector<ReplicaTool> tools;   // a tooltip's tools
};

typedef std::vector<ReplicaWindow> ReplicaTree;

// The tree under root (root first, then its descendants in order) and the top-level
// windows of the calling thread that are not in `before` (tooltips and other pop-ups
// made with the root). Children of system classes are left to their class, which makes
// them itself.
ReplicaTree DescribeWindows(HWND root, const std::vector<HWND>& before);
// The calling thread's top-level windows.
std::vector<HWND> ThreadTopLevelWindows();
// Text file, one window a line and one tool a line; false when it cannot be written or
// read whole.
bool WriteReplicaTree(const ReplicaTree& tree, const char* path);
bool ReadReplicaTree(ReplicaTree* tree, const char* path);

// Makes the windows of the tree (and registers the bare classes the first time);
// returns their handles in the tree's order (null where one could not be made).
std::vector<HWND> CreateReplica(const ReplicaTree& tree);
// Destroys the top-level windows of a replica (their children and owned pop-ups go
// with them).
void DestroyReplica(const ReplicaTree& tree, const std::vector<HWND>& windows);
// How many windows and tooltip tools the tree holds.
int ReplicaToolCount(const ReplicaTree& tree);
