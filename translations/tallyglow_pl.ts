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
    <name>PanelNotice</name>
    <message>
        <source>Install the AppIndicator extension (the gnome-shell-extension-appindicator package on Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>Zainstaluj rozszerzenie AppIndicator (pakiet gnome-shell-extension-appindicator w Debianie i Fedorze), zaloguj się ponownie i włącz je w Rozszerzeniach.</translation>
    </message>
    <message>
        <source>install and switch on the AppIndicator extension</source>
        <translation>zainstaluj i włącz rozszerzenie AppIndicator</translation>
    </message>
    <message>
        <source>The AppIndicator extension is installed but off: switch it on in Extensions, or choose Enable.</source>
        <translation>Rozszerzenie AppIndicator jest zainstalowane, ale wyłączone: włącz je w Rozszerzeniach lub wybierz Włącz.</translation>
    </message>
    <message>
        <source>switch on the AppIndicator extension</source>
        <translation>włącz rozszerzenie AppIndicator</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Włącz</translation>
    </message>
    <message>
        <source>The AppIndicator extension is on but not running: update it, or switch it off and on again in Extensions.</source>
        <translation>Rozszerzenie AppIndicator jest włączone, ale nie działa: zaktualizuj je albo wyłącz i włącz ponownie w Rozszerzeniach.</translation>
    </message>
    <message>
        <source>the AppIndicator extension is not running</source>
        <translation>rozszerzenie AppIndicator nie działa</translation>
    </message>
    <message>
        <source>Add the StatusNotifier applet to the panel in Budgie Desktop Settings (the budgie-sntray-plugin package).</source>
        <translation>Dodaj aplet StatusNotifier do panelu w ustawieniach pulpitu Budgie (pakiet budgie-sntray-plugin).</translation>
    </message>
    <message>
        <source>add the StatusNotifier applet to the panel</source>
        <translation>dodaj aplet StatusNotifier do panelu</translation>
    </message>
    <message>
        <source>Add a system tray (notification area) to the panel, or use a panel that has one.</source>
        <translation>Dodaj do panelu zasobnik systemowy (obszar powiadomień) lub użyj panelu, który go ma.</translation>
    </message>
    <message>
        <source>add a system tray to the panel</source>
        <translation>dodaj zasobnik systemowy do panelu</translation>
    </message>
    <message>
        <source>No panel shows Tallyglow: %1</source>
        <translation>Żaden panel nie pokazuje Tallyglow: %1</translation>
    </message>
    <message>
        <source>Tallyglow is running, but not in the panel</source>
        <translation>Tallyglow działa, ale nie w panelu</translation>
    </message>
    <message>
        <source>This desktop&apos;s panel shows no status items. %1</source>
        <translation>Panel tego pulpitu nie pokazuje ikon stanu. %1</translation>
    </message>
    <message>
        <source>Choose Install and GNOME fetches the AppIndicator extension and switches it on; or install the gnome-shell-extension-appindicator package (Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>Wybierz Zainstaluj, a GNOME pobierze rozszerzenie AppIndicator i je włączy; albo zainstaluj pakiet gnome-shell-extension-appindicator (Debian i Fedora), zaloguj się ponownie i włącz je w Rozszerzeniach.</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Zainstaluj</translation>
    </message>
    <message>
        <source>The AppIndicator extension was not installed</source>
        <translation>Rozszerzenie AppIndicator nie zostało zainstalowane</translation>
    </message>
    <message>
        <source>GNOME Shell could not install it (%1). Install the gnome-shell-extension-appindicator package instead (Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>GNOME Shell nie mógł go zainstalować (%1). Zainstaluj zamiast tego pakiet gnome-shell-extension-appindicator (Debian i Fedora), zaloguj się ponownie i włącz je w Rozszerzeniach.</translation>
    </message>
</context>
<context>
    <name>PanelWidgetRow</name>
    <message>
        <source>Show the figure in the panel</source>
        <extracomment>A button on Plasma: adds Tallyglow&apos;s widget, which shows the figure as text, to the panel.</extracomment>
        <translation>Pokaż kwotę na panelu</translation>
    </message>
    <message>
        <source>Tallyglow&apos;s widget shows the figure in the panel.</source>
        <translation>Widżet Tallyglow pokazuje kwotę na panelu.</translation>
    </message>
    <message>
        <source>Widgets are locked: unlock them, then try again.</source>
        <extracomment>Plasma&apos;s widgets are locked (its &quot;Lock Widgets&quot;); unlocking lets the panel take one.</extracomment>
        <translation>Widżety są zablokowane: odblokuj je i spróbuj ponownie.</translation>
    </message>
    <message>
        <source>Plasma&apos;s panel is not running.</source>
        <translation>Panel Plasmy nie działa.</translation>
    </message>
    <message>
        <source>The panel did not take the widget: %1</source>
        <extracomment>%1 is Plasma&apos;s own reason, as it gave it.</extracomment>
        <translation>Panel nie przyjął widżetu: %1</translation>
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
    <message>
        <source>Work days</source>
        <translation>Dni robocze</translation>
    </message>
    <message>
        <source>Ends the next day</source>
        <extracomment>Under the end of the working day when it is at or before its start: a night shift.</extracomment>
        <translation>Kończy się następnego dnia</translation>
    </message>
    <message>
        <source>Unpaid break</source>
        <translation>Niepłatna przerwa</translation>
    </message>
    <message>
        <source>per day</source>
        <extracomment>What the pay typed beside it is for: one working day ...</extracomment>
        <translation>za dzień</translation>
    </message>
    <message>
        <source>per hour</source>
        <extracomment>... or one hour of paid time.</extracomment>
        <translation>za godzinę</translation>
    </message>
    <message>
        <source>Hourly pay</source>
        <translation>Stawka godzinowa</translation>
    </message>
    <message>
        <source>Enter an hourly pay from 0 to %1</source>
        <translation>Podaj stawkę godzinową od 0 do %1</translation>
    </message>
    <message>
        <source>none</source>
        <extracomment>The length of the unpaid break: no break at all.</extracomment>
        <translation>brak</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom only: PipeWire is not installed</source>
        <translation>Udostępnianie ekranu jest wykrywane tylko dla przeglądarek i Zooma: PipeWire nie jest zainstalowany</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom only: PipeWire is not running</source>
        <translation>Udostępnianie ekranu jest wykrywane tylko dla przeglądarek i Zooma: PipeWire nie jest uruchomiony</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom, and for PipeWire casts</source>
        <translation>Udostępnianie ekranu jest wykrywane dla przeglądarek i Zooma oraz dla transmisji PipeWire</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, not for PipeWire casts: PipeWire is not installed</source>
        <translation>Udostępnianie ekranu jest wykrywane dla przeglądarek, Zooma i programów odczytujących ekran, ale nie dla transmisji PipeWire: PipeWire nie jest zainstalowany</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, not for PipeWire casts: PipeWire is not running</source>
        <translation>Udostępnianie ekranu jest wykrywane dla przeglądarek, Zooma i programów odczytujących ekran, ale nie dla transmisji PipeWire: PipeWire nie jest uruchomiony</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, and for PipeWire casts</source>
        <translation>Udostępnianie ekranu jest wykrywane dla przeglądarek, Zooma i programów odczytujących ekran oraz dla transmisji PipeWire</translation>
    </message>
</context>
</TS>
