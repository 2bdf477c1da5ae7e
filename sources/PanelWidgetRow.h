// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QWidget>
#include <memory>

class PlasmaWidget;
class QLabel;
class QPushButton;

// On Plasma, the settings form's offer to show the figure in the panel:
// Tallyglow's widget there, added by the shell when the user clicks, and a
// line saying how that went. Shown only where a Plasma shell answers and the
// widget is installed.
class PanelWidgetRow : public QWidget {
    Q_DECLARE_TR_FUNCTIONS(PanelWidgetRow)

public:
    explicit PanelWidgetRow(QWidget* parent = nullptr);
    // Over the given shell, which the tests provide.
    PanelWidgetRow(std::unique_ptr<PlasmaWidget> shell, QWidget* parent = nullptr);
    ~PanelWidgetRow() override;

private:
    void addWidget();

    std::unique_ptr<PlasmaWidget> shell;
    QPushButton* addButton = nullptr;
    QLabel* note = nullptr;
};
