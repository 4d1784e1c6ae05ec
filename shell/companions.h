#pragma once
// The companion programs started from the program directory (the furniture editor
// Z!TOVRL.EXE, the scale-model tool Z!KORVAN.EXE, the estimate spreadsheet Z!3DEST.EXE)
// and the import of an object file (commands 5231, 5272, 5303 and 5000). What binds the
// companions is fixed here: their command lines, their exchange files in the program
// directory and the "UPDATE SPREADSHEET" broadcast; the frame clears estimateRunning on
// the spreadsheet's closing message and hands the editor's to HandleWorkbenchClosing. The
// companions' processes are kept, so that one that ended without its message counts as
// not running.
#include <windows.h>
#include <stddef.h>

// The frame's commands.
void StartFurnitureEditor(HWND frame);
void StartScaleModelTool(HWND frame);
void StartEstimateSpreadsheet(HWND frame);
void ImportObjectCommand(HWND frame);

// The extents of objects just imported (plan units, as RecentreDrawing gives them) as
// the device rectangle of the plan pane they need repainted: zoomed, grown by 5.
RECT ImportedDeviceRect(const float* box);

// Makes the program directory the current drive and directory (nothing without one).
void ChangeToProgramDirectory();
// The command line of a companion: the program directory, the executable's name (with
// its leading backslash) and the arguments as given, after one blank (no blank when the
// arguments are empty). The executable's path is quoted when the program directory holds
// a blank, so that Windows does not start a program named after its first word. False
// when it does not fit.
bool BuildCompanionCommandLine(const char* executable, const char* arguments, char* line, size_t size);
// Starts a companion from the program directory, shown normally, and returns once it
// takes input (as WinExec does); false when it could not be started. With process given
// the caller keeps the process handle; otherwise it is closed at once.
bool RunCompanion(const char* executable, const char* arguments, HANDLE* process = nullptr);

// The processes of the furniture editor and of the estimate spreadsheet while
// furnitureEditorRunning and estimateRunning count them as running; null otherwise.
extern HANDLE furnitureEditorProcess;
extern HANDLE estimateProcess;
// Whether the companion still runs. One that has ended without its closing message
// (it crashed or was killed) does not: its flag is cleared and its handle closed, and
// for the editor the object handed to it is forgotten. A flag set without a process
// is taken as it stands; an editor whose reply waits to be taken still runs.
bool FurnitureEditorStillRunning();
bool EstimateSpreadsheetStillRunning();
// The document window of the plan the furniture editor's reply belongs to (the plan
// active when it was started, which holds the edited object) while the editor counts as
// running; null otherwise. The plan may have been closed since.
extern HWND furnitureEditorPlan;
// The furniture editor started: it counts as running with its process, editing the
// object (null when started from the menu) for the active plan.
struct PlanObject;
void FurnitureEditorStarted(HANDLE process, PlanObject* edited);
// Notes the exchange file as the editor is about to start with it (after the hand-over
// wrote it, before the start): the reply is taken only where that file has changed since,
// else the user is told that none came, and where a neighbour folder took the program
// folder's short form (the hand-over names the file by it), which.
void NoteFurnitureEditorStart();
// The furniture editor no longer counts as running: no object, plan, process or waiting
// reply is kept for it.
void FurnitureEditorEnded();
// Closes a kept process handle and clears it (after a closing message, at the frame's end).
void ForgetCompanionProcess(HANDLE& process);
// A start of the furniture editor while it still works for a plan is refused with a
// message (both would write the one exchange file, and a reply does not say which sent
// it): true when refused.
bool RefuseSecondFurnitureEditor(HWND owner);
// The furniture editor's closing message, with its reply ("WORKBENCH CLOSING") or without
// ("WORKBENCH CLOSING WITH NO UPDATE"), taken once and only while the editor counts as
// running. The reply goes into the plan the editor worked for, made active; when that
// plan has been closed, the reply file is kept under a name of its own in the program
// directory (TovrelN.ZOB, moved or copied, never over a file) and the user is told where,
// or that it could not be kept. While a modal loop runs (a dialog, a message box, a
// menu, a drag), the reply waits, and the frame's timer kEditorReplyTimer takes it once
// the loop has ended (TakeDeferredEditorReply); the same timer tries again, for up to
// 10 s, to keep a reply whose file the editor still holds.
void HandleWorkbenchClosing(HWND frame, bool update);
constexpr UINT_PTR kEditorReplyTimer = 1;
void TakeDeferredEditorReply(HWND frame);
// The frame is about to close, its plans closed: a reply that waits is kept and said now,
// while the frame is still there.
void KeepEditorReplyAtClose(HWND frame);
// Whether a modal loop runs on the program's thread: a dialog or a common dialog (the
// frame is disabled), a message box, a menu being tracked, or a drag holding the mouse.
bool ModalLoopRunning();
// Asked before a plan window closes: false when the editor still works for that plan and
// the user answers that it stays open.
bool FurnitureEditorLetsPlanClose(HWND planWindow);
// The furniture editor did not start: the box that says so, and no editor or object
// counted as running.
void ReportFurnitureEditorFailure(HWND owner);
// The exchange file of a hand-over could not be written, so the editor was not started:
// the box that says so. An editor already running keeps its object and its reply.
void ReportFurnitureEditorWriteFailure(HWND owner);
// Tells a running spreadsheet to reread its file. The broadcast waits at most a moment
// for each window, so that a hung program elsewhere does not freeze this one.
void BroadcastSpreadsheetUpdate();
