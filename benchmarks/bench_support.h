#pragma once
// What the speed benchmarks share: the clock, medians, one line per figure, the
// generated plans and their files, and the default printer without a dialog.
#include <windows.h>
#include <commdlg.h>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct PlanFloor;
struct PlanObject;

// The start of a benchmark program: no error boxes, the current directory as the program
// directory and this program's instance; returns the runs of `--runs N` (at least 1), or
// the default.
int StartBenchmark(int argc, char** argv, int defaultRuns);

// Milliseconds from a fixed start (QueryPerformanceCounter).
double Now();
// Median of the timings; 0 for none.
double MedianOf(std::vector<double> times);
// Median of `runs` timings of fn (ms); `prepare` runs untimed before each.
double Median(int runs, const std::function<void()>& fn, const std::function<void()>& prepare = nullptr);

// One figure a line, so that runs before and after a change can be set side by side:
// name, value, unit, and for times how many runs the median is of.
void PrintTime(const std::string& name, double ms, int runs);
void PrintValue(const std::string& name, double value, const char* unit);

// The window standing in for the plan pane while a benchmark builds or draws a plan
// outside the frame (activePlanPane); may be null.
extern HWND benchPane;
// A shown 1200 x 900 window whose class owns its DC, as the plan pane's does.
HWND CreateBenchPane();
// The program's own plan pane (its window classes registered), shown 1200 x 900, for
// benchmarks whose texts need the pane's real children.
HWND CreateMainClassPane();

// The top view, as the plan shows it.
void ShowTopView();
// A new empty active document showing every category, at zoom 1; EndDocument frees it.
void BeginDocument();
void EndDocument();
PlanObject* AddObject(PlanFloor* floor, uint16_t type, uint32_t subType, bool closed, float size,
                      const std::vector<std::pair<float, float>>& points);

// Generated plans, built into the active document:
// n short diagonal lines of type 6, which carry no dimensions;
void BuildLines(int n);
// n short diagonal drawing lines (drawing elements of kind 6), each drawn with its
// automatic length dimension while the plan's dimension flag is on (a new plan's is);
void BuildDimensionedLines(int n);
// n straight walls, each with a door in its middle, with their wall and opening dimensions.
void BuildWallsWithDoors(int n);
// n L-shaped walls of two segments, each with a door on its first segment as the door
// tool makes it (its texture, its leaf swung open).
void BuildLWallsWithDoors(int n);

struct GeneratedPlan {
    const char* name;   // also the file name, with .ZRO
    std::function<void()> build;
};
// lines-1000/10000/100000, dimlines-1000/10000/100000, walls-1000/10000, lwalls-1000.
const std::vector<GeneratedPlan>& GeneratedPlans();
const GeneratedPlan* FindGeneratedPlan(const std::string& name);
// Builds the plan and writes it to path as the program keeps it once loaded (saved,
// loaded and saved again, so that saving a loaded plan gives the same bytes); returns
// the build time in ms.
double WriteGeneratedPlan(const GeneratedPlan& plan, const char* path);

long FileLength(const char* path);
// The file's last write dated `secondsAgo` before now: 0 as a save that has just ended
// leaves it (a reader may take that for a write during its read, and read the file twice),
// an hour as a file that a user opens was mostly written long before. A date that cannot
// be set ends the benchmark with an error.
void DateLastWrite(const char* path, double secondsAgo);
// How long after a file is dated its loads are aged ones: dating changes the file now, so
// the clock's tick and the reader's spans for recent changes (2.5 s and 0.3 s) pass first.
const DWORD kAgedAfter = 3000;
// How many times a load reads its file (the first part of each read), the mean of a few
// loads; `prepare` runs before each. An aged file is read once a load.
double ReadsPerLoad(const std::function<void()>& load, const std::function<void()>& prepare = nullptr);
// From here every message box is answered OK at once, its caption and text written out: a
// load that fails ends its benchmark with an error rather than waiting for a user.
void AnswerMessageBoxes();
std::vector<char> RawRead(const char* path);
void RawWrite(const char* path, const std::vector<char>& bytes);

// The default printer's DC, made without a dialog; null when there is no printer.
HDC DefaultPrinterDC();
// Stands in for the print dialog: answers it with the default printer, as OK would.
BOOL WINAPI DefaultPrinterDialog(PRINTDLGA* dialog);

// The select tool current and the pointer record of a press on the object's first
// segment, as the pane's hit test leaves it before HandlePlanButtonDown.
void AimSelectToolAt(PlanObject* object);
struct OpeningRecord;
struct PlanVertex;
// A door (style 501) or window (style 600, two by two glazing bars) on the wall's segment
// from start, `along` from it, with a casing of 3; its record is returned. The wall's
// refit places it.
OpeningRecord* AddWallOpening(PlanObject* wall, PlanVertex* start, uint16_t type, float along, float width,
                              float height, float elevation);
// Writes the library picture of the id: a side x side 24-bit BMP under "TEXTURES\" of the
// program directory, named as the library names the id; paint gives each pixel (x, and y
// from the bottom) its blue, green and red, black unless painted.
void WriteLibraryPicture(int id, int side, const std::function<void(int x, int y, unsigned char* bgr)>& paint);
