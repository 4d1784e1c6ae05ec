#include "dialogs/photo_view_dialog.h"

#include <cmath>
#include <windows.h>

#include "dialogs/dialog_pattern.h"
#include "dialogs/plant_dialogs.h"
#include "model/dialog_fields.h"
#include "model/generated_children.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "planview/plan_redraw.h"
#include "render3d/object_polygons.h"
#include "resources/resource_ids.h"

namespace {

const char* const kWidthMessage = "L'angolo visivo della Visuale fotorealistica dev'essere superiore a 0.";
const char* const kHeightMessage = "L'altezza della Visuale fotorealistica deve essere superiore a 0.";

float photoWidth, photoHeight;
uint8_t flipRequest;

// The fields show metres in a metric plan and feet and inches otherwise, whatever the
// plan's display format; the feet-and-inches format reads both back as they were written.
constexpr uint16_t kShownFormat = kFormatFeetInches;

INT_PTR CALLBACK LumarefDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        SetDlgButtonCheck(dialog, 10, 0);
        SetDlgItemHeight(dialog, 5, photoWidth, s);
        SetDlgItemHeight(dialog, 6, photoHeight, s);
        SetFocus(GetDlgItem(dialog, 5));
        SendDlgItemMessageA(dialog, 5, EM_SETSEL, 0, -1);
        return 0;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == 10) {
            ToggleDialogCheck(dialog, 10, &flipRequest);
            return 1;
        }
        if (id == IDCANCEL) EndDialog(dialog, 0);
        if (id != IDOK) return 1;
        float width = 0.0f, height = 0.0f;
        if (!ReadLengthField(dialog, 5, &width, kShownFormat)) return 1;
        if (width <= 0.0f) {
            RejectDialogField(dialog, 5, kWidthMessage);
            return 1;
        }
        if (!ReadLengthField(dialog, 6, &height, kShownFormat)) return 1;
        if (height <= 0.0f) {
            RejectDialogField(dialog, 6, kHeightMessage);
            return 1;
        }
        photoWidth = width;
        photoHeight = height;
        EndDialog(dialog, 1);
        return 1;
    }
    }
    return 0;
}

}  // namespace

int RunLumarefDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_PHOTO_VIEW, LumarefDlgProc);
}

void EditLumarefSettings(PlanObject* object, PlanSettings* s)
{
    if (!object || !s || object->type != ObjImage || !object->firstVertex || !object->firstVertex->next) return;
    PlanVertex* a = object->firstVertex;
    PlanVertex* b = a->next;
    float oldWidth = 0.0f;
    const float angle = AngleBetweenPoints(a->position[0], a->position[2], b->position[0], b->position[2], &oldWidth);
    const float shownWidth = PlanLengthToUnits(oldWidth, s, 0);
    photoWidth = shownWidth;
    photoHeight = PlanLengthToUnits(object->parameters[0], s, 0);
    flipRequest = 0;
    if (!RunLumarefDialog(s)) return;
    object->parameters[0] = UnitsToPlanLength(photoHeight, s, 0);
    // A width left as it was leaves the vertices where they are.
    if (photoWidth != shownWidth) {
        const float newWidth = UnitsToPlanLength(photoWidth, s, 0);
        const float midX = (a->position[0] + b->position[0]) / 2.0f;
        const float midZ = (a->position[2] + b->position[2]) / 2.0f;
        float dx = 0.0f, dz = 0.0f;
        OffsetPointPolar(angle, newWidth / 2.0f, &dx, &dz);
        a->position[0] = midX - dx;
        a->position[2] = midZ - dz;
        b->position[0] = midX + dx;
        b->position[2] = midZ + dz;
    }
    if (flipRequest) object->buildFlag = object->buildFlag ? 0 : 1;
    RebuildImageObject(object);
    RebuildObject3D(object);
    InvalidatePlanView();
}
