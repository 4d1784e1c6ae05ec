// The plan redraw recorded in an enhanced metafile (pens and lines at the device
// coordinates worked out by hand) and drawn into a DIB section. Top view, origin 0,
// zoom 1 unless a test changes them: a model point (x, h, z) shows at view (x, z).
#include "support_drawing.h"
#include "support_plan.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/object_transforms.h"
#include "model/view_projection.h"
#include "planview/metafile_bounds.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "shell/status_bar.h"
#include <algorithm>
#include <cstring>

using vtest::DibSurface;
using vtest::InputScope;
using vtest::MetafileRecorder;
using vtest::OutputStateTest;
using vtest::RecordedLine;
using vtest::ScriptedInput;

namespace {

const COLORREF kCurrentColour = RGB(0, 64, 136);    // settings 126: 0, 16448, 34952
const COLORREF kInactiveColour = RGB(208, 232, 255); // settings 1354: 53456, 59624, 65535

class RedrawTest : public OutputStateTest {
protected:
    void Redraw(HDC dc, uint32_t flags = DrawAllObjects, const DragTransform* preview = nullptr)
    {
        RedrawPlan(dc, FirstFloor(), nullptr, flags, preview);
    }
    PlanFloor* ThirdFloor() const { return SecondFloor()->next; }
    // A drag record that moves nothing unless a test sets it.
    const DragTransform* Preview() const { return &drag; }

    static void ExpectLine(const RecordedLine& line, int x1, int y1, int x2, int y2)
    {
        EXPECT_EQ(line.from.x, x1);
        EXPECT_EQ(line.from.y, y1);
        EXPECT_EQ(line.to.x, x2);
        EXPECT_EQ(line.to.y, y2);
    }
    static void ExpectPen(const RecordedLine& line, UINT style, LONG width, COLORREF colour)
    {
        EXPECT_EQ(line.pen.lopnStyle, style);
        EXPECT_EQ(line.pen.lopnWidth.x, width);
        EXPECT_EQ(line.pen.lopnColor, colour);
    }

