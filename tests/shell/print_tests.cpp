// velmora-test: printer
// velmora-test: timeout 240
// Printing through the test printer (a PostScript printer whose port makes a PDF): the
// print arithmetic against hand-computed values, and whole prints whose PostScript is
// read back to see which pages came out and where every line landed.
#include <gtest/gtest.h>
#include "support_print_plans.h"
#include "support_shell.h"
#include "files/plan_file.h"
#include "files/symbol_library.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "shell/app_globals.h"
#include "shell/printing.h"
#include "tools/cad_builders.h"
#include "tools/text_editing.h"
#include "support/plan_fixtures.h"
#include "support/test_support.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace printtest;

namespace {

// ---------------------------------------------------------------------------------
// The print dialog, answered without a window: the default printer, as OK would give it.

int dialogCalls = 0;
DWORD dialogFlagsSeen = 0;
HWND dialogOwnerSeen = nullptr;

BOOL WINAPI DefaultPrinterDialog(PRINTDLGA* dialog)
{
    ++dialogCalls;
    dialogFlagsSeen = dialog->Flags;
    dialogOwnerSeen = dialog->hwndOwner;
    // The default can only be asked for with no printer chosen before.
    if (dialog->hDevMode)
        GlobalFree(dialog->hDevMode);
    if (dialog->hDevNames)
        GlobalFree(dialog->hDevNames);
    dialog->hDevMode = nullptr;
    dialog->hDevNames = nullptr;
    DWORD flags = dialog->Flags;
    WORD copies = dialog->nCopies;
    dialog->Flags = flags | PD_RETURNDEFAULT;
    BOOL chosen = PrintDlgA(dialog);
    dialog->Flags = flags;
    dialog->nCopies = copies;
    return chosen;
}

BOOL WINAPI CancelledDialog(PRINTDLGA* dialog)
{
    ++dialogCalls;
    dialog->hDC = nullptr;
    return FALSE;
}

// An OK that brought no device context back.
BOOL WINAPI DialogWithoutDC(PRINTDLGA* dialog)
{
    ++dialogCalls;
    dialog->hDC = nullptr;
    return TRUE;
}

struct Caps {
    int dpiX, dpiY, horizontal, vertical, offsetX, offsetY;
};

Caps DefaultPrinterCaps()
{
    Caps caps = {};
    PRINTDLGA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgA(&dialog) || !dialog.hDC)
        return caps;
    caps.dpiX = GetDeviceCaps(dialog.hDC, LOGPIXELSX);
    caps.dpiY = GetDeviceCaps(dialog.hDC, LOGPIXELSY);
    caps.horizontal = GetDeviceCaps(dialog.hDC, HORZRES);
    caps.vertical = GetDeviceCaps(dialog.hDC, VERTRES);
    caps.offsetX = GetDeviceCaps(dialog.hDC, PHYSICALOFFSETX);
    caps.offsetY = GetDeviceCaps(dialog.hDC, PHYSICALOFFSETY);
    DeleteDC(dialog.hDC);
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    return caps;
}

// ---------------------------------------------------------------------------------
// The PostScript of a job, as the printer's port received it.

struct Line {
    double x1, y1, x2, y2;
};

struct Job {
    bool found = false;
    std::string title;
    std::vector<std::vector<Line>> pages;   // device units of each page
};

std::string PrintDirectory()
{
    return vtest::PathFromEnvironment("VELMORA_PRINT_DIR");
}

int LastJobNumber()
{
    int last = 0;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((PrintDirectory() + "\\job-*.ps").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        int n = std::atoi(found.cFileName + 4);
        last = std::max(last, n);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return last;
}

Job ReadJob(int number)
{
    Job job;
    std::string path = PrintDirectory() + "\\job-" + std::to_string(number) + ".ps";
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f)
        return job;
    job.found = true;
    char text[512];
    double x = 0, y = 0;
    while (std::fgets(text, sizeof text, f)) {
        double a, b;
        char word[32];
        if (std::strncmp(text, "%%Title: ", 9) == 0) {
            job.title = text + 9;
            while (!job.title.empty() && (job.title.back() == '\n' || job.title.back() == '\r'))
                job.title.pop_back();
        } else if (std::strncmp(text, "%%Page: ", 8) == 0) {
            job.pages.emplace_back();
        } else if (std::sscanf(text, "%lf %lf %31s", &a, &b, word) == 3) {
            if (std::strcmp(word, "moveto") == 0) {
                x = a;
                y = b;
            } else if (std::strcmp(word, "lineto") == 0 && !job.pages.empty()) {
                job.pages.back().push_back({x, y, a, b});
                x = a;
                y = b;
            }
        }
    }
    std::fclose(f);
    return job;
}

double DistanceToLine(double px, double py, const Line& l)
{
    double dx = l.x2 - l.x1, dy = l.y2 - l.y1;
    double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((px - l.x1) * dx + (py - l.y1) * dy) / length2 : 0;
    t = std::max(0.0, std::min(1.0, t));
    double ex = l.x1 + t * dx - px, ey = l.y1 + t * dy - py;
    return std::sqrt(ex * ex + ey * ey);
}

