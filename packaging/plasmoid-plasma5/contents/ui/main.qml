// Tallyglow's figure as text in a Plasma 5 panel, which draws no item labels.
// Plasma 5 has no D-Bus for widgets; its status notifier engine, which its
// own system tray reads, follows every panel item's properties as they
// change. Tallyglow's item carries the title as its Title, masked or not as it
// comes: the widget shows that and decides nothing about masking itself.
// Nothing is polled, and the item leaves the engine when Tallyglow ends,
// however it ends.
import QtQuick 2.15
import QtQuick.Layouts 1.15
import org.kde.plasma.plasmoid 2.0
import org.kde.plasma.core 2.0 as PlasmaCore
import org.kde.plasma.components 3.0 as PlasmaComponents

Item {
    id: root

    // Tallyglow's item, by the Id it gives itself.
    readonly property string itemId: "tallyglow"
    // The engine's source for that item; empty while Tallyglow is not running.
    property string source: ""
    property string title: ""
    readonly property bool hasTitle: source !== "" && title !== ""

    Plasmoid.preferredRepresentation: Plasmoid.compactRepresentation
    Plasmoid.fullRepresentation: Item {}
    Plasmoid.toolTipMainText: "Tallyglow"
    Plasmoid.toolTipSubText: hasTitle ? i18n("Click: menu. Middle click: hide or show the figure.")
                                      : i18n("Tallyglow is not running")

    Plasmoid.compactRepresentation: MouseArea {
        id: panelItem

        Layout.minimumWidth: widest.width + PlasmaCore.Units.smallSpacing * 2
        Layout.preferredWidth: Layout.minimumWidth
        Layout.maximumWidth: Layout.minimumWidth
        Layout.minimumHeight: figure.implicitHeight
        acceptedButtons: Qt.LeftButton | Qt.MiddleButton

        onClicked: function (mouse) {
            if (!root.hasTitle) {
                return;
            }
            const point = panelItem.mapToGlobal(mouse.x, mouse.y);
            // The item's own clicks: Tallyglow shows its menu, or hides or shows the figure.
            root.callItem(mouse.button === Qt.MiddleButton ? "SecondaryActivate" : "Activate", point);
        }

        PlasmaComponents.Label {
            id: figure
            anchors.centerIn: parent
            text: root.hasTitle ? root.title : "—"
            textFormat: Text.PlainText
            opacity: root.hasTitle ? 1 : 0.6
        }

        // Room for the widest figure of this shape, so the panel does not move as it counts.
        TextMetrics {
            id: widest
            font: figure.font
            text: figure.text.replace(/[0-9]/g, "0")
        }
    }

    PlasmaCore.DataSource {
        id: items
        engine: "statusnotifieritem"
        connectedSources: sources

        onNewData: function (sourceName, data) {
            if (data.Id !== root.itemId) {
                return;
            }
            root.source = sourceName;
            // Empty while Tallyglow's own menu is open: the figure stays as it was.
            if (data.Title) {
                root.title = data.Title;
            }
        }
        onSourceRemoved: function (sourceName) {
            if (sourceName === root.source) {
                root.source = "";
                root.title = "";
            }
        }
    }

    function callItem(operationName, point) {
        const service = items.serviceForSource(source);
        const operation = service.operationDescription(operationName);
        operation.x = point.x;
        operation.y = point.y;
        service.startOperationCall(operation);
    }
}
