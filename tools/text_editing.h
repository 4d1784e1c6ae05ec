#pragma once
// In-place text editing. A text frame (type 200) keeps its text, font and alignment in
// a multi-line "EDIT" child of the plan pane (the frame's link); the plan draws the
// text lines itself, on the screen and on the printer, so the control is both the
// text store and the input field.
#include <windows.h>
#include <stdint.h>

struct PlanFloor;
struct PlanObject;

// The child id of every text control.
extern uint16_t textEditControlId;
// The alignment code of new texts (40 right, 42 centred, any other value left); 41 at
// start, set by the text dialog.
extern int16_t textAlignment;

// Creates the in-place "EDIT" child of the plan pane for a text frame, with no text;
// null on failure (no parent, for example). Negative sizes count as 0. Until it is given
// a font it lays its text out in the system font's look, in the face's layout copy
// (text_layout_font.h) when the face needs one; that is no font of the text's.
HWND CreateTextEditWindow(DWORD style, int x, int y, int width, int height, HWND parent);
// That font (made once for the run, never deleted); null when the system font's face
// needs no copy.
HFONT DefaultTextLayoutFont();

// Each text frame's control given a font owns exactly one: the one SetTextEditFont made
// for it. The font goes away with the control (DestroyTextEditWindow) or when another
// replaces it, and is never shared: a copy makes its own. The font a control is created
// with is made once for the run and shared by every control until it is given its own;
// it is never deleted, nor is a stock font.

// Makes a font from the LOGFONT, in the face's layout copy, sets it on the control and
// deletes the font it replaces. False when there is no control or the font cannot be
// made; the control then keeps its font.
bool SetTextEditFont(HWND control, const LOGFONTA& font);

// The font the control was given, as given: a font read from a plan keeps its stored
// bytes here while the control draws with a drawable copy (MakeDrawableFont). False
// without a control or a font.
bool GetTextEditLogFont(HWND control, LOGFONTA* font);

// Gives the target a font of its own equal to the source control's font. False when the
// source has no font or the font cannot be made.
bool CopyTextEditFont(HWND source, HWND target);

// Destroys the control, then deletes its font.
void DestroyTextEditWindow(HWND control);

// Re-creates a text frame's control with the alignment of the code (40 right, 42
// centred, any other value left) over the frame's 3D box seen in the view plane, moving
// its text, font, state and the rest of its style over, and destroys the old control
// (the font then belongs to the new one).
// Returns the new control; the old one when there is no document with settings or no
// control; null when the new control cannot be created (the old one is then kept).
HWND CommitTextEdit(HWND control, int alignmentCode, PlanObject* textFrame);

// The text frame (type 200) of the active document, on any floor and in any group,
// whose control is the window (only frames with a selected point with the flag); null
// without an active document or when none is found.
PlanObject* FindTextLabelOfObject(HWND control, uint8_t selectedOnly);
PlanObject* FindTextLabelInFloors(HWND control, uint8_t selectedOnly);
PlanObject* FindTextLabelOnFloor(PlanFloor* floor, HWND control, uint8_t selectedOnly);

// After a change of text or font: fits the frame's height to the text at the frame's
// width, and repaints the old and the new frame areas when they differ. The text is laid
// out as a fresh open of the plan lays it out, at every zoom: from nothing, in a control
// made fresh at the frame's size at the plan's own scale (100 %) in the control's own font
// (fresh_text_layout.h); the text's control is given that control's margins and the
// frame's formatting rectangle, so that it wraps the text alike while it is typed into.
void RefitTextEditWindow(PlanObject* textFrame);

// Sets the frame's corners and boxes from a rectangle of the control's formatting area at
// the plan's own scale (the frame is 3 units larger on every side): the frame keeps its
// top-left corner as the pane shows it, and an edge whose distance from it stays the same
// in whole units stays exactly where it lies.
void SetTextFrameFromEditRect(PlanObject* textFrame, const RECT* rect);

// Places the control over its frame and draws the frame's text lines into the DC (into
// planDC while printing, at the print scales, in black; on the screen in the plan pen
// colour). The lines are laid out from nothing in a fresh control at the frame's size in
// pixels (fresh_text_layout.h). On the screen the lines are kept with the control and laid
// out again only when its text, font or style, the frame's size in pixels or the zoom
// changed (kept_text_lines.h), and a control already in place is not moved. Given the area
// being painted (logical units), a text whose lines and frame lie wholly outside it
// draws nothing and the result is false (otherwise true); its control is then moved to
// its place only when it lies in the pane's client area, so that none stays there away
// from its text.
bool FitTextEditToObject(HDC dc, HWND control, PlanObject* textFrame, const RECT* area = nullptr);

// True (the default): the screen keeps the texts' lines as above. False lays every text
// out, places its control and draws it at every repaint, as a reference for the pane
// the kept lines must show alike.
extern bool textLayoutsKept;

// The text tool 203 (dispatcher model form), on the press: a click opens a text frame
// 200 pixels wide at the click, a drag of at least 20 x 20 pixels one as wide as the
// drag; both 36 high. The new control takes the font of textLogFont, the alignment of
// textAlignment and the typing focus; the frame goes on the current view sheet. Without
// a view sheet the control and its font go again and no control is left active.
void HandleTextTool(float x, float y, float z, int16_t event);