// Device rounding of the output routines: +0.5, truncated toward zero.
long Round(float v)
{
    return static_cast<long>(v + 0.5f);
}

// Where the fit-to-page print puts the plan: the scale and the device origin. Worked
// out by hand for the pinned printer (300 dpi, 2329 x 3358 printable): the extents grown
// by 72 on every side, the smaller ratio of page to extents, and the origin that puts
// the extents' centre on the page's (half page 1164, 1679).
struct FitPlacement {
    float scale;
    long originX, originY;
};

// -672..972 by -272..472: 2329 / 1644 = 17/12; centre (150, 100) x 17/12 = (212.5, 141.67).
const FitPlacement kFitPlanPlacement = {17.0f / 12.0f, -952, -1537};
// -572..772 by 28..172: 2329 / 1344; centre (100, 100) x 1.7328869 = (173.29, 173.29).
const FitPlacement kOneLinePlacement = {1.7328869f, -991, -1506};

// Every plan segment printed once, at its place, and nothing else on the page.
void ExpectFitPage(const std::vector<Line>& page, const std::vector<Segment>& segments,
                   const FitPlacement& fit)
{
    EXPECT_EQ(page.size(), segments.size());
    for (const Segment& s : segments) {
        double x1 = Round(s.x1 * fit.scale) - fit.originX, y1 = Round(s.z1 * fit.scale) - fit.originY;
        double x2 = Round(s.x2 * fit.scale) - fit.originX, y2 = Round(s.z2 * fit.scale) - fit.originY;
        bool found = false;
        for (const Line& l : page) {
            bool same = std::fabs(l.x1 - x1) <= 1 && std::fabs(l.y1 - y1) <= 1 &&
                        std::fabs(l.x2 - x2) <= 1 && std::fabs(l.y2 - y2) <= 1;
            bool reversed = std::fabs(l.x1 - x2) <= 1 && std::fabs(l.y1 - y2) <= 1 &&
                            std::fabs(l.x2 - x1) <= 1 && std::fabs(l.y2 - y1) <= 1;
            found = found || same || reversed;
        }
        EXPECT_TRUE(found) << "segment (" << s.x1 << "," << s.z1 << ")-(" << s.x2 << "," << s.z2
                           << ") expected at (" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ")";
    }
}

// The to-scale grid, by hand: the page is 558 x 805 points; the extents grown by 72,
// times k, over the page give the counts; the scale is 300 / 72 x k; the first page's
// origin is the grown corner times the scale, + 0.5, truncated toward zero.
struct Grid {
    long columns, rows;
    float scaleX, scaleY;
    long firstX, firstY;    // device origin of the first page
};

// -500..500 by -800..800 at k 0.75: 750 / 558 and 1200 / 805 round up to 2 and 2.
const Grid kScaleGrid = {2, 2, 3.125f, 3.125f, -1562, -2499};
// The same at k 0.36: 360 / 558 and 576 / 805, one page.
const Grid kSmallScaleGrid = {1, 1, 1.5f, 1.5f, -749, -1199};
// 2628..2972 both ways at k 3.6: 1238.4 / 558 and / 805 round up to 3 and 2; scale 15.
const Grid kFarScaleGrid = {3, 2, 15.0f, 15.0f, 39420, 39420};

// Each page shows the part of the plan that falls on it, in device units from the page's
// corner: every printed line lies on a plan segment, and every point of a plan segment
// inside the page is covered. With everyPage, each page must show some of the plan.
void ExpectScalePages(const Job& job, size_t firstPage, const std::vector<Segment>& segments,
                      const Grid& grid, const Caps& caps, bool everyPage = true)
{
    int coveredInAll = 0;
    for (long row = 0; row < grid.rows; ++row) {
        for (long column = 0; column < grid.columns; ++column) {
            size_t index = firstPage + row * grid.columns + column;
            ASSERT_LT(index, job.pages.size());
            const std::vector<Line>& page = job.pages[index];
            double originX = grid.firstX + column * caps.horizontal;
            double originY = grid.firstY + row * caps.vertical;
            std::vector<Line> expected;
            for (const Segment& s : segments)
                expected.push_back({Round(s.x1 * grid.scaleX) - originX, Round(s.z1 * grid.scaleY) - originY,
                                    Round(s.x2 * grid.scaleX) - originX, Round(s.z2 * grid.scaleY) - originY});
            for (const Line& l : page) {
                double best = 1e9;
                for (const Line& e : expected)
                    best = std::min(best, std::max(DistanceToLine(l.x1, l.y1, e), DistanceToLine(l.x2, l.y2, e)));
                EXPECT_LE(best, 1.5) << "stray line on page " << index << ": (" << l.x1 << "," << l.y1
                                     << ")-(" << l.x2 << "," << l.y2 << ")";
            }
            int covered = 0;
            for (const Line& e : expected) {
                for (int step = 0; step <= 50; ++step) {
                    double t = step / 50.0;
                    double px = e.x1 + t * (e.x2 - e.x1), py = e.y1 + t * (e.y2 - e.y1);
                    if (px < 2 || py < 2 || px > caps.horizontal - 2 || py > caps.vertical - 2)
                        continue;
                    double best = 1e9;
                    for (const Line& l : page)
                        best = std::min(best, DistanceToLine(px, py, l));
                    EXPECT_LE(best, 1.5) << "page " << index << " misses (" << px << "," << py << ")";
                    ++covered;
                }
            }
            if (everyPage) {
                EXPECT_GT(covered, 0) << "page " << index << " should show part of the plan";
            }
            coveredInAll += covered;
        }
    }
    EXPECT_GT(coveredInAll, 0);
}

