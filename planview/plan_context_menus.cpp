#include "planview/plan_context_menus.h"
#include "dialogs/deck_dialogs.h"
#include "dialogs/dimension_colour_dialogs.h"
#include "dialogs/door_window_dialogs.h"
#include "dialogs/path_fence_gate_dialogs.h"
#include "dialogs/photo_view_dialog.h"
#include "dialogs/plant_dialogs.h"
#include "dialogs/roof_dialog.h"
#include "dialogs/stair_railing_dialogs.h"
#include "dialogs/structure_dialogs.h"
#include "dialogs/terrain_camera_dialogs.h"
#include "dialogs/wall_dialogs.h"
#include "files/object_exchange.h"
#include "model/deck_parts.h"
#include "model/generated_children.h"
#include "model/object_copies.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "model/wall_openings.h"
#include "model3d/rebuild_driver.h"
#include "model3d/wall_rebuild.h"
#include "planview/input_gdi.h"
#include "planview/plan_background.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "render3d/object_polygons.h"
#include "render3d/scene_upkeep.h"
#include "shell/app_globals.h"
#include "shell/companions.h"
#include "shell/font_dialogs.h"
#include "shell/frame_window.h"
#include "shell/message_box.h"
#include "tools/plan_mouse_state.h"
#include <string>

namespace {

// Per-segment flags of a wall's and a deck's first vertex.
const uint32_t kNoAutomaticDimensions = 1;
const uint32_t kNoOpeningDimensions = 2;
const uint32_t kDeckRailing = 1;
const uint32_t kDeckSkirting = 4;

const uint32_t kExteriorWallGroup = 54;
const uint16_t kLibraryObject = 15;

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

void SendFrame(int command, PlanObject* object = nullptr)
{
    if (frameWindow)
        SendMessageA(frameWindow, WM_COMMAND, command, reinterpret_cast<LPARAM>(object));
}

class Menu {
public:
    Menu() : menu(CreatePopupMenu()) {}
    HMENU Take()
    {
        HMENU m = menu;
        menu = nullptr;
        return m;
    }
    ~Menu()
    {
        if (menu)
            DestroyMenu(menu);
    }
    void Item(const char* text, UINT id, UINT flags = 0)
    {
        if (menu)
            AppendMenuA(menu, MF_STRING | flags, id, text);
    }
    void Separator()
    {
        if (menu)
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    }
    void Edit(bool rotate = true)
    {
        Item("Taglia", 18);
        Item("Copia", 19);
        Item("Incolla", 20);
        Item("Cancella", 5199);
        Separator();
        Item("Sposta...", 5215);
        if (rotate)
            Item("Ruota...", 5216);
    }
    // The category sub-menu, its item of the object's top-level category checked.
    void Categories(const PlanObject* object, const char* title = "Sposta sulla pianta")
    {
        static const char* const names[8] = {"Fondamenta", "Pavimento",  "Imp. elettrico",
                                             "Imp. idraulico", "Tetti", "RVAC", "Terrazza",
                                             "Giardino"};
        HMENU sub = CreatePopupMenu();
        if (!sub || !menu) {
            if (sub)
                DestroyMenu(sub);
            return;
        }
        const PlanObject* top = object;
        while (top && top->owner)
            top = top->owner;
        for (int i = 0; i < 8; ++i)
            AppendMenuA(sub, MF_STRING | ((top && top->category == (1u << i)) ? MF_CHECKED : 0),
                        5335 + i, names[i]);
        Separator();
        AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), title);
    }
    void Elevation()
    {
        Separator();
        Item("Imposta elevazione...", 5271);
    }
    void Ground() { Item("Riposiziona sul terreno", 5326); }

private:
    HMENU menu;
};

PlanVertex* FirstVertexOf(const PlanMouseState* hit)
{
    return hit ? hit->vertexA : nullptr;
}

bool SegmentHit(const PlanMouseState* hit)
{
    return hit && hit->segmentHit && hit->vertexA && hit->vertexB;
}

