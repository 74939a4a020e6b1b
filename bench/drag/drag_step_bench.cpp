// One drag step of the real panel, timed: Kelvaro.dll's panel, opened through
// its component as the host opens it and linked to a simulated ball joint, is
// fed TB_THUMBTRACK steps on the Pitch slider (TBM_SETPOS, then WM_HSCROLL
// with TB_THUMBTRACK to the panel, as the trackbar sends it during a drag)
// from -180 to 180 and back. Sweeps of the panel alternate with sweeps of the
// two floor dialogs (floor_dialog.h), so all three see the same machine at the
// same time. Each step is timed with QueryPerformanceCounter; the figures are
// medians over every step of every sweep.
//
// The module's own heap calls are counted by rewriting its import table
// (import_hook.h) before the component is made; making the component must
// count (its object comes from the process heap), 10,000 drag steps should not.
//
//     drag_bench [sweeps]      (default 40)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/drag/floor_dialog.h"
#include "bench/drag/import_hook.h"
#include "bench/drag/loaded_panel.h"
#include "panel/resource.h"
#include "simhost/host_main_window.h"
#include "simhost/simhost.h"
#include "desktop/slider_press.h"

namespace {

constexpr int lowest_angle = -180;
constexpr int highest_angle = 180;
constexpr int allocation_steps = 10000;

void pump_pending()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// One step as the trackbar makes it during a drag.
inline void drag_step(HWND dialog, HWND slider, int position)
{
    SendMessageA(slider, TBM_SETPOS, TRUE, position);
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, static_cast<WORD>(position)),
                 reinterpret_cast<LPARAM>(slider));
}

// The floors side by side along the top of the screen, clear of each other
// and of the panel, which opens in the middle: each in full view, as the
// panel is, and not one hidden under the other.
void place_floors(HWND bare, HWND asking)
{
    RECT frame;
    GetWindowRect(bare, &frame);
    SetWindowPos(bare, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(asking, nullptr, frame.right - frame.left, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The positions of one sweep: -180 up to 180, then back down to -180.
std::vector<int> sweep_positions()
{
    std::vector<int> positions;
    for (int a = lowest_angle; a <= highest_angle; ++a)
        positions.push_back(a);
    for (int a = highest_angle - 1; a >= lowest_angle; --a)
        positions.push_back(a);
    return positions;
}

// Appends the time of each step of one sweep, in microseconds.
void timed_sweep(HWND dialog, HWND slider, const std::vector<int>& positions, double ticks_per_us,
                 std::vector<double>* step_us)
{
    LARGE_INTEGER before, after;
    for (int position : positions) {
        QueryPerformanceCounter(&before);
        drag_step(dialog, slider, position);
        QueryPerformanceCounter(&after);
        step_us->push_back(static_cast<double>(after.QuadPart - before.QuadPart) / ticks_per_us);
    }
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    const size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + middle, values.end());
    return values[middle];
}

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    const size_t at = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + at, values.end());
    return values[at];
}

