// The ten exports as the host finds and calls them: exact names in the export
// table, the stdcall convention, kind recognition byte by byte, the index
// rules, the fixed answers and the information record.
#include <gtest/gtest.h>
#include <cstring>
#include <set>
#include <string>
#include "abi_probe.h"
#include "kelvaro_module.h"

namespace {

std::set<std::string> exported_names(HMODULE module)
{
    auto* base = reinterpret_cast<const uint8_t*>(module);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    std::set<std::string> names;
    if (directory.VirtualAddress == 0)
        return names;
    auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    auto* name_offsets = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names.insert(reinterpret_cast<const char*>(base + name_offsets[i]));
    EXPECT_EQ(exports->NumberOfFunctions, 10u) << "entries reachable by ordinal";
    return names;
}

GUID with_byte_changed(const GUID& kind, int byte)
{
    GUID changed = kind;
    reinterpret_cast<uint8_t*>(&changed)[byte] ^= 0x10;
    return changed;
}

uint32_t word(const void* pointer)
{
    return reinterpret_cast<uint32_t>(pointer);
}

}  // namespace

TEST(Exports, TheExportTableHoldsExactlyTheTenNames)
{
    HMODULE module = kelvaro_module();
    ASSERT_NE(module, nullptr);
    const std::set<std::string> expected = {
        "create_interface", "get_id",          "get_interface_version", "get_name",
        "has_interface",    "_get_exception@8", "_get_info@12",          "_get_text_encoding@8",
        "_has_separate_interfaces@4", "_is_resident@12"};
    EXPECT_EQ(exported_names(module), expected);
    for (const char* other : {"create_interface@20", "_create_interface@20", "get_info", "_get_info", "get_info@12",
                              "is_resident", "_is_resident", "has_interface@8", "_get_name@16", "get_exception",
                              "module_instance", "DllMain", "DllMain@12"})
        EXPECT_EQ(GetProcAddress(module, other), nullptr) << other;
}

TEST(Exports, EveryExportRemovesItsOwnArgumentWords)
{
    const KelvaroExports& e = kelvaro_exports();
    uint8_t record[40] = {};
    void* out = nullptr;
    struct Call {
        const char* name;
        const void* function;
        std::vector<uint32_t> words;
    };
    const Call calls[] = {
        {"has_interface", reinterpret_cast<const void*>(e.has_interface), {word(&plugin_kind), 0}},
        {"get_id", reinterpret_cast<const void*>(e.get_id), {word(&plugin_kind), 0, 0}},
        {"get_name", reinterpret_cast<const void*>(e.get_name), {word(&plugin_kind), 0, 0, 0}},
        {"_is_resident@12", reinterpret_cast<const void*>(e.is_resident), {word(&plugin_kind), 0, 0}},
        {"create_interface", reinterpret_cast<const void*>(e.create_interface), {word(&plugin_kind), 1, word(&out), 0, 0}},
        {"_get_info@12", reinterpret_cast<const void*>(e.get_info), {word(record), 0, 0}},
        {"get_interface_version", reinterpret_cast<const void*>(e.get_interface_version), {0}},
        {"_get_text_encoding@8", reinterpret_cast<const void*>(e.get_text_encoding), {0, 0}},
        {"_get_exception@8", reinterpret_cast<const void*>(e.get_exception), {0, 0}},
        {"_has_separate_interfaces@4", reinterpret_cast<const void*>(e.has_separate_interfaces), {0}},
    };
    for (const Call& call : calls) {
        const ProbeResult r = probe_call(call.function, nullptr, call.words.data(), static_cast<int>(call.words.size()));
        EXPECT_EQ(r.esp_moved, 0) << call.name;
    }
}

TEST(Exports, FixedAnswersWhateverTheArguments)
{
    const KelvaroExports& e = kelvaro_exports();
    for (uint32_t a : {0u, 7u, 0xFFFFFFFFu}) {
        EXPECT_EQ(e.get_interface_version(a), 25);
        EXPECT_EQ(e.get_text_encoding(a, ~a), 932);
        EXPECT_EQ(e.get_exception(a, ~a), 2);
        EXPECT_EQ(e.has_separate_interfaces(a), 0);
    }
}

TEST(Exports, TheTwoKindsAndTheirComponents)
{
    const KelvaroExports& e = kelvaro_exports();
    EXPECT_EQ(e.has_interface(&plugin_kind, 0), 1);
    EXPECT_EQ(e.has_interface(&attribute_kind, 0), 1);
    EXPECT_EQ(e.get_id(&plugin_kind, 0, 0), 0x40a00030);
    EXPECT_EQ(e.get_id(&attribute_kind, 0, 0), 0x40a00031);
    EXPECT_EQ(e.is_resident(&plugin_kind, 0, 0), 1);
    EXPECT_EQ(e.is_resident(&attribute_kind, 0, 0), 0);
}