// ---------------------------------------------------------------------------------

class PrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(PrintDirectory().empty()) << "VELMORA_PRINT_DIR is not set";
        InitPrintDefaults();
        SetPrintDialogFunction(DefaultPrinterDialog);
        dialogCalls = 0;
        caps = DefaultPrinterCaps();
        // The expected placements are worked out for this printer.
        ASSERT_EQ("300 300 2329 3358", std::to_string(caps.dpiX) + " " + std::to_string(caps.dpiY) + " " +
                                           std::to_string(caps.horizontal) + " " + std::to_string(caps.vertical));
        ASSERT_NE(BeginPlan(), nullptr);
        settings = activeDocument->settings;
        settings->zoom = 1.0f;
        lastJob = LastJobNumber();
    }
    void TearDown() override
    {
        SetPrintDialogFunction(nullptr);
        EndPlan();
        InitPrintDefaults();
    }
    // The jobs printed since SetUp.
    int NewJobs() const { return LastJobNumber() - lastJob; }
    Job FirstNewJob() const { return ReadJob(lastJob + 1); }

    Caps caps;
    PlanSettings* settings = nullptr;
    int lastJob = 0;
};

class PrintArithmetic : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(BeginPlan(), nullptr); }
    void TearDown() override { EndPlan(); }
};

} // namespace

// ---------------------------------------------------------------------------------
// Defaults and arithmetic.

TEST(PrintDefaults, DialogRecordStartsAsDocumented)
{
    InitPrintDefaults();
    EXPECT_EQ(printDialog.lStructSize, sizeof(PRINTDLGA));
    EXPECT_EQ(printDialog.Flags, 276u);
    EXPECT_EQ(printDialog.Flags, static_cast<DWORD>(PD_RETURNDC | PD_COLLATE | PD_NOSELECTION));
    EXPECT_EQ(printDialog.nFromPage, 1);
    EXPECT_EQ(printDialog.nToPage, 1);
    EXPECT_EQ(printDialog.nMinPage, 1);
    EXPECT_EQ(printDialog.nMaxPage, 1);
    EXPECT_EQ(printDialog.nCopies, 1);
    EXPECT_EQ(printDialog.hwndOwner, nullptr);
    EXPECT_EQ(printDialog.hDevMode, nullptr);
    EXPECT_EQ(printDialog.hDC, nullptr);
}

TEST(PrintArithmeticTable, ScaleFactorByChoiceAndUnits)
{
    const uint16_t imperial = kUnitSystemFeetInches, metric = kUnitSystemMetric;
    EXPECT_FLOAT_EQ(PrintScaleFactor(8, imperial), 0.375f);
    EXPECT_FLOAT_EQ(PrintScaleFactor(9, imperial), 0.75f);
    EXPECT_FLOAT_EQ(PrintScaleFactor(10, imperial), 1.0f);
    EXPECT_FLOAT_EQ(PrintScaleFactor(11, imperial), 1.5f);
    EXPECT_FLOAT_EQ(PrintScaleFactor(8, metric), 0.36f);
    EXPECT_FLOAT_EQ(PrintScaleFactor(9, metric), 0.72f);
    EXPECT_FLOAT_EQ(PrintScaleFactor(10, metric), 1.8f);
    EXPECT_FLOAT_EQ(PrintScaleFactor(11, metric), 3.6f);
    for (uint16_t other : {0, 7, 12, 65535}) {
        EXPECT_FLOAT_EQ(PrintScaleFactor(other, imperial), 1.0f);
        EXPECT_FLOAT_EQ(PrintScaleFactor(other, metric), 1.0f);
    }
}

TEST_F(PrintArithmetic, FitScaleGrowsByTheMarginAndKeepsProportions)
{
    float extents[4] = {0, 0, 50, 100};     // top, left, bottom, right
    RECT page = {0, 0, 1000, 1000};
    float scale = ComputeFitScale(extents, &page);
    EXPECT_FLOAT_EQ(scale, 1000.0f / 244.0f);
    EXPECT_FLOAT_EQ(extents[0], -72.0f);
    EXPECT_FLOAT_EQ(extents[1], -72.0f);
    EXPECT_FLOAT_EQ(extents[2], 122.0f);
    EXPECT_FLOAT_EQ(extents[3], 172.0f);

    // Higher than wide: the height decides.
    float tall[4] = {-500, 0, 500, 10};
    RECT wide = {0, 0, 2329, 3358};
    EXPECT_FLOAT_EQ(ComputeFitScale(tall, &wide), 3358.0f / 1144.0f);
}

