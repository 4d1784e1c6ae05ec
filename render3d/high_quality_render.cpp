#include "render3d/high_quality_render.h"
#include "model/colour_maths.h"
#include "model/object_extents.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "model3d/scene_drawing.h"
#include "model3d/scene_polygons.h"
#include "render3d/ground_and_earth.h"
#include "render3d/image_shadow_utilities.h"
#include "render3d/interactive_view.h"
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
#include <memory>

unsigned char finalRenderRequested = 0;
uint8_t renderAborted = 0;
uint8_t renderInProgress = 0;
uint8_t firstRenderPass = 0;
uint32_t renderPassNumber = 0;
uint8_t shadowPassActive = 0;
uint8_t groundShadowPass = 0;
ScenePolygon* shadowReceiverNode = nullptr;
float shadowReceiverLevel = 0.0f;
uint32_t presentedRenderFrames = 0;
uint32_t keptFramesShown = 0;
uint8_t renderCaptureRequested = 0;
CapturedRender capturedRender = {0, 0, nullptr};

namespace {

constexpr uint16_t kFlyCamera = 2;
constexpr uint16_t kWireframeMode = 6;
constexpr double kNear = 1.0;
constexpr double kFar = 40000.0;
constexpr double kDegrees = 0.017453292;

// The jitter tables of the OpenGL Programming Guide: sub-pixel offsets, x then y.
const float kJitter4[4][2] = {
    {-0.208147f, 0.353730f}, {0.203849f, -0.353780f}, {-0.292626f, -0.149945f}, {0.296924f, 0.149994f}};
const float kJitter8[8][2] = {
    {-0.334818f, 0.435331f}, {0.286438f, -0.393495f}, {0.459462f, 0.141540f},  {-0.414498f, -0.192829f},
    {-0.183790f, 0.082102f}, {-0.079263f, -0.317383f}, {0.102254f, 0.299133f}, {0.164216f, -0.054399f}};
const float kJitter15[15][2] = {
    {0.285561f, 0.188437f},   {0.360176f, -0.065688f},  {-0.111751f, 0.275019f}, {-0.055918f, -0.215197f},
    {-0.080231f, -0.470965f}, {0.138721f, 0.409168f},   {0.384120f, 0.458500f},  {-0.454968f, 0.134088f},
    {0.179271f, -0.331196f},  {-0.307049f, -0.364927f}, {0.105354f, -0.010099f}, {-0.154180f, 0.021794f},
    {-0.370135f, -0.116425f}, {0.451636f, -0.300013f},  {-0.370610f, 0.387504f}};
const float kJitter24[24][2] = {
    {0.030245f, 0.136384f},   {0.018865f, -0.348867f},  {-0.350114f, -0.472309f}, {0.222181f, 0.149524f},
    {-0.393670f, -0.266873f}, {0.404568f, 0.230436f},   {0.098381f, 0.465337f},   {0.462671f, 0.442116f},
    {0.400373f, -0.212720f},  {-0.409988f, 0.263345f},  {-0.115878f, -0.001981f}, {0.348425f, -0.009237f},
    {-0.464016f, 0.066467f},  {-0.138674f, -0.468006f}, {0.144932f, -0.022780f},  {-0.250195f, 0.150161f},
    {-0.181400f, -0.264219f}, {0.196097f, -0.234139f},  {-0.311082f, -0.078815f}, {0.268379f, 0.366778f},
    {-0.040601f, 0.327109f},  {-0.234392f, 0.354659f},  {-0.003102f, -0.154402f}, {0.297997f, -0.417965f}};

// The child types that cast no shadow (floors, paths, fills and the like).
bool CastsNoShadow(uint16_t childType)
{
    switch (childType) {
    case 13: case 21: case 23: case 26: case 27: case 34: case 36: case 41: case 46: case 47:
    case 48: case 49: case 50: case 127:
        return true;
    }
    return false;
}

bool IsShadowReceiver(uint16_t childType)
{
    switch (childType) {
    case 13: case 23: case 26: case 27: case 36: case 49: case 50:
        return true;
    }
    return false;
}

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

bool IsParallelView(const PlanSettings* settings)
{
    return settings->orthographic3D >= 1 && settings->orthographic3D <= 4;
}

uint16_t RoundChannel(double value)
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

// The client size of the render window, a height of 0 taken as 1.
void RenderClientSize(int* width, int* height)
{
    RECT client = {0, 0, 0, 0};
    if (renderWindow)
        GetClientRect(renderWindow, &client);
    *width = client.right > 0 ? client.right : 0;
    *height = client.bottom > 0 ? client.bottom : 1;
}

// The site's extents for a parallel view: the render extents of every storey, or, for a
// plan with nothing to measure, the settings' plan extents (a view of no width would fail).
void ParallelExtents(const PlanSettings* settings, float* box)
{
    const float empty[6] = {32000.0f, 32000.0f, 32000.0f, -32000.0f, -32000.0f, -32000.0f};
    for (int k = 0; k < 6; ++k)
        box[k] = empty[k];
    GetAllFloorsRenderExtents3D(activeDocument->firstFloor, 0, box, 0);
    if (box[1] > box[4] || box[2] > box[5]) {
        box[0] = box[3] = 0.0f;
        box[1] = settings->extentLeft;
        box[4] = settings->extentRight;
        box[2] = settings->extentTop;
        box[5] = settings->extentBottom;
    }
}

// The orthographic projection of a parallel view from side 1 to 4 and its rotation,
// moved by the jitter (pixels) when jittered.
void ApplyParallelProjection(const PlanSettings* settings, bool jittered, double jitterX, double jitterY)
{
    float box[6];
    ParallelExtents(settings, box);
    const float minX = box[1], minZ = box[2], maxX = box[4], maxZ = box[5];
    float low, high;
    switch (settings->orthographic3D) {
    case 1: low = minX; high = maxX; break;
    case 2: low = minZ; high = maxZ; break;
    case 3: low = -maxX; high = -minX; break;
    default: low = -maxZ; high = -minZ; break;
    }
    if (high - low < 1.0f) {
        low -= 0.5f;
        high += 0.5f;
    }
    int width, height;
    RenderClientSize(&width, &height);
    const double halfWidth = fabs(high - low) / 2.0;
    const double halfHeight = width > 0 ? (double)height / width * halfWidth : halfWidth;
    const double offset = -fabs(box[3] - box[0]) / 2.0;
    double dx = 0.0, dy = 0.0;
    if (jittered) {
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        const double vw = viewport[2] > 0 ? viewport[2] : 1, vh = viewport[3] > 0 ? viewport[3] : 1;
        const double top = 3.0 * vw * tan(fieldOfView * kDegrees / 2.0);
        const double right = top * (vw / vh);
        dx = -(jitterX * 2.0 * right / vw);
        dy = -(jitterY * 2.0 * top / vh);
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(low + dx, high + dx, -halfHeight + dy, halfHeight + dy, -30000.0, 30000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    static const float kSideAngles[5] = {0.0f, 0.0f, 270.0f, 180.0f, 90.0f};
    glRotatef(kSideAngles[settings->orthographic3D], 0.0f, -1.0f, 0.0f);
    glTranslated(0.0, offset, 0.0);
}

// The ground drawn twice for view mode 6: lines in mode 2, filled in mode 4 behind them.
void DrawGroundInViewMode(PlanSettings* settings)
{
    if (settings->view3DMode != kWireframeMode) {
        DrawGround();
        return;
    }
    settings->view3DMode = 2;
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    DrawGround();
    settings->view3DMode = 4;
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 1.0f);
    DrawGround();
    glDisable(GL_POLYGON_OFFSET_FILL);
    settings->view3DMode = kWireframeMode;
}

// The ground, left out where copies of the exterior walls lie both in front of and
// behind it (inside the walls), and the earth block.
void DrawGroundWithHoles(PlanSettings* settings)
{
    const bool transparent = settings->view3DFlag1490 != 0;
    if (transparent) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    glEnable(GL_DEPTH_TEST);
    MarkGroundHoles(DrawGround);
    if (settings->view3DMode != kWireframeMode) {
        glDisable(GL_STENCIL_TEST);
        DrawEarthBlock();
        glEnable(GL_STENCIL_TEST);
    }
    glStencilFunc(GL_GEQUAL, 200, 0xFFFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DITHER);
    DrawGroundInViewMode(settings);
    glClear(GL_STENCIL_BUFFER_BIT);
    glDisable(GL_STENCIL_TEST);
    if (transparent)
        glDisable(GL_BLEND);
}

// The sky in view mode 4 for the wireframe and the parallel views.
void DrawSkyForView(PlanSettings* settings, uint8_t jittered, uint32_t pass)
{
    const uint16_t mode = settings->view3DMode;
    if (mode == kWireframeMode || IsParallelView(settings))
        settings->view3DMode = 4;
    DrawSkyBackdrop(jittered, pass);
    settings->view3DMode = mode;
}

// One pass of the scene with its shadows.
void DrawScenePass(PlanSettings* settings)
{
    const bool transparent = settings->view3DFlag1490 != 0;
    if (transparent) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    if (settings->view3DMode == kWireframeMode) {
        // Lines over fill; no shadows in this mode.
        settings->view3DMode = 2;
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        DrawSceneNodes(sceneMeshes);
        settings->view3DMode = 4;
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(1.0f, 1.0f);
        DrawSceneNodes(sceneMeshes);
        glDisable(GL_POLYGON_OFFSET_FILL);
        settings->view3DMode = kWireframeMode;
    } else {
        const uint8_t changed = sceneChanged;
        DrawSceneNodes(sceneMeshes);
        if (settings->renderQuality && !renderAborted) {
            sceneChanged = changed;
            shadowPassActive = 1;
            groundShadowPass = 1;
            PrepareGroundShadowStencil();
            DrawSceneNodes(sceneMeshes);
            groundShadowPass = 0;
            if ((int16_t)settings->renderValue1506 > 0) {
                for (ScenePolygon* node = sceneMeshes; node && !renderAborted; node = node->next) {
                    if (!IsShadowReceiver(node->childType))
                        continue;
                    shadowReceiverNode = node;
                    PrepareSurfaceShadowStencil(node);
                    DrawSceneNodes(sceneMeshes);
                    shadowReceiverNode = nullptr;
                }
            }
            shadowPassActive = 0;
        }
    }
    if (transparent)
        glDisable(GL_BLEND);
}

// What a frame was drawn from. A paint that finds the same again shows the kept frame
// instead of drawing the scene anew: the plan pane's every paint invalidates the view
// (the side cameras, a plan window's activation and any plan edit paint both), and
// such a second paint of the same picture would cost a whole render.
struct FrameSource {
    const PlanDocument* document;
    uint32_t scene;
    int width, height;
    float eyeHeight, distance, walkField, flyField;
    float sky[4];
    uint8_t settings[sizeof(PlanSettings)];
};

FrameSource keptSource;
std::shared_ptr<ViewFrame> keptFrame;   // null when none is kept

void DescribeFrame(FrameSource* source)
{
    memset(source, 0, sizeof *source);
    source->document = activeDocument;
    source->scene = sceneGeneration;
    RenderClientSize(&source->width, &source->height);
    source->eyeHeight = walkEyeHeight;
    source->distance = orbitDistance;
    source->walkField = walkFieldOfView;
    source->flyField = flyFieldOfView;
    memcpy(source->sky, skyTextureU, sizeof source->sky);
    if (const PlanSettings* settings = ActiveSettings()) {
        // Every edit marks the plan modified, which the picture does not show.
        PlanSettings drawn = *settings;
        drawn.modified = 0;
        memcpy(source->settings, &drawn, sizeof source->settings);
    }
}

// The frame as a BMP holds it: 24-bit rows bottom up, each padded to 4 bytes.
void CaptureFrame(const ViewFrame& frame)
{
    const size_t row = ((size_t)frame.width * 3 + 3) & ~(size_t)3;
    capturedRender.pixels = static_cast<uint8_t*>(calloc(row * (size_t)frame.height, 1));
    if (!capturedRender.pixels)
        return;
    capturedRender.width = frame.width;
    capturedRender.height = frame.height;
    const uint8_t* from = frame.pixels.data();
    for (int32_t y = 0; y < frame.height; ++y) {
        uint8_t* to = capturedRender.pixels + row * (size_t)y;
        for (int32_t x = 0; x < frame.width; ++x, from += 4, to += 3)
            memcpy(to, from, 3);
    }
}

} // namespace

void FreeCapturedRender()
{
    free(capturedRender.pixels);
    capturedRender = {0, 0, nullptr};
}

const float (*JitterTable(uint32_t passes, uint32_t* count))[2]
{
    switch (passes) {
    case 4: *count = 4; return kJitter4;
    case 15: *count = 15; return kJitter15;
    case 24: *count = 24; return kJitter24;
    }
    // The 8-entry table for 8 and for any count the program does not store.
    *count = 8;
    return kJitter8;
}

void RedrawFinalRender()
{
    // A view minimised or hidden is not painted: the paint that shows it again draws it.
    if (!RenderViewShown()) {
        OweFinalRender();
        return;
    }
    finalRenderRequested = 1;
    RedrawRenderWindow();
    finalRenderRequested = 0;
}

void RenderHighQuality()
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return;
    if (settings->antiAliasPasses == 0)
        settings->antiAliasPasses = 8;
    const bool final = finalRenderRequested != 0;
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_APPSTARTING));
    renderAborted = 0;
    renderPassNumber = 0;
    renderDoneCount = 0;
    ClearStatusBar();
    if (!final)
        ResetStatusProgress();
    renderInProgress = 1;
    PrepareRenderFrame();
    if (final) {
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        glClear(GL_ACCUM_BUFFER_BIT);
        uint32_t count = 8;
        const float (*jitter)[2] = JitterTable(settings->antiAliasPasses, &count);
        const double aspect = (double)viewport[2] / (viewport[3] > 0 ? viewport[3] : 1);
        for (uint32_t pass = 0; pass < count && !renderAborted; ++pass) {
            renderPassNumber = pass + 1;
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glClear(GL_STENCIL_BUFFER_BIT);
            runningStencilValue = 2;
            DrawSkyForView(settings, 1, pass);
            if (IsParallelView(settings))
                SetupRenderCamera(fieldOfView, aspect, jitter[pass][0], jitter[pass][1], 1.0);
            else
                ComputeFrustumFromFieldOfView(fieldOfView, aspect, kNear, kFar, jitter[pass][0],
                                              jitter[pass][1], 0.0, 0.0, 1.0);
            firstRenderPass = pass == 0;
            DrawScenePass(settings);
            firstRenderPass = 0;
            glAccum(GL_ACCUM, 1.0f / (float)count);
        }
        if (!renderAborted)
            glAccum(GL_RETURN, 1.0f);
    } else {
        DrawScenePass(settings);
    }
    PresentRenderFrame();
    renderPassNumber = 0;
    renderInProgress = 0;
    if (!renderAborted) {
        ResetStatusProgress();
        ShowStatusHelp(StatusDefaultId);
    } else {
        glFlush();
        ResetStatusProgress();
        SetStatusText("Rendering interrotto");
        renderAborted = 0;
    }
    SetCursor(previous);
}

