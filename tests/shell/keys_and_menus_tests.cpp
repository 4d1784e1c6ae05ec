#include <gtest/gtest.h>
#include "shell/app_globals.h"
#include "shell/command_dispatcher.h"
#include "shell/document_commands.h"
#include "shell/frame_window.h"
#include "shell/keys_and_menus.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "palette/category_tabs.h"
#include "tools/undo.h"
#include "support/test_support.h"
#include "support_commands.h"
#include "support_shell.h"
#include <string>

namespace {

using shelltest::AddLine;
using shelltest::DocumentWindows;
using shelltest::SendCommand;
using shelltest::Storey;

class MenusAndKeys : public testing::Test {
protected:
    void SetUp() override
    {
        untitledCounter = 1;
        cascadeIndex = 0;
        frame = shelltest::StartShell();
        ASSERT_NE(nullptr, frame);
        shelltest::SetFrameClientSize(frame, 1000, 700);
    }
    void TearDown() override
    {
        undoAvailable = 0;
        undoDocument = nullptr;
        activeToolTab = 0;
        shelltest::ForgetDocumentChanges();
        shelltest::StopShell();
    }
    PlanSettings* OpenDocument()
    {
        SendCommand(frame, FrameCommandNew);
        EXPECT_NE(nullptr, activeDocument);
        return activeDocument ? activeDocument->settings : nullptr;
    }
    void OpenMenu() { SendMessageA(frame, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(frame)), 0); }
    bool Checked(UINT id) { return (GetMenuState(GetMenu(frame), id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
    bool Greyed(UINT id) { return (GetMenuState(GetMenu(frame), id, MF_BYCOMMAND) & MF_GRAYED) != 0; }
    std::string Text(UINT id)
    {
        char text[128] = "";
        GetMenuStringA(GetMenu(frame), id, text, sizeof text, MF_BYCOMMAND);
        return text;
    }
    void Key(WPARAM key) { SendMessageA(frame, WM_KEYDOWN, key, 0); }

    HWND frame = nullptr;
    vtest::MessageBoxRecorder boxes;
};

TEST_F(MenusAndKeys, WithoutADocumentTheMenuStaysAsItIs)
{
    OpenMenu();
    EXPECT_EQ("&Annuler\tCtrl+Z", Text(16));
    EXPECT_FALSE(Greyed(16));
    EXPECT_EQ("Etage &inférieur", Text(5169));
}

TEST_F(MenusAndKeys, TheUndoItemNamesTheLastEdit)
{
    OpenDocument();
    OpenMenu();
    EXPECT_EQ("Annulla", Text(16));
    EXPECT_TRUE(Greyed(16));

    undoAvailable = 1;
    undoDocument = activeDocument;
    activeDocument->lastEditKind = 7;
    OpenMenu();
    EXPECT_EQ("Annulla Sposta", Text(16));
    EXPECT_FALSE(Greyed(16));
    activeDocument->lastEditUndone = 1;
    activeDocument->lastEditKind = 21;
    OpenMenu();
    EXPECT_EQ("Ripeti Tetto", Text(16));
    activeDocument->lastEditUndone = 0;
    activeDocument->lastEditKind = 20;
    OpenMenu();
    EXPECT_EQ("Annulla Muro", Text(16));

    // Kind 12, an idle document, or no recorded edit: nothing to undo.
    for (int16_t kind : {12, -1, 6, 22}) {
        activeDocument->lastEditKind = kind;
        OpenMenu();
        EXPECT_EQ("Annulla", Text(16)) << kind;
        EXPECT_TRUE(Greyed(16)) << kind;
    }
    activeDocument->lastEditKind = 8;
    undoAvailable = 0;
    OpenMenu();
    EXPECT_TRUE(Greyed(16));
}

TEST_F(MenusAndKeys, FloorMovesAreGreyedAtTheLowestAndHighestStorey)
{
    OpenDocument();
    OpenMenu();
    for (UINT id : {5169u, 5171u}) {
        EXPECT_EQ("Piano inferiore", Text(id));
        EXPECT_TRUE(Greyed(id));
    }
    for (UINT id : {5168u, 5170u}) {
        EXPECT_EQ("Piano superiore", Text(id));
        EXPECT_FALSE(Greyed(id));
    }
    SendCommand(frame, 5277);
    OpenMenu();
    EXPECT_TRUE(Greyed(5168));
    EXPECT_TRUE(Greyed(5170));
    EXPECT_FALSE(Greyed(5169));
    EXPECT_FALSE(Greyed(5171));
}

TEST_F(MenusAndKeys, CheckMarksFollowTheSettings)
{
    PlanSettings* settings = OpenDocument();
    ASSERT_NE(nullptr, settings);
    settings->gridVisible = 1;
    settings->snapToGrid = 0;
    settings->antiAliasPasses = 8;
    settings->renderValue1506 = 0;
    settings->framingStyle = 1;
    settings->cameraMode = 2;
    settings->orthographic3D = 3;
    settings->hideDoors3D = 1;
    activeToolTab = 3;
    OpenMenu();
    EXPECT_TRUE(Checked(5044));
    EXPECT_FALSE(Checked(5045));
    EXPECT_TRUE(Checked(5292));
    for (UINT id : {5291u, 5293u, 5294u})
        EXPECT_FALSE(Checked(id)) << id;
    EXPECT_TRUE(Checked(5333));
    EXPECT_FALSE(Checked(5334));
    EXPECT_TRUE(Checked(5287));
    EXPECT_FALSE(Checked(5288));
    EXPECT_TRUE(Checked(5190));
    EXPECT_FALSE(Checked(5189));
    EXPECT_TRUE(Checked(5352));
    EXPECT_FALSE(Checked(5351));
    EXPECT_TRUE(Checked(5322));
    EXPECT_TRUE(Checked(5346));
    EXPECT_FALSE(Checked(5343));

    settings->gridVisible = 0;
    settings->antiAliasPasses = 24;
    settings->renderValue1506 = 5;
    settings->orthographic3D = 2;
    activeToolTab = 8;
    OpenMenu();
    EXPECT_FALSE(Checked(5044));
    EXPECT_TRUE(Checked(5294));
    EXPECT_FALSE(Checked(5292));
    EXPECT_TRUE(Checked(5334));
    EXPECT_FALSE(Checked(5333));
    EXPECT_TRUE(Checked(5353));
    EXPECT_FALSE(Checked(5352));
    for (UINT id = 5343; id <= 5350; ++id)
        EXPECT_FALSE(Checked(id)) << id;
}

TEST_F(MenusAndKeys, StoreyItemsShowTheWorkingStoreyAndTheShownOnes)
{
    OpenDocument();
    SendCommand(frame, 5276);
    SendCommand(frame, 5278);
    OpenMenu();
    EXPECT_TRUE(Checked(5276));
    EXPECT_TRUE(Checked(5278));
    EXPECT_FALSE(Checked(5275));
    EXPECT_FALSE(Checked(5279));

    SendCommand(frame, 5279);
    OpenMenu();
    EXPECT_TRUE(Checked(5276));
    EXPECT_TRUE(Checked(5279));
    EXPECT_FALSE(Checked(5278));
}

TEST_F(MenusAndKeys, DeleteKeyRemovesTheSelection)
{
    PlanSettings* settings = OpenDocument();
    ASSERT_NE(nullptr, settings);
    PlanFloor* floor = Storey("First Floor");
    PlanObject* kept = AddLine(floor, {{0, 0}, {10, 0}});
    AddLine(floor, {{0, 5}, {10, 5}}, true);
    Key(VK_DELETE);
    ASSERT_NE(nullptr, floor->firstObject);
    EXPECT_EQ(kept, floor->firstObject);
    EXPECT_EQ(nullptr, kept->next);
    EXPECT_EQ(1u, settings->modified);

    AddLine(floor, {{0, 9}, {10, 9}}, true);
    Key(VK_BACK);
    EXPECT_EQ(nullptr, kept->next);
}

TEST_F(MenusAndKeys, ArrowKeysNudgeTheSelectionByOneScreenUnit)
{
    PlanSettings* settings = OpenDocument();
    ASSERT_NE(nullptr, settings);
    settings->snapToGrid = 0;
    settings->zoom = 1.0f;
    PlanObject* moved = AddLine(Storey("First Floor"), {{10, 20}, {30, 20}}, true);
    PlanObject* still = AddLine(Storey("First Floor"), {{0, 0}, {5, 5}});
    Key(VK_LEFT);
    EXPECT_EQ(9.0f, moved->firstVertex->position[0]);
    EXPECT_EQ(20.0f, moved->firstVertex->position[2]);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    EXPECT_EQ(11.0f, moved->firstVertex->position[0]);
    Key(VK_UP);
    EXPECT_EQ(19.0f, moved->firstVertex->position[2]);
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(21.0f, moved->firstVertex->position[2]);
    EXPECT_EQ(11.0f, moved->firstVertex->position[0]);
    EXPECT_EQ(0.0f, still->firstVertex->position[0]);
    EXPECT_EQ(0.0f, still->firstVertex->position[2]);
    EXPECT_EQ(1u, settings->modified);
}

TEST_F(MenusAndKeys, OtherKeysAndKeysWithoutAPlanDoNothing)
{
    Key(VK_DELETE);
    Key(VK_LEFT);
    PlanSettings* settings = OpenDocument();
    PlanObject* line = AddLine(Storey("First Floor"), {{10, 20}, {30, 20}}, true);
    Key('A');
    Key(VK_HOME);
    // Space with Shift and Ctrl but without Home shows no picture.
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_SHIFT] = state[VK_CONTROL] = 0x80;
    state[VK_HOME] = 0;
    SetKeyboardState(state);
    Key(VK_SPACE);
    state[VK_SHIFT] = state[VK_CONTROL] = 0;
    SetKeyboardState(state);
    EXPECT_EQ(10.0f, line->firstVertex->position[0]);
    EXPECT_EQ(0u, settings->modified);
    EXPECT_EQ(0u, boxes.Count());
}

TEST(UndoMenuText, TableOfEditKinds)
{
    EXPECT_STREQ("Annulla Sposta punto", UndoMenuText(8, false));
    EXPECT_STREQ("Ripeti Ridimensiona", UndoMenuText(9, true));
    EXPECT_STREQ("Annulla Obliquo", UndoMenuText(10, false));
    EXPECT_STREQ("Ripeti Ruota", UndoMenuText(11, true));
    EXPECT_STREQ("Annulla Rettangolo", UndoMenuText(13, false));
    EXPECT_STREQ("Annulla Ovale", UndoMenuText(14, false));
    EXPECT_STREQ("Annulla Poligono", UndoMenuText(15, false));
    EXPECT_STREQ("Annulla Multigono", UndoMenuText(16, false));
    EXPECT_STREQ("Annulla Arco", UndoMenuText(17, false));
    EXPECT_STREQ("Annulla Linea", UndoMenuText(18, false));
    EXPECT_STREQ("Ripeti Curva", UndoMenuText(19, true));
    EXPECT_EQ(nullptr, UndoMenuText(12, false));
    EXPECT_EQ(nullptr, UndoMenuText(-1, false));
    EXPECT_EQ(nullptr, UndoMenuText(22, false));
}

} // namespace
