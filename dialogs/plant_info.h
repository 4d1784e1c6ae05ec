#pragma once
// The plant data of the texture library: each plant picture has an information file
// (INI format, section "Description") read into a PlantInfo record that the plant
// object owns, and the plant's height and width at its age follow from its annual
// growth rate, capped by its maximum growth height.
#include <stdint.h>

struct PlanObject;

struct PlantInfo {
    char commonName[64];
    char botanicalName[64];
    uint16_t type;            // 1 flower, 2 shrub, 3 tree
    uint16_t propagation;
    uint16_t water;
    uint16_t sunLight;
    uint16_t maximumGrowthHeight;  // display units of the plan; 0: no limit
    uint16_t soilType;
    uint8_t zones[10];        // nonzero: grows in hardiness zone n + 1
    float annualGrowthRate;   // percent a year
};

// A new record filled from the information file of a plant picture id; the record comes
// back zeroed when nothing could be read; null only when the allocation fails.
PlantInfo* LoadPlantInfo(uint32_t textureId);
// Fills an existing record; nothing unless 0 < id < 14000 and a plan with settings is open.
void ReadPlantInfo(PlantInfo* info, int32_t textureId);
// A copy of a plant data record for a copied plant, or null.
PlantInfo* CopyPlantInfo(const PlantInfo* info);
// Frees a plant information record; null is ignored.
void FreePlantInfo(PlantInfo* info);
// Writes the plant's width and height at its age (12 plan units grown by the rate each
// year); with rescale also resizes the plant's footprint to the width. A plant whose
// record holds nothing (no information file) is left as it is and nothing is written.
void ComputePlantSizeAtAge(PlanObject* plant, float* width, float* height, uint8_t rescale);
