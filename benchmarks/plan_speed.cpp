// Speed of the main road, measured on generated plans: loading and saving against plain
// ReadFile/WriteFile of the same bytes, the screen redraw against one pen drawing the
// same segments, the area measurement, a printed page (time and PostScript bytes) and the whole print road
// (load, print dialog answered with the default printer, page, spooling).
//
//   plan_speed.exe [--quick] [--no-print] [--only NAME]
//
// Plans: lines-1000, lines-10000, lines-100000 (two-point lines, type 6, in a square) and
// walls-10000 (straight wall groups, a door on each, with their automatic dimensions). Every figure is a median in ms.
// Runs in the current directory, which it uses for its files.
#include "files/area_measurement.h"
#include "files/plan_file.h"
#include "model/object_extents.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "model/view_projection.h"
#include "model/wall_openings.h"
#include "model3d/wall_rebuild.h"
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
HWND benchPane = nullptr;

// The top view, as the plan shows it.
void ShowTopView()
{
    viewPitchDegrees = 90.0f;
    viewYawDegrees = 0.0f;
    perspectiveOn = 0;
    ApplyViewAngles(90.0f, 0.0f, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, 0);
}

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart * 1000.0 / frequency.QuadPart;
}

// Median of `runs` timings of fn (ms); `prepare` runs untimed before each.
double Median(int runs, const std::function<void()>& fn, const std::function<void()>& prepare = nullptr)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        double start = Now();
        fn();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

LRESULT CALLBACK PaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A shown window whose class owns its DC, as the plan pane's does.
HWND CreateBenchPane()
{
    WNDCLASSA wc = {};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = PaneProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "BenchPlanPane";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("BenchPlanPane", "bench", WS_POPUP | WS_VISIBLE, 0, 0, 1200, 900,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    return window;
}

PlanDocument* BeginDocument()
{
    PlanDocument* document = CreatePlanDocument();
    activePlanPane = benchPane;
    PlanSettings* settings = document->settings;
    settings->visibleCategories = kCategoryFloorPlan | kCategoryElectrical | kCategoryPlumbing;
    settings->activeCategory = kCategoryFloorPlan;
    settings->zoom = 1.0f;
    return document;
}

void EndDocument()
{
    if (activeDocument)
        FreePlanDocument(activeDocument);
    activeDocument = nullptr;
    activePlanPane = nullptr;
}

PlanObject* AddObject(PlanFloor* floor, uint16_t type, uint32_t subType, bool closed, float size,
                      const std::vector<std::pair<float, float>>& points)
{
    PlanSettings* settings = activeDocument->settings;
    ColourTriple black = {0, 0, 0};
    PlanObject* object = CreateObject(type, closed ? 1 : 0, 0, &black, &settings->newObjectColour, size,
                                      settings->defaultFirstStyle, 2, nullptr, nullptr, nullptr, nullptr,
                                      floor, nullptr);
    object->subType = subType;
    object->category = settings->activeCategory;
    for (const auto& p : points)
        AddObjectPoint(NewVertexNode(1, 0, 0, 0, 0, 0, p.first, 0, p.second, 0, 0, 0, 0, 0, 0, object), object);
    ResetExtentRect(object->box2D);
    GetObjectExtents2D(object, 0, object->box2D, 0, 0);
    ResetExtentBox(object->box3D);
    GetObjectExtents3D(object, 0, object->box3D, 0);
    AttachObjectToFloor(object, floor);
    return object;
}

// n short diagonal lines (drawing shapes of type 6, which carry no dimensions) in a square, spaced 40 plan units apart, centred on the origin.
void BuildLines(int n)
{
    PlanFloor* floor = activeDocument->firstFloor;
    int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
    float origin = -side * 20.0f;
    for (int i = 0; i < n; ++i) {
        float x = origin + (i % side) * 40.0f;
        float z = origin + (i / side) * 40.0f;
        AddObject(floor, ObjLine, 0, false, 1.0f, {{x, z}, {x + 30.0f, z + 30.0f}});
    }
}

// n straight walls, each with a door in its middle.
void BuildWallsWithDoors(int n)
{
    PlanFloor* floor = activeDocument->firstFloor;
    PlanSettings* settings = activeDocument->settings;
    int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
    float origin = -side * 60.0f;
    for (int i = 0; i < n; ++i) {
        float x = origin + (i % side) * 120.0f;
        float z = origin + (i / side) * 120.0f;
        PlanObject* wall = AddObject(floor, ObjWall, 0, false, 6.0f, {{x, z}, {x + 100.0f, z}});
        wall->colourM[0] = 1;
        wall->parameters[0] = 96.0f;
        wall->parameters[1] = settings->studSpacing;
        wall->parameters[2] = 0.5f;
        for (PlanVertex* v = wall->firstVertex; v; v = v->next)
            v->mainHeight = 96.0f;
        PlanObject* door = AddObject(floor, ObjDoor, 0, false, 1.0f, {{x + 35.0f, z}, {x + 65.0f, z}});
        UnlinkObject(door);
        door->owner = wall;
        door->floor = floor;
        AppendToObjectList(&wall->firstChild, door);
        OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
        record->typeCopy = ObjDoor;
        record->style = 501;
        record->startVertex = wall->firstVertex;
        record->endVertex = wall->firstVertex->next;
        record->width = 30.0f;
        record->height = 80.0f;
        record->distanceFromStart = 35.0f;
        record->distanceToEnd = 35.0f;
        record->casingWidth = 3.0f;
        door->link = record;
        FitWallOpenings(wall);
        RebuildWall(wall);
    }
}

long FileLength(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return -1;
    return static_cast<long>(data.nFileSizeLow);
}

std::vector<char> RawRead(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::vector<char> bytes;
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD got = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    return bytes;
}

void RawWrite(const char* path, const std::vector<char>& bytes)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(file);
}

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

