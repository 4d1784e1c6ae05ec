// Plan symbols recorded in an enhanced metafile: doors and windows in their walls,
// fixtures from their templates, stairs, roofs and the measuring line. Top view, origin
// 0, zoom 1, scale 36 and the inch: a model point (x, h, z) shows at view (x, z), and a
// wall at z 100 keeps every device coordinate positive.
#include "support_drawing.h"
#include "support_plan.h"
#include "files/symbol_library.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "model/view_projection.h"
#include "model3d/stairs.h"
#include "planview/fixture_symbols.h"
#include "planview/measuring_line.h"
#include "planview/opening_symbols.h"
#include "planview/output_routing.h"
#include "planview/roof_outlines.h"
#include "shell/app_globals.h"
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using vtest::MetafileRecorder;
using vtest::RecordedLine;

namespace {

using Texts = std::vector<std::string>;

bool HasLine(MetafileRecorder& record, int x1, int y1, int x2, int y2, UINT style = 0xFFFF)
{
    for (const RecordedLine& l : record.Lines())
        if (l.from.x == x1 && l.from.y == y1 && l.to.x == x2 && l.to.y == y2 &&
            (style == 0xFFFF || l.pen.lopnStyle == style))
            return true;
    return false;
}

bool HasEnd(MetafileRecorder& record, int x, int y)
{
    for (const RecordedLine& l : record.Lines())
        if ((l.from.x == x && l.from.y == y) || (l.to.x == x && l.to.y == y))
            return true;
    return false;
}

bool HasText(MetafileRecorder& record, const std::string& text)
{
    const Texts texts = record.TextStrings();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class SymbolsTest : public vtest::OutputStateTest {
protected:
    void SetUp() override
    {
        OutputStateTest::SetUp();
        Settings()->drawingScale = 36.0f;
        Settings()->drawingUnit = 1;
        Settings()->dimensionDrawing = 1;
        Settings()->snapToGrid = 0;
        savedFont = dimensionLogFont;
        dimensionLogFont = LOGFONTA{};
        dimensionLogFont.lfHeight = -16;
        strcpy(dimensionLogFont.lfFaceName, "Arial");
        wall = AddObject(ObjWall, {{0, 0, 100}, {240, 0, 100}});
        wall->size = 6.0f;   // 12 plan units: 6 either side of the centre line
    }
    void TearDown() override
    {
        dimensionLogFont = savedFont;
        OutputStateTest::TearDown();
    }
    // An opening on the wall from x1 to x2 with its record.
    OpeningRecord* AddOpening(uint16_t type, float x1, float x2)
    {
        PlanObject* opening = AddChild(wall, type, {{x1, 0, 100}, {x2, 0, 100}});
        OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
        record->typeCopy = type;
        record->startVertex = Vertex(wall, 0);
        record->endVertex = Vertex(wall, 1);
        record->width = x2 - x1;
        opening->link = record;
        last = opening;
        return record;
    }
    PlanObject* wall = nullptr;
    PlanObject* last = nullptr;
    LOGFONTA savedFont{};
};

// A door 72 wide from 25 to 97, hinged at 25: the cut 3 beyond each face, the dotted
// centre line, and the leaf and arc of the swing by its sense.
TEST_F(SymbolsTest, DoorCutCentreLineAndSwing)
{
    struct Case {
        float swing;
        uint16_t flags;
        bool drawn;
        int leafY1, leafY2, arcEndY;
    } cases[] = {
        {1.5707964f, 4, true, 95, 23, 31},      // a quarter turn counter-clockwise
        {1.5707964f, 0, false, 0, 0, 0},        // the same sweep clockwise: three quarters
        {-1.5707964f, 0, true, 105, 177, 169},  // clockwise to the other side
    };
    for (const Case& c : cases) {
        OpeningRecord* door = AddOpening(ObjDoor, 25, 97);
        door->style = 501;
        door->hingeSide = 1;
        door->swingAngle = c.swing;
        door->flags = c.flags;
        MetafileRecorder record;
        DrawDoorSymbol(record.dc(), last, nullptr, 0, nullptr);
        ASSERT_FALSE(record.Polygons().empty());
        const std::vector<POINT>& cut = record.Polygons()[0].points;
        ASSERT_EQ(cut.size(), 4u);
        const POINT corners[4] = {{25, 91}, {97, 91}, {97, 109}, {25, 109}};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(cut[i].x, corners[i].x);
            EXPECT_EQ(cut[i].y, corners[i].y);
        }
        EXPECT_EQ(record.Polygons()[0].brush.lbColor, RGB(248, 248, 255));   // the plan background
        EXPECT_TRUE(HasLine(record, 25, 100, 97, 100, PS_DOT));
        EXPECT_EQ(HasLine(record, 25, c.leafY1, 25, c.leafY2, PS_SOLID), c.drawn) << c.swing;
        EXPECT_EQ(HasEnd(record, 94, 100) && HasEnd(record, 25, c.arcEndY), c.drawn) << c.swing;
        if (!c.drawn) {
            EXPECT_EQ(record.Lines().size(), 1u);
        }
        FreeObject(last);
    }
}

// Printing: the cut white, the lines black; a window only in the top view.
TEST_F(SymbolsTest, PrintedDoorAndWindow)
{
    Settings()->backgroundColour = {0, 0, 65535};
    OpeningRecord* door = AddOpening(ObjDoor, 25, 97);
    door->style = 503;   // centre line and the garage track
    door->height = 40.0f;
    PlanObject* doorObject = last;
    AddOpening(ObjWindow, 140, 200);
    MetafileRecorder record;
    planDC = record.dc();
    planOutputMode = 1;
    DrawDoorSymbol(record.dc(), doorObject, nullptr, 0, nullptr);
    DrawWindowSymbol(record.dc(), last, nullptr, 0, nullptr);
    planOutputMode = 0;
    planDC = nullptr;
    ASSERT_EQ(record.Polygons().size(), 2u);
    for (const vtest::RecordedPolygon& p : record.Polygons())
        EXPECT_EQ(p.brush.lbColor, RGB(255, 255, 255));
    EXPECT_EQ(record.Polygons()[1].pen.lopnColor, RGB(0, 0, 0));
    EXPECT_EQ(record.Polygons()[1].points[0].x, 200);   // the window from J2: 6 + 4 beyond
    EXPECT_EQ(record.Polygons()[1].points[0].y, 110);
    for (const RecordedLine& l : record.Lines())
        EXPECT_EQ(l.pen.lopnColor, RGB(0, 0, 0));
    // The track, 40 deep on the side of hinge side 0, dashed.
    EXPECT_TRUE(HasLine(record, 25, 100, 25, 140, PS_DASH));
    EXPECT_TRUE(HasLine(record, 25, 140, 97, 140, PS_DASH));

    perspectiveOn = 1;
    MetafileRecorder perspective;
    DrawWindowSymbol(perspective.dc(), last, nullptr, 0, nullptr);
    perspectiveOn = 0;
    EXPECT_TRUE(perspective.Polygons().empty());
}

// A bath template drawn at 1 x 1 in an opening 60 inches wide, twice as wide in one of
// 120; codes without a plan symbol draw nothing even with a template.
TEST_F(SymbolsTest, BathFromItsTemplate)
{
    PlanObject* saved = symbolTemplates2D;
    PlanObject* templates[3] = {};
    const uint16_t codes[3] = {95, 68, 110};
    for (int i = 0; i < 3; ++i) {
        templates[i] = vtest::MakePointObject(codes[i], nullptr, {}, 0, 0);
        PlanObject* part = vtest::MakePointObject(codes[i], nullptr, {{-30, 0, 0}, {30, 0, 0}, {30, 0, 30}, {-30, 0, 30}}, 0, 1);
        vtest::AppendChildObject(templates[i], part);
        if (i > 0) {
            templates[i - 1]->next = templates[i];
            templates[i]->previous = templates[i - 1];
        }
    }
    symbolTemplates2D = templates[0];
    struct Case {
        uint32_t code;
        float width;
        int left, right;
        Texts texts;
    } cases[] = {
        {95, 120, 90, 150, {"1.52m.LUx0.76m.LA", "Vasca/Doccia"}},
        {95, 240, 60, 180, {"3.05m.LUx0.76m.LA", "Vasca/Doccia"}},
        {68, 120, 0, 0, {}},
        {110, 120, 0, 0, {}},
    };
    for (const Case& c : cases) {
        OpeningRecord* element = AddOpening(ObjWallElement, 120 - c.width / 2, 120 + c.width / 2);
        element->height = 60.0f;
        last->subType = c.code;
        MetafileRecorder record;
        DrawWallElementSymbol(record.dc(), last, c.code);
        // On the wall's lower face (z 106), reaching 30 into the room.
        EXPECT_EQ(record.Lines().size(), c.texts.empty() ? 0u : 4u) << c.code;
        if (!c.texts.empty()) {
            EXPECT_TRUE(HasLine(record, c.left, 106, c.right, 106)) << c.width;
            EXPECT_TRUE(HasLine(record, c.right, 136, c.left, 136)) << c.width;
        }
        EXPECT_EQ(record.TextStrings(), c.texts);
        FreeObject(last);
    }
    symbolTemplates2D = saved;
    FreeSymbolTemplates(templates[0]);
}

// The step caption counts the risers the stair is built with: the total height over the
// riser to the nearest whole number, halves up (96 / 7.5 and 96 / 7 round up, 100 / 7
// down, 96 / 8 and 3 / 7 agree with the whole part); a riser of 0 counts 1 and builds none.
TEST_F(SymbolsTest, StairCaptions)
{
    struct Case {
        float rise, riser;
        int risers;
    } cases[] = {{96, 7.5f, 13}, {96, 7, 14}, {100, 7, 14}, {96, 8, 12}, {3, 7, 1}, {96, 0, 1}, {96, -3, 1}};
    for (const Case& c : cases) {
        PlanObject* stair = AddObject(ObjStair, {{100, 0, 1000}, {100, 0, 100}});
        stair->subType = 800;
        const float parameters[5] = {36.0f, c.riser, 10.0f, 0.0f, c.rise};
        std::memcpy(stair->parameters, parameters, sizeof parameters);
        MetafileRecorder record;
        DrawStairSymbol(record.dc(), stair);
        EXPECT_EQ(record.TextStrings(), (Texts{"0.91 m.PR", std::to_string(c.risers) + "AS x 0.25 m.PS", "Su"}));
        RebuildStair(stair);
        int treads = 0;
        for (PlanObject* part = static_cast<PlanObject*>(stair->link); part; part = part->next)
            treads += part->type == 43;   // a tread
        EXPECT_EQ(treads, c.riser > 0 ? c.risers : 0) << c.rise << " / " << c.riser;
        FreeObject(stair);
    }
}

// A hip roof 480 by 240 of pitch 6 in feet: eaves, ends, four hips and the ridge between
// (120, 220) and (360, 220) carrying its height, 60 plan units (30 inches).
TEST_F(SymbolsTest, HipRoofOutline)
{
    Settings()->unitSystem = kUnitSystemFeetInches;
    PlanObject* roof = AddObject(ObjRoof, {{0, 0, 100}, {480, 0, 100}, {480, 0, 340}, {0, 0, 340}}, true);
    roof->styleOrTexture = 1;
    roof->size = 6.0f;
    MetafileRecorder record;
    DrawRoofOutline(record.dc(), roof);
    EXPECT_TRUE(HasLine(record, 120, 220, 360, 220));
    EXPECT_TRUE(HasLine(record, 0, 100, 120, 220));
    EXPECT_EQ(record.Lines().size(), 9u + 4u * 3u);   // and four pitch arrows
    EXPECT_TRUE(HasText(record, "10'-0\", Altezza colmo=2'-6\""));
    EXPECT_TRUE(HasText(record, "20'-0\""));   // the eaves
    const Texts texts = record.TextStrings();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "6"), 4);
}

