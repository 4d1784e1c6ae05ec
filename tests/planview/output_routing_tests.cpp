// The output roads of the plan's lines, checked on pixels of a DIB section and on the
// records of an enhanced metafile. Top view, origin 0, zoom 1 unless a test changes
// them: a model point (x, h, z) shows at view (x, z).
#include "support_drawing.h"
#include "support_plan.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "planview/output_routing.h"
#include <cmath>
#include <limits>

using vtest::DibSurface;
using vtest::MetafileRecorder;
using vtest::OutputStateTest;

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

class OutputRoutingTest : public OutputStateTest {
protected:
    static void SelectBlackPen(HDC dc) { SelectObject(dc, GetStockObject(BLACK_PEN)); }
    // Starts a print road onto dc with both scales.
    static void Print(HDC dc, float scale)
    {
        planDC = dc;
        planOutputMode = 1;
        printScaleX = printScaleY = scale;
    }
};

TEST_F(OutputRoutingTest, ScreenLineLandsOnTheViewPixels)
{
    DibSurface surface(200, 100);
    SelectBlackPen(surface.dc());
    DrawWorldLine(surface.dc(), 10, 0, 20, 110, 0, 20, 0);
    EXPECT_EQ(surface.Pixel(10, 20), kBlack);
    EXPECT_EQ(surface.Pixel(60, 20), kBlack);
    EXPECT_EQ(surface.Pixel(109, 20), kBlack);
    EXPECT_EQ(surface.Pixel(110, 20), kWhite);   // LineTo leaves its end pixel out
    EXPECT_EQ(surface.Pixel(9, 20), kWhite);
    EXPECT_EQ(surface.CountInRow(20, kBlack), 100);
    EXPECT_EQ(surface.CountInRow(19, kBlack) + surface.CountInRow(21, kBlack), 0);
}

TEST_F(OutputRoutingTest, ScreenLineFollowsZoomAndOrigin)
{
    // Zoom 2 scales the model point, the origin is then subtracted: x 10..40 at z 15
    // shows from 2*10 - 5 = 15 to 2*40 - 5 = 75 on row 2*15 - 8 = 22.
    Settings()->zoom = 2.0f;
    viewOrigin.x = 5.0f;
    viewOrigin.z = 8.0f;
    DibSurface surface(200, 100);
    SelectBlackPen(surface.dc());
    DrawWorldLine(surface.dc(), 10, 0, 15, 40, 0, 15, 0);
    EXPECT_EQ(surface.Pixel(15, 22), kBlack);
    EXPECT_EQ(surface.Pixel(74, 22), kBlack);
    EXPECT_EQ(surface.Pixel(14, 22), kWhite);
    EXPECT_EQ(surface.Pixel(75, 22), kWhite);
    EXPECT_EQ(surface.CountAll(kBlack), 60);
}

TEST_F(OutputRoutingTest, ZoomFlagZoomsBeforeTheProjection)
{
    // With the flag the coordinates are zoomed once more before the projection's zoom:
    // at zoom 2, x 5..20 at z 5 shows from 20 to 80 on row 20.
    Settings()->zoom = 2.0f;
    MetafileRecorder record;
    DrawWorldLine(record.dc(), 5, 0, 5, 20, 0, 5, 1);
    ASSERT_EQ(record.Lines().size(), 1u);
    EXPECT_EQ(record.Lines()[0].from.x, 20);
    EXPECT_EQ(record.Lines()[0].from.y, 20);
    EXPECT_EQ(record.Lines()[0].to.x, 80);
    EXPECT_EQ(record.Lines()[0].to.y, 20);
}

TEST_F(OutputRoutingTest, ScreenRangeDropsWholeSegments)
{
    MetafileRecorder record;
    HDC dc = record.dc();
    DrawWorldLine(dc, 0, 0, 0, 30000.0f, 0, 0, 0);      // end exactly on the limit
    DrawWorldLine(dc, 0, 0, -30000.0f, 10, 0, 0, 0);    // y exactly on the negative limit
    DrawWorldLine(dc, -40000.0f, 0, 5, 10, 0, 5, 0);    // one end outside
    DrawWorldLine(dc, std::numeric_limits<float>::quiet_NaN(), 0, 0, 10, 0, 0, 0);
    DrawWorldLine(nullptr, 0, 0, 0, 10, 0, 0, 0);       // no DC
    DrawWorldLine(dc, 1, 0, 2, 29999.6f, 0, 2, 0);      // just inside: rounded to 30000
    ASSERT_EQ(record.Lines().size(), 1u);
    EXPECT_EQ(record.Lines()[0].from.x, 1);
    EXPECT_EQ(record.Lines()[0].to.x, 30000);
    EXPECT_EQ(record.Lines()[0].to.y, 2);
}

