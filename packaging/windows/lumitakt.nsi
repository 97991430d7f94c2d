; The Windows installer:
;   makensis -DVERSION=2.2.0 -DSTAGE=<installed tree> -DICON=<lumitakt.ico> -DOUTFILE=<setup.exe> lumitakt.nsi
; It installs the program as it lies in the tree that "cmake --install"
; writes (bin\Lumitakt.exe, share\lumitakt\...): for all users into Program
; Files when an administrator runs it, otherwise (or with /CurrentUser) for
; the user alone into %LOCALAPPDATA%\Programs, with its Apps entry in that
; user's registry. It adds a Start-menu entry, on request a Startup entry
; ("Beim Anmelden starten"; for all users in an installation for all), and
; writes an uninstaller that takes all of it away again. The settings stay
; in the user's profile. Neither installs nor removes anything while a clock
; runs, in any session: it asks for the clock to be ended, and run silently
; (/S) it ends with exit code 2 instead. Where it may not write (a standard
; user removing an installation for all users) it says so and ends with
; exit code 5, having changed nothing.
; A 64-bit installer for a 64-bit program: no 32-bit Windows layer is needed.
Target amd64-unicode
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define NAME "Lumitakt"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${NAME}"

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
; An administrator is asked for consent and installs for all users; anyone
; else installs for themselves, without a question.
RequestExecutionLevel highest
ManifestDPIAware true
SetCompressor /SOLID lzma
BrandingText " "
Var AllUsers ; 1: for all users
Var Elevated ; 1: run with an administrator's rights

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; The clock started from the last page runs as the signed-in user, not with
; the installer's administrator rights (StartClock).
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartClock
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "${NAME}"
VIAddVersionKey /LANG=${LANG_GERMAN} "CompanyName" "Das Lumitakt-Projekt"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "Lumitakt installieren"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "Das Lumitakt-Projekt"

; Whether a clock runs, in any session: $0 is 1 if so. The clock holds
; "Global\Lumitakt.Running", which every session sees and everyone may wait
; on; a mutex of that name that this installer may not open is someone
; else's, not a clock's. "Lumitakt.Running" is the older clocks' name, in
; this session's namespace. And a program that runs cannot be opened for
; writing (a sharing violation), whoever runs it, from whatever session.
!macro ClockRuns un
Function ${un}ClockRuns
  StrCpy $0 1
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Global\Lumitakt.Running") p .r1'
  ${If} $1 P<> 0
    System::Call 'kernel32::CloseHandle(p r1)'
    Return
  ${EndIf}
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Lumitakt.Running") p .r1 ?e'
  Pop $2
  ${If} $1 P<> 0
    System::Call 'kernel32::CloseHandle(p r1)'
    Return
  ${ElseIf} $2 = 5
    Return
  ${EndIf}
  ; GENERIC_WRITE, sharing read, write and delete, OPEN_EXISTING.
  System::Call 'kernel32::CreateFileW(w "$INSTDIR\bin\Lumitakt.exe", i 0x40000000, i 7, p 0, i 3, i 0, p 0) p .r1 ?e'
  Pop $2
  ${If} $1 P<> -1
    System::Call 'kernel32::CloseHandle(p r1)'
  ${ElseIf} $2 = 32
    Return
  ${EndIf}
  StrCpy $0 0
FunctionEnd
!macroend
!insertmacro ClockRuns ""
!insertmacro ClockRuns "un."

; Waits until no clock runs: the user is asked to end it; silently, or when
; the user cancels, the installer ends with exit code 2 and changes nothing.
!macro WaitForNoClock un
  ${Do}
    Call ${un}ClockRuns
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    ${If} ${Silent}
      SetErrorLevel 2
      Quit
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Lumitakt läuft noch. Schließen Sie das Fenster der Uhr, auch in anderen Sitzungen dieses Computers, und wählen Sie dann Wiederholen." IDRETRY again
    SetErrorLevel 2
    Quit
    again:
  ${Loop}
