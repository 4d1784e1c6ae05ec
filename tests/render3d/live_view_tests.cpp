#include "support_view.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model3d/rebuild_driver.h"
#include "model3d/scene_polygons.h"
#include "palette/tool_windows.h"
#include "render3d/interactive_view.h"
#include "render3d/render_window.h"
#include "render3d/selvith_window.h"
#include "render3d/texture_loading.h"
#include "shell/status_bar.h"
#include <GL/gl.h>
#include <stdlib.h>
#include <string.h>

using view3d::LiveViewTest;
using view3d::Rgb;

namespace {

const Rgb kRed = {255, 0, 0};
const Rgb kSky = {191, 208, 240};     // the default sky colour
const Rgb kGround = {95, 143, 47};    // the default ground colour

// A box 200 wide and 150 high round the origin, 300 before the walk camera.
class FrameTest : public LiveViewTest {
protected:
    void SetUp() override
    {
        LiveViewTest::SetUp();
        if (!HasFatalFailure())
            BuildObject3D(Box(-100, -100, 100, 100, 150, kRed));
    }
};

bool IsRedShade(Rgb p)
{
    return p.r > 140 && p.g < 10 && p.b < 10;
}

} // namespace

TEST_F(LiveViewTest, TheRenderWindowTakesAFormatWithAccumulationStencilAndDepth)
{
    HDC dc = GetDC(renderWindow);
    PIXELFORMATDESCRIPTOR format;
    ASSERT_TRUE(DescribePixelFormat(dc, GetPixelFormat(dc), sizeof format, &format));
    ReleaseDC(renderWindow, dc);
    EXPECT_TRUE(format.dwFlags & PFD_DOUBLEBUFFER);
    EXPECT_GT(format.cAccumBits, 0);
    EXPECT_EQ(format.cStencilBits, 8);
    EXPECT_GE(format.cDepthBits, 24);
    GLint accumulation = 0, stencil = 0;
    glGetIntegerv(GL_ACCUM_RED_BITS, &accumulation);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    EXPECT_GT(accumulation, 0);
    EXPECT_EQ(stencil, 8);
}

TEST_F(FrameTest, TheWalkCameraSeesTheBoxWithSkyAboveAndGroundBelow)
{
    std::vector<uint8_t> frame = Frame();
    EXPECT_TRUE(IsRedShade(Pixel(frame, width / 2, height / 2)));
    EXPECT_RGB_NEAR(Pixel(frame, width / 2, 1), kSky.r, kSky.g, kSky.b, 1);
    EXPECT_RGB_NEAR(Pixel(frame, width / 2, height - 2), kGround.r, kGround.g, kGround.b, 1);
    // Turned round, the camera sees no box.
    Settings()->cameraHeading = 180.0f;
    frame = Frame();
    EXPECT_FALSE(IsRedShade(Pixel(frame, width / 2, height / 2)));
}

TEST_F(FrameTest, QualityTenClearsToTheBackgroundColourAndDrawsNoTextures)
{
    // A magenta sky picture and a blue picture on every face of the box.
    auto solid = [](Rgb c) { return [c](int, int) { return c; }; };
    view3d::WriteLibraryPicture(1550, 4, 4, solid({255, 0, 255}));
    view3d::WriteLibraryPicture(850, 4, 4, solid({0, 0, 255}));
    Settings()->backgroundTextureId = 1550;
    for (ScenePolygon* p = sceneMeshes; p; p = p->next)
        p->textureA = p->textureB = 850;
    LoadTextureById(1550);
    LoadTextureById(850);
    const struct {
        uint16_t quality;
        Rgb top;
        bool blueBox;
    } cases[] = {{8, {255, 0, 255}, true}, {10, kSky, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.quality);
        Settings()->moveSpeed3D = c.quality;
        std::vector<uint8_t> frame = Frame();
        EXPECT_RGB_NEAR(Pixel(frame, width / 2, 1), c.top.r, c.top.g, c.top.b, 1);
        Rgb centre = Pixel(frame, width / 2, height / 2);
        EXPECT_EQ(centre.b > 100 && centre.r < 10, c.blueBox);
        EXPECT_EQ(IsRedShade(centre), !c.blueBox);
    }
}

