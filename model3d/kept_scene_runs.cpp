#include "model3d/kept_scene_runs.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model3d/scene_drawing.h"
#include "model3d/scene_polygons.h"
#include "render3d/high_quality_render.h"
#include "render3d/image_shadow_utilities.h"
#include "render3d/kept_polygons.h"
#include "render3d/shaded_polygons.h"
#include "shell/status_bar.h"
#include <windows.h>
#include <GL/gl.h>
#include <algorithm>
#include <memory>
#include <string.h>
#include <vector>

namespace {

// Polygons a run gathers before the next one starts: an edit shades again about this
// many, and a press stops a render within one run.
constexpr uint32_t kRunPolygons = 512;

// The previously shaded polygon's source and colour (what a mesh row shares).
struct DrawnColour {
    PlanObject* source;
    ColourTriple colour;
};

// The shaded polygons of one pass over one run, and what they were shaded after.
struct KeptPass {
    bool stale = true;
    KeptPolygons polygons;
    // Whether the first polygon shaded may share an edge colour with the one before it:
    // then the pass holds only after the same one (incoming).
    bool sharesIncoming = false;
    PlanObject* firstSource = nullptr;
    DrawnColour incoming = {};
    bool draws = false;                   // a polygon was shaded: it leaves outgoing
    DrawnColour outgoing = {};
};

} // namespace

// Consecutive polygons of sceneMeshes, from first to last, and their kept passes.
struct KeptRun {
    ScenePolygon* first = nullptr;
    ScenePolygon* last = nullptr;
    uint32_t count = 0;
    bool single = false;                  // a plant or an image panel
    bool stale = true;                    // its polygons changed since they were sorted
    std::vector<ScenePolygon*> floorHoles;
    std::vector<ScenePolygon*> exteriorWalls;
    KeptPass main;
    KeptPass floors;
};

