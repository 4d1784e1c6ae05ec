#include "model/object_operations.h"
#include "model/deck_parts.h"
#include "model/generated_children.h"
#include "model/object_copies.h"
#include "model/object_edit.h"
#include "model/object_extents.h"
#include "model/object_transforms.h"
#include "model/outline_offsets.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/texture_coords.h"
#include "model/units.h"
#include "model/wall_openings.h"
#include "model3d/fences.h"
#include "model3d/railings.h"
#include "model3d/rebuild_driver.h"
#include "model3d/stairs.h"
#include "model3d/wall_rebuild.h"
#include "render3d/object_polygons.h"
#include "dialogs/common_values.h"
#include "dialogs/plant_info.h"
#include "planview/dimension_lines.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "tools/point_mapping.h"
#include "tools/roof_tool.h"
#include "tools/text_editing.h"
#include <stdint.h>
#include <string.h>

uint32_t groupNestingCount = 0;
uint8_t groupNestingTooDeep = 0;

void RebuildByType(PlanObject* object, bool rebuildTerrain)
{
    if (!object)
        return;
    switch (object->type) {
    case ObjWall:
        RebuildWall(object);
        FitWallOpenings(object);
        break;
    case ObjFloorSlab:
    case ObjFloorOpening:
        RebuildSlabChildren(object);
        break;
    case ObjRoof:
        RebuildRoof(object);
        InvalidatePlanView();
        break;
    case ObjPath:
        RebuildPath(object);
        break;
    case ObjFence:
        RebuildFence(object);
        break;
    case ObjPicketFence:
        RebuildPicketFence(object);
        break;
    case ObjTopography:
    case ObjSlope:
        if (rebuildTerrain)
            RebuildAll3D();
        break;
    case ObjStair:
        RebuildStair(object);
        break;
    case ObjRailing:
        RebuildRailing(object);
        break;
    case ObjDeck:
        RebuildDeck(object);
        break;
    case ObjFreehandRoof:
        RebuildFreehandRoof(object);
        break;
    case ObjImage:
        RebuildImageObject(object);
        break;
    default:
        break;
    }
    RebuildObject3D(object);
}

static PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

static HWND TextEditWindow(const PlanObject* object)
{
    if (object->type != ObjTextFrame || !object->link)
        return nullptr;
    HWND window = static_cast<HWND>(object->link);
    return IsWindow(window) ? window : nullptr;
}

// Whole-number rounding as the plan uses it: add a half, truncate toward zero.
static LONG RoundHalfUp(float value)
{
    return static_cast<LONG>(value + 0.5f);
}

// The object's stored 2D box (zoomed, grown by 'grow' units each side) as device
// units of the active plan pane, invalidated.
static void InvalidateObjectBox(const PlanObject* object, LONG grow, BOOL erase)
{
    if (!activePlanPane)
        return;
    RECT rect;
    rect.top = RoundHalfUp(ZoomFloat(object->box2D[0])) - grow;
    rect.left = RoundHalfUp(ZoomFloat(object->box2D[1])) - grow;
    rect.bottom = RoundHalfUp(ZoomFloat(object->box2D[2])) + grow;
    rect.right = RoundHalfUp(ZoomFloat(object->box2D[3])) + grow;
    HDC dc = GetDC(activePlanPane);
    if (dc) {
        LPtoDP(dc, reinterpret_cast<POINT*>(&rect), 2);
        ReleaseDC(activePlanPane, dc);
    }
    InvalidateRect(activePlanPane, &rect, erase);
}

// Gives a colour to a wall's generated meshes or an opening's generated parts.
static void PropagateColour(PlanObject* object, bool faceA, const ColourTriple& colour)
{
    auto paint = [&](PlanObject* target) {
        if (faceA)
            target->colourA = colour;
        else
            target->colourB = colour;
    };
    if (object->type == ObjWall) {
        if (object->link)
            paint(static_cast<PlanObject*>(object->link));
        if (object->firstPart)
            paint(object->firstPart);
    } else if ((object->type == ObjDoor || object->type == ObjWindow || object->type == ObjDeckSteps) &&
               object->link) {
        for (PlanObject* part = static_cast<OpeningRecord*>(object->link)->parts; part; part = part->next)
            paint(part);
    }
}

