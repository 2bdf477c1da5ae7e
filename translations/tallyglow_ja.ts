<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Mask</source>
        <extracomment>Menu item with a check mark: hides the figure in the panel (a verb).</extracomment>
        <translation>隠す</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>設定…</translation>
    </message>
    <message>
        <source>Quit Tallyglow</source>
        <translation>Tallyglow を終了</translation>
    </message>
    <message>
        <source>Tallyglow Settings</source>
        <translation>Tallyglow の設定</translation>
    </message>
</context>
<context>
    <name>PanelNotice</name>
    <message>
        <source>Install the AppIndicator extension (the gnome-shell-extension-appindicator package on Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>AppIndicator 拡張機能（Debian と Fedora では gnome-shell-extension-appindicator パッケージ）をインストールし、ログインし直して「拡張機能」で有効にしてください。</translation>
    </message>
    <message>
        <source>install and switch on the AppIndicator extension</source>
        <translation>AppIndicator 拡張機能をインストールして有効にする</translation>
    </message>
    <message>
        <source>The AppIndicator extension is installed but off: switch it on in Extensions, or choose Enable.</source>
        <translation>AppIndicator 拡張機能はインストールされていますが無効です。「拡張機能」で有効にするか、「有効にする」を選んでください。</translation>
    </message>
    <message>
        <source>switch on the AppIndicator extension</source>
        <translation>AppIndicator 拡張機能を有効にする</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>有効にする</translation>
    </message>
    <message>
        <source>The AppIndicator extension is on but not running: update it, or switch it off and on again in Extensions.</source>
        <translation>AppIndicator 拡張機能は有効ですが動作していません。更新するか、「拡張機能」で一度無効にしてから有効にしてください。</translation>
    </message>
    <message>
        <source>the AppIndicator extension is not running</source>
        <translation>AppIndicator 拡張機能が動作していません</translation>
    </message>
    <message>
        <source>Add the StatusNotifier applet to the panel in Budgie Desktop Settings (the budgie-sntray-plugin package).</source>
        <translation>Budgie デスクトップ設定でパネルに StatusNotifier アプレットを追加してください（budgie-sntray-plugin パッケージ）。</translation>
    </message>
    <message>
        <source>add the StatusNotifier applet to the panel</source>
        <translation>パネルに StatusNotifier アプレットを追加する</translation>
    </message>
    <message>
        <source>Add a system tray (notification area) to the panel, or use a panel that has one.</source>
        <translation>パネルにシステムトレイ（通知領域）を追加するか、システムトレイのあるパネルを使ってください。</translation>
    </message>
    <message>
        <source>add a system tray to the panel</source>
        <translation>パネルにシステムトレイを追加する</translation>
    </message>
    <message>
        <source>No panel shows Tallyglow: %1</source>
        <translation>Tallyglow を表示しているパネルはありません: %1</translation>
    </message>
    <message>
        <source>Tallyglow is running, but not in the panel</source>
        <translation>Tallyglow は動作していますが、パネルには表示されていません</translation>
    </message>
    <message>
        <source>This desktop&apos;s panel shows no status items. %1</source>
        <translation>このデスクトップのパネルはステータスアイコンを表示しません。%1</translation>
    </message>
    <message>
        <source>Choose Install and GNOME fetches the AppIndicator extension and switches it on; or install the gnome-shell-extension-appindicator package (Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>「インストール」を選ぶと、GNOME が AppIndicator 拡張機能をダウンロードして有効にします。または gnome-shell-extension-appindicator パッケージ（Debian と Fedora）をインストールし、ログインし直して「拡張機能」で有効にしてください。</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>インストール</translation>
    </message>
    <message>
        <source>The AppIndicator extension was not installed</source>
        <translation>AppIndicator 拡張機能はインストールされませんでした</translation>
    </message>
    <message>
        <source>GNOME Shell could not install it (%1). Install the gnome-shell-extension-appindicator package instead (Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>GNOME Shell はインストールできませんでした（%1）。代わりに gnome-shell-extension-appindicator パッケージ（Debian と Fedora）をインストールし、ログインし直して「拡張機能」で有効にしてください。</translation>
    </message>
</context>
<context>
    <name>PanelWidgetRow</name>
    <message>
        <source>Show the figure in the panel</source>
        <extracomment>A button on Plasma: adds Tallyglow&apos;s widget, which shows the figure as text, to the panel.</extracomment>
        <translation>パネルに金額を表示</translation>
    </message>
    <message>
        <source>Tallyglow&apos;s widget shows the figure in the panel.</source>
        <translation>Tallyglow のウィジェットがパネルに金額を表示しています。</translation>
    </message>
    <message>
        <source>Widgets are locked: unlock them, then try again.</source>
        <extracomment>Plasma&apos;s widgets are locked (its &quot;Lock Widgets&quot;); unlocking lets the panel take one.</extracomment>
        <translation>ウィジェットがロックされています。ロックを解除してから、もう一度お試しください。</translation>
    </message>
    <message>
        <source>Plasma&apos;s panel is not running.</source>
        <translation>Plasma のパネルが動作していません。</translation>
    </message>
    <message>
        <source>The panel did not take the widget: %1</source>
        <extracomment>%1 is Plasma&apos;s own reason, as it gave it.</extracomment>
        <translation>パネルがウィジェットを追加しませんでした: %1</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Daily pay</source>
        <translation>日給</translation>
    </message>
    <message>
        <source>Day starts at</source>
        <translation>始業時刻</translation>
    </message>
    <message>
        <source>Day ends at</source>
        <translation>終業時刻</translation>
    </message>
    <message>
        <source>Currency</source>
        <extracomment>Shown in the narrow currency symbol field while it is empty; keep it short.</extracomment>
        <translation>通貨</translation>
    </message>
    <message>
        <source>0</source>
        <extracomment>Shown in the empty pay field: zero, written as the language writes it.</extracomment>
        <translation>0</translation>
    </message>
    <message>
        <source>Enter a daily pay from 0 to %1</source>
        <translation>0 から %1 までの日給を入力してください</translation>
    </message>
    <message>
        <source>Mask automatically while screen sharing</source>
        <extracomment>&quot;Mask&quot; as in the panel item&apos;s menu: the figure shows as dots ($•••.••).</extracomment>
        <translation>画面共有中は自動的に隠す</translation>
    </message>
    <message>
        <source>Middle-click or Shift-click the panel item, or choose “Mask” in its menu, to toggle masking at any time.</source>
        <extracomment>“Mask” is the menu item of that name, in this language&apos;s quotation marks.</extracomment>
        <translation>パネルの項目を中クリックまたは Shift+クリックするか、メニューの「隠す」を選ぶと、いつでも表示を切り替えられます。</translation>
    </message>
    <message>
        <source>Middle-click the panel item, or choose “Mask” in its menu, to toggle masking at any time.</source>
        <extracomment>Where held keys cannot be seen (Wayland); “Mask” as above.</extracomment>
        <translation>パネルの項目を中クリックするか、メニューの「隠す」を選ぶと、いつでも表示を切り替えられます。</translation>
    </message>
    <message>
        <source>:</source>
        <extracomment>Between the hour and the minute of a time of day.</extracomment>
        <translation>:</translation>
    </message>
    <message>
        <source>Screen casts cannot be detected: PipeWire is not installed</source>
        <translation>画面共有を検出できません: PipeWire がインストールされていません</translation>
    </message>
    <message>
        <source>Screen casts cannot be detected: PipeWire is not running</source>
        <translation>画面共有を検出できません: PipeWire が実行されていません</translation>
    </message>
    <message>
        <source>Work days</source>
        <translation>勤務日</translation>
    </message>
    <message>
        <source>Ends the next day</source>
        <extracomment>Under the end of the working day when it is at or before its start: a night shift.</extracomment>
        <translation>翌日に終了</translation>
    </message>
    <message>
        <source>Unpaid break</source>
        <translation>無給休憩</translation>
    </message>
    <message>
        <source>per day</source>
        <extracomment>What the pay typed beside it is for: one working day ...</extracomment>
        <translation>1日あたり</translation>
    </message>
    <message>
        <source>per hour</source>
        <extracomment>... or one hour of paid time.</extracomment>
        <translation>1時間あたり</translation>
    </message>
    <message>
        <source>Hourly pay</source>
        <translation>時給</translation>
    </message>
    <message>
        <source>Enter an hourly pay from 0 to %1</source>
        <translation>0 から %1 までの時給を入力してください</translation>
    </message>
    <message>
        <source>none</source>
        <extracomment>The length of the unpaid break: no break at all.</extracomment>
        <translation>なし</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 分</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom only: PipeWire is not installed</source>
        <translation>ブラウザーと Zoom の画面共有のみ検出します: PipeWire がインストールされていません</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom only: PipeWire is not running</source>
        <translation>ブラウザーと Zoom の画面共有のみ検出します: PipeWire が実行されていません</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom, and for PipeWire casts</source>
        <translation>ブラウザーと Zoom の画面共有、および PipeWire のキャストを検出します</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, not for PipeWire casts: PipeWire is not installed</source>
        <translation>ブラウザー、Zoom、画面を読み取るプログラムの画面共有を検出しますが、PipeWire のキャストは検出しません: PipeWire がインストールされていません</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, not for PipeWire casts: PipeWire is not running</source>
        <translation>ブラウザー、Zoom、画面を読み取るプログラムの画面共有を検出しますが、PipeWire のキャストは検出しません: PipeWire が実行されていません</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, and for PipeWire casts</source>
        <translation>ブラウザー、Zoom、画面を読み取るプログラムの画面共有、および PipeWire のキャストを検出します</translation>
    </message>
</context>
</TS>
