#pragma once
// The soak world: the simulated host with a few shapes, a plain window as its main window,
// and the panel, which the host opens, notifies and commands through the components'
// operation tables. run() plays plans (soak_plan.h) with synthesised or real input (the
// drivers), keeps a model (soak_model.h) from what it did and the scene alone, and checks
// joints, keys, records and panel against it after every operation (the oracle); the first
// broken check fails the test with the seed, the real share and the operation.
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
#include "simhost/component_calls.h"
#include "simhost/simhost.h"
#include "soak_model.h"
#include "soak_plan.h"
#include "window_nesting.h"

// What the panel is told (the user's input, not its state): the positions the sliders report,
// with Ctrl; the text a box holds as it reports the user's change; the buttons' clicks. And
// the trackbar Microsoft documents, played over Wine's: a let-go lets the capture go before
// it notifies, and a drag that loses the capture ends there.
struct SliderReport { int slot, code, position; bool ctrl; };
struct TypedText { int slot; std::string text; };

struct PanelWatch {
    bool reporting = false, typing = false;  // keeps the sliders' reports; the boxes' changes the user made
    std::vector<SliderReport> reports;
    std::vector<TypedText> typed;
    std::vector<int> clicked;  // BN_CLICKED, by control
    std::vector<int> focused;  // boxes that took the focus (EN_SETFOCUS): each saves what it shows
    bool documented = false, dragging = false;
    int depth = 0;  // of the panel's messages: a box's change inside another is the panel's own
};
extern PanelWatch panel_watch;
extern const int slider_ids[3], edit_ids[3];
void watch_panel(HWND panel);

// Window-procedure nesting (of a probe chain of 40) below which no more host
// faults are sent through the window system, and below which the run stops.
constexpr int nesting_for_window_faults = 32, nesting_the_panel_needs = 24;
void set_key(BYTE key, bool down);  // the key state the panel reads (GetKeyState), set without input
void let_go_of_keys();              // every button and key a gesture may have left down

class SoakWorld {
public:
    explicit SoakWorld(uint32_t seed);
    ~SoakWorld();
    SoakWorld(const SoakWorld&) = delete;
    SoakWorld& operator=(const SoakWorld&) = delete;

    bool run(int operations);                // false (with a test failure) at the first broken check
    std::string broken_invariant() const;    // the first that does not hold now; empty when all hold
    int performed(SoakOperation operation) const { return performed_[static_cast<int>(operation)]; }
    int faults_caught() const { return faults_caught_; }
    int real_performed() const { return real_performed_; }
    uint32_t plan_digest() const { return planner_.digest(); }
    ModalAutoanswer& answerer() { return answerer_; }
    SimHost& host() { return host_; }

private:
    // The host's life (soak_host_life.cpp).
    void perform(SoakPlan& plan, SoakOperation operation);
    void notify(int kind);
    void host_notifies(SoakPlan& plan, const char* when, int kind = -1);
    void select(SoakPlan& plan), store_limits(SoakPlan& plan), clear_attribute(SoakPlan& plan), host_fault(SoakPlan& plan);
    // The user's gestures (soak_drivers.cpp, soak_real_drivers.cpp).
    void drag(SoakPlan& plan, bool ctrl), page_click(SoakPlan& plan), wander(SoakPlan& plan);
    void type_text(SoakPlan& plan, bool paste);
    void click(int button_id);
    void close_panel(), toggle_autoshade();
    bool real_slider_gesture(SoakPlan& plan, int slot, bool ctrl, int how);
    bool real_click(HWND window, POINT at, int command_id);
    void strays(SoakPlan& plan, int slot, int count, const char* after);
    // The oracle (soak_oracle.cpp).
    bool usable() const { return model_.shown && model_.joint != nullptr && model_.sure && model_.angles_known; }
    void expect_turn(int slot, float angle, const Quaternion& before, double slack = 0);
    void take_reports(int slot, const Quaternion& before, bool keyed), take_typed(int slot, const Quaternion& before);
    void dialog_fields(int slot, float angle);
    void answer_dialog(const SoakPlan& plan, int slot, SimShape* opened_on, const Quaternion& before, float stepped,
                       bool turned, int message_boxes);
    void focus_box(int slot);
    void take_focus() { for (int slot : panel_watch.focused) model_.written(slot); panel_watch.focused.clear(); }
    std::string broken_panel() const;
    std::string quiet_state() const;  // what a step that changes nothing leaves: poses, keys written, dialogs
    void expect_quiet(const std::string& before, const std::string& what) { if (quiet_state() != before) fail(what); }
    void note(const std::string& line);
    HWND item(int id) const { return items_.at(id); }  // the panel's control: GetDlgItem asks the wineserver
    void fail(const std::string& what) { broken_ = broken_.empty() ? what : broken_; }
    int nesting_left() const  // only a host exception uses it up: probed again once one was raised
    { return nesting_probed_at_ == host_.faults_raised() ? nesting_ : (nesting_probed_at_ = host_.faults_raised(), nesting_ = window_nesting_left()); }

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
    bool reported_turn_ = false, reported_dialog_ = false;  // what the last reports did
    float reported_angle_ = 0;
    bool autoshade_ = false;
    mutable int nesting_ = 0, nesting_probed_at_ = -1;  // the nesting left, at this count of host faults raised
    RECT whole_ = {};  // the panel's frame before AutoShade rolled it up
    bool real_ = false, reached_ = false;  // the operation is asked for as real input; it reached its control
    int faults_caught_ = 0, real_performed_ = 0, performed_[static_cast<int>(SoakOperation::count)] = {};
    std::deque<std::string> trail_;
};