void PrepareRenderFrame()
{
    PlanSettings* settings = ActiveSettings();
    if (!renderWindow || !settings)
        return;
    // The fields of view the commands chose.
    fieldOfView = settings->cameraMode == kFlyCamera ? flyFieldOfView : walkFieldOfView;
    int width, height;
    RenderClientSize(&width, &height);
    glViewport(0, 0, width, height);
    viewAspect = (float)width / (float)height;
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    if (finalRenderRequested)
        glClearAccum(0.0f, 0.0f, 0.0f, 0.0f);
    glShadeModel(GL_SMOOTH);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DITHER);
    if (!finalRenderRequested)
        DrawSkyForView(settings, 0, 0);
    const bool parallel = IsParallelView(settings);
    if (!parallel) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(fieldOfView, viewAspect, kNear, kFar);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_DEPTH_TEST);
        ApplyViewCamera(settings);
        const float plane[3][3] = {{100, 2, 100}, {100, 2, -100}, {-100, 2, -100}};
        const float light[4] = {settings->lightDirectionX, settings->lightDirectionY,
                                settings->lightDirectionZ, 0.0f};
        ComputeShadowMatrix(plane, light, shadowMatrix);
    } else {
        ApplyParallelProjection(settings, false, 0.0, 0.0);
        if (!(settings->value3D1390 > 0.0f))
            settings->value3D1390 = 1.0f;
        if (settings->value3D1390 != 1.0f)
            glScalef(settings->value3D1390, settings->value3D1390, settings->value3D1390);
    }
    glClear(GL_STENCIL_BUFFER_BIT);
    runningStencilValue = 2;
    if (!parallel) {
        BuildSecondaryPolygonList();
        if (!finalRenderRequested)
            DrawGroundWithHoles(settings);
    }
}

