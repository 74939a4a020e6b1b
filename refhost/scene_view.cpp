#include "refhost/scene_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include "math/euler_angles.h"
#include "refhost/dpi_scale.h"

namespace {

const char* const view_class_name = "KelvaroRefhostView";
// At 96 DPI; scaled to the desktop's.
const int joint_radius = 7;
const int pick_radius = 12;

COLORREF color_of(const Vector3& rgb)
{
    auto byte = [](float v) { return static_cast<BYTE>(std::lround(std::min(1.0f, std::max(0.0f, v)) * 255)); };
    return RGB(byte(rgb.x), byte(rgb.y), byte(rgb.z));
}

bool is_selected(const SimScene& scene, const SimShape* shape)
{
    const std::vector<SimShape*>& s = scene.selection();
    return std::find(s.begin(), s.end(), shape) != s.end();
}

double& coordinate(WorldPoint& p, int axis)
{
    return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
}

void draw_segment(HDC dc, POINT a, POINT b)
{
    MoveToEx(dc, a.x, a.y, nullptr);
    LineTo(dc, b.x, b.y);
}

}  // namespace

bool SceneView::create(HWND parent, int id, HFONT font)
{
    static bool registered = false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!registered) {
        WNDCLASSA wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = window_proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = view_class_name;
        registered = RegisterClassA(&wc) != 0;
    }
    font_ = font;
    window_ = CreateWindowExA(WS_EX_CLIENTEDGE, view_class_name, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10,
                              10, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
    return window_ != nullptr;
}

void SceneView::set_scene(SimScene* scene)
{
    scene_ = scene;
    fit();
    redraw();
}

void SceneView::set_direction(ViewDirection direction)
{
    direction_ = direction;
    redraw();
}

void SceneView::redraw()
{
    if (window_ == nullptr)
        return;
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
}

std::vector<SimShape*> SceneView::pickable() const
{
    std::vector<SimShape*> joints;
    if (scene_ == nullptr)
        return joints;
    for (SimShape* shape : scene_->shapes()) {
        if (shape->is_ball_joint())
            joints.push_back(shape);
    }
    return joints;
}

