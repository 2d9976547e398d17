; The Windows installer: Vorlane for the current user, without administrator
; rights, with a Start menu entry, an uninstaller and the design files'
; type. makensis -DVERSION=2.0 -DSTAGE=<folder of the programs> -DOUTFILE=<setup.exe>
; A 64-bit installer for the 64-bit programs (and Wine without its 32-bit part runs it).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define APP "Vorlane"
!define PROGID "Vorlane.Design"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorlane"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
InstallDirRegKey HKCU "Software\${APP}" "InstallDir"
Icon "vorlane.ico"
UninstallIcon "vorlane.ico"
ShowInstDetails show

!include "MUI2.nsh"
!define MUI_ICON "vorlane.ico"
!define MUI_UNICON "vorlane.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\vorlane.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Vorlane"
  SetOutPath "$INSTDIR"
  File "${STAGE}\vorlane.exe"
  File "${STAGE}\vorlane-gen.exe"
  File "${STAGE}\vorlane-calc.exe"
  File "${STAGE}\README.txt"
  SetOutPath "$INSTDIR\examples"
  File "${STAGE}\examples\*.json"
  SetOutPath "$INSTDIR"
  ; The uninstaller beside the program also tells it that it is installed:
  ; its settings then go to %APPDATA%\Vorlane.
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKCU "Software\${APP}" "InstallDir" "$INSTDIR"

  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\vorlane.exe"

  ; Design files open in Vorlane. Windows picks a file's type by its last
  ; extension, so Vorlane is also offered for any .json file.
  WriteRegStr HKCU "Software\Classes\${PROGID}" "" "Vorlane design"
  WriteRegStr HKCU "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\vorlane.exe,0"
  WriteRegStr HKCU "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\vorlane.exe" "%1"'
  WriteRegStr HKCU "Software\Classes\.vorlane.json" "" "${PROGID}"
  WriteRegStr HKCU "Software\Classes\.json\OpenWithProgids" "${PROGID}" ""
  WriteRegStr HKCU "Software\Classes\Applications\vorlane.exe\SupportedTypes" ".json" ""
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Vorlane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vorlane.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\vorlane.exe"
  Delete "$INSTDIR\vorlane-gen.exe"
  Delete "$INSTDIR\vorlane-calc.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\examples\*.json"
  RMDir "$INSTDIR\examples"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegKey HKCU "Software\Classes\${PROGID}"
  DeleteRegKey HKCU "Software\Classes\.vorlane.json"
  DeleteRegValue HKCU "Software\Classes\.json\OpenWithProgids" "${PROGID}"
  DeleteRegKey HKCU "Software\Classes\Applications\vorlane.exe"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\${APP}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
