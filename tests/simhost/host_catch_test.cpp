// The host's exceptions through our frames: a host_try catches an int thrown
// the way the host's compiler throws it, after every ReleaseGuard in between
// has released its handle, and leaves the thread's exception chain as found.
#include <gtest/gtest.h>
#include "joint/host_exception.h"
#include "joint/release_guard.h"
#include "simhost/host_catch.h"

namespace {

struct CountedHandle : HostUnknown {
    long references = 1;
    long __stdcall QueryInterface(const GUID*, void**) override { return E_NOINTERFACE; }
    unsigned long __stdcall AddRef() override { return ++references; }
    unsigned long __stdcall Release() override { return --references; }
};

__attribute__((noinline)) void step_that_throws(CountedHandle* a, CountedHandle* b, int value)
{
    ReleaseGuard<HostUnknown> first(a);
    ReleaseGuard<HostUnknown> second(b);
    raise_host_int_exception(value);
}

}  // namespace

TEST(HostCatch, CatchesAnIntThrownTheHostsWayAfterGuardsReleased)
{
    CountedHandle a, b;
    ExceptionChainRecord* chain_before = exception_chain_head();
    HostCatch caught;
    bool returned = host_try([&] { step_that_throws(&a, &b, 7); }, &caught);
    EXPECT_FALSE(returned);
    EXPECT_TRUE(caught.caught);
    EXPECT_EQ(caught.code, host_exception_code);
    EXPECT_TRUE(caught.is_int);
    EXPECT_EQ(caught.int_value, 7);
    EXPECT_EQ(a.references, 0);
    EXPECT_EQ(b.references, 0);
    EXPECT_EQ(exception_chain_head(), chain_before);
}

TEST(HostCatch, GuardReleasesOnceOnANormalEndAndUnregisters)
{
    CountedHandle a;
    ExceptionChainRecord* chain_before = exception_chain_head();
    bool returned = host_try([&] { ReleaseGuard<HostUnknown> guard(&a); }, nullptr);
    EXPECT_TRUE(returned);
    EXPECT_EQ(a.references, 0);
    EXPECT_EQ(exception_chain_head(), chain_before);
}

TEST(HostCatch, AGuardOfNoneRegistersNothing)
{
    ExceptionChainRecord* chain_before = exception_chain_head();
    {
        ReleaseGuard<HostUnknown> guard(nullptr);
        EXPECT_EQ(exception_chain_head(), chain_before);
    }
    EXPECT_EQ(exception_chain_head(), chain_before);
}

TEST(HostCatch, AThousandThrowsInARowKeepTheChainIntact)
{
    ExceptionChainRecord* chain_before = exception_chain_head();
    for (int i = 0; i < 1000; ++i) {
        CountedHandle a, b;
        HostCatch caught;
        ASSERT_FALSE(host_try([&] { step_that_throws(&a, &b, i); }, &caught));
        ASSERT_EQ(caught.int_value, i);
        ASSERT_EQ(a.references + b.references, 0);
    }
    EXPECT_EQ(exception_chain_head(), chain_before);
}
