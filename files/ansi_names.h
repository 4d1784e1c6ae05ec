#pragma once
#include <string>

// Names of files and folders in the program's ANSI code page, where the program opens
// everything. A character the code page lacks would reach the program as a look-alike
// ("O" for an omega, "?" for a Cyrillic letter): another file's name, or none. Names
// that arrive as wide text (the command line, the current directory, the file dialogs)
// pass through here, and only a form that names the very same file comes out.

// The wide text in the code page, when every character has a byte of its own there.
bool NarrowExactly(const std::wstring& wide, std::string& narrow);
// A name in the code page as wide text.
std::wstring WidenName(const std::string& narrow);
// The wide text in the code page, a character it lacks as "?": for messages, and for
// names never opened.
std::string NarrowMarked(const std::wstring& wide);
// A name of the existing file or folder `wide` that the ANSI functions open as that very
// one: the name itself when the code page holds it, else its whole short form when that
// leads back to the same long path. False when there is none (a missing file, a volume
// that keeps no short names, a short form that another name shares).
bool AnsiPathOf(const std::wstring& wide, std::string& narrow);
