// velmora-test: shards 2
#include <gtest/gtest.h>
#include "shell/app_globals.h"
#include "shell/command_dispatcher.h"
#include "shell/elevation_pane.h"
#include "shell/frame_window.h"
#include "shell/startup.h"
#include "shell/status_bar.h"
#include "shell/document_commands.h"
#include "palette/tool_windows.h"
#include "model/plan_settings.h"
#include <vector>
#include "model/plan_document.h"
#include "support/test_support.h"
#include "support_shell.h"
#include <string>

namespace {

using shelltest::ChildPlacement;
using shelltest::ClassNameOf;

class Frame : public testing::Test {
protected:
    void SetUp() override
    {
        frame = shelltest::StartShell();
        ASSERT_NE(nullptr, frame);
    }
    void TearDown() override { shelltest::StopShell(); }

    HWND Child(int id) const { return GetDlgItem(frame, id); }

    HWND frame = nullptr;
};

void ExpectPlacement(HWND window, int x, int y, int width, int height)
{
    ASSERT_NE(nullptr, window);
    RECT placement = ChildPlacement(window);
    EXPECT_EQ(x, placement.left);
    EXPECT_EQ(y, placement.top);
    EXPECT_EQ(width, placement.right);
    EXPECT_EQ(height, placement.bottom);
}

// The tests' and scripts' Wine has the face of the caption buttons' symbols, as a user's has.
TEST(WineEnvironment, HasTheFaceOfTheCaptionButtons)
{
    LOGFONTA font = {13, 0, 0, 0, 0, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, "Marlett"};
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, CreateFontIndirectA(&font));
    char face[LF_FACESIZE] = "";
    GetTextFaceA(dc, sizeof face, face);
    DeleteObject(SelectObject(dc, old));
    ReleaseDC(nullptr, dc);
    EXPECT_STREQ("Marlett", face);
}

TEST_F(Frame, IsHiddenMaximisedAndCaptioned)
{
    EXPECT_EQ(frame, frameWindow);
    EXPECT_FALSE(IsWindowVisible(frame));
    LONG_PTR style = GetWindowLongPtrA(frame, GWL_STYLE);
    EXPECT_TRUE(style & WS_MAXIMIZE);
    EXPECT_TRUE(style & WS_CLIPCHILDREN);
    EXPECT_TRUE(style & WS_CLIPSIBLINGS);
    EXPECT_EQ((style & WS_OVERLAPPEDWINDOW), static_cast<LONG_PTR>(WS_OVERLAPPEDWINDOW));
    char caption[64] = "";
    GetWindowTextA(frame, caption, sizeof caption);
    EXPECT_STREQ("Velmora", caption);
    EXPECT_EQ(nullptr, GetParent(frame));
    EXPECT_EQ(frameMenu, GetMenu(frame));
}

