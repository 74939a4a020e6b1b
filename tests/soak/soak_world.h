#pragma once
// The soak world: the simulated host with a few shapes of every kind, a plain
// window as the host's main window, and the panel made from its template and
// driven by the panel and joint code linked in directly (not through
// Kelvaro.dll: the invariants below look into JointLink and PanelState). The
// host's side of the panel component (open, the two scene notifications) and
// of the clear command is played here the way the module's components do it.
//
// run() draws operations at random from what the host and the user do and
// checks the invariants after every one; the first broken one is a test
// failure that names the seed, the operation's number and the last operations.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "modal_autoanswer.h"
#include "random_text.h"
#include "simhost/simhost.h"
#include "support/message_recorder.h"

enum class SoakOperation : int {
    select,
    store_limits,
    relink,
    refresh,
    drag,
    page_click,
    type_text,
    paste_text,
    limits_dialog,
    undo,
    reset,
    close_panel,
    open_panel,
    autoshade,
    clear_attribute,
    auto_key_and_time,
    host_fault,
    wander,
    count
};

const char* soak_operation_name(SoakOperation operation);

class SoakWorld {
public:
    explicit SoakWorld(uint32_t seed);
    ~SoakWorld();
    SoakWorld(const SoakWorld&) = delete;
    SoakWorld& operator=(const SoakWorld&) = delete;

    // Runs operations drawn at random; false (with a test failure) at the
    // first broken invariant.
    bool run(int operations);
    // Runs one operation of the given kind (with its details drawn at random).
    void perform(SoakOperation operation);
    // The first invariant that does not hold now; empty when all hold.
    std::string broken_invariant() const;

    int performed(SoakOperation operation) const { return performed_[static_cast<int>(operation)]; }
    int faults_caught() const { return faults_caught_; }
    int real_performed() const { return real_performed_; }
    // Per kind of operation, and of them those made as real input: how many ran
    // and how long they took.
    std::string time_report() const;
    const ModalAutoanswer& answerer() const { return answerer_; }
    ModalAutoanswer& answerer() { return answerer_; }
    SimHost& host() { return host_; }

private:
    void open();
    void notify_relink();
    void notify_refresh();
    void after_link_attempt();
    void select_random();
    void store_random_limits();
    void page_click();
    void type_text();
    void paste_text();
    void limits_dialog();
    void drag_slider(int slider_id, int dialog_button);
    void click(int button_id);
    void close_panel();
    void toggle_autoshade();
    void clear_attribute();
    void auto_key_and_time();
    void host_fault();
    void expect_key();
    std::string broken_key() const;
    SimShape* single_selected_joint() const;
    SimShape* linked() const;
    void take_limits_from_scene();
    void take_angles_from_boxes(int typed_slot = -1);
    float clamped(int slot, int position) const;
    void expect_turn(int slot, float angle, const Quaternion& before, bool stepped);
    bool expect_step(int slot, int position, const Quaternion& before);
    void real_slider_gesture(int slider_id, int dialog_button, int how);
    void wander(int moves);
    bool real_click(HWND window, POINT at, const std::function<bool()>& done);
    std::string scene_state() const;
    void host_notifies(const char* when);

    bool panel_usable() const;
    bool control_usable(int id) const;
    int random_slider();
    int random_edit();
    void note(const std::string& line);

    uint32_t seed_;
    SoakRandom random_;
    SimHost host_;
    SimScene& scene_;
    std::vector<SimShape*> shapes_;
    HWND host_window_ = nullptr;
    ModalAutoanswer answerer_;
    MessageRecorder commands_{WM_COMMAND};  // the panel's, a member: a host fault runs no destructors
    std::string stored_position_;
    bool had_stored_position_ = false;

    // The model the steps and keys are checked against, never read from the panel:
    // the joint the host last told the panel of, and per axis (Pitch, Yaw, Roll)
    // the angle and the limits a step is clamped to.
    struct ModelAxis {
        float angle = 0;
        bool exact = false;  // given by the soak; else read off the box's text
        float minimum = -180, maximum = 180;
    };
    SimShape* told_ = nullptr;
    bool model_known_ = false;  // no host fault since the angles were last taken
    ModelAxis axes_[3];
    bool turn_unsure_ = false;       // a step too small for the boxes' text to tell whether it turned
    std::string notified_state_;     // the scene as the host's last notification left it
    // A failed set_rotation left the link's rotation ahead of the joint's.
    bool rotation_may_lead_ = false;
    std::map<const SimShape*, std::map<float, Quaternion>> expected_keys_;  // the rule's: time to pose (w NaN: unknown)
    int expected_key_writes_ = 0;  // by the rule, in the operation under way
    std::string broken_gesture_;   // what a slider gesture did against the rule
    bool guide_may_be_open_ = false;  // a host fault since the last close or link may have cut it short
    // Guide parts left in the scene by a host fault in the middle of building one.
    std::vector<SimShape*> orphan_guides_;
    int performed_[static_cast<int>(SoakOperation::count)] = {};
    int faults_caught_ = 0;
    int real_share_ = 2;  // percent of the user's gestures as real input (KELVARO_SOAK_REAL_SHARE)
    bool real_ = false;
    int real_performed_ = 0;
    int64_t ticks_[static_cast<int>(SoakOperation::count)] = {};
    int64_t real_ticks_ = 0;
    std::deque<std::string> trail_;
};
