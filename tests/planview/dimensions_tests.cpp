// Dimensions, size labels and captions recorded in an enhanced metafile (texts, lines,
// marks) and drawn on a DIB section. Top view, origin 0, zoom 1, scale 36: a model
// point (x, h, z) shows at view (x, z) and 72 plan units are 36 inches.
#include "support_drawing.h"
#include "support_plan.h"
#include "model/generated_children.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "planview/dimension_lines.h"
#include "planview/labels_and_fills.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "planview/run_fonts.h"
#include "planview/segment_dimensions.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include <cstring>
#include <string>
#include <vector>

using vtest::DibSurface;
using vtest::MetafileRecorder;
using vtest::RecordedLine;

namespace {

using Texts = std::vector<std::string>;

bool HasLine(MetafileRecorder& record, int x1, int y1, int x2, int y2)
{
    for (const RecordedLine& l : record.Lines())
        if (l.from.x == x1 && l.from.y == y1 && l.to.x == x2 && l.to.y == y2)
            return true;
    return false;
}

class DimensionsTest : public vtest::OutputStateTest {
protected:
    void SetUp() override
    {
        OutputStateTest::SetUp();
        Settings()->drawingScale = 36.0f;
        Settings()->drawingUnit = 1;
        Settings()->dimensionDrawing = 1;
        Settings()->labelDrawing = 1;
        savedScratch = offscreenDC;
        offscreenDC = nullptr;
        // The dimension font as start-up makes it.
        savedFont = dimensionLogFont;
        dimensionLogFont = LOGFONTA{};
        dimensionLogFont.lfHeight = -16;
        dimensionLogFont.lfItalic = 1;
        dimensionLogFont.lfPitchAndFamily = 0x34;
        strcpy(dimensionLogFont.lfFaceName, "Arial");
    }
    void TearDown() override
    {
        offscreenDC = savedScratch;
        dimensionLogFont = savedFont;
        OutputStateTest::TearDown();
    }
    // A door of style 501, 72 wide and 160 high, centred at the distance on the wall's
    // first segment.
    PlanObject* AddDoor(PlanObject* wall, float centre)
    {
        PlanObject* door = AddChild(wall, ObjDoor, {{centre - 36, 0, 100}, {centre + 36, 0, 100}});
        OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
        record->typeCopy = ObjDoor;
        record->style = 501;
        record->startVertex = wall->firstVertex;
        record->endVertex = wall->firstVertex->next;
        record->distanceFromStart = centre;
        record->width = 72.0f;
        record->height = 160.0f;
        door->link = record;
        return door;
    }
    Texts WallTexts(PlanObject* wall)
    {
        MetafileRecorder record;
        DrawSegmentAutoDimension(record.dc(), wall, Vertex(wall, 0), Vertex(wall, 1), 1);
        return record.TextStrings();
    }
    HDC savedScratch = nullptr;
    LOGFONTA savedFont{};
};

// Two doors centred at 61 and 170 on a 240-unit wall (at z 100): pieces of 30.5, 54.5
// and 35 inches (the half inches rounding up, then down), each door's label, the
// overall 120 inches.
TEST_F(DimensionsTest, WallChainsPiecesLabelsAndOverall)
{
    struct Case {
        uint16_t units, drawingUnit;
        int doors;
        Texts texts;
        int lastTextX;
    } cases[] = {
        {3, 1, 2, {"2'-7\"", "3'-0\" x 6'-8\"", "4'-6\"", "3'-0\" x 6'-8\"", "2'-11\"", "10'-0\""}, 120},
        {4, 1, 2, {"0.77 m.", "0.91 m. x 2.03 m.", "1.38 m.", "0.91 m. x 2.03 m.", "0.89 m.", "3.05 m."}, 120},
        {4, 2, 2, {"0.77 m.", "0.91 m. x 2.03 m.", "1.38 m.", "0.91 m. x 2.03 m.", "0.89 m.", "3.05 m."}, 120},
        {3, 1, 1, {"2'-7\"", "3'-0\" x 6'-8\"", "7'-5\""}, 151},
        {4, 1, 0, {"3.05 m."}, 120},
    };
    for (const Case& c : cases) {
        Settings()->unitSystem = c.units;
        Settings()->drawingUnit = c.drawingUnit;
        PlanObject* wall = AddObject(ObjWall, {{0, 0, 100}, {240, 0, 100}});
        wall->size = 6.0f;
        if (c.doors > 0)
            AddDoor(wall, 61.0f);
        if (c.doors > 1)
            AddDoor(wall, 170.0f);
        MetafileRecorder record;
        DrawSegmentAutoDimension(record.dc(), wall, Vertex(wall, 0), Vertex(wall, 1), 1);
        EXPECT_EQ(record.TextStrings(), c.texts) << c.units << " " << c.drawingUnit << " " << c.doors;
        // The overall dimension 25 out (its line 40 above the wall) only past one door;
        // the pieces at 5 out (20 above).
        EXPECT_EQ(HasLine(record, 0, 60, 240, 60), c.doors == 2);
        EXPECT_EQ(HasLine(record, 0, 80, 61, 80), c.doors > 0);
        ASSERT_FALSE(record.Texts().empty());
        EXPECT_EQ(record.Texts().back().at.x, c.lastTextX);
        FreeObject(wall);
    }
}

// A path's label runs from the first to the last point of its walking surface, across
// its start: 72 units wide are 36 inches, with a fence border as without.
TEST_F(DimensionsTest, PathLabelMeasuresTheWalkingSurface)
{
    for (uint16_t border : {0, 2}) {
        PlanObject* path = AddObject(ObjPath, {{0, 0, 100}, {240, 0, 100}});
        path->size = 36.0f;
        path->value2 = border;
        RebuildPath(path);
        MetafileRecorder record;
        DrawPathLengthDimension(record.dc(), path);
        EXPECT_EQ(record.TextStrings(), Texts{"0.91 m."}) << border;
        FreeObject(path);
    }
}

// Surface dimensions of a square room (walls 12 units thick): outside they reach the
// outer corners (6 more at each end), inside the inner ones (6 less).
TEST_F(DimensionsTest, SurfaceDimensionsFollowTheFaceOfTheirSide)
{
    struct Case {
        uint16_t side;
        const char* text;
        int start, end;
    } cases[] = {{0, "3.20 m.", -6, 246}, {1, "2.90 m.", 6, 234}};
    for (const Case& c : cases) {
        PlanObject* wall = AddObject(ObjWall, {{0, 0, 0}, {240, 0, 0}, {240, 0, 240}, {0, 0, 240}}, true);
        wall->size = 6.0f;
        Vertex(wall, 0)->segmentStyleExtra = 1;
        Vertex(wall, 0)->alternationMarker = c.side;
        float s[2] = {}, e[2] = {};
        ComputeDimensionOffsets(wall, Vertex(wall, 0), Vertex(wall, 1), &s[0], &s[1], &e[0], &e[1]);
        EXPECT_FLOAT_EQ(s[0], static_cast<float>(c.start));
        EXPECT_FLOAT_EQ(e[0], static_cast<float>(c.end));
        EXPECT_EQ(WallTexts(wall), Texts{c.text});
        FreeObject(wall);
    }
}

// Dimension objects: extension lines 5 to L + 7 from the measured points, the line
// between the ends unless the marks are outside, and the mark of each style at both ends.
TEST_F(DimensionsTest, DimensionObjectMarks)
{
    PlanObject* dimension = AddObject(ObjDimensionLine, {{100, 0, 100}, {100, 0, 70}, {300, 0, 70}, {300, 0, 100}});
    PlanObject* label = AddObject(ObjDimensionLabel, {{180, 0, 60}, {220, 0, 60}, {220, 0, 80}, {180, 0, 80}}, true);
    AttachmentRecord* attachment = AllocateRecordOf<AttachmentRecord>();
    AttachedPartRecord* part = AllocateRecordOf<AttachedPartRecord>();
    part->font = dimensionLogFont;
    part->owner = dimension;
    attachment->label = label;
    label->link = part;
    dimension->link = attachment;
    struct Case {
        uint32_t style;
        size_t lines, polygons, ellipses;
        LONG brushStyle;
    } cases[] = {
        {1, 3, 2, 0, BS_SOLID}, {2, 3, 2, 0, BS_SOLID}, {4, 7, 0, 0, 0}, {8, 5, 0, 0, 0},
        {16, 5, 0, 0, 0},       {32, 3, 0, 2, BS_SOLID}, {64, 3, 0, 2, BS_NULL},
        {6, 3, 2, 0, BS_SOLID}, {0x80 | 8, 6, 0, 0, 0},
    };
    for (const Case& c : cases) {
        attachment->flags = c.style;
        MetafileRecorder record;
        DrawDimensionObject(record.dc(), dimension, 0, nullptr);
        EXPECT_EQ(record.Lines().size(), c.lines) << c.style;
        EXPECT_TRUE(HasLine(record, 100, 95, 100, 63)) << c.style;
        EXPECT_EQ(HasLine(record, 300, 70, 100, 70), (c.style & 0x80) == 0) << c.style;
        // Outside: a 36-unit leader beyond each end.
        EXPECT_EQ(HasLine(record, 100, 70, 64, 70), (c.style & 0x80) != 0) << c.style;
        ASSERT_EQ(record.Polygons().size(), c.polygons) << c.style;
        if (c.polygons) {
            EXPECT_EQ(record.Polygons()[0].brush.lbStyle, static_cast<UINT>(c.brushStyle));
        }
        ASSERT_EQ(record.Ellipses().size(), c.ellipses) << c.style;
        if (c.ellipses) {
            EXPECT_EQ(record.Ellipses()[0].brush.lbStyle, static_cast<UINT>(c.brushStyle));
        }
        EXPECT_EQ(record.TextStrings(), Texts{"2.54 m."});
    }
    SetObjectEndMarkBits(dimension, 5091);
    EXPECT_EQ(attachment->flags, 0x80u | 32u);
}

// Below 72 zoomed units only the text, 10 out; normal mode needs the flag, live does not.
TEST_F(DimensionsTest, ShortSegmentsAndTheDimensionFlag)
{
    int32_t feet = 0, inches = 0;
    MetafileRecorder shortOne;
    DrawDimensionLine(shortOne.dc(), 0, 100, 60, 100, 0, 100, 60, 100, 1, 5, 0, &feet, &inches, 0, 0, 5, 0, nullptr);
    EXPECT_TRUE(shortOne.Lines().empty());
    ASSERT_EQ(shortOne.TextStrings(), Texts{"0.76 m."});
    EXPECT_EQ(shortOne.Texts()[0].at.x, 30);
    EXPECT_GT(shortOne.Texts()[0].at.y, 85);   // the base line half the ascent below the line
    EXPECT_LT(shortOne.Texts()[0].at.y, 95);

    Settings()->dimensionDrawing = 0;
    MetafileRecorder off;
    DrawDimensionLine(off.dc(), 0, 0, 200, 0, 0, 0, 200, 0, 1, 5, 0, &feet, &inches, 0, 0, 5, 0, nullptr);
    EXPECT_EQ(off.Types().size(), 2u);   // header and end: nothing drawn
    MetafileRecorder live;
    DrawDimensionLine(live.dc(), 0, 0, 200, 0, 0, 0, 200, 0, 1, 5, 1, &feet, &inches, 0, 0, 5, 0, nullptr);
    ASSERT_FALSE(live.Lines().empty());
    EXPECT_EQ(live.Lines()[0].pen.lopnStyle, static_cast<UINT>(PS_DOT));
}

// Live mode drawn twice leaves the surface as it was, on the label surface and without.
TEST_F(DimensionsTest, LiveModeTwiceRestoresThePlan)
{
    HDC screen = GetDC(nullptr);
    HDC scratch = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, labelScratchSize, labelScratchSize);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(scratch, bitmap);
    for (HDC surfaceDC : {scratch, static_cast<HDC>(nullptr)}) {
        offscreenDC = surfaceDC;
        DibSurface surface(400, 300);
        const std::vector<uint32_t> before = surface.Snapshot();
        int32_t feet = 0, inches = 0;
        DrawDimensionLine(surface.dc(), 50, 150, 300, 200, 50, 150, 300, 200, 1, 5, 1, &feet, &inches, 0, 0, 5, 0, nullptr);
        EXPECT_NE(surface.Snapshot(), before);
        DrawDimensionLine(surface.dc(), 50, 150, 300, 200, 50, 150, 300, 200, 1, 5, 1, &feet, &inches, 0, 0, 5, 0, nullptr);
        EXPECT_EQ(surface.Snapshot(), before) << (surfaceDC ? "label surface" : "path");
    }
    offscreenDC = nullptr;
    SelectObject(scratch, previous);
    DeleteObject(bitmap);
    DeleteDC(scratch);
}

