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
    STDMETHODIMP Reset() override;
    STDMETHODIMP NextAsync(ULONG, IWbemObjectSink*) override;
    STDMETHODIMP Clone(IEnumWbemClassObject**) override;
    STDMETHODIMP Skip(LONG, ULONG) override;

private:
    void OnFinalRelease() override;

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
    STDMETHODIMP OpenNamespace(const BSTR, LONG, IWbemContext*, IWbemServices**,
                               IWbemCallResult**) override;
    STDMETHODIMP CancelAsyncCall(IWbemObjectSink*) override;
    STDMETHODIMP QueryObjectSink(LONG, IWbemObjectSink**) override;
    STDMETHODIMP GetObjectAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override;
    STDMETHODIMP PutClass(IWbemClassObject*, LONG, IWbemContext*, IWbemCallResult**) override;
    STDMETHODIMP PutClassAsync(IWbemClassObject*, LONG, IWbemContext*, IWbemObjectSink*) override;
    STDMETHODIMP DeleteClass(const BSTR, LONG, IWbemContext*, IWbemCallResult**) override;
    STDMETHODIMP DeleteClassAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override;
    STDMETHODIMP CreateClassEnum(const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**) override;
    STDMETHODIMP CreateClassEnumAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override;
    STDMETHODIMP PutInstance(IWbemClassObject*, LONG, IWbemContext*, IWbemCallResult**) override;
    STDMETHODIMP PutInstanceAsync(IWbemClassObject*, LONG, IWbemContext*,
                                  IWbemObjectSink*) override;
    STDMETHODIMP DeleteInstance(const BSTR, LONG, IWbemContext*, IWbemCallResult**) override;
    STDMETHODIMP DeleteInstanceAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override;
    STDMETHODIMP CreateInstanceEnumAsync(const BSTR, LONG, IWbemContext*,
                                         IWbemObjectSink*) override;
    STDMETHODIMP ExecQuery(const BSTR, const BSTR, LONG, IWbemContext*,
                           IEnumWbemClassObject**) override;
    STDMETHODIMP ExecQueryAsync(const BSTR, const BSTR, LONG, IWbemContext*,
                                IWbemObjectSink*) override;
    STDMETHODIMP ExecNotificationQuery(const BSTR, const BSTR, LONG, IWbemContext*,
                                       IEnumWbemClassObject**) override;
    STDMETHODIMP ExecNotificationQueryAsync(const BSTR, const BSTR, LONG, IWbemContext*,
                                            IWbemObjectSink*) override;
    STDMETHODIMP ExecMethodAsync(const BSTR, const BSTR, LONG, IWbemContext*, IWbemClassObject*,
                                 IWbemObjectSink*) override;

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
