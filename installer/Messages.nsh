; Every text of ours that the installer and the uninstaller show, in English
; and Japanese (the suite sets up Japanese keyboards; the user's UI language
; chooses). The log stays English: scripts and support read it.
;   MESSAGE ID ENGLISH JAPANESE  defines $(ID) for each language, and
;   ${EN_ID} as the English text for the log.
; Texts may hold variables ($INSTDIR, $0...): they are read when shown.
!macro MESSAGE ID ENGLISH JAPANESE
    !define EN_${ID} `${ENGLISH}`
    LangString ${ID} ${LANG_ENGLISH} `${ENGLISH}`
    LangString ${ID} ${LANG_JAPANESE} `${JAPANESE}`
!macroend

; Components and their descriptions.
!insertmacro MESSAGE SEC_PROGRAMS "Programs" "プログラム"
!insertmacro MESSAGE SEC_CLIENT "Client files" "クライアント ファイル"
!insertmacro MESSAGE SEC_KEYBOARD "Japanese 106-key keyboard" "日本語 106 キーボード"
!insertmacro MESSAGE SEC_MEDIA_KEY "Media key" "メディア キー"
!insertmacro MESSAGE DESC_PROGRAMS \
    "The media menu, the BIOS library and the keyboard setup program (always installed)." \
    "メディア メニュー、BIOS ライブラリ、キーボード設定プログラム (常にインストールされます)。"
!insertmacro MESSAGE DESC_CLIENT \
    "The BIOS tool wzkbios.exe, and for programs that call the BIOS library its header, import libraries and 64-bit build." \
    "BIOS ツール wzkbios.exe と、BIOS ライブラリを呼び出すプログラム用のヘッダー、インポート ライブラリ、64 ビット版。"
!insertmacro MESSAGE DESC_KEYBOARD \
    "Sets the PS/2 keyboard driver up for the Japanese 106-key keyboard (takes effect after a restart)." \
    "PS/2 キーボード ドライバーを日本語 106 キーボード用に設定します (再起動後に有効になります)。"
!insertmacro MESSAGE DESC_MEDIA_KEY \
    "Opens the menu with the keyboard's Media key, for PCs without the maker's hot-key software." \
    "キーボードのメディア キーでメニューを開きます (メーカーのホット キー ソフトウェアがない PC 用)。"

; Refusals, before anything is written.
!insertmacro MESSAGE UNKNOWN_SWITCH \
    "Unknown switch: $R2$\n$\nKnown: /S /CLIENT /KEYBOARD106 /MEDIAKEY /LOG=file /D=folder" \
    "不明なスイッチです: $R2$\n$\n使用できるスイッチ: /S /CLIENT /KEYBOARD106 /MEDIAKEY /LOG=file /D=folder"
!insertmacro MESSAGE SETUP_NEEDS_ADMIN \
    "${PRODUCT} setup needs administrator rights." \
    "${PRODUCT} のセットアップには管理者権限が必要です。"
!insertmacro MESSAGE REMOVAL_NEEDS_ADMIN \
    "Removing ${PRODUCT} needs administrator rights." \
    "${PRODUCT} の削除には管理者権限が必要です。"
!insertmacro MESSAGE FOLDER_IS_LINK \
    "$INSTDIR is a link to another folder. Choose the folder itself." \
    "$INSTDIR は別のフォルダーへのリンクです。フォルダーそのものを選んでください。"

; Failures, on the progress page (and, in English, in the log).
!insertmacro MESSAGE CANNOT_MAKE_SECURITY \
    "Cannot make the security of $INSTDIR" \
    "$INSTDIR のセキュリティを作成できません"
!insertmacro MESSAGE CANNOT_SET_SECURITY \
    "Cannot set the security of $INSTDIR (error $0)" \
    "$INSTDIR のセキュリティを設定できません (エラー $0)"
!insertmacro MESSAGE CANNOT_KEEP_FILE \
    "Cannot keep $R9 aside" \
    "$R9 を退避できません"
!insertmacro MESSAGE CANNOT_WRITE_UNINSTALLER \
    "Cannot write $INSTDIR\${UNINSTALLER}" \
    "$INSTDIR\${UNINSTALLER} を書き込めません"
!insertmacro MESSAGE CANNOT_RUN_KBDSETUP \
    "Cannot run $INSTDIR\kbdsetup.exe" \
    "$INSTDIR\kbdsetup.exe を実行できません"
!insertmacro MESSAGE KBDSETUP_FAILED \
    "$INSTDIR\kbdsetup.exe failed with exit code $0" \
    "$INSTDIR\kbdsetup.exe が終了コード $0 で失敗しました"
!insertmacro MESSAGE CANNOT_KEEP_ENTRY \
    "Cannot keep the uninstall entry" \
    "アンインストール情報を保存できません"
!insertmacro MESSAGE CANNOT_WRITE_ENTRY \
    "Cannot write the uninstall entry" \
    "アンインストール情報を書き込めません"
!insertmacro MESSAGE MEDIA_KEY_NOT_TEXT \
    "The Media key's ${MEDIA_APPKEY_VALUE} value is no text; it is left as it is" \
    "メディア キーの ${MEDIA_APPKEY_VALUE} 値が文字列ではないため、変更しません"
!insertmacro MESSAGE CANNOT_BIND_MEDIA_KEY \
    "Cannot bind the Media key" \
    "メディア キーを割り当てられません"
