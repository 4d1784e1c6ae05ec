// Presses on the plan pane of the program's own frame, with scripted input: what a
// press selects or drags, the tools that stay or fall back to the pointer, the pan and
// the drag zoom, the viewpoint marker, the selection marks on the pane, the context
// menus (tracked for real and answered from a helper thread) and the hand-over to the
// furniture editor. Top view, zoom 1, one plan unit a display inch.
// velmora-test: timeout 120
// velmora-test: desktop
#include "support_tools.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>
#include "files/symbol_library.h"
#include "model/object_copies.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/object_extents.h"
#include "model/record_memory.h"
#include "model/view_projection.h"
#include "model/deck_parts.h"
#include "model3d/scene_polygons.h"
#include "model/wall_openings.h"
#include "planview/fixture_symbols.h"
#include "files/plan_file.h"
#include "files/symbol_library.h"
#include "palette/tool_windows.h"
#include "planview/drag_zoom_camera.h"
#include "planview/plan_context_menus.h"
#include "planview/plan_mouse_dispatch.h"
#include "planview/selection.h"
#include "planview/selection_marks.h"
#include "planview/selection_marks_paint.h"
#include "shell/app_globals.h"
#include "shell/elevation_pane.h"
#include "shell/file_dialogs.h"
#include "shell/frame_window.h"
#include "shell/measurement_bar.h"
#include "support/companion_standins.h"
#include "support/dialog_driver.h"
#include "support/modal_driver.h"
#include "support/test_support.h"
#include "support/window_pixels.h"
#include "tools/plan_mouse_state.h"
#include "tools/text_editing.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"

using tooltest::Frame;

namespace {

int pressEdits = 0;               // the document's last-edit kind at the drag's press
std::vector<int16_t> toolsSeen;   // the tool of each dispatched event

class PlanPress : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(shown.Start());
        document = activeDocument;
        PlanSettings* s = document->settings;
        s->zoom = 1.0f;
        s->drawingScale = 72.0f;
        s->drawingUnit = 1;
        s->snapToGrid = 0;
        s->cameraX = s->cameraZ = 20000.0f;   // the viewpoint marker far from every press
        s->visibleCategories = 0xFF;
        vtest::ShowTopView();
        viewOrigin = ViewPoint{0.0f, -96.0f, 0.0f};
        // The general strip's buttons (200 .. 206), the first one pressed.
        for (int i = 0; i < 7; ++i)
            buttons[i] = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 22 * i, 20, 20, frameToolWindows[0],
                                         nullptr, GetModuleHandleA(nullptr), nullptr);
        highlightedPane = buttons[0];
        toolsSeen.clear();
        toolEventTap = [](int32_t, int32_t, float, float, float, int16_t event, int16_t tool) {
            if (event == kToolPress)
                pressEdits = activeDocument ? activeDocument->lastEditKind : 0;
            toolsSeen.push_back(tool);
        };
    }
    void TearDown() override
    {
        toolEventTap = nullptr;
        highlightedPane = nullptr;
        shown.Stop();
    }
    // Client point (x, y) of the pane in its logical units.
    POINT Logical(int x, int y) const
    {
        POINT p = {x, y};
        HDC dc = GetDC(shown.pane);
        DPtoLP(dc, &p, 1);
        ReleaseDC(shown.pane, dc);
        return p;
    }
    // Logical point (x, y) of the pane in its client units.
    POINT Client(float x, float y) const
    {
        POINT p = {static_cast<LONG>(x), static_cast<LONG>(y)};
        HDC dc = GetDC(shown.pane);
        LPtoDP(dc, &p, 1);
        ReleaseDC(shown.pane, dc);
        return p;
    }
    // A press (left, double or right) at the first frame's client point, polled over the frames.
    void Press(std::vector<Frame> frames, UINT message = WM_LBUTTONDOWN)
    {
        tooltest::TapeInput tape(shown.pane, frames);
        tooltest::InputScope scope(&tape);
        HDC dc = GetDC(shown.pane);
        DispatchPlanInput(dc, 0, shown.pane, message, MAKELPARAM(frames[0].x, frames[0].y));
        ReleaseDC(shown.pane, dc);
    }
    // The press as a message to the pane with the tool current, the drag over the frames.
    void SendPress(int16_t tool, const std::vector<Frame>& frames)
    {
        currentToolId = tool;
        tooltest::TapeInput tape(shown.pane, frames);
        tooltest::InputScope scope(&tape);
        SendMessageA(shown.pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(frames[0].x, frames[0].y));
    }
    // A line (type 6) across the client point (x, y), 100 long.
    PlanObject* AddLine(int x, int y)
    {
        const POINT at = Logical(x, y);
        PlanObject* line = vtest::MakePointObject(ObjLine, document->currentFloor,
                                                  {{at.x - 50.0f, 0, static_cast<float>(at.y)},
                                                   {at.x + 50.0f, 0, static_cast<float>(at.y)}},
                                                  0, 0);
        line->category = kCategoryFloorPlan;
        UpdateObjectExtents(line);
        return line;
    }
    tooltest::ShownFrame shown;
    PlanDocument* document = nullptr;
    HWND buttons[7] = {};
};

// The first press on an unselected line selects it without a drag; the second runs the
// select tool's drag (its undo code 7 set first) to the release; the capture is free.
TEST_F(PlanPress, FirstPressSelectsSecondDrags)
{
    PlanObject* line = AddLine(200, 150);
    currentToolId = 200;
    Press(tooltest::Drag({{200, 150}, {210, 150}}));
    EXPECT_TRUE(line->firstVertex->selected && line->firstVertex->next->selected);
    EXPECT_TRUE(toolsSeen.empty());
    // A message posted mid-drag stays queued for the program's loop.
    std::vector<Frame> drag = tooltest::Drag({{200, 150}, {210, 155}, {220, 160}});
    drag[1].post = WM_APP + 7;
    Press(drag);
    MSG waiting;
    EXPECT_TRUE(PeekMessageA(&waiting, shown.pane, WM_APP + 7, WM_APP + 7, PM_REMOVE));
    ASSERT_FALSE(toolsSeen.empty());
    EXPECT_EQ(pressEdits, 7);
    EXPECT_EQ(toolsSeen.front(), 200);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(mouseCaptured, 0u);
    // A double click on it opens its dialog, without a drag but with the size readout.
    toolsSeen.clear();
    selectionSize[0] = 0.0f;
    Press(tooltest::Drag({{220, 160}, {230, 170}}), WM_LBUTTONDBLCLK);
    EXPECT_TRUE(toolsSeen.empty());
    EXPECT_FLOAT_EQ(selectionSize[0], 100.0f);
    // Shift toggles the selected line off and does not drag.
    toolsSeen.clear();
    const PlanVertex* v = line->firstVertex;
    const POINT middle = Client((v->position[0] + v->next->position[0]) / 2, v->position[2]);
    Press(tooltest::Drag({middle, {middle.x + 10, middle.y}}, true));
    EXPECT_FALSE(line->firstVertex->selected);
    EXPECT_TRUE(toolsSeen.empty());
}

// A door-tool press on a door selects it and falls back to the pointer; a creation
// tool that does not stay falls back after one press, the interior-wall tool stays.
TEST_F(PlanPress, ToolsThatStayAndToolsThatFallBack)
{
    const POINT at = Logical(200, 150);
    PlanObject* wall = tooltest::AddWall(document->currentFloor,
                                         {{at.x - 100.0f, 0, static_cast<float>(at.y)},
                                          {at.x + 100.0f, 0, static_cast<float>(at.y)}},
                                         kCategoryFloorPlan);
    PlanObject* door = vtest::MakePointObject(ObjDoor, nullptr,
                                              {{at.x - 20.0f, 0, static_cast<float>(at.y)},
                                               {at.x + 20.0f, 0, static_cast<float>(at.y)}}, 0, 0);
    door->category = kCategoryFloorPlan;
    door->link = AllocateRecordOf<OpeningRecord>();
    vtest::AppendChildObject(wall, door);
    UpdateObjectExtents(door);
    currentToolId = 7053;
    Press(tooltest::Drag({{200, 150}, {200, 150}}));
    EXPECT_EQ(currentToolId, 200);
    EXPECT_EQ(highlightedPane, buttons[0]);
    EXPECT_TRUE(door->firstVertex->selected);
    EXPECT_EQ(wall->firstChild, door);
    EXPECT_EQ(door->next, nullptr);   // no new door

    struct Case {
        int16_t tool;
        int16_t after;
    } cases[] = {{7302, 200}, {7051, 7051}};
    for (const Case& c : cases) {
        highlightedPane = buttons[3];
        currentToolId = c.tool;
        Press(tooltest::Drag({{40, 40}, {45, 45}}));
        EXPECT_EQ(currentToolId, c.after) << c.tool;
    }
}