void SetupRenderCamera(double, double, double pixelDx, double pixelDy, double)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return;
    if (IsParallelView(settings)) {
        ApplyParallelProjection(settings, true, pixelDx, pixelDy);
        return;
    }
    ApplyViewCamera(settings);
    if (finalRenderRequested)
        DrawGroundWithHoles(settings);
}

void DrawSkyBackdrop(uint8_t jittered, uint32_t pass)
{
    PlanSettings* settings = ActiveSettings();
    if (!renderWindow || !settings)
        return;
    RECT client = {0, 0, 0, 0};
    GetClientRect(renderWindow, &client);
    float w = (float)client.right, h = (float)client.bottom;
    float halfWidth = 100.0f, halfHeight = 100.0f;
    if (w < h) {
        if (w == 0.0f)
            w = 1.0f;
        halfWidth = h / w * 100.0f;
    } else if (w > h) {
        if (h == 0.0f)
            h = 1.0f;
        halfHeight = w / h * 100.0f;
    }
    const uint16_t mode = settings->view3DMode;
    uint32_t texture = settings->backgroundTextureId;
    if (IsFlatColourMode(mode) || !IsLibraryTextureId(texture))
        texture = 0;
    if (texture && !glIsTexture(texture))
        LoadTextureById((int32_t)texture);
    ColourTriple top, bottom;
    if (texture) {
        top = bottom = {65535, 65535, 65535};
        glEnable(GL_TEXTURE_2D);
        BindShadedTexture(texture);
    } else {
        glDisable(GL_TEXTURE_2D);
        if (IsLineColourMode(mode)) {
            top = bottom = settings->foregroundColour;
        } else if (mode == 4) {
            top = bottom = settings->backgroundColour;
        } else {
            top = settings->skyColour;
            uint16_t rgb[3] = {top.red, top.green, top.blue}, hsv[3];
            RgbToHsv(rgb, hsv);
            hsv[2] = RoundChannel(hsv[2] - settings->drawValue3D / 65535.0 * hsv[2]);
            HsvToRgb(hsv, rgb);
            bottom = {rgb[0], rgb[1], rgb[2]};
        }
    }
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-100.0, 100.0, -100.0, 100.0, -100.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (jittered) {
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        uint32_t count = 8;
        const float (*jitter)[2] = JitterTable(settings->antiAliasPasses, &count);
        const uint32_t at = pass < count ? pass : 0;
        glTranslatef(jitter[at][0] * 200.0f / (viewport[2] > 0 ? viewport[2] : 1),
                     jitter[at][1] * 200.0f / (viewport[3] > 0 ? viewport[3] : 1), 0.0f);
    }
    glBegin(GL_POLYGON);
    SendColour(top, 255);
    glTexCoord2f(skyTextureU[0], 1.0f);
    glVertex3f(-halfWidth, halfHeight, 0.0f);
    glTexCoord2f(skyTextureU[1], 1.0f);
    glVertex3f(halfWidth, halfHeight, 0.0f);
    SendColour(bottom, 255);
    glTexCoord2f(skyTextureU[2], 0.0f);
    glVertex3f(halfWidth, -halfHeight, 0.0f);
    glTexCoord2f(skyTextureU[3], 0.0f);
    glVertex3f(-halfWidth, -halfHeight, 0.0f);
    glEnd();
    glEnable(GL_DEPTH_TEST);
    if (texture)
        glDisable(GL_TEXTURE_2D);
}