void WallMenu(Menu& m, const PlanObject* wall, const PlanMouseState* hit)
{
    const bool exterior = wall->subType == kExteriorWallGroup;
    m.Edit();
    m.Separator();
    m.Item(exterior ? "Proprietà muri esterni..." : "Proprietà pareti interne...", kMenuProperties);
    m.Item("Proprietà segmento muro...", kMenuLocal1);
    m.Separator();
    if (exterior)
        m.Item("Trasforma in muro interno", kMenuToInterior);
    else
        m.Item("Trasforma in muro esterno", kMenuToExterior);
    m.Separator();
    const PlanVertex* v = FirstVertexOf(hit);
    if (!v) {
        m.Item("Quotatura automatica", kMenuLocal2);
        m.Item("Quote porte/finestre", kMenuLocal3);
    } else {
        const bool automatic = !(v->segmentFlags & kNoAutomaticDimensions);
        const UINT grey = automatic ? 0 : MF_GRAYED;
        m.Item("Quotatura automatica", kMenuLocal2, automatic ? MF_CHECKED : 0);
        m.Item("Quote porte/finestre", kMenuLocal3,
               (v->segmentFlags & kNoOpeningDimensions) ? 0 : MF_CHECKED);
        m.Separator();
        m.Item("Quota centro muro", kMenuLocal4, grey | (v->segmentStyleExtra == 0 ? MF_CHECKED : 0));
        m.Item("Quota superficie muro", kMenuLocal5, grey | (v->segmentStyleExtra != 0 ? MF_CHECKED : 0));
        m.Separator();
        m.Item("Sposta quota dentro/fuori", kMenuLocal6, grey);
    }
    m.Categories(wall);
    m.Elevation();
}

void RedrawRenderNow()
{
    RedrawRenderWindow();
}

// The bath and shower dialog: the fixture's length and width in display units.
void EditBathOrShower(PlanObject* fixture)
{
    PlanSettings* settings = Settings();
    OpeningRecord* record = static_cast<OpeningRecord*>(fixture->link);
    if (!record)
        return;
    float length = PlanLengthToUnits(record->width, settings, 0);
    float width = PlanLengthToUnits(record->height, settings, 0);
    if (RunBathShowerDialog(settings, &length, &width, static_cast<int>(fixture->subType))) {
        record->width = UnitsToPlanLength(length, settings, 0);
        record->height = UnitsToPlanLength(width, settings, 0);
        if (fixture->owner) {
            FitWallOpenings(fixture->owner);
            RebuildObject3D(fixture->owner);
        }
    }
    InvalidatePlanView();
}

void EditCustomTopography(PlanObject* object)
{
    float amount = object->size;
    if (!RunCustomTopographyDialog(Settings(), &amount))
        return;
    object->size = amount;
    RebuildAll3D();
    RedrawRenderWindow();
    InvalidatePlanView();
}

void EditSlope(PlanObject* object)
{
    PlanVertex* first = object->firstVertex;
    if (!first)
        return;
    float angle = first->mainHeight;
    if (!RunSlopedTopographyDialog(Settings(), &angle))
        return;
    first->mainHeight = angle;
    if (first->next)
        first->next->mainHeight = angle;
    RebuildAll3D();
    RedrawRenderWindow();
    InvalidatePlanView();
}

void EditStructureSizes(PlanObject* object)
{
    PlanSettings* settings = Settings();
    bool ok = false;
    switch (object->type) {
    case ObjBeam: {
        float width = object->parameters[3], depth = object->parameters[2];
        if ((ok = RunBeamDialog(settings, &width, &depth) != 0)) {
            object->parameters[3] = width;
            object->parameters[2] = depth;
        }
        break;
    }
    case ObjPier: {
        float diameter = object->parameters[0];
        if ((ok = RunPierDialog(settings, &diameter) != 0))
            object->parameters[0] = diameter;
        break;
    }
    case ObjAirDuct: {
        float width = object->parameters[2], depth = object->parameters[3];
        if ((ok = RunHvacDuctDialog(settings, &width, &depth) != 0)) {
            object->parameters[2] = width;
            object->parameters[3] = depth;
        }
        break;
    }
    default:
        break;
    }
    if (ok)
        InvalidatePlanView();
}

void ChooseFontOfText(PlanObject* text)
{
    if (!ChooseTextFont(frameWindow))
        return;
    ApplyObjectOperation(text, 0, SetTextFont, &textLogFont);
    DeactivateDocumentChild();
    if (activeDocument)
        ForEachFloorObject(activeDocument->firstFloor, 0, SuspendTextEditors, nullptr);
    InvalidatePlanView();
}

} // namespace

