<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Mask</source>
        <extracomment>Menu item with a check mark: hides the figure in the panel (a verb).</extracomment>
        <translation>Ocultar</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Configurações…</translation>
    </message>
    <message>
        <source>Quit Tallyglow</source>
        <translation>Sair do Tallyglow</translation>
    </message>
    <message>
        <source>Tallyglow Settings</source>
        <translation>Configurações do Tallyglow</translation>
    </message>
</context>
<context>
    <name>PanelNotice</name>
    <message>
        <source>Install the AppIndicator extension (the gnome-shell-extension-appindicator package on Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>Instale a extensão AppIndicator (o pacote gnome-shell-extension-appindicator no Debian e no Fedora), entre novamente e ative-a em Extensões.</translation>
    </message>
    <message>
        <source>install and switch on the AppIndicator extension</source>
        <translation>instalar e ativar a extensão AppIndicator</translation>
    </message>
    <message>
        <source>The AppIndicator extension is installed but off: switch it on in Extensions, or choose Enable.</source>
        <translation>A extensão AppIndicator está instalada, mas desativada: ative-a em Extensões ou escolha Ativar.</translation>
    </message>
    <message>
        <source>switch on the AppIndicator extension</source>
        <translation>ativar a extensão AppIndicator</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Ativar</translation>
    </message>
    <message>
        <source>The AppIndicator extension is on but not running: update it, or switch it off and on again in Extensions.</source>
        <translation>A extensão AppIndicator está ativada, mas não está funcionando: atualize-a ou desative-a e ative-a novamente em Extensões.</translation>
    </message>
    <message>
        <source>the AppIndicator extension is not running</source>
        <translation>a extensão AppIndicator não está funcionando</translation>
    </message>
    <message>
        <source>Add the StatusNotifier applet to the panel in Budgie Desktop Settings (the budgie-sntray-plugin package).</source>
        <translation>Adicione o applet StatusNotifier ao painel nas configurações do Budgie Desktop (o pacote budgie-sntray-plugin).</translation>
    </message>
    <message>
        <source>add the StatusNotifier applet to the panel</source>
        <translation>adicionar o applet StatusNotifier ao painel</translation>
    </message>
    <message>
        <source>Add a system tray (notification area) to the panel, or use a panel that has one.</source>
        <translation>Adicione uma bandeja do sistema (área de notificação) ao painel ou use um painel que tenha uma.</translation>
    </message>
    <message>
        <source>add a system tray to the panel</source>
        <translation>adicionar uma bandeja do sistema ao painel</translation>
    </message>
    <message>
        <source>No panel shows Tallyglow: %1</source>
        <translation>Nenhum painel mostra o Tallyglow: %1</translation>
    </message>
    <message>
        <source>Tallyglow is running, but not in the panel</source>
        <translation>O Tallyglow está em execução, mas não no painel</translation>
    </message>
    <message>
        <source>This desktop&apos;s panel shows no status items. %1</source>
        <translation>O painel desta área de trabalho não mostra ícones de status. %1</translation>
    </message>
    <message>
        <source>Choose Install and GNOME fetches the AppIndicator extension and switches it on; or install the gnome-shell-extension-appindicator package (Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>Escolha Instalar e o GNOME baixa a extensão AppIndicator e a ativa; ou instale o pacote gnome-shell-extension-appindicator (Debian e Fedora), entre novamente e ative-a em Extensões.</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Instalar</translation>
    </message>
    <message>
        <source>The AppIndicator extension was not installed</source>
        <translation>A extensão AppIndicator não foi instalada</translation>
    </message>
    <message>
        <source>GNOME Shell could not install it (%1). Install the gnome-shell-extension-appindicator package instead (Debian and Fedora), log in again and switch it on in Extensions.</source>
        <translation>O GNOME Shell não conseguiu instalá-la (%1). Instale em vez disso o pacote gnome-shell-extension-appindicator (Debian e Fedora), entre novamente e ative-a em Extensões.</translation>
    </message>
</context>
<context>
    <name>PanelWidgetRow</name>
    <message>
        <source>Show the figure in the panel</source>
        <extracomment>A button on Plasma: adds Tallyglow&apos;s widget, which shows the figure as text, to the panel.</extracomment>
        <translation>Mostrar o valor no painel</translation>
    </message>
    <message>
        <source>Tallyglow&apos;s widget shows the figure in the panel.</source>
        <translation>O widget do Tallyglow mostra o valor no painel.</translation>
    </message>
    <message>
        <source>Widgets are locked: unlock them, then try again.</source>
        <extracomment>Plasma&apos;s widgets are locked (its &quot;Lock Widgets&quot;); unlocking lets the panel take one.</extracomment>
        <translation>Os widgets estão bloqueados: desbloqueie-os e tente novamente.</translation>
    </message>
    <message>
        <source>Plasma&apos;s panel is not running.</source>
        <translation>O painel do Plasma não está em execução.</translation>
    </message>
    <message>
        <source>The panel did not take the widget: %1</source>
        <extracomment>%1 is Plasma&apos;s own reason, as it gave it.</extracomment>
        <translation>O painel não aceitou o widget: %1</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Daily pay</source>
        <translation>Salário diário</translation>
    </message>
    <message>
        <source>Day starts at</source>
        <translation>Início do expediente</translation>
    </message>
    <message>
        <source>Day ends at</source>
        <translation>Fim do expediente</translation>
    </message>
    <message>
        <source>Currency</source>
        <extracomment>Shown in the narrow currency symbol field while it is empty; keep it short.</extracomment>
        <translation>Moeda</translation>
    </message>
    <message>
        <source>0</source>
        <extracomment>Shown in the empty pay field: zero, written as the language writes it.</extracomment>
        <translation>0</translation>
    </message>
    <message>
        <source>Enter a daily pay from 0 to %1</source>
        <translation>Informe um salário diário de 0 a %1</translation>
    </message>
    <message>
        <source>Mask automatically while screen sharing</source>
        <extracomment>&quot;Mask&quot; as in the panel item&apos;s menu: the figure shows as dots ($•••.••).</extracomment>
        <translation>Ocultar automaticamente ao compartilhar a tela</translation>
    </message>
    <message>
        <source>Middle-click or Shift-click the panel item, or choose “Mask” in its menu, to toggle masking at any time.</source>
        <extracomment>“Mask” is the menu item of that name, in this language&apos;s quotation marks.</extracomment>
        <translation>Clique do meio ou Shift+clique no ícone do painel, ou “Ocultar” no menu dele, para ocultar ou mostrar a qualquer momento.</translation>
    </message>
    <message>
        <source>Middle-click the panel item, or choose “Mask” in its menu, to toggle masking at any time.</source>
        <extracomment>Where held keys cannot be seen (Wayland); “Mask” as above.</extracomment>
        <translation>Clique do meio no ícone do painel, ou “Ocultar” no menu dele, para ocultar ou mostrar a qualquer momento.</translation>
    </message>
    <message>
        <source>:</source>
        <extracomment>Between the hour and the minute of a time of day.</extracomment>
        <translation>:</translation>
    </message>
    <message>
        <source>Screen casts cannot be detected: PipeWire is not installed</source>
        <translation>Não é possível detectar o compartilhamento de tela: o PipeWire não está instalado</translation>
    </message>
    <message>
        <source>Screen casts cannot be detected: PipeWire is not running</source>
        <translation>Não é possível detectar o compartilhamento de tela: o PipeWire não está em execução</translation>
    </message>
    <message>
        <source>Work days</source>
        <translation>Dias de trabalho</translation>
    </message>
    <message>
        <source>Ends the next day</source>
        <extracomment>Under the end of the working day when it is at or before its start: a night shift.</extracomment>
        <translation>Termina no dia seguinte</translation>
    </message>
    <message>
        <source>Unpaid break</source>
        <translation>Intervalo não pago</translation>
    </message>
    <message>
        <source>per day</source>
        <extracomment>What the pay typed beside it is for: one working day ...</extracomment>
        <translation>por dia</translation>
    </message>
    <message>
        <source>per hour</source>
        <extracomment>... or one hour of paid time.</extracomment>
        <translation>por hora</translation>
    </message>
    <message>
        <source>Hourly pay</source>
        <translation>Salário por hora</translation>
    </message>
    <message>
        <source>Enter an hourly pay from 0 to %1</source>
        <translation>Informe um salário por hora de 0 a %1</translation>
    </message>
    <message>
        <source>none</source>
        <extracomment>The length of the unpaid break: no break at all.</extracomment>
        <translation>nenhum</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom only: PipeWire is not installed</source>
        <translation>O compartilhamento de tela é detectado só para navegadores e Zoom: o PipeWire não está instalado</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom only: PipeWire is not running</source>
        <translation>O compartilhamento de tela é detectado só para navegadores e Zoom: o PipeWire não está em execução</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers and Zoom, and for PipeWire casts</source>
        <translation>O compartilhamento de tela é detectado para navegadores e Zoom, e para transmissões do PipeWire</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, not for PipeWire casts: PipeWire is not installed</source>
        <translation>O compartilhamento de tela é detectado para navegadores, Zoom e programas que leem a tela, não para transmissões do PipeWire: o PipeWire não está instalado</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, not for PipeWire casts: PipeWire is not running</source>
        <translation>O compartilhamento de tela é detectado para navegadores, Zoom e programas que leem a tela, não para transmissões do PipeWire: o PipeWire não está em execução</translation>
    </message>
    <message>
        <source>Screen sharing is detected for browsers, Zoom and programs that read the screen, and for PipeWire casts</source>
        <translation>O compartilhamento de tela é detectado para navegadores, Zoom e programas que leem a tela, e para transmissões do PipeWire</translation>
    </message>
</context>
</TS>
