#pragma once

struct PlanObject;

// The frame of the arched door styles 504 (round-arched opening), 505 (segmental
// opening), 506 (round-arched door) and 507 (segmental door): a grey reveal through the
// wall when the casing is narrower than 0.4, otherwise a casing standing 2.1 in front of
// both faces, drawn on one face and pushed through the wall. 506 and 507 then get their
// arched leaf. True when it replaced the record's parts by the new frame.
bool BuildArchedDoorFrame(PlanObject* object, int style);
