// The simulated host's operation tables as a caller built by another compiler
// sees them: each operation is reached by its table position, takes its
// argument words after the object and removes them itself (stdcall), so the
// stack pointer is where it was after the call.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "simhost/simhost.h"

namespace {

struct TableProbe {
    void* object;          // offset 0
    void* function;        // 4
    uint32_t words;        // 8
    uint32_t word;         // 12: every argument word
    int32_t stack_change;  // 16: the stack pointer after the call minus before
    uint32_t result;       // 20: EAX
    uint32_t pops_float;   // 24: the result is on the x87 stack
};

// Pushes probe->words copies of probe->word, then the object, calls
// probe->function and measures how far the stack pointer moved.
__attribute__((noinline)) void call_by_position(TableProbe* probe)
{
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "movl 8(%%edi), %%ecx\n\t"
        "1:\n\t"
        "testl %%ecx, %%ecx\n\t"
        "jz 2f\n\t"
        "pushl 12(%%edi)\n\t"
        "decl %%ecx\n\t"
        "jmp 1b\n\t"
        "2:\n\t"
        "pushl 0(%%edi)\n\t"
        "call *4(%%edi)\n\t"
        "movl %%eax, 20(%%edi)\n\t"
        "movl %%esp, %%eax\n\t"
        "subl %%esi, %%eax\n\t"
        "movl %%eax, 16(%%edi)\n\t"
        "movl %%esi, %%esp\n\t"
        "cmpl $0, 24(%%edi)\n\t"
        "je 3f\n\t"
        "fstp %%st(0)\n\t"
        "3:\n\t"
        :
        : "D"(probe)
        : "eax", "ecx", "edx", "esi", "memory", "cc", "st", "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5",
          "xmm6", "xmm7");
}

// One object of every handle kind, in a scene of its own.
struct EveryKind {
    SimHost host;
    SimShape& elbow = host.scene().add_ball_joint("Elbow");
    HostStream* stream = elbow.shape_handle()->open_stream_for_write(7, 0, 0);
    SimShape& line = make_line();

    SimShape& make_line()
    {
        host.scene().begin_part("Figure");
        SimShape& made = host.scene().begin_line("Stroke", 0);
        host.scene().end_line();
        host.scene().end_part();
        return made;
    }

    HostUnknown* of(const std::string& interface_name)
    {
        if (interface_name == "HostApplication") return host.application();
        if (interface_name == "HostScene") return host.scene().handle();
        if (interface_name == "HostShape") return elbow.shape_handle();
        if (interface_name == "HostPart") return elbow.part_handle();
        if (interface_name == "HostJoint") return elbow.new_joint_handle();
        if (interface_name == "HostStream") return stream;
        if (interface_name == "HostEntry") return line.entry_handle();
        if (interface_name == "HostLine") return line.new_line_handle();
        return nullptr;
    }
};

}  // namespace

TEST(SimTable, EveryOperationSitsAtItsPositionAndRemovesItsArguments)
{
    alignas(16) static float scratch[32];  // what every pointer argument points at
    for (int32_t i = 0; i < sim_operation_count; ++i) {
        const auto operation = static_cast<SimOperation>(i);
        SCOPED_TRACE(sim_operation_name(operation));
        std::memset(scratch, 0, sizeof scratch);
        EveryKind kinds;
        HostUnknown* object = kinds.of(sim_operation_interface(operation));
        ASSERT_NE(object, nullptr);
        kinds.host.clear_calls();

        void** table = *reinterpret_cast<void***>(object);
        TableProbe probe{};
        probe.object = object;
        probe.function = table[sim_operation_position(operation)];
        probe.words = static_cast<uint32_t>(sim_operation_argument_words(operation));
        probe.word = reinterpret_cast<uint32_t>(scratch);
        probe.pops_float = sim_operation_result(operation) == SimResult::float_;
        call_by_position(&probe);

        EXPECT_EQ(probe.stack_change, 0);
        ASSERT_EQ(kinds.host.calls().size(), 1u);
        EXPECT_EQ(kinds.host.calls()[0].operation, operation);
        EXPECT_EQ(kinds.host.calls()[0].target, object);
    }
}

TEST(SimTable, CountingSitsAtPositionsOneAndTwo)
{
    EveryKind kinds;
    for (const char* name : {"HostApplication", "HostScene", "HostShape", "HostPart", "HostJoint", "HostStream",
                             "HostEntry", "HostLine"}) {
        SCOPED_TRACE(name);
        HostUnknown* object = kinds.of(name);
        const int32_t before = kinds.host.references(object);
        void** table = *reinterpret_cast<void***>(object);
        TableProbe probe{};
        probe.object = object;
        probe.function = table[1];
        call_by_position(&probe);
        EXPECT_EQ(probe.stack_change, 0);
        EXPECT_EQ(probe.result, static_cast<uint32_t>(before + 1));
        probe.function = table[2];
        call_by_position(&probe);
        EXPECT_EQ(probe.stack_change, 0);
        EXPECT_EQ(probe.result, static_cast<uint32_t>(before));
    }
}
