// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/windows/energy_settings_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "language/translate.h"
#include "ui/widgets.h"

namespace corvanel {

namespace {

QString T(const char* english) {
    return Q(TranslateText(english));
}

}  // namespace

Energy_Settings_Window::Energy_Settings_Window(Energy_Settings_Dialog& model, QWidget* parent)
    : QDialog(parent), Model_(model) {
    setObjectName("Energy_Settings");
    KilnPower = Text_Box(this, "KilnPower", nullptr, false);
    PricePerKWh = Text_Box(this, "PricePerKWh", nullptr, false);
    Energy_Message = new QLabel(this);
    Energy_Message->setObjectName("Energy_Message");
    Energy_OK = Button(this, "Energy_OK", "OK");
    Energy_Cancel = Button(this, "Energy_Cancel", "Cancel");
    auto* layout = new QGridLayout(this);
    layout->addWidget(Label_For(this, "KilnPowerLabel", "Kiln Power (kW)", KilnPower), 0, 0);
    layout->addWidget(KilnPower, 0, 1);
    layout->addWidget(Label_For(this, "PricePerKWhLabel", "Price per kWh", PricePerKWh), 1, 0);
    layout->addWidget(PricePerKWh, 1, 1);
    layout->addWidget(Energy_Message, 2, 0, 1, 2);
    layout->addWidget(Energy_OK, 3, 0);
    layout->addWidget(Energy_Cancel, 3, 1);
    connect(Energy_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Energy_OK, &QPushButton::clicked, this, [this] {
        Model_.Kiln_Power = KilnPower->text().toStdString();
        Model_.Price_Per_kWh = PricePerKWh->text().toStdString();
        if (Model_.OK_Click()) {
            accept();
        } else {
            Energy_Message->setText(Q(Model_.Message));
        }
    });
}

void Energy_Settings_Window::Open() {
    setWindowTitle(T("Energy Settings"));
    findChild<QLabel*>("KilnPowerLabel")->setText(T("Kiln Power (kW)"));
    findChild<QLabel*>("PricePerKWhLabel")->setText(T("Price per kWh"));
    Energy_OK->setText(T("OK"));
    Energy_Cancel->setText(T("Cancel"));
    Model_.Form_Load();
    KilnPower->setText(Q(Model_.Kiln_Power));
    PricePerKWh->setText(Q(Model_.Price_Per_kWh));
    Energy_Message->setText(Q(Model_.Message));
    exec();
}

}  // namespace corvanel
