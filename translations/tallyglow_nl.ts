<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Mask</source>
        <extracomment>Menu item with a check mark: hides the figure in the panel (a verb).</extracomment>
        <translation>Verbergen</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Instellingen…</translation>
    </message>
    <message>
        <source>Quit Tallyglow</source>
        <translation>Tallyglow afsluiten</translation>
    </message>
    <message>
        <source>Tallyglow Settings</source>
        <translation>Tallyglow-instellingen</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Daily pay</source>
        <translation>Dagloon</translation>
    </message>
    <message>
        <source>Day starts at</source>
        <translation>Werkdag begint om</translation>
    </message>
    <message>
        <source>Day ends at</source>
        <translation>Werkdag eindigt om</translation>
    </message>
    <message>
        <source>Currency</source>
        <extracomment>Shown in the narrow currency symbol field while it is empty; keep it short.</extracomment>
        <translation>Valuta</translation>
    </message>
    <message>
        <source>0</source>
        <extracomment>Shown in the empty pay field: zero, written as the language writes it.</extracomment>
        <translation>0</translation>
    </message>
    <message>
        <source>Enter a daily pay from 0 to %1</source>
        <translation>Voer een dagloon van 0 tot %1 in</translation>
    </message>
    <message>
        <source>Mask automatically while screen sharing</source>
        <extracomment>&quot;Mask&quot; as in the panel item&apos;s menu: the figure shows as dots ($•••.••).</extracomment>
        <translation>Automatisch verbergen terwijl het scherm wordt gedeeld</translation>
    </message>
    <message>
        <source>Middle-click or Shift-click the panel item, or choose “Mask” in its menu, to toggle masking at any time.</source>
        <extracomment>“Mask” is the menu item of that name, in this language&apos;s quotation marks.</extracomment>
        <translation>Middelklik of Shift-klik op het pictogram in het paneel, of kies “Verbergen” in het menu, om op elk moment te verbergen of te tonen.</translation>
    </message>
    <message>
        <source>Middle-click the panel item, or choose “Mask” in its menu, to toggle masking at any time.</source>
        <extracomment>Where held keys cannot be seen (Wayland); “Mask” as above.</extracomment>
        <translation>Middelklik op het pictogram in het paneel, of kies “Verbergen” in het menu, om op elk moment te verbergen of te tonen.</translation>
    </message>
    <message>
        <source>:</source>
        <extracomment>Between the hour and the minute of a time of day.</extracomment>
        <translation>:</translation>
    </message>
    <message>
        <source>Screen casts cannot be detected: PipeWire is not installed</source>
        <translation>Scherm delen kan niet worden gedetecteerd: PipeWire is niet geïnstalleerd</translation>
    </message>
    <message>
        <source>Screen casts cannot be detected: PipeWire is not running</source>
        <translation>Scherm delen kan niet worden gedetecteerd: PipeWire draait niet</translation>
    </message>
</context>
</TS>
