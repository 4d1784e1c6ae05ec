#include "render3d/scene_upkeep.h"
#include "model3d/object_faces.h"
#include "model3d/rebuild_driver.h"
#include "model3d/scene_polygons.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "render3d/image_shadow_utilities.h"
#include "render3d/interactive_view.h"
#include "render3d/render_window.h"
#include "render3d/selvith_window.h"
#include "render3d/shaded_polygons.h"
#include <math.h>

float skyTextureU[4] = {0.0f, 1.0f, 1.0f, 0.0f};

namespace {

constexpr uint16_t kFlyCamera = 2;

// The plan the scene was last made for, and the scene of the plan shown before it, kept
// while that plan does not change: coming back to it shows it again without building
// every object anew.
const PlanDocument* sceneDocument = nullptr;
const PlanDocument* setAsideDocument = nullptr;
SetAsideScene* setAsideScene = nullptr;

void DropSetAsideScene()
{
    FreeSetAsideScene(setAsideScene);
    setAsideScene = nullptr;
    setAsideDocument = nullptr;
}

} // namespace

void FreeScenePolygons()
{
    if (!sceneMeshes && !secondaryMeshes)
        return;
    DeleteSceneDisplayList();
    FreeSceneMeshes();
    FreeSceneNodeList(secondaryMeshes);
    secondaryMeshes = nullptr;
    secondaryMeshesTail = nullptr;
    ++secondaryListGeneration;
}

void FollowActivePlanIn3D()
{
    if (!selvithWindow)
        return;
    const bool shown = IsWindowVisible(selvithWindow) != FALSE;
    // The scene set aside for the plan now active, unchanged since it was left, is as a
    // rebuild would make it. A hidden view follows no edit: the plan's scene is owed
    // instead.
    SetAsideScene* comingBack = nullptr;
    if (setAsideScene && setAsideDocument == activeDocument) {
        if (shown)
            comingBack = setAsideScene;
        else
            FreeSetAsideScene(setAsideScene);
        setAsideScene = nullptr;
        setAsideDocument = nullptr;
    }
    // The scene of the plan left, complete and shown, is set aside; the other plan's
    // polygons point into its objects: they go even while hidden.
    if (shown && sceneDocument && sceneDocument != activeDocument && !scene3DOutOfDate && sceneMeshes) {
        DropSetAsideScene();
        setAsideScene = SetSceneAside();
        setAsideDocument = sceneDocument;
    }
    FreeScenePolygons();
    UpdateSkyForCamera(0.0f, 0.0f, 0.0f);
    if (comingBack) {
        TakeSceneBack(comingBack);
        ForgetDrawnColour();
        DeleteSceneDisplayList();
        sceneChanged = 1;
    } else {
        RebuildAll3D();
    }
    sceneDocument = activeDocument;
    RedrawRenderWindow();
}

void NoteSceneChange()
{
    if (setAsideScene && setAsideDocument == activeDocument)
        DropSetAsideScene();
}

void NoteWholeSceneBuilt()
{
    sceneDocument = activeDocument;
}

void ForgetSceneOfPlan(const PlanDocument* document)
{
    if (setAsideDocument == document)
        DropSetAsideScene();
    if (sceneDocument == document)
        sceneDocument = nullptr;
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
