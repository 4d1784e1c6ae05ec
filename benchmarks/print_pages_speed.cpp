// What a print to scale over a grid of pages costs against the same plan fitted to one
// page, in one run: a generated mixed plan (per cell of a square grid: a wall, a text of
// two lines, a drawn line and a rectangle with their length dimensions, a dimension
// line) printed through the test printer both ways, each job's PostScript read back as
// the printer's port received it: its pages, the glyphs it shows and the areas it fills,
// summed over all pages, its bytes and the time of the whole print command (drawing,
// spooling, the port's PDF). With --whole-plan-pages the plan is also printed to scale
// with every object drawn on every page, as prints did before pages left out what lies
// off them.
//
//   print_pages_speed.exe [--cells N] [--whole-plan-pages]
//
// Runs in the program directory (the current directory); needs VELMORA_PRINT_DIR, the
// test printer's folder.
#include "bench_support.h"
#include "files/plan_file.h"
#include "model/object_copies.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model3d/wall_rebuild.h"
#include "shell/printing.h"
#include "tools/cad_builders.h"
#include "tools/text_editing.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr float kCell = 300.0f;
enum { ShapeRectangle = 1, ShapeLine = 6 };

// One cell of the plan with its corner at (x, z); n names its text.
void AddCell(PlanFloor* floor, float x, float z, int n, const LOGFONTA& font)
{
    PlanObject* wall = AddObject(floor, ObjWall, 0, false, 6.0f, {{x + 20, z + 40}, {x + 220, z + 40}});
    wall->parameters[0] = 96.0f;
    wall->parameters[1] = activeDocument->settings->studSpacing;
    wall->parameters[2] = 0.5f;
    for (PlanVertex* v = wall->firstVertex; v; v = v->next)
        v->mainHeight = 96.0f;
    RebuildWall(wall);

    HWND control = CreateTextEditWindow(WS_CHILD | ES_MULTILINE, 0, 0, 180, 60, benchPane);
    SetTextEditFont(control, font);
    char text[64];
    std::snprintf(text, sizeof text, "Camera %d\r\nPiano terra", n);
    SetWindowTextA(control, text);
    const RECT frame = {static_cast<LONG>(x + 20), static_cast<LONG>(z + 90), static_cast<LONG>(x + 200),
                        static_cast<LONG>(z + 150)};
    // The frame is made in view coordinates: on the plan its rows run along z.
    if (PlanObject* label = BuildTextFrameObject(&frame, control, floor)) {
        for (PlanVertex* v = label->firstVertex; v; v = v->next) {
            v->position[2] = v->position[1];
            v->position[1] = 0.0f;
        }
        UpdateObjectExtents(label);
    }

    AddObject(floor, ObjDrawingElement, ShapeLine, false, 1.0f, {{x + 20, z + 190}, {x + 120, z + 250}});
    AddObject(floor, ObjDrawingElement, ShapeRectangle, true, 1.0f,
              {{x + 150, z + 180}, {x + 270, z + 180}, {x + 270, z + 250}, {x + 150, z + 250}});
    BuildDimensionObject(x + 20, z + 280, x + 260, z + 280, x + 140, z + 290, floor);
}

void BuildMixedPlan(int cells)
{
    PlanSettings* settings = activeDocument->settings;
    settings->unitSystem = kUnitSystemMetric;
    settings->printScaleChoice = 8;   // 1:100
    settings->dimensionDrawing = 1;
    settings->labelDrawing = 1;
    LOGFONTA font = {};
    font.lfHeight = -24;
    std::strcpy(font.lfFaceName, "Arial");
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(cells))));
    for (int i = 0; i < cells; ++i)
        AddCell(activeDocument->firstFloor, (i % side - side / 2) * kCell, (i / side - side / 2) * kCell, i, font);
}

int CountObjects()
{
    int n = 0;
    for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next)
        for (PlanObject* object = floor->firstObject; object; object = object->next)
            ++n;
    return n;
}

