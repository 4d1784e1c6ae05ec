#include "shell/document_commands.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "shell/message_box.h"
#include "shell/startup.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/record_memory.h"
#include "files/ansi_names.h"
#include "files/kept_paths.h"
#include "files/plan_file.h"
#include "files/record_stream.h"
#include "files/safe_save.h"
#include "palette/category_tabs.h"
#include "planview/selection.h"
#include "render3d/render_window.h"
#include "render3d/scene_upkeep.h"
#include "render3d/selvith_window.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

unsigned long untitledCounter = 1;
short cascadeIndex = 0;
short saveAsCounter = 1;
HWND unreadStartPlanWindow = nullptr;

const char* const planNotReadMessage = "Impossibile leggere il file di disegno:\n%s";
static const char* const kInterruptedSaveCaption = "Salvataggio interrotto";
static const char* const kInterruptedSaveText =
    "Il salvataggio di %s non si è concluso. Una copia completa del disegno precedente è "
    "conservata in %s. Aprire la copia?";
const char* const planBeingSavedMessage =
    "Il disegno è in corso di salvataggio da parte di un altro programma. Riprovare più tardi.";
static const char* const kClosedCopyText =
    "Accanto al disegno c'è una sua copia che non si può leggere, %s: forse un altro utente lo sta salvando. "
    "Se quel salvataggio si è interrotto, il disegno si potrà aprire solo dopo che l'utente che lo stava "
    "salvando lo avrà aperto.";

static const char* const kOtherUsersCopyText =
    "Il disegno %s è danneggiato. Accanto c'è una copia, %s, che non può essere aperta al suo posto né rimossa da "
    "questo utente.";