std::string window_text(HWND window)
{
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    const int sweeps = argc > 1 ? std::max(1, atoi(argv[1])) : 40;

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    HWND owner = create_host_main_window();

    SimHost host;
    host.set_main_window(owner);
    host.set_call_logging(false);  // the simulated host allocates nothing per call either
    SimScene& scene = host.scene();
    SimShape& joint = scene.add_ball_joint("Elbow");
    scene.select(joint);

    LoadedPanel plugin;
    if (!plugin.load(KELVARO_DLL_PATH)) {
        fprintf(stderr, "drag_bench: cannot load %s (error %lu)\n", KELVARO_DLL_PATH, GetLastError());
        return 1;
    }
    const std::vector<std::string> hooked = hook_allocations(plugin.module());
    reset_allocation_counts();
    if (!plugin.create_component()) {
        fprintf(stderr, "drag_bench: create_interface gave no panel component\n");
        return 1;
    }
    const long component_allocations = allocation_counts().total();
    HWND panel = plugin.create_and_open(host.application(), scene.handle(), owner);
    if (panel == nullptr) {
        fprintf(stderr, "drag_bench: positions 30 and 32 made no panel\n");
        return 1;
    }
    HWND floor = create_floor_dialog(plugin.module(), owner, FloorKind::bare);
    HWND asking = create_floor_dialog(plugin.module(), owner, FloorKind::asking);
    HWND panel_slider = GetDlgItem(panel, IDC_PITCH_SLIDER);
    HWND floor_slider = GetDlgItem(floor, IDC_PITCH_SLIDER);
    HWND asking_slider = GetDlgItem(asking, IDC_PITCH_SLIDER);
    place_floors(floor, asking);
    pump_pending();
    // The press that begins a drag: the panel takes steps only inside a
    // gesture its slider began. The floors ask nothing of it.
    press_slider(panel_slider);

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double ticks_per_us = static_cast<double>(frequency.QuadPart) / 1e6;
    const std::vector<int> positions = sweep_positions();

    // Warm-up: one sweep each, untimed.
    for (int position : positions) {
        drag_step(panel, panel_slider, position);
        drag_step(floor, floor_slider, position);
        drag_step(asking, asking_slider, position);
    }
    pump_pending();

    // Allocations over 10,000 drag steps of the panel.
    const int set_rotations_before = host.call_count(SimOperation::set_rotation);
    reset_allocation_counts();
    for (int i = 0; i < allocation_steps; ++i)
        drag_step(panel, panel_slider, positions[static_cast<size_t>(i) % positions.size()]);
    const AllocationCounts during_steps = allocation_counts();
    const int steps_applied = host.call_count(SimOperation::set_rotation) - set_rotations_before;
    pump_pending();
    if (steps_applied != allocation_steps) {
        fprintf(stderr, "drag_bench: the panel applied %d of %d drag steps\n", steps_applied, allocation_steps);
        return 1;
    }

    std::vector<double> ours_us, floor_us, asking_us;
    for (int s = 0; s < sweeps; ++s) {
        timed_sweep(panel, panel_slider, positions, ticks_per_us, &ours_us);
        pump_pending();
        timed_sweep(floor, floor_slider, positions, ticks_per_us, &floor_us);
        pump_pending();
        timed_sweep(asking, asking_slider, positions, ticks_per_us, &asking_us);
        pump_pending();
    }

    std::string hooked_list;
    for (const std::string& name : hooked)
        hooked_list += (hooked_list.empty() ? "" : ", ") + name;
    printf("allocations: counted through Kelvaro.dll's import table (%s)\n", hooked_list.c_str());
    printf("allocations: create_interface %ld (the component object; shows the count works)\n",
           component_allocations);
    printf("allocations: %d drag steps %ld (HeapAlloc %ld, malloc %ld, calloc %ld, realloc %ld); "
           "joint written %d times\n",
           allocation_steps, during_steps.total(), during_steps.heap_alloc, during_steps.malloc_calls,
           during_steps.calloc_calls, during_steps.realloc_calls, steps_applied);
    printf("check: pitch edit %s, joint rotation (%.6f, %.6f, %.6f, %.6f) after the last sweep\n",
           window_text(GetDlgItem(panel, IDC_PITCH_EDIT)).c_str(), joint.rotation().w, joint.rotation().x,
           joint.rotation().y, joint.rotation().z);
    printf("drag step: %d sweeps of %zu steps (-180..180..-180) each, panel, floor and asking floor alternating\n",
           sweeps, positions.size());
    printf("asking floor: the floor and the panel's questions, GetKeyState(VK_CONTROL) each step "
           "and GetFocus() at each EN_CHANGE\n");
    const double asking_median = median(asking_us);
    printf("asking floor us p90=%.2f median=%.2f, ours/asking ratio=%.2f\n", percentile(asking_us, 0.9),
           asking_median, asking_median > 0 ? median(ours_us) / asking_median : 0.0);
    printf("drag step us p90 ours=%.2f floor=%.2f\n", percentile(ours_us, 0.9), percentile(floor_us, 0.9));
    const double ours = median(ours_us);
    const double floor_median = median(floor_us);
    printf("drag step us ours=%.2f floor=%.2f ratio=%.2f\n", ours, floor_median,
           floor_median > 0 ? ours / floor_median : 0.0);

    DestroyWindow(asking);
    DestroyWindow(floor);
    plugin.destroy();
    DestroyWindow(owner);
    return 0;
}
