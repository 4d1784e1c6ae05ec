// velmora-test: screen
// The property dialogs of walls, openings, roofs, dimensions, stairs, wall segments and
// the single-size objects, driven by control id in an imperial plan (display format
// feet-inches, so lengths are written as inches with two decimals: 5.00") unless a test
// says otherwise.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "dialogs/dialog_pattern.h"
#include "dialogs/dimension_colour_dialogs.h"
#include "dialogs/door_window_dialogs.h"
#include "dialogs/photo_view_dialog.h"
#include "dialogs/roof_dialog.h"
#include "dialogs/stair_railing_dialogs.h"
#include "dialogs/structure_dialogs.h"
#include "dialogs/storey_units_dialogs.h"
#include "dialogs/wall_dialogs.h"
#include "files/plan_file.h"
#include "model/object_operations.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "planview/plan_context_menus.h"
#include "shell/app_globals.h"
#include "shell/command_dispatcher.h"
#include "support/dialog_driver.h"
#include "support/plan_fixtures.h"
#include "support/test_support.h"
#include "support/window_pixels.h"
#include "tools/plan_mouse_state.h"

using namespace vtest;

namespace {

class BuildingDialogTest : public RecordCheckedDocumentTest {
protected:
    void SetUp() override
    {
        RecordCheckedDocumentTest::SetUp();
        settings = document->settings;
        settings->unitSystem = kUnitSystemFeetInches;
        hInstance = GetModuleHandleA(nullptr);
    }
    PlanObject* Object(uint16_t type)
    {
        return MakePointObject(type, Storey(0), {{0, 0, 0}, {100, 0, 0}}, 0, 0);
    }
    OpeningRecord* Opening(PlanObject* object, uint16_t style)
    {
        OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
        record->style = style;
        object->link = record;
        return record;
    }
    PlanSettings* settings = nullptr;
    MessageBoxRecorder boxes;
    DialogDriver driver;
};

TEST_F(BuildingDialogTest, WallOpensOnItsThicknessAndKeepsTheDefaults)
{
    PlanObject* wall = Object(ObjWall);
    wall->size = 5.0f;
    wall->parameters[1] = 12.0f;
    bool otherChecked = false;
    std::string custom, spacing;
    driver.Queue([&](HWND d) {
        otherChecked = Checked(d, 14);
        custom = Text(d, 5);
        spacing = Text(d, 43);
        Click(d, 10);
        SetText(d, 43, "4");
        Click(d, IDOK);
    });
    driver.Queue([&](HWND d) {  // changed, then cancelled: nothing moves
        Click(d, 13);
        SetText(d, 43, "24");
        Click(d, IDCANCEL);
    });
    EditSelectedWall(wall, settings);
    EXPECT_TRUE(otherChecked);
    EXPECT_EQ("5.00\"", custom);
    EXPECT_EQ("12.00\"", spacing);
    EXPECT_EQ(6.0f, wall->size);
    EXPECT_EQ(16.0f, wall->parameters[1]);
    EditSelectedWall(wall, settings);
    EXPECT_EQ(2, driver.Answered());
    EXPECT_EQ(6.0f, wall->size);
    EXPECT_EQ(16.0f, wall->parameters[1]);
    EXPECT_EQ("Propriétés du mur intérieur", driver.LastCaption());
    EXPECT_EQ(4.0f, settings->wallThickness);
    EXPECT_EQ(9, settings->wallThicknessPreset);
    EXPECT_EQ(5.0f, settings->wallDialogLength);
    EXPECT_EQ(16.0f, settings->studSpacing);
}

TEST_F(BuildingDialogTest, DoorSwingSizeAndElevation)
{
    PlanObject* door = Object(ObjDoor);
    OpeningRecord* record = Opening(door, 501);
    record->swingAngle = 3.0f / 57.29578f;
    record->elevation = -20.0f;
    std::string swing;
    driver.Queue([&](HWND d) {
        swing = Text(d, 85);
        SetText(d, 85, "");
        SetText(d, 25, "-10");
        Click(d, IDOK);
    });
    EditSelectedDoor(door, settings);
    EXPECT_EQ("45", swing);
    EXPECT_NEAR(0.0174533f, record->swingAngle, 1e-6f);  // an empty angle is 1 degree
    EXPECT_EQ(4, record->flags);
    EXPECT_EQ(0.0f, record->elevation);                   // not 10: below the floor is 0

    record->style = 503;  // garage to standard: 30 x 80, casing 3 (plan units at 1:36: x 2)
    std::string width, height, casing;
    driver.Queue([&](HWND d) {
        Click(d, 3026);
        width = Text(d, 23), height = Text(d, 24), casing = Text(d, 28);
        Click(d, IDOK);
    });
    EditSelectedDoor(door, settings);
    EXPECT_EQ("30.00\" 80.00\" 3.00\"", width + " " + height + " " + casing);
    EXPECT_EQ(501, record->style);
    EXPECT_EQ(60.0f, record->width);
    EXPECT_EQ(160.0f, record->height);
    EXPECT_EQ(3.0f, record->casingWidth);

    // The swing is the whole number it is written as, in a metric plan too.
    settings->unitSystem = kUnitSystemMetric;
    driver.Queue([&](HWND d) {
        SetText(d, 85, "90");
        Click(d, IDOK);
    });
    EditSelectedDoor(door, settings);
    EXPECT_NEAR(1.5707964f, record->swingAngle, 1e-6f);
}

TEST_F(BuildingDialogTest, WindowStylesBarsAndCasing)
{
    PlanObject* window = Object(ObjWindow);
    OpeningRecord* record = Opening(window, 606);
    bool halfArch = false;
    driver.Queue([&](HWND d) {
        halfArch = Checked(d, 3028);
        SetText(d, 28, "0.5");
        Click(d, IDOK);
    });
    EditSelectedWindow(window, settings);
    EXPECT_TRUE(halfArch);
    EXPECT_EQ(606, record->style);
    EXPECT_EQ(1.0f, record->casingWidth);

    // Bars (2, 2): "Chassis fixe" and a preview of 80 x 80 dialog units (its pixels follow
    // the dialog font) split in three each way: black on the bars, white between them.
    record->style = 600;
    record->glazingBarsAcross = 2;
    record->glazingBarsDown = 2;
    bool fixedPane = false;
    RECT box = {}, units = {0, 0, 80, 80};
    COLORREF onBars[4] = {}, between[2] = {};
    int repainted = 0;
    driver.Queue([&](HWND d) {
        fixedPane = Checked(d, 3024);
        GetWindowRect(GetDlgItem(d, 29), &box);
        MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&box), 2);
        MapDialogRect(d, &units);
        RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HDC dc = GetDC(d);
        const int w = box.right - box.left, h = box.bottom - box.top;
        const int paneX = box.left + w / 6, paneY = box.top + h / 6;
        onBars[0] = GetPixel(dc, box.left + (w + 1) / 3, paneY);
        onBars[1] = GetPixel(dc, box.left + (2 * w + 1) / 3, paneY);
        onBars[2] = GetPixel(dc, paneX, box.top + (h + 1) / 3);
        onBars[3] = GetPixel(dc, paneX, box.top + (2 * h + 1) / 3);
        between[0] = GetPixel(dc, box.left + w / 2, paneY);
        between[1] = GetPixel(dc, paneX, box.top + h / 2);
        ReleaseDC(d, dc);
        // Whatever part of the dialog a style's controls uncover, it shows what a repaint draws.
        // The focus leaves the width field, whose caret blinks; a style and the way back are
        // shown again when another program took or gave back the foreground meanwhile.
        SetFocus(GetDlgItem(d, IDCANCEL));
        for (int radio = 3023; radio <= 3041; ++radio) {
            int changed = 0;
            for (bool again = true; again;) {
                FocusChanges focus;
                changed = 0;
                for (int id : {radio, 3024})
                    SendMessageA(d, WM_COMMAND, id, LPARAM(GetDlgItem(d, id))), changed += PixelsARepaintChanges(d);
                again = focus.Any();
            }
            repainted += changed;
        }
        Scroll(d, 26, WM_HSCROLL, SB_LINEDOWN);
        Scroll(d, 17, WM_VSCROLL, SB_PAGEUP);
        Click(d, IDOK);
    });
    EditSelectedWindow(window, settings);
    EXPECT_TRUE(fixedPane);
    EXPECT_EQ(units.right, box.right - box.left);
    EXPECT_EQ(units.bottom, box.bottom - box.top);
    for (COLORREF c : onBars) EXPECT_EQ(RGB(0, 0, 0), c);
    for (COLORREF c : between) EXPECT_EQ(RGB(255, 255, 255), c);
    EXPECT_EQ(0, repainted);
    EXPECT_EQ(3, record->glazingBarsAcross);
    EXPECT_EQ(1, record->glazingBarsDown);
}