// Removal of a cut or deleted opening; true when the object is gone.
static bool RemoveOpening(PlanObject* object, bool withDependants)
{
    if (!IsOpeningType(object->type) || !IsAnyPointSelected(object) || HasKeptVertex(object))
        return false;
    PlanObject* owner = object->owner;
    if (withDependants)
        DeleteObjectWithDependants(object);
    else
        FreeObject(object);
    if (owner && owner->type == ObjDeck)
        RebuildDeck(owner);
    if (owner)
        RebuildObject3D(owner);
    return true;
}

// The two coordinates of the current view plane (x and height, x and z, z and height).
static void ViewPlaneAxes(int* first, int* second)
{
    PlanSettings* settings = ActiveSettings();
    uint16_t plane = settings ? settings->viewPlane : 2;
    switch (plane) {
    case 1: *first = 0; *second = 1; break;
    case 3: *first = 2; *second = 1; break;
    default: *first = 0; *second = 2; break;
    }
}

static void ResizePlantToAge(PlanObject* plant)
{
    float width = 0.0f;
    float height = 0.0f;
    ComputePlantSizeAtAge(plant, &width, &height, 1);
}

static void StepPlant(PlanObject* plant, void* argument)
{
    int step = static_cast<int>(reinterpret_cast<intptr_t>(argument));
    plant->plantAge += static_cast<float>(step);
    if (plant->plantAge < 1.0f)
        plant->plantAge = 1.0f;
    ResizePlantToAge(plant);
    if (!activePlanPane)
        return;
    LONG top = RoundHalfUp(plant->box2D[0]);
    LONG left = RoundHalfUp(plant->box2D[1]);
    LONG bottom = RoundHalfUp(plant->box2D[2]);
    LONG right = RoundHalfUp(plant->box2D[3]);
    LONG width = right - left;
    LONG grow = static_cast<LONG>(width * 1.15f + 0.5f) + 5 - width;
    RECT rect = {left - grow, top - grow, right + grow, bottom + grow};
    HDC dc = GetDC(activePlanPane);
    if (dc) {
        LPtoDP(dc, reinterpret_cast<POINT*>(&rect), 2);
        ReleaseDC(activePlanPane, dc);
    }
    InvalidateRect(activePlanPane, &rect, FALSE);
}

