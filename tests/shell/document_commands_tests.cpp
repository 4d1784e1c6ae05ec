// velmora-test: shards 2
#include <gtest/gtest.h>
#include "shell/app_globals.h"
#include "shell/command_dispatcher.h"
#include "shell/companions.h"
#include "shell/document_commands.h"
#include "shell/frame_window.h"
#include "shell/startup.h"
#include "files/kept_paths.h"
#include "files/object_exchange.h"
#include "files/picture_files.h"
#include "files/profile_file.h"
#include "files/plan_file.h"
#include "files/symbol_library.h"
#include "files/whole_reads.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "support/test_support.h"
#include "tools/cad_builders.h"
#include "support_commands.h"
#include "support_shell.h"
#include "files/ansi_names.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

namespace {

using shelltest::AddLine;
using shelltest::CountObjects;
using shelltest::DocumentWindows;
using shelltest::SendCommand;
using shelltest::WindowText;

const char* const saveQuestion = "Salvare le modifiche prima di chiudere?";

class DocumentCommands : public testing::Test {
protected:
    void SetUp() override
    {
        untitledCounter = 1;
        cascadeIndex = 0;
        saveAsCounter = 1;
        unreadStartPlanWindow = nullptr;
        frame = shelltest::StartShell();
        ASSERT_NE(nullptr, frame);
        shelltest::SetFrameClientSize(frame, 1000, 700);
    }
    void TearDown() override
    {
        shelltest::ForgetDocumentChanges();
        shelltest::StopShell();
    }

    // A plan of two lines on the first storey and one on the second, written by the
    // program's own writer from a document of its own, which is then closed.
    std::string WriteSamplePlan(const std::string& name)
    {
        SendCommand(frame, FrameCommandNew);
        EXPECT_NE(nullptr, activeDocument);
        AddLine(shelltest::Storey("First Floor"), {{0, 0}, {100, 0}});
        AddLine(shelltest::Storey("First Floor"), {{0, 0}, {0, 50}, {40, 50}});
        AddLine(shelltest::Storey("Second Floor"), {{10, 10}, {20, 20}});
        std::string path = shelltest::LocalPath(name);
        EXPECT_TRUE(SavePlanFile(path.c_str()));
        SendCommand(frame, FrameCommandClose);
        EXPECT_TRUE(DocumentWindows().empty());
        return path;
    }

    // The command line of plan_resaver, which lies beside the test, on the plan: both
    // paths quoted, as they may hold blanks.
    static std::string ToolCommand(const std::string& options, const std::string& plan)
    {
        return "\"" + vtest::ProgramFolder() + "\\plan_resaver.exe\" " + options + " \"" + plan + "\"";
    }

    void SetCommandLine(const std::string& path)
    {
        std::snprintf(commandLineBuffer, CommandLineBufferSize, "%s", path.c_str());
    }

