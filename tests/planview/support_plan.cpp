#include "support_plan.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "tools/tool_state.h"

namespace vtest {

void PlanViewTest::SetUp()
{
    PaneDocumentTest::SetUp();
    if (HasFatalFailure())
        return;
    document->settings->zoom = 1.0f;
    currentToolId = 200;
    viewOrigin.x = viewOrigin.y = viewOrigin.z = 0.0f;
    ShowTopView();
}

void PlanViewTest::TearDown()
{
    PaneDocumentTest::TearDown();
    currentToolId = -1;
}

PlanFloor* PlanViewTest::FirstFloor() const { return document->firstFloor; }
PlanFloor* PlanViewTest::SecondFloor() const { return document->firstFloor->next; }
PlanSettings* PlanViewTest::Settings() const { return document->settings; }

static PlanObject* BuildObject(uint16_t type, std::initializer_list<std::array<float, 3>> points,
                               bool closed)
{
    PlanObject* object = CreateObject(type, closed ? 1 : 0, 0, nullptr, nullptr, 0.0f, 0, 0,
                                      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!object)
        return nullptr;
    object->category = 1;
    float* box = object->box3D;
    bool first = true;
    for (const auto& p : points) {
        PlanVertex* v = NewVertexNode(1, 0, 0, 0, 0, 0, p[0], p[1], p[2], 0, 0, 0, 0, 0, 0, object);
        AddObjectPoint(v, object);
        // Stored box: min y, x, z then max y, x, z (y is the height).
        const float values[3] = {p[1], p[0], p[2]};
        for (int k = 0; k < 3; ++k) {
            if (first || values[k] < box[k])
                box[k] = values[k];
            if (first || values[k] > box[k + 3])
                box[k + 3] = values[k];
        }
        first = false;
    }
    return object;
}

PlanObject* PlanViewTest::AddObject(uint16_t type, std::initializer_list<std::array<float, 3>> points,
                                    bool closed, PlanFloor* floor)
{
    PlanObject* object = BuildObject(type, points, closed);
    if (object)
        AttachObjectToFloor(object, floor ? floor : FirstFloor());
    return object;
}

PlanObject* PlanViewTest::AddChild(PlanObject* owner, uint16_t type,
                                   std::initializer_list<std::array<float, 3>> points)
{
    PlanObject* child = BuildObject(type, points, false);
    if (!child)
        return nullptr;
    AppendChildObject(owner, child);
    return child;
}

int PlanViewTest::CountSelected(const PlanObject* object)
{
    if (!object)
        return 0;
    int n = 0;
    for (const PlanVertex* v = object->firstVertex; v; v = v->next)
        n += v->selected ? 1 : 0;
    for (const PlanObject* child = object->firstChild; child; child = child->next)
        n += CountSelected(child);
    return n;
}

} // namespace vtest
