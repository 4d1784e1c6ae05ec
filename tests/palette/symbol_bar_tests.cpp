// velmora-test: desktop
#include "support_palette.h"
#include "model/dialog_fields.h"
#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "palette/growth_caption.h"
#include "palette/symbol_bar.h"
#include "palette/transform_dialogs.h"
#include "palette/variant_list.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "shell/status_bar.h"
#include "support/input_fixtures.h"
#include "support/plan_fixtures.h"
#include "support/plant_info_files.h"
#include "support/test_support.h"
#include <cmath>
#include <filesystem>
#include <string>

using namespace ptest;

namespace {

class SideBar : public PaletteTest {
protected:
    // The y of an entry in the bar (by its index), or -1000 when there is none.
    int EntryTop(int index)
    {
        HWND entry = GetDlgItem(symbolBarWindow, index);
        if (!entry)
            return -1000;
        RECT r;
        GetWindowRect(entry, &r);
        MapWindowPoints(nullptr, symbolBarWindow, reinterpret_cast<POINT*>(&r), 2);
        return r.top;
    }
    void ChooseCategory(int key, const char* item)
    {
        variantListTool = (short)key;
        RECT button = {800, 29, 870, 43};
        Driver choose = Driver::ChooseMenuItem(item);
        ShowLibraryCategoryMenu(&button);
        choose.join();
        ASSERT_TRUE(choose.found()) << item;
    }
};

TEST_F(SideBar, CategoriesChooseTheirRangeAndPlantListsKeepTheirGap)
{
    OpenPlan();
    SelectSymbarMode(2);
    LayoutSymbar();
    EXPECT_EQ(symbarEntryCount, 66u);
    const struct {
        const char* item;
        uint32_t entries;
    } textures[] = {{"Stoffe", 135}, {"Cielo", 1}};
    for (const auto& t : textures) {
        ChooseCategory(5247, t.item);
        EXPECT_EQ(symbarEntryCount, t.entries) << t.item;
    }
    // "Cespugli": 682 plants and one empty slot right after plant 5627 (index 628).
    ChooseCategory(5251, "Cespugli");
    EXPECT_EQ(symbarPlantFirst, 5000u);
    EXPECT_EQ(symbarEntryCount, 683u);
    EXPECT_EQ(EntryTop(628), -1 + 627 * 52);
    EXPECT_EQ(EntryTop(629), -1 + 629 * 52);
}

TEST_F(SideBar, ThePlantFilterAsksForEveryCriterionAndIgnoresValuesOutOfRange)
{
    OpenPlan();
    vtest::WritePlantInfo(7000, {{"SunLight", "1"}, {"Zone3", "1"}, {"SoilType", "8"}});
    vtest::WritePlantInfo(7001, {{"SunLight", "2"}, {"Zone3", "1"}});
    vtest::WritePlantInfo(7002, {{"SunLight", "9"}, {"Zone3", "1"}});
    vtest::WritePlantInfo(7003, {{"SunLight", "1"}, {"Zone4", "1"}});
    symbarPlantFirst = 7000;
    symbarPlantCount = 4;
    SelectSymbarMode(4);
    PlanSettings* s = activeDocument->settings;
    const struct {
        uint32_t sunlight, soil, zones;
        uint8_t on;
        uint32_t entries;
    } cases[] = {
        {65535, 65535, 65535, 1, 4},  // all masks open: no filter
        {1, 0, 4, 0, 4},              // switch off
        {1, 0, 4, 1, 1},              // sunlight 1 in zone 3: only 7000
        {1 | 256, 0, 0, 1, 2},        // a bit past the four sunlight values asks for nothing more
        {0, 128, 0, 1, 1},            // soil type 8
    };
    for (const auto& c : cases) {
        for (uint32_t& mask : s->plantSearch)
            mask = 0;
        s->plantSearch[2] = c.sunlight;
        s->plantSearch[3] = c.soil;
        s->plantSearch[4] = c.zones;
        if (c.sunlight == 65535)
            for (uint32_t& mask : s->plantSearch)
                mask = 65535;
        s->plantSearchOn = c.on;
        LayoutSymbar();
        EXPECT_EQ(symbarEntryCount, c.entries) << c.sunlight << " " << c.zones;
    }
}

TEST_F(SideBar, FurnitureEntriesListTheFolderAndNameTheirObjectOnHover)
{
    OpenPlan();
    std::filesystem::create_directories("Objects/Kitchen/Appliances");
    vtest::WriteFileBytes("Objects/Kitchen/Appliances/FRIDGE.ZOB", {0});
    vtest::WriteFileBytes("Objects/Kitchen/Appliances/STOVE.ZOB", {0});
    WritePrivateProfileStringA("Description", "ObjectName", "Frigorifero",
                               ".\\Objects\\Kitchen\\Appliances\\FRIDGE.ZOD");
    variantListTool = 5248;
    SelectSymbarMode(3);
    FillSymbarFromLibraryFolder();
    ASSERT_EQ(symbarEntryCount, 2u);
    std::string names[2];
    for (int index = 1; index <= 2; ++index) {
        customStatusText[0] = 0;
        SendMessageA(GetDlgItem(symbolBarWindow, index), WM_MOUSEMOVE, 0, 0);
        names[index - 1] = customStatusText;
    }
    // The enumeration order is the file system's: one of the two has a name.
    EXPECT_TRUE((names[0] == "Frigorifero") != (names[1] == "Frigorifero"));
    EXPECT_TRUE(names[0].empty() || names[1].empty());
}

class Drops : public SideBar {
protected:
    // A plan on the shown frame, on top, and the bar showing that many plants from 7000.
    void ShowPlants(uint32_t count)
    {
        OpenPlan();
        ShowFrame();
        SetWindowPos(frame, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        symbarPlantFirst = 7000;
        symbarPlantCount = count;
        SelectSymbarMode(4);
        LayoutSymbar();
    }
    // Drops plant 7000 (with the keys held) at the plan pane's client point; the plants of
    // the current floor afterwards.
    std::vector<PlanObject*> DropPlantAt(POINT client, std::vector<int> keys)
    {
        POINT screen = client;
        ClientToScreen(activePlanPane, &screen);
        HeldMouse held(screen, 0, keys);
        vtest::InputScope scope(&held);
        HWND entry = GetDlgItem(symbolBarWindow, 1);
        SendMessageA(entry, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageA(entry, WM_LBUTTONUP, 0, 0);
        std::vector<PlanObject*> plants;
        for (PlanObject* o = activeDocument->currentFloor->firstObject; o; o = o->next)
            if (o->type == ObjPlant)
                plants.push_back(o);
        return plants;
    }
};

TEST_F(Drops, APlantLandsAtTheDropPointInsideThePlanExtentsOnly)
{
    ShowPlants(4);
    // A new plan shows the top view at zoom 0.6, the pane's centre on the plan's origin:
    // 17 pixels right of it and 11 up is (17 / 0.6, -11 / 0.6) = (28.3, -18.3), each
    // + 0.5 cut toward zero, so the plant is centred on (28, -17).
    ASSERT_FLOAT_EQ(activeDocument->settings->zoom, 0.6f);
    RECT pane;
    GetClientRect(activePlanPane, &pane);
    POINT client = {pane.right / 2 + 17, pane.bottom / 2 - 11};
    std::vector<PlanObject*> plants = DropPlantAt(client, {});
    ASSERT_EQ(plants.size(), 1u);
    EXPECT_NEAR((plants[0]->box3D[1] + plants[0]->box3D[4]) / 2, 28.0f, 0.01f);
    EXPECT_NEAR((plants[0]->box3D[2] + plants[0]->box3D[5]) / 2, -17.0f, 0.01f);
    EXPECT_FALSE(plants[0]->firstVertex->selected);
    // Shift and Ctrl held: the tree's variant.
    plants = DropPlantAt(client, {VK_SHIFT, VK_CONTROL});
    ASSERT_EQ(plants.size(), 2u);
    EXPECT_EQ(plants[1]->firstVertex->faceTextureA, 7461u);
    // Outside the plan extents nothing is inserted.
    PlanSettings* s = activeDocument->settings;
    s->extentLeft = s->extentTop = 5000.0f;
    s->extentRight = s->extentBottom = 6000.0f;
    EXPECT_EQ(DropPlantAt(client, {}).size(), 2u);
    SetWindowPos(frame, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

TEST_F(Drops, APlantWithoutALimitToItsGrowthStaysWithinThePlanPlacedAndGrown)
{
    ShowPlants(1);
    // Grown for 18 years by 30000 % a year (the rate is read as 16 bits) or by 100 %.
    for (const char* rate : {"30000", "100"}) {
        vtest::WritePlantInfo(7000, {{"AnnualGrowthRate", rate}});
        ASSERT_FALSE(DropPlantAt({40, 40}, {}).empty());
        ForEachFloorObject(activeDocument->firstFloor, 0, StepPlantAge, reinterpret_cast<void*>(5));
        for (PlanObject* plant = activeDocument->currentFloor->firstObject; plant; plant = plant->next)
            for (PlanVertex* v = plant->firstVertex; v; v = v->next)
                for (float p : v->position)
                    EXPECT_TRUE(std::fabs(p) <= kPlanLimit) << rate << ": " << p;
    }
}

TEST(GrowthCaption, TheBarLightsTheStepsShareAndTheCaptionSpellsTheAge)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 600, 40);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF lit = GetSysColor(COLOR_HIGHLIGHT);
    const struct {
        int step;
        int pixels;
    } cases[] = {{5, 90}, {23, 396}, {0, 18}, {99, 396}};
    for (const auto& c : cases) {
        RECT all = {0, 0, 600, 40};
        FillRect(dc, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));
        DrawPlantGrowthProgress(dc, c.step);
        int count = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 600; ++x)
                count += GetPixel(dc, x, y) == lit;
        EXPECT_EQ(count, c.pixels) << c.step;
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    const struct {
        int step;
        const char* text;
    } periods[] = {{1, "3 mesi"}, {3, "9 mesi"}, {4, "1 Anno"}, {5, "2 Anni"}, {23, "20 Anni"}};
    for (const auto& p : periods) {
        char text[32];
        FormatGrowthPeriod(p.step, text, sizeof text);
        EXPECT_STREQ(text, p.text);
    }
}

class TransformDialogs : public PaletteTest {
protected:
    // At 1:72 with the inch (or another) as drawing unit, so that a plan unit is an inch.
    PlanObject* SelectedLine(uint16_t unitSystem = kUnitSystemMetric, uint16_t format = 5059, uint16_t unit = 1)
    {
        PlanSettings* s = activeDocument->settings;
        s->drawingScale = 72.0f;
        s->drawingUnit = unit;
        s->unitSystem = unitSystem;
        s->displayFormat = format;
        return vtest::MakePointObject(6, activeDocument->currentFloor, {{0, 0, 0}, {10, 0, 0}}, 1, 0);
    }
    static void Fill(HWND dialog, int radio, const char* first, const char* second)
    {
        SendMessageA(GetDlgItem(dialog, radio), BM_CLICK, 0, 0);
        SetDlgItemTextA(dialog, 5, first);
        SetDlgItemTextA(dialog, 6, second);
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    }
};

TEST_F(TransformDialogs, MoveTakesAxesOrAnAngleAndADistanceAndRefusesNonNumbers)
{
    OpenPlan();
    // The angle is degrees whatever the plan; the distance is a length of the plan (2 m
    // in a metric plan, 2 inches in an imperial one).
    const struct {
        uint16_t unitSystem, format;
        int radio;
        const char* first;
        const char* second;
        float dx, dz;
    } cases[] = {{kUnitSystemMetric, 5059, 10, "90", "10", 0, -10},
                 {kUnitSystemMetric, 5059, 9, "10", "10", 10, -10},
                 {kUnitSystemMetric, 5064, 10, "90", "2", 0, -78.74f},
                 {kUnitSystemFeetInches, 5064, 10, "90", "2", 0, -2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        PlanObject* line = SelectedLine(c.unitSystem, c.format);
        Driver fill = Driver::ForDialog("Déplacer", [&](HWND d) { Fill(d, c.radio, c.first, c.second); });
        EXPECT_EQ(RunMoveDialog(0, 0), 1);
        fill.join();
        EXPECT_NEAR(line->firstVertex->position[0], c.dx, 1e-3f);
        EXPECT_NEAR(line->firstVertex->position[2], c.dz, 1e-3f);
        FreeObject(line);
    }
    // "1e40" passes atof but is no number: told, and the dialog stays until cancelled.
    PlanObject* line = SelectedLine();
    vtest::MessageBoxRecorder boxes;
    Driver fill = Driver::ForDialog("Déplacer", [](HWND d) {
        Fill(d, 9, "1e40", "0");
        Sleep(200);
        SendMessageA(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(RunMoveDialog(0, 0), 0);
    fill.join();
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_FLOAT_EQ(line->firstVertex->position[0], 0.0f);
}

TEST_F(TransformDialogs, FeetAndInchesReadAsSuchInEveryFormatOfAnImperialPlanDrawnInFeet)
{
    OpenPlan();
    // A length with a foot mark moves 66 inches; what the format writes for 5.5 feet reads
    // back as 5.5 feet (rounded to 6 in whole units).
    for (uint16_t format = 5058; format <= 5064; ++format) {
        PlanObject* line = SelectedLine(kUnitSystemFeetInches, format, 2);
        char written[kLengthTextSize];
        FormatLength(5.5f, written, activeDocument->settings, 1);
        Driver fill = Driver::ForDialog("Déplacer", [&](HWND d) { Fill(d, 9, format % 2 ? "5'-6\"" : " 5 ' - 6 \" ", written); });
        EXPECT_EQ(RunMoveDialog(0, 0), 1);
        fill.join();
        EXPECT_NEAR(line->firstVertex->position[0], 66.0f, 1e-3f) << format;
        EXPECT_NEAR(line->firstVertex->position[2], format == 5058 ? -72.0f : -66.0f, 1e-3f) << written;
        FreeObject(line);
    }
}

TEST_F(TransformDialogs, RotationTurnsAboutTheSelectionsCentre)
{
    OpenPlan();
    PlanObject* line = SelectedLine();
    Driver turn = Driver::ForDialog("Rotation", [](HWND d) {
        SetDlgItemTextA(d, 3, "90");
        SendMessageA(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(RunRotationDialog(0), 1);
    turn.join();
    // A line from (0, 0) to (10, 0) turned a quarter about (5, 0) stands across the plan.
    EXPECT_NEAR(line->firstVertex->position[0], 5.0f, 1e-3f);
    EXPECT_NEAR(fabsf(line->firstVertex->position[2]), 5.0f, 1e-3f);
}

} // namespace
