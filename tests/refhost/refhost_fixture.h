#pragma once
// A reference host on the sample scene, with the module as built; paths given
// by the build as Linux paths, which Wine shows under Z:.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include "refhost/reference_host.h"

std::string windows_path(const char* linux_path);
std::string module_path();
std::string sample_scene_path();
// A fresh file name in the temporary folder.
std::string temporary_file(const char* stem);

// Fails the test when the host it deletes has recorded a breach of the
// host's rules (a release it gave no reference for, a call on a dead handle),
// also one made while it shuts down.
struct HostErrorCheck {
    void operator()(ReferenceHost* host) const;
};
using TestHost = std::unique_ptr<ReferenceHost, HostErrorCheck>;

// Makes a host that does not end the thread's message loop when it closes.
TestHost make_host(const std::string& scene_path, bool japanese = false);

// The shapes' names, in their order.
std::vector<std::string> names_of(const std::vector<SimShape*>& shapes);

// The bytes of a stored limits record as floats.
std::vector<float> stored_limits(SimShape& shape);