TEST_F(PrintArithmetic, EmptyPlanFitsItsPlanBorder)
{
    float extents[4] = {32000, 32000, -32000, -32000};
    RECT page = {0, 0, 4944, 2000};
    EXPECT_FLOAT_EQ(ComputeFitScale(extents, &page), 2000.0f / 4944.0f);
    EXPECT_FLOAT_EQ(extents[0], -2472.0f);
    EXPECT_FLOAT_EQ(extents[3], 2472.0f);

    // The border the settings hold, not a fixed one.
    activeDocument->settings->extentTop = -100;
    activeDocument->settings->extentLeft = -200;
    activeDocument->settings->extentBottom = 100;
    activeDocument->settings->extentRight = 200;
    float empty[4] = {32000, 32000, -32000, -32000};
    RECT square = {0, 0, 1000, 1000};
    EXPECT_FLOAT_EQ(ComputeFitScale(empty, &square), 1000.0f / 544.0f);
    // A drawing just inside the valid range is kept.
    float edge[4] = {30000, 30000, 30000, 30000};
    ComputeFitScale(edge, &square);
    EXPECT_FLOAT_EQ(edge[0], 29928.0f);
}

TEST_F(PrintArithmetic, DamagedPlanBorderStillGivesAPositiveScale)
{
    activeDocument->settings->extentTop = NAN;
    activeDocument->settings->extentBottom = -5000;
    float empty[4] = {32000, 32000, -32000, -32000};
    RECT page = {0, 0, 4944, 4944};
    float scale = ComputeFitScale(empty, &page);
    EXPECT_TRUE(std::isfinite(scale));
    EXPECT_FLOAT_EQ(scale, 1.0f);   // the default border, ±2400 grown by 72
}

TEST_F(PrintArithmetic, FitScaleWithoutItsInputsIsOne)
{
    RECT page = {0, 0, 1000, 1000};
    float extents[4] = {0, 0, 50, 100};
    EXPECT_FLOAT_EQ(ComputeFitScale(nullptr, &page), 1.0f);
    EXPECT_FLOAT_EQ(ComputeFitScale(extents, nullptr), 1.0f);
    EXPECT_FLOAT_EQ(extents[3], 100.0f);
    EndPlan();
    EXPECT_FLOAT_EQ(ComputeFitScale(extents, &page), 1.0f);
    EXPECT_FLOAT_EQ(extents[3], 100.0f);
}

TEST_F(PrintArithmetic, ScaleGridRoundsUpPartPagesOnly)
{
    PlanSettings* settings = activeDocument->settings;
    settings->unitSystem = kUnitSystemFeetInches;
    settings->printScaleChoice = 9;     // 1:48, k = 0.75
    printDpiX = 300;
    printDpiY = 600;
    RECT page = {0, 0, 576, 576};
    int32_t columns = -1, rows = -1;
    float scaleX = 0, scaleY = 0;

    // Grown width 1000: 750 / 576 makes 2 columns; grown height 768: exactly 1 row.
    float extents[4] = {-300, -400, 324, 456};
    ComputeScaleGrid(extents, &page, &columns, &rows, &scaleX, &scaleY);
    EXPECT_EQ(columns, 2);
    EXPECT_EQ(rows, 1);
    EXPECT_FLOAT_EQ(scaleX, 300.0f / 72.0f * 0.75f);
    EXPECT_FLOAT_EQ(scaleY, 600.0f / 72.0f * 0.75f);
    EXPECT_FLOAT_EQ(extents[1], -472.0f);
    EXPECT_FLOAT_EQ(extents[3], 528.0f);

    // Any other choice prints at k = 1.
    settings->printScaleChoice = 3;
    float other[4] = {0, 0, 432, 432};   // grown 576: one page exactly
    ComputeScaleGrid(other, &page, &columns, &rows, &scaleX, &scaleY);
    EXPECT_EQ(columns, 1);
    EXPECT_EQ(rows, 1);
    EXPECT_FLOAT_EQ(scaleX, 300.0f / 72.0f);

    // Metric 1:10 (k = 3.6) on the empty plan: its border, 4944 wide.
    settings->unitSystem = kUnitSystemMetric;
    settings->printScaleChoice = 11;
    float empty[4] = {32000, 32000, -32000, -32000};
    ComputeScaleGrid(empty, &page, &columns, &rows, &scaleX, &scaleY);
    EXPECT_EQ(columns, static_cast<int32_t>(std::ceil(4944.0 * 3.6 / 576.0)));
    EXPECT_EQ(rows, columns);
}

TEST_F(PrintArithmetic, ScaleGridWithoutItsInputsChangesNothing)
{
    RECT page = {0, 0, 576, 576};
    float extents[4] = {0, 0, 100, 100};
    int32_t columns = -1, rows = -1;
    float scaleX = -1, scaleY = -1;
    ComputeScaleGrid(extents, &page, nullptr, &rows, &scaleX, &scaleY);
    ComputeScaleGrid(extents, &page, &columns, &rows, &scaleX, nullptr);
    ComputeScaleGrid(nullptr, &page, &columns, &rows, &scaleX, &scaleY);
    EndPlan();
    ComputeScaleGrid(extents, &page, &columns, &rows, &scaleX, &scaleY);
    EXPECT_EQ(columns, -1);
    EXPECT_EQ(rows, -1);
    EXPECT_FLOAT_EQ(scaleX, -1);
    EXPECT_FLOAT_EQ(extents[3], 100.0f);
}

