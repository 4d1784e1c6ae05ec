#include "dialogs/stair_railing_dialogs.h"

#include "dialogs/dialog_pattern.h"
#include "dialogs/terrain_camera_dialogs.h"
#include "model/dialog_fields.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model3d/railings.h"
#include "model3d/stairs.h"
#include "planview/plan_redraw.h"
#include "render3d/object_polygons.h"
#include "resources/resource_ids.h"

const char* const slopeAMessage = "Il valore dell'Inclinazione-A deve essere compreso tra 1 e 20.";
const char* const slopeBMessage = "Il valore dell'Inclinazione-B deve essere compreso tra 1 e 20.";
const char* const sideDBelowSideCMessage = "Il valore del Lato-D non può essere inferiore al valore del Lato-C.";
const char* const sideDBelowBaseMessage =
    "Il valore del Lato-D non può essere inferiore al valore dell'altezza della base del muro.";
const char* const sideCBelowBaseMessage =
    "Il valore del Lato-C non può essere inferiore al valore dell'altezza della base del muro.";

namespace {

// ---- Stairs ----

enum : int {
    kStairWidthField = 3,
    kRiserField = 4,
    kTreadField = 5,
    kStairRailingHeightField = 6,
    kLeftRailingCheck = 7,
    kRightRailingCheck = 8,
    kTotalHeightField = 9,
};

float stairTotalHeight = 0.0f;
uint8_t stairLeftRailing, stairRightRailing;

void InitStairsDialog(HWND dialog, PlanSettings* settings)
{
    CentreDialog(dialog);
    stairLeftRailing = settings->stairRailingFirstSide;
    stairRightRailing = settings->stairRailingSecondSide;
    SetDlgItemLength(dialog, kStairWidthField, settings->stairWidth, settings, 0, 0);
    SetDlgItemLength(dialog, kRiserField, settings->stairRiserHeight, settings, 0, 0);
    SetDlgItemLength(dialog, kTreadField, settings->stairTreadDepth, settings, 0, 0);
    SetDlgItemLength(dialog, kStairRailingHeightField, settings->stairRailingHeight, settings, 0, 0);
    SetDlgItemLength(dialog, kTotalHeightField, stairTotalHeight, settings, 1, 0);
    SetDlgButtonCheck(dialog, kLeftRailingCheck, stairLeftRailing);
    SetDlgButtonCheck(dialog, kRightRailingCheck, stairRightRailing);
}

void AcceptStairsDialog(HWND dialog, PlanSettings* settings)
{
    float values[5];
    const int fields[5] = {kStairWidthField, kRiserField, kTreadField, kStairRailingHeightField, kTotalHeightField};
    for (int i = 0; i < 5; ++i)
        if (!ReadLengthField(dialog, fields[i], &values[i])) return;
    settings->stairWidth = values[0];
    settings->stairRiserHeight = values[1];
    settings->stairTreadDepth = values[2];
    settings->stairRailingHeight = values[3];
    stairTotalHeight = values[4];
    settings->stairRailingFirstSide = stairLeftRailing;
    settings->stairRailingSecondSide = stairRightRailing;
    EndDialog(dialog, 1);
}

// ---- Railings ----

enum : int {
    kRailingHeightField = 3,
    kPostSpacingField = 4,
    kEndPostsCheck = 5,
};

uint8_t railingEndPosts;

void AcceptRailingDialog(HWND dialog, PlanSettings* settings)
{
    float height = 0.0f, spacing = 0.0f;
    if (!ReadLengthField(dialog, kRailingHeightField, &height) || !ReadLengthField(dialog, kPostSpacingField, &spacing))
        return;
    settings->railingHeight = height;
    settings->railingBalusterSpacing = spacing;
    settings->railingFlag820 = railingEndPosts;
    settings->railingFlag821 = railingEndPosts;
    EndDialog(dialog, 1);
}

// ---- Wall segments ----

enum : int {
    kMainHeightField = 3,
    kAutoDimensionsCheck = 4,
    kOpeningDimensionsCheck = 5,
    kSegmentElevationField = 6,
    kHeightCField = 7,
    kHeightDField = 8,
    kSlopeAField = 9,
    kSlopeBField = 10,
    kFirstStyleRadio = 50,
    kLastStyleRadio = 61,
};

float segmentSlopeA, segmentSlopeB, segmentHeightC, segmentHeightD;
uint32_t segmentStyle;
uint8_t segmentAutoDimensions, segmentOpeningDimensions;
uint16_t segmentRadio;

enum SegmentField { kFieldC = 1, kFieldD = 2, kFieldA = 4, kFieldB = 8 };

// The fields each top style shows besides the main height and the elevation.
int FieldsOfStyleRadio(int radio)
{
    if (radio == 51) return kFieldC | kFieldA | kFieldB;
    if (radio == 52 || radio == 53) return kFieldA;
    if (radio >= 54 && radio <= 57) return kFieldC | kFieldD | kFieldA | kFieldB;
    if (radio >= 58 && radio <= 61) return kFieldC | kFieldA;
    return 0;
}

void ShowSegmentFields(HWND dialog, int radio)
{
    static const struct {
        int field;
        int controls[3];
    } groups[4] = {
        {kFieldC, {kHeightCField, 103, 0}},
        {kFieldD, {kHeightDField, 104, 0}},
        {kFieldA, {kSlopeAField, 107, 179}},
        {kFieldB, {kSlopeBField, 108, 180}},
    };
    const int shown = FieldsOfStyleRadio(radio);
    for (const auto& group : groups)
        for (int id : group.controls)
            if (id) (shown & group.field) ? ShowDlgItem(dialog, id) : HideDlgItem(dialog, id);
}

void InitWallSegmentDialog(HWND dialog, PlanSettings* settings)
{
    CentreDialog(dialog);
    SetDlgItemLength(dialog, kMainHeightField, settings->wallHeight, settings, 1, 0);
    SetDlgItemLength(dialog, kSegmentElevationField, objectElevationValue, settings, 0, 0);
    SetDlgButtonCheck(dialog, kAutoDimensionsCheck, segmentAutoDimensions);
    SetDlgButtonCheck(dialog, kOpeningDimensionsCheck, segmentOpeningDimensions);
    segmentRadio = static_cast<uint16_t>(segmentStyle <= 11 ? kFirstStyleRadio + segmentStyle : kFirstStyleRadio);
    CheckDlgRadio(dialog, segmentRadio, kFirstStyleRadio, kLastStyleRadio);
    ShowSegmentFields(dialog, segmentRadio);
    SetDlgItemLengthAs(dialog, kSlopeAField, segmentSlopeA, settings, kFormatOneDecimal, 0);
    SetDlgItemLengthAs(dialog, kSlopeBField, segmentSlopeB, settings, kFormatOneDecimal, 0);
    SetDlgItemLength(dialog, kHeightCField, segmentHeightC, settings, 0, 0);
    SetDlgItemLength(dialog, kHeightDField, segmentHeightD, settings, 0, 0);
}

bool SlopeInRange(HWND dialog, int field, float slope, const char* message)
{
    if (slope >= 1.0f && slope <= 20.0f) return true;
    RejectDialogField(dialog, field, message);
    return false;
}

bool SideHeightAccepted(HWND dialog, PlanSettings* settings, int field, float value, bool accepted,
                        const char* message)
{
    if (accepted) return true;
    ShowDialogMessage(dialog, message);
    SetDlgItemLength(dialog, field, value, settings, 1, 0);
    return false;
}

// The checks of the style's fields; a failure keeps the dialog open on its field.
bool CheckSegmentFields(HWND dialog, PlanSettings* settings, float height, float a, float b, float* c, float d)
{
    const int radio = segmentRadio;
    if (radio == kFirstStyleRadio) return true;
    if (!SlopeInRange(dialog, kSlopeAField, a, slopeAMessage)) return false;
    if ((radio == 51 || (radio >= 54 && radio <= 57)) && !SlopeInRange(dialog, kSlopeBField, b, slopeBMessage))
        return false;
    if (radio == 51 || (radio >= 54 && radio <= 57))
        if (*c < 1.0f) *c = 1.0f;
    if (radio >= 54 && radio <= 57) {
        if (height <= *c)
            return SideHeightAccepted(dialog, settings, kHeightDField, d, d >= *c, sideDBelowSideCMessage);
        return SideHeightAccepted(dialog, settings, kHeightDField, d, d >= height, sideDBelowBaseMessage);
    }
    if (radio >= 58)
        return SideHeightAccepted(dialog, settings, kHeightCField, *c, *c >= height, sideCBelowBaseMessage);
    return true;
}

void AcceptWallSegmentDialog(HWND dialog, PlanSettings* settings)
{
    float height = 0.0f, elevation = 0.0f, a = 0.0f, b = 0.0f, c = 0.0f, d = 0.0f;
    if (!ReadLengthField(dialog, kMainHeightField, &height) ||
        !ReadLengthField(dialog, kSegmentElevationField, &elevation) || !ReadNumberField(dialog, kSlopeAField, &a) ||
        !ReadNumberField(dialog, kSlopeBField, &b) || !ReadLengthField(dialog, kHeightCField, &c) ||
        !ReadLengthField(dialog, kHeightDField, &d))
        return;
    if (height < 1.0f) height = 1.0f;
    if (!CheckSegmentFields(dialog, settings, height, a, b, &c, d)) return;
    settings->wallHeight = height;
    objectElevationValue = elevation;
    segmentSlopeA = a;
    segmentSlopeB = b;
    segmentHeightC = c;
    segmentHeightD = d;
    segmentStyle = static_cast<uint32_t>(segmentRadio - kFirstStyleRadio);
    EndDialog(dialog, 1);
}

void WallSegmentCommand(HWND dialog, PlanSettings* settings, int id)
{
    if (id >= kFirstStyleRadio && id <= kLastStyleRadio) {
        if (SelectDialogRadio(dialog, id, kFirstStyleRadio, kLastStyleRadio, &segmentRadio))
            ShowSegmentFields(dialog, id);
    } else if (id == kAutoDimensionsCheck) {
        ToggleDialogCheck(dialog, id, &segmentAutoDimensions);
    } else if (id == kOpeningDimensionsCheck) {
        ToggleDialogCheck(dialog, id, &segmentOpeningDimensions);
    } else if (id == IDOK) {
        AcceptWallSegmentDialog(dialog, settings);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, 0);
    }
}

}  // namespace

