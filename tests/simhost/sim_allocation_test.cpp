// With call logging off, a call of the simulated host allocates nothing, so
// tests that count the plug-in's allocations can run against it.
#include <gtest/gtest.h>
#include <cstdlib>
#include <new>
#include "simhost/simhost.h"

namespace {
int allocations = 0;
}

void* operator new(size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, size_t) noexcept
{
    std::free(p);
}

// A counted result is a handle made for its caller, so only those allocate.
TEST(SimAllocation, CallsWithTheLogOffAllocateNothing)
{
    SimHost host;
    SimShape& elbow = host.scene().add_ball_joint("Elbow");
    host.scene().select(elbow);
    HostJoint* joint = elbow.new_joint_handle();
    HostScene* scene = host.scene().handle();
    HostShape* shape = scene->active_shape(0);

    host.set_call_logging(false);
    const int before = allocations;
    for (int step = 0; step < 1000; ++step) {
        const Quaternion q(1, static_cast<float>(step), 0, 0);
        joint->set_rotation(&q);
        shape->as_part()->part_kind();
        scene->active_shape_count();
    }
    EXPECT_EQ(allocations - before, 0);
    EXPECT_EQ(host.call_count(SimOperation::set_rotation), 1000);
    EXPECT_EQ(elbow.rotation().x, 999);

    host.set_call_logging(true);
    const Quaternion q(1, 0, 0, 0);
    joint->set_rotation(&q);
    EXPECT_GT(allocations - before, 0);  // the counter sees the log
    shape->Release();
    joint->Release();
}
