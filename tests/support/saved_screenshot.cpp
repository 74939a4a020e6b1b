#include "saved_screenshot.h"

#include "desktop/screenshot.h"

namespace {

std::string build_folder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    for (;;) {
        size_t slash = folder.find_last_of("\\/");
        if (slash == std::string::npos)
            return std::string();
        folder.resize(slash);
        if (GetFileAttributesA((folder + "\\CMakeCache.txt").c_str()) != INVALID_FILE_ATTRIBUTES)
            return folder;
    }
}

}  // namespace

std::string save_screenshot(int width, int height, const std::vector<uint8_t>& rgb, const char* name)
{
    std::string folder = build_folder();
    if (folder.empty())
        return std::string();
    folder += "\\screenshots";
    CreateDirectoryA(folder.c_str(), nullptr);
    // A program with a manifest of its own (the ones whose manifest asks for
    // version 6 of the common controls) keeps its pictures apart.
    if (FindResourceA(nullptr, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST)) {
        folder += "\\v6";
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    const std::string path = folder + "\\" + name;
    return write_png_file(path, width, height, rgb) ? path : std::string();
}

std::string save_window_screenshot(HWND window, const char* name)
{
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    if (!capture_window_rgb(window, &width, &height, &rgb))
        return std::string();
    return save_screenshot(width, height, rgb, name);
}
