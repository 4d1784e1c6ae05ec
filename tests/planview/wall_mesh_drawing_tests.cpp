// Walls on the plan are drawn through their generated body: after a plan is saved and
// read back, each wall's footprint is filled (screen: line colour; printer: black) at
// the places its centre line and thickness give. Plan units: drawing unit inch at
// scale 36, so an inch is 2 plan units; top view, origin 0, zoom 1.
#include "support_drawing.h"
#include "support_plan.h"
#include "files/plan_file.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/object_operations.h"
#include "model/plan_settings.h"
#include "planview/labels_and_fills.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "tools/tool_state.h"
#include <algorithm>
#include <set>
#include <utility>
#include <vector>

using vtest::DibSurface;
using vtest::MetafileRecorder;
using vtest::PlanViewTest;
using vtest::RecordedPolygon;

namespace {

const COLORREF kCurrentColour = RGB(0, 64, 136);   // settings 126 by default
using PointSet = std::set<std::pair<LONG, LONG>>;

class WallMeshDrawingTest : public PlanViewTest {
protected:
    void SetUp() override
    {
        PlanViewTest::SetUp();
        ResetOutput();
        PlanSettings* s = Settings();
        s->drawingUnit = 1;          // inches
        s->drawingScale = 36.0f;     // 72 / 36: 2 plan units an inch
        s->visibleCategories = kCategoryFloorPlan | kCategoryElectrical | kCategoryPlumbing;
        s->activeCategory = kCategoryFloorPlan;
        // The walls' bodies alone: their dimensions are another test's.
        s->dimensionDrawing = 0;
        s->labelDrawing = 0;
    }
    void TearDown() override
    {
        ResetOutput();
        currentToolId = 200;
        PlanViewTest::TearDown();
    }
    static void ResetOutput()
    {
        planDC = nullptr;
        planOutputMode = 0;
        printScaleX = printScaleY = 1.0f;
        interactiveRedraw = 0;
        dragFeedbackActive = 0;
    }

    // A wall as the wall tools make it: thickness in inches, storey high, floor-plan
    // category; closed with sub-type 54 for the outer shell.
    PlanObject* AddWall(std::initializer_list<std::array<float, 3>> points, bool exterior,
                        float thickness)
    {
        PlanObject* wall = AddObject(ObjWall, points, exterior);
        wall->subType = exterior ? 54 : 0;
        wall->category = kCategoryFloorPlan;
        wall->size = thickness;
        wall->parameters[0] = 96.0f;
        wall->parameters[1] = 16.0f;
        wall->parameters[2] = 0.5f;
        wall->parameters[3] = 12.0f;
        for (PlanVertex* v = wall->firstVertex; v; v = v->next)
            v->mainHeight = 96.0f;
        return wall;
    }

    // A house of 100 by 50 inches (a shell 10 inches thick) split by a wall 6 thick;
    // written by the plan writer and read back, so the bodies are the reader's.
    void SaveAndLoadHouse()
    {
        AddWall({{0, 0, 0}, {200, 0, 0}, {200, 0, 100}, {0, 0, 100}}, true, 10.0f);
        AddWall({{100, 0, 0}, {100, 0, 100}}, false, 6.0f);
        ASSERT_TRUE(SavePlanFile("walls.ZRO"));
        ASSERT_TRUE(LoadPlanFile("walls.ZRO"));
        ASSERT_NE(Settings(), nullptr);
    }

