#pragma once
// The lines the plan pane keeps of each text between repaints: the screen's road of
// FitTextEditToObject (text_editing). Laying a text's lines out means lending its edit
// control the zoomed font and taking it back, each a layout of the whole text, then
// reading the lines back one message at a time; a repaint draws the kept lines instead.
// What is kept, with the control (its user data, freed with it): the lines as the zoomed
// frame wraps them, the widest of them, the formatting rectangle the layout left, and
// what they were laid out from: the text, its font as given, the control's style (but
// its enabled and shown bits), the frame's size in pixels and the zoom. When any of these
// changed, the next repaint that shows the text forgets the lines and lays them out
// again, as the road of a page lays them out at every print: the control is given the
// zoomed font and the margins a fresh control has with it at its size (text_margins.h),
// and its formatting rectangle within them, so that the screen breaks each line where a
// fresh open and the printed page break it. A text that shows nothing in the area painted
// keeps its lines as they are.
#include <windows.h>
#include <string>
#include <utility>
#include <vector>

// What one fit of a text works with (FitTextEditToObject fills it for either road).
struct TextFit {
    HWND control;
    HWND pane;
    HDC out;            // where the lines go
    RECT box;           // the frame's box less the zoomed margins: where the lines start
    RECT place;         // the control's place in the pane's client area
    HFONT own;          // the control's own font
    LOGFONTA font;      // the text's font as given
    LONG zoomedHeight;
    LOGFONTA zoomed;    // the font at the zoomed height, drawable: the screen draws with it
    LONG lineHeight;    // on the output, in the font the lines are drawn with
    LONG style;         // the control's
};

// A text's lines as its control wraps them, and on the screen what they were laid out
// from.
struct KeptTextLayout {
    // The font as given, read once for each font the control is given (it is a window
    // property, a round trip to the window server).
    HFONT storedFor;
    LOGFONTA stored;
    // What the lines depend on.
    LOGFONTA font;
    LONG style;             // alignment and the rest, but the enabled and shown bits
    SIZE size;              // the control's size: the frame's box in pixels
    float zoom;
    std::string text;       // a multi-line control tells no one of a WM_SETTEXT
    bool laidOut;
    // The control's formatting rectangle as the layout left it: a refit sets another,
    // which the next repaint resets as the font's lending would have.
    RECT format;
    // The lines (index, text; empty lines are left out, the lines after them keep their
    // index) and the widest of them.
    std::vector<std::pair<int, std::string>> lines;
    int lineCount;
    LONG widest;
};

// Set while a text's control is laid out for drawing (it may carry a lent font): a
// change notification it sends meanwhile must not refit the frame to that font.
extern bool fittingTextControl;

// The control's kept lines, made empty the first time; ReleaseKeptLayout frees them
// (when the control is destroyed).
KeptTextLayout* KeptLayoutFor(HWND control);
void ReleaseKeptLayout(HWND control);

// Moves the control without repainting. The screen's road calls it only where the control
// does not lie there already: a move is a round trip to the window server even when
// nothing moves.
void MoveControlTo(HWND control, const RECT& place);

// The lines the control holds, as it wraps them now, and their widest extent on the DC
// (0 without a DC).
void ReadControlLines(HWND control, HDC dc, KeptTextLayout* layout);

// The screen's road with kept lines: places the control where it does not lie already
// and lays the lines out again only when something they depend on changed. False, with
// nothing laid out, when the text's lines and its frame (pixels, where the control lies)
// lie wholly outside the area; a control in the pane's client area is then still put in
// its place, so that none stays there away from its text.
bool KeepTextLines(const TextFit& fit, const RECT& frame, const RECT* area, KeptTextLayout* layout);
