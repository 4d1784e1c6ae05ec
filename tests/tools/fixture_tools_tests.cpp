#include "files/symbol_library.h"
#include "model/object_edit.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "openings3d/opening_models.h"
#include "planview/selection.h"
#include "shell/app_globals.h"
#include "shell/selection_commands.h"
#include "support/plan_fixtures.h"
#include "support/test_support.h"
#include "tools/fixture_tools.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_state.h"
#include <math.h>

namespace {

using vtest::PressOnWall;

// Answers the group command the way the frame does.
LRESULT CALLBACK FrameStandIn(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == 5205) {
        GroupSelectionCommand();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class FixtureToolTest : public vtest::RecordCheckedDocumentTest {
protected:
    void SetUp() override
    {
        RecordCheckedDocumentTest::SetUp();
        PlanSettings* settings = document->settings;
        settings->drawingScale = 72.0f;
        settings->drawingUnit = 1;
        settings->paperUnit = 1;
        settings->zoom = 1.0f;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = FrameStandIn;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "FixtureFrameStandIn";
        RegisterClassA(&wc);
        savedFrame = frameWindow;
        frameWindow = CreateWindowA("FixtureFrameStandIn", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                    nullptr, wc.hInstance, nullptr);
    }
    void TearDown() override
    {
        vtest::FreeSymbolLibraries();
        DestroyWindow(frameWindow);
        frameWindow = savedFrame;
        planMouseState = PlanMouseState{};
        RecordCheckedDocumentTest::TearDown();
    }
    // A template of the code with one square member per offset.
    static void AddTemplate(PlanObject** list, uint16_t code, std::initializer_list<float> offsets)
    {
        PlanObject* t = vtest::MakePointObject(code, nullptr, {}, 0, 0);
        for (float d : offsets)
            vtest::AppendChildObject(
                t, vtest::MakePointObject(1, nullptr, {{d, 0, 0}, {d + 4, 0, 0}, {d + 4, 0, 4}}, 0, 1));
        t->next = *list;
        *list = t;
    }
    PlanObject* Wall(float length)
    {
        PlanObject* wall = vtest::MakePointObject(ObjWall, Storey(0), {{0, 0, 0}, {length, 0, 0}}, 0, 0);
        wall->size = 6.0f;
        return wall;
    }
    HWND savedFrame = nullptr;
    vtest::MessageBoxRecorder boxes;
};

TEST_F(FixtureToolTest, ToolIdsChooseTheirSymbolByTheVariantDefaults)
{
    PlanSettings* s = document->settings;
    const struct {
        bool wall;
        int16_t tool;
        int slot;
        uint32_t variant;
        uint32_t code;
        uint32_t category;
    } cases[] = {
        {true, 7101, 0, 9, 66, 4},  {true, 7101, 0, 12, 65, 4}, {true, 7101, 0, 10, 67, 4},
        {true, 7106, 2, 9, 75, 4},  {true, 7107, 3, 10, 77, 4}, {true, 7205, 0, 0, 95, 8},
        {true, 7407, 0, 0, 124, 32}, {true, 9999, 0, 0, 55, 4}, {false, 7102, 1, 9, 69, 4},
        {false, 7104, 1, 8, 71, 4}, {false, 7111, 4, 9, 82, 4}, {false, 7404, 0, 0, 121, 32},
        {false, 1, 0, 0, 68, 4},
    };
    for (const auto& c : cases) {
        for (uint32_t& slot : s->fixtureToolDefaults)
            slot = 0;
        s->fixtureToolDefaults[c.slot] = c.variant;
        uint32_t category = 0;
        uint32_t code = c.wall ? WallFixtureCode(c.tool, s, &category)
                               : FreeFixtureCode(c.tool, s, &category);
        EXPECT_EQ(code, c.code) << c.tool << " variant " << c.variant;
        EXPECT_EQ(category, c.category) << c.tool;
    }
}

TEST_F(FixtureToolTest, AWallFixtureIsPlacedOnTheSectionOnTheSideOfThePointer)
{
    AddTemplate(&symbolTemplates3D, 90, {-2, 0});
    const struct {
        int16_t tool;
        float pointerZ;
        uint32_t code;
        float elevation;
        float width;
        uint8_t side;
    } cases[] = {{7105, -5, 73, 42, 6, 1}, {7200, 5, 90, 0, 24, 0}, {7209, 5, 99, 18, 6, 0}};
    for (const auto& c : cases) {
        PlanObject* wall = Wall(100);
        PressOnWall(wall, 50, c.pointerZ);
        HandleWallFixtureTool(50, 0, c.pointerZ, 1, c.tool);
        PlanObject* element = wall->firstChild;
        ASSERT_NE(element, nullptr) << c.tool;
        EXPECT_EQ(element->type, ObjWallElement);
        EXPECT_EQ(element->subType, c.code);
        EXPECT_EQ(element->vertexCount, 3u);
        OpeningRecord* record = static_cast<OpeningRecord*>(element->link);
        ASSERT_NE(record, nullptr);
        EXPECT_FLOAT_EQ(record->elevation, c.elevation) << c.tool;
        EXPECT_FLOAT_EQ(record->width, c.width) << c.tool;
        // Centred on the pointer's distance from the section start.
        EXPECT_NEAR(record->distanceFromStart, hypotf(50.0f, c.pointerZ), 1e-3f) << c.tool;
        EXPECT_EQ(record->hingeSide, c.side) << c.tool;
        // Only the toilet has a 3D model here: two parts cloned from its template.
        int parts = 0;
        for (PlanObject* p = element->firstPart; p; p = p->next, ++parts)
            EXPECT_EQ(p->type, ObjWallElementPart);
        EXPECT_EQ(parts, c.code == 90 ? 2 : 0) << c.tool;
    }
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(mouseCaptured, 0);
}

TEST_F(FixtureToolTest, APressOffAWallSectionOrOnOneTooShortIsRefused)
{
    PlanObject* wide = Wall(23.0f);    // a switch is 6 wide: 23 - 6 - 11 = 6
    PlanObject* narrow = Wall(22.9f);
    PressOnWall(wide, 10, 1);
    HandleWallFixtureTool(10, 0, 1, 1, 7105);
    EXPECT_NE(wide->firstChild, nullptr);
    PressOnWall(narrow, 10, 1);
    HandleWallFixtureTool(10, 0, 1, 1, 7105);
    EXPECT_EQ(narrow->firstChild, nullptr);
    planMouseState = PlanMouseState{};
    HandleWallFixtureTool(10, 0, 1, 1, 7105);
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text,
              "La sezione del muro non \xE8 abbastanza ampia per questo elemento. Cliccare e "
              "trascinare su una sezione pi\xF9 ampia di muro per inserire questo elemento.");
    EXPECT_EQ(boxes.Boxes()[1].text,
              "Cliccare e trascinare su una sezione di muro per inserire questo elemento.");
    EXPECT_EQ(boxes.Last().flags, (UINT)(MB_OK | MB_ICONINFORMATION | MB_TASKMODAL));
}

TEST_F(FixtureToolTest, AFreeFixtureIsOneGroupAndAMissingSymbolChangesNoGroup)
{
    AddTemplate(&symbolTemplates2D, 79, {0, 10});
    HandleFreeFixtureTool(100, 50, 3, 7109);
    PlanObject* group = Storey(0)->firstObject;
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->type, ObjGroup);
    EXPECT_EQ(group->next, nullptr);
    EXPECT_EQ(group->category, 4u);
    EXPECT_EQ(group->styleOrTexture, 79u);
    int members = 0;
    for (PlanObject* m = group->firstChild; m; m = m->next, ++members) {
        EXPECT_EQ(m->subType, 89u);
        EXPECT_FLOAT_EQ(m->firstVertex->position[2], 50.0f);
    }
    EXPECT_EQ(members, 2);
    // 7404 has no template: nothing is made and the earlier group keeps its values.
    HandleFreeFixtureTool(0, 0, 3, 7404);
    EXPECT_EQ(Storey(0)->firstObject, group);
    EXPECT_EQ(group->next, nullptr);
    EXPECT_EQ(group->category, 4u);
    EXPECT_EQ(group->styleOrTexture, 79u);
}

