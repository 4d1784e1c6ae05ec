// Speed of the plan pane's texts at a zoom they were never laid out at, and of opening
// plans of texts: a plan of 900 texts among 300 walls with doors and 600 drawing lines
// with their length labels, and a plan of 2,000 texts in 8 faces and styles and sizes from
// 6 to 60 pixels, frames from 24 to 300 units wide, each loaded as Open loads them and
// shown in a plan pane of 1200 x 900. Figures (medians in ms): the open (the load and the
// first repaint at 100 %) and its first repaint alone; the first repaint at a zoom in (2 to 3) and at a zoom out (0.3
// to 0.5) that no repaint of the run showed before; the repaint back at 100 % after each.
//
//   text_zoom_speed.exe [--runs N] [--write | --written]
//
// --write writes the two plans and ends; --written measures the plans written so, and
// leaves them (benchmark.sh --texts writes them once for every build's rounds); without
// either, each plan is written, measured and removed.
//
// Built against the program's library of another build too (benchmark.sh --texts), so it
// uses only what every build since texts were kept as lines has. Runs in the current
// directory, where it writes its plans.
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
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int runs = 3;
enum class Plans { WriteMeasureRemove, WriteOnly, AlreadyWritten } plans = Plans::WriteMeasureRemove;

const char* const kWords[] = {"Soggiorno", "Cucina", "Bagno", "Camera da letto", "Ripostiglio", "Terrazza coperta",
                              "Studio", "Lavanderia e stenditoio", "Ingresso", "Garage doppio"};

// One text frame of the plan's own scale at (x, z), `width` wide, holding text in font.
void AddText(LONG x, LONG z, LONG width, LONG height, const std::string& text, const LOGFONTA& font, DWORD align)
{
    HWND control = CreateTextEditWindow(WS_CHILD | ES_MULTILINE | align, 0, 0, width, height, activePlanPane);
    SetTextEditFont(control, font);
    SetWindowTextA(control, text.c_str());
    const RECT frame = {x, z, x + width, z + height};
    // As the text tool lays a frame in the plan: the builder's second coordinate is z.
    PlanObject* object = BuildTextFrameObject(&frame, control, activeDocument->firstFloor);
    SwapObjectYZ(object);
    UpdateObjectExtents(object);
}

// 900 room labels (Arial 16 to 24 pixels, every third of two lines, some in frames
// narrower than their longest word) among 300 walls with doors and 600 labelled lines.
void BuildLabelledPlan()
{
    BuildWallsWithDoors(300);
    BuildDimensionedLines(600);
    LOGFONTA font = {};
    std::strcpy(font.lfFaceName, "Arial");
    const int side = 30;
    for (int i = 0; i < 900; ++i) {
        font.lfHeight = -(16 + i % 9);
        font.lfWeight = i % 5 == 0 ? FW_BOLD : FW_NORMAL;
        std::string text = kWords[i % 10];
        if (i % 3 == 0)
            text += "\r\n" + std::to_string(9 + i % 23) + " m\xb2";
        const LONG width = i % 7 == 0 ? 30 : 60 + (i * 37) % 140;
        AddText(-side * 60 + (i % side) * 120, -side * 40 + (i / side) * 80, width, i % 3 == 0 ? 50 : 28, text, font,
                i % 4 == 1 ? ES_CENTER : ES_LEFT);
    }
}

// 2,000 texts in 8 faces and styles, 6 to 60 pixels high.
void BuildManyFacesPlan()
{
    const struct { const char* face; LONG weight; BYTE italic; } looks[] = {
        {"Arial", FW_NORMAL, 0}, {"Times New Roman", FW_BOLD, 0}, {"Courier New", FW_NORMAL, 1},
        {"DejaVu Sans", FW_NORMAL, 0}, {"DejaVu Serif", FW_BOLD, 1}, {"DejaVu Sans Mono", FW_NORMAL, 0},
        {"Tahoma", FW_BOLD, 0}, {"URW Gothic", FW_NORMAL, 1}};
    const int side = 45;
    for (int i = 0; i < 2000; ++i) {
        LOGFONTA font = {};
        std::strcpy(font.lfFaceName, looks[i % 8].face);
        font.lfWeight = looks[i % 8].weight;
        font.lfItalic = looks[i % 8].italic;
        font.lfHeight = -(6 + (i * 7) % 55);
        std::string text = kWords[(i / 8) % 10];
        if (i % 4 == 0)
            text += "\r\n" + std::string(kWords[(i / 3) % 10]) + "\t" + std::to_string(i);
        const LONG width = 24 + (i * 53) % 277;
        const LONG height = -font.lfHeight * (i % 4 == 0 ? 3 : 2) + 10;
        AddText(-side * 80 + (i % side) * 160, -side * 60 + (i / side) * 120, width, height, text, font,
                i % 3 == 2 ? ES_RIGHT : ES_LEFT);
    }
}

