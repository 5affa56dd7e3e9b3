#include "WmiBiosSession.h"

#include "OleHolders.h"
#include "wzkWmiBios.h"
#include "common/ResultMacros.h"

#include <cwchar>
#include <utility>

namespace {

const VARTYPE kByteArray = VT_ARRAY | VT_UI1;
// The request record's signature: the firmware ignores requests without it.
const BYTE kRequestSignature[] = {'S', 'E', 'C', 'U'};
const LONG kInstanceTimeoutMs = 2000;

// A WMI call that reports success but hands back no object would otherwise
// be dereferenced; it fails the request instead.
template <class Interface> HRESULT FailIfNoObject(HRESULT hr, const ComPtr<Interface>& result) {
    return SUCCEEDED(hr) && !result ? E_UNEXPECTED : hr;
}

// "wzkBIOSInt" followed by the output size in decimal (format "wzkBIOSInt%ld").
// The buffer holds the longest 32-bit value, so no size is ever cut short into
// the name of another method.
BSTR MethodNameFor(ULONG outputSize) {
    wchar_t name[24] = {};
    _snwprintf(name, 23, L"wzkBIOSInt%ld", static_cast<long>(outputSize));
    return ::SysAllocString(name);
}

// A byte vector with lower bound 0; each element is stored on its own, and a
// store that fails fails the request, so no byte goes missing unnoticed.
HRESULT CreateByteVector(const BYTE* bytes, ULONG count, UniqueSafeArray& vector) {
    vector.reset(::SafeArrayCreateVector(VT_UI1, 0, count));
    if (!vector) {
        return E_OUTOFMEMORY;
    }
    for (LONG i = 0; bytes != nullptr && i < static_cast<LONG>(count); ++i) {
        BYTE value = bytes[i];
        HRESULT hr = ::SafeArrayPutElement(vector.get(), &i, &value);
        if (FAILED(hr)) {
            return hr;
        }
    }
    return S_OK;
}

VARIANT ByteArrayValue(SAFEARRAY* array) {
    VARIANT value;
    ::VariantInit(&value);
    V_VT(&value) = kByteArray;
    V_ARRAY(&value) = array;
    return value;
}

// The firmware's answer goes to the caller only as a one-dimensional byte
// array of exactly the expected length; anything else (another length, another
// element type, no array) leaves the buffer alone. The element size is checked
// besides the type tag: a provider's array tagged as bytes but holding wider
// elements would have each element copied over the one-byte variable below.
bool CopyAnswer(const VARIANT& answer, ULONG outputSize, BYTE* output) {
    SAFEARRAY* array = V_VT(&answer) == kByteArray ? V_ARRAY(&answer) : nullptr;
    LONG lower = 0;
    LONG upper = -1;
    if (array == nullptr || ::SafeArrayGetDim(array) != 1 || ::SafeArrayGetElemsize(array) != 1 ||
        FAILED(::SafeArrayGetLBound(array, 1, &lower)) ||
        FAILED(::SafeArrayGetUBound(array, 1, &upper)) ||
        static_cast<LONGLONG>(upper) - lower + 1 != static_cast<LONGLONG>(outputSize)) {
        return false;
    }
    for (ULONG i = 0; i < outputSize; ++i) {
        LONG index = lower + static_cast<LONG>(i);
        BYTE value = 0;
        if (SUCCEEDED(::SafeArrayGetElement(array, &index, &value))) {
            output[i] = value;
        }
    }
    return true;
}

// "rwReturnCode" as a 32-bit integer. A value without a number (empty or
// null) is no answer, rather than whatever bits the VARIANT happens to hold.
HRESULT ReturnCodeOf(VARIANT* value, LONG& returnCode) {
    switch (V_VT(value)) {
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
        returnCode = V_I4(value);
        return S_OK;
    case VT_EMPTY:
    case VT_NULL:
        return DISP_E_TYPEMISMATCH;
    default: {
        HRESULT hr = ::VariantChangeType(value, value, 0, VT_I4);
        if (SUCCEEDED(hr)) {
            returnCode = V_I4(value);
        }
        return hr;
    }
    }
}

} // namespace

