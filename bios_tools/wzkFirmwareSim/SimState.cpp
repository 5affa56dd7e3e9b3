#include "SimState.h"

#include "RequestLog.h"
#include "SimClassObject.h"
#include "SimText.h"
#include "common/EnvironmentVariable.h"
#include "common/ModulePath.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace sim {
namespace {

void SetDefaults(FirmwareSimConfig& config) {
    config = FirmwareSimConfig{};
    config.instancePresent = TRUE;
    config.echo = TRUE;
    config.returnCodeType = VT_I4;
    config.dataType = VT_ARRAY | VT_UI1;
    config.outParamsPresent = TRUE;
    config.outDataType = VT_UNKNOWN;
}

// The file a client developer names, else this one beside the DLL.
const wchar_t kScenarioVariable[] = L"WZK_FIRMWARE_SIM_SCENARIO";
const wchar_t kDefaultScenarioName[] = L"wzkFirmwareSim.ini";

struct State {
    CRITICAL_SECTION lock;
    FirmwareSimConfig config;
    std::string log;
    std::vector<TrackedObject*> objects;
    LONG overReleases = 0;
    bool failureUsed = false;
    // A program drives the simulator through FirmwareSim.h.
    bool driven = false;
    Scenario scenario;
    // Why the scenario cannot be used; every request then fails with it.
    HRESULT scenarioError = S_OK;
};

State& TheState() {
    static State* state = [] {
        auto created = new State();
        ::InitializeCriticalSection(&created->lock);
        SetDefaults(created->config);
        return created;
    }();
    return *state;
}

class Locked {
public:
    Locked() { ::EnterCriticalSection(&TheState().lock); }
    ~Locked() { ::LeaveCriticalSection(&TheState().lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};

size_t CopyOut(const std::string& text, char* buffer, size_t size) {
    if (buffer != nullptr && size != 0) {
        size_t count = text.size() < size - 1 ? text.size() : size - 1;
        std::memcpy(buffer, text.data(), count);
        buffer[count] = '\0';
    }
    return text.size();
}

// Restores the built-in answers, then applies the file. The caller holds the lock.
HRESULT LoadScenario(State& state, const std::wstring& path) {
    SetDefaults(state.config);
    state.failureUsed = false;
    std::string message;
    state.scenarioError = state.scenario.Load(path.c_str(), message);
    if (FAILED(state.scenarioError)) {
        state.scenario = Scenario();
        std::string line = "scenario error: " + Narrow(path.c_str()) + ": " + message;
        if (state.driven) {
            state.log += line + '\n';
        }
        AppendToRequestLog(line);
        // Also for a developer who has no request log but a debugger.
        ::OutputDebugStringA((line + "\n").c_str());
        return state.scenarioError;
    }
    std::snprintf(state.config.failAt, sizeof state.config.failAt, "%s",
                  state.scenario.FailureStep().c_str());
    state.config.failure = state.scenario.Failure();
    return S_OK;
}

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// This DLL, not the program that loaded it.
HMODULE OwnModule() {
    HMODULE self = nullptr;
    return ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                    GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                reinterpret_cast<LPCWSTR>(&OwnModule), &self)
               ? self
               : nullptr;
}

std::wstring DefaultScenarioPath() {
    wchar_t folder[MAX_PATH] = {};
    DWORD length = OwnModule() != nullptr ? ModuleFolder(OwnModule(), folder, MAX_PATH) : 0;
    return std::wstring(folder, length) + kDefaultScenarioName;
}

} // namespace

FirmwareSimConfig Config() {
    Locked lock;
    return TheState().config;
}

HRESULT StartRequest() {
    Locked lock;
    State& state = TheState();
    if (state.driven) {
        return state.scenarioError;
    }
    std::wstring path = EnvironmentVariable(kScenarioVariable);
    if (path.empty() && FileExists(DefaultScenarioPath())) {
        path = DefaultScenarioPath();
    }
    if (path.empty()) {
        state.scenario = Scenario();
        SetDefaults(state.config);
        state.scenarioError = S_OK;
        return S_OK;
    }
    return LoadScenario(state, path);
}

bool ScenarioAnswerFor(LONG command, LONG commandType, ScenarioAnswer& answer) {
    Locked lock;
    const ScenarioAnswer* found = TheState().scenario.AnswerFor(command, commandType);
    if (found != nullptr) {
        answer = *found;
    }
    return found != nullptr;
}

std::vector<ULONG> ScenarioOutputSizes() {
    Locked lock;
    return TheState().scenario.OutputSizes();
}

HRESULT Record(const std::string& request, HRESULT natural, FileLine fileLine) {
    Locked lock;
    State& state = TheState();
    HRESULT outcome = natural;
    size_t failAtLength = std::strlen(state.config.failAt);
    if (!state.failureUsed && failAtLength != 0 &&
        request.compare(0, failAtLength, state.config.failAt) == 0) {
        state.failureUsed = true;
        outcome = state.config.failure;
    }
    std::string line = request;
    if (FAILED(outcome)) {
        line += " -> " + HexOf(static_cast<unsigned long>(outcome));
        if (fileLine == FileLine::OnFailure) {
            AppendToRequestLog("failed: " + line);
        }
    }
    // A client that runs for long would otherwise grow the log without end.
    if (state.driven) {
        state.log += line + '\n';
    }
    return outcome;
}

std::wstring OwnPath() {
    wchar_t path[MAX_PATH] = {};
    DWORD length = OwnModule() != nullptr ? ModuleFilePath(OwnModule(), path, MAX_PATH) : 0;
    return std::wstring(path, length);
}

TrackedObject::TrackedObject(std::string name) : m_name(std::move(name)) {
    Locked lock;
    m_tracked = TheState().driven;
    if (m_tracked) {
        TheState().objects.push_back(this);
    }
}

ULONG TrackedObject::AddRefTracked() {
    return ::InterlockedIncrement(&m_references);
}

ULONG TrackedObject::ReleaseTracked() {
    LONG left = ::InterlockedDecrement(&m_references);
    if (left < 0) {
        ::InterlockedIncrement(&m_references);
        Locked lock;
        ++TheState().overReleases;
        return 0;
    }
    if (left == 0) {
        OnFinalRelease();
        if (!m_tracked) {
            delete this;
        }
    }
    return static_cast<ULONG>(left);
}

} // namespace sim