    DragTransform drag = {};
};

TEST_F(RedrawTest, ClosedOutlineWithTheDefaultPen)
{
    AddObject(15, {{0, 0, 0}, {100, 0, 0}, {100, 0, 50}, {0, 0, 50}}, true);
    MetafileRecorder record;
    Redraw(record.dc());
    const auto& lines = record.Lines();
    ASSERT_EQ(lines.size(), 4u);
    ExpectLine(lines[0], 0, 0, 100, 0);
    ExpectLine(lines[1], 100, 0, 100, 50);
    ExpectLine(lines[2], 100, 50, 0, 50);
    ExpectLine(lines[3], 0, 50, 0, 0);
    for (const auto& line : lines)
        ExpectPen(line, PS_SOLID, 1, kCurrentColour);
}

TEST_F(RedrawTest, PixelsOfAZoomedPlan)
{
    // Zoom 2, origin (-10, 0, -5): view = 2 p - origin, so the square 10..60 x 10..35
    // shows at 30..130 x 25..75 in the current storey's colour.
    Settings()->zoom = 2.0f;
    viewOrigin.x = -10.0f;
    viewOrigin.z = -5.0f;
    AddObject(15, {{10, 0, 10}, {60, 0, 10}, {60, 0, 35}, {10, 0, 35}}, true);
    DibSurface surface(200, 120);
    Redraw(surface.dc());
    EXPECT_EQ(surface.Pixel(80, 25), kCurrentColour);
    EXPECT_EQ(surface.Pixel(30, 50), kCurrentColour);
    EXPECT_EQ(surface.Pixel(130, 50), kCurrentColour);
    EXPECT_EQ(surface.Pixel(80, 75), kCurrentColour);
    EXPECT_EQ(surface.Pixel(80, 50), RGB(255, 255, 255));
    EXPECT_EQ(surface.Pixel(29, 50), RGB(255, 255, 255));
    EXPECT_EQ(surface.Pixel(131, 50), RGB(255, 255, 255));
    EXPECT_EQ(surface.CountAll(kCurrentColour), 2 * 100 + 2 * 50);
}

TEST_F(RedrawTest, OtherFloorsFirstInTheInactiveColour)
{
    AddObject(15, {{0, 0, 0}, {10, 0, 0}}, false, FirstFloor());
    AddObject(15, {{0, 0, 20}, {10, 0, 20}}, false, SecondFloor());
    AddObject(15, {{0, 0, 30}, {10, 0, 30}}, false, ThirdFloor());
    ThirdFloor()->shown = 0;
    const ColourTriple before = Settings()->foregroundColour;
    MetafileRecorder record;
    Redraw(record.dc());
    const auto& lines = record.Lines();
    ASSERT_EQ(lines.size(), 2u);
    ExpectLine(lines[0], 0, 20, 10, 20);
    ExpectPen(lines[0], PS_SOLID, 1, kInactiveColour);
    ExpectLine(lines[1], 0, 0, 10, 0);
    ExpectPen(lines[1], PS_SOLID, 1, kCurrentColour);
    EXPECT_EQ(std::memcmp(&Settings()->foregroundColour, &before, sizeof before), 0);
}

TEST_F(RedrawTest, HiddenCurrentFloorIsNotDrawn)
{
    AddObject(15, {{0, 0, 0}, {10, 0, 0}}, false, FirstFloor());
    AddObject(15, {{0, 0, 20}, {10, 0, 20}}, false, SecondFloor());
    FirstFloor()->shown = 0;
    MetafileRecorder record;
    Redraw(record.dc());
    ASSERT_EQ(record.Lines().size(), 1u);
    ExpectLine(record.Lines()[0], 0, 20, 10, 20);
}

TEST_F(RedrawTest, PenTableByType)
{
    PlanObject* dotted = AddObject(29, {{0, 0, 40}, {10, 0, 40}});
    dotted->subType = 112;
    AddObject(21, {{0, 0, 0}, {10, 0, 0}});
    AddObject(22, {{0, 0, 10}, {10, 0, 10}});
    AddObject(27, {{0, 0, 20}, {10, 0, 20}});
    AddObject(130, {{0, 0, 30}, {10, 0, 30}});
    MetafileRecorder record;
    Redraw(record.dc());
    const auto& lines = record.Lines();
    ASSERT_EQ(lines.size(), 5u);
    ExpectLine(lines[0], 0, 40, 10, 40);
    ExpectPen(lines[0], PS_DOT, 0, kCurrentColour);
    ExpectPen(lines[1], PS_DASH, 0, kCurrentColour);
    ExpectPen(lines[2], PS_DOT, 0, kCurrentColour);
    ExpectPen(lines[3], PS_SOLID, 0, kCurrentColour);
    ExpectPen(lines[4], PS_SOLID, 3, kCurrentColour);
}

TEST_F(RedrawTest, RedAndXorPreviewPens)
{
    AddObject(15, {{0, 0, 0}, {10, 0, 0}});
    MetafileRecorder red;
    Redraw(red.dc(), DrawAllObjects | DrawRed);
    ASSERT_EQ(red.Lines().size(), 1u);
    ExpectPen(red.Lines()[0], PS_SOLID, 0, RGB(255, 0, 0));
    EXPECT_EQ(red.Count(EMR_SETROP2), 2u);   // copy pen, then put back

    MetafileRecorder xorPreview;
    Redraw(xorPreview.dc(), DrawAllObjects | DrawXorPreview);
    ASSERT_EQ(xorPreview.Lines().size(), 1u);
    ExpectPen(xorPreview.Lines()[0], PS_SOLID, 0, RGB(255, 0, 0));
    EXPECT_EQ(xorPreview.Count(EMR_SETROP2), 3u);   // copy pen, NOTXORPEN, put back
}

TEST_F(RedrawTest, PrintedPageUsesBlackHairlinesAndPrintScale)
{
    AddObject(21, {{0, 0, 5}, {50, 0, 5}});
    AddObject(15, {{0, 0, 0}, {-50000, 0, 0}});
    ScriptedInput input;
    InputScope scope(&input);
    MetafileRecorder record;
    planDC = record.dc();
    planOutputMode = 1;
    printScaleX = printScaleY = 2.0f;
    Redraw(record.dc());
    const auto& lines = record.Lines();
    ASSERT_EQ(lines.size(), 2u);
    ExpectLine(lines[0], 0, 10, 100, 10);
    ExpectPen(lines[0], PS_SOLID, 0, RGB(0, 0, 0));
    // Far beyond 16 bits, kept whole in the metafile (-100000 + 0.5, truncated).
    ExpectLine(lines[1], 0, 0, -99999, 0);
    ExpectPen(lines[1], PS_SOLID, 0, RGB(0, 0, 0));
    EXPECT_EQ(input.calls[VK_ESCAPE], 0);   // a printed page is never cancelled by Esc
}

TEST_F(RedrawTest, CurvedSegmentDrawnAsChords)
{
    // (0, 0) -> (80, 0) with tangents (0, 80) out and (0, -80) in:
    // x(t) = 80 (3t^2 - 2t^3), z(t) = 80 t (1 - t).
    PlanObject* curve = AddObject(15, {{0, 0, 0}, {80, 0, 0}});
    Vertex(curve, 0)->outTangent[2] = 80.0f;
    Vertex(curve, 1)->inTangent[2] = -80.0f;
    ASSERT_EQ(Settings()->curveSteps, 8);
    {
        MetafileRecorder record;
        Redraw(record.dc());
        const auto& lines = record.Lines();
        ASSERT_EQ(lines.size(), 8u);
        ExpectLine(lines[0], 0, 0, 3, 9);       // t = 1/8: x 3.4375, z 8.75
        EXPECT_EQ(lines[3].to.x, 40);           // t = 1/2
        EXPECT_EQ(lines[3].to.y, 20);
        EXPECT_EQ(lines[7].to.x, 80);
        EXPECT_EQ(lines[7].to.y, 0);
    }
    {
        interactiveRedraw = 1;   // half the steps
        MetafileRecorder record;
        Redraw(record.dc());
        ASSERT_EQ(record.Lines().size(), 4u);
        ExpectLine(record.Lines()[1], 13, 15, 40, 20);   // t = 1/4: x 12.5, z 15
    }
}

TEST_F(RedrawTest, CurveStepsNeverBelowOneChord)
{
    PlanObject* curve = AddObject(15, {{0, 0, 0}, {80, 0, 0}});
    Vertex(curve, 0)->outTangent[2] = 80.0f;
    Vertex(curve, 1)->inTangent[2] = -80.0f;
    Settings()->curveSteps = 1;
    interactiveRedraw = 1;
    MetafileRecorder record;
    Redraw(record.dc());
    ASSERT_EQ(record.Lines().size(), 1u);
    ExpectLine(record.Lines()[0], 0, 0, 80, 0);

    // A stored step count of 0 (a damaged file) draws with the fallback of 8 chords, the
    // same count hit testing and extents use, so what is drawn is what is hit.
    interactiveRedraw = 0;
    Settings()->curveSteps = 0;
    MetafileRecorder zero;
    Redraw(zero.dc());
    ASSERT_EQ(zero.Lines().size(), 8u);
}

TEST_F(RedrawTest, ClosedMeshRowsColumnsAndCrossSegments)
{
    PlanObject* mesh = AddObject(15, {{0, 0, 0}, {50, 0, 0}, {100, 0, 0},
                                      {0, 0, 40}, {50, 0, 40}, {100, 0, 40}}, true);
    mesh->rows = 2;
    MetafileRecorder record;
    Redraw(record.dc());
    const auto& lines = record.Lines();
    ASSERT_EQ(lines.size(), 9u);
    ExpectLine(lines[0], 0, 0, 50, 0);       // upper row
    ExpectLine(lines[1], 0, 40, 50, 40);     // lower row
    ExpectLine(lines[2], 0, 0, 0, 40);       // cross, column 1
    ExpectLine(lines[3], 50, 0, 100, 0);
    ExpectLine(lines[4], 50, 40, 100, 40);
    ExpectLine(lines[5], 50, 0, 50, 40);
    ExpectLine(lines[6], 100, 0, 0, 0);      // closing, upper row
    ExpectLine(lines[7], 100, 40, 0, 40);    // closing, lower row
    ExpectLine(lines[8], 100, 0, 100, 40);   // cross, last column
}

TEST_F(RedrawTest, OpenMeshOfThreeRows)
{
    PlanObject* mesh = AddObject(15, {{0, 0, 0}, {10, 0, 0}, {0, 0, 20}, {10, 0, 20},
                                      {0, 0, 40}, {10, 0, 40}});
    mesh->rows = 3;
    MetafileRecorder record;
    Redraw(record.dc());
    const auto& lines = record.Lines();
    ASSERT_EQ(lines.size(), 7u);
    ExpectLine(lines[0], 0, 0, 10, 0);
    ExpectLine(lines[1], 0, 20, 10, 20);
    ExpectLine(lines[2], 0, 0, 0, 20);
    ExpectLine(lines[3], 10, 0, 10, 20);
    ExpectLine(lines[4], 0, 40, 10, 40);     // later passes: the lower row only
    ExpectLine(lines[5], 0, 20, 0, 40);
    ExpectLine(lines[6], 10, 20, 10, 40);
}

TEST_F(RedrawTest, MeshCrossSegmentsFollowCrossTangents)
{
    PlanObject* mesh = AddObject(15, {{0, 0, 0}, {0, 0, 80}});
    mesh->rows = 2;
    // Column from (0, 0) to (0, 80), bowed along x by the cross tangents.
    Vertex(mesh, 0)->extra[0] = 80.0f;
    Vertex(mesh, 1)->extra[0] = -80.0f;
    MetafileRecorder record;
    Redraw(record.dc());
    ASSERT_EQ(record.Lines().size(), 8u);
    EXPECT_EQ(record.Lines()[3].to.x, 20);
    EXPECT_EQ(record.Lines()[3].to.y, 40);
}

TEST_F(RedrawTest, FootingIsTwoOpenPolylines)
{
    PlanObject* footing = AddObject(113, {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0},
                                          {0, 0, 10}, {10, 0, 10}, {20, 0, 10}, {30, 0, 10}},
                                    true);
    ASSERT_NE(footing, nullptr);
    MetafileRecorder record;
    Redraw(record.dc());
    const auto& lines = record.Lines();
    ASSERT_EQ(lines.size(), 6u);
    ExpectLine(lines[0], 0, 0, 10, 0);
    ExpectLine(lines[2], 20, 0, 30, 0);
    ExpectLine(lines[3], 0, 10, 10, 10);     // vertex 4 to 5 is left out
    ExpectLine(lines[5], 20, 10, 30, 10);
    ExpectPen(lines[0], PS_DASH, 0, kCurrentColour);
}

