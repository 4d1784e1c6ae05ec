#include "shell/companions.h"
#include "shell/app_globals.h"
#include "shell/camera_presets.h"
#include "shell/file_dialogs.h"
#include "shell/frame_window.h"
#include "shell/message_box.h"
#include "files/ansi_names.h"
#include "files/area_measurement.h"
#include "files/kept_paths.h"
#include "files/object_exchange.h"
#include "files/plan_file.h"
#include "files/whole_reads.h"
#include "model/object_copies.h"
#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"

#include <direct.h>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Commands the import sends to the frame.
constexpr WPARAM kNewDocumentCommand = 2;
constexpr WPARAM kPlanViewCommand = 5149;
constexpr WPARAM kGroupSelectionCommand = 5025;
constexpr WPARAM kGroupAfterReplyCommand = 5205;

// How long the broadcast waits for each window.
constexpr UINT kBroadcastTimeout = 2000;
// How long a start waits for the companion to take input (WinExec's wait).
constexpr DWORD kInputIdleTimeout = 30000;

const char* const kTovrelError =
    "E' stato riscontrato un errore durante l'apertura di Tovrel. Assicurarsi che il programma sia "
    "installato correttamente e che ci sia memoria sufficiente.";
const char* const kTovrelCaption = "Impossibile aprire Tovrel";
const char* const kTovrelWriteError =
    "Si è verificato un errore durante la scrittura del file dell'oggetto da usare con Tovrel.";
const char* const kKorvaneWriteError =
    "Si è verificato un errore durante la scrittura del file di disegno da usare con Korvane.";
const char* const kKorvaneError =
    "E' stato riscontrato un errore durante l'apertura di Korvane. Assicurarsi che il programma sia "
    "installato correttamente e che ci sia memoria sufficiente.";
const char* const kKorvaneCaption = "Impossibile aprire Korvane";
const char* const kEstimateQuestion =
    "Revazov udodovezuz è già aperto. Aggiornare Revazov udodovezuz con le modifiche del disegno più "
    "recenti?\n\nNOTA: Questo cancellerà e aggiornerà tutti i valori in Revazov udodovezuz. Assicurarsi di "
    "salvare il lavoro in Revazov udodovezuz prima di cancellarne e aggiornarne il contenuto.";
const char* const kEstimateQuestionCaption = "Aggiornare Revazov udodovezuz?";
const char* const kEstimateWriteError =
    "Si è verificato un errore durante la scrittura del file di calcolo da usare con Revazov udodovezuz.";
// The spreadsheet's start failure reads "sufficient." as it always has.
const char* const kEstimateError =
    "E' stato riscontrato un errore durante l'apertura di Revazov udodovezuz. Assicurarsi che il programma "
    "sia installato correttamente e che ci sia memoria sufficient.";
const char* const kEstimateCaption = "Impossibile aprire Revazov udodovezuz";
// Both editors would write the one exchange file, and a reply does not say which sent it.
const char* const kTovrelBusy =
    "Tovrel sta ancora lavorando su un disegno. Chiudere Tovrel, perché il suo lavoro torni nel disegno, "
    "prima di avviarlo di nuovo.";
const char* const kEditorStillWorking =
    "L'editor dell'arredamento sta ancora lavorando su questo disegno. Chiudere comunque?";
const char* const kReplyKept =
    "Il disegno per cui lavorava l'editor dell'arredamento è stato chiuso. Il suo lavoro è stato conservato "
    "nel file %s: per aggiungerlo a un disegno, scegliere Fichier, Importer, Objet Quintara...";
const char* const kReplyNotKept =
    "Il disegno per cui lavorava l'editor dell'arredamento è stato chiuso. Non è stato possibile conservare il suo "
    "lavoro in un file.";
// The editor said it replied, but its file is as the hand-over left it: nothing is taken,
// least of all the object as it was handed over.
const char* const kNoReply =
    "L'editor dell'arredamento si è chiuso senza scrivere il suo lavoro nel file\n%s\n\nNessun disegno è stato "
    "cambiato.";
