#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include <deque>

namespace vtest {

// Records every message box the program shows during its lifetime and answers it:
// with the next queued answer, else with the box's default (first) button.
class MessageBoxRecorder {
public:
    struct Box { HWND owner; std::string text; std::string caption; UINT flags; };
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    void QueueAnswer(int id) { answers.push_back(id); }
    void ForgetAnswers() { answers.clear(); }
    const std::vector<Box>& Boxes() const { return boxes; }
    size_t Count() const { return boxes.size(); }
    const Box& Last() const { return boxes.back(); }
private:
    static int Hook(HWND, const char*, const char*, UINT, void*);
    std::vector<Box> boxes;
    std::deque<int> answers;
};

std::vector<unsigned char> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
// Names that reach the test programs as wide text (their arguments, their own path and
// folders, the environment) in a form the ANSI functions open as the very file, as the
// program makes it (AnsiPathOf): the ANSI forms of a build folder named in letters the
// code page lacks would be look-alikes. A file not made yet goes by its folder's form and
// its name (AnsiPathInFolder). A Unix path is taken as Wine's drive Z:.
std::string AnsiPath(std::wstring wide);
// The program's arguments so, argv[0] its own path: for a tool's main to take in place
// of its own (the array stays for the program's life).
char** ArgumentsInCodePage(int argc);
// The program's own folder, the current directory, and a variable's path so (empty when
// it is not set).
std::string ProgramFolder();
std::string CurrentDirectory();
std::string PathFromEnvironment(const char* name);
// A Windows path for a Unix path (Wine's drive Z:); other paths are returned as they are.
std::string WindowsPath(const std::string& path);
// The source folder (VELMORA_SOURCE_DIR) as a Windows path; empty when it is not set.
std::string SourceDirectory();
// A file of the source tree (relative, with slashes) as Wine names it, on drive Z:;
// empty when the tests were started without VELMORA_SOURCE_DIR.
std::string SourceFilePath(const std::string& relative);
// Dispatches what is queued for this thread without waiting.
void PumpMessages();
// A wait that a quiet machine needs, in ms, lengthened by the tests' time factor
// (VELMORA_TEST_TIME_SCALE, in percent; unset, unreadable or below 100: as it stands).
DWORD Scaled(DWORD ms);

} // namespace vtest