// A pier is squared around its centre to its diameter; one of no diameter is left as
// it is (squaring would collapse it) and not drawn.
TEST_F(SymbolsTest, PierSquaredOnlyWithADiameter)
{
    struct Case {
        float diameter;
        float firstX;
        size_t ellipses;
    } cases[] = {{12.0f, 88.0f, 1}, {0.0f, 90.0f, 0}};   // radius 12 plan units about (100, 100)
    for (const Case& c : cases) {
        PlanObject* pier = AddObject(ObjPier, {{90, 0, 90}, {110, 0, 90}, {110, 0, 110}, {90, 0, 110}}, true);
        pier->parameters[0] = c.diameter;
        MetafileRecorder record;
        DrawPierSymbol(record.dc(), pier);
        EXPECT_EQ(record.Ellipses().size(), c.ellipses);
        EXPECT_FLOAT_EQ(Vertex(pier, 0)->position[0], c.firstX);
        FreeObject(pier);
    }
}

// The ruler from (100, 100) to (388, 100): its label, the parts a point hits, a
// scripted drag of handle 2 and the shortest length a handle leaves.
class RulerTest : public SymbolsTest {
protected:
    void SetUp() override
    {
        SymbolsTest::SetUp();
        document->measuringLineShown = 1;
        const float ends[4] = {100, 100, 388, 100};
        std::memcpy(document->measuringLineEnds, ends, sizeof ends);
    }
    // Presses on handle 2 and moves the cursor by the steps, then releases.
    void Drag(std::initializer_list<POINT> moves)
    {
        struct Moves : vtest::ScriptedInput {
            std::vector<POINT> path;
            size_t step = 0;
            SHORT KeyState(int key) override
            {
                if (key != VK_LBUTTON)
                    return 0;
                ++step;
                cursor = path[std::min(step, path.size() - 1)];
                return step < path.size() ? static_cast<SHORT>(0x8000) : 0;
            }
        } input;
        POINT start = {374, 100};
        ClientToScreen(pane, &start);
        input.path.push_back(start);
        for (POINT m : moves)
            input.path.push_back({start.x + m.x, start.y + m.y});
        input.cursor = start;
        vtest::InputScope scope(&input);
        HDC dc = GetDC(pane);
        DragMeasuringLine(dc, pane, 3);
        ReleaseDC(pane, dc);
    }
};