const char* const kNoReplyNeighbour =
    "L'editor dell'arredamento si è chiuso senza scrivere il suo lavoro nel file\n%s\n\nNessun disegno è stato "
    "cambiato. Il nome breve della cartella del programma è ora anche quello della cartella\n%s\naccanto, e il file "
    "passato all'editor porta lì: il suo lavoro, se lo ha scritto, è nel file\n%s\nRinominare quella cartella.";
// The exchange file would be handed over through the short form, which reaches the
// neighbour now: nothing is written there, and the editor is not started.
const char* const kTovrelWriteNeighbour =
    "Si è verificato un errore durante la scrittura del file dell'oggetto da usare con Tovrel:\n%s\n\nIl nome breve "
    "della cartella del programma è ora anche quello della cartella\n%s\naccanto: l'editor vi troverebbe il file "
    "di quella cartella. Rinominare quella cartella.";
const char* const kReplyUnreadable =
    "Il lavoro dell'editor dell'arredamento non può essere letto dal file\n%s\n\nÈ stato conservato nel file "
    "%s: per aggiungerlo a un disegno, scegliere Fichier, Importer, Objet Quintara...";
const char* const kReplyUnreadableNotKept =
    "Il lavoro dell'editor dell'arredamento non può essere letto dal file\n%s\n\nNon è stato possibile "
    "conservarlo in un altro file.";

// The editor's exchange file, which it writes its reply into.
const char* const kExchangeName = "\\Z!TOVRL.TMP";
// How often a reply that waits for a modal loop to end looks again.
constexpr UINT kDeferredReplyRetry = 100;
// How long the reply of a closed plan is tried again while the editor holds its file.
constexpr DWORD kKeepReplyTime = 10000;

// A "WORKBENCH CLOSING" that came while a modal loop ran: the reply waits, pending,
// until no modal loop runs.
bool replyDeferred = false;
// The reply of a closed plan, whose file the editor still held: kept once it lets go,
// tried again on the reply timer from keepingSince on.
bool replyToKeep = false;
DWORD keepingSince = 0;
// The exchange file as the editor was started with it, taken before its start: only a
// change of it is a reply. Unknown where the editor was counted as running otherwise.
bool startStateKnown = false;
bool startFilePresent = false;
FileState startState;

std::string ProgramFile(const char* name)
{
    return std::string(programDirectory) + name;
}

