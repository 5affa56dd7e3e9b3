; VeltraneSetup.exe: installs the media menu, the BIOS library and the
; keyboard setup program per machine, and on request the BIOS client files
; and the BIOS tool, and registers an uninstaller. Built by
; installer/CMakeLists.txt, which passes:
;   SOURCE_DIR  the checkout (for the client header and the version header)
;   BIN_DIR     where VLTMedia.exe, wzkWmiBios.dll, kbdsetup.exe and
;               wzkbios.exe were built
;   LIB_DIR     where the import libraries were built
;   X64_DIR     where the 64-bit BIOS library and its import libraries were built
;   OUT_FILE    the installer to write
;   VERSION, COMPANY  the product version and company (common/ProductVersion.h)
;   SIGN_COMMAND  a release's signing command (tools/release), run on the
;                 installer and on the uninstaller it writes
;
; Command line (switches are case-sensitive, like the toolkit's own /S):
;   /S              silent
;   /CLIENT         also install the client files
;   /KEYBOARD106    also set up the Japanese 106-key keyboard
;   /MEDIAKEY       also bind the keyboard's Media key to the menu
;   /LOG=FILE       append a log of the run to FILE (UTF-8); quote the whole
;                   switch when FILE has blanks: "/LOG=C:\My logs\setup.log"
;   /D=folder       install folder; must come last and is not quoted
; Exit codes: 0 installed, 1 cancelled by the user, 2 failed (rolled back; also
; when kbdsetup.exe fails), 3 unknown switch (nothing done), 4 no administrator
; rights (nothing done); the uninstaller's 3010: removed, some files go at the
; next restart.

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin
; A file that cannot be written ends the installation (and rolls it back)
; instead of offering to skip it: a half-installed component is worse.
AllowSkipFiles off
; Packed files carry no time stamp (installed ones get the time of
; installation), so the same binaries always give the same installer.
SetDateSave off

!ifdef SIGN_COMMAND
    !finalize '"${SIGN_COMMAND}" "%1"' = 0
    !uninstfinalize '"${SIGN_COMMAND}" "%1"' = 0
!endif

!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include MUI2.nsh
!include WinMessages.nsh
!include x64.nsh

; One version for every binary: VERSION and COMPANY come from
; common/ProductVersion.h, as the build read it.
!ifndef VERSION
    !error "VERSION and COMPANY are given by the build (installer/CMakeLists.txt)"
!endif

!define PRODUCT "Veltrane"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define UNINSTALLER "Uninstall.exe"
; Exit codes beyond the toolkit's own 0, 1 and 2.
!define EXIT_BAD_SWITCH 3
!define EXIT_NOT_ADMIN 4
!define EXIT_REBOOT_NEEDED 3010
; Ends a run refused before anything is written, with its exit code logged.
!macro QUIT CODE
    ${Log} "exit code ${CODE}"
    SetErrorLevel ${CODE}
    Quit
!macroend
; The open menu: its dialog window, and how long its process is given to end
; once asked to close.
!define MENU_CLASS "#32770"
!define MENU_TITLE "VLTMedia"
!define MENU_END_WAIT_MS 30000
!define SYNCHRONIZE 0x00100000
; An earlier installation's file, kept under this suffix beside the new one
; until the run has succeeded, and put back when it fails.
!define KEPT ".previous"
; The uninstall entry as it was before this run, kept in a volatile key (gone
; at the next restart, whatever happens) until the run has succeeded.
!define KEPT_ENTRY_KEY "Software\${COMPANY} ${PRODUCT} setup, previous uninstall entry"
!define HKEY_LOCAL_MACHINE 0x80000002
!define REG_OPTION_VOLATILE 1
!define FILE_ATTRIBUTE_REPARSE_POINT 0x400
; The installation folder's security: owner Administrators; Administrators
; and SYSTEM full control, Users read and execute; protected from the
; parent's entries, and inherited by every file and folder below. What
; Program Files gives, for a folder anywhere.
!define FOLDER_SDDL "O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)"
!define SE_FILE_OBJECT 1
; Explorer's binding of the Media key (APPCOMMAND_LAUNCH_MEDIA_SELECT, 16):
; its ShellExecute value is the program it starts. Explorer reads it in its
; own registry view, the 64-bit one on 64-bit Windows.
!define MEDIA_APPKEY "Software\Microsoft\Windows\CurrentVersion\Explorer\AppKey\16"
!define MEDIA_APPKEY_VALUE "ShellExecute"
!define KEY_QUERY_VALUE 0x1
!define KEY_WOW64_64KEY 0x100
!define REG_SZ 1
!define REG_EXPAND_SZ 2
!define OWNER_DACL_PROTECTED 0x80000005

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
; A 32-bit installer: $PROGRAMFILES is the 32-bit Program Files on 64-bit
; Windows, and the registry writes below go to the 32-bit view, as they
; should for 32-bit programs.
InstallDir "$PROGRAMFILES\${COMPANY}\${PRODUCT}"
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
BrandingText "${COMPANY} ${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COMPANY}"

!define MUI_ABORTWARNING
!define MUI_CUSTOMFUNCTION_ABORT OnCancel
!define MUI_CUSTOMFUNCTION_UNABORT un.OnCancel
!define MUI_COMPONENTSPAGE_SMALLDESC
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"
!include "${SOURCE_DIR}/installer/Messages.nsh"

; The uninstall entry's location before this run ("" when there was none),
; the outermost folder this run created for $INSTDIR ("" when $INSTDIR
; already existed), and 1 when $INSTDIR is the folder of that earlier
; installation.
Var PreviousLocation
Var CreatedFolder
Var SameFolder
; 1 once this run may have written into $INSTDIR (what a failure takes back),
; and 1 once every earlier file there has been kept.
Var Writing
Var AllKept
; The file /LOG= names, as a full path ("" without the switch).
Var LogFile

; The installer's and the uninstaller's copies of a function (the toolkit
; keeps the two apart: the uninstaller's names start with "un.").
!macro BOTH_SIDES MACRO
    !insertmacro ${MACRO} ""
    !insertmacro ${MACRO} "un."
!macroend

; Appends the line on the stack to $LogFile, when there is one, in UTF-8. The
; file is opened for each line, so that a run that ends at any point leaves
; every line it wrote.
!macro LOG_LINE UN
Function ${UN}LogLine
    Exch $0
    Push $1
    Push $2
    Push $3
    ${If} $LogFile != ""
        ; FILE_APPEND_DATA, FILE_SHARE_READ, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL
        System::Call 'kernel32::CreateFileW(w "$LogFile", i 4, i 1, p 0, i 4, i 0x80, p 0) p .r1'
        ${If} $1 <> -1
            StrCpy $0 "$0$\r$\n"
            System::Call 'kernel32::WideCharToMultiByte(i 65001, i 0, w r0, i -1, p 0, i 0, p 0, p 0) i .r2'
            System::Alloc $2
            Pop $3
            System::Call 'kernel32::WideCharToMultiByte(i 65001, i 0, w r0, i -1, p r3, i r2, p 0, p 0) i .r2'
            ; Without the terminating zero.
            IntOp $2 $2 - 1
            System::Call 'kernel32::WriteFile(p r1, p r3, i r2, *i .r2, p 0)'
            System::Free $3
            System::Call 'kernel32::CloseHandle(p r1)'
        ${EndIf}
    ${EndIf}
    Pop $3
    Pop $2
    Pop $1
    Pop $0
FunctionEnd
!macroend
!insertmacro BOTH_SIDES LOG_LINE
!macro LOG TEXT
    Push `${TEXT}`
    !ifdef __UNINSTALL__
        Call un.LogLine
    !else
        Call LogLine
    !endif
!macroend
!define Log "!insertmacro LOG"

; A failure (a message of Messages.nsh): shown on the progress page and
; logged; the run then fails.
!macro FAIL ID
    DetailPrint "$(${ID})"
    ${Log} "failed: ${EN_${ID}}"
    Abort
!macroend
!define Fail "!insertmacro FAIL"

; Takes the next word off the front of the command line text in $R0 into $R2:
; words are separated by blanks, and a word in double quotes may hold blanks
; (the quotes are dropped).
!macro NEXT_WORD UN
Function ${UN}NextWord
    Push $R1
    Push $R3
    ${Do}
        StrCpy $R2 $R0 1
        ${IfThen} $R2 != " " ${|} ${ExitDo} ${|}
        StrCpy $R0 $R0 "" 1
    ${Loop}
    StrCpy $R3 " "
    ${If} $R2 == '"'
        StrCpy $R3 '"'
        StrCpy $R0 $R0 "" 1
    ${EndIf}
    StrCpy $R1 0
    ${Do}
        StrCpy $R2 $R0 1 $R1
        ${IfThen} $R2 == "" ${|} ${ExitDo} ${|}
        ${IfThen} $R2 == $R3 ${|} ${ExitDo} ${|}
        IntOp $R1 $R1 + 1
    ${Loop}
    StrCpy $R2 $R0 $R1
    IntOp $R1 $R1 + 1
    StrCpy $R0 $R0 "" $R1
    Pop $R3
    Pop $R1
FunctionEnd
!macroend
!insertmacro BOTH_SIDES NEXT_WORD

; Sets $LogFile from /LOG=FILE and starts the log with the version and the
; switches. Read before any other switch, so that a run refused for one is
; logged too. The path is made full now: the run changes its current folder.
!macro READ_LOG_SWITCH UN
Function ${UN}ReadLogSwitch
    ${GetParameters} $R0
    ${Do}
        Call ${UN}NextWord
        StrCpy $R1 $R2 5
        ${If} $R1 S== "/LOG="
            StrCpy $R1 $R2 "" 5
            System::Call 'kernel32::GetFullPathNameW(w R1, i ${NSIS_MAX_STRLEN}, w .R2, p 0) i .R3'
            ${If} $R3 > 0
            ${AndIf} $R3 < ${NSIS_MAX_STRLEN}
                StrCpy $LogFile $R2
            ${EndIf}
        ${EndIf}
    ${LoopUntil} $R0 == ""
    ${GetParameters} $R0
    !if "${UN}" == ""
        ${Log} "${PRODUCT} setup ${VERSION}"
    !else
        ${Log} "${PRODUCT} removal ${VERSION}"
    !endif
    ${Log} "switches: $R0"
FunctionEnd
!macroend
!insertmacro BOTH_SIDES READ_LOG_SWITCH

; Replaces the path on the stack with the one the file system knows for it:
; full (no doubled backslash, "\." or relative part) and, where it exists,
; long (no 8.3 short names), without a trailing backslash but at a root.
; Two spellings of one folder give one text, so that texts can be compared.
!macro CANONICAL_FOLDER UN
Function ${UN}CanonicalFolder
    Exch $0
    Push $1
    Push $2
    System::Call 'kernel32::GetFullPathNameW(w r0, i ${NSIS_MAX_STRLEN}, w .r1, p 0) i .r2'
    ${If} $2 > 0
    ${AndIf} $2 < ${NSIS_MAX_STRLEN}
        StrCpy $0 $1
    ${EndIf}
    System::Call 'kernel32::GetLongPathNameW(w r0, w .r1, i ${NSIS_MAX_STRLEN}) i .r2'
    ${If} $2 > 0
    ${AndIf} $2 < ${NSIS_MAX_STRLEN}
        StrCpy $0 $1
    ${EndIf}
    StrCpy $1 $0 "" -1
    StrLen $2 $0
    ${If} $1 == "\"
    ${AndIf} $2 > 3
        StrCpy $0 $0 -1
    ${EndIf}
    Pop $2
    Pop $1
    Exch $0
FunctionEnd
!macroend
!insertmacro BOTH_SIDES CANONICAL_FOLDER

; Replaces the path on the stack with the identity of the file or folder it
; names: its volume serial number and file index, the same for every name of
; one object (a link, a junction, another drive letter, \\?\, a share).
; "" when it cannot be opened.
!macro FOLDER_IDENTITY UN
Function ${UN}FolderIdentity
    Exch $0
    Push $1
    Push $2
    Push $3
    Push $4
    ; FILE_SHARE_READ | WRITE | DELETE, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS
    ; (needed to open a folder); no access rights asked.
    System::Call 'kernel32::CreateFileW(w r0, i 0, i 7, p 0, i 3, i 0x02000000, p 0) p .r1'
    StrCpy $0 ""
    ${If} $1 <> -1
        ; BY_HANDLE_FILE_INFORMATION: 52 bytes; the serial at 28, the index at 44.
        System::Call '*(&i52) p .r2'
        System::Call 'kernel32::GetFileInformationByHandle(p r1, p r2) i .r3'
        ${If} $3 <> 0
            System::Call '*$2(i, i, i, i, i, i, i, i .r3, i, i, i, i .r4, i .r0)'
            StrCpy $0 "$3:$4:$0"
        ${EndIf}
        System::Free $2
        System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Exch $0
FunctionEnd
!macroend
!insertmacro BOTH_SIDES FOLDER_IDENTITY

; Two folders on the stack (pushed one after the other): leaves 1 when they
; are one folder, as the file system tells by identity, else "". Where either
; has no identity, their full long paths are compared instead.
!macro SAME_FOLDER UN
Function ${UN}SameFolder
    Exch $0
    Exch
    Exch $1
    Push $2
    Push $3
    Push $0
    Call ${UN}FolderIdentity
    Pop $2
    Push $1
    Call ${UN}FolderIdentity
    Pop $3
    ${If} $2 == ""
    ${OrIf} $3 == ""
        Push $0
        Call ${UN}CanonicalFolder
        Pop $2
        Push $1
        Call ${UN}CanonicalFolder
        Pop $3
    ${EndIf}
    StrCpy $0 ""
    ${IfThen} $2 == $3 ${|} StrCpy $0 1 ${|}
    Pop $3
    Pop $2
    Pop $1
    Exch $0
FunctionEnd
!macroend
!insertmacro BOTH_SIDES SAME_FOLDER

; Closes an open menu the way a second press of the hot key does (WM_CLOSE to
; its dialog) and waits for its process to end: a running VLTMedia.exe could
; be neither replaced nor removed, only queued for the next restart.
!macro CLOSE_MENU UN
Function ${UN}CloseMenu
    Push $0
    Push $1
    Push $2
    ${Do}
        FindWindow $0 "${MENU_CLASS}" "${MENU_TITLE}"
        ${IfThen} $0 = 0 ${|} ${ExitDo} ${|}
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
        System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2'
        System::Call 'user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0)'
        ${IfThen} $2 = 0 ${|} ${ExitDo} ${|}
        System::Call 'kernel32::WaitForSingleObject(p r2, i ${MENU_END_WAIT_MS}) i .r1'
        System::Call 'kernel32::CloseHandle(p r2)'
        ; A menu that does not end in time is left; its file then waits.
        ${IfThen} $1 <> 0 ${|} ${ExitDo} ${|}
    ${Loop}
    Pop $2
    Pop $1
    Pop $0
FunctionEnd
!macroend
!insertmacro BOTH_SIDES CLOSE_MENU

; Replaces the folder on the stack with its final path, every link on the way
; resolved (GetFinalPathNameByHandleW) and without the \\?\ prefix; its full
; long path where the file system gives none.
Function FinalFolder
    Exch $0
    Push $1
    Push $2
    Push $3
    Push $0
    Call CanonicalFolder
    Pop $0
    System::Call 'kernel32::CreateFileW(w r0, i 0, i 7, p 0, i 3, i 0x02000000, p 0) p .r1'
    ${If} $1 <> -1
        System::Call 'kernel32::GetFinalPathNameByHandleW(p r1, w .r2, i ${NSIS_MAX_STRLEN}, i 0) i .r3'
        ${If} $3 > 0
        ${AndIf} $3 < ${NSIS_MAX_STRLEN}
            StrCpy $3 $2 8
            ${If} $3 == "\\?\UNC\"
                StrCpy $2 $2 "" 8
                StrCpy $0 "\\$2"
            ${Else}
                StrCpy $3 $2 4
                ${IfThen} $3 == "\\?\" ${|} StrCpy $0 $2 "" 4 ${|}
            ${EndIf}
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
    Pop $3
    Pop $2
    Pop $1
    Exch $0
FunctionEnd

; Gives $INSTDIR (which exists) the installation folder's security, applied
; to everything already in it too. A folder whose security cannot be set
; fails the installation: its programs run elevated.
Function LockFolder
    Push $0
    Push $1
    Push $2
    Push $3
    System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "${FOLDER_SDDL}", i 1, *p .r1, p 0) i .r0'
    ${If} $0 = 0
        ${Fail} CANNOT_MAKE_SECURITY
    ${EndIf}
    System::Call 'advapi32::GetSecurityDescriptorOwner(p r1, *p .r2, *i .r0)'
    System::Call 'advapi32::GetSecurityDescriptorDacl(p r1, *i .r0, *p .r3, *i .r0)'
    System::Call 'advapi32::SetNamedSecurityInfoW(w "$INSTDIR", i ${SE_FILE_OBJECT}, i ${OWNER_DACL_PROTECTED}, p r2, p 0, p r3, p 0) i .r0'
    System::Call 'kernel32::LocalFree(p r1)'
    ${If} $0 <> 0
        ${Fail} CANNOT_SET_SECURITY
    ${EndIf}
    Pop $3
    Pop $2
    Pop $1
    Pop $0
FunctionEnd

; Every file an installation puts into $INSTDIR, given to MACRO.
!macro INSTALLED_FILES MACRO
    !insertmacro ${MACRO} "VLTMedia.exe"
    !insertmacro ${MACRO} "wzkWmiBios.dll"
    !insertmacro ${MACRO} "kbdsetup.exe"
    !insertmacro ${MACRO} "wzkbios.exe"
    !insertmacro ${MACRO} "${UNINSTALLER}"
    !insertmacro ${MACRO} "Client\include\wzkWmiBios.h"
    !insertmacro ${MACRO} "Client\lib\libwzkWmiBios.dll.a"
    !insertmacro ${MACRO} "Client\lib\wzkWmiBios.lib"
    !insertmacro ${MACRO} "Client\x64\wzkWmiBios.dll"
    !insertmacro ${MACRO} "Client\x64\libwzkWmiBios.dll.a"
    !insertmacro ${MACRO} "Client\x64\wzkWmiBios.lib"
!macroend

; Before anything is written: an earlier file (never a folder in its way) is
; renamed aside, so that it is never overwritten in place.
!macro KEEP_FILE FILE
    Delete "$INSTDIR\${FILE}${KEPT}"
    ${If} ${FileExists} "$INSTDIR\${FILE}"
    ${AndIfNot} ${FileExists} "$INSTDIR\${FILE}\*.*"
        ClearErrors
        Rename "$INSTDIR\${FILE}" "$INSTDIR\${FILE}${KEPT}"
        ${If} ${Errors}
            StrCpy $R9 "$INSTDIR\${FILE}"
            ${Fail} CANNOT_KEEP_FILE
        ${EndIf}
    ${EndIf}
!macroend

; A failed run: the kept file back under its name, and a file this run wrote
; (once every earlier one was kept, a file without a kept one) removed.
!macro TAKE_BACK_FILE FILE
    ${If} ${FileExists} "$INSTDIR\${FILE}${KEPT}"
        Delete "$INSTDIR\${FILE}"
        Rename "$INSTDIR\${FILE}${KEPT}" "$INSTDIR\${FILE}"
    ${ElseIf} $AllKept == 1
    ${AndIfNot} ${FileExists} "$INSTDIR\${FILE}\*.*"
        Delete "$INSTDIR\${FILE}"
    ${EndIf}
!macroend

; A run that succeeded: a kept file goes, unless this run wrote none in its
; place (a component not chosen this time), which keeps the earlier one.
!macro SETTLE_FILE FILE
    ${If} ${FileExists} "$INSTDIR\${FILE}${KEPT}"
        ${If} ${FileExists} "$INSTDIR\${FILE}"
            Delete /REBOOTOK "$INSTDIR\${FILE}${KEPT}"
        ${Else}
            Rename "$INSTDIR\${FILE}${KEPT}" "$INSTDIR\${FILE}"
        ${EndIf}
    ${EndIf}
!macroend

; Copies the registry key FROM (below HKLM, in the installer's view) into a
; new key TO, volatile when VOLATILE is 1; sets the error flag on failure.
!macro COPY_KEY FROM TO VOLATILE
    Push $0
    Push $1
    Push $2
    StrCpy $1 0
    StrCpy $2 0
    System::Call 'advapi32::RegOpenKeyExW(p ${HKEY_LOCAL_MACHINE}, w "${FROM}", i 0, i 0x20019, *p .r1) i .r0'
    ${If} $0 = 0
        System::Call 'advapi32::RegCreateKeyExW(p ${HKEY_LOCAL_MACHINE}, w "${TO}", i 0, p 0, i ${VOLATILE}, i 0xF003F, p 0, *p .r2, p 0) i .r0'
    ${EndIf}
    ${If} $0 = 0
        System::Call 'advapi32::RegCopyTreeW(p r1, p 0, p r2) i .r0'
    ${EndIf}
    ${If} $1 <> 0
        System::Call 'advapi32::RegCloseKey(p r1)'
    ${EndIf}
    ${If} $2 <> 0
        System::Call 'advapi32::RegCloseKey(p r2)'
    ${EndIf}
    ${IfThen} $0 <> 0 ${|} SetErrors ${|}
    Pop $2
    Pop $1
    Pop $0
!macroend

; Removes the files and folders an installation puts into $INSTDIR, and
; nothing else: folders only when empty, and above $INSTDIR only up to the
; outermost one the first installation created (given as FOLDER, compared by
; whole path components: C:\A is no folder of C:\AB\Veltrane).
!macro DELETE_FILE FILE
    Delete /REBOOTOK "$INSTDIR\${FILE}"
!macroend
!macro RemoveInstalledFiles FOLDER
    !insertmacro INSTALLED_FILES DELETE_FILE
    !insertmacro RemoveFolders "${FOLDER}"
!macroend
!macro RemoveFolders FOLDER
    RMDir "$INSTDIR\Client\include"
    RMDir "$INSTDIR\Client\lib"
    RMDir "$INSTDIR\Client\x64"
    RMDir "$INSTDIR\Client"
    Push $R0
    Push $R1
    Push $R2
    StrLen $R2 "${FOLDER}"
    IntOp $R1 $R2 + 1
    StrCpy $R1 "$INSTDIR\" $R1
    StrCpy $R0 "$INSTDIR"
    ${If} $R2 > 0
    ${AndIf} $R1 == "${FOLDER}\"
        ${Do}
            StrLen $R1 $R0
            ${IfThen} $R1 < $R2 ${|} ${ExitDo} ${|}
            ; A folder waits for the restart only when a file in it does.
            ${If} ${RebootFlag}
                RMDir /REBOOTOK $R0
            ${Else}
                RMDir $R0
            ${EndIf}
            ${GetParent} $R0 $R0
        ${Loop}
    ${EndIf}
    Pop $R2
    Pop $R1
    Pop $R0
!macroend

Section "$(SEC_PROGRAMS)" SecPrograms
    SectionIn RO
    ; An existing folder that is a link elsewhere (a junction or symbolic
    ; link) could lead the installation, and its later removal, anywhere.
    ${If} ${FileExists} "$INSTDIR\*.*"
        System::Call 'kernel32::GetFileAttributesW(w "$INSTDIR") i .r0'
        IntOp $0 $0 & ${FILE_ATTRIBUTE_REPARSE_POINT}
        ${If} $0 <> 0
            MessageBox MB_ICONSTOP "$(FOLDER_IS_LINK)" /SD IDOK
            ${Fail} FOLDER_IS_LINK
        ${EndIf}
    ${EndIf}
    ; Whether this is the earlier installation's folder, asked of the file
    ; system while nothing is written yet: a folder that does not exist now
    ; is this run's, however it is spelled.
    StrCpy $SameFolder ""
    ${If} $PreviousLocation != ""
    ${AndIf} ${FileExists} "$PreviousLocation\*.*"
    ${AndIf} ${FileExists} "$INSTDIR\*.*"
        Push $PreviousLocation
        Push $INSTDIR
        Call SameFolder
        Pop $SameFolder
    ${EndIf}
    ; The outermost missing folder on the way to $INSTDIR, before creating it.
    Push $INSTDIR
    Call CanonicalFolder
    Pop $INSTDIR
    StrCpy $CreatedFolder ""
    StrCpy $0 $INSTDIR
    ${DoUntil} ${FileExists} "$0\*.*"
        StrCpy $CreatedFolder $0
        ${GetParent} $0 $0
    ${LoopUntil} $0 == ""

    StrCpy $Writing 1
    SetOutPath "$INSTDIR"
    ; Recorded as the file system names them after every link, for the
    ; uninstaller to compare.
    Push $INSTDIR
    Call FinalFolder
    Pop $INSTDIR
    ${Log} "folder: $INSTDIR"
    ${If} $CreatedFolder != ""
        Push $CreatedFolder
        Call FinalFolder
        Pop $CreatedFolder
    ${EndIf}
    Call LockFolder
    Call CloseMenu
    !insertmacro INSTALLED_FILES KEEP_FILE
    StrCpy $AllKept 1
    File "${BIN_DIR}/VLTMedia.exe"
    File "${BIN_DIR}/wzkWmiBios.dll"
    File "${BIN_DIR}/kbdsetup.exe"
    ClearErrors
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    ${If} ${Errors}
        ${Fail} CANNOT_WRITE_UNINSTALLER
    ${EndIf}
    ${Log} "Programs: installed"
SectionEnd

Section /o "$(SEC_CLIENT)" SecClient
    SetOutPath "$INSTDIR\Client\include"
    File "${SOURCE_DIR}/Shared/wzkWmiBios/wzkWmiBios.h"
    SetOutPath "$INSTDIR\Client\lib"
    File "${LIB_DIR}/libwzkWmiBios.dll.a"
    File "${LIB_DIR}/wzkWmiBios.lib"
    ; For 64-bit clients: the 64-bit build of the library, which they ship
    ; with their program, and its import libraries.
    SetOutPath "$INSTDIR\Client\x64"
    File "${X64_DIR}/wzkWmiBios.dll"
    File "${X64_DIR}/libwzkWmiBios.dll.a"
    File "${X64_DIR}/wzkWmiBios.lib"
    ; Beside the DLL it calls. Only the tool: the firmware simulator built
    ; next to it stands in for a system component and is never installed.
    SetOutPath "$INSTDIR"
    File "${BIN_DIR}/wzkbios.exe"
    ${Log} "Client files: installed"
SectionEnd

; After the files, before the uninstall entry: a failure here rolls back as
; one in copying does. The keyboard values themselves are not rolled back
; (they stay on removal too), so nothing after them should fail: only the
; entry's few values follow.
Section /o "$(SEC_KEYBOARD)" SecKeyboard
    ClearErrors
    ExecWait '"$INSTDIR\kbdsetup.exe"' $0
    ${If} ${Errors}
        ${Fail} CANNOT_RUN_KBDSETUP
    ${ElseIf} $0 <> 0
        ${Fail} KBDSETUP_FAILED
    ${EndIf}
    ${Log} "Japanese 106-key keyboard: set up"
SectionEnd

; Written after every file is in place, so that a failed copy leaves no entry.
; The entry as it was is kept until the run has succeeded.
Section "-Uninstall entry"
    DeleteRegKey HKLM "${KEPT_ENTRY_KEY}"
    ${If} $PreviousLocation != ""
        ClearErrors
        !insertmacro COPY_KEY "${UNINST_KEY}" "${KEPT_ENTRY_KEY}" ${REG_OPTION_VOLATILE}
        ${If} ${Errors}
            ${Fail} CANNOT_KEEP_ENTRY
        ${EndIf}
    ${EndIf}
    ; An installation over an earlier one in its folder keeps the earlier
    ; record of what was created; one into another folder that existed
    ; created nothing.
    ${If} $CreatedFolder == ""
    ${AndIf} $SameFolder != 1
        DeleteRegValue HKLM "${UNINST_KEY}" "CreatedFolder"
    ${EndIf}
    ClearErrors
    WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "${COMPANY}"
    WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\VLTMedia.exe,0"
    WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
    ${If} $CreatedFolder != ""
        WriteRegStr HKLM "${UNINST_KEY}" "CreatedFolder" "$CreatedFolder"
    ${EndIf}
    ${If} ${Errors}
        ${Fail} CANNOT_WRITE_ENTRY
    ${EndIf}
    ${Log} "Uninstall entry: written"
SectionEnd

; The binding in the Media key's own view; what was there before the first
; binding is recorded in the uninstall entry (written just before), for the
; uninstaller to put back: MediaKeyBefore and MediaKeyBeforeType (REG_SZ or
; REG_EXPAND_SZ) for an earlier value, MediaKeyCreated when there was no key.
; MediaKey is the binding written. Last of all, so that nothing after it fails.
Section /o "$(SEC_MEDIA_KEY)" SecMediaKey
    ReadRegStr $1 HKLM "${UNINST_KEY}" "MediaKey"
    StrCpy $3 ${KEY_QUERY_VALUE}
    ${If} ${RunningX64}
        IntOp $3 $3 | ${KEY_WOW64_64KEY}
        SetRegView 64
    ${EndIf}
    ReadRegStr $2 HKLM "${MEDIA_APPKEY}" "${MEDIA_APPKEY_VALUE}"
    ; An earlier installation's own binding is no earlier value: what it
    ; recorded stays.
    ${If} $1 == ""
    ${OrIf} $1 != $2
        ; $5: 1 when the key exists; $4: the value's type, 0 when it has none.
        StrCpy $4 0
        StrCpy $5 0
        System::Call 'advapi32::RegOpenKeyExW(p ${HKEY_LOCAL_MACHINE}, w "${MEDIA_APPKEY}", i 0, i r3, *p .r1) i .r0'
        ${If} $0 = 0
            StrCpy $5 1
            System::Call 'advapi32::RegQueryValueExW(p r1, w "${MEDIA_APPKEY_VALUE}", p 0, *i .r4, p 0, p 0) i .r0'
            System::Call 'advapi32::RegCloseKey(p r1)'
            ${IfThen} $0 <> 0 ${|} StrCpy $4 0 ${|}
        ${EndIf}
        SetRegView default
        DeleteRegValue HKLM "${UNINST_KEY}" "MediaKeyCreated"
        DeleteRegValue HKLM "${UNINST_KEY}" "MediaKeyBefore"
        DeleteRegValue HKLM "${UNINST_KEY}" "MediaKeyBeforeType"
        ClearErrors
        ${If} $5 = 0
            WriteRegDWORD HKLM "${UNINST_KEY}" "MediaKeyCreated" 1
        ${ElseIf} $4 = ${REG_SZ}
        ${OrIf} $4 = ${REG_EXPAND_SZ}
            WriteRegStr HKLM "${UNINST_KEY}" "MediaKeyBefore" $2
            WriteRegDWORD HKLM "${UNINST_KEY}" "MediaKeyBeforeType" $4
        ${ElseIf} $4 <> 0
            ${Fail} MEDIA_KEY_NOT_TEXT
        ${EndIf}
        ${If} ${RunningX64}
            SetRegView 64
        ${EndIf}
    ${EndIf}
    WriteRegStr HKLM "${MEDIA_APPKEY}" "${MEDIA_APPKEY_VALUE}" "$INSTDIR\VLTMedia.exe"
    SetRegView default
    WriteRegStr HKLM "${UNINST_KEY}" "MediaKey" "$INSTDIR\VLTMedia.exe"
    ${If} ${Errors}
        ${Fail} CANNOT_BIND_MEDIA_KEY
    ${EndIf}
    ${Log} "Media key: bound to $INSTDIR\VLTMedia.exe"
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecPrograms} $(DESC_PROGRAMS)
    !insertmacro MUI_DESCRIPTION_TEXT ${SecClient} $(DESC_CLIENT)
    !insertmacro MUI_DESCRIPTION_TEXT ${SecKeyboard} $(DESC_KEYBOARD)
    !insertmacro MUI_DESCRIPTION_TEXT ${SecMediaKey} $(DESC_MEDIA_KEY)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Selects components from the command line; quits with EXIT_BAD_SWITCH on a
; switch it does not know, so that a mistyped one never installs the wrong set.
Function ReadSwitches
    ${GetParameters} $R0
    ${Do}
        Call NextWord
        StrCpy $R1 $R2 5
        ${If} $R2 S== "/CLIENT"
            !insertmacro SelectSection ${SecClient}
        ${ElseIf} $R2 S== "/KEYBOARD106"
            !insertmacro SelectSection ${SecKeyboard}
        ${ElseIf} $R2 S== "/MEDIAKEY"
            !insertmacro SelectSection ${SecMediaKey}
        ${ElseIf} $R2 S!= ""
        ${AndIf} $R2 S!= "/S"
        ${AndIf} $R2 S!= "/NCRC"
        ${AndIf} $R1 S!= "/LOG="
            MessageBox MB_ICONSTOP "$(UNKNOWN_SWITCH)" /SD IDOK
            ${Log} "failed: unknown switch $R2"
            !insertmacro QUIT ${EXIT_BAD_SWITCH}
        ${EndIf}
    ${LoopUntil} $R0 == ""
FunctionEnd

Function .onInit
    Call ReadLogSwitch
    Call ReadSwitches
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
        MessageBox MB_ICONSTOP "$(SETUP_NEEDS_ADMIN)" /SD IDOK
        ${Log} "failed: no administrator rights"
        !insertmacro QUIT ${EXIT_NOT_ADMIN}
    ${EndIf}
    ReadRegStr $PreviousLocation HKLM "${UNINST_KEY}" "InstallLocation"
    ; Left by a run that ended without its callbacks, in this boot.
    DeleteRegKey HKLM "${KEPT_ENTRY_KEY}"
FunctionEnd

; Takes back what this run added and puts back what it replaced: every file
; of an earlier installation (as the file system tells, whatever the
; spelling of its folder) as it was, and its uninstall entry.
Function .onInstFailed
    ${If} $Writing == 1
        ; Out of $INSTDIR: a process's current folder cannot be removed.
        SetOutPath $TEMP
        !insertmacro INSTALLED_FILES TAKE_BACK_FILE
        !insertmacro RemoveFolders $CreatedFolder
    ${EndIf}
    ClearErrors
    EnumRegValue $0 HKLM "${KEPT_ENTRY_KEY}" 0
    ${IfNot} ${Errors}
        DeleteRegKey HKLM "${UNINST_KEY}"
        !insertmacro COPY_KEY "${KEPT_ENTRY_KEY}" "${UNINST_KEY}" 0
        DeleteRegKey HKLM "${KEPT_ENTRY_KEY}"
    ${ElseIf} $PreviousLocation == ""
        DeleteRegKey HKLM "${UNINST_KEY}"
    ${EndIf}
    ${Log} "everything this run wrote was taken back"
    ${Log} "exit code 2"
FunctionEnd

; The earlier installation's kept files and entry go; the size is measured
; once they have gone.
Function .onInstSuccess
    !insertmacro INSTALLED_FILES SETTLE_FILE
    DeleteRegKey HKLM "${KEPT_ENTRY_KEY}"
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0
    ${IfNot} ${SectionIsSelected} ${SecClient}
        ${Log} "Client files: not chosen"
    ${EndIf}
    ${IfNot} ${SectionIsSelected} ${SecKeyboard}
        ${Log} "Japanese 106-key keyboard: not chosen"
    ${EndIf}
    ${IfNot} ${SectionIsSelected} ${SecMediaKey}
        ${Log} "Media key: not chosen"
    ${EndIf}
    ${Log} "exit code 0"
FunctionEnd

; Confirmed by the user (the abort warning), before anything was written.
Function OnCancel
    ${Log} "cancelled by the user"
    ${Log} "exit code 1"
FunctionEnd

; What stays: each user's menu settings under
; HKCU\SOFTWARE\WZK\Veltrane\Media are that user's data, and the keyboard
; driver values under HKLM\SYSTEM\CurrentControlSet\Services\i8042prt\Parameters
; are the machine's keyboard set-up: removing them would change the keyboard
; of a machine that needs them.
; The uninstall entry is touched only when it is this uninstaller's: an older
; installation in another folder must not remove a newer one's entry.
Section "Uninstall"
    Call un.CloseMenu
    Push $INSTDIR
    Call un.CanonicalFolder
    Pop $INSTDIR
    ; The entry is this uninstaller's when it names this folder, by whatever
    ; name either was given; the folders are then removed by the entry's names.
    ReadRegStr $1 HKLM "${UNINST_KEY}" "InstallLocation"
    StrCpy $0 ""
    StrCpy $2 ""
    ${If} $1 != ""
        Push $1
        Push $INSTDIR
        Call un.SameFolder
        Pop $2
    ${EndIf}
    ${If} $2 == 1
        Push $1
        Call un.CanonicalFolder
        Pop $INSTDIR
        ReadRegStr $0 HKLM "${UNINST_KEY}" "CreatedFolder"
        ${If} $0 != ""
            Push $0
            Call un.CanonicalFolder
            Pop $0
        ${EndIf}
    ${EndIf}
    ${Log} "folder: $INSTDIR"
    !insertmacro RemoveInstalledFiles $0
    ${Log} "Programs and client files: removed"
    ${If} $2 == 1
        Call un.UnbindMediaKey
        DeleteRegKey HKLM "${UNINST_KEY}"
        ${Log} "Uninstall entry: removed"
    ${Else}
        ${Log} "Uninstall entry: another folder's, left alone"
    ${EndIf}
    ${If} ${RebootFlag}
        ${Log} "some files are deleted at the next restart"
        SetErrorLevel ${EXIT_REBOOT_NEEDED}
        ${Log} "exit code ${EXIT_REBOOT_NEEDED}"
    ${Else}
        ${Log} "exit code 0"
    ${EndIf}
SectionEnd

; The Media key as it was before the first binding, where the binding is
; still this installation's (another program may have bound it since).
Function un.UnbindMediaKey
    ReadRegStr $3 HKLM "${UNINST_KEY}" "MediaKey"
    ${IfThen} $3 == "" ${|} Return ${|}
    ReadRegStr $4 HKLM "${UNINST_KEY}" "MediaKeyBefore"
    ReadRegDWORD $5 HKLM "${UNINST_KEY}" "MediaKeyBeforeType"
    ReadRegDWORD $6 HKLM "${UNINST_KEY}" "MediaKeyCreated"
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
    ReadRegStr $7 HKLM "${MEDIA_APPKEY}" "${MEDIA_APPKEY_VALUE}"
    ${If} $7 != $3
        ${Log} "Media key: bound to $7 since, left alone"
    ${ElseIf} $5 = ${REG_SZ}
        WriteRegStr HKLM "${MEDIA_APPKEY}" "${MEDIA_APPKEY_VALUE}" $4
    ${ElseIf} $5 = ${REG_EXPAND_SZ}
        WriteRegExpandStr HKLM "${MEDIA_APPKEY}" "${MEDIA_APPKEY_VALUE}" $4
    ${Else}
        DeleteRegValue HKLM "${MEDIA_APPKEY}" "${MEDIA_APPKEY_VALUE}"
        ${If} $6 = 1
            DeleteRegKey /ifempty HKLM "${MEDIA_APPKEY}"
        ${EndIf}
    ${EndIf}
    ${If} $7 == $3
        ${Log} "Media key: put back as it was"
    ${EndIf}
    SetRegView default
FunctionEnd

Function un.onInit
    Call un.ReadLogSwitch
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
        MessageBox MB_ICONSTOP "$(REMOVAL_NEEDS_ADMIN)" /SD IDOK
        ${Log} "failed: no administrator rights"
        !insertmacro QUIT ${EXIT_NOT_ADMIN}
    ${EndIf}
FunctionEnd

Function un.OnCancel
    ${Log} "cancelled by the user"
    ${Log} "exit code 1"
FunctionEnd
