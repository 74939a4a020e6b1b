#pragma once
// SimScene: a simulated scene. It owns its shapes (a tree under a root part),
// the selection of active shapes, the size unit, the current time, the
// placement that begin_part uses, and the state of a part being built line by
// line.
//
// Like SimShape, the methods here are the scene's own view; the plug-in
// reaches the scene through handle(), whose operations are logged, can be made
// to fail and count references.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "simhost/sim_shape.h"

class SimSceneHandle;

class SimScene {
public:
    // Scenes are made by SimHost (add_scene).
    SimScene(SimHost& host, int32_t number);
    ~SimScene();
    SimScene(const SimScene&) = delete;
    SimScene& operator=(const SimScene&) = delete;

    SimHost& host() const { return host_; }
    int32_t number() const { return number_; }
    // The host's own handle, to hand in to the plug-in, borrowed: no
    // reference is added. (current_scene answers a counted handle of its own.)
    HostScene* handle();
    int32_t references() const;  // outstanding on the scene's handles (not its shapes')

    // The root part that holds every other shape; it is never active and
    // cannot be removed.
    SimShape& root() { return *root_; }

    // New shapes go last into parent (the root when none), which must be a part.
    SimShape& add_shape(const std::string& name, int32_t kind, SimShape* parent = nullptr);
    SimShape& add_part(const std::string& name, int32_t part_kind = sim_part_kind_plain, SimShape* parent = nullptr);
    SimShape& add_ball_joint(const std::string& name, SimShape* parent = nullptr);

    // The shapes in the scene, depth first in order, the root left out;
    // removed shapes are not among them.
    std::vector<SimShape*> shapes() const;
    std::vector<SimShape*> find_all(const std::string& name) const;
    SimShape* find(const std::string& name) const;  // the first; none when there is none

    // Takes the shape and everything in it out of the scene (and out of the
    // selection, and out of a part being built; removing a part or line that
    // is being built is recorded as an error of the host).
    void remove(SimShape& shape);

    // The active shapes, in the order given. Removed shapes are left out.
    void select(const std::vector<SimShape*>& shapes);
    void select(SimShape& shape) { select(std::vector<SimShape*>{&shape}); }
    void clear_selection() { selection_.clear(); }
    const std::vector<SimShape*>& selection() const { return selection_; }

    float size_unit() const { return size_unit_; }
    void set_size_unit(float unit) { size_unit_ = unit; }
    // The time the joints' current_time answers.
    float current_time() const { return current_time_; }
    void set_current_time(float time) { current_time_ = time; }

    // Placement: set_placement stores a value; begin_part puts the new part
    // last into the part whose id() it is, or into the root when no live part
    // has that id (or none was set).
    bool has_placement() const { return has_placement_; }
    int32_t placement() const { return placement_; }
    void set_placement(int32_t value);
    SimShape& placement_target() const;

    // Building a part of lines, as the host's operations of the same names do.
    // Misuse (a line outside a part, a point outside a line, an end without a
    // beginning) is recorded as an error of the host.
    SimShape& begin_part(const std::string& name);
    SimShape& begin_line(const std::string& name, int32_t option);
    void append_point(const SimPoint& point);
    void end_line();
    void end_part();
    void update() { ++update_count_; }
    SimShape* open_part() const { return open_parts_.empty() ? nullptr : open_parts_.back(); }
    SimShape* open_line() const { return open_line_; }
    int32_t update_count() const { return update_count_; }

private:
    SimShape& make_shape(SimShape* parent, const std::string& name, int32_t kind, int32_t part_kind);
    void collect(const SimShape& shape, std::vector<SimShape*>* out) const;

    SimHost& host_;
    int32_t number_;
    int32_t next_id_ = 1;
    std::vector<std::unique_ptr<SimShape>> all_shapes_;  // every shape ever made, removed ones too
    SimShape* root_ = nullptr;
    std::vector<SimShape*> selection_;
    float size_unit_ = 1;
    float current_time_ = 0;
    bool has_placement_ = false;
    int32_t placement_ = 0;
    std::vector<SimShape*> open_parts_;
    SimShape* open_line_ = nullptr;
    int32_t update_count_ = 0;
    std::unique_ptr<SimSceneHandle> handle_;
};
