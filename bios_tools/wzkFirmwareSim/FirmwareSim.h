// Control and inspection of the firmware simulator wzkFirmwareSim.dll: an
// in-process COM server registered as the WMI locator class, which plays the
// firmware's WMI provider ("wzkBIntM" and "wzkBDataIn" in "\\.\root\wmi").
// A program that drives it loads the very DLL that COM loads for the library
// (the registered path) and looks these functions up by name, so both see
// one state. Its first FirmwareSim_Reset or FirmwareSim_LoadScenario takes
// the simulator over: the scenario file of the environment no longer applies.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <stddef.h>

#define FIRMWARE_SIM_API extern "C"

// The WMI locator class (CLSID_WbemLocator) below HKEY_CLASSES_ROOT. The
// simulator's DllRegisterServer, which regsvr32 and the tests call, makes
// itself the class' InprocServer32 and keeps the previous one beside it;
// DllUnregisterServer puts that back.
#define FIRMWARE_SIM_LOCATOR_KEY L"CLSID\\{4590F811-1D3A-11D0-891F-00AA004B2E24}"

// How the simulated firmware answers. FirmwareSim_Reset restores the defaults
// given in the comments.
struct FirmwareSimConfig {
    // The one "wzkBIntM" instance exists (TRUE).
    BOOL instancePresent;
    // Methods "wzkBIOSInt<size>" exist for 0, 4 and 128 and for these sizes.
    ULONG extraMethodSizes[8];
    ULONG extraMethodCount;

    // TRUE: the answer is the request itself: "rwReturnCode" = "Command" and
    // "Data" = the method's size in bytes taken from "wzkBData", zero-padded.
    // FALSE: "rwReturnCode" = returnCode and "Data" = the dataSize bytes of data.
    BOOL echo;
    LONG returnCode;
    BYTE data[512];
    ULONG dataSize;
    // Type of "rwReturnCode" (VT_I4); VT_NULL gives a value without a number.
    VARTYPE returnCodeType;
    // Type of "Data" (VT_ARRAY | VT_UI1). VT_ARRAY | VT_I4 gives an array of
    // the same numbers as 32-bit elements; VT_NULL no value; VT_BSTR a string.
    VARTYPE dataType;
    // TRUE: an array whose elements are 32 bits wide whatever dataType's tag
    // says, as a faulty provider might hand back (FALSE).
    BOOL dataWideElements;

    // ExecMethod hands back its output parameters object (TRUE).
    BOOL outParamsPresent;
    // Type of "OutData" (VT_UNKNOWN: the embedded answer object). VT_EMPTY or
    // VT_NULL: no object; VT_UNKNOWN with outDataNullObject: a null pointer.
    VARTYPE outDataType;
    BOOL outDataNullObject;

    // The one step that fails: the first request whose log entry starts with
    // this text returns `failure` ("" = none).
    char failAt[96];
    HRESULT failure;
};

// Clears the log and the object counts and restores the default answer.
FIRMWARE_SIM_API void FirmwareSim_Reset(void);
// Answers from a scenario file from now on (see Scenario.h), over the default
// configuration. A file that cannot be read or parsed gives a "scenario
// error: PATH: line N: ..." entry in the log and makes every request fail
// with the returned HRESULT where COM creates the locator.
FIRMWARE_SIM_API HRESULT FirmwareSim_LoadScenario(const wchar_t* path);
// The live configuration; change it before a call, not during one.
FIRMWARE_SIM_API FirmwareSimConfig* FirmwareSim_Config(void);

// Every request received since the reset, one line each, '\n'-separated:
//   CreateInstance WbemLocator
//   ConnectServer \\.\root\wmi
//   GetObject wzkBIntM                       GetMethod wzkBIntM.wzkBIOSInt4
//   SpawnInstance wzkBIOSInt4.In             (its instance is "wzkBIOSInt4.In()")
//   Put wzkBDataIn().Sign VT_ARRAY|VT_UI1 [53 45 43 55]
//   Put wzkBDataIn().Command VT_I4 7         Put wzkBDataIn().wzkBData VT_ARRAY|VT_UI1 (no array)
//   Put wzkBIOSInt4.In().InData VT_UNKNOWN wzkBDataIn()
//   CreateInstanceEnum wzkBIntM flags=0x30   Next wzkBIntM timeout=2000 count=1
//   Get wzkBIntM(0).__PATH
//   ExecMethod <path or "(no path)"> wzkBIOSInt4 wzkBIOSInt4.In()
//   Get wzkBIOSInt4.Out().OutData            Get wzkBDataOut().rwReturnCode
// Arguments left at their usual value (no flags, no context, ...) are not
// shown; any other is, e.g. " context=set". A failing request ends with
// " -> 0x8004100C" (its HRESULT). Returns the length of the whole text;
// copies at most size - 1 characters and terminates.
FIRMWARE_SIM_API size_t FirmwareSim_ReadLog(char* buffer, size_t size);

// Objects handed out since the reset that still hold a reference.
FIRMWARE_SIM_API LONG FirmwareSim_LiveObjects(void);
// Their names and reference counts, '\n'-separated, for messages.
FIRMWARE_SIM_API size_t FirmwareSim_DescribeLiveObjects(char* buffer, size_t size);
// Objects handed out since the reset.
FIRMWARE_SIM_API LONG FirmwareSim_ObjectsHandedOut(void);
// Release calls on objects that held no reference any more.
FIRMWARE_SIM_API LONG FirmwareSim_OverReleases(void);
