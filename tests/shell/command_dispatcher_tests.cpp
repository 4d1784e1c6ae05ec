// The font dialogs are shown for real: never beside the tests that click shown windows.
// velmora-test: screen
#include <gtest/gtest.h>
#include "shell/app_globals.h"
#include "shell/command_dispatcher.h"
#include "shell/document_commands.h"
#include "shell/font_dialogs.h"
#include "shell/frame_window.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "palette/tool_windows.h"
#include "tools/cad_builders.h"
#include "tools/text_editing.h"
#include "tools/text_layout_font.h"
#include "tools/tool_state.h"
#include "files/plan_file.h"
#include "support/dialog_driver.h"
#include "support/modal_driver.h"
#include "support/test_support.h"
#include "support_commands.h"
#include "support_shell.h"
#include <dlgs.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using shelltest::AddLine;
using shelltest::DocumentWindows;
using shelltest::SendCommand;
using shelltest::Storey;
using shelltest::WindowText;

class Dispatcher : public testing::Test {
protected:
    void SetUp() override
    {
        untitledCounter = 1;
        cascadeIndex = 0;
        saveAsCounter = 1;
        frame = shelltest::StartShell();
        ASSERT_NE(nullptr, frame);
        shelltest::SetFrameClientSize(frame, 1000, 700);
    }
    void TearDown() override
    {
        SetFontDialogHook(nullptr, nullptr);
        currentToolId = -1;
        highlightedPane = nullptr;
        shelltest::ForgetDocumentChanges();
        shelltest::StopShell();
    }
    PlanSettings* OpenDocument()
    {
        SendCommand(frame, FrameCommandNew);
        EXPECT_NE(nullptr, activeDocument);
        return activeDocument ? activeDocument->settings : nullptr;
    }

    HWND frame = nullptr;
    vtest::MessageBoxRecorder boxes;
};

TEST_F(Dispatcher, WithoutAPlanACommandAsksWhetherToMakeOne)
{
    boxes.QueueAnswer(IDNO);
    EXPECT_EQ(0u, HandleFrameCommand(frame, 5199, 0) & 0xFF);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ("Non sono aperte finestre di disegno. Per usare questa opzione occorre aprire un disegno "
              "esistente oppure creare un nuovo disegno. Creare un nuovo disegno?",
              boxes.Last().text);
    EXPECT_EQ(std::string(applicationTitle), boxes.Last().caption);
    EXPECT_EQ(static_cast<UINT>(0x2024), boxes.Last().flags);
    EXPECT_EQ(nullptr, boxes.Last().owner);
    vtest::PumpMessages();
    EXPECT_TRUE(DocumentWindows().empty());

    // Yes posts the new-document command, which runs once the question has returned.
    boxes.QueueAnswer(IDYES);
    SendCommand(frame, 5044);
    EXPECT_TRUE(DocumentWindows().empty());
    vtest::PumpMessages();
    ASSERT_EQ(1u, DocumentWindows().size());
    EXPECT_EQ("Senza nome1", WindowText(DocumentWindows()[0]));
    EXPECT_EQ(2u, boxes.Count());
}

TEST_F(Dispatcher, TheCommandsThatNeedNoPlanDoNotAsk)
{
    shelltest::FileDialogAnswers dialogs;
    dialogs.Cancel();
    SendCommand(frame, FrameCommandOpen);
    EXPECT_EQ(1u, dialogs.Calls().size());
    SendCommand(frame, FrameCommandCloseAll);
    SendCommand(frame, 5221);
    SendCommand(frame, FrameCommandNew);
    EXPECT_EQ(1u, DocumentWindows().size());
    EXPECT_EQ(0u, boxes.Count());
}

// Records the commands that reach a document window.
std::vector<std::pair<WPARAM, LPARAM>> documentCommands;
WNDPROC documentProcedure = nullptr;

LRESULT CALLBACK RecordingDocumentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        documentCommands.push_back({wParam, lParam});
    return CallWindowProcA(documentProcedure, window, message, wParam, lParam);
}

