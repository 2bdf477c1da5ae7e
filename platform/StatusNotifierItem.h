#pragma once

#include "StatusItem.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>

class QDBusServiceWatcher;

// A panel item offered over D-Bus as an org.kde.StatusNotifierItem. The title
// shows as the item's label (XAyatanaLabel), and as its title and tooltip for
// panels that draw no labels. Whatever text it is given is all it ever puts
// on the bus.
class StatusNotifierItem final : public QObject, public StatusItem, private StatusButton {
    Q_OBJECT

public:
    struct Identity {
        QString id;
        QString iconName;
        // A folder holding the icon, for panels that do not find it in the icon theme.
        QString iconThemePath;
    };

    // Offers the item on the connection and tells the panel about it; on a
    // connection that is not open the item has no button and offers nothing.
    StatusNotifierItem(QDBusConnection connection, Identity identity);
    ~StatusNotifierItem() override;

    StatusButton* button() override;

    // The dbusmenu object the panel shows as the item's menu; "/" means none.
    void setMenu(const QDBusObjectPath& path);

    // What the D-Bus properties read.
    const Identity& identity() const { return ownIdentity; }
    const QString& label() const { return labelText; }
    const QString& labelGuide() const { return labelGuideText; }
    const QDBusObjectPath& menu() const { return menuPath; }

Q_SIGNALS:
    void labelChanged();

private:
    void setTitle(const std::string& title) override;
    void useMonospacedDigitFont() override;

    void registerWithWatcher();
    QString guideFor(const QString& text) const;

    QDBusConnection connection;
    Identity ownIdentity;
    QString serviceName;
    QString labelText;
    QString labelGuideText;
    QDBusObjectPath menuPath{QStringLiteral("/")};
    bool monospacedDigits = false;
    QDBusServiceWatcher* watcherOwner = nullptr;
};
