// The dialogs of the plan settings, grid, elevations, plants, lighting, decks and photo
// view, driven by control id in an imperial plan at 1:72 (a plan unit is an inch;
// lengths show as inches with two decimals), and the plant data from information files
// this test writes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <cmath>
#include <string>

#include "dialogs/deck_dialogs.h"
#include "dialogs/grid_elevation_dialogs.h"
#include "dialogs/lighting_dialog.h"
#include "dialogs/path_fence_gate_dialogs.h"
#include "dialogs/photo_view_dialog.h"
#include "dialogs/plant_dialogs.h"
#include "dialogs/plant_info.h"
#include "dialogs/storey_units_dialogs.h"
#include "dialogs/terrain_camera_dialogs.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "shell/app_globals.h"
#include "shell/elevation_pane.h"
#include "shell/grid_property_sheet.h"
#include "support/dialog_driver.h"
#include "support/plan_fixtures.h"
#include "support/plant_info_files.h"
#include "support/test_support.h"

using namespace vtest;

namespace {

constexpr int32_t kShrub = 300;

class SettingsDialogTest : public RecordCheckedDocumentTest {
protected:
    void SetUp() override
    {
        RecordCheckedDocumentTest::SetUp();
        s = document->settings;
        s->unitSystem = kUnitSystemFeetInches;
        s->drawingScale = 72.0f;
        hInstance = GetModuleHandleA(nullptr);
        GetCurrentDirectoryA(MAX_PATH, folder);
        savedDirectory = programDirectory;
        programDirectory = folder;
    }
    void TearDown() override
    {
        programDirectory = savedDirectory;
        RecordCheckedDocumentTest::TearDown();
    }
    PlanObject* Plant(int32_t id, float age, uint16_t plantedAt)
    {
        PlanObject* plant = MakePointObject(ObjPlant, Storey(0), {{0, 0, 0}, {20, -30, 20}}, 0, 0);
        plant->firstVertex->faceTextureA = static_cast<uint32_t>(id);
        plant->plantAge = age;
        plant->value2 = plantedAt;
        plant->plantData = LoadPlantInfo(static_cast<uint32_t>(id));
        return plant;
    }
    PlanSettings* s = nullptr;
    char folder[MAX_PATH] = "";
    char* savedDirectory = nullptr;
    MessageBoxRecorder boxes;
    DialogDriver driver;
};

TEST_F(SettingsDialogTest, PlantHeightsByAgeRateAndLimit)
{
    struct Case { float age; uint16_t plantedAt; const char* rate; const char* limit; float height; };
    const Case cases[] = {
        {17.4f, 0, "0", "20", 12.0f},            // no rate: 12 at any age
        {2.0f, 0, "10", "0", 14.52f},            // a limit of 0 is none
        {2.0f, 0, "10", "1000", 14.52f},         // 12 x 1.1 x 1.1
        {2.0f, 0, "10", "14", 14.0f},            // capped above the limit
        {1.0f, 2, "-10", "1000", 12.0f * 0.531441f},  // 1 + 2 + 3 = 6 years, shrinking
        {1e9f, 0, "1", "1000", 12.0f * 7.316018f},   // 200 years at most, not a billion
    };
    for (const Case& c : cases) {
        WritePlantInfo(kShrub, {{"AnnualGrowthRate", c.rate}, {"MaximumGrowthHeight", c.limit}});
        PlanObject* plant = Plant(kShrub, c.age, c.plantedAt);
        float width = 0.0f, height = 0.0f;
        ComputePlantSizeAtAge(plant, &width, &height, 0);
        EXPECT_NEAR(c.height, height, 1e-3f) << c.age << " " << c.rate;
        EXPECT_NEAR(c.height * 0.85f, width, 1e-3f);
    }
}

TEST_F(SettingsDialogTest, PlantWithoutFileKeepsASizeAndNamesAreCut)
{
    WritePlantInfo(kShrub, {{"CommonName", std::string(70, 'n').c_str()}, {"Zone3", "1"}});
    PlantInfo* info = LoadPlantInfo(kShrub);
    ASSERT_NE(nullptr, info);
    EXPECT_EQ(std::string(59, 'n'), info->commonName);
    EXPECT_EQ(1, info->zones[2]);
    FreePlantInfo(info);
    WritePlantInfo(301, {});  // no file
    PlanObject* plant = Plant(301, 18.0f, 0);
    plant->box3D[1] = 0.0f, plant->box3D[4] = 20.0f;
    for (PlanVertex* v = plant->firstVertex; v; v = v->next) v->selected = 1;  // no pane to select in
    float width = 7.0f, height = 7.0f;
    ComputePlantSizeAtAge(plant, &width, &height, 1);
    EXPECT_EQ(7.0f, height);
    EXPECT_EQ(20.0f, plant->firstVertex->next->position[0] - plant->firstVertex->position[0]);
    WritePlantInfo(301, {{"AnnualGrowthRate", "10"}});  // a rate, no limit: rescaled to 12 x 0.85
    ReadPlantInfo(plant->plantData, 301);
    plant->plantAge = 0.0f;
    ComputePlantSizeAtAge(plant, &width, &height, 1);
    EXPECT_NEAR(10.2f, plant->firstVertex->next->position[0] - plant->firstVertex->position[0], 1e-3f);
}

TEST_F(SettingsDialogTest, PlantDetailsShowTheFile)
{
    WritePlantInfo(kShrub, {{"Type", "2"}, {"AnnualGrowthRate", "10"}, {"MaximumGrowthHeight", "1000"},
                       {"Zone3", "1"}, {"Zone5", "1"}, {"Zone10", "1"}});
    PlanObject* plant = Plant(kShrub, 2.0f, 0);
    std::string texts;
    driver.Queue([&](HWND d) {
        RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        for (int id : {100, 106, 107, 41, 42, 43}) texts += Text(d, id) + "|";
        Click(d, IDCANCEL);
    });
    RunPlantDetailsDialog(s, plant);
    EXPECT_EQ(1, driver.Answered());
    EXPECT_EQ("Cespuglio|3, 5, 10|N/A|Pianticella|1'-3\"|83'-4\"|", texts);
    char text[32];
    FormatDialogHeight(71.9f, s, text, sizeof text);
    EXPECT_STREQ("6'-0\"", text);
    s->unitSystem = kUnitSystemMetric;
    FormatDialogHeight(39.37f * 2.5f, s, text, sizeof text);
    EXPECT_STREQ("2.50 m.", text);
}

TEST_F(SettingsDialogTest, CeilingHeightsAndTheirMessages)
{
    struct Case { const char* typed; float stored; size_t boxes; };
    const Case cases[] = {{"-100", 100.0f, 1}, {"5", 96.0f, 1}, {"1000", 1000.0f, 0}, {"-5", 96.0f, 2}};
    for (const Case& c : cases) {
        const size_t before = boxes.Count();
        driver.Queue([&](HWND d) { SetText(d, 7, c.typed), Click(d, IDOK); });
        EXPECT_EQ(1, RunCeilingHeightDialog(s, 1));
        EXPECT_EQ(c.stored, FindFloorByName("First Floor")->height) << c.typed;
        EXPECT_EQ(c.boxes, boxes.Count() - before) << c.typed;
    }
    EXPECT_EQ("Pianterreno", driver.LastCaption());
}

TEST_F(SettingsDialogTest, UnitsLotZoomAndScale)
{
    elevationArrowIndex = 19;  // level 3, which the change of units does not take
    s->workingElevation = 30.0f;
    driver.Queue([](HWND d) { Click(d, 4), Click(d, IDOK); });
    RunUnitsDialog(s);
    EXPECT_EQ(30.0f, s->workingElevation);
    EXPECT_EQ(kUnitSystemMetric, s->unitSystem);
    elevationArrowIndex = 22;

    s->unitSystem = kUnitSystemFeetInches;
    driver.Queue([](HWND d) { SetText(d, 8, "600"), SetText(d, 9, "100"), Click(d, IDOK); });
    RunLotSizeDialog(s);
    EXPECT_EQ(500.0f, s->siteWidth);  // each side on its own
    EXPECT_EQ(100.0f, s->siteDepth);
    EXPECT_EQ(1200.0f, s->extentBottom);
    EXPECT_EQ(6000.0f, s->extentRight);
    s->unitSystem = kUnitSystemMetric;  // the lot's sides are in metres: "m" is no conversion
    driver.Queue([](HWND d) { SetText(d, 8, "30 m"), Click(d, IDOK); });
    RunLotSizeDialog(s);
    EXPECT_EQ(30.0f, s->siteWidth);
    s->unitSystem = kUnitSystemFeetInches;

    s->printScaleChoice = 9;
    s->zoomTopView = s->zoomOtherViews = 0.75f;
    std::string shown;
    driver.Queue([&](HWND d) { shown = Text(d, 6), SetText(d, 6, "400"), Click(d, IDOK); });
    RunPlanZoomDialog(s);
    EXPECT_EQ("100", shown);
    EXPECT_EQ(2.25f, s->zoom);

    s->printScaleChoice = 3;  // from a file: outside the table
    driver.Queue([](HWND d) { Click(d, 8), Click(d, IDOK); });
    RunPlanScaleDialog(s);
    EXPECT_EQ(2.25f, s->zoom);
    s->printScaleChoice = 8;
    s->unitSystem = kUnitSystemMetric;
    driver.Queue([](HWND d) { Click(d, 9), Click(d, IDOK); });
    RunPlanScaleDialog(s);
    EXPECT_EQ(4.5f, s->zoom);

    const float scale = s->drawingScale;
    driver.Queue([](HWND d) { SetText(d, 7, "0"), SetText(d, 8, "10"), Click(d, IDOK), Click(d, IDCANCEL); });
    EXPECT_EQ(0, RunDrawingScaleDialog(s));
    EXPECT_EQ(7, driver.Answered());
    EXPECT_EQ(scale, s->drawingScale);
}

TEST_F(SettingsDialogTest, GridSheetAndElevations)
{
    driver.Queue([](HWND d) {
        HWND page = PropSheet_GetCurrentPageHwnd(d);
        SetText(page, 7, "0"), SetText(page, 8, "600"), SetText(page, 9, "500"), SetText(page, 10, "-1");
        Click(d, IDOK);
    });
    ShowGridPropertySheet();
    EXPECT_EQ("36 36 500 2", std::to_string(int(s->gridSpacingX)) + " " + std::to_string(int(s->gridSpacingY)) +
                                 " " + std::to_string(int(s->snapStepX)) + " " + std::to_string(int(s->snapStepY)));

    s->workingElevation = 10.0f;
    for (const char* typed : {"1201", "1200"}) {
        driver.Queue([typed](HWND d) { SetText(d, 5, typed), Click(d, IDOK); });
        EXPECT_EQ(1, RunWorkingElevationDialog());
    }
    EXPECT_EQ(1200.0f, s->workingElevation);
    EXPECT_EQ(1u, boxes.Count());

    float angle = 10.0f;
    driver.Queue([](HWND d) {
        for (const char* typed : {"0", "31", "30"}) SetText(d, 5, typed), Click(d, IDOK);
    });
    EXPECT_EQ(1, RunSlopedTopographyDialog(s, &angle));
    EXPECT_EQ(30.0f, angle);
    EXPECT_EQ("L'Angolo di discesa non deve superare i 30 gradi.", boxes.Last().text);
    EXPECT_EQ(3u, boxes.Count());
}

TEST_F(SettingsDialogTest, GridPagesAloneApplyOnlyOnOk)
{
    s->gridSpacingX = 24.0f, s->gridStyle = 1;
    const struct { bool (*run)(); int button; const char* settings; } cases[] = {
        {RunGridSpacingDialog, IDCANCEL, "24 1"}, {RunGridSpacingDialog, IDOK, "48 1"},
        {RunGridStyleDialog, IDCANCEL, "48 1"}, {RunGridStyleDialog, IDOK, "48 2"}};
    for (const auto& c : cases) {
        driver.Queue([&](HWND d) {
            HWND page = PropSheet_GetCurrentPageHwnd(d);
            SetText(page, 7, "48"), Click(page, 3000), Click(d, c.button);
        });
        EXPECT_EQ(c.button == IDOK, c.run());
        EXPECT_EQ(c.settings, std::to_string(int(s->gridSpacingX)) + " " + std::to_string(s->gridStyle));
    }
    EXPECT_EQ(4, driver.Answered());  // every page really opened
}

TEST_F(SettingsDialogTest, GrowthPathAndLighting)
{
    s->plantAge = 18.0f;
    driver.Queue([](HWND d) {
        for (const char* typed : {"51", "1", "10"}) SetText(d, 6, typed), Click(d, IDOK);
    });
    RunPlantGrowthDialog(s);
    EXPECT_EQ(13.0f, s->plantAge);
    EXPECT_EQ(2u, boxes.Count());

    const uint8_t border = s->pathBorderFlag;
    driver.Queue([](HWND d) { Click(d, 8), SetText(d, 11, "0"), Click(d, IDOK), Click(d, IDCANCEL); });
    EXPECT_EQ(0, RunPathDialog(s));
    EXPECT_EQ(2, driver.Answered());
    EXPECT_EQ(border, s->pathBorderFlag);  // no accepted width, no border change

    int radio = 0, bright = 0, strength = 0;
    driver.Queue([&](HWND d) {
        for (int id = 50; id <= 57; ++id) radio = Checked(d, id) ? id : radio;
        bright = GetScrollPos(GetDlgItem(d, 15), SB_CTL);
        strength = GetScrollPos(GetDlgItem(d, 31), SB_CTL);
        Scroll(d, 31, WM_HSCROLL, SB_THUMBPOSITION, 1);
        Click(d, IDOK);
    });
    RunLightingDialog(s);
    EXPECT_EQ(55, radio);
    EXPECT_EQ(35, bright);
    EXPECT_EQ(62, strength);
    EXPECT_NEAR(64879.65f, s->drawValue3D, 0.01f);
}

TEST_F(SettingsDialogTest, WholeDeckAndPhotoHeight)
{
    PlanObject* deck = MakePointObject(ObjDeck, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}}, 0, 1);
    driver.Queue([](HWND d) { SetText(d, 20, "40"), Click(d, 11), Click(d, IDOK); });
    EditSelectedDeckSegment(deck, deck->firstVertex, s);
    for (PlanVertex* v = deck->firstVertex; v; v = v->next) EXPECT_EQ(40.0f, v->mainHeight);

    PlanObject* photo = MakePointObject(ObjImage, Storey(0), {{0, 0, 0}, {100, 0, 0}}, 0, 0);
    photo->parameters[0] = 50.0f;
    driver.Queue([](HWND d) { SetText(d, 6, "0"), Click(d, IDOK), Click(d, IDCANCEL); });
    EditLumarefSettings(photo, s);
    EXPECT_EQ(2, driver.Answered());
    EXPECT_EQ(50.0f, photo->parameters[0]);
    EXPECT_EQ("L'altezza della Visuale fotorealistica deve essere superiore a 0.", boxes.Last().text);
}

}  // namespace