TEST_F(RedrawTest, ViewCategoryFilter)
{
    PlanObject* wall = AddObject(12, {{0, 0, 0}});
    wall->category = 2;
    EXPECT_TRUE(IsObjectInViewFilter(wall, 4));
    EXPECT_FALSE(IsObjectInViewFilter(wall, 1 | 16 | 64 | 128));
    EXPECT_TRUE(IsObjectInViewFilter(wall, 2));
    PlanObject* fixture = AddObject(70, {{0, 0, 0}});
    fixture->category = 4;
    EXPECT_FALSE(IsObjectInViewFilter(fixture, 2));
    EXPECT_TRUE(IsObjectInViewFilter(fixture, 6));
    PlanObject* door = AddObject(16, {{0, 0, 0}});
    door->category = 0;
    EXPECT_TRUE(IsObjectInViewFilter(door, 32));
    EXPECT_FALSE(IsObjectInViewFilter(door, 1));
    EXPECT_FALSE(IsObjectInViewFilter(nullptr, 0xFF));

    // Under the default mask (foundation) a floor-plan object is not drawn.
    PlanObject* hidden = AddObject(15, {{0, 0, 0}, {10, 0, 0}});
    hidden->category = 2;
    MetafileRecorder record;
    Redraw(record.dc());
    EXPECT_EQ(record.Lines().size(), 0u);
}