TEST_F(OutputRoutingTest, RoundingAddsAHalfAndTruncatesTowardZero)
{
    MetafileRecorder record;
    DrawWorldLine(record.dc(), 10.5f, 0, -10.5f, -10.6f, 0, 2.5f, 0);
    ASSERT_EQ(record.Lines().size(), 1u);
    const vtest::RecordedLine& line = record.Lines()[0];
    EXPECT_EQ(line.from.x, 11);
    EXPECT_EQ(line.from.y, -10);
    EXPECT_EQ(line.to.x, -10);
    EXPECT_EQ(line.to.y, 3);
}

TEST_F(OutputRoutingTest, PrintRoadScalesToDeviceUnits)
{
    // 300 dpi: 300 / 72 device units per plan unit. x 12..48 at z 24 lands on device
    // 50..200 on row 100, whatever DC and zoom flag the caller passes.
    DibSurface page(300, 200);
    SelectBlackPen(page.dc());
    Print(page.dc(), 300.0f / 72.0f);
    MetafileRecorder screen;
    DrawWorldLine(screen.dc(), 12, 0, 24, 48, 0, 24, 1);
    EXPECT_EQ(screen.Lines().size(), 0u);
    EXPECT_EQ(page.Pixel(50, 100), kBlack);
    EXPECT_EQ(page.Pixel(199, 100), kBlack);
    EXPECT_EQ(page.Pixel(49, 100), kWhite);
    EXPECT_EQ(page.Pixel(200, 100), kWhite);
    EXPECT_EQ(page.CountAll(kBlack), 150);
}

TEST_F(OutputRoutingTest, PrintRoadWithoutPlanDcDrawsNothing)
{
    planOutputMode = 1;
    MetafileRecorder record;
    DrawWorldLine(record.dc(), 0, 0, 0, 10, 0, 10, 0);
    PrintWorldLine(0, 0, 0, 10, 0, 10);
    PrintLine(0, 0, 10, 10);
    EXPECT_EQ(record.Lines().size(), 0u);
    EXPECT_EQ(record.Count(EMR_MOVETOEX), 0u);
}

TEST_F(OutputRoutingTest, LongPrintedLineKeepsItsVisiblePart)
{
    // Printing to scale puts coordinates far beyond 16 bits: a line from -50000 to
    // 50000 device units crosses the whole page and must still show there.
    DibSurface page(300, 200);
    SelectBlackPen(page.dc());
    Print(page.dc(), 1.0f);
    DrawWorldLine(nullptr, -50000, 0, 50, 50000, 0, 50, 0);
    EXPECT_EQ(page.CountInRow(50, kBlack), 300);
    EXPECT_EQ(page.CountAll(kBlack), 300);

    // The screen keeps dropping it.
    planOutputMode = 0;
    planDC = nullptr;
    DibSurface screen(300, 200);
    SelectBlackPen(screen.dc());
    DrawWorldLine(screen.dc(), -50000, 0, 50, 50000, 0, 50, 0);
    EXPECT_EQ(screen.CountAll(kBlack), 0);
}

TEST_F(OutputRoutingTest, PageFarFromTheOriginStillPrints)
{
    // A page of a to-scale grid whose top-left corner lies at device (40000, 0).
    DibSurface page(300, 200);
    SelectBlackPen(page.dc());
    SetWindowOrgEx(page.dc(), 40000, 0, nullptr);
    Print(page.dc(), 2.0f);
    // Plan x 20050..20100 at z 30: device 40100..40200, row 60.
    PrintWorldLine(20050, 0, 30, 20100, 0, 30);
    // Plan -25000..25000 at z 80: across the page on row 160.
    PrintWorldLine(-25000, 0, 80, 25000, 0, 80);
    EXPECT_EQ(page.Pixel(100, 60), kBlack);
    EXPECT_EQ(page.Pixel(199, 60), kBlack);
    EXPECT_EQ(page.Pixel(99, 60), kWhite);
    EXPECT_EQ(page.Pixel(200, 60), kWhite);
    EXPECT_EQ(page.CountInRow(160, kBlack), 300);
}

