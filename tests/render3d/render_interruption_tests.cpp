// A mouse press stops a repaint and a final render of an unchanged scene, while the
// buttons are read only every few milliseconds of the clock, not for every polygon.
// velmora-test: desktop
#include "support_view.h"
#include "support/input_fixtures.h"
#include "model/plan_settings.h"
#include "model3d/rebuild_driver.h"
#include "model3d/scene_polygons.h"
#include "render3d/high_quality_render.h"

using view3d::LiveViewTest;

namespace {

// Buttons up, each read counted, and a clock that moves `step` ms at each reading.
struct CountedInput : InputSource {
    explicit CountedInput(DWORD step) : step(step) {}
    SHORT KeyState(int) override { return ++reads, 0; }
    DWORD TickCount() override { return now += step; }
    DWORD step, now = 0;
    int reads = 0;
};

// The left button up for the first two looks at the buttons, then down; the clock moves
// on enough at each reading for every look to read them.
struct PressedLater : InputSource {
    SHORT KeyState(int key) override { return key == VK_LBUTTON && ++looks > 2 ? (SHORT)0x8000 : 0; }
    DWORD TickCount() override { return now += 25; }
    DWORD now = 0;
    int looks = 0;
};

class RenderInterruptionTest : public LiveViewTest {
protected:
    // A grid of boxes: six polygons each.
    void Boxes(int count)
    {
        for (int i = 0; i < count; ++i) {
            const float x = -3000.0f + 40.0f * (float)(i % 150), z = -2000.0f + 40.0f * (float)(i / 150);
            Box(x, z, x + 20, z + 20, 60, {200, 100, 50});
        }
        RebuildAll3D();
        RenderHighQuality();   // the first render after the build cannot be stopped
    }
    void Render(bool final)
    {
        finalRenderRequested = final ? 1 : 0;
        RenderHighQuality();
        finalRenderRequested = 0;
    }
};

void SendButton(DWORD flags)
{
    // A corner of the screen where no window of the test lies.
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = 65535;
    input.mi.dy = 65535;
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    SendInput(1, &input, sizeof(INPUT));
}

} // namespace

// A repaint reads the buttons once when the clock stands still, and once in four looks
// when it moves 5 ms at each (a look before each polygon of each of the walk's three
// passes); the final render's eight passes read them once each with a still clock.
TEST_F(RenderInterruptionTest, TheButtonsAreReadOnceInTwentyMillisecondsOfTheClock)
{
    Boxes(600);
    int polygons = 0;
    for (const ScenePolygon* p = sceneMeshes; p; p = p->next)
        ++polygons;
    const struct {
        bool final;
        DWORD step;
        int most;   // button states read (two a time: left and right)
    } cases[] = {{false, 0, 2}, {true, 0, 2 * 8}, {false, 5, 2 + 2 * (3 * polygons / 4)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.final ? "final render" : "repaint");
        CountedInput input(c.step);
        vtest::InputScope scope(&input);
        Render(c.final);
        EXPECT_GE(input.reads, 2) << c.step;
        EXPECT_LE(input.reads, c.most) << c.step;
    }
}

// A press stops a repaint and a final render: one sent for real and held as they start,
// and one that comes after they have begun (the left button read as down from the third
// look on): nothing is shown. With the button up again the same render is shown.
TEST_F(RenderInterruptionTest, APressStopsARepaintAndAFinalRender)
{
    Boxes(30000);
    auto waitForButton = [](bool down) {
        for (int i = 0; i < 500 && IsMouseButtonDown() != down; ++i)
            Sleep(10);
    };
    for (bool final : {false, true}) {
        SCOPED_TRACE(final ? "final render" : "repaint");
        const uint32_t presented = presentedRenderFrames;
        SendButton(MOUSEEVENTF_LEFTDOWN);
        waitForButton(true);
        Render(final);
        EXPECT_EQ(presented, presentedRenderFrames);
        SendButton(MOUSEEVENTF_LEFTUP);
        waitForButton(false);
        vtest::PumpMessages();
        {
            PressedLater later;
            vtest::InputScope scope(&later);
            Render(final);
            EXPECT_EQ(presented, presentedRenderFrames);
        }
        Render(final);
        EXPECT_EQ(presented + 1, presentedRenderFrames);
    }
}
