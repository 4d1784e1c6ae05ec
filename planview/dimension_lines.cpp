#include "planview/dimension_lines.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "planview/run_fonts.h"
#include "shell/app_globals.h"     // dimensionLogFont, the font of computed dimensions
#include "shell/frame_window.h"    // offscreenDC, the label surface
#include <math.h>
#include <stdio.h>
#include <string.h>

uint8_t halfInchToggle = 1;

namespace {

const double kRadiansToDegrees = 57.29577951308232;
const float kQuarterTurn = 1.5707963267948966f;
const float kOneDegree = 0.017453292519943295f;
// Beyond this many inches the whole feet no longer fit a 32-bit count; a length read
// from a damaged file is held to it.
const double kLargestInches = 2.0e10;

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

COLORREF ToColorRef(const ColourTriple& c)
{
    return RGB(c.red / 257, c.green / 257, c.blue / 257);
}

// +0.5 truncated toward zero, held to a bound no conversion can overflow (NaN counts
// as the low bound).
long RoundHalfUp(double v)
{
    if (!(v > -kPrintCoordinateLimit))
        v = -kPrintCoordinateLimit;
    else if (v > kPrintCoordinateLimit)
        v = kPrintCoordinateLimit;
    return static_cast<long>(v + 0.5);
}

struct ViewPoint2 {
    float x, y;
};

ViewPoint2 Offset(ViewPoint2 p, float angle, float distance)
{
    float dx = 0.0f, dy = 0.0f;
    OffsetPointPolar(angle, distance, &dx, &dy);
    return {p.x + dx, p.y + dy};
}

// A view point on the target: rounded on the screen, scaled and rounded while printing.
POINT DevicePoint(float x, float y)
{
    POINT p;
    if (PrintingPlanText()) {
        p.x = RoundHalfUp(static_cast<double>(x) * printScaleX);
        p.y = RoundHalfUp(static_cast<double>(y) * printScaleY);
    } else {
        p.x = RoundHalfUp(x);
        p.y = RoundHalfUp(y);
    }
    return p;
}

HDC TargetDC(HDC dc)
{
    return PrintingPlanText() ? planDC : dc;
}

void ViewLine(HDC dc, ViewPoint2 a, ViewPoint2 b)
{
    DrawViewLine(dc, a.x, a.y, b.x, b.y);
}

// A filled polygon of view points with the brush given (null: the stock null brush)
// and the target's current pen, or the null pen with nullPen.
void FillViewPolygon(HDC dc, const ViewPoint2* points, int count, HBRUSH brush, bool nullPen)
{
    HDC target = TargetDC(dc);
    if (!target || count < 3 || count > 8)
        return;
    float view[8][2];
    for (int i = 0; i < count; ++i) {
        view[i][0] = points[i].x;
        view[i][1] = points[i].y;
    }
    HGDIOBJ previousBrush =
        SelectObject(target, brush ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
    HGDIOBJ previousPen = nullPen ? SelectObject(target, GetStockObject(NULL_PEN)) : nullptr;
    DrawViewPolygon(dc, view, count);
    if (previousPen)
        SelectObject(target, previousPen);
    if (previousBrush)
        SelectObject(target, previousBrush);
}

// An ellipse in the box (M - size) .. (M + size + 1), view units.
void ViewEllipse(HDC dc, ViewPoint2 m, float size, HBRUSH brush)
{
    HDC target = TargetDC(dc);
    if (!target)
        return;
    POINT from = DevicePoint(m.x - size, m.y - size);
    POINT to = DevicePoint(m.x + size + 1.0f, m.y + size + 1.0f);
    HGDIOBJ previous =
        SelectObject(target, brush ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
    if (PrintingPlanText()) {
        const POINT box[4] = {from, {to.x, from.y}, to, {from.x, to.y}};
        SendPrintLinesUnder(target, box, 4);
    }
    Ellipse(target, from.x, from.y, to.x, to.y);
    if (previous)
        SelectObject(target, previous);
}

// One mark at M, its shape turned by the angle a (toward the other end). Filled marks
// take the line colour (black while printing); the white arrow is hollow on paper
// unless whiteOnPaper.
void DrawMarkShape(HDC dc, ViewPoint2 m, float a, uint32_t mark, bool zoomed, bool whiteOnPaper)
{
    auto size = [zoomed](float n) { return zoomed ? ZoomFloat(n) : n; };
    const bool printing = PrintingPlanText();
    switch (mark) {
    case kMarkFilledArrow:
    case kMarkWhiteArrow:
    case kMarkOpenArrow: {
        const ViewPoint2 b = Offset(m, a + 15.0f * kOneDegree, size(12.0f));
        const ViewPoint2 c = Offset(m, a - 15.0f * kOneDegree, size(12.0f));
        if (mark == kMarkOpenArrow) {
            ViewLine(dc, m, b);
            ViewLine(dc, m, c);
            break;
        }
        const ViewPoint2 triangle[3] = {m, b, c};
        if (mark == kMarkFilledArrow) {
            HBRUSH brush = CreateSolidBrush(PlanLineColour());
            if (brush) {
                FillViewPolygon(dc, triangle, 3, brush, false);
                DeleteObject(brush);
            }
        } else {
            HBRUSH white = (!printing || whiteOnPaper)
                               ? static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))
                               : nullptr;
            FillViewPolygon(dc, triangle, 3, white, false);
        }
        break;
    }
    case kMarkSlash:
        ViewLine(dc, Offset(m, a + 45.0f * kOneDegree, size(9.0f)),
                 Offset(m, a - 135.0f * kOneDegree, size(9.0f)));
        break;
    case kMarkBackslash:
        ViewLine(dc, Offset(m, a + 135.0f * kOneDegree, size(9.0f)),
                 Offset(m, a - 45.0f * kOneDegree, size(9.0f)));
        break;
    case kMarkDot: {
        HBRUSH brush = CreateSolidBrush(PlanLineColour());
        if (brush) {
            ViewEllipse(dc, m, size(2.0f), brush);
            DeleteObject(brush);
        }
        break;
    }
    case kMarkCircle:
        ViewEllipse(dc, m, size(6.0f), nullptr);
        break;
    default:
        break;
    }
}

// A plan segment (x, z at height 0) projected into the view, zoomed, with the
// perspective divide when it is on.
void ProjectPlanSegment(float x1, float z1, float x2, float z2, ViewPoint2* p, ViewPoint2* q)
{
    float y1 = 0.0f, y2 = 0.0f;
    ProjectSegmentToView(&x1, &y1, &z1, &x2, &y2, &z2, perspectiveOn);
    *p = {x1, y1};
    *q = {x2, y2};
}

// The mark a style word asks for: the lowest of its seven mark bits.
uint32_t MarkOfStyle(uint32_t style)
{
    const uint32_t bits = style & kMarkBits;
    return bits & (~bits + 1u);
}

// Tenths of a degree of a text's direction, given within one turn (a readable text
// may be turned past 360 degrees).
LONG EscapementTenths(float degrees)
{
    long tenths = RoundHalfUp(static_cast<double>(degrees) * 10.0) % 3600;
    return tenths < 0 ? tenths + 3600 : tenths;
}

// Font heights are plan units: zoomed on the screen, scaled to the printer on paper.
LONG ScaledFontHeight(LONG height, bool toPrinter)
{
    double h = toPrinter ? static_cast<double>(height) * printScaleX
                         : static_cast<double>(ZoomFloat(static_cast<float>(height)));
    h -= 0.5;
    if (!(h > -100000.0))
        h = -100000.0;
    else if (h > 100000.0)
        h = 100000.0;
    LONG result = static_cast<LONG>(h);
    return result == 0 ? -1 : result;
}

// The text colour, set only when it differs: a printer sets its font again after every
// change of text colour. Returns the colour to put back, CLR_INVALID for none.
COLORREF ChangeTextColour(HDC dc, COLORREF colour)
{
    const COLORREF previous = GetTextColor(dc);
    if (previous == colour)
        return CLR_INVALID;
    SetTextColor(dc, colour);
    return previous;
}

void PutTextColourBack(HDC dc, COLORREF previous)
{
    if (previous != CLR_INVALID)
        SetTextColor(dc, previous);
}

void AppendSuffix(char* text, size_t size, const char* suffix)
{
    if (!suffix)
        return;
    const size_t used = strlen(text);
    const size_t extra = strlen(suffix);
    if (used + extra < 250 && used + extra < size)
        memcpy(text + used, suffix, extra + 1);
}

// The Arial italic face of live labels: on the label surface the zoomed -16 (never
// below 10 pixels) at normal weight, else -14 bold.
LOGFONTA LiveLabelLogFont(bool onSurface, float degrees)
{
    LOGFONTA f = {};
    if (onSurface) {
        const LONG h = ScaledFontHeight(-16, false);
        f.lfHeight = h > -10 ? -10 : h;
        f.lfWeight = FW_NORMAL;
    } else {
        f.lfHeight = -14;
        f.lfWeight = 700;
    }
    f.lfItalic = 1;
    f.lfCharSet = 0;
    f.lfPitchAndFamily = 0x34;
    strcpy(f.lfFaceName, "Arial");
    f.lfEscapement = f.lfOrientation = EscapementTenths(degrees);
    // The plan's zoom may be anything a file held.
    return MakeDrawableFont(f);
}

// Degrees of a live text: turned to read left to right, never nudged (never printed).
float LiveTextDegrees(float theta, bool* flipped)
{
    // Judged to a thousandth of a degree: a line running straight down the plan comes
    // out of the float angle a hair above 270 and must still be turned.
    double deg = floor(theta * kRadiansToDegrees * 1000.0 + 0.5) / 1000.0;
    *flipped = deg > 90.0 && deg <= 270.0;
    if (*flipped)
        deg += 180.0;
    return static_cast<float>(deg);
}

} // namespace

