// Attribute streams of the simulated host: floats are stored as real bytes
// (little-endian IEEE single precision), reading stops at the record's end,
// and writing replaces what was stored under the key.
#include <gtest/gtest.h>
#include <cstring>
#include <limits>
#include "simhost/simhost.h"

namespace {

constexpr int32_t limits_key = 0x40a00030;

struct StreamScene {
    SimHost host;
    SimShape& joint = host.scene().add_ball_joint("Elbow");
    HostShape* shape = joint.shape_handle();  // borrowed, as the host hands it in
};

}  // namespace

TEST(SimStream, FloatsAreLittleEndianSinglePrecisionBytes)
{
    uint8_t bytes[4];
    sim_encode_float(1.5f, bytes);  // 0x3fc00000
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1], 0x00);
    EXPECT_EQ(bytes[2], 0xc0);
    EXPECT_EQ(bytes[3], 0x3f);
    sim_encode_float(-180.0f, bytes);  // 0xc3340000
    EXPECT_EQ(bytes[2], 0x34);
    EXPECT_EQ(bytes[3], 0xc3);

    const uint8_t minus_45_7[4] = {0xcd, 0xcc, 0x36, 0xc2};  // -45.7f = 0xc236cccd
    EXPECT_EQ(sim_decode_float(minus_45_7), -45.7f);
}

TEST(SimStream, WrittenFloatsReadBackBitForBit)
{
    StreamScene s;
    const float values[] = {-45.7f, 180.0f, -0.0f, 1e-40f /* subnormal */,
                            std::numeric_limits<float>::infinity(), 3.4028235e38f};
    HostStream* out = s.shape->open_stream_for_write(limits_key, 0, 0);
    for (float v : values)
        out->write_float(v);
    out->Release();
    EXPECT_EQ(s.joint.stream_bytes(limits_key).size(), 24u);

    HostStream* in = s.shape->open_stream_for_read(limits_key);
    ASSERT_NE(in, nullptr);
    in->seek(0);
    for (float v : values) {
        float read = 0;
        ASSERT_TRUE(in->read_float(&read));
        EXPECT_EQ(std::memcmp(&read, &v, 4), 0) << v;
    }
    float untouched = 7;
    EXPECT_FALSE(in->read_float(&untouched));
    EXPECT_EQ(untouched, 7);
    in->Release();
    EXPECT_EQ(s.host.outstanding_references(), 0);
}

TEST(SimStream, AShortRecordEndsBeforeAPartialFloat)
{
    StreamScene s;
    s.joint.set_stream_bytes(limits_key, {0x00, 0x00, 0xc0, 0x3f, 0x01, 0x02, 0x03});
    HostStream* in = s.shape->open_stream_for_read(limits_key);
    float value = 9;
    EXPECT_FALSE(in->read_float(&value)) << "a stream opened for reading starts at the record's end";
    EXPECT_EQ(value, 9);
    in->seek(0);
    EXPECT_TRUE(in->read_float(&value));
    EXPECT_EQ(value, 1.5f);
    value = 9;
    EXPECT_FALSE(in->read_float(&value));  // three bytes left
    EXPECT_EQ(value, 9);
    in->seek(0);  // from the start again
    EXPECT_TRUE(in->read_float(&value));
    EXPECT_EQ(value, 1.5f);
    in->Release();

    s.joint.set_stream_bytes(limits_key, {});
    in = s.shape->open_stream_for_read(limits_key);
    ASSERT_NE(in, nullptr);  // stored, but empty
    EXPECT_FALSE(in->read_float(&value));
    in->Release();
}

TEST(SimStream, OpeningForWriteReplacesTheWholeRecord)
{
    StreamScene s;
    s.joint.set_stream_floats(limits_key, {1, 2, 3, 4, 5, 6});
    s.joint.set_stream_floats(7, {99});
    HostStream* out = s.shape->open_stream_for_write(limits_key, 0, 0);
    EXPECT_TRUE(s.joint.stream_bytes(limits_key).empty());  // replaced at once
    out->write_float(-30);
    out->write_float(40);
    out->Release();
    EXPECT_EQ(s.joint.stream_floats(limits_key), (std::vector<float>{-30, 40}));
    EXPECT_EQ(s.joint.stream_floats(7), (std::vector<float>{99}));  // other keys stay
}

TEST(SimStream, AReaderKeepsTheRecordItOpened)
{
    StreamScene s;
    s.joint.set_stream_floats(limits_key, {1, 2});
    HostStream* in = s.shape->open_stream_for_read(limits_key);
    HostStream* out = s.shape->open_stream_for_write(limits_key, 0, 0);
    out->write_float(8);
    float value = 0;
    in->seek(0);
    ASSERT_TRUE(in->read_float(&value));
    EXPECT_EQ(value, 1);  // the old record, not the one being written
    in->Release();
    out->Release();
    EXPECT_EQ(s.joint.stream_floats(limits_key), (std::vector<float>{8}));
}

TEST(SimStream, FindAndDeleteTheAttributeStream)
{
    StreamScene s;
    EXPECT_EQ(s.shape->find_attribute_stream(limits_key, 0), nullptr);
    s.joint.set_stream_floats(limits_key, {-10, 10, -20, 20, -30, 30});
    HostStream* found = s.shape->find_attribute_stream(limits_key, 0);
    ASSERT_NE(found, nullptr);
    s.shape->delete_attribute_stream(limits_key, 0);
    EXPECT_FALSE(s.joint.has_stream(limits_key));
    EXPECT_EQ(s.shape->open_stream_for_read(limits_key), nullptr);
    s.shape->delete_attribute_stream(limits_key, 0);  // nothing left: no effect
    EXPECT_EQ(s.joint.references(), 1);               // the found stream
    found->Release();
    EXPECT_EQ(s.host.outstanding_references(), 0);
    EXPECT_TRUE(s.host.errors().empty());
}
