// velmora-test: desktop
#include <gtest/gtest.h>
#include "shell/app_globals.h"
#include "shell/companions.h"
#include "shell/frame_window.h"
#include "files/object_exchange.h"
#include "files/plan_file.h"
#include "model/object_extents.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "planview/plan_context_menus.h"
#include "support/companion_standins.h"
#include "support/plan_fixtures.h"
#include "support/test_support.h"
#include "support_commands.h"
#include "support_shell.h"
#include <string>
#include <vector>

namespace {

using shelltest::SendCommand;
using vtest::CloseStandIns;
using vtest::InstallStandIn;
using vtest::StandInLogLines;

// The companions are stand-ins copied into the program directory under their names.
class Companions : public testing::Test {
protected:
    void SetUp() override
    {
        frame = shelltest::StartShell();
        ASSERT_NE(nullptr, frame);
        directory = programDirectory;
        SendCommand(frame, 2);
        ASSERT_NE(nullptr, activeDocument);
        settings = activeDocument->settings;
        for (const char* name : {"\\Z!TOVRL.EXE", "\\Z!KORVAN.EXE", "\\Z!3DEST.EXE"})
            InstallStandIn(directory, name);
    }
    void TearDown() override
    {
        CloseStandIns();
        estimateRunning = furnitureEditorRunning = 0;
        companionEditObject = nullptr;
        shelltest::ForgetDocumentChanges();
        shelltest::StopShell();
    }
    HWND frame = nullptr;
    std::string directory;
    PlanSettings* settings = nullptr;
    vtest::MessageBoxRecorder boxes;
};

TEST_F(Companions, FurnitureEditorGetsTheUnitLetter)
{
    for (uint16_t units : {4, 3}) {
        InstallStandIn(directory, "\\Z!TOVRL.EXE");
        settings->unitSystem = units;
        SendCommand(frame, 5231);
        std::vector<std::string> lines = StandInLogLines(directory, 1);
        ASSERT_EQ(1u, lines.size());
        EXPECT_EQ("COMMAND " + directory + "\\Z!TOVRL.EXE " + (units == 4 ? "M" : "E"), lines[0]);
        EXPECT_EQ(1, furnitureEditorRunning);
        EXPECT_EQ(nullptr, companionEditObject);
        CloseStandIns();
    }
    EXPECT_EQ(0u, boxes.Count());

    // A blank in the program directory: the executable's path is quoted.
    const std::string blank = directory + "\\with blank";
    CreateDirectoryA(blank.c_str(), nullptr);
    InstallStandIn(blank, "\\Z!TOVRL.EXE");
    std::vector<char> moved(blank.c_str(), blank.c_str() + blank.size() + 1);
    char* kept = programDirectory;
    programDirectory = moved.data();
    SendCommand(frame, 5231);
    programDirectory = kept;
    SetCurrentDirectoryA(directory.c_str());
    std::vector<std::string> lines = StandInLogLines(blank, 1);
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ("COMMAND \"" + blank + "\\Z!TOVRL.EXE\" E", lines[0]);
}

TEST_F(Companions, ScaleModelToolGetsAPlanCopyAndKeepsTheModifiedFlag)
{
    shelltest::AddLine(shelltest::Storey("First Floor"), {{0, 0}, {100, 0}}, true);
    const std::string exchange = directory + "\\Z!3DQW.TMP";
    for (uint32_t modified : {0u, 1u}) {
        InstallStandIn(directory, "\\Z!KORVAN.EXE");
        settings->modified = modified;
        SendCommand(frame, 5272);
        std::vector<std::string> lines = StandInLogLines(directory, 1);
        ASSERT_EQ(1u, lines.size());
        EXPECT_EQ("COMMAND " + directory + "\\Z!KORVAN.EXE " + exchange, lines[0]);
        EXPECT_EQ(modified, settings->modified);
        CloseStandIns();
    }
    SendCommand(frame, 2);
    ASSERT_TRUE(LoadPlanFile(exchange.c_str()));
    EXPECT_EQ(1, shelltest::CountObjects(activeDocument));

    DeleteFileA((directory + "\\Z!KORVAN.EXE").c_str());
    SendCommand(frame, 5272);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ("Impossibile aprire Korvane", boxes.Last().caption);
    EXPECT_EQ("E' stato riscontrato un errore durante l'apertura di Korvane. Assicurarsi che il programma sia "
              "installato correttamente e che ci sia memoria sufficiente.",
              boxes.Last().text);
    EXPECT_EQ(nullptr, boxes.Last().owner);
}

// While the spreadsheet runs, 5303 asks first and on Yes rewrites the file and tells it
// to reread; once it has ended without "CLOSING SPREADSHEET" (it crashed or was killed),
// 5303 starts it again without asking.
TEST_F(Companions, RunningSpreadsheetIsAskedAndAnEndedOneStartedAgain)
{
    const std::string exchange = directory + "\\Z!EST.TMP";
    const std::string started = "COMMAND " + directory + "\\Z!3DEST.EXE " + exchange;
    SendCommand(frame, 5303);
    ASSERT_EQ(1u, StandInLogLines(directory, 1).size());
    DeleteFileA(exchange.c_str());
    boxes.QueueAnswer(IDNO);
    SendCommand(frame, 5303);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ("Aggiornare Revazov udodovezuz?", boxes.Last().caption);
    EXPECT_EQ(frame, boxes.Last().owner);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), boxes.Last().flags);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(exchange.c_str()));

    boxes.QueueAnswer(IDYES);
    SendCommand(frame, 5303);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(exchange.c_str()));
    std::vector<std::string> lines = StandInLogLines(directory, 2);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(started, lines[0]);
    EXPECT_EQ("UPDATE SPREADSHEET", lines[1]);

    CloseStandIns();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(estimateProcess, 20000));
    SendCommand(frame, 5303);
    EXPECT_EQ(2u, boxes.Count());
    lines = StandInLogLines(directory, 3);
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(started, lines[2]);
    EXPECT_EQ(1, estimateRunning);
}