HDC DefaultPrinterDC()
{
    PRINTDLGA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgA(&dialog))
        return nullptr;
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    return dialog.hDC;
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

BOOL WINAPI DefaultPrinterDialog(PRINTDLGA* dialog)
{
    if (dialog->hDevMode)
        GlobalFree(dialog->hDevMode);
    if (dialog->hDevNames)
        GlobalFree(dialog->hDevNames);
    dialog->hDevMode = nullptr;
    dialog->hDevNames = nullptr;
    DWORD flags = dialog->Flags;
    dialog->Flags = flags | PD_RETURNDEFAULT;
    BOOL chosen = PrintDlgA(dialog);
    dialog->Flags = flags;
    return chosen;
}

void MeasurePlan(const std::string& name, const std::function<void()>& build, bool print)
{
    const std::string file = name + ".ZRO";
    BeginDocument();
    ShowTopView();
    double built = Now();
    build();
    built = Now() - built;
    // Saved, loaded and saved again: the file holds the plan as the program keeps it
    // once loaded, so saving a loaded plan gives the same bytes.
    SavePlanFile("built.ZRO");
    EndDocument();
    BeginDocument();
    LoadPlanFile("built.ZRO");
    SavePlanFile(file.c_str());
    EndDocument();
    DeleteFileA("built.ZRO");
    long bytes = FileLength(file.c_str());
    std::vector<char> raw = RawRead(file.c_str());

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

    std::printf("%-13s %6.1f MB  built %7.0f | load %8.1f  ReadFile %6.1f  (x%.1f) | save %8.1f  WriteFile %6.1f  (x%.1f)%s\n",
                name.c_str(), bytes / 1e6, built, load, rawRead, load / std::max(rawRead, 0.01), save, rawWrite,
                save / std::max(rawWrite, 0.01), same ? "" : "  SAVED BYTES DIFFER");
    ShowTopView();
    ScreenFigures screen = MeasureScreen(quick || big ? 3 : 9);
    std::printf("%-13s screen redraw %7.2f  one pen %6.2f | memory DC redraw %7.2f  one pen %6.2f\n", "",
                screen.redraw, screen.onePen, screen.memoryRedraw, screen.memoryOnePen);
    // The area of the first floor's objects of the first object's type: every outline
    // filled into the measuring surface, then the surface's pixels counted.
    PlanFloor* floor = activeDocument->firstFloor;
    if (floor && floor->firstObject) {
        const unsigned short type = floor->firstObject->type;
        double area = Median(runs, [&] { MeasureAreaOfType(floor, type, 1); });
        std::printf("%-13s area of type %u %7.1f\n", "", type, area);
    }
    if (print) {
        std::pair<double, long> page = MeasurePage();
        std::printf("%-13s page drawing %7.1f  PostScript %8.0f KB\n", "", page.first, page.second / 1000.0);
    }
    EndDocument();

    if (print) {
        // The whole print road inside one process: a fresh document, the load, the
        // fit-to-page print through the default printer (its PDF made by the port).
        SetPrintDialogFunction(DefaultPrinterDialog);
        InitPrintDefaults();
        double road = Median(quick || big ? 1 : 3, [&] {
            BeginDocument();
            LoadPlanFile(file.c_str());
            PrintPlanFitToPage(GetModuleHandleA(nullptr), nullptr);
            EndDocument();
        });
        SetPrintDialogFunction(nullptr);
        std::printf("%-13s print road (load, print, spool) %8.0f\n", "", road);
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
    std::string only;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--quick"))
            quick = true;
        else if (!std::strcmp(argv[i], "--no-print"))
            print = false;
        else if (!std::strcmp(argv[i], "--only") && i + 1 < argc)
            only = argv[++i];
    }
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    benchPane = CreateBenchPane();
    std::printf("figures in ms (medians)\n");
    struct Plan {
        const char* name;
        std::function<void()> build;
    } plans[] = {
        {"lines-1000", [] { BuildLines(1000); }},
        {"lines-10000", [] { BuildLines(10000); }},
        {"lines-100000", [] { BuildLines(100000); }},
        {"walls-10000", [] { BuildWallsWithDoors(10000); }},
    };
    for (const Plan& plan : plans)
        if (only.empty() || only == plan.name)
            MeasurePlan(plan.name, plan.build, print);
    DestroyWindow(benchPane);
    return 0;
}
