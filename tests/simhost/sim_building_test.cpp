// Building a part of lines through the simulated scene: the parts and lines
// that exist afterwards, with their names, control points, colours,
// transformation and option, where they were placed, and their removal.
#include <gtest/gtest.h>
#include "joint/release_guard.h"
#include "simhost/simhost.h"

namespace {

void append_straight_point(HostScene* scene, const Vector3& p)
{
    scene->append_point(&p, &p, &p, &p, &p);
}

// Builds a part with one two-point line the way the plug-in's guide does,
// placed next to the anchor of the given shape. The anchor, the entries and
// the part are borrowed; the line handle carries a reference.
HostPart* build_marker(HostScene* scene, HostShape* next_to, const Vector3& from, const Vector3& to)
{
    scene->set_placement(next_to->placement_anchor()->placement_value(0));
    HostPart* part = scene->begin_part("#Marker")->part_handle();
    part->set_part_option(0);
    ReleaseGuard<HostLine> line(scene->begin_line("Arm", 0)->line_handle());
    append_straight_point(scene, from);
    append_straight_point(scene, to);
    const Vector3 red(1, 0, 0);
    line->set_color(&red);
    scene->end_line();
    scene->end_part();
    const Matrix4 moved(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1);
    part->set_transformation(&moved);
    scene->update();
    return part;
}

}  // namespace

TEST(SimBuilding, APartOfLinesReadsBackAsBuilt)
{
    SimHost host;
    SimScene& scene = host.scene();
    SimShape& arm = scene.add_part("Arm part");
    SimShape& elbow = scene.add_ball_joint("Elbow", &arm);
    HostPart* marker = build_marker(scene.handle(), elbow.shape_handle(), Vector3(10, 20, 30), Vector3(10, 120, 30));

    std::vector<SimShape*> found = scene.find_all("#Marker");
    ASSERT_EQ(found.size(), 1u);
    SimShape& part = *found[0];
    EXPECT_EQ(part.parent(), &arm);  // placed where the joint's anchor said
    EXPECT_EQ(marker, part.part_handle());
    EXPECT_TRUE(part.has_part_option());
    EXPECT_EQ(part.part_option(), 0);
    EXPECT_EQ(part.transformation()[12], 5);
    EXPECT_EQ(part.transformation()[14], 7);

    ASSERT_EQ(part.children().size(), 1u);
    SimShape& line = *part.children()[0];
    EXPECT_EQ(line.name(), "Arm");
    EXPECT_TRUE(line.is_line());
    EXPECT_EQ(line.kind(), sim_shape_kind_line);
    ASSERT_EQ(line.points().size(), 2u);
    EXPECT_EQ(line.points()[0].position.z, 30);
    EXPECT_EQ(line.points()[1].position.y, 120);
    EXPECT_EQ(line.points()[1].side_out_handle.y, 120);
    ASSERT_TRUE(line.has_color());
    EXPECT_EQ(line.color().x, 1);
    EXPECT_EQ(line.color().y, 0);
    EXPECT_EQ(scene.update_count(), 1);

    // The part handle is borrowed, as the plug-in's guide is.
    EXPECT_EQ(host.outstanding_references(), 0) << host.outstanding_report();
    marker->remove();
    EXPECT_EQ(scene.find("#Marker"), nullptr);
    EXPECT_EQ(scene.find("Arm"), nullptr);  // its lines went with it
    EXPECT_TRUE(line.removed());
    EXPECT_EQ(scene.shapes().size(), 2u);
    EXPECT_EQ(host.outstanding_references(), 0);
    EXPECT_TRUE(host.errors().empty()) << host.errors()[0];
}

TEST(SimBuilding, EntriesHandOutOnlyWhatTheyAre)
{
    SimHost host;
    HostScene* scene = host.scene().handle();
    HostEntry* part_entry = scene->begin_part("P");
    HostEntry* line_entry = scene->begin_line("L", 3);
    EXPECT_EQ(part_entry->line_handle(), nullptr);
    EXPECT_EQ(line_entry->part_handle(), nullptr);
    scene->end_line();
    scene->end_part();
    EXPECT_EQ(host.scene().find("L")->line_option(), 3);
    EXPECT_EQ(host.outstanding_references(), 0);
    EXPECT_TRUE(host.errors().empty());
}

TEST(SimBuilding, BuildingOutOfOrderIsRecorded)
{
    SimHost host;
    HostScene* scene = host.scene().handle();
    const Vector3 p(1, 2, 3);
    scene->append_point(&p, &p, &p, &p, &p);  // no line
    scene->end_line();                        // no line
    scene->end_part();                        // no part
    scene->begin_line("Loose", 0);            // no part
    scene->end_line();
    scene->begin_part("Unfinished")->part_handle()->remove();  // removed while being built
    EXPECT_EQ(host.errors().size(), 5u);
    EXPECT_NE(host.scene().find("Loose"), nullptr);
}

TEST(SimBuilding, WithoutAKnownPlacementANewPartGoesToTheRoot)
{
    SimHost host;
    SimScene& scene = host.scene();
    scene.add_ball_joint("Elbow");
    scene.handle()->set_placement(9999);
    scene.handle()->begin_part("Loose part");
    scene.handle()->end_part();
    EXPECT_EQ(scene.find("Loose part")->parent(), &scene.root());
    EXPECT_EQ(scene.placement(), 9999);
}
