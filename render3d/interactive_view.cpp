#include "render3d/interactive_view.h"
#include "files/kept_paths.h"
#include "render3d/kept_polygons.h"
#include "files/picture_files.h"
#include "model/colour_maths.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "model3d/face_triangulation.h"
#include "model3d/scene_drawing.h"
#include "model3d/scene_polygons.h"
#include "render3d/ground_height_grid.h"
#include "render3d/image_shadow_utilities.h"
#include "render3d/render_screen.h"
#include "render3d/render_window.h"
#include "render3d/scene_upkeep.h"
#include "render3d/shaded_polygons.h"
#include "render3d/texture_loading.h"
#include "shell/status_bar.h"
#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

float fieldOfView = 60.0f;
float walkFieldOfView = 45.0f;
float flyFieldOfView = 38.0f;
float viewAspect = 1.0f;
float walkEyeHeight = 96.0f;
float orbitDistance = 2000.0f;
uint8_t pickingActive = 0;
float pickPointX = 0.0f;
float pickPointY = 0.0f;
unsigned int sceneDisplayList = 0;
uint32_t sceneGeneration = 0;

namespace {

constexpr uint16_t kFlyCamera = 2;
constexpr uint16_t kWireframeMode = 6;
constexpr float kNear = 1.0f;
constexpr float kFar = 40000.0f;
constexpr float kCellSize = 72.0f;
constexpr float kEarthDepth = -5000.0f;
constexpr ColourTriple kEarthColour = {72 * 257, 56 * 257, 0};
constexpr ColourTriple kWhite = {65535, 65535, 65535};

GLuint skyList = 0;
GLuint flatGroundList = 0;
GLuint projectionList = 0;
GLuint terrainList = 0;
GLuint earthList = 0;

GLint viewportWidth = 1;
GLint viewportHeight = 1;

// What the sky list set up, kept to draw its quad on every frame.
float skyHalfWidth = 100.0f;
float skyHalfHeight = 100.0f;
bool skyTextured = false;
ColourTriple skyColour = {0, 0, 0};

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

void DeleteList(GLuint* list)
{
    if (*list)
        glDeleteLists(*list, 1);
    *list = 0;
}

// Compiles (and runs) a list on first use, calls it afterwards.
template <typename Draw>
void CallOrCompile(GLuint* list, Draw draw)
{
    if (*list) {
        glCallList(*list);
        return;
    }
    *list = glGenLists(1);
    if (!*list) {
        draw();
        return;
    }
    glNewList(*list, GL_COMPILE_AND_EXECUTE);
    draw();
    glEndList();
}

void SendColour(ColourTriple colour, uint8_t alpha)
{
    glColor4ub((GLubyte)(colour.red / 257), (GLubyte)(colour.green / 257),
               (GLubyte)(colour.blue / 257), alpha);
}

void ClearColourOf(ColourTriple colour)
{
    glClearColor(colour.red / 65535.0f, colour.green / 65535.0f, colour.blue / 65535.0f, 1.0f);
}

uint8_t TransparencyAlpha(const PlanSettings* settings)
{
    return (uint8_t)settings->view3DValue1488;
}

// Filtering and texture environment by quality: linear below 8, modulate below 9.
void ApplyQualityTextureModes(uint16_t quality)
{
    GLint filter = quality < 8 ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, quality < 9 ? GL_MODULATE : GL_REPLACE);
}

// The ground texture of the frame: none in the flat-colour modes, while picking or out
// of range.
uint32_t GroundTexture(const PlanSettings* settings)
{
    uint32_t id = (uint16_t)settings->paintTextureId;
    if (IsFlatColourMode(settings->view3DMode) || pickingActive || !IsLibraryTextureId(id))
        return 0;
    return id;
}

void GroundRepeat(const PlanSettings* settings, uint32_t texture, float* u, float* v)
{
    *u = 4.0f;
    *v = 4.0f;
    if (texture)
        GetTextureUvScale(texture, settings->extentRight - settings->extentLeft,
                          settings->extentBottom - settings->extentTop, u, v);
}

// Identity, the pick matrix while picking, the perspective; then the model-view identity.
void ApplyViewProjection()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (pickingActive) {
        GLint viewport[4] = {0, 0, viewportWidth, viewportHeight};
        gluPickMatrix(pickPointX, viewportHeight - pickPointY, 2.0, 2.0, viewport);
    }
    gluPerspective(fieldOfView, viewAspect, kNear, kFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
}

} // namespace

