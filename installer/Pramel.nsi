; PramelSetup.exe: installs Pramel (the editor, its help and the template
; library "ライブラリ" with Velda.dll and the templates) into the 64-bit
; program files folder, registers Velda.dll, adds the Start-menu entries,
; the "Open with" entry and the entry in the installed programs list, and
; writes the uninstaller that takes all of it away again.
;
; The build (installer/CMakeLists.txt) runs
;   makensis -INPUTCHARSET UTF8 -DPRAMEL_VERSION=1.0.3 -DPRAMEL_OUTFILE=...
;            -DPRAMEL_FILES=files.nsh -DPRAMEL_UNFILES=unfiles.nsh
;            -DPRAMEL_ICON=Pramel.ico [-DPRAMEL_HELP] Pramel.nsi
; where files.nsh holds the SetOutPath/File lines of the installed layout and
; unfiles.nsh the matching Delete/RMDir lines, so the uninstaller removes
; exactly the files the installer wrote and nothing a user put beside them.
;
; Silent use: PramelSetup.exe /S [/D=folder] and Uninstall.exe /S (which
; keeps the user's settings). Exit codes: 0 done, 1 cancelled by the user,
; 2 refused (the editor runs, or the old version could not be removed),
; 3 the library could not be registered (or unregistered), 3010 uninstalled
; but files in use are removed at the next restart.

Unicode true
; A 64-bit installer for 64-bit programs: it sees the 64-bit program files
; folder, registry and system folder (regsvr32) without redirection. (It
; does not start on 32-bit Windows, where the editor would not run either.)
Target amd64-unicode
RequestExecutionLevel admin
ManifestDPIAware true
SetCompressor /SOLID lzma
; Installed files carry the time of installation: the editor rebuilds its
; template list when a template is newer than the list, and after an
; upgrade the new templates must count as newer than the list written by
; the old ones.
SetDateSave off
; A file that cannot be written ends the installation (with exit code 2 when
; silent) instead of being skipped.
AllowSkipFiles off

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!ifndef PRAMEL_VERSION | PRAMEL_OUTFILE | PRAMEL_FILES | PRAMEL_UNFILES | PRAMEL_ICON
  !error "PRAMEL_VERSION, PRAMEL_OUTFILE, PRAMEL_FILES, PRAMEL_UNFILES and PRAMEL_ICON must be defined"
!endif

!define PRODUCT "Pramel"
!define PUBLISHER "Tevrin"
!define LIBRARY "ライブラリ"
!define UNINSTALLER "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pramel"
!define APP_PATH_KEY "Software\Microsoft\Windows\CurrentVersion\App Paths\Pramel.exe"
!define APPLICATION_KEY "Software\Classes\Applications\Pramel.exe"
!define OPEN_WITH_KEY "Software\Classes\*\OpenWithList\Pramel.exe"
; The editor's own settings (per user) and the library's class, whose
; InprocServer32 names the registered Velda.dll.
!define SETTINGS_KEY "Software\Tevrin\Pramel"
!define COMPANY_KEY "Software\Tevrin"
!define COM_SERVER_KEY "Software\Classes\CLSID\{EAC44DFB-26C5-4D85-B8A7-D1665450ABD0}\InprocServer32"
; A running editor owns a mutex named after its executable and its frames
; are windows of this class.
!define EDITOR_MUTEX "Pramel"
!define EDITOR_FRAME_CLASS "PramelMainFrame"
!define SHORTCUTS "$SMPROGRAMS\Pramel"

Name "Pramel"
BrandingText "Pramel ${PRAMEL_VERSION}"
OutFile "${PRAMEL_OUTFILE}"
InstallDir "$PROGRAMFILES64\Pramel"
; An installed version is upgraded in its own folder.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${PRAMEL_VERSION}.0"
VIFileVersion "${PRAMEL_VERSION}.0"
VIAddVersionKey /LANG=1041 "ProductName" "Pramel"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "FileDescription" "Pramel セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${PRAMEL_VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${PRAMEL_VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!define MUI_ICON "${PRAMEL_ICON}"
!define MUI_UNICON "${PRAMEL_ICON}"
!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Pramel ${PRAMEL_VERSION} をインストールします。$\r$\n$\r$\nPramel はバイナリファイルのエディタです。ファイルをテキスト、16 進数のテキスト、またはテンプレートで解析した注釈付きのテキストとして開き、編集して保存できます。$\r$\n$\r$\n以前のバージョンがインストールされているときは、同じフォルダーで更新します。ユーザー設定とテンプレート一覧はそのまま残ります。$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Pramel ${PRAMEL_VERSION} をインストールしました。$\r$\n$\r$\nスタート メニューの「Pramel」から起動できます。エクスプローラーでファイルを右クリックし、「プログラムから開く」で Pramel を選んで開くこともできます。"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "Japanese"

; $0..$2 are scratch registers; $KeepSettings (uninstaller) tells whether
; the user's settings stay.
Var KeepSettings

; Refuses to go on while an editor runs: its files are in use, and it would
; write its settings and template list after they were removed. The user
; may close it and retry; cancelling ends with exit code 2.
!macro DEFINE_CHECK_NOT_RUNNING un
Function ${un}CheckNotRunning
  retry:
    StrCpy $1 0
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${EDITOR_MUTEX}") p .r0'
    ${If} $0 P<> 0
      System::Call 'kernel32::CloseHandle(p r0)'
      StrCpy $1 1
    ${EndIf}
    FindWindow $0 "${EDITOR_FRAME_CLASS}"
    ${If} $0 P<> 0
      StrCpy $1 1
    ${EndIf}
    ${If} $1 = 1
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Pramel が実行中です。$\r$\n$\r$\nPramel をすべて終了してから「再試行」を押してください。「キャンセル」を押すと終了します。" /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Quit
    ${EndIf}
FunctionEnd
!macroend
!insertmacro DEFINE_CHECK_NOT_RUNNING ""
!insertmacro DEFINE_CHECK_NOT_RUNNING "un."

Function .onInit
  Call CheckNotRunning
FunctionEnd

; An installed version (found through its entry in the installed programs
; list) is removed by its own uninstaller, silently, which keeps the user's
; settings and the template list. Run in place (_?=) so this waits for it;
; the uninstaller file itself is then deleted here.
Function RemovePrevious
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
  ${OrIfNot} ${FileExists} "$0\${UNINSTALLER}"
    Return
  ${EndIf}
  DetailPrint "以前のバージョンを削除しています: $0"
  ClearErrors
  ExecWait '"$0\${UNINSTALLER}" /S _?=$0' $1
  ${If} ${Errors}
  ${OrIf} $1 <> 0
    MessageBox MB_OK|MB_ICONSTOP "以前のバージョン ($0) を削除できませんでした (終了コード $1)。$\r$\n$\r$\nPramel をアンインストールしてから、もう一度セットアップを実行してください。" /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  Delete "$0\${UNINSTALLER}"
  RMDir "$0"
FunctionEnd

; The editor keeps its template list, TemplateList.txt, in the library
; folder and rewrites it whenever a template is newer. Users who run it
; without administrator rights cannot create files here, so the list is made
; now, empty, and made writable for them; being older than the templates
; written after it, it is rebuilt at the editor's first start. A list that
; stays from an earlier installation is left as it is.
Function PrepareTemplateList
  StrCpy $0 "$INSTDIR\${LIBRARY}\TemplateList.txt"
  ${If} ${FileExists} $0
    Return
  ${EndIf}
  CreateDirectory "$INSTDIR\${LIBRARY}"
  ClearErrors
  FileOpen $1 $0 w
  FileClose $1
  ; Full control for the system and administrators, change for users.
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "D:(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x1301bf;;;BU)", i 1, *p .r1, p 0) i .r2'
  ${If} $2 <> 0
    System::Call 'advapi32::SetFileSecurityW(w r0, i 4, p r1) i .r2'
    System::Call 'kernel32::LocalFree(p r1)'
  ${EndIf}
  ${If} ${Errors}
  ${OrIf} $2 = 0
    MessageBox MB_OK|MB_ICONSTOP "テンプレート一覧 ($0) を作成できませんでした。" /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
