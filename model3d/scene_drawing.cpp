#include "model3d/scene_drawing.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model3d/scene_polygons.h"
#include "render3d/interactive_view.h"
#include <windows.h>
#include <GL/gl.h>
#include <functional>

int32_t runningStencilValue = 2;

namespace {

constexpr int32_t kFirstStencilValue = 2;
constexpr int32_t kLastStencilValue = 255;

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

bool IsFloorLike(int16_t sourceType)
{
    return sourceType == ObjFloorSlab || sourceType == kSceneFloorUnderWalls ||
           sourceType == kSceneCeilingUnderWalls || sourceType == kSceneSlabUnderside;
}

bool IsFloorHole(int16_t sourceType)
{
    return sourceType == ObjFloorOpening || sourceType == kSceneFloorOpeningHole;
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
        glLoadName(name);
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

// Whether a floor hole is drawn from the camera's side: from above in the fly view,
// else by the height of its first vertex against the eye; a polygon without vertices
// keeps the previous answer.
bool SeenFromAbove(const ScenePolygon* polygon, const PlanSettings* settings, bool* previous)
{
    if (settings->cameraMode == 2)
        *previous = true;
    else if (polygon->outlines && polygon->outlines->vertices && polygon->outlines->vertexCount > 0)
        *previous = -polygon->outlines->vertices[0].y < walkEyeHeight;
    return *previous;
}

void CompileScene(ScenePolygon* first, const PlanSettings* settings)
{
    int floorHoles = 0;
    ForEachNamed(first, [&](ScenePolygon* polygon, uint32_t name) {
        if (polygon->partKind == kPartPlant || polygon->partKind == kPartImagePanel ||
            IsFloorLike(polygon->sourceType))
            return;
        if (IsFloorHole(polygon->sourceType)) {
            ++floorHoles;
            return;
        }
        if (!polygon->openings) {
            DrawWithParts(polygon, name);
            return;
        }
        LoadName(name);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glDepthMask(GL_FALSE);
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_ALWAYS, runningStencilValue, 0xFFFF);
        glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
        for (ScenePolygon* hole = polygon->openings; hole; hole = hole->next)
            DrawPolygonSimple(hole);
        glShadeModel(GL_SMOOTH);
        glEnable(GL_DITHER);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glDepthMask(GL_TRUE);
        glStencilFunc(GL_NOTEQUAL, runningStencilValue, 0xFFFF);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
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
            if (!IsFloorHole(polygon->sourceType))
                continue;
            bool above = SeenFromAbove(polygon, settings, &fromAbove);
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
            IsFloorLike(polygon->sourceType)) {
            LoadName(name);
            DrawPolygonSimple(polygon);
        }
    });
    if (floorHoles) {
        glDisable(GL_STENCIL_TEST);
        AdvanceRunningStencilValue();
    }
}

} // namespace

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