// The furniture editor ended without its closing message: the hand-over of a library
// object starts it again without asking whether to restart it.
TEST_F(Companions, EndedFurnitureEditorIsStartedAgainUnasked)
{
    settings->unitSystem = 3;
    SendCommand(frame, 5231);
    ASSERT_EQ(1u, StandInLogLines(directory, 1).size());
    CloseStandIns();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(furnitureEditorProcess, 20000));
    PlanObject* object =
        vtest::MakePointObject(15, activeDocument->currentFloor, {{0, 0, 0}, {20, 0, 0}, {20, 0, 20}}, 1, 1);
    HandOverToFurnitureEditor(object);
    EXPECT_EQ(0u, boxes.Count());
    std::vector<std::string> lines = StandInLogLines(directory, 2);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("COMMAND " + directory + "\\Z!TOVRL.EXE " + directory + "\\Z!TOVRL.TMPE", lines[1]);
    EXPECT_EQ(object, companionEditObject);
}

TEST_F(Companions, ImportThatIsCancelledOrRejectedChangesNothing)
{
    PlanObject* line = shelltest::AddLine(shelltest::Storey("First Floor"), {{500, 300}, {600, 300}});
    const std::string hostile = shelltest::LocalPath("hostile.ZOB");
    vtest::WriteFileBytes(hostile, {'Z', '!', 0, 1, 2, 3, 0xFF, 0xFF});
    shelltest::FileDialogAnswers answers;
    answers.Cancel();
    answers.Choose(hostile);
    for (int attempt = 0; attempt < 2; ++attempt) {
        SendCommand(frame, 5000);
        EXPECT_EQ(0, exchangeImportActive);
        EXPECT_EQ(1, shelltest::CountObjects(activeDocument));
        EXPECT_EQ(line, shelltest::Storey("First Floor")->firstObject);
        EXPECT_FLOAT_EQ(500.0f, line->firstVertex->position[0]);
    }
    ASSERT_EQ(2u, answers.Calls().size());
    EXPECT_EQ("*.ZOB", answers.Calls()[0].initialName);

    // A good file: only the imported objects (the selected ones) go to the middle of the
    // site, here (500, 300); the user's line stays where it was.
    PlanObject* piece = shelltest::AddLine(shelltest::Storey("First Floor"), {{0, 0}, {40, 0}}, true);
    const std::string good = shelltest::LocalPath("piece.ZOB");
    ASSERT_TRUE(WriteObjectExchangeFile(good.c_str()));
    piece->firstVertex->selected = piece->firstVertex->next->selected = 0;
    settings->extentLeft = 0.0f;
    settings->extentRight = 1000.0f;
    settings->extentTop = 0.0f;
    settings->extentBottom = 600.0f;
    answers.Choose(good);
    SendCommand(frame, 5000);
    EXPECT_EQ(3, shelltest::CountObjects(activeDocument));
    EXPECT_FLOAT_EQ(500.0f, line->firstVertex->position[0]);
    EXPECT_FLOAT_EQ(0.0f, piece->firstVertex->position[0]);
    float box[6] = {32000, 32000, 32000, -32000, -32000, -32000};
    GetAllFloorsExtents3D(activeDocument->firstFloor, 1, box, 0);
    EXPECT_FLOAT_EQ(480.0f, box[1]);
    EXPECT_FLOAT_EQ(520.0f, box[4]);
    EXPECT_FLOAT_EQ(300.0f, box[2]);
    EXPECT_EQ(0, exchangeImportActive);
}


// The imported objects' extents (top, left, bottom, right) repainted as the pane's
// device rectangle: zoomed, grown by 5, through the pane's own mapping.
TEST_F(Companions, ImportedExtentsBecomeThePanesDeviceRectangle)
{
    settings->zoom = 2.0f;
    const float extents[4] = {10.0f, 100.0f, 50.0f, 300.0f};
    POINT corners[2] = {{195, 15}, {605, 105}};
    HDC dc = GetDC(activePlanPane);
    LPtoDP(dc, corners, 2);
    ReleaseDC(activePlanPane, dc);
    const RECT got = ImportedDeviceRect(extents);
    EXPECT_EQ(got.left, corners[0].x);
    EXPECT_EQ(got.top, corners[0].y);
    EXPECT_EQ(got.right, corners[1].x);
    EXPECT_EQ(got.bottom, corners[1].y);
}

} // namespace
