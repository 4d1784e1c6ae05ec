#include "model/plan_settings.h"

#include <cmath>
#include <cstring>

#include "dialogs/common_values.h"
#include "model/record_memory.h"

namespace {

// Program-wide defaults of the object builders and of the text tool, as they stand when
// a record is built: they seed the common-value record.
constexpr uint16_t kBuilderSecondStyleDefault = 2;
constexpr uint16_t kTextToolAlignmentDefault = 41;

constexpr ColourTriple Triple(uint16_t r, uint16_t g, uint16_t b) { return ColourTriple{r, g, b}; }
constexpr ColourTriple kUnsetColour{kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

// The library side bar's starting swatches, in index order.
constexpr uint32_t kSwatchDefaults[72] = {
    Rgb(89, 155, 76),   Rgb(255, 255, 255), Rgb(223, 108, 105), Rgb(93, 110, 211),
    Rgb(106, 111, 87),  Rgb(87, 212, 38),   Rgb(76, 60, 176),   Rgb(193, 61, 76),
    Rgb(127, 160, 114), Rgb(146, 112, 92),  Rgb(62, 78, 138),   Rgb(123, 132, 140),
    Rgb(235, 211, 198), Rgb(187, 171, 133), Rgb(194, 93, 61),   Rgb(164, 55, 69),
    Rgb(255, 169, 46),  Rgb(230, 213, 82),  Rgb(132, 190, 181), Rgb(205, 190, 177),
    Rgb(91, 168, 127),  Rgb(192, 216, 59),  Rgb(40, 75, 254),   Rgb(0, 146, 210),
    Rgb(178, 86, 4),    Rgb(194, 148, 148), Rgb(192, 182, 38),  Rgb(31, 160, 18),
    Rgb(194, 104, 125), Rgb(250, 220, 140), Rgb(228, 211, 226), Rgb(250, 185, 62),
    Rgb(26, 97, 20),    Rgb(130, 182, 200), Rgb(255, 232, 0),   Rgb(106, 55, 118),
    Rgb(236, 228, 186), Rgb(239, 215, 174), Rgb(240, 207, 159), Rgb(190, 148, 122),
    Rgb(130, 99, 56),   Rgb(123, 101, 87),  Rgb(137, 119, 107), Rgb(191, 143, 113),
    Rgb(225, 210, 185), Rgb(194, 130, 91),  Rgb(213, 174, 156), Rgb(162, 89, 59),
    Rgb(0, 0, 127),     Rgb(255, 0, 127),   Rgb(127, 127, 255), Rgb(0, 0, 255),
    Rgb(0, 255, 255),   Rgb(255, 0, 0),     Rgb(255, 127, 0),   Rgb(187, 226, 29),
    Rgb(255, 255, 0),   Rgb(255, 0, 255),   Rgb(255, 127, 255), Rgb(63, 0, 63),
    Rgb(255, 255, 255), Rgb(244, 244, 244), Rgb(224, 224, 224), Rgb(208, 208, 208),
    Rgb(192, 192, 192), Rgb(160, 160, 160), Rgb(142, 142, 142), Rgb(136, 136, 136),
    Rgb(128, 128, 128), Rgb(112, 112, 112), Rgb(92, 92, 92),    Rgb(0, 0, 0),
};

}  // namespace

// The common-value record describes the current drawing defaults: every value valid and
// the same for all.
void FillCommonValuesFromSettings(const PlanSettings* s, CommonProperties* c)
{
    if (!s || !c) return;
    c->first = 1;
    c->secondStyleSame = 1;
    c->secondStyle = kBuilderSecondStyleDefault;
    c->colourASame = 1;
    c->colourA = s->foregroundColour;
    c->penWidthSame = 1;
    c->penWidth = s->defaultPenWidth;
    c->colourBSame = 1;
    c->colourB = s->newObjectColour;
    c->firstStyleSame = 1;
    c->firstStyle = s->defaultFirstStyle;
    c->flag80Same = 1;
    c->flag80 = (s->styleWord & kStyleFlag80) ? 1 : 0;
    c->endMarkSame = 1;
    c->endMark = s->endMarkChoice;
    c->flag100Same = 1;
    c->flag100 = (s->styleWord & kStyleFlag100) ? 1 : 0;
    c->textPositionSame = 1;
    c->textPosition = s->styleChoice;
    c->textAlignmentSame = 1;
    c->textAlignment = kTextToolAlignmentDefault;
}

PlanSettings* CreatePlanSettings()
{
    PlanSettings* settings = AllocateRecordOf<PlanSettings>();
    if (!settings) return nullptr;
    InitPlanSettings(settings);
    return settings;
}

void FreePlanSettings(PlanSettings* settings)
{
    ReleaseRecord(settings);
}

void ApplyEndMarkChoice(PlanSettings* settings)
{
    if (!settings) return;
    settings->styleWord &= ~kStyleEndMarkBits;
    const uint16_t choice = settings->endMarkChoice;
    if (choice >= kEndMarkFirst && choice <= kEndMarkLast)
        settings->styleWord |= 1u << (choice - kEndMarkFirst);
}

void ApplyStyleChoice5054(PlanSettings* settings)
{
    if (!settings) return;
    settings->styleWord &= ~kStyleChoiceBits;
    switch (settings->styleChoice) {
    case 5054: settings->styleWord |= 0x200; break;
    case 5055: settings->styleWord |= 0x400; break;
    case 5056: settings->styleWord |= 0x800; break;
    default: break;
    }
}

void ApplyDisplayFormatChoice(PlanSettings* settings)
{
    if (!settings) return;
    settings->styleWord &= ~kStyleDisplayFormatBits;
    const uint16_t format = settings->displayFormat;
    if (format >= kDisplayFormatFirst && format <= kDisplayFormatLast)
        settings->styleWord |= 1u << (12 + (format - kDisplayFormatFirst));
}

void InitPlanSettings(PlanSettings* settings)
{
    if (!settings) return;
    PlanSettings* s = settings;
    // Padding and every field whose default is zero start at zero.
    std::memset(s, 0, sizeof(*s));

    s->duplicateOffsetX = 0.5f;
    s->duplicateOffsetZ = -0.5f;
    s->duplicateCount = 1;
    s->referenceX = 2400.0f;
    s->referenceHeight = 0.0f;
    s->referenceZ = -2400.0f;
    s->viewPlane = 2;
    s->limitLockHeight = 1;
    s->reserved27 = 1;
    s->snapToGrid = 1;
    s->gridSpacingX = 12.0f;
    s->gridSpacingY = 12.0f;
    s->snapStepX = 1.0f;
    s->snapStepY = 1.0f;
    s->scrollStep = 50;
    s->nudgeDistance = 12.0f;
    s->defaultFirstStyle = 6;
    s->defaultPenWidth = 1;
    s->reserved58 = 10;
    s->extentTop = -2400.0f;
    s->extentLeft = -2400.0f;
    s->extentBottom = 2400.0f;
    s->extentRight = 2400.0f;
    s->reserved76 = 19;
    s->reserved78 = 1;
    s->reserved80 = 1;
    s->reserved82 = 1;
    s->reserved84 = 1;
    s->siteUnit = 1;
    s->siteWidth = 200.0f;
    s->siteDepth = 200.0f;
    s->endMarkChoice = 5089;
    s->styleChoice = kStyleChoiceNone;
    s->openingDrawValue = 4.0f;
    s->reserved112 = 9;
    s->groundColour = Triple(24415, 36751, 12079);
    s->newObjectColour = Triple(0, 0, 0);
    s->foregroundColour = Triple(0, 16448, 34952);
    s->backgroundColour = Triple(63736, 63736, 65535);
    s->displayFormat = 5064;
    s->reserved140 = 24;
    s->toolBarFlag = 1;
    s->drawingScale = kPlanDefaultDrawingScale;
    s->paperUnit = 1;
    s->drawingUnit = 1;
    s->scalePaperLength = 1.0f;
    s->scaleDrawingLength = 1.0f / 36.0f;
    s->curveSteps = kPlanDefaultCurveSteps;
    s->multigonSides = 6;
    s->reserved166 = 50;
    s->pickTolerance = 5;
    s->recomputeValue = 8;
    s->zoom = kPlanDefaultZoom;
    s->zoomPercent = 100;

    // The style word is derived from the three stored choices.
    s->styleWord = kStyleConstructedBit;
    ApplyEndMarkChoice(s);
    ApplyDisplayFormatChoice(s);
    ApplyStyleChoice5054(s);

    s->viewTitleMode = 5100;
    FillCommonValuesFromSettings(s, &s->commonProperties);
    s->view3DMode = 5;

    s->wallThicknessPreset = 9;
    s->wallDialogLength = 5.0f;
    s->wallThickness = 4.0f;
    s->wallHeight = 96.0f;
    s->wallColour = Triple(57568, 57568, 57568);
    s->doorStyle = 501;
    s->doorWidth = 30.0f;
    s->doorHeight = 80.0f;
    s->doorCasingWidth = 3.0f;
    s->doorColour = Triple(45232, 31868, 7710);
    s->windowStyle = 604;
    s->windowBarsAcross = 0;
    s->windowBarsDown = 1;
    s->windowWidth = 36.0f;
    s->windowHeight = 56.0f;
    s->windowElevation = 24.0f;
    s->windowCasingWidth = 3.0f;
    s->windowColour = Triple(45232, 31868, 7710);
    s->roofPitchPreset = 12;
    s->roofDialogLength314 = 7.0f;
    s->roofPitch = 10.0f;
    s->roofStyle = 1;
    s->roofColour = Triple(61166, 54998, 43176);
    s->dimensionDialogValue = 8;
    s->dimensionColour = kUnsetColour;
    s->unitSystem = kUnitSystemMetric;
    s->zoomTopView = 0.6f;
    s->zoomOtherViews = 0.5f;
    s->printScaleChoice = 10;

    s->cameraHeading = 0.0f;
    s->cameraX = 0.0f;
    // The walk camera starts just inside the bottom edge of the plan.
    s->cameraZ = s->extentBottom - 125.0f;
    s->view3DValue366 = 100000.0f;
    s->view3DValue370 = 9.0f;
    s->view3DValue374 = 30;
    s->view3DValue378 = 12;
    s->view3DValue382 = 2000.0f;
    s->view3DValue386 = 45.0f;
    s->view3DValue390 = 50000.0f;
    s->view3DValue394 = 4;
    s->moveSpeed3D = 8;
    s->skyColour = Triple(49087, 53456, 61680);
    s->view3DValue404 = 1;
    s->view3DFlag406 = 1;
    s->cameraMode = 1;
    s->aerialPitch = 20.0f;
    s->aerialYaw = 330.0f;
    std::memcpy(s->swatchColours, kSwatchDefaults, sizeof(kSwatchDefaults));
    s->backgroundTextureId = 1550;

    s->pathWidth = 36.0f;
    s->pathDefault728 = 2.0f;
    s->pathDefault732 = 2.0f;
    s->pathDefault736 = 5.5f;
    s->pathFlag = 1;
    s->fenceColour = Triple(51143, 39835, 28784);
    s->fenceStyle = 703;
    s->fenceLength750 = 6.0f;
    s->fenceLength754 = 36.0f;
    s->fenceLength758 = 3.0f;
    s->fenceLength762 = 4.0f;
    s->fenceSecondColour = kUnsetColour;
    s->gateWidth = 36.0f;
    s->gateHeight = 36.0f;
    s->gateColour = kUnsetColour;
    s->paintTextureId = 1150;
    s->plantAge = 18.0f;
    s->gridStyle = 2;
    s->stairWidth = 48.0f;
    s->stairRiserHeight = 7.0f;
    s->stairTreadDepth = 10.0f;
    s->stairRailingHeight = 36.0f;
    s->stairRailingFirstSide = 1;
    s->stairRailingSecondSide = 1;
    s->railingHeight = 36.0f;
    s->railingBalusterSpacing = 6.0f;
    s->railingFlag820 = 1;
    s->railingFlag821 = 1;
    s->tracingScaleX = 1.0f;
    s->tracingScaleY = 1.0f;
    s->dimensionDrawing = 1;
    s->labelDrawing = 1;
    s->reservedColour1348 = kUnsetColour;
    s->inactiveColour = Triple(53456, 59624, 65535);
    s->renderShadowValue = 0.25f;
    s->lightDirectionX = 200.0f;
    s->lightDirectionY = 100.0f;
    s->lightDirectionZ = -200.0f;
    s->antiAliasPasses = kPlanDefaultAntiAliasPasses;
    s->drawValue3D = 25000.0f;
    s->studSpacing = 16.0f;
    s->value3D1390 = 1.0f;
    s->lightingValue = 5;

    s->deckHeight = 24.0f;
    s->deckRailing = 1;
    s->deckRailingHeight = 36.0f;
    s->deckBalusterSpacing = 6.0f;
    s->deckSegmentFlag1432 = 1;
    s->deckSegmentFlag1433 = 0;
    s->deckStepsFlag1434 = 1;
    s->deckStepsFlag1435 = 1;
    s->deckStepsWidth = 60.0f;
    s->deckStepsHeight = 24.0f;

    // The category masks that each palette tab starts with; the floor-plan tab also
    // shows the electrical and plumbing symbols.
    const uint32_t tabMasks[8] = {
        kCategoryFoundation,
        kCategoryFloorPlan | kCategoryElectrical | kCategoryPlumbing,
        kCategoryElectrical | kCategoryFloorPlan,
        kCategoryPlumbing | kCategoryFloorPlan,
        kCategoryRoof | kCategoryFloorPlan,
        kCategoryHvac | kCategoryFloorPlan,
        kCategoryDeck | kCategoryFloorPlan,
        kCategoryGarden | kCategoryFloorPlan,
    };
    std::memcpy(s->tabCategoryMasks, tabMasks, sizeof(tabMasks));
    s->visibleCategories = s->tabCategoryMasks[0];
    s->activeCategory = kCategoryFoundation;
    s->view3DValue1488 = 235;
    s->workingElevation = 0.0f;
    GetWorkingElevationValue(s, &s->workingElevationValue);

    for (float& v : s->floorToolDefaults) v = 12.0f;
    for (uint32_t& v : s->fixtureToolDefaults) v = 8;
    const float fixtureSizes[6] = {60.0f, 30.0f, 72.0f, 72.0f, 48.0f, 36.0f};
    std::memcpy(s->fixtureSizes, fixtureSizes, sizeof(fixtureSizes));
    s->ductWidth = 12.0f;
    s->ductHeight = 20.0f;
    s->slopeDefault = 5.0f;
    s->topographyStep = 24.0f;
    s->swatchColour = 0;
    for (uint32_t& v : s->plantSearch) v = 65535;
    s->plantSearchOn = 0;
}

float UsableDrawingScale(const PlanSettings* settings)
{
    if (!settings) return kPlanDefaultDrawingScale;
    const float scale = settings->drawingScale;
    return scale > 0.0f && std::isfinite(scale) ? scale : kPlanDefaultDrawingScale;
}

uint16_t UsableCurveSteps(const PlanSettings* settings)
{
    if (!settings) return kPlanCurveStepsWithoutDocument;
    // Older writers stored the count as a signed word: a top bit set is no count.
    const int16_t steps = static_cast<int16_t>(settings->curveSteps);
    if (steps <= 0) return kPlanDefaultCurveSteps;
    return steps > kPlanMaxCurveSteps ? kPlanMaxCurveSteps : static_cast<uint16_t>(steps);
}

float UsableZoom(const PlanSettings* settings)
{
    if (!settings) return 1.0f;
    const float zoom = settings->zoom;
    if (!(zoom > 0.0f) || !std::isfinite(zoom)) return kPlanDefaultZoom;
    return zoom < kMinimumZoom ? kMinimumZoom : zoom;
}

uint32_t UsableAntiAliasPasses(const PlanSettings* settings)
{
    if (!settings) return kPlanDefaultAntiAliasPasses;
    const uint32_t passes = settings->antiAliasPasses;
    if (passes == 0) return kPlanDefaultAntiAliasPasses;
    return passes > kPlanMaxAntiAliasPasses ? kPlanMaxAntiAliasPasses : passes;
}

const char* UsableTracingImagePath(PlanSettings* settings)
{
    if (!settings) return "";
    settings->tracingImagePath[sizeof settings->tracingImagePath - 1] = '\0';
    return settings->tracingImagePath;
}
