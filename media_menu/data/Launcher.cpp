#include "Launcher.h"

#include "SettingsStore.h"
#include "ShellFunctions.h"
#include "BoundedText.h"
#include "common/UniqueHandle.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cwchar>

namespace {

bool Contains(const wchar_t* text, const wchar_t* part) {
    return ::StrStrIW(text, part) != nullptr;
}

// An applet is a file whose name ends in ".cpl"; a path that merely has
// ".cpl" inside (a folder named "x.cplayer") is an ordinary file or folder.
bool EndsWithAppletExtension(const wchar_t* text, size_t length) {
    static const wchar_t kApplet[] = L".cpl";
    const size_t extension = ARRAYSIZE(kApplet) - 1;
    return length >= extension && ::StrCmpIW(text + length - extension, kApplet) == 0;
}

// The blanks that separate arguments on a Windows command line: a program
// ends at either, so a tab is as much a cut as a space.
const wchar_t kBlanks[] = L" \t";

bool IsBlank(wchar_t unit) {
    return unit != L'\0' && wcschr(kBlanks, unit) != nullptr;
}

bool ShellSucceeded(HINSTANCE result) {
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool Exists(const wchar_t* text) {
    WIN32_FIND_DATAW data;
    UniqueFindHandle search(::FindFirstFileW(text, &data));
    return static_cast<bool>(search);
}

// program = the Windows folder's control.exe, parameters = "text".
bool ComposeApplet(const wchar_t* text, size_t length, wchar_t* program, wchar_t* parameters) {
    static const wchar_t kControl[] = L"\\System32\\control.exe";
    const size_t controlLength = ARRAYSIZE(kControl) - 1;
    UINT folderLength = ::GetWindowsDirectoryW(program, kTextUnits);
    if (folderLength == 0 || folderLength + controlLength >= kTextUnits) {
        ZeroMemory(program, kTextUnits * sizeof(wchar_t));
        return false;
    }
    CopyText(program + folderLength, kTextUnits - folderLength, kControl, controlLength);
    if (length + 2 >= kTextUnits) {
        return false;
    }
    parameters[0] = L'"';
    CopyText(parameters + 1, kTextUnits - 1, text, length);
    parameters[length + 1] = L'"';
    parameters[length + 2] = L'\0';
    return true;
}

// "program.exe" arguments: the program keeps both quotes; the unit after the
// closing quote (normally a blank) is dropped. Without a closing quote the
// rest of the text after the opening quote is the program.
void SplitQuoted(const wchar_t* text, size_t length, wchar_t* program, wchar_t* parameters) {
    const wchar_t* close = wcschr(text + 1, L'"');
    if (close == nullptr) {
        CopyText(program, kTextUnits, text + 1, length - 1);
        return;
    }
    size_t programLength = static_cast<size_t>(close - text) + 1;
    CopyText(program, kTextUnits, text, programLength);
    if (programLength + 1 < length) {
        CopyText(parameters, kTextUnits, close + 2, length - programLength - 1);
    }
}

// Where an unquoted program ends: right after the first ".exe" that is
// followed by a blank (space or tab) or the end of the text, so that a path
// with blanks ("C:\Program Files\Tool\tool.exe /x") stays whole. A text
// without such an ".exe" is cut at its first blank.
size_t UnquotedProgramLength(const wchar_t* text, size_t length) {
    static const wchar_t kProgram[] = L".exe";
    const size_t extension = ARRAYSIZE(kProgram) - 1;
    for (const wchar_t* found = ::StrStrIW(text, kProgram); found != nullptr;
         found = ::StrStrIW(found + 1, kProgram)) {
        const size_t end = static_cast<size_t>(found - text) + extension;
        if (end == length || IsBlank(text[end])) {
            return end;
        }
    }
    const wchar_t* blank = wcspbrk(text, kBlanks);
    return blank == nullptr ? length : static_cast<size_t>(blank - text);
}

// program.exe arguments: the parameters start with the blank that ends the
// program.
void SplitUnquoted(const wchar_t* text, size_t length, wchar_t* program, wchar_t* parameters) {
    const size_t programLength = UnquotedProgramLength(text, length);
    CopyText(program, kTextUnits, text, programLength);
    CopyText(parameters, kTextUnits, text + programLength, length - programLength);
}

// The program that opens the "Blank.htm" page, i.e. the web browser.
void FindBrowser(wchar_t* program) {
    wchar_t blankPage[kTextUnits];
    if (ReadRegText(HKEY_LOCAL_MACHINE, kMachineKeyPath, kBlankPageValue, blankPage) !=
            ERROR_SUCCESS ||
        blankPage[0] == L'\0' ||
        !ShellSucceeded(ShellFindExecutable(blankPage, nullptr, program)) ||
        !IsTerminatedWithin(program, kTextUnits)) {
        ZeroMemory(program, kTextUnits * sizeof(wchar_t));
    }
}

// The folder that holds the program: its absolute path cut before the last
// component. Quotes around the program are not part of the path.
void ComposeWorkingDirectory(const wchar_t* program, wchar_t* workingDirectory) {
    const wchar_t* start = program;
    size_t length = TextLength(program, kTextUnits);
    if (length != 0 && start[0] == L'"') {
        ++start;
        --length;
    }
    if (length != 0 && start[length - 1] == L'"') {
        --length;
    }
    wchar_t path[kTextUnits];
    CopyText(path, kTextUnits, start, length);
    wchar_t* filePart = nullptr;
    DWORD fullLength = ::GetFullPathNameW(path, kTextUnits, workingDirectory, &filePart);
    if (fullLength == 0 || fullLength >= kTextUnits) {
        ZeroMemory(workingDirectory, kTextUnits * sizeof(wchar_t));
        return;
    }
    if (filePart == nullptr || filePart <= workingDirectory || filePart[-1] != L'\\') {
        return; // no last component: the full path is the folder
    }
    wchar_t* end = filePart - 1;
    // "C:\x.exe" runs in "C:\", not in whatever folder is current on drive C.
    if (end == workingDirectory + 2 && workingDirectory[1] == L':') {
        ++end;
    }
    *end = L'\0';
}

} // namespace

bool ComposeLaunch(const wchar_t* text, LaunchKind& kind, wchar_t* program, wchar_t* parameters,
                   wchar_t* workingDirectory) {
    ZeroMemory(program, kTextUnits * sizeof(wchar_t));
    ZeroMemory(parameters, kTextUnits * sizeof(wchar_t));
    ZeroMemory(workingDirectory, kTextUnits * sizeof(wchar_t));
    kind = LaunchKind::Nothing;
    size_t length = TextLength(text, kTextUnits);
    if (length == kTextUnits) {
        return false;
    }
    if (length == 0) {
        return true;
    }

    if (Exists(text)) {
        if (EndsWithAppletExtension(text, length)) {
            kind = LaunchKind::Applet;
            if (!ComposeApplet(text, length, program, parameters)) {
                return false;
            }
        } else {
            kind = LaunchKind::ExistingPath;
            CopyText(program, kTextUnits, text, length);
        }
    } else if (ShellSucceeded(ShellFindExecutable(text, nullptr, program)) && program[0] != L'\0') {
        // Only that the shell knows the text matters, not which program it found.
        kind = LaunchKind::Associated;
        ZeroMemory(program, kTextUnits * sizeof(wchar_t));
        CopyText(program, kTextUnits, text, length);
    } else if (Contains(text, L".exe")) {
        ZeroMemory(program, kTextUnits * sizeof(wchar_t));
        if (text[0] == L'"') {
            kind = LaunchKind::QuotedProgram;
            SplitQuoted(text, length, program, parameters);
        } else {
            kind = LaunchKind::ProgramWithArguments;
            SplitUnquoted(text, length, program, parameters);
        }
    } else {
        kind = LaunchKind::Browser;
        FindBrowser(program);
        CopyText(parameters, kTextUnits, text, length);
    }

    if (program[0] == L'\0') {
        return false;
    }
    ComposeWorkingDirectory(program, workingDirectory);
    return true;
}

bool LaunchAssignment(const wchar_t* text) {
    LaunchKind kind;
    wchar_t program[kTextUnits];
    wchar_t parameters[kTextUnits];
    wchar_t workingDirectory[kTextUnits];
    if (!ComposeLaunch(text, kind, program, parameters, workingDirectory)) {
        return false;
    }
    if (kind == LaunchKind::Nothing) {
        return true;
    }
    return ShellSucceeded(
        ShellExecuteVerb(nullptr, L"open", program, parameters, workingDirectory, SW_SHOWNORMAL));
}
