#pragma once
// The soak world: the simulated host with a few shapes of every kind, a plain
// window as the host's main window, and the panel, which the host opens,
// notifies and commands through the components' operation tables. run() plays
// plans (soak_plan.h) with synthesised or real input (the drivers), keeps a
// model of what should be (soak_model.h) from what it did and the scene alone,
// and checks the joints, keys, records and panel against it after every
// operation (the oracle); the first broken check fails the test, naming the
// seed, the real share, the operation's number and the last operations.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>

#include "desktop/message_pump.h"
#include "desktop/real_input.h"
#include "joint/joint_link.h"  // panel_component_id and unlink(): the records' key, the link let go at the end
#include "modal_autoanswer.h"
#include "panel/resource.h"
#include "panel_watch.h"
#include "simhost/component_calls.h"
#include "simhost/simhost.h"
#include "soak_model.h"
#include "soak_plan.h"
#include "window_nesting.h"

// Window-procedure nesting (of a probe chain of 40) below which no more host
// faults are sent through the window system, and below which the run stops.
constexpr int nesting_for_window_faults = 32, nesting_the_panel_needs = 24;

// The key state the panel reads (GetKeyState), set without input; and every
// button and key a gesture may have left down, let go.
void set_key(BYTE key, bool down);
void let_go_of_keys();

class SoakWorld {
public:
    explicit SoakWorld(uint32_t seed);
    ~SoakWorld();
    SoakWorld(const SoakWorld&) = delete;
    SoakWorld& operator=(const SoakWorld&) = delete;

    // Runs plans; false (with a test failure) at the first broken check.
    bool run(int operations);
    // The first invariant that does not hold now; empty when all hold.
    std::string broken_invariant() const;
    int performed(SoakOperation operation) const { return performed_[static_cast<int>(operation)]; }
    int faults_caught() const { return faults_caught_; }
    int real_performed() const { return real_performed_; }
    uint32_t plan_digest() const { return planner_.digest(); }
    // How many operations ran as real input that reached its control, and how long they took.
    std::string time_report() const;
    ModalAutoanswer& answerer() { return answerer_; }
    SimHost& host() { return host_; }

private:
    // The host's life (soak_host_life.cpp).
    void perform(SoakPlan& plan, SoakOperation operation);
    void open();
    void notify(bool relinks);
    void host_notifies(SoakPlan& plan, const char* when, int kind = -1);
    void select(SoakPlan& plan);
    void store_limits(SoakPlan& plan);
    void clear_attribute(SoakPlan& plan);
    void host_fault(SoakPlan& plan);
    // The user's gestures (soak_drivers.cpp, soak_real_drivers.cpp).
    void drag(SoakPlan& plan, bool ctrl);
    void page_click(SoakPlan& plan);
    void type_text(SoakPlan& plan, bool paste);
    void click(int button_id);
    void close_panel();
    void toggle_autoshade();
    bool real_slider_gesture(SoakPlan& plan, int slot, bool ctrl, int how);
    bool real_click(HWND window, POINT at, int command_id);
    void wander(SoakPlan& plan);
    void strays(SoakPlan& plan, int slot, int count, const char* after);
    // The oracle (soak_oracle.cpp).
    bool usable() const;
    void expect_turn(int slot, float angle, const Quaternion& before, double slack = 0);
    void take_reports(int slot, const Quaternion& before, bool keyed, bool* turned, bool* dialog, float* stepped);
    void take_typed(int slot, const Quaternion& before);
    void dialog_fields(int slot, float angle);
    void answer_dialog(const SoakPlan& plan, int slot, SimShape* opened_on, const Quaternion& before, float stepped,
                       bool turned, int message_boxes);
    void focus_box(int slot);
    std::string broken_panel() const;
    // What a step that may change nothing leaves as it was: the joints' poses,
    // the keys written, the limits dialogs opened.
    std::string quiet_state() const;
    void expect_quiet(const std::string& before, const std::string& what) { if (quiet_state() != before) fail(what); }
    void note(const std::string& line);
    HWND item(int id) const { return items_.at(id); }  // the panel's control: GetDlgItem asks the wineserver
    void fail(const std::string& what) { broken_ = broken_.empty() ? what : broken_; }

    uint32_t seed_;
    int real_share_;  // percent of the user's gestures asked for as real input (KELVARO_SOAK_REAL_SHARE, 2)
    SoakPlanner planner_;
    SimHost host_;
    SimScene& scene_;
    std::vector<SimShape*> shapes_;
    HWND host_window_ = nullptr, panel_ = nullptr;
    std::map<int, HWND> items_;
    void *panel_component_ = nullptr, *attribute_component_ = nullptr;
    ModalAutoanswer answerer_;
    SoakModel model_;
    std::string stored_position_;           // the panel's position in the registry before the run; none: empty
    std::string broken_;                    // the first check broken in the operation under way
    std::vector<SimShape*> orphan_guides_;  // made by the host, never handed to the panel
    std::string notified_state_;            // the quiet state as the host's last notification left it
    std::string dialog_fields_[3];          // what the limits dialog shows as it opens
    int dialog_button_ = IDOK;
    bool autoshade_ = false;
    bool real_ = false, reached_ = false;  // the operation is asked for as real input; it reached its control
    int performed_[static_cast<int>(SoakOperation::count)] = {};
    int faults_caught_ = 0, real_performed_ = 0;
    int64_t real_ticks_ = 0;
    std::deque<std::string> trail_;
};
