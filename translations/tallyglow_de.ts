<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Mask</source>
        <extracomment>Menu item with a check mark: hides the figure in the panel (a verb).</extracomment>
        <translation>Ausblenden</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Einstellungen…</translation>
    </message>
    <message>
        <source>Quit Tallyglow</source>
        <translation>Tallyglow beenden</translation>
    </message>
    <message>
        <source>Tallyglow Settings</source>
        <translation>Tallyglow-Einstellungen</translation>
    </message>
</context>
<context>
    <name>PanelNotice</name>
    <message>
        <source>Install the AppIndicator extension (the gnome-shell-extension-appindicator package on Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>Installieren Sie die AppIndicator-Erweiterung (auf Debian und Fedora das Paket gnome-shell-extension-appindicator), melden Sie sich neu an und schalten Sie sie unter Erweiterungen ein.</translation>
    </message>
    <message>
        <source>install and switch on the AppIndicator extension</source>
        <translation>AppIndicator-Erweiterung installieren und einschalten</translation>
    </message>
    <message>
        <source>The AppIndicator extension is installed but off: switch it on in Extensions, or choose Enable.</source>
        <translation>Die AppIndicator-Erweiterung ist installiert, aber aus: Schalten Sie sie unter Erweiterungen ein oder wählen Sie Einschalten.</translation>
    </message>
    <message>
        <source>switch on the AppIndicator extension</source>
        <translation>AppIndicator-Erweiterung einschalten</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Einschalten</translation>
    </message>
    <message>
        <source>The AppIndicator extension is on but not running: update it, or switch it off and on again in Extensions.</source>
        <translation>Die AppIndicator-Erweiterung ist eingeschaltet, läuft aber nicht: Aktualisieren Sie sie oder schalten Sie sie unter Erweiterungen aus und wieder ein.</translation>
    </message>
    <message>
        <source>the AppIndicator extension is not running</source>
        <translation>die AppIndicator-Erweiterung läuft nicht</translation>
    </message>
    <message>
        <source>Add the StatusNotifier applet to the panel in Budgie Desktop Settings (the budgie-sntray-plugin package).</source>
        <translation>Fügen Sie in den Budgie-Desktop-Einstellungen das Applet StatusNotifier zur Leiste hinzu (Paket budgie-sntray-plugin).</translation>
    </message>
    <message>
        <source>add the StatusNotifier applet to the panel</source>
        <translation>StatusNotifier-Applet zur Leiste hinzufügen</translation>
    </message>
    <message>
        <source>Add a system tray (notification area) to the panel, or use a panel that has one.</source>
        <translation>Fügen Sie der Leiste einen Systembereich (Benachrichtigungsfeld) hinzu oder verwenden Sie eine Leiste mit einem.</translation>
    </message>
    <message>
        <source>add a system tray to the panel</source>
        <translation>einen Systembereich zur Leiste hinzufügen</translation>
    </message>
    <message>
        <source>No panel shows Tallyglow: %1</source>
        <translation>Keine Leiste zeigt Tallyglow: %1</translation>
    </message>
    <message>
        <source>Tallyglow is running, but not in the panel</source>
        <translation>Tallyglow läuft, aber nicht in der Leiste</translation>
    </message>
    <message>
        <source>This desktop&apos;s panel shows no status items. %1</source>
        <translation>Die Leiste dieser Arbeitsumgebung zeigt keine Statussymbole. %1</translation>
    </message>
    <message>
        <source>Choose Install and GNOME fetches the AppIndicator extension and switches it on; or install the gnome-shell-extension-appindicator package (Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>Wählen Sie Installieren, und GNOME lädt die AppIndicator-Erweiterung herunter und schaltet sie ein; oder installieren Sie das Paket gnome-shell-extension-appindicator (Debian und Fedora), melden Sie sich neu an und schalten Sie sie unter Erweiterungen ein.</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Installieren</translation>
    </message>
    <message>
        <source>The AppIndicator extension was not installed</source>
        <translation>Die AppIndicator-Erweiterung wurde nicht installiert</translation>
    </message>
    <message>
        <source>GNOME Shell could not install it (%1). Install the gnome-shell-extension-appindicator package instead (Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>GNOME Shell konnte sie nicht installieren (%1). Installieren Sie stattdessen das Paket gnome-shell-extension-appindicator (Debian und Fedora), melden Sie sich neu an und schalten Sie sie unter Erweiterungen ein.</translation>
    </message>
</context>
<context>
    <name>PanelWidgetRow</name>
    <message>
        <source>Show the figure in the panel</source>
        <extracomment>A button on Plasma: adds Tallyglow&apos;s widget, which shows the figure as text, to the panel.</extracomment>
        <translation>Betrag in der Leiste anzeigen</translation>
    </message>
    <message>
        <source>Tallyglow&apos;s widget shows the figure in the panel.</source>
        <translation>Das Tallyglow-Widget zeigt den Betrag in der Leiste.</translation>
    </message>
    <message>
        <source>Widgets are locked: unlock them, then try again.</source>
        <extracomment>Plasma&apos;s widgets are locked (its &quot;Lock Widgets&quot;); unlocking lets the panel take one.</extracomment>
        <translation>Die Widgets sind gesperrt: Entsperren Sie sie und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Plasma&apos;s panel is not running.</source>
        <translation>Die Plasma-Leiste läuft nicht.</translation>
    </message>
    <message>
        <source>The panel did not take the widget: %1</source>
        <extracomment>%1 is Plasma&apos;s own reason, as it gave it.</extracomment>
        <translation>Die Leiste hat das Widget nicht aufgenommen: %1</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Daily pay</source>
        <translation>Tageslohn</translation>
    </message>
    <message>
        <source>Day starts at</source>
        <translation>Arbeitsbeginn</translation>
    </message>
    <message>
        <source>Day ends at</source>
        <translation>Arbeitsende</translation>
    </message>
    <message>
        <source>Currency</source>
        <extracomment>Shown in the narrow currency symbol field while it is empty; keep it short.</extracomment>
        <translation>Währung</translation>
    </message>
    <message>
        <source>0</source>
        <extracomment>Shown in the empty pay field: zero, written as the language writes it.</extracomment>
        <translation>0</translation>
    </message>
    <message>
        <source>Enter a daily pay from 0 to %1</source>
        <translation>Tageslohn von 0 bis %1 eingeben</translation>
    </message>
    <message>
        <source>Mask automatically while screen sharing</source>
        <extracomment>&quot;Mask&quot; as in the panel item&apos;s menu: the figure shows as dots ($•••.••).</extracomment>
        <translation>Automatisch ausblenden, während der Bildschirm geteilt wird</translation>
    </message>
    <message>
        <source>Middle-click or Shift-click the panel item, or choose “Mask” in its menu, to toggle masking at any time.</source>
        <extracomment>“Mask” is the menu item of that name, in this language&apos;s quotation marks.</extracomment>
        <translation>Mittelklick oder Umschalt-Klick auf das Symbol in der Leiste oder „Ausblenden“ in seinem Menü blendet jederzeit aus und ein.</translation>
    </message>
    <message>
        <source>Middle-click the panel item, or choose “Mask” in its menu, to toggle masking at any time.</source>
        <extracomment>Where held keys cannot be seen (Wayland); “Mask” as above.</extracomment>
        <translation>Mittelklick auf das Symbol in der Leiste oder „Ausblenden“ in seinem Menü blendet jederzeit aus und ein.</translation>
    </message>
    <message>
        <source>:</source>
        <extracomment>Between the hour and the minute of a time of day.</extracomment>
        <translation>:</translation>
    </message>
    <message>
        <source>Screen casts cannot be detected: PipeWire is not installed</source>
        <translation>Bildschirmübertragungen nicht erkennbar: PipeWire ist nicht installiert</translation>
    </message>
    <message>
        <source>Screen casts cannot be detected: PipeWire is not running</source>
        <translation>Bildschirmübertragungen nicht erkennbar: PipeWire läuft nicht</translation>
    </message>
    <message>
        <source>Work days</source>
        <translation>Arbeitstage</translation>
    </message>
    <message>
        <source>Ends the next day</source>
        <extracomment>Under the end of the working day when it is at or before its start: a night shift.</extracomment>
        <translation>Endet am nächsten Tag</translation>
    </message>
    <message>
        <source>Unpaid break</source>
        <translation>Unbezahlte Pause</translation>
    </message>
    <message>
        <source>per day</source>
        <extracomment>What the pay typed beside it is for: one working day ...</extracomment>
        <translation>pro Tag</translation>
    </message>
    <message>
        <source>per hour</source>
        <extracomment>... or one hour of paid time.</extracomment>
        <translation>pro Stunde</translation>
    </message>
    <message>
        <source>Hourly pay</source>
        <translation>Stundenlohn</translation>
    </message>
    <message>
        <source>Enter an hourly pay from 0 to %1</source>
        <translation>Stundenlohn von 0 bis %1 eingeben</translation>
    </message>
    <message>
        <source>none</source>
        <extracomment>The length of the unpaid break: no break at all.</extracomment>
        <translation>keine</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 Min.</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom only: PipeWire is not installed</source>
        <translation>Bildschirmfreigaben werden nur für Browser und Zoom erkannt: PipeWire ist nicht installiert</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom only: PipeWire is not running</source>
        <translation>Bildschirmfreigaben werden nur für Browser und Zoom erkannt: PipeWire läuft nicht</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom, and for PipeWire casts</source>
        <translation>Bildschirmfreigaben von Browsern und Zoom werden erkannt, ebenso PipeWire-Übertragungen</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, not for PipeWire casts: PipeWire is not installed</source>
        <translation>Bildschirmfreigaben von Browsern, Zoom und Programmen, die den Bildschirm lesen, werden erkannt, PipeWire-Übertragungen nicht: PipeWire ist nicht installiert</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, not for PipeWire casts: PipeWire is not running</source>
        <translation>Bildschirmfreigaben von Browsern, Zoom und Programmen, die den Bildschirm lesen, werden erkannt, PipeWire-Übertragungen nicht: PipeWire läuft nicht</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, and for PipeWire casts</source>
        <translation>Bildschirmfreigaben von Browsern, Zoom und Programmen, die den Bildschirm lesen, werden erkannt, ebenso PipeWire-Übertragungen</translation>
    </message>
</context>
</TS>
