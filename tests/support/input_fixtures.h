#pragma once
// Input for tests: a scope that installs a scripted input source; real input sent with
// SendInput from a second thread while this thread handles messages as the program's
// loop does; and a count of the input messages this thread takes from its queue, which
// tells input the shared desktop lost (it went to another test's window) from input the
// program received.
#include <windows.h>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>
#include "planview/input_gdi.h"

namespace vtest {

// Installs an input source for the life of the object.
class InputScope {
public:
    explicit InputScope(InputSource* source) : previous(SetInputSource(source)) {}
    ~InputScope() { SetInputSource(previous); }

private:
    InputSource* previous;
};

// The input source every test starts with. Tests share one display, and the program polls
// the keys and buttons during long work: another test's real clicks would cancel this
// one's redraw or turn its press into a drag. So every key and button reads as up, unless
// the test holds the desktop (VELMORA_REAL_INPUT), where null gives the real state.
InputSource* DefaultTestInput();

// One step of real input: a mouse move or button change at a screen point, or a key
// pressed and released, 45 ms apart.
struct InputStep {
    POINT screen;
    DWORD buttonFlags;   // MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP or 0 for a move
    WORD key = 0;        // a key pressed and released instead of the mouse
    WORD modifier = 0;   // a key held around it (VK_CONTROL)
    bool untilPressed = false;   // wait until the tool framework has taken the press
};
// Sends the steps from a second thread; this thread handles its messages meanwhile and
// for a while after the last step.
void PlayInput(const std::vector<InputStep>& steps);
// A left click (move, press, release, 50 ms apart) at the screen point, this thread's
// messages handled meanwhile.
void ClickAt(POINT screen);

// A click on the shared desktop, sent again (four times at most) only while no press has
// reached this thread: `raise` runs before each attempt and may handle messages, `click`
// sends. Presses are counted from before the first raise, so that one of an earlier
// attempt that comes late ends the attempts instead of being followed by another click.
// Returns the presses this thread took.
int ClickUntilReceived(const std::function<void()>& raise, const std::function<void()>& click);

// A user's hand on the display: xdotool runs the commands given, chained in one call
// ("mousemove 10 20 click 1 sleep 0.2 key Escape"), on this test's own X display, whose
// server makes the events; Wine reads them whenever the program's thread looks at its
// queue, as it reads a hand's. It starts at once; Ended() may be asked from any thread.
class Hand {
public:
    explicit Hand(const std::string& commands);
    ~Hand();
    Hand(const Hand&) = delete;
    Hand& operator=(const Hand&) = delete;
    // Whether xdotool has ended, and ended well.
    bool Ended() const;
    bool Succeeded() const;
    // This thread handles its messages as the program's loop does until xdotool has
    // ended, then for `settle` ms; whether it ended well.
    bool Wait(DWORD settle = 300);

private:
    char mark[MAX_PATH] = {};
    bool started = false;
};
// A hand's commands, waited for.
bool UserHand(const std::string& commands, DWORD settle = 300);

// Counts the messages of the kind that this thread takes from its queue while the
// object lives (for key messages only those of the keys given, when some are): a count
// of 0 means the input never came, so it may be sent again. One at a time.
class ReceivedInput {
public:
    explicit ReceivedInput(UINT message, std::initializer_list<WPARAM> keys = {});
    ~ReceivedInput();
    int Count() const { return count; }

private:
    static LRESULT CALLBACK Taken(int code, WPARAM removal, LPARAM message);
    HHOOK hook = nullptr;
    UINT message;
    std::vector<WPARAM> keys;
    int count = 0;
};

} // namespace vtest
