#include "dialogs/terrain_camera_dialogs.h"

#include <cmath>
#include <windows.h>

#include "dialogs/dialog_pattern.h"
#include "model/dialog_fields.h"
#include "model/generated_children.h"
#include "model/object_operations.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "render3d/interactive_view.h"
#include "render3d/object_polygons.h"
#include "render3d/scene_upkeep.h"
#include "resources/resource_ids.h"

float objectElevationValue = 0.0f;
int16_t objectElevationState = -1;

namespace {

const char* const kSlopeTooSmall = "L'Angolo di discesa deve essere maggiore di 0 gradi.";
const char* const kSlopeTooLarge = "L'Angolo di discesa non deve superare i 30 gradi.";
const char* const kRoofMoveTooFar =
    "Lo spostamento del tetto supera i limiti del disegno: i tetti non vengono spostati.";
constexpr float kDegreesToRadians = 0.017453292f;
constexpr float kLargestRoofMove = 5000.0f;

float topographyValue;
float roofSectionElevation;
uint16_t roofSectionEdge, roofSectionRadio;

// The procedure of a dialog with one length in field 5: shown at the start; on OK the
// length read is handed to accept, then the dialog ends with 1.
INT_PTR OneLength(HWND dialog, UINT message, WPARAM wParam, float shown,
                  void (*accept)(HWND dialog, PlanSettings* settings, float length))
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        SetDlgItemLength(dialog, 5, shown, s, 1, 0);
        return 0;
    case WM_COMMAND: {
        if (LOWORD(wParam) != IDOK) return EndDialogOnCancel(dialog, wParam);
        float length = 0.0f;
        if (!ReadLengthField(dialog, 5, &length)) return 1;
        accept(dialog, s, length);
        EndDialog(dialog, 1);
        return 1;
    }
    }
    return 0;
}

INT_PTR CALLBACK CustomTopographyDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    return OneLength(dialog, message, wParam, topographyValue / 2.0f,
                     [](HWND, PlanSettings*, float half) { topographyValue = 2.0f * half; });
}

INT_PTR CALLBACK SlopedTopographyDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        SetDlgItemLengthAs(dialog, 5, topographyValue, s, kFormatOneDecimal, 1);
        return 0;
    case WM_COMMAND: {
        if (LOWORD(wParam) != IDOK) return EndDialogOnCancel(dialog, wParam);
        float angle = 0.0f;
        if (!ReadNumberField(dialog, 5, &angle)) return 1;
        if (angle <= 0.0f)
            ShowDialogMessage(dialog, kSlopeTooSmall);
        else if (angle > 30.0f)
            ShowDialogMessage(dialog, kSlopeTooLarge);
        else {
            topographyValue = angle;
            EndDialog(dialog, 1);
        }
        return 1;
    }
    }
    return 0;
}

INT_PTR CALLBACK ViewpointElevationDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    return OneLength(dialog, message, wParam, PlanLengthToUnits(walkEyeHeight, s, 0),
                     [](HWND, PlanSettings* settings, float length) {
                         walkEyeHeight = UnitsToPlanLength(length, settings, 0);
                         if (settings->cameraMode == 1)
                             IgnoreCameraChange(settings->cameraX, walkEyeHeight, -settings->cameraZ);
                     });
}

INT_PTR CALLBACK AerialAltitudeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    return OneLength(dialog, message, wParam, PlanLengthToUnits(orbitDistance, s, 0),
                     [](HWND, PlanSettings* settings, float length) {
                         orbitDistance = UnitsToPlanLength(length, settings, 0);
                         if (settings->cameraMode != 2) return;
                         // Two polar steps from the origin: by the first angle over the
                         // distance, then by the second over the first step's x.
                         float x = 0.0f, y = 0.0f, x2 = 0.0f, z = 0.0f;
                         OffsetPointPolar(settings->aerialPitch * kDegreesToRadians, orbitDistance, &x, &y);
                         OffsetPointPolar(settings->aerialYaw * kDegreesToRadians, x, &x2, &z);
                         IgnoreCameraChange(-x2, y, z);
                         UpdateSkyForCamera(x2, -y, -z);
                     });
}

INT_PTR CALLBACK ObjectElevationDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        SetDlgItemLength(dialog, 5, objectElevationValue, s, 1, 0);
        SetDlgItemDisabled(dialog, 6, objectElevationState == -1);
        SetDlgButtonCheck(dialog, 6, objectElevationState == 1);
        SetDlgItemDisabled(dialog, 5, objectElevationState == 1);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == 6) {
            if (objectElevationState != -1) {
                objectElevationState = objectElevationState == 1 ? 0 : 1;
                SetDlgButtonCheck(dialog, 6, objectElevationState);
                SetDlgItemDisabled(dialog, 5, objectElevationState);
            }
            return 1;
        }
        if (LOWORD(wParam) != IDOK) return EndDialogOnCancel(dialog, wParam);
        if (ReadLengthField(dialog, 5, &objectElevationValue)) EndDialog(dialog, 1);
        return 1;
    }
    return 0;
}

