#pragma once
// The lines the plan pane keeps of each text between repaints: the screen's road of
// FitTextEditToObject (text_editing). Laying a text's lines out means giving a fresh
// control (fresh_text_layout.h) the frame's size in pixels, the zoomed font and the text,
// each a layout of the whole text, then reading the lines back one message at a time; a
// repaint draws the kept lines instead. What is kept, with the text's control (its user
// data, freed with it): the lines as the zoomed frame wraps them, the widest of them, the
// state of the control they were laid out in, and what they were laid out from: the text,
// its font as given, the control's style (but its enabled and shown bits), the frame's
// size in pixels and the zoom. When any of these changed, the next repaint that shows the
// text forgets the lines and lays them out again from nothing, as the road of a page lays
// them out at every print and a fresh open of the plan lays them out, so that the screen
// breaks each line where they break it. A text that shows nothing in the area painted
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
    // Set by a refit, which gives the text's control the formatting rectangle of the
    // frame at the plan's own scale: the next repaint gives it its client's again.
    bool refitRect;
    // The lines (index, text; empty lines are left out, the lines after them keep their
    // index) and the widest of them; the control they were laid out in: its formatting
    // rectangle, margins (EM_GETMARGINS form) and each line's first character.
    std::vector<std::pair<int, std::string>> lines;
    int lineCount;
    LONG widest;
    RECT format;
    LRESULT margins;
    std::vector<LRESULT> starts;
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

// The control's text (ANSI).
std::string ControlTextOf(HWND control);

// Lays the text out from nothing in the fresh control of the text's control's pane and
// style at the size in the font (the text's own control when it has no pane), and reads
// its lines, and their widest extent on the DC (0 without a DC).
void LayOutFreshLines(HWND control, HFONT font, SIZE size, const std::string& text, HDC dc, KeptTextLayout* layout);

// Gives the text's control its client's formatting rectangle again after a refit gave it
// the frame's at the plan's own scale (a repaint of the screen).
void RestoreControlFormat(HWND control, KeptTextLayout* layout);

// The screen's road with kept lines: places the control where it does not lie already
// and lays the lines out again only when something they depend on changed. False, with
// nothing laid out, when the text's lines and its frame (pixels, where the control lies)
// lie wholly outside the area; a control in the pane's client area is then still put in
// its place, so that none stays there away from its text.
bool KeepTextLines(const TextFit& fit, const RECT& frame, const RECT* area, KeptTextLayout* layout);
