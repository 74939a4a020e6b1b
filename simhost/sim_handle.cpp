#include "simhost/sim_handle.h"
#include "simhost/sim_host.h"
#include "simhost/sim_shape.h"

SimHandle::SimHandle(SimHost& host, HostUnknown* handle, std::string description, SimShape* shape, SimScene* scene,
                     SimHandleLife life)
    : host_(host), handle_(handle), description_(std::move(description)), shape_(shape), scene_(scene), life_(life)
{
    host_.register_handle(this);
}

SimHandle::~SimHandle()
{
    host_.unregister_handle(this);
}

unsigned long SimHandle::add_reference(bool handed_out)
{
    if (dead_) {
        host_.record_error("AddRef of " + description_ + ", which was released to zero");
        return 0;
    }
    ++references_;
    host_.record_reference(*this, handed_out ? SimReferenceChange::handed_out : SimReferenceChange::add_ref);
    return static_cast<unsigned long>(references_);
}

std::string SimHandle::misuse() const
{
    if (dead_)
        return description_ + ", which was released to zero";
    if (shape_ != nullptr && shape_->removed())
        return description_ + ", which was removed";
    return {};
}

unsigned long SimHandle::release_reference()
{
    std::string why;
    if (dead_)
        why = "Release of " + description_ + ", which was released to zero";
    else if (life_ == SimHandleLife::host_held && shape_ != nullptr && shape_->removed())
        why = "Release of " + description_ + ", which was removed";
    else if (references_ <= 0)
        why = "Release of " + description_ + ", for which no reference was given";
    if (!why.empty()) {
        host_.record_over_release(*this, why);
        return 0;
    }
    --references_;
    if (life_ == SimHandleLife::counted && references_ == 0)
        dead_ = true;
    host_.record_reference(*this, SimReferenceChange::release);
    return static_cast<unsigned long>(references_);
}
