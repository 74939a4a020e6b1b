// get_name as the host calls it: the host application is asked whether its
// user interface is Japanese only for a component that exists, once, with 0,
// and only the low byte of its answer counts. The names come out in code page
// 932; the expected bytes are made here from the text with the system's own
// conversion.
#include <gtest/gtest.h>
#include <string>
#include "kelvaro_module.h"

namespace {

// A host application of our own, its table written out so that the whole of
// EAX in its answer is ours to choose.
struct FakeApplication {
    const void* const* table;
    int asked = 0;
    int32_t last_which = -1;
    uint32_t answer = 0;
    int other_calls = 0;
};

long __stdcall fake_query_interface(FakeApplication*, const GUID*, void**) { return E_NOINTERFACE; }
unsigned long __stdcall fake_add_ref(FakeApplication* a) { ++a->other_calls; return 1; }
unsigned long __stdcall fake_release(FakeApplication* a) { ++a->other_calls; return 1; }
uint32_t __stdcall fake_host_uses_japanese(FakeApplication* a, int32_t which)
{
    ++a->asked;
    a->last_which = which;
    return a->answer;
}
uint32_t __stdcall fake_other(FakeApplication* a) { ++a->other_calls; return 0; }

const void* const fake_application_table[] = {
    reinterpret_cast<const void*>(&fake_query_interface), reinterpret_cast<const void*>(&fake_add_ref),
    reinterpret_cast<const void*>(&fake_release),         reinterpret_cast<const void*>(&fake_host_uses_japanese),
    reinterpret_cast<const void*>(&fake_other),           reinterpret_cast<const void*>(&fake_other),
    reinterpret_cast<const void*>(&fake_other),
};

struct Application : FakeApplication {
    explicit Application(uint32_t eax) { table = fake_application_table; answer = eax; }
    HostApplication* host() { return reinterpret_cast<HostApplication*>(static_cast<FakeApplication*>(this)); }
};

std::string code_page_932(const wchar_t* text)
{
    char bytes[128] = {};
    const int length = WideCharToMultiByte(932, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
    EXPECT_GT(length, 0);
    return bytes;
}

std::string name(const GUID& kind, int32_t index, Application& application)
{
    const char* text = kelvaro_exports().get_name(&kind, index, application.host(), 0);
    return text != nullptr ? text : "(none)";
}

}  // namespace

TEST(ComponentNames, TheHostsAnswerChoosesTheLanguageByItsLowByteOnly)
{
    const std::string panel_japanese = code_page_932(L"Kelvaro操作...");
    const std::string attribute_japanese = code_page_932(L"Kelvaro属性クリア");
    ASSERT_EQ(panel_japanese, "Kelvaro\x91\x80\x8d\xec...");  // the system's table agrees

    Application japanese(0x00000001);
    EXPECT_EQ(name(plugin_kind, 0, japanese), panel_japanese);
    EXPECT_EQ(name(attribute_kind, 4, japanese), attribute_japanese);

    Application english(0x00000000);
    EXPECT_EQ(name(plugin_kind, 0, english), "Kelvaro...");
    EXPECT_EQ(name(attribute_kind, 0, english), "Clear Kelvaro Attribute");

    // A host's yes/no is one byte; what lies above it in EAX is not an answer.
    Application garbage_above_no(0xFFFFFF00);
    EXPECT_EQ(name(plugin_kind, 0, garbage_above_no), "Kelvaro...");
    Application garbage_above_yes(0xABCDEF80);
    EXPECT_EQ(name(attribute_kind, 0, garbage_above_yes), attribute_japanese);
}

TEST(ComponentNames, TheHostIsAskedOnceWithZeroAndOnlyForAComponentThatExists)
{
    Application host(1);
    name(plugin_kind, 0, host);
    EXPECT_EQ(host.asked, 1);
    EXPECT_EQ(host.last_which, 0);
    name(attribute_kind, 9, host);
    EXPECT_EQ(host.asked, 2);

    const GUID unknown = {0x50E47D68, 0x8922, 0x11D1, {0x9A, 0x00, 0x00, 0xC0, 0x4F, 0xCC, 0x9C, 0x26}};
    EXPECT_EQ(name(unknown, 0, host), "(none)");
    EXPECT_EQ(name(plugin_kind, 1, host), "(none)");
    EXPECT_EQ(host.asked, 2);
    EXPECT_EQ(host.other_calls, 0) << "nothing else of the host is touched, no reference taken";
}

TEST(ComponentNames, WithoutAHostApplicationTheNameIsEnglish)
{
    const KelvaroExports& e = kelvaro_exports();
    EXPECT_STREQ(e.get_name(&plugin_kind, 0, nullptr, 0), "Kelvaro...");
    EXPECT_STREQ(e.get_name(&attribute_kind, 0, nullptr, 0), "Clear Kelvaro Attribute");
}

TEST(ComponentNames, NamesAreStaticStrings)
{
    Application host(1);
    const KelvaroExports& e = kelvaro_exports();
    EXPECT_EQ(e.get_name(&plugin_kind, 0, host.host(), 0), e.get_name(&plugin_kind, 0, host.host(), 0));
    EXPECT_EQ(e.get_name(&attribute_kind, 0, nullptr, 0), e.get_name(&attribute_kind, 7, nullptr, 0));
}
