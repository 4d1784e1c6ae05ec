#pragma once
// The companion programs are played by a stand-in (companion_standin.exe, built beside
// the test programs): copied into a folder under a companion's name, it logs its command
// line and every "UPDATE SPREADSHEET" it receives to STANDIN.LOG beside itself, and keeps
// a hidden window of class "VelmoraCompanionStandIn" until it is closed.
#include <windows.h>
#include <string>
#include <vector>

namespace vtest {

// Posted to the stand-in, it ends as the furniture editor: it copies REPLY<wParam>.TMP
// beside itself (when there is one) over the exchange file Z!TOVRL.TMP, broadcasts
// "WORKBENCH CLOSING" lParam times (with lParam 0, "WORKBENCH CLOSING WITH NO UPDATE"
// once), each answered before the next, and logs "REPLIED".
const UINT kStandInReply = WM_APP + 51;

// Copies the stand-in into the folder under the name ("\\Z!TOVRL.EXE") and starts a new
// log there; a failed copy fails the test.
void InstallStandIn(const std::string& folder, const char* name);
// The stand-in's path as the program starts it, at the head of its command line: quoted
// when the folder holds a blank.
std::string StandInProgram(const std::string& folder, const char* name);
// The lines of the folder's log once it holds at least count of them (fewer after 20 s),
// this thread's messages handled meanwhile.
std::vector<std::string> StandInLogLines(const std::string& folder, size_t count);
// Has the stand-in that runs end so and waits (this thread's messages handled, so the
// broadcasts answered) until it has: its line `line` of the log reads "REPLIED".
void StandInReply(const std::string& folder, size_t line, int reply, int closings);
// Closes every stand-in that runs.
void CloseStandIns();

} // namespace vtest
