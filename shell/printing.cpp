#include "shell/printing.h"
#include "shell/app_globals.h"
#include "shell/message_box.h"
#include "model/object_extents.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_settings.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include <cmath>
#include <cstdio>
#include <cstring>

PRINTDLGA printDialog;
int32_t pageWidthPoints = 0;
int32_t pageHeightPoints = 0;
int32_t printDpiX = 0;
int32_t printDpiY = 0;

const char* const scalePrintJobName = "Disegno";
const char* const tooManyPagesMessage =
    "La stampa in scala richiederebbe %ld pagine (%ld colonne per %ld righe). "
    "Scegliere una scala di stampa più piccola.";
const char* const printFailedCaption = "Stampa non riuscita";
const char* const printNotStartedMessage =
    "La stampante non ha accettato il lavoro di stampa. Controllare la stampante e lo "
    "spazio libero su disco, quindi riprovare.";
const char* const printNotCompletedMessage =
    "La stampa del disegno non è stata completata: la stampante non ha accettato tutte le "
    "pagine. Controllare lo spazio libero su disco, quindi riprovare.";
bool printSkipsObjectsOffPage = true;

// Frame commands the print asks for: zoom 100 % before, reset of the plan view after.
enum { CommandZoom100 = 5028, CommandResetPlanView = 5262 };

// The margin around the drawing, in plan units (one inch of paper at fit scale).
static const float kPrintMargin = 72.0f;
// How far beyond a page of a grid an object may end and still be drawn on it: a
// sixteenth of an inch of paper holds the widest pen of the plan and its joins.
static const int32_t kPageJoinInchFraction = 16;

static PrintDialogFunction printDialogFunction = PrintDlgA;

void SetPrintDialogFunction(PrintDialogFunction function)
{
    printDialogFunction = function ? function : PrintDlgA;
}

void InitPrintDefaults()
{
    // A second start (tests) must not leak the printer choice of the first.
    if (printDialog.hDevMode)
        GlobalFree(printDialog.hDevMode);
    if (printDialog.hDevNames)
        GlobalFree(printDialog.hDevNames);
    std::memset(&printDialog, 0, sizeof printDialog);
    // The record's own size on this build: the dialog refuses any other.
    printDialog.lStructSize = sizeof printDialog;
    printDialog.Flags = PD_RETURNDC | PD_COLLATE | PD_NOSELECTION;
    printDialog.nFromPage = 1;
    printDialog.nToPage = 1;
    printDialog.nMinPage = 1;
    printDialog.nMaxPage = 1;
    printDialog.nCopies = 1;
}

float PrintScaleFactor(uint16_t choice, uint16_t unitSystem)
{
    bool metric = unitSystem == kUnitSystemMetric;
    switch (choice) {
    case 8: return metric ? 0.36f : 0.375f;   // 1:100, 1:96
    case 9: return metric ? 0.72f : 0.75f;    // 1:50, 1:48
    case 10: return metric ? 1.8f : 1.0f;     // 1:20, 1:36
    case 11: return metric ? 3.6f : 1.5f;     // 1:10, 1:24
    }
    return 1.0f;
}

// Rounds half up as the output routines do (+0.5, truncated toward zero), held to the
// 32-bit range so that a wild value cannot overflow.
static int32_t RoundToDevice(float value)
{
    float shifted = value + 0.5f;
    if (!(shifted > -2.0e9f))
        return -2000000000;
    if (!(shifted < 2.0e9f))
        return 2000000000;
    return static_cast<int32_t>(shifted);
}

static bool ExtentsHoldDrawing(const float* extents)
{
    return extents[kRectMinY] <= 30000.0f && extents[kRectMinX] <= 30000.0f &&
           extents[kRectMaxY] >= -30000.0f && extents[kRectMaxX] >= -30000.0f;
}

