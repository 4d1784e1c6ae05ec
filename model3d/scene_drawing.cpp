#include "model3d/scene_drawing.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model3d/kept_scene_runs.h"
#include "model3d/scene_polygons.h"
#include "planview/input_gdi.h"
#include "render3d/high_quality_render.h"
#include "render3d/image_shadow_utilities.h"
#include "render3d/interactive_view.h"
#include "render3d/kept_polygons.h"
#include "render3d/shaded_polygons.h"
#include "shell/status_bar.h"
#include <windows.h>
#include <GL/gl.h>
#include <functional>
#include <math.h>

int32_t runningStencilValue = 2;
long renderPolygonCount = 0;
long renderDoneCount = 0;

namespace {

constexpr int32_t kFirstStencilValue = 2;
constexpr int32_t kLastStencilValue = 255;

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

// Walks every polygon of the list with its name, its parts after it with theirs.
void ForEachNamed(ScenePolygon* first, const std::function<void(ScenePolygon*, uint32_t)>& visit)
{
    uint32_t name = kFirstPolygonName;
    for (ScenePolygon* polygon = first; polygon; polygon = polygon->next) {
        visit(polygon, name++);
        for (ScenePolygon* part = polygon->parts; part; part = part->next)
            ++name;
    }
}

void LoadName(uint32_t name)
{
    if (pickingActive)
        LoadPickName(name);
}

// The polygon, then its parts, each under its own name.
void DrawWithParts(ScenePolygon* polygon, uint32_t name)
{
    LoadName(name);
    DrawPolygonSimple(polygon);
    for (ScenePolygon* part = polygon->parts; part; part = part->next) {
        LoadName(++name);
        DrawPolygonSimple(part);
    }
}

void CompileScene(ScenePolygon* first, const PlanSettings* settings)
{
    int floorHoles = 0;
    ForEachNamed(first, [&](ScenePolygon* polygon, uint32_t name) {
        if (polygon->partKind == kPartPlant || polygon->partKind == kPartImagePanel ||
            IsFloorLikeSource(polygon->sourceType))
            return;
        if (IsFloorHoleSource(polygon->sourceType)) {
            ++floorHoles;
            return;
        }
        if (!polygon->openings) {
            DrawWithParts(polygon, name);
            return;
        }
        LoadName(name);
        BeginStencilHoles(runningStencilValue);
        for (ScenePolygon* hole = polygon->openings; hole; hole = hole->next)
            DrawPolygonSimple(hole);
        BeginOutsideStencilHoles(runningStencilValue, !pickingActive);
        DrawWithParts(polygon, name);
        glDisable(GL_STENCIL_TEST);
        AdvanceRunningStencilValue();
    });
    if (floorHoles) {
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glDepthMask(GL_FALSE);
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_ALWAYS, runningStencilValue, 0xFFFF);
        glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
        bool fromAbove = false;
        for (ScenePolygon* polygon = first; polygon; polygon = polygon->next) {
            if (!IsFloorHoleSource(polygon->sourceType))
                continue;
            bool above = FloorHoleSeenFromAbove(polygon, settings, &fromAbove);
            if (above == (polygon->sourceType == ObjFloorOpening))
                DrawPolygonSimple(polygon);
        }
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glDepthMask(GL_TRUE);
        glStencilFunc(GL_NOTEQUAL, runningStencilValue, 0xFFFF);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    }
    ForEachNamed(first, [](ScenePolygon* polygon, uint32_t name) {
        if (polygon->partKind != kPartPlant && polygon->partKind != kPartImagePanel &&
            IsFloorLikeSource(polygon->sourceType)) {
            LoadName(name);
            DrawPolygonSimple(polygon);
        }
    });
    if (floorHoles) {
        glDisable(GL_STENCIL_TEST);
        AdvanceRunningStencilValue();
    }
}

void DrawRenderPolygon(ScenePolygon* polygon)
{
    if (shadowPassActive)
        DrawShadowPolygon(polygon);
    else
        DrawTexturedPolygon(polygon);
}