TEST_F(Frame, CreatesEveryChildWithItsClassAndId)
{
    struct Expected { HWND window; int id; const char* className; bool visible; };
    const Expected expected[] = {
        {mdiClientWindow, MdiClientId, "MDIClient", true},
        {toolBarWindow, ToolBarId, "ToolbarClass", false},
        {statusBarWindow, StatusBarId, "StatusBarClass", true},
        {symbolBarWindow, SymbolBarId, "SymbarClass", false},
        {variantListWindow, VariantListId, "PopListClass", true},
        {categoryTabStrip, CategoryTabStripId, "ToolTabClass", true},
        {paletteTabStrip, PaletteTabStripId, "ToolTabClass", true},
        {elevationPaneWindow, ElevationPaneId, "ElevationPaneClass", true},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.id);
        ASSERT_NE(nullptr, e.window);
        EXPECT_EQ(frame, GetParent(e.window));
        EXPECT_EQ(e.id, GetDlgCtrlID(e.window));
        EXPECT_STRCASEEQ(e.className, ClassNameOf(e.window).c_str());
        EXPECT_EQ(e.visible, (GetWindowLongPtrA(e.window, GWL_STYLE) & WS_VISIBLE) != 0);
    }
    EXPECT_TRUE(GetWindowLongPtrA(statusBarWindow, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(GetWindowLongPtrA(symbolBarWindow, GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(GetWindowLongPtrA(variantListWindow, GWL_STYLE) & WS_BORDER);
    EXPECT_EQ(1, GetWindowLongPtrA(categoryTabStrip, 0));
    EXPECT_EQ(2, GetWindowLongPtrA(paletteTabStrip, 0));

    ASSERT_NE(nullptr, tooltipWindow);
    EXPECT_STRCASEEQ("tooltips_class32", ClassNameOf(tooltipWindow).c_str());
    EXPECT_EQ(frame, GetWindow(tooltipWindow, GW_OWNER));
    EXPECT_FALSE(IsWindowVisible(tooltipWindow));

    // No 3D view window is made at start-up.
    EXPECT_EQ(nullptr, FindWindowExA(frame, nullptr, "RenderClass", nullptr));
    EXPECT_EQ(nullptr, FindWindowExA(frame, nullptr, "SelvithClass", nullptr));
}

TEST_F(Frame, CreatesTheTwelveToolStrips)
{
    struct Expected { int kind, first, count, x, y, w, h, id; bool shown; };
    const bool wide = screenWidth > 750;
    const Expected expected[FrameToolWindowCount] = {
        {1, 200, 7, 0, 27, 21, 164, 2, true},
        {10, 7000, 5, 21, 0, 176, 28, 100, true},
        {11, 7050, 12, 21, 0, 407, 28, 100, false},
        {12, 7100, 18, 21, 0, 605, 28, 101, false},
        {13, 7200, 12, 21, 0, 407, 28, 102, false},
        {14, 7300, 7, 21, 0, 242, 28, 103, false},
        {15, 7400, 8, 21, 0, 275, 28, 104, false},
        {16, 7500, 13, 21, 0, 440, 28, 105, false},
        {17, 7600, 6, 21, 0, 209, 28, 106, false},
        {18, 7700, 8, 21, 0, 275, 28, 107, false},
        {33, 3500, 4, 0, 0, 143, 28, 108, wide},
        {30, 3300, 1, 0, 0, 21, 32, 5, false},
    };
    for (int i = 0; i < FrameToolWindowCount; ++i) {
        SCOPED_TRACE(expected[i].kind);
        HWND strip = frameToolWindows[i];
        ASSERT_NE(nullptr, strip);
        EXPECT_EQ("ToolClass", ClassNameOf(strip));
        EXPECT_EQ(frame, GetParent(strip));
        EXPECT_EQ(expected[i].id, GetDlgCtrlID(strip));
        EXPECT_EQ(expected[i].shown, (GetWindowLongPtrA(strip, GWL_STYLE) & WS_VISIBLE) != 0);
        const ToolPaneDescriptor* copy = reinterpret_cast<const ToolPaneDescriptor*>(GetWindowLongPtrA(strip, 0));
        ASSERT_NE(nullptr, copy);
        EXPECT_NE(&frameToolWindowSpecs[i].descriptor, copy);
        EXPECT_EQ(expected[i].kind, copy->kind);
        EXPECT_EQ(expected[i].first, copy->firstToolId);
        EXPECT_EQ(expected[i].count, copy->count);
        // The strips the frame does not lay out keep where they were made.
        if (i < 10)
            ExpectPlacement(strip, expected[i].x, expected[i].y, expected[i].w, expected[i].h);
    }
    EXPECT_EQ(frameToolWindows[10], ViewLayoutToolWindow());
    EXPECT_EQ(frameToolWindows[11], FloorButtonToolWindow());
}

TEST_F(Frame, MissingDescriptorMakesNoStrip)
{
    EXPECT_EQ(nullptr, CreateToolWindow(nullptr, 0, 0, 10, 10, 300, frame));
}

TEST_F(Frame, LaysOutChildrenForAKnownClientSize)
{
    shelltest::SetFrameClientSize(frame, 1000, 700);
    RECT client;
    GetClientRect(frame, &client);
    ASSERT_EQ(1000, client.right);
    ASSERT_EQ(700, client.bottom);
    const int w = FrameScrollWidth();

    ExpectPlacement(statusBarWindow, 0, 683, 1000, 17);
    ExpectPlacement(variantListWindow, 1000 - (w + 53), 42, w + 53, 512);
    ExpectPlacement(symbolBarWindow, 1000 - (w + 53), 42, w + 53, 512);
    ExpectPlacement(mdiClientWindow, 23, 28, 977 - (w + 54), 655);
    ExpectPlacement(FloorButtonToolWindow(), 0, 554, 21, 32);
    ExpectPlacement(ViewLayoutToolWindow(), 860, 0, 143, 28);
    ExpectPlacement(elevationPaneWindow, 0, 192, 23, 491);
    ExpectPlacement(toolBarWindow, -1, -1, 1, 1);
    ExpectPlacement(categoryTabStrip, 39, 28, 531, 18);
    ExpectPlacement(paletteTabStrip, 36, 28, 65, 21);
    EXPECT_FALSE(GetWindowLongPtrA(toolBarWindow, GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongPtrA(elevationPaneWindow, GWL_STYLE) & WS_VISIBLE);

    const RECT down = {467, 5, 485, 25}, up = {537, 5, 555, 25}, whole = {467, 5, 555, 25};
    EXPECT_TRUE(EqualRect(&ageStepperDownRect, &down));
    EXPECT_TRUE(EqualRect(&ageStepperUpRect, &up));
    EXPECT_TRUE(EqualRect(&ageStepperRect, &whole));

    // A second size: everything follows, the tool bar stays 1 x 1.
    shelltest::SetFrameClientSize(frame, 800, 600);
    ExpectPlacement(statusBarWindow, 0, 583, 800, 17);
    ExpectPlacement(mdiClientWindow, 23, 28, 777 - (w + 54), 555);
    ExpectPlacement(elevationPaneWindow, 0, 192, 23, 391);
    ExpectPlacement(toolBarWindow, -1, -1, 1, 1);
}

TEST_F(Frame, ChildrenAreStackedInCreationOrder)
{
    // Each child but the MDI client is raised as it is made: the last one made is on top.
    EXPECT_EQ(elevationPaneWindow, GetWindow(frame, GW_CHILD));
    EXPECT_EQ(paletteTabStrip, GetWindow(elevationPaneWindow, GW_HWNDNEXT));
    EXPECT_EQ(categoryTabStrip, GetWindow(paletteTabStrip, GW_HWNDNEXT));
    EXPECT_EQ(variantListWindow, GetWindow(categoryTabStrip, GW_HWNDNEXT));
    EXPECT_EQ(symbolBarWindow, GetWindow(variantListWindow, GW_HWNDNEXT));
    EXPECT_EQ(statusBarWindow, GetWindow(symbolBarWindow, GW_HWNDNEXT));
    EXPECT_EQ(frameToolWindows[11], GetWindow(statusBarWindow, GW_HWNDNEXT));
    EXPECT_EQ(mdiClientWindow, GetWindow(GetWindow(frame, GW_CHILD), GW_HWNDLAST));
}

TEST_F(Frame, NarrowScreenHidesTheViewLayoutStrip)
{
    short saved = screenWidth;
    screenWidth = 750;
    SendMessageA(frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(900, 650));
    EXPECT_FALSE(GetWindowLongPtrA(ViewLayoutToolWindow(), GWL_STYLE) & WS_VISIBLE);
    screenWidth = 751;
    SendMessageA(frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(900, 650));
    EXPECT_TRUE(GetWindowLongPtrA(ViewLayoutToolWindow(), GWL_STYLE) & WS_VISIBLE);
    screenWidth = saved;
}

TEST_F(Frame, ElevationArrowFollowsTheResize)
{
    // The pane's arrow (its own child) is placed by the frame at the arrow's step.
    HWND arrow = CreateWindowExA(0, "STATIC", nullptr, WS_CHILD, 0, 0, 5, 5, elevationPaneWindow, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, arrow);
    elevationArrowWindow = arrow;
    elevationArrowIndex = 22;
    shelltest::SetFrameClientSize(frame, 1000, 700);
    SendMessageA(frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(1000, 700));
    // A pane of 700 - 209 = 491 pixels, 34 steps: step 22 at 317.7, the arrow's middle.
    ExpectPlacement(arrow, 0, 312, 20, 13);
    elevationArrowWindow = nullptr;
    DestroyWindow(arrow);
}

TEST_F(Frame, NoPlanQuestionAnsweredYesAsksForANewDocument)
{
    ASSERT_EQ(nullptr, activeDocument);
    vtest::MessageBoxRecorder boxes;
    boxes.QueueAnswer(IDYES);
    EXPECT_EQ(0u, HandleFrameCommand(frame, 5199, 0) & 0xFF);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ("Non sono aperte finestre di disegno. Per usare questa opzione occorre aprire un disegno "
              "esistente oppure creare un nuovo disegno. Creare un nuovo disegno?",
              boxes.Last().text);
    EXPECT_EQ(std::string("Non sono aperte finestre di disegno. Per usare questa opzione occorre aprire un "
                          "disegno esistente oppure creare un nuovo disegno. Creare un nuovo disegno?"),
              boxes.Last().text);
    EXPECT_EQ("Fandril Print Manager", boxes.Last().caption);
    EXPECT_EQ(0x2024u, boxes.Last().flags);
    EXPECT_EQ(nullptr, boxes.Last().owner);
    // Yes posts command 2 to the frame; it runs after the current command.
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, frame, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(2u, msg.wParam);
    EXPECT_EQ(0, msg.lParam);
    EXPECT_FALSE(PeekMessageA(&msg, frame, WM_COMMAND, WM_COMMAND, PM_REMOVE));
}

TEST_F(Frame, NoPlanQuestionAnsweredNoDoesNothing)
{
    vtest::MessageBoxRecorder boxes;
    boxes.QueueAnswer(IDNO);
    SendMessageA(frame, WM_COMMAND, 9, 0);
    ASSERT_EQ(1u, boxes.Count());
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, frame, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_TRUE(IsWindow(frame));
}

TEST_F(Frame, CommandsThatNeedNoPlanPassTheGate)
{
    vtest::MessageBoxRecorder boxes;
    for (int command : {9000, 5221, 5222, 5223})
        SendMessageA(frame, WM_COMMAND, static_cast<WPARAM>(command), 0);
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_EQ(1u, HandleFrameCommand(frame, 9000, 0) & 0xFF);
    EXPECT_EQ(0u, HandleFrameCommand(nullptr, 5199, 0));
    EXPECT_EQ(0u, boxes.Count());
}

// The frame goes with its menu, and its destruction makes no window: no bar is laid out
// again while the bars go.
TEST_F(Frame, QuitDestroysTheFrameAndPostsTheQuitCode)
{
    ASSERT_TRUE(IsWindow(frame));
    HMENU menu = frameMenu;
    static int made = 0;
    HHOOK hook = SetWindowsHookExA(WH_CBT, [](int code, WPARAM w, LPARAM l) -> LRESULT {
        made += code == HCBT_CREATEWND;
        return CallNextHookEx(nullptr, code, w, l);
    }, nullptr, GetCurrentThreadId());
    SendMessageA(frame, WM_COMMAND, 1, 0);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(0, made);
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(nullptr, frameWindow);
    EXPECT_EQ(nullptr, frameMenu);
    EXPECT_EQ(nullptr, mdiClientWindow);
    for (HCURSOR cursor : namedCursors)
        EXPECT_EQ(nullptr, cursor);
    EXPECT_EQ(0, shelltest::TakeQuitMessage());
}

TEST_F(Frame, ClosingSpreadsheetClearsTheEstimateState)
{
    estimateRunning = 1;
    ASSERT_NE(0u, closingSpreadsheetMessage);
    EXPECT_EQ(0, SendMessageA(frame, closingSpreadsheetMessage, 0, 0));
    EXPECT_EQ(0, estimateRunning);
    EXPECT_NE(0u, workbenchClosingMessage);
    EXPECT_NE(0u, workbenchNoUpdateMessage);
    EXPECT_EQ(1, workbenchMessagesRegistered);
}

TEST_F(Frame, ActivationSetsAndClearsTheHoverState)
{
    swallowNextToolClick = 1;
    SendMessageA(frame, WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_EQ(1, applicationActive);
    EXPECT_EQ(1, toolHoverRefresh);
    EXPECT_EQ(0, swallowNextToolClick);
    SendMessageA(frame, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_EQ(0, applicationActive);
}

TEST_F(Frame, OffscreenDCHoldsA500PixelBitmap)
{
    ASSERT_NE(nullptr, offscreenDC);
    HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(offscreenDC, OBJ_BITMAP));
    BITMAP info;
    ASSERT_TRUE(GetObjectA(bitmap, sizeof info, &info));
    EXPECT_EQ(500, info.bmWidth);
    EXPECT_EQ(500, info.bmHeight);
}


// The frame's own controls react only with a plan open; the document here has no
// window, and the frame's commands are caught before the dispatcher sees them.
class FrameControls : public Frame {
protected:
    void SetUp() override
    {
        Frame::SetUp();
        shelltest::SetFrameClientSize(frame, 1000, 700);
        document = CreatePlanDocument();
        ASSERT_NE(nullptr, document);
        activeDocument = document;
        original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameControls::Catch)));
        commands.clear();
    }
    void TearDown() override
    {
        SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        FreePlanDocument(document);
        activeDocument = nullptr;
        hoveredBarWindow = nullptr;
        Frame::TearDown();
    }
    static LRESULT CALLBACK Catch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_COMMAND) {
            commands.push_back(static_cast<int>(LOWORD(wParam)));
            return 0;
        }
        return CallWindowProcA(original, window, message, wParam, lParam);
    }
    void MoveTo(int x, int y) { SendMessageA(frame, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    void PressAt(int x, int y) { SendMessageA(frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
    // The four command buttons at the bottom right: estimate, framing view, furniture
    // editor, scale model, from top to bottom.
    RECT ButtonRect(int offset) const
    {
        const int w = FrameScrollWidth();
        RECT rect = {1000 - (w + 53), 700 - offset, 999, 700 - offset + 31};
        return rect;
    }

    PlanDocument* document = nullptr;
    static WNDPROC original;
    static std::vector<int> commands;
};
WNDPROC FrameControls::original = nullptr;
std::vector<int> FrameControls::commands;

const char* const estimateHelpFresh =
    "Esegue le stime dei costi per il progetto (la Visuale struttura di costruzione deve essere attiva per "
    "visualizzare le stime della struttura)";
const char* const estimateHelpFromHighlight =
    "Esegue le stime dei costi per il progetto (il rendering della Visuale struttura deve essere attivo per "
    "visualizzare le stime della struttura)";

TEST_F(FrameControls, HoveringACommandButtonShowsItsHelp)
{
    RECT estimate = ButtonRect(146);
    MoveTo(estimate.left + 5, estimate.top + 5);
    EXPECT_EQ(frame, hoveredBarWindow);
    EXPECT_TRUE(EqualRect(&estimate, &hoveredBarRect));
    EXPECT_STREQ(estimateHelpFresh, customStatusText);
    EXPECT_EQ(-4, lastStatusId);

    RECT framing = ButtonRect(114);
    MoveTo(framing.left + 5, framing.bottom - 1);
    EXPECT_TRUE(EqualRect(&framing, &hoveredBarRect));
    EXPECT_STREQ("Rende il disegno della casa durante la Visuale struttura di costruzione", customStatusText);

    // Coming from another highlighted control the estimate help reads differently.
    MoveTo(estimate.left + 5, estimate.top + 5);
    EXPECT_STREQ(estimateHelpFromHighlight, customStatusText);

    document->settings->framingStyle = 1;
    MoveTo(framing.left + 5, framing.top);
    EXPECT_STREQ("Rende il disegno della casa durante la Visuale completa di costruzione", customStatusText);

    RECT furniture = ButtonRect(82);
    MoveTo(furniture.right - 1, furniture.top + 1);
    EXPECT_STREQ("Apre Tovrel (se un oggetto di arredamento esistente è selezionato, verrà caricato per essere "
                 "modificato)", customStatusText);
    RECT model = ButtonRect(50);
    MoveTo(model.left, model.top);
    EXPECT_STREQ("Apre Korvane per stampare e costruire un modello in scala del disegno corrente", customStatusText);

    // Off every control the highlight goes.
    MoveTo(500, 300);
    EXPECT_EQ(nullptr, hoveredBarWindow);
}

TEST_F(FrameControls, SecondMoveInsideTheSameButtonChangesNothing)
{
    RECT estimate = ButtonRect(146);
    MoveTo(estimate.left + 5, estimate.top + 5);
    customStatusText[0] = 0;
    lastStatusId = 77;
    MoveTo(estimate.left + 9, estimate.top + 9);
    EXPECT_STREQ("", customStatusText);
    EXPECT_EQ(77, lastStatusId);
}

TEST_F(FrameControls, VariantButtonAreaIsHotAboveTheSideBar)
{
    const int w = FrameScrollWidth();
    MoveTo(1000 - (w + 55) + 1, 29);
    RECT variant = {1000 - (w + 55) + 1, 29, 1000, 43};
    EXPECT_EQ(frame, hoveredBarWindow);
    EXPECT_TRUE(EqualRect(&variant, &hoveredBarRect));
    MoveTo(1000 - (w + 55), 29);
    EXPECT_EQ(nullptr, hoveredBarWindow);
}

TEST_F(FrameControls, NothingReactsWithoutADocument)
{
    activeDocument = nullptr;
    RECT estimate = ButtonRect(146);
    customStatusText[0] = 0;
    MoveTo(estimate.left + 5, estimate.top + 5);
    EXPECT_EQ(nullptr, hoveredBarWindow);
    EXPECT_STREQ("", customStatusText);
    PressAt(estimate.left + 5, estimate.top + 5);
    EXPECT_TRUE(commands.empty());
    activeDocument = document;
}

TEST_F(FrameControls, CommandButtonsSendTheirCommands)
{
    const int offsets[] = {146, 82, 50};
    const int expected[] = {5303, 5231, 5272};
    for (int i = 0; i < 3; ++i) {
        RECT rect = ButtonRect(offsets[i]);
        PressAt(rect.left + 3, rect.top + 3);
    }
    EXPECT_EQ(std::vector<int>(expected, expected + 3), commands);
}

TEST_F(FrameControls, FramingButtonSendsTheOtherState)
{
    RECT framing = ButtonRect(114);
    document->settings->framingStyle = 0;
    PressAt(framing.left + 3, framing.top + 3);
    document->settings->framingStyle = 1;
    PressAt(framing.left + 3, framing.top + 3);
    EXPECT_EQ(std::vector<int>({5287, 5288}), commands);
    // The button shows the other state only while it is drawn; the command sets it.
    EXPECT_EQ(1, document->settings->framingStyle);
}

TEST_F(FrameControls, PressesElsewhereAreNotTheFramesOwn)
{
    RECT estimate = ButtonRect(146);
    PressAt(estimate.left - 1, estimate.top + 3);
    PressAt(estimate.left + 3, estimate.bottom);
    EXPECT_TRUE(commands.empty());
}


// Document windows made by command 2, closed by 9000 and by quit.
TEST_F(Frame, NewDocumentsAreNumberedAndCascaded)
{
    untitledCounter = 1;
    cascadeIndex = 0;
    SendMessageA(frame, WM_COMMAND, 2, 0);
    HWND first = reinterpret_cast<HWND>(SendMessageA(mdiClientWindow, WM_MDIGETACTIVE, 0, 0));
    ASSERT_NE(nullptr, first);
    EXPECT_EQ("DocumentClass", ClassNameOf(first));
    char caption[64] = "";
    GetWindowTextA(first, caption, sizeof caption);
    EXPECT_STREQ("Senza nome1", caption);
    ASSERT_NE(nullptr, activeDocument);
    EXPECT_EQ(nullptr, activeDocument->filePath);
    EXPECT_NE(nullptr, activePlanPane);
    EXPECT_EQ(1, cascadeIndex);

    SendMessageA(frame, WM_COMMAND, 2, 0);
    HWND second = reinterpret_cast<HWND>(SendMessageA(mdiClientWindow, WM_MDIGETACTIVE, 0, 0));
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second);
    GetWindowTextA(second, caption, sizeof caption);
    EXPECT_STREQ("Senza nome2", caption);
    EXPECT_EQ(3u, untitledCounter);

    // With a plan open the gate lets every command through.
    vtest::MessageBoxRecorder boxes;
    SendMessageA(frame, WM_COMMAND, 5202, 0);
    EXPECT_EQ(0u, boxes.Count());

    SendMessageA(frame, WM_COMMAND, 9000, 0);
    EXPECT_EQ(nullptr, GetWindow(mdiClientWindow, GW_CHILD));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(nullptr, activeDocument);
    EXPECT_EQ(nullptr, activePlanPane);
}

TEST_F(Frame, CascadeWrapsAfterFiveDocuments)
{
    cascadeIndex = 4;
    SendMessageA(frame, WM_COMMAND, 2, 0);
    EXPECT_EQ(0, cascadeIndex);
}

TEST_F(Frame, QuitClosesTheDocumentsFirst)
{
    SendMessageA(frame, WM_COMMAND, 2, 0);
    ASSERT_NE(nullptr, activeDocument);
    SendMessageA(frame, WM_COMMAND, 1, 0);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(nullptr, activeDocument);
    EXPECT_EQ(0, shelltest::TakeQuitMessage());
}

// A document window that will not close, holding a window of its own.
int innerWindowQuestions = 0;

LRESULT CALLBACK RefusingDocumentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QUERYENDSESSION)
        return 0;
    return DefMDIChildProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK InnerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QUERYENDSESSION)
        ++innerWindowQuestions;
    return DefWindowProcA(window, message, wParam, lParam);
}

