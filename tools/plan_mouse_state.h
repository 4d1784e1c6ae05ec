#pragma once
#include <stdint.h>
#include "model/object_transforms.h"   // DragTransform, the drag record

struct PlanObject;
struct PlanVertex;

// The pointer record shared by the plan pane and the editing tools. Its first part is
// the hit record that the plan view's hit tests fill at a press; the modifier bits and
// the drag points after it belong to the tool framework. Drag points are model
// coordinates (plan points), valid from a press until the next press.
struct PlanMouseState {
    uint8_t hit;                // the press hit something (set by the caller of the pick)
    int32_t x;                  // the press, plan-pane logical units
    int32_t y;
    int16_t shiftState;         // asynchronous Shift state at the press (bit 15 = held)
    uint8_t vertexHit;          // a vertex (or an object taken whole) was hit: vertexA
    uint8_t segmentHit;         // a segment was hit: vertexA -> vertexB
    uint8_t bodyHit;
    uint8_t boxHandleHit;       // a handle of the selection box was hit
    uint16_t handleIndex;       // 1..8, the corner of the object's 3D box
    PlanVertex* vertexA;
    PlanVertex* vertexB;
    float chordPrevious[3];     // the hit chord of a segment, view coordinates
    float chordCurrent[3];
    float chordPreviousT;       // their curve parameters
    float chordCurrentT;
    PlanObject* object;         // the object hit
    float hitPoint[3];          // model coordinates of the vertex, corner or chord point hit
    uint16_t modifiers;         // 4 Shift, 8 Ctrl

    float dragStart[3];         // the mapped and clamped press: the reference of every clamp
    DragTransform drag;         // press, current point, centre or fixed point, angles
    float dragEnd[3];           // the mapped release point
    int32_t pressPixelX;        // the press in window units (the marquee's corner)
    int32_t pressPixelY;
    float resizeFactors[3];     // 1.0 at each press; written by the resize tool
    uint8_t vertexDeselected;   // the move undo cleared the other end of a line
};

// Modifier bits of PlanMouseState.
enum MouseModifier : uint16_t {
    kModifierShift = 4,
    kModifierCtrl = 8,
};

// The one pointer record of the program.
extern PlanMouseState planMouseState;

// Copies the hit part (everything before the modifier bits) of a hit record.
void CopyHitPart(PlanMouseState* target, const PlanMouseState* source);
