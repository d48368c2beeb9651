; The Vantorel installer. Built by the target package_release
; (packaging/CMakeLists.txt), which defines on the makensis command line:
;   VERSION    the version, 1.1.0
;   VERSION4   the same in four parts for the version resource, 1.1.0.0
;   STAGE_DIR  the folder holding vantorel.exe, vantorelhelp.chm, README.md
;              and LICENSE
;   ICON       the program icon
;   OUT_FILE   the installer to write
; and, for the 64-bit build's test installer only, AMD64: a 64-bit installer
; of the 64-bit program, so the installer test also runs on machines that
; cannot execute 32-bit code. The release installer is the 32-bit one.
;
; It installs for all users into $PROGRAMFILES\Vantorel, adds a Start-menu
; shortcut and an entry in Add/Remove Programs. The uninstaller removes
; exactly those. The program keeps each user's preferences and log in
; $APPDATA\vantorel (vantorl.cfg, vantorellog.txt); those belong to the user
; and neither the installer nor the uninstaller ever touches them.
; /S installs or uninstalls silently. Neither writes anything while Vantorel
; runs (see VantorelClosed).

!ifndef VERSION | VERSION4 | STAGE_DIR | ICON | OUT_FILE
  !error "makensis needs -DVERSION -DVERSION4 -DSTAGE_DIR -DICON -DOUT_FILE"
!endif

!ifdef AMD64
  Target amd64-unicode
!else
  Unicode true
!endif
!include "MUI2.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Vantorel"
!define PUBLISHER "The Vantorel developers"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel"
; Every running copy of the program holds this mutex, and its main window
; has this class (app/main.cpp, app/main_window.h).
!define INSTANCE_MUTEX "VantorelInstanceIsRunning"
!define WINDOW_CLASS "Vantorel"
!define SYNCHRONIZE 0x00100000

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
!ifdef AMD64
  InstallDir "$PROGRAMFILES64\Vantorel"
!else
  InstallDir "$PROGRAMFILES\Vantorel"
!endif
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 The Vantorel developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE_DIR}/LICENSE"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Windows (and Wine) refuses to replace or delete the file of a running
; program but not the files beside it, so installing or uninstalling while
; Vantorel runs would leave half a program. Returns when no copy runs
; (neither its mutex nor its window is there); while one does, asks the user
; to close it: Retry looks again, Cancel ends the installer or uninstaller
; with exit code 2 and nothing changed. A silent run shows no box and ends so
; at once. A copy running from another folder (the portable zip) counts too:
; the mutex does not say where it runs from. The uninstaller's exit code is
; that of its copy in %TEMP%; uninstall.exe started without _?= has already
; returned 0.
!macro VANTOREL_CLOSED UN
Function ${UN}VantorelClosed
  look:
  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${INSTANCE_MUTEX}") p .r0'
  FindWindow $1 "${WINDOW_CLASS}"
  ${If} $0 P= 0
  ${AndIf} $1 P= 0
    Return
  ${EndIf}
  ${If} $0 P<> 0
    System::Call 'kernel32::CloseHandle(p r0)'
  ${EndIf}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION|MB_TOPMOST "Vantorel is running. Close it, then press Retry." /SD IDCANCEL IDRETRY look
  SetErrorLevel 2
  Quit
FunctionEnd
!macroend
!insertmacro VANTOREL_CLOSED ""
!insertmacro VANTOREL_CLOSED "un."

; The shortcut and the uninstall entry are for all users. The check for a
; running copy comes first, before any page, and again just before the
; first file is written, in case the program was started in between.
Function .onInit
  SetShellVarContext all
  Call VantorelClosed
FunctionEnd

Function un.onInit
  SetShellVarContext all
  Call un.VantorelClosed
FunctionEnd

Section "Vantorel" SectionProgram
  SectionIn RO
  Call VantorelClosed

  SetOutPath "$INSTDIR"
  File "${STAGE_DIR}/vantorel.exe"
  File "${STAGE_DIR}/vantorelhelp.chm"
  File "${STAGE_DIR}/README.md"
  File "${STAGE_DIR}/LICENSE"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; The shortcut starts the program in $INSTDIR (CreateShortCut takes the
  ; shortcut's working folder from the last SetOutPath); the program finds
  ; vantorelhelp.chm next to itself wherever it is started.
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\Vantorel.lnk" "$INSTDIR\vantorel.exe" "" "$INSTDIR\vantorel.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vantorel.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes only what the installer put in place, file by file, and the
; program folder only if that leaves it empty.
Section "Uninstall"
  Call un.VantorelClosed
  Delete "$SMPROGRAMS\Vantorel.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  Delete "$INSTDIR\vantorel.exe"
  Delete "$INSTDIR\vantorelhelp.chm"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\LICENSE"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
SectionEnd