HMENU BuildEmptyPlanMenu()
{
    const PlanSettings* settings = Settings();
    Menu m;
    m.Item("Imposta elevazione lavoro...", 5327);
    m.Separator();
    m.Item("Reimposta visualizzazione pianta", 5262);
    m.Item("Reimposta visualizzazione 3D", 5241);
    m.Separator();
    m.Item("Visualizzazione pianta tutto schermo", 5257);
    m.Item("Visualizzazione 3D quarto", 5258);
    m.Item("Visualizzazione pianta/3D metà", 5259);
    m.Item("Visualizzazione 3D tutto schermo", 5260);
    m.Separator();
    m.Item("Proprietà griglia...", 5046);
    m.Item("Griglia visibile", 5044, settings && settings->gridVisible ? MF_CHECKED : 0);
    m.Item("Allinea a griglia", 5045, settings && settings->snapToGrid ? MF_CHECKED : 0);
    m.Separator();
    m.Item("Colore piano di lavoro...", 5265);
    m.Item("Colore piano non attivo...", 5297);
    m.Item("Colore sfondo...", 5030);
    m.Item("Reimposta colori", 5266);
    m.Separator();
    m.Item("Incolla", 20);
    m.Separator();
    m.Item("Salva", 5);
    return m.Take();
}