// ---------------------------------------------------------------------------------
// Length texts

void FormatFeetInchesText(int32_t feet, int32_t inches, char* text, size_t size)
{
    if (!text || size == 0)
        return;
    const long long total = static_cast<long long>(feet) * 12 + inches;
    const char* sign = total < 0 ? "-" : "";
    const unsigned long long magnitude =
        total < 0 ? static_cast<unsigned long long>(-total) : static_cast<unsigned long long>(total);
    const unsigned long wholeFeet = static_cast<unsigned long>(magnitude / 12);
    const unsigned long rest = static_cast<unsigned long>(magnitude % 12);
    if (wholeFeet == 0)
        snprintf(text, size, "%s%lu\"", sign, rest);
    else
        snprintf(text, size, "%s%lu'-%lu\"", sign, wholeFeet, rest);
}

void FormatPlanLengthText(float planLength, const PlanSettings* settings, char* text, size_t size,
                          bool alternate, int32_t* feetOut, int32_t* inchesOut)
{
    if (!text || size == 0)
        return;
    text[0] = '\0';
    if (!settings)
        return;
    const bool feetAndInches = settings->unitSystem == kUnitSystemFeetInches;
    // Drawing units are turned into inches first, whatever the unit system: metres are
    // inches over 39.37, never drawing units over 39.37.
    const double inches = ConvertUnitsToInches(PlanLengthToUnits(planLength, settings, 0), settings);
    const bool negative = inches < 0.0;
    double magnitude = fabs(inches);
    if (magnitude != magnitude)
        magnitude = 0.0;
    else if (magnitude > kLargestInches)
        magnitude = kLargestInches;

    const double q = magnitude / 12.0;
    double feet = trunc(q);
    const double r = (q - feet) * 12.0;
    double whole;
    if (alternate && feetAndInches) {
        const double f = r - trunc(r);
        bool up;
        if (f > 0.51) {
            up = true;
        } else if (f < 0.49) {
            up = false;
        } else {
            up = halfInchToggle == 1;
            halfInchToggle = up ? 0 : 1;
        }
        whole = trunc(r) + (up ? 1.0 : 0.0);
    } else {
        whole = trunc(r + 0.5);
    }
    if (whole >= 12.0) {
        feet += 1.0;
        whole = 0.0;
    }
    const int32_t signedFeet = static_cast<int32_t>(negative ? -feet : feet);
    const int32_t signedInches = static_cast<int32_t>(negative ? -whole : whole);
    if (feetOut)
        *feetOut = signedFeet;
    if (inchesOut)
        *inchesOut = signedInches;

    if (feetAndInches)
        FormatFeetInchesText(signedFeet, signedInches, text, size);
    else
        snprintf(text, size, "%0.2f m.", static_cast<double>(InchesToMetres(static_cast<float>(inches))));
}

