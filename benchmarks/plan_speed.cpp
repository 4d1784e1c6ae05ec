// Speed of the main road, measured on generated plans: loading and saving against plain
// ReadFile/WriteFile of the same bytes, the screen redraw against one pen drawing the
// same segments, the area measurement, a printed page (time and PostScript bytes) and the whole print road
// (load, print dialog answered with the default printer, page, spooling).
//
//   plan_speed.exe [--quick] [--no-print] [--only NAME]...
//
// Plans: lines-1000, lines-10000, lines-100000 (two-point lines, type 6, in a square) and
// walls-10000 (straight wall groups, a door on each, with their automatic dimensions);
// see bench_support.h. One figure a line, times in ms (medians).
// Runs in the current directory, which it uses for its files.
#include "bench_support.h"
#include "files/area_measurement.h"
#include "files/plan_file.h"
#include "model/object_extents.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "shell/printing.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

bool quick = false;

// The straight segments of every object on the document's floors, projected as the
// redraw projects them (top view, zoom 1).
std::vector<POINT> ProjectedSegments()
{
    std::vector<POINT> ends;
    for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next)
        for (PlanObject* object = floor->firstObject; object; object = object->next)
            for (PlanVertex* v = object->firstVertex; v && v->next; v = v->next) {
                float x1 = v->position[0], y1 = v->position[1], z1 = v->position[2];
                float x2 = v->next->position[0], y2 = v->next->position[1], z2 = v->next->position[2];
                ProjectSegmentToView(&x1, &y1, &z1, &x2, &y2, &z2, 0);
                ends.push_back({static_cast<LONG>(x1 + 0.5f), static_cast<LONG>(y1 + 0.5f)});
                ends.push_back({static_cast<LONG>(x2 + 0.5f), static_cast<LONG>(y2 + 0.5f)});
            }
    return ends;
}

void CentreView(HDC dc)
{
    SetWindowOrgEx(dc, -600, -450, nullptr);
}

struct ScreenFigures {
    double redraw = 0, onePen = 0, memoryRedraw = 0, memoryOnePen = 0;
};

ScreenFigures MeasureScreen(int runs)
{
    ScreenFigures f;
    RECT client;
    GetClientRect(benchPane, &client);
    std::vector<POINT> ends = ProjectedSegments();
    auto onePen = [&](HDC dc) {
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        HGDIOBJ old = SelectObject(dc, pen);
        for (size_t i = 0; i + 1 < ends.size(); i += 2) {
            MoveToEx(dc, ends[i].x, ends[i].y, nullptr);
            LineTo(dc, ends[i + 1].x, ends[i + 1].y);
        }
        SelectObject(dc, old);
        DeleteObject(pen);
        GdiFlush();
    };
    auto redraw = [&](HDC dc) {
        RedrawPlan(dc, activeDocument->firstFloor, &client, 1, nullptr);
        GdiFlush();
    };
    HDC dc = GetDC(benchPane);
    CentreView(dc);
    redraw(dc);   // warm up: fonts, pens, caches
    f.redraw = Median(runs, [&] { redraw(dc); });
    f.onePen = Median(runs, [&] { onePen(dc); });
    SetWindowOrgEx(dc, 0, 0, nullptr);
    ReleaseDC(benchPane, dc);

    HBITMAP previous = nullptr;
    HDC memory = CreateOffscreenDC(benchPane, &previous, 1);
    if (memory) {
        CentreView(memory);
        redraw(memory);
        f.memoryRedraw = Median(runs, [&] { redraw(memory); });
        f.memoryOnePen = Median(runs, [&] { onePen(memory); });
        DeleteOffscreenDC(memory, previous);
    }
    return f;
}

// One page as the fit-to-page print draws it, into a PostScript file instead of the
// printer's port: (drawing ms, PostScript bytes).
std::pair<double, long> MeasurePage()
{
    HDC dc = DefaultPrinterDC();
    if (!dc)
        return {-1, -1};
    DOCINFOA info = {};
    info.cbSize = sizeof info;
    info.lpszDocName = "bench";
    info.lpszOutput = "page.ps";
    DeleteFileA("page.ps");
    PlanSettings* settings = activeDocument->settings;
    float extents[4];
    ResetExtentRect(extents);
    GetAllFloorsExtents2D(activeDocument->firstFloor, 0, extents, 0, 0);
    RECT page = {0, 0, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES)};
    float scale = ComputeFitScale(extents, &page);
    printScaleX = printScaleY = scale;
    RECT clip = {static_cast<LONG>(settings->extentLeft), static_cast<LONG>(settings->extentTop),
                 static_cast<LONG>(settings->extentRight), static_cast<LONG>(settings->extentBottom)};
    double drawn = -1;
    if (StartDocA(dc, &info) > 0) {
        double start = Now();
        StartPage(dc);
        planOutputMode = 1;
        planDC = dc;
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        SetBkMode(dc, TRANSPARENT);
        SetWindowOrgEx(dc, static_cast<int>(extents[kRectMinX] * scale), static_cast<int>(extents[kRectMinY] * scale),
                       nullptr);
        RedrawPlan(dc, activeDocument->firstFloor, &clip, 1, nullptr);
        planDC = nullptr;
        planOutputMode = 0;
        EndPage(dc);
        drawn = Now() - start;
        EndDoc(dc);
    }
    DeleteDC(dc);
    return {drawn, FileLength("page.ps")};
}

