#pragma once
// The margins of a text's edit control when its lines are laid out (text_editing,
// kept_text_lines). A control sets its margins from its font only while its client area is
// wide enough for that font, or empty; otherwise it keeps the margins an earlier width or
// font left it, so that two controls of one text, font and size could break its lines apart
// by what happened to each before. Every layout of a text therefore sets the control's
// margins itself, to those a control made fresh at that size takes from that font: read once
// for each font, style and size from a scratch control made as CreateTextEditWindow makes
// one and given the font as SetTextEditFont gives it. The screen, the page and a fresh open
// of the plan then break each line alike.
#include <windows.h>

// Sets the control's margins to those of a fresh control of its style and parent at the
// size, given the font (the font the control lays its text out in). Nothing without a
// control, a parent or a font.
void SetFreshTextMargins(HWND control, HFONT font, SIZE size);

// Gives the control the font without redrawing, as a layout lends it, then the margins of
// a fresh control at the size.
void SetLayoutFont(HWND control, HFONT font, SIZE size);
