// What the BIOS library tests share: the real DLL loaded from build\bin, the
// firmware simulator registered as the WMI locator class, and COM set up on
// the test's thread.
#pragma once

#include "common/UniqueHandle.h"
#include "FirmwareSim.h"

#include <windows.h>

#include <string>
#include <vector>

// wzkWmiBios.dll from build\bin, as a client program loads it.
class WzkWmiBiosDll {
public:
    using CallBiosFunction = HRESULT(WINAPI*)(LONG command, LONG commandType, ULONG inputSize,
                                              ULONG outputSize, LONG* returnCode, const BYTE* input,
                                              BYTE* output);

    WzkWmiBiosDll();
    ~WzkWmiBiosDll();
    WzkWmiBiosDll(const WzkWmiBiosDll&) = delete;
    WzkWmiBiosDll& operator=(const WzkWmiBiosDll&) = delete;

    bool Loaded() const { return m_module != nullptr; }
    FARPROC Export(const char* name) const;
    CallBiosFunction CallBios() const;

private:
    HMODULE m_module;
};

// Points CLSID_WbemLocator's InprocServer32 at the simulator in this prefix
// and puts back what was there when it goes away.
class FirmwareSimRegistration {
public:
    FirmwareSimRegistration();
    ~FirmwareSimRegistration();
    FirmwareSimRegistration(const FirmwareSimRegistration&) = delete;
    FirmwareSimRegistration& operator=(const FirmwareSimRegistration&) = delete;

    static std::wstring SimulatorPath();

private:
    struct SavedValue {
        bool exists = false;
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };
    SavedValue m_server;
    SavedValue m_threadingModel;
};

// COM initialised on the constructing thread for the object's lifetime.
class ComApartment {
public:
    explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED);
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    HRESULT Result() const { return m_result; }

private:
    HRESULT m_result;
};

// The simulator's request log, one entry per line.
std::vector<std::string> SimLog();
// The objects the simulator handed out that are still referenced.
std::string SimLiveObjects();
