// The simulator's IWbemClassObject: a WMI class or instance with a fixed set
// of properties. Classes spawn instances; the class "wzkBIntM" also hands out
// the input signatures of its methods.
#pragma once

#include "SimState.h"

#include <wbemcli.h>

#include <string>
#include <vector>

namespace sim {

class SimClassObject : public IWbemClassObject, public TrackedObject {
public:
    enum class Kind { BiosClass, RequestClass, InSignature, Instance };

    // A new object holding one reference; every listed property starts VT_NULL.
    static SimClassObject* Create(Kind kind, std::string name, std::vector<std::wstring> properties,
                                  ULONG methodSize = 0);
    // The simulator's own object behind an interface pointer, or null.
    static SimClassObject* From(IUnknown* unknown);

    Kind GetKind() const { return m_kind; }
    ULONG MethodSize() const { return m_methodSize; }
    // Unlogged access for the simulator itself; null when unknown.
    const VARIANT* Property(const wchar_t* name) const;
    // Sets a property, taking over the value.
    void Assign(const wchar_t* name, VARIANT& value);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefTracked(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseTracked(); }

    // IWbemClassObject: what the library uses.
    STDMETHODIMP Get(LPCWSTR name, LONG flags, VARIANT* value, CIMTYPE* type,
                     LONG* flavor) override;
    STDMETHODIMP Put(LPCWSTR name, LONG flags, VARIANT* value, CIMTYPE type) override;
    STDMETHODIMP SpawnInstance(LONG flags, IWbemClassObject** instance) override;
    STDMETHODIMP GetMethod(LPCWSTR name, LONG flags, IWbemClassObject** inSignature,
                           IWbemClassObject** outSignature) override;

    // IWbemClassObject: the rest is logged as unexpected.
    SIM_UNEXPECTED(GetQualifierSet, (IWbemQualifierSet**))
    SIM_UNEXPECTED(Delete, (LPCWSTR))
    SIM_UNEXPECTED(GetNames, (LPCWSTR, LONG, VARIANT*, SAFEARRAY**))
    SIM_UNEXPECTED(BeginEnumeration, (LONG))
    SIM_UNEXPECTED(Next, (LONG, BSTR*, VARIANT*, CIMTYPE*, LONG*))
    SIM_UNEXPECTED(EndEnumeration, ())
    SIM_UNEXPECTED(GetPropertyQualifierSet, (LPCWSTR, IWbemQualifierSet**))
    SIM_UNEXPECTED(Clone, (IWbemClassObject**))
    SIM_UNEXPECTED(GetObjectText, (LONG, BSTR*))
    SIM_UNEXPECTED(SpawnDerivedClass, (LONG, IWbemClassObject**))
    SIM_UNEXPECTED(CompareTo, (LONG, IWbemClassObject*))
    SIM_UNEXPECTED(GetPropertyOrigin, (LPCWSTR, BSTR*))
    SIM_UNEXPECTED(InheritsFrom, (LPCWSTR))
    SIM_UNEXPECTED(PutMethod, (LPCWSTR, LONG, IWbemClassObject*, IWbemClassObject*))
    SIM_UNEXPECTED(DeleteMethod, (LPCWSTR))
    SIM_UNEXPECTED(BeginMethodEnumeration, (LONG))
    SIM_UNEXPECTED(NextMethod, (LONG, BSTR*, IWbemClassObject**, IWbemClassObject**))
    SIM_UNEXPECTED(EndMethodEnumeration, ())
    SIM_UNEXPECTED(GetMethodQualifierSet, (LPCWSTR, IWbemQualifierSet**))
    SIM_UNEXPECTED(GetMethodOrigin, (LPCWSTR, BSTR*))

private:
    struct Value {
        std::wstring name;
        VARIANT value;
    };

    SimClassObject(Kind kind, std::string name, std::vector<std::wstring> properties,
                   ULONG methodSize);
    void OnFinalRelease() override;
    Value* Find(const wchar_t* name);
    HRESULT Unexpected(const char* method);

    Kind m_kind;
    ULONG m_methodSize;
    std::vector<Value> m_values;
};

// "wzkBIOSInt" followed by the size, for each method the firmware class has.
bool MethodExists(const wchar_t* name, ULONG* size);
std::wstring MethodName(ULONG size);

} // namespace sim