void AppendUnitSuffix(char* text, size_t size)
{
    PlanSettings* settings = Settings();
    if (!text || !settings)
        return;
    static const char* const suffixes[] = {"\"", "'", " yd.", " mi.", " mm.", " cm.", " dm.", " m."};
    const uint16_t unit = settings->drawingUnit;
    if (unit < 1 || unit > 8)
        return;
    const size_t used = strnlen(text, size);
    if (used < size)
        snprintf(text + used, size - used, "%s", suffixes[unit - 1]);
}

// ---------------------------------------------------------------------------------
// Text conventions

bool PrintingPlanText()
{
    return planOutputMode == 1 && planDC;
}

COLORREF PlanLineColour()
{
    if (PrintingPlanText())
        return RGB(0, 0, 0);
    PlanSettings* settings = Settings();
    return settings ? ToColorRef(settings->foregroundColour) : RGB(0, 0, 0);
}

float NudgePrintDegrees(float degrees)
{
    if (!PrintingPlanText())
        return degrees;
    switch (RoundHalfUp(degrees)) {
    case 0: case 90: case 180: case 270: case 360: case 450:
        return degrees + 0.1f;
    default:
        return degrees;
    }
}

float ReadableTextDegrees(float theta, bool* flipped)
{
    bool flip = false;
    const float degrees = LiveTextDegrees(theta, &flip);
    if (flipped)
        *flipped = flip;
    return NudgePrintDegrees(degrees);
}

