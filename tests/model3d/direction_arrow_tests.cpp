#include "model3d/direction_arrow.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "planview/output_routing.h"
#include "support/plan_fixtures.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

// The MOVETOEX and LINETO records of what was drawn on dc, as (x, y) pairs.
struct Recording {
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    std::vector<POINTL> moves, lines;

    void Finish()
    {
        HENHMETAFILE metafile = CloseEnhMetaFile(dc);
        EnumEnhMetaFile(nullptr, metafile, Collect, this, nullptr);
        DeleteEnhMetaFile(metafile);
    }
    static int CALLBACK Collect(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM self)
    {
        Recording* r = reinterpret_cast<Recording*>(self);
        if (record->iType == EMR_MOVETOEX)
            r->moves.push_back(reinterpret_cast<const EMRMOVETOEX*>(record)->ptl);
        else if (record->iType == EMR_LINETO)
            r->lines.push_back(reinterpret_cast<const EMRLINETO*>(record)->ptl);
        return 1;
    }
};

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
        Recording screen;
        Recording printer;
        planOutputMode = c.printing;
        planDC = printer.dc;
        printScaleX = 2.0f;
        printScaleY = 3.0f;
        DrawDirectionArrow(screen.dc, nullptr, c.tipX, c.tipY, c.fromX, c.fromY);
        planOutputMode = 0;
        planDC = nullptr;
        screen.Finish();
        printer.Finish();
        const Recording& used = c.printing ? printer : screen;
        EXPECT_TRUE((c.printing ? screen : printer).lines.empty());
        ASSERT_EQ(used.moves.size(), 2u);
        ASSERT_EQ(used.lines.size(), 2u);
        for (const POINTL& m : used.moves) {
            EXPECT_EQ(m.x, c.start.x);
            EXPECT_EQ(m.y, c.start.y);
        }
        EXPECT_EQ(used.lines[0].x, c.first.x);
        EXPECT_EQ(used.lines[0].y, c.first.y);
        EXPECT_EQ(used.lines[1].x, c.second.x);
        EXPECT_EQ(used.lines[1].y, c.second.y);
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
