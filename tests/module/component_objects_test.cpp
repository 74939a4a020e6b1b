// Component objects as the host holds them: made fresh by create_interface
// with one reference, counted plainly, freed by the Release that reaches 0,
// and never handing out an interface through QueryInterface.
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include "component_calls.h"
#include "simhost/import_patch.h"
#include "kelvaro_module.h"

namespace {

using query_interface = long(__stdcall*)(ComponentObject*, const GUID*, void**);
using count_operation = unsigned long(__stdcall*)(ComponentObject*);

long query(ComponentObject* object, const GUID* iid, void** out)
{
    return reinterpret_cast<query_interface>(object->table[0])(object, iid, out);
}

unsigned long add_ref(ComponentObject* object)
{
    return reinterpret_cast<count_operation>(object->table[1])(object);
}

unsigned long release(ComponentObject* object)
{
    return reinterpret_cast<count_operation>(object->table[2])(object);
}

// The module takes its objects from the process heap; a freed block has no
// size any more.
bool heap_block_live(const void* block)
{
    return HeapSize(GetProcessHeap(), 0, block) != static_cast<SIZE_T>(-1);
}

const GUID* const both_kinds[] = {&plugin_kind, &attribute_kind};

// The blocks that Kelvaro.dll's own calls give back to a heap.
using heap_free_function = BOOL(WINAPI*)(HANDLE, DWORD, void*);
heap_free_function system_heap_free = nullptr;
std::vector<void*> module_frees;

BOOL WINAPI recording_heap_free(HANDLE heap, DWORD flags, void* block)
{
    module_frees.push_back(block);
    return system_heap_free(heap, flags, block);
}

long times_freed(const void* block)
{
    return std::count(module_frees.begin(), module_frees.end(), block);
}

}  // namespace

TEST(ComponentObjects, EachCreateGivesAFreshObjectWithOneReference)
{
    for (const GUID* kind : both_kinds) {
        ComponentObject* first = create_component(*kind, 0);
        ComponentObject* second = create_component(*kind, 0);
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        EXPECT_NE(first, second);
        EXPECT_EQ(first->reference_count, 1);
        EXPECT_EQ(second->reference_count, 1);
        EXPECT_EQ(first->table, second->table);
    }
    EXPECT_NE(create_component(plugin_kind, 0)->table, create_component(attribute_kind, 0)->table);
}

TEST(ComponentObjects, AddRefThenTwoReleasesFreeTheObjectOnTheLast)
{
    for (const GUID* kind : both_kinds) {
        ComponentObject* object = create_component(*kind, 0);
        ASSERT_NE(object, nullptr);
        EXPECT_TRUE(heap_block_live(object));
        EXPECT_EQ(add_ref(object), 2u);
        EXPECT_EQ(object->reference_count, 2);
        EXPECT_EQ(release(object), 1u);
        EXPECT_TRUE(heap_block_live(object));
        EXPECT_EQ(release(object), 0u);
        EXPECT_FALSE(heap_block_live(object));
    }
}

TEST(ComponentObjects, QueryInterfaceRefusesEveryKindAndLeavesTheOutPointer)
{
    const GUID iid_unknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    for (const GUID* kind : both_kinds) {
        ComponentObject* object = create_component(*kind, 0);
        ASSERT_NE(object, nullptr);
        for (const GUID* asked : {&iid_unknown, &plugin_kind, &attribute_kind}) {
            void* out = reinterpret_cast<void*>(0x7777);
            EXPECT_EQ(query(object, asked, &out), static_cast<long>(0x80004002));
            EXPECT_EQ(out, reinterpret_cast<void*>(0x7777));
        }
        EXPECT_EQ(object->reference_count, 1);
    }
}

TEST(ComponentObjects, CreateInterfaceWithoutAnOutPointerMakesNothing)
{
    const KelvaroExports& e = kelvaro_exports();
    PROCESS_HEAP_ENTRY walk{};
    auto busy_blocks = [&] {
        int count = 0;
        HeapLock(GetProcessHeap());
        walk.lpData = nullptr;
        while (HeapWalk(GetProcessHeap(), &walk))
            if (walk.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                ++count;
        HeapUnlock(GetProcessHeap());
        return count;
    };
    e.create_interface(&plugin_kind, 0, nullptr, 0, 0);  // warm up anything the first call makes
    const int before = busy_blocks();
    for (int i = 0; i < 50; ++i) {
        e.create_interface(&plugin_kind, 0, nullptr, 0, 0);
        e.create_interface(&attribute_kind, 3, nullptr, 0, 0);
    }
    EXPECT_LT(busy_blocks() - before, 10) << "objects made with nowhere to put them";
}

TEST(ComponentObjects, PositionThreeFreesTheObjectOnlyWhenBitZeroIsSet)
{
    system_heap_free = reinterpret_cast<heap_free_function>(
        replace_import(kelvaro_module(), "KERNEL32.dll", "HeapFree", reinterpret_cast<void*>(&recording_heap_free)));
    ASSERT_NE(system_heap_free, nullptr);
    for (const GUID* kind : both_kinds) {
        ComponentObject* object = create_component(*kind, 0);
        ASSERT_NE(object, nullptr);
        module_frees.clear();  // the heap may hand out a block freed before
        EXPECT_EQ(call_position(object, 3, {0}), as_word(object));
        EXPECT_EQ(times_freed(object), 0);
        EXPECT_TRUE(heap_block_live(object));
        EXPECT_EQ(call_position(object, 3, {1}), as_word(object));
        EXPECT_EQ(times_freed(object), 1);
        EXPECT_FALSE(heap_block_live(object));
    }
    replace_import(kelvaro_module(), "KERNEL32.dll", "HeapFree", reinterpret_cast<void*>(system_heap_free));
}
