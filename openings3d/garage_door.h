#pragma once

struct OpeningRecord;
struct PlanObject;

// The closed sectional door of a garage door (style 503): a panel surface in the wall's
// middle plane divided into panels of about 24 by 21 display units by ribs 4.0 thick,
// with half-width ribs along its edges. It has no swing: hinge side, swing angle and
// flags change nothing. Called by the door frame after the frame became the record's
// whole part list; it checks the style itself and appends its parts.
void BuildGarageDoor(PlanObject* door, OpeningRecord* record);