// The plan border of the settings as extents. A border read from a damaged file (not a
// number, or inverted) would give a negative or infinite scale: the default border of
// a new plan stands in for it.
static void GetPlanBorder(const PlanSettings* settings, float* extents)
{
    float top = settings->extentTop, left = settings->extentLeft;
    float bottom = settings->extentBottom, right = settings->extentRight;
    bool usable = std::isfinite(top) && std::isfinite(left) && std::isfinite(bottom) &&
                  std::isfinite(right) && bottom >= top && right >= left &&
                  std::fabs(top) < 1.0e6f && std::fabs(left) < 1.0e6f &&
                  std::fabs(bottom) < 1.0e6f && std::fabs(right) < 1.0e6f;
    if (!usable) {
        top = left = -2400.0f;
        bottom = right = 2400.0f;
    }
    extents[kRectMinY] = top;
    extents[kRectMinX] = left;
    extents[kRectMaxY] = bottom;
    extents[kRectMaxX] = right;
}

static PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

// The drawing's extents, or the plan border when nothing is drawn, grown by the margin.
static void PrepareExtents(const PlanSettings* settings, float* extents)
{
    if (!ExtentsHoldDrawing(extents))
        GetPlanBorder(settings, extents);
    extents[kRectMinY] -= kPrintMargin;
    extents[kRectMinX] -= kPrintMargin;
    extents[kRectMaxY] += kPrintMargin;
    extents[kRectMaxX] += kPrintMargin;
}

float ComputeFitScale(float* extents, const RECT* page)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings || !extents || !page)
        return 1.0f;
    PrepareExtents(settings, extents);
    float width = extents[kRectMaxX] - extents[kRectMinX];
    float height = extents[kRectMaxY] - extents[kRectMinY];
    float ratioX = static_cast<float>(page->right - page->left) / width;
    float ratioY = static_cast<float>(page->bottom - page->top) / height;
    return ratioX < ratioY ? ratioX : ratioY;
}

// ceiling(quotient), a whole quotient staying as it is; held below the 32-bit range.
static int32_t PagesFor(float quotient)
{
    if (!(quotient > 0.0f))
        return 0;
    if (!(quotient < 1.0e9f))
        return 1000000000;
    int32_t whole = static_cast<int32_t>(quotient);
    return static_cast<float>(whole) < quotient ? whole + 1 : whole;
}

void ComputeScaleGrid(float* extents, const RECT* page, int32_t* columns, int32_t* rows,
                      float* scaleX, float* scaleY)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings || !extents || !page || !columns || !rows || !scaleX || !scaleY)
        return;
    float k = PrintScaleFactor(settings->printScaleChoice, settings->unitSystem);
    PrepareExtents(settings, extents);
    float width = extents[kRectMaxX] - extents[kRectMinX];
    float height = extents[kRectMaxY] - extents[kRectMinY];
    float pageWidth = static_cast<float>(page->right - page->left);
    float pageHeight = static_cast<float>(page->bottom - page->top);
    *columns = pageWidth > 0.0f ? PagesFor(width * k / pageWidth) : 0;
    *rows = pageHeight > 0.0f ? PagesFor(height * k / pageHeight) : 0;
    *scaleX = static_cast<float>(printDpiX) / 72.0f * k;
    *scaleY = static_cast<float>(printDpiY) / 72.0f * k;
}

// Shows the print dialog. False when it was cancelled or failed (a failure is never
// taken for an OK); the printer's DC, when the dialog made one, goes to *dc.
static bool RunPrintDialog(HINSTANCE instance, HWND owner, DWORD extraFlags, HDC* dc)
{
    printDialog.hwndOwner = owner;
    printDialog.hInstance = instance;
    printDialog.Flags |= extraFlags;
    printDialog.hDC = nullptr;
    BOOL chosen = printDialogFunction(&printDialog);
    *dc = printDialog.hDC;
    printDialog.hDC = nullptr;
    if (chosen)
        return true;
    if (*dc)
        DeleteDC(*dc);
    *dc = nullptr;
    if (CommDlgExtendedError() != 0)
        MessageBeep(0);
    return false;
}

