#include "support_view.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model3d/rebuild_driver.h"
#include "model3d/scene_drawing.h"
#include "model3d/scene_polygons.h"
#include "render3d/high_quality_render.h"
#include <GL/gl.h>

using view3d::LiveViewTest;
using view3d::Rgb;

namespace {

bool Near(Rgb a, Rgb b, int tolerance)
{
    return abs(a.r - b.r) <= tolerance && abs(a.g - b.g) <= tolerance && abs(a.b - b.b) <= tolerance;
}

// A tall red wall 120 wide, 300 before the walk camera, reaching above the view.
class FinalRenderTest : public LiveViewTest {
protected:
    void SetUp() override
    {
        LiveViewTest::SetUp();
        if (!HasFatalFailure())
            BuildObject3D(Box(-60, 90, 60, 100, 600, {255, 0, 0}));
    }
    // Pixels of the row near the top that are neither the sky at the row's start nor
    // the wall at its middle: the blended edge pixels.
    int BlendedInTopRow(const std::vector<uint8_t>& frame)
    {
        const int y = 10;
        const Rgb sky = Pixel(frame, 1, y), wall = Pixel(frame, width / 2, y);
        EXPECT_FALSE(Near(sky, wall, 20));
        int blended = 0;
        for (int x = 0; x < width; ++x) {
            const Rgb p = Pixel(frame, x, y);
            blended += !Near(p, sky, 2) && !Near(p, wall, 2);
        }
        return blended;
    }
};

} // namespace

TEST_F(FinalRenderTest, OnlyTheFinalRenderBlendsTheWallIntoTheSky)
{
    EXPECT_EQ(0, BlendedInTopRow(Render(false)));
    EXPECT_GE(BlendedInTopRow(Render(true)), 2);
}

TEST_F(FinalRenderTest, PassCountsOtherThanTheFourTablesRenderEightPasses)
{
    Settings()->antiAliasPasses = 8;
    const std::vector<uint8_t> eight = Render(true);
    const struct {
        uint32_t stored, kept;
        bool asEight;
    } cases[] = {{0, 8, true}, {30, 30, true}, {4, 4, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        Settings()->antiAliasPasses = c.stored;
        EXPECT_EQ(c.asEight, Render(true) == eight);
        EXPECT_EQ(c.kept, Settings()->antiAliasPasses);
    }
}

TEST_F(LiveViewTest, ShadowsDarkenTheGroundBesideABoxButNotInViewModeSix)
{
    BuildObject3D(Box(-40, -40, 40, 40, 100, {200, 200, 200}));
    // Pixels of the lower half that the shadows made darker.
    auto darkened = [&](const std::vector<uint8_t>& plain, const std::vector<uint8_t>& shaded) {
        int count = 0;
        for (int y = height / 2; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Rgb a = Pixel(plain, x, y), b = Pixel(shaded, x, y);
                count += b.r < a.r - 10 && b.g < a.g - 10 && b.b <= a.b;
            }
        return count;
    };
    const struct {
        uint16_t mode;
        bool shadows;
    } cases[] = {{5, true}, {6, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        Settings()->view3DMode = c.mode;
        Settings()->renderQuality = 0;
        const std::vector<uint8_t> plain = Render(false);
        Settings()->renderQuality = 1;
        const std::vector<uint8_t> shaded = Render(false);
        if (c.shadows)
            EXPECT_GT(darkened(plain, shaded), 200);
        else
            EXPECT_EQ(plain, shaded);
    }
}

TEST_F(LiveViewTest, TheFaceStencilValueStartsAgainAtTwoOnAClearedStencilBeforePassing255)
{
    // Each step from 2 to 254 only moves on; the step past 255 clears the stencil first.
    glClearStencil(7);
    glClear(GL_STENCIL_BUFFER_BIT);
    glClearStencil(0);
    GLubyte stencil = 0;
    const struct {
        int32_t before, after;
        GLubyte left;
    } cases[] = {{2, 3, 7}, {254, 255, 7}, {255, 2, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        runningStencilValue = c.before;
        AdvanceRunningStencilValue();
        EXPECT_EQ(c.after, runningStencilValue);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(width / 2, height / 2, 1, 1, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, &stencil);
        EXPECT_EQ(c.left, stencil);
    }
}
