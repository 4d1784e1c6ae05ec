#pragma once
// The symbol libraries the program reads at start-up, made with the program's own writer:
// the symbol_library_writer tool writes the shipped copies (the OBJECTS folder of the
// sources), the tests write their own.
// Both libraries hold the same outlines, in plan units.
#include <string>

namespace ftest {

// Writes every file of both libraries below root ("<root>\OBJECTS\SYMBOL2D\<stem>2D.ZTM"
// and "<root>\OBJECTS\SYMBOL3D\<stem>3D.ZTM"), building each symbol on the first storey of
// the active document, which is empty again afterwards. False when there is no active
// document or a file could not be written.
bool WriteSymbolLibraries(const std::string& root);

} // namespace ftest
