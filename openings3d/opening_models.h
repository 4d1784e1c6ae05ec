#pragma once

struct PlanObject;

// Rebuilds the 3D parts of a door (16), window (17) or wall element (56) on its wall
// segment from its opening record: frames, leaves, glazing bars, or the element's model.
void BuildOpeningModel(PlanObject* opening);
