#pragma once
#include "model/plan_settings.h"

// The drawing of shaded, textured scene polygons and plant billboards.

// The colour slot the polygon drawer last set up and the colour it held; a scene
// rebuild forgets them (ForgetDrawnColour) so that no slot of a freed plan is kept.
extern ColourTriple* lastDrawnColourSlot;
extern ColourTriple lastDrawnColour;
// No slot, colour (0, 0, 0).
void ForgetDrawnColour();
