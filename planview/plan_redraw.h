#pragma once
// The redraw of a whole plan into one DC (screen, memory DC, printer page, metafile,
// DXF export, tool previews) and the drawing of one object with the pen of its type:
// its renderer, or its outline or mesh segment by segment through DrawWorldLine.
#include <windows.h>
#include <stdint.h>

struct PlanFloor;
struct PlanObject;
struct PlanVertex;
struct DragTransform;   // a tool's drag state (model/object_transforms.h)

// Draw flags of RedrawPlan and DrawPlanObject.
enum PlanDrawFlags : uint32_t {
    DrawAllObjects = 1,         // no selection filter
    DrawSelectedOnly = 2,       // only objects with a selected point
    DrawXorPreview = 4,         // R2_NOTXORPEN and red pens
    DrawRed = 8,                // red pens, normal raster operation
    DrawPreviewMove = 16,       // the preview transforms of the drag record
    DrawPreviewScale = 32,
    DrawPreviewStretch = 64,    // not for types 200 and 201
    DrawPreviewRotate = 128,    // not for types 200 and 201
    DrawPreviewSelectedPoints = 256, // handed to the transforms: selected points only
    DrawPreviewConstrain = 512, // handed to the transforms: keep the larger component
};

// 1 while a repaint of the plan view is pending or under way.
extern uint8_t planViewInvalid;

// Fills, the other shown floors in the inactive colour, the current floor, the current
// view sheet, the exterior-wall highlight and the measuring line. A screen redraw shows
// the Esc prompt and the wait cursor and stops between objects when Esc is pressed.
// A preview record marks a tool preview: no prompt, cursor, Esc, fills or companions.
void RedrawPlan(HDC dc, PlanFloor* firstFloor, const RECT* rect, uint32_t flags,
                const DragTransform* preview);
// The objects of one shown floor in list order; true when Esc stopped it.
bool DrawFloorObjects(HDC dc, PlanFloor* floor, const RECT* rect, uint32_t flags,
                      const DragTransform* preview);
// One object with the pen of its type, then its children.
void DrawPlanObject(HDC dc, PlanObject* object, const RECT* rect, uint32_t flags,
                    const DragTransform* preview);
// One straight or Hermite segment a -> b of the object (copies of the vertices are
// moved by the preview transforms).
void DrawObjectSegment(HDC dc, PlanObject* object, const PlanVertex* a, const PlanVertex* b,
                       uint32_t flags, const DragTransform* preview);
// The segment between two vertices of one column of a mesh, along their cross tangents.
void DrawMeshCrossSegment(HDC dc, PlanObject* object, const PlanVertex* a, const PlanVertex* b,
                          uint32_t flags, const DragTransform* preview);

// True when the object is shown under the visible category mask.
bool IsObjectInViewFilter(const PlanObject* object, uint32_t mask);
// True with flag 1, or with flag 2 when a point of the object is selected.
bool PassesDrawFlags(const PlanObject* object, uint32_t flags);
// Invalidates the plan pane's client area (no erase) and sets planViewInvalid.
void InvalidatePlanView();
// Whether the object's zoomed 2D box (grown by 1) meets the rectangle; always true for
// dimensions 100..107. While printing: whether what the object draws, as measured for
// the print, meets the rectangle (device units of the page); true when nothing was
// measured.
bool ObjectTouchesRect(const PlanObject* object, const RECT* rect);

// The pages of a print that spans several: each object of the shown floors (with its
// generated companions and children) is drawn once into a metafile of the printer, with
// the print's output state, clip rectangle and draw flags, and where it drew is kept,
// grown by the margin (device units) for pens and the pages' joins. Until
// ForgetPrintedObjects, each printed page (planDC, its clip box the page) then draws only
// the objects that reach it, and is the same on paper as with every object drawn.
void MeasurePrintedObjects(HDC printer, PlanFloor* firstFloor, const RECT* rect, uint32_t flags,
                           int32_t margin);
void ForgetPrintedObjects();