// When the buttons were last read, on the input clock; whether they have been read
// since the walk began.
DWORD lastButtonRead = 0;
bool buttonsRead = false;

} // namespace

bool IsFloorLikeSource(int16_t sourceType)
{
    return sourceType == ObjFloorSlab || sourceType == kSceneFloorUnderWalls ||
           sourceType == kSceneCeilingUnderWalls || sourceType == kSceneSlabUnderside;
}

bool IsFloorHoleSource(int16_t sourceType)
{
    return sourceType == ObjFloorOpening || sourceType == kSceneFloorOpeningHole;
}

bool FloorHoleSeenFromAbove(const ScenePolygon* polygon, const PlanSettings* settings, bool* previous)
{
    if (settings->cameraMode == 2)
        *previous = true;
    else if (polygon->outlines && polygon->outlines->vertices && polygon->outlines->vertexCount > 0)
        *previous = -polygon->outlines->vertices[0].y < walkEyeHeight;
    return *previous;
}

bool RenderInterrupted()
{
    if (!sceneChanged && StopButtonPolled()) {
        renderAborted = 1;
        return true;
    }
    return false;
}

void BeginStencilHoles(int32_t value)
{
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, value, 0xFFFF);
    glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
}

void BeginOutsideStencilHoles(int32_t value, bool dither)
{
    glShadeModel(GL_SMOOTH);
    if (dither)
        glEnable(GL_DITHER);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilFunc(GL_NOTEQUAL, value, 0xFFFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
}

void BeginFloorHoles()
{
    glClear(GL_STENCIL_BUFFER_BIT);
    runningStencilValue = 2;
    BeginStencilHoles(1);
}

void BeginFloorsOutsideHoles()
{
    BeginOutsideStencilHoles(1, true);
}

void RestartButtonPolling()
{
    buttonsRead = false;
}

bool StopButtonPolled()
{
    const DWORD now = GetInputTickCount();
    if (buttonsRead && now - lastButtonRead < kButtonPollInterval)
        return false;
    buttonsRead = true;
    lastButtonRead = now;
    return IsMouseButtonDown();
}

void DrawSceneNodes(ScenePolygon* first)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return;
    // A colour pass of filled polygons draws what is kept of the scene.
    if (drawKeptPolygons && first == sceneMeshes && !shadowPassActive && !pickingActive &&
        PolygonsFilled()) {
        DrawKeptSceneNodes(settings);
        return;
    }
    RestartButtonPolling();
    if (firstRenderPass)
        renderPolygonCount = 0;
    for (ScenePolygon* polygon = first; polygon; polygon = polygon->next) {
        if (RenderInterrupted())
            return;
        if (firstRenderPass) {
            ++renderPolygonCount;
        } else if (finalRenderRequested) {
            ++renderDoneCount;
            DrawRenderProgressBar(renderDoneCount, renderPolygonCount);
        }
        if (polygon->partKind == kPartPlant) {
            if (shadowPassActive)
                DrawPlantShadow(polygon);
            else
                DrawPlantNode(polygon);
        } else if (polygon->partKind == kPartImagePanel) {
            if (shadowPassActive)
                DrawImagePanelShadow(polygon);
            else
                DrawImagePanelNode(polygon);
        } else if (IsFloorLikeSource(polygon->sourceType) || IsFloorHoleSource(polygon->sourceType)) {
            continue;
        } else if (shadowPassActive) {
            if (polygon->openings)
                MaskShadowOpenings(polygon);
            DrawShadowPolygon(polygon);
        } else if (polygon->openings) {
            BeginStencilHoles(runningStencilValue);
            for (ScenePolygon* hole = polygon->openings; hole; hole = hole->next)
                DrawTexturedPolygon(hole);
            BeginOutsideStencilHoles(runningStencilValue, true);
            DrawTexturedPolygon(polygon);
            for (ScenePolygon* part = polygon->parts; part; part = part->next)
                DrawTexturedPolygon(part);
            glDisable(GL_STENCIL_TEST);
            AdvanceRunningStencilValue();
        } else {
            DrawTexturedPolygon(polygon);
            for (ScenePolygon* part = polygon->parts; part; part = part->next)
                DrawTexturedPolygon(part);
        }
        if (!finalRenderRequested)
            ShowRenderingProgress();
    }

    // The floor holes go into the stencil.
    BeginFloorHoles();
    bool fromAbove = false;
    for (ScenePolygon* polygon = first; polygon; polygon = polygon->next) {
        if (RenderInterrupted())
            break;
        if (!IsFloorHoleSource(polygon->sourceType))
            continue;
        if (FloorHoleSeenFromAbove(polygon, settings, &fromAbove) == (polygon->sourceType == ObjFloorOpening))
            DrawRenderPolygon(polygon);
        ShowRenderingProgress();
    }
    BeginFloorsOutsideHoles();

    // The floors, where no hole was drawn.
    if (!renderAborted) {
        for (ScenePolygon* polygon = first; polygon; polygon = polygon->next) {
            if (RenderInterrupted())
                break;
            if (IsFloorLikeSource(polygon->sourceType) && polygon->partKind != kPartPlant &&
                polygon->partKind != kPartImagePanel)
                DrawRenderPolygon(polygon);
        }
    }
    glDisable(GL_STENCIL_TEST);
    sceneChanged = 0;
}