class RefusingDocument : public Frame {
protected:
    void SetUp() override
    {
        Frame::SetUp();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RefusingDocumentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "RefusingDocument";
        RegisterClassA(&wc);
        wc.lpfnWndProc = InnerWindowProc;
        wc.lpszClassName = "InnerWindow";
        RegisterClassA(&wc);
        MDICREATESTRUCTA create = {};
        create.szClass = "RefusingDocument";
        create.szTitle = "kept";
        create.hOwner = GetModuleHandleA(nullptr);
        create.x = create.y = 1;
        create.cx = create.cy = 200;
        create.style = WS_VISIBLE | WS_OVERLAPPEDWINDOW;
        document = reinterpret_cast<HWND>(SendMessageA(mdiClientWindow, WM_MDICREATE, 0,
                                                       reinterpret_cast<LPARAM>(&create)));
        ASSERT_NE(nullptr, document);
        inner = CreateWindowExA(0, "InnerWindow", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, document,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, inner);
        innerWindowQuestions = 0;
    }
    void TearDown() override
    {
        Frame::TearDown();
        UnregisterClassA("RefusingDocument", GetModuleHandleA(nullptr));
        UnregisterClassA("InnerWindow", GetModuleHandleA(nullptr));
    }
    HWND document = nullptr;
    HWND inner = nullptr;
};

