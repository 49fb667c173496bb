; The Windows installer, built with makensis on Linux from the portable
; folder by WindowsPortable.cmake, which writes SETTINGS (the product, its
; version and maker, the icon, the folder) and the list of files.
;
; It installs for the current user, without administrator rights, into
; %LOCALAPPDATA%\Programs\Sky Lane; or for all users into Program Files,
; which starts it again with administrator rights. Command line:
;   /S              silent
;   /CurrentUser    for the current user (the default)
;   /AllUsers       for all users of the computer
;   /StartAtSignIn  start the bar at sign-in (kept when installing again
;                   over an install that does so)
;   /D=<folder>     another folder (last, unquoted)
; The uninstaller (uninstall.exe, with the same /S, /CurrentUser, /AllUsers)
; removes what was installed and leaves the config folder, which holds the
; user's buttons and settings, where it is.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!include "${SETTINGS}"
!include "${FILES}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\SkyLane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

; Administrator rights only when the user chooses all users.
!define MULTIUSER_EXECUTIONLEVEL Standard
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME InstallLocation
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include nsDialogs.nsh
!include Sections.nsh

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

Page custom ModePage ModePageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\skylane.exe"
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE English

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey ProductName "${PRODUCT}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "${PRODUCT} setup"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey LegalCopyright "${COPYRIGHT}"

Var ModeOnCommandLine
Var OnlyMeButton
Var EveryoneButton

; Starts this program again with administrator rights and PARAMS (Windows
; asks the user), waits for it and quits with its exit code; with 740
; (elevation required) when the user says no or Windows cannot ask.
!macro QuitForElevated PARAMS
  HideWindow
  ; SHELLEXECUTEINFOW on x64, padded by hand: SEE_MASK_NOCLOSEPROCESS, "runas".
  System::Call '*(&l4, i 0x40, p $HWNDPARENT, w "runas", w "$EXEPATH", w "${PARAMS}", p 0, i 1, i 0, p 0, p 0, p 0, p 0, i 0, i 0, p 0, p 0) p .r8'
  System::Call 'shell32::ShellExecuteExW(p r8) i .r9'
  ${If} $9 <> 0
    System::Call '*$8(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .r7)'
    System::Call 'kernel32::WaitForSingleObject(p r7, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p r7, *i .r9)'
    System::Call 'kernel32::CloseHandle(p r7)'
  ${Else}
    StrCpy $9 740
  ${EndIf}
  System::Free $8
  SetErrorLevel $9
  Quit
!macroend

; The mode the command line asks for: /AllUsers, with administrator rights
; (asking for them when this process has none), or /CurrentUser.
!macro ModeFromCommandLine UN ELEVATED_PARAMS
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 /AllUsers $R1
  ${IfNot} ${Errors}
    StrCpy $ModeOnCommandLine 1
    ${If} $MultiUser.Privileges == Admin
    ${OrIf} $MultiUser.Privileges == Power
      Call ${UN}MultiUser.InstallMode.AllUsers
    ${Else}
      !insertmacro QuitForElevated "${ELEVATED_PARAMS}"
    ${EndIf}
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 /CurrentUser $R1
  ${IfNot} ${Errors}
    StrCpy $ModeOnCommandLine 1
  ${EndIf}
!macroend

; Windows neither replaces nor removes a program file that runs: a bar
; still running would leave the old files, or a half-removed program.
!macro QuitBarFirst
  ${If} ${FileExists} "$INSTDIR\skylane.exe"
    retry:
    ClearErrors
    FileOpen $0 "$INSTDIR\skylane.exe" a
    ${If} ${Errors}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${PRODUCT} is running. Quit it (Exit, then Quit), then choose Retry." /SD IDCANCEL IDRETRY retry
      Abort
    ${EndIf}
    FileClose $0
  ${EndIf}
!macroend

Section "-${PRODUCT}"
  !insertmacro QuitBarFirst
  !insertmacro InstallFiles
  ; The config folder is the user's: only a missing blank-button picture is added.
  SetOutPath "$INSTDIR\config"
  SetOverwrite off
  File "${APP_DIR}/config/1.2.jpg"
  SetOverwrite on
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\skylane.exe"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayName "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" Publisher "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\skylane.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" NoModify 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" NoRepair 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" EstimatedSize $0
SectionEnd

Section /o "Start ${PRODUCT} at sign-in" StartAtSignIn
SectionEnd

Section "-Sign-in entry"
  ${If} ${SectionIsSelected} ${StartAtSignIn}
    WriteRegStr SHCTX "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\skylane.exe"'
  ${Else}
    DeleteRegValue SHCTX "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
SectionEnd

; Start at sign-in when the command line asks, or when the install this one
; goes over already does.
Function PresetStartAtSignIn
  ReadRegStr $R1 SHCTX "${RUN_KEY}" "${PRODUCT}"
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 /StartAtSignIn $R2
  ${If} $R1 != ""
  ${OrIfNot} ${Errors}
    !insertmacro SelectSection ${StartAtSignIn}
  ${Else}
    !insertmacro UnselectSection ${StartAtSignIn}
  ${EndIf}
FunctionEnd

Function .onInit
  StrCpy $R9 $INSTDIR ; a folder given with /D=, which comes before the mode's own
  !insertmacro MULTIUSER_INIT
  !insertmacro ModeFromCommandLine "" $R0
  ${If} $R9 != ""
    StrCpy $INSTDIR $R9
  ${EndIf}
  Call PresetStartAtSignIn
FunctionEnd

Function ModePage
  ${If} $ModeOnCommandLine == 1
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Choose Users" "Choose for whom to install ${PRODUCT}."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 20u "Install ${PRODUCT} for:"
  Pop $0
  ${NSD_CreateRadioButton} 10u 24u -10u 12u "&Only me (no administrator rights needed)"
  Pop $OnlyMeButton
  ${NSD_CreateRadioButton} 10u 40u -10u 12u "&Everyone who uses this computer (asks for administrator rights)"
  Pop $EveryoneButton
  ${If} $MultiUser.InstallMode == AllUsers
    ${NSD_Check} $EveryoneButton
  ${Else}
    ${NSD_Check} $OnlyMeButton
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $EveryoneButton $0
  ${If} $0 <> ${BST_CHECKED}
    Call MultiUser.InstallMode.CurrentUser
  ${ElseIf} $MultiUser.Privileges == Admin
  ${OrIf} $MultiUser.Privileges == Power
    Call MultiUser.InstallMode.AllUsers
  ${Else}
    ${GetParameters} $R0
    !insertmacro QuitForElevated "$R0 /AllUsers"
  ${EndIf}
  Call PresetStartAtSignIn
FunctionEnd

; A bar started from an installer with administrator rights would start
; programs with them too: only a per-user install offers to start it.
Function FinishPageShow
  ${If} $MultiUser.InstallMode == AllUsers
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Function un.onInit
  ; The uninstaller works on its own folder, whatever the registry says.
  StrCpy $R9 $INSTDIR
  !insertmacro MULTIUSER_UNINIT
  ${GetParameters} $R0
  !insertmacro ModeFromCommandLine un. "$R0 _?=$R9"
  StrCpy $INSTDIR $R9
FunctionEnd

Section Uninstall
  !insertmacro QuitBarFirst
  !insertmacro RemoveFiles
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegValue SHCTX "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ; Stays while the config folder holds the user's buttons.
  RMDir "$INSTDIR"
SectionEnd
