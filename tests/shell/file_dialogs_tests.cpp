// velmora-test: desktop
#include <gtest/gtest.h>
#include "files/ansi_names.h"
#include "files/plan_file.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "shell/app_globals.h"
#include "shell/command_dispatcher.h"
#include "shell/file_dialogs.h"
#include "shell/message_box.h"
#include "support/modal_driver.h"
#include "support/test_support.h"
#include "support_commands.h"
#include "support_shell.h"
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using shelltest::FileDialogAnswers;

HWND Owner()
{
    return GetDesktopWindow();
}

TEST(FileDialogs, EachKindPreparesItsFilterAndExtension)
{
    FileDialogAnswers dialogs;
    char file[FileNameBufferSize] = "*.ZOB";
    char title[FileNameBufferSize] = "";

    PrepareObjectImportDialog(Owner());
    EXPECT_NE(0u, fileNameOkMessage);
    EXPECT_EQ(RegisterWindowMessageA("commdlg_LBSelChangedNotify"), listSelectionChangedMessage);
    EXPECT_EQ(0, ChooseObjectFileToImport(Owner(), file, title));
    PreparePlanOpenDialog(Owner());
    ChooseFileToOpen(Owner(), file, title);
    PreparePlanSaveDialog(Owner());
    ChooseFileToSave(Owner(), file, title);
    ChooseImageFileToOpen(Owner());
    ChooseTracingImageFile(Owner(), file, title);
    PrepareDxfFileDialog(Owner());
    ChooseDxfExportFile(Owner(), file, title);
    PrepareDxfFileDialog(Owner());
    Choose3dDxfExportFile(Owner(), file, title);
    ChooseImageFileToOpen(Owner());
    ChooseBmpExportFile(Owner(), file, title);

    struct Expected { bool save; const char* title; const char* filter; const char* extension; DWORD flags; };
    const Expected expected[] = {
        {false, "Importa oggetto 3D", "Oggetto 3D (*.ZOB)|*.ZOB", "ZOB", 0},
        {false, "", "Fandril (*.ZRO, *.ZVK, *.ZQW)|*.ZRO;*.ZVK;*.ZQW", "ZRO", OFN_CREATEPROMPT | OFN_HIDEREADONLY},
        {true, "", "Fandril (*.ZRO, *.ZVK, *.ZQW)|*.ZRO;*.ZVK;*.ZQW", "ZRO", OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY},
        {false, "Carica Immagine tracciato pianta", "BMP File (*.BMP)|*.bmp", "bmp", 0},
        {true, "Export DXF", "File DXF (*.DXF)|*.dxf", "dxf", OFN_OVERWRITEPROMPT},
        {true, "Export 3D DXF", "File DXF (*.DXF)|*.dxf", "dxf", OFN_OVERWRITEPROMPT},
        {true, "Esporta BMP", "BMP File (*.BMP)|*.bmp", "bmp", OFN_OVERWRITEPROMPT},
    };
    ASSERT_EQ(7u, dialogs.Calls().size());
    for (size_t i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        const auto& call = dialogs.Calls()[i];
        EXPECT_EQ(expected[i].save, call.save);
        EXPECT_EQ(expected[i].title, call.title);
        EXPECT_EQ(expected[i].filter, call.filter);
        EXPECT_EQ(expected[i].extension, call.extension);
        EXPECT_EQ(expected[i].flags, call.flags);
        EXPECT_EQ(512u, call.maxFile);
        EXPECT_EQ(Owner(), call.owner);
    }
    // A cancel returns 0 everywhere and the record keeps its result buffers.
    EXPECT_EQ(file, fileDialog.lpstrFile);
    EXPECT_EQ(title, fileDialog.lpstrFileTitle);
}

TEST(FileDialogs, ThePictureKindTitlesTheDialogUntilAShowRoutineSetsItsOwn)
{
    FileDialogAnswers dialogs;
    char file[FileNameBufferSize] = "*.BMP";
    char title[FileNameBufferSize] = "";
    ChooseImageFileToOpen(Owner());
    EXPECT_STREQ("Apri file immagine fotorealistica", fileDialog.lpstrTitle);
    EXPECT_EQ(0u, fileDialog.Flags);
    EXPECT_EQ(nullptr, fileDialog.lpstrInitialDir);
    ChooseTracingImageFile(Owner(), file, title);
    PrepareObjectImportDialog(Owner());
    ChooseObjectFileToImport(Owner(), file, title);
    ASSERT_EQ(2u, dialogs.Calls().size());
    EXPECT_EQ("Importa oggetto 3D", dialogs.Calls()[1].title);
}

