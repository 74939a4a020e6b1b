#pragma once
// The viewport: the scene drawn with GDI in an orthographic view, with the
// joints to click on.
//
// Drawn, back to front: a grid every 50 units, the bones (from each ball joint to
// the parts it holds), every line in its colour (the plug-in's guide among
// them), the joints as rings (filled orange when active) with their names,
// and a caption with the view and the active joint's rotation.
#include <functional>
#include <map>
#include <vector>
#include <windows.h>
#include "refhost/scene_geometry.h"
#include "simhost/sim_scene.h"

enum class ViewDirection { front, side, top };

class SceneView {
public:
    // Told of a click or a key that selects: the shapes to make active.
    using SelectHandler = std::function<void(const std::vector<SimShape*>&)>;

    SceneView() = default;
    SceneView(const SceneView&) = delete;
    SceneView& operator=(const SceneView&) = delete;

    bool create(HWND parent, int id, HFONT font);
    HWND window() const { return window_; }
    void set_select_handler(SelectHandler handler) { on_select_ = std::move(handler); }

    // The scene to draw; fits the view around its figure.
    void set_scene(SimScene* scene);
    void set_direction(ViewDirection direction);
    ViewDirection direction() const { return direction_; }
    // Repaints now.
    void redraw();
    // Fits the view around the figure as it stands, and repaints.
    void fit_and_redraw();

    // The shapes that a click or a key can pick: the ball joints, in scene order.
    std::vector<SimShape*> pickable() const;
    // Where a shape's anchor lands in the viewport's client area.
    POINT client_point(const SimShape& shape) const;
    // The pickable shape within a few pixels of the point, or none.
    SimShape* hit(POINT client) const;
    // Where the last paint drew a joint (none drawn: -1, -1), and how many
    // paints there were: what the screen shows, as against client_point,
    // which is where the joint stands now.
    POINT painted_point(const SimShape& joint) const;
    int paint_count() const { return paint_count_; }

private:
    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
    void paint(HDC dc, const RECT& area);
    void on_click(POINT client, bool add);
    void on_key(WPARAM key);
    void fit();
    POINT project(const WorldPoint& p) const;
    void select(const std::vector<SimShape*>& shapes);

    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    SimScene* scene_ = nullptr;
    ViewDirection direction_ = ViewDirection::front;
    SelectHandler on_select_;
    WorldPoint centre_;    // the world point at the middle of the view
    double reach_ = 300;   // world units from the centre that the view must show
    double zoom_ = 1;      // the mouse wheel's factor on top of the fit
    std::map<const SimShape*, POINT> painted_;
    int paint_count_ = 0;
};