TEST_F(OutputRoutingTest, MetafileKeepsThirtyTwoBitCoordinates)
{
    MetafileRecorder record;
    Print(record.dc(), 1.0f);
    DrawWorldLine(nullptr, -50000, 0, 50, 50000, 0, 50, 0);
    // Beyond the printing bound a line is cut to it rather than overflowing.
    PrintWorldLine(-1e8f, 0, 7, 1e8f, 0, 7);
    PrintWorldLine(0, 0, 0, std::numeric_limits<float>::infinity(), 0, 0);
    ASSERT_EQ(record.Lines().size(), 2u);
    EXPECT_EQ(record.Lines()[0].from.x, -49999);   // -50000 + 0.5, truncated toward zero
    EXPECT_EQ(record.Lines()[0].to.x, 50000);
    EXPECT_EQ(record.Lines()[0].to.y, 50);
    EXPECT_EQ(record.Lines()[1].from.x, -16777215);   // -16777216 + 0.5, truncated
    EXPECT_EQ(record.Lines()[1].to.x, 16777216);
    EXPECT_EQ(record.Lines()[1].to.y, 7);
}

TEST_F(OutputRoutingTest, PrintMoveAndLineScaleAndRound)
{
    MetafileRecorder record;
    PrintLine(1, 1, 2, 2);   // not printing: nothing
    Print(record.dc(), 2.5f);
    PrintMoveTo(1.0f, 2.1f);     // 2.5, 5.25 -> 3, 5
    PrintLineTo(-3.0f, 40000.0f); // -7.5, 100000 -> -7, 100000
    ASSERT_EQ(record.Lines().size(), 1u);
    EXPECT_EQ(record.Lines()[0].from.x, 3);
    EXPECT_EQ(record.Lines()[0].from.y, 5);
    EXPECT_EQ(record.Lines()[0].to.x, -7);
    EXPECT_EQ(record.Lines()[0].to.y, 100000);
}

TEST_F(OutputRoutingTest, ExportRoadLeavesTheDcUntouched)
{
    // While an export runs the projected lines go to the file, never to the pane.
    MetafileRecorder record;
    exportDxf2D = 1;
    DrawWorldLine(record.dc(), 0, 0, 0, 10, 0, 10, 0);
    exportDxf2D = 0;
    exportDxf3D = 1;
    DrawWorldLine(record.dc(), 0, 0, 0, 10, 0, 10, 0);
    DrawWorldLine(record.dc(), -50000, 0, 0, 50000, 0, 0, 0);
    exportDxf3D = 0;
    DrawWorldLine(record.dc(), 1, 0, 1, 2, 0, 2, 0);
    ASSERT_EQ(record.Lines().size(), 1u);
    EXPECT_EQ(record.Lines()[0].to.x, 2);
}

TEST_F(OutputRoutingTest, PenWidthRule)
{
    EXPECT_EQ(GetObjectPenWidth(nullptr, 0), 1);
    PlanObject* object = AddObject(15, {{0, 0, 0}});
    ASSERT_NE(object, nullptr);
    const struct { float size; int16_t width; } cases[] = {
        {-0.5f, 1}, {-0.1f, 0}, {-0.05f, 0}, {0.0f, 0}, {0.3f, 1}, {2.6f, 3}, {1.4f, 1},
    };
    for (const auto& c : cases) {
        object->size = c.size;
        EXPECT_EQ(GetObjectPenWidth(object, 1), c.width) << c.size;
    }
    // Zoomed only with the flag.
    Settings()->zoom = 2.0f;
    object->size = 2.6f;
    EXPECT_EQ(GetObjectPenWidth(object, 1), 5);
    EXPECT_EQ(GetObjectPenWidth(object, 0), 3);
    // Printing multiplies by the x scale.
    Settings()->zoom = 1.0f;
    planOutputMode = 1;
    printScaleX = 4.0f;
    printScaleY = 9.0f;
    object->size = 1.0f;
    EXPECT_EQ(GetObjectPenWidth(object, 0), 4);
    // A width beyond 16 bits does not wrap.
    printScaleX = 1e6f;
    EXPECT_EQ(GetObjectPenWidth(object, 0), 32767);
}

