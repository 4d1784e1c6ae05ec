// velmora-test: desktop
#include <gtest/gtest.h>
#include "shell/app_globals.h"
#include "shell/companions.h"
#include "shell/frame_window.h"
#include "files/ansi_names.h"
#include "files/kept_paths.h"
#include "files/object_exchange.h"
#include "files/plan_file.h"
#include "files/safe_save.h"
#include "files/whole_reads.h"
#include "model/object_copies.h"
#include "model/object_extents.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "planview/plan_context_menus.h"
#include "planview/selection.h"
#include "support/companion_standins.h"
#include "support/dialog_driver.h"
#include "support/plan_fixtures.h"
#include "support/test_support.h"
#include "support_commands.h"
#include "support_shell.h"
#include <cmath>
#include <string>
#include <vector>

namespace {

using shelltest::SendCommand;
using vtest::CloseStandIns;
using vtest::InstallStandIn;
using vtest::StandInLogLines;
using vtest::StandInProgram;

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
        EXPECT_EQ("COMMAND " + StandInProgram(directory, "\\Z!TOVRL.EXE") + " " + (units == 4 ? "M" : "E"), lines[0]);
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
        EXPECT_EQ("COMMAND " + StandInProgram(directory, "\\Z!KORVAN.EXE") + " " + exchange, lines[0]);
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
    const std::string started = "COMMAND " + StandInProgram(directory, "\\Z!3DEST.EXE") + " " + exchange;
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

// Started in "Ωx" beside "Ox" (a name the code page cannot hold beside its look-alike),
// the program resolves names, writes its exchange files (and the copy a save keeps of
// one it replaces) and starts its companions in its own folder.
TEST_F(Companions, FolderOutsideTheCodePageIsNeverItsLookAlike)
{
    CreateDirectoryW(L"\u03A9x", nullptr);
    CreateDirectoryA("Ox", nullptr);
    const char* const files[] = {"\\STANDIN.LOG", "\\Z!3DQW.TMP", "\\Z!EST.TMP"};
    for (const char* name : files)
        DeleteFileA(("Ox" + std::string(name)).c_str());
    for (const char* name : {"\\Z!KORVAN.EXE", "\\Z!3DEST.EXE"})
        InstallStandIn(directory + "\\Ox", name);
    shelltest::StopShell();
    SetCurrentDirectoryW(L"\u03A9x");
    frame = shelltest::StartShell();
    char relative[MAX_PATH] = "";
    GetFullPathNameA("x", MAX_PATH, relative, nullptr);
    SetCurrentDirectoryA(directory.c_str());
    ASSERT_NE(nullptr, frame);
    const std::string own = programDirectory;
    EXPECT_EQ(own + "\\x", relative);
    for (const char* name : {"\\Z!KORVAN.EXE", "\\Z!3DEST.EXE"})
        InstallStandIn(own, name);
    static bool copyInLookAlike = false;
    SendCommand(frame, 2);
    SendCommand(frame, 5272);
    SendCommand(frame, 5303);
    SetSaveStageHook([](SaveStage stage) {   // in the program directory
        copyInLookAlike |= stage == SaveStage::CopyMade && GetFileAttributesA("..\\Ox\\~Z!3DQW.TMP.salva") != ~0u;
    });
    SendCommand(frame, 5272);
    SetSaveStageHook(nullptr);
    EXPECT_EQ(3u, StandInLogLines(own, 3).size());
    SetCurrentDirectoryA(directory.c_str());
    for (const char* name : files)
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(("Ox" + std::string(name)).c_str())) << name;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(L"\u03A9x\\Z!3DQW.TMP"));
    EXPECT_FALSE(copyInLookAlike);
    EXPECT_EQ(0u, boxes.Count());
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
    EXPECT_EQ("COMMAND " + StandInProgram(directory, "\\Z!TOVRL.EXE") + " " + directory + "\\Z!TOVRL.TMPE", lines[1]);
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
    answers.Choose(shelltest::LocalPath("missing.ZOB"));   // said, named
    for (int attempt = 0; attempt < 3; ++attempt) {
        SendCommand(frame, 5000);
        EXPECT_EQ(0, exchangeImportActive);
        EXPECT_EQ(1, shelltest::CountObjects(activeDocument));
        EXPECT_EQ(line, shelltest::Storey("First Floor")->firstObject);
        EXPECT_FLOAT_EQ(500.0f, line->firstVertex->position[0]);
    }
    ASSERT_EQ(3u, answers.Calls().size());
    EXPECT_EQ("*.ZOB", answers.Calls()[0].initialName);
    const std::string missing =
        "Il file non può essere letto:\n" + NarrowMarked(LongPathOf(shelltest::LocalPath("missing.ZOB").c_str()));
    EXPECT_TRUE(boxes.Count() && boxes.Last().text.find(missing) == 0) << (boxes.Count() ? boxes.Last().text : "");

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
    // Held for writing by another program throughout the patience: said to be written, never damaged.
    HANDLE held = CreateFileA(good.c_str(), GENERIC_READ | GENERIC_WRITE, 7, nullptr, OPEN_EXISTING, 0, nullptr);
    OVERLAPPED mark = {0, 0, {{0, 0x40000000}}};
    ASSERT_TRUE(LockFileEx(held, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &mark));
    answers.Choose(good);
    SendCommand(frame, 5000);
    CloseHandle(held);
    EXPECT_EQ(3, shelltest::CountObjects(activeDocument));
    EXPECT_TRUE(boxes.Count() && boxes.Last().text.find("Il file è in corso di scrittura da parte di un altro programma:\n" +
                                                        NarrowMarked(LongPathOf(good.c_str()))) == 0)
        << (boxes.Count() ? boxes.Last().text : "");
}

