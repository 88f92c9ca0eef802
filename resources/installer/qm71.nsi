; The Windows installer of the QM71 programs: puts them into Program Files,
; gives each a Start-menu entry and registers the uninstaller in the system's
; list of programs. The uninstaller removes exactly what the installer put
; there; the settings files (qm71.ini, lcam71.ini in the Windows folder) and
; captured pictures are the user's and stay.
; The build (cmake/windows_package.cmake) defines VERSION, FILE_VERSION (four
; numbers, as in the programs' version resources), SOURCE (the source
; folder), STAGE (the programs and readme.txt as installed by CMake), PROGRAMS
; (one QM71_PROGRAM line a program: file, Start-menu name, comment) and
; OUTFILE.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define PRODUCT "QM71 Kamera-Interface"
!define PUBLISHER "Muster Kamerasysteme GmbH"
!define MENU "$SMPROGRAMS\QM71"
!define UNINSTALLER "$INSTDIR\uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QM71"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\QM71"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${SOURCE}/resources/icons/qm.ico"
!define MUI_UNICON "${SOURCE}/resources/icons/qm.ico"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The first language is the one for systems that speak neither.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

VIProductVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) ${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"

; Start-menu entries for all users; $DOCUMENTS is then the public Documents folder.
Function .onInit
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetShellVarContext all
FunctionEnd

Section
    SetOutPath "$INSTDIR"
    File "${STAGE}/readme.txt"
    CreateDirectory "${MENU}"
    ; The entries start the programs in the public Documents folder, which
    ; every user may write to: QMDEMO saves its captures in the folder it was
    ; started in.
    !macro QM71_PROGRAM FILE NAME COMMENT
        SetOutPath "$INSTDIR"
        File "${STAGE}/${FILE}"
        SetOutPath "$DOCUMENTS"
        CreateShortcut "${MENU}\${NAME}.lnk" "$INSTDIR\${FILE}" "" "" 0 SW_SHOWNORMAL "" "${COMMENT}"
    !macroend
    !include "${PROGRAMS}"
    !macroundef QM71_PROGRAM

    WriteUninstaller "${UNINSTALLER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${UNINSTALLER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    !macro QM71_PROGRAM FILE NAME COMMENT
        Delete "$INSTDIR\${FILE}"
        Delete "${MENU}\${NAME}.lnk"
    !macroend
    !include "${PROGRAMS}"
    !macroundef QM71_PROGRAM
    Delete "$INSTDIR\readme.txt"
    Delete "${UNINSTALLER}"
    RMDir "${MENU}"
    ; Only when empty: whatever the user keeps in it stays.
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