// Runs the code on the object itself. Returns false when the object was removed.
static bool DispatchOperation(PlanObject* object, uint32_t code, void* argument, bool* boxesChanged)
{
    const uint16_t type = object->type;
    PlanSettings* settingsArgument = static_cast<PlanSettings*>(argument);

    switch (code) {
    case RemoveCutOpening:
        return !RemoveOpening(object, false);
    case DeleteOpening:
        return !RemoveOpening(object, true);

    case SetTextFont: {
        const LOGFONTA* font = static_cast<const LOGFONTA*>(argument);
        if (!font)
            break;
        if (type == ObjDimensionLine && object->link) {
            PlanObject* label = static_cast<AttachmentRecord*>(object->link)->label;
            if (label && label->link) {
                static_cast<AttachedPartRecord*>(label->link)->font = *font;
                *boxesChanged = true;
            }
        } else if (type == ObjDimensionLabel && object->link) {
            static_cast<AttachedPartRecord*>(object->link)->font = *font;
            *boxesChanged = true;
        } else if (HWND edit = TextEditWindow(object)) {
            // The control's previous font goes with the change.
            if (SetTextEditFont(edit, *font)) {
                RefitTextEditWindow(object);
                *boxesChanged = true;
            }
        }
        break;
    }

    case AlignTextRight:
    case AlignTextLeft:
    case AlignTextCentre:
        if (HWND edit = TextEditWindow(object)) {
            HWND result = CommitTextEdit(edit, static_cast<int>(code), object);
            if (result)
                object->link = result;
            *boxesChanged = true;
        }
        break;

    case CountGroups:
        if (type == ObjGroup && !groupNestingTooDeep) {
            groupNestingCount += 1;
            if (groupNestingCount > 25)
                groupNestingTooDeep = 1;
        }
        break;

    case SnapPointsToGrid: {
        PlanSettings* settings = ActiveSettings();
        if (IsOpeningType(type) || !settings)
            break;
        for (PlanVertex* v = object->firstVertex; v; v = v->next)
            SnapFloatPointToGrid(settings, &v->position[0], &v->position[1], &v->position[2]);
        *boxesChanged = true;
        RebuildByType(object);
        break;
    }

    case ApplyPenColour:
    case ApplyColourB:
        if (settingsArgument && IsAnyPointSelected(object)) {
            bool faceA = code == ApplyPenColour;
            const ColourTriple colour =
                faceA ? settingsArgument->foregroundColour : settingsArgument->newObjectColour;
            if (faceA)
                object->colourA = colour;
            else
                object->colourB = colour;
            PropagateColour(object, faceA, colour);
        }
        break;

    case MirrorHorizontal:
    case MirrorVertical:
        MirrorSelectedPoints(object, code == MirrorHorizontal ? 1 : 0);
        *boxesChanged = true;
        break;

    case NudgeUp:
    case NudgeDown:
    case NudgeLeft:
    case NudgeRight: {
        // Openings and deck steps are placed by their wall's or deck's refit, which the
        // owner's rebuild runs after its own points moved; nudging them as well would
        // carry them a second step off their owner.
        if (!settingsArgument || IsOpeningType(type))
            break;
        bool vertical = code == NudgeUp || code == NudgeDown;
        float step;
        if (settingsArgument->snapToGrid)
            step = UnitsToPlanLength(vertical ? settingsArgument->snapStepY : settingsArgument->snapStepX,
                                     settingsArgument, 0);
        else
            step = 1.0f / UsableZoom(settingsArgument);
        // Command order is up, down, left, right; directions run up, left, down, right.
        static const int directionOfCommand[4] = {0, 2, 1, 3};
        NudgeSelectedPoints(object, step, directionOfCommand[code - NudgeUp]);
        RebuildByType(object, true);
        *boxesChanged = true;
        break;
    }

    case RecomputeCurves:
        RecomputeObject(object);
        *boxesChanged = true;
        break;
    case StraightenSegments:
        ClearObjectVertexSlopes(object);
        *boxesChanged = true;
        break;

    case ApplyDefaultStyleWord:
        if (settingsArgument)
            object->value1 = settingsArgument->defaultFirstStyle;
        break;
    case ApplyDefaultPenWidth:
        ApplyDefaultPenWidthToObject(object);
        break;

    case SetFaceTextureA:
    case SetFaceTextureB: {
        uint32_t texture = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(argument));
        for (PlanVertex* v = object->firstVertex; v; v = v->next) {
            if (code == SetFaceTextureA)
                v->faceTextureA = texture;
            else
                v->faceTextureB = texture;
        }
        break;
    }

    case RecomputeProjection:
        ComputeProjectionExtents(object);
        break;
    case RecomputeTextureCoords:
        ComputeMeshTextureCoords(object);
        break;

    case SmoothOrDeselect:
    case FlattenOrDeselect:
        if (type == 21 || type == ObjFence || type == 26 || type == 27 || type == ObjStair ||
            type == ObjRailing) {
            if (code == SmoothOrDeselect)
                RecomputeObject(object);
            else
                ClearObjectVertexSlopes(object);
        } else {
            SelectObjectAndDrawHandles(object, kSelectDeselect, 1);
        }
        if (type == ObjFence)
            RebuildFence(object);
        else if (type == ObjStair)
            RebuildStair(object);
        else if (type == ObjRailing)
            RebuildRailing(object);
        *boxesChanged = true;
        break;

    case ResizePlant:
        if (type == ObjPlant)
            ResizePlantToAge(object);
        break;
    case SetPlantingAge:
        if (type == ObjPlant) {
            object->value2 = static_cast<uint16_t>(reinterpret_cast<uintptr_t>(argument));
            ResizePlantToAge(object);
        }
        break;
    case StepPlantAge:
        if (type == ObjPlant)
            StepPlant(object, argument);
        break;

    case MoveBy: {
        const TransformRecord* transform = static_cast<const TransformRecord*>(argument);
        if (!transform || IsOpeningType(type) || type == ObjFreehandRoofPart)
            break;
        MoveObjectTree(object, transform);
        RebuildByType(object, true);
        break;
    }

    case Resize: {
        const TransformRecord* transform = static_cast<const TransformRecord*>(argument);
        if (!transform)
            break;
        if (type == ObjDoor || type == ObjWindow || type == ObjPlant || type == ObjDeckSteps ||
            type == ObjWallElement || type == ObjFreehandRoofPart || type == ObjPier ||
            type == ObjSprinkler || object->subType == 89)
            break;
        ScaleObjectTree(object, transform);
        if (type == ObjTextFrame) {
            PlanSettings* settings = ActiveSettings();
            HWND edit = TextEditWindow(object);
            if (edit && settings && UsableZoom(settings) >= 0.95f && UsableZoom(settings) <= 1.5f)
                RefitTextEditWindow(object);
        } else {
            RebuildByType(object);
        }
        break;
    }

    case Skew: {
        TransformRecord* transform = static_cast<TransformRecord*>(argument);
        if (!transform || type == ObjPlant)
            break;
        if (type == ObjTextFrame || type == ObjDimensionLabel) {
            // Texts keep their shape: only their centre follows the shear.
            int first, second;
            ViewPlaneAxes(&first, &second);
            float centreX = (object->box2D[1] + object->box2D[3]) / 2.0f;
            float centreY = (object->box2D[0] + object->box2D[2]) / 2.0f;
            float shearedX = centreX;
            float shearedY = centreY;
            ShearPoint(transform->grab[first], transform->grab[second], transform->drop[first],
                       transform->drop[second], &shearedX, &shearedY, transform->centre[first],
                       transform->centre[second]);
            // The displacement goes where the move reads it: the view plane's pair.
            transform->offset[0] = 0.0f;
            transform->offset[1] = 0.0f;
            transform->offset[2] = 0.0f;
            transform->offset[first] = shearedX - centreX;
            transform->offset[second] = shearedY - centreY;
            MoveObjectTree(object, transform);
        } else {
            StretchObjectTree(object, transform);
        }
        break;
    }

    case Rotate: {
        const TransformRecord* transform = static_cast<const TransformRecord*>(argument);
        if (!transform || IsOpeningType(type) || type == ObjPlant || type == ObjFreehandRoofPart ||
            type == ObjDimensionLine || type == ObjTextFrame || type == ObjDimensionLabel)
            break;
        if (type == ObjStair)
            SelectObjectAndDrawHandles(object, kSelectSelect, 1);
        RotateObjectTree(object, transform);
        RebuildByType(object);
        break;
    }

    case Extrude:
        if (argument)
            ExtrudeOutline(object, *static_cast<const float*>(argument));
        break;
    case Lathe:
        MessageBeep(0);
        LatheOutline(object, static_cast<const float*>(argument));
        break;

    case ResumeTextEditors: {
        HWND edit = TextEditWindow(object);
        PlanSettings* settings = ActiveSettings();
        if (edit && settings && IsObjectInViewFilter(object, settings->visibleCategories) &&
            object->floor && object->floor->active) {
            EnableWindow(edit, TRUE);
            SendMessageA(edit, WM_SETREDRAW, TRUE, 0);
            // Its redraw back on paints nothing: the plan's picture of the text stays in
            // its place until the control draws itself.
            RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        }
        break;
    }
    case SuspendTextEditors:
        if (HWND edit = TextEditWindow(object)) {
            EnableWindow(edit, FALSE);
            SendMessageA(edit, WM_SETREDRAW, FALSE, 0);
            InvalidateObjectBox(object, 0, TRUE);
        }
        break;
    case RaiseTextEditor:
        if (HWND edit = TextEditWindow(object))
            BringWindowToTop(edit);
        break;

    case SetClosedStyleWord2:
        if (object->closed)
            SetClosedObjectStyleWord(object, static_cast<uint16_t>(reinterpret_cast<uintptr_t>(argument)));
        break;

    case SelectWhole:
        SelectObjectAndDrawHandles(object, kSelectSelect, 1);
        break;

    case SetLabelWord1:
    case SetLabelWord2:
    case SetLabelFlag:
        if (type == ObjDimensionLabel && object->link) {
            AttachedPartRecord* record = static_cast<AttachedPartRecord*>(object->link);
            uintptr_t value = reinterpret_cast<uintptr_t>(argument);
            if (code == SetLabelWord1)
                record->word1 = static_cast<uint16_t>(value);
            else if (code == SetLabelWord2)
                record->word2 = static_cast<uint16_t>(value);
            else
                record->flag = static_cast<uint8_t>(value);
            *boxesChanged = true;
        }
        break;

    case MergeCommonValues:
        if (settingsArgument) {
            CommonProperties copy = settingsArgument->commonProperties;
            MergeCommonValuesFromObject(activeDocument, &copy, object);
            settingsArgument->commonProperties = copy;
        }
        break;
    case MergeSelectedPointValues:
        MergeSelectedPointValuesInto(settingsArgument, object);
        break;

    default:
        if (code >= SetDimensionEndMarksFirst && code <= SetDimensionEndMarksLast && IsDimensionType(type))
            SetObjectEndMarkBits(object, code);
        break;
    }
    return true;
}