// Printing: texts black, their masks white, the text turned 0.1 degree off the axis.
TEST_F(DimensionsTest, PrintedTextsAreBlackOnWhite)
{
    Settings()->foregroundColour = {65535, 0, 0};
    MetafileRecorder record;
    planDC = record.dc();
    planOutputMode = 1;
    int32_t feet = 0, inches = 0;
    DrawDimensionLine(record.dc(), 0, 0, 200, 0, 0, 0, 200, 0, 1, 5, 0, &feet, &inches, 0, 0, 5, 0, nullptr);
    DrawCaption(record.dc(), "TERRAZZA", 100, 100, 0);
    // Running down the page the text is turned to read upward: 450.1 degrees, given
    // within one turn.
    DrawDimensionLine(record.dc(), 0, 0, 0, 200, 0, 0, 0, 200, 1, 5, 0, &feet, &inches, 0, 0, 5, 0, nullptr);
    planOutputMode = 0;
    planDC = nullptr;
    ASSERT_EQ(record.Texts().size(), 3u);
    const LONG escapements[] = {1, 1, 901};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(record.Texts()[i].colour, RGB(0, 0, 0));
        EXPECT_EQ(record.Texts()[i].font.lfEscapement, escapements[i]);
    }
    ASSERT_EQ(record.Polygons().size(), 2u);
    EXPECT_EQ(record.Polygons()[0].brush.lbColor, RGB(255, 255, 255));
}

