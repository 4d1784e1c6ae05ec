#pragma once
#include <windows.h>
#include <commdlg.h>
#include <stdint.h>

// Printing of the active plan: fitted to one page (command 9), at the plan's print scale
// over a grid of pages (command 5273), and the print setup (command 8). Every page is
// drawn by the plan redraw with the output routed to the printer.

// The one print-dialog record of the run, so the printer and options chosen once are
// offered again.
extern PRINTDLGA printDialog;

// The printable page in points (1/72 inch), from the last printer used.
extern int32_t pageWidthPoints;
extern int32_t pageHeightPoints;
// Resolution of the printer of the current print.
extern int32_t printDpiX;
extern int32_t printDpiY;

// A to-scale grid of more pages than this is refused with tooManyPagesMessage.
const int32_t kMaxScalePages = 1000;
// Job name of the to-scale print.
extern const char* const scalePrintJobName;      // "Disegno"
// printf format of the refusal: pages, columns, rows.
extern const char* const tooManyPagesMessage;
// The box of a print job that did not go through: its caption, and its text when the
// printer refused the job, or a page or the job's end (a full disk).
extern const char* const printFailedCaption;      // "Stampa non riuscita"
extern const char* const printNotStartedMessage;
extern const char* const printNotCompletedMessage;
// True (the default): a page of a to-scale grid leaves out the objects that fall wholly
// off it, printing the same as with every object drawn. False draws the whole plan on
// every page, as a reference for that sameness.
extern bool printSkipsObjectsOffPage;

// Fills printDialog with the start-up defaults.
void InitPrintDefaults();

// Command 8: the print-setup dialog; records the page size. 1 when cancelled, else 0.
int RunPrintSetup(HINSTANCE instance, HWND owner);

// Command 9 and command 5273: 1 when nothing was printed (no document, no settings, the
// dialog cancelled or failed, an absurd page grid), 0 otherwise.
int PrintPlanFitToPage(HINSTANCE instance, HWND owner);
int PrintPlanToScale(HINSTANCE instance, HWND owner);

// k of the to-scale print: 36 over the ratio of the print-scale choice (8 to 11) in the
// unit system (kUnitSystemMetric or imperial); 1.0 for any other choice.
float PrintScaleFactor(uint16_t choice, uint16_t unitSystem);

// Extents are four floats: top, left, bottom, right. Extents that hold no drawing are
// replaced by the plan border of the settings; both routines then grow them by 72 on
// every side (in place).
// The fit-to-page factor for a page rectangle in device units; 1.0 without an active
// document with settings or with a null argument.
float ComputeFitScale(float* extents, const RECT* page);
// The grid of pages for a page rectangle in points and the device scales of the
// plan's print scale; does nothing with a null argument or without an active
// document with settings.
void ComputeScaleGrid(float* extents, const RECT* page, int32_t* columns, int32_t* rows,
                      float* scaleX, float* scaleY);

// Stands in for PrintDlgA (tests answer the dialog with the default printer); null puts
// the system dialog back.
typedef BOOL (WINAPI* PrintDialogFunction)(PRINTDLGA* dialog);
void SetPrintDialogFunction(PrintDialogFunction function);