TEST_F(BuildingDialogTest, RoofPitchOpensOnOtherAndIsStoredPositive)
{
    PlanObject* roof = Object(ObjFreehandRoof);
    roof->size = 7.0f;
    bool other = false;
    std::string pitch;
    driver.Queue([&](HWND d) {
        other = Checked(d, 14);
        pitch = Text(d, 5);
        SetText(d, 5, "-5");
        Click(d, IDOK);
    });
    EditSelectedRoof(roof, settings);
    EXPECT_TRUE(other);
    EXPECT_EQ("7.0", pitch);
    EXPECT_EQ(5.0f, roof->size);
    EXPECT_EQ(12, settings->roofPitchPreset);
    EXPECT_EQ(10.0f, settings->roofPitch);
}

TEST_F(BuildingDialogTest, DimensionCancelKeepsEndMarkAndRadio)
{
    settings->endMarkChoice = 5089;
    settings->dimensionDialogValue = 11;
    driver.Queue([&](HWND d) {
        Click(d, 9);
        Click(d, IDCANCEL);
    });
    EXPECT_EQ(0, RunDimensionDialog(settings));
    EXPECT_EQ(1, driver.Answered());
    EXPECT_EQ(5089, settings->endMarkChoice);
    EXPECT_EQ(11, settings->dimensionDialogValue);
    driver.Queue([&](HWND d) {
        Click(d, 9);
        Click(d, IDOK);
    });
    EXPECT_EQ(1, RunDimensionDialog(settings));
    EXPECT_EQ(5087, settings->endMarkChoice);
    EXPECT_EQ(2u, settings->styleWord & kStyleEndMarkBits);
}

