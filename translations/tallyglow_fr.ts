<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Mask</source>
        <extracomment>Menu item with a check mark: hides the figure in the panel (a verb).</extracomment>
        <translation>Masquer</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Paramètres…</translation>
    </message>
    <message>
        <source>Quit Tallyglow</source>
        <translation>Quitter Tallyglow</translation>
    </message>
    <message>
        <source>Tallyglow Settings</source>
        <translation>Paramètres de Tallyglow</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Daily pay</source>
        <translation>Salaire journalier</translation>
    </message>
    <message>
        <source>Day starts at</source>
        <translation>Début de la journée</translation>
    </message>
    <message>
        <source>Day ends at</source>
        <translation>Fin de la journée</translation>
    </message>
    <message>
        <source>Currency</source>
        <extracomment>Shown in the narrow currency symbol field while it is empty; keep it short.</extracomment>
        <translation>Devise</translation>
    </message>
    <message>
        <source>0</source>
        <extracomment>Shown in the empty pay field: zero, written as the language writes it.</extracomment>
        <translation>0</translation>
    </message>
    <message>
        <source>Enter a daily pay from 0 to %1</source>
        <translation>Saisissez un salaire journalier de 0 à %1</translation>
    </message>
    <message>
        <source>Mask automatically while screen sharing</source>
        <extracomment>&quot;Mask&quot; as in the panel item&apos;s menu: the figure shows as dots ($•••.••).</extracomment>
        <translation>Masquer automatiquement pendant le partage d’écran</translation>
    </message>
    <message>
        <source>Middle-click or Shift-click the panel item, or choose “Mask” in its menu, to toggle masking at any time.</source>
        <extracomment>“Mask” is the menu item of that name, in this language&apos;s quotation marks.</extracomment>
        <translation>Clic du milieu ou Maj+clic sur l’icône du panneau, ou «&#xa0;Masquer&#xa0;» dans son menu, pour masquer ou afficher à tout moment.</translation>
    </message>
    <message>
        <source>Middle-click the panel item, or choose “Mask” in its menu, to toggle masking at any time.</source>
        <extracomment>Where held keys cannot be seen (Wayland); “Mask” as above.</extracomment>
        <translation>Clic du milieu sur l’icône du panneau, ou «&#xa0;Masquer&#xa0;» dans son menu, pour masquer ou afficher à tout moment.</translation>
    </message>
    <message>
        <source>:</source>
        <extracomment>Between the hour and the minute of a time of day.</extracomment>
        <translation>:</translation>
    </message>
    <message>
        <source>Screen casts cannot be detected: PipeWire is not installed</source>
        <translation>Impossible de détecter les partages d’écran&#xa0;: PipeWire n’est pas installé</translation>
    </message>
    <message>
        <source>Screen casts cannot be detected: PipeWire is not running</source>
        <translation>Impossible de détecter les partages d’écran&#xa0;: PipeWire n’est pas lancé</translation>
    </message>
</context>
</TS>