void ComputeFrustumFromFieldOfView(double fovY, double aspect, double nearPlane, double farPlane,
                                   double pixelDx, double pixelDy, double eyeDx, double eyeDy,
                                   double focus)
{
    const double half = fovY * M_PI / 180.0 / 2.0;
    const double top = nearPlane / (cos(half) / sin(half));
    const double right = top * aspect;
    SetJitteredFrustum(-right, right, -top, top, nearPlane, farPlane, pixelDx, pixelDy, eyeDx, eyeDy,
                       focus);
}

void SetJitteredFrustum(double left, double right, double bottom, double top, double nearPlane,
                        double farPlane, double pixelDx, double pixelDy, double eyeDx, double eyeDy,
                        double focus)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const double width = viewport[2] > 0 ? viewport[2] : 1;
    const double height = viewport[3] > 0 ? viewport[3] : 1;
    const double dx = -(pixelDx * (right - left) / width + eyeDx * nearPlane / focus);
    const double dy = -(pixelDy * (top - bottom) / height + eyeDy * nearPlane / focus);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(left + dx, right + dx, bottom + dy, top + dy, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslated(-eyeDx, -eyeDy, 0.0);
    SetupRenderCamera(1.0, 1.0, 1.0, 1.0, 1.0);
}

void AdvanceRunningStencilValue()
{
    if (++runningStencilValue > kLastStencilValue) {
        glClear(GL_STENCIL_BUFFER_BIT);
        runningStencilValue = kFirstStencilValue;
    }
}

void CompileSceneDisplayList(ScenePolygon* first)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings || !first)
        return;
    if (sceneDisplayList) {
        glCallList(sceneDisplayList);
    } else {
        sceneDisplayList = glGenLists(1);
        if (sceneDisplayList) {
            glNewList(sceneDisplayList, GL_COMPILE_AND_EXECUTE);
            CompileScene(first, settings);
            glEndList();
        }
    }
    if (pickingActive)
        return;
    for (ScenePolygon* polygon = first; polygon; polygon = polygon->next) {
        if (polygon->partKind == kPartPlant)
            DrawPlantNodeInteractive(polygon);
        else if (polygon->partKind == kPartImagePanel)
            DrawImagePanelNodeInteractive(polygon);
    }
}

ScenePolygon* FindScenePolygonByName(uint32_t name)
{
    uint32_t next = kFirstPolygonName;
    for (ScenePolygon* polygon = sceneMeshes; polygon; polygon = polygon->next) {
        if (next++ == name)
            return polygon;
        for (ScenePolygon* part = polygon->parts; part; part = part->next)
            if (next++ == name)
                return part;
    }
    return nullptr;
}
