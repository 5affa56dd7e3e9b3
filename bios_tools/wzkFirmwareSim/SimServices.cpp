#include "SimServices.h"

#include "RequestLog.h"
#include "SimText.h"

#include <algorithm>

namespace sim {
namespace {

const wchar_t kInstancePath[] =
    L"\\\\SIM\\root\\wmi:wzkBIntM.InstanceName=\"ACPI\\\\PNP0C14\\\\0_0\"";

std::string Extras(LONG flags, const void* context, const void* callResult = nullptr) {
    std::string text;
    if (flags != 0) {
        text += " flags=" + ShortHex(flags);
    }
    if (context != nullptr) {
        text += " context=set";
    }
    if (callResult != nullptr) {
        text += " callresult=requested";
    }
    return text;
}

template <class Interface>
HRESULT QueryOwn(Interface* self, const IID& own, REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (iid != IID_IUnknown && iid != own) {
        return E_NOINTERFACE;
    }
    *object = self;
    self->AddRef();
    return S_OK;
}

LONG RecordNumber(const SimClassObject& record, const wchar_t* name) {
    const VARIANT* value = record.Property(name);
    return V_VT(value) == VT_I4 ? V_I4(value) : 0;
}

std::vector<BYTE> RecordBytes(const SimClassObject& record) {
    const VARIANT* input = record.Property(L"wzkBData");
    std::vector<LONG> numbers;
    if (V_VT(input) == (VT_ARRAY | VT_UI1)) {
        ArrayNumbers(V_ARRAY(input), VT_UI1, numbers);
    }
    return std::vector<BYTE>(numbers.begin(), numbers.end());
}

// The scenario's answer, else the configured one, else the echo of the
// request: "rwReturnCode" = "Command" and "Data" = the method's size in bytes
// taken from "wzkBData", zero-padded.
ScenarioAnswer ChooseAnswer(const SimClassObject& record, ULONG methodSize) {
    const FirmwareSimConfig config = Config();
    ScenarioAnswer answer;
    if (ScenarioAnswerFor(RecordNumber(record, L"Command"), RecordNumber(record, L"CommandType"),
                          answer)) {
        return answer;
    }
    if (!config.echo) {
        answer.returnCode = config.returnCode;
        answer.data.assign(config.data,
                           config.data + std::min<ULONG>(config.dataSize, sizeof config.data));
        return answer;
    }
    answer.returnCode = RecordNumber(record, L"Command");
    answer.data = RecordBytes(record);
    answer.data.resize(methodSize, 0);
    return answer;
}

// The developer's log line: "request command=16 (0x10) type=2 input=[01 02]
// method=wzkBIOSInt4 -> returnCode=0 data=[0A 0B 0C 0D]".
std::string RequestLine(const SimClassObject* record, const BSTR method) {
    std::string line = "request";
    if (record != nullptr) {
        LONG command = RecordNumber(*record, L"Command");
        line += " command=" + std::to_string(command) + " (" + ShortHex(command) +
                ") type=" + std::to_string(RecordNumber(*record, L"CommandType")) +
                " input=" + ByteList(RecordBytes(*record));
    }
    return line + " method=" + Narrow(method) + " -> ";
}

VARIANT DataValue(const std::vector<BYTE>& bytes, VARTYPE type, BOOL wideElements) {
    VARIANT value;
    ::VariantInit(&value);
    V_VT(&value) = type;
    if (type == (VT_ARRAY | VT_UI1) || type == (VT_ARRAY | VT_I4)) {
        VARTYPE element = wideElements ? VT_I4 : type & ~VT_ARRAY;
        V_ARRAY(&value) = ::SafeArrayCreateVector(element, 0, static_cast<ULONG>(bytes.size()));
        for (LONG i = 0; i < static_cast<LONG>(bytes.size()); ++i) {
            LONG number = bytes[i];
            BYTE byte = bytes[i];
            ::SafeArrayPutElement(V_ARRAY(&value), &i,
                                  element == VT_UI1 ? static_cast<void*>(&byte) : &number);
        }
    } else if (type == VT_BSTR) {
        V_BSTR(&value) = ::SysAllocString(L"data");
    } else {
        V_I4(&value) = 0;
    }
    return value;
}

VARIANT ReturnCodeValue(LONG returnCode, VARTYPE type) {
    VARIANT value;
    ::VariantInit(&value);
    V_VT(&value) = VT_I4;
    V_I4(&value) = returnCode;
    if (type == VT_NULL || type == VT_EMPTY) {
        V_VT(&value) = type;
    } else if (type != VT_I4) {
        ::VariantChangeType(&value, &value, 0, type);
    }
    return value;
}

// The method's output parameters object, holding the answer in "OutData".
SimClassObject* BuildAnswer(const ScenarioAnswer& chosen, ULONG methodSize) {
    const FirmwareSimConfig config = Config();
    SimClassObject* answer = SimClassObject::Create(SimClassObject::Kind::Instance, "wzkBDataOut()",
                                                    {L"rwReturnCode", L"Data"});
    VARIANT value = ReturnCodeValue(chosen.returnCode, config.returnCodeType);
    answer->Assign(L"rwReturnCode", value);
    value = DataValue(chosen.data, config.dataType, config.dataWideElements);
    answer->Assign(L"Data", value);

    SimClassObject* out =
        SimClassObject::Create(SimClassObject::Kind::Instance,
                               Narrow(MethodName(methodSize).c_str()) + ".Out()", {L"OutData"});
    ::VariantInit(&value);
    V_VT(&value) = config.outDataType;
    if (config.outDataType == VT_UNKNOWN && !config.outDataNullObject) {
        V_UNKNOWN(&value) = static_cast<IWbemClassObject*>(answer); // takes the reference
    } else {
        V_UNKNOWN(&value) = nullptr;
        answer->Release();
    }
    out->Assign(L"OutData", value);
    return out;
}

} // namespace

// --- SimEnumerator ------------------------------------------------------------

SimEnumerator::SimEnumerator(SimClassObject* instance)
    : TrackedObject("wzkBIntM instances"), m_instance(instance) {}

void SimEnumerator::OnFinalRelease() {
    if (m_instance != nullptr) {
        m_instance->Release();
        m_instance = nullptr;
    }
}

STDMETHODIMP SimEnumerator::QueryInterface(REFIID iid, void** object) {
    return QueryOwn<IEnumWbemClassObject>(this, IID_IEnumWbemClassObject, iid, object);
}

STDMETHODIMP SimEnumerator::Next(LONG timeout, ULONG count, IWbemClassObject** objects,
                                 ULONG* returned) {
    HRESULT hr = Record(
        "Next wzkBIntM timeout=" + std::to_string(timeout) + " count=" + std::to_string(count),
        objects == nullptr || returned == nullptr ? HRESULT(WBEM_E_INVALID_PARAMETER) : S_OK);
    if (FAILED(hr)) {
        return hr;
    }
    *returned = 0;
    if (m_instance == nullptr || m_delivered || count == 0) {
        return HRESULT(WBEM_S_FALSE);
    }
    m_delivered = true;
    m_instance->AddRef();
    objects[0] = m_instance;
    *returned = 1;
    return count == 1 ? HRESULT(WBEM_S_NO_ERROR) : HRESULT(WBEM_S_FALSE);
}

HRESULT SimEnumerator::Unexpected(const char* method) {
    return Record(std::string("Unexpected IEnumWbemClassObject::") + method,
                  HRESULT(WBEM_E_NOT_SUPPORTED));
}

// --- SimServices --------------------------------------------------------------

SimServices::SimServices() : TrackedObject("root\\wmi") {}

STDMETHODIMP SimServices::QueryInterface(REFIID iid, void** object) {
    return QueryOwn<IWbemServices>(this, IID_IWbemServices, iid, object);
}

STDMETHODIMP SimServices::GetObject(const BSTR path, LONG flags, IWbemContext* context,
                                    IWbemClassObject** object, IWbemCallResult** callResult) {
    std::string name = Narrow(path);
    bool known = name == "wzkBIntM" || name == "wzkBDataIn";
    HRESULT hr = Record("GetObject " + name + Extras(flags, context, callResult),
                        !known              ? HRESULT(WBEM_E_NOT_FOUND)
                        : object == nullptr ? HRESULT(WBEM_E_INVALID_PARAMETER)
                                            : S_OK);
    if (FAILED(hr)) {
        return hr;
    }
    *object = SimClassObject::Create(name == "wzkBIntM" ? SimClassObject::Kind::BiosClass
                                                        : SimClassObject::Kind::RequestClass,
                                     name, {});
    return S_OK;
}

STDMETHODIMP SimServices::CreateInstanceEnum(const BSTR className, LONG flags,
                                             IWbemContext* context,
                                             IEnumWbemClassObject** instances) {
    std::string name = Narrow(className);
    std::string request = "CreateInstanceEnum " + name + " flags=" + ShortHex(flags);
    HRESULT hr = Record(request + Extras(0, context),
                        name != "wzkBIntM"     ? HRESULT(WBEM_E_INVALID_CLASS)
                        : instances == nullptr ? HRESULT(WBEM_E_INVALID_PARAMETER)
                                               : S_OK);
    if (FAILED(hr)) {
        return hr;
    }
    SimClassObject* instance = nullptr;
    if (Config().instancePresent) {
        instance = SimClassObject::Create(SimClassObject::Kind::Instance, "wzkBIntM(0)",
                                          {L"__PATH", L"InstanceName"});
        VARIANT path;
        ::VariantInit(&path);
        V_VT(&path) = VT_BSTR;
        V_BSTR(&path) = ::SysAllocString(kInstancePath);
        instance->Assign(L"__PATH", path);
    }
    *instances = new SimEnumerator(instance);
    return S_OK;
}

STDMETHODIMP SimServices::ExecMethod(const BSTR path, const BSTR method, LONG flags,
                                     IWbemContext* context, IWbemClassObject* inParams,
                                     IWbemClassObject** outParams, IWbemCallResult** callResult) {
    ULONG size = 0;
    bool exists = MethodExists(method, &size);
    SimClassObject* in = SimClassObject::From(inParams);
    SimClassObject* record = nullptr;
    if (in != nullptr && in->GetKind() == SimClassObject::Kind::Instance) {
        const VARIANT* inData = in->Property(L"InData");
        if (inData != nullptr && V_VT(inData) == VT_UNKNOWN) {
            record = SimClassObject::From(V_UNKNOWN(inData));
        }
    }
    bool pathMatches =
        path != nullptr && Config().instancePresent && kInstancePath == std::wstring(path);
    std::string request = "ExecMethod " + (path != nullptr ? Narrow(path) : "(no path)") + " " +
                          Narrow(method) + " " +
                          (in != nullptr         ? in->Name()
                           : inParams != nullptr ? "(foreign)"
                                                 : "(none)");
    HRESULT hr = Record(request + Extras(flags, context, callResult),
                        !exists        ? HRESULT(WBEM_E_INVALID_METHOD)
                        : !pathMatches ? HRESULT(WBEM_E_INVALID_OBJECT_PATH)
                        : record == nullptr || in->MethodSize() != size
                            ? HRESULT(WBEM_E_INVALID_METHOD_PARAMETERS)
                        : outParams == nullptr ? HRESULT(WBEM_E_INVALID_PARAMETER)
                                               : S_OK,
                        FileLine::Own);
    if (FAILED(hr)) {
        AppendToRequestLog(RequestLine(record, method) + "failed " + HexOf(hr));
        return hr;
    }
    ScenarioAnswer answer = ChooseAnswer(*record, size);
    AppendToRequestLog(RequestLine(record, method) + "returnCode=" +
                       std::to_string(answer.returnCode) + " data=" + ByteList(answer.data));
    *outParams = Config().outParamsPresent ? BuildAnswer(answer, size) : nullptr;
    return HRESULT(WBEM_S_NO_ERROR);
}

HRESULT SimServices::Unexpected(const char* method) {
    return Record(std::string("Unexpected IWbemServices::") + method,
                  HRESULT(WBEM_E_NOT_SUPPORTED));
}

// --- SimLocator ---------------------------------------------------------------

SimLocator::SimLocator() : TrackedObject("WbemLocator") {}

STDMETHODIMP SimLocator::QueryInterface(REFIID iid, void** object) {
    return QueryOwn<IWbemLocator>(this, IID_IWbemLocator, iid, object);
}

STDMETHODIMP SimLocator::ConnectServer(const BSTR resource, const BSTR user, const BSTR password,
                                       const BSTR locale, LONG securityFlags, const BSTR authority,
                                       IWbemContext* context, IWbemServices** services) {
    std::string request = "ConnectServer " + Narrow(resource);
    if (user != nullptr) {
        request += " user=" + Narrow(user);
    }
    if (password != nullptr) {
        request += " password=set";
    }
    if (locale != nullptr) {
        request += " locale=" + Narrow(locale);
    }
    if (authority != nullptr) {
        request += " authority=" + Narrow(authority);
    }
    bool known = resource != nullptr && ::_wcsicmp(resource, L"\\\\.\\root\\wmi") == 0;
    HRESULT hr = Record(request + Extras(securityFlags, context),
                        !known                ? HRESULT(WBEM_E_INVALID_NAMESPACE)
                        : services == nullptr ? HRESULT(WBEM_E_INVALID_PARAMETER)
                                              : S_OK);
    if (FAILED(hr)) {
        return hr;
    }
    *services = new SimServices();
    return S_OK;
}

// --- SimClassFactory ----------------------------------------------------------

SimClassFactory::SimClassFactory() : TrackedObject("WbemLocator class factory") {}

STDMETHODIMP SimClassFactory::QueryInterface(REFIID iid, void** object) {
    return QueryOwn<IClassFactory>(this, IID_IClassFactory, iid, object);
}

STDMETHODIMP SimClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    HRESULT scenario = StartRequest();
    HRESULT hr = Record(std::string("CreateInstance WbemLocator") + (outer ? " outer=set" : ""),
                        outer != nullptr ? CLASS_E_NOAGGREGATION : scenario);
    if (FAILED(hr)) {
        if (object != nullptr) {
            *object = nullptr;
        }
        return hr;
    }
    auto locator = new SimLocator();
    hr = locator->QueryInterface(iid, object);
    locator->Release();
    return hr;
}

} // namespace sim
