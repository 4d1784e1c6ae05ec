#include "render3d/scene_upkeep.h"
#include "model3d/object_faces.h"
#include "model3d/rebuild_driver.h"
#include "model3d/scene_polygons.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "render3d/interactive_view.h"
#include "render3d/render_window.h"
#include "render3d/selvith_window.h"
#include <math.h>

float skyTextureU[4] = {0.0f, 1.0f, 1.0f, 0.0f};

namespace {
constexpr uint16_t kFlyCamera = 2;
}

void FreeScenePolygons()
{
    if (!sceneMeshes && !secondaryMeshes)
        return;
    DeleteSceneDisplayList();
    FreeSceneMeshes();
    FreeSceneNodeList(secondaryMeshes);
    secondaryMeshes = nullptr;
    secondaryMeshesTail = nullptr;
}

void FollowActivePlanIn3D()
{
    if (!selvithWindow)
        return;
    // The other plan's polygons point into its objects: they go even while hidden.
    FreeScenePolygons();
    UpdateSkyForCamera(0.0f, 0.0f, 0.0f);
    RebuildAll3D();
    RedrawRenderWindow();
}

int RedrawRenderWindow()
{
    if (renderWindow)
        RedrawWindow(renderWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return 1;
}

void GrowPlantNodes(float years)
{
    ++sceneGeneration;
    for (ScenePolygon* polygon = sceneMeshes; polygon; polygon = polygon->next) {
        PlanObject* plant = polygon->buildOwner;
        if (polygon->partKind != kPartPlant || !plant)
            continue;
        plant->plantAge += years;
        if (plant->plantAge < 1.0f)
            plant->plantAge = 1.0f;
        ComputePlantBillboard(plant, &polygon->billboardHalfWidth, &polygon->billboardHeight);
    }
}

void UpdateSkyForCamera(float, float, float)
{
    if (activeDocument && activeDocument->settings && skyFollowsCamera)
        UpdateSkyTextureOffsets(activeDocument->settings);
}

void IgnoreCameraChange(float, float, float) {}

void UpdateSkyTextureOffsets(const PlanSettings* settings)
{
    if (!settings)
        return;
    const bool fly = settings->cameraMode == kFlyCamera;
    float h = (fly ? settings->aerialYaw : settings->cameraHeading) / -90.0f;
    float right = fly ? h - 1.0f : h + 1.0f;
    skyTextureU[0] = h;
    skyTextureU[1] = right;
    skyTextureU[2] = right;
    skyTextureU[3] = h;
}
