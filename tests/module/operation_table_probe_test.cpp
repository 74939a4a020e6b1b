// Every position of both components' tables, called by index through the raw
// table pointer the way the host calls it: the stack pointer must end where it
// started (the callee removes exactly its argument words), the result must be
// the one the host expects, and nothing but the documented byte may change in
// the memory the arguments point at. Reserved positions must throw the host's
// int 0. The positions that work on the panel or the scene have tests of
// their own.
#include <gtest/gtest.h>
#include <cstring>
#include <map>
#include <vector>
#include "abi_probe.h"
#include "joint/release_guard.h"
#include "kelvaro_module.h"
#include "simhost/host_catch.h"

namespace {

enum class Expect {
    returns_word,    // EAX == value
    returns_byte,    // AL == value
    nothing,         // no result; no memory written
    flag_set,        // byte 0 at the first argument == value; EAX == first argument
    record_marked,   // byte 24 at the first argument == 1; EAX == first argument
    reserved,        // the host's int 0
};

struct Expectation {
    Expect what;
    int words;
    uint32_t value;
};

struct Group {
    Expectation expectation;
    std::vector<std::pair<int, int>> ranges;
};

// The host's interfaces, grouped by behaviour as the host documents them.
const std::vector<Group> plugin_interface_groups = {
    {{Expect::returns_byte, 0, 1}, {{4, 4}}},
    {{Expect::returns_word, 0, 0}, {{87, 87}}},
    {{Expect::returns_word, 2, 0}, {{6, 7}, {23, 23}, {44, 51}, {82, 82}}},
    {{Expect::returns_word, 3, 0}, {{8, 8}, {26, 26}}},
    {{Expect::returns_word, 1, 1}, {{68, 68}}},
    {{Expect::returns_byte, 0, 0}, {{42, 43}}},
    {{Expect::returns_byte, 1, 0}, {{53, 56}, {67, 67}, {70, 70}, {74, 74}}},
    {{Expect::returns_byte, 2, 0}, {{61, 61}}},
    {{Expect::returns_byte, 1, 1}, {{41, 41}}},
    {{Expect::returns_byte, 2, 1}, {{62, 62}}},
    {{Expect::returns_byte, 3, 1}, {{57, 57}, {60, 60}}},
    {{Expect::returns_byte, 4, 1}, {{58, 59}}},
    {{Expect::nothing, 1, 0}, {{52, 52}, {83, 83}}},
    {{Expect::nothing, 2, 0}, {{71, 73}, {88, 88}}},
    {{Expect::nothing, 3, 0}, {{9, 22}, {24, 24}, {32, 32}, {75, 75}}},
    {{Expect::nothing, 4, 0}, {{25, 25}, {69, 69}}},
    {{Expect::nothing, 5, 0}, {{78, 78}}},
    {{Expect::flag_set, 3, 0},
     {{30, 31}, {33, 33}, {40, 40}, {66, 66}, {76, 77}, {79, 81}, {86, 86}, {89, 90}, {92, 93}}},
    {{Expect::flag_set, 4, 0}, {{37, 37}, {84, 85}, {91, 91}}},
    {{Expect::flag_set, 5, 0}, {{29, 29}, {38, 39}, {63, 65}}},
    {{Expect::flag_set, 6, 0}, {{27, 27}, {34, 35}}},
    {{Expect::flag_set, 7, 0}, {{28, 28}}},
    {{Expect::returns_word, 0, 36088}, {{36, 36}}},
    {{Expect::reserved, 0, 0}, {{94, 204}}},
};

const std::vector<Group> attribute_interface_groups = {
    {{Expect::returns_byte, 3, 0}, {{206, 207}}},
    {{Expect::flag_set, 2, 1}, {{208, 208}}},
    {{Expect::flag_set, 2, 0}, {{209, 210}, {220, 220}, {222, 222}}},
    {{Expect::flag_set, 3, 1}, {{211, 211}}},
    {{Expect::nothing, 3, 0}, {{212, 212}}},
    {{Expect::returns_word, 2, 1}, {{213, 213}}},
    {{Expect::returns_word, 4, 0}, {{214, 214}}},
    {{Expect::record_marked, 7, 0}, {{215, 215}}},
    {{Expect::returns_word, 3, 1}, {{216, 216}}},
    {{Expect::returns_word, 10, 0}, {{217, 217}}},
    {{Expect::returns_word, 3, 0}, {{218, 219}}},
    {{Expect::returns_byte, 2, 0}, {{221, 221}, {223, 223}}},
    {{Expect::reserved, 0, 0}, {{224, 404}}},
};

std::map<int, Expectation> expectations(std::initializer_list<const std::vector<Group>*> interfaces)
{
    std::map<int, Expectation> result;
    for (const std::vector<Group>* groups : interfaces)
        for (const Group& group : *groups)
            for (auto [first, last] : group.ranges)
                for (int p = first; p <= last; ++p) {
                    EXPECT_EQ(result.count(p), 0u) << "position " << p << " listed twice";
                    result[p] = group.expectation;
                }
    return result;
}

constexpr uint8_t canary = 0xAA;
constexpr int max_words = 10;
constexpr size_t canary_size = 32;

// Argument words that point at canary buffers, one each.
struct Arguments {
    uint8_t buffers[max_words][canary_size];
    uint32_t words[max_words];

    Arguments()
    {
        std::memset(buffers, canary, sizeof buffers);
        for (int i = 0; i < max_words; ++i)
            words[i] = reinterpret_cast<uint32_t>(buffers[i]);
    }

