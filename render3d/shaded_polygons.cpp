#include "render3d/shaded_polygons.h"
#include "files/picture_files.h"
#include "model/colour_maths.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "model3d/scene_polygons.h"
#include "render3d/image_shadow_utilities.h"
#include "render3d/texture_loading.h"
#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

PlanObject* previousShadedSource = nullptr;
ColourTriple previousShadedColour = {0, 0, 0};

namespace {

constexpr int kPlantSide = 256;
constexpr uint32_t kShadowTextureOffset = 15000;
constexpr ColourTriple kWhite = {65535, 65535, 65535};

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

uint16_t RoundChannel(double value)
{
    if (!(value > 0.0))
        return 0;
    if (value >= 65535.0)
        return 65535;
    return (uint16_t)(value + 0.5);
}

// Hue and saturation of a colour with another value.
ColourTriple WithValue(const uint16_t* hsv, double value)
{
    uint16_t changed[3] = {hsv[0], hsv[1], RoundChannel(value)};
    uint16_t rgb[3];
    HsvToRgb(changed, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

void SendColour(ColourTriple colour, uint8_t alpha)
{
    glColor4ub((GLubyte)(colour.red / 257), (GLubyte)(colour.green / 257),
               (GLubyte)(colour.blue / 257), alpha);
}

// The child types whose gradient is kept on the upper storeys.
bool KeepsGradientKeyAbove(uint16_t key)
{
    switch (key) {
    case 14: case 16: case 32: case 33: case 34: case 35: case 41: case 42: case 44:
        return true;
    }
    return false;
}

// The height of the build child's storey, as a plan length.
float StoreyHeight(const ScenePolygon* node, const PlanSettings* settings)
{
    const PlanFloor* floor = node->buildChild ? node->buildChild->floor : nullptr;
    float height = floor ? floor->height : kDefaultFloorHeight;
    float length = UnitsToPlanLength(height, settings, 0);
    return length != 0.0f ? length : 1.0f;
}

// The vertically darkened value of one vertex (the gradient of the lower parts).
double GradientValue(const ScenePolygon* node, const PolygonOutline* outline, const MeshVertex& vertex,
                     uint16_t key, double value, double depth, const PlanSettings* settings)
{
    switch (key) {
    case 0: case 33: case 56:
        return value - depth * (1.0 - vertex.v);
    case 16:
        if (node->sourceType == ObjDoorLeafMember)
            return value;
        if (node->sourceType == ObjLeafPanel)
            return value * 0.9;
        return value - depth * vertex.v;
    case 42: {
        float y0 = outline->vertices[0].y;
        return value - depth * (1.0 - (y0 - vertex.y) / StoreyHeight(node, settings));
    }
    case 44:
        return value;
    default:
        return value - depth * vertex.v;
    }
}

} // namespace

void ForgetDrawnColour()
{
    previousShadedSource = nullptr;
    previousShadedColour = {0, 0, 0};
}

PolygonMaterial PolygonMaterialOf(const ScenePolygon* polygon)
{
    if (polygon->partKind == kPartEndFace)
        return {polygon->textureA, polygon->uFactorA, polygon->vFactorA, polygon->textureSlotA,
                polygon->colourSlotA};
    return {polygon->textureB, polygon->uFactorB, polygon->vFactorB, polygon->textureSlotB,
            polygon->colourSlotB};
}

bool IsColourSet(const ColourTriple* colour)
{
    return colour && !(colour->red == kColourChannelUnset && colour->green == kColourChannelUnset &&
                       colour->blue == kColourChannelUnset);
}

bool IsLibraryTextureId(uint32_t id)
{
    return id >= 1 && id <= 13999;
}

bool IsLineColourMode(uint16_t viewMode)
{
    return viewMode == 1 || viewMode == 2;
}

bool IsFlatColourMode(uint16_t viewMode)
{
    return viewMode == 1 || viewMode == 2 || viewMode == 4;
}

ColourTriple ShadeColourForNormal(ColourTriple colour, const float* normal)
{
    uint16_t rgb[3] = {colour.red, colour.green, colour.blue};
    uint16_t hsv[3];
    RgbToHsv(rgb, hsv);
    uint32_t saturation = hsv[1];
    uint32_t value = hsv[2];
    ShadeColourByNormal(1.0f, normal[0], normal[1], normal[2], &saturation, &value, 0);
    return WithValue(hsv, value);
}

void BindShadedTexture(uint32_t texture)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

ShadingInputs CurrentShadingInputs(const PlanSettings* settings)
{
    ShadingInputs inputs;
    memset(&inputs, 0, sizeof inputs);
    inputs.viewMode = settings->view3DMode;
    inputs.alpha = (uint8_t)settings->view3DValue1488;
    inputs.line = settings->foregroundColour;
    inputs.fill = settings->backgroundColour;
    inputs.shade = settings->drawValue3D;
    memcpy(inputs.sun, sunDirection, sizeof inputs.sun);
    inputs.brightness = shadeBrightness;
    inputs.storeyScale = UnitsToPlanLength(1000.0f, settings, 0);
    return inputs;
}

bool SameShadingInputs(const ShadingInputs& a, const ShadingInputs& b)
{
    return memcmp(&a, &b, sizeof a) == 0;
}

bool ShadeTexturedPolygon(ScenePolygon* node, ShadedPolygonSink& sink)
{
    PlanSettings* settings = ActiveSettings();
    if (!node || !settings || !node->buildChild)
        return false;
    const uint16_t mode = settings->view3DMode;
    const bool flat = IsFlatColourMode(mode);
    if (flat && (node->sourceType == ObjFloorSlab || node->sourceType == 50))
        return false;
    float normal[3] = {1.0f, 1.0f, 1.0f};
    if (node->outlines)
        memcpy(normal, node->outlines->vector, sizeof normal);

    PolygonMaterial material = PolygonMaterialOf(node);
    uint32_t texture = flat || !IsLibraryTextureId(material.texture) ? 0 : material.texture;
    if (texture && !glIsTexture(texture))
        LoadTextureById((int32_t)texture);

    ColourTriple base;
    if (IsLineColourMode(mode))
        base = settings->foregroundColour;
    else if (mode == 4)
        base = settings->backgroundColour;
    else if (texture)
        base = kWhite;
    else if (node->partKind == kPartEndFace && IsColourSet(node->colourSlotA))
        base = *node->colourSlotA;
    else if (IsColourSet(node->colourSlotB))
        base = *node->colourSlotB;
    else
        base = node->partKind == kPartEndFace ? node->colourB : node->colourA;

    uint16_t rgb[3] = {base.red, base.green, base.blue};
    uint16_t hsv[3];
    RgbToHsv(rgb, hsv);
    ColourTriple shaded = base;
    if (!flat) {
        shaded = ShadeColourForNormal(base, normal);
        uint16_t shadedRgb[3] = {shaded.red, shaded.green, shaded.blue};
        uint16_t shadedHsv[3];
        RgbToHsv(shadedRgb, shadedHsv);
        hsv[2] = shadedHsv[2];
    }
    const double value = hsv[2];

    uint16_t key = node->childType;
    const PlanFloor* floor = node->buildChild->floor;
    if (floor && strcmp(floor->name, "First Floor") != 0 && !KeepsGradientKeyAbove(key))
        key = 0;
    const double depth = settings->drawValue3D / 65535.0 * value;
    const bool sharedEdge = previousShadedSource && previousShadedSource == node->source;
    const uint8_t alpha = (uint8_t)settings->view3DValue1488;

    sink.Begin(texture, normal);
    for (PolygonOutline* outline = node->outlines; outline; outline = outline->next) {
        if (!outline->vertices || outline->vertexCount <= 0)
            continue;
        sink.BeginOutline(outline->vertexCount);
        for (int32_t i = 0; i < outline->vertexCount; ++i) {
            const MeshVertex& vertex = outline->vertices[i];
            ColourTriple colour = shaded;
            if (node->sourceType == 7) {
                if ((i == 2 || i == 3) && sharedEdge)
                    colour = previousShadedColour;
            } else if (node->partKind == kPartMeshFace) {
                if ((i == 0 || i == 1) && sharedEdge)
                    colour = previousShadedColour;
            } else if (!IsLineColourMode(mode)) {
                double graded = RoundChannel(
                    GradientValue(node, outline, vertex, key, value, depth, settings));
                if (mode == 4) {
                    double ratio = value != 0.0 ? graded / value : 1.0;
                    if (ratio == 0.0)
                        ratio = 1.0;
                    const ColourTriple& line = settings->foregroundColour;
                    const ColourTriple& fill = settings->backgroundColour;
                    colour = {RoundChannel(line.red + (fill.red - line.red) * ratio),
                              RoundChannel(line.green + (fill.green - line.green) * ratio),
                              RoundChannel(line.blue + (fill.blue - line.blue) * ratio)};
                } else {
                    colour = WithValue(hsv, graded);
                }
            }
            ShadedVertex shadedVertex;
            shadedVertex.x = vertex.x;
            shadedVertex.y = -vertex.y;
            shadedVertex.z = vertex.z;
            shadedVertex.rgba[0] = (uint8_t)(colour.red / 257);
            shadedVertex.rgba[1] = (uint8_t)(colour.green / 257);
            shadedVertex.rgba[2] = (uint8_t)(colour.blue / 257);
            shadedVertex.rgba[3] = alpha;
            shadedVertex.u = texture ? material.uScale * vertex.u : 0.0f;
            shadedVertex.v = texture ? material.vScale * vertex.v : 0.0f;
            sink.Vertex(shadedVertex, IsLineColourMode(mode) && vertex.edgeFlag != 0);
        }
        sink.EndOutline();
    }
    sink.End();
    previousShadedSource = node->source;
    previousShadedColour = shaded;
    return true;
}

namespace {

// Sends each polygon to OpenGL as it is shaded.
class ImmediateSink : public ShadedPolygonSink {
public:
    void Begin(uint32_t texture, const float* normal) override
    {
        textured = texture != 0;
        memcpy(faceNormal, normal, sizeof faceNormal);
        if (textured) {
            glEnable(GL_TEXTURE_2D);
            BindShadedTexture(texture);
        } else {
            glDisable(GL_TEXTURE_2D);
        }
    }
    void BeginOutline(int32_t) override
    {
        glBegin(GL_POLYGON);
        glNormal3f(faceNormal[0], faceNormal[1], faceNormal[2]);
    }
    void Vertex(const ShadedVertex& vertex, bool hiddenEdge) override
    {
        glColor4ub(vertex.rgba[0], vertex.rgba[1], vertex.rgba[2], vertex.rgba[3]);
        if (textured)
            glTexCoord2f(vertex.u, vertex.v);
        if (lineMode)
            glEdgeFlag(hiddenEdge ? GL_FALSE : GL_TRUE);
        glVertex3f(vertex.x, vertex.y, vertex.z);
        glEdgeFlag(GL_TRUE);
    }
    void EndOutline() override { glEnd(); }
    void End() override
    {
        if (textured)
            glDisable(GL_TEXTURE_2D);
    }

    bool lineMode = false;

private:
    bool textured = false;
    float faceNormal[3] = {0.0f, 0.0f, 0.0f};
};

} // namespace

void DrawTexturedPolygon(ScenePolygon* node)
{
    ImmediateSink sink;
    PlanSettings* settings = ActiveSettings();
    sink.lineMode = settings && IsLineColourMode(settings->view3DMode);
    ShadeTexturedPolygon(node, sink);
}

bool UploadPlantTexture(uint32_t textureId, uint32_t name, uint8_t alpha, bool darken)
{
    DIBImage* image = ReadLibraryPicture((int32_t)textureId);
    if (!image)
        return false;
    uint8_t* rgb = image->pixels;
    uint8_t* scaled = nullptr;
    // The conversion reads exactly 256 x 256 texels: other sizes are scaled to it first.
    if (image->width != kPlantSide || image->height != kPlantSide) {
        scaled = static_cast<uint8_t*>(malloc((size_t)kPlantSide * kPlantSide * 3));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        if (!scaled || gluScaleImage(GL_RGB, image->width, image->height, GL_UNSIGNED_BYTE, rgb,
                                     kPlantSide, kPlantSide, GL_UNSIGNED_BYTE, scaled) != 0) {
            free(scaled);
            FreeDIBImage(image);
            return false;
        }
        rgb = scaled;
    }
    uint8_t* rgba = MakeRgbaImage256(rgb, 1.0f);
    free(scaled);
    FreeDIBImage(image);
    if (!rgba)
        return false;
    for (size_t i = 0; i < (size_t)kPlantSide * kPlantSide; ++i)
        rgba[i * 4 + 3] = alpha;
    SetBlackAlpha256(rgba, 0.0f);
    if (darken) {
        for (size_t i = 0; i < (size_t)kPlantSide * kPlantSide; ++i)
            if (rgba[i * 4 + 3] != 0)
                rgba[i * 4] = rgba[i * 4 + 1] = rgba[i * 4 + 2] = 0;
    }
    glBindTexture(GL_TEXTURE_2D, name);
    UploadPackedTexture(4, kPlantSide, kPlantSide, GL_RGBA, rgba);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    free(rgba);
    return true;
}

bool ComputePlantBillboardCorners(const ScenePolygon* node, const PlanSettings* settings,
                                  double corners[4][3])
{
    if (!node || !settings || settings->view3DFlag1490 || !node->textureA || !node->buildOwner)
        return false;
    const PolygonOutline* outline = node->outlines;
    if (!outline || outline->vertexCount != 4 || !outline->vertices)
        return false;
    const MeshVertex* v = outline->vertices;
    const PlanObject* plant = node->buildOwner;
    double base[3];
    base[0] = (v[0].x + v[1].x) / 2.0;
    base[2] = (v[1].z + v[2].z) / 2.0;
    base[1] = plant->onTerrain ? -GetTerrainHeightAt((float)base[0], (float)base[2], 0)
                               : UnitsToPlanLength(plant->elevation, settings, 0);

    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    // The unit vector from p towards the point `right` pixels right of and `up` above it.
    auto screenDirection = [&](const double* p, double right, double up, double* out) {
        double wx, wy, wz, ox, oy, oz;
        gluProject(p[0], p[1], p[2], model, projection, viewport, &wx, &wy, &wz);
        gluUnProject(wx + right, wy + up, wz, model, projection, viewport, &ox, &oy, &oz);
        double d[3] = {ox - p[0], oy - p[1], oz - p[2]};
        double length = sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        if (!(length > 0.0))
            length = 1.0;
        for (int k = 0; k < 3; ++k)
            out[k] = d[k] / length;
    };
    const double halfWidth = node->billboardHalfWidth;
    double right[3], up[3], topRight[3], top[3];
    screenDirection(base, 100.0, 0.0, right);
    screenDirection(base, 0.0, 100.0, up);
    for (int k = 0; k < 3; ++k)
        top[k] = base[k] + up[k] * node->billboardHeight;
    screenDirection(top, 100.0, 0.0, topRight);
    for (int k = 0; k < 3; ++k) {
        corners[0][k] = top[k] - topRight[k] * halfWidth;
        corners[1][k] = top[k] + topRight[k] * halfWidth;
        corners[2][k] = base[k] + right[k] * halfWidth;
        corners[3][k] = base[k] - right[k] * halfWidth;
    }
    return true;
}

void DrawPlantNode(ScenePolygon* node)
{
    PlanSettings* settings = ActiveSettings();
    double corners[4][3];
    if (!ComputePlantBillboardCorners(node, settings, corners))
        return;
    if (!glIsTexture(node->textureA) && !UploadPlantTexture(node->textureA, node->textureA, 255, false))
        return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, node->textureA);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    const uint8_t alpha = (uint8_t)settings->view3DValue1488;
    const uint16_t lower = RoundChannel(65535.0 - settings->drawValue3D);
    const ColourTriple bottom = {lower, lower, lower};
    static const float kCornerTexture[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    glBegin(GL_POLYGON);
    for (int i = 0; i < 4; ++i) {
        SendColour(i < 2 ? kWhite : bottom, alpha);
        glTexCoord2f(kCornerTexture[i][0], kCornerTexture[i][1]);
        glVertex3d(corners[i][0], corners[i][1], corners[i][2]);
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
}

void DrawPlantShadow(ScenePolygon* node)
{
    PlanSettings* settings = ActiveSettings();
    double corners[4][3];
    if (!ComputePlantBillboardCorners(node, settings, corners))
        return;
    const uint32_t name = node->textureA + kShadowTextureOffset;
    const float opacity = settings->renderShadowValue * 255.0f + 0.5f;
    const uint8_t alpha = opacity >= 255.0f ? 255 : opacity > 0.0f ? (uint8_t)opacity : 0;
    if (!UploadPlantTexture(node->textureA, name, alpha, true))
        return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixf(shadowMatrix);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_NOTEQUAL, 1, 0xFFFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.24f);
    static const float kCornerTexture[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    glColor4ub(255, 255, 255, 255);
    glBegin(GL_POLYGON);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(kCornerTexture[i][0], kCornerTexture[i][1]);
        glVertex3d(corners[i][0], corners[i][1], corners[i][2]);
    }
    glEnd();
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_STENCIL_TEST);
    glPopMatrix();
    GLuint shadowName = name;
    glDeleteTextures(1, &shadowName);
    glDisable(GL_TEXTURE_2D);
}
