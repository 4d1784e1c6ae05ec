// The dimension and text tools from taped input, the text frame's refit while typing
// and its lines drawn into a metafile.
#include "support_tools.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "planview/output_routing.h"
#include "shell/app_globals.h"
#include "shell/camera_presets.h"
#include "support/metafile_recorder.h"
#include "tools/text_editing.h"
#include "tools/tool_state.h"

namespace {

using tooltest::At;
using tooltest::Frame;
using tooltest::ToolTest;
using vtest::VertexAt;

// The first object of the type in a list or its groups.
PlanObject* FindIn(PlanObject* first, uint16_t type)
{
    for (PlanObject* o = first; o; o = o->next) {
        if (o->type == type)
            return o;
        if (PlanObject* inner = FindIn(o->firstChild, type))
            return inner;
    }
    return nullptr;
}

class DimensionAndText : public ToolTest {
protected:
    void SetUp() override
    {
        ToolTest::SetUp();
        sheet = FindFloorByNumber(ViewTop);
        document->currentViewSheet = sheet;
    }
    void TearDown() override
    {
        textAlignment = 41;
        ToolTest::TearDown();
    }
    PlanFloor* sheet = nullptr;
};

TEST_F(DimensionAndText, DimensionsArePlacedBesideTheMeasureOnTheViewSheet)
{
    struct Case { const char* name; POINT end; bool withSheet; bool made; } cases[] = {
        {"shorter than 6", {5, 0}, true, false},
        {"no view sheet", {100, 0}, false, false},
        {"placed", {100, 0}, true, true},
    };
    for (const Case& c : cases) {
        document->currentViewSheet = c.withSheet ? sheet : nullptr;
        std::vector<Frame> frames = tooltest::Drag({{0, 0}, c.end});
        // A right click and a key leave the placement going; the left click ends it.
        for (Frame f : {At(c.end.x, 0), At(50, -30), At(50, -30, WM_RBUTTONDOWN), At(50, -30, WM_KEYDOWN),
                        At(50, -30, WM_LBUTTONDOWN), At(50, -30)})
            frames.push_back(f);
        if (c.end.x < 6)
            frames.resize(3);   // no placement phase reads the rest
        RunGesture(202, frames);
        PlanObject* dimension = FindIn(sheet->firstObject, ObjDimensionLine);
        EXPECT_EQ(FindIn(Floor()->firstObject, ObjDimensionLine), nullptr) << c.name;
        EXPECT_EQ(mouseCaptured, 0u) << c.name;
        if (!c.made) {
            EXPECT_EQ(dimension, nullptr) << c.name;
            continue;
        }
        ASSERT_NE(dimension, nullptr) << c.name;
        // The measured ends and the line 30 to the side of the pointer.
        const float expected[4][2] = {{100, 0}, {100, -30}, {0, -30}, {0, 0}};
        ASSERT_EQ(CountVertexChain(dimension), 4) << c.name;
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(VertexAt(dimension, i)->position[0], expected[i][0], 0.01f) << c.name << i;
            EXPECT_NEAR(VertexAt(dimension, i)->position[2], expected[i][1], 0.01f) << c.name << i;
        }
    }
}

TEST_F(DimensionAndText, NewTextFramesAre36HighAndAtLeast20Dragged)
{
    struct Case { std::vector<Frame> frames; RECT control; } cases[] = {
        {tooltest::Drag({{50, 60}}), {50, 60, 250, 96}},
        {tooltest::Drag({{50, 60}, {69, 79}}), {50, 60, 250, 96}},
        {tooltest::Drag({{50, 60}, {80, 200}, {350, 160}}), {50, 60, 350, 96}},
        {tooltest::Drag({{350, 160}, {50, 60}}), {50, 60, 350, 96}},
    };
    for (const Case& c : cases) {
        textAlignment = 42;
        RunGesture(203, c.frames);
        PlanObject* frame = FindIn(sheet->firstObject, ObjTextFrame);
        ASSERT_NE(frame, nullptr);
        HWND control = static_cast<HWND>(frame->link);
        ASSERT_TRUE(IsWindow(control));
        EXPECT_EQ(document->textEditChild, control);
        EXPECT_EQ(GetParent(control), pane);
        EXPECT_TRUE(GetWindowLongA(control, GWL_STYLE) & ES_CENTER);
        RECT placed;
        GetWindowRect(control, &placed);
        MapWindowPoints(nullptr, pane, reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_TRUE(EqualRect(&placed, &c.control))
            << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;
        // The frame is 3 larger on every side; the new text takes the text font.
        EXPECT_FLOAT_EQ(frame->box2D[1], c.control.left - 3.0f);
        EXPECT_FLOAT_EQ(frame->box2D[3], c.control.right + 3.0f);
        EXPECT_FLOAT_EQ(frame->box2D[2] - frame->box2D[0], 42.0f);
        LOGFONTA font;
        ASSERT_TRUE(GetTextEditLogFont(control, &font));
        EXPECT_STREQ(font.lfFaceName, textLogFont.lfFaceName);
        FreeObject(frame);
    }
}

TEST_F(DimensionAndText, WithoutAViewSheetNoControlIsLeft)
{
    document->currentViewSheet = nullptr;
    RunGesture(203, tooltest::Drag({{50, 60}}));
    EXPECT_EQ(FindWindowExA(pane, nullptr, "EDIT", nullptr), nullptr);
    EXPECT_EQ(document->textEditChild, nullptr);
}

TEST_F(DimensionAndText, AWrappingLineGrowsTheFrameByOneLine)
{
    RunGesture(203, tooltest::Drag({{20, 20}}));
    PlanObject* frame = FindIn(sheet->firstObject, ObjTextFrame);
    ASSERT_NE(frame, nullptr);
    HWND control = static_cast<HWND>(frame->link);
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);

    std::string text = "Salon";
    SetWindowTextA(control, text.c_str());
    RefitTextEditWindow(frame);
    const float oneLine = frame->box2D[2] - frame->box2D[0];
    // Words are added until the control wraps the line once.
    while (SendMessageA(control, EM_GETLINECOUNT, 0, 0) < 2 && text.size() < 400) {
        text += " vue";
        SetWindowTextA(control, text.c_str());
    }
    RefitTextEditWindow(frame);
    EXPECT_EQ(SendMessageA(control, EM_GETLINECOUNT, 0, 0), 2);
    EXPECT_FLOAT_EQ(frame->box2D[2] - frame->box2D[0] - oneLine, float(metrics.tmHeight));
    EXPECT_FLOAT_EQ(frame->box2D[3] - frame->box2D[1], 206.0f);   // the width stays
}

TEST_F(DimensionAndText, ATextFramesLinesGoToAMetafile)
{
    RunGesture(203, tooltest::Drag({{20, 20}, {320, 120}}));
    PlanObject* frame = FindIn(sheet->firstObject, ObjTextFrame);
    ASSERT_NE(frame, nullptr);
    HWND control = static_cast<HWND>(frame->link);
    SetWindowTextA(control, "Cucina\r\nBagno");
    vtest::MetafileRecorder recording;
    const float scales[2] = {printScaleX, printScaleY};
    planDC = recording.dc();
    planOutputMode = 1;
    printScaleX = printScaleY = 1.0f;
    FitTextEditToObject(recording.dc(), control, frame);
    planDC = nullptr;
    planOutputMode = 0;
    printScaleX = scales[0];
    printScaleY = scales[1];
    EXPECT_EQ(recording.TextStrings(), (std::vector<std::string>{"Cucina", "Bagno"}));
}

}  // namespace
