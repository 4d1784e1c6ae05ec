#include "support_openings.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"

namespace otest {

void OpeningTest::SetUp()
{
    RecordCheckedDocumentTest::SetUp();
    if (HasFatalFailure())
        return;
    PlanSettings* settings = document->settings;
    ASSERT_NE(settings, nullptr);
    // Inches drawn at 72 to the inch: a display length is its plan length.
    settings->drawingScale = 72.0f;
    settings->drawingUnit = 1;
    settings->paperUnit = 1;
    settings->zoom = 1.0f;
    ASSERT_NE(document->currentFloor, nullptr);
    wall = vtest::MakePointObject(ObjWall, Storey(0), {{-100, 0, 0}, {200, 0, 0}}, 0, 0);
    ASSERT_NE(wall, nullptr);
    wall->size = 6.0f;
    wall->parameters[0] = 96.0f;
}

void OpeningTest::TearDown()
{
    FailRecordAllocationsAfter(-1);
    RecordCheckedDocumentTest::TearDown();
}

PlanObject* OpeningTest::AddOpening(uint16_t type, int16_t style, float width, float height,
                                    float casing)
{
    PlanObject* opening = vtest::MakePointObject(type, nullptr, {{0, 0, 0}, {width, 0, 0}}, 0, 0);
    opening->colourB = {100, 200, 300};
    opening->styleOrTexture = 2218;
    vtest::AppendChildObject(wall, opening);
    OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
    record->typeCopy = type;
    record->style = (uint16_t)style;
    record->startVertex = wall->firstVertex;
    record->endVertex = wall->firstVertex->next;
    record->distanceFromStart = 100.0f + width / 2.0f;
    record->distanceToEnd = 300.0f - record->distanceFromStart;
    record->width = width;
    record->height = height;
    record->casingWidth = casing;
    record->glazingBarsAcross = 1;
    opening->link = record;
    return opening;
}

std::vector<PlanObject*> Parts(const OpeningRecord* record)
{
    std::vector<PlanObject*> parts;
    for (PlanObject* p = record->parts; p; p = p->next)
        parts.push_back(p);
    return parts;
}

std::vector<uint16_t> PartTypes(const OpeningRecord* record)
{
    std::vector<uint16_t> types;
    for (PlanObject* p : Parts(record))
        types.push_back(p->type);
    return types;
}

Box BoxOf(const PlanObject* part)
{
    Box b = {1e30f, 1e30f, 1e30f, -1e30f, -1e30f, -1e30f};
    for (const PlanVertex* v = part->firstVertex; v; v = v->next) {
        b.minX = v->position[0] < b.minX ? v->position[0] : b.minX;
        b.maxX = v->position[0] > b.maxX ? v->position[0] : b.maxX;
        b.minY = v->position[1] < b.minY ? v->position[1] : b.minY;
        b.maxY = v->position[1] > b.maxY ? v->position[1] : b.maxY;
        b.minZ = v->position[2] < b.minZ ? v->position[2] : b.minZ;
        b.maxZ = v->position[2] > b.maxZ ? v->position[2] : b.maxZ;
    }
    return b;
}

} // namespace otest
