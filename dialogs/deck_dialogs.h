#pragma once
// The deck dialogs: a deck's height, the railing and skirting of one deck segment (or
// of the whole deck), and a set of deck steps, each on the settings' deck defaults,
// which the editors copy from the object and put back afterwards.

struct PlanObject;
struct PlanVertex;
struct PlanSettings;

// The deck height dialog; nonzero after OK, 0 after Cancel or without settings.
int RunDeckHeightDialog(PlanSettings* settings);
// 1 for the clicked segment, 2 for the whole deck, 0 after Cancel.
int RunDeckSegmentDialog(PlanSettings* settings);
int RunDeckStairsDialog(PlanSettings* settings);

// The editors of one deck (type 51), one of its segments (the vertex starting it) and
// one set of deck steps (type 53).
void EditSelectedDeckHeight(PlanObject* deck, PlanSettings* settings);
void EditSelectedDeckSegment(PlanObject* deck, PlanVertex* vertex, PlanSettings* settings);
void EditSelectedDeckStairs(PlanObject* steps, PlanSettings* settings);
