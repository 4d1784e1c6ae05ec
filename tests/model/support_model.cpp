#include "support_model.h"
#include <math.h>

namespace mtest {

void DocumentTest::SetUp()
{
    activeDocument = nullptr;
    activePlanPane = nullptr;
    baselineRecords = LiveRecordCount();
    document = CreatePlanDocument();
    ASSERT_NE(document, nullptr);
    ASSERT_EQ(activeDocument, document);
}

void DocumentTest::TearDown()
{
    FreePlanDocument(document);
    EXPECT_EQ(activeDocument, nullptr);
    EXPECT_EQ(LiveRecordCount(), baselineRecords) << "records left behind";
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

PlanFloor* DocumentTest::Storey(int index)
{
    PlanFloor* floor = document->firstFloor;
    for (int i = 0; i < index && floor; ++i)
        floor = floor->next;
    return floor;
}

static void AddPoints(PlanObject* object, std::initializer_list<Point> points, uint8_t selected)
{
    for (const Point& p : points)
        AddObjectPoint(NewVertexNode(1, selected, 0, 0, 0, 0, p.x, p.y, p.z, 0, 0, 0, 0, 0, 0, object), object);
}

PlanObject* MakeObject(uint16_t type, PlanFloor* floor, std::initializer_list<Point> points,
                       uint8_t selected, uint8_t closed)
{
    PlanObject* object = CreateObject(type, closed, 0, nullptr, nullptr, 1.0f, 6, 2, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr);
    if (!object)
        return nullptr;
    AddPoints(object, points, selected);
    if (floor)
        AttachObjectToFloor(object, floor);
    return object;
}

PlanObject* MakeChild(PlanObject* owner, uint16_t type, std::initializer_list<Point> points, uint8_t selected)
{
    PlanObject* child = MakeObject(type, nullptr, points, selected);
    if (!child)
        return nullptr;
    child->owner = owner;
    child->floor = owner->floor;
    PlanObject* last = owner->firstChild;
    while (last && last->next)
        last = last->next;
    child->previous = last;
    if (last)
        last->next = child;
    else
        owner->firstChild = child;
    return child;
}

PlanVertex* VertexAt(PlanObject* object, int index)
{
    PlanVertex* v = object ? object->firstVertex : nullptr;
    for (int i = 0; i < index && v; ++i)
        v = v->next;
    return v;
}

int CountChain(const PlanObject* object)
{
    int n = 0;
    for (PlanVertex* v = object->firstVertex; v; v = v->next)
        ++n;
    return n;
}

int CountFloorObjects(const PlanFloor* floor)
{
    int n = 0;
    for (PlanObject* o = floor->firstObject; o; o = o->next)
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