FunctionEnd

Section "Pramel" SecMain
  SectionIn RO
  Call CheckNotRunning
  Call RemovePrevious
  Call PrepareTemplateList

  SetShellVarContext all
  !include "${PRAMEL_FILES}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; The installed programs list: name, version, publisher and how to
  ; uninstall, also silently.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Pramel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${PRAMEL_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Pramel.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; Start menu.
  CreateDirectory "${SHORTCUTS}"
  CreateShortcut "${SHORTCUTS}\Pramel.lnk" "$INSTDIR\Pramel.exe"
!ifdef PRAMEL_HELP
  CreateShortcut "${SHORTCUTS}\Pramel ヘルプ.lnk" "$INSTDIR\Pramel.chm"
!endif
  CreateShortcut "${SHORTCUTS}\Pramel のアンインストール.lnk" "$INSTDIR\${UNINSTALLER}"

  ; "Open with": the editor by its executable name, offered for every file
  ; type; and the executable found by name (Run dialog, start command).
  WriteRegStr HKLM "${APPLICATION_KEY}" "FriendlyAppName" "Pramel"
  WriteRegStr HKLM "${APPLICATION_KEY}\shell\open\command" "" '"$INSTDIR\Pramel.exe" "%1"'
  WriteRegStr HKLM "${OPEN_WITH_KEY}" "" ""
  WriteRegStr HKLM "${APP_PATH_KEY}" "" "$INSTDIR\Pramel.exe"
  WriteRegStr HKLM "${APP_PATH_KEY}" "Path" "$INSTDIR"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  ; Velda.dll through the system's 64-bit registration tool, last: a
  ; failure is reported, and the entries above let the user remove the
  ; installation.
  DetailPrint "ライブラリを登録しています: $INSTDIR\${LIBRARY}\Velda.dll"
  ClearErrors
  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\${LIBRARY}\Velda.dll"' $0
  ${If} ${Errors}
  ${OrIf} $0 <> 0
    MessageBox MB_OK|MB_ICONSTOP "ライブラリ (Velda.dll) を登録できませんでした (regsvr32 の終了コード $0)。$\r$\n$\r$\nテンプレートは使えません。Pramel をアンインストールしてから、もう一度セットアップを実行してください。" /SD IDOK
    SetErrorLevel 3
    Abort
  ${EndIf}
SectionEnd

Function un.onInit
  Call un.CheckNotRunning
FunctionEnd

Section "Uninstall"
  Call un.CheckNotRunning
  SetShellVarContext all

  ; An empty template list is the one the setup made: the editor never
  ; wrote it, so it is no setting of the user's.
  ClearErrors
  FileOpen $1 "$INSTDIR\${LIBRARY}\TemplateList.txt" r
  ${IfNot} ${Errors}
    FileSeek $1 0 END $2
    FileClose $1
    ${If} $2 = 0
      Delete "$INSTDIR\${LIBRARY}\TemplateList.txt"
    ${EndIf}
  ${EndIf}

  ; The user's settings: the editor's registry settings and the template
  ; list it wrote. Asked only when there are some; silent keeps them.
  StrCpy $KeepSettings 1
  StrCpy $0 0
  ClearErrors
  EnumRegKey $1 HKCU "${SETTINGS_KEY}" 0
  ${IfNot} ${Errors}
    StrCpy $0 1
  ${EndIf}
  ClearErrors
  EnumRegValue $1 HKCU "${SETTINGS_KEY}" 0
  ${IfNot} ${Errors}
    StrCpy $0 1
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\${LIBRARY}\TemplateList.txt"
    StrCpy $0 1
  ${EndIf}
  ${If} $0 = 1
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "ユーザー設定も削除しますか？$\r$\n$\r$\nPramel の設定 (表示の設定、最近使ったファイル、バーの配置など) とテンプレート一覧 (${LIBRARY}\TemplateList.txt) です。「いいえ」を選ぶと残します。" /SD IDNO IDNO keep
    StrCpy $KeepSettings 0
  keep:
  ${EndIf}

  ; The library's registration, when it is this installation's library
  ; (another Velda.dll registered by the user is left alone).
  ReadRegStr $0 HKLM "${COM_SERVER_KEY}" ""
  ${If} $0 == "$INSTDIR\${LIBRARY}\Velda.dll"
  ${AndIf} ${FileExists} "$INSTDIR\${LIBRARY}\Velda.dll"
    DetailPrint "ライブラリの登録を解除しています: $0"
    ClearErrors
    ExecWait '"$SYSDIR\regsvr32.exe" /s /u "$INSTDIR\${LIBRARY}\Velda.dll"' $1
    ${If} ${Errors}
    ${OrIf} $1 <> 0
      MessageBox MB_OK|MB_ICONEXCLAMATION "ライブラリ (Velda.dll) の登録を解除できませんでした (regsvr32 の終了コード $1)。" /SD IDOK
      SetErrorLevel 3
    ${EndIf}
  ${EndIf}

  !include "${PRAMEL_UNFILES}"
  Delete "$INSTDIR\${UNINSTALLER}"

  Delete "${SHORTCUTS}\Pramel.lnk"
  Delete "${SHORTCUTS}\Pramel ヘルプ.lnk"
  Delete "${SHORTCUTS}\Pramel のアンインストール.lnk"
  RMDir "${SHORTCUTS}"

  DeleteRegKey HKLM "${APPLICATION_KEY}"
  DeleteRegKey HKLM "${OPEN_WITH_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Classes\*\OpenWithList"
  DeleteRegKey HKLM "${APP_PATH_KEY}"

  ${If} $KeepSettings = 0
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${COMPANY_KEY}"
    Delete "$INSTDIR\${LIBRARY}\TemplateList.txt"
  ${EndIf}
  ; The editor's work folder holds only work files of a run that ended.
  Delete "$TEMP\Pramel\prm*.TMP"
  RMDir "$TEMP\Pramel"

  ; Folders go only when empty: templates of the user's own stay.
  RMDir "$INSTDIR\${LIBRARY}"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  ; Files still in use go at the next restart: the finish page offers it,
  ; and a silent run says so by its exit code.
  ${If} ${RebootFlag}
    GetErrorLevel $0
    ${If} $0 = 0
      SetErrorLevel 3010
    ${EndIf}
  ${EndIf}
SectionEnd