// A page drawn by one redraw (into a metafile, as the printer and the copy are drawn):
// the texts of one look share one font, whatever their number, and each other look
// adds one. Inside an enclosing run the last font stays selected; the end of that run
// deletes it and puts the DC's own font back.
TEST_F(DimensionsTest, TextsOfOneLookShareOneFontInARedraw)
{
    for (int i = 0; i < 4; ++i)
        AddObject(ObjDrawingElement, {{0, 0, 40.0f * i}, {200, 0, 40.0f * i}});
    AddObject(ObjDrawingElement, {{400, 0, 0}, {400, 0, 200}});
    AddObject(ObjDrawingElement, {{500, 0, 0}, {500, 0, 200}});
    MetafileRecorder record;
    const HGDIOBJ own = GetCurrentObject(record.dc(), OBJ_FONT);
    planDC = record.dc();
    planOutputMode = 1;
    BeginFontRun();
    RedrawPlan(record.dc(), FirstFloor(), nullptr, DrawAllObjects, nullptr);
    const HGDIOBJ last = GetCurrentObject(record.dc(), OBJ_FONT);
    EndFontRun();
    EXPECT_NE(last, own);
    EXPECT_EQ(GetObjectType(last), 0u);
    EXPECT_EQ(GetCurrentObject(record.dc(), OBJ_FONT), own);
    planOutputMode = 0;
    planDC = nullptr;
    EXPECT_EQ(record.Texts().size(), 6u);
    EXPECT_EQ(record.Count(EMR_EXTCREATEFONTINDIRECTW), 2u);
}

} // namespace

