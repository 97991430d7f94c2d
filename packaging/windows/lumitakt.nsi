; The Windows installer: makensis -DVERSION=2.2.0 -DSTAGE=<installed tree> -DOUTFILE=<setup.exe> lumitakt.nsi
; It puts the program into Program Files as it lies in the tree that
; "cmake --install" writes (bin\Lumitakt.exe, share\lumitakt\...), adds a
; Start-menu entry and an entry under Apps, and writes an uninstaller that
; takes all of it away again. The settings stay in the user's profile.
; A 64-bit installer for a 64-bit program: no 32-bit Windows layer is needed.
Target amd64-unicode
!include "MUI2.nsh"

!define NAME "Lumitakt"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${NAME}"

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${NAME}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\bin\Lumitakt.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

Section "Lumitakt"
  SetShellVarContext all
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
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Das Lumitakt-Projekt"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\bin\Lumitakt.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Lumitakt.lnk"
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
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