// The hand tool scrolls by the cursor's steps; the zoom tool brings the cursor to the
// pane's middle and zooms 1.0 for every 100 units up, never past 5.01 nor past the cap
// of the plan's extents.
TEST_F(PlanPress, PanAndDragZoom)
{
    const int startX = GetScrollPos(document->horizontalScrollBar, SB_CTL);
    const int startY = GetScrollPos(document->verticalScrollBar, SB_CTL);
    currentToolId = 204;
    Press(tooltest::Drag({{200, 150}, {200, 150}, {190, 145}, {180, 135}}));
    EXPECT_EQ(GetScrollPos(document->horizontalScrollBar, SB_CTL), startX + 20);
    EXPECT_EQ(GetScrollPos(document->verticalScrollBar, SB_CTL), startY + 15);

    struct Recorder : tooltest::TapeInput {
        using TapeInput::TapeInput;
        BOOL MoveCursor(int x, int y) override
        {
            moved = {x, y};
            return TRUE;
        }
        POINT moved = {-1, -1};
    };
    {
        // A zoom click without a drag only brings the clicked point to the middle.
        RECT client;
        GetClientRect(shown.pane, &client);
        const POINT at = {client.right / 2 + 30, client.bottom / 2 + 20};
        const POINT corner = Logical(0, 0);
        Recorder tape(shown.pane, tooltest::Drag({at, at}));
        tooltest::InputScope scope(&tape);
        currentToolId = 205;
        HDC dc = GetDC(shown.pane);
        DispatchPlanInput(dc, 0, shown.pane, WM_LBUTTONDOWN, MAKELPARAM(at.x, at.y));
        ReleaseDC(shown.pane, dc);
        EXPECT_EQ(Logical(0, 0).x, corner.x + 30);
        EXPECT_EQ(Logical(0, 0).y, corner.y + 20);
    }
    // 1 + 1 + 2 + 1 = 5 from 1.0: the next 100 up (6.0) is refused. A plan 10000 wide
    // caps the zoom at 3.0: the 2 up is refused, the 1 after it taken.
    struct ZoomCase {
        float halfWidth;   // 0: the plan's own extents
        float zoom;
    } zooms[] = {{0, 5.0f}, {5000, 3.0f}};
    for (const ZoomCase& z : zooms) {
        if (z.halfWidth > 0) {
            document->settings->extentLeft = -z.halfWidth;
            document->settings->extentRight = z.halfWidth;
        }
        document->settings->zoom = 1.0f;
        Recorder tape(shown.pane, tooltest::Drag({{200, 300}, {200, 300}, {200, 200}, {200, 0}, {200, -100},
                                                  {200, -200}, {200, -300}}));
        tooltest::InputScope scope(&tape);
        currentToolId = 205;
        RECT client;
        GetClientRect(shown.pane, &client);
        HDC dc = GetDC(shown.pane);
        DispatchPlanInput(dc, 0, shown.pane, WM_LBUTTONDOWN, MAKELPARAM(100, 100));
        ReleaseDC(shown.pane, dc);
        POINT middle = {client.right / 2, client.bottom / 2};
        ClientToScreen(shown.pane, &middle);
        EXPECT_EQ(tape.moved.x, middle.x);
        EXPECT_EQ(tape.moved.y, middle.y);
        EXPECT_NEAR(document->settings->zoom, z.zoom, 1e-4f) << z.halfWidth;
    }
}

// The viewpoint at (100, 50) heading 0: its body is the 10-unit square from 95 to
// 104, its heading handle the triangle above it.
TEST_F(PlanPress, CameraMarkerParts)
{
    viewOrigin = ViewPoint{0.0f, 0.0f, 0.0f};
    document->settings->cameraX = 100.0f;
    document->settings->cameraZ = 50.0f;
    document->settings->cameraHeading = 0.0f;
    struct Case {
        int x, y, part;
    } cases[] = {{104, 54, 2}, {95, 45, 2}, {100, 38, 1}, {105, 50, 0}, {100, 60, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(HitTestCameraMarker(c.x, c.y), c.part) << c.x << "," << c.y;
}

size_t Changed(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b)
{
    size_t n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        n += a[i] != b[i];
    return n;
}

// Marks: four inverted 7 x 7 squares on a point-edited outline; a text frame's four
// handles without a box; each drawn twice leaves the pane as it was.
TEST_F(PlanPress, SelectionMarksAreInvertedAndUndoneByASecondDrawing)
{
    const POINT a = Logical(100, 100);
    PlanObject* wall = tooltest::AddWall(document->currentFloor,
                                         {{float(a.x), 0, float(a.y)}, {a.x + 60.0f, 0, float(a.y)},
                                          {a.x + 60.0f, 0, a.y + 40.0f}, {float(a.x), 0, a.y + 40.0f}},
                                         kCategoryFloorPlan);
    PlanObject* text = vtest::MakePointObject(ObjTextFrame, document->currentFloor, {}, 0, 0);
    const float box[6] = {0, a.x + 150.0f, a.y + 0.0f, 0, a.x + 230.0f, a.y + 50.0f};
    std::memcpy(text->box3D, box, sizeof box);
    currentToolId = 200;
    RECT rect = {0, 0, 1, 1};
    UpdateWindow(shown.pane);
    for (PlanObject* object : {wall, text}) {
        SetAllPointsSelected(wall, object == wall);
        const std::vector<COLORREF> before = vtest::ClientPixels(shown.pane);
        if (object == wall)
            DrawObjectSelectionMarks(wall, &rect);
        else
            DrawSelectionBox(text);
        EXPECT_EQ(Changed(before, vtest::ClientPixels(shown.pane)), 196u) << object->type;
        if (object == wall)
            DrawObjectSelectionMarks(wall, &rect);
        else
            DrawSelectionBox(text);
        EXPECT_EQ(Changed(before, vtest::ClientPixels(shown.pane)), 0u);
    }
}

// A library object taken whole: its box's four lower corners carry handles in the top
// view (the upper ones would fall on them), all eight in a turned view.
TEST_F(PlanPress, LibraryObjectHandlesByView)
{
    const POINT a = Logical(150, 120);
    PlanObject* chair = vtest::MakePointObject(15, document->currentFloor, {}, 1, 0);
    const float box[6] = {0, a.x + 0.0f, a.y + 0.0f, 40, a.x + 90.0f, a.y + 60.0f};
    std::memcpy(chair->box3D, box, sizeof box);
    currentToolId = 200;
    struct Case {
        float pitch, yaw;
        size_t handles;
    } cases[] = {{90, 0, 4}, {35, 25, 8}};
    for (const Case& c : cases) {
        viewPitchDegrees = c.pitch;
        viewYawDegrees = c.yaw;
        ApplyViewAngles(c.pitch, c.yaw, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, 0);
        InvalidateRect(shown.pane, nullptr, TRUE);
        UpdateWindow(shown.pane);
        const std::vector<COLORREF> before = vtest::ClientPixels(shown.pane);
        DrawSelectionBox(chair);
        const std::vector<COLORREF> after = vtest::ClientPixels(shown.pane);
        RECT client;
        GetClientRect(shown.pane, &client);
        std::vector<POINT> inverted;
        for (int corner = 0; corner < 8; ++corner) {
            float x = box[corner & 1 ? 4 : 1], y = box[corner & 2 ? 3 : 0], z = box[corner & 4 ? 5 : 2];
            TransformPointToView(&x, &y, &z, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin, viewOrigin.x,
                                 viewOrigin.y, viewOrigin.z, 1);
            const POINT at = Client(x + 0.5f, y + 0.5f);
            size_t changed = 0;
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx) {
                    const size_t i = size_t(at.y + dy) * client.right + size_t(at.x + dx);
                    changed += i < after.size() && after[i] != before[i];
                }
            bool seen = false;
            for (const POINT& p : inverted)
                seen = seen || (p.x == at.x && p.y == at.y);
            if (changed >= 30 && !seen)
                inverted.push_back(at);
        }
        EXPECT_EQ(inverted.size(), c.handles) << c.pitch;
        DrawSelectionBox(chair);
    }
    vtest::ShowTopView();
}

// The captions beside selected vertices: a fall with one minus, in feet and inches or
// in metres of the length in inches; a freehand roof's height where its generated part
// has a vertex, and nothing beyond that part's chain.
TEST_F(PlanPress, MarkCaptions)
{
    PlanObject* ground = vtest::MakePointObject(ObjTopography, nullptr, {{0, 0, 0}}, 1, 0);
    PlanObject* slope = vtest::MakePointObject(ObjSlope, nullptr, {{0, 0, 0}}, 1, 0);
    slope->firstVertex->mainHeight = 12.0f;
    PlanObject* roof = vtest::MakePointObject(ObjFreehandRoof, nullptr, {{0, 0, 0}, {50, 0, 0}}, 1, 0);
    PlanObject* generated = vtest::MakePointObject(ObjFreehandRoof, nullptr, {{0, -24, 0}}, 0, 0);
    roof->link = generated;
    roof->elevation = 100.0f;
    struct Case {
        PlanObject* owner;
        PlanVertex* vertex;
        float size;
        uint16_t units;
        const char* text;   // null: no caption
    } cases[] = {
        {ground, ground->firstVertex, -18.0f, kUnitSystemFeetInches, "Scendi: -1'-6\""},
        {ground, ground->firstVertex, 30.0f, kUnitSystemFeetInches, "Sali: 2'-6\""},
        {ground, ground->firstVertex, -18.0f, kUnitSystemMetric, "Scendi: -0.46 m."},
        {slope, slope->firstVertex, 0.0f, kUnitSystemMetric, "Discesa: 12º"},
        {roof, roof->firstVertex, 0.0f, kUnitSystemFeetInches, "Elev: 10'-4\""},
        {roof, roof->firstVertex->next, 0.0f, kUnitSystemFeetInches, nullptr},
    };
    for (const Case& c : cases) {
        c.owner->size = c.size;
        document->settings->unitSystem = c.units;
        char text[64] = {};
        const bool shown = MarkCaptionText(c.owner, c.vertex, text, sizeof text);
        EXPECT_EQ(shown, c.text != nullptr) << text;
        if (c.text)
            EXPECT_STREQ(text, c.text);
    }
    roof->link = nullptr;
    for (PlanObject* object : {ground, slope, roof, generated})
        FreeObject(object);
}

// The items of a menu: text, id and state (checked or grayed), the sub-menu's after "|".
struct Item {
    std::string text;
    UINT id;
    UINT state;
};
std::vector<Item> Items(HMENU menu)
{
    std::vector<Item> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        items.push_back({text, GetMenuItemID(menu, i), state & (MF_CHECKED | MF_GRAYED | MF_SEPARATOR)});
        if (HMENU sub = GetSubMenu(menu, i))
            for (const Item& inner : Items(sub))
                items.push_back({"|" + inner.text, inner.id, inner.state});
    }
    return items;
}