WmiBiosSession::WmiBiosSession() {
    // Process-wide and allowed once: later calls fail harmlessly.
    ::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_CONNECT,
                           RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    m_hrStatus = FailIfNoObject(::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                                   IID_IWbemLocator, m_pLocator.put_void()),
                                m_pLocator);
    if (FAILED(m_hrStatus)) {
        m_pLocator.reset();
        return;
    }
    UniqueBstr wmiNamespace(::SysAllocString(L"\\\\.\\root\\wmi"));
    m_hrStatus = wmiNamespace
                     ? FailIfNoObject(m_pLocator->ConnectServer(wmiNamespace.get(), nullptr,
                                                                nullptr, nullptr, 0, nullptr,
                                                                nullptr, m_pServices.put()),
                                      m_pServices)
                     : E_OUTOFMEMORY;
    if (FAILED(m_hrStatus)) {
        m_pServices.reset();
        m_pLocator.reset();
        return;
    }
    // Kept for systems before Windows 2000, whose WMI proxy must be told to impersonate.
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    ::GetVersionExA(&version);
    if (version.dwMajorVersion <= 4) {
        m_hrStatus = ::CoSetProxyBlanket(m_pServices.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE,
                                         nullptr, RPC_C_AUTHN_LEVEL_CONNECT,
                                         RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
        if (FAILED(m_hrStatus)) {
            m_pServices.reset();
            m_pLocator.reset();
        }
    }
}

HRESULT WmiBiosSession::Call(LONG command, LONG commandType, ULONG inputSize, ULONG outputSize,
                             LONG* returnCode, const BYTE* input, BYTE* output) {
    LONG unwanted = -1;
    if (returnCode == nullptr) {
        returnCode = &unwanted;
    }
    *returnCode = -1;
    if (!m_pServices) {
        return m_hrStatus;
    }
    if ((inputSize != 0 && input == nullptr) || (outputSize != 0 && output == nullptr)) {
        return E_POINTER;
    }
    UniqueSafeArray requestBytes;
    UniqueSafeArray answerBytes;
    HRESULT hr = inputSize != 0 ? CreateByteVector(input, inputSize, requestBytes) : S_OK;
    if (SUCCEEDED(hr) && outputSize != 0) {
        hr = CreateByteVector(nullptr, outputSize, answerBytes);
    }
    if (FAILED(hr)) {
        return hr;
    }
    // Both VARIANTs borrow the arrays above; reading "Data" overwrites the
    // answer VARIANT without freeing what it held, and from then on the
    // VARIANT owns the array WMI handed back.
    VARIANT request = ByteArrayValue(requestBytes.get());
    VARIANT answer = ByteArrayValue(answerBytes.get());
    hr = ExecuteBiosMethod(command, commandType, inputSize, outputSize, returnCode, &request,
                           &answer);
    UniqueVariant received;
    if (V_VT(&answer) != kByteArray || V_ARRAY(&answer) != answerBytes.get()) {
        received.adopt(answer);
    }
    if (SUCCEEDED(hr) && outputSize != 0 && !CopyAnswer(*received.get(), outputSize, output)) {
        *returnCode = WZK_BIOS_ANSWER_SIZE_MISMATCH;
    }
    return hr;
}

HRESULT WmiBiosSession::ExecuteBiosMethod(LONG command, LONG commandType, ULONG inputSize,
                                          ULONG outputSize, LONG* returnCode, VARIANT* input,
                                          VARIANT* output) {
    m_nCommand = command;
    m_nCommandType = commandType;
    m_nInputSize = inputSize;
    m_nOutputSize = outputSize;
    HRESULT hr = RunBiosMethod(input, output);
    *returnCode = m_nReturnCode;
    return hr;
}

HRESULT WmiBiosSession::RunBiosMethod(VARIANT* input, VARIANT* output) {
    UniqueBstr methodName(MethodNameFor(m_nOutputSize));
    UniqueBstr biosClassName(::SysAllocString(L"wzkBIntM"));
    UniqueBstr requestClassName(::SysAllocString(L"wzkBDataIn"));
    if (!methodName || !biosClassName || !requestClassName) {
        return E_OUTOFMEMORY;
    }
    ComPtr<IWbemClassObject> biosClass;
    RETURN_IF_FAILED(FailIfNoObject(
        m_pServices->GetObject(biosClassName.get(), 0, nullptr, biosClass.put(), nullptr),
        biosClass));
    ComPtr<IWbemClassObject> inSignature;
    RETURN_IF_FAILED(FailIfNoObject(
        biosClass->GetMethod(methodName.get(), 0, inSignature.put(), nullptr), inSignature));
    ComPtr<IWbemClassObject> inParams;
    RETURN_IF_FAILED(FailIfNoObject(inSignature->SpawnInstance(0, inParams.put()), inParams));
    ComPtr<IWbemClassObject> record;
    {
        ComPtr<IWbemClassObject> requestClass;
        RETURN_IF_FAILED(FailIfNoObject(
            m_pServices->GetObject(requestClassName.get(), 0, nullptr, requestClass.put(), nullptr),
            requestClass));
        RETURN_IF_FAILED(FailIfNoObject(requestClass->SpawnInstance(0, record.put()), record));
    }
    RETURN_IF_FAILED(FillInData(inParams.get(), std::move(record), input));
    UniqueVariant path;
    {
        ComPtr<IWbemClassObject> instance;
        RETURN_IF_FAILED(GetFirstInstance(biosClassName.get(), instance));
        if (instance) {
            RETURN_IF_FAILED(instance->Get(L"__PATH", 0, path.put(), nullptr, nullptr));
        }
    }
    BSTR objectPath = V_VT(path.get()) == VT_BSTR ? V_BSTR(path.get()) : nullptr;
    ComPtr<IWbemClassObject> outParams;
    RETURN_IF_FAILED(m_pServices->ExecMethod(objectPath, methodName.get(), 0, nullptr,
                                             inParams.get(), outParams.put(), nullptr));
    return ReadOutData(std::move(outParams), output);
}