TEST_F(RefusingDocument, CloseAllAsksOnlyTheDocumentWindows)
{
    SendMessageA(frame, WM_COMMAND, 9000, 0);
    EXPECT_TRUE(IsWindow(document));
    EXPECT_TRUE(IsWindow(inner));
    EXPECT_EQ(0, innerWindowQuestions);
    // The frame stays while a document stays.
    EXPECT_EQ(0, SendMessageA(frame, WM_CLOSE, 0, 0));
    EXPECT_TRUE(IsWindow(frame));
}

TEST_F(RefusingDocument, StartUpStillEndsWhenADocumentRefusesToClose)
{
    RunStartupCommands();
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_FALSE(IsWindow(document));
    EXPECT_EQ(0, RunMessageLoop());
}


TEST_F(Frame, UsesTheResourcesMenuAcceleratorsAndCursors)
{
    ASSERT_NE(nullptr, frameMenu);
    EXPECT_NE(nullptr, frameAccelerators);
    for (int i = 0; i < NamedCursorCount; ++i) {
        SCOPED_TRACE(namedCursorNames[i]);
        EXPECT_NE(nullptr, namedCursors[i]);
    }
    WNDCLASSA tool;
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "ToolClass", &tool));
    EXPECT_EQ(namedCursors[FingerCursorIndex], tool.hCursor);
    // The side bar starts with textures, whose entries take the cursor of 3D drops.
    WNDCLASSA entry;
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "SymEntryClass", &entry));
    EXPECT_EQ(namedCursors[Finger3DCursorIndex], entry.hCursor);

    // The sixth pop-up of the menu is the MDI window list: a new document is listed there.
    HMENU windowMenu = GetSubMenu(frameMenu, 5);
    ASSERT_NE(nullptr, windowMenu);
    int before = GetMenuItemCount(windowMenu);
    SendMessageA(frame, WM_COMMAND, 2, 0);
    EXPECT_GT(GetMenuItemCount(windowMenu), before);
}


