#pragma once

// The framing view of roofs: rafters, ridge and hip members in place of the planes.

struct PlanObject;

// Nothing without an active document and its settings, or for anything but a roof.
void BuildRoofFraming(PlanObject* roof);