namespace {

std::vector<std::unique_ptr<KeptRun>> runs;
ScenePolygon* keptTail = nullptr;      // the last polygon in a run
ShadingInputs shadedWith = {};
bool shadedWithSet = false;

bool IsSingle(const ScenePolygon* polygon)
{
    return polygon->partKind == kPartPlant || polygon->partKind == kPartImagePanel;
}

void ResetRuns()
{
    runs.clear();
    keptTail = nullptr;
}

void BeginShading(KeptPass* pass)
{
    pass->polygons.Clear();
    pass->draws = false;
    pass->sharesIncoming = false;
    pass->firstSource = nullptr;
    pass->incoming = {previousShadedSource, previousShadedColour};
}

void Shade(KeptPass* pass, ScenePolygon* polygon)
{
    const bool first = !pass->draws;
    if (!ShadeTexturedPolygon(polygon, pass->polygons))
        return;
    if (first) {
        pass->draws = true;
        pass->firstSource = polygon->source;
        pass->sharesIncoming = polygon->sourceType == 7 || polygon->partKind == kPartMeshFace;
    }
    pass->outgoing = {previousShadedSource, previousShadedColour};
}

void ShadeWithParts(KeptPass* pass, ScenePolygon* polygon)
{
    Shade(pass, polygon);
    for (ScenePolygon* part = polygon->parts; part; part = part->next)
        Shade(pass, part);
}

// The main pass of a run: the ordinary polygons, each wall face with holes cut through
// the stencil (the face's value is taken as it is drawn).
void ShadeMainPass(KeptRun* run)
{
    KeptPass* pass = &run->main;
    BeginShading(pass);
    for (ScenePolygon* polygon = run->first;; polygon = polygon->next) {
        if (!IsSingle(polygon) && !IsFloorLikeSource(polygon->sourceType) &&
            !IsFloorHoleSource(polygon->sourceType)) {
            if (!polygon->openings) {
                ShadeWithParts(pass, polygon);
            } else {
                pass->polygons.AddStep(KeptStep::HolesBegin);
                for (ScenePolygon* hole = polygon->openings; hole; hole = hole->next)
                    Shade(pass, hole);
                pass->polygons.AddStep(KeptStep::FaceBegin);
                ShadeWithParts(pass, polygon);
                pass->polygons.AddStep(KeptStep::FaceEnd);
            }
        }
        if (polygon == run->last)
            break;
    }
    pass->stale = false;
}

void ShadeFloorsPass(KeptRun* run)
{
    KeptPass* pass = &run->floors;
    BeginShading(pass);
    for (ScenePolygon* polygon = run->first;; polygon = polygon->next) {
        if (!IsSingle(polygon) && IsFloorLikeSource(polygon->sourceType))
            Shade(pass, polygon);
        if (polygon == run->last)
            break;
    }
    pass->stale = false;
}

// Whether the pass, shaded after `incoming`, would be the same after the current one.
bool HoldsAfterCurrent(const KeptPass& pass)
{
    if (!pass.sharesIncoming)
        return true;
    const bool shared = pass.incoming.source && pass.incoming.source == pass.firstSource;
    const bool sharedNow = previousShadedSource && previousShadedSource == pass.firstSource;
    if (shared != sharedNow)
        return false;
    return !shared || memcmp(&pass.incoming.colour, &previousShadedColour, sizeof previousShadedColour) == 0;
}

// Draws the pass; what it shaded last is then the previously shaded polygon.
void DrawPass(const KeptPass& pass)
{
    pass.polygons.Draw();
    if (pass.draws) {
        previousShadedSource = pass.outgoing.source;
        previousShadedColour = pass.outgoing.colour;
    }
}

// Drops emptied runs and gathers the polygons appended since the last draw into runs.
void UpdateRuns()
{
    runs.erase(std::remove_if(runs.begin(), runs.end(),
                              [](const std::unique_ptr<KeptRun>& run) { return run->count == 0; }),
               runs.end());
    // A scene list made or replaced behind the runs' back starts them again.
    if ((!runs.empty() && runs.front()->first != sceneMeshes) || (keptTail && !sceneMeshes))
        ResetRuns();
    ScenePolygon* polygon = keptTail ? keptTail->next : sceneMeshes;
    KeptRun* open = nullptr;
    if (!runs.empty() && !runs.back()->single && runs.back()->count < kRunPolygons)
        open = runs.back().get();
    for (; polygon; polygon = polygon->next) {
        const bool single = IsSingle(polygon);
        if (single || !open || open->count >= kRunPolygons) {
            runs.push_back(std::make_unique<KeptRun>());
            KeptRun* run = runs.back().get();
            run->first = polygon;
            run->single = single;
            open = single ? nullptr : run;
        }
        KeptRun* run = single ? runs.back().get() : open;
        run->last = polygon;
        ++run->count;
        run->stale = true;
        polygon->keptRun = run;
        keptTail = polygon;
    }
    for (const std::unique_ptr<KeptRun>& run : runs) {
        if (!run->stale)
            continue;
        run->floorHoles.clear();
        run->exteriorWalls.clear();
        for (ScenePolygon* p = run->first;; p = p->next) {
            if (IsFloorHoleSource(p->sourceType))
                run->floorHoles.push_back(p);
            if ((p->sourceType == kSceneFloorUnderWalls || p->partKind == kPartWallFace) && p->source &&
                p->source->subType == 54)
                run->exteriorWalls.push_back(p);
            if (p == run->last)
                break;
        }
        run->main.stale = run->floors.stale = true;
        run->stale = false;
    }
}

} // namespace

void LeaveKeptRun(ScenePolygon* polygon)
{
    KeptRun* run = polygon ? polygon->keptRun : nullptr;
    if (!run)
        return;
    polygon->keptRun = nullptr;
    if (polygon == keptTail)
        keptTail = polygon->previous;
    if (--run->count == 0) {
        run->first = run->last = nullptr;
        return;
    }
    if (polygon == run->first)
        run->first = polygon->next;
    else if (polygon == run->last)
        run->last = polygon->previous;
    run->stale = true;
}

