// The call log: what the plug-in asked of the host, with its arguments, in
// order, readable in a failure message.
#include <gtest/gtest.h>
#include "simhost/simhost.h"

TEST(SimCallLog, KeepsArgumentsInOrderWithWhatTheyWereCalledOn)
{
    SimHost host;
    SimShape& elbow = host.scene().add_ball_joint("Elbow");
    HostScene* scene = host.scene().handle();
    scene->begin_line("G_Yaw", 0);  // borrowed
    const Vector3 a(1, 2, 3), b(4, 5, 6);
    scene->append_point(&a, &b, &a, &b, &a);
    const Quaternion q(0.9659258f, 0.2588190f, 0, 0);
    HostJoint* joint = elbow.new_joint_handle();
    joint->set_rotation(&q);

    ASSERT_EQ(host.calls().size(), 3u);
    const SimCall& begin = host.calls()[0];
    EXPECT_EQ(begin.operation, SimOperation::begin_line);
    EXPECT_EQ(begin.text, "G_Yaw");
    EXPECT_EQ(begin.ints, std::vector<int32_t>{0});
    EXPECT_EQ(begin.target, scene);
    EXPECT_EQ(begin.scene, &host.scene());
    EXPECT_EQ(begin.shape, nullptr);
    const SimCall& point = host.calls()[1];
    EXPECT_EQ(point.vector(1).y, 5);
    EXPECT_EQ(point.vector(4).z, 3);
    const SimCall& rotation = host.calls()[2];
    EXPECT_EQ(rotation.shape, &elbow);
    EXPECT_EQ(rotation.target, joint);
    EXPECT_EQ(rotation.quaternion().x, 0.2588190f);

    EXPECT_EQ(host.call_report(),
              "begin_line on HostScene (\"G_Yaw\", 0)\n"
              "append_point on HostScene (1, 2, 3, 4, 5, 6, 1, 2, 3, 4, 5, 6, 1, 2, 3)\n"
              "set_rotation on HostJoint of 'Elbow' (0.965925813, 0.258819014, 0, 0)\n");
    joint->Release();
}

TEST(SimCallLog, CountsWithoutKeepingWhenLoggingIsOff)
{
    SimHost host;
    std::vector<std::string> seen;
    host.set_call_observer([&seen](const SimCall& call) { seen.push_back(sim_call_text(call)); });
    host.set_call_logging(false);
    HostScene* scene = host.scene().handle();
    scene->size_unit();
    scene->size_unit();
    scene->update();
    EXPECT_TRUE(host.calls().empty());
    EXPECT_EQ(host.call_count(SimOperation::size_unit), 2);
    EXPECT_EQ(host.call_count("update"), 1);
    EXPECT_EQ(host.call_count("no_such_operation"), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"size_unit on HostScene ()", "size_unit on HostScene ()",
                                              "update on HostScene ()"}));
    host.clear_calls();
    EXPECT_EQ(host.call_count(SimOperation::size_unit), 0);
}