TEST_F(OutputRoutingTest, PenCentreOffset)
{
    int16_t dx = 7, dy = 9;
    GetPenCentreOffset(1, &dx, &dy);
    EXPECT_EQ(dx, 7);
    EXPECT_EQ(dy, 9);
    GetPenCentreOffset(3, &dx, &dy);
    EXPECT_EQ(dx, -1);
    EXPECT_EQ(dy, -1);
    GetPenCentreOffset(5, &dx, &dy);
    EXPECT_EQ(dx, -2);
    GetPenCentreOffset(2, &dx, &dy);
    EXPECT_EQ(dy, -1);
}

TEST_F(OutputRoutingTest, OffscreenDcMatchesTheClientArea)
{
    HBITMAP previous = nullptr;
    HDC memory = CreateOffscreenDC(pane, &previous, 1);
    ASSERT_NE(memory, nullptr);
    EXPECT_NE(previous, nullptr);
    BITMAP info = {};
    GetObject(GetCurrentObject(memory, OBJ_BITMAP), sizeof info, &info);
    RECT client;
    GetClientRect(pane, &client);
    EXPECT_EQ(info.bmWidth, client.right);
    EXPECT_EQ(info.bmHeight, client.bottom);
    EXPECT_GT(info.bmBitsPixel, 1);
    DeleteOffscreenDC(memory, previous);

    HDC mono = CreateOffscreenDC(pane, &previous, 0);
    ASSERT_NE(mono, nullptr);
    GetObject(GetCurrentObject(mono, OBJ_BITMAP), sizeof info, &info);
    EXPECT_EQ(info.bmBitsPixel, 1);
    DeleteOffscreenDC(mono, previous);

    HBITMAP slot = nullptr;
    EXPECT_EQ(CreateOffscreenDC(nullptr, &slot, 1), nullptr);
    EXPECT_EQ(CreateOffscreenDC(pane, nullptr, 1), nullptr);
    activeDocument = nullptr;
    EXPECT_EQ(CreateOffscreenDC(pane, &slot, 1), nullptr);
    activeDocument = document;
    DeleteOffscreenDC(nullptr, nullptr);
}

TEST_F(OutputRoutingTest, BackgroundFillUsesThePlanColour)
{
    DibSurface surface(20, 20, RGB(1, 2, 3));
    RECT area = {0, 0, 10, 10};
    EXPECT_NE(FillBackgroundRect(nullptr, surface.dc(), &area, 0), 0);
    // Settings background 63736, 63736, 65535, each divided by 257.
    EXPECT_EQ(surface.Pixel(5, 5), RGB(248, 248, 255));
    EXPECT_EQ(surface.Pixel(15, 15), RGB(1, 2, 3));
    interactiveRedraw = 1;
    RECT other = {10, 10, 20, 20};
    FillBackgroundRect(nullptr, surface.dc(), &other, 0);
    EXPECT_EQ(surface.Pixel(15, 15), kWhite);
}

TEST_F(OutputRoutingTest, MeasuringSurfaceIsCentredOnTheOrigin)
{
    CreateMeasureSurface();
    ASSERT_NE(measureSurfaceDC, nullptr);
    HDC first = measureSurfaceDC;
    CreateMeasureSurface();   // made once
    EXPECT_EQ(measureSurfaceDC, first);
    POINT origin;
    GetWindowOrgEx(measureSurfaceDC, &origin);
    EXPECT_EQ(origin.x, -500);
    EXPECT_EQ(origin.y, -500);
    EXPECT_EQ(GetPolyFillMode(measureSurfaceDC), WINDING);
    FillOffscreenWhite();
    EXPECT_EQ(GetPixel(measureSurfaceDC, -500, -500), kWhite);
    EXPECT_EQ(GetPixel(measureSurfaceDC, 499, 499), kWhite);
    Rectangle(measureSurfaceDC, -10, -10, 10, 10);   // black brush, null pen
    EXPECT_EQ(GetPixel(measureSurfaceDC, 0, 0), kBlack);
    FillOffscreenWhite();
    EXPECT_EQ(GetPixel(measureSurfaceDC, 0, 0), kWhite);
    DeleteMeasureSurface();
    EXPECT_EQ(measureSurfaceDC, nullptr);
    DeleteMeasureSurface();
}

} // namespace