    HWND frame = nullptr;
    vtest::MessageBoxRecorder boxes;
};

TEST_F(DocumentCommands, NewDocumentsAreNumberedAndCascaded)
{
    for (int i = 1; i <= 6; ++i)
        SendCommand(frame, FrameCommandNew);
    std::vector<HWND> windows = DocumentWindows();
    ASSERT_EQ(6u, windows.size());
    // Newest first in z order.
    const int offsets[6] = {1, 5, 9, 13, 17, 1};
    for (int i = 0; i < 6; ++i) {
        HWND window = windows[5 - i];
        SCOPED_TRACE(i);
        EXPECT_EQ("Senza nome" + std::to_string(i + 1), WindowText(window));
        WINDOWPLACEMENT placement = {sizeof placement};
        ASSERT_TRUE(GetWindowPlacement(window, &placement));
        EXPECT_EQ(offsets[i], placement.rcNormalPosition.left);
        EXPECT_EQ(offsets[i], placement.rcNormalPosition.top);
        PlanDocument* document = GetWindowDocument(window);
        ASSERT_NE(nullptr, document);
        EXPECT_EQ(nullptr, document->filePath);
    }
    EXPECT_EQ(7u, untitledCounter);
    EXPECT_EQ(1, cascadeIndex);
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(DocumentCommands, StartModeLoadReadsThePlanIntoANewUnmodifiedDocument)
{
    std::string path = WriteSamplePlan("SAMPLE.ZRO");
    SetCommandLine(path);
    SendCommand(frame, FrameCommandStartModeLoad);
    std::vector<HWND> windows = DocumentWindows();
    ASSERT_EQ(1u, windows.size());
    PlanDocument* document = GetWindowDocument(windows[0]);
    ASSERT_NE(nullptr, document);
    EXPECT_EQ(document, activeDocument);
    EXPECT_EQ(3, CountObjects(document));
    ASSERT_NE(nullptr, document->settings);
    EXPECT_EQ(0u, document->settings->modified);
    ASSERT_NE(nullptr, document->filePath);
    EXPECT_EQ(path, document->filePath);
    EXPECT_EQ("", WindowText(windows[0]));
    EXPECT_EQ(nullptr, unreadStartPlanWindow);
    EXPECT_EQ(0u, boxes.Count());

    // The print road ends with the quit command: no save question, the frame goes.
    SendCommand(frame, FrameCommandQuit);
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(0, shelltest::TakeQuitMessage());
}

TEST_F(DocumentCommands, StartModeLoadOfAMissingFileSaysSoOnceAndPrintsNothing)
{
    SetCommandLine(shelltest::LocalPath("MISSING.ZRO"));
    SendCommand(frame, FrameCommandStartModeLoad);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_NE(std::string::npos, boxes.Last().text.find("MISSING.ZRO"));
    EXPECT_EQ(std::string(applicationTitle), boxes.Last().caption);

    std::vector<HWND> windows = DocumentWindows();
    ASSERT_EQ(1u, windows.size());
    PlanDocument* document = GetWindowDocument(windows[0]);
    ASSERT_NE(nullptr, document);
    EXPECT_EQ(nullptr, document->filePath);
    EXPECT_EQ(windows[0], unreadStartPlanWindow);

    // The print commands of the road neither print nor ask for a new plan.
    SendCommand(frame, FrameCommandPrintFitToPage);
    SendCommand(frame, FrameCommandPrintToScale);
    EXPECT_EQ(1u, boxes.Count());

    SendCommand(frame, FrameCommandQuit);
    EXPECT_EQ(1u, boxes.Count());
    EXPECT_FALSE(IsWindow(frame));
}

// A plan that cannot be read is named in its box as given, not by the short forms the
// program opens it by (a folder stands in its place here).
TEST_F(DocumentCommands, AnUnreadablePlanIsNamedAsGiven)
{
    std::filesystem::create_directories(L"\u0436\\\u0436.ZRO");
    ASSERT_TRUE(InitStartupState(GetModuleHandleW(nullptr), L"\u0436\\\u0436.ZRO\x02"));
    startMode = 0;
    SendCommand(frame, FrameCommandStartModeLoad);
    char text[128];
    std::snprintf(text, sizeof text, planNotReadMessage, "?\\?.ZRO");
    EXPECT_TRUE(boxes.Count() == 1 && boxes.Last().text == text) << (boxes.Count() ? boxes.Last().text : "");
}

TEST_F(DocumentCommands, StartModeLoadOfABrokenFileKeepsNoPathToIt)
{
    std::string path = shelltest::LocalPath("BROKEN.ZRO");
    ASSERT_TRUE(vtest::WriteFileBytes(path, {0x00, 0x00, 0x28, 0x8A, 0x00, 0x01, 0xFF, 0x13}));
    SetCommandLine(path);
    SendCommand(frame, FrameCommandStartModeLoad);
    // The reader's own message, and no second one.
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(std::string::npos, boxes.Last().text.find("BROKEN.ZRO"));
    ASSERT_NE(nullptr, activeDocument);
    EXPECT_EQ(nullptr, activeDocument->filePath);
    EXPECT_EQ(0u, activeDocument->settings->modified);
    EXPECT_EQ(0, fileNameBuffer[0]);

    // Save now asks for a name instead of writing over the unreadable file.
    shelltest::FileDialogAnswers dialogs;
    dialogs.Cancel();
    SendCommand(frame, FrameCommandSave);
    ASSERT_EQ(1u, dialogs.Calls().size());
    EXPECT_TRUE(dialogs.Calls()[0].save);
    EXPECT_EQ((std::vector<unsigned char>{0x00, 0x00, 0x28, 0x8A, 0x00, 0x01, 0xFF, 0x13}),
              vtest::ReadFileBytes(path));
}

TEST_F(DocumentCommands, SaveAsProposesNumberedNamesAndWritesWhatReloadsIdentically)
{
    shelltest::FileDialogAnswers dialogs;
    SendCommand(frame, FrameCommandNew);
    AddLine(shelltest::Storey("First Floor"), {{-30, 5}, {70, 5}, {70, 60}});
    activeDocument->settings->modified = 1;
    std::string first = shelltest::LocalPath("FIRST.ZRO");
    dialogs.Choose(first);
    SendCommand(frame, FrameCommandSaveAs);
    ASSERT_EQ(1u, dialogs.Calls().size());
    const auto& call = dialogs.Calls()[0];
    EXPECT_TRUE(call.save);
    EXPECT_EQ("Disegno1.ZRO", call.initialName);
    EXPECT_EQ("Fandril (*.ZRO, *.ZVK, *.ZQW)|*.ZRO;*.ZVK;*.ZQW", call.filter);
    EXPECT_EQ("ZRO", call.extension);
    EXPECT_EQ(static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY), call.flags);
    EXPECT_EQ(512u, call.maxFile);
    EXPECT_EQ("", call.title);
    EXPECT_EQ(frame, call.owner);
    EXPECT_EQ(2, saveAsCounter);
    EXPECT_EQ("FIRST.ZRO", WindowText(DocumentWindows()[0]));
    ASSERT_NE(nullptr, activeDocument->filePath);
    EXPECT_EQ(first, activeDocument->filePath);
    EXPECT_EQ(0u, activeDocument->settings->modified);
    EXPECT_EQ(0, saveInProgress);

    // Save of a document with a path asks nothing and writes the same file again.
    activeDocument->settings->modified = 1;
    SendCommand(frame, FrameCommandSave);
    EXPECT_EQ(1u, dialogs.Calls().size());
    EXPECT_EQ(0u, activeDocument->settings->modified);
    std::vector<unsigned char> firstBytes = vtest::ReadFileBytes(first);
    ASSERT_FALSE(firstBytes.empty());

    // Saving again under a new name proposes the path and leaves the counter alone.
    std::string second = shelltest::LocalPath("SECOND.ZRO");
    dialogs.Choose(second);
    SendCommand(frame, FrameCommandSaveAs);
    ASSERT_EQ(2u, dialogs.Calls().size());
    EXPECT_EQ(first, dialogs.Calls()[1].initialName);
    EXPECT_EQ(2, saveAsCounter);
    EXPECT_EQ(firstBytes, vtest::ReadFileBytes(second));

    // A saved plan opened into a new window and saved from there, twice: the second
    // round gives the bytes of the first (the reader completes what a test-made object
    // lacks, such as its boxes, so the first round is the reference).
    std::string third = shelltest::LocalPath("THIRD.ZRO");
    std::string fourth = shelltest::LocalPath("FOURTH.ZRO");
    dialogs.Choose(first);
    SendCommand(frame, FrameCommandOpen);
    ASSERT_EQ(2u, DocumentWindows().size());
    EXPECT_EQ(1, CountObjects(activeDocument));
    dialogs.Choose(third);
    SendCommand(frame, FrameCommandSaveAs);
    dialogs.Choose(third);
    SendCommand(frame, FrameCommandOpen);
    ASSERT_EQ(3u, DocumentWindows().size());
    dialogs.Choose(fourth);
    SendCommand(frame, FrameCommandSaveAs);
    std::vector<unsigned char> thirdBytes = vtest::ReadFileBytes(third);
    ASSERT_FALSE(thirdBytes.empty());
    EXPECT_EQ(thirdBytes, vtest::ReadFileBytes(fourth));
    EXPECT_EQ(firstBytes.size(), thirdBytes.size());
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(DocumentCommands, TheProposedNameCountsUpToNinetyNineThenStartsAgain)
{
    shelltest::FileDialogAnswers dialogs;
    SendCommand(frame, FrameCommandNew);
    saveAsCounter = 99;
    dialogs.Choose(shelltest::LocalPath("A.ZRO"));
    SendCommand(frame, FrameCommandSave);
    ASSERT_EQ(1u, dialogs.Calls().size());
    EXPECT_EQ("Disegno99.ZRO", dialogs.Calls()[0].initialName);
    EXPECT_EQ(1, saveAsCounter);

    // A cancelled dialog changes nothing.
    SendCommand(frame, FrameCommandNew);
    dialogs.Cancel();
    SendCommand(frame, FrameCommandSaveAs);
    EXPECT_EQ("Disegno1.ZRO", dialogs.Calls()[1].initialName);
    EXPECT_EQ(1, saveAsCounter);
    EXPECT_EQ("Senza nome2", WindowText(DocumentWindows()[0]));
    EXPECT_EQ(nullptr, activeDocument->filePath);
}

TEST_F(DocumentCommands, OpenUsesTheFirstEmptyUntitledDocumentOnlyOnce)
{
    std::string path = WriteSamplePlan("OPEN.ZRO");
    untitledCounter = 1;
    shelltest::FileDialogAnswers dialogs;
    SendCommand(frame, FrameCommandNew);
    HWND first = DocumentWindows()[0];
    dialogs.Choose(path);
    SendCommand(frame, FrameCommandOpen);
    ASSERT_EQ(1u, dialogs.Calls().size());
    const auto& call = dialogs.Calls()[0];
    EXPECT_FALSE(call.save);
    EXPECT_EQ("*.ZRO;*.ZQW;*.ZVK", call.initialName);
    EXPECT_EQ(static_cast<DWORD>(OFN_CREATEPROMPT | OFN_HIDEREADONLY), call.flags);
    EXPECT_EQ("ZRO", call.extension);
    ASSERT_EQ(1u, DocumentWindows().size());
    EXPECT_EQ(first, DocumentWindows()[0]);
    EXPECT_EQ("OPEN.ZRO", WindowText(first));
    EXPECT_EQ(3, CountObjects(GetWindowDocument(first)));
    EXPECT_EQ(0u, GetWindowDocument(first)->settings->modified);

    // Now that the first document holds a plan, the next open makes a new window.
    dialogs.Choose(path);
    SendCommand(frame, FrameCommandOpen);
    EXPECT_EQ(2u, DocumentWindows().size());
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(DocumentCommands, OpenKeepsAFirstPlanThatHoldsAnyWork)
{
    std::string path = WriteSamplePlan("OTHER.ZRO");
    shelltest::FileDialogAnswers dialogs;
    // A saved dimension (it lies on the view sheet); a change without any object.
    for (bool dimension : {true, false}) {
        untitledCounter = 1;
        SendCommand(frame, FrameCommandNew);
        if (dimension)
            BuildDimensionObject(-50, 0, 50, 0, 0, -30, FindFloorByName("X_TOP_FIRST_FLOOR"));
        activeDocument->settings->modified = !dimension;
        dialogs.Choose(path);
        SendCommand(frame, FrameCommandOpen);
        ASSERT_EQ(2u, DocumentWindows().size());
        EXPECT_EQ(dimension ? 1 : 0, CountObjects(GetWindowDocument(DocumentWindows()[1])));
        shelltest::ForgetDocumentChanges();
        SendCommand(frame, FrameCommandCloseAll);
    }
}

TEST_F(DocumentCommands, OpenOfABrokenFileLeavesNothingToOverwriteIt)
{
    std::string path = shelltest::LocalPath("BAD.ZRO");
    const std::vector<unsigned char> bad = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'l', 'a', 'n'};
    ASSERT_TRUE(vtest::WriteFileBytes(path, bad));
    shelltest::FileDialogAnswers dialogs;
    SendCommand(frame, FrameCommandNew);
    AddLine(shelltest::Storey("First Floor"), {{0, 0}, {10, 0}});
    dialogs.Choose(path);
    SendCommand(frame, FrameCommandOpen);
    EXPECT_EQ(1u, boxes.Count());
    ASSERT_EQ(2u, DocumentWindows().size());
    HWND opened = DocumentWindows()[0];
    EXPECT_EQ("Senza nome2", WindowText(opened));
    EXPECT_EQ(nullptr, GetWindowDocument(opened)->filePath);
    EXPECT_EQ(0, fileNameBuffer[0]);
    EXPECT_EQ(0, fileTitleBuffer[0]);

    dialogs.Cancel();
    SendCommand(frame, FrameCommandSave);
    EXPECT_EQ(bad, vtest::ReadFileBytes(path));
}

TEST_F(DocumentCommands, TemporaryCopyKeepsTheModifiedFlag)
{
    SendCommand(frame, FrameCommandNew);
    AddLine(shelltest::Storey("First Floor"), {{0, 0}, {25, 25}});
    std::string copy = std::string(programDirectory) + "\\PRINT.TMP";
    for (uint32_t modified : {1u, 0u}) {
        SCOPED_TRACE(modified);
        DeleteFileA(copy.c_str());
        activeDocument->settings->modified = modified;
        SendCommand(frame, FrameCommandSaveTemporaryCopy);
        EXPECT_EQ(modified, activeDocument->settings->modified);
        EXPECT_FALSE(vtest::ReadFileBytes(copy).empty());
        EXPECT_EQ(nullptr, activeDocument->filePath);
    }
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(DocumentCommands, CloseAllAsksEachDocumentAboutItsOwnPlanAndFreesThem)
{
    long baseline = LiveRecordCount();
    SendCommand(frame, FrameCommandNew);
    AddLine(shelltest::Storey("First Floor"), {{0, 0}, {10, 10}});
    activeDocument->settings->modified = 1;
    SendCommand(frame, FrameCommandNew);
    AddLine(shelltest::Storey("Second Floor"), {{5, 0}, {10, 10}, {20, 0}});
    activeDocument->settings->modified = 1;
    SendCommand(frame, FrameCommandNew);
    ASSERT_EQ(3u, DocumentWindows().size());
    EXPECT_GT(LiveRecordCount(), baseline);

    boxes.QueueAnswer(IDNO);
    boxes.QueueAnswer(IDNO);
    SendCommand(frame, FrameCommandCloseAll);
    EXPECT_TRUE(DocumentWindows().empty());
    EXPECT_EQ(nullptr, activeDocument);
    ASSERT_EQ(2u, boxes.Count());
    std::vector<std::string> captions = {boxes.Boxes()[0].caption, boxes.Boxes()[1].caption};
    std::sort(captions.begin(), captions.end());
    EXPECT_EQ("Senza nome1", captions[0]);
    EXPECT_EQ("Senza nome2", captions[1]);
    for (const auto& box : boxes.Boxes())
        EXPECT_EQ(saveQuestion, box.text);
    EXPECT_EQ(baseline, LiveRecordCount());
}

TEST_F(DocumentCommands, CloseFollowsTheDocumentsAnswer)
{
    SendCommand(frame, FrameCommandNew);
    activeDocument->settings->modified = 1;
    boxes.QueueAnswer(IDCANCEL);
    SendCommand(frame, FrameCommandClose);
    EXPECT_EQ(1u, DocumentWindows().size());

    // Yes, then a cancelled save dialog: the plan is not lost.
    shelltest::FileDialogAnswers dialogs;
    boxes.QueueAnswer(IDYES);
    dialogs.Cancel();
    SendCommand(frame, FrameCommandClose);
    EXPECT_EQ(1u, dialogs.Calls().size());
    EXPECT_EQ(1u, DocumentWindows().size());

    boxes.QueueAnswer(IDNO);
    SendCommand(frame, FrameCommandClose);
    EXPECT_TRUE(DocumentWindows().empty());
    EXPECT_EQ(3u, boxes.Count());
}

// The save of a plan of three objects with a line added, ended by plan_resaver as a kill
// would end it: the copy made, half the plan written, the new plan written; an older plan
// or another program's file lay under the copy's name. Open offers a whole copy of the plan
// as it was only when the plan is cut; a save then leaves nothing (but a working file held open). Copies go to the
// temporary folder: of a plan in a 250-character folder (where a drawing exported twice
// is replaced), of a 225-character name whose path is 259, and of a plan in a 246-character folder, which takes no
// working file: an older copy beside it (read-only, or put back dated earlier) stays there and is never offered.
TEST_F(DocumentCommands, AnInterruptedSaveLeavesAWholePlanThatOpenOffersAndASaveClears)
{
    std::string longFolder = shelltest::LocalPath("L"), temporary(MAX_PATH, 0), brink = shelltest::LocalPath("N");
    longFolder += std::string(250 - longFolder.size(), 'o');
    brink += std::string(246 - brink.size(), 'e');
    temporary.resize(GetTempPathA(MAX_PATH, &temporary[0]));
    const std::string nearFull = temporary + std::string(33 - temporary.size(), 'v'), longName(225, 'N');
    auto entries = [](const std::string& folder, const std::string& start = "") {
        return std::count_if(std::filesystem::directory_iterator(folder), {},
                             [&](const auto& entry) { return entry.path().filename().string().find(start) == 0; });
    };
    SetRecentWriteSpan(0);   // the plans cut by the stopped saver, read once it has ended
    SendCommand(frame, FrameCommandNew);
    ASSERT_TRUE(SavePlanFile(shelltest::LocalPath("OLDER.ZRO").c_str()));
    const std::vector<unsigned char> older = vtest::ReadFileBytes(shelltest::LocalPath("OLDER.ZRO")),
                                     foreign = {'p', 'a', 'n', 'e', ',', ' ', 'l', 'a', 't', 't', 'e', '\n'};
    const struct { std::string stop, folder, name; const std::vector<unsigned char>* left; std::string how; } cases[] = {
        {"copy", shelltest::LocalPath("S1"), "P.ZRO", &older}, {"write", shelltest::LocalPath("S2"), "P.ZRO", &older},
        {"written", shelltest::LocalPath("S3"), "P.ZRO", &foreign}, {"write", longFolder, "P.ZRO", nullptr},
        {"write", nearFull, longName, nullptr}, {"write", brink, "P.ZRO", &older, "stuck"},
        {"write", brink, "P.ZRO", &older, "late"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        const bool offered = c.stop == "write";   // only the plan cut by the stop
        SendCommand(frame, FrameCommandCloseAll);
        const std::string plan = c.folder + "\\" + c.name, beside = c.folder + "\\~" + c.name + ".salva";
        SetFileAttributesA(beside.c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(c.folder);   // left by an earlier run
        std::filesystem::create_directory(c.folder);
        ASSERT_TRUE(CopyFileA(WriteSamplePlan("P.ZRO").c_str(), plan.c_str(), FALSE));
        ASSERT_TRUE(!c.left || vtest::WriteFileBytes(beside, *c.left));
        SetFileAttributesA(beside.c_str(), c.how == "stuck" ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        const std::vector<unsigned char> old = vtest::ReadFileBytes(plan);
        std::string command = ToolCommand("-stop " + c.stop, plan);
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION saver;
        ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &saver));
        WaitForSingleObject(saver.hProcess, INFINITE);
        CloseHandle(saver.hThread);
        CloseHandle(saver.hProcess);
        if (c.how == "late" && vtest::WriteFileBytes(beside, *c.left))
            std::filesystem::last_write_time(beside, std::filesystem::last_write_time(plan) - std::chrono::hours(1));
        shelltest::FileDialogAnswers dialogs;
        const size_t shown = boxes.Count();
        if (offered)
            boxes.QueueAnswer(IDYES);
        dialogs.Choose(plan);
        SendCommand(frame, FrameCommandOpen);
        ASSERT_EQ(shown + offered, boxes.Count());
        std::string copy;
        if (offered) {
            const std::string text = boxes.Last().text, lead = "Il salvataggio di " + plan +
                " non si è concluso. Una copia completa del disegno precedente è conservata in ";
            ASSERT_EQ(lead, text.substr(0, lead.size()));
            EXPECT_EQ("Salvataggio interrotto", boxes.Last().caption);
            EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL), boxes.Last().flags);
            copy = text.substr(lead.size(), text.size() - lead.size() - 18);
            EXPECT_EQ(old, vtest::ReadFileBytes(copy));
            EXPECT_EQ(". Aprire la copia?", text.substr(text.size() - 18));
        }
        EXPECT_EQ(c.stop == "written" ? 4 : 3, CountObjects(activeDocument));
        EXPECT_STREQ(plan.c_str(), activeDocument->filePath);
        HANDLE held = INVALID_HANDLE_VALUE;   // the last, as a live save holds its own (where it fits)
        for (std::string working : {c.folder + "\\~1-1", temporary + "~3-3", c.folder + "\\~2-2"})
            CloseHandle(held), held = CreateFileA((working + ".salva.tmp").c_str(), GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0);
        SendCommand(frame, FrameCommandSave);
        EXPECT_EQ(shown + offered, boxes.Count());
        CloseHandle(held);
        EXPECT_EQ(c.folder.size() < 240 || c.folder == brink ? 2 : 1, entries(c.folder));
        EXPECT_TRUE(copy.empty() || !std::filesystem::exists(copy)) << copy;
    }
    std::filesystem::remove_all(nearFull);
    shelltest::FileDialogAnswers dialogs;
    size_t sizes[2];
    for (size_t& size : sizes) {
        dialogs.Choose(longFolder + "\\P.DXF");
        SendCommand(frame, 5095);
        size = vtest::ReadFileBytes(longFolder + "\\P.DXF").size();
        AddLine(shelltest::Storey("First Floor"), {{0, 0}, {30, 30}});
    }
    EXPECT_LT(sizes[0], sizes[1]);
    EXPECT_EQ(5u, boxes.Count());
    EXPECT_EQ(2, entries(longFolder));
    EXPECT_EQ(0, entries(temporary, "~P.") + entries(temporary, "~3-"));
    SetRecentWriteSpan(kRecentWrite);
}

// While another program saves a plan (plan_resaver, held once its copy is made), a save of the plan opened here is
// refused with the save message, which names that copy, an Open of it says so and opens nothing; once that program
// is gone, the plan opens.
TEST_F(DocumentCommands, AnOpenWhileAnotherProgramSavesThePlanOpensNothing)
{
    const std::string plan = WriteSamplePlan("BUSY.ZRO"), copy = shelltest::LocalPath("~BUSY.ZRO.salva");
    shelltest::FileDialogAnswers dialogs;
    dialogs.Choose(plan);
    SendCommand(frame, FrameCommandOpen);
    std::string command = ToolCommand("-stop hold", plan);
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION saver;
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &saver));
    std::unique_ptr<void, void (*)(void*)> end(saver.hProcess, [](void* process) {   // whatever the assertions say
        TerminateProcess(process, 3), WaitForSingleObject(process, INFINITE), CloseHandle(process);
    });
    while (GetFileAttributesA(copy.c_str()) == INVALID_FILE_ATTRIBUTES && WaitForSingleObject(saver.hProcess, 40))
        continue;
    SendCommand(frame, FrameCommandSave);
    ASSERT_EQ(1u, boxes.Count());
    const std::string& text = boxes.Last().text;
    EXPECT_EQ(0u, text.find("Si è verificato un errore durante il salvataggio"));
    EXPECT_EQ("\n\nIl salvataggio è stato impedito dal file:\n" + copy, text.substr(std::min(text.rfind("\n\n"), text.size())));
    for (size_t windows : {1u, 2u}) {
        dialogs.Choose(plan);
        SendCommand(frame, FrameCommandOpen);
        EXPECT_EQ(windows, DocumentWindows().size());
        TerminateProcess(saver.hProcess, 3);
        WaitForSingleObject(saver.hProcess, INFINITE);
    }
    CloseHandle(saver.hThread);
    ASSERT_EQ(2u, boxes.Count());
    EXPECT_EQ(planBeingSavedMessage, boxes.Last().text);
}

