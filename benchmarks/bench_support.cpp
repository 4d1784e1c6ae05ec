#include "bench_support.h"
// scripts/benchmark.sh builds a benchmark against the sources of an earlier build too, which
// may not have the program's names outside the code page.
#if __has_include("files/ansi_names.h")
#include "files/ansi_names.h"
#define BENCH_WIDE_NAMES 1
#endif
#include "files/plan_file.h"
#include "files/whole_reads.h"
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
#include "tools/plan_mouse_state.h"
#include "tools/tool_state.h"
#include "render3d/texture_names.h"
#include "shell/app_globals.h"
#include "shell/message_box.h"
#include "shell/startup.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

HWND benchPane = nullptr;

int StartBenchmark(int argc, char** argv, int defaultRuns)
{
    int runs = defaultRuns;
    for (int i = 1; i + 1 < argc; ++i)
        if (!std::strcmp(argv[i], "--runs"))
            runs = std::max(1, std::atoi(argv[++i]));
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    // By the form the program takes it in: the build folder may be named in letters that
    // the code page lacks.
    static std::string folder;
#ifdef BENCH_WIDE_NAMES
    std::wstring wide(4 * MAX_PATH, L'\0');
    wide.resize(GetCurrentDirectoryW(static_cast<DWORD>(wide.size()), &wide[0]));
    AnsiPathOf(wide, folder);
#else
    folder.resize(MAX_PATH);
    folder.resize(GetCurrentDirectoryA(MAX_PATH, &folder[0]));
#endif
    programDirectory = &folder[0];
    hInstance = GetModuleHandleA(nullptr);
    return runs;
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

double MedianOf(std::vector<double> times)
{
    if (times.empty())
        return 0;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double Median(int runs, const std::function<void()>& fn, const std::function<void()>& prepare)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        double start = Now();
        fn();
        times.push_back(Now() - start);
    }
    return MedianOf(times);
}

void PrintTime(const std::string& name, double ms, int runs)
{
    std::printf("%-64s %10.1f ms   median of %d\n", name.c_str(), ms, runs);
    std::fflush(stdout);
}

void PrintValue(const std::string& name, double value, const char* unit)
{
    std::printf("%-64s %10.*f %s\n", name.c_str(), value == std::floor(value) ? 0 : 2, value, unit);
    std::fflush(stdout);
}

void ShowTopView()
{
    viewPitchDegrees = 90.0f;
    viewYawDegrees = 0.0f;
    perspectiveOn = 0;
    ApplyViewAngles(90.0f, 0.0f, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, 0);
}

