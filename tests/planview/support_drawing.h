#pragma once
// Surfaces to draw the plan on and read back: an enhanced metafile whose records are
// listed (support/metafile_recorder.h), a top-down 32-bit DIB section whose pixels are
// read, an input source that tests script, and a plan test that starts and ends with the
// output state of a screen redraw.
#include <windows.h>
#include <map>
#include <string>
#include <vector>
#include "planview/input_gdi.h"
#include "support/input_fixtures.h"
#include "support/metafile_recorder.h"
#include "support_plan.h"

namespace vtest {

class DibSurface {
public:
    DibSurface(int width, int height, COLORREF fill = RGB(255, 255, 255));
    ~DibSurface();
    HDC dc() const { return surfaceDC; }
    COLORREF Pixel(int x, int y) const;   // device coordinates
    // Number of pixels of the colour in row y (device coordinates).
    int CountInRow(int y, COLORREF colour) const;
    int CountAll(COLORREF colour) const;
    // Every pixel, row by row, to compare two states of the surface.
    std::vector<uint32_t> Snapshot() const;
    int width, height;

private:
    HDC surfaceDC = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    uint32_t* bits = nullptr;
};

// A scripted keyboard, mouse and clock. Keys answer from their script (the last entry
// repeats); calls are counted. The queue is the real one.
class ScriptedInput : public InputSource {
public:
    SHORT KeyState(int virtualKey) override;
    BOOL CursorPos(POINT* screenPoint) override;
    DWORD TickCount() override { return now; }

    std::map<int, std::vector<SHORT>> keys;
    std::map<int, int> calls;
    POINT cursor{0, 0};
    DWORD now = 1000;
};

// A plan test whose output state (target DC, print scales, DXF export, interactive and
// drag flags) is that of a plain screen redraw before and after each case.
class OutputStateTest : public PlanViewTest {
protected:
    void SetUp() override;
    void TearDown() override;
    static void ResetOutputState();
};

} // namespace vtest
