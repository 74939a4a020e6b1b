// One drag step of the panel's maths: a change of angle about one axis becomes
// a row-vector rotation matrix, a quaternion (set_from_matrix), and a product
// onto the held rotation. Measured side by side with the same rotation done
// by Eigen (AngleAxisf → Quaternionf → product, normalised), with the heap
// allocations of each kernel counted.
//
// Output: Google Benchmark's table (medians of the repetitions), the
// allocation counts, and as the last line
//     kernel ns ours=X eigen=Y ratio=Z
// with X and Y the median CPU nanoseconds per step and Z = X / Y.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#include <Eigen/Geometry>
#include <benchmark/benchmark.h>

#include "allocation_counter.h"
#include "math/matrix4.h"
#include "math/quaternion.h"
#include "math/rotation_constants.h"

namespace {

// The slider axes the panel turns about. Our matrices are built about the
// negative axes and set_from_matrix conjugates, so the rotation is by +delta
// about the positive axis: Eigen is given the positive axes.
const Vector3 our_axes[3] = {Vector3(-1, 0, 0), Vector3(0, -1, 0), Vector3(0, 0, -1)};
const Eigen::Vector3f eigen_axes[3] = {Eigen::Vector3f::UnitX(), Eigen::Vector3f::UnitY(),
                                       Eigen::Vector3f::UnitZ()};

struct DragStep {
    int axis;
    float delta;  // radians
};

// A fixed cycle of steps: each axis in turn, changes between about −3° and
// 3°, never zero. Not const, so the compiler cannot fold the kernels.
constexpr int step_cycle = 64;
DragStep drag_steps[step_cycle];

void make_drag_steps()
{
    uint32_t state = 12345;
    for (int i = 0; i < step_cycle; ++i) {
        state = state * 1664525u + 1013904223u;
        const float degrees = float(int(state >> 24) % 7 - 3) + 0.25f;
        drag_steps[i] = DragStep{i % 3, degrees * radians_per_degree};
    }
}

struct OurKernel {
    Quaternion held = identity_quaternion;

    void step(const DragStep& s)
    {
        Quaternion change;
        change.set_from_matrix(axis_rotation_matrix(our_axes[s.axis], s.delta));
        held = change.multiply(held);
    }
    Eigen::Quaterniond rotation() const { return Eigen::Quaterniond(held.w, held.x, held.y, held.z); }
};

struct EigenKernel {
    Eigen::Quaternionf held = Eigen::Quaternionf::Identity();

    void step(const DragStep& s)
    {
        const Eigen::Quaternionf change(Eigen::AngleAxisf(s.delta, eigen_axes[s.axis]));
        held = (change * held).normalized();
    }
    Eigen::Quaterniond rotation() const { return held.cast<double>(); }
};

template <class Kernel>
void drag_step(benchmark::State& state)
{
    Kernel kernel;
    unsigned i = 0;
    const uint64_t before = heap_allocations();
    for (auto _ : state) {
        kernel.step(drag_steps[i++ % step_cycle]);
        benchmark::DoNotOptimize(kernel.held);
    }
    const uint64_t allocations = heap_allocations() - before;
    state.counters["allocs"] = benchmark::Counter(double(allocations), benchmark::Counter::kAvgIterations);
}

BENCHMARK_TEMPLATE(drag_step, OurKernel)->Name("drag_step/ours")->Repetitions(21)->MinTime(0.05)
    ->DisplayAggregatesOnly(true);
BENCHMARK_TEMPLATE(drag_step, EigenKernel)->Name("drag_step/eigen")->Repetitions(21)->MinTime(0.05)
    ->DisplayAggregatesOnly(true);

// Heap allocations made by steps of one kernel, counted outside the timing.
template <class Kernel>
uint64_t allocations_in(int steps)
{
    Kernel kernel;
    const uint64_t before = heap_allocations();
    for (int i = 0; i < steps; ++i) {
        kernel.step(drag_steps[i % step_cycle]);
        benchmark::DoNotOptimize(kernel.held);
    }
    return heap_allocations() - before;
}

// The angle between the two kernels' rotations after the same steps.
double divergence_after(int steps)
{
    OurKernel ours;
    EigenKernel eigen;
    for (int i = 0; i < steps; ++i) {
        ours.step(drag_steps[i % step_cycle]);
        eigen.step(drag_steps[i % step_cycle]);
    }
    return ours.rotation().angularDistance(eigen.rotation());
}

// Console output as usual, keeping the medians of the repetitions.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> median_cpu_ns;

    MedianReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                median_cpu_ns[run.run_name.function_name] = run.GetAdjustedCPUTime();
    }
};

}  // namespace

int main(int argc, char** argv)
{
    make_drag_steps();

    // Repetitions of the two kernels interleaved, so noise from the shared
    // machine falls on both alike.
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave.data());
    int arg_count = int(args.size());
    benchmark::Initialize(&arg_count, args.data());
    if (benchmark::ReportUnrecognizedArguments(arg_count, args.data()))
        return 1;

    // The counter itself must see allocations, or its zero below means nothing.
    {
        const uint64_t before = heap_allocations();
        std::vector<int> block(16);
        benchmark::DoNotOptimize(block.data());
        void* (*volatile c_allocate)(size_t) = std::malloc;
        void* c_block = c_allocate(16);
        benchmark::DoNotOptimize(c_block);
        std::free(c_block);
        if (heap_allocations() - before != 2) {
            std::printf("allocation counter broken: saw %llu of 2 allocations\n",
                        static_cast<unsigned long long>(heap_allocations() - before));
            return 1;
        }
    }

    constexpr int counted_steps = 1000000;
    const uint64_t ours_allocations = allocations_in<OurKernel>(counted_steps);
    const uint64_t eigen_allocations = allocations_in<EigenKernel>(counted_steps);
    std::printf("heap allocations in %d kernel steps: ours=%llu eigen=%llu\n", counted_steps,
                static_cast<unsigned long long>(ours_allocations),
                static_cast<unsigned long long>(eigen_allocations));
    std::printf("our kernel allocates %llu times per step\n",
                static_cast<unsigned long long>(ours_allocations / counted_steps));
    std::printf("ours and eigen differ by %.3g rad after 10000 steps\n", divergence_after(10000));
    std::fflush(stdout);

    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double ours = reporter.median_cpu_ns["drag_step/ours"];
    const double eigen = reporter.median_cpu_ns["drag_step/eigen"];
    std::printf("kernel ns ours=%.1f eigen=%.1f ratio=%.2f\n", ours, eigen, eigen > 0 ? ours / eigen : 0.0);
    return ours_allocations == 0 ? 0 : 1;
}
