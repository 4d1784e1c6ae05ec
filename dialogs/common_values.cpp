#include "dialogs/common_values.h"

#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/units.h"
#include "planview/selection.h"
#include "shell/elevation_pane.h"

namespace {

// One value into a pair: the first merge sets it, a differing one clears `same`.
void MergeWord(uint8_t first, uint8_t* same, uint16_t* value, uint16_t v)
{
    if (first) {
        *same = 1;
        *value = v;
    } else if (*same && *value != v) {
        *same = 0;
    }
}

void MergeColour(uint8_t first, uint8_t* same, ColourTriple* value, const ColourTriple& v)
{
    if (first) {
        *same = 1;
        *value = v;
    } else if (*same && (value->red != v.red || value->green != v.green || value->blue != v.blue)) {
        *same = 0;
    }
}

void MergeElevation(CommonValue* summary, float v)
{
    if (summary->first) {
        summary->same = 1;
        summary->value = v;
    } else if (summary->same && summary->value != v) {
        summary->same = 0;
    }
    summary->first = 0;
}

// A pen width is a whole number of pixels: halves go away from zero.
uint16_t RoundedPenWidth(float size)
{
    const long whole = size < 0.0f ? static_cast<long>(size - 0.5f) : static_cast<long>(size + 0.5f);
    return static_cast<uint16_t>(whole);
}

// The end mark of a dimension from the lowest set bit of its flag word.
uint16_t EndMarkOfFlags(uint32_t flags)
{
    for (int bit = 0; bit < 7; ++bit)
        if (flags & (1u << bit)) return static_cast<uint16_t>(kEndMarkFirst + bit);
    return kEndMarkFirst;
}

uint16_t TextPositionOfFlags(uint32_t flags)
{
    if (flags & 512) return 5054;
    if (flags & 1024) return 5055;
    if (flags & 2048) return 5056;
    return kStyleChoiceNone;
}

uint16_t TextAlignmentOfEditor(HWND editor)
{
    const LONG_PTR style = GetWindowLongPtrA(editor, GWL_STYLE);
    if (style & ES_CENTER) return '*';
    if (style & ES_RIGHT) return '(';
    return ')';
}

// The elevation of each selected segment of a wall, then of each wholly selected
// opening whose segment was not merged; the wall's own elevation is not merged.
void MergeSelectedWallPoints(CommonValue* summary, PlanObject* wall)
{
    if (!IsAnyPointSelected(wall)) return;
    PlanVertex* first = wall->firstVertex;
    PlanVertex* last = first;
    for (PlanVertex* v = first; v && v->next; v = v->next) {
        if (v->selected && v->next->selected) MergeElevation(summary, v->segmentElevation);
        last = v->next;
    }
    if (wall->closed && first && last != first && first->selected && last->selected)
        MergeElevation(summary, last->segmentElevation);
    const PlanSettings* settings = activeDocument->settings;
    for (PlanObject* child = wall->firstChild; child; child = child->next) {
        if (child->type != ObjDoor && child->type != ObjWindow && child->type != ObjWallElement) continue;
        OpeningRecord* record = static_cast<OpeningRecord*>(child->link);
        if (!record || !AreAllPointsSelected(child)) continue;
        if (record->startVertex && record->endVertex && record->startVertex->selected &&
            record->endVertex->selected)
            continue;
        MergeElevation(summary, PlanLengthToUnits(record->elevation, settings, 0));
    }
}

}  // namespace

void GetWorkingElevationValue(const PlanSettings* settings, CommonValue* value)
{
    if (!settings || !value) return;
    value->first = 1;
    value->same = 1;
    value->value = settings->workingElevation;
}

void MergeCommonValuesFromObject(PlanDocument*, CommonProperties* c, PlanObject* object)
{
    if (!c || !object) return;
    PlanObject* source = object;
    if (object->type == ObjWall && object->link) source = static_cast<PlanObject*>(object->link);
    const uint8_t first = c->first;
    MergeWord(first, &c->secondStyleSame, &c->secondStyle, source->value2);
    MergeColour(first, &c->colourASame, &c->colourA, source->colourA);
    MergeWord(first, &c->penWidthSame, &c->penWidth, RoundedPenWidth(source->size));
    MergeColour(first, &c->colourBSame, &c->colourB, source->colourB);
    MergeWord(first, &c->firstStyleSame, &c->firstStyle, source->value1);
    if (IsDimensionType(source->type) && source->link) {
        const uint32_t flags = static_cast<AttachmentRecord*>(source->link)->flags;
        MergeWord(first, &c->flag80Same, &c->flag80, (flags & 128) ? 1 : 0);
        MergeWord(first, &c->endMarkSame, &c->endMark, EndMarkOfFlags(flags));
        if (source->type != ObjDimensionLast) {
            MergeWord(first, &c->flag100Same, &c->flag100, (flags & 256) ? 1 : 0);
            MergeWord(first, &c->textPositionSame, &c->textPosition, TextPositionOfFlags(flags));
        }
    }
    if (source->type == ObjTextFrame && source->link)
        MergeWord(first, &c->textAlignmentSame, &c->textAlignment,
                  TextAlignmentOfEditor(static_cast<HWND>(source->link)));
    c->first = 0;
}

void MergeCommonValuesFromSelectedPoints(CommonValue* value, PlanObject* object)
{
    if (!value || !activeDocument || !activeDocument->settings) return;
    PlanObject* top = GetTopLevelObject(object);
    if (!top) return;
    if (top->onTerrain) {
        value->same = 0;
        value->first = 0;
        return;
    }
    if (top->type == ObjWall)
        MergeSelectedWallPoints(value, top);
    else
        MergeElevation(value, top->elevation);
}

void ShowElevationPaneValue(const CommonValue* value)
{
    if (!value || !activeDocument) return;
    LayoutElevationPane(*value);
}

void RefreshWorkingElevationValue(PlanDocument* document)
{
    PlanSettings* settings = document ? document->settings : nullptr;
    if (!settings) return;
    CommonValue value = settings->workingElevationValue;
    GetWorkingElevationValue(settings, &value);
    settings->workingElevationValue = value;
    ForEachFloorSelection(document->firstFloor, MergeSelectedPointValues, settings);
    value = settings->workingElevationValue;
    ShowElevationPaneValue(&value);
}
