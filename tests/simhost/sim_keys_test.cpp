// Motion keys of a simulated ball joint: insert_key records the joint's
// present rotation and keeps the keys ascending in time.
#include <gtest/gtest.h>
#include "simhost/simhost.h"

namespace {

void expect_quaternion(const Quaternion& q, float w, float x, float y, float z)
{
    EXPECT_EQ(q.w, w);
    EXPECT_EQ(q.x, x);
    EXPECT_EQ(q.y, y);
    EXPECT_EQ(q.z, z);
}

}  // namespace

TEST(SimKeys, InsertKeyHoldsThePresentRotationInTimeOrder)
{
    SimHost host;
    SimShape& elbow = host.scene().add_ball_joint("Elbow");
    HostJoint* joint = elbow.new_joint_handle();
    const Quaternion a(0.5f, 0.5f, 0.5f, 0.5f), b(0, 1, 0, 0), c(0, 0, 0, 1);

    joint->set_rotation(&a);
    joint->insert_key(30);
    joint->set_rotation(&b);
    joint->insert_key(0);
    joint->set_rotation(&c);
    joint->insert_key(15);

    ASSERT_EQ(joint->key_count(), 3);
    EXPECT_EQ(joint->key_time(0), 0);
    EXPECT_EQ(joint->key_time(1), 15);
    EXPECT_EQ(joint->key_time(2), 30);
    expect_quaternion(elbow.keys()[0].rotation, 0, 1, 0, 0);
    expect_quaternion(elbow.keys()[1].rotation, 0, 0, 0, 1);
    expect_quaternion(elbow.keys()[2].rotation, 0.5f, 0.5f, 0.5f, 0.5f);
}

TEST(SimKeys, AKeyAtAnExistingTimeTakesTheRotationInsteadOfDoubling)
{
    SimHost host;
    SimShape& elbow = host.scene().add_ball_joint("Elbow");
    elbow.add_key(0, Quaternion(1, 0, 0, 0));
    elbow.add_key(30, Quaternion(1, 0, 0, 0));
    elbow.set_rotation(Quaternion(0, 0, 1, 0));
    elbow.new_joint_handle()->insert_key(30);
    ASSERT_EQ(elbow.keys().size(), 2u);
    expect_quaternion(elbow.keys()[1].rotation, 0, 0, 1, 0);
}

TEST(SimKeys, SetKeyRotationChangesOneKeyAndReportsABadIndex)
{
    SimHost host;
    SimShape& elbow = host.scene().add_ball_joint("Elbow");
    elbow.add_key(0, Quaternion(1, 0, 0, 0));
    elbow.add_key(30, Quaternion(1, 0, 0, 0));
    const Quaternion q(0, 0, 0, 1);
    HostJoint* joint = elbow.new_joint_handle();
    joint->set_key_rotation(1, &q);
    expect_quaternion(elbow.keys()[0].rotation, 1, 0, 0, 0);
    expect_quaternion(elbow.keys()[1].rotation, 0, 0, 0, 1);
    EXPECT_TRUE(host.errors().empty());

    joint->set_key_rotation(2, &q);
    EXPECT_EQ(joint->key_time(-1), 0);
    EXPECT_EQ(host.errors().size(), 2u);
}

TEST(SimKeys, TheJointAnswersTheScenesTimeAndItsMotionSwitch)
{
    SimHost host;
    SimShape& elbow = host.scene().add_ball_joint("Elbow");
    host.scene().set_current_time(45.5f);
    elbow.set_motion_enabled(false);
    EXPECT_EQ(elbow.new_joint_handle()->current_time(), 45.5f);
    EXPECT_FALSE(elbow.new_joint_handle()->motion_enabled());
}
