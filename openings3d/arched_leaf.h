#pragma once

struct OpeningRecord;
struct PlanObject;

// The open leaf of the arched doors 506 (round head) and 507 (segmental head): the
// rails and muntins of the standard leaf over the straight part, one profile 4.0 thick
// that forms both stiles and the arched head, a muntin up into the arch and an arched
// panel surface in the middle plane. Called by the arched frame after the frame became
// the record's whole part list; it checks the style itself and appends its parts.
void BuildArchedDoorLeaf(PlanObject* door, OpeningRecord* record);
