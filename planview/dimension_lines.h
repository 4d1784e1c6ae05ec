#pragma once
// Every measured length the plan shows: the dimension objects the user places (types
// 100..102) and the one drawer of computed dimensions, DrawDimensionLine, used by the
// automatic wall and segment dimensions and by the tools' live feedback. Normal mode
// is part of the plan picture (and prints); live mode is an exclusive-or overlay that
// its caller draws a second time to erase.
//
// Also the text conventions the labels and captions share: the length-text rules, the
// fonts whose heights are plan units, the measuring DC and the print road of texts
// (black on white whatever the plan colours, turned 0.1 degree off the axes).
#include <windows.h>
#include <stddef.h>
#include <stdint.h>

struct PlanObject;
struct PlanVertex;
struct PlanSettings;
struct AttachmentRecord;
struct DragTransform;

// The alternating rounding of half inches along a run of chained dimensions: 1 rounds
// the next exact half up. The automatic-dimension drawers set it to 1 before and after
// each run; DrawDimensionText flips it.
extern uint8_t halfInchToggle;

// The live labels are drawn on the frame's 500 x 500 label surface (offscreenDC) and
// blitted; without it they are drawn as a path.
constexpr int labelScratchSize = 500;
constexpr int labelScratchOrigin = 250;

// Room of a length text with its suffix.
constexpr size_t kDimensionTextSize = 256;

// End-mark bits of the dimension style word (the lowest set bit wins) and the others
// the drawers read.
enum DimensionStyleBits : uint32_t {
    kMarkFilledArrow = 1,
    kMarkWhiteArrow = 2,
    kMarkOpenArrow = 4,
    kMarkSlash = 8,
    kMarkBackslash = 16,
    kMarkDot = 32,
    kMarkCircle = 64,
    kMarkBits = 0x7F,
    kMarksOutside = 0x80,   // marks point back from outside with a leader; no line
    kFramedText = 0x100,
};

// Dimension objects (types 100..102): extension lines, the line unless the marks are
// outside, the end marks and the framed or plain text at the label part.
void DrawDimensionObject(HDC dc, PlanObject* dimension, uint32_t flags, const DragTransform* preview);
// Moves a vertex copy by the preview transform the flags name (16 move, 32 scale,
// 64 stretch, 128 rotate, in that precedence); nothing without a flag or a record.
void ApplyPreviewTransform(PlanVertex* copy, uint32_t flags, const DragTransform* preview);
// The mark of the style word at M (view), turned toward O; with the outside bit it
// points back at the dimension from a leader (no leader for type 103).
void DrawDimensionEndMarks(HDC dc, const PlanObject* owner, float mx, float my, float ox,
                           float oy, uint32_t style);
// The length between the dimension-line ends (view) at the label part's centre.
void DrawDimensionObjectText(HDC dc, const AttachmentRecord* record, float x1, float y1, float x2,
                             float y2);

// A computed dimension. The direction segment A -> B (plan x, z) gives the direction,
// the measured segment U -> V the length and the ends; side 0 puts it on the right of
// A -> B as the plan shows it, any other value on the left. offset is the distance of
// the dimension from the segment (plan units); gap where its extension lines start.
// feet and inches receive the whole feet and inches of the text, or give them with
// useGiven (signed: a chain's remainder may be negative); either may be null when the
// caller needs nothing back. Normal mode needs the
// dimension drawing flag of the settings. textOnly (forced below 72 zoomed units)
// leaves out the extension lines, the line and the marks.
void DrawDimensionLine(HDC dc, float ax, float az, float bx, float bz, float ux, float uz,
                       float vx, float vz, uint8_t side, float offset, uint8_t live,
                       int32_t* feet, int32_t* inches, uint8_t useGiven, uint8_t skipSecond,
                       float gap, uint8_t textOnly, const char* suffix);