// The colour button opens the program's system colour dialog, answered by its own
// red, green and blue fields.
TEST_F(BuildingDialogTest, DimensionColourComesFromTheSystemColourDialog)
{
    driver.Queue([&](HWND d) {
        Click(d, 3);
        Click(d, IDOK);
    });
    driver.Queue([&](HWND d) {
        SetText(d, 706, "10");
        SetText(d, 707, "20");
        SetText(d, 708, "30");
        Click(d, IDOK);
    });
    EXPECT_EQ(1, RunDimensionDialog(settings));
    EXPECT_EQ(2570, settings->dimensionColour.red);
    EXPECT_EQ(5140, settings->dimensionColour.green);
    EXPECT_EQ(7710, settings->dimensionColour.blue);
}

TEST_F(BuildingDialogTest, PaletteSwatchTwelveIsTheUnsetColour)
{
    ColourTriple colour = {1, 2, 3};
    driver.Queue([&](HWND d) {
        Click(d, 12);
        Click(d, IDOK);
    });
    EXPECT_EQ(1, PickColour(nullptr, settings, &colour));
    EXPECT_EQ(kColourChannelUnset, colour.red);
    EXPECT_EQ(kColourChannelUnset, colour.blue);
}

struct SegmentCase {
    int style;
    const char *height, *c, *d, *a, *b;
    const char* message;  // null: accepted
    int focused;
};

