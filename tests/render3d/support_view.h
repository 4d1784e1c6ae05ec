#pragma once
// The live 3D view under test: a document with its view window (and so the render
// window and its OpenGL context), frames drawn the way a navigation draws them and read
// back from the back buffer, and library pictures written as the program reads them.
#include "support/plan_fixtures.h"
#include "support/test_support.h"
#include <functional>
#include <stdint.h>
#include <string>
#include <vector>

struct PlanObject;
struct PlanSettings;

namespace view3d {

struct Rgb {
    int r, g, b;
};

// A shown live view whose render window has a client area of width x height, a plan
// with an untextured sky and ground, and the walk camera 400 in front of the origin at
// eye height 96, looking at it.
class LiveViewTest : public vtest::LiveSceneTest {
protected:
    void SetUp() override;
    void TearDown() override;
    PlanSettings* Settings();
    void SetRenderClientSize(int w, int h);
    // One navigation frame (viewport, scene, polygons), read back before the swap.
    std::vector<uint8_t> Frame();
    // The render window painted by the high-quality render (the final render when final
    // is set), as presented; read as Frame's result is.
    std::vector<uint8_t> Render(bool final);
    // The pixel at (x, y), y counted from the top of the client area.
    Rgb Pixel(const std::vector<uint8_t>& frame, int x, int y) const;
    // A closed box of type 8 from (x0, z0) to (x1, z1), height h, in the colour.
    PlanObject* Box(float x0, float z0, float x1, float z1, float h, Rgb colour);

    int width = 200;
    int height = 150;
};

// Writes a 24-bit BMP whose pixel (x, y), y from the top, is pixel(x, y).
void WriteBmp24(const std::string& path, int w, int h, const std::function<Rgb(int, int)>& pixel);
// The same under "TEXTURES\" of the program directory, named as the library names id.
void WriteLibraryPicture(int32_t id, int w, int h, const std::function<Rgb(int, int)>& pixel);

} // namespace view3d

// Channels equal within a tolerance, with the pixel's place in the message.
#define EXPECT_RGB_NEAR(actual, er, eg, eb, tolerance)                            \
    do {                                                                          \
        const view3d::Rgb p_ = (actual);                                          \
        EXPECT_NEAR(p_.r, (er), (tolerance)) << "red";                            \
        EXPECT_NEAR(p_.g, (eg), (tolerance)) << "green";                          \
        EXPECT_NEAR(p_.b, (eb), (tolerance)) << "blue";                           \
    } while (0)
