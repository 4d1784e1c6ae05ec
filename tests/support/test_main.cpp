#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>
#include <string>
#include "support/input_fixtures.h"

// Each test case runs in a fresh folder of its own, which is the program directory
// for the code under test (the program takes its current directory as that).
namespace {
class PerTestDirectory : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo& info) override
    {
        char base[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, base);
        home = base;
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
    return RUN_ALL_TESTS();
}
