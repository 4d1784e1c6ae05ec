#pragma once
// The symbol libraries the program reads at start-up, made with the program's own writer:
// the symbol_library_writer tool writes the shipped copies (the OBJECTS folder of the
// sources), the tests write their own.
//
// Every shape is given in inches and stored in plan units at the default drawing scale 36
// (two plan units an inch), so that a fixture prints at its real size on a plan of that
// scale. The 2D symbols are outlines (one row); each 3D model is a set of closed solids of
// two rows with the build flag set, standing on the element's base (y grows downward, so
// a height h is y = -h).
#include <string>

namespace ftest {

// Plan units of one inch at the drawing scale 36.
constexpr float kSymbolUnitsPerInch = 72.0f / 36.0f;

// Writes every file of both libraries below root ("<root>\OBJECTS\SYMBOL2D\<stem>2D.ZTM"
// and "<root>\OBJECTS\SYMBOL3D\<stem>3D.ZTM"), building each symbol on the first storey of
// the active document, which is empty again afterwards. False when there is no active
// document or a file could not be written.
bool WriteSymbolLibraries(const std::string& root);

} // namespace ftest