void SceneView::fit()
{
    centre_ = WorldPoint();
    reach_ = 300;
    zoom_ = 1;
    if (scene_ == nullptr)
        return;
    // Around the figure as it stands, with room for a guide arm and a swing.
    bool any = false;
    WorldPoint low, high;
    auto take = [&](const WorldPoint& p) {
        if (!any) {
            low = high = p;
            any = true;
        }
        low.x = std::min(low.x, p.x), low.y = std::min(low.y, p.y), low.z = std::min(low.z, p.z);
        high.x = std::max(high.x, p.x), high.y = std::max(high.y, p.y), high.z = std::max(high.z, p.z);
    };
    for (SimShape* shape : scene_->shapes()) {
        if (shape->is_part() && shape->parent() != nullptr && shape->parent()->parent() != nullptr)
            take(world_anchor(*shape));
        if (shape->is_line() && shape->parent() != nullptr) {
            for (const SimPoint& point : shape->points())
                take(world_point(*shape->parent(), WorldPoint{point.position.x, point.position.y, point.position.z}));
        }
    }
    if (!any)
        return;
    centre_ = WorldPoint{(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
    reach_ = std::max({high.x - low.x, high.y - low.y, high.z - low.z}) / 2 + 60 * std::max(1.0f, scene_->size_unit());
}

void SceneView::fit_and_redraw()
{
    fit();
    redraw();
}

POINT SceneView::project(const WorldPoint& p) const
{
    RECT area;
    GetClientRect(window_, &area);
    const double w = area.right, h = area.bottom;
    const double scale = std::max(0.05, zoom_ * std::min(w, h) / (2.0 * reach_));
    double across = 0, up = 0;
    const double dx = p.x - centre_.x, dy = p.y - centre_.y, dz = p.z - centre_.z;
    switch (direction_) {
    case ViewDirection::front: across = dx, up = dy; break;  // looking down -z
    case ViewDirection::side: across = -dz, up = dy; break;  // looking down -x
    case ViewDirection::top: across = dx, up = -dz; break;   // looking down -y
    }
    POINT out;
    out.x = static_cast<LONG>(std::lround(w / 2 + across * scale));
    out.y = static_cast<LONG>(std::lround(h / 2 - up * scale));
    return out;
}

POINT SceneView::client_point(const SimShape& shape) const
{
    return project(world_anchor(shape));
}

POINT SceneView::painted_point(const SimShape& joint) const
{
    auto at = painted_.find(&joint);
    return at != painted_.end() ? at->second : POINT{-1, -1};
}

SimShape* SceneView::hit(POINT client) const
{
    SimShape* best = nullptr;
    long best_distance = scaled(pick_radius) * scaled(pick_radius) + 1;
    for (SimShape* joint : pickable()) {
        const POINT p = client_point(*joint);
        const long d = (p.x - client.x) * (p.x - client.x) + (p.y - client.y) * (p.y - client.y);
        if (d < best_distance) {
            best_distance = d;
            best = joint;
        }
    }
    return best;
}

void SceneView::select(const std::vector<SimShape*>& shapes)
{
    if (on_select_)
        on_select_(shapes);
}

void SceneView::on_click(POINT client, bool add)
{
    SetFocus(window_);
    if (scene_ == nullptr)
        return;
    SimShape* picked = hit(client);
    std::vector<SimShape*> shapes = add ? scene_->selection() : std::vector<SimShape*>();
    if (picked != nullptr) {
        auto at = std::find(shapes.begin(), shapes.end(), picked);
        if (at != shapes.end())
            shapes.erase(at);  // a second Shift+click takes it out again
        else
            shapes.push_back(picked);
    }
    if (picked == nullptr && add)
        return;  // Shift+click beside the figure keeps the selection
    select(shapes);
}

void SceneView::on_key(WPARAM key)
{
    if (scene_ == nullptr)
        return;
    if (key == 'F') {
        fit_and_redraw();
        return;
    }
    if (key == VK_ESCAPE) {
        select({});
        return;
    }
    int step = 0;
    if (key == VK_TAB || key == VK_RIGHT || key == VK_DOWN)
        step = (key == VK_TAB && GetKeyState(VK_SHIFT) < 0) ? -1 : 1;
    else if (key == VK_LEFT || key == VK_UP)
        step = -1;
    if (step == 0)
        return;
    const std::vector<SimShape*> joints = pickable();
    if (joints.empty())
        return;
    const std::vector<SimShape*>& active = scene_->selection();
    int at = -1;
    if (!active.empty()) {
        auto it = std::find(joints.begin(), joints.end(), active.back());
        if (it != joints.end())
            at = static_cast<int>(it - joints.begin());
    }
    const int n = static_cast<int>(joints.size());
    const int next = at < 0 ? (step > 0 ? 0 : n - 1) : ((at + step) % n + n) % n;
    // Shift with an arrow key adds the next joint to the active ones.
    if (key != VK_TAB && GetKeyState(VK_SHIFT) < 0) {
        std::vector<SimShape*> shapes = active;
        if (std::find(shapes.begin(), shapes.end(), joints[next]) == shapes.end())
            shapes.push_back(joints[next]);
        select(shapes);
    } else {
        select({joints[next]});
    }
}

void SceneView::paint(HDC dc, const RECT& area)
{
    HBRUSH background = CreateSolidBrush(RGB(246, 246, 242));
    FillRect(dc, &area, background);
    DeleteObject(background);
    ++paint_count_;
    painted_.clear();
    if (scene_ == nullptr)
        return;
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old_font = SelectObject(dc, font_);

    // Grid every 50 units around the centre, the world axes darker.
    HPEN grid = CreatePen(PS_SOLID, 1, RGB(222, 222, 216));
    HPEN axes = CreatePen(PS_SOLID, 1, RGB(170, 170, 165));
    const double step = 50;
    const double extent = reach_ * 3;
    int across = 0, up = 1;  // which world coordinates the screen's axes show
    if (direction_ == ViewDirection::side)
        across = 2;
    else if (direction_ == ViewDirection::top)
        up = 2;
    for (int axis : {across, up}) {
        const int other = axis == across ? up : across;
        const double middle = coordinate(centre_, axis);
        for (double k = std::floor((middle - extent) / step) * step; k <= middle + extent; k += step) {
            WorldPoint a = centre_, b = centre_;
            coordinate(a, axis) = k;
            coordinate(b, axis) = k;
            coordinate(a, other) -= extent;
            coordinate(b, other) += extent;
            SelectObject(dc, std::fabs(k) < 1e-9 ? axes : grid);
            draw_segment(dc, project(a), project(b));
        }
    }

    // Bones: from each ball joint to the parts it holds.
    HPEN bone = CreatePen(PS_SOLID, scaled(6), RGB(96, 112, 140));
    SelectObject(dc, bone);
    const std::vector<SimShape*> shapes = scene_->shapes();
    for (SimShape* shape : shapes) {
        if (!shape->is_part() || shape->parent() == nullptr || !shape->parent()->is_ball_joint())
            continue;
        if (shape->name() == "#Kelvaro_Guide")
            continue;
        draw_segment(dc, project(world_anchor(*shape->parent())), project(world_anchor(*shape)));
    }

    // Lines in their colours: the guide's arms among them.
    for (SimShape* shape : shapes) {
        if (!shape->is_line() || shape->points().size() < 2 || shape->parent() == nullptr)
            continue;
        HPEN pen = CreatePen(PS_SOLID, scaled(3), shape->has_color() ? color_of(shape->color()) : RGB(40, 40, 40));
        SelectObject(dc, pen);
        const std::vector<SimPoint>& points = shape->points();
        for (size_t i = 1; i < points.size(); ++i) {
            const Vector3& a = points[i - 1].position;
            const Vector3& b = points[i].position;
            draw_segment(dc, project(world_point(*shape->parent(), WorldPoint{a.x, a.y, a.z})),
                         project(world_point(*shape->parent(), WorldPoint{b.x, b.y, b.z})));
        }
        SelectObject(dc, bone);
        DeleteObject(pen);
    }

    // Joints and the ends of the limbs.
    HPEN ring = CreatePen(PS_SOLID, scaled(2), RGB(40, 48, 64));
    HBRUSH idle = CreateSolidBrush(RGB(255, 255, 255));
    HBRUSH active = CreateSolidBrush(RGB(255, 150, 30));
    SelectObject(dc, ring);
    SetTextColor(dc, RGB(30, 30, 30));
    for (SimShape* shape : shapes) {
        if (!shape->is_part() || shape->parent() == nullptr || shape->name() == "#Kelvaro_Guide")
            continue;
        if (!shape->is_ball_joint() && shape->children().empty() == false)
            continue;  // a plain part that only groups others
        const POINT p = project(world_anchor(*shape));
        painted_[shape] = p;
        const int r = scaled(shape->is_ball_joint() ? joint_radius : joint_radius - 3);
        SelectObject(dc, is_selected(*scene_, shape) ? active : idle);
        Ellipse(dc, p.x - r, p.y - r, p.x + r + 1, p.y + r + 1);
        if (shape->is_ball_joint())
            TextOutA(dc, p.x + scaled(10), p.y + scaled(6), shape->name().c_str(),
                     static_cast<int>(shape->name().size()));
    }

    // The caption: the view and the active joints.
    static const char* const view_names[] = {"Front view (x right, y up)", "Side view (-z right, y up)",
                                             "Top view (x right, -z up)"};
    std::string caption = view_names[static_cast<int>(direction_)];
    TEXTMETRICA font_metrics = {};
    GetTextMetricsA(dc, &font_metrics);
    const int line = std::max<int>(scaled(16), font_metrics.tmHeight), left = scaled(8);
    int y = scaled(6);
    TextOutA(dc, left, y, caption.c_str(), static_cast<int>(caption.size()));
    for (SimShape* shape : scene_->selection()) {
        y += line;
        char text[200];
        if (shape->is_ball_joint()) {
            const Quaternion& q = shape->rotation();
            float pitch = 0, yaw = 0, roll = 0;
            euler_degrees_from_quaternion(q, pitch, yaw, roll);
            std::snprintf(text, sizeof text, "%s: rotation (%.4f, %.4f, %.4f, %.4f)  pitch %.1f  yaw %.1f  roll %.1f",
                          shape->name().c_str(), q.w, q.x, q.y, q.z, pitch, yaw, roll);
        } else {
            std::snprintf(text, sizeof text, "%s", shape->name().c_str());
        }
        TextOutA(dc, left, y, text, static_cast<int>(std::strlen(text)));
    }
    if (scene_->selection().size() > 1) {
        y += line;
        const char* note = "(more than one shape active: the panel lets go of its joint)";
        TextOutA(dc, left, y, note, static_cast<int>(std::strlen(note)));
    }
    const char* hint = "Click a joint to select it, Shift+click to add one; Tab or arrows step, Esc selects none; wheel zooms, F fits.";
    SetTextColor(dc, RGB(110, 110, 110));
    TextOutA(dc, left, area.bottom - scaled(6) - font_metrics.tmHeight, hint, static_cast<int>(std::strlen(hint)));

    SelectObject(dc, old_font);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(grid);
    DeleteObject(axes);
    DeleteObject(bone);
    DeleteObject(ring);
    DeleteObject(idle);
    DeleteObject(active);
}

LRESULT CALLBACK SceneView::window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    SceneView* self = reinterpret_cast<SceneView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<SceneView*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    return self != nullptr ? self->handle(message, wparam, lparam) : DefWindowProcA(window, message, wparam, lparam);
}

LRESULT SceneView::handle(UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        RECT area;
        GetClientRect(window_, &area);
        // Drawn off screen first, so a drag repaints without flicker.
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max<LONG>(1, area.right), std::max<LONG>(1, area.bottom));
        HGDIOBJ old = SelectObject(memory, bitmap);
        paint(memory, area);
        BitBlt(dc, 0, 0, area.right, area.bottom, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        EndPaint(window_, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        InvalidateRect(window_, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN: {
        const POINT p = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
        on_click(p, (wparam & (MK_SHIFT | MK_CONTROL)) != 0);
        return 0;
    }
    case WM_MOUSEWHEEL: {
        const int notches = GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA;
        zoom_ = std::min(20.0, std::max(0.05, zoom_ * std::pow(1.25, notches)));
        redraw();
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB;
    case WM_KEYDOWN:
        on_key(wparam);
        return 0;
    }
    return DefWindowProcA(window_, message, wparam, lparam);
}
