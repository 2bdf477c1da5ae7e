<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Mask</source>
        <extracomment>Menu item with a check mark: hides the figure in the panel (a verb).</extracomment>
        <translation>Nascondi</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Impostazioni…</translation>
    </message>
    <message>
        <source>Quit Tallyglow</source>
        <translation>Esci da Tallyglow</translation>
    </message>
    <message>
        <source>Tallyglow Settings</source>
        <translation>Impostazioni di Tallyglow</translation>
    </message>
</context>
<context>
    <name>PanelNotice</name>
    <message>
        <source>Install the AppIndicator extension (the gnome-shell-extension-appindicator package on Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>Installa l’estensione AppIndicator (il pacchetto gnome-shell-extension-appindicator su Debian e Fedora), accedi di nuovo e attivala in Estensioni.</translation>
    </message>
    <message>
        <source>install and switch on the AppIndicator extension</source>
        <translation>installa e attiva l’estensione AppIndicator</translation>
    </message>
    <message>
        <source>The AppIndicator extension is installed but off: switch it on in Extensions, or choose Enable.</source>
        <translation>L’estensione AppIndicator è installata ma disattivata: attivala in Estensioni, oppure scegli Attiva.</translation>
    </message>
    <message>
        <source>switch on the AppIndicator extension</source>
        <translation>attiva l’estensione AppIndicator</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Attiva</translation>
    </message>
    <message>
        <source>The AppIndicator extension is on but not running: update it, or switch it off and on again in Extensions.</source>
        <translation>L’estensione AppIndicator è attiva ma non funziona: aggiornala, oppure disattivala e riattivala in Estensioni.</translation>
    </message>
    <message>
        <source>the AppIndicator extension is not running</source>
        <translation>l’estensione AppIndicator non funziona</translation>
    </message>
    <message>
        <source>Add the StatusNotifier applet to the panel in Budgie Desktop Settings (the budgie-sntray-plugin package).</source>
        <translation>Aggiungi l’applet StatusNotifier al pannello nelle impostazioni del desktop Budgie (il pacchetto budgie-sntray-plugin).</translation>
    </message>
    <message>
        <source>add the StatusNotifier applet to the panel</source>
        <translation>aggiungi l’applet StatusNotifier al pannello</translation>
    </message>
    <message>
        <source>Add a system tray (notification area) to the panel, or use a panel that has one.</source>
        <translation>Aggiungi un’area di notifica al pannello, oppure usa un pannello che ne abbia una.</translation>
    </message>
    <message>
        <source>add a system tray to the panel</source>
        <translation>aggiungi un’area di notifica al pannello</translation>
    </message>
    <message>
        <source>No panel shows Tallyglow: %1</source>
        <translation>Nessun pannello mostra Tallyglow: %1</translation>
    </message>
    <message>
        <source>Tallyglow is running, but not in the panel</source>
        <translation>Tallyglow è in esecuzione, ma non nel pannello</translation>
    </message>
    <message>
        <source>This desktop&apos;s panel shows no status items. %1</source>
        <translation>Il pannello di questo desktop non mostra icone di stato. %1</translation>
    </message>
    <message>
        <source>Choose Install and GNOME fetches the AppIndicator extension and switches it on; or install the gnome-shell-extension-appindicator package (Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>Scegli Installa e GNOME scarica l’estensione AppIndicator e la attiva; oppure installa il pacchetto gnome-shell-extension-appindicator (Debian e Fedora), accedi di nuovo e attivala in Estensioni.</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Installa</translation>
    </message>
    <message>
        <source>The AppIndicator extension was not installed</source>
        <translation>L’estensione AppIndicator non è stata installata</translation>
    </message>
    <message>
        <source>GNOME Shell could not install it (%1). Install the gnome-shell-extension-appindicator package instead (Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>GNOME Shell non è riuscito a installarla (%1). Installa invece il pacchetto gnome-shell-extension-appindicator (Debian e Fedora), accedi di nuovo e attivala in Estensioni.</translation>
    </message>
</context>
<context>
    <name>PanelWidgetRow</name>
    <message>
        <source>Show the figure in the panel</source>
        <extracomment>A button on Plasma: adds Tallyglow&apos;s widget, which shows the figure as text, to the panel.</extracomment>
        <translation>Mostra la cifra nel pannello</translation>
    </message>
    <message>
        <source>Tallyglow&apos;s widget shows the figure in the panel.</source>
        <translation>Il widget di Tallyglow mostra la cifra nel pannello.</translation>
    </message>
    <message>
        <source>Widgets are locked: unlock them, then try again.</source>
        <extracomment>Plasma&apos;s widgets are locked (its &quot;Lock Widgets&quot;); unlocking lets the panel take one.</extracomment>
        <translation>I widget sono bloccati: sbloccali, poi riprova.</translation>
    </message>
    <message>
        <source>Plasma&apos;s panel is not running.</source>
        <translation>Il pannello di Plasma non è in esecuzione.</translation>
    </message>
    <message>
        <source>The panel did not take the widget: %1</source>
        <extracomment>%1 is Plasma&apos;s own reason, as it gave it.</extracomment>
        <translation>Il pannello non ha accettato il widget: %1</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Daily pay</source>
        <translation>Paga giornaliera</translation>
    </message>
    <message>
        <source>Day starts at</source>
        <translation>Inizio giornata</translation>
    </message>
    <message>
        <source>Day ends at</source>
        <translation>Fine giornata</translation>
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
        <translation>Inserisci una paga giornaliera da 0 a %1</translation>
    </message>
    <message>
        <source>Mask automatically while screen sharing</source>
        <extracomment>&quot;Mask&quot; as in the panel item&apos;s menu: the figure shows as dots ($•••.••).</extracomment>
        <translation>Nascondi automaticamente durante la condivisione dello schermo</translation>
    </message>
    <message>
        <source>Middle-click or Shift-click the panel item, or choose “Mask” in its menu, to toggle masking at any time.</source>
        <extracomment>“Mask” is the menu item of that name, in this language&apos;s quotation marks.</extracomment>
        <translation>Clic centrale o Maiusc+clic sull’icona nel pannello, oppure «Nascondi» nel suo menu, per nascondere o mostrare in qualsiasi momento.</translation>
    </message>
    <message>
        <source>Middle-click the panel item, or choose “Mask” in its menu, to toggle masking at any time.</source>
        <extracomment>Where held keys cannot be seen (Wayland); “Mask” as above.</extracomment>
        <translation>Clic centrale sull’icona nel pannello, oppure «Nascondi» nel suo menu, per nascondere o mostrare in qualsiasi momento.</translation>
    </message>
    <message>
        <source>:</source>
        <extracomment>Between the hour and the minute of a time of day.</extracomment>
        <translation>:</translation>
    </message>
    <message>
        <source>Screen casts cannot be detected: PipeWire is not installed</source>
        <translation>Impossibile rilevare la condivisione dello schermo: PipeWire non è installato</translation>
    </message>
    <message>
        <source>Screen casts cannot be detected: PipeWire is not running</source>
        <translation>Impossibile rilevare la condivisione dello schermo: PipeWire non è in esecuzione</translation>
    </message>
    <message>
        <source>Work days</source>
        <translation>Giorni lavorativi</translation>
    </message>
    <message>
        <source>Ends the next day</source>
        <extracomment>Under the end of the working day when it is at or before its start: a night shift.</extracomment>
        <translation>Finisce il giorno dopo</translation>
    </message>
    <message>
        <source>Unpaid break</source>
        <translation>Pausa non pagata</translation>
    </message>
    <message>
        <source>per day</source>
        <extracomment>What the pay typed beside it is for: one working day ...</extracomment>
        <translation>al giorno</translation>
    </message>
    <message>
        <source>per hour</source>
        <extracomment>... or one hour of paid time.</extracomment>
        <translation>all&apos;ora</translation>
    </message>
    <message>
        <source>Hourly pay</source>
        <translation>Paga oraria</translation>
    </message>
    <message>
        <source>Enter an hourly pay from 0 to %1</source>
        <translation>Inserisci una paga oraria da 0 a %1</translation>
    </message>
    <message>
        <source>none</source>
        <extracomment>The length of the unpaid break: no break at all.</extracomment>
        <translation>nessuna</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom only: PipeWire is not installed</source>
        <translation>La condivisione dello schermo è rilevata solo per browser e Zoom: PipeWire non è installato</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom only: PipeWire is not running</source>
        <translation>La condivisione dello schermo è rilevata solo per browser e Zoom: PipeWire non è in esecuzione</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom, and for PipeWire casts</source>
        <translation>La condivisione dello schermo è rilevata per browser e Zoom, e per le trasmissioni PipeWire</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, not for PipeWire casts: PipeWire is not installed</source>
        <translation>La condivisione dello schermo è rilevata per browser, Zoom e programmi che leggono lo schermo, non per le trasmissioni PipeWire: PipeWire non è installato</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, not for PipeWire casts: PipeWire is not running</source>
        <translation>La condivisione dello schermo è rilevata per browser, Zoom e programmi che leggono lo schermo, non per le trasmissioni PipeWire: PipeWire non è in esecuzione</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, and for PipeWire casts</source>
        <translation>La condivisione dello schermo è rilevata per browser, Zoom e programmi che leggono lo schermo, e per le trasmissioni PipeWire</translation>
    </message>
</context>
</TS>
