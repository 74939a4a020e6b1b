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

unsigned long SimHandle::add_reference()
{
    return static_cast<unsigned long>(++references_);
}

unsigned long SimHandle::release_reference()
{
    if (references_ <= 0) {
        host_.record_over_release(*this);
        return 0;
    }
    return static_cast<unsigned long>(--references_);
}
