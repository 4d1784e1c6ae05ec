#include "render3d/image_shadow_utilities.h"
#include "files/kept_paths.h"
#include "files/picture_files.h"
#include "model/colour_maths.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "model3d/kept_scene_runs.h"
#include "model3d/scene_drawing.h"
#include "model3d/scene_polygons.h"
#include "render3d/ground_height_grid.h"
#include "render3d/high_quality_render.h"
#include "render3d/interactive_view.h"
#include "render3d/shaded_polygons.h"
#include "render3d/texture_loading.h"
#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

float shadowMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

namespace {

constexpr int32_t kPlantPictureSide = 256;

bool IsBlack(const uint8_t* pixel)
{
    return pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0;
}

size_t PixelCount(int32_t width, int32_t height)
{
    return (size_t)width * (size_t)height;
}

} // namespace

uint8_t* MakeRgbaImage(const uint8_t* rgb, float alpha, int32_t width, int32_t height)
{
    if (!rgb || width <= 0 || height <= 0)
        return nullptr;
    const size_t count = PixelCount(width, height);
    uint8_t* rgba = static_cast<uint8_t*>(malloc(count * 4));
    if (!rgba)
        return nullptr;
    const uint8_t a = (uint8_t)(int)(alpha * 255.0f);
    for (size_t i = 0; i < count; ++i) {
        memcpy(rgba + i * 4, rgb + i * 3, 3);
        rgba[i * 4 + 3] = a;
    }
    return rgba;
}

uint8_t* MakeRgbaImage256(const uint8_t* rgb, float alpha)
{
    return MakeRgbaImage(rgb, alpha, kPlantPictureSide, kPlantPictureSide);
}

void SetBlackAlpha(uint8_t* rgba, float alpha, int32_t width, int32_t height)
{
    if (!rgba || width <= 0 || height <= 0)
        return;
    const uint8_t a = (uint8_t)(int)(alpha * 255.0f);
    const size_t count = PixelCount(width, height);
    for (size_t i = 0; i < count; ++i)
        if (IsBlack(rgba + i * 4))
            rgba[i * 4 + 3] = a;
}

void SetBlackAlpha256(uint8_t* rgba, float alpha)
{
    SetBlackAlpha(rgba, alpha, kPlantPictureSide, kPlantPictureSide);
}

void RecolourNonBlack(uint8_t* rgba, ColourTriple colour, int32_t width, int32_t height)
{
    if (!rgba || width <= 0 || height <= 0)
        return;
    const size_t count = PixelCount(width, height);
    for (size_t i = 0; i < count; ++i) {
        uint8_t* pixel = rgba + i * 4;
        if (IsBlack(pixel))
            continue;
        pixel[0] = (uint8_t)(colour.red >> 8);
        pixel[1] = (uint8_t)(colour.green >> 8);
        pixel[2] = (uint8_t)(colour.blue >> 8);
    }
}

void RecolourNonBlack256(uint8_t* rgba, ColourTriple colour)
{
    RecolourNonBlack(rgba, colour, kPlantPictureSide, kPlantPictureSide);
}

void ClearTexelBorder(uint8_t* rgba, int32_t width, int32_t height)
{
    if (!rgba || width <= 0 || height <= 0)
        return;
    const size_t rowBytes = (size_t)width * 4;
    memset(rgba, 0, rowBytes);
    memset(rgba + (size_t)(height - 1) * rowBytes, 0, rowBytes);
    for (int32_t y = 0; y < height; ++y) {
        memset(rgba + (size_t)y * rowBytes, 0, 4);
        memset(rgba + (size_t)y * rowBytes + rowBytes - 4, 0, 4);
    }
}

void ComputePlaneNormal(const float points[3][3], float normal[3])
{
    float a[3], b[3];
    for (int k = 0; k < 3; ++k) {
        a[k] = points[0][k] - points[1][k];
        b[k] = points[1][k] - points[2][k];
    }
    normal[0] = a[1] * b[2] - a[2] * b[1];
    normal[1] = a[2] * b[0] - a[0] * b[2];
    normal[2] = a[0] * b[1] - a[1] * b[0];
    NormaliseVector3(normal);
}

void NormaliseVector3(float vector[3])
{
    float length = sqrtf(vector[0] * vector[0] + vector[1] * vector[1] + vector[2] * vector[2]);
    if (length == 0.0f)
        length = 1.0f;
    for (int k = 0; k < 3; ++k)
        vector[k] /= length;
}

