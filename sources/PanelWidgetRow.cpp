// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelWidgetRow.h"

#include "PlasmaWidget.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

PanelWidgetRow::PanelWidgetRow(QWidget* parent)
    : PanelWidgetRow(std::make_unique<PlasmaWidget>(), parent) {}

PanelWidgetRow::PanelWidgetRow(std::unique_ptr<PlasmaWidget> plasmaShell, QWidget* parent)
    : QWidget(parent), shell(std::move(plasmaShell)) {
    setObjectName("panelWidgetRow");
    //: A button on Plasma: adds Tallyglow's widget, which shows the figure as text, to the panel.
    addButton = new QPushButton(tr("Show the figure in the panel"));
    addButton->setObjectName("addPanelWidgetButton");
    addButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    note = new QLabel;
    note->setObjectName("panelWidgetNote");
    note->setTextFormat(Qt::PlainText);
    note->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(addButton, 0, Qt::AlignLeft);
    layout->addWidget(note);
    connect(addButton, &QPushButton::clicked, this, &PanelWidgetRow::addWidget);

    // Offered at once where Plasma runs, so that the window does not grow
    // after opening; the shell then says whether the widget is there already.
    // Never added unasked.
    if (!PlasmaWidget::isInstalled() || !shell->shellRuns()) {
        hide();
        return;
    }
    const QPointer<PanelWidgetRow> self(this);
    shell->askPlacement([self](PlasmaWidget::Placement placement, const QString&) {
        if (!self) {
            return;
        }
        using Placement = PlasmaWidget::Placement;
        if (placement == Placement::inPanel) {
            self->addButton->hide();
            self->note->setText(tr("Tallyglow's widget shows the figure in the panel."));
            self->note->show();
        }
        if (placement == Placement::noShell || placement == Placement::failed) {
            self->hide();
        }
    });
}

PanelWidgetRow::~PanelWidgetRow() = default;

void PanelWidgetRow::addWidget() {
    addButton->setEnabled(false);
    const QPointer<PanelWidgetRow> self(this);
    shell->addToPanel([self](PlasmaWidget::Placement placement, const QString& reason) {
        if (!self) {
            return;
        }
        using Placement = PlasmaWidget::Placement;
        self->addButton->setEnabled(true);
        self->addButton->setVisible(placement != Placement::inPanel);
        switch (placement) {
        case Placement::inPanel:
            self->note->setText(tr("Tallyglow's widget shows the figure in the panel."));
            break;
        case Placement::locked:
            //: Plasma's widgets are locked (its "Lock Widgets"); unlocking lets the panel take one.
            self->note->setText(tr("Widgets are locked: unlock them, then try again."));
            break;
        case Placement::noShell:
            self->note->setText(tr("Plasma's panel is not running."));
            break;
        case Placement::notInPanel:
        case Placement::failed:
            //: %1 is Plasma's own reason, as it gave it.
            self->note->setText(tr("The panel did not take the widget: %1").arg(reason));
            break;
        }
        self->note->show();
    });
}
