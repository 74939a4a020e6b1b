#include "refhost_fixture.h"

#include <windows.h>

std::string windows_path(const char* linux_path)
{
    std::string path = linux_path;
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    return path;
}

std::string module_path()
{
    return windows_path(REFHOST_MODULE_PATH);
}

std::string sample_scene_path()
{
    return windows_path(REFHOST_SAMPLE_SCENE);
}

std::string temporary_file(const char* stem)
{
    char folder[MAX_PATH] = "";
    GetTempPathA(sizeof folder, folder);
    char name[MAX_PATH] = "";
    GetTempFileNameA(folder, stem, 0, name);
    return name;
}

void HostErrorCheck::operator()(ReferenceHost* host) const
{
    std::vector<std::string> errors = host->host().errors();
    host->host().set_error_observer([&errors](const std::string& error) { errors.push_back(error); });
    delete host;  // the shut-down: the plug-in's window, its components, the module
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TestHost make_host(const std::string& scene_path, bool japanese)
{
    ReferenceHostOptions options;
    options.plugin_path = module_path();
    options.scene_path = scene_path;
    options.japanese = japanese;
    options.quit_on_close = false;
    options.x = 10;
    options.y = 40;
    options.width = 860;
    options.height = 600;
    TestHost host(new ReferenceHost);
    std::string error;
    EXPECT_TRUE(host->create(options, &error)) << error;
    EXPECT_EQ(host->last_error(), "");
    return host;
}

std::vector<std::string> names_of(const std::vector<SimShape*>& shapes)
{
    std::vector<std::string> names;
    for (SimShape* shape : shapes)
        names.push_back(shape->name());
    return names;
}

std::vector<float> stored_limits(SimShape& shape)
{
    return shape.stream_floats(0x40a00030);
}
