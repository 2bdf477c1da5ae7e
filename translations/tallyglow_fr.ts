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
    <name>PanelNotice</name>
    <message>
        <source>Install the AppIndicator extension (the gnome-shell-extension-appindicator package on Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>Installez l’extension AppIndicator (le paquet gnome-shell-extension-appindicator sur Debian et Fedora), reconnectez-vous et activez-la dans Extensions.</translation>
    </message>
    <message>
        <source>install and switch on the AppIndicator extension</source>
        <translation>installer et activer l’extension AppIndicator</translation>
    </message>
    <message>
        <source>The AppIndicator extension is installed but off: switch it on in Extensions, or choose Enable.</source>
        <translation>L’extension AppIndicator est installée mais désactivée : activez-la dans Extensions, ou choisissez Activer.</translation>
    </message>
    <message>
        <source>switch on the AppIndicator extension</source>
        <translation>activer l’extension AppIndicator</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Activer</translation>
    </message>
    <message>
        <source>The AppIndicator extension is on but not running: update it, or switch it off and on again in Extensions.</source>
        <translation>L’extension AppIndicator est activée mais ne fonctionne pas : mettez-la à jour, ou désactivez-la puis réactivez-la dans Extensions.</translation>
    </message>
    <message>
        <source>the AppIndicator extension is not running</source>
        <translation>l’extension AppIndicator ne fonctionne pas</translation>
    </message>
    <message>
        <source>Add the StatusNotifier applet to the panel in Budgie Desktop Settings (the budgie-sntray-plugin package).</source>
        <translation>Ajoutez l’applet StatusNotifier au tableau de bord dans les paramètres du bureau Budgie (le paquet budgie-sntray-plugin).</translation>
    </message>
    <message>
        <source>add the StatusNotifier applet to the panel</source>
        <translation>ajouter l’applet StatusNotifier au tableau de bord</translation>
    </message>
    <message>
        <source>Add a system tray (notification area) to the panel, or use a panel that has one.</source>
        <translation>Ajoutez une zone de notification au tableau de bord, ou utilisez un tableau de bord qui en a une.</translation>
    </message>
    <message>
        <source>add a system tray to the panel</source>
        <translation>ajouter une zone de notification au tableau de bord</translation>
    </message>
    <message>
        <source>No panel shows Tallyglow: %1</source>
        <translation>Aucun tableau de bord n’affiche Tallyglow : %1</translation>
    </message>
    <message>
        <source>Tallyglow is running, but not in the panel</source>
        <translation>Tallyglow fonctionne, mais pas dans le tableau de bord</translation>
    </message>
    <message>
        <source>This desktop&apos;s panel shows no status items. %1</source>
        <translation>Le tableau de bord de ce bureau n’affiche aucune icône d’état. %1</translation>
    </message>
    <message>
        <source>Choose Install and GNOME fetches the AppIndicator extension and switches it on; or install the gnome-shell-extension-appindicator package (Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>Choisissez Installer et GNOME télécharge l’extension AppIndicator et l’active ; ou installez le paquet gnome-shell-extension-appindicator (Debian et Fedora), reconnectez-vous et activez-la dans Extensions.</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Installer</translation>
    </message>
    <message>
        <source>The AppIndicator extension was not installed</source>
        <translation>L’extension AppIndicator n’a pas été installée</translation>
    </message>
    <message>
        <source>GNOME Shell could not install it (%1). Install the gnome-shell-extension-appindicator package instead (Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>GNOME Shell n’a pas pu l’installer (%1). Installez plutôt le paquet gnome-shell-extension-appindicator (Debian et Fedora), reconnectez-vous et activez-la dans Extensions.</translation>
    </message>
</context>
<context>
    <name>PanelWidgetRow</name>
    <message>
        <source>Show the figure in the panel</source>
        <extracomment>A button on Plasma: adds Tallyglow&apos;s widget, which shows the figure as text, to the panel.</extracomment>
        <translation>Afficher le montant dans le panneau</translation>
    </message>
    <message>
        <source>Tallyglow&apos;s widget shows the figure in the panel.</source>
        <translation>Le widget de Tallyglow affiche le montant dans le panneau.</translation>
    </message>
    <message>
        <source>Widgets are locked: unlock them, then try again.</source>
        <extracomment>Plasma&apos;s widgets are locked (its &quot;Lock Widgets&quot;); unlocking lets the panel take one.</extracomment>
        <translation>Les widgets sont verrouillés : déverrouillez-les, puis réessayez.</translation>
    </message>
    <message>
        <source>Plasma&apos;s panel is not running.</source>
        <translation>Le panneau de Plasma n’est pas lancé.</translation>
    </message>
    <message>
        <source>The panel did not take the widget: %1</source>
        <extracomment>%1 is Plasma&apos;s own reason, as it gave it.</extracomment>
        <translation>Le panneau n’a pas accepté le widget : %1</translation>
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
    <message>
        <source>Work days</source>
        <translation>Jours travaillés</translation>
    </message>
    <message>
        <source>Ends the next day</source>
        <extracomment>Under the end of the working day when it is at or before its start: a night shift.</extracomment>
        <translation>Se termine le lendemain</translation>
    </message>
    <message>
        <source>Unpaid break</source>
        <translation>Pause non payée</translation>
    </message>
    <message>
        <source>per day</source>
        <extracomment>What the pay typed beside it is for: one working day ...</extracomment>
        <translation>par jour</translation>
    </message>
    <message>
        <source>per hour</source>
        <extracomment>... or one hour of paid time.</extracomment>
        <translation>par heure</translation>
    </message>
    <message>
        <source>Hourly pay</source>
        <translation>Salaire horaire</translation>
    </message>
    <message>
        <source>Enter an hourly pay from 0 to %1</source>
        <translation>Saisissez un salaire horaire de 0 à %1</translation>
    </message>
    <message>
        <source>none</source>
        <extracomment>The length of the unpaid break: no break at all.</extracomment>
        <translation>aucune</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom only: PipeWire is not installed</source>
        <translation>Les partages d’écran ne sont détectés que pour les navigateurs et Zoom&#xa0;: PipeWire n’est pas installé</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom only: PipeWire is not running</source>
        <translation>Les partages d’écran ne sont détectés que pour les navigateurs et Zoom&#xa0;: PipeWire n’est pas lancé</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom, and for PipeWire casts</source>
        <translation>Les partages d’écran sont détectés pour les navigateurs et Zoom, et pour les diffusions PipeWire</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, not for PipeWire casts: PipeWire is not installed</source>
        <translation>Les partages d’écran sont détectés pour les navigateurs, Zoom et les programmes qui lisent l’écran, pas pour les diffusions PipeWire&#xa0;: PipeWire n’est pas installé</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, not for PipeWire casts: PipeWire is not running</source>
        <translation>Les partages d’écran sont détectés pour les navigateurs, Zoom et les programmes qui lisent l’écran, pas pour les diffusions PipeWire&#xa0;: PipeWire n’est pas lancé</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, and for PipeWire casts</source>
        <translation>Les partages d’écran sont détectés pour les navigateurs, Zoom et les programmes qui lisent l’écran, et pour les diffusions PipeWire</translation>
    </message>
</context>
</TS>