LOGFONTA PlanTextLogFont(const LOGFONTA& base, bool toPrinter, float degrees)
{
    LOGFONTA font = base;
    font.lfHeight = ScaledFontHeight(base.lfHeight, toPrinter);
    font.lfEscapement = font.lfOrientation = EscapementTenths(degrees);
    // Made drawable after the scaling: a height that is fine as stored can pass what a
    // device draws once zoomed or scaled to the printer.
    return MakeDrawableFont(font);
}

HFONT AcquirePlanFont(const LOGFONTA& base, float degrees)
{
    return AcquireRunFont(PlanTextLogFont(base, PrintingPlanText(), degrees));
}

void MeasurePlanText(HDC dc, const LOGFONTA& base, const char* text, int32_t* width,
                     uint16_t* ascent, uint16_t* descent, uint16_t* leading)
{
    if (width)
        *width = 2;
    GetTextMetricsOfDC(nullptr, ascent, descent, nullptr, leading);
    // Texts are laid out in view units. On paper they are measured on the plan pane in
    // the view-sized font; without a pane, on the printer and brought back to view units.
    const bool printing = PrintingPlanText();
    HWND pane = printing ? activePlanPane : nullptr;
    HDC measuring = printing ? (pane ? GetDC(pane) : nullptr) : dc;
    double back = 1.0;
    LOGFONTA font = PlanTextLogFont(base, false, 0.0f);
    if (printing && !measuring) {
        measuring = planDC;
        font = PlanTextLogFont(base, true, 0.0f);
        back = printScaleX > 0.0f ? 1.0 / printScaleX : 1.0;
    }
    HFONT taken = measuring ? AcquireRunFont(font) : nullptr;
    if (taken) {
        // A pane's DC got and released per text gives its font back at once; one its
        // class owns lives on and keeps the run's font, as the DC drawn on does.
        const bool perText = pane && !(GetClassLongPtrA(pane, GCL_STYLE) & CS_OWNDC);
        HGDIOBJ previous = perText ? SelectObject(measuring, taken) : SelectTextFont(measuring, taken);
        uint16_t a = 0, d = 0, l = 0;
        const int32_t w = GetTextWidth(measuring, text);
        GetTextMetricsOfDC(measuring, &a, &d, nullptr, &l);
        RestoreTextFont(measuring, previous);
        ReleaseRunFont(taken);
        if (width)
            *width = static_cast<int32_t>((w - 2) * back) + 2;
        if (ascent)
            *ascent = static_cast<uint16_t>(a * back);
        if (descent)
            *descent = static_cast<uint16_t>(d * back);
        if (leading)
            *leading = static_cast<uint16_t>(l * back);
    }
    if (pane && measuring)
        ReleaseDC(pane, measuring);
}

void DrawPlanTextCentred(HDC dc, HFONT font, const char* text, float x, float y, COLORREF colour)
{
    HDC target = TargetDC(dc);
    if (!target || !font || !text)
        return;
    const POINT at = DevicePoint(x, y);
    HGDIOBJ previousFont = SelectTextFont(target, font);
    const int mode = SetBkMode(target, TRANSPARENT);
    const UINT align = SetTextAlign(target, TA_BASELINE | TA_CENTER);
    const COLORREF previousColour = ChangeTextColour(target, colour);
    TextOutA(target, at.x, at.y, text, static_cast<int>(strlen(text)));
    PutTextColourBack(target, previousColour);
    SetTextAlign(target, align);
    SetBkMode(target, mode);
    RestoreTextFont(target, previousFont);
}