INT_PTR CALLBACK StairsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* settings = DialogSettings();
    if (!settings) return 0;
    switch (message) {
    case WM_INITDIALOG:
        InitStairsDialog(dialog, settings);
        return 1;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kLeftRailingCheck: ToggleDialogCheck(dialog, kLeftRailingCheck, &stairLeftRailing); break;
        case kRightRailingCheck: ToggleDialogCheck(dialog, kRightRailingCheck, &stairRightRailing); break;
        case IDOK: AcceptStairsDialog(dialog, settings); break;
        case IDCANCEL: EndDialog(dialog, 0); break;
        }
        return 1;
    }
    return 0;
}

INT_PTR CALLBACK RailingDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* settings = DialogSettings();
    if (!settings) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        railingEndPosts = settings->railingFlag820;
        SetDlgItemLength(dialog, kRailingHeightField, settings->railingHeight, settings, 1, 0);
        SetDlgItemLength(dialog, kPostSpacingField, settings->railingBalusterSpacing, settings, 0, 0);
        SetDlgButtonCheck(dialog, kEndPostsCheck, railingEndPosts);
        return 1;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kEndPostsCheck: ToggleDialogCheck(dialog, kEndPostsCheck, &railingEndPosts); break;
        case IDOK: AcceptRailingDialog(dialog, settings); break;
        case IDCANCEL: EndDialog(dialog, 0); break;
        }
        return 1;
    }
    return 0;
}

