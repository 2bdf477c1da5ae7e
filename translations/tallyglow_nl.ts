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
    <name>PanelNotice</name>
    <message>
        <source>Install the AppIndicator extension (the gnome-shell-extension-appindicator package on Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>Installeer de AppIndicator-extensie (het pakket gnome-shell-extension-appindicator op Debian en Fedora), meld u opnieuw aan en schakel haar in bij Extensies.</translation>
    </message>
    <message>
        <source>install and switch on the AppIndicator extension</source>
        <translation>de AppIndicator-extensie installeren en inschakelen</translation>
    </message>
    <message>
        <source>The AppIndicator extension is installed but off: switch it on in Extensions, or choose Enable.</source>
        <translation>De AppIndicator-extensie is geïnstalleerd maar uitgeschakeld: schakel haar in bij Extensies, of kies Inschakelen.</translation>
    </message>
    <message>
        <source>switch on the AppIndicator extension</source>
        <translation>de AppIndicator-extensie inschakelen</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Inschakelen</translation>
    </message>
    <message>
        <source>The AppIndicator extension is on but not running: update it, or switch it off and on again in Extensions.</source>
        <translation>De AppIndicator-extensie is ingeschakeld maar werkt niet: werk haar bij, of schakel haar uit en weer in bij Extensies.</translation>
    </message>
    <message>
        <source>the AppIndicator extension is not running</source>
        <translation>de AppIndicator-extensie werkt niet</translation>
    </message>
    <message>
        <source>Add the StatusNotifier applet to the panel in Budgie Desktop Settings (the budgie-sntray-plugin package).</source>
        <translation>Voeg de applet StatusNotifier aan het paneel toe in de Budgie-bureaubladinstellingen (het pakket budgie-sntray-plugin).</translation>
    </message>
    <message>
        <source>add the StatusNotifier applet to the panel</source>
        <translation>de applet StatusNotifier aan het paneel toevoegen</translation>
    </message>
    <message>
        <source>Add a system tray (notification area) to the panel, or use a panel that has one.</source>
        <translation>Voeg een systeemvak (meldingsgebied) aan het paneel toe, of gebruik een paneel dat er een heeft.</translation>
    </message>
    <message>
        <source>add a system tray to the panel</source>
        <translation>een systeemvak aan het paneel toevoegen</translation>
    </message>
    <message>
        <source>No panel shows Tallyglow: %1</source>
        <translation>Geen paneel toont Tallyglow: %1</translation>
    </message>
    <message>
        <source>Tallyglow is running, but not in the panel</source>
        <translation>Tallyglow draait, maar niet in het paneel</translation>
    </message>
    <message>
        <source>This desktop&apos;s panel shows no status items. %1</source>
        <translation>Het paneel van dit bureaublad toont geen statuspictogrammen. %1</translation>
    </message>
    <message>
        <source>Choose Install and GNOME fetches the AppIndicator extension and switches it on; or install the gnome-shell-extension-appindicator package (Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>Kies Installeren en GNOME haalt de AppIndicator-extensie op en schakelt haar in; of installeer het pakket gnome-shell-extension-appindicator (Debian en Fedora), meld u opnieuw aan en schakel haar in bij Extensies.</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Installeren</translation>
    </message>
    <message>
        <source>The AppIndicator extension was not installed</source>
        <translation>De AppIndicator-extensie is niet geïnstalleerd</translation>
    </message>
    <message>
        <source>GNOME Shell could not install it (%1). Install the gnome-shell-extension-appindicator package instead (Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>GNOME Shell kon haar niet installeren (%1). Installeer in plaats daarvan het pakket gnome-shell-extension-appindicator (Debian en Fedora), meld u opnieuw aan en schakel haar in bij Extensies.</translation>
    </message>
</context>
<context>
    <name>PanelWidgetRow</name>
    <message>
        <source>Show the figure in the panel</source>
        <extracomment>A button on Plasma: adds Tallyglow&apos;s widget, which shows the figure as text, to the panel.</extracomment>
        <translation>Bedrag in het paneel tonen</translation>
    </message>
    <message>
        <source>Tallyglow&apos;s widget shows the figure in the panel.</source>
        <translation>De widget van Tallyglow toont het bedrag in het paneel.</translation>
    </message>
    <message>
        <source>Widgets are locked: unlock them, then try again.</source>
        <extracomment>Plasma&apos;s widgets are locked (its &quot;Lock Widgets&quot;); unlocking lets the panel take one.</extracomment>
        <translation>Widgets zijn vergrendeld: ontgrendel ze en probeer het opnieuw.</translation>
    </message>
    <message>
        <source>Plasma&apos;s panel is not running.</source>
        <translation>Het paneel van Plasma draait niet.</translation>
    </message>
    <message>
        <source>The panel did not take the widget: %1</source>
        <extracomment>%1 is Plasma&apos;s own reason, as it gave it.</extracomment>
        <translation>Het paneel heeft de widget niet opgenomen: %1</translation>
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
    <message>
        <source>Work days</source>
        <translation>Werkdagen</translation>
    </message>
    <message>
        <source>Ends the next day</source>
        <extracomment>Under the end of the working day when it is at or before its start: a night shift.</extracomment>
        <translation>Eindigt de volgende dag</translation>
    </message>
    <message>
        <source>Unpaid break</source>
        <translation>Onbetaalde pauze</translation>
    </message>
    <message>
        <source>per day</source>
        <extracomment>What the pay typed beside it is for: one working day ...</extracomment>
        <translation>per dag</translation>
    </message>
    <message>
        <source>per hour</source>
        <extracomment>... or one hour of paid time.</extracomment>
        <translation>per uur</translation>
    </message>
    <message>
        <source>Hourly pay</source>
        <translation>Uurloon</translation>
    </message>
    <message>
        <source>Enter an hourly pay from 0 to %1</source>
        <translation>Voer een uurloon van 0 tot %1 in</translation>
    </message>
    <message>
        <source>none</source>
        <extracomment>The length of the unpaid break: no break at all.</extracomment>
        <translation>geen</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom only: PipeWire is not installed</source>
        <translation>Scherm delen wordt alleen gedetecteerd voor browsers en Zoom: PipeWire is niet geïnstalleerd</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom only: PipeWire is not running</source>
        <translation>Scherm delen wordt alleen gedetecteerd voor browsers en Zoom: PipeWire draait niet</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom, and for PipeWire casts</source>
        <translation>Scherm delen wordt gedetecteerd voor browsers en Zoom, en voor PipeWire-uitzendingen</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, not for PipeWire casts: PipeWire is not installed</source>
        <translation>Scherm delen wordt gedetecteerd voor browsers, Zoom en programma’s die het scherm lezen, niet voor PipeWire-uitzendingen: PipeWire is niet geïnstalleerd</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, not for PipeWire casts: PipeWire is not running</source>
        <translation>Scherm delen wordt gedetecteerd voor browsers, Zoom en programma’s die het scherm lezen, niet voor PipeWire-uitzendingen: PipeWire draait niet</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, and for PipeWire casts</source>
        <translation>Scherm delen wordt gedetecteerd voor browsers, Zoom en programma’s die het scherm lezen, en voor PipeWire-uitzendingen</translation>
    </message>
</context>
</TS>
