// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusContext>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

// What the running Tallyglow serves on the session bus: the interface in
// org.tallyglow.Tallyglow.xml, through the adaptor generated from it. A
// second start calls Reopen; commands and widgets read the title.
class InstanceService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(bool Masked READ masked)

public:
    InstanceService(std::function<void()> reopen, QObject* parent);

    QString title() const { return published.text; }
    bool masked() const { return published.masked; }
    // Readers are told only about changes.
    void publish(const QString& text, bool masked);

public Q_SLOTS:
    void Reopen();
    // Answers as soon as the title differs from the one the reader has, else
    // after a while with the same title, well before the bus gives up on the call.
    QString NextTitle(const QString& title, bool masked, bool& nextMasked);

Q_SIGNALS:
    void TitleChanged(const QString& title, bool masked);

private:
    void answerWaitingReaders();

    std::function<void()> reopen;
    struct {
        QString text;
        bool masked = false;
    } published;
    QList<QDBusMessage> waitingReaders;
    QTimer waitLimit;
};