const Item* Find(const std::vector<Item>& items, const std::string& text)
{
    for (const Item& item : items)
        if (item.text == text)
            return &item;
    return nullptr;
}

// The wall segment menu: its items in order, "Quotatura automatica" chosen from the
// tracked menu turns the segment's dimensions off, and the next menu shows it clear
// with the three position items grayed.
TEST_F(PlanPress, WallSegmentMenuAndItsDimensionSwitch)
{
    PlanObject* wall = tooltest::AddWall(document->currentFloor, {{0, 0, 0}, {200, 0, 0}}, kCategoryFloorPlan);
    wall->subType = 54;
    PlanMouseState hit = {};
    hit.segmentHit = 1;
    hit.vertexA = wall->firstVertex;
    hit.vertexB = wall->firstVertex->next;
    bool own = false;
    HMENU menu = BuildObjectMenu(wall, &hit, &own);
    std::vector<Item> items = Items(menu);
    DestroyMenu(menu);
    ASSERT_GE(items.size(), 20u);
    const char* order[] = {"Taglia", "Copia", "Incolla", "Cancella", "", "Sposta...", "Ruota...", "",
                           "Proprietà muri esterni...", "Proprietà segmento muro...", "",
                           "Trasforma in muro interno", "", "Quotatura automatica", "Quote porte/finestre", "",
                           "Quota centro muro", "Quota superficie muro", "", "Sposta quota dentro/fuori"};
    for (size_t i = 0; i < sizeof order / sizeof order[0]; ++i)
        EXPECT_EQ(items[i].text, order[i]) << i;
    EXPECT_EQ(Find(items, "Quotatura automatica")->state, UINT(MF_CHECKED));
    EXPECT_EQ(Find(items, "Quota centro muro")->state, UINT(MF_CHECKED));
    EXPECT_EQ(Find(items, "|Pavimento")->state, UINT(MF_CHECKED));

    vtest::ModalDriver choose = vtest::ModalDriver::ChooseMenuItem("Quotatura automatica");
    ShowObjectContextMenu(shown.pane, wall, &hit);
    choose.join();
    ASSERT_TRUE(choose.found());
    EXPECT_EQ(wall->firstVertex->segmentFlags & 1u, 1u);
    menu = BuildObjectMenu(wall, &hit, &own);
    items = Items(menu);
    DestroyMenu(menu);
    EXPECT_EQ(Find(items, "Quotatura automatica")->state, 0u);
    for (const char* grey : {"Quota superficie muro", "Sposta quota dentro/fuori"})
        EXPECT_EQ(Find(items, grey)->state & MF_GRAYED, UINT(MF_GRAYED)) << grey;
}

// A deck edge's railing check, a roof's layer, and an edge-less deck press without menu.
TEST_F(PlanPress, DeckEdgeAndRoofMenus)
{
    PlanObject* deck = vtest::MakePointObject(ObjDeck, document->currentFloor, {{0, 0, 0}, {100, 0, 0}, {100, 0, 80}}, 0, 1);
    deck->firstVertex->segmentFlags = 1;
    PlanMouseState hit = {};
    hit.segmentHit = 1;
    hit.vertexA = deck->firstVertex;
    hit.vertexB = deck->firstVertex->next;
    bool own = false;
    HMENU menu = BuildObjectMenu(deck, &hit, &own);
    std::vector<Item> items = Items(menu);
    DestroyMenu(menu);
    EXPECT_EQ(Find(items, "Aggiungi ringhiera")->state, UINT(MF_CHECKED));
    EXPECT_EQ(Find(items, "Includi rivestimento")->state, 0u);
    hit.segmentHit = 0;
    EXPECT_EQ(BuildObjectMenu(deck, &hit, &own), nullptr);

    PlanObject* roof = vtest::MakePointObject(ObjRoof, document->currentFloor, {{0, 0, 0}, {10, 0, 0}}, 0, 0);
    roof->category = kCategoryRoof;
    menu = BuildObjectMenu(roof, &hit, &own);
    items = Items(menu);
    DestroyMenu(menu);
    EXPECT_EQ(Find(items, "|Tetti")->state, UINT(MF_CHECKED));
    EXPECT_EQ(Find(items, "|Pavimento")->state, 0u);
}

// The hand-over: the exchange file, then the editor started on it with the unit letter
// (its path quoted in a directory with a blank); without the editor, the message box and
// the companion state reset.
TEST_F(PlanPress, FurnitureEditorHandOver)
{
    const std::string base = vtest::CurrentDirectory();
    char* savedDirectory = programDirectory;
    PlanObject* object = vtest::MakePointObject(15, document->currentFloor, {{0, 0, 0}, {20, 0, 0}, {20, 0, 20}}, 1, 1);
    struct Case {
        const char* subdirectory;
        bool present;
    } cases[] = {{"", true}, {"\\Tovrel dir", true}, {"", false}};
    for (const Case& c : cases) {
        std::string dir = base + c.subdirectory;
        CreateDirectoryA(dir.c_str(), nullptr);
        programDirectory = &dir[0];
        DeleteFileA((dir + "\\Z!TOVRL.EXE").c_str());
        if (c.present)
            vtest::InstallStandIn(dir, "\\Z!TOVRL.EXE");
        vtest::MessageBoxRecorder boxes;
        furnitureEditorRunning = 0;
        HandOverToFurnitureEditor(object);
        EXPECT_NE(GetFileAttributesA((dir + "\\Z!TOVRL.TMP").c_str()), INVALID_FILE_ATTRIBUTES);
        if (c.present) {
            EXPECT_EQ(vtest::StandInLogLines(dir, 1),
                      std::vector<std::string>{"COMMAND " + vtest::StandInProgram(dir, "\\Z!TOVRL.EXE") + " " +
                                               dir + "\\Z!TOVRL.TMPM"});
            vtest::CloseStandIns();
            EXPECT_EQ(furnitureEditorRunning, 1);
            EXPECT_EQ(companionEditObject, object);
            EXPECT_EQ(boxes.Count(), 0u);
        } else {
            ASSERT_EQ(boxes.Count(), 1u);
            EXPECT_EQ(boxes.Last().caption, "Impossibile aprire Tovrel");
            EXPECT_EQ(furnitureEditorRunning, 0);
            EXPECT_EQ(companionEditObject, nullptr);
        }
    }
    furnitureEditorRunning = 0;
    companionEditObject = nullptr;
    programDirectory = savedDirectory;
}

// A 54-inch gate goes 3 in from each end of a 60-long picket fence; a second press on
// its section (the fence's size now the gate width) is refused and changes nothing.
TEST_F(PlanPress, ASecondGateOnTheSameSectionIsRefused)
{
    document->settings->gateWidth = 54.0f;
    PlanObject* fence = vtest::MakePointObject(ObjPicketFence, document->currentFloor, {{0, 0, 0}, {60, 0, 0}}, 0, 0);
    fence->category = kCategoryGarden;
    UpdateObjectExtents(fence);
    vtest::MessageBoxRecorder boxes;
    for (int press = 0; press < 2; ++press)
        SendPress(7506, std::vector<Frame>(6, tooltest::At(Client(30, 0).x, Client(30, 0).y)));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Esiste gi\xE0 un cancello su questa sezione dello steccato. Cliccare e "
                                 "trascinare  su un'altra sezione dello steccato per aggiungere il cancello.");
    ASSERT_EQ(CountVertexChain(fence), 4);
    const float xs[] = {0, 3, 57, 60};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(vtest::VertexAt(fence, i)->position[0], xs[i], 0.01f) << i;
    EXPECT_EQ(vtest::VertexAt(fence, 1)->kind, 6);
    EXPECT_EQ(fence->size, 54.0f);
}

