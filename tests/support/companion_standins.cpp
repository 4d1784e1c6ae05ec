#include "support/companion_standins.h"
#include <gtest/gtest.h>
#include <windows.h>
#include "support/test_support.h"

namespace vtest {

namespace {
const char* const kStandInClass = "VelmoraCompanionStandIn";
}

void InstallStandIn(const std::string& folder, const char* name)
{
    DeleteFileA((folder + "\\STANDIN.LOG").c_str());
    const std::string standIn = ProgramFolder() + "\\companion_standin.exe";
    if (!CopyFileA(standIn.c_str(), (folder + name).c_str(), FALSE))
        ADD_FAILURE() << "cannot copy " << standIn;
}

std::string StandInProgram(const std::string& folder, const char* name)
{
    return folder.find(' ') == std::string::npos ? folder + name : "\"" + folder + name + "\"";
}

std::vector<std::string> StandInLogLines(const std::string& folder, size_t count)
{
    std::vector<std::string> lines;
    for (int wait = 0; wait < 400 && lines.size() < count; ++wait, Sleep(50)) {
        PumpMessages();
        std::vector<unsigned char> bytes = ReadFileBytes(folder + "\\STANDIN.LOG");
        std::string text(bytes.begin(), bytes.end());
        lines.clear();
        for (size_t end; (end = text.find('\n')) != std::string::npos; text.erase(0, end + 1))
            lines.push_back(text.substr(0, end));
    }
    return lines;
}

void StandInReply(const std::string& folder, size_t line, int reply, int closings)
{
    PostMessageA(FindWindowA(kStandInClass, nullptr), kStandInReply, reply, closings);
    std::vector<std::string> lines = StandInLogLines(folder, line);
    EXPECT_EQ("REPLIED", lines.size() == line ? lines.back() : "");
}

void CloseStandIns()
{
    for (int wait = 0; wait < 200 && FindWindowA(kStandInClass, nullptr); ++wait, Sleep(50))
        PostMessageA(FindWindowA(kStandInClass, nullptr), WM_CLOSE, 0, 0);
}

} // namespace vtest
