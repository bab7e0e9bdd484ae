; The setup of the Windows program, made by scripts/package-windows:
;   makensis -DVERSION=1.0 -DSOURCE=<folder> -DFILES=<files.nsh>
;            -DUNFILES=<uninstall-files.nsh> -DICON=<vetral.ico> -DOUTFILE=<setup.exe> vetral.nsi
; FILES and UNFILES list the folder's files one by one, so that the uninstaller
; removes exactly what was installed and leaves the technician's own files.
; A 64-bit setup: the program is 64-bit, and Wine's checks run without 32-bit Wine.
Target amd64-unicode
SetCompressor /SOLID lzma

!define APP_KEY "vetral"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_KEY}"
!define MENU_NAME "Программатор Ветрал"
; "Apps & features" names the program's own name as its publisher.
!define PUBLISHER "${MENU_NAME}"
!define INSTDIR_NAME "Vetral"

; Per user (into the user's programs folder, the user's registry) or for all
; users (Program Files, the machine's registry). The setup asks for no rights
; of its own, so the per-user install, the default, shows no UAC prompt; only
; the choice "for all users" runs the setup again with the administrator's
; rights. /CurrentUser and /AllUsers choose on the command line; a silent
; setup installs per user.
RequestExecutionLevel user

!include MUI2.nsh
!include x64.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh

Var Mode ; CurrentUser or AllUsers
Var ModeGiven ; 1 when the command line chose the mode
Var ModeCurrentUserButton
Var ModeAllUsersButton

Name "${MENU_NAME} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${MENU_NAME} ${VERSION}"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
Page custom ModePageShow ModePageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\vetral.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "${MENU_NAME}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "Установка: ${MENU_NAME}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "${PUBLISHER}"

; The installer's and the uninstaller's functions for the two modes.
!macro MODE_FUNCTIONS UN
  Function ${UN}UseCurrentUser
    StrCpy $Mode CurrentUser
    SetShellVarContext current
    !if "${UN}" == ""
      GetKnownFolderPath $INSTDIR {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB} ; FOLDERID_UserProgramFiles
      StrCmp $INSTDIR "" 0 +2
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs"
      StrCpy $INSTDIR "$INSTDIR\${INSTDIR_NAME}"
      ReadRegStr $0 HKCU "${UNINST_KEY}" "InstallLocation"
      StrCmp $0 "" +2
      StrCpy $INSTDIR $0
    !endif
  FunctionEnd

  Function ${UN}UseAllUsers
    StrCpy $Mode AllUsers
    SetShellVarContext all
    !if "${UN}" == ""
      StrCpy $INSTDIR "$PROGRAMFILES64\${INSTDIR_NAME}"
      ReadRegStr $0 HKLM "${UNINST_KEY}" "InstallLocation"
      StrCmp $0 "" +2
      StrCpy $INSTDIR $0
    !endif
  FunctionEnd

  ; For all users without the administrator's rights: the program runs
  ; again with them (the UAC prompt) and the same command line plus
  ; /AllUsers, and this copy ends. Refused, it says so and returns with the
  ; error flag set.
  Function ${UN}ElevateForAllUsers
    ClearErrors
    UserInfo::GetAccountType
    Pop $0
    StrCmp $0 "Admin" done
    ${${UN}GetParameters} $1
    ClearErrors
    ${${UN}GetOptions} $1 "/AllUsers" $2
    IfErrors 0 +2
    StrCpy $1 "$1 /AllUsers"
    ClearErrors
    !if "${UN}" == ""
      ExecShell "runas" "$EXEPATH" "$1"
    !else
      ; The installed uninstaller, which copies itself away to remove the folder.
      ExecShell "runas" "$INSTDIR\uninstall.exe" "$1"
    !endif
    IfErrors refused
    Quit
  refused:
    IfSilent +2
    MessageBox MB_OK|MB_ICONEXCLAMATION "Для всех пользователей программу устанавливает и удаляет администратор. Без его прав программу можно установить только для себя."
    SetErrors
  done:
  FunctionEnd

  !if "${UN}" == ""
    Function .onInit
  !else
    Function un.onInit
  !endif
    ${IfNot} ${RunningX64}
      MessageBox MB_OK|MB_ICONSTOP "Программе нужна 64-разрядная Windows."
      Abort
    ${EndIf}
    SetRegView 64
    StrCpy $ModeGiven 0
    Call ${UN}UseCurrentUser
    ${${UN}GetParameters} $R0
    ClearErrors
    ${${UN}GetOptions} $R0 "/CurrentUser" $R1
    ${IfNot} ${Errors}
      StrCpy $ModeGiven 1
    ${EndIf}
    ClearErrors
    ${${UN}GetOptions} $R0 "/AllUsers" $R1
    ${IfNot} ${Errors}
      StrCpy $ModeGiven AllUsers
    ${EndIf}
    !if "${UN}" != ""
      ; Started by hand, without a mode: the mode of the install in this folder.
      ${If} $ModeGiven == 0
        ReadRegStr $0 HKLM "${UNINST_KEY}" "InstallLocation"
        StrCmp $0 $INSTDIR 0 +2
        StrCpy $ModeGiven AllUsers
      ${EndIf}
    !endif
    ${If} $ModeGiven == AllUsers
      Call ${UN}ElevateForAllUsers
      ${If} ${Errors}
        SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
        Quit
      ${EndIf}
      Call ${UN}UseAllUsers
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro MODE_FUNCTIONS ""
!insertmacro MODE_FUNCTIONS "un."

Function ModePageShow
  StrCmp $ModeGiven 0 +2
  Abort ; chosen on the command line
  !insertmacro MUI_HEADER_TEXT "Для кого установить программу" "Программу можно установить только для себя или для всех пользователей компьютера."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateRadioButton} 0 10u 100% 12u "Только для меня (права администратора не нужны)"
  Pop $ModeCurrentUserButton
  ${NSD_CreateRadioButton} 0 30u 100% 12u "Для всех пользователей (нужны права администратора)"
  Pop $ModeAllUsersButton
  ${If} $Mode == AllUsers
    ${NSD_Check} $ModeAllUsersButton
  ${Else}
    ${NSD_Check} $ModeCurrentUserButton
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $ModeAllUsersButton $0
  ${If} $0 == ${BST_CHECKED}
    Call ElevateForAllUsers
    ${If} ${Errors}
      Abort ; stays on the page
    ${EndIf}
    Call UseAllUsers
  ${Else}
    Call UseCurrentUser
  ${EndIf}
FunctionEnd

Section "Программа"
  SetOutPath "$INSTDIR"
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\${MENU_NAME}.lnk" "$INSTDIR\vetral.exe" "" "$INSTDIR\vetral.exe" 0
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayName" "${MENU_NAME}"
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\vetral.exe,0"
  WriteRegStr SHCTX "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$Mode'
  WriteRegStr SHCTX "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$Mode /S'
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoRepair" 1
  ; The size "Apps & features" shows, in KB.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  ; Only what the setup put there: options, MyTemp.ini, the archive of reads
  ; and reports live in the user's folders and stay.
  Delete "$SMPROGRAMS\${MENU_NAME}.lnk"
  !include "${UNFILES}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINST_KEY}"
SectionEnd