// A wall dragged on from its free end: the pane's update region holds the new segment.
TEST_F(PlanPress, ExtendingAWallRepaintsTheNewSegment)
{
    PlanObject* wall = tooltest::AddWall(document->currentFloor, {{0, 0, 0}, {100, 0, 0}}, kCategoryFloorPlan);
    ValidateRect(shown.pane, nullptr);
    SendPress(7051, tooltest::Drag({Client(100, 0), Client(100, 100)}));
    ASSERT_EQ(CountVertexChain(wall), 3);
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(shown.pane, update, FALSE);
    for (POINT p : {Client(100, 5), Client(100, 50), Client(100, 95)})
        EXPECT_TRUE(PtInRegion(update, p.x, p.y)) << p.y;
    DeleteObject(update);
}


// A text made with the text tool and typed into: a select-tool press at its middle picks
// it and draws its four handles (7 x 7 inverted squares) at the frame's corners.
TEST_F(PlanPress, ATypedTextIsPickedAtItsMiddleAndShowsItsHandles)
{
    SendPress(203, tooltest::Drag({Client(100, 100)}));
    HWND control = document->textEditChild;
    ASSERT_NE(control, nullptr);
    PlanObject* text = FindTextLabelOfObject(control, 0);
    ASSERT_NE(text, nullptr);
    SendMessageA(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("Salon"));
    SetAllPointsSelected(text, 0);
    UpdateWindow(shown.pane);
    const std::vector<COLORREF> before = vtest::ClientPixels(shown.pane);
    const float* box = text->box2D;
    SendPress(200, tooltest::Drag({Client((box[kRectMinX] + box[kRectMaxX]) / 2, (box[kRectMinY] + box[kRectMaxY]) / 2)}));
    EXPECT_TRUE(IsAnyPointSelected(text));
    const std::vector<COLORREF> after = vtest::ClientPixels(shown.pane);
    RECT client;
    GetClientRect(shown.pane, &client);
    for (float x : {box[kRectMinX], box[kRectMaxX]})
        for (float y : {box[kRectMinY], box[kRectMaxY]}) {
            const POINT corner = Client(x + 0.5f, y + 0.5f);
            int inverted = 0;
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx) {
                    const size_t at = static_cast<size_t>(corner.y + dy) * client.right + corner.x + dx;
                    inverted += before[at] != after[at];
                }
            EXPECT_EQ(inverted, 49) << x << ", " << y;
        }
}

// An interior wall drawn and taken back (Ctrl+Z), then put back: each time what the
// command repaints leaves the pane as a full redraw shows it, the wall's dimension
// included.
TEST_F(PlanPress, UndoAndRedoOfANewWallRepaintItsDimensionToo)
{
    SendPress(7051, tooltest::Drag({Client(100, 150), Client(350, 150)}));
    ASSERT_NE(document->currentFloor->firstObject, nullptr);
    for (const char* step : {"undo", "redo"}) {
        UpdateWindow(shown.pane);
        SendMessageA(shown.frame, WM_COMMAND, 16, 0);
        UpdateWindow(shown.pane);
        const std::vector<COLORREF> repainted = vtest::ClientPixels(shown.pane);
        InvalidateRect(shown.pane, nullptr, TRUE);
        UpdateWindow(shown.pane);
        EXPECT_EQ(Changed(repainted, vtest::ClientPixels(shown.pane)), 0u) << step;
    }
    EXPECT_NE(document->currentFloor->firstObject, nullptr);
}

// The measurement bar's pixels right of the angle readout's label, where its value is
// drawn (the label is drawn over itself at every event, the value on a cleared ground).
std::vector<COLORREF> AngleReadoutValue()
{
    HWND bar = activeDocument->measurementStrip;
    HDC dc = GetDC(bar);   // the bar's own DC, with its font
    SIZE label = {};
    GetTextExtentPoint32A(dc, "Angle: ", 7, &label);
    ReleaseDC(bar, dc);
    RECT client;
    GetClientRect(bar, &client);
    const std::vector<COLORREF> all = vtest::ClientPixels(bar);
    std::vector<COLORREF> value;
    for (size_t i = 0; i < all.size(); ++i)
        if (static_cast<LONG>(i % client.right) >= 85 + label.cx)
            value.push_back(all[i]);
    return value;
}

std::vector<COLORREF> readoutAtRelease;   // the angle's value as the rotate tool's release found it

// The rotate tool's readout shows the snapped turn in whole degrees, each eighth and
// quarter turn as the readout draws it, and no turn as 0.
TEST_F(PlanPress, TheRotateReadoutShowsTheSnappedTurn)
{
    toolEventTap = [](int32_t, int32_t, float, float, float, int16_t event, int16_t) {
        if (event == kToolRelease)
            readoutAtRelease = AngleReadoutValue();
    };
    const struct { POINT to; float degrees; } cases[] = {
        {{40, -40}, 45}, {{0, -40}, 90}, {{-40, -40}, 135}, {{40, 40}, 315}, {{0, 40}, 270}, {{80, 0}, 0}};
    int x = 100;
    for (const auto& c : cases) {
        SetSelectionAllFloors(document->firstFloor, kSelectDeselect, 0);
        SelectObjectAndDrawHandles(AddLine(x += 120, 300), kSelectSelect, 0);
        SendPress(201, tooltest::Drag({{x + 40, 300}, {x + c.to.x, 300 + c.to.y}}));
        ShowAngleReadout(c.degrees);
        EXPECT_TRUE(readoutAtRelease == AngleReadoutValue()) << c.degrees;
    }
}

// A polyline finished by a double click, and a line, repaint the pane as a full redraw
// shows it: the length label beside the last segment included.
TEST_F(PlanPress, ANewShapeRepaintsItsLengthLabels)
{
    using tooltest::At;
    std::vector<Frame> polyline = tooltest::Drag({{200, 200}});
    for (const POINT& p : {POINT{200, 200}, {400, 200}, {400, 400}, {600, 400}})
        polyline.insert(polyline.end(), {At(p.x, p.y), At(p.x, p.y, WM_LBUTTONDOWN)});
    polyline.insert(polyline.end(), {At(600, 400, WM_LBUTTONDBLCLK), At(600, 400)});
    for (const auto& [tool, frames] : {std::pair{7703, polyline}, {7702, tooltest::Drag({{200, 500}, {600, 500}})}}) {
        UpdateWindow(shown.pane);
        SendPress(static_cast<int16_t>(tool), frames);
        UpdateWindow(shown.pane);
        const std::vector<COLORREF> repainted = vtest::ClientPixels(shown.pane);
        InvalidateRect(shown.pane, nullptr, TRUE);
        UpdateWindow(shown.pane);
        EXPECT_EQ(Changed(repainted, vtest::ClientPixels(shown.pane)), 0u) << tool;
    }
}

// A toilet placed on a wall with the symbol libraries of a normal start-up, selected by a
// click and dragged from its middle along the wall, ends under the pointer: on vertical
// and horizontal walls near to and far from the plan's origin, either way, also on a
// coarse snap grid; a click on it leaves it where it is.
TEST_F(PlanPress, AWallFixtureDraggedAlongItsWallEndsUnderThePointer)
{
    struct Libraries {
        ~Libraries() { vtest::FreeSymbolLibraries(); }
    } libraries;
    ASSERT_TRUE(vtest::LoadShippedSymbolLibraries());
    // The wall's ends, the toilet's place on it, where its middle is dragged (plan units)
    // and the snap step of the plan.
    struct Case { vtest::Point3 start, end; float atX, atZ, toX, toZ, snap; } cases[] = {
        {{100, 0, -100}, {100, 0, 200}, 100, 50, 100, 150, 1},
        {{-300, 0, -250}, {-300, 0, 250}, -300, 0, -300, -120, 1},
        {{-350, 0, 250}, {350, 0, 250}, -100, 250, 50, 250, 1},
        {{20, 0, -40}, {320, 0, -40}, 250, -40, 150, -40, 1},
        {{-350, 0, 250}, {350, 0, 250}, 200, 250, 200, 250, 1},
        {{100, 0, -100}, {100, 0, 200}, 100, 50, 100, 150, 12},
    };
    for (const Case& c : cases) {
        document->settings->snapToGrid = 1;
        document->settings->snapStepX = document->settings->snapStepY = c.snap;
        PlanObject* wall = tooltest::AddWall(document->currentFloor, {c.start, c.end}, kCategoryFloorPlan);
        const POINT at = Client(c.atX, c.atZ);
        const POINT to = Client(c.toX, c.toZ);
        SendPress(7200, tooltest::Drag({at, at}));
        PlanObject* toilet = wall->firstChild;
        ASSERT_NE(toilet, nullptr);
        SendPress(200, tooltest::Drag({{5, 5}, {5, 5}}));   // nothing there: all deselected
        SendPress(200, tooltest::Drag({at, at}));
        ASSERT_TRUE(IsAnyPointSelected(toilet));
        SendPress(200, tooltest::Drag({at, {(at.x + to.x) / 2, (at.y + to.y) / 2}, to}));
        // Within the unit step of the drag, which rounds a point left of or above the
        // origin one unit toward it.
        const tooltest::PlanXZ a = tooltest::VertexXZ(toilet, 0), b = tooltest::VertexXZ(toilet, 1);
        EXPECT_NEAR((a.x + b.x) / 2, c.toX, 1.5f) << c.atX << ", " << c.atZ;
        EXPECT_NEAR((a.z + b.z) / 2, c.toZ, 1.5f) << c.atX << ", " << c.atZ;
        FreeFloorObjects(document->currentFloor);
    }
}