TEST_F(BuildingDialogTest, WallSegmentChecks)
{
    const SegmentCase cases[] = {
        {54, "96", "100", "90", "5", "5", sideDBelowSideCMessage, 8},
        {54, "96", "80", "90", "5", "5", sideDBelowBaseMessage, 8},
        {58, "96", "90", "0", "5", "0", sideCBelowBaseMessage, 7},
        {52, "96", "0", "0", "0.5", "0", slopeAMessage, 9},
        {51, "96", "0", "0", "20", "21", slopeBMessage, 10},
        {51, "0", "0", "0", "1", "20", nullptr, 0},
    };
    PlanObject* wall = Object(ObjWall);
    PlanVertex* vertex = wall->firstVertex;
    for (const SegmentCase& c : cases) {
        SCOPED_TRACE(c.style);
        vertex->segmentStyle = static_cast<uint32_t>(c.style - 50);
        const size_t before = boxes.Count();
        int focused = 0;
        driver.Queue([&](HWND d) {
            SetText(d, 3, c.height), SetText(d, 7, c.c), SetText(d, 8, c.d);
            SetText(d, 9, c.a), SetText(d, 10, c.b);
            Click(d, IDOK);
            focused = FocusedId();
            if (c.message) Click(d, IDCANCEL);
        });
        const int answered = driver.Answered();
        const int result = EditSelectedWallSegment(document, vertex, settings);
        EXPECT_EQ(answered + 1, driver.Answered());
        if (c.message) {
            EXPECT_EQ(0, result);
            ASSERT_EQ(before + 1, boxes.Count());
            EXPECT_EQ(c.message, boxes.Last().text);
            EXPECT_EQ(c.focused, focused);
        } else {
            EXPECT_EQ(1, result);
            EXPECT_EQ(1.0f, vertex->mainHeight);  // a main height of 0 is 1
            EXPECT_EQ(1.0f, vertex->heightC);     // as is side C of a gable
        }
    }
    EXPECT_EQ(96.0f, settings->wallHeight);
}

TEST_F(BuildingDialogTest, SizeDialogsClampTheirValues)
{
    float width = 1.0f, depth = 1.0f;
    driver.Queue([&](HWND d) {
        SetText(d, 5, "0");
        SetText(d, 7, "60");
        Click(d, IDOK);
    });
    EXPECT_EQ(1, RunBeamDialog(settings, &width, &depth));
    EXPECT_EQ(0.001f, width);
    EXPECT_EQ(50.0f, depth);

    float length = 1.0f;
    driver.Queue([&](HWND d) {
        SetText(d, 5, "250");
        Click(d, IDOK);
    });
    EXPECT_EQ(1, RunBathShowerDialog(settings, &length, &width, 96));
    EXPECT_EQ("Proprietà Vasca idromassaggio", driver.LastCaption());
    EXPECT_EQ(200.0f, length);
}

