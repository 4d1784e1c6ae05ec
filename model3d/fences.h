#pragma once

struct PlanObject;

// Regenerate the pieces of a post fence (type 24) and of a picket fence (type 25).
void RebuildFence(PlanObject* fence);
void RebuildPicketFence(PlanObject* fence);