// A change of units (Ctrl+M) on the second storey keeps the working plane at the
// storey's base, 8 feet or 2.80 m: the pane shows that level in the new unit, and a wall
// drawn afterwards starts there.
TEST_F(PlanPress, AChangeOfUnitsKeepsTheWorkingPlaneOnItsStorey)
{
    vtest::DialogDriver driver;
    int walls = 0;
    for (float base : {96.0f, 110.236f}) {
        vtest::StoreyAt(document, 0)->height = base;
        SendMessageA(shown.frame, WM_COMMAND, 5276, 0);
        for (int radio : {3, 4, 3}) {
            SCOPED_TRACE(testing::Message() << base << " in, radio " << radio);
            driver.Queue([radio](HWND d) { vtest::Click(d, radio), vtest::Click(d, IDOK); });
            SendMessageA(shown.frame, WM_COMMAND, 5011, 0);
            EXPECT_FLOAT_EQ(document->settings->workingElevation, base);
            EXPECT_NEAR(elevationWholeStep ? elevationArrowIndex : elevationPaneValue,
                        22.0f - (radio == 4 ? base / 39.37f : base / 12.0f), 0.01f);
            const int x = -300 + 60 * walls++;
            SendPress(7051, tooltest::Drag({Client(x, -100), Client(x, 100)}));
            PlanObject* wall = document->currentFloor->firstObject;
            while (wall && wall->next)
                wall = wall->next;
            ASSERT_EQ(vtest::CountFloorObjects(document->currentFloor), walls);
            EXPECT_FLOAT_EQ(wall->firstVertex->segmentElevation, base);
        }
    }
}

// The pane as the drag shows it at its last poll with the button held (or once the frame
// before the given one is taken): with the ghost.
struct GhostTape : tooltest::TapeInput {
    GhostTape(HWND pane, std::vector<Frame> frames, size_t held = 0)
        : TapeInput(pane, frames), pane(pane), held(held ? held : frames.size() - 2) {}
    BOOL CursorPos(POINT* screen) override
    {
        if (Taken() == held)
            ghost = vtest::ClientPixels(pane);
        return TapeInput::CursorPos(screen);
    }
    HWND pane;
    size_t held;
    std::vector<COLORREF> ghost;
};

// A toilet and a bath placed on a horizontal and a vertical wall, on either side, then
// dragged along it with the select tool: the ghost of the placing and of the drag covers
// the lines of the symbol where the element lands (its captions left out: the inverting
// mode that redraws the lines leaves text alone), and a refit of the wall leaves the
// element's point off the wall where it is.
TEST_F(PlanPress, AWallFixtureGhostIsDrawnWhereItLands)
{
    ASSERT_TRUE(vtest::LoadShippedSymbolLibraries());
    struct Case { int16_t tool; vtest::Point3 start, end; float atX, atZ, toX, toZ; } cases[] = {
        {7200, {-300, 0, 100}, {300, 0, 100}, -100, 98, 60, 100}, {7205, {-300, 0, 100}, {300, 0, 100}, 0, 102, -90, 100},
        {7200, {100, 0, -250}, {100, 0, 250}, 102, 0, 100, 120}, {7205, {100, 0, -250}, {100, 0, 250}, 98, -40, 100, 80}};
    for (const Case& c : cases) {
        PlanObject* wall = tooltest::AddWall(document->currentFloor, {c.start, c.end}, kCategoryFloorPlan);
        POINT at = Client(c.atX, c.atZ), to = at;
        for (int16_t tool : {c.tool, int16_t(200)}) {
            if (PlanObject* placed = wall->firstChild) {   // selected by a click on its middle
                const tooltest::PlanXZ a = tooltest::VertexXZ(placed, 0), b = tooltest::VertexXZ(placed, 1);
                at = Client((a.x + b.x) / 2, (a.z + b.z) / 2);
                to = Client(c.toX, c.toZ);
                SendPress(200, tooltest::Drag({at, at}));
            }
            UpdateWindow(shown.pane);
            const std::vector<COLORREF> before = vtest::ClientPixels(shown.pane);
            GhostTape tape(shown.pane, tooltest::Drag({at, to, to}));
            tooltest::InputScope scope(&tape);
            currentToolId = tool;
            SendMessageA(shown.pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
            PlanObject* element = wall->firstChild;
            ASSERT_TRUE(element && !tape.ghost.empty()) << tool;
            UpdateWindow(shown.pane);
            std::vector<COLORREF> drawn[3] = {vtest::ClientPixels(shown.pane)};
            HDC dc = GetDC(shown.pane);
            const int mode = GetROP2(dc);
            for (int pass : {1, 2}) {
                SetROP2(dc, pass == 1 ? R2_NOP : R2_NOT);
                DrawWallElementSymbol(dc, element, element->subType);
                drawn[pass] = vtest::ClientPixels(shown.pane);
            }
            SetROP2(dc, mode);
            ReleaseDC(shown.pane, dc);
            size_t lines = 0, covered = 0;
            for (size_t i = 0; i < before.size(); ++i)
                if (drawn[0][i] == drawn[1][i] && drawn[1][i] != drawn[2][i])
                    ++lines, covered += tape.ghost[i] != before[i];
            EXPECT_GT(lines, 100u);
            EXPECT_GE(covered * 10, lines * 9) << c.tool << " by " << tool << ": " << covered << " of " << lines;
            const tooltest::PlanXZ off = tooltest::VertexXZ(element, 2);
            FitWallOpenings(wall);
            EXPECT_LT(std::hypot(tooltest::VertexXZ(element, 2).x - off.x, tooltest::VertexXZ(element, 2).z - off.z), 1e-3f)
                << c.tool << " by " << tool;
            InvalidateRect(shown.pane, nullptr, TRUE);
        }
        FreeFloorObjects(document->currentFloor);
    }
    vtest::FreeSymbolLibraries();
}

// Each tool's preview, at zoom 0.6, 1 and 1.5 with the view moved well away from the
// plan's origin, passes where the object it makes lies: a drawn line, a roof, a sloped
// plot, an air duct (an arrow mark and a side), a sprinkler's two radii, a freehand
// roof's rubber band and then its arrow turned, a window along a wall, a wall element of
// a code that has no size of its own dragged along its wall.
TEST_F(PlanPress, ToolPreviewsLieWhereTheirObjectsLand)
{
    using tooltest::At;
    enum Gesture { kDrag, kSpray, kClicks, kArrow, kOnWall, kElement };
    // A point of the made object: along the segment between two of its vertices (negative
    // from the end), then across it (plan units).
    struct Probe { int from, to; float t, across; };
    struct Case { int16_t tool; Gesture gesture; POINT a, b; Probe probes[2]; } cases[] = {
        {7702, kDrag, {-200, -120}, {150, 40}, {{0, 1, 0.3f, 0}, {0, 1, 0.7f, 0}}},
        {7301, kDrag, {-200, -120}, {150, 40}, {{0, 1, 0.3f, 0}, {0, 1, 0.7f, 0}}},
        {7509, kDrag, {-200, -120}, {150, 40}, {{0, 1, 0.3f, 0}, {0, 1, 0.7f, 0}}},
        {7400, kDrag, {-200, -120}, {150, -120}, {{0, 1, 0.25f, 0}, {0, 1, 0.375f, 6}}},
        {7508, kSpray, {-100, 0}, {50, 0}, {{-1, 0, 0.5f, 0}, {-2, -1, 0.5f, 0}}},
        {7306, kClicks, {-200, -120}, {150, -100}, {{0, 1, 0.3f, 0}, {0, 1, 0.7f, 0}}},
        {200, kArrow, {}, {}, {{0, 1, 0.15f, 0}, {0, 1, 0.85f, 0}}},
        {7054, kOnWall, {-100, 60}, {80, 60}, {{0, 1, 0.3f, 0}, {0, 1, 0.7f, 0}}},
        {200, kElement, {-100, 160}, {80, 160}, {{0, 1, 0.5f, 0}, {0, 1, 0.5f, 0}}},   // its short line's start
    };
    RECT client;
    GetClientRect(shown.pane, &client);
    auto last = [this]() {
        PlanObject* o = document->currentFloor->firstObject;
        while (o && o->next)
            o = o->next;
        return o;
    };
    for (float zoom : {0.6f, 1.0f, 1.5f}) {
        document->settings->zoom = zoom;
        viewOrigin = ViewPoint{400.0f * zoom, -96.0f * zoom, 300.0f * zoom};
        auto pixel = [&](float x, float z) {
            float y = 0.0f, x2 = x, y2 = 0.0f, z2 = z;
            ProjectSegmentToView(&x, &y, &z, &x2, &y2, &z2, perspectiveOn);
            return Client(x, y);
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.tool << " at zoom " << zoom);
            POINT a = Client(c.a.x, c.a.y), b = Client(c.b.x, c.b.y);
            const POINT d = {b.x, b.y + 100}, e = {a.x, a.y + 100};
            std::vector<Frame> frames = tooltest::Drag({a, a, b, b});
            size_t held = 0;   // the last poll with the button held
            if (c.gesture == kSpray) {   // the angle shown at d, then a click there
                frames = tooltest::Drag({a, b});
                frames.insert(frames.end(), {At(b.x, b.y), At(d.x, d.y), At(d.x, d.y), At(d.x, d.y, WM_LBUTTONDOWN),
                                             At(d.x, d.y), At(d.x, d.y)});
                held = 5;
            } else if (c.gesture == kClicks) {   // the rubber band shown to b, then corners b, d, e
                frames = tooltest::Clicks(a, {At(b.x, b.y), At(b.x, b.y), At(b.x, b.y, WM_LBUTTONDOWN),
                                              At(d.x, d.y, WM_LBUTTONDOWN), At(e.x, e.y, WM_LBUTTONDBLCLK),
                                              At(e.x, e.y), At(e.x, e.y), At(e.x, e.y), At(e.x, e.y)});
                held = 4;
            } else if (c.gesture == kArrow) {   // its second end turned a quarter round its middle
                const tooltest::PlanXZ p = tooltest::VertexXZ(last()->firstChild, 0), q = tooltest::VertexXZ(last()->firstChild, 1);
                a = pixel(q.x, q.z);
                b = pixel((p.x + q.x) / 2 + 60, (p.z + q.z) / 2);
                frames = tooltest::Drag({a, a, b, b});
                SendPress(200, tooltest::Drag({a, a}));
            } else if (c.gesture >= kOnWall) {
                SendPress(7051, tooltest::Drag({{a.x - 150, a.y}, {b.x + 150, a.y}}));
                if (c.gesture == kElement) {   // a toilet, its code then one the size table lacks
                    SendPress(7200, tooltest::Drag({a, a}));
                    last()->firstChild->subType = 0;
                    SendPress(200, tooltest::Drag({a, a}));
                }
            }
            UpdateWindow(shown.pane);
            const std::vector<COLORREF> before = vtest::ClientPixels(shown.pane);
            GhostTape tape(shown.pane, frames, held);
            tooltest::InputScope scope(&tape);
            currentToolId = c.tool;
            SendMessageA(shown.pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(a.x, a.y));
            PlanObject* made = c.gesture >= kArrow ? last()->firstChild : last();
            ASSERT_TRUE(made && !tape.ghost.empty());
            const int count = CountVertexChain(made);
            for (const Probe& p : c.probes) {
                const tooltest::PlanXZ u = tooltest::VertexXZ(made, (p.from + count) % count);
                const tooltest::PlanXZ v = tooltest::VertexXZ(made, (p.to + count) % count);
                const float length = std::hypot(v.x - u.x, v.z - u.z);
                const POINT at = pixel(u.x + (v.x - u.x) * p.t - (v.z - u.z) / length * p.across,
                                       u.z + (v.z - u.z) * p.t + (v.x - u.x) / length * p.across);
                bool passes = false;   // within two pixels
                for (int dy = -2; dy <= 2; ++dy)
                    for (int dx = -2; dx <= 2; ++dx) {
                        const size_t i = static_cast<size_t>(at.y + dy) * client.right + at.x + dx;
                        passes = passes || (i < before.size() && tape.ghost[i] != before[i]);
                    }
                EXPECT_TRUE(passes) << p.t << " of " << p.from << "-" << p.to << " at pixel " << at.x << ", " << at.y;
            }
            InvalidateRect(shown.pane, nullptr, TRUE);
        }
        FreeFloorObjects(document->currentFloor);
    }
}