void ApplyViewCamera(const PlanSettings* settings)
{
    if (settings->cameraMode == 1) {
        glRotatef(settings->cameraHeading, 0.0f, -1.0f, 0.0f);
        glTranslatef(-settings->cameraX, -walkEyeHeight, -settings->cameraZ);
        return;
    }
    const double radians = 0.017453292519943295;
    const double pitch = settings->aerialPitch * radians;
    const double yaw = settings->aerialYaw * radians;
    const double a = orbitDistance * cos(pitch);
    const double b = -orbitDistance * sin(pitch);
    const double c = a * cos(-yaw);
    const double e = -a * sin(-yaw);
    glRotatef(settings->aerialPitch, 1.0f, 0.0f, 0.0f);
    glRotatef(settings->aerialYaw + 90.0f, 0.0f, 1.0f, 0.0f);
    glTranslated(c, b, e);
}

namespace {

// Ground height at grid point (r, c).
float GridHeight(int32_t r, int32_t c)
{
    return groundGrid[(size_t)r * (size_t)(groundGridColumns + 1) + (size_t)c];
}

bool GridUsable()
{
    return groundGrid && groundGridRows >= 1 && groundGridColumns >= 1;
}

// The terrain surface, one polygon per cell from the second column on.
void DrawTerrainCells(const PlanSettings* settings)
{
    const uint16_t quality = ViewQualityLevel(settings);
    const bool flat = IsFlatColourMode(settings->view3DMode) || pickingActive;
    const uint32_t texture = GroundTexture(settings);
    float uRepeat, vRepeat;
    GroundRepeat(settings, texture, &uRepeat, &vRepeat);
    const float xExtent = settings->extentRight - settings->extentLeft;
    const float zExtent = settings->extentBottom - settings->extentTop;
    const float du = xExtent != 0.0f ? uRepeat * kCellSize / xExtent : 0.0f;
    const float dv = zExtent != 0.0f ? vRepeat * kCellSize / zExtent : 0.0f;
    if (texture) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
        ApplyQualityTextureModes(quality);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    const ColourTriple base = texture ? kWhite : settings->groundColour;
    const uint8_t alpha = TransparencyAlpha(settings);
    const int32_t rows = groundGridRows;
    const int32_t columns = groundGridColumns;
    auto pointX = [&](int32_t c) { return settings->extentLeft + kCellSize * (float)c; };
    auto pointZ = [&](int32_t r) { return settings->extentTop + kCellSize * (float)r; };
    // Shade of each cell of the previous row and of this one.
    ColourTriple* above = static_cast<ColourTriple*>(calloc((size_t)columns + 1, sizeof(ColourTriple)));
    ColourTriple* current = static_cast<ColourTriple*>(calloc((size_t)columns + 1, sizeof(ColourTriple)));
    if (!above || !current) {
        free(above);
        free(current);
        return;
    }
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < columns; ++c) {
            ColourTriple shade = base;
            if (!flat) {
                float a, b, n, d;
                ComputePlaneFromPoints(pointX(c), GridHeight(r, c), pointZ(r), pointX(c + 1),
                                       GridHeight(r, c + 1), pointZ(r), pointX(c),
                                       GridHeight(r + 1, c), pointZ(r + 1), &a, &b, &n, &d);
                float largest = fmaxf(fabsf(a), fmaxf(fabsf(b), fabsf(n)));
                float normal[3] = {a, b, n};
                if (largest >= 1.0f)
                    for (float& component : normal)
                        component *= 0.99f / largest;
                shade = ShadeColourForNormal(base, normal);
            }
            current[c] = shade;
            if (c < 1)
                continue;
            const ColourTriple& upperLeft = r == 0 ? current[c - 1] : above[c - 1];
            const ColourTriple& upperRight = r == 0 ? current[c] : above[c];
            struct Corner {
                int32_t r, c;
                const ColourTriple* colour;
            } corners[4] = {{r, c - 1, &current[c - 1]},
                            {r, c, &current[c]},
                            {r + 1, c, &upperRight},
                            {r + 1, c - 1, &upperLeft}};
            glBegin(GL_POLYGON);
            for (const Corner& corner : corners) {
                if (!flat)
                    SendColour(*corner.colour, alpha);
                if (texture)
                    glTexCoord2f((float)corner.c * du, (float)corner.r * dv);
                glVertex3f(pointX(corner.c), GridHeight(corner.r, corner.c), pointZ(corner.r));
            }
            glEnd();
        }
        memcpy(above, current, ((size_t)columns + 1) * sizeof(ColourTriple));
    }
    free(above);
    free(current);
    if (texture)
        glDisable(GL_TEXTURE_2D);
}