bool PresentKeptFrame()
{
    if (!keptFrame || !renderWindow || !ActiveSettings())
        return false;
    FrameSource now;
    DescribeFrame(&now);
    if (memcmp(&now, &keptSource, sizeof now) != 0)
        return false;
    // The screen repaints what it shows by itself: only another frame there is replaced.
    if (ShownViewFrame() != keptFrame)
        ShowViewFrame(keptFrame);
    ++keptFramesShown;
    return true;
}

void ForgetKeptFrame()
{
    keptFrame.reset();
}

void PresentRenderFrame()
{
    if (!renderWindow || renderAborted)
        return;
    if (renderCaptureRequested)
        FreeCapturedRender();
    // An ordinary frame replaces the kept one, whose pixels the screen then reads it into.
    if (!finalRenderRequested)
        ForgetKeptFrame();
    // One read of the frame serves the screen, the export and the kept frame. A frame the
    // screen does not take (a view minimised or being restored, a surface not yet of the
    // client's size) is neither presented, captured nor kept.
    std::shared_ptr<ViewFrame> frame = SwapRenderBuffers();
    if (!frame)
        return;
    ++presentedRenderFrames;
    if (renderCaptureRequested)
        CaptureFrame(*frame);
    // Every paint but the final render is an ordinary repaint: a final frame is not kept
    // for one to show (the ordinary frame kept before it still is).
    if (!finalRenderRequested) {
        DescribeFrame(&keptSource);
        keptFrame = frame;
    }
}