TEST_F(Dispatcher, ACommandWithoutHandlerGoesToTheDocumentWindowUnchanged)
{
    OpenDocument();
    HWND window = DocumentWindows().at(0);
    documentCommands.clear();
    documentProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingDocumentProc)));
    WPARAM wParam = MAKEWPARAM(5020, 1);
    EXPECT_EQ(0u, HandleFrameCommand(frame, wParam, 0x1234) & 0xFF);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(documentProcedure));
    ASSERT_EQ(1u, documentCommands.size());
    EXPECT_EQ(wParam, documentCommands[0].first);
    EXPECT_EQ(0x1234, documentCommands[0].second);
    EXPECT_EQ(1u, HandleFrameCommand(frame, 5202, 0) & 0xFF);
    // The MDI arrangement is left to the frame's default processing as well.
    EXPECT_EQ(0u, HandleFrameCommand(frame, 5193, 0) & 0xFF);
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(Dispatcher, AnyCommandFirstLeavesTheTextTool)
{
    OpenDocument();
    HWND pane = frameToolWindows[0];
    ASSERT_NE(nullptr, pane);
    while (HWND child = GetWindow(pane, GW_CHILD))
        DestroyWindow(child);
    std::vector<HWND> buttons;
    for (int tool = 200; tool <= 206; ++tool)
        buttons.push_back(CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, (tool - 200) * 20, 20, 20,
                                          pane, reinterpret_cast<HMENU>(static_cast<INT_PTR>(tool)), nullptr,
                                          nullptr));
    currentToolId = 203;
    highlightedPane = buttons[3];
    SendCommand(frame, 5202);
    EXPECT_EQ(200, currentToolId);
    ASSERT_NE(nullptr, highlightedPane);
    EXPECT_EQ(200, GetDlgCtrlID(highlightedPane));

    // Another tool is left alone.
    currentToolId = 7051;
    highlightedPane = buttons[2];
    SendCommand(frame, 5202);
    EXPECT_EQ(7051, currentToolId);
    EXPECT_EQ(buttons[2], highlightedPane);
}

