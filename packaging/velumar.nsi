; Velumar's installer: a per-user install into the user's local Programs folder that needs no
; administrator, a Start-menu shortcut, an entry in Apps & features, and an uninstaller that
; keeps the user's wallpaper list and settings. Built by makensis with -DVERSION, -DEXE, -DCHM,
; -DLICENSE, -DNOTICES and -DOUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velumar"
!define TITLE_PREFIX "Velumar by Quorwick"
!define EXIT_COMMAND 32771

Name "Velumar ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Velumar"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Velumar"
VIAddVersionKey "CompanyName" "Quorwick"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Velumar ${VERSION} Setup"
VIAddVersionKey "LegalCopyright" "Quorwick"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Asks every running Velumar to end as File > Exit does (it saves a changed list and its
; settings), and waits until its window is gone.
!macro CLOSE_RUNNING un
Function ${un}CloseRunningVelumar
    StrCpy $R1 0
    StrCpy $R3 0
    search:
        FindWindow $R0 "#32770" "" 0 $R1
        IntCmp $R0 0 done
        System::Call 'user32::GetWindowTextW(p R0, w .R2, i 256) i'
        StrCpy $R2 $R2 19
        StrCmp $R2 "${TITLE_PREFIX}" 0 next
            SendMessage $R0 ${WM_COMMAND} ${EXIT_COMMAND} 0 /TIMEOUT=10000
            Sleep 300
            IntOp $R3 $R3 + 1
            IntCmp $R3 50 done
            StrCpy $R1 0
            Goto search
        next:
        StrCpy $R1 $R0
        Goto search
    done:
    ; The process may still be writing its settings; give it a moment to end.
    Sleep 500
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING ""
!insertmacro CLOSE_RUNNING "un."

Section "Velumar"
    Call CloseRunningVelumar
    SetOutPath "$INSTDIR"
    ; The new files go beside the old ones first; the old program is replaced only when it can
    ; be removed, so an install never leaves half of one version and half of another.
    File "/oname=Velumar.exe.new" "${EXE}"
    File "/oname=Velumar.chm.new" "${CHM}"
    ClearErrors
    Delete "$INSTDIR\Velumar.exe"
    IfErrors 0 replace
        Delete "$INSTDIR\Velumar.exe.new"
        Delete "$INSTDIR\Velumar.chm.new"
        MessageBox MB_OK|MB_ICONSTOP "Velumar is still running. Close it with File > Exit and run the setup again." /SD IDOK
        SetErrorLevel 2
        Quit
    replace:
    Delete "$INSTDIR\Velumar.chm"
    Rename "$INSTDIR\Velumar.exe.new" "$INSTDIR\Velumar.exe"
    Rename "$INSTDIR\Velumar.chm.new" "$INSTDIR\Velumar.chm"
    File "/oname=LICENSE" "${LICENSE}"
    File "/oname=THIRD-PARTY-NOTICES.txt" "${NOTICES}"

    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Velumar.lnk" "$INSTDIR\Velumar.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Velumar"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Quorwick"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Velumar.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The wallpaper list (in Documents) and the settings (under Software\Quorwick) are the user's:
; they stay.
Section "Uninstall"
    Call un.CloseRunningVelumar
    Delete "$INSTDIR\Velumar.exe"
    Delete "$INSTDIR\Velumar.chm"
    Delete "$INSTDIR\LICENSE"
    Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Velumar.lnk"
    Delete "$SMSTARTUP\Shortcut to Velumar.exe.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
