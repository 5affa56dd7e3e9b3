// Where a program's start-up time goes, measured from inside: linked into a
// copy of a program, this object routes every call the program makes into
// the system DLLs through a timing thunk (its import address table entries
// are pointed at generated stubs), and stamps the moments that mark the
// phases of a dialog's start. At exit it appends one block to the file named
// by BENCH_PROFILE_LOG: the phase times (from BENCH_T0, the starter's
// QueryPerformanceCounter reading just before CreateProcess) and, for each
// function called while WM_INITDIALOG was handled, its count, its time, and
// its time without that of the profiled calls it made itself. With
// BENCH_PROFILE_TRACE set, every call of 0.2 ms or more is listed as well.
//
// The stubs need no knowledge of the signatures: the entry stub swaps the
// caller's return address for the exit stub's and jumps to the real function,
// which then returns into the exit stub whatever its calling convention; the
// exit stub takes the time and returns to the caller. Only the main thread
// is profiled; the C runtime's own DLL is left alone (it exports data too).
#include "common/ModulePath.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>

namespace {

const int kMaxFunctions = 400;
const int kMaxDepth = 256;

struct Function {
    const char* name;
    void* original;
    long calls;
    LONGLONG inclusive;
    LONGLONG exclusive;
};

struct Frame {
    int function;
    void* returnAddress;
    DWORD firstArgument;
    LONGLONG start;
    LONGLONG children;
};

// With BENCH_PROFILE_TRACE set, every call that took at least 0.2 ms.
struct TraceEntry {
    int function;
    int depth;
    DWORD firstArgument;
    LONGLONG start;
    LONGLONG inclusive;
    LONGLONG exclusive;
};
const int kMaxTrace = 4000;
TraceEntry g_trace[kMaxTrace];
int g_traceCount;
LONGLONG g_traceThreshold; // in counter ticks; 0: no trace

Function g_functions[kMaxFunctions];
// The figures when WM_INITDIALOG started and ended.
Function g_atInitStart[kMaxFunctions];
Function g_atInitEnd[kMaxFunctions];
int g_functionCount;
Frame g_frames[kMaxDepth];
int g_depth;
DWORD g_mainThread;
bool g_active;
BOOL(WINAPI* g_counter)(LARGE_INTEGER*);

enum Phase { kProgramStart, kDialogCall, kInitDialogStart, kInitDialogEnd, kShown, kPhaseCount };
const char* const kPhaseNames[kPhaseCount] = {"program code starts", "DialogBoxParamW called",
                                              "WM_INITDIALOG starts", "WM_INITDIALOG ends",
                                              "WM_SHOWWINDOW (shown)"};
LONGLONG g_phases[kPhaseCount];

LONGLONG Now() {
    LARGE_INTEGER now;
    g_counter(&now);
    return now.QuadPart;
}

// The figures so far, counting the calls still running up to now.
void TakeSnapshot(Function* figures) {
    LONGLONG now = Now();
    for (int i = 0; i < g_functionCount; ++i) {
        figures[i] = g_functions[i];
    }
    LONGLONG inner = 0;
    for (int depth = g_depth - 1; depth >= 0; --depth) {
        const Frame& frame = g_frames[depth];
        Function& f = figures[frame.function];
        LONGLONG spent = now - frame.start;
        ++f.calls;
        f.inclusive += spent;
        f.exclusive += spent - frame.children - inner;
        inner = spent;
    }
}

void Stamp(Phase phase) {
    if (g_phases[phase] == 0) {
        if (phase == kInitDialogStart) {
            TakeSnapshot(g_atInitStart);
        }
        g_phases[phase] = Now();
        if (phase == kInitDialogEnd) {
            TakeSnapshot(g_atInitEnd);
        }
    }
}

// Read from the thread's TEB: a call through the import table would be
// profiled itself.
DWORD CurrentThreadId() {
    DWORD id;
    asm volatile("movl %%fs:0x24, %0" : "=r"(id));
    return id;
}

} // namespace

extern "C" void* ProfileEnter(int function, void** returnSlot);
extern "C" void* ProfileLeave();
extern "C" void ProfileEntryStub();
extern "C" void ProfileExitStub();