// The furniture editor's reply: the stand-in started by the frame's button or by a double
// click on a library object L of plan A, which also holds the user's line U; then told to
// end. Plan A is described as its objects' points, x,z with a star when selected, () for an
// object without points. A reply is taken once, only from a pending editor, into its own
// plan, with the user's selection cleared first, never inside a modal dialog (it waits
// for the Move dialog, which moves U, or a drag); a second start while it is pending is refused, and closing its plan
// asks first, the reply of a closed plan being kept as a file to import (once the editor lets it go; at quit too), or
// said not kept where every name is taken; kept under the next name where Tovrel1.ZOB exists, and copied where the
// editor still reads it.
// Objects without points and empty groups are left out; a reply with nothing else or with
// impossible points (imported by command 5000 too) changes nothing. What a reply changed
// is marked, so that closing asks.
enum ReplyFile { kOutline, kNotANumber, kInfinite, kFarAway, kNothing, kWithEmpties, kOnlyEmpties };
enum Meanwhile { kIdle, kUserSelects, kEndsWithNoUpdate, kOpensPlanB, kClosesPlanA, kReadOnlyExchange,
                 kStartsAgainFromPlanB, kHandsOverAgain, kKeepsPlanA, kMovesInDialog, kDrags, kKeptWhileHeld,
                 kAllNamesTaken, kFirstNameTaken, kKeptWhileRead, kQuits };
const char* const kL = "200,100 240,100 240,140 200,140";
const char* const kAtSiteCentre = "-30,-15* 30,-15* 30,15* -30,15*";   // the reply's 60 x 30 outline
const char* const kInPlaceOfL = "190,105 250,105 250,135 190,135";
const char* const kFormatBoxes = "Errore file - Formato sconosciuto: Questo file è stato danneggiato oppure non è "
                                 "stato creato da Tovrel.\nErrore file - Formato sconosciuto: Questo file è stato "
                                 "danneggiato oppure non è stato creato da Tovrel.\n";
const char* const kRefused = "Impossibile aprire Tovrel: Tovrel sta ancora lavorando su un disegno. Chiudere Tovrel, "
                             "perché il suo lavoro torni nel disegno, prima di avviarlo di nuovo.\n";
