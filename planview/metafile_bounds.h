#pragma once
// Where an enhanced metafile draws, read from its records. The print measures each
// object of the plan in a metafile of its own once, so that every page of a grid can
// leave out what falls wholly off it. The bounds the platform keeps in the metafile's
// header do not serve: they leave a text unturned by its font's escapement and put a
// text drawn at the current position at the origin.
#include <windows.h>

// The box, inclusive, in the logical units the metafile was drawn in (the device units
// of its reference device while nothing moved the origin), of every line, shape, text
// and picture it holds. A text's box is turned by the escapement of the font it was
// drawn in and grown for glyphs that overhang their advance or their cell. Pen widths
// are not counted. False, with the box left alone, when it draws nothing.
bool GetMetafileDrawnBox(HENHMETAFILE metafile, RECT* box);