using sim::Locked;
using sim::TheState;

void FirmwareSim_Reset(void) {
    Locked lock;
    sim::State& state = TheState();
    state.driven = true;
    state.scenario = sim::Scenario();
    state.scenarioError = S_OK;
    sim::SetDefaults(state.config);
    state.log.clear();
    // Objects of earlier requests stay in memory (see TrackedObject) but are
    // no longer counted.
    state.objects.clear();
    state.overReleases = 0;
    state.failureUsed = false;
}

HRESULT FirmwareSim_LoadScenario(const wchar_t* path) {
    Locked lock;
    TheState().driven = true;
    return sim::LoadScenario(TheState(), path != nullptr ? path : L"");
}

FirmwareSimConfig* FirmwareSim_Config(void) {
    return &TheState().config;
}

size_t FirmwareSim_ReadLog(char* buffer, size_t size) {
    Locked lock;
    return sim::CopyOut(TheState().log, buffer, size);
}

LONG FirmwareSim_LiveObjects(void) {
    Locked lock;
    LONG live = 0;
    for (const sim::TrackedObject* object : TheState().objects) {
        live += object->References() > 0 ? 1 : 0;
    }
    return live;
}

size_t FirmwareSim_DescribeLiveObjects(char* buffer, size_t size) {
    Locked lock;
    std::string text;
    for (const sim::TrackedObject* object : TheState().objects) {
        if (object->References() > 0) {
            text += object->Name() + " refs=" + std::to_string(object->References()) + "\n";
        }
    }
    return sim::CopyOut(text, buffer, size);
}

LONG FirmwareSim_ObjectsHandedOut(void) {
    Locked lock;
    return static_cast<LONG>(TheState().objects.size());
}

LONG FirmwareSim_OverReleases(void) {
    Locked lock;
    return TheState().overReleases;
}