void MeasurePlan(const GeneratedPlan& plan, bool print)
{
    const std::string name = plan.name;
    const std::string file = name + ".ZRO";
    double built = WriteGeneratedPlan(plan, file.c_str());
    long bytes = FileLength(file.c_str());
    std::vector<char> raw = RawRead(file.c_str());
    PrintValue(name + " file", bytes / 1e6, "MB");
    PrintTime(name + " built", built, 1);

    bool big = bytes > 20 * 1000 * 1000;
    int runs = quick || big ? 3 : 7;
    double rawRead = Median(runs, [&] { RawRead(file.c_str()); });
    double rawWrite = Median(runs, [&] { RawWrite("raw.ZRO", raw); });

    BeginDocument();
    double load = Median(runs, [&] { LoadPlanFile(file.c_str()); }, [&] {
        EndDocument();
        BeginDocument();
    });
    double save = Median(runs, [&] { SavePlanFile("saved.ZRO"); });
    bool same = RawRead("saved.ZRO") == raw;

    PrintTime(name + " load", load, runs);
    PrintTime(name + " ReadFile of the same bytes", rawRead, runs);
    PrintValue(name + " load / ReadFile", load / std::max(rawRead, 0.01), "x");
    PrintTime(name + " save", save, runs);
    PrintTime(name + " WriteFile of the same bytes", rawWrite, runs);
    PrintValue(name + " save / WriteFile", save / std::max(rawWrite, 0.01), "x");
    if (!same)
        std::printf("%s: SAVED BYTES DIFFER\n", name.c_str());
    ShowTopView();
    int screenRuns = quick || big ? 3 : 9;
    ScreenFigures screen = MeasureScreen(screenRuns);
    PrintTime(name + " screen redraw", screen.redraw, screenRuns);
    PrintTime(name + " screen one pen", screen.onePen, screenRuns);
    PrintTime(name + " memory DC redraw", screen.memoryRedraw, screenRuns);
    PrintTime(name + " memory DC one pen", screen.memoryOnePen, screenRuns);
    // The area of the first floor's objects of the first object's type: every outline
    // filled into the measuring surface, then the surface's pixels counted.
    PlanFloor* floor = activeDocument->firstFloor;
    if (floor && floor->firstObject) {
        const unsigned short type = floor->firstObject->type;
        double area = Median(runs, [&] { MeasureAreaOfType(floor, type, 1); });
        PrintTime(name + " area of type " + std::to_string(type), area, runs);
    }
    if (print) {
        std::pair<double, long> page = MeasurePage();
        PrintTime(name + " page drawing", page.first, 1);
        PrintValue(name + " page PostScript", page.second / 1000.0, "KB");
    }
    EndDocument();

    if (print) {
        // The whole print road inside one process: a fresh document, the load, the
        // fit-to-page print through the default printer (its PDF made by the port).
        SetPrintDialogFunction(DefaultPrinterDialog);
        InitPrintDefaults();
        int roadRuns = quick || big ? 1 : 3;
        double road = Median(roadRuns, [&] {
            BeginDocument();
            LoadPlanFile(file.c_str());
            PrintPlanFitToPage(GetModuleHandleA(nullptr), nullptr);
            EndDocument();
        });
        SetPrintDialogFunction(nullptr);
        PrintTime(name + " print road (load, print, spool)", road, roadRuns);
    }
    DeleteFileA("saved.ZRO");
    DeleteFileA("raw.ZRO");
    DeleteFileA("page.ps");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    bool print = true;
    std::vector<std::string> only;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--quick"))
            quick = true;
        else if (!std::strcmp(argv[i], "--no-print"))
            print = false;
        else if (!std::strcmp(argv[i], "--only") && i + 1 < argc)
            only.push_back(argv[++i]);
    }
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    benchPane = CreateBenchPane();
    // The dimensioned plans are the print road's (road_speed).
    for (const char* name : {"lines-1000", "lines-10000", "lines-100000", "walls-10000"})
        if (only.empty() || std::find(only.begin(), only.end(), name) != only.end())
            MeasurePlan(*FindGeneratedPlan(name), print);
    DestroyWindow(benchPane);
    return 0;
}