INT_PTR CALLBACK WallSegmentDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* settings = DialogSettings();
    if (!settings) return 0;
    switch (message) {
    case WM_INITDIALOG:
        InitWallSegmentDialog(dialog, settings);
        return 1;
    case WM_COMMAND:
        WallSegmentCommand(dialog, settings, LOWORD(wParam));
        return 1;
    }
    return 0;
}

int RunStairsDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_STAIRS, StairsDlgProc);
}

int RunRailingDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_RAILING, RailingDlgProc);
}

int RunWallSegmentDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_WALL_SEGMENT, WallSegmentDlgProc);
}

void EditSelectedStairs(PlanObject* stair, PlanSettings* settings)
{
    if (!stair || !settings || stair->type != ObjStair) return;
    float* fields[4] = {&settings->stairWidth, &settings->stairRiserHeight, &settings->stairTreadDepth,
                        &settings->stairRailingHeight};
    float saved[4];
    for (int i = 0; i < 4; ++i) saved[i] = *fields[i];
    const uint8_t savedLeft = settings->stairRailingFirstSide;
    const uint8_t savedRight = settings->stairRailingSecondSide;

    for (int i = 0; i < 4; ++i) *fields[i] = stair->parameters[i];
    stairTotalHeight = stair->parameters[4];
    settings->stairRailingFirstSide = stair->offsetSide ? 1 : 0;
    settings->stairRailingSecondSide = stair->value4 ? 1 : 0;
    if (RunStairsDialog(settings)) {
        for (int i = 0; i < 4; ++i) stair->parameters[i] = *fields[i];
        stair->parameters[4] = stairTotalHeight;
        stair->offsetSide = settings->stairRailingFirstSide ? 1 : 0;
        stair->value4 = settings->stairRailingSecondSide ? 1 : 0;
        RebuildStair(stair);
        RebuildObject3D(stair);
    }
    for (int i = 0; i < 4; ++i) *fields[i] = saved[i];
    settings->stairRailingFirstSide = savedLeft;
    settings->stairRailingSecondSide = savedRight;
}