// Live dimensions: from an opening being placed at P (on a 240-unit wall at z 100) to
// its neighbours on both sides, 25 out, or 45 when other openings remain beside one
// being moved; short pieces still get their lines, the wall being long. Then a wall
// being drawn: its red footprint, half the thickness each side, and its length.
TEST_F(DimensionsTest, LiveOpeningAndWallDimensions)
{
    struct Case {
        uint16_t units;
        std::vector<float> doors;
        int moving;   // index of the door being moved, -1 for a new one
        float p;
        Texts texts;
        int offset;
    } cases[] = {
        {3, {}, -1, 100, {"4'-2\"", "5'-10\""}, 25},
        {4, {}, -1, 100, {"1.27 m.", "1.78 m."}, 25},
        {3, {60}, -1, 156, {"4'-0\"", "3'-6\""}, 25},
        {3, {60}, -1, 40, {"1'-8\"", "10\""}, 25},
        {3, {60}, 0, 156, {"6'-6\"", "3'-6\""}, 25},
        {3, {60, 180}, 0, 100, {"4'-2\"", "3'-4\""}, 45},
    };
    for (const Case& c : cases) {
        Settings()->unitSystem = c.units;
        PlanObject* wall = AddObject(ObjWall, {{0, 0, 100}, {240, 0, 100}});
        wall->size = 6.0f;
        std::vector<PlanObject*> doors;
        for (float centre : c.doors)
            doors.push_back(AddDoor(wall, centre));
        const float position[2] = {c.p, 100.0f};
        MetafileRecorder record;
        DrawOpeningDimensions(record.dc(), wall, Vertex(wall, 0), Vertex(wall, 1), 1, position,
                              c.moving >= 0 ? doors[c.moving] : nullptr);
        EXPECT_EQ(record.TextStrings(), c.texts) << c.p;
        // The extension line at P runs from offset + 3 to offset + 22 above the wall.
        const int p = static_cast<int>(c.p);
        EXPECT_TRUE(HasLine(record, p, 97 - c.offset, p, 78 - c.offset)) << c.p;
        FreeObject(wall);
    }

    struct WallCase {
        uint16_t units;
        float thickness;
        const char* text;
        LONG top, bottom;
    } walls[] = {{3, 12.0f, "10'-0\"", 94, 106}, {4, 6.0f, "3.05 m.", 97, 103}};
    for (const WallCase& c : walls) {
        Settings()->unitSystem = c.units;
        MetafileRecorder record;
        DrawObjectDimensions(record.dc(), 0, 0, 100, 240, 0, 100, c.thickness);
        ASSERT_EQ(record.Polygons().size(), 1u);
        const std::vector<POINT> corners = {{0, c.top}, {240, c.top}, {240, c.bottom}, {0, c.bottom}};
        const std::vector<POINT>& got = record.Polygons()[0].points;
        ASSERT_EQ(got.size(), 4u);
        for (size_t i = 0; i < 4; ++i)
            EXPECT_TRUE(got[i].x == corners[i].x && got[i].y == corners[i].y) << c.text << " " << i;
        EXPECT_EQ(record.Polygons()[0].brush.lbColor, RGB(255, 0, 0));
        EXPECT_EQ(record.TextStrings(), Texts{c.text});
    }
}
