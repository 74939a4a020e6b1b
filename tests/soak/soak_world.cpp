#include "soak_world.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "module/component_objects.h"
#include "simhost/host_main_window.h"

namespace {

const char position_key[] = "Software\\TAVIREK\\Kelvaro";

// The panel the component made: the dialog its owner owns.
BOOL CALLBACK find_owned_dialog(HWND window, LPARAM found)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    HWND* panel = reinterpret_cast<HWND*>(found);
    return std::strcmp(name, "#32770") == 0 && GetWindow(window, GW_OWNER) == *panel ? (*panel = window, FALSE) : TRUE;
}

}  // namespace

void set_key(BYTE key, bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[key] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

void let_go_of_keys() { set_key(VK_LBUTTON, false), set_key(VK_CONTROL, false); }

SoakWorld::SoakWorld(uint32_t seed)
    : seed_(seed), real_share_(std::getenv("KELVARO_SOAK_REAL_SHARE") ? std::atoi(std::getenv("KELVARO_SOAK_REAL_SHARE")) : 2),
      planner_(seed, real_share_), scene_(host_.scene()), model_(host_)
{
    char position[64];
    DWORD size = sizeof position;
    if (RegGetValueA(HKEY_CURRENT_USER, position_key, "Pos", RRF_RT_ANY, nullptr, position, &size) == ERROR_SUCCESS)
        stored_position_.assign(position, size);
    host_.set_call_logging(false);
    shapes_.push_back(&scene_.add_ball_joint("Shoulder"));
    SimShape& arm = scene_.add_part("Arm");
    shapes_.push_back(&arm);
    shapes_.push_back(&scene_.add_ball_joint("Elbow", &arm));
    shapes_.push_back(&scene_.add_ball_joint("Wrist", &arm));
    shapes_.push_back(&scene_.add_shape("Sphere", sim_shape_kind_other));
    shapes_[2]->set_rotation(Quaternion(0.9659258f, 0.2588190f, 0, 0));
    shapes_[2]->set_center(Vector3(10, 20, 30));
    shapes_[3]->set_stream_floats(panel_component_id, {-45.5f, 45.5f, -90, 90, 0, 0});
    scene_.select(*shapes_[0]);
    model_.take_from_scene();

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    host_window_ = create_host_main_window();
    ShowWindow(host_window_, SW_SHOWNOACTIVATE);  // so that hiding the panel or ending a dialog has a window to activate
    host_.set_main_window(host_window_);
    panel_component_ = new_plugin_component();
    attribute_component_ = new_attribute_component();
    component_create_panel_window(panel_component_, host_.application());
    EnumThreadWindows(GetCurrentThreadId(), find_owned_dialog, reinterpret_cast<LPARAM>(&(panel_ = host_window_)));
    for (HWND child = GetWindow(panel_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        items_[GetDlgCtrlID(child)] = child;
    watch_panel(panel_);
    notify(-1);
    GetWindowRect(panel_, &whole_);
}

SoakWorld::~SoakWorld()
{
    let_go_of_keys();
    host_.clear_faults();
    HostCatch caught;
    host_try([] { unlink(); }, &caught);
    component_destroy_panel_window(panel_component_);
    destroy_plugin_component(static_cast<plugin_component*>(panel_component_), 1);
    destroy_attribute_component(static_cast<attribute_component*>(attribute_component_), 1);
    DestroyWindow(host_window_);
    pump_pending();
    if (stored_position_.empty())
        RegDeleteKeyValueA(HKEY_CURRENT_USER, position_key, "Pos");
    else
        RegSetKeyValueA(HKEY_CURRENT_USER, position_key, "Pos", REG_DWORD, stored_position_.data(),
                        static_cast<DWORD>(stored_position_.size()));
}

void SoakWorld::note(const std::string& line)
{
    static const bool trace = std::getenv("KELVARO_SOAK_TRACE") != nullptr;
    if (trace)
        std::fprintf(stderr, "%s\n", line.c_str());
    trail_.push_back(line);
    if (trail_.size() > 12)
        trail_.pop_front();
}

bool SoakWorld::run(int operations)
{
    auto key_writes = [&] { return host_.call_count("insert_key") + host_.call_count("set_key_rotation"); };
    for (int n = 0; n < operations; ++n) {
        SoakPlan plan = planner_.next();
        const int writes = key_writes();
        model_.key_writes = 0, model_.maybe_keyed = nullptr, broken_.clear();
        panel_watch.depth = 0;  // a host exception unwinds the panel's messages without a return
        // Real input goes onto the panel made whole first: AutoShade rolls it down at its next tick under the mouse.
        real_ = plan.real && model_.shown, reached_ = false;
        RECT frame;
        if (real_ && autoshade_ && GetWindowRect(panel_, &frame)) {
            move_cursor_and_wait({frame.left + 10, frame.top + 4});
            pump_until([&] { return GetWindowRect(panel_, &frame) && frame.bottom - frame.top == whole_.bottom - whole_.top; }, 1000);
        }
        perform(plan, plan.operation);
        // The mouse is parked off the windows: under it, each change of a window costs Wine a search. The
        // controls paint (their own work, dozens of Wine's round trips a window) at every 32nd operation.
        if (real_ || n == 0)
            move_cursor_and_wait({GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
        real_ = false;
        n % 32 == 31 ? pump_pending() : pump_pending_unpainted();
        take_focus();
        real_performed_ += reached_;
        if (!model_.sure)
            model_.take_from_scene();
        // A turn too small to tell whether it counted may have keyed its joint, in its own pose.
        if (SimShape* joint = model_.maybe_keyed)
            for (const SimMotionKey& key : joint->keys())
                if (key.time == scene_.current_time() && std::memcmp(&key.rotation, &joint->rotation(), sizeof key.rotation) == 0)
                    model_.keys[joint][key.time] = key.rotation;
        std::string broken = plan.exhausted() ? "the plan ran out of numbers" : broken_.empty() ? broken_invariant() : broken_;
        // Each gesture writes the keys the rule gives (a typed commit may key twice).
        if (broken.empty() && model_.sure && !model_.maybe_keyed && key_writes() - writes != model_.key_writes &&
            plan.operation != SoakOperation::type_text && plan.operation != SoakOperation::paste_text &&
            plan.operation != SoakOperation::host_fault)
            broken = "the operation wrote " + std::to_string(key_writes() - writes) + " keys, the rule " +
                     std::to_string(model_.key_writes);
        if (!broken.empty()) {
            std::string trail;
            for (const std::string& line : trail_)
                trail += "\n  " + line;
            ADD_FAILURE() << "seed " << seed_ << ", real share " << real_share_ << " %, operation " << n << " ("
                          << soak_operation_name(plan.operation) << (plan.real ? ", real" : "") << "): " << broken
                          << "\nlast operations:" << trail;
            return false;
        }
    }
    return true;
}
