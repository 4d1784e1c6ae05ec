// Writes, with the program's own writer, the sample house of the README and the plans of
// the end-to-end print tests. A tool beside the tests, not a test:
//   print_plan_writer sample PATH   the sample house (samples/house.ZRO in the sources)
//   print_plan_writer long PATH     a plan of 60,000 dimensioned lines, whose print takes
//                                   a while
//   print_plan_writer whole PLAN    prints the plan to scale through the default printer
//                                   with the whole plan drawn on every page and each line
//                                   sent when drawn (the symbols read from OBJECTS\ of the
//                                   current directory): the pages a print to scale must match
//   print_plan_writer plans DIR     each test plan, "<name>.segments" (the lines it draws,
//                                   after a header of its print-scale choice and unit
//                                   system) and "printer.caps" of the default printer
#include "support_print_plans.h"
#include "files/plan_file.h"
#include "files/symbol_library.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "planview/output_routing.h"
#include "shell/app_globals.h"
#include "shell/printing.h"
#include "shell/startup.h"
#include <commdlg.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace printtest;

namespace {

bool Write(void (*build)(), const std::string& path, std::vector<Segment>* segments = nullptr,
           std::vector<WallBand>* walls = nullptr)
{
    EndPlan();
    if (!BeginPlan())
        return false;
    build();
    if (segments)
        *segments = DrawnSegments(activeDocument);
    if (walls)
        *walls = WallBands(activeDocument);
    return SavePlanFile(path.c_str());
}

bool WriteSegments(const std::string& base, const std::vector<Segment>& segments,
                   const std::vector<WallBand>& walls, bool house)
{
    FILE* f = std::fopen((base + ".segments").c_str(), "w");
    if (!f)
        return false;
    std::fprintf(f, "# choice %u units %u\n", activeDocument->settings->printScaleChoice,
                 activeDocument->settings->unitSystem);
    for (const Segment& s : segments)
        std::fprintf(f, "%.3f %.3f %.3f %.3f\n", s.x1, s.z1, s.x2, s.z2);
    // Walls print as their filled footprint: "wall x1 z1 x2 z2 half start end".
    for (const WallBand& w : walls)
        std::fprintf(f, "wall %.3f %.3f %.3f %.3f %.3f %.3f %.3f\n", w.x1, w.z1, w.x2, w.z2, w.half,
                     w.extendStart, w.extendEnd);
    // The house's dimensions and symbols: where dimensions may print ("near x1 z1 x2 z2
    // reach"), the texts the page must carry ("text ..."), the symbols' lines ("symbol
    // x1 z1 x2 z2", dotted ones "dotted ...") and the cuts that stay white ("cut left top
    // right bottom").
    if (house) {
        for (const NearZone& z : DimensionZones(activeDocument))
            std::fprintf(f, "near %.3f %.3f %.3f %.3f %.3f\n", z.x1, z.z1, z.x2, z.z2, z.reach);
        for (const std::string& text : SampleHouseTexts())
            std::fprintf(f, "text %s\n", text.c_str());
        for (const SymbolLine& l : SampleHouseSymbolLines())
            std::fprintf(f, "%s %.3f %.3f %.3f %.3f\n", l.dotted ? "dotted" : "symbol", l.segment.x1,
                         l.segment.z1, l.segment.x2, l.segment.z2);
        for (const CutRect& c : SampleHouseCuts())
            std::fprintf(f, "cut %.3f %.3f %.3f %.3f\n", c.left, c.top, c.right, c.bottom);
    }
    return std::fclose(f) == 0;
}

// The default printer, as the print dialog offers it.
bool WritePrinterCaps(const std::string& dir)
{
    PRINTDLGA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgA(&dialog) || !dialog.hDC)
        return false;
    FILE* f = std::fopen((dir + "\\printer.caps").c_str(), "w");
    const int caps[] = {LOGPIXELSX, LOGPIXELSY, HORZRES, VERTRES, PHYSICALOFFSETX, PHYSICALOFFSETY,
                        PHYSICALWIDTH, PHYSICALHEIGHT};
    const char* names[] = {"LOGPIXELSX", "LOGPIXELSY", "HORZRES", "VERTRES", "PHYSICALOFFSETX",
                           "PHYSICALOFFSETY", "PHYSICALWIDTH", "PHYSICALHEIGHT"};
    for (int i = 0; f && i < 8; ++i)
        std::fprintf(f, "%s %d\n", names[i], GetDeviceCaps(dialog.hDC, caps[i]));
    const bool written = f && std::fclose(f) == 0;
    DeleteDC(dialog.hDC);
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    return written;
}