TEST_F(FrameTest, WireframeDrawsLinesOverTheFillColour)
{
    Settings()->view3DMode = 6;
    std::vector<uint8_t> frame = Frame();
    // Line colour (0, 64, 136), fill colour (248, 248, 255); faces 87 % of the way.
    EXPECT_RGB_NEAR(Pixel(frame, width / 2, 1), 248, 248, 255, 1);
    EXPECT_RGB_NEAR(Pixel(frame, width / 2, height / 2), 215, 224, 239, 2);
    int lines = 0;
    for (int x = 0; x < width; ++x) {
        Rgb p = Pixel(frame, x, height / 2);
        lines += p.r < 20 && p.g > 50 && p.g < 80 && p.b > 120 && p.b < 150;
    }
    EXPECT_GE(lines, 2);  // the box's two upright edges
}

TEST_F(LiveViewTest, APlantsBlackTexelsAreTransparent)
{
    // Left half black, right half green.
    view3d::WriteLibraryPicture(300, 256, 256,
                                [](int x, int) { return x < 128 ? Rgb{0, 0, 0} : Rgb{0, 200, 0}; });
    PlanObject* owner = vtest::MakePointObject(28, Storey(0), {{0, 0, 0}}, 0, 0);
    ScenePolygon* plant = CreateSceneNode();
    plant->partKind = kPartPlant;
    plant->textureA = 300;
    plant->buildOwner = plant->buildChild = plant->source = owner;
    plant->billboardHalfWidth = 100.0f;
    plant->billboardHeight = 200.0f;
    MeshVertex* square = static_cast<MeshVertex*>(calloc(4, sizeof(MeshVertex)));
    const float corners[4][2] = {{-10, -10}, {10, -10}, {10, 10}, {-10, 10}};
    for (int i = 0; i < 4; ++i) {
        square[i].x = corners[i][0];
        square[i].z = corners[i][1];
    }
    AppendNodeFace(square, 4, 0, 1, 0, plant);
    sceneMeshes = plant;
    std::vector<uint8_t> frame = Frame();
    // 60 pixels each side of the centre lies on the billboard, which spans about 110.
    Rgb left = Pixel(frame, width / 2 - 40, height / 2);
    Rgb right = Pixel(frame, width / 2 + 40, height / 2);
    EXPECT_RGB_NEAR(right, 0, 200, 0, 1);
    EXPECT_FALSE(left.r == 0 && left.g == 0 && left.b == 0);
    EXPECT_NE(left.g, 200);
}

TEST_F(LiveViewTest, AnOddWidthTextureIsUploadedUnsheared)
{
    const Rgb texels[2][3] = {{{10, 20, 30}, {40, 50, 60}, {70, 80, 90}},
                              {{100, 110, 120}, {130, 140, 150}, {160, 170, 180}}};
    view3d::WriteLibraryPicture(851, 3, 2, [&](int x, int y) { return texels[y][x]; });
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);  // as another upload may have left it
    LoadTextureById(851);
    ASSERT_TRUE(glIsTexture(851));
    glBindTexture(GL_TEXTURE_2D, 851);
    uint8_t read[18] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, read);
    // Rows come bottom first.
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const Rgb& t = texels[1 - y][x];
            const uint8_t* p = read + (y * 3 + x) * 3;
            EXPECT_EQ(p[0], t.r);
            EXPECT_EQ(p[1], t.g);
            EXPECT_EQ(p[2], t.b);
        }
    // A missing picture is tried once and then remembered, without a message box.
    vtest::MessageBoxRecorder boxes;
    LoadTextureById(852);
    EXPECT_TRUE(TextureLoadFailed(852));
    EXPECT_FALSE(glIsTexture(852));
    EXPECT_EQ(boxes.Count(), 0u);
}


