#pragma once

struct PlanObject;
struct PlanVertex;
struct PlanSettings;

// The deck height dialog; nonzero after OK, 0 after Cancel or without settings.
int RunDeckHeightDialog(PlanSettings* settings);

// The deck height, deck edge and deck steps editors of one object; not there yet: a
// cancel.
void EditSelectedDeckHeight(PlanObject* deck, PlanSettings* settings);
void EditSelectedDeckSegment(PlanObject* deck, PlanVertex* vertex, PlanSettings* settings);
void EditSelectedDeckStairs(PlanObject* steps, PlanSettings* settings);