// One mark (1, 2, 4, 8, 16, 32 or 64) at M (view) turned toward O, without a leader;
// sizes are plain numbers with the unzoomed flag.
void DrawDimensionLineMark(HDC dc, float mx, float my, float ox, float oy, uint32_t mark,
                           uint8_t unzoomed);
// The length text of U -> V (plan) along E1 -> E2 (view), on a background that masks
// the line, in the dimension font.
void DrawDimensionText(HDC dc, float e1x, float e1y, float e2x, float e2y, float ux, float uz,
                       float vx, float vz, int32_t* feet, int32_t* inches, uint8_t useGiven,
                       const char* suffix);
// The live label of E1 -> E2 (view): the line in two pieces around the text unless
// textOnly, and the text drawn so that a second call erases it.
void DrawLiveDimensionLabel(HDC dc, float e1x, float e1y, float e2x, float e2y, uint8_t textOnly);
// Clears the end-mark bits of a dimension object's style and sets the one of the
// command (5086..5092); other commands and objects without a record change nothing.
void SetObjectEndMarkBits(PlanObject* dimension, uint32_t command);
// Appends the mark of the settings' drawing unit ("\"", "'", " yd.", ... " m.").
void AppendUnitSuffix(char* text, size_t size);

// ---------------------------------------------------------------------------------
// Text conventions shared with the labels and captions

// The length text of a plan length (72 per inch at scale 1) by the plan's unit system:
// metres with two decimals and " m.", or feet and inches. With alternate the exact
// half inches follow halfInchToggle. feet and inches, when given, receive the whole
// feet and inches of the text.
void FormatPlanLengthText(float planLength, const PlanSettings* settings, char* text, size_t size,
                          bool alternate, int32_t* feet, int32_t* inches);
// The text of a signed count of feet and inches, normalised to one sign: -1'-5", 7".
void FormatFeetInchesText(int32_t feet, int32_t inches, char* text, size_t size);

// True while printing to planDC.
bool PrintingPlanText();
// Texts and filled marks: the storey's line colour (settings 126), black while printing.
COLORREF PlanLineColour();
// Degrees of a text along a direction (radians) that keeps it readable: turned by 180
// when it would read upside down (flipped is set), 0.1 more on the axes while printing.
float ReadableTextDegrees(float theta, bool* flipped);
// 0.1 degree added on the axes while printing, so the printer driver turns the text.
float NudgePrintDegrees(float degrees);
// The one road from a stored font (a label's, or the dimension font) to a font a device
// draws: its height, in plan units, zoomed (with toPrinter scaled to the printer; a zero
// height becomes -1), turned by the degrees, then the drawable copy (MakeDrawableFont).
LOGFONTA PlanTextLogFont(const LOGFONTA& base, bool toPrinter, float degrees);
// That font, scaled to the printer while printing: the run's font of its look
// (run_fonts.h), handed back with ReleaseRunFont.
HFONT AcquirePlanFont(const LOGFONTA& base, float degrees);
// Width (GetTextWidth) and metrics of a text in that font, in view units: measured on
// the DC, or while printing on a DC of the plan pane, with the run's font of the look.
void MeasurePlanText(HDC dc, const LOGFONTA& base, const char* text, int32_t* width,
                     uint16_t* ascent, uint16_t* descent, uint16_t* leading);
// The text centred on its base line at the view point, transparent, in the colour; on
// the DC, or scaled on planDC while printing.
void DrawPlanTextCentred(HDC dc, HFONT font, const char* text, float x, float y, COLORREF colour);
// The live label text at the anchor (view) turned by the degrees: on the label surface
// and blitted with SRCINVERT, or as a path filled in R2_NOTXORPEN.
void DrawLiveLabelText(HDC dc, const char* text, float anchorX, float anchorY, float degrees);
// The Arial italic font of live labels and its measurements on the label surface (or
// the DC without it).
void MeasureLiveLabelText(HDC dc, const char* text, int32_t* width, uint16_t* ascent);
