#include "simhost/sim_host.h"
#include <algorithm>
#include <cstdio>
#include "joint/host_exception.h"
#include "simhost/sim_handles.h"

Quaternion SimCall::quaternion() const
{
    if (floats.size() < 4)
        return Quaternion(0, 0, 0, 0);
    return Quaternion(floats[0], floats[1], floats[2], floats[3]);
}

Vector3 SimCall::vector(size_t which) const
{
    if (floats.size() < 3 * which + 3)
        return Vector3();
    return Vector3(floats[3 * which], floats[3 * which + 1], floats[3 * which + 2]);
}

Matrix4 SimCall::matrix() const
{
    Matrix4 m;
    for (size_t i = 0; i < 16 && i < floats.size(); ++i)
        m[static_cast<int>(i)] = floats[i];
    return m;
}

namespace {

std::string number_text(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

}  // namespace

std::string sim_call_text(const SimCall& call)
{
    std::string text = sim_operation_name(call.operation);
    if (call.target != nullptr) {
        text += " on ";
        if (call.shape != nullptr)
            text += std::string(sim_operation_interface(call.operation)) + " of '" + call.shape->name() + "'";
        else
            text += sim_operation_interface(call.operation);
    }
    std::string arguments;
    auto add = [&arguments](const std::string& argument) {
        arguments += (arguments.empty() ? "" : ", ") + argument;
    };
    if (!call.text.empty())
        add("\"" + call.text + "\"");
    for (int32_t value : call.ints)
        add(std::to_string(value));
    for (float value : call.floats)
        add(number_text(value));
    text += " (" + arguments + ")";
    if (call.failed)
        text += " failed";
    return text;
}

SimHost::SimHost()
{
    application_ = std::make_unique<SimApplicationHandle>(*this);
    current_scene_ = &add_scene();
}

SimHost::~SimHost()
{
    // The handles unregister as they go; drop them in the reverse order of making.
    application_.reset();
    streams_.clear();
    counted_handles_.clear();
    scenes_.clear();
}

HostApplication* SimHost::application()
{
    return application_.get();
}

SimScene& SimHost::add_scene()
{
    scenes_.push_back(std::make_unique<SimScene>(*this, static_cast<int32_t>(scenes_.size()) + 1));
    return *scenes_.back();
}

std::vector<SimScene*> SimHost::scenes() const
{
    std::vector<SimScene*> out;
    for (const auto& scene : scenes_)
        out.push_back(scene.get());
    return out;
}

int32_t SimHost::references(const HostUnknown* handle) const
{
    const SimHandle* account = account_of(handle);
    return account == nullptr ? 0 : account->references();
}

int32_t SimHost::references_to(const SimShape& shape) const
{
    auto found = shape_references_.find(&shape);
    return found == shape_references_.end() ? 0 : found->second;
}

int32_t SimHost::references_to(const SimScene& scene) const
{
    int32_t total = 0;
    for (const auto& entry : handles_)
        if (entry.second->scene() == &scene && entry.second->shape() == nullptr)
            total += entry.second->references();
    return total;
}

SimShape* SimHost::shape_of(const HostUnknown* handle) const
{
    const SimHandle* account = account_of(handle);
    return account == nullptr ? nullptr : account->shape();
}

const SimHandle* SimHost::account_of(const HostUnknown* handle) const
{
    auto found = handles_.find(handle);
    return found == handles_.end() ? nullptr : found->second;
}

std::string SimHost::outstanding_report() const
{
    std::string report;
    for (const auto& entry : handles_) {
        if (entry.second->references() != 0)
            report += entry.second->description() + ": " + std::to_string(entry.second->references()) + "\n";
    }
    return report;
}

void SimHost::record_error(const std::string& error)
{
    errors_.push_back(error);
    if (error_observer_)
        error_observer_(error);
}

void SimHost::fail_call(SimOperation operation, int32_t nth, int32_t value)
{
    faults_.push_back(Fault{operation, nth < 1 ? 1 : nth, value, false});
}

bool SimHost::fail_call(const char* operation_name, int32_t nth, int32_t value)
{
    SimOperation operation;
    if (!sim_operation_named(operation_name, &operation))
        return false;
    fail_call(operation, nth, value);
    return true;
}

bool SimHost::answer_none(SimOperation operation, int32_t nth)
{
    if (sim_operation_result(operation) != SimResult::handle)
        return false;
    faults_.push_back(Fault{operation, nth < 1 ? 1 : nth, 0, true});
    return true;
}

bool SimHost::answer_none(const char* operation_name, int32_t nth)
{
    SimOperation operation;
    return sim_operation_named(operation_name, &operation) && answer_none(operation, nth);
}

std::vector<SimCall> SimHost::calls(SimOperation operation) const
{
    std::vector<SimCall> out;
    for (const SimCall& call : calls_)
        if (call.operation == operation)
            out.push_back(call);
    return out;
}

int32_t SimHost::call_count(SimOperation operation) const
{
    int32_t index = static_cast<int32_t>(operation);
    return index >= 0 && index < sim_operation_count ? call_counts_[index] : 0;
}

void SimHost::clear_calls()
{
    calls_.clear();
    call_counts_.fill(0);
}

std::string SimHost::call_report() const
{
    std::string report;
    for (const SimCall& call : calls_)
        report += sim_call_text(call) + "\n";
    return report;
}

int32_t SimHost::call_count(const char* operation_name) const
{
    SimOperation operation;
    return sim_operation_named(operation_name, &operation) ? call_count(operation) : 0;
}

SimHost::Outcome SimHost::record_call(SimOperation operation, const SimHandle& via,
                                     std::initializer_list<int32_t> ints, std::initializer_list<float> floats,
                                     const char* text, int32_t* fault_value)
{
    const std::string misuse = via.misuse();
    if (!misuse.empty())
        record_error(std::string(sim_operation_name(operation)) + " on " + misuse);

    // Every fault on the operation counts this call; the first made of those
    // that fall due acts, and all that fell due are spent.
    Outcome outcome = Outcome::run;
    for (Fault& fault : faults_) {
        if (fault.operation == operation && --fault.calls_left == 0 && outcome == Outcome::run) {
            outcome = fault.answer_none ? Outcome::answer_none : Outcome::raise;
            *fault_value = fault.value;
        }
    }
    faults_.erase(std::remove_if(faults_.begin(), faults_.end(), [](const Fault& f) { return f.calls_left <= 0; }),
                  faults_.end());
    ++call_counts_[static_cast<int32_t>(operation)];
    const int32_t sequence = sequence_++;
    if (outcome == Outcome::raise)
        ++faults_raised_;

    if (call_logging_ || call_observer_) {
        SimCall call;
        call.operation = operation;
        call.sequence = sequence;
        call.target = via.handle();
        call.shape = via.shape();
        call.scene = via.scene();
        call.ints.assign(ints.begin(), ints.end());
        call.floats.assign(floats.begin(), floats.end());
        if (text != nullptr)
            call.text = text;
        call.failed = outcome == Outcome::raise;
        call.refused = outcome == Outcome::answer_none;
        if (call_observer_)
            call_observer_(call);
        if (call_logging_)
            calls_.push_back(std::move(call));
    }
    return outcome;
}

bool SimHost::enter(SimOperation operation, const SimHandle& via, std::initializer_list<int32_t> ints,
                    std::initializer_list<float> floats, const char* text)
{
    // record_call's objects are gone before the raise: the host's exception
    // passes this compiler's frames without running their destructors.
    int32_t value = 0;
    Outcome outcome = record_call(operation, via, ints, floats, text, &value);
    if (outcome == Outcome::raise)
        raise_host_int_exception(value);
    return outcome == Outcome::run;
}

void SimHost::register_handle(SimHandle* handle)
{
    handles_[handle->handle()] = handle;
}

void SimHost::unregister_handle(SimHandle* handle)
{
    handles_.erase(handle->handle());
    if (handle->shape() != nullptr && handle->references() != 0)
        shape_references_[handle->shape()] -= handle->references();
}

void SimHost::record_reference(const SimHandle& handle, SimReferenceChange change)
{
    const int32_t change_by = change == SimReferenceChange::release ? -1 : change == SimReferenceChange::over_release ? 0 : 1;
    outstanding_ += change_by;
    if (handle.shape() != nullptr)
        shape_references_[handle.shape()] += change_by;
    if (call_logging_)
        reference_events_.push_back(SimReferenceEvent{&handle, change, handle.references(), sequence_});
    ++sequence_;  // also while not logged, so sequences compare alike either way
}

void SimHost::record_over_release(const SimHandle& handle, const std::string& why)
{
    ++over_releases_;
    record_error(why);
    record_reference(handle, SimReferenceChange::over_release);
}

std::vector<std::string> SimHost::releases() const
{
    std::vector<std::string> out;
    for (const SimReferenceEvent& event : reference_events_)
        if (event.change == SimReferenceChange::release || event.change == SimReferenceChange::over_release)
            out.push_back(event.handle->description());
    return out;
}

HostStream* SimHost::open_stream(SimShape& shape, int32_t key, SimStreamRecord record, const char* purpose,
                                 bool for_reading)
{
    char key_text[16];
    std::snprintf(key_text, sizeof key_text, "0x%08lx", static_cast<unsigned long>(static_cast<uint32_t>(key)));
    std::string description = std::string("HostStream ") + key_text + " of '" + shape.name() + "' (" + purpose +
                              ", #" + std::to_string(++stream_count_) + ")";
    const size_t start = for_reading && record ? record->size() : 0;
    SimStreamHandle* stream = make_counted<SimStreamHandle>(*this, shape, std::move(description), std::move(record), start);
    streams_.push_back(stream);
    return stream;
}

int32_t SimHost::stream_references(const SimShape& shape) const
{
    int32_t total = 0;
    for (const auto& stream : streams_)
        if (stream->account().shape() == &shape)
            total += stream->account().references();
    return total;
}
