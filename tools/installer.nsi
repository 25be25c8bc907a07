; The installer of one Windows build; tools/release.sh makes it beside the zip:
;   make_release.py nsis STAGE FILES.nsh
;   makensis -DVERSION=3.1 -DARCH=win64|win32 -DFILES=FILES.nsh -DOUTFILE=SETUP.exe tools/installer.nsi
; (absolute paths: makensis works in this script's folder). FILES.nsh lists the program's
; files; which files are the user's is decided there (USER_FILES in make_release.py).
;
; For the user who runs it, without administrator rights (into %LOCALAPPDATA%\Programs,
; entry under HKCU); when it runs elevated it offers all users of the computer as well
; (into Program Files, entry under HKLM). The program finds its files in its current
; directory, so every shortcut starts it in its own folder.
;
; Command line: /S silent, /D=FOLDER the folder (last, unquoted), /ALLUSERS for all users
; (elevated only), /STARTUP start the keyboard with Windows. Installing over an installed
; keyboard keeps its folder, its users and its start with Windows; the previous program
; files are removed first by its own uninstaller, silently, which keeps the user's files
; (Tessary.cfg, the word files and the layout sets the user added). The uninstaller
; removes the program's files and asks before removing the user's (kept when silent).

Unicode true
!if "${ARCH}" == "win64"
  ; A 64-bit installer: 32-bit Windows refuses to start it with its own message
  ; that the program does not suit this version of Windows (and it needs no 32-bit
  ; support where it is tested).
  Target amd64-unicode
  !define PROGRAM_FILES_DIR "$PROGRAMFILES64"
!else
  Target x86-unicode
  !define PROGRAM_FILES_DIR "$PROGRAMFILES"
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
!include WinMessages.nsh
!include Sections.nsh
!include "${FILES}"

!define ROOT "${__FILEDIR__}/.."
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessary3"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "테사리 (Tessary3)"
; The running keyboard: its hidden window and the menu's exit command, which ends it
; the way the user would (its settings are written).
!define HIDDEN_WINDOW_CLASS "Tessary_Hidden_Window"
!define IDM_EXIT 40002

Name "$(ProductName)"
OutFile "${OUTFILE}"
BrandingText "Tessary3 ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=0 "ProductName" "Tessary3"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Tessary3 ${VERSION} (${ARCH}) setup"
VIAddVersionKey /LANG=0 "CompanyName" "Tessary project"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) 2026 The Tessary project (MIT)"

Var AllUsers     ; 1: for all users of the computer
Var Elevated     ; 1: the installer runs with administrator rights
Var Upgrade      ; 1: a keyboard is installed already; install over it
Var ModeCurrent  ; the radio buttons of the mode page
Var ModeAll

!define MUI_ICON "${ROOT}/resources/tessary.ico"
!define MUI_UNICON "${ROOT}/resources/tessary.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
Page custom ModePage ModePageLeave
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipOnUpgrade
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(RunNow)"
!define MUI_FINISHPAGE_RUN_FUNCTION StartKeyboard
!define MUI_FINISHPAGE_TEXT "$(FinishText)"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; English where Windows speaks neither language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Korean"

