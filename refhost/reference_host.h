#pragma once
// The reference host: a main window on a simulated scene, with the plug-in
// module loaded as the real host loads it.
//
//   +-------------------------------------------------------------+
//   | File  Edit  View  Plug-ins                                  |
//   +-----------+-------------------------------------------------+
//   | shapes    |  viewport: the figure, orthographic, drawn      |
//   | (list,    |  with GDI; click a joint to select it, Shift    |
//   | extended  |  or Ctrl + click to add one, Tab / arrows to    |
//   | selection)|  step through the joints, Esc for none          |
//   +-----------+-------------------------------------------------+
//   | Time [=====|=====]  10   [x] Auto key                       |
//   |        <>   <>      (the keys; a click goes to the nearest)   |
//   | Keys of Elbow: 0 10                                         |
//   +-------------------------------------------------------------+
//
// What the host tells the plug-in, and when:
//   start-up      create_interface for each resident component, then the
//                 panel component's position 30 (its window);
//   Plug-ins menu the panel component's position 32 (open); a command
//                 component is created, runs position 205 on each selected
//                 shape, and is released;
//   selection     position 28 (notify_relink) of the panel component;
//   other changes position 29 (notify_refresh): time, a scene opened, a
//                 command run;
//   shut-down     position 31 (destroy its window), then every release.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>
#include "refhost/key_strip.h"
#include "refhost/plugin_module.h"
#include "refhost/scene_view.h"
#include "simhost/simhost.h"

struct ReferenceHostOptions {
    std::string plugin_path;  // Kelvaro.dll
    std::string scene_path;   // opened at start; none: an empty scene
    bool japanese = false;    // the language of the plug-in's names
    // Where the main window goes; its size at 96 DPI, scaled to the desktop's.
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = 960, height = 680;
    bool quit_on_close = true;  // closing the main window ends the message loop
};

class ReferenceHost {
public:
    ReferenceHost();
    ~ReferenceHost();
    ReferenceHost(const ReferenceHost&) = delete;
    ReferenceHost& operator=(const ReferenceHost&) = delete;

    // Makes the main window (hidden), loads the plug-in and the scene; false
    // with a reason when the window or the plug-in cannot be had. A scene
    // that fails to open leaves an empty one and the reason in last_error(),
    // shown to nobody: telling it is the caller's part.
    bool create(const ReferenceHostOptions& options, std::string* error);
    void show(int how) { ShowWindow(window_, how); UpdateWindow(window_); }
    // Closes as the user would: the plug-in's window goes, then the components.
    void destroy();

    // What the user does, whether by menu, mouse or keys.
    void select(const std::vector<SimShape*>& shapes);
    // Runs the n-th component of the Plug-ins menu.
    void run_component(size_t n);
    // The panel component's entry in the Plug-ins menu, or none.
    PluginComponent* panel_component() { return plugin_.find(refhost_plugin_kind); }
    void open_panel();
    // The command component on every selected shape; the last answer byte.
    uint8_t run_attribute_command();
    void set_time(float time);
    void set_auto_key(bool on);
    void set_language(bool japanese);
    void set_view(ViewDirection direction);
    bool open_scene(const std::string& path);
    bool save_scene(const std::string& path);

    HWND window() const { return window_; }
    HWND viewport() const { return view_.window(); }
    HWND shape_list() const { return shape_list_; }
    HWND time_slider() const { return time_slider_; }
    HWND auto_key_box() const { return auto_key_box_; }
    HWND keys_label() const { return keys_label_; }
    const KeyStrip& key_strip() const { return key_strip_; }
    // The plug-in's own window (owned by ours), or none while it has made none.
    HWND panel_window() const;
    SimHost& host() { return host_; }
    SimScene& scene() { return host_.scene(); }
    PluginModule& plugin() { return plugin_; }
    const SceneView& view() const { return view_; }
    const std::string& scene_path() const { return scene_path_; }
    const std::string& last_error() const { return last_error_; }
    // The joint whose keys the timeline shows: the first selected ball joint.
    SimShape* timeline_joint() const;
    // Selection changes told to the plug-in, and other scene changes.
    int relink_notifications() const { return relink_notifications_; }
    int refresh_notifications() const { return refresh_notifications_; }

    // The host's keyboard shortcuts: Ctrl+O, Ctrl+S, Ctrl+A, Ctrl+1 to 3.
    static HACCEL create_accelerators();
    // What the host's loop does with a message before it dispatches it: the
    // host's shortcuts in its own window and in the plug-in's panel (but not
    // the keys an edit box keeps), the dialog manager's keys in dialogs.
    // True when the message was used up.
    static bool translate_message(MSG* msg, HACCEL accelerators);
    // Pumps until the window is gone; for main().
    static int run_message_loop(HACCEL accelerators);

private:
    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
    void on_create();
    void on_size(int width, int height);
    void on_command(int id, int code, HWND control);
    void on_hscroll(HWND control);
    void on_destroy();
    void on_scene_changed();
    void build_menu();
    void rebuild_plugin_menu();
    void rebuild_shape_list();
    void show_selection_in_list();
    void update_timeline();
    void update_title();
    void observe(const SimCall& call);
    void notify_relink();
    void notify_refresh();
    void pose_from_keys();
    void choose_and_open();
    void choose_and_save();

    SimHost host_;
    PluginModule plugin_;
    SceneView view_;
    KeyStrip key_strip_;
    HWND window_ = nullptr;
    HWND shape_list_ = nullptr;
    HWND time_label_ = nullptr;
    HWND time_slider_ = nullptr;
    HWND time_value_ = nullptr;
    HWND auto_key_box_ = nullptr;
    HWND keys_label_ = nullptr;
    HMENU plugin_menu_ = nullptr;
    HMENU view_menu_ = nullptr;
    HFONT font_ = nullptr;
    bool panel_window_made_ = false;
    bool quit_on_close_ = true;
    bool change_posted_ = false;
    bool structure_changed_ = false;
    bool filling_list_ = false;
    int relink_notifications_ = 0;
    int refresh_notifications_ = 0;
    std::string scene_path_;
    std::string last_error_;
};