// A plan cut beside its whole copy while another server's save holds the plan's saving mark: the save is said to be
// under way and no copy is offered; once that mark goes, the copy is.
TEST_F(DocumentCommands, NoCopyIsOfferedWhileAnotherServerHoldsTheSavingMark)
{
    const std::string plan = WriteSamplePlan("MARK.ZRO"), copy = shelltest::LocalPath("~MARK.ZRO.salva");
    const std::vector<unsigned char> whole = vtest::ReadFileBytes(plan);
    ASSERT_TRUE(vtest::WriteFileBytes(copy, whole) &&
                vtest::WriteFileBytes(plan, std::vector<unsigned char>(whole.begin(), whole.begin() + whole.size() / 2)));
    HANDLE other = CreateFileA(plan.c_str(), GENERIC_READ | GENERIC_WRITE, 7, nullptr, OPEN_EXISTING, 0, nullptr);
    OVERLAPPED saving = {0, 0, {{1, 0x40000000}}};
    ASSERT_TRUE(LockFileEx(other, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &saving));
    shelltest::FileDialogAnswers dialogs;
    for (bool held : {true, false}) {
        held ? void() : (CloseHandle(other), boxes.QueueAnswer(IDNO));
        dialogs.Choose(plan);
        SendCommand(frame, FrameCommandOpen);
        EXPECT_EQ(held ? planBeingSavedMessage : std::string("Salvataggio interrotto"),
                  held ? boxes.Last().text : boxes.Boxes()[1].caption);
    }
}

