#include "support_palette.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "palette/category_tabs.h"
#include "palette/symbol_bar.h"
#include "palette/tool_press.h"
#include "palette/tool_tab_window.h"
#include "palette/tool_variants.h"
#include "palette/tool_windows.h"
#include "palette/variant_list.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "support/input_fixtures.h"
#include "support/test_support.h"
#include "tools/tool_state.h"
#include <cstring>
#include <string>

using namespace ptest;

namespace {

class ToolPresses : public PaletteTest {
protected:
    // A press on the tool's button as its window receives it.
    void Press(int tool)
    {
        for (HWND strip : frameToolWindows)
            if (HWND button = FindToolButton(strip, (uint16_t)tool)) {
                SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
                return;
            }
        ADD_FAILURE() << "no button " << tool;
    }
    PlanSettings* Settings() { return activeDocument->settings; }
};

TEST_F(ToolPresses, WithoutAPlanTheListFillsThenTheUserIsAsked)
{
    vtest::MessageBoxRecorder boxes;
    boxes.QueueAnswer(IDNO);
    Press(7053);
    EXPECT_EQ(popEntryCount, 12u);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "Non sono aperte finestre di disegno. Per usare questi strumenti occorre aprire un "
              "disegno esistente oppure creare un nuovo disegno. Creare un nuovo disegno?");
    EXPECT_EQ(boxes.Last().flags, (UINT)(MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL));
    EXPECT_EQ(activeDocument, nullptr);
    EXPECT_EQ(currentToolId, 200);
}

TEST_F(ToolPresses, DoorToolsResetTheirDefaultsUnlessChosenFromTheList)
{
    OpenPlan();
    Settings()->doorStyle = 508;
    Settings()->doorWidth = 44.0f;
    Settings()->doorCasingWidth = 1.0f;
    for (int round = 0; round < 2; ++round) {  // also when the door tool is already current
        Press(7053);
        EXPECT_EQ(Settings()->doorStyle, 501);
        EXPECT_FLOAT_EQ(Settings()->doorWidth, 30.0f);
        EXPECT_FLOAT_EQ(Settings()->doorHeight, 80.0f);
        EXPECT_FLOAT_EQ(Settings()->doorCasingWidth, 3.0f);
        Settings()->doorWidth = 44.0f;
    }
    // A variant's choice survives the press that selects its tool.
    Press(200);
    Settings()->doorStyle = 502;
    Settings()->doorWidth = 72.0f;
    SelectToolById(7052);
    EXPECT_EQ(currentToolId, 7052);
    EXPECT_EQ(Settings()->doorStyle, 502);
    EXPECT_FLOAT_EQ(Settings()->doorWidth, 72.0f);
    // The tool it replaced is kept for the viewpoint tool to return to.
    Press(7051);
    Press(206);
    EXPECT_EQ(previousToolId, 7051);
}

TEST_F(ToolPresses, TheTextToolResetsAZoomOutsideFivePercent)
{
    OpenPlan();
    const struct {
        float zoom;
        float after;
    } cases[] = {{0.5f, 1.0f}, {1.02f, 1.02f}};
    for (const auto& c : cases) {
        Press(200);
        Settings()->zoom = c.zoom;
        Press(203);
        EXPECT_FLOAT_EQ(Settings()->zoom, c.after) << c.zoom;
        EXPECT_EQ(currentToolId, 203);
    }
}

TEST_F(ToolPresses, AViewButtonActsOnlyWhenReleasedOverItself)
{
    OpenPlan();
    // "Colori personalizzata" (3402) lives on the 3D view's bar, which is not open: its
    // press is handed a general button to track.
    HWND button = FindToolButton(frameToolWindows[0], 201);
    POINT inside = {2, 2};
    ClientToScreen(button, &inside);
    const struct {
        POINT release;
        short mode;
        short listTool;
    } cases[] = {{{-500, -500}, 2, -1}, {inside, 1, 5246}};
    for (const auto& c : cases) {
        HeldMouse held(c.release, 3);
        vtest::InputScope scope(&held);
        ToolButtonRecord record = {3402, nullptr};
        HandleToolButtonPress(&record, button, WM_LBUTTONDOWN, 0);
        EXPECT_EQ(symbarMode, c.mode);
        EXPECT_EQ(variantListTool, c.listTool);
        EXPECT_EQ(currentToolId, 200);
    }
}