bool WritePlans(const std::string& dir)
{
    struct Named { const char* name; void (*build)(); };
    const Named plans[] = {
        {"house", BuildSampleHouse},
        {"fit", BuildFitPlan},
        {"labels", BuildLabelsPlan},
        // On the print road the to-scale plan also turns a wall across both joins of its
        // grid: a wall's band is a filled shape, which no cut of the lines holds to a page.
        {"scale", [] {
             BuildScalePlan();
             AddWall(FirstStorey(), {{100, 200}, {350, 200}, {350, 400}}, false, false, 8.0f);
         }},
        {"small", BuildSmallScalePlan},
        {"quarters", BuildQuartersPlan},
        {"huge", BuildHugeScalePlan},
        {"many", [] { BuildManyLinesPlan(10000); }},
        {"texts", BuildTextBytesPlan},
        {"crossed", BuildCrossedLabelsPlan},
        {"joins", BuildJoinsPlan},
        {"kinds", BuildKindsPlan},
    };
    for (const Named& plan : plans) {
        std::vector<Segment> segments;
        std::vector<WallBand> walls;
        std::string base = dir + "\\" + plan.name;
        if (!Write(plan.build, base + ".ZRO", &segments, &walls) ||
            !WriteSegments(base, segments, walls, plan.build == BuildSampleHouse)) {
            std::fprintf(stderr, "cannot write %s\n", base.c_str());
            return false;
        }
    }
    return WritePrinterCaps(dir);
}

BOOL WINAPI DefaultPrinter(PRINTDLGA* dialog)
{
    dialog->Flags |= PD_RETURNDEFAULT;
    return PrintDlgA(dialog);
}

bool PrintWholePages(const std::string& path)
{
    // The fonts of dimensions and texts are the program's own from its start-up.
    if (!RegisterWindowClasses(GetModuleHandleA(nullptr)) || !BeginPlan() || !LoadPlanFile(path.c_str()))
        return false;
    // The symbols, from the program directory as at start-up.
    LoadSymbolLibrary2D();
    LoadSymbolLibrary3D();
    activeDocument->settings->zoom = 1.0f;
    InitPrintDefaults();
    SetPrintDialogFunction(DefaultPrinter);
    printSkipsObjectsOffPage = false;
    printLinesInBatches = false;
    const bool printed = PrintPlanToScale(GetModuleHandleA(nullptr), nullptr) == 0;
    SetPrintDialogFunction(nullptr);
    return printed;
}

} // namespace

int main(int argc, char** argv)
{
    argv = vtest::ArgumentsInCodePage(argc);
    if (argc != 3 || (std::strcmp(argv[1], "sample") != 0 && std::strcmp(argv[1], "plans") != 0 &&
                      std::strcmp(argv[1], "whole") != 0 && std::strcmp(argv[1], "long") != 0)) {
        std::fprintf(stderr, "usage: print_plan_writer sample PATH | plans DIR | long PATH | whole PLAN\n");
        return 2;
    }
    static std::string directory = vtest::CurrentDirectory();
    programDirectory = &directory[0];
    const std::string target = WindowsPath(argv[2]);
    const bool written = std::strcmp(argv[1], "sample") == 0  ? Write(BuildSampleHouse, target)
                         : std::strcmp(argv[1], "long") == 0  ? Write([] {
                               BuildManyLinesPlan(60000);
                               activeDocument->settings->dimensionDrawing = 1;
                           }, target)
                         : std::strcmp(argv[1], "whole") == 0 ? PrintWholePages(target)
                                                              : WritePlans(target);
    EndPlan();
    if (!written) {
        std::fprintf(stderr, "not written: %s\n", target.c_str());
        return 1;
    }
    std::printf("written: %s\n", target.c_str());
    return 0;
}
