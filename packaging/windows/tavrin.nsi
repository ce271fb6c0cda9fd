; The Windows installer of Tavrin: both programs, the read-me, the licence and the user guide
; under "Program Files\Tavrin", a Start menu entry "Tavrin" for all users, the entry under the
; installed apps and an uninstaller that removes exactly these files and nothing else.
;
; Built by CMake (target tavrin_installer) with
;   makensis -DVERSION=1.00.0006 -DVERSION4=1.0.0.6 -DSTAGE=<folder with the files> -DOUTFILE=<setup.exe>
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!include MUI2.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrin"
!define PUBLISHER "Tavrin-Projekt"

Name "Tavrin ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Tavrin"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Tavrin ${VERSION}"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=1031 "ProductName" "Tavrin"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "FileDescription" "Tavrin ${VERSION} – Installation"
VIAddVersionKey /LANG=1031 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1031 "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}, MIT-Lizenz"

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tavrin.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\LIESMICH.txt"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

; A 64-bit installer (it does not start on 32-bit Windows): the 64-bit registry, and the Start
; menu of all users.
Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Tavrin"
  SetOutPath "$INSTDIR"
  File "${STAGE}\Tavrin.exe"
  File "${STAGE}\tavrin-convert.exe"
  File "${STAGE}\LIESMICH.txt"
  File "${STAGE}\LICENSE.txt"
  File "${STAGE}\Benutzerhandbuch.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "$SMPROGRAMS\Tavrin.lnk" "$INSTDIR\Tavrin.exe" "" "$INSTDIR\Tavrin.exe" 0 \
    SW_SHOWNORMAL "" "VB5-Common Controls gegen VB6-Common Controls austauschen"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tavrin"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tavrin.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Only what the installer put there, by name; the folder itself goes only when it is empty
; then, so files a user kept in it stay. The uninstaller's own file goes last but the folder.
Section "Uninstall"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$SMPROGRAMS\Tavrin.lnk"
  Delete "$INSTDIR\Tavrin.exe"
  Delete "$INSTDIR\tavrin-convert.exe"
  Delete "$INSTDIR\LIESMICH.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Benutzerhandbuch.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
