#include "tools/window_tool.h"
#include "dialogs/door_window_dialogs.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "openings3d/opening_models.h"
#include "palette/tool_popups.h"
#include "planview/plan_redraw.h"
#include "render3d/object_polygons.h"
#include "shell/camera_presets.h"
#include "tools/door_tool.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"

namespace {

const uint16_t kWindowTypeCode = 17;

const char kWindowNoSectionTop[] = "Cliccare e trascinare su una sezione di muro per inserire questa finestra.";
const char kWindowNoSectionSide[] = "Please click-and-drag on the bottom base of a wall section to place this window.";
const char kWindowSpanTooShort[] =
    "La sezione del muro non è abbastanza ampia per questa finestra. Cliccare e trascinare su una "
    "sezione più ampia del muro per inserire questa finestra.";

}  // namespace

void PlaceWindowOnWall(int16_t event, const PlanMouseState* hit, uint16_t, const float* parameters)
{
    PlanSettings* settings = activeDocument ? activeDocument->settings : nullptr;
    if (event != kToolPress || !settings)
        return;
    if (!PressOnWallSection(hit)) {
        ShowOpeningNotice(GetCameraPresetCommand() == ViewTop ? kWindowNoSectionTop : kWindowNoSectionSide);
        return;
    }
    // Anything but a wall, or a view other than the plan, is silently passed over.
    if (hit->object->type != ObjWall || settings->viewPlane != 2)
        return;
    OpeningRecord* record = nullptr;
    PlanObject* wall = hit->object;
    PlanObject* window = PlaceOpeningOnSection(kWindowTypeCode, hit, parameters, settings->windowColour,
                                               windowTexture, kWindowSpanTooShort, &record);
    if (!window)
        return;
    record->style = settings->windowStyle;
    record->elevation = parameters[2];
    record->hingeSide = windowMirrorHorizontal ? 1 : 0;
    record->flags = windowMirrorVertical ? 1 : 0;
    record->glazingBarsAcross = settings->windowBarsAcross;
    record->glazingBarsDown = settings->windowBarsDown;
    record->casingWidth = settings->windowCasingWidth;
    BuildOpeningModel(window);
    RebuildObject3D(wall);
    InvalidatePlanView();
}

void HandleWindowTool(float x, float, float z, int16_t event)
{
    PlanDocument* document = activeDocument;
    PlanSettings* settings = document ? document->settings : nullptr;
    if (!settings || !document->currentFloor)
        return;
    float elevation = UnitsToPlanLength(settings->windowElevation, settings, 0);
    if (elevation < 0.0f)
        elevation = 0.0f;
    const float parameters[5] = {UnitsToPlanLength(settings->windowWidth, settings, 0),
                                 UnitsToPlanLength(settings->windowHeight, settings, 0), elevation, x, z};
    const PlanMouseState hit = planMouseState;
    PlaceWindowOnWall(event, &hit, hit.modifiers, parameters);
    ReleaseToolCapture();
}
