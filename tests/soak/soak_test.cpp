// Random operations of the host and the user on the panel and the joint link,
// with the model's checks after every one. Fixed seeds; the number of
// operations per seed comes from KELVARO_SOAK_OPERATIONS (default 4000, which
// keeps each run well under a minute under Wine; 100000 for a long soak).
#include <gtest/gtest.h>

#include "soak_world.h"

namespace {

int operations_per_seed()
{
    const char* value = std::getenv("KELVARO_SOAK_OPERATIONS");
    return value != nullptr && std::atoi(value) > 0 ? std::atoi(value) : 4000;
}

void soak(uint32_t seed)
{
    SoakWorld world(seed);
    const bool held = world.run(operations_per_seed());
    ASSERT_TRUE(held);
    EXPECT_TRUE(world.answerer().unexpected().empty()) << world.answerer().unexpected().front();
    // The run reached what it was meant to reach (a wander is real input alone, rarely drawn).
    for (int kind = 0; kind < static_cast<int>(SoakOperation::wander); ++kind)
        EXPECT_GT(world.performed(static_cast<SoakOperation>(kind)), 0)
            << soak_operation_name(static_cast<SoakOperation>(kind));
    EXPECT_GT(world.answerer().dialogs_seen(), 0);
    EXPECT_GT(world.answerer().message_boxes_seen(), 0);
    EXPECT_GT(world.faults_caught(), 0);
    EXPECT_GT(world.real_performed(), 0);
    // Once the link lets go, every reference the host gave is back, and the
    // host saw no breach of its rules at any time.
    unlink();
    EXPECT_EQ(world.host().outstanding_references(), 0) << world.host().outstanding_report();
    EXPECT_TRUE(world.host().errors().empty()) << world.host().errors().front();
    std::printf("seed %u: %d operations (%d as real input that reached its control; plans' digest %08x), "
                "%d limits dialogs, %d message boxes, %d host faults caught, %d counted handles given and all "
                "given back\n", seed, operations_per_seed(), world.real_performed(), world.plan_digest(),
                world.answerer().dialogs_seen(), world.answerer().message_boxes_seen(), world.faults_caught(),
                world.host().counted_handles_made());
}

}  // namespace

TEST(Soak, RandomOperationsSeed1) { soak(1); }
TEST(Soak, RandomOperationsSeed20261207) { soak(20261207); }
TEST(Soak, RandomOperationsSeed777) { soak(777); }

// The checks themselves: a reference kept beyond the link's, and a part left open, are reported.
TEST(Soak, InvariantsCatchALeakedReferenceAndAPartLeftOpen)
{
    SoakWorld world(5);
    ASSERT_EQ(world.broken_invariant(), "");
    HostShape* leaked = world.host().scene().handle()->active_shape(0);
    EXPECT_NE(world.broken_invariant().find("references outstanding"), std::string::npos);
    leaked->Release();
    ASSERT_EQ(world.broken_invariant(), "");
    world.host().scene().begin_part("Left open");
    EXPECT_NE(world.broken_invariant().find("still open"), std::string::npos);
    world.host().scene().end_part();
}