// The members of the code's template and the members' own members.
int TemplateParts(PlanObject* list, uint32_t code)
{
    int count = 0;
    for (PlanObject* t = list; t; t = t->next)
        if (t->type == code)
            for (PlanObject* m = t->firstChild; m; m = m->next) {
                ++count;
                for (PlanObject* c = m->firstChild; c; c = c->next)
                    ++count;
            }
    return count;
}

TEST_F(FixtureToolTest, TheShippedLibrariesGiveFreeFixturesAndWallElementModels)
{
    // The symbol files of the program's own folder, as start-up reads them.
    HWND pane = vtest::CreatePaneStandIn();   // the reader needs a plan pane
    activePlanPane = pane;
    ASSERT_TRUE(vtest::LoadShippedSymbolLibraries());

    // A light fixture (79): its symbol's shapes as one object on the storey.
    HandleFreeFixtureTool(100, 50, 3, 7109);
    PlanObject* made = Storey(0)->firstObject;
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->next, nullptr);
    EXPECT_EQ(made->category, 4u);
    EXPECT_EQ(made->styleOrTexture, 79u);
    const int parts = TemplateParts(symbolTemplates2D, 79);
    ASSERT_GT(parts, 0);
    int copies = 0;
    for (PlanObject* m = made->type == ObjGroup ? made->firstChild : made; m; m = m->next, ++copies)
        EXPECT_EQ(m->subType, 89u);
    EXPECT_EQ(copies, made->type == ObjGroup ? parts : 1);

    // A toilet's model: every part of its 3D symbol cloned onto the element, deselected,
    // and the light left selected as the user had it.
    SelectObjectAndDrawHandles(made, 1, 0);
    PlanObject* element = vtest::MakePointObject(ObjWallElement, nullptr, {{0, 0, 0}, {24, 0, 0}}, 0, 0);
    AttachSymbolModelParts(element, 90, 12.0f, 0.0f);
    EXPECT_TRUE(IsAnyPointSelected(made));
    int modelParts = 0;
    for (PlanObject* p = element->firstPart; p; p = p->next, ++modelParts) {
        EXPECT_EQ(p->type, ObjWallElementPart);
        EXPECT_FALSE(IsAnyPointSelected(p));
    }
    EXPECT_GT(modelParts, 0);
    EXPECT_EQ(modelParts, TemplateParts(symbolTemplates3D, 90));
    FreeObject(element);
    activePlanPane = nullptr;
    DestroyWindow(pane);
}

} // namespace
