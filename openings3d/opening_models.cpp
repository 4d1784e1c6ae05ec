#include "openings3d/opening_models.h"
#include "model/object_copies.h"
#include "model/object_extents.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/texture_coords.h"
#include "files/symbol_library.h"
#include "openings3d/arched_frames.h"
#include "openings3d/opening_parts.h"
#include "openings3d/rectangular_frames.h"
#include "openings3d/shaped_windows.h"
#include "openings3d/sills_and_bars.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "render3d/shaded_polygons.h"
#include <math.h>

namespace {

const float kPi = 3.14159265358979f;
const float kHalfPi = 1.5707963267948966f;
// An element whose owner is not a wall is fitted as if into a wall this thick.
const float kDefaultThickness = 4.0f;
const uint16_t kUpsideDown = 1;

bool BuildDoor(PlanObject* door, int style)
{
    switch (style) {
    case 500: case 501: case 503: case 508: case 509: case 510: case 511:
        return BuildDoorFrame(door);
    case 502:
        return BuildSashFrame(door);
    case 504: case 505: case 506: case 507:
        return BuildArchedDoorFrame(door, style);
    default:
        return false;
    }
}

// The frame of a window style; *finish says whether it takes a sill and the flip.
bool BuildWindowFrame(PlanObject* window, int style, bool* sill, bool* flip)
{
    *sill = true;
    *flip = true;
    if (style == 600) {
        *flip = false;
        return BuildSashFrame(window);
    }
    if (style >= 601 && style <= 604)
        return BuildArchTopWindowFrame(window, style);
    if ((style >= 605 && style <= 610) || style == 624 || style == 625)
        return BuildHalfArchWindowFrame(window, style);
    if (style >= 611 && style <= 613)
        return BuildCutCornerWindowFrame(window, style);
    if (style >= 614 && style <= 617)
        return BuildSlopedTopWindowFrame(window, style);
    if (style == 618 || style == 619)
        return BuildGableWindowFrame(window, style);
    if (style == 620 || style == 621)
        return BuildParallelogramWindowFrame(window, style);
    *sill = false;
    *flip = false;
    if (style == 622)
        return BuildOctagonWindowFrame(window, style);
    if (style == 623)
        return BuildOvalWindowFrame(window, style);
    return false;
}

void BuildWindow(PlanObject* window, const OpeningRecord* record)
{
    const int style = (int16_t)record->style;
    bool sill = false;
    bool flip = false;
    // The sill and the flip finish a frame built now: after a refused build the list
    // may be empty or still hold a finished window.
    if (!BuildWindowFrame(window, style, &sill, &flip))
        return;
    if (sill)
        BuildWindowSill(window, style);
    if (flip && record->flags == kUpsideDown)
        MirrorOpeningOutline(window, 0);
}

// The old part's material onto the new one, object and vertices, as far as both go.
void CarryMaterial(const PlanObject* from, PlanObject* to)
{
    to->colourA = from->colourA;
    to->colourB = from->colourB;
    to->styleOrTexture = from->styleOrTexture;
    to->colour3 = from->colour3;
    to->colour4 = from->colour4;
    to->colour5 = from->colour5;
    to->imageId1 = from->imageId1;
    to->imageId2 = from->imageId2;
    to->value3 = from->value3;
    const PlanVertex* a = from->firstVertex;
    PlanVertex* b = to->firstVertex;
    for (; a && b; a = a->next, b = b->next) {
        b->faceTextureA = a->faceTextureA;
        b->faceTextureB = a->faceTextureB;
        b->faceColourA = a->faceColourA;
        b->faceColourB = a->faceColourB;
    }
}

void FreeParts(PlanObject* first)
{
    while (first) {
        PlanObject* next = first->next;
        first->previous = nullptr;
        first->next = nullptr;
        FreeObject(first);
        first = next;
    }
}

// The bath tubs and the shower are stretched to the size given to the element.
bool IsStretchedCode(uint32_t code)
{
    return code >= 95 && code <= 97;
}

// The factor that stretches the model's extent to the wanted size; 1.0 when they agree
// or when the model is flat on that axis.
float StretchFactor(float wanted, float extent)
{
    if (wanted == extent || !(extent > 0.0f))
        return 1.0f;
    float factor = wanted / extent;
    return isfinite(factor) ? factor : 1.0f;
}

void ScaleTangent(float* tangent, float sx, float sz)
{
    if (tangent[0] != 0.0f || tangent[2] != 0.0f)
        ScalePointAbout(&tangent[0], &tangent[2], 0.0f, 0.0f, sx, sz);
}

void RotateTangent(float* tangent, float angle)
{
    if (tangent[0] != 0.0f || tangent[2] != 0.0f)
        RotatePointAbout(&tangent[0], &tangent[2], 0.0f, 0.0f, angle);
}

void BuildWallElement(PlanObject* element)
{
    OpeningRecord* record = static_cast<OpeningRecord*>(element->link);
    const uint32_t code = element->subType;
    PlanObject* old = element->firstPart;
    element->firstPart = nullptr;
    if (old)
        old->previous = nullptr;
    AttachSymbolModelParts(element, code, 0.0f, 0.0f);

    float box[6];
    ResetExtentBox(box);
    const PlanObject* before = old;
    for (PlanObject* part = element->firstPart; part && before;
         part = part->next, before = before->next)
        CarryMaterial(before, part);
    // The paint of the element itself (what a drop in 3D writes, and the plan file keeps)
    // covers every part; an element never painted shows the library's materials.
    if (element->styleOrTexture != 0 || IsColourSet(&element->colourB))
        for (PlanObject* part = element->firstPart; part; part = part->next)
            PaintWithOpeningFinish(part, element);
    for (PlanObject* part = element->firstPart; part; part = part->next)
        GetObjectExtents3D(part, 0, box, 0);
    // The model's back edge, in the middle of its width, goes against the wall.
    const float refX = (box[kBoxMinX] + box[kBoxMaxX]) / 2.0f;
    const float refZ = box[kBoxMinZ];

    PlanObject* wall = element->owner;
    if (wall) {
        const float thickness = wall->type == ObjWall ? wall->size : kDefaultThickness;
        const float base = OpeningPlanLength(wall->parameters[2]);
        const float half = OpeningPlanLength(thickness) / 2.0f;
        float faceX = 0.0f;
        float faceZ = 0.0f;
        float rotation = 0.0f;
        if (record->startVertex && record->endVertex) {
            const PlanPoint2 start = {record->startVertex->position[0],
                                      record->startVertex->position[2]};
            const PlanPoint2 end = {record->endVertex->position[0],
                                    record->endVertex->position[2]};
            const float a = PlanAngle(start, end, nullptr);
            const PlanPoint2 p = PointAlong(start, a, record->distanceFromStart);
            PlanPoint2 face = PointAlong(p, record->hingeSide ? a + kHalfPi : a - kHalfPi, half);
            rotation = record->hingeSide ? a + kPi : a;
            faceX = face.x;
            faceZ = face.z;
        }
        float sx = 1.0f;
        float sz = 1.0f;
        if (IsStretchedCode(code)) {
            sx = StretchFactor(record->width, box[kBoxMaxX] - box[kBoxMinX]);
            sz = StretchFactor(record->height, box[kBoxMaxZ] - box[kBoxMinZ]);
        }
        const bool stretch = IsStretchedCode(code) && (sx != 1.0f || sz != 1.0f);
        const float drop = base + record->elevation;
        for (PlanObject* part = element->firstPart; part; part = part->next) {
            for (PlanVertex* v = part->firstVertex; v; v = v->next) {
                if (stretch) {
                    ScaleTangent(v->inTangent, sx, sz);
                    ScalePointAbout(&v->position[0], &v->position[2], refX, refZ, sx, sz);
                    ScaleTangent(v->outTangent, sx, sz);
                }
                if (rotation != 0.0f) {
                    RotateTangent(v->inTangent, rotation);
                    RotatePointAbout(&v->position[0], &v->position[2], refX, refZ, rotation);
                    RotateTangent(v->outTangent, rotation);
                }
                TranslatePoint(&v->position[0], &v->position[2], faceX, faceZ);
                v->position[1] -= drop;
            }
            UpdateObjectExtents(part);
            ComputeProjectionExtents(part);
            ComputeMeshTextureCoords(part);
        }
    }
    // An element without a wall keeps its clones as they came; the old parts go either way.
    FreeParts(old);
}

} // namespace