TEST_F(RedrawTest, SelectedOnlyDrawsSelectedObjectsAndTheirChildren)
{
    PlanObject* chosen = AddObject(15, {{0, 0, 0}, {10, 0, 0}});
    AddObject(15, {{0, 0, 10}, {10, 0, 10}});
    Vertex(chosen, 1)->selected = 1;
    // A deck is not selected through its children, but its selected child is drawn.
    PlanObject* deck = AddObject(51, {{0, 0, 20}, {10, 0, 20}});
    PlanObject* child = AddChild(deck, 15, {{0, 0, 30}, {10, 0, 30}});
    Vertex(child, 0)->selected = 1;

    EXPECT_FALSE(PassesDrawFlags(nullptr, DrawAllObjects));
    EXPECT_FALSE(PassesDrawFlags(deck, DrawSelectedOnly));
    EXPECT_TRUE(PassesDrawFlags(deck, DrawAllObjects));
    EXPECT_FALSE(PassesDrawFlags(chosen, 0));

    MetafileRecorder record;
    Redraw(record.dc(), DrawSelectedOnly);
    const auto& lines = record.Lines();
    ASSERT_EQ(lines.size(), 2u);
    ExpectLine(lines[0], 0, 0, 10, 0);
    ExpectLine(lines[1], 0, 30, 10, 30);
}