// ---------------------------------------------------------------------------------
// The test printer itself.

TEST(PrinterDevice, TestPrinterHasTheMeasuredCaps)
{
    Caps caps = DefaultPrinterCaps();
    std::printf("printer caps: %d x %d dpi, %d x %d printable, offsets %d, %d\n", caps.dpiX, caps.dpiY,
                caps.horizontal, caps.vertical, caps.offsetX, caps.offsetY);
    EXPECT_EQ(caps.dpiX, 300);
    EXPECT_EQ(caps.dpiY, 300);
    EXPECT_EQ(caps.horizontal, 2329);
    EXPECT_EQ(caps.vertical, 3358);
    EXPECT_EQ(caps.offsetX, 75);
    EXPECT_EQ(caps.offsetY, 75);
}

// ---------------------------------------------------------------------------------
// Whole prints.

TEST_F(PrintTest, NothingIsPrintedWithoutAPlan)
{
    EndPlan();
    EXPECT_EQ(PrintPlanFitToPage(GetModuleHandleA(nullptr), nullptr), 1);
    EXPECT_EQ(PrintPlanToScale(GetModuleHandleA(nullptr), nullptr), 1);
    EXPECT_EQ(dialogCalls, 0);
    EXPECT_EQ(NewJobs(), 0);
}

TEST_F(PrintTest, CancelledOrFailedDialogPrintsNothing)
{
    BuildFitPlan();
    SetPrintDialogFunction(CancelledDialog);
    EXPECT_EQ(PrintPlanFitToPage(GetModuleHandleA(nullptr), nullptr), 1);
    EXPECT_EQ(PrintPlanToScale(GetModuleHandleA(nullptr), nullptr), 1);
    SetPrintDialogFunction(DialogWithoutDC);
    EXPECT_EQ(PrintPlanFitToPage(GetModuleHandleA(nullptr), nullptr), 1);
    EXPECT_EQ(PrintPlanToScale(GetModuleHandleA(nullptr), nullptr), 1);
    EXPECT_EQ(dialogCalls, 4);
    EXPECT_EQ(NewJobs(), 0);
    EXPECT_EQ(planDC, nullptr);
    EXPECT_EQ(planOutputMode, 0);
}

// A printer that refuses the job is told with a box of its own caption, for either print.
TEST_F(PrintTest, RefusedJobIsToldInABox)
{
    BuildFitPlan();
    // An OK that brings back a DC no job can start on: a memory DC.
    SetPrintDialogFunction([](PRINTDLGA* dialog) -> BOOL {
        dialog->hDC = CreateCompatibleDC(nullptr);
        return TRUE;
    });
    for (int (*print)(HINSTANCE, HWND) : {PrintPlanFitToPage, PrintPlanToScale}) {
        vtest::MessageBoxRecorder boxes;
        EXPECT_EQ(print(GetModuleHandleA(nullptr), nullptr), 0);
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().caption + ": " + boxes.Last().text,
                  std::string("Stampa non riuscita: ") + printNotStartedMessage);
    }
    EXPECT_EQ(NewJobs(), 0);
    EXPECT_EQ(planDC, nullptr);
}

TEST_F(PrintTest, FitToPagePrintsEveryLineWhereTheArithmeticPutsIt)
{
    BuildFitPlan();
    std::vector<Segment> segments = DrawnSegments(activeDocument);
    HWND owner = activePlanPane;
    ASSERT_EQ(PrintPlanFitToPage(GetModuleHandleA(nullptr), owner), 0);
    EXPECT_EQ(dialogCalls, 1);
    EXPECT_EQ(dialogOwnerSeen, owner);
    EXPECT_EQ(dialogFlagsSeen & (PD_RETURNDC | PD_PRINTSETUP), static_cast<DWORD>(PD_RETURNDC));
    EXPECT_EQ(planDC, nullptr);
    EXPECT_EQ(planOutputMode, 0);

    const FitPlacement& fit = kFitPlanPlacement;
    EXPECT_FLOAT_EQ(printScaleX, fit.scale);
    EXPECT_FLOAT_EQ(printScaleY, fit.scale);
    EXPECT_EQ(printDpiX, caps.dpiX);
    EXPECT_EQ(pageWidthPoints, 558);  // 2329 / 300 x 72 = 558.96
    EXPECT_EQ(pageHeightPoints, 805);  // 3358 / 300 x 72 = 805.92

    ASSERT_EQ(NewJobs(), 1);
    Job job = FirstNewJob();
    ASSERT_EQ(job.pages.size(), 1u);
    ExpectFitPage(job.pages[0], segments, fit);
}

