#pragma once
#include "openings3d/opening_parts.h"

// The leaves of the rectangular hinged doors, drawn open at the door's swing angle:
// standard (501, six recessed panels), French (508, glazed with bars, no panel surface)
// and glazed (509, two panels under a glazed half). Each is called by the door frame
// after the frame became the record's whole part list, checks the style itself and
// appends its parts (type 20 boxes 4.0 thick and flat bars, type 128 the panel surface
// in the leaf's middle plane) to the record's list.
void BuildStandardDoorLeaf(PlanObject* door, OpeningRecord* record);
void BuildFrenchDoorLeaf(PlanObject* door, OpeningRecord* record);
void BuildGlazedDoorLeaf(PlanObject* door, OpeningRecord* record);

// The geometry the rectangular and the arched leaves share.
struct DoorLeaf {
    OpeningBasis basis;
    PlanPoint2 hinge;   // H: the hinge end moved inward, snapped to whole units
    PlanPoint2 free;    // F: the free end of the open leaf, snapped
    float width;        // W: the opening's length, the leaf's length before snapping
    float along;        // al: H -> F
    float back;         // aFH: F -> H
    float length;       // L: |H F|
    float sideX;        // n: unit vector across the leaf
    float sideZ;
    float lowerEdge;    // yb: 2.0 above the sill line
};

// Reads the door and places its leaf: the hinge at the end the hinge-side byte names,
// moved inset toward the other end. False (no leaf) when the door cannot be read, its
// swing angle is not a finite number, or the swing fails the sweep test: the sweep from
// the wall to the leaf, in whole degrees, must lie in 3..180 with the flags' bit 4 set,
// in -179..-3 with it clear.
bool StartDoorLeaf(PlanObject* door, OpeningRecord* record, float inset, DoorLeaf* leaf);

// Along positions of the leaf, as fractions of L from the hinge.
enum class LeafAlong { Hinge, HingeStile, FreeStile, Free, MuntinNearHinge, MuntinNearFree };
PlanPoint2 LeafPoint(const DoorLeaf& leaf, LeafAlong at);
// A box 4.0 thick from one along position to another, between two levels (y).
PartResult AddLeafBox(const DoorLeaf& leaf, LeafAlong from, LeafAlong to, float yLow,
                      float yHigh);
