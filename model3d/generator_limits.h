#pragma once
#include <stdint.h>

// Bounds the generators put on values that drive their loops. Such values come from
// plan files as well as from dialogs, so none of them may spin a loop for ever or ask
// for an unbounded number of parts.

// Curve steps come from UsableCurveSteps (model/plan_settings.h).

// The most balusters, stations or steps one generator call lays; far beyond any real
// plan, it keeps a damaged length or spacing from asking for millions of parts.
constexpr int32_t kMaxGeneratedPieces = 10000;

// The pieces one object's rebuild may still make. A generator opens a budget for the
// object it rebuilds; every piece it lays (step, picket, post, stud, rafter...) is taken
// from it, whatever loop lays it, so a long or finely spaced object cannot multiply the
// limit. Outside a budget pieces are not counted. Budgets nest: the inner one ends by
// handing the outer one back.
class PieceBudget {
public:
    PieceBudget() : savedLeft(left), savedOpen(open)
    {
        left = kMaxGeneratedPieces;
        open = true;
    }
    ~PieceBudget()
    {
        left = savedLeft;
        open = savedOpen;
    }
    PieceBudget(const PieceBudget&) = delete;
    PieceBudget& operator=(const PieceBudget&) = delete;
    // One more piece: false once the object has made the limit.
    static bool Take()
    {
        if (!open)
            return true;
        if (left <= 0)
            return false;
        --left;
        return true;
    }
    // True once the open budget is used up: loops that lay pieces stop there.
    static bool Spent() { return open && left <= 0; }

private:
    static inline int32_t left = 0;
    static inline bool open = false;
    int32_t savedLeft;
    bool savedOpen;
};
