#pragma once
#include <cstdint>

struct PlanObject;
struct PlanSettings;

// The working values of the object elevation dialog, filled by its callers before it
// runs and read back after OK: the elevation in inches and the fit-to-topography state
// (-1 not applicable, 0 off, 1 on).
extern float objectElevationValue;
extern int16_t objectElevationState;

// Each is 1 after OK, 0 after Cancel (or without settings).
int RunViewpointElevationDialog(PlanSettings* settings);
int RunAerialAltitudeDialog(PlanSettings* settings);
int RunObjectElevationDialog();
int RunRoofElevationDialog();
int RunRoofSectionElevationDialog();

// The elevation editors of one object and of a freehand roof section, and the custom
// and sloped topography dialogs (1 after OK with the value written, else 0); not there
// yet: each is a cancel.
void EditSelectedElevation(PlanObject* object);
void EditSelectedRoofSectionElevation(PlanObject* section, PlanSettings* settings);
int RunCustomTopographyDialog(PlanSettings* settings, float* amount);
int RunSlopedTopographyDialog(PlanSettings* settings, float* angle);