void DrawShadowPolygon(ScenePolygon* node)
{
    PlanSettings* settings = ActiveSettings();
    if (!node || !settings || node == shadowReceiverNode || CastsNoShadow(node->childType))
        return;
    float lowest = 1e30f, highest = -1e30f;
    for (const PolygonOutline* o = node->outlines; o; o = o->next)
        for (int32_t i = 0; i < o->vertexCount; ++i) {
            const float height = -o->vertices[i].y;
            lowest = fminf(lowest, height);
            highest = fmaxf(highest, height);
        }
    if (!(highest >= shadowReceiverLevel + 5.0f))
        return;
    if (groundShadowPass) {
        PlanObject* top = GetTopLevelObject(node->buildOwner);
        if (!top)
            return;
        if (top->type == ObjWall)
            lowest = UnitsToPlanLength(top->elevation, settings, 0);
        // Parts sunk below the receiver cast nothing onto it.
        if (lowest < shadowReceiverLevel - 5.0f)
            return;
    }
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixf(shadowMatrix);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(node->openings ? GL_GREATER : GL_NOTEQUAL, 1, 0xFFFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (const PolygonOutline* o = node->outlines; o; o = o->next) {
        if (!o->vertices || o->vertexCount <= 0)
            continue;
        glBegin(GL_POLYGON);
        for (int32_t i = 0; i < o->vertexCount; ++i) {
            glColor4ub(0, 0, 0, 64);
            glVertex3f(o->vertices[i].x, -o->vertices[i].y, o->vertices[i].z);
        }
        glEnd();
    }
    glPopMatrix();
    if (node->openings) {
        SaveStencilPicture();
        RestoreStencilPicture();
    }
    glDisable(GL_BLEND);
    glDisable(GL_STENCIL_TEST);
}

void MaskShadowOpenings(ScenePolygon* node)
{
    if (!node)
        return;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixf(shadowMatrix);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 0xFFFF, 0xFFFF);
    glStencilOp(GL_INVERT, GL_INVERT, GL_INVERT);
    for (const ScenePolygon* hole = node->openings; hole; hole = hole->next)
        for (const PolygonOutline* o = hole->outlines; o; o = o->next) {
            if (!o->vertices || o->vertexCount <= 0)
                continue;
            glBegin(GL_POLYGON);
            for (int32_t i = 0; i < o->vertexCount; ++i)
                glVertex3f(o->vertices[i].x, -o->vertices[i].y, o->vertices[i].z);
            glEnd();
        }
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glDisable(GL_STENCIL_TEST);
    glPopMatrix();
}