TEST_F(RedrawTest, EscStopsALongScreenRedrawSoon)
{
    for (int i = 0; i < 1000; ++i)
        AddObject(15, {{0, 0, static_cast<float>(i)}, {10, 0, static_cast<float>(i)}});
    HCURSOR cursorBefore = GetCursor();
    ScriptedInput input;
    // The first read only forgets an earlier press, the second (before the first object)
    // finds Esc up; it is down from the next read on. The clock stands still, so the next
    // read comes after 64 objects, not sooner: 64 lines, then nothing.
    input.keys[VK_ESCAPE] = {0, 0, static_cast<SHORT>(0x8001)};
    InputScope scope(&input);
    MetafileRecorder record;
    Redraw(record.dc());
    EXPECT_EQ(record.Lines().size(), 64u);
    EXPECT_EQ(input.calls[VK_ESCAPE], 3);
    EXPECT_STREQ(customStatusText, "Premi Esc per annullare l'operazione di ridisegno");
    EXPECT_EQ(GetCursor(), cursorBefore);
    EXPECT_EQ(Settings()->foregroundColour.blue, 34952);
}

TEST_F(RedrawTest, EscHeldFromTheStartDrawsNoObject)
{
    AddObject(15, {{0, 0, 0}, {10, 0, 0}}, false, FirstFloor());
    AddObject(15, {{0, 0, 10}, {10, 0, 10}}, false, SecondFloor());
    ScriptedInput input;
    input.keys[VK_ESCAPE] = {static_cast<SHORT>(0x8000)};
    InputScope scope(&input);
    MetafileRecorder record;
    Redraw(record.dc());
    EXPECT_EQ(record.Lines().size(), 0u);
    // One discarded read, the second floor stopped at once, then the current floor.
    EXPECT_EQ(input.calls[VK_ESCAPE], 3);
}