// The first-storey object whose first vertex is at the plan point.
PlanObject* ObjectAt(PlanDocument* document, float x, float z)
{
    for (PlanObject* o = document->currentFloor->firstObject; o; o = o->next)
        if (o->firstVertex && o->firstVertex->position[0] == x && o->firstVertex->position[2] == z)
            return o;
    return nullptr;
}

// The sample house, as a user opens it: a bath sits in the inner wall from (0, 0) to
// (480, 0). Its model is rebuilt whenever that wall's openings are refitted, which
// most edits do.
class SampleHouse : public PlanPress {
protected:
    void SetUp() override
    {
        PlanPress::SetUp();
        ASSERT_TRUE(vtest::LoadShippedSymbolLibraries());
        ASSERT_TRUE(LoadPlanFile(vtest::SourceFilePath("samples/house.ZRO").c_str()));
        PlanSettings* s = document->settings;
        s->zoom = 1.0f;
        houseScale = s->drawingScale;
        s->drawingScale = 72.0f;
        s->snapToGrid = 0;
        bathWall = ObjectAt(document, 0, 0);
        ASSERT_TRUE(bathWall && bathWall->firstChild && bathWall->firstChild->firstPart);
        SetSelectionAllFloors(document->firstFloor, 2, 0);
    }
    void TearDown() override
    {
        PlanPress::TearDown();
        vtest::FreeSymbolLibraries();
    }
    PlanObject* bathWall = nullptr;
    float houseScale = 0.0f;   // the plan's own drawing scale
};

// Each opening's and deck step's points from its owner's first point, and its distance
// along its side, in hundredths.
std::vector<long> OpeningPlaces(PlanDocument* document)
{
    std::vector<long> places;
    for (PlanObject* o = document->currentFloor->firstObject; o; o = o->next)
        for (PlanObject* c = IsOpeningType(o->type) ? nullptr : o->firstChild; c; c = c->next) {
            if (!IsOpeningType(c->type))
                continue;
            places.push_back(std::lround(static_cast<OpeningRecord*>(c->link)->distanceFromStart * 100));
            for (PlanVertex* v = c->firstVertex; v; v = v->next)
                for (int axis : {0, 2})
                    places.push_back(std::lround((v->position[axis] - o->firstVertex->position[axis]) * 100));
        }
    return places;
}

// Checks that every opening's polygons in the 3D view lie between the lowest and highest
// point of its wall's own faces; returns the opening part types met.
std::set<int16_t> ExpectOpeningsWithinTheirWalls(const std::string& step, size_t openings)
{
    std::map<PlanObject*, std::pair<float, float>> spans;   // lowest and highest y
    std::set<int16_t> types;
    for (ScenePolygon* p = sceneMeshes; p; p = p->next) {
        if (!p->buildOwner || p->buildOwner->type != ObjWall)
            continue;
        auto& span = spans.try_emplace(p->buildChild, 1e9f, -1e9f).first->second;
        types.insert(p->buildChild != p->buildOwner ? p->sourceType : 0);
        for (PolygonOutline* o = p->outlines; o; o = o->next)
            for (int32_t i = 0; i < o->vertexCount; ++i)
                span = {std::min(span.first, o->vertices[i].y), std::max(span.second, o->vertices[i].y)};
    }
    size_t count = 0;
    for (const auto& [child, span] : spans) {
        if (child->type == ObjWall)
            continue;
        const auto wall = spans[child->owner];
        EXPECT_TRUE(span.first >= wall.first - 0.01f && span.second <= wall.second + 0.01f)
            << step << ", type " << child->type << " from " << span.first << " to " << span.second << ", its wall from "
            << wall.first << " to " << wall.second;
        ++count;
    }
    EXPECT_EQ(count, openings) << step;
    return types;
}

} // namespace

// Select all and a nudge move every object of the plan, the ones after the bath's wall too.
TEST_F(SampleHouse, SelectAllAndANudgeMoveEveryObject)
{
    std::vector<std::pair<PlanObject*, float>> before;
    for (PlanObject* o = document->currentFloor->firstObject; o; o = o->next)
        before.push_back({o, o->firstVertex->position[0]});
    ASSERT_EQ(before.size(), 8u);
    SendMessageA(shown.frame, WM_COMMAND, 5003, 0);
    SendMessageA(shown.pane, WM_KEYDOWN, VK_RIGHT, 0);
    const float step = before[0].first->firstVertex->position[0] - before[0].second;
    EXPECT_GT(step, 0.0f);
    for (const auto& [object, x] : before) {
        EXPECT_FLOAT_EQ(object->firstVertex->position[0], x + step) << object->type;
        EXPECT_TRUE(IsAnyPointSelected(object)) << object->type;
    }
}

