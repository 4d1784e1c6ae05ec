#pragma once
#include <stdint.h>

struct PlanObject;

// The single entry of the door, window and wall-element models. Throws away the 3D parts
// generated for a door (16), window (17) or wall element (56) before and builds them
// again from its opening record and its wall: frames, leaves, glazing bars and sills of
// doors and windows go to the record's part list, the stretched and turned clone of a
// wall element's library model to the element's own part list. Neither redraws nor
// rebuilds the 3D scene; nothing for a missing document, record or an unknown style.
void BuildOpeningModel(PlanObject* opening);

// Clones the parts of the loaded 3D symbol template of the code (each member and each
// member's members) at the plan point (x, z) into the element's part list as type 111,
// deselected, and invalidates the plan; the selection of the plan is left as it was.
// Nothing when no template has the code.
void AttachSymbolModelParts(PlanObject* element, uint32_t code, float x, float z);