const char* const kStillWorking = ": L'editor dell'arredamento sta ancora lavorando su questo disegno. Chiudere comunque?\n";
struct ReplyCase {
    bool handOver;
    Meanwhile meanwhile;
    ReplyFile reply;
    int closings;
    const char* besideU;   // the other object of plan A; null when A was closed
    const char* boxes;
} const kReplyCases[] = {
    {false, kUserSelects, kOutline, 1, kAtSiteCentre, ""},
    {false, kEndsWithNoUpdate, kOutline, 1, "", ""},
    {false, kIdle, kOutline, 2, kAtSiteCentre, ""},
    {true, kIdle, kOutline, 1, kInPlaceOfL, ""},
    {true, kIdle, kNothing, 1, kL, kFormatBoxes},
    {true, kIdle, kWithEmpties, 1, kInPlaceOfL, ""},
    {true, kIdle, kOnlyEmpties, 1, kL, kFormatBoxes},
    {true, kStartsAgainFromPlanB, kOutline, 1, kInPlaceOfL, kRefused},
    {true, kHandsOverAgain, kOutline, 1, kInPlaceOfL, kRefused},
    {false, kMovesInDialog, kOutline, 1, kAtSiteCentre, ""},
    {true, kOpensPlanB, kOutline, 1, kInPlaceOfL, ""},
    {true, kIdle, kOutline, 2, kInPlaceOfL, ""},
    {true, kIdle, kNotANumber, 1, kL, kFormatBoxes},
    {true, kIdle, kInfinite, 1, kL, kFormatBoxes},
    {true, kIdle, kFarAway, 1, kL, kFormatBoxes},
    {true, kClosesPlanA, kOutline, 1, nullptr, kStillWorking},
    {true, kReadOnlyExchange, kOutline, 0, "200,100* 240,100* 240,140* 200,140*",
     "Impossibile aprire Tovrel: Si è verificato un errore durante la scrittura del file dell'oggetto da usare con "
     "Tovrel.\n"},
    {true, kKeepsPlanA, kOutline, 1, kInPlaceOfL, kStillWorking},
    {false, kDrags, kOutline, 1, kAtSiteCentre, ""}, {true, kKeptWhileHeld, kOutline, 1, nullptr, kStillWorking},
    {true, kAllNamesTaken, kOutline, 1, nullptr, kStillWorking}, {true, kFirstNameTaken, kOutline, 1, nullptr, kStillWorking},
    {true, kKeptWhileRead, kOutline, 1, nullptr, kStillWorking}, {true, kQuits, kOutline, 1, nullptr, kStillWorking},
};

std::string Described(const PlanDocument* plan)
{
    std::string text;
    for (const PlanFloor* floor = plan->firstFloor; floor; floor = floor->next)
        for (const PlanObject* object = floor->firstObject; object; object = object->next) {
            if (!object->firstVertex)
                text += text.empty() ? "()" : "; ()";
            for (const PlanVertex* v = object->firstVertex; v; v = v->next)
                text += std::string(v != object->firstVertex ? " " : text.empty() ? "" : "; ") +
                        std::to_string(std::lround(v->position[0])) + "," +
                        std::to_string(std::lround(v->position[2])) + (v->selected ? "*" : "");
        }
    return text;
}

