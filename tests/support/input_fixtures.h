#pragma once
// Input for tests: a scope that installs a scripted input source, and real input sent
// with SendInput from a second thread while this thread handles messages as the
// program's loop does.
#include <windows.h>
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

} // namespace vtest
