#include "simhost/sim_stream_record.h"
#include <cstring>

void sim_encode_float(float value, uint8_t bytes[4])
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
}

float sim_decode_float(const uint8_t bytes[4])
{
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

SimStreamBytes sim_stream_bytes_of(const std::vector<float>& values)
{
    SimStreamBytes bytes(values.size() * 4);
    for (size_t i = 0; i < values.size(); ++i)
        sim_encode_float(values[i], &bytes[i * 4]);
    return bytes;
}

std::vector<float> sim_stream_floats_of(const SimStreamBytes& bytes)
{
    std::vector<float> values;
    for (size_t at = 0; at + 4 <= bytes.size(); at += 4)
        values.push_back(sim_decode_float(&bytes[at]));
    return values;
}