LangString ProductName ${LANG_ENGLISH} "Tessary3 ${VERSION}"
LangString ProductName ${LANG_KOREAN} "테사리 ${VERSION}"
LangString DisplayName ${LANG_ENGLISH} "Tessary3 ${VERSION} on-screen keyboard"
LangString DisplayName ${LANG_KOREAN} "테사리 ${VERSION} 화상 키보드"
LangString ModeTitle ${LANG_ENGLISH} "Who uses the keyboard"
LangString ModeTitle ${LANG_KOREAN} "설치 대상"
LangString ModeSubtitle ${LANG_ENGLISH} "Install it for yourself or for everyone on this computer."
LangString ModeSubtitle ${LANG_KOREAN} "나만 쓸지 이 컴퓨터의 모든 사용자가 쓸지 고르십시오."
LangString ModeCurrent ${LANG_ENGLISH} "Only for me (the user who is logged on)"
LangString ModeCurrent ${LANG_KOREAN} "나만 (지금 로그온한 사용자)"
LangString ModeAll ${LANG_ENGLISH} "For all users of this computer (they share one settings file)"
LangString ModeAll ${LANG_KOREAN} "이 컴퓨터의 모든 사용자 (설정 파일을 함께 씁니다)"
LangString SecProgram ${LANG_ENGLISH} "Tessary3 and a Start-menu shortcut"
LangString SecProgram ${LANG_KOREAN} "테사리와 시작 메뉴 바로 가기"
LangString SecStartup ${LANG_ENGLISH} "Start the keyboard with Windows"
LangString SecStartup ${LANG_KOREAN} "윈도우를 시작할 때 테사리 실행"
LangString RunNow ${LANG_ENGLISH} "Start the keyboard now"
LangString RunNow ${LANG_KOREAN} "지금 테사리 실행"
LangString FinishText ${LANG_ENGLISH} "Tessary3 is installed. It is in the Start menu as $\"${SHORTCUT}$\"."
LangString FinishText ${LANG_KOREAN} "테사리를 설치했습니다. 시작 메뉴의 $\"${SHORTCUT}$\"로 실행합니다."
LangString Prefer64 ${LANG_ENGLISH} "This computer runs 64-bit Windows. The 64-bit installer (Tessary3-${VERSION}-win64-setup.exe) suits it better: only with it does the keyboard follow the Hangul/English mode of 64-bit programs.$\n$\nInstall the 32-bit keyboard anyway?"
LangString Prefer64 ${LANG_KOREAN} "이 컴퓨터는 64비트 윈도우입니다. 64비트판 설치 프로그램(Tessary3-${VERSION}-win64-setup.exe)이 더 알맞습니다. 64비트판이어야 64비트 프로그램의 한/영 상태를 따라갑니다.$\n$\n그래도 32비트판을 설치할까요?"
LangString AllUsersNeedsAdmin ${LANG_ENGLISH} "Installing for all users needs administrator rights: start the installer with $\"Run as administrator$\"."
LangString AllUsersNeedsAdmin ${LANG_KOREAN} "모든 사용자용으로 설치하려면 관리자 권한이 필요합니다. 설치 프로그램을 $\"관리자 권한으로 실행$\"으로 시작하십시오."
LangString KeyboardRunning ${LANG_ENGLISH} "Tessary3 is running. Press OK to end it (its settings are saved) and go on."
LangString KeyboardRunning ${LANG_KOREAN} "테사리가 실행 중입니다. [확인]을 누르면 테사리를 끝내고(설정은 저장됩니다) 계속합니다."
LangString KeyboardStillRunning ${LANG_ENGLISH} "Tessary3 did not end. End it from its menu ($\"테사리 종료$\") and try again."
LangString KeyboardStillRunning ${LANG_KOREAN} "테사리가 끝나지 않았습니다. 테사리 메뉴의 $\"테사리 종료$\"로 끝낸 뒤 다시 해 보십시오."
LangString RemoveUserFiles ${LANG_ENGLISH} "The program is removed. Remove your own files as well: the settings (Tessary.cfg), your words and learned words, and the layout sets you added?$\n$\nWith No they stay in $INSTDIR, and a keyboard installed there again uses them."
LangString RemoveUserFiles ${LANG_KOREAN} "프로그램을 지웠습니다. 사용자의 파일도 지울까요? 설정(Tessary.cfg), 사용자 단어와 학습한 단어, 직접 넣은 자판 모음입니다.$\n$\n[아니요]를 누르면 $INSTDIR 폴더에 남고, 그곳에 다시 설치하면 그대로 쓰입니다."
LangString AllUsersUninstall ${LANG_ENGLISH} "Tessary3 is installed for all users; removing it needs administrator rights."
LangString AllUsersUninstall ${LANG_KOREAN} "테사리가 모든 사용자용으로 설치되어 있어 지우려면 관리자 권한이 필요합니다."

