#include "dialogs/deck_dialogs.h"

#include <windows.h>

#include "dialogs/dialog_pattern.h"
#include "model/deck_parts.h"
#include "model/dialog_fields.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "render3d/object_polygons.h"
#include "resources/resource_ids.h"

namespace {

constexpr uint32_t kRailingBit = 1;
constexpr uint32_t kSkirtingBit = 4;

uint8_t firstCheck, secondCheck;
uint16_t scopeRadio;

// The deck defaults an editor borrows while its dialog runs.
struct DeckDefaults {
    float deckHeight;
    uint8_t railing;
    float railingHeight;
    float balusterSpacing;
    uint8_t skirting;
    uint8_t stairsLeft, stairsRight;
    float stairsWidth, stairsHeight;
};

DeckDefaults Saved(const PlanSettings* s)
{
    return {s->deckHeight, s->deckRailing, s->deckRailingHeight, s->deckBalusterSpacing,
            s->deckSegmentFlag1432, s->deckStepsFlag1434, s->deckStepsFlag1435,
            s->deckStepsWidth, s->deckStepsHeight};
}

void Restore(PlanSettings* s, const DeckDefaults& d)
{
    s->deckHeight = d.deckHeight;
    s->deckRailing = d.railing;
    s->deckRailingHeight = d.railingHeight;
    s->deckBalusterSpacing = d.balusterSpacing;
    s->deckSegmentFlag1432 = d.skirting;
    s->deckStepsFlag1434 = d.stairsLeft;
    s->deckStepsFlag1435 = d.stairsRight;
    s->deckStepsWidth = d.stairsWidth;
    s->deckStepsHeight = d.stairsHeight;
}

INT_PTR CALLBACK DeckHeightDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        SetDlgItemLength(dialog, 5, s->deckHeight, s, 1, 0);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK) return EndDialogOnCancel(dialog, wParam);
        if (ReadLengthField(dialog, 5, &s->deckHeight)) EndDialog(dialog, 1);
        return 1;
    }
    return 0;
}

// Two lengths and two check boxes: the deck segment (20, 21, 50, 51) and the deck
// steps (22, 23, 53, 54) share the procedure.
INT_PTR TwoLengthsTwoChecks(HWND dialog, UINT message, WPARAM wParam, const int ids[4], float* first,
                            float* second, uint8_t* checkOne, uint8_t* checkTwo, bool scope)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        firstCheck = *checkOne;
        secondCheck = *checkTwo;
        SetDlgItemLength(dialog, ids[1], *second, s, 0, 0);
        SetDlgItemLength(dialog, ids[0], *first, s, 1, 0);
        SetDlgButtonCheck(dialog, ids[2], firstCheck);
        SetDlgButtonCheck(dialog, ids[3], secondCheck);
        if (scope) {
            scopeRadio = 10;
            CheckDlgRadio(dialog, 10, 10, 11);
        }
        return 0;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == ids[2]) ToggleDialogCheck(dialog, id, &firstCheck);
        if (id == ids[3]) ToggleDialogCheck(dialog, id, &secondCheck);
        if (scope && (id == 10 || id == 11)) SelectDialogRadio(dialog, id, 10, 11, &scopeRadio);
        if (id != IDOK) return EndDialogOnCancel(dialog, wParam);
        float a = 0.0f, b = 0.0f;
        if (!ReadLengthField(dialog, ids[0], &a) || !ReadLengthField(dialog, ids[1], &b)) return 1;
        *first = a;
        *second = b;
        *checkOne = firstCheck;
        *checkTwo = secondCheck;
        EndDialog(dialog, scope ? scopeRadio - 9 : 1);
        return 1;
    }
    }
    return 0;
}

INT_PTR CALLBACK DeckSegmentDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    static const int ids[4] = {20, 21, 50, 51};
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    return TwoLengthsTwoChecks(dialog, message, wParam, ids, &s->deckRailingHeight, &s->deckBalusterSpacing,
                               &s->deckRailing, &s->deckSegmentFlag1432, true);
}