// The font asked for (the machine may draw it with another face).
LOGFONTA SelectedFont(HDC dc)
{
    LOGFONTA font = {};
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    return font;
}

TEST_F(Frame, BarsKeepTheirTextSettingsInTheirOwnDC)
{
    HDC bar = GetDC(statusBarWindow);
    LOGFONTA font = SelectedFont(bar);
    EXPECT_STREQ("Arial", font.lfFaceName);
    EXPECT_EQ(-11, font.lfHeight);
    EXPECT_EQ(0x34, font.lfPitchAndFamily);
    EXPECT_EQ(TRANSPARENT, GetBkMode(bar));
    EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), GetTextColor(bar));
    ReleaseDC(statusBarWindow, bar);

    HDC tools = GetDC(toolBarWindow);
    EXPECT_EQ(static_cast<UINT>(TA_CENTER | TA_BASELINE), GetTextAlign(tools));
    EXPECT_EQ(TRANSPARENT, GetBkMode(tools));
    font = SelectedFont(tools);
    EXPECT_STREQ("Arial", font.lfFaceName);
    EXPECT_EQ(-11, font.lfHeight);
    ReleaseDC(toolBarWindow, tools);
}

TEST_F(Frame, ToolBarPressRemovesTheHighlight)
{
    hoveredBarWindow = frame;
    SetRect(&hoveredBarRect, 5, 5, 20, 20);
    SendMessageA(toolBarWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 0));
    EXPECT_EQ(nullptr, hoveredBarWindow);
    EXPECT_TRUE(IsRectEmpty(&hoveredBarRect));
}