// A whole copy beside a damaged plan that this user cannot offer in the plan's place: named,
// never opened there. Who left it is not said: Wine shows every other user as one owner,
// the plan's own owner among them.
static void TellOtherUsersCopy(const char* plan, const std::string& copy)
{
    std::vector<char> text(std::strlen(kOtherUsersCopyText) + std::strlen(plan) + copy.size() + 1);
    std::snprintf(text.data(), text.size(), kOtherUsersCopyText, plan, copy.c_str());
    ShowMessageBox(nullptr, text.data(), applicationTitle, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
}

static void SendFrameCommand(HWND frame, WPARAM command)
{
    if (frame)
        SendMessageA(frame, WM_COMMAND, command, 0);
}

// The document keeps a heap copy of its path (length + 10 bytes, zeroed); the old one
// is freed first. Without memory the document keeps no path and the user hears a beep.
// Beside it the long path it means now, just after Open, Save As or the start have taken
// it, when its short form names that file alone: every later write through the path is
// proven against it (files/kept_paths.h).
static void SetDocumentPath(PlanDocument* document, const char* path)
{
    if (!document)
        return;
    ReleaseRecord(document->filePath);
    document->filePath = nullptr;
    ReleaseRecord(document->fileLongPath);
    document->fileLongPath = nullptr;
    KeepMeantPath(document, nullptr, std::wstring(), false);
    if (!path)
        return;
    size_t length = std::strlen(path);
    const std::wstring longPath = LongPathOf(path);
    char* copy = static_cast<char*>(AllocateRecord(length + 10));
    wchar_t* longCopy = static_cast<wchar_t*>(AllocateRecord((longPath.size() + 1) * sizeof(wchar_t)));
    if (!copy || !longCopy) {
        ReleaseRecord(copy);
        ReleaseRecord(longCopy);
        MessageBeep(0);
        return;
    }
    std::memcpy(copy, path, length);
    std::copy(longPath.begin(), longPath.end(), longCopy);
    document->filePath = copy;
    document->fileLongPath = longCopy;
    KeepMeantPath(document, path, longPath, false);
}

static void CopyToBuffer(char* buffer, const char* text)
{
    std::snprintf(buffer, FileNameBufferSize, "%s", text ? text : "");
}

static HCURSOR ShowWaitCursor()
{
    return SetCursor(LoadCursorA(nullptr, IDC_WAIT));
}

static void ShowArrowCursor()
{
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

static HWND ActiveDocumentWindow()
{
    return activePlanPane ? GetParent(activePlanPane) : nullptr;
}

// A path as the user gave it: its long form where it may hold a short one.
static std::wstring GivenName(const char* path)
{
    const std::wstring longPath = std::strchr(path, '~') ? LongPathOf(path) : std::wstring();
    return longPath.empty() ? WidenName(path) : longPath;
}

// Says why a plan was not read where its reader said nothing: one that changed at every
// read, or that another program held for writing all along, is being saved. The plan is
// named as the user gave it, not by the short form the program opens it by.
static void TellPlanUnread(const std::wstring& given, bool saving)
{
    if (saving || recordFileChanging) {
        ShowMessageBox(nullptr, planBeingSavedMessage, applicationTitle, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
        return;
    }
    ShowMessageBoxNaming(nullptr, planNotReadMessage, given, applicationTitle, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
}

// Loads a plan into the active document. A file the reader rejected has been reported by
// the reader; one it could not even open (or refused without a word) is reported here
// unless `quiet` (its caller tells it once it has looked further), so the user always
// hears why, once.
static bool LoadPlanReported(const char* path, const std::wstring& given, bool quiet = false)
{
    unsigned long boxesBefore = shownMessageBoxCount;
    HCURSOR previous = ShowWaitCursor();
    bool loaded = LoadPlanFile(path);
    SetCursor(previous);
    if (!loaded && !quiet && shownMessageBoxCount == boxesBefore)
        TellPlanUnread(given, false);
    return loaded;
}

HWND NewDocumentCommand(HWND)
{
    if (!mdiClientWindow)
        return nullptr;
    if (unreadStartPlanWindow && !IsWindow(unreadStartPlanWindow))
        unreadStartPlanWindow = nullptr;
    // The live view, when there is one, follows the new plan as it becomes the active one
    // and sets the scene of the plan left aside; without one the scene simply goes.
    if (!selvithWindow)
        FreeScenePolygons();

    RECT client;
    GetClientRect(mdiClientWindow, &client);
    int offset = cascadeIndex * 4;
    MDICREATESTRUCTA create;
    std::memset(&create, 0, sizeof create);
    create.szClass = "DocumentClass";
    create.szTitle = "Senza nome";
    create.hOwner = hInstance;
    create.x = offset + 1;
    create.y = offset + 1;
    create.cx = (client.right - client.left) - 2 - offset;
    create.cy = (client.bottom - client.top) - 2 - offset;
    create.style = WS_VISIBLE | WS_MAXIMIZE | WS_OVERLAPPEDWINDOW | 1;
    create.lParam = 0;
    HWND window = reinterpret_cast<HWND>(
        SendMessageA(mdiClientWindow, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    if (!window)
        return nullptr;

    cascadeIndex = static_cast<short>(cascadeIndex + 1);
    if (cascadeIndex >= 5)
        cascadeIndex = 0;

    // The new window's own plan, not whichever was active should its plan be missing.
    SetDocumentPath(GetWindowDocument(window), nullptr);
    char caption[64];
    std::snprintf(caption, sizeof caption, "Senza nome%ld", static_cast<long>(untitledCounter));
    SetWindowTextA(window, caption);
    ++untitledCounter;

    LoadPlanColours();
    ApplyTabLayerToPlan();
    // The new plan was made the active one as its window was made, not by an activation.
    FollowActivePlanIn3D();
    return window;
}

// The first untitled document takes the plan that is opened instead of a second window,
// but only while it holds nothing of the user's: unmodified and without any object on
// any floor, the view sheets included (dimensions and texts are drawn there).
static bool IsReusableFirstDocument()
{
    if (!activeDocument || untitledCounter != 2)
        return false;
    if (!activeDocument->settings || activeDocument->settings->modified)
        return false;
    static const char* const names[3] = {"First Floor", "Second Floor", "Third Floor"};
    for (const char* name : names) {
        if (!FindFloorByName(name))
            return false;
    }
    for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next) {
        if (floor->firstObject)
            return false;
    }
    return true;
}

// The 3D camera looks along the loaded heading, at a point 1000.0 away.
static void AimCameraFromSettings(const PlanSettings* settings)
{
    const double degreesToRadians = 3.14159265358979323846 / 180.0;
    float angle = static_cast<float>((settings->cameraHeading + 90.0f) * degreesToRadians);
    float dx = 0.0f, dz = 0.0f;
    OffsetPointPolar(angle, 1000.0f, &dx, &dz);
    UpdateSkyForCamera(settings->cameraX, 0.0f, -settings->cameraZ);
    IgnoreCameraChange(settings->cameraX + dx, 0.0f, settings->cameraZ + dz);
}

// When a save of the plan was stopped part-way, the plan may be cut while the copy of
// it before that save is whole: the user chooses which to open. Only then: a whole plan
// opens as it is, and its copy is replaced by its next save's own.
static bool ChooseInterruptedSaveCopy(const char* plan, const std::string& copy)
{
    if (copy.empty())
        return false;
    char text[2 * FileNameBufferSize + 256];
    std::snprintf(text, sizeof text, kInterruptedSaveText, plan, copy.c_str());
    return ShowMessageBox(nullptr, text, kInterruptedSaveCaption,
                          MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL) == IDYES;
}

void OpenDocumentCommand(HWND frame)
{
    PreparePlanOpenDialog(frame);
    CopyToBuffer(fileNameBuffer, "*.ZRO;*.ZQW;*.ZVK");
    if (!ChooseFileToOpen(frame, fileNameBuffer, fileTitleBuffer))
        return;
    const InterruptedSave found = FindInterruptedSave(fileNameBuffer, PlanFileReadsWhole);
    // What another program is saving is neither the old plan nor the new one yet.
    if (found.saving) {
        ShowMessageBox(nullptr, planBeingSavedMessage, applicationTitle, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
        return;
    }
    // Another user's save may be under way: said, and the plan opened only as it reads whole.
    if (!found.closed.empty()) {
        char text[FileNameBufferSize + 256];
        std::snprintf(text, sizeof text, kClosedCopyText, found.closed.c_str());
        ShowMessageBox(nullptr, text, applicationTitle, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
        if (!PlanFileReadsWhole(fileNameBuffer))
            return;
    }
    if (!found.other.empty()) {
        TellOtherUsersCopy(fileNameBuffer, found.other);
        return;
    }
    std::string copy = found.copy;
    bool fromCopy = ChooseInterruptedSaveCopy(fileNameBuffer, copy);
    if (!IsReusableFirstDocument())
        SendFrameCommand(frame, 2);
    if (!activeDocument || !activePlanPane)
        return;
    HWND window = ActiveDocumentWindow();

    const unsigned long boxesBefore = shownMessageBoxCount;
    bool loaded = LoadPlanReported(fromCopy ? copy.c_str() : fileNameBuffer,
                                   GivenName(fromCopy ? copy.c_str() : fileNameBuffer), !fromCopy);
    if (!loaded && !fromCopy) {
        // Another instance's save, started or stopped since the look above, may have cut
        // the plan and left its copy: looked for again, and one message said.
        const bool changing = recordFileChanging, told = shownMessageBoxCount != boxesBefore;
        const InterruptedSave again = FindInterruptedSave(fileNameBuffer, PlanFileReadsWhole);
        copy = again.saving ? std::string() : again.copy;
        if (!told && !again.saving && !again.other.empty())
            TellOtherUsersCopy(fileNameBuffer, again.other);
        else if (!told && (again.saving || copy.empty()))
            TellPlanUnread(GivenName(fileNameBuffer), again.saving || changing);
        fromCopy = ChooseInterruptedSaveCopy(fileNameBuffer, copy);
        loaded = fromCopy && LoadPlanReported(copy.c_str(), GivenName(copy.c_str()));
    }
    if (!loaded) {
        // The window keeps no path of a file it could not read, so no later save can
        // overwrite that file with what little was read of it.
        SetDocumentPath(activeDocument, nullptr);
        fileNameBuffer[0] = 0;
        fileTitleBuffer[0] = 0;
        MessageBeep(0);
        return;
    }
    SetWindowTextA(window, fileTitleBuffer);
    SetDocumentPath(activeDocument, fileNameBuffer);
    ShowArrowCursor();
    PlanSettings* settings = activeDocument->settings;
    if (settings && settings->toolBarFlag && toolBarWindow)
        RedrawWindow(toolBarWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    if (frame)
        RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    SetSelectionAllFloors(activeDocument->firstFloor, 2, 0);
    if (settings)
        AimCameraFromSettings(settings);
    RedrawRenderWindow();
    LoadPlanColours();
    ApplyTabLayerToPlan();
    // The copy is shown under the plan's name, and the plan's file still holds what the
    // stopped save left: closing asks to save it.
    if (fromCopy && activeDocument && activeDocument->settings)
        activeDocument->settings->modified = 1;
}

void CloseDocumentCommand()
{
    if (!mdiClientWindow)
        return;
    HWND child = reinterpret_cast<HWND>(SendMessageA(mdiClientWindow, WM_MDIGETACTIVE, 0, 0));
    if (!child)
        return;
    if (SendMessageA(child, WM_QUERYENDSESSION, 0, 0))
        SendMessageA(mdiClientWindow, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
}

// Writes the active plan to fileNameBuffer. The file never records the plan as modified
// (that belongs to the open window), so a plan saved, reopened and saved again gives the
// same bytes; a failed save keeps the flag as it was.
static bool SaveActivePlan()
{
    PlanSettings* settings = activeDocument ? activeDocument->settings : nullptr;
    uint32_t modified = settings ? settings->modified : 0;
    if (settings)
        settings->modified = 0;
    HCURSOR previous = ShowWaitCursor();
    bool saved = SavePlanFile(fileNameBuffer);
    if (!saved) {
        if (settings && activeDocument && activeDocument->settings == settings)
            settings->modified = modified;
        MessageBeep(0);
    }
    SetCursor(previous);
    ShowArrowCursor();
    return saved;
}

void SaveDocumentAsCommand(HWND frame)
{
    // Until a file is written the save counts as failed: a document closing on "Yes"
    // stays open when the user cancels the dialog.
    saveInProgress = 1;
    PlanDocument* document = activeDocument;
    if (!document || !activePlanPane)
        return;
    HWND window = ActiveDocumentWindow();
    PreparePlanSaveDialog(frame);
    bool hadPath = document->filePath != nullptr;
    if (hadPath)
        CopyToBuffer(fileNameBuffer, document->filePath);
    else
        std::snprintf(fileNameBuffer, FileNameBufferSize, "Disegno%d.ZRO", saveAsCounter);
    if (!ChooseFileToSave(frame, fileNameBuffer, fileTitleBuffer))
        return;
    if (!hadPath) {
        saveAsCounter = static_cast<short>(saveAsCounter + 1);
        if (saveAsCounter > 99)
            saveAsCounter = 1;
    }
    SetWindowTextA(window, fileTitleBuffer);
    SetDocumentPath(document, fileNameBuffer);
    if (SaveActivePlan())
        SendFrameCommand(frame, 5149);
}

void SaveDocumentCommand(HWND frame)
{
    saveInProgress = 1;
    PlanDocument* document = activeDocument;
    if (!document || !activePlanPane)
        return;
    // A path that does not fit the file-name buffer is asked for again.
    if (!document->filePath || std::strlen(document->filePath) >= FileNameBufferSize) {
        SaveDocumentAsCommand(frame);
        return;
    }
    CopyToBuffer(fileNameBuffer, document->filePath);
    SaveActivePlan();
    SendFrameCommand(frame, 5149);
}

void CloseAllDocumentsCommand()
{
    if (mdiClientWindow)
        EnumChildWindows(mdiClientWindow, CloseChildEnumProc, 0);
}

void StartModeLoadCommand(HWND frame)
{
    SendFrameCommand(frame, 2);
    if (!activeDocument || !activePlanPane)
        return;
    HWND window = ActiveDocumentWindow();
    SetWindowTextA(window, "");
    const std::wstring given = CommandLinePlanName();
    if (LoadPlanReported(commandLineBuffer, given.empty() ? GivenName(commandLineBuffer) : given)) {
        SetDocumentPath(activeDocument, commandLineBuffer);
        ShowArrowCursor();
        if (activeDocument->settings)
            SetSelectionAllFloors(activeDocument->firstFloor, 2, 0);
        return;
    }
    // The unread file's path is not kept, so no save can overwrite it; what little was
    // read is not the user's work, so closing does not ask to save it; and nothing of
    // it is printed.
    SetDocumentPath(activeDocument, nullptr);
    if (activeDocument->settings)
        activeDocument->settings->modified = 0;
    unreadStartPlanWindow = window;
    fileNameBuffer[0] = 0;
    fileTitleBuffer[0] = 0;
    MessageBeep(0);
}

void SaveTemporaryCopyCommand(HWND frame)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings || !activePlanPane || !programDirectory)
        return;
    uint32_t modified = document->settings->modified;
    int length = std::snprintf(fileNameBuffer, FileNameBufferSize, "%s\\PRINT.TMP", programDirectory);
    if (length < 0 || length >= FileNameBufferSize) {
        // A program directory too long for the buffer: no copy rather than a cut name.
        fileNameBuffer[0] = 0;
        MessageBeep(0);
        return;
    }
    SaveActivePlan();
    SendFrameCommand(frame, 5149);
    if (activeDocument && activeDocument->settings)
        activeDocument->settings->modified = modified;
}