TEST_F(Dispatcher, TogglesFlipTheirSettingAndMarkThePlanModified)
{
    PlanSettings* settings = OpenDocument();
    ASSERT_NE(nullptr, settings);
    struct Toggle { int command; uint8_t* field; bool modifies; };
    const Toggle toggles[] = {
        {5044, &settings->gridVisible, true},
        {5045, &settings->snapToGrid, true},
        {5289, &settings->labelDrawing, true},
        {5290, &settings->dimensionDrawing, true},
        {5018, &settings->centreDrawing, false},
        {5274, &activeDocument->measuringLineShown, false},
    };
    for (const Toggle& toggle : toggles) {
        SCOPED_TRACE(toggle.command);
        for (int round = 0; round < 2; ++round) {
            uint8_t before = *toggle.field;
            settings->modified = 0;
            SendCommand(frame, toggle.command);
            EXPECT_EQ(before ? 0 : 1, *toggle.field);
            EXPECT_EQ(toggle.modifies ? 1u : 0u, settings->modified);
        }
    }
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(Dispatcher, ZoomCommandsOfThePrintRoad)
{
    PlanSettings* settings = OpenDocument();
    ASSERT_NE(nullptr, settings);
    settings->zoom = 0.25f;
    settings->zoomTopView = 0.25f;
    SendCommand(frame, FrameCommandZoom100);
    EXPECT_EQ(1.0f, settings->zoom);
    EXPECT_EQ(1.0f, settings->zoomTopView);
    SendCommand(frame, FrameCommandResetPlanView);
    EXPECT_EQ(0.6f, settings->zoom);
    EXPECT_EQ(0.6f, settings->zoomTopView);
    // Neither counts as a change of the plan.
    EXPECT_EQ(0u, settings->modified);
}

TEST_F(Dispatcher, StoreyCommandsChooseTheWorkingStoreyAndWhatIsShown)
{
    PlanSettings* settings = OpenDocument();
    ASSERT_NE(nullptr, settings);
    PlanFloor* first = Storey("First Floor");
    PlanFloor* second = Storey("Second Floor");
    PlanFloor* third = Storey("Third Floor");
    ASSERT_TRUE(first && second && third);
    PlanObject* low = AddLine(first, {{0, 0}, {10, 0}}, true);
    PlanObject* high = AddLine(third, {{0, 0}, {10, 0}}, true);

    SendCommand(frame, 5276);
    EXPECT_EQ(second, activeDocument->currentFloor);
    EXPECT_TRUE(second->active);
    EXPECT_TRUE(second->shown);
    EXPECT_FALSE(first->active);
    EXPECT_FALSE(third->active);
    EXPECT_EQ(1u, settings->modified);

    SendCommand(frame, 5279);
    EXPECT_FALSE(first->shown);
    EXPECT_TRUE(second->shown);
    EXPECT_FALSE(third->shown);
    EXPECT_FALSE(low->firstVertex->selected);
    EXPECT_FALSE(high->firstVertex->selected);

    SendCommand(frame, 5278);
    EXPECT_TRUE(first->shown && second->shown && third->shown);
    EXPECT_EQ(second, activeDocument->currentFloor);
}

TEST_F(Dispatcher, MovingBeyondTheLastStoreyIsExplained)
{
    OpenDocument();
    AddLine(Storey("First Floor"), {{0, 0}, {10, 0}}, true);
    SendCommand(frame, 5171);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ("You are currently on the bottom floor.  There are no floors below the bottom floor to copy the "
              "selected objects.",
              boxes.Last().text);
    EXPECT_EQ(static_cast<UINT>(MB_TASKMODAL | MB_ICONINFORMATION), boxes.Last().flags);
    SendCommand(frame, 5169);
    ASSERT_EQ(2u, boxes.Count());
    EXPECT_EQ("Questo è il piano più basso. Non ci sono altri piani sotto di esso su cui spostare gli oggetti "
              "selezionati.",
              boxes.Last().text);
    EXPECT_EQ(std::string(applicationTitle), boxes.Last().caption);
}

TEST_F(Dispatcher, DocumentTitlesFollowTheTitleMode)
{
    PlanSettings* settings = OpenDocument();
    ASSERT_NE(nullptr, settings);
    HWND window = DocumentWindows().at(0);
    shelltest::FileDialogAnswers dialogs;
    std::string path = shelltest::LocalPath("TITLE.ZRO");
    dialogs.Choose(path);
    SendCommand(frame, FrameCommandSaveAs);

    SendCommand(frame, 5101);
    EXPECT_EQ(5101, settings->viewTitleMode);
    EXPECT_EQ(path + " (X-Y)", WindowText(window));
    SendCommand(frame, 5102);
    EXPECT_EQ("X-Y", WindowText(window));
    SendCommand(frame, 5103);
    EXPECT_EQ("First Floor", WindowText(window));
    SendCommand(frame, 5100);
    EXPECT_EQ(path, WindowText(window));

    // A path of 245 characters or more is not shown.
    char* longPath = static_cast<char*>(std::malloc(300));
    std::memset(longPath, 'x', 245);
    longPath[245] = 0;
    char* saved = activeDocument->filePath;
    activeDocument->filePath = longPath;
    SendCommand(frame, 5100);
    activeDocument->filePath = saved;
    std::free(longPath);
    EXPECT_EQ("Senza nome", WindowText(window));
}

TEST_F(Dispatcher, SelectAllThenDeleteRemovesTheObjectsOfTheShownStorey)
{
    PlanSettings* settings = OpenDocument();
    ASSERT_NE(nullptr, settings);
    PlanObject* line = AddLine(Storey("First Floor"), {{0, 0}, {10, 0}});
    SendCommand(frame, 5003);
    EXPECT_TRUE(line->firstVertex->selected);
    EXPECT_EQ(0u, settings->modified);
    SendCommand(frame, 5199);
    EXPECT_EQ(nullptr, Storey("First Floor")->firstObject);
    EXPECT_EQ(1u, settings->modified);
}

// The units dialog's OK with the units as they were changes nothing: the plan, with a
// selection made after the elevation summary was last taken, saves byte for byte again.
TEST_F(Dispatcher, AnUntouchedUnitsOkLeavesThePlanAsItWas)
{
    ASSERT_NE(nullptr, OpenDocument());
    AddLine(Storey("First Floor"), {{0, 0}, {10, 0}});
    SendCommand(frame, 5003);
    ASSERT_TRUE(SavePlanFile("units.ZRO"));
    const std::vector<unsigned char> before = vtest::ReadFileBytes("units.ZRO");
    auto ok = vtest::ModalDriver::ForDialog("Système de mesure", [](HWND d) { PostMessageA(d, WM_COMMAND, IDOK, 0); });
    SendCommand(frame, 5011);
    ok.join();
    ASSERT_TRUE(ok.found() && SavePlanFile("units.ZRO"));
    EXPECT_TRUE(vtest::ReadFileBytes("units.ZRO") == before);
}

TEST_F(Dispatcher, HalfTurnTurnsTheSelectionAboutItsCentre)
{
    PlanSettings* settings = OpenDocument();
    ASSERT_NE(nullptr, settings);
    PlanObject* line = AddLine(Storey("First Floor"), {{0, 0}, {100, 40}}, true);
    SendCommand(frame, 5034);
    PlanVertex* a = line->firstVertex;
    PlanVertex* b = a->next;
    // About (50, 20): (0, 0) goes to (100, 40) and back.
    EXPECT_NEAR(100.0f, a->position[0], 0.01f);
    EXPECT_NEAR(40.0f, a->position[2], 0.01f);
    EXPECT_NEAR(0.0f, b->position[0], 0.01f);
    EXPECT_NEAR(0.0f, b->position[2], 0.01f);
    EXPECT_EQ(1u, settings->modified);
}

TEST_F(Dispatcher, AnAreaCommandIgnoresAnObjectThatIsNotThePlans)
{
    OpenDocument();
    int notAnObject[64] = {};
    SendCommand(frame, 5304, reinterpret_cast<LPARAM>(notAnObject));
    SendCommand(frame, 5309, 0);
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(Dispatcher, TheTracingImageIsChosenShownAndHidden)
{
    PlanSettings* settings = OpenDocument();
    ASSERT_NE(nullptr, settings);
    shelltest::FileDialogAnswers dialogs;
    // Showing an image that was never chosen asks for one first.
    dialogs.Cancel();
    SendCommand(frame, 5281);
    ASSERT_EQ(1u, dialogs.Calls().size());
    EXPECT_EQ("Carica Immagine tracciato pianta", dialogs.Calls()[0].title);
    EXPECT_EQ("*.BMP", dialogs.Calls()[0].initialName);
    EXPECT_EQ("BMP File (*.BMP)|*.bmp", dialogs.Calls()[0].filter);
    EXPECT_EQ(0, settings->tracingImageShown);

    settings->tracingScaleX = 3.0f;
    std::string picture = shelltest::LocalPath("TRACE.BMP");
    dialogs.Choose(picture);
    SendCommand(frame, 5280);
    EXPECT_EQ(picture, settings->tracingImagePath);
    EXPECT_EQ(1.0f, settings->tracingScaleX);
    EXPECT_EQ(1.0f, settings->tracingScaleY);
    EXPECT_EQ(1, settings->tracingImageShown);
    SendCommand(frame, 5281);
    EXPECT_EQ(0, settings->tracingImageShown);
    SendCommand(frame, 5281);
    EXPECT_EQ(1, settings->tracingImageShown);
    EXPECT_EQ(2u, dialogs.Calls().size());
    EXPECT_EQ(1u, settings->modified);
}

TEST_F(Dispatcher, ExportsAskForTheirFileNames)
{
    OpenDocument();
    shelltest::FileDialogAnswers dialogs;
    dialogs.Cancel();
    SendCommand(frame, 5095);
    dialogs.Cancel();
    SendCommand(frame, 5211);
    dialogs.Cancel();
    SendCommand(frame, 5245);
    ASSERT_EQ(3u, dialogs.Calls().size());
    EXPECT_EQ("Export DXF", dialogs.Calls()[0].title);
    EXPECT_EQ("Senza nome.DXF", dialogs.Calls()[0].initialName);
    EXPECT_EQ("dxf", dialogs.Calls()[0].extension);
    EXPECT_EQ("Export 3D DXF", dialogs.Calls()[1].title);
    EXPECT_EQ("Esporta BMP", dialogs.Calls()[2].title);
    EXPECT_EQ("Senza nome.BMP", dialogs.Calls()[2].initialName);
    for (const auto& call : dialogs.Calls()) {
        EXPECT_TRUE(call.save);
        EXPECT_EQ(static_cast<DWORD>(OFN_OVERWRITEPROMPT), call.flags);
    }
    EXPECT_EQ(0u, boxes.Count());
}

// The font dialog answered in the user's place: a chosen height, or a cancel.
struct FontAnswer { bool ok; LONG height; COLORREF colour; int calls; DWORD flags; };

BOOL AnswerFont(CHOOSEFONTA* record, void* context)
{
    auto* answer = static_cast<FontAnswer*>(context);
    ++answer->calls;
    answer->flags = record->Flags;
    if (!answer->ok)
        return FALSE;
    record->lpLogFont->lfHeight = answer->height;
    record->rgbColors = answer->colour;
    return TRUE;
}

TEST_F(Dispatcher, TheTextFontCommandKeepsTheChosenFont)
{
    PlanSettings* settings = OpenDocument();
    ASSERT_NE(nullptr, settings);
    LOGFONTA textBefore = textLogFont;
    LOGFONTA dimensionBefore = dimensionLogFont;
    fontColour = RGB(1, 2, 3);

    FontAnswer cancel = {false, 0, 0, 0, 0};
    SetFontDialogHook(AnswerFont, &cancel);
    SendCommand(frame, 30);
    EXPECT_EQ(1, cancel.calls);
    EXPECT_EQ(static_cast<DWORD>(CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_ENABLEHOOK), cancel.flags);
    EXPECT_EQ(0, std::memcmp(&textBefore, &textLogFont, sizeof textLogFont));
    EXPECT_EQ(RGB(1, 2, 3), fontColour);

    FontAnswer chosen = {true, -40, RGB(0, 0, 0), 0, 0};
    SetFontDialogHook(AnswerFont, &chosen);
    settings->modified = 0;
    SendCommand(frame, 30);
    EXPECT_EQ(-40, textLogFont.lfHeight);
    EXPECT_STREQ(textBefore.lfFaceName, textLogFont.lfFaceName);
    EXPECT_EQ(RGB(0, 0, 0), fontColour);
    EXPECT_EQ(1u, settings->modified);
    EXPECT_EQ(0, std::memcmp(&dimensionBefore, &dimensionLogFont, sizeof dimensionLogFont));

    // The dimension font has its own record but the same colour.
    FontAnswer dimension = {true, -12, RGB(9, 9, 9), 0, 0};
    SetFontDialogHook(AnswerFont, &dimension);
    EXPECT_EQ(1, ChooseDimensionFont(frame));
    EXPECT_EQ(-12, dimensionLogFont.lfHeight);
    EXPECT_EQ(-40, textLogFont.lfHeight);
    EXPECT_EQ(RGB(9, 9, 9), fontColour);
    textLogFont = textBefore;
    dimensionLogFont = dimensionBefore;
}

// The private copies of the faces that the texts are laid out in are no faces of the
// user's: the dialogs leave them out, and one chosen all the same is the face it copies.
TEST_F(Dispatcher, TheFontDialogsOfferAndStoreNoTextLayoutFace)
{
    OpenDocument();
    const LOGFONTA textBefore = textLogFont, dimensionBefore = dimensionLogFont;
    LOGFONTA font = {};
    font.lfWeight = FW_BOLD;
    PlanObject* text = nullptr;
    for (const char* face : {"DejaVu Sans Mono", "DejaVu Sans", "DejaVu Serif"}) {
        std::strcpy(font.lfFaceName, face);
        HWND control = CreateTextEditWindow(WS_CHILD | ES_MULTILINE, 0, 0, 120, 40, activePlanPane);
        SetTextEditFont(control, font);
        const RECT place = {0, 0, 120, 40};
        text = BuildTextFrameObject(&place, control, activeDocument->currentFloor);
    }
    std::vector<std::string> listed;
    vtest::DialogDriver driver;
    const auto list = [&](HWND d) {
        for (int i = 0; i < SendDlgItemMessageA(d, cmb1, CB_GETCOUNT, 0, 0); ++i) {
            char face[256] = {};
            SendDlgItemMessageA(d, cmb1, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(face));
            listed.push_back(face);
        }
        vtest::Click(d, IDCANCEL);
    };
    driver.Queue(list);
    driver.Queue(list);
    SendCommand(frame, 30);
    ChooseDimensionFont(frame);
    EXPECT_EQ(std::count(listed.begin(), listed.end(), "DejaVu Serif"), 2);
    for (const std::string& face : listed)
        EXPECT_NE(face.rfind("Velmora", 0), 0u) << face;
    // The copy of DejaVu Serif Bold, whose own style is "Regular", chosen in both.
    LOGFONTA copy = TextLayoutLogFont(font);
    ASSERT_STRNE(copy.lfFaceName, "DejaVu Serif");
    copy.lfWeight = FW_NORMAL;
    SetFontDialogHook([](CHOOSEFONTA* record, void* chosen) -> BOOL {
        *record->lpLogFont = *static_cast<LOGFONTA*>(chosen);
        return TRUE;
    }, &copy);
    SendCommand(frame, 30);
    ChooseDimensionFont(frame);
    LOGFONTA stored = {};
    ASSERT_TRUE(GetTextEditLogFont(static_cast<HWND>(text->link), &stored));
    for (const LOGFONTA* chosen : {&textLogFont, &dimensionLogFont, &stored}) {
        EXPECT_STREQ(chosen->lfFaceName, "DejaVu Serif");
        EXPECT_EQ(chosen->lfWeight, FW_BOLD);
    }
    textLogFont = textBefore;
    dimensionLogFont = dimensionBefore;
}

} // namespace
