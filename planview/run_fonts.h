#pragma once
// Fonts shared by one drawing run: a redraw, a printed page, a copy's metafile, an
// export. Such a run draws many texts in few looks; a font made, selected and deleted
// per text costs more than the text, and a printer driver sends every new font again.
// While a run is open, the fonts of one whole look (every LOGFONT field and the face
// name) are one font, made at its first use, for drawing and for measuring alike, and
// deleted when the outermost run ends. RedrawPlan opens a run around its drawing; runs
// nest. Outside a run a font is made for its one use and deleted after it.
//
// A font taken here is handed back with ReleaseRunFont. Until then it may be selected
// or lent to a window; afterwards it stays selected only where SelectTextFont keeps it.
#include <windows.h>

// Opens a run (or a run inside the open one).
void BeginFontRun();
// Closes it; the end of the outermost run deletes the run's fonts.
void EndFontRun();
// The font of the look (used as given: callers pass the drawable copy), shared while a
// run is open; null when it cannot be made.
HFONT AcquireRunFont(const LOGFONTA& look);
// Gives the font back: kept for the rest of the run when it is the run's, deleted now
// otherwise. Null is ignored.
void ReleaseRunFont(HFONT font);

// Selects the font into the DC for a text. A run's font stays selected after the text,
// so that the next text of its look selects nothing (a printer would set its font again
// for every selection), and the run's end puts the DC's own font back: the result is
// then null. Otherwise the result is the DC's previous font, for RestoreTextFont. Only
// for DCs that live to the run's end: the DC drawn on, not one got and released per text.
HGDIOBJ SelectTextFont(HDC dc, HFONT font);
// Selects back the font SelectTextFont returned; nothing for null.
void RestoreTextFont(HDC dc, HGDIOBJ previous);
// Puts the DC's own font back when a run's font is kept in it: for a text drawn in
// whatever font the DC holds.
void RestoreOwnFont(HDC dc);
