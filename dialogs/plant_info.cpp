#include "dialogs/plant_info.h"

// No plant information is loaded yet, so no record can exist to be freed, and no
// plant has data to size it by.
PlantInfo* LoadPlantInfo(uint32_t) { return nullptr; }
PlantInfo* CopyPlantInfo(const PlantInfo*) { return nullptr; }
void FreePlantInfo(PlantInfo*) {}
void ComputePlantSizeAtAge(PlanObject*, float*, float*, uint8_t) {}
