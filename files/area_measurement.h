#pragma once

struct PlanFloor;
struct PlanObject;

// The total area of the floor's objects of the type, in square feet or square metres by
// the plan's unit system; 0 when nothing is found, -1 when cancelled.
float MeasureAreaOfType(PlanFloor* floor, unsigned short type, int clear);
// The area inside one object's outline; 0 or -1 likewise (negative: not measured).
float MeasureObjectArea(PlanObject* object);
// Builds and writes the cost-estimate exchange file; false on failure.
bool WriteEstimateFile(const char* path);
