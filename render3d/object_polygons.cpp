#include "render3d/object_polygons.h"
#include "model3d/rebuild_driver.h"
#include "model3d/rebuild_wait_cursor.h"
#include "model3d/scene_polygons.h"
#include "render3d/ground_height_grid.h"
#include "render3d/interactive_view.h"
#include "render3d/scene_upkeep.h"
#include <windows.h>

void RemoveObjectPolygons(PlanObject* object)
{
    // A terrain object taken off the plan (deleted, its creation undone) takes its ground.
    if (IsTerrainObject(object))
        ForgetTerrainAnswer();
    if (!object || !sceneMeshes)
        return;
    // Only polygons taken out change the scene: the plan's drawing makes and frees
    // objects of its own by the hundred, and the view must not draw anew for them.
    if (FreeOwnedScenePolygons(object)) {
        NoteSceneChange();
        DeleteSceneDisplayList();
    }
}

void RebuildObject3D(PlanObject* object)
{
    if (!SceneBuildAllowed() || !object || WholeRebuildPending())
        return;
    ShowWaitCursorForWalk();
    RebuildWaitCursor wait;
    RemoveObjectPolygons(object);
    BuildObject3D(object);
}