// The selected roofs of the current floor moved up or down by d plan units, in the
// view plane that has the height as its second axis.
void MoveSelectedRoofs(PlanSettings* s, float d)
{
    PlanFloor* floor = activeDocument->currentFloor;
    if (!floor) return;
    for (PlanObject* object = floor->firstObject; object; object = object->next)
        if (object->type != ObjRoof) SelectObjectAndDrawHandles(object, 2, 1);
    TransformRecord move = {};
    const uint16_t plane = s->viewPlane;
    if (plane == 1) {
        s->viewPlane = 2;
        move.offset[2] = d;
    } else if (plane == 2) {
        s->viewPlane = 1;
        move.offset[1] = d;
    } else if (plane == 3) {
        s->viewPlane = 2;
        move.offset[0] = d;
    } else {
        return;
    }
    ForEachObjectOnFloor(floor, 1, 6000, &move);
    s->viewPlane = plane;
}

INT_PTR CALLBACK RoofElevationDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    return OneLength(dialog, message, wParam, 0.0f, [](HWND dialog, PlanSettings* settings, float length) {
        const float d = -UnitsToPlanLength(length, settings, 0);
        if (d > -kLargestRoofMove && d < kLargestRoofMove)
            MoveSelectedRoofs(settings, d);
        else
            ShowDialogMessage(dialog, kRoofMoveTooFar);
        InvalidatePlanView();
    });
}

INT_PTR CALLBACK RoofSectionElevationDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        SetDlgItemLength(dialog, 5, roofSectionElevation, s, 1, 0);
        roofSectionRadio = roofSectionEdge == 1 ? 7 : 6;
        CheckDlgRadio(dialog, roofSectionRadio, 6, 7);
        return 0;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == 6 || id == 7) {
            SelectDialogRadio(dialog, id, 6, 7, &roofSectionRadio);
            return 1;
        }
        if (id != IDOK) return EndDialogOnCancel(dialog, wParam);
        if (!ReadLengthField(dialog, 5, &roofSectionElevation)) return 1;
        roofSectionEdge = roofSectionRadio == 7 ? 1 : 0;
        EndDialog(dialog, 1);
        return 1;
    }
    }
    return 0;
}

int RunOnActive(int templateId, DLGPROC procedure)
{
    return activeDocument ? RunPropertyDialog(activeDocument->settings, templateId, procedure) : 0;
}

int RunWithValue(PlanSettings* settings, float* value, int templateId, DLGPROC procedure)
{
    if (!settings || !value) return 0;
    topographyValue = *value;
    if (!RunPropertyDialog(settings, templateId, procedure)) return 0;
    *value = topographyValue;
    return 1;
}

}  // namespace

int RunCustomTopographyDialog(PlanSettings* settings, float* amount)
{
    return RunWithValue(settings, amount, IDD_CUSTOM_TOPOGRAPHY, CustomTopographyDlgProc);
}

int RunSlopedTopographyDialog(PlanSettings* settings, float* angle)
{
    return RunWithValue(settings, angle, IDD_SLOPED_TOPOGRAPHY, SlopedTopographyDlgProc);
}

int RunViewpointElevationDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_VIEWPOINT_ELEVATION, ViewpointElevationDlgProc);
}

int RunAerialAltitudeDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_AERIAL_ALTITUDE, AerialAltitudeDlgProc);
}

int RunObjectElevationDialog()
{
    return RunOnActive(IDD_OBJECT_ELEVATION, ObjectElevationDlgProc);
}

int RunRoofElevationDialog()
{
    return RunOnActive(IDD_ROOF_ELEVATION, RoofElevationDlgProc);
}

int RunRoofSectionElevationDialog()
{
    return RunOnActive(IDD_ROOF_SECTION_ELEVATION, RoofSectionElevationDlgProc);
}

void EditSelectedElevation(PlanObject* object)
{
    PlanObject* top = GetTopLevelObject(object);
    if (!top) return;
    const bool wall = top->type == ObjWall;
    objectElevationValue = top->elevation;
    objectElevationState = wall ? -1 : (top->onTerrain ? 1 : 0);
    if (RunObjectElevationDialog()) {
        if (wall || objectElevationState == -1) {
            top->elevation = objectElevationValue;
        } else if (objectElevationState == 0) {
            top->elevation = objectElevationValue;
            top->onTerrain = 0;
        } else {
            top->onTerrain = 1;
        }
    }
    if (top->type == ObjGroup)
        for (PlanObject* child = top->firstChild; child; child = child->next) RebuildObject3D(child);
    else
        RebuildObject3D(top);
}

void EditSelectedRoofSectionElevation(PlanObject* section, PlanSettings* settings)
{
    if (!section || !settings || section->type != ObjFreehandRoof) return;
    const float keptElevation = roofSectionElevation;
    const uint16_t keptEdge = roofSectionEdge;
    roofSectionElevation = section->elevation;
    roofSectionEdge = static_cast<uint16_t>(section->winding);
    if (RunPropertyDialog(settings, IDD_ROOF_SECTION_ELEVATION, RoofSectionElevationDlgProc)) {
        section->elevation = roofSectionElevation;
        section->winding = static_cast<int16_t>(roofSectionEdge);
        RebuildFreehandRoof(section);
        RebuildObject3D(section);
    }
    roofSectionElevation = keptElevation;
    roofSectionEdge = keptEdge;
}