std::string PrintFolder()
{
    const char* dir = std::getenv("VELMORA_PRINT_DIR");
    std::string path = dir ? std::string("Z:") + dir : "";
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

int LastJob()
{
    int last = 0;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((PrintFolder() + "\\job-*.ps").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do
        last = std::max(last, std::atoi(found.cFileName + 4));
    while (FindNextFileA(find, &found));
    FindClose(find);
    return last;
}

// What one job's PostScript holds.
struct Job {
    double ms = 0;
    long bytes = 0;
    int pages = 0, glyphs = 0, fills = 0, mostGlyphs = 0, mostFills = 0;
};

int CountWord(const char* line, const char* word)
{
    int n = 0;
    const size_t length = std::strlen(word);
    for (const char* at = std::strstr(line, word); at; at = std::strstr(at + length, word)) {
        bool starts = at == line || at[-1] == ' ';
        bool ends = at[length] == '\0' || at[length] == '\n' || at[length] == '\r' || at[length] == ' ';
        n += starts && ends;
    }
    return n;
}

Job ReadJob(int number)
{
    Job job;
    std::string path = PrintFolder() + "\\job-" + std::to_string(number) + ".ps";
    job.bytes = FileLength(path.c_str());
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f)
        return job;
    int pageGlyphs = 0, pageFills = 0;
    static char line[1 << 16];
    while (std::fgets(line, sizeof line, f)) {
        if (!std::strncmp(line, "%%Page:", 7)) {
            ++job.pages;
            pageGlyphs = pageFills = 0;
            continue;
        }
        const int glyphs = CountWord(line, "glyphshow");
        const int fills = CountWord(line, "fill") + CountWord(line, "eofill");
        job.glyphs += glyphs;
        job.fills += fills;
        pageGlyphs += glyphs;
        pageFills += fills;
        job.mostGlyphs = std::max(job.mostGlyphs, pageGlyphs);
        job.mostFills = std::max(job.mostFills, pageFills);
    }
    std::fclose(f);
    return job;
}

Job Print(int (*command)(HINSTANCE, HWND))
{
    int before = LastJob();
    double start = Now();
    command(GetModuleHandleA(nullptr), nullptr);
    double ms = Now() - start;
    Job job = LastJob() > before ? ReadJob(before + 1) : Job{};
    job.ms = ms;
    return job;
}

void Report(const std::string& name, const Job& job)
{
    PrintValue(name + " pages", job.pages, "pages");
    PrintValue(name + " glyphs, all pages", job.glyphs, "glyphs");
    PrintValue(name + " glyphs, fullest page", job.mostGlyphs, "glyphs");
    PrintValue(name + " filled areas, all pages", job.fills, "fills");
    PrintValue(name + " filled areas, fullest page", job.mostFills, "fills");
    PrintValue(name + " PostScript", static_cast<double>(job.bytes), "bytes");
    PrintTime(name + " print command", job.ms, 1);
}

void Ratios(const std::string& name, const Job& grid, const Job& fitted)
{
    PrintValue(name + " / fitted: glyphs", fitted.glyphs ? static_cast<double>(grid.glyphs) / fitted.glyphs : 0, "x");
    PrintValue(name + " / fitted: filled areas", fitted.fills ? static_cast<double>(grid.fills) / fitted.fills : 0,
               "x");
    PrintValue(name + " / fitted: time", fitted.ms > 0 ? grid.ms / fitted.ms : 0, "x");
}

} // namespace

int main(int argc, char** argv)
{
    int cells = 1000;
    bool wholePlanPages = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--cells") && i + 1 < argc)
            cells = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--whole-plan-pages"))
            wholePlanPages = true;
    }
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    if (PrintFolder().empty()) {
        std::printf("print_pages_speed: VELMORA_PRINT_DIR is not set\n");
        return 1;
    }
    benchPane = CreateBenchPane();
    // Printed as the print road prints it: written, then loaded.
    const std::string file = "mixed-" + std::to_string(cells) + ".ZRO";
    WriteGeneratedPlan(GeneratedPlan{"mixed", [cells] { BuildMixedPlan(cells); }}, file.c_str());
    BeginDocument();
    ShowTopView();
    if (!LoadPlanFile(file.c_str())) {
        std::printf("print_pages_speed: the generated plan %s does not load\n", file.c_str());
        return 1;
    }
    activeDocument->settings->zoom = 1.0f;
    InitPrintDefaults();
    SetPrintDialogFunction(DefaultPrinterDialog);

    const std::string plan = "print mixed-" + std::to_string(cells);
    PrintValue(plan + " objects", CountObjects(), "objects");
    Print(PrintPlanFitToPage);   // warm up: fonts, the driver, the port
    Job fitted = Print(PrintPlanFitToPage);
    Report(plan + " fitted", fitted);
    Job grid = Print(PrintPlanToScale);
    Report(plan + " to scale", grid);
    Ratios(plan + " to scale", grid, fitted);
    if (wholePlanPages) {
        printSkipsObjectsOffPage = false;
        Job whole = Print(PrintPlanToScale);
        printSkipsObjectsOffPage = true;
        Report(plan + " to scale, whole plan on every page", whole);
        Ratios(plan + " to scale, whole plan on every page", whole, fitted);
    }
    SetPrintDialogFunction(nullptr);
    EndDocument();
    DeleteFileA(file.c_str());
    return 0;
}