namespace {

// The view's strip along the bottom of its client area.
class StripTest : public LiveViewTest {
protected:
    void SetUp() override
    {
        LiveViewTest::SetUp();
        GetClientRect(selvithWindow, &client);
    }
    LPARAM CentreOf(int button) const
    {
        RECT r = SelvithStripButtonRect(button, client);
        return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    void Click(int button) { SendMessageA(selvithWindow, WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(button)); }
    // The client's pixels of a w x h area at (x, y) as the strip paints them, or as the
    // bitmap resource draws there.
    std::vector<uint32_t> Area(int x, int y, int w, int h, int bitmapId)
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB};
        void* bits = nullptr;
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        HBITMAP surface = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(dc, surface);
        if (bitmapId) {
            HBITMAP picture = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId),
                                                              IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
            BlitBitmap(dc, picture, x, y);
            DeleteObject(picture);
        } else {
            DrawSelvithStrip(selvithWindow, dc);
        }
        GdiFlush();
        std::vector<uint32_t> pixels;
        for (int row = y; row < y + h; ++row)
            for (int column = x; column < x + w; ++column)
                pixels.push_back(static_cast<uint32_t*>(bits)[row * client.right + column]);
        SelectObject(dc, previous);
        DeleteObject(surface);
        DeleteDC(dc);
        return pixels;
    }
    std::vector<uint32_t> TransparencyGauge(int bitmapId)
    {
        return Area(187, client.bottom - 23, 60, 23, bitmapId);
    }

    RECT client = {};
};

} // namespace

TEST_F(StripTest, MoreTransparencyShowsItsHelpStepsDownAndStopsAt175)
{
    PlanSettings* s = Settings();
    s->view3DFlag1490 = 1;
    s->view3DValue1488 = 255;
    customStatusText[0] = '\0';
    SendMessageA(selvithWindow, WM_MOUSEMOVE, 0, CentreOf(StripMoreTransparency));
    EXPECT_STREQ("Aumenta il livello della trasparenza delle superfici nel rendering delle funzioni "
                 "Visita e Sorvola",
                 customStatusText);
    EXPECT_EQ(TransparencyGauge(11024), TransparencyGauge(0));
    Click(StripMoreTransparency);
    EXPECT_EQ(235, s->view3DValue1488);
    EXPECT_EQ(TransparencyGauge(11023), TransparencyGauge(0));
    EXPECT_NE(TransparencyGauge(11024), TransparencyGauge(0));
    const struct {
        uint16_t before, after;
    } steps[] = {{195, 175}, {180, 175}, {175, 175}};
    for (const auto& step : steps) {
        s->view3DValue1488 = step.before;
        Click(StripMoreTransparency);
        EXPECT_EQ(step.after, s->view3DValue1488) << step.before;
    }
    s->view3DValue1488 = 236;
    Click(StripLessTransparency);
    EXPECT_EQ(255, s->view3DValue1488);
    // Without the transparency flag the buttons are not there.
    s->view3DFlag1490 = 0;
    Click(StripLessTransparency);
    s->view3DValue1488 = 215;
    Click(StripMoreTransparency);
    EXPECT_EQ(215, s->view3DValue1488);
}

TEST_F(StripTest, QualityStaysWithinSixToTenAndTheSkyFollowsBelowTen)
{
    PlanSettings* s = Settings();
    const struct {
        uint16_t before;
        int button;
        uint16_t after;
        uint8_t sky;
    } clicks[] = {
        {9, StripFaster, 10, 0}, {10, StripFaster, 10, 0}, {10, StripSlower, 9, 1},
        {7, StripSlower, 6, 1},  {6, StripSlower, 6, 1},
    };
    for (const auto& c : clicks) {
        s->moveSpeed3D = c.before;
        Click(c.button);
        EXPECT_EQ(c.after, s->moveSpeed3D) << c.before;
        EXPECT_EQ(c.sky, skyFollowsCamera) << c.before;
    }
}
