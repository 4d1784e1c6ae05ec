#pragma once
#include <string>

// Names of files and folders in the program's ANSI code page, where the program opens
// everything. A character the code page lacks would reach the program as a look-alike
// ("O" for an omega, "?" for a Cyrillic letter): another file's name, or none. Names
// that arrive as wide text (the command line, the current directory, the file dialogs)
// pass through here, and only a form that names the very same file comes out.

// What a path function of the system writes for `call(buffer, size)` (a size in
// characters, answered with the length written, or the size it needs), taken again in a
// buffer of the size it asks for; empty when it fails.
template <typename Char, typename Call>
std::basic_string<Char> PathFrom(Call call)
{
    std::basic_string<Char> path(260, Char());
    unsigned long length = call(&path[0], static_cast<unsigned long>(path.size()));
    if (length >= path.size()) {
        path.assign(length, Char());
        length = call(&path[0], static_cast<unsigned long>(path.size()));
    }
    path.resize(length < path.size() ? length : 0);
    return path;
}

// The wide text in the code page, when every character has a byte of its own there.
bool NarrowExactly(const std::wstring& wide, std::string& narrow);
// A name in the code page as wide text.
std::wstring WidenName(const std::string& narrow);
// The wide text in the code page, a character it lacks as "?": for messages, and for
// names never opened.
std::string NarrowMarked(const std::wstring& wide);
// How many entries of `folder` (a path ending in a backslash) answer to `name`, by their
// own name or by their short form, without regard to case: an open takes the first.
size_t EntriesAnswering(const std::wstring& folder, const std::wstring& name);
// Why a name has no form that the ANSI functions open as the file or folder it names.
enum AnsiNameFault {
    AnsiNameOutsideCodePage,   // a name the code page cannot hold without a short form of its own
    AnsiNameSharedShortForm,   // its short form is also another entry's name or short form
    AnsiNameDroppedEnd,        // a name ends in a blank or a dot, which the system drops
    AnsiNameFaultCount
};
// A name of the file or folder `wide` that the ANSI functions open as that very one: the
// name itself when the code page holds it, else its full path with the short form of
// each name the code page cannot hold, where no other entry of its folder answers to that
// form. False, with the fault, when there is none: a missing file, a volume that keeps no
// short names, a short form that a neighbour shares, or a name ending in a blank or a dot
// (whatever the code page), which the system would take for the name without it. A short
// form shared gives in `sharedAt` the full path up to the name that has it: a folder's
// where the folder is at fault.
bool AnsiPathOf(const std::wstring& wide, std::string& narrow, AnsiNameFault* fault = nullptr,
                std::wstring* sharedAt = nullptr);
// The same for a file that need not exist yet (a save's): the form of its folder, and its
// own name, which the code page must hold.
bool AnsiPathInFolder(const std::wstring& wide, std::string& narrow, AnsiNameFault* fault = nullptr,
                      std::wstring* sharedAt = nullptr);
