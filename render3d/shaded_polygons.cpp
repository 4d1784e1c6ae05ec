#include "render3d/shaded_polygons.h"

ColourTriple* lastDrawnColourSlot = nullptr;
ColourTriple lastDrawnColour = {0, 0, 0};

void ForgetDrawnColour()
{
    lastDrawnColourSlot = nullptr;
    lastDrawnColour = {0, 0, 0};
}
