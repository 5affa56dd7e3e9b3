// One BIOS request through WMI: connects to "\\.\root\wmi" on construction,
// sends the request in Call and lets every interface go on destruction. Used
// for exactly one call, on the calling thread, which must have COM initialised.
#pragma once

#include "common/ComPtr.h"

#include <wbemcli.h>

class WmiBiosSession {
public:
    WmiBiosSession();
    virtual ~WmiBiosSession() = default; // members release services, then locator
    WmiBiosSession(const WmiBiosSession&) = delete;
    WmiBiosSession& operator=(const WmiBiosSession&) = delete;

    HRESULT Call(LONG command, LONG commandType, ULONG inputSize, ULONG outputSize,
                 LONG* returnCode, const BYTE* input, BYTE* output);

    // Runs the firmware method; stores the return code through returnCode on every path.
    HRESULT ExecuteBiosMethod(LONG command, LONG commandType, ULONG inputSize, ULONG outputSize,
                              LONG* returnCode, VARIANT* input, VARIANT* output);
    // Fills the request record and makes it the "InData" of the method's input.
    HRESULT FillInData(IWbemClassObject* inParams, ComPtr<IWbemClassObject> record, VARIANT* input);
    // The first instance of a class, or none (with a success code) when it has none.
    HRESULT GetFirstInstance(BSTR className, ComPtr<IWbemClassObject>& instance);
    // Reads the return code and, when output is expected, "Data" into output.
    HRESULT ReadOutData(ComPtr<IWbemClassObject> outParams, VARIANT* output);

private:
    HRESULT RunBiosMethod(VARIANT* input, VARIANT* output);

    // Declared in order of acquisition, so they are released in reverse.
    ComPtr<IWbemLocator> m_pLocator;
    ComPtr<IWbemServices> m_pServices;
    HRESULT m_hrStatus = S_OK;
    LONG m_nReturnCode = -1;
    LONG m_nCommand = 0;
    LONG m_nCommandType = 0;
    ULONG m_nInputSize = 0;
    ULONG m_nOutputSize = 0;
};