TEST_F(RedrawTest, EarlierEscPressIsForgotten)
{
    for (int i = 0; i < 3; ++i)
        AddObject(15, {{0, 0, static_cast<float>(10 * i)}, {10, 0, static_cast<float>(10 * i)}});
    ScriptedInput input;
    input.keys[VK_ESCAPE] = {1, 0};   // pressed before the redraw, released since
    InputScope scope(&input);
    MetafileRecorder record;
    Redraw(record.dc());
    EXPECT_EQ(record.Lines().size(), 3u);
}

TEST_F(RedrawTest, PreviewSkipsEscCompanionsAndSymbols)
{
    // A stair draws its symbol, not its outline, and first its generated flight
    // pieces of type 43 (others not); a preview shows only its bare outline. With the
    // automatic dimensions off its symbol shows nothing.
    Settings()->dimensionDrawing = 0;
    PlanObject* stair = AddObject(38, {{0, 0, 0}, {10, 0, 0}});
    PlanObject* flight = AddObject(43, {{0, 0, 20}, {10, 0, 20}});
    PlanObject* rail = AddObject(39, {{0, 0, 30}, {10, 0, 30}});
    UnlinkObject(flight);
    UnlinkObject(rail);
    stair->link = flight;
    flight->next = rail;
    Vertex(stair, 0)->selected = 1;
    {
        MetafileRecorder record;
        Redraw(record.dc());
        ASSERT_EQ(record.Lines().size(), 1u);
        ExpectLine(record.Lines()[0], 0, 20, 10, 20);
    }
    {
        ScriptedInput input;
        InputScope scope(&input);
        MetafileRecorder record;
        Redraw(record.dc(), DrawSelectedOnly, Preview());
        ASSERT_EQ(record.Lines().size(), 1u);
        ExpectLine(record.Lines()[0], 0, 0, 10, 0);
        EXPECT_EQ(input.calls[VK_ESCAPE], 0);
    }
    stair->link = nullptr;
    flight->next = nullptr;
    FreeObject(flight);
    FreeObject(rail);
}

TEST_F(RedrawTest, MovePreviewShiftsCopiesOfTheSelectedPoints)
{
    PlanObject* whole = AddObject(15, {{0, 0, 0}, {20, 0, 0}});
    PlanObject* half = AddObject(15, {{0, 0, 10}, {20, 0, 10}});
    AddObject(15, {{0, 0, 30}, {20, 0, 30}});   // unselected: not drawn
    Vertex(whole, 0)->selected = 1;
    Vertex(whole, 1)->selected = 1;
    Vertex(half, 1)->selected = 1;
    drag.current[0] = 5.0f;    // the drag went 5 along x and 7 along z
    drag.current[2] = 7.0f;
    MetafileRecorder record;
    Redraw(record.dc(), DrawSelectedOnly | DrawXorPreview | DrawPreviewMove |
                            DrawPreviewSelectedPoints, Preview());
    const auto& lines = record.Lines();
    ASSERT_EQ(lines.size(), 2u);
    ExpectLine(lines[0], 5, 7, 25, 7);
    ExpectLine(lines[1], 0, 10, 25, 17);     // only the selected end follows
    ExpectPen(lines[0], PS_SOLID, 0, RGB(255, 0, 0));
    // The stored points stay where they were.
    EXPECT_EQ(Vertex(whole, 0)->position[0], 0.0f);
    EXPECT_EQ(Vertex(half, 1)->position[2], 10.0f);
}

TEST_F(RedrawTest, PathPiecesBeforeThePath)
{
    PlanObject* path = AddObject(22, {{0, 0, 0}, {10, 0, 0}});
    PlanObject* piece1 = AddObject(23, {{0, 0, 10}, {10, 0, 10}});
    PlanObject* piece2 = AddObject(23, {{0, 0, 20}, {10, 0, 20}});
    UnlinkObject(piece1);
    UnlinkObject(piece2);
    path->link = piece1;
    piece1->next = piece2;
    MetafileRecorder record;
    Redraw(record.dc());
    const auto& lines = record.Lines();
    ASSERT_EQ(lines.size(), 3u);
    ExpectLine(lines[0], 0, 10, 10, 10);
    ExpectPen(lines[0], PS_SOLID, 1, kCurrentColour);
    ExpectLine(lines[1], 0, 20, 10, 20);
    ExpectLine(lines[2], 0, 0, 10, 0);
    ExpectPen(lines[2], PS_DOT, 0, kCurrentColour);
    path->link = nullptr;
    piece1->next = nullptr;
    FreeObject(piece1);
    FreeObject(piece2);
}

