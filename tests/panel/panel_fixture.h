#pragma once
// What every panel test stands on: the simulated host with one ball joint, a
// plain top-level window as the host's main window, the panel made from its
// template in this program's resources, and the stored panel position put
// back as it was when the test ends.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "joint/joint_link.h"
#include "panel/panel_state.h"
#include "panel/panel_window.h"
#include "panel/resource.h"
#include "simhost/simhost.h"

// The registry value "Pos" as it was, restored (or deleted) on destruction.
class StoredPositionKeeper {
public:
    StoredPositionKeeper();
    ~StoredPositionKeeper();

private:
    bool existed_ = false;
    DWORD type_ = 0;
    BYTE data_[64] = {};
    DWORD size_ = 0;
};

// Sets (type, bytes) or deletes (data null) the value "Pos".
void write_stored_position(DWORD type, const void* data, DWORD size);
void delete_stored_position();
// The DWORD value "Pos"; false when missing or of another size.
bool read_stored_position(DWORD* value);

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the panel as the panel component does when the host asks for its window.
    void create_panel();
    // What opening the plug-in does: scene into the link, relink, show, shown = 1.
    void open_panel();
    // create_panel and open_panel, with the joint selected so that it links.
    void open_linked_panel();

    HWND panel() const { return panel_state.panel_window; }
    HWND item(int id) const { return GetDlgItem(panel_state.panel_window, id); }
    std::string item_text(int id) const;
    int slider_position(int slider_id) const;
    int selection_start(int slider_id) const;
    int selection_end(int slider_id) const;

    SimHost host;
    SimScene& scene = host.scene();
    SimShape* joint = nullptr;
    HWND host_window = nullptr;
    StoredPositionKeeper* position_keeper = nullptr;
};

// "%6f" of a float, as the panel shows an angle.
std::string angle_text(float angle);
