; VeltraneSetup.exe: installs the three Veltrane components per machine and
; registers an uninstaller. Built by installer/CMakeLists.txt, which passes:
;   SOURCE_DIR  the checkout (for the client header and the version header)
;   BIN_DIR     where VLTMedia.exe, wzkWmiBios.dll and kbdsetup.exe were built
;   LIB_DIR     where the import libraries were built
;   X64_DIR     where the 64-bit BIOS library and its import libraries were built
;   OUT_FILE    the installer to write
;   WITH_MSVC_IMPLIB  defined when wzkWmiBios.lib is built
;   WZKBIOS     the BIOS tool, when it is built
;   SIGN_COMMAND  a release's signing command (tools/release), run on the
;                 installer and on the uninstaller it writes
;
; Command line (switches are case-sensitive, like the toolkit's own /S):
;   /S              silent
;   /CLIENT         also install the client files
;   /KEYBOARD106    also set up the Japanese 106-key keyboard
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

; One version for every binary: the one in common/ProductVersion.h.
!define VERSION_HEADER "${SOURCE_DIR}/common/ProductVersion.h"
!searchparse /file "${VERSION_HEADER}" "#define PRODUCT_VERSION_MAJOR " V_MAJOR
!searchparse /file "${VERSION_HEADER}" "#define PRODUCT_VERSION_MINOR " V_MINOR
!searchparse /file "${VERSION_HEADER}" "#define PRODUCT_VERSION_PATCH " V_PATCH
!searchparse /file "${VERSION_HEADER}" "#define PRODUCT_VERSION_BUILD " V_BUILD
!searchparse /file "${VERSION_HEADER}" '#define PRODUCT_COMPANY_TEXT "' COMPANY '"'
!define VERSION "${V_MAJOR}.${V_MINOR}.${V_PATCH}.${V_BUILD}"

!define PRODUCT "Veltrane"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define UNINSTALLER "Uninstall.exe"
; Exit codes beyond the toolkit's own 0, 1 and 2.
!define EXIT_BAD_SWITCH 3
!define EXIT_NOT_ADMIN 4
!define EXIT_REBOOT_NEEDED 3010
; The open menu: its dialog window, and how long its process is given to end
; once asked to close.
!define MENU_CLASS "#32770"
!define MENU_TITLE "VLTMedia"
!define MENU_END_WAIT_MS 30000
!define SYNCHRONIZE 0x00100000

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
!define MUI_COMPONENTSPAGE_SMALLDESC
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The uninstall entry's location before this run ("" when there was none),
; the outermost folder this run created for $INSTDIR ("" when $INSTDIR
; already existed), and 1 when $INSTDIR is the folder of that earlier
; installation.
Var PreviousLocation
Var CreatedFolder
Var SameFolder

; The installer's and the uninstaller's copies of a function (the toolkit
; keeps the two apart: the uninstaller's names start with "un.").
!macro BOTH_SIDES MACRO
    !insertmacro ${MACRO} ""
    !insertmacro ${MACRO} "un."
!macroend

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

; Removes the files and folders an installation puts into $INSTDIR, and
; nothing else: folders only when empty, and above $INSTDIR only up to the
; outermost one the first installation created (given as FOLDER, compared by
; whole path components: C:\A is no folder of C:\AB\Veltrane).
!macro RemoveInstalledFiles FOLDER
    Delete /REBOOTOK "$INSTDIR\VLTMedia.exe"
    Delete /REBOOTOK "$INSTDIR\wzkWmiBios.dll"
    Delete /REBOOTOK "$INSTDIR\kbdsetup.exe"
    !ifdef WZKBIOS
        Delete /REBOOTOK "$INSTDIR\wzkbios.exe"
    !endif
    Delete "$INSTDIR\Client\include\wzkWmiBios.h"
    Delete "$INSTDIR\Client\lib\libwzkWmiBios.dll.a"
    Delete "$INSTDIR\Client\lib\wzkWmiBios.lib"
    Delete "$INSTDIR\Client\x64\wzkWmiBios.dll"
    Delete "$INSTDIR\Client\x64\libwzkWmiBios.dll.a"
    Delete "$INSTDIR\Client\x64\wzkWmiBios.lib"
    RMDir "$INSTDIR\Client\include"
    RMDir "$INSTDIR\Client\lib"
    RMDir "$INSTDIR\Client\x64"
    RMDir "$INSTDIR\Client"
    Delete /REBOOTOK "$INSTDIR\${UNINSTALLER}"
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

Section "Programs" SecPrograms
    SectionIn RO
    ; Whether this is the earlier installation's folder, asked of the file
    ; system while nothing is written yet: a folder that does not exist now
    ; is this run's, however it is spelled.
    StrCpy $SameFolder ""
    ${If} $PreviousLocation != ""
    ${AndIf} ${FileExists} "$PreviousLocation\*.*"
    ${AndIf} ${FileExists} "$INSTDIR\*.*"
        Push $PreviousLocation
        Call CanonicalFolder
        Push $INSTDIR
        Call CanonicalFolder
        Pop $0
        Pop $1
        ${IfThen} $0 == $1 ${|} StrCpy $SameFolder 1 ${|}
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

    SetOutPath "$INSTDIR"
    ; Recorded as the file system spells them, for the uninstaller to compare.
    Push $INSTDIR
    Call CanonicalFolder
    Pop $INSTDIR
    ${If} $CreatedFolder != ""
        Push $CreatedFolder
        Call CanonicalFolder
        Pop $CreatedFolder
    ${EndIf}
    Call CloseMenu
    File "${BIN_DIR}/VLTMedia.exe"
    File "${BIN_DIR}/wzkWmiBios.dll"
    File "${BIN_DIR}/kbdsetup.exe"
    ClearErrors
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    ${If} ${Errors}
        DetailPrint "Cannot write $INSTDIR\${UNINSTALLER}"
        Abort
    ${EndIf}
SectionEnd

Section /o "Client files" SecClient
    SetOutPath "$INSTDIR\Client\include"
    File "${SOURCE_DIR}/Shared/wzkWmiBios/wzkWmiBios.h"
    SetOutPath "$INSTDIR\Client\lib"
    File "${LIB_DIR}/libwzkWmiBios.dll.a"
    !ifdef WITH_MSVC_IMPLIB
        File "${LIB_DIR}/wzkWmiBios.lib"
    !endif
    ; For 64-bit clients: the 64-bit build of the library, which they ship
    ; with their program, and its import libraries.
    SetOutPath "$INSTDIR\Client\x64"
    File "${X64_DIR}/wzkWmiBios.dll"
    File "${X64_DIR}/libwzkWmiBios.dll.a"
    !ifdef WITH_MSVC_IMPLIB
        File "${X64_DIR}/wzkWmiBios.lib"
    !endif
    !ifdef WZKBIOS
        ; Beside the DLL it calls. Only the tool: the firmware simulator built
        ; next to it stands in for a system component and is never installed.
        SetOutPath "$INSTDIR"
        File "${WZKBIOS}"
    !endif
SectionEnd

; After the files, before the uninstall entry: a failure here rolls back as
; one in copying does. The keyboard values themselves are not rolled back
; (they stay on removal too), so nothing after them should fail: only the
; entry's few values follow.
Section /o "Japanese 106-key keyboard" SecKeyboard
    ClearErrors
    ExecWait '"$INSTDIR\kbdsetup.exe"' $0
    ${If} ${Errors}
        DetailPrint "Cannot run $INSTDIR\kbdsetup.exe"
        Abort
    ${ElseIf} $0 <> 0
        DetailPrint "$INSTDIR\kbdsetup.exe failed with exit code $0"
        Abort
    ${EndIf}
SectionEnd

; Written after every file is in place, so that a failed copy leaves no entry.
Section "-Uninstall entry"
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
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0
    ${If} $CreatedFolder != ""
        WriteRegStr HKLM "${UNINST_KEY}" "CreatedFolder" "$CreatedFolder"
    ${EndIf}
    ${If} ${Errors}
        DetailPrint "Cannot write the uninstall entry"
        Abort
    ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecPrograms} \
        "The media menu, the BIOS library and the keyboard setup program (always installed)."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecClient} \
        "Header and import libraries for programs that call the BIOS library."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecKeyboard} \
        "Sets the PS/2 keyboard driver up for the Japanese 106-key keyboard (takes effect after a restart)."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Selects components from the command line; quits with EXIT_BAD_SWITCH on a