void DrawFlatGroundQuad(const PlanSettings* settings)
{
    const uint32_t texture = GroundTexture(settings);
    float u, v;
    GroundRepeat(settings, texture, &u, &v);
    if (texture) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
        ApplyQualityTextureModes(ViewQualityLevel(settings));
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    const uint16_t quality = ViewQualityLevel(settings);
    const bool depthTested = pickingActive || quality == 6;
    if (!depthTested)
        glDisable(GL_DEPTH_TEST);
    if (!IsFlatColourMode(settings->view3DMode) && !pickingActive)
        SendColour(texture ? kWhite : settings->groundColour, TransparencyAlpha(settings));
    const float left = settings->extentLeft, right = settings->extentRight;
    const float nearZ = settings->extentBottom, farZ = settings->extentTop;
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, v);
    glVertex3f(left, 0.0f, nearZ);
    glTexCoord2f(u, v);
    glVertex3f(right, 0.0f, nearZ);
    glTexCoord2f(u, 0.0f);
    glVertex3f(right, 0.0f, farZ);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(left, 0.0f, farZ);
    glEnd();
    if (!depthTested)
        glEnable(GL_DEPTH_TEST);
    if (texture)
        glDisable(GL_TEXTURE_2D);
}

// One side of the earth block: from the top points down to the block's bottom.
void DrawEarthSide(const float (*top)[3], int count)
{
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i < count; ++i) {
        glVertex3f(top[i][0], top[i][1], top[i][2]);
        glVertex3f(top[i][0], kEarthDepth, top[i][2]);
    }
    glEnd();
}

void DrawEarthBlock(const PlanSettings* settings)
{
    glDisable(GL_TEXTURE_2D);
    if (!pickingActive)
        SendColour(kEarthColour, 255);
    const float left = settings->extentLeft, right = settings->extentRight;
    const float nearZ = settings->extentBottom, farZ = settings->extentTop;
    glBegin(GL_QUADS);
    glVertex3f(left, kEarthDepth, farZ);
    glVertex3f(right, kEarthDepth, farZ);
    glVertex3f(right, kEarthDepth, nearZ);
    glVertex3f(left, kEarthDepth, nearZ);
    glEnd();
    if (!(PlanHasTerrainObjects() && GridUsable())) {
        const float sides[4][2][3] = {{{left, 0, farZ}, {right, 0, farZ}},
                                      {{right, 0, farZ}, {right, 0, nearZ}},
                                      {{right, 0, nearZ}, {left, 0, nearZ}},
                                      {{left, 0, nearZ}, {left, 0, farZ}}};
        for (const auto& side : sides)
            DrawEarthSide(side, 2);
        return;
    }
    // The sides follow the grid's border heights and end where the surface ends.
    const int32_t rows = groundGridRows, lastColumn = groundGridColumns - 1;
    const float x0 = left, z0 = settings->extentTop;
    float (*points)[3] = static_cast<float (*)[3]>(
        malloc(sizeof(float[3]) * (size_t)(rows > lastColumn ? rows + 1 : lastColumn + 1)));
    if (!points)
        return;
    for (int edge = 0; edge < 4; ++edge) {
        const bool alongX = edge < 2;
        const int32_t count = alongX ? lastColumn + 1 : rows + 1;
        for (int32_t i = 0; i < count; ++i) {
            int32_t r = alongX ? (edge == 0 ? 0 : rows) : i;
            int32_t c = alongX ? i : (edge == 2 ? 0 : lastColumn);
            points[i][0] = x0 + kCellSize * (float)c;
            points[i][1] = GridHeight(r, c);
            points[i][2] = z0 + kCellSize * (float)r;
        }
        DrawEarthSide(points, count);
    }
    free(points);
}

// The ground under the wireframe's two passes: lines in the line colour, then filled
// in the fill colour pushed back by the polygon offset.
void DrawWireframeGround(PlanSettings* settings)
{
    const uint16_t mode = settings->view3DMode;
    const uint8_t alpha = TransparencyAlpha(settings);
    settings->view3DMode = 2;
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    SendColour(settings->foregroundColour, alpha);
    DrawTerrainGroundList();
    settings->view3DMode = 4;
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 1.0f);
    SendColour(settings->backgroundColour, alpha);
    DrawTerrainGroundList();
    glDisable(GL_POLYGON_OFFSET_FILL);
    settings->view3DMode = mode;
}

