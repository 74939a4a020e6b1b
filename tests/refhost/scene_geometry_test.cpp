// Where the viewport puts the figure's parts, and the pose that keys give at
// a time. Tolerance 1e-4 world units / 1e-6 per quaternion component.
#include <cmath>
#include "refhost/scene_geometry.h"
#include "refhost_fixture.h"

namespace {

const float half = 0.70710678f;  // cos 45° = sin 45°
const double pi = 3.14159265358979323846;

void expect_point(const WorldPoint& p, double x, double y, double z)
{
    EXPECT_NEAR(p.x, x, 1e-4);
    EXPECT_NEAR(p.y, y, 1e-4);
    EXPECT_NEAR(p.z, z, 1e-4);
}

}  // namespace

TEST(SceneGeometry, AJointTurnsWhatItHoldsAboutItsCentre)
{
    SimHost host;
    SimScene& scene = host.scene();
    SimShape& shoulder = scene.add_ball_joint("Shoulder");
    shoulder.set_center(Vector3(0, 100, 0));
    SimShape& elbow = scene.add_ball_joint("Elbow", &shoulder);
    elbow.set_center(Vector3(100, 100, 0));
    SimShape& hand = scene.add_part("Hand", 0, &elbow);
    Matrix4 at(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 200, 100, 0, 1);
    hand.set_transformation(at);

    expect_point(world_anchor(elbow), 100, 100, 0);
    expect_point(world_anchor(hand), 200, 100, 0);

    // 90 degrees about z at the elbow: the hand swings up; the elbow stays.
    elbow.set_rotation(Quaternion(half, 0, 0, half));
    expect_point(world_anchor(elbow), 100, 100, 0);
    expect_point(world_anchor(hand), 100, 200, 0);

    // And 90 degrees about z at the shoulder carries both.
    shoulder.set_rotation(Quaternion(half, 0, 0, half));
    expect_point(world_anchor(elbow), 0, 200, 0);
    expect_point(world_anchor(hand), -100, 200, 0);
}

TEST(SceneGeometry, KeysGiveTheirPoseAtAndBetweenTheirTimes)
{
    SimHost host;
    SimShape& joint = host.scene().add_ball_joint("Knee");
    Quaternion q;
    EXPECT_FALSE(keyed_rotation_at(joint, 0, &q));

    joint.add_key(10, Quaternion(1, 0, 0, 0));
    joint.add_key(30, Quaternion(half, 0, 0, half));
    ASSERT_TRUE(keyed_rotation_at(joint, 0, &q));
    EXPECT_EQ(q.w, 1.0f);
    ASSERT_TRUE(keyed_rotation_at(joint, 99, &q));
    EXPECT_EQ(q.w, half);

    ASSERT_TRUE(keyed_rotation_at(joint, 20, &q));  // halfway: 45 degrees
    EXPECT_NEAR(q.w, std::cos(pi / 8), 1e-6);
    EXPECT_NEAR(q.z, std::sin(pi / 8), 1e-6);

    // The same rotation written with the opposite sign takes the short way.
    joint.set_key_rotation(1, Quaternion(-half, 0, 0, -half));
    ASSERT_TRUE(keyed_rotation_at(joint, 20, &q));
    EXPECT_NEAR(std::fabs(q.w), std::cos(pi / 8), 1e-6);
    EXPECT_NEAR(q.z / q.w, std::tan(pi / 8), 1e-6);
}