TEST(Exports, AKindDifferingInAnySingleByteIsNeitherKind)
{
    const KelvaroExports& e = kelvaro_exports();
    for (const GUID* known : {&plugin_kind, &attribute_kind}) {
        for (int byte = 0; byte < 16; ++byte) {
            SCOPED_TRACE("byte " + std::to_string(byte));
            const GUID kind = with_byte_changed(*known, byte);
            EXPECT_EQ(e.has_interface(&kind, 0), 0);
            EXPECT_EQ(e.get_id(&kind, 0, 0), 0);
            EXPECT_EQ(e.get_name(&kind, 0, nullptr, 0), nullptr);
            EXPECT_EQ(e.is_resident(&kind, 0, 0), 0);
            void* out = reinterpret_cast<void*>(0x5A5A);
            e.create_interface(&kind, 0, &out, 0, 0);
            EXPECT_EQ(out, reinterpret_cast<void*>(0x5A5A));
        }
    }
    const GUID between = {0x50E47D68, 0x8922, 0x11D1, {0x9A, 0x00, 0x00, 0xC0, 0x4F, 0xCC, 0x9C, 0x26}};
    EXPECT_EQ(e.has_interface(&between, 0), 0);
    EXPECT_EQ(e.get_id(&between, 0, 0), 0);
}

TEST(Exports, OnlyIndexZeroOfThePluginKindIsAComponentAndTheAttributeKindTakesAnyIndex)
{
    const KelvaroExports& e = kelvaro_exports();
    for (int32_t index : {1, 2, -1, 0x7FFFFFFF}) {
        SCOPED_TRACE("plug-in index " + std::to_string(index));
        EXPECT_EQ(e.get_id(&plugin_kind, index, 0), 0);
        EXPECT_EQ(e.get_name(&plugin_kind, index, nullptr, 0), nullptr);
        EXPECT_EQ(e.is_resident(&plugin_kind, index, 0), 0);
        void* out = reinterpret_cast<void*>(0x5A5A);
        e.create_interface(&plugin_kind, index, &out, 0, 0);
        EXPECT_EQ(out, reinterpret_cast<void*>(0x5A5A));
    }
    for (int32_t index : {5, -1, 0x7FFFFFFF}) {
        SCOPED_TRACE("attribute index " + std::to_string(index));
        EXPECT_EQ(e.get_id(&attribute_kind, index, 0), 0x40a00031);
        EXPECT_STREQ(e.get_name(&attribute_kind, index, nullptr, 0), "Clear Kelvaro Attribute");
        EXPECT_EQ(e.is_resident(&attribute_kind, index, 0), 0);
        ComponentObject* object = create_component(attribute_kind, index);
        ASSERT_NE(object, nullptr);
        const ComponentObject* reference = create_component(attribute_kind, 0);
        EXPECT_EQ(object->table, reference->table) << "an attribute_component";
    }
}

TEST(Exports, NoKindAtAllNamesNothing)
{
    const KelvaroExports& e = kelvaro_exports();
    EXPECT_EQ(e.has_interface(nullptr, 0), 0);
    EXPECT_EQ(e.get_id(nullptr, 0, 0), 0);
    EXPECT_EQ(e.get_name(nullptr, 0, nullptr, 0), nullptr);
    void* out = reinterpret_cast<void*>(0x5A5A);
    e.create_interface(nullptr, 0, &out, 0, 0);
    EXPECT_EQ(out, reinterpret_cast<void*>(0x5A5A));
}

TEST(Exports, InformationRecordIsTheSameWhateverTheArguments)
{
    const KelvaroExports& e = kelvaro_exports();
    struct Record {
        int32_t numbers[6];
        const char* strings[4];
    };
    static_assert(sizeof(Record) == 40, "ten 32-bit fields");
    const char description[] = "\x83\x7b\x81\x5b\x83\x8b\x83\x57\x83\x87\x83\x43\x83\x93\x83\x67\x82\xf0\x83\x58"
                               "\x83\x89\x83\x43\x83\x5f\x82\xc5\x91\x80\x8d\xec\x82\xb7\x82\xe9\x83\x76\x83\x89"
                               "\x83\x4f\x83\x43\x83\x93";  // ボールジョイントをスライダで操作するプラグイン
    const char* first_description = nullptr;
    for (uint32_t a : {0u, 3u, 0xFFFFFFFFu}) {
        Record record;
        std::memset(&record, 0xCD, sizeof record);
        EXPECT_EQ(e.get_info(&record, a, ~a), &record);
        const int32_t numbers[6] = {36088, 36090, 1, 3, 0, 0};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(record.numbers[i], numbers[i]) << "field " << i + 1;
        EXPECT_STREQ(record.strings[0], "Kelvaro");
        EXPECT_STREQ(record.strings[1], "TAVIREK");
        EXPECT_EQ(record.strings[2], record.strings[1]) << "the maker twice is one string";
        EXPECT_STREQ(record.strings[3], description);
        if (first_description == nullptr)
            first_description = record.strings[3];
        EXPECT_EQ(record.strings[3], first_description) << "static strings";
    }
}

TEST(Exports, InformationRecordWithoutARecordAnswersNone)
{
    EXPECT_EQ(kelvaro_exports().get_info(nullptr, 0, 0), nullptr);
}