void AttachSymbolModelParts(PlanObject* element, uint32_t code, float x, float z)
{
    if (!element || !activeDocument)
        return;
    PlanObject* templateObject = FindSymbolTemplate(symbolTemplates3D, code);
    if (!templateObject)
        return;
    // Only the clones are deselected (the templates are read selected): every rebuild of
    // a wall's openings comes here, and the user's selection must outlive it.
    ForEachSymbolTemplatePart(templateObject, [&](PlanObject* member) {
        PlanObject* clone = CopySymbolTemplatePart(member, x, z);
        if (!clone)
            return;
        // A part belongs to the element alone, never to a floor list.
        clone->owner = element;
        clone->floor = element->floor;
        clone->type = ObjWallElementPart;
        AppendChildObject(clone, element);
        SetAllPointsSelected(clone, 0);
    });
    InvalidatePlanView();
}

void BuildOpeningModel(PlanObject* opening)
{
    if (!opening || !activeDocument || !activeDocument->settings || !opening->link)
        return;
    OpeningRecord* record = static_cast<OpeningRecord*>(opening->link);
    switch (opening->type) {
    case ObjDoor:
        BuildDoor(opening, (int16_t)record->style);
        break;
    case ObjWindow:
        BuildWindow(opening, record);
        break;
    case ObjWallElement:
        BuildWallElement(opening);
        break;
    default:
        break;
    }
}