TEST(FileDialogs, AChosenFileFillsBothBuffers)
{
    FileDialogAnswers dialogs;
    dialogs.Choose("C:\\plans\\HOUSE.ZRO");
    PreparePlanOpenDialog(Owner());
    std::snprintf(fileNameBuffer, FileNameBufferSize, "%s", "*.ZRO;*.ZQW;*.ZVK");
    EXPECT_EQ(1, ChooseFileToOpen(Owner(), fileNameBuffer, fileTitleBuffer));
    EXPECT_STREQ("C:\\plans\\HOUSE.ZRO", fileNameBuffer);
    EXPECT_STREQ("HOUSE.ZRO", fileTitleBuffer);
    EXPECT_EQ("*.ZRO;*.ZQW;*.ZVK", dialogs.Calls()[0].initialName);
}

// The system dialog itself, answered from another thread as a user would: type a name
// into the dialog's file-name field and press OK; each answer waits for the dialog
// before to be gone, and an empty one cancels.
struct DialogDriver {
    std::atomic<bool> done{false};
    std::vector<std::wstring> answers;
    static BOOL CALLBACK FindEdit(HWND child, LPARAM found)
    {
        char className[32] = "";
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Edit") == 0 && IsWindowVisible(child) && IsWindowEnabled(child)) {
            *reinterpret_cast<HWND*>(found) = child;
            return FALSE;
        }
        return TRUE;
    }
    void Run(DWORD processId)
    {
        HWND answered = nullptr;
        size_t next = 0;
        for (int attempt = 0; attempt < 400 && !done && next < answers.size(); ++attempt) {
            Sleep(25);
            HWND dialog = nullptr;
            while (!IsWindow(answered) && (dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr))) {
                DWORD owner = 0;
                GetWindowThreadProcessId(dialog, &owner);
                if (owner != processId || !IsWindowVisible(dialog))
                    continue;
                HWND edit = nullptr;
                EnumChildWindows(dialog, FindEdit, reinterpret_cast<LPARAM>(&edit));
                if (!edit)
                    continue;
                const std::wstring& name = answers[next++];
                SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(name.empty() ? IDCANCEL : IDOK, BN_CLICKED), 0);
                answered = dialog;
            }
        }
    }
};

TEST(FileDialogs, TheSystemSaveDialogAnsweredLikeAUser)
{
    std::string path = shelltest::LocalPath("TYPED");
    DialogDriver driver;
    driver.answers = {WidenName(path)};
    std::thread helper(&DialogDriver::Run, &driver, GetCurrentProcessId());
    PrepareDxfFileDialog(nullptr);
    std::snprintf(fileNameBuffer, FileNameBufferSize, "%s", "Senza nome.DXF");
    int chosen = ChooseDxfExportFile(nullptr, fileNameBuffer, fileTitleBuffer);
    driver.done = true;
    helper.join();
    ASSERT_EQ(1, chosen);
    // The default extension is added to a name typed without one.
    EXPECT_STRCASEEQ((path + ".dxf").c_str(), fileNameBuffer);
    EXPECT_STRCASEEQ("TYPED.dxf", fileTitleBuffer);
}