// The print dialog of a print: the printer's DC, or null when there is nothing to print
// on (cancelled, failed, or no DC made).
static HDC ChoosePrinter(HINSTANCE instance, HWND owner)
{
    printDialog.Flags &= ~static_cast<DWORD>(PD_PRINTSETUP);
    HDC dc = nullptr;
    if (!RunPrintDialog(instance, owner, 0, &dc))
        return nullptr;
    return dc;
}

// What one print changes for its own span and puts back at its end.
struct PrintRun {
    HDC dc;
    HWND frame;
    int32_t horizontal;     // HORZRES
    int32_t vertical;       // VERTRES
    PlanSettings* settings; // the printed plan's settings
    uint32_t modified;      // its modified flag before the print
    bool usable;            // the printer reported a page and a resolution
};

// The printable page in points, from the device's size in pixels and its resolution.
// False, and the page left as it was, when the device reports no page or resolution.
static bool StorePageSize(int32_t horizontal, int32_t vertical, int32_t dpiX, int32_t dpiY)
{
    if (horizontal <= 0 || vertical <= 0 || dpiX <= 0 || dpiY <= 0)
        return false;
    pageWidthPoints = static_cast<int32_t>(static_cast<double>(horizontal) / dpiX * 72.0);
    pageHeightPoints = static_cast<int32_t>(static_cast<double>(vertical) / dpiY * 72.0);
    return true;
}

// Steps common to both prints once the printer is chosen: resolution, zoom 100 %, page.
static void BeginPrintRun(PrintRun* run, HDC dc, HWND owner)
{
    run->dc = dc;
    run->frame = frameWindow ? frameWindow : owner;
    run->settings = activeDocument->settings;
    run->modified = run->settings->modified;
    printDpiX = GetDeviceCaps(dc, LOGPIXELSX);
    printDpiY = GetDeviceCaps(dc, LOGPIXELSY);
    if (activeDocument->settings->zoom != 1.0f && run->frame)
        SendMessageA(run->frame, WM_COMMAND, CommandZoom100, 0);
    run->horizontal = GetDeviceCaps(dc, HORZRES);
    run->vertical = GetDeviceCaps(dc, VERTRES);
    run->usable = StorePageSize(run->horizontal, run->vertical, printDpiX, printDpiY);
}

// The start of a print of the active plan: its print dialog, then the run. False, with
// nothing to end, when there is no plan or no printer was chosen.
static bool BeginPlanPrint(HINSTANCE instance, HWND owner, PrintRun* run)
{
    if (!activeDocument || !activeDocument->settings)
        return false;
    HDC dc = ChoosePrinter(instance, owner);
    if (!dc)
        return false;
    BeginPrintRun(run, dc, owner);
    return true;
}