TEST_F(RedrawTest, OrphanDimensionLabelShowsZero)
{
    Settings()->zoom = 2.0f;
    PlanObject* label = AddObject(201, {{0, 0, 0}});
    const float box[4] = {10, 20, 40, 60};   // top, left, bottom, right
    std::memcpy(label->box2D, box, sizeof box);
    MetafileRecorder record;
    Redraw(record.dc());
    // (left + 3, bottom - 3) of the zoomed box.
    ASSERT_EQ(record.Moves().size(), 1u);
    EXPECT_EQ(record.Moves()[0].x, 43);
    EXPECT_EQ(record.Moves()[0].y, 77);
    EXPECT_EQ(record.Count(EMR_EXTTEXTOUTA) + record.Count(EMR_EXTTEXTOUTW), 1u);

    // A label that still belongs to its dimension is drawn by the dimension.
    PlanObject* owner = AddObject(15, {{0, 0, 0}});
    owner->category = 0;
    AttachedPartRecord part = {};
    part.owner = owner;
    label->link = &part;
    MetafileRecorder owned;
    Redraw(owned.dc());
    EXPECT_EQ(owned.Count(EMR_EXTTEXTOUTA) + owned.Count(EMR_EXTTEXTOUTW), 0u);
    label->link = nullptr;
}

TEST_F(RedrawTest, GateSegmentOfAPicketFenceGetsAHeavyPen)
{
    PlanObject* fence = AddObject(25, {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}});
    Vertex(fence, 0)->kind = 6;   // a gate starts here
    MetafileRecorder record;
    Redraw(record.dc());
    const auto& lines = record.Lines();
    ASSERT_EQ(lines.size(), 2u);
    ExpectPen(lines[0], PS_SOLID, 3, kCurrentColour);
    ExpectPen(lines[1], PS_DOT, 0, kCurrentColour);

    MetafileRecorder red;
    Redraw(red.dc(), DrawAllObjects | DrawRed);
    ASSERT_EQ(red.Lines().size(), 2u);
    ExpectPen(red.Lines()[0], PS_SOLID, 3, RGB(0, 0, 0));
}

TEST_F(RedrawTest, ObjectTouchesRectUsesTheZoomedGrownBox)
{
    PlanObject* object = AddObject(15, {{0, 0, 0}});
    const float box[4] = {10, 20, 40, 60};   // top, left, bottom, right
    std::memcpy(object->box2D, box, sizeof box);
    const RECT left = {0, 0, 19, 100};
    const RECT touching = {0, 0, 20, 100};    // the box grown by 1 starts at 19
    EXPECT_FALSE(ObjectTouchesRect(object, &left));
    EXPECT_TRUE(ObjectTouchesRect(object, &touching));
    Settings()->zoom = 2.0f;                  // 40..120 x 20..80, grown to 39..121
    const RECT below = {0, 81, 200, 200};
    const RECT edge = {0, 80, 200, 200};
    EXPECT_FALSE(ObjectTouchesRect(object, &below));
    EXPECT_TRUE(ObjectTouchesRect(object, &edge));
    object->type = 102;
    EXPECT_TRUE(ObjectTouchesRect(object, &below));
    object->type = 15;
    planOutputMode = 1;
    EXPECT_TRUE(ObjectTouchesRect(object, &below));
    EXPECT_FALSE(ObjectTouchesRect(nullptr, &below));
}

