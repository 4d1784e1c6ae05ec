#pragma once
// The control a text's lines are laid out in (text_editing, kept_text_lines). An edit
// control breaks its lines by what happened to it before as well as by its font and size:
// it sets its margins from a font only while it is wide enough for that font, and keeps
// its formatting rectangle, margins and line breaks through a change of size or font
// relative to what an earlier zoom left. A text's own control, through which the user
// types, has lived through every zoom; so every layout of a text, at every zoom, on the
// screen and on a page, is made in a control that is fresh: one hidden control of the
// pane for each style, brought back to the state of one just created (no text, no font,
// no margins) and given the size and then the font as a text's control made at that size
// is given them (CreateTextEditWindow, then the font), and the text last. The screen, a
// page and a fresh open of the plan then break each line alike, whatever zoom came before.
#include <windows.h>

// The pane's fresh control for the text's control's style at the size, holding the font
// as a text's control made fresh at that size holds it (its margins, formatting
// rectangle), without text; null without a control or a parent. Until FinishFreshLayout
// it is the caller's.
HWND BeginFreshLayout(HWND control, HFONT font, SIZE size);
// Empties the fresh control; the font it was given may then go.
void FinishFreshLayout(HWND fresh);

// The margins (EM_GETMARGINS form) a text's control made fresh at the size takes from the
// font; 0 without a control or a parent.
LRESULT FreshTextMargins(HWND control, HFONT font, SIZE size);
