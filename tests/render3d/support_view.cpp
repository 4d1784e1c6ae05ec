#include "support_view.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model3d/scene_polygons.h"
#include "render3d/high_quality_render.h"
#include "render3d/interactive_view.h"
#include "render3d/render_window.h"
#include "render3d/selvith_window.h"
#include "render3d/texture_names.h"
#include "shell/app_globals.h"
#include <GL/gl.h>
#include <stdio.h>

namespace view3d {

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v)
{
    b.push_back((uint8_t)v);
    b.push_back((uint8_t)(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

char programFolder[MAX_PATH];
char* savedProgramDirectory = nullptr;
HINSTANCE savedInstance = nullptr;

} // namespace

void WriteBmp24(const std::string& path, int w, int h, const std::function<Rgb(int, int)>& pixel)
{
    const int row = (w * 3 + 3) & ~3;
    std::vector<uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    Put32(b, 54 + row * h);
    Put32(b, 0);
    Put32(b, 54);
    Put32(b, 40);
    Put32(b, w);
    Put32(b, h);
    Put16(b, 1);
    Put16(b, 24);
    for (int i = 0; i < 6; ++i)
        Put32(b, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            Rgb p = pixel(x, y);
            b.push_back((uint8_t)p.b);
            b.push_back((uint8_t)p.g);
            b.push_back((uint8_t)p.r);
        }
        b.resize(b.size() + (size_t)(row - w * 3), 0);
    }
    ASSERT_TRUE(vtest::WriteFileBytes(path, b));
}

void WriteLibraryPicture(int32_t id, int w, int h, const std::function<Rgb(int, int)>& pixel)
{
    char name[kTextureNameSize] = "";
    MakeTextureImageName(id, name);
    std::string folder = std::string(programDirectory) + "\\TEXTURES";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string file(name);
    CreateDirectoryA((folder + "\\" + file.substr(0, file.find('\\'))).c_str(), nullptr);
    WriteBmp24(folder + "\\" + file, w, h, pixel);
}

void LiveViewTest::SetUp()
{
    LiveSceneTest::SetUp();
    if (HasFatalFailure())
        return;
    GetCurrentDirectoryA(MAX_PATH, programFolder);
    savedInstance = hInstance;
    hInstance = GetModuleHandleA(nullptr);
    savedProgramDirectory = programDirectory;
    programDirectory = programFolder;
    ASSERT_NE(renderWindow, nullptr);
    ASSERT_NE(glContext, nullptr);
    PlanSettings* settings = Settings();
    settings->backgroundTextureId = 0;
    settings->paintTextureId = 0;
    settings->cameraMode = 1;
    settings->cameraHeading = 0.0f;
    settings->cameraX = 0.0f;
    settings->cameraZ = 400.0f;
    walkEyeHeight = 96.0f;
    walkFieldOfView = 45.0f;
    flyFieldOfView = 38.0f;
    // Room for the render window: a child draws only inside its parent.
    SetWindowPos(selvithWindow, nullptr, 0, 0, 420, 340, SWP_NOZORDER | SWP_NOMOVE);
    SetRenderClientSize(width, height);
}

void LiveViewTest::TearDown()
{
    programDirectory = savedProgramDirectory;
    hInstance = savedInstance;
    LiveSceneTest::TearDown();
}

PlanSettings* LiveViewTest::Settings()
{
    return document->settings;
}

void LiveViewTest::SetRenderClientSize(int w, int h)
{
    width = w;
    height = h;
    RECT frame = {0, 0, w, h};
    AdjustWindowRectEx(&frame, (DWORD)GetWindowLongA(renderWindow, GWL_STYLE), FALSE,
                       (DWORD)GetWindowLongA(renderWindow, GWL_EXSTYLE));
    MoveWindow(renderWindow, 0, 28, frame.right - frame.left, frame.bottom - frame.top, TRUE);
    // The GL surface follows the window once the move is handled.
    vtest::PumpMessages();
    RECT client;
    GetClientRect(renderWindow, &client);
    ASSERT_EQ(client.right, w);
    ASSERT_EQ(client.bottom, h);
}

std::vector<uint8_t> LiveViewTest::Frame()
{
    SetupViewport3D();
    DrawScene3D(Settings());
    SetPolygonDrawMode(sceneMeshes);
    std::vector<uint8_t> pixels((size_t)width * height * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    SwapRenderBuffers();
    return pixels;
}

std::vector<uint8_t> LiveViewTest::Render(bool final)
{
    finalRenderRequested = final ? 1 : 0;
    renderCaptureRequested = 1;
    RenderHighQuality();
    renderCaptureRequested = 0;
    finalRenderRequested = 0;
    std::vector<uint8_t> pixels((size_t)width * height * 3);
    EXPECT_EQ(capturedRender.width, width);
    if (capturedRender.pixels && capturedRender.width == width && capturedRender.height == height) {
        const size_t row = ((size_t)width * 3 + 3) & ~(size_t)3;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint8_t* bgr = capturedRender.pixels + y * row + x * 3;
                uint8_t* rgb = &pixels[((size_t)y * width + x) * 3];
                rgb[0] = bgr[2];
                rgb[1] = bgr[1];
                rgb[2] = bgr[0];
            }
    }
    FreeCapturedRender();
    return pixels;
}

Rgb LiveViewTest::Pixel(const std::vector<uint8_t>& frame, int x, int y) const
{
    const size_t at = ((size_t)(height - 1 - y) * width + x) * 3;
    return {frame[at], frame[at + 1], frame[at + 2]};
}

PlanObject* LiveViewTest::Box(float x0, float z0, float x1, float z1, float h, Rgb colour)
{
    PlanObject* box = vtest::MakePointObject(8, Storey(0),
                                             {{x0, 0, z0}, {x1, 0, z0}, {x1, 0, z1}, {x0, 0, z1},
                                              {x0, -h, z0}, {x1, -h, z0}, {x1, -h, z1}, {x0, -h, z1}},
                                             0, 1);
    box->rows = 2;
    box->buildFlag = 1;
    const ColourTriple c = {(uint16_t)(colour.r * 257), (uint16_t)(colour.g * 257),
                            (uint16_t)(colour.b * 257)};
    box->colourA = box->colourB = c;
    return box;
}

} // namespace view3d
