#pragma once
// Plant data: the record read from a plant's information file of the texture library
// (an INI file, section "Description"), carried by each plant object, and the plant's
// size at its age by compound annual growth.
#include <stdint.h>

struct PlanObject;

// One plant's data; allocated zeroed through the record allocator, owned by its plant.
struct PlantInfo {
    char commonName[64];
    char botanicalName[64];
    uint16_t type;
    uint16_t propagation;
    uint16_t water;
    uint16_t sunLight;
    uint16_t maximumGrowthHeight;   // display units of the plan
    uint16_t soilType;
    uint8_t zones[10];              // non-zero: the plant grows in hardiness zone n + 1
    float annualGrowthRate;         // percent per year
};

// A new record filled from the plant's information file; all zero when nothing could be
// read. Null only when it cannot be allocated.
PlantInfo* LoadPlantInfo(uint32_t textureId);
// Fills a record from the information file of the plant id; nothing unless the record
// is given, 0 < id < 14000 and an active document with settings exists. Each plant's
// file is read once and what it gave kept for the run, until ForgetPlantInfo.
void ReadPlantInfo(PlantInfo* info, int32_t id);
// Forgets the plants' data kept from their files, so that each file is read again: the
// library side bar calls it as it lists the plant library, where the user sees it anew.
void ForgetPlantInfo();
// A copy of a plant data record for a copied plant, or null.
PlantInfo* CopyPlantInfo(const PlantInfo* info);
// Frees a plant information record; null is ignored.
void FreePlantInfo(PlantInfo* info);
// Writes the plant's width and height at its age (12.0 grown by the annual rate for
// each whole year up to 200, capped at the maximum growth height when it has one and
// always at the plan's limit, width 0.85 of the height); with rescale the plant's footprint is scaled to that width.
// Nothing unless every pointer is given, a document with settings exists and the object
// is a plant with its data; a record with nothing read (no information file) leaves the
// plant as it is.
void ComputePlantSizeAtAge(PlanObject* plant, float* width, float* height, uint8_t rescale);