void Repaint(HWND pane, float zoom)
{
    activeDocument->settings->zoom = zoom;
    InvalidateRect(pane, nullptr, FALSE);
    UpdateWindow(pane);
}

// The active document shown in the pane (its window long), the plan's centre in the middle.
void ShowInPane(HWND pane)
{
    activeDocument->settings->gridVisible = 0;
    SetWindowLongPtrA(pane, 0, reinterpret_cast<LONG_PTR>(activeDocument));
    HDC dc = GetDC(pane);
    SetWindowOrgEx(dc, -600, -450, nullptr);
    ReleaseDC(pane, dc);
}

void Measure(HWND pane, const char* name, const std::function<void()>& build)
{
    const std::string file = std::string(name) + ".ZRO";
    if (plans != Plans::AlreadyWritten) {
        BeginDocument();
        ShowTopView();
        build();
        SavePlanFile(file.c_str());
        EndDocument();
        // Opened as a plan saved long before: one just saved is read twice (files/whole_reads.h).
        DateLastWrite(file.c_str(), 3600);
        if (plans == Plans::WriteOnly)
            return;
    }

    // The open: the load and the first repaint at 100 %, each run of a document of its own.
    std::vector<double> opens, firsts;
    for (int i = 0; i < runs; ++i) {
        SetWindowLongPtrA(pane, 0, 0);
        EndDocument();
        const double start = Now();
        BeginDocument();
        if (!LoadPlanFile(file.c_str())) {
            std::printf("%s was not loaded\n", file.c_str());
            std::exit(1);
        }
        ShowInPane(pane);
        const double loaded = Now();
        Repaint(pane, 1.0f);
        opens.push_back(Now() - start);
        firsts.push_back(Now() - loaded);
    }
    // Zooms no repaint of the run showed before, in and out in turn, each followed by 100 %.
    int step = 0;
    std::vector<double> in, out, back;
    for (int i = 0; i < runs; ++i)
        for (float zoom : {2.0f + 0.1f * static_cast<float>(i), 0.3f + 0.02f * static_cast<float>(i)}) {
            double start = Now();
            Repaint(pane, zoom);
            (zoom > 1.0f ? in : out).push_back(Now() - start);
            start = Now();
            Repaint(pane, 1.0f);
            back.push_back(Now() - start);
            ++step;
        }
    SetWindowLongPtrA(pane, 0, 0);
    EndDocument();
    if (plans == Plans::WriteMeasureRemove)
        DeleteFileA(file.c_str());
    const std::string plan = name;
    PrintTime(plan + ", open and first repaint", MedianOf(opens), runs);
    PrintTime(plan + ", first repaint after the open", MedianOf(firsts), runs);
    PrintTime(plan + ", first repaint at a new zoom in (2 to 3)", MedianOf(in), runs);
    PrintTime(plan + ", first repaint at a new zoom out (0.3 to 0.5)", MedianOf(out), runs);
    PrintTime(plan + ", repaint back at 100 % after it", MedianOf(back), step);
}

} // namespace

int main(int argc, char** argv)
{
    runs = StartBenchmark(argc, argv, runs);
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--write"))
            plans = Plans::WriteOnly;
        else if (!std::strcmp(argv[i], "--written"))
            plans = Plans::AlreadyWritten;
    }
    HWND pane = CreateMainClassPane();
    benchPane = pane;
    AnswerMessageBoxes();
    Measure(pane, "texts-900-among-walls", BuildLabelledPlan);
    Measure(pane, "texts-2000-of-8-faces", BuildManyFacesPlan);
    DestroyWindow(pane);
    return 0;
}