TEST_F(ToolPresses, TabsSwitchStripsLayersAndTheActiveTabButton)
{
    OpenPlan();
    HandleToolTabClick(categoryTabStrip, WM_LBUTTONDOWN, MAKELPARAM(246, 5));
    EXPECT_EQ(activeToolTab, 4);
    EXPECT_TRUE(GetWindowLongPtrA(ToolStripOfTab(4), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongPtrA(ToolStripOfTab(0), GWL_STYLE) & WS_VISIBLE);
    RECT r;
    GetWindowRect(paletteTabStrip, &r);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 272);
    EXPECT_EQ(r.top, 28);
    EXPECT_EQ(r.right - r.left, 65);
    EXPECT_EQ(Settings()->activeCategory, 16u);
    EXPECT_EQ(Settings()->visibleCategories, Settings()->tabCategoryMasks[4]);
    EXPECT_EQ(currentToolId, 200);
    // Beyond the ninth slot nothing happens.
    HandleToolTabClick(categoryTabStrip, WM_LBUTTONDOWN, MAKELPARAM(531, 5));
    EXPECT_EQ(activeToolTab, 4);
}

TEST_F(ToolPresses, VariantsListTheirPicturesAndWriteTheirDefaults)
{
    InstallToolPreviews();
    OpenPlan();
    // A list 300 pixels high.
    RECT client;
    GetClientRect(variantListWindow, &client);
    RECT outer;
    GetWindowRect(variantListWindow, &outer);
    SetWindowPos(variantListWindow, nullptr, 0, 0, outer.right - outer.left,
                 (outer.bottom - outer.top) - (client.bottom - client.top) + 300,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    variantListTool = 7053;
    ShowPopList(variantListWindow);
    ASSERT_EQ(popEntryCount, 12u);
    RECT last;
    GetWindowRect(GetDlgItem(variantListWindow, 12), &last);
    MapWindowPoints(nullptr, variantListWindow, reinterpret_cast<POINT*>(&last), 2);
    EXPECT_EQ(last.top, 571);
    int low = 0, high = 0;
    GetScrollRange(variantListWindow, SB_VERT, &low, &high);
    EXPECT_EQ(high, 323);
    SendMessageA(variantListWindow, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(GetScrollPos(variantListWindow, SB_VERT), 52);

    // Door variant 11, stained: the sliding glass door 72 x 80 in stained wood; the door
    // dialog that follows is cancelled.
    Driver cancel = Driver::ForDialog("", [](HWND d) { SendMessageA(d, WM_COMMAND, IDCANCEL, 0); }, 1500);
    ApplyToolVariantByTool(7053, 1, 11);
    cancel.join();
    EXPECT_TRUE(cancel.found());
    PlanSettings* s = Settings();
    EXPECT_EQ(s->doorStyle, 502);
    EXPECT_FLOAT_EQ(s->doorWidth, 72.0f);
    EXPECT_FLOAT_EQ(s->doorHeight, 80.0f);
    EXPECT_FLOAT_EQ(s->doorCasingWidth, 3.0f);
    EXPECT_EQ(s->doorColour.red, 45232);
    EXPECT_EQ(s->doorColour.green, 31868);
    EXPECT_EQ(s->doorColour.blue, 7710);
    // Metric footings are centimetres; a number out of range writes nothing.
    s->unitSystem = 4;
    ApplyToolVariantByTool(7000, 1, 3);
    EXPECT_NEAR(s->floorToolDefaults[0], 4.7244f, 1e-4f);
    ApplyToolVariantByTool(7000, 1, 10);
    ApplyToolVariantByTool(7000, 1, 0);
    EXPECT_NEAR(s->floorToolDefaults[0], 4.7244f, 1e-4f);
    // Preview paths: in range the file, out of range the folder.
    variantListTool = 7505;
    char path[kToolPreviewPathSize];
    BuildToolPreviewPath(1, 10, path);
    const char* folderEnd = "\\Tools\\Fences\\";
    ASSERT_GE(strlen(path), strlen(folderEnd));
    EXPECT_STREQ(path + strlen(path) - strlen(folderEnd), folderEnd);
    variantListTool = 7053;
    BuildToolPreviewPath(2, 3, path);
    EXPECT_TRUE(strstr(path, "\\Tools\\Doors\\PDoor3.ZPV")) << path;
    EXPECT_NE(GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES) << path;
    // A program directory so deep that the path would pass MAX_PATH builds no path.
    char* saved = programDirectory;
    std::string deep = std::string(saved) + "\\" + std::string(250, 'd');
    programDirectory = &deep[0];
    BuildToolPreviewPath(2, 3, path);
    programDirectory = saved;
    EXPECT_STREQ(path, "");
}

} // namespace