// Save As under a device's name that the dialog let through: refused at once with the
// save message, nothing read from the device or written to it, no copy left.
TEST_F(DocumentCommands, ASaveUnderADevicesNameIsRefused)
{
    shelltest::FileDialogAnswers dialogs;
    SendCommand(frame, FrameCommandNew);
    for (const char* device : {"COM1", "NUL", "nul.ZRO", "Lpt1.zro"}) {
        dialogs.Choose(device);
        SendCommand(frame, FrameCommandSaveAs);
        EXPECT_EQ(0u, boxes.Last().text.find("Si è verificato un errore durante il salvataggio")) << device;
    }
    EXPECT_EQ(4u, boxes.Count());
    for (const auto& entry : std::filesystem::directory_iterator("."))
        EXPECT_NE('~', entry.path().filename().string()[0]);
}

TEST_F(DocumentCommands, QuitWithAModifiedPlanAsksAndStaysWhenCancelled)
{
    SendCommand(frame, FrameCommandNew);
    activeDocument->settings->modified = 1;
    boxes.QueueAnswer(IDCANCEL);
    SendCommand(frame, FrameCommandQuit);
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_EQ(1u, DocumentWindows().size());
    boxes.QueueAnswer(IDNO);
    SendCommand(frame, FrameCommandQuit);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(2u, boxes.Count());
}

