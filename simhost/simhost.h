#pragma once
// The simulated host: an in-memory application and scene that answer every
// host operation of joint/host.h, so the plug-in's code can run and be
// inspected without the real application.
//
// A test builds a scene, selects in it, hands the application and the scene
// to the plug-in as the host would (borrowed: no reference is added), and then
// looks at what happened:
//
//     SimHost host;
//     SimScene& scene = host.scene();
//     SimShape& joint = scene.add_ball_joint("Elbow");
//     joint.set_rotation(Quaternion(0.9659258f, 0.2588190f, 0, 0));
//     joint.set_center(Vector3(10, 20, 30));
//     scene.select(joint);
//     open_panel(host.application(), scene.handle());   // the plug-in's side
//
//     EXPECT_EQ(host.call_count(SimOperation::set_rotation), 1);
//     EXPECT_EQ(host.calls(SimOperation::set_rotation)[0].quaternion().w, ...);
//     SimShape* guide = scene.find("#Kelvaro_Guide");     // parts and lines as built
//     EXPECT_EQ(guide->find_child("G_Yaw")->points().size(), 2u);
//     EXPECT_EQ(host.outstanding_references(), 0) << host.outstanding_report();
//     EXPECT_TRUE(host.errors().empty());                 // no over-release, no misuse
//
// The host's rule for references is kept exactly (see simhost/sim_handle.h):
// current_scene, active_shape, joint_handle, line_handle and the stream
// operations answer a handle made for the caller, carrying one reference and
// dead once released to zero; everything else is the host's own and borrowed.
// Handles the plug-in keeps (the linked shape and joint) show up as
// outstanding until it lets them go. No handle is ever freed while the host
// lives: a Release it gave no reference for, or a call or Release on a dead
// handle or a removed part, is listed in errors().
//
// To see how the plug-in copes with a failing host, make an operation fail:
// host.fail_call(SimOperation::set_rotation, 1, 42) makes the next
// set_rotation raise the int 42 the way the host's compiler throws it, before
// it has any effect. Catch it with host_try (simhost/host_catch.h) around the
// plug-in's step; the ReleaseGuards inside release on the way out.
#include "joint/host_exception.h"
#include "simhost/host_catch.h"
#include "simhost/sim_host.h"
#include "simhost/sim_operation.h"
#include "simhost/sim_scene.h"
#include "simhost/sim_shape.h"
#include "simhost/sim_stream_record.h"