// The bath's wall dragged with the select tool stays selected and Ctrl+Z puts it back;
// a copy of the table pasted twice lands 36, then 72 further, selected each time; a WC
// placed on the hall wall is selected.
TEST_F(SampleHouse, EditsNearABathKeepTheirSelection)
{
    currentToolId = 200;
    Press(tooltest::Drag({Client(240, 0)}));
    ASSERT_TRUE(IsAnyPointSelected(bathWall));
    Press(tooltest::Drag({Client(240, 0), Client(240, 30), Client(240, 60)}));
    EXPECT_TRUE(IsAnyPointSelected(bathWall));
    EXPECT_FLOAT_EQ(bathWall->firstVertex->position[2], 60.0f);
    SendMessageA(shown.frame, WM_COMMAND, 16, 0);
    EXPECT_FLOAT_EQ(bathWall->firstVertex->position[2], 0.0f);

    PlanObject* table = ObjectAt(document, -300, -120);
    ASSERT_NE(table, nullptr);
    SetSelectionAllFloors(document->firstFloor, 2, 0);
    SelectObjectAndDrawHandles(table, 1, 0);
    SendMessageA(shown.frame, WM_COMMAND, 19, 0);
    for (float offset : {36.0f, 72.0f}) {
        SendMessageA(shown.frame, WM_COMMAND, 20, 0);
        PlanObject* copy = ObjectAt(document, -300 + offset, -120 + offset);
        ASSERT_NE(copy, nullptr) << offset;
        EXPECT_TRUE(IsAnyPointSelected(copy)) << offset;
        EXPECT_FALSE(IsAnyPointSelected(table)) << offset;
    }

    PlanObject* hall = ObjectAt(document, 0, -360);
    ASSERT_NE(hall, nullptr);
    SendPress(7200, tooltest::Drag({Client(0, -200)}));
    PlanObject* wc = hall->firstChild;
    while (wc && wc->type != ObjWallElement)
        wc = wc->next;
    ASSERT_NE(wc, nullptr);
    EXPECT_TRUE(IsAnyPointSelected(wc));
}

// A stepped deck in the house selected with its steps, select all and each arrow, with
// and without the snap: every door, window, fixture and deck step moves with its wall or
// deck, keeps its distance along its side, and the reopened plan shows it there.
TEST_F(SampleHouse, AnArrowMovesOpeningsAndDeckStepsOnceWithTheirOwner)
{
    PlanObject* deck = vtest::MakePointObject(ObjDeck, document->currentFloor,
                                              {{-440, -30, 200}, {-320, -30, 200}, {-320, -30, 320}, {-440, -30, 320}}, 0, 1);
    deck->parameters[0] = 30.0f;
    deck->category = kCategoryDeck;
    BuildKind53OnSegment(deck, deck->firstVertex, deck->firstVertex->next);
    RebuildDeck(deck);
    document->settings->snapStepX = document->settings->snapStepY = 12.0f;
    for (const bool snap : {false, true})
        for (const WPARAM key : {VK_RIGHT, VK_LEFT, VK_UP, VK_DOWN}) {
            if ((document->settings->snapToGrid != 0) != snap)
                SendMessageA(shown.frame, WM_COMMAND, 5045, 0);   // Ctrl+R
            const std::vector<long> before = OpeningPlaces(document);
            ASSERT_EQ(before.size(), 25u);   // five openings with their ten points
            for (deck = document->currentFloor->firstObject; deck->type != ObjDeck;)
                deck = deck->next;
            SelectObjectAndDrawHandles(deck, 1, 0);   // as a click on it does
            SendMessageA(shown.frame, WM_COMMAND, 5003, 0);
            SendMessageA(shown.pane, WM_KEYDOWN, key, 0);
            const std::vector<long> shownPlaces = OpeningPlaces(document);
            EXPECT_EQ(shownPlaces, before) << key << (snap ? " snapped" : "");
            ASSERT_TRUE(SavePlanFile("nudged.ZRO") && LoadPlanFile("nudged.ZRO"));
            EXPECT_EQ(OpeningPlaces(document), shownPlaces) << key << (snap ? " snapped, reopened" : ", reopened");
        }
}

// In the 3D view every part of a door, window or fixture stands within its wall's
// height: on the ground floor; after the object elevation command on two inner walls;
// on a wall drawn on the second storey with a door, a window with glazing bars and a
// bath; after the house is moved up a storey.
TEST_F(SampleHouse, OpeningsStandWithinTheirWallsIn3D)
{
    PlanSettings* s = document->settings;
    s->drawingScale = houseScale;   // the scale its doors and walls were drawn for
    s->doorStyle = 501;
    s->windowStyle = 600;
    s->windowBarsAcross = s->windowBarsDown = 2;
    SendMessageA(shown.frame, WM_COMMAND, 5270, 0);   // "Vue 3D"
    auto place = [&](int16_t tool, float z, tooltest::Frame after) {
        std::vector<tooltest::Frame> frames = tooltest::Drag({Client(-400, z)});
        frames.insert(frames.end(), {after, after, after});
        SendPress(tool, frames);
    };
    struct Step { const char* name; size_t openings; std::function<void()> run; } steps[] = {
        {"ground floor", 4, [] {}},
        {"raised walls", 4, [&] {
            SelectObjectAndDrawHandles(bathWall, 1, 0);
            SelectObjectAndDrawHandles(ObjectAt(document, 0, -360), 1, 0);
            auto raise = vtest::ModalDriver::ForDialog("Définir l'élévation", [](HWND d) {
                SetDlgItemTextA(d, 5, "30");
                PostMessageA(d, WM_COMMAND, IDOK, 0);
            });
            SendMessageA(shown.frame, WM_COMMAND, 5271, 0);
            raise.join();
        }},
        {"second storey", 7, [&] {
            SendMessageA(shown.frame, WM_COMMAND, 5276, 0);
            viewOrigin.y = -96.0f;   // the fixture's view, which the change of storey resets
            SendPress(7051, tooltest::Drag({Client(-400, -300), Client(-400, 300)}));
            const POINT swing = Client(-380, -140);
            place(7053, -150, tooltest::At(swing.x, swing.y, WM_LBUTTONDOWN));
            place(7054, 0, tooltest::At(0, 0));
            place(7205, 150, tooltest::At(0, 0));
            SendMessageA(shown.frame, WM_COMMAND, 5275, 0);
        }},
        {"moved up", 7, [&] {
            SendMessageA(shown.frame, WM_COMMAND, 5003, 0);
            SendMessageA(shown.frame, WM_COMMAND, 5168, 0);
        }},
    };
    for (const Step& step : steps) {
        step.run();
        const std::set<int16_t> types = ExpectOpeningsWithinTheirWalls(step.name, step.openings);
        EXPECT_TRUE(types.count(ObjOpeningFrame) && types.count(ObjWallElementPart) &&
                    types.count(ObjGlazingBars) == (step.openings == 7)) << step.name;
    }
}

// After a drag of the bath's wall, another edit or a change of the selection leaves
// nothing to undo: the menu greys it and Ctrl+Z moves nothing (the drag's own: above).
TEST_F(SampleHouse, AnEditAfterADragLeavesNothingToUndo)
{
    vtest::DialogDriver dialogs;
    auto send = [&](WPARAM command) { SendMessageA(shown.frame, WM_COMMAND, command, 0); };
    auto ok = [&](WPARAM command) { dialogs.Queue([](HWND d) { vtest::Click(d, IDOK); }); send(command); };
    auto points = [&](std::vector<float> at = {}) {
        for (PlanObject* o = document->currentFloor->firstObject; o; o = o->next)
            at.insert(at.end(), {o->firstVertex->position[0], o->firstVertex->position[2]});
        return at;
    };
    // Select all, the Move and wall dialogs, the storeys menu, a nudge, a press, a paste.
    const std::function<void()> roads[] = {
        [&] { send(5003); }, [&] { ok(5215); }, [&] { ok(5172); }, [&] { send(5275); },
        [&] { SendMessageA(shown.pane, WM_KEYDOWN, VK_RIGHT, 0); },
        [&] { Press(tooltest::Drag({Client(0, -200)})); }, [&] { send(19); send(20); }};
    currentToolId = 200;
    for (const auto& road : roads) {
        const float z = bathWall->firstVertex->position[2];
        SetSelectionAllFloors(document->firstFloor, 2, 0);
        Press(tooltest::Drag({Client(240, z)}));
        Press(tooltest::Drag({Client(240, z), Client(240, z + 15), Client(240, z + 30)}));
        road();
        SendMessageA(shown.frame, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(shown.frame)), 0);
        EXPECT_TRUE(GetMenuState(GetMenu(shown.frame), 16, MF_BYCOMMAND) & MF_GRAYED) << &road - roads;
        const std::vector<float> before = points();
        send(16);
        EXPECT_EQ(points(), before) << &road - roads;
    }
}

