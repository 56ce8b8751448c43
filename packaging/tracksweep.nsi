; The Tracksweep installer: per user, no administrator rights, into the user's local programs
; folder, with a Start menu shortcut and an entry in Add or Remove Programs.
; makensis -DSOURCE=<build tree> [-DSOURCE32=<32-bit tree>] [-DSOURCE64=<64-bit tree>] -DOUTFILE=<setup.exe> tracksweep.nsi
; With both trees the 64-bit program goes onto 64-bit Windows and the 32-bit one elsewhere; the
; installer itself is a 32-bit program, which runs on both.
Unicode true
Target x86-unicode
!include x64.nsh
!ifndef SOURCE32
  !ifndef SOURCE64
    !define SOURCE32 "${SOURCE}"
  !endif
!endif
Name "Tracksweep 3.20"
Icon "${SOURCE}\Tracksweep.ico"
UninstallIcon "${SOURCE}\Tracksweep.ico"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Tracksweep"
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tracksweep"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Page directory
Page instfiles
UninstPage components
UninstPage instfiles

!macro Programs FROM
  File "${FROM}\Tsw.exe"
  File "${FROM}\tswclean.exe"
!macroend

Section "Tracksweep"
  SetOutPath "$INSTDIR"
!ifdef SOURCE32 & SOURCE64
  ${If} ${RunningX64}
    !insertmacro Programs "${SOURCE64}"
  ${Else}
    !insertmacro Programs "${SOURCE32}"
  ${EndIf}
!else ifdef SOURCE64
  !insertmacro Programs "${SOURCE64}"
!else
  !insertmacro Programs "${SOURCE32}"
!endif
  File "${SOURCE}\help.chm"
  ; The user's own file types stay when Tracksweep is installed again.
  SetOverwrite off
  File "${SOURCE}\Ext.txt"
  SetOverwrite on
  SetOutPath "$INSTDIR\Skinz\Blue"
  File "${SOURCE}\Skinz\Blue\*.gif"
  SetOutPath "$INSTDIR"
  CreateDirectory "$SMPROGRAMS\Tracksweep"
  CreateShortcut "$SMPROGRAMS\Tracksweep\Tracksweep.lnk" "$INSTDIR\Tsw.exe"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tracksweep 3.20"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "3.20"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tsw.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Off unless the user ticks it: the choices, keep lists and custom items are the user's.
Section /o "un.Remove my settings, keep lists and custom items"
  Delete "$INSTDIR\prisd.dat"
  Delete "$INSTDIR\keepcook.dat"
  Delete "$INSTDIR\keepurl.dat"
  Delete "$INSTDIR\cusd.dat"
SectionEnd

Section "un.Tracksweep"
  SectionIn RO
  ; The scheduled cleaning goes first, while the cleaner that removes it is still there.
  ExecWait '"$INSTDIR\tswclean.exe" --unschedule'
  Delete "$INSTDIR\tswclean-report.json"
  Delete "$INSTDIR\Tsw.exe"
  Delete "$INSTDIR\tswclean.exe"
  Delete "$INSTDIR\help.chm"
  Delete "$INSTDIR\Ext.txt"
  Delete "$INSTDIR\Ext.txt.new"
  Delete "$INSTDIR\Skinz\Blue\*.gif"
  RMDir "$INSTDIR\Skinz\Blue"
  RMDir "$INSTDIR\Skinz"
  Delete "$INSTDIR\Uninstall.exe"
  DeleteRegValue HKCU "${RUN_KEY}" "Tracksweep"
  DeleteRegValue HKLM "${RUN_KEY}" "Tracksweep"
  Delete "$SMPROGRAMS\Tracksweep\Tracksweep.lnk"
  RMDir "$SMPROGRAMS\Tracksweep"
  ; Only when empty: the user's files keep their folder.
  RMDir "$INSTDIR"
  ; Last, so that whoever waits on the uninstall knows it is done when the entry goes.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
