// The six limits stored with the linked shape: defaults, the round trip in
// Pitch, Yaw, Roll order, bad records taken as read, a record cut short, a
// host that gives no stream to write to, a host exception while saving, and
// the two relink paths of which only one saves first. (A host exception while
// the limits are read is a failed relink: the relink tests have it.)
#include <cmath>
#include <cstring>
#include <limits>
#include "joint/release_guard.h"
#include "joint_fixture.h"
#include "panel/resource.h"
#include "simhost/host_catch.h"

namespace {

const float nan_value = std::numeric_limits<float>::quiet_NaN();
const float infinity = std::numeric_limits<float>::infinity();

std::vector<float> channel_limits()
{
    return {joint_link.pitch.minimum, joint_link.pitch.maximum, joint_link.yaw.minimum,
            joint_link.yaw.maximum,   joint_link.roll.minimum,  joint_link.roll.maximum};
}

void set_channel_limits(const std::vector<float>& limits)
{
    joint_link.pitch.minimum = limits[0];
    joint_link.pitch.maximum = limits[1];
    joint_link.yaw.minimum = limits[2];
    joint_link.yaw.maximum = limits[3];
    joint_link.roll.minimum = limits[4];
    joint_link.roll.maximum = limits[5];
}

// Bitwise equality, so NaNs compare too.
bool same_floats(const std::vector<float>& a, const std::vector<float>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::memcmp(&a[i], &b[i], sizeof(float)) != 0)
            return false;
    }
    return true;
}

const std::vector<float> defaults{-180, 180, -180, 180, -180, 180};

// A shape whose host answers none when asked for a stream to write to; the
// rest goes to the simulated shape.
class ShapeWithoutWriteStream final : public HostShape {
public:
    explicit ShapeWithoutWriteStream(HostShape* inner) : inner_(inner) {}
    long references = 1;
    int write_requests = 0;

    long __stdcall QueryInterface(const GUID*, void**) override { return E_NOINTERFACE; }
    unsigned long __stdcall AddRef() override { return ++references; }
    unsigned long __stdcall Release() override { return --references; }
    int32_t __stdcall kind() override { return inner_->kind(); }
    HostPart* __stdcall as_part() override { return inner_->as_part(); }
    HostJoint* __stdcall joint_handle() override { return inner_->joint_handle(); }
    HostShape* __stdcall placement_anchor() override { return inner_->placement_anchor(); }
    int32_t __stdcall placement_value(int32_t which) override { return inner_->placement_value(which); }
    HostStream* __stdcall open_stream_for_read(int32_t key) override { return inner_->open_stream_for_read(key); }
    HostStream* __stdcall open_stream_for_write(int32_t, int32_t, int32_t) override
    {
        ++write_requests;
        return nullptr;
    }
    HostStream* __stdcall find_attribute_stream(int32_t key, int32_t x) override
    {
        return inner_->find_attribute_stream(key, x);
    }
    void __stdcall delete_attribute_stream(int32_t key, int32_t x) override { inner_->delete_attribute_stream(key, x); }

private:
    HostShape* inner_;
};

}  // namespace

using StoredLimitsTest = JointTest;

TEST_F(StoredLimitsTest, AJointWithoutARecordLinksWithTheFullRangeOnEveryAxis)
{
    set_channel_limits({1, 2, 3, 4, 5, 6});
    link_new_joint();
    EXPECT_EQ(channel_limits(), defaults);
    for (int id : {IDC_PITCH_SLIDER, IDC_YAW_SLIDER, IDC_ROLL_SLIDER}) {
        EXPECT_EQ(panel.selection_start(id), -180);
        EXPECT_EQ(panel.selection_end(id), 180);
    }
    expect_only_kept_references();
}

TEST_F(StoredLimitsTest, SavedLimitsComeBackInTheSameChannelsPitchFirst)
{
    SimShape& joint = link_new_joint();
    const std::vector<float> limits{-10.5f, 20.25f, -30, 40, -50.125f, 60};
    set_channel_limits(limits);
    save_limits();
    EXPECT_EQ(joint.stream_floats(panel_component_id), limits);
    EXPECT_EQ(joint.stream_bytes(panel_component_id).size(), 24u);  // six floats, nothing else
    expect_only_kept_references();

    set_channel_limits(defaults);
    relink();
    EXPECT_EQ(channel_limits(), limits);
    expect_only_kept_references();

    // Each save replaces the whole record.
    set_channel_limits({-1, 1, -2, 2, -3, 3});
    save_limits();
    EXPECT_EQ(joint.stream_floats(panel_component_id), (std::vector<float>{-1, 1, -2, 2, -3, 3}));
}