; ------------------------------------------------------------------ both
; Ends a running keyboard, after asking; waits until its program file is free. Leaves
; "ok" or "running" on the stack.
!macro CloseKeyboardFunction UN
Function ${UN}CloseKeyboard
  FindWindow $0 "${HIDDEN_WINDOW_CLASS}"
  ${If} $0 == 0
    Push ok
    Return
  ${EndIf}
  MessageBox MB_OKCANCEL|MB_ICONINFORMATION "$(KeyboardRunning)" /SD IDOK IDOK +3
  Push running
  Return
  SendMessage $0 ${WM_COMMAND} ${IDM_EXIT} 0 /TIMEOUT=5000
  ; Its settings are written after its windows are gone: wait for its end (15 s at most).
  StrCpy $1 0
  ${Do}
    Sleep 200
    IntOp $1 $1 + 1
    FindWindow $0 "${HIDDEN_WINDOW_CLASS}"
    ${If} $0 == 0
      ${IfNot} ${FileExists} "$INSTDIR\Tessary3.exe"
        Push ok
        Return
      ${EndIf}
      ClearErrors
      FileOpen $2 "$INSTDIR\Tessary3.exe" a
      ${IfNot} ${Errors}
        FileClose $2
        Push ok
        Return
      ${EndIf}
    ${EndIf}
  ${LoopUntil} $1 >= 75
  MessageBox MB_OK|MB_ICONSTOP "$(KeyboardStillRunning)" /SD IDOK
  Push running
FunctionEnd
!macroend
!insertmacro CloseKeyboardFunction ""
!insertmacro CloseKeyboardFunction "un."

; Removes the hook library. The programs the keyboard typed into hold it for a while
; after the keyboard's end (until they next take a message): it is tried for 10 s, then
; moved out of the way, to go when Windows starts next.
!macro FreeHookLibraryFunction UN
Function ${UN}FreeHookLibrary
  StrCpy $1 0
  ${DoWhile} ${FileExists} "$INSTDIR\tyhook.dll"
    Delete "$INSTDIR\tyhook.dll"
    ${IfNot} ${FileExists} "$INSTDIR\tyhook.dll"
      Return
    ${EndIf}
    IntOp $1 $1 + 1
    ${If} $1 >= 50
      GetTempFileName $2
      Delete $2
      ClearErrors
      Rename "$INSTDIR\tyhook.dll" $2
      ${If} ${Errors}  ; TEMP on another drive: beside it, then
        StrCpy $2 "$INSTDIR\tyhook.dll.old"
        Delete $2
        Rename "$INSTDIR\tyhook.dll" $2
      ${EndIf}
      Delete /REBOOTOK $2
      SetRebootFlag false  ; a file left in TEMP is no reason to ask for a restart
      Return
    ${EndIf}
    Sleep 200
  ${Loop}
FunctionEnd
!macroend
!insertmacro FreeHookLibraryFunction ""
!insertmacro FreeHookLibraryFunction "un."

; ------------------------------------------------------------------ installing
Section "!$(SecProgram)" SecProgram
  SectionIn RO
  Call CloseKeyboard
  Pop $0
  ${If} $0 != ok
    SetErrorLevel 3
    Abort
  ${EndIf}
  ; The previous program files go first (a layout set that is no longer shipped goes
  ; with them); its uninstaller keeps the user's files when silent.
  ${If} ${FileExists} "$INSTDIR\${UNINSTALLER}"
    ExecWait '"$INSTDIR\${UNINSTALLER}" /S _?=$INSTDIR'
    Delete "$INSTDIR\${UNINSTALLER}"
  ${EndIf}
  Call FreeHookLibrary
  !insertmacro InstallProgramFiles
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  ${If} $AllUsers == 1
    ; Every user's keyboard writes its settings into this folder.
    nsExec::Exec '"$SYSDIR\icacls.exe" "$INSTDIR" /grant *S-1-5-32-545:(OI)(CI)M /T /Q'
    Pop $0
  ${EndIf}
  ; The working folder of a shortcut is the output folder: the program's own.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\${SHORTCUT}.lnk" "$INSTDIR\Tessary3.exe" "" "$INSTDIR\Tessary3.exe" 0
  ; SHCTX: HKCU for the user, HKLM for all users.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "$(DisplayName)"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tessary3.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Tessary project"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${PROGRAM_SIZE_KB}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "$(SecStartup)" SecStartup
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMSTARTUP\${SHORTCUT}.lnk" "$INSTDIR\Tessary3.exe" "" "$INSTDIR\Tessary3.exe" 0
SectionEnd

Function DefaultFolder
  ${If} $AllUsers == 1
    StrCpy $INSTDIR "${PROGRAM_FILES_DIR}\Tessary3"
  ${Else}
    SetShellVarContext current
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Tessary3"
  ${EndIf}
FunctionEnd

Function UseMode
  ${If} $AllUsers == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ${If} ${FileExists} "$SMSTARTUP\${SHORTCUT}.lnk"
    !insertmacro SelectSection ${SecStartup}
  ${EndIf}
