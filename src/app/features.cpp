// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features.h"

#include "remote/windows/mqtt_publishing.h"
#include "remote/windows/remote_monitoring.h"

namespace corvanel {

namespace {

template <typename Kind, typename... Args>
Kind* Add(Program_Features& features, Args&&... args) {
    auto feature = std::make_unique<Kind>(std::forward<Args>(args)...);
    Kind* added = feature.get();
    features.All.push_back(std::move(feature));
    return added;
}

}  // namespace

Program_Features Make_Features(const Feature_Host& host) {
    Program_Features features;
    // The status page's snapshot hears the firing before MQTT, which publishes from it.
    features.Remote =
        Add<Remote_Monitoring>(features, host.Settings, host.Messages, host.Dialog_Parent);
    features.Mqtt = Add<Mqtt_Publishing>(features, host.Settings, features.Remote->Snapshot(),
                                         host.Messages, host.Dialog_Parent);
    return features;
}

}  // namespace corvanel
