#include "support_model.h"
#include <math.h>

namespace mtest {

void DocumentTest::SetUp()
{
    RecordCheckedDocumentTest::SetUp();
    if (HasFatalFailure())
        return;
    ASSERT_EQ(activeDocument, document);
}

void DocumentTest::CheckAfterFree()
{
    EXPECT_EQ(activeDocument, nullptr);
}

void ActiveSettingsTest::SetUp()
{
    settings = CreatePlanSettings();
    ASSERT_NE(nullptr, settings);
    document = PlanDocument{};
    document.settings = settings;
    savedDocument = activeDocument;
    savedPane = activePlanPane;
    activeDocument = &document;
}

void ActiveSettingsTest::TearDown()
{
    activeDocument = savedDocument;
    activePlanPane = savedPane;
    FreePlanSettings(settings);
}

PlanObject* MakeChild(PlanObject* owner, uint16_t type, std::initializer_list<Point> points, uint8_t selected)
{
    PlanObject* child = MakeObject(type, nullptr, points, selected);
    if (!child)
        return nullptr;
    vtest::AppendChildObject(owner, child);
    return child;
}

int CountChain(const PlanObject* object)
{
    int n = 0;
    for (PlanVertex* v = object->firstVertex; v; v = v->next)
        ++n;
    return n;
}

PlanObject* MakeDoorOn(PlanObject* wall, int start, uint8_t selected)
{
    PlanObject* door = MakeChild(wall, ObjDoor, {{0, 0, 0}, {1, 0, 0}}, selected);
    OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
    record->typeCopy = ObjDoor;
    record->style = 501;
    record->startVertex = VertexAt(wall, start);
    record->endVertex = VertexAt(wall, start)->next ? VertexAt(wall, start)->next : wall->firstVertex;
    record->width = 36.0f;
    // In the middle of its segment, so that refitting the wall's openings keeps it.
    const float dx = record->endVertex->position[0] - record->startVertex->position[0];
    const float dz = record->endVertex->position[2] - record->startVertex->position[2];
    const float length = sqrtf(dx * dx + dz * dz);
    record->distanceFromStart = length / 2.0f;
    record->distanceToEnd = length / 2.0f;
    door->link = record;
    return door;
}

DimensionLink LinkDimensionLabel(PlanObject* dimension, PlanObject* label)
{
    DimensionLink link;
    link.attachment = AllocateRecordOf<AttachmentRecord>();
    link.part = AllocateRecordOf<AttachedPartRecord>();
    link.attachment->label = label;
    link.part->owner = dimension;
    dimension->link = link.attachment;
    label->link = link.part;
    return link;
}

float PointKey(float x, float z)
{
    return x + z * 1000.0f;
}

std::vector<float> ChainKeys(const PlanObject* object)
{
    std::vector<float> keys;
    for (const PlanVertex* v = object->firstVertex; v; v = v->next)
        keys.push_back(v->position[0] + v->position[2] * 1000.0f);
    return keys;
}

} // namespace mtest
