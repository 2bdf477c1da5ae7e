// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StatusNotifierItem.h"

#include <QByteArray>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>

// One image of an icon, ARGB32 in network byte order: the type "(iiay)".
struct StatusNotifierIconPixmap {
    int width = 0;
    int height = 0;
    QByteArray bytes;
};

// A tooltip: icon name, icon images, title and description, "(sa(iiay)ss)".
struct StatusNotifierToolTip {
    QString iconName;
    QList<StatusNotifierIconPixmap> iconPixmaps;
    QString title;
    QString description;
};

QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierIconPixmap& pixmap);
const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierIconPixmap& pixmap);
QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierToolTip& toolTip);
const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierToolTip& toolTip);

Q_DECLARE_METATYPE(StatusNotifierIconPixmap)
Q_DECLARE_METATYPE(StatusNotifierToolTip)

// The org.kde.StatusNotifierItem interface as panels read it, over the item's state.
class StatusNotifierItemAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString IconName READ iconName)
    Q_PROPERTY(QString IconThemePath READ iconThemePath)
    Q_PROPERTY(StatusNotifierToolTip ToolTip READ toolTip)
    Q_PROPERTY(QString XAyatanaLabel READ label)
    Q_PROPERTY(QString XAyatanaLabelGuide READ labelGuide)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)

public:
    explicit StatusNotifierItemAdaptor(StatusNotifierItem* item)
        : QDBusAbstractAdaptor(item), item(item) {
        registerTypes();
        connect(item, &StatusNotifierItem::labelChanged, this, [this] {
            Q_EMIT XAyatanaNewLabel(label(), labelGuide());
            if (!title().isEmpty()) {
                Q_EMIT NewTitle();
                Q_EMIT NewToolTip();
            }
        });
        connect(item, &StatusNotifierItem::toolTipChanged, this, [this] {
            Q_EMIT NewTitle();
            Q_EMIT NewToolTip();
        });
    }

    QString id() const { return item->identity().id; }
    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString status() const { return QStringLiteral("Active"); }
    QString title() const { return item->toolTip(); }
    QString iconName() const { return item->identity().iconName; }
    QString iconThemePath() const { return item->identity().iconThemePath; }
    StatusNotifierToolTip toolTip() const { return {{}, {}, item->toolTip(), {}}; }
    QString label() const { return item->label(); }
    QString labelGuide() const { return item->labelGuide(); }
    QDBusObjectPath menu() const { return item->menu(); }
    // We show our own menu where we can; "false" lets panels offer theirs too.
    bool itemIsMenu() const { return false; }

public Q_SLOTS:
    void Activate(int x, int y) { item->activate({x, y}); }
    void ContextMenu(int x, int y) { item->contextMenu({x, y}); }
    void SecondaryActivate(int, int) { item->secondaryActivate(); }
    void XAyatanaSecondaryActivate(uint) { item->ayatanaSecondaryActivate(); }
    void Scroll(int, const QString&) {}
    void ProvideXdgActivationToken(const QString& token) { item->provideActivationToken(token); }

Q_SIGNALS:
    void NewTitle();
    void NewToolTip();
    void XAyatanaNewLabel(const QString& label, const QString& guide);

private:
    static void registerTypes();

    StatusNotifierItem* item;
};
