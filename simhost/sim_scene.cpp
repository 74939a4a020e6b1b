#include "simhost/sim_scene.h"
#include <algorithm>
#include "simhost/sim_handles.h"

SimScene::SimScene(SimHost& host, int32_t number) : host_(host), number_(number)
{
    handle_ = std::make_unique<SimSceneHandle>(*this, SimHandleLife::host_held);
    root_ = &make_shape(nullptr, "root", host_shape_kind_part, sim_part_kind_plain);
}

SimScene::~SimScene() = default;

HostScene* SimScene::handle()
{
    return handle_.get();
}

int32_t SimScene::references() const
{
    return host_.references_to(*this);
}

SimShape& SimScene::make_shape(SimShape* parent, const std::string& name, int32_t kind, int32_t part_kind)
{
    all_shapes_.push_back(std::make_unique<SimShape>(*this, parent, name, kind, part_kind, next_id_++));
    SimShape& shape = *all_shapes_.back();
    if (parent != nullptr)
        parent->attach_child(&shape);
    return shape;
}

SimShape& SimScene::add_shape(const std::string& name, int32_t kind, SimShape* parent)
{
    return make_shape(parent != nullptr ? parent : root_, name, kind, sim_part_kind_plain);
}

SimShape& SimScene::add_part(const std::string& name, int32_t part_kind, SimShape* parent)
{
    return make_shape(parent != nullptr ? parent : root_, name, host_shape_kind_part, part_kind);
}

SimShape& SimScene::add_ball_joint(const std::string& name, SimShape* parent)
{
    return add_part(name, host_part_kind_ball_joint, parent);
}

void SimScene::collect(const SimShape& shape, std::vector<SimShape*>* out) const
{
    for (SimShape* child : shape.children()) {
        out->push_back(child);
        collect(*child, out);
    }
}

std::vector<SimShape*> SimScene::shapes() const
{
    std::vector<SimShape*> out;
    collect(*root_, &out);
    return out;
}

std::vector<SimShape*> SimScene::find_all(const std::string& name) const
{
    std::vector<SimShape*> out;
    for (SimShape* shape : shapes())
        if (shape->name() == name)
            out.push_back(shape);
    return out;
}

SimShape* SimScene::find(const std::string& name) const
{
    for (SimShape* shape : shapes())
        if (shape->name() == name)
            return shape;
    return nullptr;
}

void SimScene::remove(SimShape& shape)
{
    if (&shape == root_) {
        host_.record_error("the root part cannot be removed");
        return;
    }
    if (shape.removed())
        return;
    if (shape.parent() != nullptr)
        shape.parent()->detach_child(&shape);
    shape.mark_removed();
    // Nothing promises that a removal ends a building: a part or line begun
    // and not yet ended must be ended first.
    if ((open_line_ != nullptr && open_line_->removed()) ||
        std::any_of(open_parts_.begin(), open_parts_.end(), [](SimShape* s) { return s->removed(); }))
        host_.record_error("remove of \"" + shape.name() + "\" while a part or line in it is being built");
    selection_.erase(std::remove_if(selection_.begin(), selection_.end(),
                                    [](SimShape* s) { return s->removed(); }),
                     selection_.end());
    open_parts_.erase(std::remove_if(open_parts_.begin(), open_parts_.end(),
                                     [](SimShape* s) { return s->removed(); }),
                      open_parts_.end());
    if (open_line_ != nullptr && open_line_->removed())
        open_line_ = nullptr;
}

void SimScene::select(const std::vector<SimShape*>& shapes)
{
    selection_.clear();
    for (SimShape* shape : shapes)
        if (shape != nullptr && !shape->removed() && shape != root_)
            selection_.push_back(shape);
}

void SimScene::set_placement(int32_t value)
{
    has_placement_ = true;
    placement_ = value;
}

SimShape& SimScene::placement_target() const
{
    if (has_placement_) {
        for (SimShape* shape : shapes())
            if (shape->id() == placement_ && shape->is_part())
                return *shape;
    }
    return *root_;
}

SimShape& SimScene::begin_part(const std::string& name)
{
    if (open_line_ != nullptr)
        host_.record_error("begin_part \"" + name + "\" while the line \"" + open_line_->name() + "\" is open");
    SimShape* parent = open_part() != nullptr ? open_part() : &placement_target();
    SimShape& part = make_shape(parent, name, host_shape_kind_part, sim_part_kind_plain);
    open_parts_.push_back(&part);
    return part;
}

SimShape& SimScene::begin_line(const std::string& name, int32_t option)
{
    if (open_line_ != nullptr) {
        host_.record_error("begin_line \"" + name + "\" while the line \"" + open_line_->name() + "\" is open");
        open_line_ = nullptr;
    }
    SimShape* parent = open_part();
    if (parent == nullptr) {
        host_.record_error("begin_line \"" + name + "\" outside a part");
        parent = &placement_target();
    }
    SimShape& line = make_shape(parent, name, sim_shape_kind_line, sim_part_kind_plain);
    line.set_line_option(option);
    open_line_ = &line;
    return line;
}

void SimScene::append_point(const SimPoint& point)
{
    if (open_line_ == nullptr) {
        host_.record_error("append_point outside a line");
        return;
    }
    open_line_->add_point(point);
}

void SimScene::end_line()
{
    if (open_line_ == nullptr) {
        host_.record_error("end_line without an open line");
        return;
    }
    open_line_ = nullptr;
}

void SimScene::end_part()
{
    if (open_line_ != nullptr) {
        host_.record_error("end_part while the line \"" + open_line_->name() + "\" is open");
        open_line_ = nullptr;
    }
    if (open_parts_.empty()) {
        host_.record_error("end_part without an open part");
        return;
    }
    open_parts_.pop_back();
}