void MeasureLiveLabelText(HDC dc, const char* text, int32_t* width, uint16_t* ascent)
{
    HDC surface = offscreenDC ? offscreenDC : dc;
    if (width)
        *width = 2;
    if (ascent)
        *ascent = 0;
    HFONT font = surface ? AcquireRunFont(LiveLabelLogFont(offscreenDC != nullptr, 0.0f)) : nullptr;
    if (!font)
        return;
    HGDIOBJ previous = SelectObject(surface, font);
    if (width)
        *width = GetTextWidth(surface, text);
    GetTextMetricsOfDC(surface, ascent, nullptr, nullptr, nullptr);
    if (previous)
        SelectObject(surface, previous);
    ReleaseRunFont(font);
}

void DrawLiveLabelText(HDC dc, const char* text, float anchorX, float anchorY, float degrees)
{
    if (!dc || !text)
        return;
    HDC surface = offscreenDC;
    HFONT font = AcquireRunFont(LiveLabelLogFont(surface != nullptr, degrees));
    if (!font)
        return;
    const int length = static_cast<int>(strlen(text));
    const long x = RoundHalfUp(anchorX), y = RoundHalfUp(anchorY);
    if (surface) {
        // Only the text's pixels differ from black on the surface, so the inverting
        // copy changes the plan only there and a second copy restores it.
        HGDIOBJ previousFont = SelectObject(surface, font);
        RECT all = {0, 0, labelScratchSize, labelScratchSize};
        FillRect(surface, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        const COLORREF colour = SetTextColor(surface, RGB(127, 255, 255));
        const int mode = SetBkMode(surface, TRANSPARENT);
        const UINT align = SetTextAlign(surface, TA_BASELINE | TA_CENTER);
        TextOutA(surface, labelScratchOrigin, labelScratchOrigin, text, length);
        SetTextAlign(surface, align);
        SetBkMode(surface, mode);
        SetTextColor(surface, colour);
        if (previousFont)
            SelectObject(surface, previousFont);
        BitBlt(dc, x - labelScratchOrigin, y - labelScratchOrigin, labelScratchSize,
               labelScratchSize, surface, 0, 0, SRCINVERT);
    } else {
        HGDIOBJ previousFont = SelectObject(dc, font);
        const int mode = SetBkMode(dc, TRANSPARENT);
        const UINT align = SetTextAlign(dc, TA_BASELINE | TA_CENTER);
        SetROP2(dc, R2_COPYPEN);
        BeginPath(dc);
        TextOutA(dc, x, y, text, length);
        EndPath(dc);
        SetROP2(dc, R2_NOTXORPEN);
        HBRUSH brush = CreateSolidBrush(RGB(0, 128, 176));
        if (brush) {
            HGDIOBJ previousBrush = SelectObject(dc, brush);
            FillPath(dc);
            if (previousBrush)
                SelectObject(dc, previousBrush);
            DeleteObject(brush);
        } else {
            AbortPath(dc);
        }
        SetTextAlign(dc, align);
        SetBkMode(dc, mode);
        if (previousFont)
            SelectObject(dc, previousFont);
    }
    ReleaseRunFont(font);
}

// ---------------------------------------------------------------------------------
// Dimension objects

void ApplyPreviewTransform(PlanVertex* copy, uint32_t flags, const DragTransform* preview)
{
    if (!copy || !preview)
        return;
    if (flags & 16)
        MoveVertexByDrag(copy, flags, preview);
    else if (flags & 32)
        ScaleVertexByDrag(copy, flags, preview);
    else if (flags & 64)
        StretchVertexByDrag(copy, flags, preview);
    else if (flags & 128)
        RotateVertexByDrag(copy, flags, preview);
}

void DrawDimensionEndMarks(HDC dc, const PlanObject* owner, float mx, float my, float ox,
                           float oy, uint32_t style)
{
    if (!TargetDC(dc))
        return;
    float distance = 0.0f;
    const ViewPoint2 m = {mx, my};
    float a;
    if (style & kMarksOutside) {
        a = AngleBetweenPoints(ox, oy, mx, my, &distance);
        if (!owner || owner->type != 103)
            ViewLine(dc, m, Offset(m, a, ZoomFloat(36.0f)));
    } else {
        a = AngleBetweenPoints(mx, my, ox, oy, &distance);
    }
    DrawMarkShape(dc, m, a, MarkOfStyle(style), true, false);
}

void DrawDimensionLineMark(HDC dc, float mx, float my, float ox, float oy, uint32_t mark,
                           uint8_t unzoomed)
{
    if (!TargetDC(dc))
        return;
    float distance = 0.0f;
    const float a = AngleBetweenPoints(mx, my, ox, oy, &distance);
    DrawMarkShape(dc, {mx, my}, a, mark, unzoomed == 0, true);
}

void DrawDimensionObjectText(HDC dc, const AttachmentRecord* record, float x1, float y1, float x2,
                             float y2)
{
    PlanSettings* settings = Settings();
    HDC target = TargetDC(dc);
    if (!settings || !target || !record || !record->label)
        return;
    PlanObject* label = record->label;
    const AttachedPartRecord* part = static_cast<const AttachedPartRecord*>(label->link);
    if (!part)
        return;

    char text[kDimensionTextSize];
    const float length = Distance2D(UnzoomFloat(x1), UnzoomFloat(y1), UnzoomFloat(x2), UnzoomFloat(y2));
    FormatPlanLengthText(length, settings, text, sizeof text, false, nullptr, nullptr);

    HFONT font = AcquirePlanFont(part->font, 0.0f);
    if (!font)
        return;
    int32_t w = 2;
    uint16_t ascent = 0, descent = 0, leading = 0;
    MeasurePlanText(dc, part->font, text, &w, &ascent, &descent, &leading);
    const float h = static_cast<float>(ascent + descent + leading);
    float cx = 0.0f, cy = 0.0f;
    GetObjectCentre2D(label, &cx, &cy);
    const float zoom = ZoomFloat(1.0f);

    if (PrintingPlanText()) {
        // The box in view units, scaled to the page: white, framed with four lines.
        const ViewPoint2 box[4] = {{cx - w / 2.0f - zoom, cy - h / 2.0f - zoom},
                                   {cx + w / 2.0f + 1.0f + zoom, cy - h / 2.0f - zoom},
                                   {cx + w / 2.0f + 1.0f + zoom, cy + h / 2.0f + 1.0f + zoom},
                                   {cx - w / 2.0f - zoom, cy + h / 2.0f + 1.0f + zoom}};
        FillViewPolygon(dc, box, 4, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), true);
        if (record->flags & kFramedText)
            for (int i = 0; i < 4; ++i)
                ViewLine(dc, box[i], box[(i + 1) % 4]);
    } else {
        const long grow = RoundHalfUp(zoom);
        RECT box = {RoundHalfUp(cx - w / 2.0f) - grow, RoundHalfUp(cy - h / 2.0f) - grow,
                    RoundHalfUp(cx + w / 2.0f) + 1 + grow, RoundHalfUp(cy + h / 2.0f) + 1 + grow};
        FillRectWithFillColour(dc, &box);
        if (record->flags & kFramedText)
            DrawRectOutline(dc, &box);
    }

    // The text sits on its base line from the box's left edge.
    POINT at;
    if (PrintingPlanText())
        at = DevicePoint(cx - w / 2.0f + 1.0f, cy + h / 2.0f - descent);
    else
        at = {RoundHalfUp(cx - w / 2.0f) + 1, RoundHalfUp(cy + h / 2.0f) - descent};
    HGDIOBJ previousFont = SelectTextFont(target, font);
    const COLORREF previousColour = ChangeTextColour(target, PlanLineColour());
    MoveToEx(target, at.x, at.y, nullptr);
    DrawTextAtDC(dc, text);
    PutTextColourBack(target, previousColour);
    RestoreTextFont(target, previousFont);
    ReleaseRunFont(font);
}