TEST_F(RulerTest, LabelHitsAndDrag)
{
    MetafileRecorder record;
    DrawMeasuringLine(record.dc());
    EXPECT_EQ(record.TextStrings(), Texts{"3.66 m"});   // 144 inches
    struct Hit {
        POINT at;
        bool onBand;
        uint8_t part;
    } hits[] = {{{114, 100}, true, 2}, {{200, 120}, true, 1}, {{374, 95}, true, 3}, {{200, 130}, false, 0}};
    for (const Hit& h : hits) {
        uint8_t part[2] = {9, 9};
        EXPECT_EQ(HitTestMeasuringLine(h.at, part), h.onBand);
        EXPECT_EQ(part[0], h.part);
        EXPECT_EQ(part[1], 0);
    }
    Drag({{20, 10}, {50, 20}});
    EXPECT_NEAR(document->measuringLineEnds[2], 438.0f, 0.01f);
    EXPECT_NEAR(document->measuringLineEnds[3], 120.0f, 0.01f);
    EXPECT_FLOAT_EQ(document->measuringLineEnds[0], 100.0f);
    // Dragged to within 38 of end 1: put back 72 along the line.
    Drag({{-300, -20}});
    EXPECT_NEAR(document->measuringLineEnds[2], 172.0f, 0.01f);
    EXPECT_NEAR(document->measuringLineEnds[3], 100.0f, 0.01f);

    // Ticks at the snap step (12 inches: 24 units) along the 288 units; none for a step
    // of no length or one that would give more than 10,000.
    const float ends[4] = {100, 100, 388, 100};
    std::memcpy(document->measuringLineEnds, ends, sizeof ends);
    struct Ticks {
        float step;
        size_t lines;
    } ticks[] = {{12.0f, 22}, {0.0f, 0}, {0.001f, 0}};
    for (const Ticks& t : ticks) {
        Settings()->snapStepX = Settings()->snapStepY = t.step;
        MetafileRecorder lines;
        DrawMeasuringTicks(lines.dc());
        EXPECT_EQ(lines.Lines().size(), t.lines) << t.step;
    }

    document->measuringLineShown = 0;
    uint8_t part[2] = {9, 9};
    EXPECT_FALSE(HitTestMeasuringLine({200, 100}, part));
    EXPECT_EQ(part[0], 9);
}

} // namespace