bool PlanIsOpen(const PlanDocument* plan)
{
    for (HWND child = GetWindow(mdiClientWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowDocument(child) == plan)
            return true;
    return false;
}

TEST_F(Companions, FurnitureEditorReplyIsTakenOnceIntoItsOwnPlan)
{
    SetRecentWriteSpan(0);   // the damaged replies the stand-in has handed over, no longer written
    // The replies, written by the program's own writer.
    PlanObject* outline = vtest::MakePointObject(15, activeDocument->currentFloor,
                                                 {{0, 0, 0}, {60, 0, 0}, {60, 0, 30}, {0, 0, 30}}, 1, 1);
    int file = kOutline;
    for (float x : {60.0f, NAN, INFINITY, 1e30f, 60.0f}) {
        outline->firstVertex->next->position[0] = x;
        SetAllPointsSelected(outline, file != kNothing);
        WriteObjectExchangeFile((directory + "\\REPLY" + std::to_string(file++) + ".TMP").c_str());
    }
    // An object without points and a group whose only member has none, put before a
    // reply's end tag by hand: no writer of the program makes them.
    for (int from : {kOutline, kNothing}) {
        std::vector<unsigned char> bytes = vtest::ReadFileBytes(directory + "\\REPLY" + std::to_string(from) + ".TMP");
        bytes.resize(bytes.size() - 2);
        const auto empty = [&](unsigned char typeHigh, unsigned char typeLow) {
            bytes.insert(bytes.end(), {0, 200, typeHigh, typeLow});
            bytes.insert(bytes.end(), 75 + 4, 0);   // the header's other fields, no points
        };
        empty(0, 15);
        empty(1000 >> 8, 1000 & 0xFF);
        bytes.insert(bytes.end(), {0, 202});
        empty(0, 15);
        bytes.insert(bytes.end(), {0, 203, 400 >> 8, 400 & 0xFF});
        const int to = from == kOutline ? kWithEmpties : kOnlyEmpties;
        vtest::WriteFileBytes(directory + "\\REPLY" + std::to_string(to) + ".TMP", bytes);
    }
    shelltest::SetFrameClientSize(frame, 1000, 700);
    const std::string exchange = directory + "\\Z!TOVRL.TMP";
    for (const ReplyCase& c : kReplyCases) {
        SCOPED_TRACE(&c - kReplyCases);
        shelltest::ForgetDocumentChanges();
        SendCommand(frame, 9000);
        DeleteFileA((directory + "\\STANDIN.LOG").c_str());
        const size_t before = boxes.Count();
        SendCommand(frame, 2);
        PlanDocument* planA = activeDocument;
        const std::string titleA = shelltest::WindowText(GetParent(activePlanPane));
        PlanObject* u =
            shelltest::AddLine(planA->currentFloor, {{-400, -200}, {-280, -200}, {-280, -100}, {-400, -100}});
        POINT side = {0, 0};
        if (!c.handOver) {
            SendMessageA(frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(990, 630));   // the editor's button
        } else {
            PlanObject* l = vtest::MakePointObject(15, planA->currentFloor, {{200, 0, 100}, {240, 0, 100},
                                                                             {240, 0, 140}, {200, 0, 140}}, 0, 1);
            l->category = u->category;
            UpdateObjectExtents(l);
            // A double click on the middle of its top side, where the pane shows it.
            float extents[4] = {32000, 32000, -32000, -32000};
            GetObjectExtents2D(l, 0, extents, 0, 0);
            side = {std::lround((extents[kRectMinX] + extents[kRectMaxX]) / 2), std::lround(extents[kRectMinY])};
            HDC dc = GetDC(activePlanPane);
            LPtoDP(dc, &side, 1);
            ReleaseDC(activePlanPane, dc);
            vtest::WriteFileBytes(exchange, {});
            if (c.meanwhile == kReadOnlyExchange)
                SetFileAttributesA(exchange.c_str(), FILE_ATTRIBUTE_READONLY);
            SendMessageA(activePlanPane, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(side.x, side.y));
            SetFileAttributesA(exchange.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        const size_t started = c.meanwhile == kReadOnlyExchange ? 0 : 1;
        ASSERT_EQ(started, StandInLogLines(directory, started).size());
        if (c.meanwhile == kUserSelects || c.meanwhile == kEndsWithNoUpdate)
            u->firstVertex->selected = u->firstVertex->next->selected = 1;
        if (c.meanwhile == kEndsWithNoUpdate)
            vtest::StandInReply(directory, 2, -1, 0);
        const auto name = [&](int n) { return directory + "\\Tovrel" + std::to_string(n) + ".ZOB"; };
        const std::string kept = name(c.meanwhile == kFirstNameTaken ? 2 : 1);
        for (int n : {1, 2})
            DeleteFileA(name(n).c_str());
        const bool closesA = c.meanwhile == kClosesPlanA || (c.meanwhile >= kKeptWhileHeld && c.meanwhile < kQuits),
                   keeps = closesA || c.meanwhile == kQuits, taken = c.meanwhile == kAllNamesTaken;
        const std::string reply = directory + "\\REPLY0.TMP";
        if (closesA || c.meanwhile == kKeepsPlanA) {
            boxes.QueueAnswer(c.meanwhile == kKeepsPlanA ? IDNO : IDYES);
            SendCommand(frame, 4);
        }
        PlanDocument* planB = nullptr;
        if (c.meanwhile == kOpensPlanB || closesA || c.meanwhile == kStartsAgainFromPlanB) {
            SendCommand(frame, 2);
            planB = activeDocument;
        }
        if (c.meanwhile == kStartsAgainFromPlanB)
            SendCommand(frame, 5231);
        if (c.meanwhile == kHandsOverAgain)
            SendMessageA(activePlanPane, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(side.x, side.y));
        shelltest::ForgetDocumentChanges();
        if (c.meanwhile == kMovesInDialog) {
            // U whole is selected and the Move dialog opened; the reply comes while it is open.
            SetAllPointsSelected(u, 1);
            vtest::DialogDriver driver;
            driver.Queue([&](HWND dialog) {
                vtest::StandInReply(directory, 2, c.reply, c.closings);
                vtest::SetText(dialog, 5, "1");
                vtest::Click(dialog, IDOK);
            });
            SendCommand(frame, 5215);
            for (int wait = 0; wait < 400 && FurnitureEditorStillRunning(); ++wait, Sleep(25))
                vtest::PumpMessages();
        } else if (c.closings) {
            // The editor holding its reply closed to reading, or reading it; every name taken, or the first;
            // a drag (the frame quits in it: the last).
            const bool drag = c.meanwhile == kDrags || c.meanwhile == kQuits, read = c.meanwhile == kKeptWhileRead;
            HANDLE held = INVALID_HANDLE_VALUE;
            if ((c.meanwhile == kKeptWhileHeld || read) && CopyFileA(reply.c_str(), exchange.c_str(), FALSE))
                held = CreateFileA(exchange.c_str(), GENERIC_READ, read ? FILE_SHARE_READ : 0, nullptr, OPEN_EXISTING,
                                   0, nullptr);
            for (int n = 1; n < (taken ? 1000 : c.meanwhile == kFirstNameTaken ? 2 : 1); ++n)
                vtest::WriteFileBytes(name(n), {1, 2, 3});
            if (drag)
                SetCapture(activePlanPane);
            vtest::StandInReply(directory, c.meanwhile == kEndsWithNoUpdate ? 3 : 2, c.reply, c.closings);
            EXPECT_EQ(drag || (held != INVALID_HANDLE_VALUE && !read), FurnitureEditorStillRunning());   // the reply waits
            c.meanwhile == kQuits ? (void)SendCommand(frame, 1) : (void)(ReleaseCapture(), CloseHandle(held));
            for (int wait = 0; wait < 400 && FurnitureEditorStillRunning(); ++wait, Sleep(25))
                vtest::PumpMessages();
        }

        EXPECT_EQ(0, furnitureEditorRunning);
        if (planB) {
            EXPECT_EQ("", Described(planB));
            EXPECT_EQ(0u, planB->settings->modified);
        }
        const bool changed = c.besideU == kAtSiteCentre || c.besideU == kInPlaceOfL;
        if (c.besideU && !PlanIsOpen(planA)) {
            ADD_FAILURE() << "plan A was closed";
        } else if (c.besideU) {
            EXPECT_EQ(planA, activeDocument);
            std::string line = c.meanwhile == kEndsWithNoUpdate ? "-400,-200* -280,-200* -280,-100 -400,-100"
                                                                : "-400,-200 -280,-200 -280,-100 -400,-100";
            if (c.meanwhile == kMovesInDialog) {
                const long dx = std::lround(u->firstVertex->position[0]) + 400;
                EXPECT_GT(dx, 0);
                line = std::to_string(-400 + dx) + ",-200 " + std::to_string(-280 + dx) + ",-200 " +
                       std::to_string(-280 + dx) + ",-100 " + std::to_string(-400 + dx) + ",-100";
            }
            EXPECT_EQ(line + (*c.besideU ? "; " : "") + c.besideU, Described(planA));
            EXPECT_EQ(changed ? 1u : 0u, planA->settings->modified);
        }
        std::string told = c.boxes == kStillWorking ? titleA + kStillWorking : c.boxes;
        if (keeps) {
            // The reply is kept and said (imported into plan B, it is the editor's outline), or said not kept.
            told += std::string(applicationTitle) + ": Il disegno per cui lavorava l'editor dell'arredamento è stato "
                    "chiuso. " + (taken ? "Non è stato possibile conservare il suo lavoro in un file.\n" :
                    "Il suo lavoro è stato conservato nel file " + NarrowMarked(LongPathOf(kept.c_str())) +
                    ": per aggiungerlo a un disegno, scegliere Fichier, Importer, Objet Quintara...\n");
            const std::vector<unsigned char> theirs = {1, 2, 3};   // a name taken is never written over
            EXPECT_EQ(taken ? theirs : vtest::ReadFileBytes(reply), vtest::ReadFileBytes(kept));
            if (c.meanwhile == kFirstNameTaken)
                EXPECT_EQ(theirs, vtest::ReadFileBytes(name(1)));
            for (int n = 1; taken && n < 1000; ++n)
                DeleteFileA(name(n).c_str());
        }
        if (c.meanwhile == kClosesPlanA) {
            shelltest::FileDialogAnswers answers;
            answers.Choose(kept);
            SendCommand(frame, 5000);
            EXPECT_EQ("-30,-15* 30,-15* 30,15* -30,15*", Described(planB));
            shelltest::ForgetDocumentChanges();
        }
        if (c.boxes == kFormatBoxes) {
            // The same file, imported by command 5000, adds nothing either.
            const std::string copy = shelltest::LocalPath("REPLY.ZOB");
            CopyFileA(exchange.c_str(), copy.c_str(), FALSE);
            shelltest::FileDialogAnswers answers;
            answers.Choose(copy);
            SendCommand(frame, 5000);
            EXPECT_EQ(2, shelltest::CountObjects(planA));
        }
        CloseStandIns();
        // The messages shown, closing included: only a changed plan asks.
        boxes.QueueAnswer(IDNO);
        SendCommand(frame, 9000);
        boxes.ForgetAnswers();
        std::string shown;
        for (size_t i = before; i < boxes.Count(); ++i)
            shown += boxes.Boxes()[i].caption + ": " + boxes.Boxes()[i].text + "\n";
        EXPECT_EQ(told + (changed ? titleA + ": Salvare le modifiche prima di chiudere?\n" : ""), shown);
    }
    SetRecentWriteSpan(kRecentWrite);
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