void DrawDimensionObject(HDC dc, PlanObject* dimension, uint32_t flags, const DragTransform* preview)
{
    if (!Settings() || !TargetDC(dc) || !dimension || !dimension->link)
        return;
    const AttachmentRecord* record = static_cast<const AttachmentRecord*>(dimension->link);
    ViewPoint2 p[4];
    const PlanVertex* v = dimension->firstVertex;
    for (int i = 0; i < 4; ++i, v = v->next) {
        if (!v)
            return;
        PlanVertex copy = *v;
        ApplyPreviewTransform(&copy, flags, preview);
        float x = copy.position[0], y = copy.position[1], z = copy.position[2];
        TransformPointToView(&x, &y, &z, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin,
                             viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
        if (perspectiveOn)
            ApplyPerspective(&x, &y, &z, viewerDistance, 0.0f, 0.0f, 0.0f);
        p[i] = {x, y};
    }
    // Extension lines from 5 to 7 view pixels beyond the dimension line.
    const ViewPoint2 measured[2] = {p[0], p[3]};
    const ViewPoint2 lineEnd[2] = {p[1], p[2]};
    for (int i = 0; i < 2; ++i) {
        float length = 0.0f;
        const float u = AngleBetweenPoints(measured[i].x, measured[i].y, lineEnd[i].x, lineEnd[i].y, &length);
        ViewLine(dc, Offset(measured[i], u, 5.0f), Offset(measured[i], u, length + 7.0f));
    }
    if (!(record->flags & kMarksOutside))
        ViewLine(dc, p[2], p[1]);
    DrawDimensionEndMarks(dc, dimension, p[1].x, p[1].y, p[2].x, p[2].y, record->flags);
    DrawDimensionEndMarks(dc, dimension, p[2].x, p[2].y, p[1].x, p[1].y, record->flags);
    DrawDimensionObjectText(dc, record, p[1].x, p[1].y, p[2].x, p[2].y);
}

void SetObjectEndMarkBits(PlanObject* dimension, uint32_t command)
{
    if (!dimension || !IsDimensionType(dimension->type) || !dimension->link)
        return;
    if (command < 5086 || command > 5092)
        return;
    AttachmentRecord* record = static_cast<AttachmentRecord*>(dimension->link);
    record->flags = (record->flags & ~static_cast<uint32_t>(kMarkBits)) | (1u << (command - 5086));
}

// ---------------------------------------------------------------------------------
// Computed dimensions

void DrawDimensionText(HDC dc, float e1x, float e1y, float e2x, float e2y, float ux, float uz,
                       float vx, float vz, int32_t* feet, int32_t* inches, uint8_t useGiven,
                       const char* suffix)
{
    PlanSettings* settings = Settings();
    if (!settings || !TargetDC(dc) || !feet || !inches)
        return;
    float distance = 0.0f;
    const float theta = AngleBetweenPoints(e1x, e1y, e2x, e2y, &distance);
    bool flipped = false;
    const float degrees = ReadableTextDegrees(theta, &flipped);

    char text[kDimensionTextSize];
    if (useGiven && settings->unitSystem == kUnitSystemFeetInches) {
        FormatFeetInchesText(*feet, *inches, text, sizeof text);
    } else {
        int32_t f = 0, i = 0;
        FormatPlanLengthText(Distance2D(ux, uz, vx, vz), settings, text, sizeof text, true, &f, &i);
        if (!useGiven) {
            *feet = f;
            *inches = i;
        }
    }
    AppendSuffix(text, sizeof text, suffix);

    HFONT font = AcquirePlanFont(dimensionLogFont, degrees);
    if (!font)
        return;
    int32_t w = 2;
    uint16_t ascent = 0;
    MeasurePlanText(dc, dimensionLogFont, text, &w, &ascent, nullptr, nullptr);
    w += 4;
    const ViewPoint2 m = {(e1x + e2x) / 2.0f, (e1y + e2y) / 2.0f};
    float tx = 0.0f, ty = 0.0f, px = 0.0f, py = 0.0f;
    OffsetPointPolar(theta, static_cast<float>(w / 2), &tx, &ty);
    OffsetPointPolar(theta + kQuarterTurn, static_cast<float>(ascent / 2), &px, &py);

    // A background under the text masks the dimension line.
    const ViewPoint2 mask[4] = {{m.x + tx + px, m.y + ty + py}, {m.x - tx + px, m.y - ty + py},
                                {m.x - tx - px, m.y - ty - py}, {m.x + tx - px, m.y + ty - py}};
    HBRUSH background = PrintingPlanText() ? nullptr : CreateSolidBrush(ToColorRef(settings->backgroundColour));
    FillViewPolygon(dc, mask, 4,
                    background ? background : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), true);
    if (background)
        DeleteObject(background);

    const ViewPoint2 anchor = flipped ? ViewPoint2{m.x + px, m.y + py} : ViewPoint2{m.x - px, m.y - py};
    DrawPlanTextCentred(dc, font, text, anchor.x, anchor.y, PlanLineColour());
    ReleaseRunFont(font);
}