void ComputeShadowMatrix(const float points[3][3], const float light[4], float matrix[16])
{
    float normal[3];
    ComputePlaneNormal(points, normal);
    const float plane[4] = {normal[0], normal[1], normal[2],
                            -(normal[0] * points[2][0] + normal[1] * points[2][1] + normal[2] * points[2][2])};
    const float dot = plane[0] * light[0] + plane[1] * light[1] + plane[2] * light[2] + plane[3] * light[3];
    for (int k = 0; k < 4; ++k)
        for (int r = 0; r < 4; ++r)
            matrix[r + 4 * k] = (r == k ? dot : 0.0f) - light[r] * plane[k];
}

namespace {

// The stencil picture between SaveStencilPicture and RestoreStencilPicture.
struct StencilPicture {
    GLint viewport[4];
    uint8_t* values;
} savedStencil = {{0, 0, 0, 0}, nullptr};

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

void DrawOutlinesAt(const ScenePolygon* polygon, bool flattened)
{
    for (const PolygonOutline* outline = polygon->outlines; outline; outline = outline->next) {
        if (!outline->vertices || outline->vertexCount <= 0)
            continue;
        glBegin(GL_POLYGON);
        for (int32_t i = 0; i < outline->vertexCount; ++i) {
            const MeshVertex& v = outline->vertices[i];
            glVertex3f(v.x, flattened ? 0.0f : -v.y, v.z);
        }
        glEnd();
    }
}

// The receiving plane of the terrain: three border points of the ground grid, 2.0 above.
bool TerrainBorderPlane(const PlanSettings* settings, float points[3][3])
{
    if (!PlanHasTerrainObjects() || !groundGrid || groundGridRows < 1 || groundGridColumns < 1)
        return false;
    const int32_t rows = groundGridRows, columns = groundGridColumns;
    const size_t stride = (size_t)columns + 1;
    const float x0 = settings->extentLeft, z0 = settings->extentTop;
    const float zLast = z0 + 72.0f * (float)rows, xLast = x0 + 72.0f * (float)(columns - 1);
    const float corners[3][3] = {{x0, groundGrid[0] + 2.0f, z0},
                                 {x0, groundGrid[(size_t)rows * stride] + 2.0f, zLast},
                                 {xLast, groundGrid[(size_t)rows * stride + (size_t)columns - 1] + 2.0f, zLast}};
    memcpy(points, corners, sizeof corners);
    return true;
}

void LevelPlane(float height, float points[3][3])
{
    const float level[3][3] = {{100, height, 100}, {100, height, -100}, {-100, height, -100}};
    memcpy(points, level, sizeof level);
}

// The set-up both shadow preparations share: stencil cleared to 1, the matrix onto the
// plane, colour and depth off while the receiver writes stencil 0.
void BeginReceiverStencil(const PlanSettings* settings, const float points[3][3])
{
    glClearStencil(1);
    glClear(GL_STENCIL_BUFFER_BIT);
    glClearStencil(0);
    runningStencilValue = 2;
    const float light[4] = {settings->lightDirectionX, settings->lightDirectionY,
                            settings->lightDirectionZ, 0.0f};
    ComputeShadowMatrix(points, light, shadowMatrix);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 0, 0xFFFF);
    glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
}

void EndReceiverStencil()
{
    glDisable(GL_STENCIL_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DITHER);
}

bool IsFlattenedReceiver(int16_t type)
{
    return type == ObjFloorSlab || type == kSceneFloorUnderWalls || type == 49 || type == 50;
}

bool IsSurfaceReceiver(int16_t type)
{
    return type == ObjPathPart || type == 26 || type == 27;
}

// A photo panel's picture as a 512 x 512 RGBA texture under name: border texels
// cleared, black transparent, other texels of the alpha; recoloured for a shadow.
bool UploadPanelPicture(const ScenePolygon* polygon, uint32_t name, float alpha, const ColourTriple* shadow)
{
    const PlanObject* photo = polygon->source;
    if (!photo || photo->type != ObjImage || !photo->imagePath || !photo->imagePath[0] ||
        MeantFileAttributes(photo->imagePath) == INVALID_FILE_ATTRIBUTES)
        return false;
    DIBImage* image = LoadDIBImageA(photo->imagePath);
    if (!image)
        return false;
    uint8_t* rgba = MakeRgbaImage(image->pixels, alpha, image->width, image->height);
    const int32_t width = image->width, height = image->height;
    FreeDIBImage(image);
    if (!rgba)
        return false;
    ClearTexelBorder(rgba, width, height);
    constexpr int32_t kSide = 512;
    uint8_t* square = rgba;
    if (width != kSide || height != kSide) {
        square = static_cast<uint8_t*>(malloc((size_t)kSide * kSide * 4));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        if (!square || gluScaleImage(GL_RGBA, width, height, GL_UNSIGNED_BYTE, rgba, kSide, kSide,
                                     GL_UNSIGNED_BYTE, square) != 0) {
            free(square);
            free(rgba);
            return false;
        }
        free(rgba);
    }
    SetBlackAlpha(square, 0.0f, kSide, kSide);
    if (shadow)
        RecolourNonBlack(square, *shadow, kSide, kSide);
    glBindTexture(GL_TEXTURE_2D, name);
    UploadPackedTexture(4, kSide, kSide, GL_RGBA, square);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    free(square);
    return true;
}