    static PointSet Corners(const RecordedPolygon& polygon)
    {
        PointSet out;
        for (const POINT& p : polygon.points)
            out.insert({p.x, p.y});
        return out;
    }
    static PointSet Scaled(PointSet points, LONG k)
    {
        PointSet out;
        for (const auto& p : points)
            out.insert({p.first * k, p.second * k});
        return out;
    }
    // The shell's footprint: half of 10 inches (10 plan units) either side of the
    // centre line, inside and outside; the inner wall 3 inches (6 units) either side.
    // Device points are rounded as every line of the plan is, +0.5 truncated toward
    // zero, so -10 lands on -9 (and -30 on -29).
    static PointSet ShellCorners(LONG k = 1)
    {
        const LONG in = 10 * k, out = -10 * k + 1;
        return {{in, in}, {190 * k, in}, {190 * k, 90 * k}, {in, 90 * k},
                {out, out}, {210 * k, out}, {210 * k, 110 * k}, {out, 110 * k}};
    }
    static PointSet InnerWallCorners() { return {{94, 0}, {106, 0}, {94, 100}, {106, 100}}; }
};

TEST_F(WallMeshDrawingTest, LoadedWallsFillTheirFootprintOnTheScreen)
{
    SaveAndLoadHouse();
    MetafileRecorder record;
    RedrawPlan(record.dc(), document->firstFloor, nullptr, DrawAllObjects, nullptr);
    const auto& polygons = record.Polygons();
    ASSERT_EQ(polygons.size(), 2u);
    // The shell: its inner ring then its outer ring, each closed, and the first point
    // repeated to close the polygon.
    EXPECT_EQ(Corners(polygons[0]), ShellCorners());
    EXPECT_EQ(polygons[0].points.size(), 11u);
    EXPECT_EQ(Corners(polygons[1]), InnerWallCorners());
    EXPECT_EQ(polygons[1].points.size(), 5u);
    for (const RecordedPolygon& p : polygons) {
        EXPECT_EQ(p.points.front().x, p.points.back().x);
        EXPECT_EQ(p.points.front().y, p.points.back().y);
        EXPECT_EQ(p.pen.lopnStyle, static_cast<UINT>(PS_SOLID));
        EXPECT_EQ(p.pen.lopnWidth.x, 1);
        EXPECT_EQ(p.pen.lopnColor, kCurrentColour);
        EXPECT_EQ(p.brush.lbStyle, static_cast<UINT>(BS_SOLID));
        EXPECT_EQ(p.brush.lbColor, kCurrentColour);
        EXPECT_EQ(p.fillMode, WINDING);
    }
    // The body is drawn as a fill, not as mesh lines.
    EXPECT_TRUE(record.Lines().empty());
}

TEST_F(WallMeshDrawingTest, FilledWallsLeaveTheRoomsEmpty)
{
    SaveAndLoadHouse();
    DibSurface surface(300, 200);
    RedrawPlan(surface.dc(), document->firstFloor, nullptr, DrawAllObjects, nullptr);
    // Across the shell at mid-height of the left side, then inside the rooms.
    EXPECT_EQ(surface.Pixel(0, 50), kCurrentColour);
    EXPECT_EQ(surface.Pixel(200, 50), kCurrentColour);
    EXPECT_EQ(surface.Pixel(100, 2), kCurrentColour);
    EXPECT_EQ(surface.Pixel(100, 50), kCurrentColour);
    EXPECT_EQ(surface.Pixel(50, 50), RGB(255, 255, 255));
    EXPECT_EQ(surface.Pixel(150, 50), RGB(255, 255, 255));
    EXPECT_EQ(surface.Pixel(250, 50), RGB(255, 255, 255));
    // The shell band runs from x -10 to 10 along its left side (the surface shows 0 to
    // 10) and the inner wall from 94 to 106, edges included.
    int shell = 0, inner = 0;
    for (int x = 0; x < 20; ++x)
        shell += surface.Pixel(x, 50) == kCurrentColour ? 1 : 0;
    for (int x = 80; x < 120; ++x)
        inner += surface.Pixel(x, 50) == kCurrentColour ? 1 : 0;
    EXPECT_EQ(shell, 11);
    EXPECT_EQ(inner, 13);
}

TEST_F(WallMeshDrawingTest, PrintedWallsAreBlackAndScaled)
{
    SaveAndLoadHouse();
    MetafileRecorder record;
    planDC = record.dc();
    planOutputMode = 1;
    printScaleX = printScaleY = 3.0f;
    RedrawPlan(planDC, document->firstFloor, nullptr, DrawAllObjects, nullptr);
    planDC = nullptr;
    planOutputMode = 0;
    const auto& polygons = record.Polygons();
    ASSERT_EQ(polygons.size(), 2u);
    EXPECT_EQ(Corners(polygons[0]), ShellCorners(3));
    EXPECT_EQ(Corners(polygons[1]), Scaled(InnerWallCorners(), 3));
    for (const RecordedPolygon& p : polygons) {
        EXPECT_EQ(p.pen.lopnColor, RGB(0, 0, 0));
        EXPECT_EQ(p.pen.lopnWidth.x, 1);
        EXPECT_EQ(p.brush.lbStyle, static_cast<UINT>(BS_SOLID));
        EXPECT_EQ(p.brush.lbColor, RGB(0, 0, 0));
    }
}

TEST_F(WallMeshDrawingTest, WallsFollowTheBuildingLayers)
{
    SaveAndLoadHouse();
    // Shown under the electrical layer although their own category is the floor plan.
    Settings()->visibleCategories = kCategoryElectrical;
    {
        MetafileRecorder record;
        RedrawPlan(record.dc(), document->firstFloor, nullptr, DrawAllObjects, nullptr);
        EXPECT_EQ(record.Polygons().size(), 2u);
    }
    // Hidden under the garden layer alone.
    Settings()->visibleCategories = kCategoryGarden;
    {
        MetafileRecorder record;
        RedrawPlan(record.dc(), document->firstFloor, nullptr, DrawAllObjects, nullptr);
        EXPECT_TRUE(record.Polygons().empty());
    }
}

TEST_F(WallMeshDrawingTest, EditedWallIsRedrawnFromItsNewBody)
{
    SaveAndLoadHouse();
    PlanObject* inner = document->firstFloor->firstObject->next;
    ASSERT_EQ(inner->type, ObjWall);
    inner->size = 10.0f;
    RebuildByType(inner);
    MetafileRecorder record;
    RedrawPlan(record.dc(), document->firstFloor, nullptr, DrawAllObjects, nullptr);
    ASSERT_EQ(record.Polygons().size(), 2u);
    EXPECT_EQ(Corners(record.Polygons()[1]), (PointSet{{90, 0}, {110, 0}, {90, 100}, {110, 100}}));
}

TEST_F(WallMeshDrawingTest, OuterShellsHighlightedForTheInteriorWallTool)
{
    SaveAndLoadHouse();
    currentToolId = 7051;
    MetafileRecorder record;
    RedrawPlan(record.dc(), document->firstFloor, nullptr, DrawAllObjects, nullptr);
    const auto& polygons = record.Polygons();
    // Both bodies, then the shell's centre line in green, hollow.
    ASSERT_EQ(polygons.size(), 3u);
    const RecordedPolygon& mark = polygons[2];
    EXPECT_EQ(Corners(mark), (PointSet{{0, 0}, {200, 0}, {200, 100}, {0, 100}}));
    EXPECT_EQ(mark.pen.lopnColor, RGB(0, 255, 0));
    EXPECT_EQ(mark.pen.lopnWidth.x, 2);
    EXPECT_EQ(mark.brush.lbStyle, static_cast<UINT>(BS_NULL));

    // Never on paper.
    MetafileRecorder page;
    planDC = page.dc();
    planOutputMode = 1;
    RedrawPlan(planDC, document->firstFloor, nullptr, DrawAllObjects, nullptr);
    planDC = nullptr;
    planOutputMode = 0;
    EXPECT_EQ(page.Polygons().size(), 2u);
}

// The fill routine itself: the first row only, the brush by fill style, nothing for an
// object without rows, and no more points than the chain holds.
TEST_F(WallMeshDrawingTest, FillUsesTheFirstRowAndTheFillStyle)
{
    PlanObject* mesh = AddObject(ObjWallMesh, {{0, 0, 0}, {40, 0, 0}, {40, 0, 20}, {0, 0, 20},
                                               {0, -9, 0}, {40, -9, 0}, {40, -9, 20}, {0, -9, 20}},
                                 true);
    mesh->rows = 2;
    mesh->vertexCount = 8;
    const ColourTriple red = {65535, 0, 0};
    const ColourTriple blue = {0, 0, 65535};
    MetafileRecorder record;
    FillObjectArea(record.dc(), mesh, PS_DASH, 0, &red, &blue, 1);
    FillObjectArea(record.dc(), mesh, PS_SOLID, 2, &red, &blue, 2);
    FillObjectArea(record.dc(), mesh, PS_SOLID, 1, &red, &blue, -1);
    mesh->rows = 0;
    FillObjectArea(record.dc(), mesh, PS_SOLID, 1, &red, &blue, 0);
    // A count beyond the chain (a damaged file) is held to the vertices there are.
    mesh->rows = 1;
    mesh->vertexCount = 1000000;
    FillObjectArea(record.dc(), mesh, PS_SOLID, 1, &red, &blue, 0);

    const auto& polygons = record.Polygons();
    ASSERT_EQ(polygons.size(), 4u);
    const PointSet ring = {{0, 0}, {40, 0}, {40, 20}, {0, 20}};
    EXPECT_EQ(Corners(polygons[0]), ring);
    EXPECT_EQ(polygons[0].points.size(), 5u);
    EXPECT_EQ(polygons[0].pen.lopnStyle, static_cast<UINT>(PS_DASH));
    EXPECT_EQ(polygons[0].pen.lopnColor, RGB(255, 0, 0));
    EXPECT_EQ(polygons[0].brush.lbStyle, static_cast<UINT>(BS_HATCHED));
    EXPECT_EQ(polygons[0].brush.lbHatch, static_cast<ULONG>(HS_BDIAGONAL));
    EXPECT_EQ(polygons[0].brush.lbColor, RGB(0, 0, 255));
    EXPECT_EQ(polygons[1].brush.lbHatch, static_cast<ULONG>(HS_FDIAGONAL));
    EXPECT_EQ(polygons[1].pen.lopnWidth.x, 2);
    EXPECT_EQ(polygons[2].brush.lbStyle, static_cast<UINT>(BS_NULL));
    EXPECT_EQ(polygons[3].points.size(), 9u);
    EXPECT_EQ(polygons[3].brush.lbStyle, static_cast<UINT>(BS_SOLID));
}

} // namespace