; switch it does not know, so that a mistyped one never installs the wrong set.
Function ReadSwitches
    ${GetParameters} $R0
    ${Do}
        ; The next word: $R1 its length, $R2 the word.
        StrCpy $R1 0
        ${Do}
            StrCpy $R2 $R0 1 $R1
            ${IfThen} $R2 == "" ${|} ${ExitDo} ${|}
            ${IfThen} $R2 == " " ${|} ${ExitDo} ${|}
            IntOp $R1 $R1 + 1
        ${Loop}
        StrCpy $R2 $R0 $R1
        IntOp $R1 $R1 + 1
        StrCpy $R0 $R0 "" $R1
        ${If} $R2 S== "/CLIENT"
            !insertmacro SelectSection ${SecClient}
        ${ElseIf} $R2 S== "/KEYBOARD106"
            !insertmacro SelectSection ${SecKeyboard}
        ${ElseIf} $R2 S!= ""
        ${AndIf} $R2 S!= "/S"
        ${AndIf} $R2 S!= "/NCRC"
            MessageBox MB_ICONSTOP "Unknown switch: $R2$\n$\nKnown: /S /CLIENT /KEYBOARD106 /D=folder" /SD IDOK
            SetErrorLevel ${EXIT_BAD_SWITCH}
            Quit
        ${EndIf}
    ${LoopUntil} $R0 == ""