void DrawLiveDimensionLabel(HDC dc, float e1x, float e1y, float e2x, float e2y, uint8_t textOnly)
{
    PlanSettings* settings = Settings();
    if (!settings || !dc)
        return;
    float length = 0.0f;
    const float theta = AngleBetweenPoints(UnzoomFloat(e1x), UnzoomFloat(e1y), UnzoomFloat(e2x),
                                           UnzoomFloat(e2y), &length);
    bool flipped = false;
    const float degrees = LiveTextDegrees(theta, &flipped);
    char text[kDimensionTextSize];
    FormatPlanLengthText(length, settings, text, sizeof text, false, nullptr, nullptr);

    int32_t w = 2;
    uint16_t ascent = 0;
    MeasureLiveLabelText(dc, text, &w, &ascent);
    w += 4;
    const ViewPoint2 m = {(e1x + e2x) / 2.0f, (e1y + e2y) / 2.0f};
    float tx = 0.0f, ty = 0.0f, px = 0.0f, py = 0.0f;
    OffsetPointPolar(theta, static_cast<float>(w / 2), &tx, &ty);
    OffsetPointPolar(theta + kQuarterTurn, static_cast<float>(ascent / 2), &px, &py);
    if (!textOnly) {
        // The line in two pieces, leaving the text its gap.
        ViewLine(dc, {e1x, e1y}, {m.x - tx, m.y - ty});
        ViewLine(dc, {e2x, e2y}, {m.x + tx, m.y + ty});
    }
    const ViewPoint2 anchor = flipped ? ViewPoint2{m.x + px, m.y + py} : ViewPoint2{m.x - px, m.y - py};
    DrawLiveLabelText(dc, text, anchor.x, anchor.y, degrees);
}

