#include "simhost/sim_handle.h"
#include "simhost/sim_host.h"

SimHandle::SimHandle(SimHost& host, HostUnknown* handle, std::string description, SimShape* shape, SimScene* scene)
    : host_(host), handle_(handle), description_(std::move(description)), shape_(shape), scene_(scene)
{
    host_.register_handle(this);
}

SimHandle::~SimHandle()
{
    host_.unregister_handle(this);
}

unsigned long SimHandle::add_reference(bool handed_out)
{
    ++references_;
    host_.record_reference(*this, handed_out ? SimReferenceChange::handed_out : SimReferenceChange::add_ref);
    return static_cast<unsigned long>(references_);
}

unsigned long SimHandle::release_reference()
{
    if (references_ <= 0) {
        host_.record_reference(*this, SimReferenceChange::over_release);
        return 0;
    }
    --references_;
    host_.record_reference(*this, SimReferenceChange::release);
    return static_cast<unsigned long>(references_);
}
