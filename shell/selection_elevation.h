#pragma once

// The new elevation, in feet, that operation 5324 gives to the selected objects; the
// elevation pane and the object elevation dialog set it.
extern float selectionElevationFeet;