HMENU BuildObjectMenu(PlanObject* object, const PlanMouseState* hit, bool* ownTable)
{
    *ownTable = true;
    if (!object)
        return nullptr;
    Menu m;
    switch (object->type) {
    case ObjWall:
        WallMenu(m, object, hit);
        break;
    case ObjFloorSlab:
        m.Edit();
        m.Separator();
        m.Item("Metri quadrati pavimento...", kMenuLocal1);
        m.Separator();
        m.Item("Proprietà pavimento...", kMenuLocal2);
        m.Categories(object);
        m.Elevation();
        break;
    case ObjRoof:
    case ObjFreehandRoof:
        m.Edit();
        m.Separator();
        m.Item("Imposta elevazione tetto...", kMenuLocal1);
        m.Separator();
        m.Item("Proprietà tetto...", kMenuProperties);
        m.Categories(object);
        break;
    case kLibraryObject:
        m.Edit();
        m.Separator();
        m.Item("Eleva oggetto...", kMenuLocal1);
        m.Separator();
        m.Item("Tovrel...", kMenuProperties);
        m.Categories(object);
        m.Elevation();
        m.Ground();
        break;
    case ObjDoor:
    case ObjWindow:
    case ObjDeckSteps:
        m.Item("Cancella", 5199);
        m.Separator();
        m.Item(object->type == ObjDoor     ? "Proprietà porta..."
               : object->type == ObjWindow ? "Proprietà finestra..."
                                           : "Proprietà gradini terrazza...",
               kMenuProperties);
        break;
    case 21:
        m.Edit();
        m.Separator();
        m.Item("Metri quadrati proprietà...", kMenuLocal1);
        m.Categories(object);
        break;
    case ObjPath:
        m.Edit();
        m.Separator();
        m.Item("Metri quadrati sentiero...", kMenuLocal1);
        m.Separator();
        m.Item("Proprietà sentiero...", kMenuProperties);
        m.Categories(object);
        m.Elevation();
        m.Ground();
        break;
    case ObjPicketFence:
        m.Edit();
        m.Separator();
        m.Item("Proprietà steccato...", kMenuProperties);
        m.Categories(object);
        m.Elevation();
        m.Ground();
        break;
    case 26:
    case 27:
        m.Edit();
        m.Separator();
        m.Item("Metri quadrati zona riempimento...", kMenuLocal1);
        m.Categories(object);
        m.Elevation();
        m.Ground();
        break;
    case ObjPlant:
        m.Edit();
        m.Separator();
        m.Item("Età della pianta...", 5237);
        m.Separator();
        m.Item("Informazioni pianta...", kMenuProperties);
        m.Categories(object);
        m.Elevation();
        m.Ground();
        break;
    case ObjTopography:
    case ObjSlope:
    case ObjBeam:
    case ObjAirDuct:
        m.Edit();
        m.Separator();
        m.Item(object->type == ObjTopography ? "Proprietà topografia..."
               : object->type == ObjSlope    ? "Proprietà pendenza..."
               : object->type == ObjBeam     ? "Proprietà travi di rinforzo..."
                                             : "Proprietà condutture RVAC...",
               kMenuProperties);
        m.Categories(object);
        break;
    case ObjStair:
        m.Edit();
        m.Separator();
        m.Item("Proprietà scala...", kMenuProperties);
        m.Categories(object);
        m.Separator();
        m.Item("Définir l'élévation...", 5271);
        break;
    case ObjRailing:
        m.Edit();
        m.Separator();
        m.Item("Proprietà ringhiera...", kMenuProperties);
        m.Categories(object);
        m.Elevation();
        break;
    case ObjFloorOpening:
        m.Edit();
        m.Separator();
        m.Item("Metri quadrati apertura pavimento...", kMenuLocal1);
        m.Separator();
        m.Item("Proprietà apertura pavimento...", kMenuLocal2);
        m.Categories(object);
        m.Elevation();
        break;
    case 50:
        m.Edit();
        m.Separator();
        m.Item("Metri quadrati pavimento/piano...", kMenuStoreyArea);
        m.Categories(object);
        m.Elevation();
        break;
    case ObjDeck: {
        if (!SegmentHit(hit))
            return nullptr;
        const uint32_t flags = hit->vertexA->segmentFlags;
        m.Edit();
        m.Separator();
        m.Item("Metri quadrati terrazza...", kMenuLocal1);
        m.Separator();
        m.Item("Altezza terrazza...", kMenuLocal2);
        m.Separator();
        m.Item("Aggiungi ringhiera", kMenuLocal3, (flags & kDeckRailing) ? MF_CHECKED : 0);
        m.Item("Includi rivestimento", kMenuLocal4, (flags & kDeckSkirting) ? MF_CHECKED : 0);
        m.Separator();
        m.Item("Inserisci gradini", kMenuLocal5);
        m.Separator();
        m.Item("Proprietà segmento terrazza...", kMenuLocal6);
        m.Categories(object);
        m.Elevation();
        break;
    }
    case ObjWallElement:
        m.Item("Cancella", 5199);
        if (object->subType >= 95 && object->subType <= 97) {
            m.Separator();
            m.Item(object->subType == 95   ? "Proprietà vasca/doccia..."
                   : object->subType == 96 ? "Proprietà vasca idromassaggio..."
                                           : "Proprietà doccia...",
                   kMenuProperties);
        }
        break;
    case ObjDimensionLine:
    case ObjDimensionLabel:
    case ObjPier:
    case ObjTextFrame:
        m.Edit(false);
        m.Separator();
        m.Item(object->type == ObjPier        ? "Proprietà pilastri di fondazione..."
               : object->type == ObjTextFrame ? "Testo..."
                                              : "Quote...",
               kMenuProperties);
        m.Categories(object);
        break;
    case ObjImage:
        m.Item("Taglia", 18);
        m.Item("Copy", 19);
        m.Item("Paste", 20);
        m.Item("Clear", 5199);
        m.Separator();
        m.Item("Move...", 5215);
        m.Separator();
        m.Item("Lumaref Properties...", kMenuProperties);
        m.Item("Set Lumaref Image...", kMenuLocal1);
        m.Categories(object, "Move To Plan");
        break;
    default:
        // The general edit menu, whose choice goes straight to the frame.
        if (!frameWindow)
            return nullptr;
        *ownTable = false;
        m.Edit();
        m.Categories(object);
        break;
    }
    return m.Take();
}