// A typed name the code page cannot hold (an omega is no "O") while its look-alike exists,
// on each road of the dialog routine: refused with a message and asked again (then
// cancelled); the look-alike neither replaced nor opened. Open gets an existing name (a
// missing one is first offered for creation).
TEST(FileDialogs, ANameOutsideTheCodePageIsRefusedOnEveryRoad)
{
    HWND frame = shelltest::StartShell();
    ASSERT_NE(nullptr, frame);
    vtest::MessageBoxRecorder boxes;
    shelltest::SendCommand(frame, FrameCommandNew);
    const std::string plan = shelltest::LocalPath("O1.ZRO"), drawing = shelltest::LocalPath("O1.DXF");
    const std::wstring omega = WidenName(plan.substr(0, plan.size() - 6)) + L"\u03A91.";
    ASSERT_TRUE(SavePlanFile(plan.c_str()) && vtest::WriteFileBytes(drawing, {'o', 'l', 'd'}));
    DeleteFileW((omega + L"ZRO").c_str());   // left by an earlier run
    shelltest::AddLine(shelltest::Storey("First Floor"), {{0, 0}, {90, 0}});
    // Two folders that share a short form: an export into one names it whole.
    const std::wstring shared = WidenName(plan.substr(0, plan.size() - 6)) + L"\u03A9\u03A9\u03A9\u03A9\u0439\u0444\u0432\u0434\u0431";
    CreateDirectoryW(shared.c_str(), nullptr);
    CreateDirectoryW((shared.substr(0, shared.size() - 5) + L"\u0446\u0432\u0442\u0439\u0432").c_str(), nullptr);
    // The shared folder first: the dialogs after it open where the last name was taken,
    // which must be this folder again for the tests after this one.
    const struct { int command; std::string lookAlike; std::wstring typed; } roads[] = {
        {5095, drawing, shared + L"\\x.DXF"}, {FrameCommandSaveAs, plan, omega + L"ZRO"},
        {5095, drawing, omega + L"DXF"}, {FrameCommandOpen, plan, omega + L"ZRO"}};
    for (const auto& road : roads) {
        SCOPED_TRACE(road.command);
        if (road.command == FrameCommandOpen)
            CloseHandle(CreateFileW(road.typed.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        const std::vector<unsigned char> before = vtest::ReadFileBytes(road.lookAlike);
        const size_t shown = boxes.Count();
        DialogDriver driver;
        driver.answers = {road.typed, L""};
        std::thread helper(&DialogDriver::Run, &driver, GetCurrentProcessId());
        shelltest::SendCommand(frame, road.command);
        driver.done = true;
        helper.join();
        EXPECT_TRUE(boxes.Count() == shown + 1 && boxes.Last().caption == "Nome di file non valido");
        EXPECT_EQ(road.typed.find(shared) == 0, boxes.Count() && boxes.Last().text.find(NarrowMarked(shared) + "\n") != std::string::npos)
            << (boxes.Count() ? boxes.Last().text : "");
        EXPECT_EQ(before, vtest::ReadFileBytes(road.lookAlike));
        EXPECT_EQ(1u, shelltest::DocumentWindows().size());
    }
    shelltest::ForgetDocumentChanges();
    shelltest::StopShell();
}

// Lower-case letters in turn, up to the length.
std::string LongName(size_t length)
{
    std::string name;
    while (name.size() < length)
        name += static_cast<char>('a' + name.size() % 26);
    return name;
}

// A user at the system file dialog, from a second thread: the name asked for the folder
// the dialog shows, typed key by key into its name field, then Enter and, when asked,
// Escape. Each key is pressed again, with the dialog brought forward, until it has
// arrived: other tests' windows may take the keyboard meanwhile. A dialog still open at
// the end is cancelled. `typed` counts the characters that reached the field;
// `openAfterEnter` says whether the dialog was still there when Escape was due.
struct TypingUser {
    int typed = -1;
    bool openAfterEnter = false;
    vtest::ModalDriver driver;
    // The key of VkKeyScan (Shift held for its flag 0x100).
    static bool Press(HWND dialog, HWND edit, SHORT key, const std::function<bool()>& arrived)
    {
        for (int attempt = 0; attempt < 5; ++attempt) {
            SetForegroundWindow(dialog);
            SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
            SendMessageW(edit, EM_SETSEL, GetWindowTextLengthW(edit), GetWindowTextLengthW(edit));
            const WORD vk = key & 0xFF;
            const WORD order[4][2] = {{VK_SHIFT, 0}, {vk, 0}, {vk, KEYEVENTF_KEYUP}, {VK_SHIFT, KEYEVENTF_KEYUP}};
            INPUT inputs[4] = {};
            UINT count = 0;
            for (const auto& step : order)
                if (step[0] != VK_SHIFT || (key & 0x100))
                    inputs[count].type = INPUT_KEYBOARD, inputs[count].ki.wVk = step[0], inputs[count++].ki.dwFlags = step[1];
            SendInput(count, inputs, sizeof(INPUT));
            // A loaded machine may hold a key back for seconds: sent again sooner, it
            // would arrive twice.
            for (int wait = 0; wait < 1500; ++wait, Sleep(4))
                if (arrived())
                    return true;
        }
        return false;
    }
    TypingUser(std::function<std::string(const std::wstring& folder)> typedName, bool thenEscape)
        : driver(vtest::ModalDriver::ForDialog("", [this, typedName, thenEscape](HWND dialog) {
              HWND edit = nullptr;
              EnumChildWindows(dialog, DialogDriver::FindEdit, reinterpret_cast<LPARAM>(&edit));
              wchar_t folder[MAX_PATH] = L"";
              SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
              SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
              const std::string name = typedName(folder);
              for (typed = 0; typed < static_cast<int>(name.size()); ++typed)
                  if (!Press(dialog, edit, VkKeyScanA(name[typed]), [&] { return GetWindowTextLengthW(edit) > typed; }))
                      break;
              const unsigned long boxes = shownMessageBoxCount;
              auto closed = [&] { return !IsWindow(dialog); };
              if (typed == static_cast<int>(name.size())) {
                  Press(dialog, edit, VK_RETURN, [&] { return closed() || (thenEscape && shownMessageBoxCount > boxes); });
                  openAfterEnter = !closed();
                  if (thenEscape && !closed())
                      Press(dialog, edit, VK_ESCAPE, closed);
              }
              // A box of the dialog's own (its "Error" for a name the keys garbled) would
              // keep the cancel from closing it: the test fails rather than waits for ever.
              for (HWND box = nullptr; !closed() && (box = FindWindowExW(nullptr, box, L"#32770", nullptr));)
                  if (GetWindow(box, GW_OWNER) == dialog)
                      PostMessageW(box, WM_COMMAND, IDOK, 0), PostMessageW(box, WM_CLOSE, 0, 0);
              if (!closed())
                  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
          }))
    {
    }
};

// A typed name whose path (folder, name, extension) would not fit MAX_PATH is refused
// with the message, the dialog staying open for a cancel, on each road of the dialog
// routine, and the plan is kept as it was; the longest path that fits is written.
TEST(FileDialogs, ATypedNameTooLongIsRefusedAndTheLongestThatFitsWritten)
{
    HWND frame = shelltest::StartShell();
    ASSERT_NE(nullptr, frame);
    vtest::MessageBoxRecorder boxes;
    shelltest::SendCommand(frame, FrameCommandNew);
    shelltest::AddLine(shelltest::Storey("First Floor"), {{0, 0}, {90, 0}});
    activeDocument->settings->modified = 1;
    // The name's length, or with `whole` the path's (the folder, a backslash, the name and
    // the extension the dialog adds).
    const struct { int command; size_t length; bool whole; const char* written; } roads[] = {
        {FrameCommandSaveAs, 300, false, nullptr}, {5095, 300, false, nullptr},
        {FrameCommandOpen, 300, false, nullptr}, {FrameCommandSaveAs, MAX_PATH, true, nullptr},
        {5095, MAX_PATH - 1, true, ".dxf"}, {FrameCommandSaveAs, MAX_PATH - 1, true, ".ZRO"}};
    for (const auto& road : roads) {
        SCOPED_TRACE(road.command);
        const size_t shown = boxes.Count();
        size_t length = 0;
        std::string path;
        TypingUser user([&](const std::wstring& folder) {
            length = road.whole ? road.length - folder.size() - 5 : road.length;
            path = vtest::AnsiPath(folder) + "\\" + LongName(length) + (road.written ? road.written : "");
            DeleteFileA(path.c_str());   // left by an earlier run
            return LongName(length);
        }, !road.written);
        shelltest::SendCommand(frame, road.command);
        user.driver.join();
        ASSERT_EQ(static_cast<int>(length), user.typed);
        EXPECT_EQ(!road.written, boxes.Count() == shown + 1 && boxes.Last().caption == "Nome di file non valido");
        EXPECT_EQ(1, shelltest::CountObjects(activeDocument));
        EXPECT_EQ(road.written != nullptr, DeleteFileA(path.c_str()) != 0);
        const bool saved = road.written && road.command == FrameCommandSaveAs;
        EXPECT_STRCASEEQ(saved ? path.c_str() : nullptr, activeDocument->filePath);
        EXPECT_EQ(saved ? 0u : 1u, activeDocument->settings->modified);
    }
    shelltest::StopShell();
}

// A name typed without a folder after its drive ("q:nuovo"), which the system dialog
// takes to the end of the program, or a device's ("COM1", "nul.txt"), whose save would
// copy the device: refused with the message in Save As, Open and an export while the
// dialog stays open, the plan kept as it was.
TEST(FileDialogs, ADriveWithoutFolderOrADeviceNameIsRefusedWhileTheDialogStays)
{
    HWND frame = shelltest::StartShell();
    ASSERT_NE(nullptr, frame);
    vtest::MessageBoxRecorder boxes;
    shelltest::SendCommand(frame, FrameCommandNew);
    shelltest::AddLine(shelltest::Storey("First Floor"), {{0, 0}, {90, 0}});
    const struct { int command; const char* name; } roads[] = {
        {FrameCommandSaveAs, "q:nuovo"}, {FrameCommandSaveAs, "Z:nuovo"}, {FrameCommandOpen, "a:b"},
        {FrameCommandSaveAs, "COM1"}, {5095, "nul.txt"}, {FrameCommandOpen, "Lpt9"}, {FrameCommandSaveAs, "CON"},
        {FrameCommandOpen, "AUX"}, {5095, "PRN.txt"}, {FrameCommandSaveAs, "C:\\a:b"}};
    for (const auto& road : roads) {
        SCOPED_TRACE(road.name);
        const size_t shown = boxes.Count();
        TypingUser user([&](const std::wstring&) { return std::string(road.name); }, true);
        shelltest::SendCommand(frame, road.command);
        user.driver.join();
        EXPECT_TRUE(user.openAfterEnter);
        EXPECT_TRUE(boxes.Count() == shown + 1 && boxes.Last().caption == "Nome di file non valido");
        EXPECT_EQ(1, shelltest::CountObjects(activeDocument));
        EXPECT_EQ(nullptr, activeDocument->filePath);
    }
    shelltest::ForgetDocumentChanges();
    shelltest::StopShell();
}

} // namespace
