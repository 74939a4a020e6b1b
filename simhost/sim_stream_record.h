#pragma once
// The bytes of an attribute stream stored with a shape. A float is four bytes,
// IEEE 754 single precision, least significant byte first, one after the
// other with nothing in between: six floats are 24 bytes.
#include <cstdint>
#include <memory>
#include <vector>

using SimStreamBytes = std::vector<uint8_t>;

// One record, shared between the shape that stores it and the stream handles
// opened on it; replacing or deleting the shape's record leaves handles that
// are still open working on the old one.
using SimStreamRecord = std::shared_ptr<SimStreamBytes>;

void sim_encode_float(float value, uint8_t bytes[4]);
float sim_decode_float(const uint8_t bytes[4]);

SimStreamBytes sim_stream_bytes_of(const std::vector<float>& values);
// The whole floats in the bytes; trailing bytes short of a float are left out.
std::vector<float> sim_stream_floats_of(const SimStreamBytes& bytes);