void ForEachExteriorWallPolygon(void (*visit)(ScenePolygon* polygon))
{
    UpdateRuns();
    for (const std::unique_ptr<KeptRun>& run : runs)
        for (ScenePolygon* polygon : run->exteriorWalls)
            visit(polygon);
}

void ForgetKeptRuns()
{
    ResetRuns();
}

// The runs go with what they were shaded with: the inputs may change (the brightness
// is the program's, not the plan's) while they are set aside.
struct KeptRunSet {
    std::vector<std::unique_ptr<KeptRun>> runs;
    ScenePolygon* tail;
    ShadingInputs shadedWith;
    bool shadedWithSet;
};

KeptRunSet* TakeKeptRuns()
{
    KeptRunSet* set = new KeptRunSet{std::move(runs), keptTail, shadedWith, shadedWithSet};
    ResetRuns();
    return set;
}

void GiveKeptRunsBack(KeptRunSet* set)
{
    if (!set)
        return;
    runs = std::move(set->runs);
    keptTail = set->tail;
    shadedWith = set->shadedWith;
    shadedWithSet = set->shadedWithSet;
    delete set;
}

void FreeKeptRunSet(KeptRunSet* set)
{
    delete set;
}

void DrawKeptSceneNodes(PlanSettings* settings)
{
    const ShadingInputs key = CurrentShadingInputs(settings);
    if (!shadedWithSet || !SameShadingInputs(key, shadedWith)) {
        for (const std::unique_ptr<KeptRun>& run : runs)
            run->main.stale = run->floors.stale = true;
        shadedWith = key;
        shadedWithSet = true;
    }
    UpdateRuns();
    RestartButtonPolling();
    if (firstRenderPass)
        renderPolygonCount = 0;

    for (const std::unique_ptr<KeptRun>& run : runs) {
        if (RenderInterrupted())
            return;
        if (firstRenderPass) {
            renderPolygonCount += run->count;
        } else if (finalRenderRequested) {
            renderDoneCount += run->count;
            DrawRenderProgressBar(renderDoneCount, renderPolygonCount);
        }
        if (run->single) {
            ScenePolygon* polygon = run->first;
            if (polygon->partKind == kPartPlant)
                DrawPlantNode(polygon);
            else
                DrawImagePanelNode(polygon);
        } else {
            KeptPass& pass = run->main;
            if (pass.stale || !HoldsAfterCurrent(pass))
                ShadeMainPass(run.get());
            DrawPass(pass);
        }
        if (!finalRenderRequested)
            ShowRenderingProgress();
    }

    // The floor holes go into the stencil, few: drawn as they are.
    BeginFloorHoles();
    bool fromAbove = false;
    bool interrupted = false;
    for (const std::unique_ptr<KeptRun>& run : runs) {
        for (ScenePolygon* polygon : run->floorHoles) {
            if ((interrupted = RenderInterrupted()))
                break;
            if (FloorHoleSeenFromAbove(polygon, settings, &fromAbove) == (polygon->sourceType == ObjFloorOpening))
                DrawTexturedPolygon(polygon);
            ShowRenderingProgress();
        }
        if (interrupted)
            break;
    }
    BeginFloorsOutsideHoles();

    // The floors, where no hole was drawn.
    if (!renderAborted) {
        for (const std::unique_ptr<KeptRun>& run : runs) {
            if (RenderInterrupted())
                break;
            if (run->single)
                continue;
            KeptPass& pass = run->floors;
            if (pass.stale || !HoldsAfterCurrent(pass))
                ShadeFloorsPass(run.get());
            DrawPass(pass);
        }
    }
    glDisable(GL_STENCIL_TEST);
    sceneChanged = 0;
}
