#pragma once
// The dialogs of beams, piers, air ducts, baths and showers, floor slabs and stairwell
// openings: each is 1 after OK with its values written, else 0; the slab and opening
// editors copy the object into the settings' defaults and back. Not there yet: each is a
// cancel that changes nothing.

struct PlanObject;
struct PlanSettings;

int RunBeamDialog(PlanSettings* settings, float* width, float* depth);
int RunPierDialog(PlanSettings* settings, float* diameter);
int RunHvacDuctDialog(PlanSettings* settings, float* width, float* depth);
// Lengths in display units; the symbol code (95, 96, 97) chooses the caption.
int RunBathShowerDialog(PlanSettings* settings, float* length, float* width, int symbolCode);
void EditSelectedSlab(PlanObject* slab, PlanSettings* settings);
void EditSelectedStairwellOpening(PlanObject* opening, PlanSettings* settings);
