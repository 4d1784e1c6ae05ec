#pragma once

struct PlanObject;

// The frames of the windows that are not plain rectangles (styles 601 to 625): one
// closed outline on one wall face, the window hole and the frame round it in a single
// ring, pushed through the wall so that it stands 2.0 in front of both faces. Each gets
// the window's style, replaces the record's parts by the new frame and returns true
// when it did.
bool BuildArchTopWindowFrame(PlanObject* object, int style);          // 601 to 604
bool BuildHalfArchWindowFrame(PlanObject* object, int style);         // 605 to 610, 624, 625
bool BuildCutCornerWindowFrame(PlanObject* object, int style);        // 611 to 613
bool BuildSlopedTopWindowFrame(PlanObject* object, int style);        // 614 to 617
bool BuildGableWindowFrame(PlanObject* object, int style);            // 618, 619
bool BuildParallelogramWindowFrame(PlanObject* object, int style);    // 620, 621
bool BuildOctagonWindowFrame(PlanObject* object, int style);          // 622
bool BuildOvalWindowFrame(PlanObject* object, int style);             // 623
