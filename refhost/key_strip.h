#pragma once
// The strip under the timeline's trackbar that shows the motion keys of the
// joint the timeline follows, as diamonds at their times, and the current
// time as a red mark. A click on the strip goes to the nearest key.
#include <functional>
#include <vector>
#include <windows.h>

class KeyStrip {
public:
    using TimeHandler = std::function<void(float time)>;

    bool create(HWND parent, int id, HWND time_slider);
    HWND window() const { return window_; }
    void set_time_handler(TimeHandler handler) { on_time_ = std::move(handler); }
    // The key times, ascending, and the current time; repaints.
    void show(const std::vector<float>& key_times, float current_time);
    const std::vector<float>& key_times() const { return key_times_; }
    // Where a time lands in the strip, lined up with the trackbar's thumb.
    int x_of(float time) const;

private:
    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
    void paint(HDC dc);

    HWND window_ = nullptr;
    HWND slider_ = nullptr;
    std::vector<float> key_times_;
    float current_time_ = 0;
    TimeHandler on_time_;
};