void EditSelectedRailing(PlanObject* railing, PlanSettings* settings)
{
    if (!railing || !settings || railing->type != ObjRailing) return;
    const float savedHeight = settings->railingHeight;
    const float savedSpacing = settings->railingBalusterSpacing;
    const uint8_t savedPosts = settings->railingFlag820;
    const uint8_t savedPostsCopy = settings->railingFlag821;

    settings->railingHeight = railing->parameters[0];
    settings->railingBalusterSpacing = railing->parameters[1];
    settings->railingFlag820 = settings->railingFlag821 = railing->offsetSide ? 1 : 0;
    if (RunRailingDialog(settings)) {
        railing->parameters[0] = settings->railingHeight;
        railing->parameters[1] = settings->railingBalusterSpacing;
        railing->offsetSide = railing->value4 = settings->railingFlag820 ? 1 : 0;
        RebuildRailing(railing);
        RebuildObject3D(railing);
    }
    settings->railingHeight = savedHeight;
    settings->railingBalusterSpacing = savedSpacing;
    settings->railingFlag820 = savedPosts;
    settings->railingFlag821 = savedPostsCopy;
}

int EditSelectedWallSegment(PlanDocument* document, PlanVertex* vertex, PlanSettings* settings)
{
    if (!document || !vertex || !settings) return 0;
    const float savedHeight = settings->wallHeight;
    settings->wallHeight = vertex->mainHeight;
    objectElevationValue = vertex->segmentElevation;
    settings->styleWord &= ~3u;
    segmentAutoDimensions = (vertex->segmentFlags & 1) ? 0 : 1;
    segmentOpeningDimensions = (vertex->segmentFlags & 2) ? 0 : 1;
    segmentSlopeA = vertex->angleA;
    segmentSlopeB = vertex->angleB;
    segmentHeightC = vertex->heightC;
    segmentHeightD = vertex->heightD;
    segmentStyle = vertex->segmentStyle;
    const int result = RunWallSegmentDialog(settings);
    if (result) {
        vertex->segmentFlags = segmentAutoDimensions ? vertex->segmentFlags & ~1u : vertex->segmentFlags | 1u;
        vertex->segmentFlags = segmentOpeningDimensions ? vertex->segmentFlags & ~2u : vertex->segmentFlags | 2u;
        vertex->mainHeight = settings->wallHeight;
        vertex->segmentElevation = objectElevationValue;
        vertex->angleA = segmentSlopeA;
        vertex->angleB = segmentSlopeB;
        vertex->heightC = segmentHeightC;
        vertex->heightD = segmentHeightD;
        vertex->segmentStyle = segmentStyle;
        InvalidatePlanView();
    }
    settings->wallHeight = savedHeight;
    return result ? 1 : 0;
}
