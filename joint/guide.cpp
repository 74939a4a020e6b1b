// The guide figure: three coloured arms from the linked joint's centre, one
// part "#Kelvaro_Guide" with the lines "G_Yaw", "R_Pitch" and "B_Roll". The
// arms run along the positive coordinate axes of the guide part, which then
// takes the linked part's transformation.
#include "joint/joint_link.h"
#include "joint/release_guard.h"
#include "math/matrix4.h"

namespace {

const char guide_part_name[] = "#Kelvaro_Guide";

struct GuideArm {
    const char* name;
    Vector3 direction;  // along a positive coordinate axis, unit length
    Vector3 color;      // red, green, blue in 0..1
};

const GuideArm yaw_arm = {"G_Yaw", {0, 1, 0}, {0, 1, 0}};
const GuideArm pitch_arm = {"R_Pitch", {1, 0, 0}, {1, 0, 0}};
const GuideArm roll_arm = {"B_Roll", {0, 0, 1}, {0, 0, 1}};

HostLine* line_of(HostEntry* entry)
{
    return entry != nullptr ? entry->line_handle() : nullptr;
}

// A control point whose position and four handles are one point, so the line
// between two of them is straight.
void append_corner_point(HostScene* scene, const Vector3& point)
{
    scene->append_point(&point, &point, &point, &point, &point);
}

// The arm's line begun in the guide part; its entry.
HostEntry* begin_arm(HostScene* scene, const GuideArm& arm)
{
    HostEntry* entry = scene->begin_line(arm.name, 0);
    joint_link.guide_build.line_open = true;
    return entry;
}

// The arm as the line that begin_arm has just begun: the centre, the arm's
// end, its colour; then the line is ended.
void draw_arm(HostScene* scene, const GuideArm& arm, const Vector3& centre, float length, HostLine* line)
{
    const Vector3 end(static_cast<float>(centre.x + static_cast<double>(arm.direction.x) * length),
                      static_cast<float>(centre.y + static_cast<double>(arm.direction.y) * length),
                      static_cast<float>(centre.z + static_cast<double>(arm.direction.z) * length));
    append_corner_point(scene, centre);
    append_corner_point(scene, end);
    if (line != nullptr)
        line->set_color(&arm.color);
    scene->end_line();
    joint_link.guide_build.line_open = false;
}

// Ends what a host exception left begun of an earlier building, the line
// before its part. Each is forgotten only once its end has returned, so an end
// that fails is made again next time.
void end_interrupted_build()
{
    GuideBuild& build = joint_link.guide_build;
    if (build.line_open) {
        build.scene->end_line();
        build.line_open = false;
    }
    if (build.part_open) {
        build.scene->end_part();
        build.part_open = false;
    }
}

}  // namespace

void remove_guide()
{
    // A part is removed only once its building has ended. The guide part is
    // borrowed, and gone once removed: the link forgets it then, and not
    // before. A removal that raised removed nothing (the host's rule), so the
    // guide stays held and the next close, relink or unlink removes it.
    end_interrupted_build();
    if (joint_link.guide == nullptr)
        return;
    joint_link.guide->remove();
    joint_link.guide = nullptr;
}

void build_guide()
{
    HostScene* scene = joint_link.scene;
    if (scene == nullptr || joint_link.shape == nullptr || joint_link.part == nullptr ||
        joint_link.joint == nullptr)
        return;

    const float length = static_cast<float>(static_cast<double>(scene->size_unit()) * 100.0);
    Matrix4 transformation;
    joint_link.part->get_transformation(&transformation);
    remove_guide();

    Vector3 centre;
    joint_link.joint->center(&centre);

    // The anchor, the entries and the guide part are borrowed from the host.
    if (HostShape* anchor = joint_link.shape->placement_anchor())
        scene->set_placement(anchor->placement_value(0));

    HostEntry* part_entry = scene->begin_part(guide_part_name);
    joint_link.guide_build = GuideBuild{scene, true, false};
    joint_link.guide = part_entry != nullptr ? part_entry->part_handle() : nullptr;
    if (joint_link.guide != nullptr)
        joint_link.guide->set_part_option(0);

    {
        // The line handles carry references. Made in this order, released in
        // the reverse, before the part ends: B_Roll's, R_Pitch's, G_Yaw's, also
        // when a host exception passes.
        ReleaseGuard<HostLine> yaw_line(line_of(begin_arm(scene, yaw_arm)));
        draw_arm(scene, yaw_arm, centre, length, yaw_line.get());

        ReleaseGuard<HostLine> pitch_line(line_of(begin_arm(scene, pitch_arm)));
        draw_arm(scene, pitch_arm, centre, length, pitch_line.get());

        ReleaseGuard<HostLine> roll_line(line_of(begin_arm(scene, roll_arm)));
        draw_arm(scene, roll_arm, centre, length, roll_line.get());
    }

    scene->end_part();
    joint_link.guide_build.part_open = false;
    if (joint_link.guide != nullptr)
        joint_link.guide->set_transformation(&transformation);
    scene->update();
}
