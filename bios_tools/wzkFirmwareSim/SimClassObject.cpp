#include "SimClassObject.h"

#include "SimText.h"

namespace sim {
namespace {

// Asks an object whether it is one of the simulator's own.
const IID kSimObjectIid = {
    0x6f1d2a40, 0x3b7e, 0x4c55, {0x9a, 0x10, 0x2d, 0x4e, 0x7b, 0x91, 0x0c, 0x33}};

const ULONG kBuiltInMethodSizes[] = {0, 4, 128};

// An array of the numbers the firmware reads is stored only when its elements
// are what its type says; any other value is stored as it is.
bool ArrayFitsItsType(const VARIANT& value) {
    VARTYPE type = V_VT(&value);
    std::vector<LONG> numbers;
    return (type != (VT_ARRAY | VT_UI1) && type != (VT_ARRAY | VT_I4)) ||
           V_ARRAY(&value) == nullptr ||
           ArrayNumbers(V_ARRAY(&value), static_cast<VARTYPE>(type & ~VT_ARRAY), numbers);
}

std::string Flags(LONG flags) {
    return flags == 0 ? "" : " flags=" + ShortHex(flags);
}

} // namespace

std::wstring MethodName(ULONG size) {
    return L"wzkBIOSInt" + std::to_wstring(size);
}

bool MethodExists(const wchar_t* name, ULONG* size) {
    std::vector<ULONG> sizes(std::begin(kBuiltInMethodSizes), std::end(kBuiltInMethodSizes));
    const FirmwareSimConfig config = Config();
    for (ULONG i = 0; i < config.extraMethodCount && i < 8; ++i) {
        sizes.push_back(config.extraMethodSizes[i]);
    }
    for (ULONG size : ScenarioOutputSizes()) {
        sizes.push_back(size);
    }
    for (ULONG candidate : sizes) {
        if (name != nullptr && MethodName(candidate) == name) {
            *size = candidate;
            return true;
        }
    }
    return false;
}

SimClassObject::SimClassObject(Kind kind, std::string name, std::vector<std::wstring> properties,
                               ULONG methodSize)
    : TrackedObject(std::move(name)), m_kind(kind), m_methodSize(methodSize) {
    for (std::wstring& property : properties) {
        Value value{std::move(property), {}};
        ::VariantInit(&value.value);
        V_VT(&value.value) = VT_NULL;
        m_values.push_back(value);
    }
}

SimClassObject* SimClassObject::Create(Kind kind, std::string name,
                                       std::vector<std::wstring> properties, ULONG methodSize) {
    return new SimClassObject(kind, std::move(name), std::move(properties), methodSize);
}

SimClassObject* SimClassObject::From(IUnknown* unknown) {
    void* self = nullptr;
    if (unknown == nullptr || FAILED(unknown->QueryInterface(kSimObjectIid, &self))) {
        return nullptr;
    }
    auto object = static_cast<SimClassObject*>(self);
    object->Release();
    return object;
}

void SimClassObject::OnFinalRelease() {
    for (Value& value : m_values) {
        ::VariantClear(&value.value);
    }
}

SimClassObject::Value* SimClassObject::Find(const wchar_t* name) {
    for (Value& value : m_values) {
        if (name != nullptr && value.name == name) {
            return &value;
        }
    }
    return nullptr;
}

const VARIANT* SimClassObject::Property(const wchar_t* name) const {
    Value* value = const_cast<SimClassObject*>(this)->Find(name);
    return value != nullptr ? &value->value : nullptr;
}

void SimClassObject::Assign(const wchar_t* name, VARIANT& value) {
    Value* slot = Find(name);
    ::VariantClear(&slot->value);
    slot->value = value;
    ::VariantInit(&value);
}

STDMETHODIMP SimClassObject::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IWbemClassObject) {
        *object = static_cast<IWbemClassObject*>(this);
    } else if (iid == kSimObjectIid) {
        *object = this;
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

// Like WMI: on success the VARIANT is overwritten (not cleared first), on
// failure it is left alone.
STDMETHODIMP SimClassObject::Get(LPCWSTR name, LONG flags, VARIANT* value, CIMTYPE* type,
                                 LONG* flavor) {
    Value* property = Find(name);
    std::string request = "Get " + Name() + "." + Narrow(name) + Flags(flags);
    if (type != nullptr || flavor != nullptr) {
        request += " +type/flavor";
    }
    HRESULT hr = Record(request, property == nullptr ? HRESULT(WBEM_E_NOT_FOUND)
                                 : value == nullptr  ? HRESULT(WBEM_E_INVALID_PARAMETER)
                                                     : S_OK);
    if (FAILED(hr)) {
        return hr;
    }
    ::VariantInit(value);
    return ::VariantCopy(value, &property->value);
}

STDMETHODIMP SimClassObject::Put(LPCWSTR name, LONG flags, VARIANT* value, CIMTYPE type) {
    Value* property = m_kind == Kind::Instance ? Find(name) : nullptr;
    std::string request = "Put " + Name() + "." + Narrow(name) + " " +
                          (value != nullptr ? Describe(*value) : "(null VARIANT)") + Flags(flags);
    if (type != 0) {
        request += " cimtype=" + std::to_string(type);
    }
    HRESULT hr = Record(request, property == nullptr         ? HRESULT(WBEM_E_NOT_FOUND)
                                 : value == nullptr          ? HRESULT(WBEM_E_INVALID_PARAMETER)
                                 : !ArrayFitsItsType(*value) ? HRESULT(WBEM_E_TYPE_MISMATCH)
                                                             : S_OK);
    if (FAILED(hr)) {
        return hr;
    }
    VARIANT copy;
    ::VariantInit(&copy);
    hr = ::VariantCopy(&copy, value);
    if (SUCCEEDED(hr)) {
        Assign(name, copy);
    }
    return hr;
}

STDMETHODIMP SimClassObject::SpawnInstance(LONG flags, IWbemClassObject** instance) {
    bool spawns = m_kind == Kind::RequestClass || m_kind == Kind::InSignature;
    HRESULT hr = Record("SpawnInstance " + Name() + Flags(flags),
                        !spawns               ? HRESULT(WBEM_E_INVALID_OPERATION)
                        : instance == nullptr ? HRESULT(WBEM_E_INVALID_PARAMETER)
                                              : S_OK);
    if (FAILED(hr)) {
        return hr;
    }
    if (m_kind == Kind::RequestClass) {
        *instance = Create(Kind::Instance, Name() + "()",
                           {L"Sign", L"Command", L"CommandType", L"Size", L"wzkBData"});
    } else {
        *instance = Create(Kind::Instance, Name() + "()", {L"InData"}, m_methodSize);
    }
    return S_OK;
}

STDMETHODIMP SimClassObject::GetMethod(LPCWSTR name, LONG flags, IWbemClassObject** inSignature,
                                       IWbemClassObject** outSignature) {
    ULONG size = 0;
    bool exists = m_kind == Kind::BiosClass && MethodExists(name, &size);
    std::string request = "GetMethod " + Name() + "." + Narrow(name) + Flags(flags);
    if (outSignature != nullptr) {
        request += " +out";
    }
    HRESULT hr = Record(request, !exists                  ? HRESULT(WBEM_E_NOT_FOUND)
                                 : inSignature == nullptr ? HRESULT(WBEM_E_INVALID_PARAMETER)
                                                          : S_OK);
    if (FAILED(hr)) {
        return hr;
    }
    *inSignature = Create(Kind::InSignature, Narrow(name) + ".In", {L"InData"}, size);
    if (outSignature != nullptr) {
        *outSignature = nullptr;
    }
    return S_OK;
}

HRESULT SimClassObject::Unexpected(const char* method) {
    return Record(std::string("Unexpected ") + Name() + " IWbemClassObject::" + method,
                  HRESULT(WBEM_E_NOT_SUPPORTED));
}

} // namespace sim