// Wine's short form of a long name outside the code page ends in 15 bits of this hash of
// its lower-case letters: names that share a folder's short form are found by it.
uint16_t ShortFormHash(const std::wstring& name)
{
    uint16_t hash = 0xbeef;
    for (size_t i = 0; i + 1 < name.size(); ++i)
        hash = static_cast<uint16_t>((hash << 3) ^ (hash >> 5) ^ name[i] ^ (name[i + 1] << 8));
    return static_cast<uint16_t>((hash << 3) ^ (hash >> 5) ^ name.back());
}

// What opening the ANSI `folder` reaches now, as GetFinalPathNameByHandleW names it ("\\?\" off).
std::wstring ReachedBy(const std::string& folder)
{
    HANDLE opened = CreateFileW(WidenName(folder).c_str(), FILE_READ_ATTRIBUTES, 7, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    wchar_t reached[MAX_PATH] = L"\\\\?\\";
    GetFinalPathNameByHandleW(opened, reached, MAX_PATH, 0), CloseHandle(opened);
    return reached + 4;
}

// Folders made in `here` beside `ours` (whose ANSI path is `folder`) with its short form,
// each given the files named with their texts for its number, until opening the short form
// reaches one (whatever GetLongPathNameW answers for it, which may still be ours), then ours
// named anew, which file systems that list by age put last: the neighbours' files, none
// where the short form, opened, still reaches ours.
std::vector<std::wstring> MakeNeighbours(const std::wstring& here, const std::wstring& ours, const std::string& folder,
                                         const std::vector<std::pair<std::wstring, std::function<std::string(size_t)>>>& files)
{
    std::vector<std::wstring> neighbours;
    const auto reachesOurs = [&] { return here + ours == ReachedBy(folder); };
    std::wstring name = ours.substr(0, 6) + L"    ";
    for (int i = 0, first = 1, made = 0; i < 57 * 57 * 57 * 57 && made < 40 && first; ++i) {
        for (int at = 0, rest = i; at < 4; ++at, rest /= 57)
            name[6 + at] = static_cast<wchar_t>(rest % 57 < 25 ? 0x3B1 + rest % 57 : 0x430 + rest % 57 - 25);
        if ((ShortFormHash(name) & 0x7FFF) == (ShortFormHash(ours) & 0x7FFF) && CreateDirectoryW((here + name).c_str(), nullptr)) {
            ++made;
            for (const auto& file : files) {
                neighbours.push_back(here + name + L"\\" + file.first);
                std::ofstream(std::filesystem::path(neighbours.back()), std::ios::binary) << file.second(made);
            }
            first = reachesOurs();
        }
    }
    if (reachesOurs())
        MoveFileW((here + ours).c_str(), (here + L"x").c_str()), MoveFileW((here + L"x").c_str(), (here + ours).c_str());
    return reachesOurs() ? std::vector<std::wstring>() : neighbours;
}

// A plan saved in a folder named outside the code page, then folders made beside it whose
// short form is the folder's, each with a plan of its own, until one is what that form
// opens: a Save, an export into the folder and the quit's save write nothing there (its
// plan byte for byte as it was, nothing added): they go, by the long path, into the folder meant.
TEST_F(DocumentCommands, AKeptPathNeverWritesIntoANeighbourFolderMadeMeanwhile)
{
    std::wstring home(MAX_PATH, L'\0');
    home.resize(GetLongPathNameW(WidenName(vtest::CurrentDirectory()).c_str(), &home[0], MAX_PATH));
    for (int road : {int(FrameCommandSave), 5095, int(FrameCommandQuit)}) {
        SCOPED_TRACE(road);
        const std::wstring here = home + L"\\k" + std::to_wstring(road) + L"\\", ours = L"\u043F\u0440\u043E\u0435\u043A\u0442\u03BA\u03B3\u03C9";
        std::filesystem::remove_all(here);
        std::string folder;
        ASSERT_TRUE(CreateDirectoryW(here.c_str(), nullptr) && CreateDirectoryW((here + ours).c_str(), nullptr) &&
                    AnsiPathOf(here + ours, folder));
        SendCommand(frame, FrameCommandNew);
        AddLine(shelltest::Storey("First Floor"), {{0, 0}, {100, 0}});
        shelltest::FileDialogAnswers dialogs;
        dialogs.Choose(folder + "\\saved.ZRO");
        SendCommand(frame, FrameCommandSaveAs);
        // Read by its long path: the short form reaches a neighbour's once one is made.
        const auto bytes = [&] {
            std::ifstream file{std::filesystem::path(here + ours + L"\\saved.ZRO"), std::ios::binary};
            return std::string(std::istreambuf_iterator<char>(file), {});
        };
        const std::string saved = bytes();
        ASSERT_FALSE(saved.empty());
        const std::vector<std::wstring> neighbours =
            MakeNeighbours(here, ours, folder, {{L"saved.ZRO", [](size_t n) { return std::to_string(n); }}});
        ASSERT_FALSE(neighbours.empty());
        const size_t shown = boxes.Count();
        AddLine(shelltest::Storey("First Floor"), {{0, 0}, {0, 100}});
        activeDocument->settings->modified = 1;
        dialogs.Choose(folder + "\\saved.DXF");
        boxes.QueueAnswer(IDYES);
        SendCommand(frame, road);
        boxes.ForgetAnswers();
        for (const std::wstring& neighbour : neighbours) {
            std::ifstream plan{std::filesystem::path(neighbour)};
            std::string text;
            std::getline(plan, text);
            EXPECT_EQ(std::to_string(&neighbour - &neighbours[0] + 1), text);
            EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(std::filesystem::path(neighbour).parent_path()),
                                       std::filesystem::directory_iterator()));
        }
        const std::wstring meant = here + ours + (road == 5095 ? L"\\saved.DXF" : L"\\saved.ZRO");
        EXPECT_TRUE(road == 5095 ? std::filesystem::exists(meant) && std::filesystem::file_size(meant) > 0 : saved != bytes());
        EXPECT_TRUE(boxes.Count() == shown || boxes.Last().text.find(NarrowMarked(meant)) == std::string::npos)
            << boxes.Last().text;
        shelltest::ForgetDocumentChanges();
        SendCommand(frame, FrameCommandClose);
    }
}

