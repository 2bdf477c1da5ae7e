// Tallyglow's figure as text in a Plasma panel, which draws no item labels.
// The widget shows the title the running Tallyglow publishes, masked or not as
// it comes: it never decides anything about masking itself.
import QtQuick
import QtQuick.Layouts
import org.kde.plasma.plasmoid
import org.kde.plasma.components as PlasmaComponents
import org.kde.plasma.extras as PlasmaExtras
import org.kde.kirigami as Kirigami
import org.kde.plasma.workspace.dbus as DBus

PlasmoidItem {
    id: root

    // From org.tallyglow.Tallyglow.xml, as the build fills them in.
    readonly property string service: "@TALLYGLOW_BUS_NAME@"
    readonly property string instancePath: "@TALLYGLOW_BUS_PATH@"
    readonly property string instanceInterface: "@TALLYGLOW_BUS_NAME@"

    property string title: ""
    property bool masked: false
    // A title has come from the Tallyglow that runs now.
    property bool hasTitle: false
    // Each start or end of Tallyglow begins a new round; answers from an older round are dropped.
    property int round: 0
    // Calls on their way, held so that they are not collected before they answer.
    property var titleCall: null
    property var menuCall: null
    property var menuItems: []
    // Menu events carry a value of any type; ours carry none.
    readonly property DBus.variant noEventData: ""

    preferredRepresentation: compactRepresentation
    fullRepresentation: Item {}

    toolTipMainText: "Tallyglow"
    toolTipSubText: hasTitle ? i18n("Click: menu. Middle click: hide or show the figure.")
                             : i18n("Tallyglow is not running")

    compactRepresentation: MouseArea {
        id: panelItem

        Layout.minimumWidth: figure.implicitWidth + Kirigami.Units.smallSpacing * 2
        Layout.preferredWidth: Layout.minimumWidth
        Layout.maximumWidth: Layout.minimumWidth
        Layout.minimumHeight: figure.implicitHeight
        acceptedButtons: Qt.LeftButton | Qt.MiddleButton

        onClicked: mouse => {
            if (!root.hasTitle) {
                return;
            }
            if (mouse.button === Qt.MiddleButton) {
                root.toggleMask();
            } else {
                root.openMenu(panelItem);
            }
        }

        PlasmaComponents.Label {
            id: figure
            anchors.centerIn: parent
            text: root.hasTitle ? root.title : "—"
            textFormat: Text.PlainText
            opacity: root.hasTitle ? 1 : 0.6
            // Digits of equal width, so the text does not jitter as it counts.
            font.features: { "tnum": 1 }
        }
    }

    DBus.DBusServiceWatcher {
        id: instance
        busType: DBus.BusType.Session
        watchedService: root.service
        onRegisteredChanged: root.startRound()
    }

    // Only after a failed answer (an older Tallyglow that cannot wait for changes, say).
    Timer {
        id: retry
        interval: 1000
        onTriggered: root.readTitle(root.round)
    }

    PlasmaExtras.Menu {
        id: menu
        onStatusChanged: {
            if (status === PlasmaExtras.Menu.Closed) {
                root.call("/MenuBar", "com.canonical.dbusmenu", "Event", "(isvu)", [0, "closed", root.noEventData, 0]);
            }
        }
    }

    Component {
        id: menuItemComponent
        PlasmaExtras.MenuItem {}
    }

    Component.onCompleted: startRound()

    // The signature is that of all the arguments together, as one structure.
    function call(path, iface, member, signature, args) {
        return DBus.SessionBus.asyncCall({
            "service": service,
            "path": path,
            "iface": iface,
            "member": member,
            "signature": signature,
            "arguments": args
        });
    }

    // Answers come as values of their bus types (string, int32, ...), with the value inside.
    function plain(value) {
        return value !== null && typeof value === "object" && "value" in value ? value.value : value;
    }

    function startRound() {
        round += 1;
        retry.stop();
        hasTitle = false;
        title = "";
        masked = false;
        if (instance.registered) {
            readTitle(round);
        }
    }

    function show(text, isMasked) {
        title = String(plain(text));
        masked = Boolean(plain(isMasked));
        hasTitle = true;
    }

    function readTitle(titleRound) {
        if (titleRound !== round || !instance.registered) {
            return;
        }
        const reply = call(instancePath, "org.freedesktop.DBus.Properties", "GetAll", "(s)",
                           [instanceInterface]);
        titleCall = reply;
        reply.finished.connect(() => {
            if (titleRound !== round) {
                return;
            }
            if (reply.isError) {
                retry.start();
                return;
            }
            const properties = reply.values[0];
            show(properties.Title, properties.Masked);
            waitForChange(titleRound);
        });
    }

    // Tallyglow answers as soon as the title changes, or after 20 s with the
    // same title; each answer asks again. Nothing is polled.
    function waitForChange(titleRound) {
        const reply = call(instancePath, instanceInterface, "NextTitle", "(sb)", [title, masked]);
        titleCall = reply;
        reply.finished.connect(() => {
            if (titleRound !== round) {
                return;
            }
            if (reply.isError) {
                retry.start();
                return;
            }
            show(reply.values[0], reply.values[1]);
            waitForChange(titleRound);
        });
    }

    // The item's own middle click, which Tallyglow answers by hiding or showing the figure.
    function toggleMask() {
        call("/StatusNotifierItem", "org.kde.StatusNotifierItem", "SecondaryActivate", "(ii)", [0, 0]);
    }

    // Tallyglow's menu, read from the item's exported menu and drawn by Plasma, as
    // Plasma's own tray does: a program's own menu cannot be placed on Wayland.
    function openMenu(visualParent) {
        call("/MenuBar", "com.canonical.dbusmenu", "AboutToShow", "(i)", [0]);
        const reply = call("/MenuBar", "com.canonical.dbusmenu", "GetLayout", "(iias)", [0, -1, []]);
        menuCall = reply;
        reply.finished.connect(() => {
            if (reply.isError) {
                return;
            }
            fillMenu(reply.values[1]);
            menu.visualParent = visualParent;
            menu.openRelative();
        });
    }

    function fillMenu(layout) {
        menu.clearMenuItems();
        for (const item of menuItems) {
            item.destroy();
        }
        menuItems = [];
        for (const child of layout[2]) {
            const id = plain(child[0]);
            const properties = child[1];
            if (plain(properties["visible"]) === false) {
                continue;
            }
            const item = menuItemComponent.createObject(menu);
            if (plain(properties["type"]) === "separator") {
                item.separator = true;
            } else {
                item.text = menuText(String(plain(properties["label"]) ?? ""));
                item.enabled = plain(properties["enabled"]) !== false;
                if (plain(properties["toggle-type"]) === "checkmark") {
                    item.checkable = true;
                    item.checked = plain(properties["toggle-state"]) === 1;
                }
                item.clicked.connect(() => {
                    call("/MenuBar", "com.canonical.dbusmenu", "Event", "(isvu)", [id, "clicked", root.noEventData, 0]);
                });
            }
            menu.addMenuItem(item);
            menuItems.push(item);
        }
    }

    // The menu marks its access keys with "_" ("__" is a literal one); Qt with "&".
    function menuText(label) {
        let text = "";
        for (let index = 0; index < label.length; ++index) {
            const character = label[index];
            if (character === "_") {
                if (label[index + 1] === "_") {
                    text += "_";
                    ++index;
                } else {
                    text += "&";
                }
            } else if (character === "&") {
                text += "&&";
            } else {
                text += character;
            }
        }
        return text;
    }
}
