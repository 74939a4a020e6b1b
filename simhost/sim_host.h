#pragma once
// SimHost: the simulated application. It holds the scenes and the
// application's switches (auto key, Japanese, main window), keeps the
// reference accounting of every handle it hands out (by the host's rule, see
// sim_handle.h), logs every host operation the plug-in calls, and fails
// operations on request the way the host fails: by raising an int as the
// host's compiler throws it.
#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "simhost/sim_handle.h"
#include "simhost/sim_operation.h"
#include "simhost/sim_scene.h"

class SimApplicationHandle;
class SimStreamHandle;

// One call of a host operation, with its arguments in the order given: whole
// numbers in ints, floats in floats (a Quaternion as w, x, y, z; a Vector3 as
// x, y, z; a Matrix4 as its sixteen elements), a name in text. Vectors and
// matrices that the operation writes out are not recorded.
struct SimCall {
    SimOperation operation;
    int32_t sequence = 0;  // shared with SimReferenceEvent: what happened first
    HostUnknown* target = nullptr;  // the handle it was called on
    SimShape* shape = nullptr;      // the shape that handle belongs to, if any
    SimScene* scene = nullptr;      // the scene that handle belongs to, if any
    std::vector<int32_t> ints;
    std::vector<float> floats;
    std::string text;
    bool failed = false;    // it raised an injected failure instead of running
    bool refused = false;   // it answered none by request instead of running

    Quaternion quaternion() const;           // floats 0..3
    Vector3 vector(size_t which = 0) const;  // floats 3·which .. 3·which + 2
    Matrix4 matrix() const;                  // floats 0..15
};

// "set_rotation on HostJoint of 'Elbow' (1, 0, 0, 0)", for failure messages.
std::string sim_call_text(const SimCall& call);

// A change of a handle's reference count: handed out by an operation,
// AddRef, Release, or a Release that broke the host's rule.
enum class SimReferenceChange : int32_t { handed_out, add_ref, release, over_release };

struct SimReferenceEvent {
    const SimHandle* handle;
    SimReferenceChange change;
    int32_t references;  // after the change
    int32_t sequence;    // shared with SimCall
};

class SimHost {
public:
    // With one empty scene, which is current. Auto key off, English, no main window.
    SimHost();
    ~SimHost();
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    // The application handle to give the plug-in, borrowed: no reference is added.
    HostApplication* application();

    // Scenes.
    SimScene& scene() { return *current_scene_; }  // the current one; a SimHost always has one
    SimScene& add_scene();
    std::vector<SimScene*> scenes() const;
    void set_current_scene(SimScene& scene) { current_scene_ = &scene; }
    // The application answers current_scene with none while this is set.
    void set_no_current_scene(bool none) { no_current_scene_ = none; }
    bool has_current_scene() const { return !no_current_scene_; }

    // The application's switches.
    bool auto_key() const { return auto_key_; }
    void set_auto_key(bool on) { auto_key_ = on; }
    bool uses_japanese() const { return uses_japanese_; }
    void set_uses_japanese(bool japanese) { uses_japanese_ = japanese; }
    HWND main_window() const { return main_window_; }
    void set_main_window(HWND window) { main_window_ = window; }

    // Reference accounting over every handle ever handed out, streams included.
    int32_t outstanding_references() const { return outstanding_; }
    int32_t references(const HostUnknown* handle) const;  // 0 for a handle not of this host
    // Over every handle of the shape, counted ones and streams included.
    int32_t references_to(const SimShape& shape) const;
    int32_t references_to(const SimScene& scene) const;  // its scene handles only
    // The shape a handle of this host belongs to; none for the application,
    // a scene, or a pointer that is no handle of this host.
    SimShape* shape_of(const HostUnknown* handle) const;
    // The handle's accounting; none for a pointer that is no handle of this host.
    const SimHandle* account_of(const HostUnknown* handle) const;
    // One line per handle with references outstanding: "HostShape of 'Joint': 1".
    std::string outstanding_report() const;
    int32_t over_releases() const { return over_releases_; }
    // How many counted handles the host has made (each carried one reference).
    int32_t counted_handles_made() const { return static_cast<int32_t>(counted_handles_.size()); }
    // Every change of a count, in order (kept while call logging is on), and
    // the descriptions of the handles released, in the order of release.
    const std::vector<SimReferenceEvent>& reference_events() const { return reference_events_; }
    std::vector<std::string> releases() const;
    void clear_reference_events() { reference_events_.clear(); }

    // Misuse seen by the host: a Release it gave no reference for, a call or
    // Release on a dead handle (released to zero, or of a removed part), line
    // building out of order, key indices out of range.
    const std::vector<std::string>& errors() const { return errors_; }
    void record_error(const std::string& error);
    void clear_errors() { errors_.clear(); }
    // Each error from now on is also handed to the observer, which may outlive
    // the host: so are the breaches of a shut-down that deletes it.
    void set_error_observer(std::function<void(const std::string&)> observer) { error_observer_ = std::move(observer); }

