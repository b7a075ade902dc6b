// SPDX-License-Identifier: GPL-3.0-or-later
// The controller's replies: whatever comes back on the line, in pieces split anywhere,
// to each of the eleven commands. The first byte of each round chooses the command, a
// zero-ended piece is the reply, the bytes after it say where the line splits it.

#include <functional>
#include <vector>

#include "controller/front_panel_model.h"
#include "controller/protocol.h"
#include "controller/serial_link.h"
#include "fuzz_input.h"

using namespace corvanel;

namespace {

struct Silent_Line : Request_Sink {
    void Transmit(const std::string&) override {}
};

// The pause delivers the next chunk of the reply into the protocol's buffer.
struct Chunk_Waiter : Reply_Waiter {
    std::string* Buffer = nullptr;
    std::vector<std::string> Chunks;
    std::size_t Next = 0;
    void Wait(double) override {
        if (Buffer && Next < Chunks.size()) *Buffer += Chunks[Next++];
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Fuzz_Input input(data, size);
    FrontPanel panel;
    Chunk_Waiter waiter;
    InOut_Functions protocol(panel, waiter);
    Silent_Line line;
    protocol.Connect(line);
    waiter.Buffer = &protocol.Reply_Buffer;
    const std::function<void(std::uint8_t&, std::int16_t&)> commands[] = {
        [&](auto& unit, auto& value) { protocol.Write_SV(unit, value); },
        [&](auto& unit, auto&) { protocol.Read_SV(unit); },
        [&](auto& unit, auto&) { protocol.Read_PV(unit); },
        [&](auto& unit, auto&) { protocol.Set_Write_Mode_Backup(unit); },
        [&](auto& unit, auto&) { protocol.Set_Write_Mode_RAM(unit); },
        [&](auto& unit, auto&) { protocol.Save_RAM_To_NV(unit); },
        [&](auto& unit, auto&) { protocol.Read_Status(unit); },
        [&](auto& unit, auto&) { protocol.Read_Output(unit); },
        [&](auto& unit, auto&) { protocol.Read_Limits(unit); },
        [&](auto& unit, auto&) { protocol.Start_Auto_Tune(unit); },
        [&](auto& unit, auto&) { protocol.Stop_Auto_Tune(unit); }};

    for (int round = 0; round < 16 && !input.Empty(); ++round) {
        const int command = input.Byte() % 11;
        std::uint8_t unit = input.Byte();
        std::string reply = input.Piece();
        waiter.Chunks.clear();
        waiter.Next = 0;
        for (std::size_t at = 0, length; at < reply.size(); at += length) {
            length = 1 + input.Byte() % 32;
            waiter.Chunks.push_back(reply.substr(at, length));
        }
        std::int16_t value = static_cast<std::int16_t>(input.Byte() << 8 | input.Byte());
        commands[command](unit, value);
    }
    return 0;
}
