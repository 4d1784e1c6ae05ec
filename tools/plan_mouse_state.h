#pragma once
#include <stdint.h>

struct PlanObject;
struct PlanVertex;

// The pointer record shared by the plan pane and the editing tools. Its first part is
// the hit record that the plan view's hit tests fill at a press; the modifier bits
// after it belong to the tool framework.
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
};
