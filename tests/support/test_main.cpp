// The main of every test program. A run in which the filter matched no test
// fails: CTest runs one test per process by name, and a stale program that no
// longer holds the named test must not pass for it.
#include <cstdio>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (result == 0 && testing::UnitTest::GetInstance()->test_to_run_count() == 0 &&
        testing::UnitTest::GetInstance()->disabled_test_count() == 0) {
        std::fprintf(stderr, "no test matched: nothing was run\n");
        return 1;
    }
    return result;
}
