#pragma once
// The companion programs are played by a stand-in (companion_standin.exe, built beside
// the test programs): copied into a folder under a companion's name, it logs its command
// line and every "UPDATE SPREADSHEET" it receives to STANDIN.LOG beside itself, and keeps
// a hidden window of class "VelmoraCompanionStandIn" until it is closed.
#include <string>
#include <vector>

namespace vtest {

// Copies the stand-in into the folder under the name ("\\Z!TOVRL.EXE") and starts a new
// log there; a failed copy fails the test.
void InstallStandIn(const std::string& folder, const char* name);
// The lines of the folder's log once it holds at least count of them (fewer after 20 s),
// this thread's messages handled meanwhile.
std::vector<std::string> StandInLogLines(const std::string& folder, size_t count);
// Closes every stand-in that runs.
void CloseStandIns();

} // namespace vtest