// The program's folder named outside the code page, then neighbours made whose short form
// is its own, each with preferences and an editor's reply of its own: the program reads
// its own files (the editor's reply, a new plan's colours, the symbol library) and saves
// its preferences there, every neighbour's file as it was; where the editor left its file
// as handed over, or a closed plan's reply is kept, the box names the file by its long path.
TEST_F(DocumentCommands, AProgramFolderReadsItsOwnFilesAfterANeighbourTakesItsShortForm)
{
    std::wstring home(MAX_PATH, L'\0');
    home.resize(GetLongPathNameW(WidenName(vtest::CurrentDirectory()).c_str(), &home[0], MAX_PATH));
    const std::wstring here = home + L"\\program\\", ours = L"\u043F\u0440\u043E\u0435\u043A\u0442\u03BA\u03B3\u03C9";
    std::wstring own = here + ours;
    std::filesystem::remove_all(here);
    std::string folder;
    ASSERT_TRUE(CreateDirectoryW(here.c_str(), nullptr) && CreateDirectoryW(own.c_str(), nullptr) && AnsiPathOf(own, folder));
    std::filesystem::copy(WidenName(vtest::SourceFilePath("OBJECTS")), own + L"\\OBJECTS",
                          std::filesystem::copy_options::recursive);
    std::ofstream(std::filesystem::path(own + L"\\Z!PREFS.INI")) << "[ForegroundColor]\nRed=111\n";
    // A picture (2 by 1) and a profile of its own, and a working file a stopped preferences save left.
    std::ofstream(std::filesystem::path(own + L"\\V.BMP"), std::ios::binary)
        << std::string("BM>\0\0\0\0\0\0\0" "6\0\0\0(\0\0\0\2\0\0\0\1\0\0\0\1\0\x18\0", 30) + std::string(32, '\0');
    std::ofstream(std::filesystem::path(own + L"\\V.INI")) << "[S]\nK=1\n";
    std::ofstream(std::filesystem::path(own + L"\\Z!PREFS.INI.1-2.tmp")) << "left";
    char* const programWas = programDirectory;
    wchar_t* const longWas = programLongDirectory;
    programDirectory = &folder[0], programLongDirectory = &own[0];
    KeepMeantPath(&programDirectory, folder.c_str(), own, true);
    SendCommand(frame, FrameCommandNew);
    AddLine(shelltest::Storey("First Floor"), {{0, 0}, {100, 0}}, true);
    const std::string exchange = folder + "\\Z!TOVRL.TMP";
    ASSERT_TRUE(WriteObjectExchangeFile(exchange.c_str()));
    const std::vector<unsigned char> reply = vtest::ReadFileBytes(exchange);
    const auto editorStarts = [&](bool plan) {
        NoteFurnitureEditorStart();
        furnitureEditorRunning = 1;
        furnitureEditorPlan = plan ? GetParent(activePlanPane) : nullptr;
    };
    editorStarts(true);
    std::vector<std::wstring> neighbours = MakeNeighbours(
        here, ours, folder,
        {{L"Z!PREFS.INI", [](size_t n) { return "[ForegroundColor]\nRed=" + std::to_string(200 + n) + "\n"; }},
         {L"Z!TOVRL.TMP", [&](size_t) { return std::string(reply.begin(), reply.end()); }},
         {L"V.BMP", [](size_t n) { return std::to_string(n); }},
         {L"V.INI", [](size_t n) { return "[S]\nK=" + std::to_string(2 + n) + "\n"; }},
         {L"Z!PREFS.INI.3-4.tmp", [](size_t n) { return std::to_string(n); }}});
    ASSERT_FALSE(neighbours.empty());
    wchar_t listed[MAX_PATH] = L"";
    SCOPED_TRACE(GetLongPathNameW(WidenName(folder).c_str(), listed, MAX_PATH) && here + ours == listed ? "GetLongPathNameW: ours" : "");
    const auto bytesOf = [](const std::wstring& path) {
        std::ifstream file{std::filesystem::path(path), std::ios::binary};
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    // Its reply: the file written again (another object would do as well).
    const auto editorWrites = [&] {
        std::ofstream(std::filesystem::path(own + L"\\Z!TOVRL.TMP"), std::ios::binary) << std::string(reply.begin(), reply.end());
    };
    std::vector<std::string> theirs;
    for (const std::wstring& neighbour : neighbours)
        theirs.push_back(bytesOf(neighbour));
    PlanDocument* const plan = activeDocument;
    HANDLE held = INVALID_HANDLE_VALUE;
    // The neighbour the short form reaches.
    const std::wstring neighbour = ReachedBy(folder);
    ASSERT_NE(own, neighbour);
    // The folder a companion starts in, whose replies it writes by relative names.
    std::wstring was(MAX_PATH, L'\0');
    was.resize(GetCurrentDirectoryW(MAX_PATH, &was[0]));
    ChangeToProgramDirectory();
    EXPECT_EQ(own, ReachedBy("."));
    SetCurrentDirectoryW(was.c_str());
    const struct {
        const char* road;
        std::function<void()> act;
        int added;
        std::vector<std::wstring> named;   // in the last box
    } rows[] = {
        {"the editor closes, its file as handed over", [] {}, 0, {own + L"\\Z!TOVRL.TMP", neighbour + L"\\Z!TOVRL.TMP"}},
        {"the editor replies", [&] { editorStarts(true), editorWrites(); }, 1, {}},
        {"the editor closes, a closed plan's file as handed over", [&] { editorStarts(false); }, 0, {own + L"\\Z!TOVRL.TMP", neighbour + L"\\Z!TOVRL.TMP"}},
        {"the editor replies to a closed plan", [&] { editorStarts(false), editorWrites(); }, 0, {own + L"\\Tovrel1.ZOB"}},
        {"the editor replies, still writing its file", [&] {
             editorStarts(true), editorWrites();
             held = CreateFileW((own + L"\\Z!TOVRL.TMP").c_str(), GENERIC_READ | GENERIC_WRITE, 7, nullptr, OPEN_EXISTING, 0, nullptr);
             OVERLAPPED writing = {0, 0, {{0, 0x40000000}}};
             LockFileEx(held, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &writing);
         }, 0, {own + L"\\Z!TOVRL.TMP", own + L"\\Tovrel2.ZOB"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.road);
        row.act();
        const size_t shown = boxes.Count();
        const int before = CountObjects(plan);
        HandleWorkbenchClosing(frame, true);
        EXPECT_EQ(before + row.added, CountObjects(plan));
        EXPECT_EQ(row.named.empty() ? shown : shown + 1, boxes.Count());
        for (const std::wstring& name : row.named)
            EXPECT_TRUE(boxes.Count() > shown && boxes.Last().text.find(NarrowMarked(name)) != std::string::npos)
                << (boxes.Count() ? boxes.Last().text : "");
    }
    CloseHandle(held);
    // A hand-over now, its file reached through the short form in the neighbour: refused, both named.
    EXPECT_FALSE(WriteObjectExchangeFile(exchange.c_str()));
    ReportFurnitureEditorWriteFailure(frame);
    for (const std::wstring& name : {own + L"\\Z!TOVRL.TMP", neighbour})
        EXPECT_NE(std::string::npos, boxes.Last().text.find(NarrowMarked(name))) << boxes.Last().text;
    // A new plan's colours, and their save.
    SendCommand(frame, FrameCommandNew);
    EXPECT_EQ(111, activeDocument->settings->foregroundColour.red);
    activeDocument->settings->foregroundColour.red = 99;
    SavePlanColours();
    EXPECT_NE(std::string::npos, bytesOf(own + L"\\Z!PREFS.INI").find("Red=99"));
    EXPECT_FALSE(std::filesystem::exists(own + L"\\Z!PREFS.INI.1-2.tmp"));
    // Each profile and picture reader.
    char text[64] = "", section[64] = "";
    const std::string ini = folder + "\\V.INI";
    EXPECT_TRUE(MeantProfileInt("S", "K", 0, ini.c_str()) == 1 && MeantProfileString("S", "K", "", text, 64, ini.c_str()) &&
                MeantProfileSection("S", section, 64, ini.c_str()) && text == std::string("1") && section == std::string("K=1"));
    DIBImage* image = LoadDIBImageA((folder + "\\V.BMP").c_str());
    EXPECT_TRUE(image && image->width == 2 && (std::free(image->pixels), std::free(image), true));
    // The symbol library, every symbol drawn.
    ASSERT_TRUE(LoadSymbolLibrary2D());
    int drawn = 0;
    for (PlanObject* symbol = symbolTemplates2D; symbol; symbol = symbol->next)
        drawn += symbol->firstChild != nullptr;
    EXPECT_EQ(44, drawn);
    for (size_t i = 0; i < neighbours.size(); ++i)
        EXPECT_EQ(theirs[i], bytesOf(neighbours[i]));
    for (size_t i = 0; i < neighbours.size(); i += 5)
        EXPECT_EQ(5, std::distance(std::filesystem::directory_iterator(std::filesystem::path(neighbours[i]).parent_path()),
                                   std::filesystem::directory_iterator()));
    programDirectory = programWas, programLongDirectory = longWas;
    KeepMeantPath(&programDirectory, longWas ? programWas : nullptr, longWas ? longWas : L"", true);
}

} // namespace
