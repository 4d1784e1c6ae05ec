#pragma once
#include <stdint.h>

struct PlanObject;
struct PlantInfo;

// The plant data of a plant picture id from its information file, or null.
PlantInfo* LoadPlantInfo(uint32_t textureId);
// A copy of a plant data record for a copied plant, or null.
PlantInfo* CopyPlantInfo(const PlantInfo* info);
// Frees a plant information record; null is ignored.
void FreePlantInfo(PlantInfo* info);
// Writes the plant's width and height at its age; with rescale also resizes it.
void ComputePlantSizeAtAge(PlanObject* plant, float* width, float* height, uint8_t rescale);
