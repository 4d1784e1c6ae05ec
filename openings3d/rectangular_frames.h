#pragma once

struct PlanObject;

// The frame part of every rectangular opening: a door lining or casing ring (door styles
// 500, 501, 503, 508 to 511, which then get their leaf or garage door) and the sash
// casing of window style 600 and the sliding glass door 502 with its glazing bars. Each
// replaces the record's old parts by its new frame and returns true when it stored one;
// false (old parts kept) when the opening cannot be read or memory runs out.
bool BuildDoorFrame(PlanObject* object);
bool BuildSashFrame(PlanObject* object);