TEST_F(PrintTest, FitToPageRepeatsThePageForEachCopy)
{
    BuildFitPlan();
    std::vector<Segment> segments = DrawnSegments(activeDocument);
    printDialog.nCopies = 2;
    ASSERT_EQ(PrintPlanFitToPage(GetModuleHandleA(nullptr), nullptr), 0);
    ASSERT_EQ(NewJobs(), 1);
    Job job = FirstNewJob();
    ASSERT_EQ(job.pages.size(), 2u);
    ExpectFitPage(job.pages[0], segments, kFitPlanPlacement);
    ExpectFitPage(job.pages[1], segments, kFitPlanPlacement);
}

TEST_F(PrintTest, JobNamesArePaneTextAndDisegno)
{
    BuildFitPlan();
    SetWindowTextA(activePlanPane, "Casa al mare con giardino e piscina grande");
    ASSERT_EQ(PrintPlanFitToPage(GetModuleHandleA(nullptr), nullptr), 0);
    ASSERT_EQ(PrintPlanToScale(GetModuleHandleA(nullptr), nullptr), 0);
    ASSERT_EQ(NewJobs(), 2);
    EXPECT_EQ(ReadJob(lastJob + 1).title, "Casa al mare con giardino e pi");
    EXPECT_EQ(ReadJob(lastJob + 2).title, "Disegno");
}

TEST_F(PrintTest, EmptyPlanPrintsOneEmptyPage)
{
    ASSERT_EQ(PrintPlanFitToPage(GetModuleHandleA(nullptr), nullptr), 0);
    ASSERT_EQ(NewJobs(), 1);
    Job job = FirstNewJob();
    ASSERT_EQ(job.pages.size(), 1u);
    EXPECT_TRUE(job.pages[0].empty());
    // Fitted to the plan border, ±2400 grown by 72.
    EXPECT_FLOAT_EQ(printScaleX, 2329.0f / 4944.0f);
}

TEST_F(PrintTest, OneStraightLinePrintsItsPage)
{
    AddLine(FirstStorey(), -500, 100, 700, 100);
    std::vector<Segment> segments = DrawnSegments(activeDocument);
    ASSERT_EQ(PrintPlanFitToPage(GetModuleHandleA(nullptr), nullptr), 0);
    ASSERT_EQ(NewJobs(), 1);
    Job job = FirstNewJob();
    ASSERT_EQ(job.pages.size(), 1u);
    ExpectFitPage(job.pages[0], segments, kOneLinePlacement);
}

TEST_F(PrintTest, ToScalePrintsTheGridRowByRow)
{
    BuildScalePlan();
    std::vector<Segment> segments = DrawnSegments(activeDocument);
    ASSERT_EQ(PrintPlanToScale(GetModuleHandleA(nullptr), nullptr), 0);
    const Grid& grid = kScaleGrid;
    EXPECT_FLOAT_EQ(printScaleX, grid.scaleX);
    EXPECT_FLOAT_EQ(printScaleY, grid.scaleY);
    ASSERT_EQ(NewJobs(), 1);
    Job job = FirstNewJob();
    ASSERT_EQ(job.pages.size(), 4u);
    ExpectScalePages(job, 0, segments, grid, caps);
}

TEST_F(PrintTest, ToScaleRepeatsTheGridForEachCopy)
{
    BuildScalePlan();
    std::vector<Segment> segments = DrawnSegments(activeDocument);
    printDialog.nCopies = 2;
    ASSERT_EQ(PrintPlanToScale(GetModuleHandleA(nullptr), nullptr), 0);
    ASSERT_EQ(NewJobs(), 1);
    Job job = FirstNewJob();
    ASSERT_EQ(job.pages.size(), 8u);
    ExpectScalePages(job, 0, segments, kScaleGrid, caps);
    ExpectScalePages(job, 4, segments, kScaleGrid, caps);
}

TEST_F(PrintTest, ToScaleMetricHundredFitsOnePage)
{
    BuildSmallScalePlan();
    std::vector<Segment> segments = DrawnSegments(activeDocument);
    ASSERT_EQ(PrintPlanToScale(GetModuleHandleA(nullptr), nullptr), 0);
    EXPECT_FLOAT_EQ(printScaleX, kSmallScaleGrid.scaleX);
    ASSERT_EQ(NewJobs(), 1);
    Job job = FirstNewJob();
    ASSERT_EQ(job.pages.size(), 1u);
    ExpectScalePages(job, 0, segments, kSmallScaleGrid, caps);
}

TEST_F(PrintTest, AbsurdGridIsRefusedWithAMessage)
{
    // A line to the far ends of the plan at 1:10: about 100,000 pages.
    BuildHugeScalePlan();
    vtest::MessageBoxRecorder boxes;
    EXPECT_EQ(PrintPlanToScale(GetModuleHandleA(nullptr), nullptr), 1);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_NE(boxes.Last().text.find("pagine"), std::string::npos) << boxes.Last().text;
    EXPECT_EQ(boxes.Last().caption, std::string(applicationTitle));
    EXPECT_EQ(NewJobs(), 0);
    EXPECT_EQ(planDC, nullptr);
    EXPECT_EQ(planOutputMode, 0);

    // A large but sane grid still prints: far from the centre, past 16-bit origins.
    EndPlan();
    ASSERT_NE(BeginPlan(), nullptr);
    activeDocument->settings->zoom = 1.0f;
    activeDocument->settings->unitSystem = kUnitSystemMetric;
    activeDocument->settings->printScaleChoice = 11;   // k = 3.6: 15 device units a plan unit
    AddLine(FirstStorey(), 2700, 2700, 2900, 2900);
    std::vector<Segment> segments = DrawnSegments(activeDocument);
    ASSERT_EQ(PrintPlanToScale(GetModuleHandleA(nullptr), nullptr), 0);
    ASSERT_EQ(NewJobs(), 1);
    Job job = FirstNewJob();
    ASSERT_EQ(job.pages.size(), 6u);
    ExpectScalePages(job, 0, segments, kFarScaleGrid, caps, false);
}