INT_PTR CALLBACK DeckStairsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    static const int ids[4] = {22, 23, 53, 54};
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    return TwoLengthsTwoChecks(dialog, message, wParam, ids, &s->deckStepsWidth, &s->deckStepsHeight,
                               &s->deckStepsFlag1434, &s->deckStepsFlag1435, false);
}

void SetSegment(PlanVertex* vertex, const PlanSettings* s)
{
    vertex->mainHeight = s->deckRailingHeight;
    vertex->segmentFlags &= ~(kRailingBit | kSkirtingBit);
    if (s->deckRailing) vertex->segmentFlags |= kRailingBit;
    if (s->deckSegmentFlag1432) vertex->segmentFlags |= kSkirtingBit;
}

void RebuildDeckAnd3D(PlanObject* deck)
{
    RebuildDeck(deck);
    RebuildObject3D(deck);
}

}  // namespace

int RunDeckHeightDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_DECK_HEIGHT, DeckHeightDlgProc);
}

int RunDeckSegmentDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_DECK_SEGMENT, DeckSegmentDlgProc);
}

int RunDeckStairsDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_DECK_STAIRS, DeckStairsDlgProc);
}

void EditSelectedDeckHeight(PlanObject* deck, PlanSettings* s)
{
    if (!deck || !s || deck->type != ObjDeck) return;
    const DeckDefaults kept = Saved(s);
    s->deckHeight = deck->parameters[0];
    if (RunDeckHeightDialog(s)) {
        deck->parameters[0] = s->deckHeight;
        const float h = UnitsToPlanLength(s->deckHeight, s, 0);
        for (PlanVertex* v = deck->firstVertex; v; v = v->next) v->position[1] = -h;
        RebuildDeckAnd3D(deck);
    }
    Restore(s, kept);
}

void EditSelectedDeckSegment(PlanObject* deck, PlanVertex* vertex, PlanSettings* s)
{
    if (!deck || !vertex || !s || deck->type != ObjDeck) return;
    const DeckDefaults kept = Saved(s);
    s->deckRailingHeight = vertex->mainHeight;
    s->deckBalusterSpacing = deck->parameters[1];
    s->deckRailing = (vertex->segmentFlags & kRailingBit) ? 1 : 0;
    s->deckSegmentFlag1432 = (vertex->segmentFlags & kSkirtingBit) ? 1 : 0;
    const int scope = RunDeckSegmentDialog(s);
    if (scope == 1) SetSegment(vertex, s);
    if (scope == 2)
        for (PlanVertex* v = deck->firstVertex; v; v = v->next) SetSegment(v, s);
    if (scope) {
        deck->parameters[1] = s->deckBalusterSpacing;
        RebuildDeckAnd3D(deck);
    }
    Restore(s, kept);
}

void EditSelectedDeckStairs(PlanObject* steps, PlanSettings* s)
{
    if (!steps || !s || steps->type != ObjDeckSteps || !steps->link) return;
    OpeningRecord* record = static_cast<OpeningRecord*>(steps->link);
    const DeckDefaults kept = Saved(s);
    s->deckStepsWidth = PlanLengthToUnits(record->width, s, 0);
    s->deckStepsHeight = PlanLengthToUnits(record->height, s, 0);
    s->deckStepsFlag1434 = record->glazingBarsAcross ? 1 : 0;
    s->deckStepsFlag1435 = record->glazingBarsDown ? 1 : 0;
    if (RunDeckStairsDialog(s)) {
        record->width = UnitsToPlanLength(s->deckStepsWidth, s, 0);
        record->height = UnitsToPlanLength(s->deckStepsHeight, s, 0);
        record->glazingBarsAcross = s->deckStepsFlag1434 ? 1 : 0;
        record->glazingBarsDown = s->deckStepsFlag1435 ? 1 : 0;
        if (steps->owner) RebuildDeckAnd3D(steps->owner);
    }
    Restore(s, kept);
}
