#pragma once
// One operation: its kind, whether real input is asked for, and a block of numbers drawn
// in full before anything acts, from which its drivers (real or synthesised) take every
// detail. Each draws as many, so nothing the panel or real input did decides a later
// draw; a digest of every number drawn shows that a seed replays.
#include <cstdint>
#include <string>

#include "random_text.h"

enum class SoakOperation : int {
    select, store_limits, relink, refresh, drag, page_click, type_text, paste_text, limits_dialog, undo, reset,
    close_panel, open_panel, autoshade, clear_attribute, auto_key_and_time, host_fault,
    wander,  // real input only: the mouse over the windows, presses where nothing may change
    count
};

const char* soak_operation_name(SoakOperation operation);

class SoakPlan {
public:
    SoakOperation operation = SoakOperation::count;
    bool real = false;
    std::string texts[3];  // the limits dialog's fields, as planned
    int below(int n) { return static_cast<int>(numbers_[used_++ % block] % static_cast<uint32_t>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    // A generator of its own, for texts as a user types or pastes them.
    SoakRandom random() { return SoakRandom(numbers_[used_++ % block]); }
    bool exhausted() const { return used_ > block; }

private:
    friend class SoakPlanner;
    static constexpr int block = 96;
    uint32_t numbers_[block] = {};
    int used_ = 0;
};

// The plans of one run, drawn from its seed.
class SoakPlanner {
public:
    SoakPlanner(uint32_t seed, int real_share) : random_(seed), real_share_(real_share) {}
    SoakPlan next();
    uint32_t digest() const { return digest_; }

private:
    SoakRandom random_;
    int real_share_;
    uint32_t digest_ = 2166136261u;
};
