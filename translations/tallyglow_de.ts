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
</context>
</TS>