void RunObjectMenuCommand(PlanObject* object, const PlanMouseState* hit, int id)
{
    PlanSettings* settings = Settings();
    if (!object || !settings || id <= 0)
        return;
    PlanVertex* first = FirstVertexOf(hit);
    const uint16_t type = object->type;
    switch (type) {
    case ObjWall:
        switch (id) {
        case kMenuProperties:
            EditSelectedWall(object, settings);
            InvalidatePlanView();
            return;
        case kMenuLocal1:
            if (SegmentHit(hit) && EditSelectedWallSegment(activeDocument, hit->vertexA, settings)) {
                RebuildWall(object);
                RebuildObject3D(object);
            }
            return;
        case kMenuLocal2: case kMenuLocal3: case kMenuLocal4: case kMenuLocal5: case kMenuLocal6:
            if (!first)
                return;
            if (id == kMenuLocal2)
                first->segmentFlags ^= kNoAutomaticDimensions;
            else if (id == kMenuLocal3)
                first->segmentFlags ^= kNoOpeningDimensions;
            else if (id == kMenuLocal4)
                first->segmentStyleExtra = 0;
            else if (id == kMenuLocal5)
                first->segmentStyleExtra = 1;
            else
                first->alternationMarker = first->alternationMarker == 0 ? 1 : 0;
            InvalidatePlanView();
            return;
        case kMenuToInterior:
            ConvertWallGroupToInterior(object);
            return;
        case kMenuToExterior:
            ConvertWallGroupToExterior(object);
            return;
        }
        break;
    case ObjFloorSlab:
    case ObjFloorOpening:
        if (id == kMenuLocal1) {
            SendFrame(type == ObjFloorSlab ? 5305 : 5331, object);
            return;
        }
        if (id == kMenuLocal2) {
            if (type == ObjFloorSlab)
                EditSelectedSlab(object, settings);
            else
                EditSelectedStairwellOpening(object, settings);
            RebuildSlabChildren(object);
            RebuildAll3D();
            RedrawRenderNow();
            return;
        }
        break;
    case ObjRoof:
    case ObjFreehandRoof:
        if (id == kMenuProperties || id == kMenuLocal1) {
            if (id == kMenuProperties)
                EditSelectedRoof(object, settings);
            else if (type == ObjRoof)
                EditSelectedElevation(object);
            else
                EditSelectedRoofSectionElevation(object, settings);
            InvalidatePlanView();
            return;
        }
        break;
    case kLibraryObject:
        if (id == kMenuProperties) {
            HandOverToFurnitureEditor(object);
            return;
        }
        if (id == kMenuLocal1) {
            EditSelectedElevation(object);
            InvalidatePlanView();
            return;
        }
        break;
    case 21: case ObjPath: case 26: case 27:
        if (id == kMenuLocal1) {
            SendFrame(type == 21 ? 5330 : type == ObjPath ? 5304 : 5306, object);
            return;
        }
        if (id == kMenuProperties && type == ObjPath) {
            EditSelectedPath(object, settings);
            InvalidatePlanView();
            return;
        }
        break;
    case 50:
        if (id == kMenuStoreyArea) {
            SendFrame(5305, object);
            return;
        }
        break;
    case ObjDeck:
        if (!SegmentHit(hit))
            return;
        switch (id) {
        case kMenuLocal1:
            SendFrame(5309, object);
            return;
        case kMenuLocal2:
            EditSelectedDeckHeight(object, settings);
            InvalidatePlanView();
            return;
        case kMenuLocal3:
        case kMenuLocal4:
            hit->vertexA->segmentFlags ^= id == kMenuLocal3 ? kDeckRailing : kDeckSkirting;
            RebuildDeck(object);
            RebuildAll3D();
            RedrawRenderNow();
            return;
        case kMenuLocal5:
            BuildKind53OnSegment(object, hit->vertexA, hit->vertexB);
            RebuildDeck(object);
            InvalidatePlanView();
            RebuildAll3D();
            RedrawRenderNow();
            return;
        case kMenuLocal6:
            EditSelectedDeckSegment(object, hit->vertexA, settings);
            InvalidatePlanView();
            return;
        }
        break;
    case ObjImage:
        if (id == kMenuProperties) {
            EditLumarefSettings(object, settings);
            return;
        }
        if (id == kMenuLocal1) {
            ChooseObjectImage(object);
            return;
        }
        break;
    case ObjPicketFence:
        if (id == kMenuProperties) {
            EditSelectedFence(object, settings);
            InvalidatePlanView();
            return;
        }
        break;
    case ObjWallElement:
        if (id == kMenuProperties) {
            EditBathOrShower(object);
            return;
        }
        break;
    default:
        // The other types' properties are their double-click dialogs.
        if (id == kMenuProperties) {
            OpenObjectDialog(activePlanPane, object, hit);
            return;
        }
        break;
    }
    // An id the type's table does not name is the frame's command.
    SendFrame(id);
}

