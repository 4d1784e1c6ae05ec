#pragma once
// The palette's tests run on the real frame (hidden unless a test shows it) with one plan
// open, and answer the program's modal loops (menus, dialogs) from a driver thread.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include "planview/input_gdi.h"
#include "support/modal_driver.h"

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

// The menus and dialogs of the program are answered from a driver thread.
using Driver = vtest::ModalDriver;

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

} // namespace ptest
