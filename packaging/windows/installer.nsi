; The Windows installer of Vyk Edit: the programs into Program Files, a Start-menu entry,
; .VYK projects and .maf meters opening in the program, and an uninstaller that removes what it
; installed and nothing of the user's (projects, meters, settings and data stay).
; makensis -DVERSION=1.2b -DSTAGE=<folder of the programs and DLLs> -DOUTFILE=<setup.exe>
; A 64-bit installer for 64-bit programs (and Wine without its 32-bit half runs it).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "x64.nsh"

Name "Vyk Edit ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vyk Edit"
InstallDirRegKey HKLM "Software\Vyk Edit" "InstallDir"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vyk Edit"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A file type that opens in vykedit.exe.
!macro FileType EXT CLASS DESCRIPTION
  WriteRegStr HKLM "Software\Classes\${EXT}" "" "${CLASS}"
  WriteRegStr HKLM "Software\Classes\${CLASS}" "" "${DESCRIPTION}"
  WriteRegStr HKLM "Software\Classes\${CLASS}\DefaultIcon" "" "$INSTDIR\vykedit.exe,0"
  WriteRegStr HKLM "Software\Classes\${CLASS}\shell\open\command" "" '"$INSTDIR\vykedit.exe" "%1"'
!macroend

Section "Vyk Edit"
  SetRegView 64
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Vyk Edit.lnk" "$INSTDIR\vykedit.exe"
  !insertmacro FileType ".VYK" "VykEdit.Project" "Vyk Edit project"
  !insertmacro FileType ".maf" "VykEdit.Meter" "Mass-air meter"
  WriteRegStr HKLM "Software\Vyk Edit" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vyk Edit"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vykedit.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there: the user's files in the folder, if any, stay with it.
Section "Uninstall"
  SetRegView 64
  Delete "$SMPROGRAMS\Vyk Edit.lnk"
  Delete "$INSTDIR\vyk.exe"
  Delete "$INSTDIR\vykedit.exe"
  Delete "$INSTDIR\*.dll"
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "Software\Classes\VykEdit.Project"
  DeleteRegKey HKLM "Software\Classes\VykEdit.Meter"
  ReadRegStr $0 HKLM "Software\Classes\.VYK" ""
  StrCmp $0 "VykEdit.Project" 0 +2
    DeleteRegKey HKLM "Software\Classes\.VYK"
  ReadRegStr $0 HKLM "Software\Classes\.maf" ""
  StrCmp $0 "VykEdit.Meter" 0 +2
    DeleteRegKey HKLM "Software\Classes\.maf"
  DeleteRegKey HKLM "Software\Vyk Edit"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
