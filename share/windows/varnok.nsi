; The Windows installer of Varnok: the program with the Qt and MinGW DLLs it needs, a Start-menu
; entry whose working folder is the lab folder the teacher chooses (Varnok reads pcs.txt from its
; working folder), and an uninstaller. Made by scripts/windows.sh:
;
;   makensis -DVERSION=1.1 -DFILES=<folder of varnok.exe and its DLLs> -DOUT=<setup.exe>
;            -DREMOVE=<file of Delete and RMDir lines for those files, deepest first> varnok.nsi
;
; Silent: setup.exe /S [/LAB=C:\Exames\Lab3] [/D=C:\Varnok]

Unicode true
Target amd64-unicode
!include "MUI2.nsh"
!include "FileFunc.nsh"

Name "Varnok ${VERSION}"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES64\Varnok"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

Var LabFolder

!define MUI_DIRECTORYPAGE_VARIABLE $INSTDIR
!insertmacro MUI_PAGE_LICENSE "${FILES}\COPYING.txt"
!insertmacro MUI_PAGE_DIRECTORY
!define MUI_PAGE_HEADER_TEXT "Pasta do laboratório"
!define MUI_PAGE_HEADER_SUBTEXT "A pasta que tem o pcs.txt do laboratório."
!define MUI_DIRECTORYPAGE_TEXT_TOP "O Varnok lê o pcs.txt da pasta em que arranca: o atalho do menu Iniciar arranca nesta pasta."
!define MUI_DIRECTORYPAGE_VARIABLE $LabFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Portuguese"

Function .onInit
    ; A 64-bit installer for a 64-bit program: its uninstall entry in the 64-bit registry.
    SetRegView 64
    ; For every teacher who signs in on the invigilator's PC.
    SetShellVarContext all
    StrCpy $LabFolder "$DOCUMENTS\Varnok"
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/LAB=" $1
    ${IfNot} ${Errors}
        StrCpy $LabFolder $1
    ${EndIf}
FunctionEnd

Section "Varnok"
    SetOutPath "$INSTDIR"
    File /r "${FILES}\*"
    CreateDirectory "$LabFolder"
    ; The shortcut starts in the folder that is the output path when it is made.
    SetOutPath "$LabFolder"
    CreateDirectory "$SMPROGRAMS\Varnok"
    CreateShortCut "$SMPROGRAMS\Varnok\Varnok.lnk" "$INSTDIR\varnok.exe"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnok" "DisplayName" "Varnok"
    WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnok" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnok" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnok" "InstallLocation" "$INSTDIR"
SectionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

; Only what was installed goes: a folder chosen for the program may also hold a lab's files.
Section "Uninstall"
    Delete "$SMPROGRAMS\Varnok\Varnok.lnk"
    RMDir "$SMPROGRAMS\Varnok"
    !include "${REMOVE}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnok"
SectionEnd
