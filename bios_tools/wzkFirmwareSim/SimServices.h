// The simulator's connection to "\\.\root\wmi" (IWbemServices), its instance
// enumerator and its locator (IWbemLocator), the class COM creates for
// CLSID_WbemLocator.
#pragma once

#include "SimClassObject.h"

namespace sim {

class SimEnumerator : public IEnumWbemClassObject, public TrackedObject {
public:
    // Takes over the reference to instance (null: the class has no instance).
    explicit SimEnumerator(SimClassObject* instance);

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefTracked(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseTracked(); }

    STDMETHODIMP Next(LONG timeout, ULONG count, IWbemClassObject** objects,
                      ULONG* returned) override;
    // The rest is logged as unexpected.
    SIM_UNEXPECTED(Reset, ())
    SIM_UNEXPECTED(NextAsync, (ULONG, IWbemObjectSink*))
    SIM_UNEXPECTED(Clone, (IEnumWbemClassObject**))
    SIM_UNEXPECTED(Skip, (LONG, ULONG))

private:
    void OnFinalRelease() override;
    HRESULT Unexpected(const char* method);

    SimClassObject* m_instance;
    bool m_delivered = false;
};

class SimServices : public IWbemServices, public TrackedObject {
public:
    SimServices();

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefTracked(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseTracked(); }

    // What the library uses.
    STDMETHODIMP GetObject(const BSTR path, LONG flags, IWbemContext* context,
                           IWbemClassObject** object, IWbemCallResult** callResult) override;
    STDMETHODIMP CreateInstanceEnum(const BSTR className, LONG flags, IWbemContext* context,
                                    IEnumWbemClassObject** instances) override;
    STDMETHODIMP ExecMethod(const BSTR path, const BSTR method, LONG flags, IWbemContext* context,
                            IWbemClassObject* inParams, IWbemClassObject** outParams,
                            IWbemCallResult** callResult) override;

    // The rest is logged as unexpected.
    SIM_UNEXPECTED(OpenNamespace,
                   (const BSTR, LONG, IWbemContext*, IWbemServices**, IWbemCallResult**))
    SIM_UNEXPECTED(CancelAsyncCall, (IWbemObjectSink*))
    SIM_UNEXPECTED(QueryObjectSink, (LONG, IWbemObjectSink**))
    SIM_UNEXPECTED(GetObjectAsync, (const BSTR, LONG, IWbemContext*, IWbemObjectSink*))
    SIM_UNEXPECTED(PutClass, (IWbemClassObject*, LONG, IWbemContext*, IWbemCallResult**))
    SIM_UNEXPECTED(PutClassAsync, (IWbemClassObject*, LONG, IWbemContext*, IWbemObjectSink*))
    SIM_UNEXPECTED(DeleteClass, (const BSTR, LONG, IWbemContext*, IWbemCallResult**))
    SIM_UNEXPECTED(DeleteClassAsync, (const BSTR, LONG, IWbemContext*, IWbemObjectSink*))
    SIM_UNEXPECTED(CreateClassEnum, (const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**))
    SIM_UNEXPECTED(CreateClassEnumAsync, (const BSTR, LONG, IWbemContext*, IWbemObjectSink*))
    SIM_UNEXPECTED(PutInstance, (IWbemClassObject*, LONG, IWbemContext*, IWbemCallResult**))
    SIM_UNEXPECTED(PutInstanceAsync, (IWbemClassObject*, LONG, IWbemContext*, IWbemObjectSink*))
    SIM_UNEXPECTED(DeleteInstance, (const BSTR, LONG, IWbemContext*, IWbemCallResult**))
    SIM_UNEXPECTED(DeleteInstanceAsync, (const BSTR, LONG, IWbemContext*, IWbemObjectSink*))
    SIM_UNEXPECTED(CreateInstanceEnumAsync, (const BSTR, LONG, IWbemContext*, IWbemObjectSink*))
    SIM_UNEXPECTED(ExecQuery, (const BSTR, const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**))
    SIM_UNEXPECTED(ExecQueryAsync, (const BSTR, const BSTR, LONG, IWbemContext*, IWbemObjectSink*))
    SIM_UNEXPECTED(ExecNotificationQuery,
                   (const BSTR, const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**))
    SIM_UNEXPECTED(ExecNotificationQueryAsync,
                   (const BSTR, const BSTR, LONG, IWbemContext*, IWbemObjectSink*))
    SIM_UNEXPECTED(ExecMethodAsync, (const BSTR, const BSTR, LONG, IWbemContext*, IWbemClassObject*,
                                     IWbemObjectSink*))

private:
    HRESULT Unexpected(const char* method);
};

class SimLocator : public IWbemLocator, public TrackedObject {
public:
    SimLocator();

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefTracked(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseTracked(); }

    STDMETHODIMP ConnectServer(const BSTR resource, const BSTR user, const BSTR password,
                               const BSTR locale, LONG securityFlags, const BSTR authority,
                               IWbemContext* context, IWbemServices** services) override;
};

class SimClassFactory : public IClassFactory, public TrackedObject {
public:
    SimClassFactory();

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefTracked(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseTracked(); }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

} // namespace sim