void BeginDocument()
{
    PlanDocument* document = CreatePlanDocument();
    activePlanPane = benchPane;
    PlanSettings* settings = document->settings;
    settings->visibleCategories = kCategoryFloorPlan | kCategoryElectrical | kCategoryPlumbing;
    settings->activeCategory = kCategoryFloorPlan;
    settings->zoom = 1.0f;
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

namespace {

// n short diagonal lines of the given type in a square, spaced 40 plan units apart,
// centred on the origin.
void BuildDiagonals(int n, uint16_t type, uint32_t subType)
{
    PlanFloor* floor = activeDocument->firstFloor;
    int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
    float origin = -side * 20.0f;
    for (int i = 0; i < n; ++i) {
        float x = origin + (i % side) * 40.0f;
        float z = origin + (i / side) * 40.0f;
        AddObject(floor, type, subType, false, 1.0f, {{x, z}, {x + 30.0f, z + 30.0f}});
    }
}

} // namespace

void BuildLines(int n)
{
    BuildDiagonals(n, ObjLine, 0);
}

void BuildDimensionedLines(int n)
{
    activeDocument->settings->dimensionDrawing = 1;
    BuildDiagonals(n, ObjDrawingElement, 6);
}

namespace {

// An opening record's flag: the door swings the other way round.
constexpr uint16_t kSwingSense = 4;
// The materials the wall and door tools give: the floor under the walls, the door.
constexpr uint32_t kWallToolTexture = 1700;
constexpr uint32_t kDoorToolTexture = 2218;

// A wall through the points, 96 high and 6 thick, with a door 30 wide centred 35 along
// its first segment; its mesh and the door's model built. A door drawn as the door tool
// draws it has the tools' materials and its leaf swung open a quarter turn.
void AddWallWithDoor(PlanFloor* floor, const std::vector<std::pair<float, float>>& points, bool drawn)
{
    PlanSettings* settings = activeDocument->settings;
    PlanObject* wall = AddObject(floor, ObjWall, 0, false, 6.0f, points);
    wall->colourM[0] = 1;
    wall->parameters[0] = 96.0f;
    wall->parameters[1] = settings->studSpacing;
    wall->parameters[2] = 0.5f;
    for (PlanVertex* v = wall->firstVertex; v; v = v->next)
        v->mainHeight = 96.0f;
    const float x = points[0].first, z = points[0].second;
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
    if (drawn) {
        wall->styleOrTexture = kWallToolTexture;
        door->styleOrTexture = kDoorToolTexture;
        door->colourB = settings->doorColour;
        record->swingAngle = 1.5707964f;
        record->flags = kSwingSense;
    }
    door->link = record;
    FitWallOpenings(wall);
    RebuildWall(wall);
}

// n walls with a door each in a square grid of cells `spacing` wide centred on the
// origin, each through the points that shape gives from its cell's corner.
void BuildWallGrid(int n, float spacing, bool drawn,
                   const std::function<std::vector<std::pair<float, float>>(float, float)>& shape)
{
    PlanFloor* floor = activeDocument->firstFloor;
    int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
    float origin = -side * spacing / 2.0f;
    for (int i = 0; i < n; ++i)
        AddWallWithDoor(floor, shape(origin + (i % side) * spacing, origin + (i / side) * spacing), drawn);
}

} // namespace

void BuildWallsWithDoors(int n)
{
    BuildWallGrid(n, 120.0f, false, [](float x, float z) {
        return std::vector<std::pair<float, float>>{{x, z}, {x + 100.0f, z}};
    });
}

void BuildLWallsWithDoors(int n)
{
    BuildWallGrid(n, 160.0f, true, [](float x, float z) {
        return std::vector<std::pair<float, float>>{{x, z}, {x + 120.0f, z}, {x + 120.0f, z + 120.0f}};
    });
}

const std::vector<GeneratedPlan>& GeneratedPlans()
{
    static const std::vector<GeneratedPlan> plans = {
        {"lines-1000", [] { BuildLines(1000); }},
        {"lines-10000", [] { BuildLines(10000); }},
        {"lines-100000", [] { BuildLines(100000); }},
        {"dimlines-1000", [] { BuildDimensionedLines(1000); }},
        {"dimlines-10000", [] { BuildDimensionedLines(10000); }},
        {"dimlines-100000", [] { BuildDimensionedLines(100000); }},
        {"walls-1000", [] { BuildWallsWithDoors(1000); }},
        {"walls-10000", [] { BuildWallsWithDoors(10000); }},
        {"lwalls-1000", [] { BuildLWallsWithDoors(1000); }},
    };
    return plans;
}

const GeneratedPlan* FindGeneratedPlan(const std::string& name)
{
    for (const GeneratedPlan& plan : GeneratedPlans())
        if (name == plan.name)
            return &plan;
    return nullptr;
}

double WriteGeneratedPlan(const GeneratedPlan& plan, const char* path)
{
    // Plans load only into a document with a pane.
    const bool ownPane = !benchPane;
    if (ownPane)
        benchPane = CreateBenchPane();
    BeginDocument();
    ShowTopView();
    double built = Now();
    plan.build();
    built = Now() - built;
    SavePlanFile("built.ZRO");
    EndDocument();
    BeginDocument();
    LoadPlanFile("built.ZRO");
    SavePlanFile(path);
    EndDocument();
    DeleteFileA("built.ZRO");
    if (ownPane) {
        DestroyWindow(benchPane);
        benchPane = nullptr;
    }
    return built;
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

namespace {
int partsRead = 0;
}

double ReadsPerLoad(const std::function<void()>& load, const std::function<void()>& prepare)
{
    const int loads = 3;
    partsRead = 0;
    SetReadStageHook([](ReadStage stage) { partsRead += stage == ReadStage::PartRead; });
    for (int i = 0; i < loads; ++i) {
        if (prepare)
            prepare();
        load();
    }
    SetReadStageHook(nullptr);
    return static_cast<double>(partsRead) / loads;
}

void DateLastWrite(const char* path, double secondsAgo)
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER date;
    date.LowPart = now.dwLowDateTime, date.HighPart = now.dwHighDateTime;
    date.QuadPart -= static_cast<ULONGLONG>(secondsAgo * 1e7);   // a FILETIME counts 100 ns
    const FILETIME written = {date.LowPart, date.HighPart};
    HANDLE file = CreateFileA(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const bool dated = file != INVALID_HANDLE_VALUE && SetFileTime(file, nullptr, nullptr, &written);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!dated) {
        std::printf("the last write of %s could not be dated\n", path);
        std::exit(1);
    }
}

void AnswerMessageBoxes()
{
    SetMessageBoxHook([](HWND, const char* text, const char* caption, UINT, void*) {
        // In UTF-8, as the terminal reads it: the program's texts are in its code page.
        std::wstring wide(std::strlen(text) + std::strlen(caption) + 3, L'\0');
        wide.resize(MultiByteToWideChar(CP_ACP, 0, (std::string(caption) + ": " + text).c_str(), -1, &wide[0],
                                        static_cast<int>(wide.size())));
        std::string line(wide.size() * 3, '\0');
        line.resize(WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &line[0], static_cast<int>(line.size()),
                                        nullptr, nullptr));
        std::printf("message box: %s\n", line.c_str());
        std::fflush(stdout);
        return IDOK;
    }, nullptr);
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

namespace {

LRESULT CALLBACK BenchPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

HWND CreateBenchPane()
{
    WNDCLASSA wc = {};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = BenchPaneProc;
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

void AimSelectToolAt(PlanObject* object)
{
    currentToolId = 200;
    planMouseState = {};
    planMouseState.hit = 1;
    planMouseState.segmentHit = 1;
    planMouseState.object = object;
    planMouseState.vertexA = object->firstVertex;
    planMouseState.vertexB = object->firstVertex->next;
}

void WriteLibraryPicture(int id, int side, const std::function<void(int x, int y, unsigned char* bgr)>& paint)
{
    char name[kTextureNameSize] = "";
    MakeTextureImageName(id, name);
    std::string folder = std::string(programDirectory) + "\\TEXTURES";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string file(name);
    CreateDirectoryA((folder + "\\" + file.substr(0, file.find('\\'))).c_str(), nullptr);
    const int row = side * 3;
    std::vector<unsigned char> bytes(54 + (size_t)row * side, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int k = 0; k < 4; ++k)
            bytes[at + k] = (unsigned char)(v >> (8 * k));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, (uint32_t)bytes.size());
    put32(10, 54);
    put32(14, 40);
    put32(18, (uint32_t)side);
    put32(22, (uint32_t)side);
    bytes[26] = 1;
    bytes[28] = 24;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            paint(x, y, &bytes[54 + (size_t)y * row + (size_t)x * 3]);
    if (FILE* f = fopen((folder + "\\" + file).c_str(), "wb")) {
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
}

OpeningRecord* AddWallOpening(PlanObject* wall, PlanVertex* start, uint16_t type, float along, float width,
                              float height, float elevation)
{
    PlanObject* opening = AddObject(wall->floor, type, 0, false, 1.0f, {{0, 0}, {width, 0}});
    UnlinkObject(opening);
    opening->owner = wall;
    opening->floor = wall->floor;
    AppendToObjectList(&wall->firstChild, opening);
    OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
    record->typeCopy = type;
    record->style = type == ObjDoor ? 501 : 600;
    record->startVertex = start;
    record->endVertex = start->next ? start->next : wall->firstVertex;
    const float dx = record->endVertex->position[0] - start->position[0];
    const float dz = record->endVertex->position[2] - start->position[2];
    record->distanceFromStart = along;
    record->distanceToEnd = std::sqrt(dx * dx + dz * dz) - along;
    record->width = width;
    record->height = height;
    record->elevation = elevation;
    record->casingWidth = 3.0f;
    record->glazingBarsAcross = 2;
    record->glazingBarsDown = 2;
    opening->link = record;
    return record;
}

HWND CreateMainClassPane()
{
    RegisterWindowClasses(hInstance);
    return CreateWindowExA(0, "MainClass", "", WS_POPUP | WS_VISIBLE, 0, 0, 1200, 900, nullptr, nullptr, hInstance,
                           nullptr);
}