// Texts in a metafile (turned, aligned, at the current position, which a move, a
// polyline-to or a text before them left there): the box read from its records holds
// every pixel the same drawing puts on a DIB, within two cells of them.
TEST(MetafileDrawnBox, TextsAreWhereTheirPixelsAre)
{
    enum Lead { Move, Polyline, Text };
    const struct { int escapement; UINT align; Lead lead; } cases[] = {
        {0, TA_TOP, Move}, {900, TA_TOP, Move}, {450, TA_CENTER | TA_BASELINE, Move},
        {0, TA_BASELINE | TA_UPDATECP, Move}, {2700, TA_RIGHT | TA_BOTTOM, Move},
        {1350, TA_BASELINE | TA_UPDATECP, Move}, {0, TA_BASELINE | TA_UPDATECP, Polyline},
        {0, TA_BASELINE | TA_UPDATECP, Text}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.escapement << " lead " << c.lead);
        DibSurface surface(400, 400);
        HFONT font = CreateFontA(-40, 0, c.escapement, c.escapement, 0, 1, 0, 0, 0, 0, 0, NONANTIALIASED_QUALITY,
                                 0, "Arial");
        auto draw = [&](HDC dc) {
            SelectObject(dc, font);
            SetTextAlign(dc, c.align);
            const POINT turn[2] = {{40, 380}, {200, 200}};
            MoveToEx(dc, c.lead == Move ? 200 : 40, c.lead == Polyline ? 60 : 200, nullptr);
            if (c.lead == Polyline)
                PolylineTo(dc, turn, 2);
            else if (c.lead == Text)
                TextOutA(dc, 0, 0, "Wolf", 4);
            const int at = (c.align & TA_UPDATECP) ? 0 : 200;
            TextOutA(dc, at, at, "Wolf fjord", 10);
        };
        draw(surface.dc());
        HDC metafileDC = CreateEnhMetaFileA(surface.dc(), nullptr, nullptr, nullptr);
        draw(metafileDC);
        HENHMETAFILE metafile = CloseEnhMetaFile(metafileDC);
        RECT box = {}, ink = {400, 400, -1, -1};
        ASSERT_TRUE(GetMetafileDrawnBox(metafile, &box));
        DeleteEnhMetaFile(metafile);
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x)
                if (surface.Pixel(x, y) != RGB(255, 255, 255))
                    ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x),
                           std::max<LONG>(ink.bottom, y)};
        RECT outer = ink, common;
        InflateRect(&outer, 92, 92);   // a cell is about 46 pixels
        EXPECT_TRUE(IntersectRect(&common, &box, &ink) && EqualRect(&common, &ink));
        EXPECT_TRUE(IntersectRect(&common, &box, &outer) && EqualRect(&common, &box));
        DeleteObject(font);
    }
    HENHMETAFILE nothing = CloseEnhMetaFile(CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr));
    RECT box = {};
    EXPECT_FALSE(GetMetafileDrawnBox(nothing, &box));
    DeleteEnhMetaFile(nothing);
}

TEST_F(RedrawTest, InvalidateMarksThePlanView)
{
    planViewInvalid = 0;
    activePlanPane = nullptr;
    InvalidatePlanView();
    EXPECT_EQ(planViewInvalid, 0);
    activePlanPane = pane;
    InvalidatePlanView();
    EXPECT_EQ(planViewInvalid, 1);
}

TEST_F(RedrawTest, NothingWithoutADocument)
{
    AddObject(15, {{0, 0, 0}, {10, 0, 0}});
    activeDocument = nullptr;
    MetafileRecorder record;
    Redraw(record.dc());
    DrawPlanObject(record.dc(), FirstFloor()->firstObject, nullptr, DrawAllObjects, nullptr);
    activeDocument = document;
    DrawPlanObject(nullptr, FirstFloor()->firstObject, nullptr, DrawAllObjects, nullptr);
    EXPECT_EQ(record.Lines().size(), 0u);
}

} // namespace
