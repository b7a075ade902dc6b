// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows/dlg_get_name.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvanel {

dlgGetName::dlgGetName(QWidget* parent) : QDialog(parent) {
    setObjectName("dlgGetName");
    setWindowTitle("Enter Device Name");
    setModal(true);
    lblDeviceName = new QLabel("Device Name", this);
    lblDeviceName->setObjectName("lblDeviceName");
    txtDeviceName = new QLineEdit(this);
    txtDeviceName->setObjectName("txtDeviceName");
    lblDeviceName->setBuddy(txtDeviceName);
    cmdOk = new QPushButton("Ok", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblDeviceName);
    layout->addWidget(txtDeviceName);
    layout->addLayout(buttons);

    connect(cmdOk, &QPushButton::clicked, this, [this] {
        Cancelled_ = false;
        hide();
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        Cancelled_ = true;
        hide();
    });
}

int dlgGetName::GetName() {
    // Closing by the frame or Escape counts as Cancel.
    Cancelled_ = true;
    exec();
    return Cancelled_ ? 2 : 1;
}

std::string dlgGetName::DeviceName() {
    return txtDeviceName->text().toStdString();
}

}  // namespace corvanel
