// What one hover change of an entry button costs: the GDI calls made from the
// moment the pointer crosses the button's shape until the repaint is done.
// The button's code is linked into this program, so every GDI call it makes
// goes through this program's import address table; the entries of the
// calls that matter are pointed at counting wrappers. After the first paint
// (which renders the four cached pictures) a hover change should be one
// BitBlt of a cached picture, from a memory DC made for the copy.
#include "BenchReport.h"

#include "common/UniqueHandle.h"
#include "framework/CWnd.h"
#include "media_menu/controls/EntryButton.h"
#include "resource.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

enum CountedCall {
    kBitBlt,
    kGradientFill,
    kTextOutW,
    kCreateCompatibleDC,
    kCreateCompatibleBitmap,
    kCreateFontIndirectW,
    kEnumFontFamiliesW,
    kFillRgn,
    kCountedCalls
};

long g_calls[kCountedCalls];
void* g_originals[kCountedCalls];

template <class Function> Function Original(CountedCall call) {
    return reinterpret_cast<Function>(g_originals[call]);
}

BOOL WINAPI CountBitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX,
                        int sourceY, DWORD rop) {
    ++g_calls[kBitBlt];
    return Original<decltype(&::BitBlt)>(kBitBlt)(dc, x, y, width, height, source, sourceX, sourceY,
                                                  rop);
}

BOOL WINAPI CountGradientFill(HDC dc, PTRIVERTEX vertices, ULONG vertexCount, PVOID mesh,
                              ULONG meshCount, ULONG mode) {
    ++g_calls[kGradientFill];
    return Original<decltype(&::GradientFill)>(kGradientFill)(dc, vertices, vertexCount, mesh,
                                                              meshCount, mode);
}

BOOL WINAPI CountTextOutW(HDC dc, int x, int y, LPCWSTR text, int length) {
    ++g_calls[kTextOutW];
    return Original<decltype(&::TextOutW)>(kTextOutW)(dc, x, y, text, length);
}

HDC WINAPI CountCreateCompatibleDC(HDC dc) {
    ++g_calls[kCreateCompatibleDC];
    return Original<decltype(&::CreateCompatibleDC)>(kCreateCompatibleDC)(dc);
}

HBITMAP WINAPI CountCreateCompatibleBitmap(HDC dc, int width, int height) {
    ++g_calls[kCreateCompatibleBitmap];
    return Original<decltype(&::CreateCompatibleBitmap)>(kCreateCompatibleBitmap)(dc, width,
                                                                                  height);
}

HFONT WINAPI CountCreateFontIndirectW(const LOGFONTW* font) {
    ++g_calls[kCreateFontIndirectW];
    return Original<decltype(&::CreateFontIndirectW)>(kCreateFontIndirectW)(font);
}

int WINAPI CountEnumFontFamiliesW(HDC dc, LPCWSTR family, FONTENUMPROCW proc, LPARAM param) {
    ++g_calls[kEnumFontFamiliesW];
    return Original<decltype(&::EnumFontFamiliesW)>(kEnumFontFamiliesW)(dc, family, proc, param);
}

BOOL WINAPI CountFillRgn(HDC dc, HRGN region, HBRUSH brush) {
    ++g_calls[kFillRgn];
    return Original<decltype(&::FillRgn)>(kFillRgn)(dc, region, brush);
}

struct CountedImport {
    const char* name;
    void* wrapper;
    int expectedPerChange; // after the first render
    const char* why;       // why a non-zero count is expected
};

const CountedImport kImports[kCountedCalls] = {
    {"BitBlt", reinterpret_cast<void*>(&CountBitBlt), 1, "the copy"},
    {"GradientFill", reinterpret_cast<void*>(&CountGradientFill), 0, ""},
    {"TextOutW", reinterpret_cast<void*>(&CountTextOutW), 0, ""},
    {"CreateCompatibleDC", reinterpret_cast<void*>(&CountCreateCompatibleDC), 1,
     "source DC of the copy"},
    {"CreateCompatibleBitmap", reinterpret_cast<void*>(&CountCreateCompatibleBitmap), 0, ""},
    {"CreateFontIndirectW", reinterpret_cast<void*>(&CountCreateFontIndirectW), 0, ""},
    {"EnumFontFamiliesW", reinterpret_cast<void*>(&CountEnumFontFamiliesW), 0, ""},
    {"FillRgn", reinterpret_cast<void*>(&CountFillRgn), 0, ""},
};

// Points this program's import address table entries of the counted calls at
// the wrappers. Returns the number of calls found among the imports.
int PatchImports() {
    auto base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    auto dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) {
        return 0;
    }
    int found = 0;
    for (auto descriptor =
             reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         descriptor->Name != 0; ++descriptor) {
        // The name table stays as linked; the address table holds the
        // resolved addresses. Without a name table there are no names.
        if (descriptor->OriginalFirstThunk == 0) {
            continue;
        }
        auto names = reinterpret_cast<IMAGE_THUNK_DATA32*>(base + descriptor->OriginalFirstThunk);
        auto addresses = reinterpret_cast<IMAGE_THUNK_DATA32*>(base + descriptor->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL32(names->u1.Ordinal)) {
                continue;
            }
            auto byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            for (int call = 0; call < kCountedCalls; ++call) {
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), kImports[call].name) !=
                    0) {
                    continue;
                }
                DWORD oldProtection = 0;
                ::VirtualProtect(&addresses->u1.Function, sizeof addresses->u1.Function,
                                 PAGE_READWRITE, &oldProtection);
                g_originals[call] = reinterpret_cast<void*>(addresses->u1.Function);
                addresses->u1.Function = reinterpret_cast<DWORD>(kImports[call].wrapper);
                ::VirtualProtect(&addresses->u1.Function, sizeof addresses->u1.Function,
                                 oldProtection, &oldProtection);
                ++found;
            }
        }
    }
    return found;
}