// Every field read on OK passes one check: a typing error or an absurd value keeps the
// dialog open on that field, and nothing is stored.
TEST_F(BuildingDialogTest, NumberCheckKeepsTheDialogOpen)
{
    const struct {
        int field;
        const char* text;
        const char* message;
    } cases[] = {
        {24, "abc", notANumberMessage},
        {23, "2000000", numberOutOfRangeMessage},
        {28, "20000", numberOutOfRangeMessage},  // 40,000 plan units at 1:36
        {25, "nan", notANumberMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        int focused = 0;
        std::pair<int, int> selection;
        driver.Queue([&](HWND d) {
            SetText(d, c.field, c.text);
            Click(d, IDOK);
            focused = FocusedId();
            selection = FocusedSelection();
            Click(d, IDCANCEL);
        });
        const int answered = driver.Answered();
        EXPECT_EQ(0, RunWindowDialog(settings));
        ASSERT_EQ(answered + 1, driver.Answered());
        EXPECT_EQ(c.message, boxes.Last().text);
        EXPECT_EQ(MB_ICONINFORMATION | MB_TASKMODAL, boxes.Last().flags);
        EXPECT_EQ(c.field, focused);
        EXPECT_EQ(static_cast<int>(strlen(c.text)), selection.second);
    }
    EXPECT_EQ(36.0f, settings->windowWidth);
    EXPECT_EQ(56.0f, settings->windowHeight);
}

// A dialog that cannot be made is a Cancel: nothing is written back or rebuilt.
TEST_F(BuildingDialogTest, MissingTemplateIsACancel)
{
    PlanObject* wall = Object(ObjWall);
    wall->size = 5.0f;
    hInstance = GetModuleHandleA("kernel32.dll");
    EditSelectedWall(wall, settings);
    float width = 3.0f, depth = 4.0f;
    EXPECT_EQ(0, RunBeamDialog(settings, &width, &depth));
    EXPECT_EQ(0, driver.Answered() + driver.Unanswered());
    EXPECT_EQ(5.0f, wall->size);
    EXPECT_EQ(0.0f, wall->parameters[1]);
    EXPECT_EQ(3.0f, width);
}

class FrameDialogCommandTest : public PaneDocumentTest {};

// Each frame command opens its dialog on the active plan (answered with Cancel).
TEST_F(FrameDialogCommandTest, CommandsOpenTheirDialogs)
{
    hInstance = GetModuleHandleA(nullptr);
    MessageBoxRecorder boxes;
    const struct {
        int command;
        const char* caption;
    } cases[] = {
        {5134, "Couleurs"},
        {5172, "Propriétés du mur intérieur"},
        {5173, "Propriétés des portes"},
        {5174, "Propriétés des fenêtres"},
        {5175, "Propriétés du toit"},
        {5176, "Couleur du plan"},
        {5177, "Propriétés des cotes"},
        {5295, "Propriétés de l'escalier"},
        {5296, "Propriétés de la balustrade"},
    };
    for (const auto& c : cases) {
        DialogDriver driver;
        driver.Queue([](HWND d) { Click(d, IDCANCEL); });
        HandleFrameCommand(pane, c.command, 0);
        EXPECT_EQ(1, driver.Answered()) << c.command;
        EXPECT_EQ(c.caption, driver.LastCaption()) << c.command;
    }
    EXPECT_EQ(0u, boxes.Count());
}

// The sample house with the symbol libraries in a metric plan, and an object of each other
// kind a dialog edits, all of sizes that whole units and metres do not show as they are.
// An untouched OK, from the object's menu or the frame's command, keeps every object and
// storey as it was (the door and window dialogs make the opening the plan's default too),
// and a second one the whole saved plan; a size typed is read in the plan's unit.
TEST_F(FrameDialogCommandTest, UntouchedOkKeepsWhatItShowed)
{
    hInstance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(LoadShippedSymbolLibraries());
    ASSERT_TRUE(LoadPlanFile(SourceFilePath("samples/house.ZRO").c_str()));
    MessageBoxRecorder boxes;
    DialogDriver driver;
    PlanSettings* s = document->settings;
    const auto add = [&](uint16_t type, std::initializer_list<float> values, uint8_t closed = 0) {
        PlanObject* o = MakePointObject(type, document->currentFloor,
                                        {{-100.7f, -60.6f, 400}, {100, -60.6f, 400}, {100, -60.6f, 500}}, 0, closed);
        std::copy(values.begin(), values.end(), o->parameters);
        o->size = values.size() ? *values.begin() : 1.0f, o->value2 = 1;  // a plain path, a cathedral ceiling
        return o;
    };
    PlanObject* wall = document->currentFloor->firstObject;  // its door and window, then the bath's wall
    PlanObject *door = wall->firstChild, *window = door->next, *bath = wall->next->next->firstChild;
    PlanVertex* v = wall->firstVertex;
    wall->parameters[1] = 16.3f, wall->parameters[2] = 4.7f, wall->parameters[3] = 12.3f;
    v->segmentStyle = 1, v->mainHeight = 96.7f, v->segmentElevation = 3.3f;
    v->angleA = 7.37f, v->angleB = 9.35f, v->heightC = 101.3f;
    OpeningRecord* doorRecord = static_cast<OpeningRecord*>(door->link);
    doorRecord->elevation = 14.6f, doorRecord->swingAngle = 87.26f / 57.29578f;
    static_cast<OpeningRecord*>(window->link)->casingWidth = 2.3f;
    PlanObject *stair = add(ObjStair, {37.3f, 7.3f, 10.7f, 33.3f, 101.3f}), *deck = add(ObjDeck, {30.3f, 5.3f}, 1);
    PlanObject *slope = add(ObjSlope, {}), *railing = add(ObjRailing, {35.3f, 4.7f});
    slope->firstVertex->mainHeight = slope->firstVertex->next->mainHeight = 12.34f;
    railing->offsetSide = railing->value4 = 1;
    deck->firstVertex->mainHeight = 35.7f;
    document->firstFloor->height = 100.3f;
    s->siteUnit = 2, s->siteWidth = 123.4f, s->siteDepth = 98.7f;
    ClampTerrainSize(s);
    s->zoom = s->zoomTopView = s->zoomOtherViews = 0.617f;
    s->tracingImagePath[0] = 'x', s->tracingImageShown = 1, s->tracingScaleX = 0.375f;
    const struct { const char* name; PlanObject* object; int id; bool defaults; } rows[] = {  // no object: a command
        {"wall", wall, kMenuProperties}, {"segment", wall, kMenuLocal1}, {"door", door, kMenuProperties, true},
        {"window", window, kMenuProperties, true}, {"bath", bath, kMenuProperties},
        {"beam", add(ObjBeam, {0, 0, 11.7f, 7.3f}), kMenuProperties}, {"pier", add(ObjPier, {13.3f}), kMenuProperties},
        {"duct", add(ObjAirDuct, {0, 0, 9.1f, 5.3f}), kMenuProperties},
        {"slab", add(ObjFloorSlab, {0, 0, 4.3f}, 1), kMenuLocal2}, {"stairs", stair, kMenuProperties},
        {"railing", railing, kMenuProperties}, {"deck", deck, kMenuLocal6}, {"deck height", deck, kMenuLocal2},
        {"roof", add(ObjRoof, {7.37f}, 1), kMenuProperties}, {"path", add(ObjPath, {41.3f}), kMenuProperties},
        {"terrain", add(ObjTopography, {13.3f}, 1), kMenuProperties}, {"slope", slope, kMenuProperties},
        {"photo", add(ObjImage, {96.3f}), kMenuProperties}, {"ceiling", nullptr, 5156}, {"lot", nullptr, 5002},
        {"zoom", nullptr, 5206}, {"tracing", nullptr, 5282},
    };
    TransformRecord still = {};
    ForEachFloorObject(document->firstFloor, 0, MoveBy, &still);  // every generated part fitted
    const auto ok = [&](PlanObject* o, int id, const char* typed = nullptr) {
        driver.Queue([typed](HWND d) { typed ? SetText(d, 3, typed) : void(), Click(d, IDOK); });
        PlanMouseState hit = {};
        hit.segmentHit = 1, hit.vertexA = o ? o->firstVertex : nullptr, hit.vertexB = o ? o->firstVertex->next : nullptr;
        o ? RunObjectMenuCommand(o, &hit, id) : (void)HandleFrameCommand(pane, id, 0);
    };
    const auto saved = [&] {
        s->modified = 0;
        EXPECT_TRUE(SavePlanFile("kept.ZRO"));
        return ReadFileBytes("kept.ZRO");
    };
    for (uint16_t format : {5058, 5064}) {
        s->unitSystem = kUnitSystemMetric, s->displayFormat = format;
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(row.name) + " " + std::to_string(format));
            const auto before = saved();
            const auto first = (ok(row.object, row.id), saved());
            ok(row.object, row.id);
            const size_t body = row.defaults ? 10 + kPlanSettingsSize : 0;  // after the settings
            EXPECT_TRUE(std::equal(before.begin() + body, before.end(), first.begin() + body, first.end()));
            EXPECT_TRUE(first == saved());
        }
    }
    // The stair's width typed: 1.50 m in a metric plan showing metres, 5'-6" in an imperial one.
    for (const auto& [system, format, text, inches] : {std::tuple(kUnitSystemMetric, 5060, "1.50 m", 59.055f),
                                                       std::tuple(kUnitSystemFeetInches, 5064, "5'-6\"", 66.0f)}) {
        s->unitSystem = system, s->displayFormat = format;
        ok(stair, kMenuProperties, text);
        EXPECT_NEAR(inches, stair->parameters[0], 1e-3f) << text;
    }
    EXPECT_EQ(0, driver.Unanswered());
    EXPECT_EQ(0u, boxes.Count());
    FreeSymbolLibraries();
}

