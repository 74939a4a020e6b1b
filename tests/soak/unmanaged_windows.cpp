// Under Wine without a window manager, hiding a captioned window waits two
// seconds for a window manager that never answers; the soak hides the panel
// and ends dialogs thousands of times. Wine reads, at process start, whether
// it hands this program's top-level windows to a window manager at all
// (HKCU\Software\Wine\AppDefaults\soak_tests.exe\X11 Driver, "Managed"). So
// before anything else runs: if that value is not "N" yet, set it and run
// this same command line again as a child, with the same standard handles,
// and end with its exit code. Outside Wine the key means nothing.
#include <windows.h>

#include <cstring>

namespace {

const char app_key[] = "Software\\Wine\\AppDefaults\\soak_tests.exe\\X11 Driver";

bool running_under_wine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool windows_unmanaged()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, app_key, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char value[8] = {};
    DWORD size = sizeof value - 1;
    const bool set = RegQueryValueExA(key, "Managed", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) ==
                         ERROR_SUCCESS &&
                     (value[0] == 'N' || value[0] == 'n');
    RegCloseKey(key);
    return set;
}

bool make_windows_unmanaged()
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, app_key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const bool written = RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

struct RunUnmanaged {
    RunUnmanaged()
    {
        if (!running_under_wine() || windows_unmanaged() || !make_windows_unmanaged())
            return;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(nullptr, GetCommandLineA(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                            &process))
            return;  // run here, slowly
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        ExitProcess(code);
    }
} run_unmanaged;

}  // namespace
