#pragma once
#include <windows.h>

struct PlanObject;

// 5300 to 5302: the area enclosed by the walls of storey 1, 2 or 3, shown in the
// measurement bar. paneRect: the plan pane's client rectangle.
void StoreyAreaCommand(int command, const RECT& paneRect);
// 5304 to 5306, 5309, 5330, 5331: the area inside the outline of the object that the
// plan's context menu passes (a path's walking surface); nothing when it is not an
// object of the active plan.
void ObjectAreaCommand(int command, PlanObject* object);

// True when the object is one of the active plan's, on any floor, at any depth.
bool IsObjectOfActivePlan(const PlanObject* object);
