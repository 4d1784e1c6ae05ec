#include "model3d/direction_arrow.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "planview/output_routing.h"
#include "support/metafile_recorder.h"
#include "support/plan_fixtures.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

using ArrowTest = vtest::RecordCheckedDocumentTest;

std::vector<float> Xs(PlanObject* object)
{
    std::vector<float> xs;
    for (PlanVertex* v = object->firstVertex; v; v = v->next)
        xs.push_back(v->position[0]);
    return xs;
}

} // namespace

TEST_F(ArrowTest, TwoStrokesLeaveTheTipAtTwentyFiveDegrees)
{
    const struct {
        float zoom;
        uint8_t printing;
        float tipX, tipY, fromX, fromY;
        POINT start, first, second;
    } cases[] = {
        // 50 cos 25 = 45.32, 50 sin 25 = 21.13; y grows downward.
        {1.0f, 0, 100, 100, 200, 100, {100, 100}, {145, 79}, {145, 121}},
        {2.0f, 0, 100, 100, 200, 100, {100, 100}, {191, 58}, {191, 142}},
        {1.0f, 0, 100, 100, 100, 100, {100, 100}, {145, 79}, {145, 121}},  // no direction: +x
        {1.0f, 0, 100, 100, 100, 0, {100, 100}, {79, 55}, {121, 55}},      // pointing up
        {1.0f, 1, 100, 100, 200, 100, {200, 300}, {291, 237}, {291, 363}}, // scaled 2 and 3
    };
    for (const auto& c : cases) {
        document->settings->zoom = c.zoom;
        vtest::MetafileRecorder screen;
        vtest::MetafileRecorder printer;
        planOutputMode = c.printing;
        planDC = printer.dc();
        printScaleX = 2.0f;
        printScaleY = 3.0f;
        DrawDirectionArrow(screen.dc(), nullptr, c.tipX, c.tipY, c.fromX, c.fromY);
        planOutputMode = 0;
        planDC = nullptr;
        vtest::MetafileRecorder& used = c.printing ? printer : screen;
        EXPECT_TRUE((c.printing ? screen : printer).Lines().empty());
        ASSERT_EQ(used.Moves().size(), 2u);
        ASSERT_EQ(used.Lines().size(), 2u);
        for (const POINT& m : used.Moves()) {
            EXPECT_EQ(m.x, c.start.x);
            EXPECT_EQ(m.y, c.start.y);
        }
        EXPECT_EQ(used.Lines()[0].to.x, c.first.x);
        EXPECT_EQ(used.Lines()[0].to.y, c.first.y);
        EXPECT_EQ(used.Lines()[1].to.x, c.second.x);
        EXPECT_EQ(used.Lines()[1].to.y, c.second.y);
    }
}

TEST_F(ArrowTest, AWalkingLineTurnsEndForEnd)
{
    PlanObject* line = vtest::MakePointObject(38, Storey(0), {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}}, 0, 0);
    line->vertexCount = 2;  // a stale count loses no vertex
    ReverseObjectPoints(line);
    EXPECT_EQ(Xs(line), (std::vector<float>{3, 2, 1}));
    EXPECT_EQ(line->firstVertex->previous, nullptr);
    EXPECT_EQ(line->firstVertex->next->previous, line->firstVertex);
    ReverseObjectPoints(line);
    EXPECT_EQ(Xs(line), (std::vector<float>{1, 2, 3}));
    PlanObject* single = vtest::MakePointObject(38, Storey(0), {{5, 0, 0}}, 0, 0);
    ReverseObjectPoints(single);
    EXPECT_EQ(Xs(single), (std::vector<float>{5}));
    line->vertexCount = 3;
}
