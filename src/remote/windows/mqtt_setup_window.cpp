// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/windows/mqtt_setup_window.h"

#include <QLabel>
#include <QLineEdit>
#include <filesystem>

#include "language/translate.h"
#include "remote/mqtt_settings.h"
#include "ui/widgets.h"

namespace corvanel {

Mqtt_Setup_Window::Mqtt_Setup_Window(Settings_Form& form, QWidget* parent)
    : Settings_Dialog(form, "MqttSetup", "MQTT", Translate_Phrase, parent), Form_(form) {
    Message()->setObjectName("Message");
    Grey_While_Off(Mqtt_Setting::Ca_File, Mqtt_Setting::Tls);
    Check = [this]() -> std::optional<Refusal> {
        const std::string& ca_file = Form_.Field(Mqtt_Setting::Ca_File.Name())->Text;
        std::error_code ignored;
        if (Form_.Field(Mqtt_Setting::Tls.Name())->On() && !ca_file.empty() &&
            !std::filesystem::is_regular_file(ca_file, ignored)) {
            return Refusal{Mqtt_Setting::Ca_File.Name(),
                           {Operator_Text::Phrase(
                                "%1 %2", {Operator_Text::Phrase("The CA file does not exist:"),
                                          Operator_Text::Value(ca_file)}),
                            {}}};
        }
        Settings_Field& prefix = *Form_.Field(Mqtt_Setting::Topic_Prefix.Name());
        if (prefix.Text == Default_Prefix_) Form_.Set_Text(prefix, "");
        return std::nullopt;
    };
}

int Mqtt_Setup_Window::Open(const std::string& default_prefix) {
    Default_Prefix_ = default_prefix;
    if (auto* prefix = qobject_cast<QLineEdit*>(Control(Mqtt_Setting::Topic_Prefix.Name())))
        prefix->setPlaceholderText(Q(default_prefix));
    return Settings_Dialog::Open();
}

}  // namespace corvanel