void MergeSelectedPointValuesInto(PlanSettings* settings, PlanObject* object)
{
    if (!settings)
        return;
    CommonValue copy = settings->workingElevationValue;
    MergeCommonValuesFromSelectedPoints(&copy, object);
    settings->workingElevationValue = copy;
}

void ApplyObjectOperation(PlanObject* object, uint8_t selectedOnly, uint32_t code, void* argument)
{
    if (!object)
        return;
    bool boxesChanged = false;
    if (!DispatchOperation(object, code, argument, &boxesChanged))
        return;
    if (boxesChanged)
        UpdateObjectExtents(object);
    PlanObject* child = object->firstChild;
    while (child) {
        PlanObject* next = child->next;
        ApplyObjectOperation(child, selectedOnly, code, argument);
        child = next;
    }
}

static bool IsTakenBySelection(PlanObject* object, uint32_t code)
{
    if (code == MoveSelectionToElevation || code == MergeSelectedPointValues)
        return HasSelectedPoints(object);
    return IsAnyPointSelected(object);
}

void ForEachObjectOnFloor(PlanFloor* floor, uint8_t selectedOnly, uint32_t code, void* argument)
{
    if (!floor || !floor->shown)
        return;
    PlanObject* object = floor->firstObject;
    while (object) {
        PlanObject* next = object->next;
        if (!selectedOnly || IsTakenBySelection(object, code)) {
            if (code == CountGroups)
                groupNestingCount = 0;
            bool group = object->type == ObjGroup;
            ApplyObjectOperation(object, selectedOnly, code, argument);
            if (selectedOnly && group)
                UpdateObjectExtentsFiltered(object, 0, 0);
        }
        object = next;
    }
}

void ForEachFloorObject(PlanFloor* firstFloor, uint8_t selectedOnly, uint32_t code, void* argument)
{
    WholeRebuildsHeld rebuilds;
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        ForEachObjectOnFloor(floor, selectedOnly, code, argument);
}

void ForEachSelectedObjectOnFloor(PlanFloor* floor, uint32_t code, void* argument)
{
    if (!floor || !floor->shown)
        return;
    PlanObject* object = floor->firstObject;
    while (object) {
        PlanObject* next = object->next;
        if (IsTakenBySelection(object, code))
            EditObject(object, code, argument);
        object = next;
    }
}

void ForEachFloorSelection(PlanFloor* firstFloor, uint32_t code, void* argument)
{
    WholeRebuildsHeld rebuilds;
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        ForEachSelectedObjectOnFloor(floor, code, argument);
}
