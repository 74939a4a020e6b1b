// The scene file: what is written reads back exactly; the plug-in's guide is
// left out; a broken file says where it broke.
#include <cstdio>
#include <cstring>
#include "refhost/scene_file.h"
#include "refhost_fixture.h"

namespace {

std::string write_file(const char* text)
{
    const std::string path = temporary_file("rhf");
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fputs(text, file);
    std::fclose(file);
    return path;
}

std::string load_error(const char* text)
{
    const std::string path = write_file(text);
    SimHost host;
    std::string error;
    EXPECT_FALSE(load_scene_file(host.scene(), path, &error));
    DeleteFileA(path.c_str());
    return error.substr(error.find(':', 2) + 1);  // without the path
}

}  // namespace

TEST(SceneFile, WhatIsSavedReadsBackExactly)
{
    SimHost first;
    ASSERT_TRUE(load_scene_file(first.scene(), sample_scene_path(), nullptr));
    SimScene& scene = first.scene();
    SimShape* elbow = scene.find("Elbow");
    ASSERT_NE(elbow, nullptr);
    elbow->set_rotation(Quaternion(0.1f, 1.0f / 3, -2.0e-7f, 0.9f));
    elbow->add_key(2.5f, Quaternion(0.7071068f, 0.7071068f, 0, 0));
    elbow->add_key(0.1f, Quaternion(1, 0, 0, 0));
    elbow->set_stream_floats(0x40a00030, {-45.5f, 60, -180, 180, 0.1f, 1e-8f});
    elbow->set_stream_bytes(7, {1, 2, 255, 0, 16});  // not whole floats
    scene.find("Wrist")->set_motion_enabled(false);
    scene.set_size_unit(2.5f);
    scene.set_current_time(33);
    scene.select({elbow, scene.find("Shoulder")});

    const std::string path = temporary_file("rhf");
    std::string error;
    ASSERT_TRUE(save_scene_file(scene, path, &error)) << error;
    SimHost second;
    ASSERT_TRUE(load_scene_file(second.scene(), path, &error)) << error;
    DeleteFileA(path.c_str());
    SimScene& copy = second.scene();

    const std::vector<SimShape*> a = scene.shapes(), b = copy.shapes();
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(a[i]->name());
        EXPECT_EQ(b[i]->name(), a[i]->name());
        EXPECT_EQ(b[i]->kind(), a[i]->kind());
        EXPECT_EQ(b[i]->is_ball_joint(), a[i]->is_ball_joint());
        EXPECT_EQ(b[i]->parent()->name(), a[i]->parent()->name());
        EXPECT_EQ(std::memcmp(&b[i]->transformation(), &a[i]->transformation(), sizeof(Matrix4)), 0);
        EXPECT_EQ(std::memcmp(&b[i]->rotation(), &a[i]->rotation(), sizeof(Quaternion)), 0);
        EXPECT_EQ(std::memcmp(&b[i]->center(), &a[i]->center(), sizeof(Vector3)), 0);
        EXPECT_EQ(b[i]->motion_enabled(), a[i]->motion_enabled());
        ASSERT_EQ(b[i]->keys().size(), a[i]->keys().size());
        for (size_t k = 0; k < a[i]->keys().size(); ++k) {
            EXPECT_EQ(b[i]->keys()[k].time, a[i]->keys()[k].time);
            EXPECT_EQ(std::memcmp(&b[i]->keys()[k].rotation, &a[i]->keys()[k].rotation, sizeof(Quaternion)), 0);
        }
        EXPECT_EQ(b[i]->stream_keys(), a[i]->stream_keys());
        for (int32_t key : a[i]->stream_keys())
            EXPECT_EQ(b[i]->stream_bytes(key), a[i]->stream_bytes(key));
        ASSERT_EQ(b[i]->points().size(), a[i]->points().size());
        for (size_t p = 0; p < a[i]->points().size(); ++p)
            EXPECT_EQ(std::memcmp(&b[i]->points()[p], &a[i]->points()[p], sizeof(SimPoint)), 0);
        EXPECT_EQ(b[i]->has_color(), a[i]->has_color());
    }
    EXPECT_EQ(copy.size_unit(), 2.5f);
    EXPECT_EQ(copy.current_time(), 33.0f);
    ASSERT_EQ(copy.selection().size(), 2u);
    EXPECT_EQ(copy.selection()[0]->name(), "Elbow");
    EXPECT_EQ(copy.selection()[1]->name(), "Shoulder");
}

TEST(SceneFile, LeavesThePluginsGuideOut)
{
    SimHost host;
    SimScene& scene = host.scene();
    SimShape& joint = scene.add_ball_joint("Knee");
    SimShape& guide = scene.begin_part("#Kelvaro_Guide");
    scene.begin_line("G_Yaw", 0);
    scene.end_line();
    scene.end_part();
    scene.select({&joint, &guide});

    const std::string path = temporary_file("rhf");
    ASSERT_TRUE(save_scene_file(scene, path, nullptr));
    SimHost other;
    ASSERT_TRUE(load_scene_file(other.scene(), path, nullptr));
    DeleteFileA(path.c_str());
    ASSERT_EQ(other.scene().shapes().size(), 1u);
    EXPECT_EQ(other.scene().shapes()[0]->name(), "Knee");
    ASSERT_EQ(other.scene().selection().size(), 1u);
}

TEST(SceneFile, ABrokenFileSaysWhichLine)
{
    EXPECT_EQ(load_error(""), "0: empty file");
    EXPECT_EQ(load_error("kelvaro-scene 2\n"), "1: not a scene file of this host");
    EXPECT_EQ(load_error("kelvaro-scene 1\njoint 1 Knee\n"), "2: a shape without a parent part");
    EXPECT_EQ(load_error("kelvaro-scene 1\npart 0 0 Leg\ncenter 1 2 3\n"), "3: a centre needs a joint and three numbers");
    EXPECT_EQ(load_error("kelvaro-scene 1\njoint 0 Knee\nrotation 1 0 0\n"), "3: a rotation needs a joint and four numbers");
    EXPECT_EQ(load_error("kelvaro-scene 1\njoint 0 Knee\nstream 5 abc\n"), "3: a stream needs a key and its bytes in hex");
    EXPECT_EQ(load_error("kelvaro-scene 1\njoint 0 Knee\nstream 5 zz\n"), "3: a stream needs a key and its bytes in hex");
    EXPECT_EQ(load_error("kelvaro-scene 1\nrotation 1 0 0 0\n"), "2: 'rotation' before any shape");
    EXPECT_EQ(load_error("kelvaro-scene 1\njoint 0 Knee\nselect Hip\n"), "3: selects a shape that is not there");
    EXPECT_EQ(load_error("kelvaro-scene 1\njoint 0 Knee\nscale 2\n"), "3: unknown word 'scale'");
}

TEST(SceneFile, AMissingFileIsAnErrorNotAnEmptyScene)
{
    SimHost host;
    std::string error;
    EXPECT_FALSE(load_scene_file(host.scene(), "Z:\\no\\such\\folder\\scene.kscene", &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}