void OpenObjectDialog(HWND, PlanObject* object, const PlanMouseState* hit)
{
    PlanSettings* settings = Settings();
    if (!object || !settings)
        return;
    switch (object->type) {
    case ObjWall: EditSelectedWall(object, settings); break;
    case ObjRoof: EditSelectedRoof(object, settings); break;
    case kLibraryObject: HandOverToFurnitureEditor(object); return;
    case ObjDoor: EditSelectedDoor(object, settings); break;
    case ObjWindow: EditSelectedWindow(object, settings); break;
    case ObjPath: EditSelectedPath(object, settings); break;
    case ObjPlant: RunPlantDetailsDialog(settings, object); return;
    case ObjTopography: EditCustomTopography(object); return;
    case ObjStair: EditSelectedStairs(object, settings); break;
    case ObjRailing: EditSelectedRailing(object, settings); break;
    case ObjDeck:
        if (!FirstVertexOf(hit))
            return;
        EditSelectedDeckSegment(object, hit->vertexA, settings);
        break;
    case ObjDeckSteps: EditSelectedDeckStairs(object, settings); break;
    case ObjFreehandRoof: EditSelectedRoofSectionElevation(object, settings); break;
    case ObjSlope: EditSlope(object); return;
    case ObjDimensionLine: case ObjDimensionLabel: EditSelectedDimension(object, settings); break;
    case ObjBeam: case ObjPier: case ObjAirDuct: EditStructureSizes(object); return;
    case ObjImage: EditLumarefSettings(object, settings); break;
    case ObjTextFrame: ChooseFontOfText(object); return;
    default: return;
    }
    InvalidatePlanView();
}

void ShowEmptyPlanMenu(HWND)
{
    if (!frameWindow)
        return;
    HMENU menu = BuildEmptyPlanMenu();
    if (!menu)
        return;
    POINT at = {0, 0};
    CurrentInput().CursorPos(&at);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, frameWindow, nullptr);
    DestroyMenu(menu);
}

void ShowObjectContextMenu(HWND, PlanObject* object, const PlanMouseState* hit)
{
    bool ownTable = true;
    HMENU menu = BuildObjectMenu(object, hit, &ownTable);
    if (!menu)
        return;
    POINT at = {0, 0};
    CurrentInput().CursorPos(&at);
    if (!ownTable) {
        TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, frameWindow, nullptr);
        DestroyMenu(menu);
        return;
    }
    const int id = static_cast<int>(TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                                   at.x, at.y, 0, frameWindow, nullptr));
    DestroyMenu(menu);
    if (id > 0)
        RunObjectMenuCommand(object, hit, id);
}

void HandOverToFurnitureEditor(PlanObject* object)
{
    PlanSettings* settings = Settings();
    if (!object || !settings || RefuseSecondFurnitureEditor(frameWindow))
        return;
    if (!IsAnyPointSelected(object) || !programDirectory)
        return;
    ChangeToProgramDirectory();
    PlanObject* top = GetTopLevelObject(object);
    if (activeDocument)
        SetSelectionAllFloors(activeDocument->firstFloor, kSelectDeselect, 1);
    SelectObjectAndDrawHandles(top, kSelectSelect, 1);

    const std::string directory = programDirectory;
    const std::string exchange = directory + "\\Z!TOVRL.TMP";
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const bool written = WriteObjectExchangeFile(exchange.c_str());
    SetCursor(previous ? previous : LoadCursorA(nullptr, IDC_ARROW));

    // Without its file the editor would reopen a stale one and the re-import would put
    // it over the object: it starts only when the file was written.
    if (!written) {
        ReportFurnitureEditorWriteFailure(frameWindow);
        return;
    }
    // Its path is quoted in a directory with a blank.
    const std::string arguments = exchange + (settings->unitSystem == kUnitSystemMetric ? "M" : "E");
    HANDLE process = nullptr;
    NoteFurnitureEditorStart();
    if (!RunCompanion("\\Z!TOVRL.EXE", arguments.c_str(), &process)) {
        ReportFurnitureEditorFailure(frameWindow);
        return;
    }
    FurnitureEditorStarted(process, top);
}