// Quality 6: the ground is left out where the second list's polygons lie below it.
void DrawGroundCutOut(PlanSettings* settings)
{
    MarkGroundHoles(DrawTerrainGroundList);
    const bool wireframe = IsWireframeMode(settings);
    if (!wireframe) {
        glDisable(GL_STENCIL_TEST);
        DrawEarthBlockList();
        glEnable(GL_STENCIL_TEST);
    }
    glStencilFunc(GL_GEQUAL, 200, 0xFFFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    if (wireframe)
        DrawWireframeGround(settings);
    else
        DrawTerrainGroundList();
    glClear(GL_STENCIL_BUFFER_BIT);
    glDisable(GL_STENCIL_TEST);
}

// The material colour of a polygon before shading: its slot when set, else its own.
ColourTriple PolygonBaseColour(const ScenePolygon* polygon, const PolygonMaterial& material)
{
    if (IsColourSet(material.colourSlot))
        return *material.colourSlot;
    return polygon->partKind == kPartEndFace ? polygon->colourB : polygon->colourA;
}

// Draws the outlines of a polygon with one colour already sent, each vertex with its
// scaled texture coordinate and, in wireframe, its edge flag.
void DrawOutlines(const ScenePolygon* polygon, const PolygonMaterial& material, bool textured,
                  bool edgeFlags)
{
    for (PolygonOutline* outline = polygon->outlines; outline; outline = outline->next) {
        if (!outline->vertices || outline->vertexCount <= 0)
            continue;
        GLenum shape = outline->vertexCount == 3 ? GL_TRIANGLES
                       : outline->vertexCount == 4 ? GL_QUADS : GL_POLYGON;
        glBegin(shape);
        for (int32_t i = 0; i < outline->vertexCount; ++i) {
            const MeshVertex& vertex = outline->vertices[i];
            if (textured)
                glTexCoord2f(material.uScale * vertex.u, material.vScale * vertex.v);
            if (edgeFlags)
                glEdgeFlag(vertex.edgeFlag ? GL_FALSE : GL_TRUE);
            glVertex3f(vertex.x, -vertex.y, vertex.z);
        }
        glEnd();
        if (edgeFlags)
            glEdgeFlag(GL_TRUE);
    }
}

// A photo panel's picture by path, RGBA with black transparent, under the id.
void UploadImagePanel(const ScenePolygon* polygon, uint32_t id)
{
    const PlanObject* photo = polygon->source;
    if (!photo || photo->type != ObjImage || !photo->imagePath || !photo->imagePath[0] ||
        MeantFileAttributes(photo->imagePath) == INVALID_FILE_ATTRIBUTES)
        return;
    DIBImage* image = LoadDIBImageA(photo->imagePath);
    if (!image)
        return;
    uint8_t* rgba = MakeRgbaImage(image->pixels, 1.0f, image->width, image->height);
    if (rgba) {
        SetBlackAlpha(rgba, 0.0f, image->width, image->height);
        glBindTexture(GL_TEXTURE_2D, id);
        UploadPackedTexture(4, image->width, image->height, GL_RGBA, rgba);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        free(rgba);
    }
    FreeDIBImage(image);
}

} // namespace

namespace {

// The second list shaded once for its filling and the shading inputs, and what it
// leaves as the previously shaded polygon.
struct KeptSecondList {
    KeptPolygons polygons;
    bool valid = false;
    uint32_t generation = 0;
    ShadingInputs inputs = {};
    bool draws = false;
    PlanObject* lastSource = nullptr;
    ColourTriple lastColour = {0, 0, 0};
} keptSecondList;

// The second list's polygons, as DrawTexturedPolygon draws them one by one.
void DrawSecondList()
{
    const PlanSettings* settings = ActiveSettings();
    if (!drawKeptPolygons || !settings || !PolygonsFilled()) {
        for (ScenePolygon* p = secondaryMeshes; p; p = p->next)
            DrawTexturedPolygon(p);
        return;
    }
    KeptSecondList& kept = keptSecondList;
    const ShadingInputs inputs = CurrentShadingInputs(settings);
    if (!kept.valid || kept.generation != secondaryListGeneration || !SameShadingInputs(kept.inputs, inputs)) {
        kept.polygons.Clear();
        kept.draws = false;
        for (ScenePolygon* p = secondaryMeshes; p; p = p->next)
            kept.draws |= ShadeTexturedPolygon(p, kept.polygons);
        kept.lastSource = previousShadedSource;
        kept.lastColour = previousShadedColour;
        kept.valid = true;
        kept.generation = secondaryListGeneration;
        kept.inputs = inputs;
    }
    kept.polygons.Draw();
    if (kept.draws) {
        previousShadedSource = kept.lastSource;
        previousShadedColour = kept.lastColour;
    }
}

} // namespace

