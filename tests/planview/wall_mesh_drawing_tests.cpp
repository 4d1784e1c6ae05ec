#include "support_drawing.h"
#include "support_plan.h"
#include "files/plan_file.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include <cstdio>
#include <cstdlib>
#include <string>

using vtest::PlanViewTest;
using vtest::MetafileRecorder;

class WallMeshDrawingTest : public PlanViewTest {};

TEST_F(WallMeshDrawingTest, Diagnose)
{
    std::string path = std::string("Z:") + std::getenv("VELMORA_SOURCE_DIR") + "/samples/house.ZRO";
    for (char& c : path) if (c == '/') c = '\\';
    ASSERT_TRUE(LoadPlanFile(path.c_str()));
    std::printf("visible %u active %u\n", Settings()->visibleCategories, Settings()->activeCategory);
    for (PlanObject* o = FirstFloor()->firstObject; o; o = o->next) {
        PlanObject* m = (PlanObject*)o->link;
        std::printf("type %u sub %u cat %u size %f rows %u verts %u closed %u link %p p0 %f\n", o->type, o->subType, o->category, o->size, o->rows, o->vertexCount, o->closed, o->link, o->parameters[0]);
        if (o->type == ObjWall && m) {
            std::printf("  mesh type %u rows %u count %u closed %u cat %u\n", m->type, m->rows, m->vertexCount, m->closed, m->category);
            for (PlanVertex* v = m->firstVertex; v; v = v->next)
                std::printf("    %f %f %f\n", v->position[0], v->position[1], v->position[2]);
        }
    }
    MetafileRecorder record;
    RedrawPlan(record.dc(), FirstFloor(), nullptr, DrawAllObjects, nullptr);
    std::printf("lines %zu\n", record.Lines().size());
}
