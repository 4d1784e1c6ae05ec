#include <gtest/gtest.h>
#include "shell/app_globals.h"
#include "shell/file_dialogs.h"
#include "support/test_support.h"
#include "support_commands.h"
#include "support_shell.h"
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

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
// into the dialog's file-name field and press OK.
struct DialogDriver {
    std::atomic<bool> done{false};
    std::string name;
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
        for (int attempt = 0; attempt < 400 && !done; ++attempt) {
            Sleep(25);
            HWND dialog = nullptr;
            while ((dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr))) {
                DWORD owner = 0;
                GetWindowThreadProcessId(dialog, &owner);
                if (owner != processId || !IsWindowVisible(dialog))
                    continue;
                HWND edit = nullptr;
                EnumChildWindows(dialog, FindEdit, reinterpret_cast<LPARAM>(&edit));
                if (!edit)
                    continue;
                SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                return;
            }
        }
    }
};

TEST(FileDialogs, TheSystemSaveDialogAnsweredLikeAUser)
{
    std::string path = shelltest::LocalPath("TYPED");
    DialogDriver driver;
    driver.name = path;
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

} // namespace
