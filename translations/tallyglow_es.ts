<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Mask</source>
        <extracomment>Menu item with a check mark: hides the figure in the panel (a verb).</extracomment>
        <translation>Ocultar</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Configuración…</translation>
    </message>
    <message>
        <source>Quit Tallyglow</source>
        <translation>Salir de Tallyglow</translation>
    </message>
    <message>
        <source>Tallyglow Settings</source>
        <translation>Configuración de Tallyglow</translation>
    </message>
</context>
<context>
    <name>PanelNotice</name>
    <message>
        <source>Install the AppIndicator extension (the gnome-shell-extension-appindicator package on Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>Instale la extensión AppIndicator (el paquete gnome-shell-extension-appindicator en Debian y Fedora), vuelva a iniciar sesión y actívela en Extensiones.</translation>
    </message>
    <message>
        <source>install and switch on the AppIndicator extension</source>
        <translation>instalar y activar la extensión AppIndicator</translation>
    </message>
    <message>
        <source>The AppIndicator extension is installed but off: switch it on in Extensions, or choose Enable.</source>
        <translation>La extensión AppIndicator está instalada pero desactivada: actívela en Extensiones o elija Activar.</translation>
    </message>
    <message>
        <source>switch on the AppIndicator extension</source>
        <translation>activar la extensión AppIndicator</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Activar</translation>
    </message>
    <message>
        <source>The AppIndicator extension is on but not running: update it, or switch it off and on again in Extensions.</source>
        <translation>La extensión AppIndicator está activada pero no funciona: actualícela, o desactívela y vuelva a activarla en Extensiones.</translation>
    </message>
    <message>
        <source>the AppIndicator extension is not running</source>
        <translation>la extensión AppIndicator no funciona</translation>
    </message>
    <message>
        <source>Add the StatusNotifier applet to the panel in Budgie Desktop Settings (the budgie-sntray-plugin package).</source>
        <translation>Añada el applet StatusNotifier al panel en la configuración del escritorio Budgie (el paquete budgie-sntray-plugin).</translation>
    </message>
    <message>
        <source>add the StatusNotifier applet to the panel</source>
        <translation>añadir el applet StatusNotifier al panel</translation>
    </message>
    <message>
        <source>Add a system tray (notification area) to the panel, or use a panel that has one.</source>
        <translation>Añada una bandeja del sistema (área de notificación) al panel, o use un panel que tenga una.</translation>
    </message>
    <message>
        <source>add a system tray to the panel</source>
        <translation>añadir una bandeja del sistema al panel</translation>
    </message>
    <message>
        <source>No panel shows Tallyglow: %1</source>
        <translation>Ningún panel muestra Tallyglow: %1</translation>
    </message>
    <message>
        <source>Tallyglow is running, but not in the panel</source>
        <translation>Tallyglow se está ejecutando, pero no en el panel</translation>
    </message>
    <message>
        <source>This desktop&apos;s panel shows no status items. %1</source>
        <translation>El panel de este escritorio no muestra iconos de estado. %1</translation>
    </message>
    <message>
        <source>Choose Install and GNOME fetches the AppIndicator extension and switches it on; or install the gnome-shell-extension-appindicator package (Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>Elija Instalar y GNOME descargará la extensión AppIndicator y la activará; o instale el paquete gnome-shell-extension-appindicator (Debian y Fedora), vuelva a iniciar sesión y actívela en Extensiones.</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Instalar</translation>
    </message>
    <message>
        <source>The AppIndicator extension was not installed</source>
        <translation>La extensión AppIndicator no se ha instalado</translation>
    </message>
    <message>
        <source>GNOME Shell could not install it (%1). Install the gnome-shell-extension-appindicator package instead (Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>GNOME Shell no pudo instalarla (%1). Instale en su lugar el paquete gnome-shell-extension-appindicator (Debian y Fedora), vuelva a iniciar sesión y actívela en Extensiones.</translation>
    </message>
</context>
<context>
    <name>PanelWidgetRow</name>
    <message>
        <source>Show the figure in the panel</source>
        <extracomment>A button on Plasma: adds Tallyglow&apos;s widget, which shows the figure as text, to the panel.</extracomment>
        <translation>Mostrar la cifra en el panel</translation>
    </message>
    <message>
        <source>Tallyglow&apos;s widget shows the figure in the panel.</source>
        <translation>El widget de Tallyglow muestra la cifra en el panel.</translation>
    </message>
    <message>
        <source>Widgets are locked: unlock them, then try again.</source>
        <extracomment>Plasma&apos;s widgets are locked (its &quot;Lock Widgets&quot;); unlocking lets the panel take one.</extracomment>
        <translation>Los widgets están bloqueados: desbloquéelos y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>Plasma&apos;s panel is not running.</source>
        <translation>El panel de Plasma no se está ejecutando.</translation>
    </message>
    <message>
        <source>The panel did not take the widget: %1</source>
        <extracomment>%1 is Plasma&apos;s own reason, as it gave it.</extracomment>
        <translation>El panel no aceptó el widget: %1</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Daily pay</source>
        <translation>Salario diario</translation>
    </message>
    <message>
        <source>Day starts at</source>
        <translation>Inicio de la jornada</translation>
    </message>
    <message>
        <source>Day ends at</source>
        <translation>Fin de la jornada</translation>
    </message>
    <message>
        <source>Currency</source>
        <extracomment>Shown in the narrow currency symbol field while it is empty; keep it short.</extracomment>
        <translation>Moneda</translation>
    </message>
    <message>
        <source>0</source>
        <extracomment>Shown in the empty pay field: zero, written as the language writes it.</extracomment>
        <translation>0</translation>
    </message>
    <message>
        <source>Enter a daily pay from 0 to %1</source>
        <translation>Introduzca un salario diario de 0 a %1</translation>
    </message>
    <message>
        <source>Mask automatically while screen sharing</source>
        <extracomment>&quot;Mask&quot; as in the panel item&apos;s menu: the figure shows as dots ($•••.••).</extracomment>
        <translation>Ocultar automáticamente al compartir la pantalla</translation>
    </message>
    <message>
        <source>Middle-click or Shift-click the panel item, or choose “Mask” in its menu, to toggle masking at any time.</source>
        <extracomment>“Mask” is the menu item of that name, in this language&apos;s quotation marks.</extracomment>
        <translation>Clic central o Mayús+clic en el icono del panel, o «Ocultar» en su menú, para ocultar o mostrar en cualquier momento.</translation>
    </message>
    <message>
        <source>Middle-click the panel item, or choose “Mask” in its menu, to toggle masking at any time.</source>
        <extracomment>Where held keys cannot be seen (Wayland); “Mask” as above.</extracomment>
        <translation>Clic central en el icono del panel, o «Ocultar» en su menú, para ocultar o mostrar en cualquier momento.</translation>
    </message>
    <message>
        <source>:</source>
        <extracomment>Between the hour and the minute of a time of day.</extracomment>
        <translation>:</translation>
    </message>
    <message>
        <source>Screen casts cannot be detected: PipeWire is not installed</source>
        <translation>No se puede detectar la pantalla compartida: PipeWire no está instalado</translation>
    </message>
    <message>
        <source>Screen casts cannot be detected: PipeWire is not running</source>
        <translation>No se puede detectar la pantalla compartida: PipeWire no se está ejecutando</translation>
    </message>
    <message>
        <source>Work days</source>
        <translation>Días laborables</translation>
    </message>
    <message>
        <source>Ends the next day</source>
        <extracomment>Under the end of the working day when it is at or before its start: a night shift.</extracomment>
        <translation>Termina al día siguiente</translation>
    </message>
    <message>
        <source>Unpaid break</source>
        <translation>Pausa no pagada</translation>
    </message>
    <message>
        <source>per day</source>
        <extracomment>What the pay typed beside it is for: one working day ...</extracomment>
        <translation>por día</translation>
    </message>
    <message>
        <source>per hour</source>
        <extracomment>... or one hour of paid time.</extracomment>
        <translation>por hora</translation>
    </message>
    <message>
        <source>Hourly pay</source>
        <translation>Salario por hora</translation>
    </message>
    <message>
        <source>Enter an hourly pay from 0 to %1</source>
        <translation>Introduzca un salario por hora de 0 a %1</translation>
    </message>
    <message>
        <source>none</source>
        <extracomment>The length of the unpaid break: no break at all.</extracomment>
        <translation>ninguna</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom only: PipeWire is not installed</source>
        <translation>Solo se detecta la pantalla compartida de navegadores y Zoom: PipeWire no está instalado</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom only: PipeWire is not running</source>
        <translation>Solo se detecta la pantalla compartida de navegadores y Zoom: PipeWire no se está ejecutando</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom, and for PipeWire casts</source>
        <translation>Se detecta la pantalla compartida de navegadores y Zoom, y las transmisiones de PipeWire</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, not for PipeWire casts: PipeWire is not installed</source>
        <translation>Se detecta la pantalla compartida de navegadores, Zoom y programas que leen la pantalla, pero no las transmisiones de PipeWire: PipeWire no está instalado</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, not for PipeWire casts: PipeWire is not running</source>
        <translation>Se detecta la pantalla compartida de navegadores, Zoom y programas que leen la pantalla, pero no las transmisiones de PipeWire: PipeWire no se está ejecutando</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, and for PipeWire casts</source>
        <translation>Se detecta la pantalla compartida de navegadores, Zoom y programas que leen la pantalla, y las transmisiones de PipeWire</translation>
    </message>
</context>
</TS>