    // Fault injection: the nth call of the operation from now on (1: the next
    // one) raises value as the host's int exception, before it has any effect.
    // Several faults may wait at once, also on the same operation.
    void fail_call(SimOperation operation, int32_t nth = 1, int32_t value = 1);
    bool fail_call(const char* operation_name, int32_t nth = 1, int32_t value = 1);  // false: no such operation
    // The nth call of an operation that returns a handle answers none instead
    // of running (open_stream_for_write then leaves the record as it was).
    // False for an operation that returns no handle, or an unknown name.
    bool answer_none(SimOperation operation, int32_t nth = 1);
    bool answer_none(const char* operation_name, int32_t nth = 1);
    void clear_faults() { faults_.clear(); }
    int32_t faults_raised() const { return faults_raised_; }

    // The call log, every call in order (failed ones too), and the number of
    // calls of each operation. clear_calls empties both.
    const std::vector<SimCall>& calls() const { return calls_; }
    std::vector<SimCall> calls(SimOperation operation) const;
    int32_t call_count(SimOperation operation) const;
    int32_t call_count(const char* operation_name) const;  // 0 for an unknown name
    void clear_calls();
    // One line per logged call (sim_call_text).
    std::string call_report() const;
    // Off: calls are counted but neither they nor reference events are kept,
    // and a call allocates nothing (a long interactive session, or a test that
    // counts allocations).
    void set_call_logging(bool on) { call_logging_ = on; }
    // Told of every call as it begins, before it fails or takes effect; an
    // interactive host repaints from here.
    void set_call_observer(std::function<void(const SimCall&)> observer) { call_observer_ = std::move(observer); }

    // For the handles. Every operation begins with enter: it logs the call,
    // notes a call on a removed shape as an error, and raises an injected
    // failure if one is due. False: answer none (answer_none), do nothing.
    bool enter(SimOperation operation, const SimHandle& via, std::initializer_list<int32_t> ints = {},
               std::initializer_list<float> floats = {}, const char* text = nullptr);
    void register_handle(SimHandle* handle);
    void unregister_handle(SimHandle* handle);
    void record_reference(const SimHandle& handle, SimReferenceChange change);
    void record_over_release(const SimHandle& handle, const std::string& why);
    // A counted handle made for one caller, carrying its reference. The host
    // keeps the object (dead or alive) for its whole life.
    template <class Handle, class... Arguments>
    Handle* make_counted(Arguments&&... arguments)
    {
        auto handle = std::make_shared<Handle>(std::forward<Arguments>(arguments)..., SimHandleLife::counted);
        counted_handles_.push_back(handle);
        handle->hand_out();
        return handle.get();
    }
    // A new stream handle on the record. A stream opened for reading starts
    // at the record's end, not at its beginning: the reader seeks first.
    HostStream* open_stream(SimShape& shape, int32_t key, SimStreamRecord record, const char* purpose,
                            bool for_reading);
    int32_t stream_references(const SimShape& shape) const;

private:
    struct Fault {
        SimOperation operation;
        int32_t calls_left;
        int32_t value;
        bool answer_none;
    };
    enum class Outcome { run, raise, answer_none };

    Outcome record_call(SimOperation operation, const SimHandle& via, std::initializer_list<int32_t> ints,
                     std::initializer_list<float> floats, const char* text, int32_t* fault_value);

    // Declared first, destroyed last: the handles below unregister from them.
    std::map<const HostUnknown*, SimHandle*> handles_;
    // References held now, per shape, kept as they change: a scan of every handle ever
    // made costs a long run more at each check the longer it runs.
    std::map<const SimShape*, int32_t> shape_references_;
    std::vector<std::string> errors_;
    std::vector<SimCall> calls_;
    std::vector<SimReferenceEvent> reference_events_;
    std::array<int32_t, sim_operation_count> call_counts_{};
    bool call_logging_ = true;
    std::function<void(const SimCall&)> call_observer_;
    std::function<void(const std::string&)> error_observer_;
    std::vector<Fault> faults_;
    int32_t faults_raised_ = 0;
    int32_t over_releases_ = 0;
    int32_t outstanding_ = 0;
    int32_t sequence_ = 0;
    int32_t stream_count_ = 0;

    bool auto_key_ = false;
    bool uses_japanese_ = false;
    HWND main_window_ = nullptr;
    bool no_current_scene_ = false;

    std::vector<std::unique_ptr<SimScene>> scenes_;
    SimScene* current_scene_ = nullptr;
    std::vector<SimStreamHandle*> streams_;
    std::vector<std::shared_ptr<void>> counted_handles_;  // streams among them
    std::unique_ptr<SimApplicationHandle> application_;
};
