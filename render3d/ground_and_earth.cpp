#include "render3d/ground_and_earth.h"
#include "model/colour_maths.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "model3d/face_triangulation.h"
#include "render3d/ground_height_grid.h"
#include "render3d/kept_polygons.h"
#include "render3d/shaded_polygons.h"
#include "render3d/texture_loading.h"
#include <windows.h>
#include <GL/gl.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <vector>

namespace {

constexpr float kCellSize = 72.0f;
constexpr float kEarthDepth = -5000.0f;
constexpr ColourTriple kEarthColour = {18504, 14392, 0};
constexpr ColourTriple kWhite = {65535, 65535, 65535};

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

uint16_t RoundDown(double value)
{
    if (!(value > 0.0))
        return 0;
    if (value >= 65535.0)
        return 65535;
    return (uint16_t)(value + 0.5);
}

void SendColour(ColourTriple colour, uint8_t alpha)
{
    glColor4ub((GLubyte)(colour.red / 257), (GLubyte)(colour.green / 257),
               (GLubyte)(colour.blue / 257), alpha);
}

ColourTriple WithValue(const uint16_t* hsv, double value)
{
    uint16_t changed[3] = {hsv[0], hsv[1], RoundDown(value)};
    uint16_t rgb[3];
    HsvToRgb(changed, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

// The ground texture of the render, loaded on first use: none in the flat-colour modes
// or for an id outside the library.
uint32_t GroundTexture(const PlanSettings* settings)
{
    const uint32_t id = (uint16_t)settings->paintTextureId;
    if (IsFlatColourMode(settings->view3DMode) || !IsLibraryTextureId(id))
        return 0;
    if (!glIsTexture(id))
        LoadTextureById((int32_t)id);
    return id;
}

// Binds the texture (or turns texturing off) and gives its repeat counts over the site.
void ApplyGroundTexture(const PlanSettings* settings, uint32_t texture, float* uRepeat, float* vRepeat)
{
    *uRepeat = 1.0f;
    *vRepeat = 1.0f;
    if (!texture) {
        glDisable(GL_TEXTURE_2D);
        return;
    }
    glEnable(GL_TEXTURE_2D);
    BindShadedTexture(texture);
    GetTextureUvScale(texture, settings->extentRight - settings->extentLeft,
                      settings->extentBottom - settings->extentTop, uRepeat, vRepeat);
}

bool GridUsable()
{
    return groundGrid && groundGridRows >= 1 && groundGridColumns >= 1;
}

float GridHeight(int32_t r, int32_t c)
{
    return groundGrid[(size_t)r * (size_t)(groundGridColumns + 1) + (size_t)c];
}

// A ground point, its colour and texture coordinate.
struct GroundPoint {
    float x, y, z;
    float u, v;
    ColourTriple colour;
};

void SendPoint(const GroundPoint& point, bool textured, uint8_t alpha)
{
    SendColour(point.colour, alpha);
    if (textured)
        glTexCoord2f(point.u, point.v);
    glVertex3f(point.x, point.y, point.z);
}

} // namespace

namespace {

// Hands each cell of the terrain to `quad` as DrawGround draws it: from the second cell
// of a row on, one GL_POLYGON from the cell before it to this one, its corners shaded by
// the cells' normals and the gradient.
template <typename Quad>
void ForEachGroundQuad(const PlanSettings* settings, uint32_t texture, float uRepeat, float vRepeat,
                       Quad quad)
{
    const uint16_t mode = settings->view3DMode;
    const float xSpan = settings->extentRight - settings->extentLeft;
    const float zSpan = settings->extentBottom - settings->extentTop;
    const int32_t rows = groundGridRows, columns = groundGridColumns;
    const float du = xSpan != 0.0f ? uRepeat / (xSpan / kCellSize) : 0.0f;
    const float dv = zSpan != 0.0f ? vRepeat / (zSpan / kCellSize) : 0.0f;
    float gradientSpan = 2.0f * (float)rows * dv;
    if (gradientSpan == 0.0f)
        gradientSpan = 1.0f;
    ColourTriple base = settings->groundColour;
    if (texture)
        base = kWhite;
    else if (IsLineColourMode(mode))
        base = settings->foregroundColour;
    else if (mode == 4)
        base = settings->backgroundColour;
    uint16_t baseRgb[3] = {base.red, base.green, base.blue}, hsv[3];
    RgbToHsv(baseRgb, hsv);

    std::vector<ColourTriple> kept((size_t)columns + 1);
    const float x0 = settings->extentLeft, z0 = settings->extentTop;
    for (int32_t r = 0; r < rows; ++r) {
        GroundPoint previousTop = {}, previousBottom = {};
        for (int32_t c = 0; c < columns; ++c) {
            GroundPoint top = {x0 + kCellSize * c, GridHeight(r, c), z0 + kCellSize * r,
                               c * du, r * dv, base};
            GroundPoint bottom = {x0 + kCellSize * c, GridHeight(r + 1, c), z0 + kCellSize * (r + 1),
                                  c * du, (r + 1) * dv, base};
            if (!IsLineColourMode(mode)) {
                float a, b, n, d;
                ComputePlaneFromPoints(top.x, top.y, top.z, x0 + kCellSize * (c + 1), GridHeight(r, c + 1),
                                       top.z, bottom.x, bottom.y, bottom.z, &a, &b, &n, &d);
                float largest = fmaxf(fabsf(a), fmaxf(fabsf(b), fabsf(n)));
                if (largest >= 1.0f) {
                    a *= 0.99f / largest;
                    b *= 0.99f / largest;
                    n *= 0.99f / largest;
                }
                uint32_t saturation = hsv[1], value = hsv[2];
                ShadeColourByNormal(1.0f, a, b, n, &saturation, &value, 1);
                const double shaded = value;
                const double depth = shaded * settings->drawValue3D / 65535.0;
                auto graded = [&](double at) {
                    const double v = shaded - at / gradientSpan * depth;
                    if (mode != 4)
                        return WithValue(hsv, v);
                    const double ratio = shaded != 0.0 ? RoundDown(v) / shaded : 1.0;
                    const ColourTriple& line = settings->foregroundColour;
                    const ColourTriple& fill = settings->backgroundColour;
                    return ColourTriple{RoundDown(line.red + (fill.red - line.red) * ratio),
                                        RoundDown(line.green + (fill.green - line.green) * ratio),
                                        RoundDown(line.blue + (fill.blue - line.blue) * ratio)};
                };
                top.colour = r == 0 ? graded(r * dv) : kept[c];
                bottom.colour = graded((r + 1) * dv);
            }
            if (c >= 1) {
                const GroundPoint corners[4] = {previousTop, top, bottom, previousBottom};
                quad(corners);
            }
            kept[c] = bottom.colour;
            previousTop = top;
            previousBottom = bottom;
        }
    }
}

// What the terrain's kept vertices were shaded from.
struct GroundKey {
    const float* grid;
    int32_t rows, columns;
    uint32_t generation;
    uint32_t texture;
    float uRepeat, vRepeat;
    float extents[4];
    ColourTriple ground, line, fill;
    uint16_t viewMode;
    uint16_t alpha;
    float shade;
    float sun[3];
};

KeptPolygons keptGround;
GroundKey keptGroundKey;
bool keptGroundValid = false;

} // namespace

void DrawGround()
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return;
    const uint16_t mode = settings->view3DMode;
    if (!PlanHasTerrainObjects() || !GridUsable()) {
        if (mode != 4)
            DrawFlatGround();
        return;
    }
    const uint32_t texture = GroundTexture(settings);
    float uRepeat, vRepeat;
    ApplyGroundTexture(settings, texture, &uRepeat, &vRepeat);
    const uint8_t alpha = (uint8_t)settings->view3DValue1488;
    if (!drawKeptPolygons || !PolygonsFilled()) {
        ForEachGroundQuad(settings, texture, uRepeat, vRepeat, [&](const GroundPoint* corners) {
            glBegin(GL_POLYGON);
            for (int i = 0; i < 4; ++i)
                SendPoint(corners[i], texture != 0, alpha);
            glEnd();
        });
        glDisable(GL_TEXTURE_2D);
        return;
    }
    // The terrain is shaded once for its grid and settings, and drawn from then on as
    // it was kept.
    GroundKey key;
    memset(&key, 0, sizeof key);
    key.grid = groundGrid;
    key.rows = groundGridRows;
    key.columns = groundGridColumns;
    key.generation = groundGridGeneration;
    key.texture = texture;
    key.uRepeat = uRepeat;
    key.vRepeat = vRepeat;
    const float extents[4] = {settings->extentLeft, settings->extentTop, settings->extentRight,
                              settings->extentBottom};
    memcpy(key.extents, extents, sizeof key.extents);
    key.ground = settings->groundColour;
    key.line = settings->foregroundColour;
    key.fill = settings->backgroundColour;
    key.viewMode = mode;
    key.alpha = alpha;
    key.shade = settings->drawValue3D;
    memcpy(key.sun, sunDirection, sizeof key.sun);
    if (!keptGroundValid || memcmp(&key, &keptGroundKey, sizeof key) != 0) {
        keptGround.Clear();
        const float normal[3] = {0.0f, 0.0f, 0.0f};
        ForEachGroundQuad(settings, texture, uRepeat, vRepeat, [&](const GroundPoint* corners) {
            keptGround.Begin(texture, normal);
            keptGround.BeginOutline(4);
            for (int i = 0; i < 4; ++i) {
                const GroundPoint& p = corners[i];
                ShadedVertex vertex = {p.x, p.y, p.z,
                                       {(uint8_t)(p.colour.red / 257), (uint8_t)(p.colour.green / 257),
                                        (uint8_t)(p.colour.blue / 257), alpha},
                                       texture ? p.u : 0.0f, texture ? p.v : 0.0f};
                keptGround.Vertex(vertex, false);
            }
            keptGround.EndOutline();
            keptGround.End();
        });
        keptGroundKey = key;
        keptGroundValid = true;
    }
    keptGround.Draw();
}

void DrawFlatGround()
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return;
    const uint16_t mode = settings->view3DMode;
    const uint32_t texture = GroundTexture(settings);
    float uRepeat, vRepeat;
    ApplyGroundTexture(settings, texture, &uRepeat, &vRepeat);
    const float shade = settings->drawValue3D;
    ColourTriple farColour, nearColour;
    if (texture) {
        farColour = kWhite;
        const uint16_t lowered = RoundDown(65535.0 - shade);
        nearColour = {lowered, lowered, lowered};
    } else if (IsLineColourMode(mode)) {
        farColour = nearColour = settings->foregroundColour;
    } else if (mode == 4) {
        farColour = nearColour = settings->backgroundColour;
    } else {
        farColour = settings->groundColour;
        uint16_t rgb[3] = {farColour.red, farColour.green, farColour.blue}, hsv[3];
        RgbToHsv(rgb, hsv);
        nearColour = WithValue(hsv, hsv[2] - hsv[2] * shade / 65535.0);
    }
    const uint8_t alpha = (uint8_t)settings->view3DValue1488;
    const float left = settings->extentLeft, right = settings->extentRight;
    // The far edge is the one the walk camera looks towards from its place at the front.
    const float farZ = settings->extentTop, nearZ = settings->extentBottom;
    glBegin(GL_POLYGON);
    SendColour(farColour, alpha);
    glTexCoord2f(0.0f, vRepeat);
    glVertex3f(left, 0.0f, farZ);
    glTexCoord2f(uRepeat, vRepeat);
    glVertex3f(right, 0.0f, farZ);
    SendColour(nearColour, alpha);
    glTexCoord2f(uRepeat, 0.0f);
    glVertex3f(right, 0.0f, nearZ);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(left, 0.0f, nearZ);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void DrawEarthBlock()
{
    PlanSettings* settings = ActiveSettings();
    if (!settings || IsFlatColourMode(settings->view3DMode))
        return;
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_DITHER);
    SendColour(kEarthColour, 255);
    const float left = settings->extentLeft, right = settings->extentRight;
    const float farZ = settings->extentTop, nearZ = settings->extentBottom;
    glBegin(GL_QUADS);
    glVertex3f(left, kEarthDepth, farZ);
    glVertex3f(right, kEarthDepth, farZ);
    glVertex3f(right, kEarthDepth, nearZ);
    glVertex3f(left, kEarthDepth, nearZ);
    // Each side: the two ground corners of its edge, then down to the bottom.
    struct Corner {
        float x, y, z;
    };
    Corner corners[4] = {{left, 0, farZ}, {right, 0, farZ}, {right, 0, nearZ}, {left, 0, nearZ}};
    if (PlanHasTerrainObjects() && GridUsable()) {
        const int32_t rows = groundGridRows, last = groundGridColumns - 1;
        const float lastX = left + kCellSize * last, lastZ = farZ + kCellSize * rows;
        corners[0] = {left, GridHeight(0, 0), farZ};
        corners[1] = {lastX, GridHeight(0, last), farZ};
        corners[2] = {lastX, GridHeight(rows, last), lastZ};
        corners[3] = {left, GridHeight(rows, 0), lastZ};
    }
    for (int i = 0; i < 4; ++i) {
        const Corner& a = corners[i];
        const Corner& b = corners[(i + 1) % 4];
        glVertex3f(a.x, a.y, a.z);
        glVertex3f(b.x, b.y, b.z);
        glVertex3f(b.x, kEarthDepth, b.z);
        glVertex3f(a.x, kEarthDepth, a.z);
    }
    glEnd();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_DITHER);
}