TEST_F(Frame, MenuSelectionShowsTheItemsHelp)
{
    lastStatusId = 99;
    SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(5202, MF_STRING), reinterpret_cast<LPARAM>(frameMenu));
    EXPECT_EQ(5202, lastStatusId);
    // A pop-up or the closing of the menu brings the default help back.
    SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP), reinterpret_cast<LPARAM>(frameMenu));
    EXPECT_EQ(-1, lastStatusId);
    SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(5202, MF_STRING), reinterpret_cast<LPARAM>(frameMenu));
    SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(-1, lastStatusId);
    // While a palette pop-up swallows the next click, items show no help.
    swallowNextToolClick = 1;
    SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(5202, MF_STRING), reinterpret_cast<LPARAM>(frameMenu));
    EXPECT_EQ(-1, lastStatusId);
    swallowNextToolClick = 0;
}


TEST_F(Frame, FurnitureEditorEndResetsTheCompanionState)
{
    // Without a plan too (its plan may have been closed).
    furnitureEditorRunning = 1;
    EXPECT_EQ(0, SendMessageA(frame, workbenchNoUpdateMessage, 0, 0));
    EXPECT_EQ(0, furnitureEditorRunning);

    PlanDocument* document = CreatePlanDocument();
    ASSERT_NE(nullptr, document);
    activeDocument = document;
    PlanObject* edited = reinterpret_cast<PlanObject*>(document);  // only compared, never used
    furnitureEditorRunning = 1;
    companionEditObject = edited;
    EXPECT_EQ(0, SendMessageA(frame, workbenchNoUpdateMessage, 0, 0));
    EXPECT_EQ(0, furnitureEditorRunning);
    EXPECT_EQ(nullptr, companionEditObject);
    EXPECT_EQ(0, exchangeImportActive);
    FreePlanDocument(document);
    activeDocument = nullptr;
}

} // namespace
