// The sample house of the README and the plans of the end-to-end print tests, as the
// program's own writer and reader keep them. The files themselves are written by the
// print_plan_writer tool beside the tests.
#include <gtest/gtest.h>
#include "support_print_plans.h"
#include "files/plan_file.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "shell/app_globals.h"
#include "support/plan_fixtures.h"
#include "support/test_support.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace printtest;

namespace {

class SamplePlanTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCurrentDirectoryA(MAX_PATH, directory);
        savedProgramDirectory = programDirectory;
        programDirectory = directory;
    }
    void TearDown() override
    {
        EndPlan();
        programDirectory = savedProgramDirectory;
    }
    // Builds a plan into a fresh document and writes it.
    bool Write(void (*build)(), const std::string& path, std::vector<Segment>* segments = nullptr,
               std::vector<WallBand>* walls = nullptr)
    {
        EndPlan();
        if (!BeginPlan())
            return false;
        build();
        if (segments)
            *segments = DrawnSegments(activeDocument);
        if (walls)
            *walls = WallBands(activeDocument);
        return SavePlanFile(path.c_str());
    }
    char directory[MAX_PATH] = {};
    char* savedProgramDirectory = nullptr;
};

struct TypeCount {
    int walls = 0, exteriorWalls = 0, rectangles = 0, lines = 0, others = 0;
};

TypeCount CountFirstStorey()
{
    TypeCount count;
    for (PlanObject* o = FirstStorey()->firstObject; o; o = o->next) {
        if (o->type == ObjWall) {
            ++count.walls;
            if (o->subType == 54)
                ++count.exteriorWalls;
        } else if (o->type == ObjDrawingElement && o->subType == 1) {
            ++count.rectangles;
        } else if (o->type == ObjDrawingElement && o->subType == 6) {
            ++count.lines;
        } else {
            ++count.others;
        }
    }
    return count;
}

bool SameSegments(std::vector<Segment> a, std::vector<Segment> b)
{
    auto less = [](const Segment& p, const Segment& q) {
        if (p.x1 != q.x1) return p.x1 < q.x1;
        if (p.z1 != q.z1) return p.z1 < q.z1;
        if (p.x2 != q.x2) return p.x2 < q.x2;
        return p.z2 < q.z2;
    };
    std::sort(a.begin(), a.end(), less);
    std::sort(b.begin(), b.end(), less);
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].x1 != b[i].x1 || a[i].z1 != b[i].z1 || a[i].x2 != b[i].x2 || a[i].z2 != b[i].z2)
            return false;
    return true;
}

bool SameWallBands(const std::vector<WallBand>& a, const std::vector<WallBand>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].x1 != b[i].x1 || a[i].z1 != b[i].z1 || a[i].x2 != b[i].x2 || a[i].z2 != b[i].z2 ||
            a[i].half != b[i].half || a[i].extendStart != b[i].extendStart ||
            a[i].extendEnd != b[i].extendEnd)
            return false;
    return true;
}

// Per wall in list order: its kind, thickness, height, stud spacing, slab and footing.
std::vector<std::vector<float>> WallParameters()
{
    std::vector<std::vector<float>> walls;
    for (PlanObject* o = FirstStorey()->firstObject; o; o = o->next)
        if (o->type == ObjWall)
            walls.push_back({static_cast<float>(o->subType), o->size, o->parameters[0],
                             o->parameters[1], o->parameters[2], o->parameters[3]});
    return walls;
}

} // namespace

// The committed sample is what the generator makes: the same walls and the same drawn
// lines, and it reads back without a message.
TEST_F(SamplePlanTest, CommittedSampleLoadsAsGenerated)
{
    std::string path = vtest::SourceFilePath("samples/house.ZRO");
    ASSERT_FALSE(path.empty());

    ASSERT_NE(BeginPlan(), nullptr);
    BuildSampleHouse();
    std::vector<Segment> generated = DrawnSegments(activeDocument);
    std::vector<WallBand> generatedWalls = WallBands(activeDocument);
    std::vector<std::vector<float>> generatedParameters = WallParameters();
    TypeCount built = CountFirstStorey();
    EndPlan();

    vtest::MessageBoxRecorder boxes;
    ASSERT_NE(BeginPlan(), nullptr);
    ASSERT_TRUE(LoadPlanFile(path.c_str())) << path;
    EXPECT_EQ(boxes.Count(), 0u);
    TypeCount loaded = CountFirstStorey();
    EXPECT_EQ(loaded.walls, 3);
    EXPECT_EQ(loaded.exteriorWalls, 1);
    EXPECT_EQ(loaded.walls, built.walls);
    EXPECT_EQ(loaded.rectangles, built.rectangles);
    EXPECT_EQ(loaded.lines, built.lines);
    EXPECT_TRUE(SameSegments(DrawnSegments(activeDocument), generated));
    EXPECT_TRUE(SameWallBands(WallBands(activeDocument), generatedWalls));
    EXPECT_EQ(WallParameters(), generatedParameters);
    EXPECT_EQ(activeDocument->settings->printScaleChoice, 9);
    EXPECT_EQ(activeDocument->settings->modified, 0u);
    EXPECT_EQ(activeDocument->settings->dimensionDrawing, 1u);
    // The front door is back on the shell's south wall.
    PlanObject* shell = FirstStorey()->firstObject;
    ASSERT_TRUE(shell && shell->firstChild && shell->firstChild->link);
    const OpeningRecord* door = static_cast<const OpeningRecord*>(shell->firstChild->link);
    EXPECT_EQ(door->style, 501);
    EXPECT_EQ(door->startVertex, vtest::VertexAt(shell, 2));
    EXPECT_FLOAT_EQ(door->distanceFromStart, 720.0f);
    // Loading built every wall's body, and the footing of the outer shell, so the
    // printed page can show them.
    for (PlanObject* o = FirstStorey()->firstObject; o; o = o->next) {
        if (o->type != ObjWall)
            continue;
        const PlanObject* mesh = static_cast<const PlanObject*>(o->link);
        ASSERT_NE(mesh, nullptr);
        EXPECT_EQ(mesh->type, ObjWallMesh);
        EXPECT_EQ(mesh->host, o);
        EXPECT_EQ(mesh->rows, 2u);
        if (o->subType == 54)
            EXPECT_NE(o->firstPart, nullptr);
        else
            EXPECT_EQ(o->firstPart, nullptr);
    }
}

// Each test plan survives the writer and the reader with its drawn lines.
TEST_F(SamplePlanTest, TestPlansRoundTripTheirLines)
{
    void (*builds[])() = {BuildFitPlan, BuildScalePlan, BuildSmallScalePlan};
    for (auto build : builds) {
        std::vector<Segment> written;
        ASSERT_TRUE(Write(build, "plan.ZRO", &written));
        ASSERT_FALSE(written.empty());
        uint16_t choice = activeDocument->settings->printScaleChoice;
        uint16_t units = activeDocument->settings->unitSystem;
        EndPlan();
        ASSERT_NE(BeginPlan(), nullptr);
        ASSERT_TRUE(LoadPlanFile("plan.ZRO"));
        EXPECT_TRUE(SameSegments(DrawnSegments(activeDocument), written));
        EXPECT_EQ(activeDocument->settings->printScaleChoice, choice);
        EXPECT_EQ(activeDocument->settings->unitSystem, units);
    }
}
