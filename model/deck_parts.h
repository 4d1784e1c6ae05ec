#pragma once
#include <stdint.h>

struct PlanFloor;
struct PlanObject;
struct PlanVertex;

// A deck (type 51) is a closed outline whose edge faces, railings and steps are rebuilt
// from it at every change. Its deck steps (type 53) are children that sit on one side by
// their opening record, like doors on a wall.

// Places new deck steps centred on the deck side from a to b. A side too short for any
// step refuses them with the deck message.
void BuildKind53OnSegment(PlanObject* deck, PlanVertex* a, PlanVertex* b);
// Regenerates a deck's edge faces, railings and steps (type 51 only).
void RebuildDeck(PlanObject* deck);
void RebuildDecksOnFloor(PlanFloor* floor);
void RebuildAllDecks(PlanFloor* firstFloor);
// Keeps every deck step on its side: narrowed when the side got shorter, moved in from
// the ends, removed when it cannot fit. Returns the number removed and tells the user.
int16_t FitDeckSteps(PlanObject* deck);
void FitFloorDeckSteps(PlanFloor* floor);
void FitAllDeckSteps(PlanFloor* firstFloor);
// One deck step; 1 when it was removed.
int16_t FitOneDeckStep(PlanObject* step);
