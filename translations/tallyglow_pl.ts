<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Mask</source>
        <extracomment>Menu item with a check mark: hides the figure in the panel (a verb).</extracomment>
        <translation>Ukryj</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Ustawienia…</translation>
    </message>
    <message>
        <source>Quit Tallyglow</source>
        <translation>Zakończ Tallyglow</translation>
    </message>
    <message>
        <source>Tallyglow Settings</source>
        <translation>Ustawienia Tallyglow</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Daily pay</source>
        <translation>Płaca dzienna</translation>
    </message>
    <message>
        <source>Day starts at</source>
        <translation>Początek dnia pracy</translation>
    </message>
    <message>
        <source>Day ends at</source>
        <translation>Koniec dnia pracy</translation>
    </message>
    <message>
        <source>Currency</source>
        <extracomment>Shown in the narrow currency symbol field while it is empty; keep it short.</extracomment>
        <translation>Waluta</translation>
    </message>
    <message>
        <source>0</source>
        <extracomment>Shown in the empty pay field: zero, written as the language writes it.</extracomment>
        <translation>0</translation>
    </message>
    <message>
        <source>Enter a daily pay from 0 to %1</source>
        <translation>Podaj płacę dzienną od 0 do %1</translation>
    </message>
    <message>
        <source>Mask automatically while screen sharing</source>
        <extracomment>&quot;Mask&quot; as in the panel item&apos;s menu: the figure shows as dots ($•••.••).</extracomment>
        <translation>Ukrywaj automatycznie podczas udostępniania ekranu</translation>
    </message>
    <message>
        <source>Middle-click or Shift-click the panel item, or choose “Mask” in its menu, to toggle masking at any time.</source>
        <extracomment>“Mask” is the menu item of that name, in this language&apos;s quotation marks.</extracomment>
        <translation>Kliknij ikonę na panelu środkowym przyciskiem lub z Shiftem albo wybierz „Ukryj” w jej menu, aby w każdej chwili ukryć lub pokazać kwotę.</translation>
    </message>
    <message>
        <source>Middle-click the panel item, or choose “Mask” in its menu, to toggle masking at any time.</source>
        <extracomment>Where held keys cannot be seen (Wayland); “Mask” as above.</extracomment>
        <translation>Kliknij ikonę na panelu środkowym przyciskiem albo wybierz „Ukryj” w jej menu, aby w każdej chwili ukryć lub pokazać kwotę.</translation>
    </message>
    <message>
        <source>:</source>
        <extracomment>Between the hour and the minute of a time of day.</extracomment>
        <translation>:</translation>
    </message>
    <message>
        <source>Screen casts cannot be detected: PipeWire is not installed</source>
        <translation>Nie można wykryć udostępniania ekranu: PipeWire nie jest zainstalowany</translation>
    </message>
    <message>
        <source>Screen casts cannot be detected: PipeWire is not running</source>
        <translation>Nie można wykryć udostępniania ekranu: PipeWire nie jest uruchomiony</translation>
    </message>
</context>
</TS>
