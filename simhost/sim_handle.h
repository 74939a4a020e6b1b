#pragma once
// The reference accounting behind every handle the simulated host hands out,
// kept by the host's rule:
//
// - The results of current_scene, active_shape, joint_handle, line_handle and
//   the three stream operations carry one reference for the caller. Each such
//   result is a handle object of its own, made for that call (a counted
//   handle): AddRef adds to it, Release takes from it, and when its count
//   reaches zero it is dead. Any later call or Release on it is an error.
// - Everything else the plug-in sees is the host's own (a host-held handle):
//   the application and the scene handed in, a target shape handed in, and
//   the results of as_part, placement_anchor, begin_part, begin_line and
//   part_handle. They are borrowed: a Release for which the plug-in took no
//   reference (by AddRef) is an error. A removed part's handles are dead too.
//
// No handle object is ever freed while the host lives, so a late call or
// release is recorded as an error of the host instead of touching freed memory.
#include <cstdint>
#include <string>
#include "joint/host.h"

class SimHost;
class SimScene;
class SimShape;

enum class SimHandleLife : int32_t {
    host_held,  // the host's own; lent to the plug-in
    counted,    // made for one caller, with one reference; dead at zero
};

class SimHandle {
public:
    // shape and scene: what the handle belongs to, when anything (for the call
    // log and the report).
    SimHandle(SimHost& host, HostUnknown* handle, std::string description, SimShape* shape, SimScene* scene,
              SimHandleLife life);
    ~SimHandle();
    SimHandle(const SimHandle&) = delete;
    SimHandle& operator=(const SimHandle&) = delete;

    // One more reference: by AddRef, or the one a counted handle is made with.
    unsigned long add_reference(bool handed_out = false);
    // A Release: an error (recorded with the host, answering 0) on a dead
    // handle, on a removed shape's host-held handle, or with none outstanding.
    unsigned long release_reference();
    // Why a call on this handle now breaks the host's rule; empty when it does not.
    std::string misuse() const;

    int32_t references() const { return references_; }
    SimHandleLife life() const { return life_; }
    bool dead() const { return dead_; }
    HostUnknown* handle() const { return handle_; }
    const std::string& description() const { return description_; }
    SimShape* shape() const { return shape_; }
    SimScene* scene() const { return scene_; }
    SimHost& host() const { return host_; }

private:
    SimHost& host_;
    HostUnknown* handle_;
    std::string description_;
    SimShape* shape_;
    SimScene* scene_;
    SimHandleLife life_;
    int32_t references_ = 0;
    bool dead_ = false;
};

// The IUnknown part of a handle kind: QueryInterface hands out nothing (the
// plug-in gets handles only from operations), AddRef and Release count.
template <class Interface>
class SimCounted : public Interface {
public:
    long __stdcall QueryInterface(const GUID*, void** out) override
    {
        if (out != nullptr)
            *out = nullptr;
        return E_NOINTERFACE;
    }
    unsigned long __stdcall AddRef() override { return account_.add_reference(); }
    unsigned long __stdcall Release() override { return account_.release_reference(); }

    SimHandle& account() { return account_; }
    const SimHandle& account() const { return account_; }

    // What an operation returns: a counted handle with the caller's reference,
    // or a host-held one lent as it is.
    Interface* hand_out()
    {
        if (account_.life() == SimHandleLife::counted)
            account_.add_reference(true);
        return this;
    }

protected:
    SimCounted(SimHost& host, std::string description, SimShape* shape, SimScene* scene, SimHandleLife life)
        : account_(host, this, std::move(description), shape, scene, life)
    {
    }
    ~SimCounted() = default;

    SimHandle account_;
};
