; The Windows installer:
;   makensis -DVERSION=2.2.0 -DSTAGE=<installed tree> -DICON=<lumitakt.ico> -DOUTFILE=<setup.exe> lumitakt.nsi
; It installs the program as it lies in the tree that "cmake --install"
; writes (bin\Lumitakt.exe, share\lumitakt\...): for all users into Program
; Files when an administrator runs it, otherwise (or with /CurrentUser) for
; the user alone into %LOCALAPPDATA%\Programs, with its Apps entry in that
; user's registry. It adds a Start-menu entry, on request a Startup entry
; ("Beim Anmelden starten"), and writes an uninstaller that takes all of it
; away again. The settings stay in the user's profile. Neither installs nor
; removes anything while a clock runs: it asks for the clock to be ended,
; and run silently (/S) it ends with exit code 2 instead.
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

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; The clock started from the last page runs as the signed-in user, not with
; the installer's administrator rights.
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

; Waits until no clock runs: the user is asked to end it; silently, or when
; the user cancels, the installer ends with exit code 2 and changes nothing.
!macro WaitForNoClock
  ${Do}
    ; The clock's mutex: found, or there but not ours to open.
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Lumitakt.Running") p .r0 ?e'
    Pop $1
    ${If} $0 != 0
      System::Call 'kernel32::CloseHandle(p r0)'
    ${ElseIf} $1 <> 5
      ${Break}
    ${EndIf}
    ${If} ${Silent}
      SetErrorLevel 2
      Quit
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Lumitakt läuft noch. Schließen Sie das Fenster der Uhr und wählen Sie dann Wiederholen." IDRETRY again
    SetErrorLevel 2
    Quit
    again:
  ${Loop}
!macroend

Function .onInit
  !insertmacro WaitForNoClock
  ClearErrors
  ${GetParameters} $R0
  ${GetOptions} $R0 "/CurrentUser" $R1
  ${If} ${Errors}
    UserInfo::GetAccountType
    Pop $R2
    ${If} $R2 == "Admin"
      StrCpy $AllUsers 1
    ${EndIf}
  ${EndIf}
  ${If} $AllUsers == 1
    SetShellVarContext all
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
FunctionEnd

Function StartClock
  ${If} $AllUsers == 1
    ; Explorer starts it in the signed-in user's own session and rights.
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\bin\Lumitakt.exe"'
  ${Else}
    Exec '"$INSTDIR\bin\Lumitakt.exe"'
  ${EndIf}
FunctionEnd

Section "Lumitakt" SecProgram
  SectionIn RO
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
  ; SHCTX: HKLM for all users, HKCU for the user alone.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Das Lumitakt-Projekt"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\bin\Lumitakt.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section /o "Beim Anmelden starten" SecStartup
  CreateShortcut "$SMSTARTUP\Lumitakt.lnk" "$INSTDIR\bin\Lumitakt.exe"
SectionEnd

Function un.onInit
  !insertmacro WaitForNoClock
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
FunctionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Lumitakt.lnk"
  Delete "$SMSTARTUP\Lumitakt.lnk"
  Delete "$INSTDIR\bin\Lumitakt.exe"
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
SectionEnd
