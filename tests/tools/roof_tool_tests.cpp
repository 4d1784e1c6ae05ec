// The roof tools from taped drags (top view, zoom 1, one display inch a plan unit): the
// outline a drag makes, the planes of each style, the ridge's place and height, the
// corners' order for both windings and the undo by tool.
#include "support_tools.h"
#include <gtest/gtest.h>
#include <cmath>
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "tools/tool_state.h"
#include "tools/undo.h"

namespace {

using tooltest::ToolTest;

class RoofTool : public ToolTest {
protected:
    void SetUp() override
    {
        ToolTest::SetUp();
        document->settings->roofPitch = 10.0f;
        Floor()->height = 100.0f;
    }
    PlanObject* Drag(int16_t tool, POINT from, POINT to)
    {
        RunGesture(tool, tooltest::Drag({from, to}));
        return LastObject();
    }
    static std::vector<PlanObject*> Planes(PlanObject* roof)
    {
        std::vector<PlanObject*> planes;
        for (PlanObject* p = static_cast<PlanObject*>(roof->link); p; p = p->next)
            planes.push_back(p);
        return planes;
    }
    static void ExpectCorner(PlanObject* plane, int index, float x, float y, float z)
    {
        const PlanVertex* v = vtest::VertexAt(plane, index);
        ASSERT_NE(v, nullptr);
        EXPECT_NEAR(v->position[0], x, 0.01f) << "corner " << index;
        EXPECT_NEAR(v->position[1], y, 0.01f) << "corner " << index;
        EXPECT_NEAR(v->position[2], z, 0.01f) << "corner " << index;
    }
};

TEST_F(RoofTool, EachStyleMakesItsPlanesAndTheRoofItsFields)
{
    struct Case { int16_t tool; uint32_t style; size_t planes; } cases[] = {
        {7301, 1, 12}, {7300, 2, 10}, {7302, 3, 11}, {7303, 4, 8}, {7304, 5, 9}, {7305, 6, 6}, {7307, 7, 6},
    };
    for (const Case& c : cases) {
        PlanObject* roof = Drag(c.tool, {0, 0}, {200, 100});
        ASSERT_NE(roof, nullptr) << c.tool;
        EXPECT_EQ(roof->type, ObjRoof);
        EXPECT_EQ(roof->category, kCategoryRoof);
        EXPECT_EQ(roof->styleOrTexture, c.style);
        EXPECT_FLOAT_EQ(roof->size, 10.0f);
        EXPECT_FLOAT_EQ(roof->elevation, 100.0f);
        EXPECT_EQ(roof->firstVertex->faceTextureA, 1255u);
        EXPECT_EQ(roof->firstVertex->faceColourB.red, 58000);
        const std::vector<PlanObject*> planes = Planes(roof);
        EXPECT_EQ(planes.size(), c.planes) << c.tool;
        for (PlanObject* p : planes) {
            EXPECT_EQ(p->host, roof);
            // Tops show the roof's face-A texture, the rest none; undersides its face B.
            EXPECT_EQ(p->firstVertex->faceTextureA, p->type == 32 ? 1255u : 0u);
            EXPECT_EQ(p->firstVertex->faceColourA.red, p->type == 41 ? 58000 : 0xDFDF);
        }
        // The planes are the roof's alone: the floor holds only the roof.
        EXPECT_EQ(vtest::CountFloorObjects(Floor()), 1);
        CancelPendingObject();
        FreeFloorObjects(Floor());
    }
}

TEST_F(RoofTool, TheRidgeFollowsTheLongerSideAtThePitchAndCornersTurnByTheOutline)
{
    // The first main slope (after the six hip pieces) lies over V3-V2 and reaches the
    // ridge: 12 + 10/12 of the half span 50 above the outline, 50 in from each end.
    struct Case { POINT from, to; float corners[4][2]; } cases[] = {
        // Listed order: V3 and V2 raised, E, S; the ridge along x.
        {{0, 0}, {200, 100}, {{0, 100}, {200, 100}, {150, 50}, {50, 50}}},
        // The other sense: V3 raised, S, E, V2 raised.
        {{0, 100}, {200, 0}, {{0, 0}, {50, 50}, {150, 50}, {200, 0}}},
        // Deeper than wide: the ridge along z; a square: both ends at the middle.
        {{0, 0}, {100, 200}, {{100, 200}, {100, 0}, {50, 50}, {50, 150}}},
        {{0, 0}, {100, 100}, {{100, 100}, {100, 0}, {50, 50}, {50, 50}}},
    };
    for (const Case& c : cases) {
        PlanObject* roof = Drag(7301, c.from, c.to);
        ASSERT_NE(roof, nullptr);
        const float y = roof->firstVertex->position[1];
        const std::vector<PlanObject*> planes = Planes(roof);
        ASSERT_EQ(planes.size(), 12u);
        EXPECT_EQ(planes[6]->type, 32);
        for (int i = 0; i < 4; ++i) {
            // Outline corners lie on the 100 grid, ridge ends off it.
            const bool ridge = std::fmod(c.corners[i][0], 100.0f) != 0.0f || std::fmod(c.corners[i][1], 100.0f) != 0.0f;
            ExpectCorner(planes[6], i, c.corners[i][0], ridge ? y - 53.667f : y - 12.0f, c.corners[i][1]);
        }
        CancelPendingObject();
        FreeFloorObjects(Floor());
    }
}

TEST_F(RoofTool, UndoTakesBackAHipRoofButNotAThreePlaneOne)
{
    struct Case { int16_t tool; bool undone; } cases[] = {{7301, true}, {7302, false}};
    for (const Case& c : cases) {
        PlanObject* roof = Drag(c.tool, {0, 0}, {200, 100});
        ASSERT_NE(roof, nullptr);
        UndoLastEdit();
        EXPECT_EQ(Floor()->firstObject == nullptr, c.undone) << c.tool;
        CancelPendingObject();
        FreeFloorObjects(Floor());
    }
    // A click makes no roof.
    EXPECT_EQ(Drag(7301, {10, 10}, {10, 10}), nullptr);
}

}  // namespace
