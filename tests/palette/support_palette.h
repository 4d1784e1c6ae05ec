#pragma once
// The palette's tests run on the real frame (hidden unless a test shows it) with one plan
// open, and answer the program's modal loops (menus, dialogs) from a driver thread.
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <string>
#include <thread>
#include <vector>
#include "planview/input_gdi.h"

struct PlanDocument;

namespace ptest {

class PaletteTest : public testing::Test {
public:
    // Dispatches what is queued for this thread for the given time.
    static void Pump(DWORD milliseconds);

protected:
    void SetUp() override;
    void TearDown() override;
    // Opens a new plan (frame command 2); it becomes the active document.
    void OpenPlan();
    // Shows the frame 1000 x 720 on the screen and brings it to the front.
    void ShowFrame();

    HWND frame = nullptr;
};

// Runs an action in a driver thread once a window of this process that matches appears
// (a dialog by its caption, any dialog for an empty caption, or the pop-up menu); gives
// up after the timeout (five seconds unless given). join()
// waits for the thread; found() says whether the window came.
class Driver {
public:
    // Dialog (class #32770) with the caption.
    static Driver ForDialog(const std::string& caption, std::function<void(HWND)> action,
                            DWORD timeout = 5000);
    // The open pop-up menu (class #32768): picks the item with the text, or dismisses the
    // menu when text is empty.
    static Driver ChooseMenuItem(const std::string& text);
    Driver(Driver&&) = default;
    ~Driver();
    void join();
    bool found() const { return *found_; }

private:
    Driver() = default;
    std::thread thread_;
    std::shared_ptr<bool> found_ = std::make_shared<bool>(false);
};

// An input source whose mouse button is held for a number of polls at a screen point,
// then released; the keys given are held throughout.
class HeldMouse : public InputSource {
public:
    HeldMouse(POINT at, int polls, std::vector<int> keys = {}) : at_(at), polls_(polls), keys_(keys) {}
    SHORT KeyState(int key) override;
    BOOL CursorPos(POINT* point) override;

private:
    POINT at_;
    int polls_;
    std::vector<int> keys_;
};

// Copies the variant previews of the source tree into the program directory once.
void InstallToolPreviews();
// The pixel of a window's client area as it shows on the screen.
COLORREF PixelOf(HWND window, int x, int y);

} // namespace ptest
