#pragma once
// The photo view dialog: the width and height of a photo image object (type 130), and a
// request to flip its picture.

struct PlanObject;
struct PlanSettings;

// Nonzero after OK, 0 after Cancel or without settings.
int RunLumarefDialog(PlanSettings* settings);
// Edits the view width and height of a photo image object in the dialog and rebuilds it.
void EditLumarefSettings(PlanObject* object, PlanSettings* settings);