// Marks with stencil 200 where the second list's polygons lie below the ground the
// function draws, leaving colour untouched and the depth buffer cleared.
void MarkGroundHoles(void (*drawGround)())
{
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    drawGround();
    glEnable(GL_STENCIL_TEST);
    glClear(GL_STENCIL_BUFFER_BIT);
    glStencilFunc(GL_ALWAYS, 200, 0xFFFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    DrawSecondList();
    glClear(GL_DEPTH_BUFFER_BIT);
    glDisable(GL_STENCIL_TEST);
    drawGround();
    glEnable(GL_STENCIL_TEST);
    glDepthFunc(GL_GEQUAL);
    glClearDepth(0.0);
    glStencilFunc(GL_ALWAYS, 0, 0xFFFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
    DrawSecondList();
    glDepthFunc(GL_LESS);
    glClearDepth(1.0);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
}

uint16_t ViewQualityLevel(const PlanSettings* settings)
{
    return settings ? settings->moveSpeed3D : 8;
}

bool IsWireframeMode(const PlanSettings* settings)
{
    return settings && settings->view3DMode == kWireframeMode;
}

void LoadPickName(uint32_t name)
{
    glColor3ub((GLubyte)(name >> 16), (GLubyte)(name >> 8), (GLubyte)name);
}

void DeleteSceneDisplayList()
{
    DeleteList(&sceneDisplayList);
    ++sceneGeneration;
}
void DeleteProjectionDisplayList() { DeleteList(&projectionList); }
void DeleteSkyDisplayList() { DeleteList(&skyList); }
void DeleteTerrainDisplayList() { DeleteList(&terrainList); }
void DeleteFlatGroundDisplayList() { DeleteList(&flatGroundList); }
void DeleteEarthDisplayList() { DeleteList(&earthList); }

void SetupViewport3D()
{
    PlanSettings* settings = ActiveSettings();
    if (!renderWindow || !settings)
        return;
    // The fields of view the commands chose (walk 45 and fly 38 unless changed).
    fieldOfView = settings->cameraMode == kFlyCamera ? flyFieldOfView : walkFieldOfView;
    DeleteSkyDisplayList();
    DeleteFlatGroundDisplayList();
    DeleteSceneDisplayList();
    DeleteProjectionDisplayList();
    DeleteTerrainDisplayList();
    DeleteEarthDisplayList();
    RECT client = {0, 0, 0, 0};
    GetClientRect(renderWindow, &client);
    viewportWidth = client.right > 0 ? client.right : 0;
    viewportHeight = client.bottom > 1 ? client.bottom : 1;
    glViewport(0, 0, viewportWidth, viewportHeight);
    viewAspect = (float)viewportWidth / (float)viewportHeight;
    if (IsWireframeMode(settings))
        ClearColourOf(settings->backgroundColour);
    else if (ViewQualityLevel(settings) > 9)
        ClearColourOf(settings->skyColour);
    else
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glShadeModel(GL_FLAT);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DITHER);
    ApplyViewProjection();
    BuildSecondaryPolygonList();
}

void DrawScene3D(PlanSettings* settings)
{
    if (!settings)
        return;
    const uint16_t quality = ViewQualityLevel(settings);
    const bool wireframe = IsWireframeMode(settings);
    if (quality < 10 && !wireframe)
        glClear(GL_DEPTH_BUFFER_BIT);
    else
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClear(GL_STENCIL_BUFFER_BIT);
    runningStencilValue = 2;
    if (quality < 10 && !wireframe && !pickingActive)
        DrawSkyBackgroundList();
    CallOrCompile(&projectionList, ApplyViewProjection);
    ApplyViewCamera(settings);
    if (pickingActive)
        LoadPickName(kGroundPickName);
    // A pick's names are colours: nothing may blend them.
    const bool transparent = settings->view3DFlag1490 != 0 && !pickingActive;
    if (transparent) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    if (quality == 6 && !pickingActive) {
        DrawGroundCutOut(settings);
    } else if (wireframe && !pickingActive) {
        DrawWireframeGround(settings);
    } else {
        DrawEarthBlockList();
        DrawTerrainGroundList();
    }
    if (transparent)
        glDisable(GL_BLEND);
}

void SetPolygonDrawMode(ScenePolygon* list)
{
    PlanSettings* settings = ActiveSettings();
    if (!list || !settings)
        return;
    glEnable(GL_DEPTH_TEST);
    const bool transparent = settings->view3DFlag1490 != 0;
    if (transparent) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    if (IsWireframeMode(settings)) {
        const uint8_t alpha = TransparencyAlpha(settings);
        const ColourTriple& line = settings->foregroundColour;
        const ColourTriple& fill = settings->backgroundColour;
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        SendColour(line, alpha);
        CompileSceneDisplayList(list);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(1.0f, 1.0f);
        auto blend = [](uint16_t a, uint16_t b) { return (uint16_t)(a + (b - a) * 0.87); };
        SendColour({blend(line.red, fill.red), blend(line.green, fill.green),
                    blend(line.blue, fill.blue)},
                   alpha);
        CompileSceneDisplayList(list);
        glDisable(GL_POLYGON_OFFSET_FILL);
    } else {
        CompileSceneDisplayList(list);
    }
    if (transparent)
        glDisable(GL_BLEND);
}

namespace {
RenderSwapHook swapHook = nullptr;
void* swapHookContext = nullptr;
} // namespace

void SetRenderSwapHook(RenderSwapHook hook, void* context)
{
    swapHook = hook;
    swapHookContext = context;
}

std::shared_ptr<ViewFrame> SwapRenderBuffers()
{
    if (!renderWindow)
        return nullptr;
    glFlush();
    if (swapHook)
        swapHook(swapHookContext);
    std::shared_ptr<ViewFrame> shown = ShowDrawnFrame();
    // A frame shown reaches the display through the screen over the window: a swap would
    // only copy it once more to where nothing shows it.
    if (!shown) {
        if (HDC dc = GetDC(renderWindow)) {
            SwapBuffers(dc);
            ReleaseDC(renderWindow, dc);
        }
    }
    return shown;
}

void DrawPolygonListSimple(ScenePolygon* list)
{
    for (ScenePolygon* polygon = list; polygon; polygon = polygon->next) {
        if (polygon->partKind == kPartPlant)
            DrawPlantNodeInteractive(polygon);
        else
            DrawPolygonSimple(polygon);
    }
}

void DrawPolygonSimple(ScenePolygon* polygon)
{
    PlanSettings* settings = ActiveSettings();
    if (!polygon || !settings || !polygon->buildChild)
        return;
    const uint16_t quality = ViewQualityLevel(settings);
    const bool wireframe = IsWireframeMode(settings);
    // The flat-colour modes, the wireframe passes and a pick take the colour the caller set.
    const bool ownColour = !wireframe && !IsFlatColourMode(settings->view3DMode) && !pickingActive;
    PolygonMaterial material = PolygonMaterialOf(polygon);
    uint32_t texture = material.texture;
    if (quality >= 10 || !ownColour || !IsLibraryTextureId(texture))
        texture = 0;
    if (ownColour) {
        ColourTriple colour = texture ? kWhite : PolygonBaseColour(polygon, material);
        float normal[3] = {1.0f, 1.0f, 1.0f};
        if (polygon->outlines)
            memcpy(normal, polygon->outlines->vector, sizeof normal);
        colour = ShadeColourForNormal(colour, normal);
        if (polygon->sourceType == ObjDoor && polygon->childType == ObjLeafPanel) {
            uint16_t rgb[3] = {colour.red, colour.green, colour.blue}, hsv[3];
            RgbToHsv(rgb, hsv);
            hsv[2] = (uint16_t)(hsv[2] * 0.9);
            HsvToRgb(hsv, rgb);
            colour = {rgb[0], rgb[1], rgb[2]};
        }
        SendColour(colour, TransparencyAlpha(settings));
    }
    if (texture) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
        ApplyQualityTextureModes(quality);
    }
    DrawOutlines(polygon, material, texture != 0, wireframe);
    if (texture)
        glDisable(GL_TEXTURE_2D);
}

