; The install of [ mp3 - sondrel ] written for NSIS 3, step for step as setup.exe does it,
; so that the two can be timed side by side (bench/install-bench.sh). Run silent:
;     sondrel-peer.exe /S /D=C:\Some Folder
; Built with, all six defines required:
;     makensis -DPAYLOAD=DIR -DFILES=NSH -DCAPTION=TEXT -DCOMPRESSOR=zlib|lzma \
;              -DTARGET=amd64-unicode|x86-unicode -DOUTFILE=FILE bench/peer/sondrel.nsi
; PAYLOAD holds the thirteen files under their English names; FILES is the list of them
; that bench/install-bench.sh makes from the program's catalogue (payload/catalogue.def),
; and CAPTION the program's caption (resources/product.h), by which the timer finds either
; installer's window. zlib packs each file on its own; lzma packs them all in one solid
; block.

!ifndef PAYLOAD | FILES | CAPTION | COMPRESSOR | TARGET | OUTFILE
    !error "define PAYLOAD, FILES, CAPTION, COMPRESSOR (zlib or lzma), TARGET and OUTFILE"
!endif

Target ${TARGET}
!if ${COMPRESSOR} == lzma
    SetCompressor /SOLID lzma
!else if ${COMPRESSOR} == zlib
    SetCompressor zlib
!else
    !error "COMPRESSOR is zlib or lzma, not ${COMPRESSOR}"
!endif

!define WM_CLOSE 0x0010
; setup.exe gives a program that does not answer its close request this long.
!define CLOSE_WAIT_MS 5000
!define GROUP "[ mp3 - sondrel ]"
!define OLD_GROUP "[ mp3 sondrel ]"
!define SETTINGS "$WINDIR\MP3 SONDREL.INI"

Name "[ mp3 - sondrel ]"
Caption "${CAPTION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\MP3 Sondrel"
; setup.exe's manifest asks for administrator rights too.
RequestExecutionLevel admin
ShowInstDetails nevershow

Page directory
Page instfiles

; Asks the first top-level window found by class or title to close, and waits for it to
; handle the request, at most CLOSE_WAIT_MS.
!macro RequestClose class title
    FindWindow $0 "${class}" "${title}"
    IntCmp $0 0 +2
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=${CLOSE_WAIT_MS}
!macroend

; Anything that set the error flag since the last ClearErrors marks the install failed.
!macro NoteFailure
    IfErrors 0 +2
    StrCpy $R9 1
!macroend

Section
    StrCpy $R9 0
    CreateDirectory "$INSTDIR"
    CreateDirectory "$INSTDIR\HtmlView"
    !insertmacro RequestClose "" "Tolvane"
    !insertmacro RequestClose "Mp3SondrelWndClass" ""
    !insertmacro RequestClose "Mp3QuilloWndClass" ""

    ; The thirteen files, in setup.exe's order.
    ClearErrors
    !include "${FILES}"
    !insertmacro NoteFailure

    ; The previous version's desktop link and program group (its files, then the folder).
    Delete "$DESKTOP\[ mp3 sondrel ].lnk"
    Delete "$SMPROGRAMS\${OLD_GROUP}\*.*"
    RMDir "$SMPROGRAMS\${OLD_GROUP}"

    ; The nine shortcuts, in setup.exe's order.
    CreateShortcut "$DESKTOP\[ mp3 - sondrel ].lnk" "$INSTDIR\mp3 sondrel.exe"
    CreateDirectory "$SMPROGRAMS\${GROUP}"
    CreateShortcut "$SMPROGRAMS\${GROUP}\[ mp3 - sondrel ].lnk" "$INSTDIR\mp3 sondrel.exe"
    CreateShortcut "$SMSTARTUP\[ mp3 - sondrel ].lnk" "$INSTDIR\Tolvane.exe"
    CreateShortcut "$SMPROGRAMS\${GROUP}\Read me.lnk" "$INSTDIR\HtmlView\readme.htm"
    CreateShortcut "$SMPROGRAMS\${GROUP}\User's manual.lnk" "$INSTDIR\HtmlView\Manual.htm"
    CreateShortcut "$SMPROGRAMS\${GROUP}\Web site.lnk" "$INSTDIR\website.url"
    CreateShortcut "$SMPROGRAMS\${GROUP}\Uninstall.lnk" "$INSTDIR\Uninstall.exe"
    CreateShortcut "$DESKTOP\[ mp3 - quillo ].lnk" "$INSTDIR\mp3 quillo.exe"
    CreateShortcut "$SMPROGRAMS\${GROUP}\[ mp3 - quillo ].lnk" "$INSTDIR\mp3 quillo.exe"

    WriteINIStr "${SETTINGS}" "Setup" "InstallPath" "$INSTDIR"
    WriteINIStr "${SETTINGS}" "Setup" "Player" "1"

    MessageBox MB_YESNO|MB_ICONQUESTION "[ mp3 - sondrel ] provides now a player : [ mp3 - quillo ] !$\nWould you like to define it as default MP3 player ?" /SD IDNO IDNO no_player
        ExecShell "" "$INSTDIR\mp3 quillo.exe" " -reg" SW_HIDE
    no_player:

    IntCmp $R9 0 installed
        MessageBox MB_OK|MB_ICONEXCLAMATION "Some problem have occurred during the installation.$\n[ mp3 - sondrel ] is not correctly installed !" /SD IDOK
        SetErrorLevel 1
        Goto done
    installed:
    ; setup.exe looks at the subscription flag here; the newsletter itself has no
    ; counterpart, and the benchmark runs with the flag set.
    ReadINIStr $1 "${SETTINGS}" "Setup" "MailingList"
    MessageBox MB_YESNO|MB_ICONQUESTION "Installation successful !$\nDo you want to start [ mp3 - sondrel ] now  ?" /SD IDNO IDNO done
        ExecShell "" "$INSTDIR\mp3 sondrel.exe"
    done:
SectionEnd
