// The simulator's process-wide state: configuration, request log and the
// reference counts of every object it has handed out. Safe for calls from
// several threads.
#pragma once

#include "FirmwareSim.h"

#include <string>

namespace sim {

const FirmwareSimConfig& Config();

// Logs one request and returns its outcome: `natural` (what the simulated
// firmware does anyway), unless this request is the configured failing step.
// A failing outcome is noted at the end of the line.
HRESULT Record(const std::string& request, HRESULT natural = S_OK);

std::string Narrow(const wchar_t* text);
// "0x8004100C" (eight digits, for HRESULTs) and "0x30" (for flags).
std::string HexOf(unsigned long value);
std::string ShortHex(unsigned long value);
// "VT_I4 7", "VT_ARRAY|VT_UI1 [53 45 43 55]", "VT_UNKNOWN wzkBDataIn()", ...
std::string Describe(const VARIANT& value);

// Base of every COM object the simulator hands out. Objects start with one
// reference (the one handed out). They are never deleted while the process
// runs: a Release after the last one is then counted instead of corrupting
// memory, which lets a test detect it.
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
};

} // namespace sim