HRESULT WmiBiosSession::FillInData(IWbemClassObject* inParams, ComPtr<IWbemClassObject> record,
                                   VARIANT* input) {
    {
        UniqueSafeArray sign;
        RETURN_IF_FAILED(CreateByteVector(kRequestSignature, sizeof kRequestSignature, sign));
        VARIANT value = ByteArrayValue(sign.get());
        RETURN_IF_FAILED(record->Put(L"Sign", 0, &value, 0));
    }
    const struct {
        const wchar_t* name;
        LONG value;
    } numbers[] = {{L"Command", m_nCommand},
                   {L"CommandType", m_nCommandType},
                   {L"Size", static_cast<LONG>(m_nInputSize)}};
    for (const auto& number : numbers) {
        UniqueVariant value;
        V_VT(value.get()) = VT_I4;
        V_I4(value.get()) = number.value;
        RETURN_IF_FAILED(record->Put(number.name, 0, value.get(), 0));
    }
    RETURN_IF_FAILED(record->Put(L"wzkBData", 0, input, 0));
    // The VARIANT takes this function's reference to the record; clearing it
    // leaves the input parameters object with the only one.
    UniqueVariant inData;
    V_VT(inData.get()) = VT_UNKNOWN;
    V_UNKNOWN(inData.get()) = record.detach();
    return inParams->Put(L"InData", 0, inData.get(), 0);
}

HRESULT WmiBiosSession::GetFirstInstance(BSTR className, ComPtr<IWbemClassObject>& instance) {
    ComPtr<IEnumWbemClassObject> instances;
    RETURN_IF_FAILED(FailIfNoObject(
        m_pServices->CreateInstanceEnum(className,
                                        WBEM_FLAG_RETURN_IMMEDIATELY | WBEM_FLAG_FORWARD_ONLY,
                                        nullptr, instances.put()),
        instances));
    ULONG returned = 0;
    return instances->Next(kInstanceTimeoutMs, 1, instance.put(), &returned);
}

HRESULT WmiBiosSession::ReadOutData(ComPtr<IWbemClassObject> outParams, VARIANT* output) {
    if (!outParams) {
        return E_UNEXPECTED;
    }
    UniqueVariant outData;
    HRESULT hr = outParams->Get(L"OutData", 0, outData.put(), nullptr, nullptr);
    outParams.reset();
    RETURN_IF_FAILED(hr);
    VARTYPE type = V_VT(outData.get());
    IUnknown* embedded = type == VT_UNKNOWN    ? V_UNKNOWN(outData.get())
                         : type == VT_DISPATCH ? V_DISPATCH(outData.get())
                                               : nullptr;
    if (embedded == nullptr) {
        return DISP_E_TYPEMISMATCH;
    }
    ComPtr<IWbemClassObject> answer;
    RETURN_IF_FAILED(
        FailIfNoObject(embedded->QueryInterface(IID_IWbemClassObject, answer.put_void()), answer));
    UniqueVariant returnCodeValue;
    LONG returnCode = -1;
    hr = answer->Get(L"rwReturnCode", 0, returnCodeValue.put(), nullptr, nullptr);
    if (SUCCEEDED(hr)) {
        hr = ReturnCodeOf(returnCodeValue.get(), returnCode);
    }
    if (SUCCEEDED(hr) && m_nOutputSize != 0) {
        hr = answer->Get(L"Data", 0, output, nullptr, nullptr);
    }
    // The firmware's return code counts only with a complete answer; a
    // failure on the way leaves -1.
    if (SUCCEEDED(hr)) {
        m_nReturnCode = returnCode;
    }
    return hr;
}