extern "C" void* ProfileEnter(int function, void** returnSlot) {
    Function& f = g_functions[function];
    if (!g_active || g_depth == kMaxDepth || CurrentThreadId() != g_mainThread) {
        return f.original; // called as if never hooked
    }
    if (std::strcmp(f.name, "DialogBoxParamW") == 0) {
        Stamp(kDialogCall);
    }
    Frame& frame = g_frames[g_depth++];
    frame.function = function;
    frame.returnAddress = *returnSlot;
    frame.firstArgument = reinterpret_cast<DWORD>(returnSlot[1]);
    frame.children = 0;
    *returnSlot = reinterpret_cast<void*>(&ProfileExitStub);
    frame.start = Now();
    return f.original;
}

extern "C" void* ProfileLeave() {
    LONGLONG end = Now();
    Frame& frame = g_frames[--g_depth];
    LONGLONG spent = end - frame.start;
    Function& f = g_functions[frame.function];
    ++f.calls;
    f.inclusive += spent;
    f.exclusive += spent - frame.children;
    if (g_depth > 0) {
        g_frames[g_depth - 1].children += spent;
    }
    if (g_traceThreshold != 0 && spent >= g_traceThreshold && g_traceCount < kMaxTrace) {
        g_trace[g_traceCount++] = {frame.function, g_depth, frame.firstArgument,
                                   frame.start,    spent,   spent - frame.children};
    }
    return frame.returnAddress;
}

// Entry: [esp] = function index (pushed by the per-function stub), [esp+4] =
// the caller's return address, then the arguments. ecx and edx are kept for
// the real function.
// Exit: the real function has returned here (popping its arguments if it is
// stdcall); eax:edx hold its result.
asm(R"(
    .text
    .globl _ProfileEntryStub
_ProfileEntryStub:
    pushl %edx
    pushl %ecx
    leal 12(%esp), %eax
    pushl %eax
    pushl 12(%esp)
    call _ProfileEnter
    addl $8, %esp
    popl %ecx
    popl %edx
    addl $4, %esp
    jmp *%eax

    .globl _ProfileExitStub
_ProfileExitStub:
    subl $4, %esp
    pushl %eax
    pushl %edx
    call _ProfileLeave
    movl %eax, 8(%esp)
    popl %edx
    popl %eax
    ret
)");