namespace {

// The path the Open and Save as dialogs are answered with.
std::string answeredPath;
BOOL AnswerFileDialog(OPENFILENAMEA* record, bool, void*)
{
    lstrcpynA(record->lpstrFile, answeredPath.c_str(), static_cast<int>(record->nMaxFile));
    return TRUE;
}

// Each point of the objects and their children: x, height, z and its selected flag.
void AddPoints(const PlanObject* object, std::vector<float>& points)
{
    for (; object; object = object->next) {
        for (const PlanVertex* v = object->firstVertex; v; v = v->next)
            points.insert(points.end(), {v->position[0], v->position[1], v->position[2], 1.0f * v->selected});
        AddPoints(object->firstChild, points);
    }
}

} // namespace

// The sample house opened anew and left for the second storey by each road: everything
// selected, then the storeys dialog hiding the ground storey while the next becomes
// current and showing it again; a copy pasted while the next storey is current; the
// storeys menu (the control); a selection kept on the ground storey in the saved file.
// The roads leave nothing selected there; a click on empty space, an arrow and Delete on
// the current storey, and again (arrow and Delete) in the plan saved and reopened, leave
// every ground point where it was, none selected.
TEST_F(SampleHouse, EditsOnTheCurrentStoreyLeaveTheOthersAlone)
{
    vtest::DialogDriver driver;
    vtest::MessageBoxRecorder boxes;
    SetFileDialogHook(AnswerFileDialog, nullptr);
    auto command = [&](int id) { SendMessageA(shown.frame, WM_COMMAND, id, 0); };
    auto ground = [](bool unselected = false) {
        std::vector<float> points;
        AddPoints(FindFloorByName("First Floor")->firstObject, points);
        for (size_t i = 3; unselected && i < points.size(); i += 4)
            points[i] = 0.0f;
        return points;
    };
    const struct {
        const char* road;
        std::function<void()> leave;
        bool selectedByHand = false;
    } roads[] = {
        {"storeys dialog", [&] {
            command(5003);
            driver.Queue([](HWND d) { vtest::Click(d, 18), vtest::Click(d, 22), vtest::Click(d, IDOK); });
            command(5178);
            driver.Queue([](HWND d) { vtest::Click(d, 18), vtest::Click(d, IDOK); });
            command(5178);
        }},
        {"paste", [&] { command(5003), command(19), command(5276), command(20); }},
        {"storeys menu", [&] { command(5003), command(5276); }},
        {"saved selection", [&] {
            command(5276);
            for (PlanObject* o = FindFloorByName("First Floor")->firstObject; o; o = o->next)
                SetAllPointsSelected(o, 1);
        }, true},
    };
    for (const auto& road : roads) {
        answeredPath = vtest::SourceFilePath("samples/house.ZRO");
        command(3);
        road.leave();
        EXPECT_TRUE(road.selectedByHand || ground() == ground(true)) << road.road;
        answeredPath = vtest::CurrentDirectory() + "\\STOREYS.ZRO";
        command(6);
        for (bool reopened : {false, true}) {
            SCOPED_TRACE(testing::Message() << road.road << (reopened ? ", reopened" : ""));
            const std::vector<float> unselected = ground(true);
            shown.pane = activePlanPane;
            if (!reopened)
                SendPress(200, tooltest::Drag({{60, 60}, {60, 60}}));
            SendMessageA(shown.pane, WM_KEYDOWN, VK_RIGHT, 0);
            SendMessageA(shown.pane, WM_KEYDOWN, VK_DELETE, 0);
            EXPECT_EQ(ground(), unselected);
            if (!reopened)
                command(3);
        }
    }
    SetFileDialogHook(nullptr, nullptr);
}

// A plan saved, opened and saved again is the same file but for the modified flag, which
// a save writes before it clears it: after select all and an arrow, and after each tool
// that makes an object (a drag with maybe a click after it, or an outline of clicks).
TEST_F(SampleHouse, APlanSavedOpenedAndSavedAgainIsTheSameFile)
{
    auto at = [&](POINT p, UINT post = 0) { const POINT c = Client(p.x, p.y); return tooltest::At(c.x, c.y, post); };
    // Drags, some with a click after the release; then outlines of clicks.
    const struct { int16_t tool; bool outline; std::vector<POINT> p; } cases[] = {{0, false, {}},
        {202, 0, {{40, 80}, {240, 80}, {140, 50}}}, {203, 0, {{40, 300}, {200, 330}}}, {7001, 0, {{40, 100}, {240, 100}}},
        {7002, 0, {{60, 120}, {60, 120}}}, {7003, 0, {{40, 140}, {240, 140}}}, {7004, 0, {{40, 160}, {240, 160}}},
        {7051, 0, {{40, 180}, {240, 180}}}, {7108, 0, {{40, 200}, {70, 220}}}, {7102, 0, {{100, 250}, {100, 250}}},
        {7400, 0, {{40, 240}, {240, 240}}}, {7509, 0, {{1000, 200}, {1100, 250}}}, {7503, 0, {{800, 0}, {900, 100}}},
        {7700, 0, {{40, 260}, {100, 300}}}, {7701, 0, {{120, 260}, {180, 300}}}, {7702, 0, {{200, 260}, {260, 300}}},
        {7704, 0, {{120, 310}, {160, 340}}}, {7706, 0, {{260, 320}, {280, 320}}}, {7300, 0, {{-440, 400}, {-300, 480}}},
        {7054, 0, {{-480, 0}, {-480, 0}}}, {7205, 0, {{-480, 250}, {-480, 250}}},
        {7053, 0, {{-480, -150}, {-480, -150}, {-460, -140}}}, {7056, 0, {{-200, 200}, {-200, 200}, {-170, 220}}},
        {7705, 0, {{200, 310}, {230, 310}, {200, 280}}}, {7508, 0, {{1000, 0}, {1030, 0}, {1000, -30}}},
        {7000, 1, {{-440, 100}, {-360, 100}, {-360, 200}, {-440, 200}}},
        {7055, 1, {{-440, 220}, {-400, 220}, {-400, 300}, {-440, 300}}},
        {7057, 1, {{-440, -300}, {-400, -300}, {-400, -250}, {-440, -250}}},
        {7058, 1, {{-200, -250}, {-170, -230}, {-140, -250}, {-140, -300}}},
        {7059, 1, {{-100, -300}, {-60, -300}, {-60, -250}, {-100, -250}}},
        {7306, 1, {{-200, 400}, {-100, 400}, {-100, 480}, {-200, 480}}},
        {7500, 1, {{600, 0}, {700, 0}, {700, 100}, {600, 100}}}, {7501, 1, {{600, 200}, {700, 200}, {700, 300}, {600, 300}}},
        {7502, 1, {{600, -200}, {700, -200}, {700, -100}, {600, -100}}},
        {7504, 1, {{800, 200}, {900, 200}, {900, 300}, {800, 300}}},
        {7505, 1, {{800, -200}, {900, -200}, {900, -100}, {800, -100}}},
        {7510, 1, {{1000, -200}, {1100, -200}, {1100, -100}, {1000, -100}}},
        {7600, 1, {{600, 400}, {700, 400}, {700, 500}, {600, 500}}},
        {7703, 1, {{40, 320}, {100, 320}, {100, 340}, {140, 340}}},
        {7707, 1, {{300, 320}, {340, 320}, {340, 340}, {380, 340}}}};
    vtest::MessageBoxRecorder boxes;
    size_t size = 0;
    for (const auto& c : cases) {
        if (c.tool == 0) {
            SendMessageA(shown.frame, WM_COMMAND, 5003, 0);
            SendMessageA(shown.pane, WM_KEYDOWN, VK_RIGHT, 0);
        } else {
            const size_t released = c.outline ? 0 : 1;   // the press's own point for an outline
            std::vector<Frame> f = tooltest::Drag({Client(c.p[0].x, c.p[0].y), Client(c.p[released].x, c.p[released].y)});
            f.push_back(at(c.p[released]));   // where the tool's own loop first finds the pointer
            for (size_t i = released + 1; i < c.p.size(); ++i)
                f.insert(f.end(), {at(c.p[i]), at(c.p[i], c.outline && i + 1 == c.p.size() ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN)});
            f.insert(f.end(), 4, at(c.p.back()));
            SendPress(c.tool, f);
            SetSelectionAllFloors(document->firstFloor, kSelectDeselect, 0);   // a reader regroups dimensions unselected
        }
        ASSERT_TRUE(SavePlanFile("saved.ZRO") && LoadPlanFile("saved.ZRO") && SavePlanFile("again.ZRO"));
        std::vector<unsigned char> saved = vtest::ReadFileBytes("saved.ZRO"), again = vtest::ReadFileBytes("again.ZRO");
        EXPECT_TRUE(c.tool == 0 || saved.size() > size) << c.tool << " made nothing";
        size = saved.size();
        std::fill_n(saved.begin() + 10 + 1410, 4, 0);   // the flag, after the 10-byte header
        EXPECT_TRUE(saved == again) << c.tool;
    }
}
