#include "soak_plan.h"

#include <windows.h>

#include <algorithm>

namespace {

// Per operation: how often it is drawn, out of the sum, and whether the soak
// can also make it as real input.
const struct { int weight; bool real_form; } operation_draws[static_cast<int>(SoakOperation::count)] = {
    {8, false}, {3, false}, {6, false}, {6, false}, {14, true}, {6, true}, {14, true}, {5, false}, {4, true},
    {4, true},  {3, true},  {3, true},  {5, false}, {2, true},  {3, false}, {10, false}, {5, false}, {3, true},
};

}  // namespace

const char* soak_operation_name(SoakOperation operation)
{
    static const char* const names[] = {"select", "store_limits", "relink", "refresh", "drag", "page_click",
        "type_text", "paste_text", "limits_dialog", "undo", "reset", "close_panel", "open_panel", "autoshade",
        "clear_attribute", "auto_key_and_time", "host_fault", "wander"};
    return names[static_cast<int>(operation)];
}

SoakPlan SoakPlanner::next()
{
    SoakPlan plan;
    do {
        for (uint32_t& number : plan.numbers_)
            digest_ = (digest_ ^ (number = random_.next())) * 16777619u;
        plan.used_ = 0;
        int total = 0, kind = 0;
        for (const auto& draw : operation_draws)
            total += draw.weight;
        for (int pick = plan.below(total); pick >= operation_draws[kind].weight; pick -= operation_draws[kind++].weight) {
        }
        plan.operation = static_cast<SoakOperation>(kind);
        plan.real = operation_draws[kind].real_form && plan.below(100) < real_share_;
    } while (plan.operation == SoakOperation::wander && !plan.real);
    if (plan.chance(60)) {
        int values[3] = {plan.between(-180, 180), plan.between(-180, 180), plan.between(-180, 180)};
        if (plan.chance(20))
            values[0] = values[2] = values[1];  // the axis pinned
        std::sort(values, values + 3);
        for (int i = 0; i < 3; ++i)
            plan.texts[i] = std::to_string(values[i]) + (plan.chance(30) ? ".5" : "");
    } else {
        SoakRandom random = plan.random();
        for (std::string& text : plan.texts)
            text = random_text(random);
    }
    return plan;
}
