#pragma once

struct PlanObject;
struct PlanSettings;

// Edits the view width and height of a photo image object (type 130) in its dialog and
// rebuilds it.
void EditLumarefSettings(PlanObject* object, PlanSettings* settings);