FunctionEnd

Function .onInit
    Call ReadSwitches
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
        MessageBox MB_ICONSTOP "${PRODUCT} setup needs administrator rights." /SD IDOK
        SetErrorLevel ${EXIT_NOT_ADMIN}
        Quit
    ${EndIf}
    ReadRegStr $PreviousLocation HKLM "${UNINST_KEY}" "InstallLocation"
FunctionEnd

; Takes back what this run added. Over an earlier installation in the same
; folder (as the file system tells, whatever the spelling) the files were
; already replaced, so that installation is left as it is (still registered,
; and removable by its uninstaller).
Function .onInstFailed
    ${If} $SameFolder != 1
        ; Out of $INSTDIR: a process's current folder cannot be removed.
        SetOutPath $TEMP
        !insertmacro RemoveInstalledFiles $CreatedFolder
    ${EndIf}
    ${If} $PreviousLocation == ""
        DeleteRegKey HKLM "${UNINST_KEY}"
    ${EndIf}
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
    ReadRegStr $1 HKLM "${UNINST_KEY}" "InstallLocation"
    StrCpy $0 ""
    ${If} $1 != ""
        Push $1
        Call un.CanonicalFolder
        Pop $1
    ${EndIf}
    ${If} $1 == $INSTDIR
        ReadRegStr $0 HKLM "${UNINST_KEY}" "CreatedFolder"
        ${If} $0 != ""
            Push $0
            Call un.CanonicalFolder
            Pop $0
        ${EndIf}
    ${EndIf}
    !insertmacro RemoveInstalledFiles $0
    ${If} $1 == $INSTDIR
        DeleteRegKey HKLM "${UNINST_KEY}"
    ${EndIf}
    ${If} ${RebootFlag}
        SetErrorLevel ${EXIT_REBOOT_NEEDED}
    ${EndIf}
SectionEnd

Function un.onInit
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
        MessageBox MB_ICONSTOP "Removing ${PRODUCT} needs administrator rights." /SD IDOK
        SetErrorLevel ${EXIT_NOT_ADMIN}
        Quit
    ${EndIf}
FunctionEnd
