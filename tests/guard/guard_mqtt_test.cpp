// SPDX-License-Identifier: GPL-3.0-or-later
// The guard's MQTT client over a loopback listener that plays the broker's port.

#include "tools/guard_mqtt.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "language/translate.h"
#include "support/temp_folder.h"

namespace corvanel {
namespace {

// A TLS set-up that fails (the CA file is missing) leaves the client unconnected: it
// never falls back to the clear, with the password in the CONNECT for anyone on the way.
TEST(Guard_Mqtt_Client, RefusesToConnectWhenItsTlsSetUpFails) {
    Temp_Folder folder;
    Use_Language_Program_Folder(Program_Paths(folder.Path()));
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);

    const Mqtt_Settings settings{.Enabled = true,
                                 .Host = "127.0.0.1",
                                 .Port = ntohs(address.sin_port),
                                 .User_Name = "potter",
                                 .Password = "kiln-secret",
                                 .Tls = true,
                                 .Ca_File = folder.File("no-such-ca.pem")};
    std::string heard;
    {
        Guard_Mqtt client(settings, "Studio kiln");
        client.Firing_Changed({.Plan = std::make_shared<const Plan_Points>()},
                              Firing_Event::Alarm_Raised, "Kiln guard: the firing was stopped");
        EXPECT_NE(client.Refused().find("no-such-ca.pem"), std::string::npos) << client.Refused();
        // A client that went ahead connects at once; give it a few seconds to show itself.
        pollfd ready{listener, POLLIN, 0};
        if (::poll(&ready, 1, 3000) > 0) {
            const int connection = ::accept(listener, nullptr, nullptr);
            char chunk[512];
            pollfd data{connection, POLLIN, 0};
            while (::poll(&data, 1, 2000) > 0) {
                const ssize_t got = ::read(connection, chunk, sizeof chunk);
                if (got <= 0) break;
                heard.append(chunk, static_cast<std::size_t>(got));
            }
            ::close(connection);
            ADD_FAILURE() << "the client connected";
        }
    }
    ::close(listener);
    EXPECT_EQ(heard.find("kiln-secret"), std::string::npos);
}

}  // namespace
}  // namespace corvanel