void DrawDimensionLine(HDC dc, float ax, float az, float bx, float bz, float ux, float uz,
                       float vx, float vz, uint8_t side, float offset, uint8_t live,
                       int32_t* feet, int32_t* inches, uint8_t useGiven, uint8_t skipSecond,
                       float gap, uint8_t textOnly, const char* suffix)
{
    PlanSettings* settings = Settings();
    if (!settings || !dc)
        return;
    if (!live && !settings->dimensionDrawing)
        return;
    // Callers that need no feet and inches back pass none.
    int32_t scratchFeet = 0, scratchInches = 0;
    if (!feet || !inches) {
        feet = &scratchFeet;
        inches = &scratchInches;
    }
    HPEN livePen = nullptr;
    HGDIOBJ previousPen = nullptr;
    if (live) {
        SetROP2(dc, R2_NOTXORPEN);
        livePen = CreatePen(PS_DOT, 0, RGB(128, 0, 0));
        if (livePen)
            previousPen = SelectObject(dc, livePen);
    }

    // Both segments in view coordinates, at height 0.
    ViewPoint2 a, b, u, v;
    ProjectPlanSegment(ax, az, bx, bz, &a, &b);
    ProjectPlanSegment(ux, uz, vx, vz, &u, &v);
    float length = 0.0f;
    const float theta = AngleBetweenPoints(a.x, a.y, b.x, b.y, &length);
    const float phi = side ? theta + kQuarterTurn : theta - kQuarterTurn;

    const float e0 = ZoomFloat((live ? offset : gap) + 3.0f);
    const float e1 = ZoomFloat(offset + 22.0f);
    if (length < ZoomFloat(72.0f))
        textOnly = 1;
    if (!textOnly) {
        ViewLine(dc, Offset(u, phi, e0), Offset(u, phi, e1));
        if (!skipSecond)
            ViewLine(dc, Offset(v, phi, e0), Offset(v, phi, e1));
    }
    const float e2 = ZoomFloat(offset + (textOnly ? 10.0f : 15.0f));
    const ViewPoint2 end1 = Offset(u, phi, e2);
    const ViewPoint2 end2 = Offset(v, phi, e2);
    if (!live && !textOnly) {
        ViewLine(dc, end1, end2);
        DrawDimensionLineMark(dc, end1.x, end1.y, end2.x, end2.y, kMarkSlash, 0);
        if (!skipSecond)
            DrawDimensionLineMark(dc, end2.x, end2.y, end1.x, end1.y, kMarkSlash, 0);
    }
    if (live)
        DrawLiveDimensionLabel(dc, end1.x, end1.y, end2.x, end2.y, textOnly);
    else
        DrawDimensionText(dc, end1.x, end1.y, end2.x, end2.y, ux, uz, vx, vz, feet, inches,
                          useGiven, suffix);

    if (livePen) {
        if (previousPen)
            SelectObject(dc, previousPen);
        DeleteObject(livePen);
    }
}