TEST_F(StoredLimitsTest, BadStoredValuesAreLoadedAsReadAndShownWithoutOverflow)
{
    SimShape& joint = add_selected_joint();
    const std::vector<float> stored{nan_value, 3.4e38f, -3.4e38f, 3.4e38f, 50, -50};
    joint.set_stream_floats(panel_component_id, stored);
    joint.set_rotation(Quaternion(1, 0, 0, 0));
    relink();

    EXPECT_TRUE(same_floats(channel_limits(), stored));  // minimum above maximum kept too
    // The selection ends saturate at the trackbar's range; NaN becomes 0.
    EXPECT_EQ(panel.selection_start(IDC_PITCH_SLIDER), 0);
    EXPECT_EQ(panel.selection_end(IDC_PITCH_SLIDER), 180);
    EXPECT_EQ(panel.selection_start(IDC_YAW_SLIDER), -180);
    EXPECT_EQ(panel.selection_end(IDC_YAW_SLIDER), 180);
    EXPECT_EQ(panel.text(IDC_PITCH_EDIT), "0.000000");
    EXPECT_TRUE(panel.enabled(IDC_PITCH_SLIDER));

    save_limits();  // and written back bit for bit
    EXPECT_TRUE(same_floats(joint.stream_floats(panel_component_id), stored));
    expect_only_kept_references();
}

TEST_F(StoredLimitsTest, ARecordCutShortOrHoldingAnInfinityCountsAsNoRecord)
{
    SimShape& joint = add_selected_joint();
    joint.set_stream_floats(panel_component_id, {-10, 10, -20});
    set_channel_limits({1, 2, 3, 4, 5, 6});
    relink();
    EXPECT_EQ(channel_limits(), defaults);  // never a half-read set
    expect_only_kept_references();

    joint.set_stream_bytes(panel_component_id, SimStreamBytes(23, 0));  // a byte short of six floats
    set_channel_limits({1, 2, 3, 4, 5, 6});
    relink();
    EXPECT_EQ(channel_limits(), defaults);
    expect_only_kept_references();

    // An infinite limit would be the angle a step is clamped to, and a NaN
    // pose: such a record (a damaged or foreign scene) is none either, and the
    // next save writes a whole one.
    for (const std::vector<float>& record : {std::vector<float>{infinity, infinity, -180, 180, -180, 180},
                                             {-180, 180, -180, -infinity, -180, 180},
                                             {-infinity, infinity, -infinity, infinity, -infinity, infinity}}) {
        joint.set_stream_floats(panel_component_id, record);
        relink();
        save_limits();
        EXPECT_EQ(joint.stream_floats(panel_component_id), defaults);
    }
}

TEST_F(StoredLimitsTest, AHostGivingNoStreamToWriteToLeavesTheRecordAlone)
{
    SimShape& joint = link_new_joint();
    joint.set_stream_floats(panel_component_id, {-1, 1, -2, 2, -3, 3});
    ShapeWithoutWriteStream refusing(joint_link.shape);
    HostShape* linked = joint_link.shape;
    joint_link.shape = &refusing;
    set_channel_limits({-9, 9, -9, 9, -9, 9});
    save_limits();
    joint_link.shape = linked;

    EXPECT_EQ(refusing.write_requests, 1);
    EXPECT_EQ(refusing.references, 1);
    EXPECT_EQ(joint.stream_floats(panel_component_id), (std::vector<float>{-1, 1, -2, 2, -3, 3}));
    expect_only_kept_references();
}

TEST_F(StoredLimitsTest, WithNoShapeLinkedNothingIsWritten)
{
    ASSERT_EQ(joint_link.shape, nullptr);
    save_limits();
    EXPECT_TRUE(host.calls().empty());
}

TEST_F(StoredLimitsTest, AHostExceptionWhileSavingReleasesTheStream)
{
    SimShape& joint = link_new_joint();
    set_channel_limits({-1, 1, -2, 2, -3, 3});
    host.fail_call(SimOperation::write_float, 3);
    HostCatch caught;
    EXPECT_FALSE(host_try([] { save_limits(); }, &caught));
    EXPECT_TRUE(caught.caught);
    expect_only_kept_references();

    save_limits();
    EXPECT_EQ(joint.stream_floats(panel_component_id), (std::vector<float>{-1, 1, -2, 2, -3, 3}));
    expect_only_kept_references();
}

TEST_F(StoredLimitsTest, LimitsSurviveARelinkThatSavesFirstAndAreLostOnOneThatDoesNot)
{
    SimShape& joint = link_new_joint();
    joint.set_stream_floats(panel_component_id, {-90, 90, -90, 90, -90, 90});

    // A refresh relinks without saving: the stored values come back.
    joint_link.pitch.minimum = -30;
    relink();
    EXPECT_EQ(joint_link.pitch.minimum, -90);

    // The relink notification saves the linked shape's limits first.
    joint_link.pitch.minimum = -30;
    if (joint_link.shape != nullptr)
        save_limits();
    relink();
    EXPECT_EQ(joint_link.pitch.minimum, -30);
    EXPECT_EQ(joint.stream_floats(panel_component_id), (std::vector<float>{-30, 90, -90, 90, -90, 90}));
    EXPECT_EQ(panel.selection_start(IDC_PITCH_SLIDER), -30);
    expect_only_kept_references();
}

TEST_F(StoredLimitsTest, WithoutARecordARefreshBringsBackTheDefaults)
{
    link_new_joint();
    joint_link.yaw.maximum = 45;
    relink();
    EXPECT_EQ(channel_limits(), defaults);
}