static void TellPrintFailed(HWND owner, const char* text)
{
    ShowMessageBox(owner, text, printFailedCaption, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
}

// One print job named jobName: printCopies(copies) prints its pages between StartDoc and
// EndDoc and answers false when the printer refused a page. A job that did not go
// through whole (a printer that refuses it, a page or its end not taken, as when a disk
// is full) is told to the user; a job with a refused page is abandoned, so that no part
// of it comes out as if it were the print.
template <typename PrintCopies>
static void RunPrintJob(HWND owner, HDC dc, const char* jobName, PrintCopies printCopies)
{
    DOCINFOA info;
    std::memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    info.lpszDocName = jobName;
    if (StartDocA(dc, &info) <= 0) {
        TellPrintFailed(owner, printNotStartedMessage);
        return;
    }
    bool pagesTaken = printCopies(printDialog.nCopies > 0 ? printDialog.nCopies : 1);
    planDC = nullptr;
    planOutputMode = 0;
    if (!pagesTaken) {
        AbortDoc(dc);
        TellPrintFailed(owner, printNotCompletedMessage);
    } else if (EndDoc(dc) <= 0) {
        TellPrintFailed(owner, printNotCompletedMessage);
    }
}

// After the job: the plan view back to its usual zoom, the printer released. Printing
// is no edit: the plan's modified flag is left as it was, so closing after a print
// does not ask to save.
static void EndPrintRun(PrintRun* run)
{
    planDC = nullptr;
    planOutputMode = 0;
    if (run->frame)
        SendMessageA(run->frame, WM_COMMAND, CommandResetPlanView, 0);
    DeleteDC(run->dc);
    if (activeDocument && activeDocument->settings == run->settings)
        run->settings->modified = run->modified;
}

// The clip rectangle handed to the redraw: the plan border, rounded.
static RECT PlanBorderClip(const PlanSettings* settings)
{
    RECT clip;
    clip.top = RoundToDevice(settings->extentTop);
    clip.left = RoundToDevice(settings->extentLeft);
    clip.bottom = RoundToDevice(settings->extentBottom);
    clip.right = RoundToDevice(settings->extentRight);
    return clip;
}

// One page whose top-left corner is the device point (x, y) of the scaled plan; with a
// printable size, what the page draws is held to that rectangle from (x, y). False when
// the printer refused the page (StartPage or EndPage below 1).
static bool PrintPlanPage(HDC dc, int32_t x, int32_t y, const SIZE* printable)
{
    if (StartPage(dc) < 1)
        return false;
    PlanDocument* document = activeDocument;
    if (document && document->settings) {
        RECT clip = PlanBorderClip(document->settings);
        planOutputMode = 1;
        planDC = dc;
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        SetBkMode(dc, TRANSPARENT);
        // 32-bit origins: a grid far from the plan's centre must not wrap.
        SetWindowOrgEx(dc, x, y, nullptr);
        // Pages of a grid meet at their printable edges, and a printer may still draw in
        // its paper's margins: unclipped, each join would print its strip on both pages.
        // Lines are cut to the page only with a margin, texts and fills not at all, so
        // the DC itself holds the page.
        if (printable)
            IntersectClipRect(dc, x, y, x + printable->cx, y + printable->cy);
        RedrawPlan(dc, document->firstFloor, &clip, DrawAllObjects, nullptr);
        if (printable)
            SelectClipRgn(dc, nullptr);
        planDC = nullptr;
        planOutputMode = 0;
    }
    return EndPage(dc) > 0;
}

int PrintPlanFitToPage(HINSTANCE instance, HWND owner)
{
    PrintRun run;
    if (!BeginPlanPrint(instance, owner, &run))
        return 1;
    HDC dc = run.dc;

    // The job is named after the plan pane, as the print queue shows it.
    char jobName[31] = "";
    if (activePlanPane)
        GetWindowTextA(activePlanPane, jobName, sizeof jobName);

    PlanDocument* document = activeDocument;
    if (run.usable && document && document->settings) {
        PlanSettings* settings = document->settings;
        float extents[4];
        ResetExtentRect(extents);
        GetAllFloorsExtents2D(document->firstFloor, 0, extents, 0, 0);
        RECT page = {0, 0, run.horizontal, run.vertical};
        float scale = ComputeFitScale(extents, &page);
        printScaleX = scale;
        printScaleY = scale;

        // Where the drawing lies on the device; an empty plan is its plan border, so
        // that the page promised for it is printed.
        float drawing[4];
        ResetExtentRect(drawing);
        GetAllFloorsExtents2D(document->firstFloor, 0, drawing, 0, 0);
        if (!ExtentsHoldDrawing(drawing))
            GetPlanBorder(settings, drawing);
        int32_t drawTop = RoundToDevice(drawing[kRectMinY] * printScaleY);
        int32_t drawLeft = RoundToDevice(drawing[kRectMinX] * printScaleX);
        int32_t drawBottom = RoundToDevice(drawing[kRectMaxY] * printScaleY);
        int32_t drawRight = RoundToDevice(drawing[kRectMaxX] * printScaleX);

        float centreX = (extents[kRectMinX] + (extents[kRectMaxX] - extents[kRectMinX]) / 2.0f) * printScaleX;
        float centreY = (extents[kRectMinY] + (extents[kRectMaxY] - extents[kRectMinY]) / 2.0f) * printScaleY;
        int32_t halfWidth = run.horizontal / 2;
        int32_t halfHeight = run.vertical / 2;
        int32_t originX = -RoundToDevice(static_cast<float>(halfWidth) - centreX);
        int32_t originY = -RoundToDevice(static_cast<float>(halfHeight) - centreY);
        // A drawing of no width or height (one straight line) still meets the page.
        bool meets = drawLeft <= originX + run.horizontal && drawRight >= originX &&
                     drawTop <= originY + run.vertical && drawBottom >= originY;
        RunPrintJob(run.frame, dc, jobName, [&](int copies) {
            for (int copy = 0; meets && copy < copies; ++copy) {
                if (!PrintPlanPage(dc, originX, originY, nullptr))
                    return false;
            }
            return true;
        });
    }
    EndPrintRun(&run);
    return 0;
}

int PrintPlanToScale(HINSTANCE instance, HWND owner)
{
    PrintRun run;
    if (!BeginPlanPrint(instance, owner, &run))
        return 1;
    HDC dc = run.dc;

    int result = 0;
    PlanDocument* document = activeDocument;
    if (run.usable && document && document->settings) {
        float extents[4];
        ResetExtentRect(extents);
        GetAllFloorsExtents2D(document->firstFloor, 0, extents, 0, 0);
        RECT page = {0, 0, pageWidthPoints, pageHeightPoints};
        int32_t columns = 0, rows = 0;
        ComputeScaleGrid(extents, &page, &columns, &rows, &printScaleX, &printScaleY);

        int64_t pages = static_cast<int64_t>(columns) * rows;
        if (pages > kMaxScalePages) {
            // Thousands of pages are a scale or a plan gone wrong, not a wish.
            char text[320];
            std::snprintf(text, sizeof text, tooManyPagesMessage, static_cast<long>(pages),
                          static_cast<long>(columns), static_cast<long>(rows));
            ShowMessageBox(run.frame, text, applicationTitle, MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
            result = 1;
        } else {
            const SIZE printable = {run.horizontal, run.vertical};
            // Each page of a grid carries only what lies on it: where every object draws
            // is measured once, and a page leaves out what falls wholly off it.
            if (printSkipsObjectsOffPage && pages > 1) {
                RECT clip = PlanBorderClip(document->settings);
                MeasurePrintedObjects(dc, document->firstFloor, &clip, DrawAllObjects,
                                      printDpiX / kPageJoinInchFraction);
            }
            RunPrintJob(run.frame, dc, scalePrintJobName, [&](int copies) {
                for (int copy = 0; copy < copies; ++copy) {
                    int32_t y = RoundToDevice(extents[kRectMinY] * printScaleY);
                    for (int32_t row = 0; row < rows; ++row) {
                        int32_t x = RoundToDevice(extents[kRectMinX] * printScaleX);
                        for (int32_t column = 0; column < columns; ++column) {
                            // A refused page abandons the job: the rest cannot complete it.
                            if (!PrintPlanPage(dc, x, y, &printable))
                                return false;
                            x += run.horizontal;
                        }
                        y += run.vertical;
                    }
                }
                return true;
            });
            ForgetPrintedObjects();
        }
    }
    EndPrintRun(&run);
    return result;
}

int RunPrintSetup(HINSTANCE instance, HWND owner)
{
    HDC dc = nullptr;
    if (!RunPrintDialog(instance, owner, PD_PRINTSETUP, &dc))
        return 1;
    if (!dc)
        return 0;
    StorePageSize(GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), GetDeviceCaps(dc, LOGPIXELSX),
                  GetDeviceCaps(dc, LOGPIXELSY));
    DeleteDC(dc);
    return 0;
}