// A bath in a 60 by 30 inch opening (120 by 60 plan units at the plan's scale 36) prints
// with the shipped library at 1:48 as 60 / 48 by 30 / 48 inches of paper: 375 by 187.5
// device units at 3.125 a plan unit. A line 400 long at z 150 shows where the plan's origin
// landed; the bath's outline is what lies wholly within reach of the bath.
TEST_F(PrintTest, ABathPrintsAtItsRealSizeToScale)
{
    ASSERT_TRUE(vtest::LoadShippedSymbolLibraries());
    settings->unitSystem = kUnitSystemFeetInches;
    settings->printScaleChoice = 9;
    PlanObject* wall = AddWall(FirstStorey(), {{-240, 0}, {240, 0}}, false, false, 8.0f);
    ASSERT_NE(AddOpening(wall, {ObjWallElement, 0, 240.0f, 120.0f, 60.0f, 95, 0, 0.0f, 0}), nullptr);
    AddLine(FirstStorey(), -200, 150, 200, 150);
    ASSERT_EQ(PrintPlanToScale(GetModuleHandleA(nullptr), nullptr), 0);
    vtest::FreeSymbolLibraries();
    ASSERT_EQ(NewJobs(), 1);
    Job job = FirstNewJob();
    ASSERT_EQ(job.pages.size(), 1u);
    // The reference line: from Round(-625) = -624 to Round(625) = 625 across (rounding is
    // +0.5 truncated toward zero), at Round(468.75) = 469 down.
    double originX = 0, originY = 0;
    bool found = false;
    for (const Line& l : job.pages[0]) {
        if (l.y1 == l.y2 && std::fabs(std::fabs(l.x2 - l.x1) - 1249) <= 1) {
            originX = std::min(l.x1, l.x2) + 624;
            originY = l.y1 - 469;
            found = true;
        }
    }
    ASSERT_TRUE(found);
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    for (const Line& l : job.pages[0]) {
        const double xs[2] = {l.x1 - originX, l.x2 - originX}, ys[2] = {l.y1 - originY, l.y2 - originY};
        if (std::fabs(xs[0]) > 250 || std::fabs(xs[1]) > 250 || std::min(ys[0], ys[1]) < 12 ||
            std::max(ys[0], ys[1]) > 300)
            continue;
        left = std::min({left, xs[0], xs[1]});
        right = std::max({right, xs[0], xs[1]});
        top = std::min({top, ys[0], ys[1]});
        bottom = std::max({bottom, ys[0], ys[1]});
    }
    std::printf("bath printed %.1f x %.1f device units: %.1f x %.1f inches at 1:48\n", right - left,
                bottom - top, (right - left) / 300 * 48, (bottom - top) / 300 * 48);
    // From the wall's face, 8 units off its centre line, to 68: 25 to 212.5.
    EXPECT_NEAR(left, -187.5, 1.0);
    EXPECT_NEAR(right, 187.5, 1.0);
    EXPECT_NEAR(top, 25, 1.0);
    EXPECT_NEAR(bottom, 212.5, 1.0);
}

TEST_F(PrintTest, PrintingLeavesTheModifiedFlagAlone)
{
    BuildFitPlan();
    settings->modified = 0;
    ASSERT_EQ(PrintPlanFitToPage(GetModuleHandleA(nullptr), nullptr), 0);
    EXPECT_EQ(settings->modified, 0u);
    settings->modified = 1;
    ASSERT_EQ(PrintPlanToScale(GetModuleHandleA(nullptr), nullptr), 0);
    EXPECT_EQ(settings->modified, 1u);
}

TEST_F(PrintTest, PrintSetupRecordsThePageAndStaysInTheRecord)
{
    pageWidthPoints = 0;
    pageHeightPoints = 0;
    SetPrintDialogFunction(CancelledDialog);
    EXPECT_EQ(RunPrintSetup(GetModuleHandleA(nullptr), nullptr), 1);
    EXPECT_EQ(pageWidthPoints, 0);

    SetPrintDialogFunction(DialogWithoutDC);
    EXPECT_EQ(RunPrintSetup(GetModuleHandleA(nullptr), nullptr), 0);
    EXPECT_EQ(pageWidthPoints, 0);

    SetPrintDialogFunction(DefaultPrinterDialog);
    EXPECT_EQ(RunPrintSetup(GetModuleHandleA(nullptr), nullptr), 0);
    EXPECT_TRUE(dialogFlagsSeen & PD_PRINTSETUP);
    EXPECT_EQ(pageWidthPoints, 558);  // 2329 / 300 x 72 = 558.96
    EXPECT_EQ(pageHeightPoints, 805);  // 3358 / 300 x 72 = 805.92
    EXPECT_TRUE(printDialog.Flags & PD_PRINTSETUP);
    EXPECT_EQ(NewJobs(), 0);

    // The next print shows the print dialog, not the setup.
    BuildFitPlan();
    ASSERT_EQ(PrintPlanFitToPage(GetModuleHandleA(nullptr), nullptr), 0);
    EXPECT_FALSE(dialogFlagsSeen & PD_PRINTSETUP);
}

