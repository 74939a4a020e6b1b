#pragma once
// A short session at the reference host, played with real input where a user
// would use the mouse or the keys: turn auto key on, pick a joint, open the
// panel, show the unlinking with two joints picked, type an angle, drag a
// slider (a key), step the timeline on, set limits in the dialog, drag against
// the new limit (a second key), check that every part of the host's window
// holds its text, take a picture, close the panel. What happened is gathered
// from the scene itself.
//
// Bounded: a step whose effect does not show in time is recorded as failed; a
// step that cannot happen (a click or a drag whose point a press would not
// reach, a panel not on the screen) is recorded with its reason and ends the
// session; a step that never ends ends the program (desktop/step_watch.h).
#include <string>
#include <vector>
#include "refhost/reference_host.h"

struct ScriptedSessionOptions {
    std::string joint = "Elbow";        // the joint to pose
    std::string second_joint = "Wrist"; // picked together with it, to unlink
    float key_time = 10;                // the first key's time; the second is ten frames on
    std::string screenshot_path;        // the window with the panel open; none: no picture
};

struct ScriptedSessionReport {
    std::vector<std::string> failures;   // steps whose effect never showed
    std::string joint;
    std::vector<std::string> plugin_names;  // the Plug-ins menu, code page 932
    Quaternion rotation_before{1, 0, 0, 0}, rotation_after{1, 0, 0, 0};
    float euler_before[3] = {};          // pitch, yaw, roll in degrees
    float euler_after[3] = {};
    std::string panel_text_before_close[3];  // the panel's Pitch, Yaw, Roll boxes
    bool linked_with_one = false;        // the panel's joint controls enabled with one joint picked
    bool unlinked_with_two = false;      // and disabled with two
    bool guide_while_open = false;       // "#Kelvaro_Guide" in the scene while the panel was open
    bool guide_after_close = false;
    std::vector<SimMotionKey> keys;      // the joint's keys after the session
    std::vector<float> stored_limits;    // the record stored with the shape (six floats)
    std::string screenshot;              // the picture's path, once written
    int dpi = 0;                         // the desktop's, as the host scaled its window to it

    bool ok() const { return failures.empty(); }
};

// Runs the session on a host made with create() and a scene holding the
// joints named in the options. Shows the host's window.
ScriptedSessionReport run_scripted_session(ReferenceHost& host, const ScriptedSessionOptions& options);

// A few lines for a person: rotations and angles before and after, the keys,
// the limits stored, and the steps that failed.
std::string scripted_session_summary(const ScriptedSessionReport& report);

// Writes a PNG of the screen area that covers both windows (the panel is a
// window of its own, owned by the host's). False when nothing could be read.
bool save_windows_picture(HWND first, HWND second, const std::string& path);
