#pragma once

struct PlanObject;

struct PlanVertex;

// Places new deck steps centred on the deck side from a to b.
void BuildKind53OnSegment(PlanObject* deck, PlanVertex* a, PlanVertex* b);
// Regenerates a deck's steps and edge parts (type 51 only).
void RebuildDeck(PlanObject* deck);