void DrawPanelOutlines(const ScenePolygon* polygon, const PolygonMaterial& material)
{
    for (const PolygonOutline* outline = polygon->outlines; outline; outline = outline->next) {
        if (!outline->vertices || outline->vertexCount <= 0)
            continue;
        glBegin(GL_POLYGON);
        for (int32_t i = 0; i < outline->vertexCount; ++i) {
            const MeshVertex& v = outline->vertices[i];
            glTexCoord2f(material.uScale * v.u, material.vScale * v.v);
            glVertex3f(v.x, -v.y, v.z);
        }
        glEnd();
    }
}

} // namespace

void SaveStencilPicture()
{
    free(savedStencil.values);
    savedStencil.values = nullptr;
    glGetIntegerv(GL_VIEWPORT, savedStencil.viewport);
    const GLint width = savedStencil.viewport[2], height = savedStencil.viewport[3];
    if (width <= 0 || height <= 0)
        return;
    savedStencil.values = static_cast<uint8_t*>(calloc((size_t)(width + 4) * (size_t)(height + 1), 1));
    if (!savedStencil.values)
        return;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(savedStencil.viewport[0], savedStencil.viewport[1], width, height, GL_STENCIL_INDEX,
                 GL_UNSIGNED_BYTE, savedStencil.values);
    for (size_t i = 0; i < (size_t)width * (size_t)height; ++i) {
        if (savedStencil.values[i] == 255)
            savedStencil.values[i] = 0;
        else if (savedStencil.values[i] == 254)
            savedStencil.values[i] = 1;
    }
}

void RestoreStencilPicture()
{
    if (!savedStencil.values)
        return;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, savedStencil.viewport[2], 0.0, savedStencil.viewport[3]);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos2i(0, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glDrawPixels(savedStencil.viewport[2], savedStencil.viewport[3], GL_STENCIL_INDEX, GL_UNSIGNED_BYTE,
                 savedStencil.values);
    free(savedStencil.values);
    savedStencil.values = nullptr;
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

ScenePolygon* CopyPolygonToSecondList(const ScenePolygon* polygon)
{
    if (!polygon)
        return nullptr;
    ScenePolygon* copy = CreateSceneNode();
    if (!copy)
        return nullptr;
    *copy = *polygon;
    copy->previous = copy->next = nullptr;
    copy->outlines = nullptr;
    copy->openings = copy->lastOpening = nullptr;
    copy->parts = copy->lastPart = nullptr;
    copy->keptRun = nullptr;
    for (const PolygonOutline* outline = polygon->outlines; outline; outline = outline->next) {
        MeshVertex* vertices = static_cast<MeshVertex*>(malloc(sizeof(MeshVertex) * (size_t)outline->vertexCount));
        if (!vertices)
            continue;
        memcpy(vertices, outline->vertices, sizeof(MeshVertex) * (size_t)outline->vertexCount);
        AppendNodeFace(vertices, outline->vertexCount, outline->vector[0], outline->vector[1],
                       outline->vector[2], copy);
    }
    AppendScenePolygon(&secondaryMeshes, &secondaryMeshesTail, copy);
    return copy;
}

uint32_t secondaryListGeneration = 0;

void BuildSecondaryPolygonList()
{
    // What the list was last filled from: the copies are the same for the same scene
    // polygons at the same eye height.
    static uint32_t filledScene = 0;
    static float filledEyeHeight = 0.0f;
    static const ScenePolygon* filledFrom = nullptr;
    static bool filled = false;
    if (filled && filledScene == sceneGeneration && filledEyeHeight == walkEyeHeight &&
        filledFrom == sceneMeshes)
        return;
    filled = true;
    filledScene = sceneGeneration;
    filledEyeHeight = walkEyeHeight;
    filledFrom = sceneMeshes;
    ++secondaryListGeneration;
    FreeSceneNodeList(secondaryMeshes);
    secondaryMeshes = nullptr;
    secondaryMeshesTail = nullptr;
    ForEachExteriorWallPolygon([](ScenePolygon* polygon) {
        static const float kSlices[6] = {0.01f, 0.1f, 0.75f, -0.01f, -0.1f, -0.75f};
        if (polygon->sourceType == kSceneFloorUnderWalls) {
            // Level slices of the walls at the viewer's eye.
            for (float slice : kSlices) {
                ScenePolygon* copy = CopyPolygonToSecondList(polygon);
                for (PolygonOutline* o = copy ? copy->outlines : nullptr; o; o = o->next)
                    for (int32_t i = 0; i < o->vertexCount; ++i)
                        o->vertices[i].y = -walkEyeHeight + slice;
            }
        } else {
            // The face stretched far above and below the ground.
            ScenePolygon* copy = CopyPolygonToSecondList(polygon);
            for (PolygonOutline* o = copy ? copy->outlines : nullptr; o; o = o->next)
                for (int32_t i = 0; i < o->vertexCount && i < 4; ++i)
                    o->vertices[i].y = (i == 0 || i == 3) ? 10000.0f : -10000.0f;
        }
    });
}

void PrepareGroundShadowStencil()
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return;
    shadowReceiverLevel = 0.0f;
    float points[3][3];
    if (!TerrainBorderPlane(settings, points))
        LevelPlane(2.0f, points);
    BeginReceiverStencil(settings, points);
    glBegin(GL_QUADS);
    glVertex3f(settings->extentLeft, 0.0f, settings->extentTop);
    glVertex3f(settings->extentRight, 0.0f, settings->extentTop);
    glVertex3f(settings->extentRight, 0.0f, settings->extentBottom);
    glVertex3f(settings->extentLeft, 0.0f, settings->extentBottom);
    glEnd();
    if (settings->renderValue1506) {
        // These surfaces receive no ground shadow.
        glStencilFunc(GL_ALWAYS, 1, 0xFFFF);
        for (ScenePolygon* polygon = sceneMeshes; polygon; polygon = polygon->next) {
            if (IsFlattenedReceiver(polygon->sourceType))
                DrawOutlinesAt(polygon, true);
            else if (IsSurfaceReceiver(polygon->sourceType))
                DrawOutlinesAt(polygon, false);
        }
    }
    EndReceiverStencil();
}

