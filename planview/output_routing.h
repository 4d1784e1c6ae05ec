#pragma once
// Where the lines of the 2D plan go. Every straight line given in world coordinates
// passes through DrawWorldLine, which projects it into the view and sends it to one
// output: the DC it was handed (the screen road), planDC (a printer page or a
// metafile), or the open DXF export file. The printing, copying and export commands
// set the state below around one call of RedrawPlan; renderers never ask.
#include <windows.h>
#include <stdint.h>
#include "planview/view_origin.h"   // SetWindowOrg16

struct PlanObject;

// Output state (user-interface thread only).
extern HDC planDC;                  // printer page or metafile while planOutputMode is 1
extern unsigned char planOutputMode; // 0 the DC handed to the drawing routines, 1 planDC
extern float printScaleX;           // device units per plan unit while printing
extern float printScaleY;
extern uint8_t exportDxf2D;         // a DXF export is running: lines go to the file
extern uint8_t exportDxf3D;
extern uint16_t exportKind;         // 2 = DXF, handed to the line emitters
extern uint32_t exportFileHandle;   // the open export file
// Thinned redraws: camera and zoom drags set interactiveRedraw; the select/move drag
// and the creation tools' placement set dragFeedbackActive (no captions, no
// automatic dimensions).
extern uint8_t interactiveRedraw;
extern uint8_t dragFeedbackActive;
// Off-screen measuring surface of the area measurement.
extern HDC measureSurfaceDC;
constexpr int32_t measureSurfaceSize = 1000;

// The screen accepts view coordinates strictly inside (-30000, 30000) only; a segment
// with an end outside is dropped whole. Printer and metafile coordinates are 32-bit:
// there a segment is cut to the page (a metafile: to this bound) instead.
constexpr float kScreenCoordinateLimit = 30000.0f;
constexpr double kPrintCoordinateLimit = 16777216.0;
// How far beyond the page a printed segment still runs, so that wide pens and line
// caps at the paper's edge look as if nothing was cut.
constexpr double kPrintClipMargin = 1024.0;

// One world segment: projected, then drawn on dc (screen), printed on planDC, or
// written to the export file. The zoom flag zooms the coordinates before the projection,
// which zooms them again: plan coordinates are drawn with 0.
void DrawWorldLine(HDC dc, float x1, float y1, float z1, float x2, float y2, float z2,
                   uint8_t zoom);
// The printing branch of DrawWorldLine; nothing unless printing with a planDC.
void PrintWorldLine(float x1, float y1, float z1, float x2, float y2, float z2);
// A print batch: while one is open for a DC and a pen, the lines of PrintWorldLine drawn
// on that DC with that pen go out together as one PolyPolyline, when the batch is full and
// when it ends; a line drawn with another pen sends the batch first, and so does a shape
// that would cover a line of the batch (SendPrintLinesUnder). Whoever opens a batch ends
// it before the pen is deleted (RedrawPlan does, for its pens on a page).
void BeginPrintLineBatch(HDC dc, HGDIOBJ pen);
void EndPrintLineBatch();
// Called before a shape (a polygon, an ellipse, a picture) is drawn on dc within the
// convex polygon of the device points given: when it prints in something other than the
// lines' black (the DC's brush or pen is not black or null: a white label box, a white
// arrow) and comes within a device pixel of a line still in the batch, the batch goes out
// first, so that the page shows the shape over the lines drawn before it, as if each
// line had been sent when drawn.
void SendPrintLinesUnder(HDC dc, const POINT* points, int count);
// True (the default): printed lines travel in batches. False sends each line when it is
// drawn, as a reference for the page a batch must print alike.
extern bool printLinesInBatches;
// Move and line on planDC from view coordinates, scaled by the print scales and
// rounded; only while printing.
void PrintMoveTo(float x, float y);
void PrintLineTo(float x, float y);
void PrintLine(float x1, float y1, float x2, float y2);
// A segment already in view coordinates (projected and zoomed): on the screen DC
// rounded, dropped when an end lies beyond the screen range; while printing scaled by
// the print scales, cut to the page and drawn on planDC.
void DrawViewLine(HDC dc, float x1, float y1, float x2, float y2);
// A polygon of view points (x, y pairs, at most 8) with the current pen and brush: on
// the DC rounded, or scaled and rounded on planDC while printing.
void DrawViewPolygon(HDC dc, const float (*points)[2], int count);

// Move and line on the plan pane's own DC; with the zoom flag each coordinate goes
// through ZoomInt first.
void PlanMoveTo(int16_t x, int16_t y, uint8_t zoom);
void PlanLineTo(int16_t x, int16_t y, uint8_t zoom);
void PlanLine(int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t zoom);

// The pen width of an object in device units (its line thickness, zoomed with the flag,
// scaled while printing); 1 without an object.
int16_t GetObjectPenWidth(const PlanObject* object, uint8_t zoom);
// For a pen wider than 1, the offset that centres its rectangle on the line.
void GetPenCentreOffset(int16_t width, int16_t* dx, int16_t* dy);

// A memory DC the size of the window's client area (window origin at the client
// rectangle's logical top-left), with a bitmap compatible with the window (colour flag)
// or monochrome; the displaced bitmap goes to *previousBitmap. Null without an active
// document, a window or a slot.
HDC CreateOffscreenDC(HWND window, HBITMAP* previousBitmap, uint8_t colour);
void DeleteOffscreenDC(HDC memoryDC, HBITMAP previousBitmap);
// Fills with the plan background colour (white during an interactive redraw or
// without a document); the first and last arguments are not read.
int FillBackgroundRect(HWND unused, HDC dc, const RECT* rect, int unused2);

// The measuring surface: (-500, -500) to (500, 500) in logical units, monochrome,
// black brush, null pen, winding fill.
void CreateMeasureSurface();
void FillOffscreenWhite();
void DeleteMeasureSurface();

// Copies the window's client area between the window DC and a memory DC made by
// CreateOffscreenDC; nothing when an argument is null.
BOOL BlitMemoryToWindow(HWND window, HDC windowDC, HDC memoryDC);
BOOL BlitWindowToMemory(HWND window, HDC windowDC, HDC memoryDC);

// 16-bit GDI wrappers.
BOOL MoveTo16(HDC dc, int16_t x, int16_t y);
BOOL OffsetWindowOrg16(HDC dc, int16_t x, int16_t y);
BOOL SetWindowExt16(HDC dc, int16_t x, int16_t y);

// f32 wrappers of the runtime's double functions.
float AbsF(float x);
float ModfF(float x, float* whole);
float SqrtF(float x);
float PowF(float x, float y);
float AcosF(float x);
float SinF(float x);
float CosF(float x);
float Atan2F(float y, float x);
float FloorF(float x);