void DrawPlantNodeInteractive(ScenePolygon* polygon)
{
    PlanSettings* settings = ActiveSettings();
    double corners[4][3];
    if (!ComputePlantBillboardCorners(polygon, settings, corners))
        return;
    const uint32_t id = polygon->textureA;
    if (!glIsTexture(id) && !UploadPlantTexture(id, id, 255, false))
        return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    SendColour(kWhite, TransparencyAlpha(settings));
    static const float kCornerTexture[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(kCornerTexture[i][0], kCornerTexture[i][1]);
        glVertex3d(corners[i][0], corners[i][1], corners[i][2]);
    }
    glEnd();
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
}

void DrawImagePanelNodeInteractive(ScenePolygon* polygon)
{
    PlanSettings* settings = ActiveSettings();
    if (!polygon || !settings || !polygon->buildChild)
        return;
    const uint16_t quality = ViewQualityLevel(settings);
    PolygonMaterial material = PolygonMaterialOf(polygon);
    uint32_t id = material.texture;
    if (pickingActive && IsLibraryTextureId(id) && !glIsTexture(id))
        UploadImagePanel(polygon, id);
    const bool textured = quality < 10 && !IsWireframeMode(settings) &&
                          !IsFlatColourMode(settings->view3DMode) && IsLibraryTextureId(id);
    if (textured) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, id);
        ApplyQualityTextureModes(quality);
        SendColour(kWhite, TransparencyAlpha(settings));
    }
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    DrawOutlines(polygon, material, textured, false);
    glDisable(GL_ALPHA_TEST);
    if (textured)
        glDisable(GL_TEXTURE_2D);
}

