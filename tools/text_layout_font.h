#pragma once
// The font a text's edit control lays its text out with (text_editing). The control
// shapes each line of its text with the platform's text shaping, and under Wine that
// shaping takes the character codes of a Latin run for glyph numbers and applies the
// font's mark-attachment positioning to them: a run that opens with a code that is the
// number of a mark glyph (CP1252 0x98, the small tilde, in DejaVu Sans) has the glyph
// before the run read from far outside it, and the program faults. The control is
// therefore given a private copy of its face, registered for this process only, whose
// mark positioning ('mark' and 'mkmk') is switched off: the same outlines, widths and
// kerning, so its lines wrap, and it shows them, as the face does. The plan draws and
// prints its texts, and stores their fonts, with the face itself: a copy's name, which
// names other faces in other runs (the copies are numbered in order of first use), is
// never a text's face.
#include <windows.h>

// The LOGFONT for a text's control: the same look in the private copy of the face the
// LOGFONT selects; the LOGFONT itself when that face has no mark positioning or no copy
// can be made. Copies are made once per face and kept for the run of the program.
LOGFONTA TextLayoutLogFont(const LOGFONTA& drawable);

// True for a face name of the copies' ("Velmora Text Layout N"), this run's or another's.
bool IsTextLayoutFace(const char* faceName);
// A font naming a copy names a real face instead: with thisRun (a font chosen in this run,
// where the system's font dialogs list the copies) the face the copy was made of, its
// family at least as bold and as slanted as that face; otherwise (a font read from a
// plan, whose copy numbers were given in another run), and for a copy this run never
// made, the default face. Other fonts are left as they are.
void ReplaceTextLayoutFace(LOGFONTA* font, bool thisRun);
