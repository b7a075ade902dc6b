// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/windows/safety_settings_window.h"

#include <QDialogButtonBox>
#include <QLabel>

#include "language/translate.h"
#include "ui/widgets.h"

namespace corvanel {

Safety_Settings_Window::Safety_Settings_Window(Settings_Form& form, QWidget* parent)
    : Settings_Dialog(form, "Safety", "Safety Settings", Translate_Phrase, parent) {
    // The names the dialog has always had: "Safety_OK" and "Safety_Cancel" are the
    // builder's, the rest are given again.
    setObjectName("Safety_Settings");
    findChild<QLabel*>("Safety_Message")->setObjectName("Safety_Messages");
    for (const Settings_Field& field : form.Fields()) {
        const std::string name = field.Of->Name();
        if (auto* label = findChild<QLabel*>(Q(name + "Label")))
            label->setObjectName(Q(name + "_Label"));
    }
    // A refused OK leaves the dialog open: the entries not taken show the values kept.
    connect(findChild<QDialogButtonBox*>(), &QDialogButtonBox::accepted, this, [this] {
        if (isVisible()) Show_Fields();
    });
}

}  // namespace corvanel
