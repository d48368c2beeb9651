; The Vantorel installer. Built by the target package_release
; (packaging/CMakeLists.txt), which defines on the makensis command line:
;   VERSION    the package's version, 1.1.2
;   VERSION4   the same in four parts for the version resource, 1.1.2.0
;   STAGE_DIR  the folder holding vantorel.exe, vantorelhelp.chm, README.md
;              and LICENSE
;   ICON       the program icon
;   OUT_FILE   the installer to write
; when signing is configured, SIGN_UNINSTALLER: a script that signs the file
; it is given in place, run on the uninstaller before it is packed, and
; SIGNED_PLUGINS: a folder holding signed copies of NSIS's plug-in DLLs for
; the target, packed instead of NSIS's own; and, for
; the 64-bit build's test installer only, AMD64: a 64-bit installer of the
; 64-bit program, so the installer test also runs on machines that cannot
; execute 32-bit code. The release installer is the 32-bit one.
;
; It installs for all users into $PROGRAMFILES\Vantorel (Program Files (x86)
; on 64-bit Windows), adds a Start-menu shortcut and an entry in Add/Remove
; Programs (in the 32-bit registry view there). The uninstaller removes
; exactly those. The program keeps each user's preferences and log in
; $APPDATA\vantorel (vantorl.cfg, vantorellog.txt); those belong to the user
; and neither the installer nor the uninstaller ever touches them.
; /S installs or uninstalls silently. Neither changes anything while Vantorel
; runs or another program holds one of its files (VantorelClosed, FileFree).
;
; Exit codes, for people and package managers alike:
;   0  installed, or uninstalled
;   1  cancelled by the user (NSIS's own code for its Cancel button)
;   2  failed otherwise (NSIS's own code when the script aborts), among
;      them a check for a running copy or a file in use that could not
;      run, and an uninstaller whose folder holds no uninstall.exe:
;      nothing was changed
;   3  Vantorel or one of its files is in use; nothing was changed
; The entry runs the uninstaller in place (_?=), so that the process a
; package manager or Apps & Features waits for is the one that does the
; work and gives its exit code: started without _?=, NSIS's uninstaller
; copies itself to %TEMP%, starts the copy and ends with 0 at once.

!ifndef VERSION | VERSION4 | STAGE_DIR | ICON | OUT_FILE
  !error "makensis needs -DVERSION -DVERSION4 -DSTAGE_DIR -DICON -DOUT_FILE"
!endif

!ifdef AMD64
  Target amd64-unicode
!else
  Unicode true
!endif
; The plug-ins the installer and the uninstaller unpack and load (System,
; nsDialogs for the pages), signed like the rest: application control
; blocks unsigned DLLs. A folder added before the first plug-in is used
; takes precedence over NSIS's own.
!ifdef SIGNED_PLUGINS
  !ifdef AMD64
    !addplugindir /amd64-unicode "${SIGNED_PLUGINS}"
  !else
    !addplugindir /x86-unicode "${SIGNED_PLUGINS}"
  !endif
!endif
!include "MUI2.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Vantorel"
!define PUBLISHER "The Vantorel developers"
!define COPYRIGHT "Copyright (c) 2026 The Vantorel developers"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel"
; Every running copy of the program holds this mutex, and its main window
; has this class (app/main.cpp, app/main_window.h).
!define INSTANCE_MUTEX "VantorelInstanceIsRunning"
!define WINDOW_CLASS "Vantorel"
!define SYNCHRONIZE 0x00100000
!define EXIT_FAILED 2
!define EXIT_IN_USE 3

; The program's files, one line each: installed, checked, removed.
!macro VANTOREL_FILES MACRO
  !insertmacro ${MACRO} "vantorel.exe"
  !insertmacro ${MACRO} "vantorelhelp.chm"
  !insertmacro ${MACRO} "README.md"
  !insertmacro ${MACRO} "LICENSE"
!macroend

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
!ifdef AMD64
  InstallDir "$PROGRAMFILES64\Vantorel"
!else
  InstallDir "$PROGRAMFILES\Vantorel"
!endif
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
; A file that cannot be written stops the installer instead of being skipped.
AllowSkipFiles off
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
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"

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

!ifdef SIGN_UNINSTALLER
  !uninstfinalize 'bash "${SIGN_UNINSTALLER}" "%1"' = 0
!endif

; Windows (and Wine) refuses to replace or delete the file of a running
; program but not the files beside it, so installing or uninstalling while
; Vantorel runs would leave half a program. Returns when no copy runs
; (neither its mutex nor its window is there); while one does, asks the user
; to close it: Retry looks again, Cancel ends the installer or uninstaller
; with EXIT_IN_USE and nothing changed. A silent run shows no box and ends so
; at once. A copy running from another folder (the portable zip) counts too:
; the mutex does not say where it runs from.
;
; The checks call Windows through the System plug-in. Where Windows keeps
; it from loading (application control blocks unsigned DLLs), System::Call
; does nothing and leaves its output register as it was: the check could
; not run, which counts as failed (Unchecked).
!macro VANTOREL_CLOSED UN
Function ${UN}VantorelClosed
  look:
  StrCpy $0 "unchecked"
  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${INSTANCE_MUTEX}") p .r0'
  ${If} $0 == "unchecked"
    Call ${UN}Unchecked
  ${EndIf}
  FindWindow $1 "${WINDOW_CLASS}"
  ${If} $0 P= 0
  ${AndIf} $1 P= 0
    Return
  ${EndIf}
  ${If} $0 P<> 0
    System::Call 'kernel32::CloseHandle(p r0)'
  ${EndIf}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION|MB_TOPMOST "Vantorel is running. Close it, then press Retry." /SD IDCANCEL IDRETRY look
  SetErrorLevel ${EXIT_IN_USE}
  Quit
FunctionEnd

; A copy running in another user's session, or a virus scanner, can hold a
; file open that neither the mutex nor the window shows. Returns when the
; file $R0 is not there or can be opened for writing and deleting alongside
; whoever else has it open (as the installer's writes and the uninstaller's
; deletes will be); else asks as above, naming the file.
Function ${UN}FileFree
  retry:
  IfFileExists "$R0" 0 free
  StrCpy $0 "unchecked"
  System::Call 'kernel32::CreateFileW(w R0, i 0x40010000, i 7, p 0, i 3, i 0, p 0) p .r0'
  ${If} $0 == "unchecked"
    Call ${UN}Unchecked
  ${EndIf}
  ${If} $0 P= -1
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION|MB_TOPMOST "$R0 is in use by another program. Close that program, then press Retry." /SD IDCANCEL IDRETRY retry
    SetErrorLevel ${EXIT_IN_USE}
    Quit
  ${EndIf}
  System::Call 'kernel32::CloseHandle(p r0)'
  free:
FunctionEnd

Function ${UN}Unchecked
  MessageBox MB_OK|MB_ICONSTOP|MB_TOPMOST "This program cannot check whether Vantorel is in use: Windows did not let it load its System plug-in. Nothing was changed." /SD IDOK
  SetErrorLevel ${EXIT_FAILED}
  Quit
FunctionEnd
!macroend
!insertmacro VANTOREL_CLOSED ""
!insertmacro VANTOREL_CLOSED "un."

!macro INSTALL_FILE NAME
  File "${STAGE_DIR}/${NAME}"
!macroend
!macro CHECK_FILE NAME
  StrCpy $R0 "$INSTDIR\${NAME}"
  !ifdef __UNINSTALL__
    Call un.FileFree
  !else
    Call FileFree
  !endif
!macroend
!macro REMOVE_FILE NAME
  Delete "$INSTDIR\${NAME}"
!macroend
; A file still there after REMOVE_FILE: the uninstaller ends, entry kept.
!macro FILE_GONE NAME
  IfFileExists "$INSTDIR\${NAME}" 0 +3
    SetErrorLevel ${EXIT_IN_USE}
    Quit
!macroend

; The shortcut and the uninstall entry are for all users. The check for a
; running copy comes first, before any page, and again just before the
; first file is written, in case the program was started in between.
Function .onInit
  SetShellVarContext all
  Call VantorelClosed
FunctionEnd

; $INSTDIR is the uninstaller's folder, or what follows _?= to the end of
; the command line, blanks and all: text that a caller appends after it
; becomes part of the name. Such a folder holds no uninstall.exe, and the
; entry is not removed while the program's files may still be where it says.
Function un.onInit
  SetShellVarContext all
  ${IfNot} ${FileExists} "$INSTDIR\${UNINSTALLER}"
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR holds no ${UNINSTALLER} of Vantorel. Nothing was changed." /SD IDOK
    SetErrorLevel ${EXIT_FAILED}
    Quit
  ${EndIf}
  Call un.VantorelClosed
FunctionEnd

Section "Vantorel" SectionProgram
  SectionIn RO
  Call VantorelClosed
  !insertmacro VANTOREL_FILES CHECK_FILE
  !insertmacro CHECK_FILE "${UNINSTALLER}"

  SetOutPath "$INSTDIR"
  !insertmacro VANTOREL_FILES INSTALL_FILE
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
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}" _?=$INSTDIR'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S _?=$INSTDIR'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The uninstaller's own file can be moved while it runs, but NSIS keeps a
; handle on it, to read its data, that lets others only read it: the move is
; refused while that handle is open. By the end of the uninstall all the data
; has been read and no plug-in is yet to be unpacked, so every handle of
; this process on that file (it has that one) is closed; the search goes by
; the file's full name, as Windows gives it for each handle.
Function un.LetGoOfSelf
  System::Call 'kernel32::CreateFileW(w "$EXEPATH", i 0, i 7, p 0, i 3, i 0, p 0) p .r1'
  System::Call 'kernel32::GetFinalPathNameByHandleW(p r1, w .r2, i ${NSIS_MAX_STRLEN}, i 0)'
  System::Call 'kernel32::CloseHandle(p r1)'
  ${For} $3 1 1024
    IntOp $4 $3 * 4
    System::Call 'kernel32::GetFinalPathNameByHandleW(p r4, w .r5, i ${NSIS_MAX_STRLEN}, i 0) i .r6'
    ${If} $6 <> 0
    ${AndIf} $5 == $2
      System::Call 'kernel32::CloseHandle(p r4)'
    ${EndIf}
  ${Next}
FunctionEnd

; Removes only what the installer put in place, file by file, and the
; program folder only if that leaves it empty; the shortcut and the entry go
; last, once every program file has gone, so an uninstall that could not
; finish can be run again. Run in place (_?=), the uninstaller cannot
; delete its own file while it runs, but it can move it within its volume:
; into %TEMP%, where it goes at the next restart, and the folder goes now.
; Where %TEMP% is on another volume, uninstall.exe and the folder go at the
; next restart.
Section "Uninstall"
  Call un.VantorelClosed
  !insertmacro VANTOREL_FILES CHECK_FILE
  !insertmacro VANTOREL_FILES REMOVE_FILE
  !insertmacro VANTOREL_FILES FILE_GONE
  Call un.LetGoOfSelf
  GetTempFileName $R1
  Delete $R1
  ClearErrors
  Rename "$INSTDIR\${UNINSTALLER}" $R1
  ${If} ${Errors}
    Delete /REBOOTOK "$INSTDIR\${UNINSTALLER}"
  ${Else}
    Delete /REBOOTOK $R1
  ${EndIf}
  RMDir /REBOOTOK "$INSTDIR"

  Delete "$SMPROGRAMS\Vantorel.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