void DrawSkyBackgroundList()
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return;
    CallOrCompile(&skyList, [settings] {
        const float w = (float)viewportWidth, h = (float)viewportHeight;
        skyHalfWidth = 100.0f;
        skyHalfHeight = 100.0f;
        if (h > w)
            skyHalfWidth = w > 0.0f ? 100.0f * h / w : 100.0f;
        else if (w > h)
            skyHalfHeight = 100.0f * w / h;
        const uint32_t id = settings->backgroundTextureId;
        skyTextured = IsLibraryTextureId(id);
        skyColour = skyTextured ? kWhite : settings->skyColour;
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-100.0, 100.0, -100.0, 100.0, -100.0, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        if (skyTextured) {
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, id);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        } else {
            glDisable(GL_TEXTURE_2D);
        }
    });
    // The quad follows the camera's sky offsets, so it is drawn afresh every frame.
    SendColour(skyColour, 255);
    const float x = skyHalfWidth, y = skyHalfHeight;
    glBegin(GL_QUADS);
    glTexCoord2f(skyTextureU[0], 1.0f);
    glVertex2f(-x, y);
    glTexCoord2f(skyTextureU[1], 1.0f);
    glVertex2f(x, y);
    glTexCoord2f(skyTextureU[2], 0.0f);
    glVertex2f(x, -y);
    glTexCoord2f(skyTextureU[3], 0.0f);
    glVertex2f(-x, -y);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
}

void DrawTerrainGroundList()
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return;
    if (PlanHasTerrainObjects() && GridUsable() && ViewQualityLevel(settings) < 9)
        CallOrCompile(&terrainList, [settings] { DrawTerrainCells(settings); });
    else if (settings->view3DMode != 4)
        DrawFlatGroundList();
}

void DrawFlatGroundList()
{
    PlanSettings* settings = ActiveSettings();
    if (settings)
        CallOrCompile(&flatGroundList, [settings] { DrawFlatGroundQuad(settings); });
}

void DrawEarthBlockList()
{
    PlanSettings* settings = ActiveSettings();
    if (settings && !IsFlatColourMode(settings->view3DMode))
        CallOrCompile(&earthList, [settings] { DrawEarthBlock(settings); });
}

void DrawSceneOnePass()
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return;
    if (settings->antiAliasPasses == 0)
        settings->antiAliasPasses = 8;
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_APPSTARTING));
    ClearStatusBar();
    SetupViewport3D();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    CallOrCompile(&sceneDisplayList, [] { DrawPolygonListSimple(sceneMeshes); });
    SwapRenderBuffers();
    ResetStatusProgress();
    SetCursor(previous);
}
