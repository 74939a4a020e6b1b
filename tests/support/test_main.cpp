// The main of every test program. A run in which the filter matched no test
// fails: CTest runs one test per process by name, and a stale program that no
// longer holds the named test must not pass for it.
#include <cstdio>
#include <gtest/gtest.h>
#include <windows.h>

static volatile LONG threads_started = 0;  // past their start-up, the main one aside
static void NTAPI count_started_thread(PVOID, DWORD reason, PVOID)
{
    if (reason == DLL_THREAD_ATTACH)
        InterlockedIncrement(&threads_started);
}
extern "C" __attribute__((section(".CRT$XLF"), used)) const PIMAGE_TLS_CALLBACK started_thread_callback =
    count_started_thread;

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // Wine 8 dies of SIGSEGV if the process ends while a thread is still starting. GoogleTest's
    // watcher thread (made at the first SCOPED_TRACE or failure) starts here, before any test;
    // a thread started earlier (by a system DLL, say) is not the one waited for.
    const LONG started_before = threads_started;
    const DWORD asked = GetTickCount();
    { SCOPED_TRACE("the watcher thread"); }
    while (threads_started == started_before && GetTickCount() - asked < 5000)
        Sleep(1);
    if (threads_started == started_before)
        std::fprintf(stderr, "test_main: GoogleTest's watcher thread had not started after 5 s; "
                             "the tests run without waiting for it\n");
    const int result = RUN_ALL_TESTS();
    if (result == 0 && testing::UnitTest::GetInstance()->test_to_run_count() == 0 &&
        testing::UnitTest::GetInstance()->disabled_test_count() == 0) {
        std::fprintf(stderr, "no test matched: nothing was run\n");
        return 1;
    }
    return result;
}
