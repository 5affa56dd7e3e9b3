// What one wzkCallBios call gave, printed for a person (a hex dump of the
// output) or as one JSON object for a script:
//   {"hresult":"0x00000000","message":"Success.","returnCode":0,"output":"0a0b"}
// "message" is null when the system has no text for the HRESULT; "output" is
// null when the call failed.
#pragma once

#include <windows.h>

struct CallOutcome {
    HRESULT hr = E_FAIL;
    LONG returnCode = -1;
    const BYTE* output = nullptr;
    ULONG outputSize = 0;
};

class CallReport {
public:
    explicit CallReport(const CallOutcome& outcome) : m_outcome(outcome) {}

    void PrintText() const;
    void PrintJson() const;

private:
    void PrintDump() const;

    const CallOutcome& m_outcome;
};
