// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "controller_model.h"

namespace corvanel::sim {

// The faults the simulator can put into an exchange.
enum class Fault {
    No_Reply,
    Late_Reply,
    Split_Reply,
    Corrupt_FCS,
    Lower_Case_FCS,
    End_Code_0D,
    Thermocouple_Break,
    Garbage,
    Spike,  // the process value in the reply is off by Spike_Degrees, the kiln unchanged
    // Faults of the kiln itself: once they strike they stay, unless struck for a span of
    // exchanges, after which they end.
    Elements_Failed,  // no heating at all
    Weak_Elements,    // half power
    Stuck_Relay,      // full power whatever the controller's output
    Cable_Pulled,     // no reply to this exchange or any after it
};
inline constexpr std::size_t Fault_Count = 13;
// The faults that stay once they have struck.
bool Fault_Stays(Fault fault);
// The flag name of each fault, in the order above ("no-reply", ...).
extern const std::array<const char*, Fault_Count> Fault_Flag_Names;

// Which exchanges a fault hits: each with a probability, those with the given numbers
// (the first request received is exchange 1), and the spans of exchanges first..last.
struct Fault_Selector {
    double Probability = 0;
    std::set<long> Exchanges;
    std::vector<std::pair<long, long>> Spans;
    // A strike by probability or number; a fault that stays keeps it for good.
    bool Strikes(long exchange, std::mt19937& random) const;
    // Inside one of the spans; a fault that stays ends after its span.
    bool Holds(long exchange) const;
    bool Selects(long exchange, std::mt19937& random) const {
        return Holds(exchange) || Strikes(exchange, random);
    }
};
// "0.25" (a probability 0..1) or "at:3,7,12" whose items may be spans "5-40"; throws
// std::invalid_argument with a one-line reason otherwise.
Fault_Selector Parse_Fault_Selector(std::string_view text);

struct Fault_Options {
    std::array<Fault_Selector, Fault_Count> Selectors;
    double Late_Seconds = 0.6;        // a late reply comes this long after its request
    double Split_Gap_Seconds = 0.02;  // between the chunks of a split reply
    double Spike_Degrees = 200;       // how far off a spiked reading is
    unsigned Seed = 1;
    Fault_Selector& operator[](Fault fault) { return Selectors[static_cast<std::size_t>(fault)]; }
};

// Characters to write on the line, this long after the request arrived.
struct Timed_Chunk {
    double Delay_Seconds = 0;
    std::string Bytes;
};

// Turns request frames into the replies a controller on the line would send, with the
// faults asked for.
class Kiln_Sim_Server {
  public:
    Kiln_Sim_Server(Controller_Model& model, Fault_Options options);

    // One request frame without its line end; the chunks to send, none for no reply.
    std::vector<Timed_Chunk> Serve(std::string_view frame);

    long Exchange_Count() const { return Exchange_Count_; }

  private:
    Controller_Model& Model_;
    Fault_Options Options_;
    std::mt19937 Random_;
    long Exchange_Count_ = 0;
    std::array<bool, Fault_Count> Struck_{};  // the faults that stay, once struck
    bool Heating_Changed_ = false;            // an element or relay fault is in force
};

// Collects request frames from the characters received: a frame ends at CR; a line
// feed after it is skipped.
class Frame_Reader {
  public:
    std::vector<std::string> Add(std::string_view received);

  private:
    std::string Pending_;
};

}  // namespace corvanel::sim