// The state of the exchange file the program folder means (never a neighbour's); false,
// with the system's error, where it cannot be opened.
bool ExchangeFileState(FileState* state)
{
    const HANDLE file = OpenMeantFile(ProgramFile(kExchangeName).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool taken = TakeFileState(file, state);
    CloseHandle(file);
    return taken;
}

// Whether a companion counts as running: its flag, unless its process has ended.
bool StillRunning(unsigned char& running, HANDLE& process)
{
    if (!running) {
        ForgetCompanionProcess(process);
        return false;
    }
    if (process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0) {
        ForgetCompanionProcess(process);
        running = 0;
    }
    return running != 0;
}

void DeselectEverything(PlanDocument* document)
{
    SetSelectionAllFloors(document->firstFloor, 2, 1);
}

void ShowWaitCursor()
{
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
}

void ShowArrowCursor()
{
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

} // namespace

RECT ImportedDeviceRect(const float* box)
{
    // The extents run top, left, bottom, right; a RECT left, top, right, bottom.
    RECT rect = {static_cast<LONG>(box[kRectMinX] + 0.5f), static_cast<LONG>(box[kRectMinY] + 0.5f),
                 static_cast<LONG>(box[kRectMaxX] + 0.5f), static_cast<LONG>(box[kRectMaxY] + 0.5f)};
    ZoomRect16(&rect);
    InflateRect(&rect, 5, 5);
    if (HDC dc = GetDC(activePlanPane)) {
        LPtoDP(dc, reinterpret_cast<POINT*>(&rect), 2);
        ReleaseDC(activePlanPane, dc);
    }
    return rect;
}

void ChangeToProgramDirectory()
{
    if (!programDirectory || !programDirectory[0])
        return;
    // By the long path meant: a neighbour folder that took the program folder's short form
    // since would otherwise be the companions' current folder, and get their replies.
    if (programLongDirectory && programLongDirectory[0]) {
        SetCurrentDirectoryW(programLongDirectory);
        return;
    }
    std::string directory = programDirectory;
    for (char& c : directory)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (directory[0] >= 'A' && directory[0] <= 'Z')
        _chdrive(directory[0] - 'A' + 1);
    _chdir(directory.c_str());
}

bool BuildCompanionCommandLine(const char* executable, const char* arguments, char* line, size_t size)
{
    if (!programDirectory || !executable || !line || size == 0)
        return false;
    const bool quoted = std::strchr(programDirectory, ' ') != nullptr;
    std::string text;
    if (quoted)
        text = "\"" + ProgramFile(executable) + "\"";
    else
        text = ProgramFile(executable);
    if (arguments && arguments[0])
        text += std::string(" ") + arguments;
    if (text.size() >= size)
        return false;
    std::memcpy(line, text.c_str(), text.size() + 1);
    return true;
}

HANDLE furnitureEditorProcess = nullptr;
HANDLE estimateProcess = nullptr;

bool RunCompanion(const char* executable, const char* arguments, HANDLE* process)
{
    if (process)
        *process = nullptr;
    // CreateProcess may write into the command line: it is built in this buffer.
    char line[2 * MAX_PATH + 64];
    if (!BuildCompanionCommandLine(executable, arguments, line, sizeof line))
        return false;
    ChangeToProgramDirectory();
    STARTUPINFOW startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started;
    std::memset(&started, 0, sizeof started);
    // The program itself by the long path meant, as the folder: never a neighbour's of the
    // same short form.
    std::wstring wideLine = WidenName(line);
    if (!CreateProcessW(MeantWidePath(ProgramFile(executable)).c_str(), &wideLine[0], nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &started))
        return false;
    WaitForInputIdle(started.hProcess, kInputIdleTimeout);
    CloseHandle(started.hThread);
    if (process)
        *process = started.hProcess;
    else
        CloseHandle(started.hProcess);
    return true;
}

void ForgetCompanionProcess(HANDLE& process)
{
    if (process)
        CloseHandle(process);
    process = nullptr;
}

bool FurnitureEditorStillRunning()
{
    // An editor whose reply waits to be taken (or kept) is still at work on its plan.
    if (replyDeferred || replyToKeep)
        return true;
    const bool running = StillRunning(furnitureEditorRunning, furnitureEditorProcess);
    if (!running)
        FurnitureEditorEnded();
    return running;
}

bool EstimateSpreadsheetStillRunning()
{
    return StillRunning(estimateRunning, estimateProcess);
}

HWND furnitureEditorPlan = nullptr;

void FurnitureEditorStarted(HANDLE process, PlanObject* edited)
{
    // A second editor is refused while one runs: a handle kept here is an ended one's.
    ForgetCompanionProcess(furnitureEditorProcess);
    furnitureEditorProcess = process;
    companionEditObject = edited;
    // The plan pane's parent is its document window.
    furnitureEditorPlan = activePlanPane ? GetParent(activePlanPane) : nullptr;
    furnitureEditorRunning = 1;
}

void NoteFurnitureEditorStart()
{
    startFilePresent = programDirectory && ExchangeFileState(&startState);
    startStateKnown = programDirectory != nullptr;
}

void FurnitureEditorEnded()
{
    startStateKnown = false;
    replyDeferred = false;
    replyToKeep = false;
    if (frameWindow)
        KillTimer(frameWindow, kEditorReplyTimer);
    companionEditObject = nullptr;
    furnitureEditorPlan = nullptr;
    furnitureEditorRunning = 0;
    ForgetCompanionProcess(furnitureEditorProcess);
}

void BroadcastSpreadsheetUpdate()
{
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(HWND_BROADCAST, updateSpreadsheetMessage, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                        kBroadcastTimeout, &answer);
}

void ReportFurnitureEditorFailure(HWND owner)
{
    ShowMessageBox(owner, kTovrelError, kTovrelCaption, MB_OK);
    FurnitureEditorEnded();
}

void ReportFurnitureEditorWriteFailure(HWND owner)
{
    const std::wstring neighbour = NeighbourNamedBy(programDirectory, programLongDirectory);
    if (neighbour.empty())
        ShowMessageBox(owner, kTovrelWriteError, kTovrelCaption, MB_OK);
    else
        ShowMessageBoxNaming(owner, kTovrelWriteNeighbour, {MeantWidePath(ProgramFile(kExchangeName)), neighbour},
                             kTovrelCaption, MB_OK);
}

bool RefuseSecondFurnitureEditor(HWND owner)
{
    if (!FurnitureEditorStillRunning())
        return false;
    ShowMessageBox(owner, kTovrelBusy, kTovrelCaption, MB_OK | MB_ICONINFORMATION);
    return true;
}

void StartFurnitureEditor(HWND frame)
{
    PlanDocument* document = activeDocument;
    if (!programDirectory || !document || !document->settings || RefuseSecondFurnitureEditor(frame))
        return;
    DeselectEverything(document);
    const bool metric = document->settings->unitSystem == kUnitSystemMetric;
    companionEditObject = nullptr;
    HANDLE process = nullptr;
    NoteFurnitureEditorStart();
    if (!RunCompanion("\\Z!TOVRL.EXE", metric ? "M" : "E", &process)) {
        ReportFurnitureEditorFailure(nullptr);
        return;
    }
    FurnitureEditorStarted(process, nullptr);
}

void StartScaleModelTool(HWND)
{
    PlanDocument* document = activeDocument;
    if (!document || !programDirectory)
        return;
    ChangeToProgramDirectory();
    PlanSettings* settings = document->settings;
    const uint32_t modified = settings ? settings->modified : 0;
    DeselectEverything(document);

    const std::string exchange = ProgramFile("\\Z!3DQW.TMP");
    ShowWaitCursor();
    if (!SavePlanFile(exchange.c_str())) {
        ShowArrowCursor();
        ShowMessageBox(nullptr, kKorvaneWriteError, kKorvaneCaption, MB_OK);
        return;
    }
    ShowArrowCursor();
    if (!RunCompanion("\\Z!KORVAN.EXE", exchange.c_str()))
        ShowMessageBox(nullptr, kKorvaneError, kKorvaneCaption, MB_OK);
    // The exchange copy is not a save of the plan.
    if (settings)
        settings->modified = modified;
}

void StartEstimateSpreadsheet(HWND frame)
{
    PlanDocument* document = activeDocument;
    if (!document || !programDirectory)
        return;
    if (EstimateSpreadsheetStillRunning() &&
        ShowMessageBox(frame, kEstimateQuestion, kEstimateQuestionCaption, MB_YESNO) != IDYES)
        return;
    ChangeToProgramDirectory();
    DeselectEverything(document);

    const std::string exchange = ProgramFile("\\Z!EST.TMP");
    ShowWaitCursor();
    if (!WriteEstimateFile(exchange.c_str())) {
        ShowArrowCursor();
        ShowMessageBox(nullptr, kEstimateWriteError, kEstimateCaption, MB_OK);
        return;
    }
    ShowArrowCursor();
    if (estimateRunning) {
        BroadcastSpreadsheetUpdate();
        return;
    }
    HANDLE process = nullptr;
    if (!RunCompanion("\\Z!3DEST.EXE", exchange.c_str(), &process)) {
        ShowMessageBox(nullptr, kEstimateError, kEstimateCaption, MB_OK);
        return;
    }
    estimateProcess = process;
    estimateRunning = 1;
}

void ImportObjectCommand(HWND frame)
{
    if (!activePlanPane)
        SendMessageA(frame, WM_COMMAND, kNewDocumentCommand, 0);
    if (!activePlanPane || !activeDocument || !activeDocument->settings)
        return;
    if (GetCameraPresetCommand() != ViewTop)
        SendMessageA(frame, WM_COMMAND, kPlanViewCommand, 0);

    exchangeImportActive = 1;
    PrepareObjectImportDialog(frame);
    std::snprintf(fileNameBuffer, sizeof fileNameBuffer, "%s", "*.ZOB");
    if (!ChooseObjectFileToImport(frame, fileNameBuffer, fileTitleBuffer)) {
        exchangeImportActive = 0;
        return;
    }

    ShowWaitCursor();
    DeselectEverything(activeDocument);
    const bool imported = ImportObjectFile(fileNameBuffer);
    if (imported && activePlanPane) {
        // Only the imported objects (the selected ones) go to the middle of the site: the
        // rest of the plan stays where the user put it.
        float box[4];
        RecentreDrawing(1, box);
        RECT rect = ImportedDeviceRect(box);
        SendMessageA(frame, WM_COMMAND, kGroupSelectionCommand, 0);
        InvalidateRect(activePlanPane, &rect, TRUE);
        if (activeDocument && activeDocument->settings)
            activeDocument->settings->modified = 1;
    }
    ShowArrowCursor();
    exchangeImportActive = 0;
    InvalidatePlanView();
}

// ---------------------------------------------------------------------------------
// The furniture editor's reply.

namespace {

// The 3D extents of the selected objects of every floor; false when nothing is selected.
bool SelectedExtents(PlanDocument* document, float* box)
{
    ResetExtentBox(box);
    GetAllFloorsExtents3D(document->firstFloor, 1, box, 0);
    return box[kBoxMinX] <= box[kBoxMaxX];
}

// Makes the plan of the document window the active one (the import, the recentring and
// the grouping act on the active plan); false when that plan has been closed.
bool ActivatePlanWindow(HWND planWindow)
{
    PlanDocument* document = planWindow ? GetWindowDocument(planWindow) : nullptr;
    if (!document || !document->settings || !mdiClientWindow || GetParent(planWindow) != mdiClientWindow)
        return false;
    if (reinterpret_cast<HWND>(SendMessageA(mdiClientWindow, WM_MDIGETACTIVE, 0, 0)) != planWindow)
        SendMessageA(mdiClientWindow, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(planWindow), 0);
    return activeDocument == document && activePlanPane;
}

// The reply under the first free name TovrelN.ZOB of the program directory: moved there,
// or copied where the editor still holds its file; a name that exists is never written
// over. ERROR_SUCCESS once kept, ERROR_SHARING_VIOLATION while the editor holds the file
// closed to reading, another error where no name can be written.
DWORD MoveReplyToNameOfItsOwn(const std::string& exchange, std::string& kept)
{
    for (int n = 1; n < 1000; ++n) {
        char file[32];
        std::snprintf(file, sizeof file, "\\Tovrel%d.ZOB", n);
        kept = ProgramFile(file);
        // By the program folder's long path: its short form may name a neighbour's now.
        const std::wstring from = MeantWidePath(exchange), to = MeantWidePath(kept);
        if (MoveFileW(from.c_str(), to.c_str()) || CopyFileW(from.c_str(), to.c_str(), TRUE))
            return ERROR_SUCCESS;
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            return error;
    }
    return ERROR_FILE_EXISTS;
}

// Where the exchange file is missing, or unchanged since the editor's start, it holds no
// reply (the editor may have written through the folder's short form into a neighbour's
// folder that took it meanwhile): the user is told, naming the file, and true.
bool NoReplyTold(HWND frame)
{
    FileState now;
    const bool present = ExchangeFileState(&now);
    if (present ? !(startStateKnown && startFilePresent && now == startState) : GetLastError() != ERROR_FILE_NOT_FOUND)
        return false;
    const std::wstring file = MeantWidePath(ProgramFile(kExchangeName));
    const std::wstring neighbour = NeighbourNamedBy(programDirectory, programLongDirectory);
    if (neighbour.empty())
        ShowMessageBoxNaming(frame, kNoReply, file, applicationTitle, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
    else
        ShowMessageBoxNaming(frame, kNoReplyNeighbour, {file, neighbour, LongPathOf(ProgramFile(kExchangeName).c_str())},
                             applicationTitle, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
    return true;
}

// Imports the editor's exchange file into the active plan. The user's selection goes
// first, so that the imported objects are the only selected ones. An edited object is
// replaced by them, put where it stood; otherwise they are placed in the middle of the
// plan. A rejected file has had its message.
void ImportEditorReply(HWND frame, PlanDocument* document)
{
    const std::string path = ProgramFile(kExchangeName);
    PlanObject* edited = companionEditObject;
    float box[6];
    float centreX = 0.0f, centreZ = 0.0f;
    SetSelectionAllFloors(document->firstFloor, 2, 1);
    if (edited) {
        SelectObjectAndDrawHandles(edited, 1, 1);
        SelectedExtents(document, box);
        centreX = box[kBoxMinX] + (box[kBoxMaxX] - box[kBoxMinX]) / 2.0f;
        centreZ = box[kBoxMinZ] + (box[kBoxMaxZ] - box[kBoxMinZ]) / 2.0f;
        SetSelectionAllFloors(document->firstFloor, 2, 1);
    }
    // An editor whose process has ended writes no more: its reply is taken as it stands.
    if (furnitureEditorProcess && WaitForSingleObject(furnitureEditorProcess, 0) == WAIT_OBJECT_0) {
        const HANDLE reply = OpenMeantFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0);
        if (reply != INVALID_HANDLE_VALUE)
            RememberFileLeft(reply), CloseHandle(reply);
    }
    if (NoReplyTold(frame))
        return;
    exchangeImportActive = 1;
    bool unreadable = false;
    const bool imported = ImportObjectFile(path.c_str(), &unreadable);
    exchangeImportActive = 0;
    // What cannot be read stays, under a name no hand-over writes over.
    if (unreadable) {
        std::string kept;
        if (MoveReplyToNameOfItsOwn(path, kept) == ERROR_SUCCESS)
            ShowMessageBoxNaming(frame, kReplyUnreadable, {MeantWidePath(path), MeantWidePath(kept)},
                                 applicationTitle, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
        else
            ShowMessageBoxNaming(frame, kReplyUnreadableNotKept, MeantWidePath(path), applicationTitle,
                                 MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
        return;
    }
    if (!imported || !SelectedExtents(document, box))
        return;
    float recentred[4];
    RecentreDrawing(1, recentred);
    SendMessageA(frame, WM_COMMAND, kGroupAfterReplyCommand, 0);
    // The edited object is forgotten when it is freed meanwhile.
    if (edited && edited == companionEditObject) {
        TransformRecord move = {};
        move.offset[0] = centreX;
        move.offset[2] = centreZ;
        ForEachFloorObject(document->firstFloor, 1, MoveBy, &move);
        SetSelectionAllFloors(document->firstFloor, 2, 0);
        SelectObjectAndDrawHandles(edited, 1, 0);
        DeleteObjectWithDependants(edited);
    }
    document->settings->modified = 1;
}

// The reply of a plan that has been closed: the exchange file is kept under a name of its
// own in the program directory, which no hand-over writes over, and the user is told
// where, so that the work can be imported into any plan, or told plainly that it could
// not be kept. While the editor holds the file, it is tried again on the reply timer for
// up to kKeepReplyTime: false until then.
bool KeepReplyOfClosedPlan(HWND frame)
{
    const std::string exchange = ProgramFile(kExchangeName);
    if (!replyToKeep) {
        if (MeantFileAttributes(exchange.c_str()) == INVALID_FILE_ATTRIBUTES)
            return true;   // no reply was written
        replyToKeep = true;
        keepingSince = GetTickCount();
    }
    std::string name;
    const DWORD result = MoveReplyToNameOfItsOwn(exchange, name);
    if (result == ERROR_SHARING_VIOLATION && GetTickCount() - keepingSince < kKeepReplyTime) {
        SetTimer(frame, kEditorReplyTimer, kDeferredReplyRetry, nullptr);
        return false;
    }
    replyToKeep = false;
    // Named by its long path: the short form may name a neighbour's folder now.
    if (result == ERROR_SUCCESS)
        ShowMessageBoxNaming(frameWindow, kReplyKept, MeantWidePath(name), applicationTitle,
                             MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
    else
        ShowMessageBox(frameWindow, kReplyNotKept, applicationTitle, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
    return true;
}

// The reply, taken into the plan the editor worked for (made active first), or kept when
// that plan has been closed; then the editor no longer counts as running.
void TakeEditorReply(HWND frame, bool update)
{
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const bool intoPlan = update && ActivatePlanWindow(furnitureEditorPlan);
    if (intoPlan)
        ImportEditorReply(frame, activeDocument);
    const bool toKeep = update && !intoPlan && !NoReplyTold(frame);
    FurnitureEditorEnded();
    if (toKeep)
        KeepReplyOfClosedPlan(frame);
    if (activePlanPane) {
        InvalidateRect(activePlanPane, nullptr, TRUE);
        UpdateWindow(activePlanPane);
    }
    SetCursor(previous);
}

} // namespace

bool ModalLoopRunning()
{
    // A dialog, a common dialog or an owned or task-modal box disables the frame.
    if (openMessageBoxCount > 0 || (frameWindow && !IsWindowEnabled(frameWindow)))
        return true;
    GUITHREADINFO thread;
    std::memset(&thread, 0, sizeof thread);
    thread.cbSize = sizeof thread;
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &thread))
        return false;
    return (thread.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_INMOVESIZE)) || thread.hwndCapture;
}

void HandleWorkbenchClosing(HWND frame, bool update)
{
    if (!furnitureEditorRunning)
        return;
    // Cleared first: a reply repeated while the import shows a message is not taken.
    furnitureEditorRunning = 0;
    // Inside a modal loop the reply would change the plan under the dialog, the box or
    // the menu that is open (a Move dialog would move the reply rather than the user's
    // selection): it waits until the loop has ended.
    if (update && ModalLoopRunning()) {
        replyDeferred = true;
        SetTimer(frame, kEditorReplyTimer, kDeferredReplyRetry, nullptr);
        return;
    }
    TakeEditorReply(frame, update);
}

void TakeDeferredEditorReply(HWND frame)
{
    if (replyToKeep) {
        if (KeepReplyOfClosedPlan(frame))
            KillTimer(frame, kEditorReplyTimer);
        return;
    }
    if (!replyDeferred) {
        KillTimer(frame, kEditorReplyTimer);
        return;
    }
    if (ModalLoopRunning())
        return;
    replyDeferred = false;
    KillTimer(frame, kEditorReplyTimer);
    TakeEditorReply(frame, true);
}

bool FurnitureEditorLetsPlanClose(HWND planWindow)
{
    if (!planWindow || planWindow != furnitureEditorPlan || !FurnitureEditorStillRunning())
        return true;
    char title[256] = "";
    GetWindowTextA(planWindow, title, sizeof title);
    return ShowMessageBox(frameWindow, kEditorStillWorking, title, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void KeepEditorReplyAtClose(HWND frame)
{
    if (replyDeferred) {
        replyDeferred = false;
        TakeEditorReply(frame, true);
    }
    // The timer does not outlive the frame: the editor's hold is waited out here.
    while (replyToKeep && !KeepReplyOfClosedPlan(frame))
        Sleep(kDeferredReplyRetry);
    KillTimer(frame, kEditorReplyTimer);
}
