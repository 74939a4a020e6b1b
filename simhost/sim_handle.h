#pragma once
// The reference accounting behind every handle the simulated host hands out.
//
// Each handle object counts its own outstanding references: a host operation
// that returns it adds one (the caller's), AddRef adds one, Release takes one
// away. The object is never freed at zero: it belongs to the scene (or, for a
// stream, to the host) for the host's whole life, so a Release too many is
// recorded as an error of the host instead of touching freed memory.
#include <cstdint>
#include <string>
#include "joint/host.h"

class SimHost;
class SimScene;
class SimShape;

class SimHandle {
public:
    // shape and scene: what the handle belongs to, when anything (for the call
    // log and the report).
    SimHandle(SimHost& host, HostUnknown* handle, std::string description, SimShape* shape, SimScene* scene);
    ~SimHandle();
    SimHandle(const SimHandle&) = delete;
    SimHandle& operator=(const SimHandle&) = delete;

    // One more reference: by AddRef, or handed out by an operation.
    unsigned long add_reference(bool handed_out = false);
    // At zero: records an over-release with the host and answers 0.
    unsigned long release_reference();

    int32_t references() const { return references_; }
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
    int32_t references_ = 0;
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

    // The handle with one more reference: what an operation returns.
    Interface* hand_out()
    {
        account_.add_reference(true);
        return this;
    }

protected:
    SimCounted(SimHost& host, std::string description, SimShape* shape, SimScene* scene)
        : account_(host, this, std::move(description), shape, scene)
    {
    }
    ~SimCounted() = default;

    SimHandle account_;
};