!macroend

; Ends with exit code 5 (as Windows' "access denied"), having changed
; nothing, where this process may not write the folder $INSTDIR: nothing is
; ever reported as done that was not.
!macro MayWriteOrQuit text
  ClearErrors
  CreateDirectory "$INSTDIR"
  FileOpen $0 "$INSTDIR\Lumitakt-Probe.tmp" w
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "${text}" /SD IDOK
    SetErrorLevel 5
    Quit
  ${EndIf}
  FileClose $0
  Delete "$INSTDIR\Lumitakt-Probe.tmp"
!macroend

Section "Lumitakt" SecProgram
  SectionIn RO
  ; The folder may have been chosen on the page before: checked again before
  ; anything is written.
  !insertmacro WaitForNoClock ""
  !insertmacro MayWriteOrQuit "In den Ordner $INSTDIR kann Lumitakt nicht installiert werden, da Sie dort nicht schreiben dürfen. Wählen Sie einen anderen Ordner."
  SetOutPath "$INSTDIR\bin"
  File "${STAGE}/bin/Lumitakt.exe"
  SetOutPath "$INSTDIR\share\lumitakt"
  File "${STAGE}/share/lumitakt/Termin.wav"
  File "${STAGE}/share/lumitakt/Lumitakt.html"
  SetOutPath "$INSTDIR\share\lumitakt\help"
  File "${STAGE}/share/lumitakt/help/*.png"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Lumitakt.lnk" "$INSTDIR\bin\Lumitakt.exe"
  ; Installed again without "Beim Anmelden starten", the clock no longer
  ; starts at login.
  Delete "$SMSTARTUP\Lumitakt.lnk"
  ; SHCTX: HKLM for all users, HKCU for the user alone.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Das Lumitakt-Projekt"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\bin\Lumitakt.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  ; Run in place (_?=), the uninstaller is the process that was started:
  ; whoever runs this line waits for it and gets its exit code.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; Installed for all users, the entry goes into the Startup folder all users
; share, and the option says so: an administrator's choice for the computer,
; which the uninstaller takes away again. Installed for the user alone, it
; goes into that user's own Startup folder.
Section /o "Beim Anmelden starten" SecStartup
  CreateShortcut "$SMSTARTUP\Lumitakt.lnk" "$INSTDIR\bin\Lumitakt.exe"
SectionEnd

Function .onInit
  ; With "highest", an administrator's installer runs elevated.
  UserInfo::GetAccountType
  Pop $R2
  ${If} $R2 == "Admin"
    StrCpy $Elevated 1
  ${EndIf}
  ClearErrors
  ${GetParameters} $R0
  ${GetOptions} $R0 "/CurrentUser" $R1
  ${If} ${Errors}
  ${AndIf} $Elevated == 1
    StrCpy $AllUsers 1
  ${EndIf}
  ${If} $AllUsers == 1
    SetShellVarContext all
    SectionSetText ${SecStartup} "Beim Anmelden starten (für alle Benutzer)"
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ; /D= on the command line wins.
  ${If} $INSTDIR == ""
    ${If} $AllUsers == 1
      StrCpy $INSTDIR "$PROGRAMFILES64\${NAME}"
    ${Else}
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${NAME}"
    ${EndIf}
  ${EndIf}
  !insertmacro WaitForNoClock ""
FunctionEnd

; The clock started from the last page runs with the signed-in user's own
; rights, never the installer's, whatever the target: an elevated installer
; has Explorer, which runs as that user in that user's session, start it.
Function StartClock
  ${If} $Elevated == 1
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\bin\Lumitakt.exe"'
  ${Else}
    Exec '"$INSTDIR\bin\Lumitakt.exe"'
  ${EndIf}
FunctionEnd

Function un.onInit
  ; Started by the uninstaller that ran in place, from NSIS's own copy in a
  ; folder of its own: once that one has ended, its file and the then empty
  ; folder go, unless a new installation has come meanwhile. Nothing else.
  ${un.GetParameters} $R0
  ClearErrors
  ${un.GetOptions} $R0 "/Aufraeumen=" $R1
  ${IfNot} ${Errors}
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i R1) p .r1'
    ${If} $1 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r1, i 120000)'
      System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
    ${For} $R2 1 25
      ${If} ${FileExists} "$INSTDIR\bin\Lumitakt.exe"
      ${OrIfNot} ${FileExists} "$INSTDIR\Uninstall.exe"
        ${Break}
      ${EndIf}
      Delete "$INSTDIR\Uninstall.exe"
      Sleep 200
    ${Next}
    RMDir "$INSTDIR"
    Quit
  ${EndIf}
  !insertmacro WaitForNoClock "un."
  ; Installed for all users where the machine's Apps entry names this
  ; folder (compared in short form: either may be written either way).
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  GetFullPathName /SHORT $1 $0
  GetFullPathName /SHORT $2 $INSTDIR
  ${If} $0 == $INSTDIR
    StrCpy $AllUsers 1
  ${ElseIf} $1 != ""
  ${AndIf} $1 == $2
    StrCpy $AllUsers 1
  ${EndIf}
  ${If} $AllUsers == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ; A standard user may not take away what was installed for all users.
  !insertmacro MayWriteOrQuit "Lumitakt ist für alle Benutzer dieses Computers installiert. Nur ein Administrator kann es entfernen."
  ${If} $AllUsers == 1
    ClearErrors
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Lumitakt-Probe" ""
    ${If} ${Errors}
      MessageBox MB_OK|MB_ICONSTOP "Lumitakt ist für alle Benutzer dieses Computers installiert. Nur ein Administrator kann es entfernen." /SD IDOK
      SetErrorLevel 5
      Quit
    ${EndIf}
    DeleteRegValue HKLM "${UNINSTALL_KEY}" "Lumitakt-Probe"
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; A clock started while the first page was open: checked again. The
  ; program goes first; what cannot be taken away leaves all else as it is.
  !insertmacro WaitForNoClock "un."
  Delete "$INSTDIR\bin\Lumitakt.exe"
  ${If} ${FileExists} "$INSTDIR\bin\Lumitakt.exe"
    MessageBox MB_OK|MB_ICONSTOP "Die Datei $INSTDIR\bin\Lumitakt.exe lässt sich nicht löschen. Lumitakt wurde nicht entfernt." /SD IDOK
    SetErrorLevel 5
    Quit
  ${EndIf}
  Delete "$SMPROGRAMS\Lumitakt.lnk"
  Delete "$SMSTARTUP\Lumitakt.lnk"
  RMDir "$INSTDIR\bin"
  Delete "$INSTDIR\share\lumitakt\help\*.png"
  RMDir "$INSTDIR\share\lumitakt\help"
  Delete "$INSTDIR\share\lumitakt\Termin.wav"
  Delete "$INSTDIR\share\lumitakt\Lumitakt.html"
  RMDir "$INSTDIR\share\lumitakt"
  RMDir "$INSTDIR\share"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ; Run in place (the quiet uninstall), the uninstaller is the running
  ; program, which cannot be deleted. Started without _?=, it copies itself
  ; as NSIS does, into a folder of its own that only its user may change,
  ; and that copy takes it and its folder away once this one has ended (see
  ; un.onInit); this one ends at once, without a last page to wait on.
  ; Where it cannot start, an administrator's uninstaller has Windows take
  ; them away at its next start.
  ${If} ${FileExists} "$INSTDIR\Uninstall.exe"
    SetAutoClose true
    System::Call 'kernel32::GetCurrentProcessId() i .r0'
    ClearErrors
    Exec '"$INSTDIR\Uninstall.exe" /S /Aufraeumen=$0'
    ${If} ${Errors}
      Delete /REBOOTOK "$INSTDIR\Uninstall.exe"
      RMDir /REBOOTOK "$INSTDIR"
    ${EndIf}
  ${EndIf}
SectionEnd