FunctionEnd

Function .onInit
  !if "${ARCH}" == "win64"
    SetRegView 64
  !else
    ${If} ${RunningX64}
      MessageBox MB_YESNO|MB_ICONQUESTION "$(Prefer64)" /SD IDYES IDYES +3
      SetErrorLevel 2
      Quit
    ${EndIf}
  !endif
  StrCpy $Elevated 0
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    StrCpy $Elevated 1
  ${EndIf}
  ${GetParameters} $R0
  StrCpy $AllUsers 0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $0
  ${IfNot} ${Errors}
    ${If} $Elevated == 0
      MessageBox MB_OK|MB_ICONSTOP "$(AllUsersNeedsAdmin)" /SD IDOK
      SetErrorLevel 740
      Quit
    ${EndIf}
    StrCpy $AllUsers 1
  ${EndIf}
  ; An installed keyboard: over it, in its folder, for the same users (the user's own
  ; installation first, unless all users were asked for).
  StrCpy $Upgrade 0
  StrCpy $1 ""
  ${If} $AllUsers == 0
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${EndIf}
  ${If} $1 == ""
  ${AndIf} $Elevated == 1
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $1 != ""
      StrCpy $AllUsers 1
    ${EndIf}
  ${EndIf}
  ; /D= fills $INSTDIR before this.
  ${If} $1 != ""
    StrCpy $Upgrade 1
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR $1
    ${EndIf}
  ${ElseIf} $INSTDIR == ""
    Call DefaultFolder
  ${EndIf}
  Call UseMode
  ClearErrors
  ${GetOptions} $R0 "/STARTUP" $0
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecStartup}
  ${EndIf}
FunctionEnd

; Only for an elevated installer and a new installation.
Function ModePage
  ${If} $Elevated == 0
  ${OrIf} $Upgrade == 1
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "$(ModeTitle)" "$(ModeSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateRadioButton} 0 10u 100% 14u "$(ModeCurrent)"
  Pop $ModeCurrent
  ${NSD_CreateRadioButton} 0 34u 100% 14u "$(ModeAll)"
  Pop $ModeAll
  ${If} $AllUsers == 1
    ${NSD_Check} $ModeAll
  ${Else}
    ${NSD_Check} $ModeCurrent
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $ModeAll $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $AllUsers 1
  ${Else}
    StrCpy $AllUsers 0
  ${EndIf}
  Call DefaultFolder
  Call UseMode
FunctionEnd

Function SkipOnUpgrade
  ${If} $Upgrade == 1
    Abort
  ${EndIf}
FunctionEnd

Function StartKeyboard
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\Tessary3.exe"'
FunctionEnd

; ------------------------------------------------------------------ uninstalling
Function un.onInit
  !if "${ARCH}" == "win64"
    SetRegView 64
  !endif
  StrCpy $AllUsers 0
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != $INSTDIR
  ${AndIf} $1 == $INSTDIR
    StrCpy $AllUsers 1
    UserInfo::GetAccountType
    Pop $2
    ${If} $2 != "Admin"
      ; Ask Windows for the rights: the uninstaller again, elevated.
      MessageBox MB_OKCANCEL|MB_ICONINFORMATION "$(AllUsersUninstall)" /SD IDOK IDOK +2
      Quit
      StrCpy $3 ""
      ${If} ${Silent}
        StrCpy $3 "/S"
      ${EndIf}
      ExecShell "runas" "$INSTDIR\${UNINSTALLER}" "$3"
      Quit
    ${EndIf}
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.CloseKeyboard
  Pop $0
  ${If} $0 != ok
    SetErrorLevel 3
    Abort
  ${EndIf}
  Call un.FreeHookLibrary
  !insertmacro RemoveProgramFiles
  Delete "$INSTDIR\tyhook.dll.old"
  Delete "$SMPROGRAMS\${SHORTCUT}.lnk"
  Delete "$SMSTARTUP\${SHORTCUT}.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; What is left is the user's: settings, word files, layout sets they added.
  RMDir "$INSTDIR"
  ${If} ${FileExists} "$INSTDIR\*.*"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveUserFiles)" /SD IDNO IDNO +2
    RMDir /r "$INSTDIR"
  ${EndIf}
SectionEnd