void ResetCounts() {
    std::fill(g_calls, g_calls + kCountedCalls, 0L);
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

INT_PTR CALLBACK HostDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The hover flag is what a hover change changes.
class BenchButton : public EntryButton {
public:
    using EntryButton::m_bHover;
};

// The fewest and most calls of each kind over several hover changes.
struct Tally {
    long fewest[kCountedCalls];
    long most[kCountedCalls];
    int changes = 0;

    void Add() {
        for (int call = 0; call < kCountedCalls; ++call) {
            fewest[call] = changes == 0 ? g_calls[call] : std::min(fewest[call], g_calls[call]);
            most[call] = changes == 0 ? g_calls[call] : std::max(most[call], g_calls[call]);
        }
        ++changes;
    }
};

} // namespace

int main() {
    if (PatchImports() != kCountedCalls) {
        std::fprintf(stderr, "hover benchmark: not every counted call is imported\n");
        return 1;
    }
    // The real pointer stays away from the host, so only the moves sent
    // below reach the button.
    ::SetCursorPos(1020, 760);

    CWnd host;
    HWND dialog = ::CreateDialogParamW(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MEDIA_MENU), nullptr, HostDialogProc, 0);
    if (dialog == nullptr || !host.SubclassWindow(dialog)) {
        std::fprintf(stderr, "hover benchmark: no host window from template %d\n", IDD_MEDIA_MENU);
        return 1;
    }
    ::SetWindowPos(dialog, HWND_TOP, 0, 0, 420, 320, SWP_SHOWWINDOW);
    ::UpdateWindow(dialog);
    PumpMessages();

    // An entry as the menu makes it: its size, colours and depth.
    const int width = 300, height = 70;
    BenchButton button;
    ResetCounts();
    UniqueRegion shape(::CreateRoundRectRgn(0, 0, width, height, 4, 4));
    if (!button.Create(L"Media Player", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, shape.get(),
                       &host, 232, 2, RGB(0x3D, 0xB5, 0xFF), RGB(0, 0, 0), RGB(0x30, 0x72, 0xCA),
                       ::GetSysColor(COLOR_GRAYTEXT))) {
        std::fprintf(stderr, "hover benchmark: cannot create the button\n");
        return 1;
    }
    button.UpdateWindow();
    PumpMessages();
    long firstRender[kCountedCalls];
    std::copy(g_calls, g_calls + kCountedCalls, firstRender);

    const LPARAM inside = MAKELPARAM(width / 2, height / 2);
    const LPARAM outside = MAKELPARAM(width + 5, height / 2);
    const int pairs = 10;
    Tally changes, stays;
    bool hoverFollowed = true;
    for (int i = 0; i < pairs; ++i) {
        ResetCounts();
        button.SendMessage(WM_MOUSEMOVE, 0, inside);
        PumpMessages();
        changes.Add();
        hoverFollowed = hoverFollowed && button.m_bHover;

        // A move within the shape changes nothing.
        ResetCounts();
        button.SendMessage(WM_MOUSEMOVE, 0, inside);
        PumpMessages();
        stays.Add();

        ResetCounts();
        button.SendMessage(WM_MOUSEMOVE, 0, outside);
        PumpMessages();
        changes.Add();
        hoverFollowed = hoverFollowed && !button.m_bHover;
    }
    button.DestroyWindow();
    host.DestroyWindow();
    PumpMessages();

    if (!hoverFollowed) {
        std::fprintf(stderr, "hover benchmark: the button did not follow the pointer\n");
        return 1;
    }
    char figure[64], value[64], goal[16];
    std::snprintf(figure, sizeof figure, "hover change (%d changes), calls of", changes.changes);
    PrintRow(figure, "per change [first render; no change]");
    for (int call = 0; call < kCountedCalls; ++call) {
        std::snprintf(figure, sizeof figure, "  %s", kImports[call].name);
        if (changes.fewest[call] == changes.most[call]) {
            std::snprintf(value, sizeof value, "%ld [%ld; %ld]", changes.most[call],
                          firstRender[call], stays.most[call]);
        } else {
            std::snprintf(value, sizeof value, "%ld-%ld [%ld; %ld]", changes.fewest[call],
                          changes.most[call], firstRender[call], stays.most[call]);
        }
        std::snprintf(goal, sizeof goal, "%d", kImports[call].expectedPerChange);
        bool met = changes.fewest[call] == kImports[call].expectedPerChange &&
                   changes.most[call] == kImports[call].expectedPerChange;
        PrintRow(figure, value, goal, Verdict(met));
    }
    return 0;
}
