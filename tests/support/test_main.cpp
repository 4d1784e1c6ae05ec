#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include "support/input_fixtures.h"
#include "support/test_support.h"

// Each test case runs in a fresh folder of its own, which is the program directory
// for the code under test (the program takes its current directory as that).
namespace {
class PerTestDirectory : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo& info) override
    {
        // By its form in the code page: the build folder may be named in other letters.
        home = vtest::CurrentDirectory();
        if (GetFileAttributesA(home.c_str()) == INVALID_FILE_ATTRIBUTES) {
            std::fprintf(stderr, "the test's folder has no name the ANSI functions open: %s\n", home.c_str());
            std::exit(5);
        }
        std::string dir = home + "\\tc";
        CreateDirectoryA(dir.c_str(), nullptr);
        dir += "\\" + Clean(std::string(info.test_suite_name()) + "." + info.name());
        CreateDirectoryA(dir.c_str(), nullptr);
        SetCurrentDirectoryA(dir.c_str());
    }
    void OnTestEnd(const testing::TestInfo&) override { SetCurrentDirectoryA(home.c_str()); }

private:
    static std::string Clean(std::string s)
    {
        for (char& c : s)
            if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?') c = '_';
        return s;
    }
    std::string home;
};
// A test that makes no progress for a while (a box nobody answers, a wait that never
// ends) fails with what the program shows, rather than running silently into CTest's
// timeout: each test's start and end is progress, and a watchdog thread that sees none
// for VELMORA_TEST_STALL_SECONDS (the build sets it below the test's timeout) names the
// test, lists the captions of the process's visible windows and ends the program with a
// failure.
class Watchdog : public testing::EmptyTestEventListener {
public:
    explicit Watchdog(ULONGLONG seconds) : state(new State)
    {
        state->limit = seconds;
        Progress("the start");
        CreateThread(nullptr, 0, Watch, state, 0, nullptr);
    }
    void OnTestStart(const testing::TestInfo& info) override
    {
        Progress(std::string(info.test_suite_name()) + "." + info.name());
    }
    void OnTestEnd(const testing::TestInfo& info) override
    {
        Progress(std::string("the end of ") + info.test_suite_name() + "." + info.name());
    }

private:
    // What the thread reads. The test framework deletes its listeners as the program
    // ends, while the thread still runs: the state is never freed.
    struct State {
        std::mutex lock;
        std::string doing;
        ULONGLONG last = 0;
        ULONGLONG limit = 0;   // seconds
    };
    void Progress(const std::string& what)
    {
        std::lock_guard<std::mutex> hold(state->lock);
        state->doing = what;
        state->last = GetTickCount64();
    }
    static BOOL CALLBACK AddCaption(HWND window, LPARAM captions)
    {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        // Read without a message to the window, whose thread may be the stuck one.
        wchar_t caption[256] = L"";
        if (process == GetCurrentProcessId() && IsWindowVisible(window) && InternalGetWindowText(window, caption, 256) >= 0)
            *reinterpret_cast<std::wstring*>(captions) += std::wstring(L" \"") + caption + L"\"";
        return TRUE;
    }
    static DWORD WINAPI Watch(void* watched)
    {
        State* state = static_cast<State*>(watched);
        for (;; Sleep(1000)) {
            std::lock_guard<std::mutex> hold(state->lock);
            if (GetTickCount64() - state->last < state->limit * 1000)
                continue;
            std::wstring captions;
            EnumWindows(AddCaption, reinterpret_cast<LPARAM>(&captions));
            std::fprintf(stderr, "watchdog: no progress for %llu s after %s; visible windows:%ls\n", state->limit,
                         state->doing.c_str(), captions.empty() ? L" none" : captions.c_str());
            std::fflush(stdout);
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 4);
        }
    }
    State* state;
};

// A crash ends the test program with a failure: Wine's debugger, which would take it
// otherwise, ends the program with exit code 0, and the test would pass.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* crash)
{
    std::fprintf(stderr, "crash: exception %08lx at %p\n", crash->ExceptionRecord->ExceptionCode,
                 crash->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}
} // namespace

int main(int argc, char** argv)
{
    // A crash must end the test, not open Wine's debugger dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(ReportCrash);
    testing::InitGoogleTest(&argc, argv);
    SetInputSource(vtest::DefaultTestInput());
    testing::UnitTest::GetInstance()->listeners().Append(new PerTestDirectory);
    const char* stall = std::getenv("VELMORA_TEST_STALL_SECONDS");
    const long seconds = stall ? std::atol(stall) : 0;
    testing::UnitTest::GetInstance()->listeners().Append(new Watchdog(seconds > 0 ? seconds : 90));
    return RUN_ALL_TESTS();
}
