// The simulator's process-wide state: configuration, scenario, request log
// and the reference counts of every object it has handed out. Safe for calls
// from several threads.
//
// Two ways to drive it. A program that uses FirmwareSim.h (our tests) owns
// the configuration from its first FirmwareSim_Reset on: objects are tracked
// and the detailed log is kept. Any other client gets the scenario file,
// read afresh for each request, and objects that are freed when released.
#pragma once

#include "FirmwareSim.h"
#include "Scenario.h"

#include <string>
#include <vector>

namespace sim {

// A copy of the configuration, taken under the lock that a new request's
// reset of it holds: a request on another thread never sees it half written.
FirmwareSimConfig Config();

// Where a client's request begins (COM creates the locator): reads the
// scenario file unless a program drives the simulator. Returns the failure
// that a scenario which cannot be used gives every request, or S_OK.
HRESULT StartRequest();
// The scenario's answer for a request; false when it gives none.
bool ScenarioAnswerFor(LONG command, LONG commandType, ScenarioAnswer& answer);
std::vector<ULONG> ScenarioOutputSizes();

// How a step appears in the developer's request log (RequestLog.h).
enum class FileLine { OnFailure, Own };

// Logs one request and returns its outcome: `natural` (what the simulated
// firmware does anyway), unless this request is the configured failing step.
// A failing outcome is noted at the end of the line, and in the request log
// unless the caller writes its own line there.
HRESULT Record(const std::string& request, HRESULT natural = S_OK,
               FileLine fileLine = FileLine::OnFailure);

// The full path of this DLL; empty if it does not fit MAX_PATH.
std::wstring OwnPath();

// A COM method that the library never calls: it fails with
// WBEM_E_NOT_SUPPORTED and logs "Unexpected ..." through the class' own
// Unexpected(name), so that a client which calls it shows in the log.
#define SIM_UNEXPECTED(name, parameters)                                                           \
    STDMETHODIMP name parameters override {                                                        \
        return Unexpected(#name);                                                                  \
    }

// Base of every COM object the simulator hands out. Objects start with one
// reference (the one handed out). While a program drives the simulator they
// are never deleted: a Release after the last one is then counted instead
// of corrupting memory, which lets a test detect it.
class TrackedObject {
public:
    const std::string& Name() const { return m_name; }
    LONG References() const { return m_references; }

protected:
    explicit TrackedObject(std::string name);
    virtual ~TrackedObject() = default;
    ULONG AddRefTracked();
    ULONG ReleaseTracked();
    // Drops what the object holds once nobody references it.
    virtual void OnFinalRelease() {}

private:
    std::string m_name;
    volatile LONG m_references = 1;
    bool m_tracked;
};

} // namespace sim