namespace {

// push imm32; jmp rel32 to the entry stub.
struct __attribute__((packed)) Thunk {
    BYTE push = 0x68;
    DWORD index;
    BYTE jmp = 0xE9;
    LONG relative;
};

// The hooks' own calls are not the program's: profiling pauses meanwhile.
struct Pause {
    bool was = g_active;
    Pause() { g_active = false; }
    ~Pause() { g_active = was; }
};

LRESULT CALLBACK CallHook(int code, WPARAM wParam, LPARAM lParam) {
    Pause pause;
    auto message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION) {
        if (message->message == WM_INITDIALOG) {
            Stamp(kInitDialogStart);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK ReturnHook(int code, WPARAM wParam, LPARAM lParam) {
    Pause pause;
    auto message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION) {
        if (message->message == WM_INITDIALOG) {
            Stamp(kInitDialogEnd);
        } else if (message->message == WM_SHOWWINDOW && message->wParam &&
                   (::GetWindowLongW(message->hwnd, GWL_STYLE) & WS_CHILD) == 0) {
            Stamp(kShown);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void HookImports() {
    auto base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    auto nt = reinterpret_cast<IMAGE_NT_HEADERS32*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto thunks = static_cast<Thunk*>(
        ::VirtualAlloc(nullptr, sizeof(Thunk) * kMaxFunctions, MEM_COMMIT, PAGE_EXECUTE_READWRITE));
    if (directory.VirtualAddress == 0 || thunks == nullptr) {
        return;
    }
    for (auto d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         d->Name != 0; ++d) {
        const char* dll = reinterpret_cast<const char*>(base + d->Name);
        if (_stricmp(dll, "msvcrt.dll") == 0 || d->OriginalFirstThunk == 0) {
            continue;
        }
        auto names = reinterpret_cast<IMAGE_THUNK_DATA32*>(base + d->OriginalFirstThunk);
        auto slots = reinterpret_cast<IMAGE_THUNK_DATA32*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData != 0 && g_functionCount < kMaxFunctions; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL32(names->u1.Ordinal)) {
                continue;
            }
            auto byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            int index = g_functionCount++;
            Function& f = g_functions[index];
            f.name = reinterpret_cast<const char*>(byName->Name);
            f.original = reinterpret_cast<void*>(slots->u1.Function);
            Thunk* thunk = new (&thunks[index]) Thunk;
            thunk->index = static_cast<DWORD>(index);
            thunk->relative = static_cast<LONG>(reinterpret_cast<BYTE*>(&ProfileEntryStub) -
                                                reinterpret_cast<BYTE*>(thunk + 1));
            DWORD protection = 0;
            ::VirtualProtect(&slots->u1.Function, sizeof(DWORD), PAGE_READWRITE, &protection);
            slots->u1.Function = reinterpret_cast<DWORD>(thunk);
            ::VirtualProtect(&slots->u1.Function, sizeof(DWORD), protection, &protection);
        }
    }
}

double Ms(LONGLONG ticks) {
    static LONGLONG frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency);
}

struct Profiler {
    Profiler() {
        // Not through the import table, which is about to be profiled.
        void* counter = reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "QueryPerformanceCounter"));
        g_counter = reinterpret_cast<BOOL(WINAPI*)(LARGE_INTEGER*)>(counter);
        Stamp(kProgramStart);
        g_mainThread = CurrentThreadId();
        ::SetWindowsHookExW(WH_CALLWNDPROC, CallHook, nullptr, g_mainThread);
        ::SetWindowsHookExW(WH_CALLWNDPROCRET, ReturnHook, nullptr, g_mainThread);
        HookImports();
        if (::GetEnvironmentVariableA("BENCH_PROFILE_TRACE", nullptr, 0) != 0) {
            LARGE_INTEGER frequency;
            ::QueryPerformanceFrequency(&frequency);
            g_traceThreshold = frequency.QuadPart / 5000; // 0.2 ms
        }
        g_active = true;
    }
    ~Profiler() {
        g_active = false;
        char log[MAX_PATH] = {}, start[32] = {};
        wchar_t program[MAX_PATH] = {};
        if (::GetEnvironmentVariableA("BENCH_PROFILE_LOG", log, MAX_PATH) == 0) {
            return;
        }
        ::GetEnvironmentVariableA("BENCH_T0", start, sizeof start);
        ModuleFilePath(nullptr, program, MAX_PATH);
        LONGLONG t0 = _strtoi64(start, nullptr, 10);
        FILE* file = std::fopen(log, "a");
        if (file == nullptr) {
            return;
        }
        std::fprintf(file, "run %ls\n", std::wcsrchr(program, L'\\') + 1);
        for (int p = 0; p < kPhaseCount; ++p) {
            std::fprintf(file, "phase\t%s\t%.3f\n", kPhaseNames[p],
                         g_phases[p] && t0 ? Ms(g_phases[p] - t0) : -1.0);
        }
        // The calls made while WM_INITDIALOG was handled.
        for (int i = 0; g_phases[kInitDialogEnd] != 0 && i < g_functionCount; ++i) {
            const Function& a = g_atInitStart[i];
            const Function& b = g_atInitEnd[i];
            if (b.calls > a.calls) {
                std::fprintf(file, "call\t%s\t%ld\t%.3f\t%.3f\n", b.name, b.calls - a.calls,
                             Ms(b.inclusive - a.inclusive), Ms(b.exclusive - a.exclusive));
            }
        }
        for (int i = 0; i < g_traceCount; ++i) {
            const TraceEntry& e = g_trace[i];
            std::fprintf(file, "trace\t%.3f\t%*s%s(%#lx)\t%.3f\t%.3f\n", Ms(e.start - t0),
                         2 * e.depth, "", g_functions[e.function].name, e.firstArgument,
                         Ms(e.inclusive), Ms(e.exclusive));
        }
        std::fclose(file);
    }
};

// Constructed with the program's other statics, before its main code runs.
Profiler g_profiler __attribute__((init_priority(101)));

} // namespace
