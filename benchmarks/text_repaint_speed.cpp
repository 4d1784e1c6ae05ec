// Speed of the plan pane's repaint on a plan of texts: 2,000 texts (room names, every
// fourth of two lines), loaded as Open loads them, against 2,000 drawing lines with their
// length labels, each in a plan pane of 1200 x 900 with its document, at zoom 1 and 0.25:
// the repaint with nothing changed since the last one, and the repaint after a scroll of
// 40 units (which moves every shown control), with the text tool off and on (its
// controls shown). Times are medians in ms. With nothing changed, the texts should
// cost at most 5 times the lines.
//
//   text_repaint_speed.exe [--runs N]
//
// Runs in the current directory, where it writes its plan.
#include "bench_support.h"
#include "files/plan_file.h"
#include "model/object_copies.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_settings.h"
#include "planview/plan_pane.h"
#include "shell/app_globals.h"
#include "tools/cad_builders.h"
#include "tools/text_editing.h"
#include "tools/tool_state.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

int runs = 5;
const int kCount = 2000;
const int kTextTool = 203;

// Texts in a square grid of cells 160 wide and 60 high, centred on the origin.
void BuildTexts()
{
    LOGFONTA font = {};
    font.lfHeight = -20;
    std::strcpy(font.lfFaceName, "Arial");
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(kCount))));
    for (int i = 0; i < kCount; ++i) {
        HWND control = CreateTextEditWindow(WS_CHILD | ES_MULTILINE, 0, 0, 120, 40, activePlanPane);
        SetTextEditFont(control, font);
        std::string text = "Vano " + std::to_string(i);
        if (i % 4 == 0)
            text += "\r\nm\xb2 " + std::to_string(12 + i % 30);
        SetWindowTextA(control, text.c_str());
        const LONG x = -side * 80 + (i % side) * 160, z = -side * 30 + (i / side) * 60;
        const RECT frame = {x, z, x + 120, z + (i % 4 == 0 ? 52 : 30)};
        // As the text tool lays a frame in the plan: the builder's second coordinate is z.
        PlanObject* object = BuildTextFrameObject(&frame, control, activeDocument->firstFloor);
        SwapObjectYZ(object);
        UpdateObjectExtents(object);
    }
}

// The active document shown in the pane (its window long), zoomed, the plan's centre in
// the middle of the pane.
void ShowInPane(HWND pane, float zoom)
{
    activeDocument->settings->zoom = zoom;
    activeDocument->settings->gridVisible = 0;
    SetWindowLongPtrA(pane, 0, reinterpret_cast<LONG_PTR>(activeDocument));
    HDC dc = GetDC(pane);
    SetWindowOrgEx(dc, -600, -450, nullptr);
    ReleaseDC(pane, dc);
}

void Repaint(HWND pane)
{
    InvalidateRect(pane, nullptr, FALSE);
    UpdateWindow(pane);
}

// The tool as the palette chooses it: the text tool wakes the texts' controls, another
// puts them to sleep.
void ChooseTool(int tool)
{
    currentToolId = static_cast<int16_t>(tool);
    ForEachFloorObject(activeDocument->firstFloor, 0, tool == kTextTool ? ResumeTextEditors : SuspendTextEditors,
                       nullptr);
}

double NothingChanged(HWND pane)
{
    Repaint(pane);
    return Median(runs, [pane] { Repaint(pane); });
}

// Scrolls of 40 units, right and left in turn, each repainted at once.
double Scrolled(HWND pane, HWND bar)
{
    int step = 40;
    Repaint(pane);
    return Median(runs, [&] {
        ScrollPlanView(bar, pane, 0, static_cast<int16_t>(step), 0, 1);
        step = -step;
    });
}

void Report(const std::string& name, double texts, double lines)
{
    PrintTime("texts 2000, " + name, texts, runs);
    PrintTime("labelled lines 2000, " + name, lines, runs);
    PrintValue("texts / labelled lines, " + name, texts / std::max(lines, 0.01), "x");
}

} // namespace

int main(int argc, char** argv)
{
    runs = StartBenchmark(argc, argv, runs);
    HWND pane = CreateMainClassPane();
    HWND bar = CreateWindowA("SCROLLBAR", "", WS_POPUP | SBS_HORZ, 0, 910, 400, 16, nullptr, nullptr, hInstance,
                             nullptr);
    SetScrollRange(bar, SB_CTL, 0, 1000, FALSE);
    SetScrollPos(bar, SB_CTL, 500, FALSE);
    benchPane = pane;

    // The texts go through a file, so that their controls are the ones a loaded plan has.
    BeginDocument();
    ShowTopView();
    BuildTexts();
    SavePlanFile("texts-2000.ZRO");
    EndDocument();
    BeginDocument();
    LoadPlanFile("texts-2000.ZRO");
    PlanDocument* texts = activeDocument;
    activeDocument = nullptr;
    BeginDocument();
    BuildDimensionedLines(kCount);
    PlanDocument* lines = activeDocument;

    struct Figures { double still, scrolled, scrolledWithTool; };
    auto measure = [&](PlanDocument* document, float zoom, bool withTool) {
        activeDocument = document;
        ShowInPane(pane, zoom);
        ChooseTool(200);
        Figures f = {NothingChanged(pane), Scrolled(pane, bar), 0};
        if (withTool) {
            ChooseTool(kTextTool);
            f.scrolledWithTool = Scrolled(pane, bar);
            ChooseTool(200);
        }
        return f;
    };
    for (float zoom : {1.0f, 0.25f}) {
        const bool withTool = zoom == 1.0f;   // the text tool shows its controls at 100 % only
        const Figures t = measure(texts, zoom, withTool);
        const Figures l = measure(lines, zoom, withTool);
        const std::string at = zoom == 1.0f ? "zoom 1" : "zoom 0.25";
        Report(at + ", repaint, nothing changed", t.still, l.still);
        Report(at + ", scroll of 40, text tool off", t.scrolled, l.scrolled);
        if (withTool)
            Report(at + ", scroll of 40, text tool on", t.scrolledWithTool, l.scrolledWithTool);
    }
    SetWindowLongPtrA(pane, 0, 0);
    for (PlanDocument* document : {texts, lines}) {
        activeDocument = document;
        EndDocument();
    }
    DestroyWindow(bar);
    DestroyWindow(pane);
    DeleteFileA("texts-2000.ZRO");
    return 0;
}
