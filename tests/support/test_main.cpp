#include <gtest/gtest.h>
#include <windows.h>
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
} // namespace

int main(int argc, char** argv)
{
    // A crash must end the test, not open Wine's debugger dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    SetInputSource(vtest::DefaultTestInput());
    testing::UnitTest::GetInstance()->listeners().Append(new PerTestDirectory);
    return RUN_ALL_TESTS();
}