// 10,000 lines on one page, through the writer and the reader first.
TEST_F(PrintTest, TenThousandLinesPrintOnOnePage)
{
    BuildManyLinesPlan(10000);
    ASSERT_TRUE(SavePlanFile("many.ZRO"));
    EndPlan();
    ASSERT_NE(BeginPlan(), nullptr);
    ASSERT_TRUE(LoadPlanFile("many.ZRO"));
    activeDocument->settings->zoom = 1.0f;
    ASSERT_EQ(PrintPlanFitToPage(GetModuleHandleA(nullptr), nullptr), 0);
    ASSERT_EQ(NewJobs(), 1);
    Job job = FirstNewJob();
    ASSERT_EQ(job.pages.size(), 1u);
    EXPECT_EQ(job.pages[0].size(), 10000u);
}

// ---------------------------------------------------------------------------------
// Through the frame: the zoom commands around the print.

class FramePrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitPrintDefaults();
        frame = shelltest::StartShell();
        ASSERT_NE(frame, nullptr);
        SetPrintDialogFunction(DefaultPrinterDialog);
        caps = DefaultPrinterCaps();
        SendMessageA(frame, WM_COMMAND, 2, 0);
        ASSERT_NE(activeDocument, nullptr);
        ASSERT_NE(activeDocument->settings, nullptr);
        lastJob = LastJobNumber();
    }
    void TearDown() override
    {
        SetPrintDialogFunction(nullptr);
        shelltest::StopShell();
        InitPrintDefaults();
    }
    HWND frame = nullptr;
    Caps caps;
    int lastJob = 0;
};

TEST_F(FramePrintTest, ZoomedPlanPrintsAtFullSizeAndViewEndsAtDefaultZoom)
{
    BuildFitPlan();
    std::vector<Segment> segments = DrawnSegments(activeDocument);
    activeDocument->settings->zoom = 0.25f;
    activeDocument->settings->modified = 0;
    SendMessageA(frame, WM_COMMAND, 9, 0);
    ASSERT_EQ(LastJobNumber() - lastJob, 1);
    Job job = ReadJob(lastJob + 1);
    ASSERT_EQ(job.pages.size(), 1u);
    ExpectFitPage(job.pages[0], segments, kFitPlanPlacement);
    EXPECT_FLOAT_EQ(activeDocument->settings->zoom, 0.6f);
    EXPECT_EQ(activeDocument->settings->modified, 0u);

    // Closing after the print asks nothing.
    vtest::MessageBoxRecorder boxes;
    SendMessageA(frame, WM_COMMAND, 9000, 0);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(activeDocument, nullptr);
}

// A text stored under the name of a private layout face, which named another face in the
// run that stored it, is read in the default face and printed in it.
TEST_F(FramePrintTest, ATextStoredInAPrivateLayoutFaceIsReadAndPrintedInTheDefaultFace)
{
    LOGFONTA font = {};
    font.lfHeight = -40;
    for (const char* face : {"DejaVu Serif", "DejaVu Sans Mono", "Velmora Text Layout 1"}) {
        std::strcpy(font.lfFaceName, face);
        HWND control = CreateTextEditWindow(WS_CHILD | ES_MULTILINE, 0, 0, 200, 60, activePlanPane);
        SetWindowTextA(control, face);
        SetTextEditFont(control, font);
        const RECT place = {0, 0, 200, 60};
        BuildTextFrameObject(&place, control, FirstStorey());
    }
    ASSERT_TRUE(SavePlanFile("layout-face.ZRO"));
    ASSERT_TRUE(LoadPlanFile("layout-face.ZRO"));
    PlanObject* text = FirstStorey()->firstObject;
    while (text->next)
        text = text->next;
    ASSERT_TRUE(GetTextEditLogFont(static_cast<HWND>(text->link), &font));
    EXPECT_STREQ(font.lfFaceName, "Arial");
    activeDocument->settings->visibleCategories |= text->category;
    SendMessageA(frame, WM_COMMAND, 9, 0);
    ASSERT_EQ(LastJobNumber() - lastJob, 1);
    const std::vector<unsigned char> job =
        vtest::ReadFileBytes(PrintDirectory() + "\\job-" + std::to_string(lastJob + 1) + ".ps");
    EXPECT_EQ(std::string(job.begin(), job.end()).find("VelmoraTextLayout"), std::string::npos);
}