    // Which bytes differ from the canary, as "word:offset" text.
    std::string written() const
    {
        std::string text;
        for (int i = 0; i < max_words; ++i)
            for (size_t b = 0; b < canary_size; ++b)
                if (buffers[i][b] != canary)
                    text += std::to_string(i) + ":" + std::to_string(b) + " ";
        return text;
    }
};

void probe_position(ComponentObject* object, int position, const Expectation& e)
{
    SCOPED_TRACE("position " + std::to_string(position));
    const void* function = object->table[position];
    Arguments arguments;

    if (e.what == Expect::reserved) {
        ExceptionChainRecord* chain_before = exception_chain_head();
        HostCatch caught;
        const bool returned = host_try([&] { probe_call(function, object, arguments.words, 0); }, &caught);
        EXPECT_FALSE(returned);
        EXPECT_TRUE(caught.is_int);
        EXPECT_EQ(caught.int_value, 0);
        EXPECT_EQ(exception_chain_head(), chain_before);
        return;
    }

    const ProbeResult result = probe_call(function, object, arguments.words, e.words);
    EXPECT_EQ(result.esp_moved, 0) << "argument words removed: " << -result.esp_moved / 4 + e.words;
    std::string expected_writes;
    switch (e.what) {
    case Expect::returns_word:
        EXPECT_EQ(result.eax, e.value);
        break;
    case Expect::returns_byte:
        EXPECT_EQ(result.eax & 0xff, e.value);
        break;
    case Expect::nothing:
        break;
    case Expect::flag_set:
        EXPECT_EQ(result.eax, arguments.words[0]);
        EXPECT_EQ(arguments.buffers[0][0], e.value);
        expected_writes = "0:0 ";
        break;
    case Expect::record_marked:
        EXPECT_EQ(result.eax, arguments.words[0]);
        EXPECT_EQ(arguments.buffers[0][24], 1);
        expected_writes = "0:24 ";
        break;
    case Expect::reserved:
        break;
    }
    EXPECT_EQ(arguments.written(), expected_writes);
    EXPECT_EQ(object->reference_count, 1) << "a default touched the count";
}

// IUnknown's positions and the destructor, through the raw table as well.
void probe_unknown_positions(ComponentObject* object)
{
    const GUID iid_unknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    void* out = reinterpret_cast<void*>(0x1234);
    const uint32_t query[3] = {reinterpret_cast<uint32_t>(object), reinterpret_cast<uint32_t>(&iid_unknown),
                               reinterpret_cast<uint32_t>(&out)};
    ProbeResult r = probe_call(object->table[0], nullptr, query, 3);
    EXPECT_EQ(r.esp_moved, 0);
    EXPECT_EQ(r.eax, 0x80004002u);
    EXPECT_EQ(out, reinterpret_cast<void*>(0x1234));

    const uint32_t self[1] = {reinterpret_cast<uint32_t>(object)};
    r = probe_call(object->table[1], nullptr, self, 1);
    EXPECT_EQ(r.esp_moved, 0);
    EXPECT_EQ(r.eax, 2u);
    r = probe_call(object->table[2], nullptr, self, 1);
    EXPECT_EQ(r.esp_moved, 0);
    EXPECT_EQ(r.eax, 1u);

    // Flags 0: the object is only ended, not freed, and stays readable.
    const uint32_t keep[1] = {0};
    r = probe_call(object->table[3], object, keep, 1);
    EXPECT_EQ(r.esp_moved, 0);
    EXPECT_EQ(r.eax, reinterpret_cast<uint32_t>(object));
    EXPECT_EQ(object->reference_count, 1);
}

void probe_component_id(ComponentObject* object, uint32_t id)
{
    for (uint32_t argument : {0u, 1u, 0xFFFFFFFFu}) {
        const ProbeResult r = probe_call(object->table[5], object, &argument, 1);
        EXPECT_EQ(r.esp_moved, 0);
        EXPECT_EQ(r.eax, id) << "argument " << argument;
    }
}

}  // namespace

TEST(OperationTableProbe, PanelComponentPositionsRemoveTheirWordsAndAnswerAsTheHostExpects)
{
    ComponentObject* object = create_component(plugin_kind, 0);
    ASSERT_NE(object, nullptr);
    probe_unknown_positions(object);
    probe_component_id(object, 0x40a00030);
    for (const auto& [position, expectation] : expectations({&plugin_interface_groups})) {
        if (position >= 28 && position <= 32)
            continue;  // the panel's own, tested with a panel and a scene
        probe_position(object, position, expectation);
    }
}

TEST(OperationTableProbe, AttributeComponentPositionsRemoveTheirWordsAndAnswerAsTheHostExpects)
{
    ComponentObject* object = create_component(attribute_kind, 0);
    ASSERT_NE(object, nullptr);
    probe_unknown_positions(object);
    probe_component_id(object, 0x40a00031);
    // The attribute component keeps the defaults at 28 to 32; 78 forwards to
    // 212, which does nothing, so it too removes its five words and writes nothing.
    for (const auto& [position, expectation] : expectations({&plugin_interface_groups, &attribute_interface_groups}))
        probe_position(object, position, expectation);
}

TEST(OperationTableProbe, EveryPositionOfBothInterfacesIsDescribedOnce)
{
    const auto all = expectations({&plugin_interface_groups, &attribute_interface_groups});
    // 5 (the ID) and 205 (the command) are the components' own; 4 and up are here.
    for (int p = 4; p <= 404; ++p) {
        if (p != 5 && p != 205) {
            EXPECT_EQ(all.count(p), 1u) << "position " << p;
        }
    }
}