// In an imperial and a metric plan, a text that is not one number the plan holds is refused (told, no object changed,
// the bath on its wall), an angle up to a million turns by its fraction of a turn, a well-formed length keeps its value.
TEST_F(FrameDialogCommandTest, HostileNumbersAreRefused)
{
    hInstance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(LoadShippedSymbolLibraries() && LoadPlanFile(SourceFilePath("samples/house.ZRO").c_str()));
    MessageBoxRecorder boxes;
    DialogDriver driver;
    PlanSettings* s = document->settings;
    PlanObject *wall = document->currentFloor->firstObject, *door = wall->firstChild, *window = door->next;
    PlanObject* const bath = wall->next->next->firstChild;
    const auto add = [&](uint16_t type, std::initializer_list<float> values) {
        PlanObject* o = MakePointObject(type, document->currentFloor, {{300, 0, 400}, {400, 0, 400}, {400, 0, 500}},
                                        0, type == ObjTopography);
        return std::copy(values.begin(), values.end(), o->parameters), o->size = *o->parameters, o;
    };
    PlanObject *stair = add(ObjStair, {37.3f, 7.3f, 10.7f, 33.3f, 101.3f});
    PlanObject* line = MakePointObject(ObjLine, document->currentFloor, {{300, 0, 400}, {400, 0, 400}}, 1, 0);
    float *start = line->firstVertex->position, *end = line->firstVertex->next->position;
    const auto run = [&](PlanObject* o, int id, int field, int click, const char* text, bool metric, int format = 0) {
        s->unitSystem = metric ? kUnitSystemMetric : kUnitSystemFeetInches;
        s->displayFormat = format ? format : metric ? 5060 : 5064;
        const size_t told = boxes.Count();
        driver.Queue([&, field, click, text](HWND d) {
            SetText(d, field, text);
            for (int i = click && Checked(d, click) ? 0 : 1; click && i < 2; ++i) Click(d, click);  // clicked on
            Click(d, IDOK);
            if (boxes.Count() > told) Click(d, IDCANCEL);
        });
        const PlanMouseState hit = {};
        o ? RunObjectMenuCommand(o, &hit, id) : (void)HandleFrameCommand(pane, id, 0);
        return boxes.Count() > told ? boxes.Last().text : std::string();
    };
    const auto saved = [&] {  // the objects (an opening's dialog takes its values as the defaults)
        const auto bytes = (s->modified = 0, SavePlanFile("kept.ZRO"), ReadFileBytes("kept.ZRO"));
        return std::vector(bytes.begin() + std::min(bytes.size(), 10 + kPlanSettingsSize), bytes.end());
    };
    const std::string longText = "12" + std::string(300, ' ') + "x";  // beyond a field's 255 characters
    const std::string fills = std::string(249, '0') + "999999", over = fills + "x";  // 255 characters, and 256
    const char *nan = notANumberMessage, *range = numberOutOfRangeMessage;
    const struct { const char *text, *message, *angleMessage; float turned; } hostile[] = {  // no message: turned
        {"1e30", nan, range}, {"123456789012345678901234567890", range, range}, {"999999", range, nullptr, 279},
        {"1e-40", nan, nullptr, 0}, {"1,5", nan, nan}, {"5'-6\"7'", nan, nan}, {longText.c_str(), nan, nan},
        {"45x", nan, nan}, {fills.c_str(), range, nullptr, 279}, {over.c_str(), nan, nan}};
    const struct { PlanObject* object; int id, field, click; bool angle; } rows[] = {  // no object: a command
        {nullptr, 5215, 5}, {nullptr, 5215, 6, 10}, {nullptr, 5215, 5, 10, true}, {nullptr, 5216, 3, 0, true},
        {stair, kMenuProperties, 3}, {add(ObjRailing, {35.3f, 4.7f}), kMenuProperties, 3},
        {add(ObjPath, {41.3f}), kMenuProperties, 11}, {add(ObjTopography, {13.3f}), kMenuProperties, 5},
        {door, kMenuProperties, 23}, {window, kMenuProperties, 23}, {wall, kMenuProperties, 5, 14},
        {wall, kMenuProperties, 6, 15}, {bath, kMenuProperties, 5}};
    for (bool metric : {false, true})
        for (const auto& row : rows)
            for (const auto& h : hostile) {
                SCOPED_TRACE(std::to_string(&row - rows) + (metric ? " metric " : " imperial ") + h.text);
                start[0] = 300, start[2] = end[2] = 400, end[0] = 400;
                const auto before = saved();
                const char* message = row.angle ? h.angleMessage : h.message;
                EXPECT_EQ(message ? message : "", run(row.object, row.id, row.field, row.click, h.text, metric));
                EXPECT_TRUE(!message || before == saved());
                const double turn = row.id == 5216 && !message ? h.turned / 57.29578 : 0;  // about (350, 400)
                EXPECT_NEAR(0, std::hypot(350 + 50 * std::cos(turn) - end[0], 400 - 50 * std::sin(turn) - end[2]), 1e-2);
                ASSERT_TRUE(wall->firstChild == door && door->next == window && wall->next->next->firstChild == bath);
            }
    // The stair's width, or the Move dialog's offset (2 plan units an inch: 1325' takes the line off the plan).
    const struct { bool metric; const char* text; float inches; const char* message; bool move; } forms[] = {
        {0, "5'-6\"", 66}, {0, "5-6", 66}, {0, "10-", 120}, {0, "5'6", 66}, {0, "5'", 60}, {0, "5' 6\"", 66},
        {0, "  12  ", 12}, {0, "1.50 m", 12, nan}, {0, "5'-6\"", 66, nullptr, 1}, {0, "1325'", 0, range, 1},
        {1, "1.50 m", 59.055f}, {1, "1.50 m.", 59.055f}, {1, "1.5", 59.055f}, {1, "5'-6\"", 59.055f, nan},
        {1, "404 m", 0, range, 1}, {0, "5'-6 \"", 66}, {0, "6 \"", 6}, {0, "66.00 \"", 66}, {0, "5 '-6\"", 66},
        {0, "5' - 6", 66}, {0, " 5 ' - 6 \" ", 66}, {0, "5 ' 6 \" 7", 66, nan}, {0, "5 6", 66, nan}};
    for (const auto& f : forms) {
        const float x = start[0];
        EXPECT_EQ(f.message ? f.message : "", f.move ? run(nullptr, 5215, 5, 0, f.text, f.metric)
                                                     : run(stair, kMenuProperties, 3, 0, f.text, f.metric));
        EXPECT_NEAR(f.inches, f.move ? (start[0] - x) / 2 : stair->parameters[0], 1e-3f) << f.text;
    }
    for (int format = 5058; format <= 5064; ++format) {  // metres in every format of a metric plan
        EXPECT_EQ("", run(stair, kMenuProperties, 3, 0, "1.50 m", true, format));
        EXPECT_NEAR(59.055f, stair->parameters[0], 1e-3f) << format;
        stair->parameters[0] = 12;
    }
    FreeSymbolLibraries();
}

} // namespace