void PrepareSurfaceShadowStencil(ScenePolygon* polygon)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings || !polygon)
        return;
    const int16_t type = polygon->sourceType;
    const PlanObject* owner = polygon->buildOwner;
    float level = 2.0f;
    float points[3][3];
    bool terrain = false;
    if (IsFlattenedReceiver(type)) {
        if (owner)
            level += UnitsToPlanLength(owner->elevation, settings, 0) +
                     UnitsToPlanLength(owner->parameters[2], settings, 0);
    } else if (owner && owner->onTerrain) {
        terrain = TerrainBorderPlane(settings, points);
    } else if (owner) {
        level += UnitsToPlanLength(owner->elevation, settings, 0);
    }
    if (!terrain)
        LevelPlane(level, points);
    shadowReceiverLevel = terrain ? 0.0f : level - 2.0f;
    BeginReceiverStencil(settings, points);
    DrawOutlinesAt(polygon, false);
    EndReceiverStencil();
}

void DrawImagePanelNode(ScenePolygon* polygon)
{
    PlanSettings* settings = ActiveSettings();
    if (!polygon || !settings || !polygon->buildChild)
        return;
    const PolygonMaterial material = PolygonMaterialOf(polygon);
    const uint32_t id = material.texture;
    const bool flat = IsFlatColourMode(settings->view3DMode);
    bool textured = !flat && IsLibraryTextureId(id);
    if (textured && !glIsTexture(id))
        textured = UploadPanelPicture(polygon, id, 1.0f, nullptr);
    ColourTriple colour = {65535, 65535, 65535};
    if (!flat && polygon->outlines)
        colour = ShadeColourForNormal(colour, polygon->outlines->vector);
    if (textured) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, id);
    }
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    if (!flat)
        glColor4ub((GLubyte)(colour.red / 257), (GLubyte)(colour.green / 257), (GLubyte)(colour.blue / 257),
                   (GLubyte)settings->view3DValue1488);
    DrawPanelOutlines(polygon, material);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
}

void DrawImagePanelShadow(ScenePolygon* polygon)
{
    PlanSettings* settings = ActiveSettings();
    if (!polygon || !settings || !polygon->buildChild)
        return;
    const PolygonMaterial material = PolygonMaterialOf(polygon);
    if (!IsLibraryTextureId(material.texture))
        return;
    const uint32_t name = material.texture + 15000;
    const ColourTriple shadow = {0, 0, 0};
    if (!UploadPanelPicture(polygon, name, settings->renderShadowValue, &shadow))
        return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, name);
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
    glColor4ub(255, 255, 255, 255);
    DrawPanelOutlines(polygon, material);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_STENCIL_TEST);
    glPopMatrix();
    GLuint shadowName = name;
    glDeleteTextures(1, &shadowName);
    glDisable(GL_TEXTURE_2D);
}
