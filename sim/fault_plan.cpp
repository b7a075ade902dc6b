// SPDX-License-Identifier: GPL-3.0-or-later
#include "fault_plan.h"

#include <cctype>
#include <cstdio>
#include <stdexcept>

namespace corvanel::sim {

const std::array<const char*, Fault_Count> Fault_Flag_Names = {
    "no-reply", "late-reply", "split-reply",     "corrupt-fcs",   "lower-fcs",   "end-0d",
    "tc-break", "garbage",    "elements-failed", "weak-elements", "stuck-relay", "cable-pulled",
};

bool Fault_Stays(Fault fault) {
    return fault == Fault::Elements_Failed || fault == Fault::Weak_Elements ||
           fault == Fault::Stuck_Relay || fault == Fault::Cable_Pulled;
}

bool Fault_Selector::Selects(long exchange, std::mt19937& random) const {
    if (Exchanges.count(exchange)) return true;
    if (Probability <= 0) return false;
    return std::uniform_real_distribution<double>(0.0, 1.0)(random) < Probability;
}

Fault_Selector Parse_Fault_Selector(std::string_view text) {
    Fault_Selector selector;
    if (text.substr(0, 3) == "at:") {
        std::string number;
        std::string list(text.substr(3));
        for (char c : list + ",") {
            if (c == ',') {
                if (number.empty())
                    throw std::invalid_argument("empty exchange number in '" + std::string(text) +
                                                "'");
                long value = std::stol(number);
                if (value < 1) throw std::invalid_argument("exchange numbers start at 1");
                selector.Exchanges.insert(value);
                number.clear();
            } else if (std::isdigit(static_cast<unsigned char>(c))) {
                number += c;
            } else {
                throw std::invalid_argument("'" + std::string(text) +
                                            "' is not a list of exchange numbers like at:3,7");
            }
        }
        return selector;
    }
    std::string value(text);
    std::size_t used = 0;
    double probability = -1;
    try {
        probability = std::stod(value, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (value.empty() || used != value.size() || !(probability >= 0 && probability <= 1)) {
        throw std::invalid_argument("'" + value +
                                    "' is neither a probability 0..1 nor a list like at:3,7");
    }
    selector.Probability = probability;
    return selector;
}

Kiln_Sim_Server::Kiln_Sim_Server(Controller_Model& model, Fault_Options options)
    : Model_(model), Options_(std::move(options)), Random_(Options_.Seed) {}

std::vector<Timed_Chunk> Kiln_Sim_Server::Serve(std::string_view frame) {
    long exchange = ++Exchange_Count_;
    std::array<bool, Fault_Count> hit{};
    for (std::size_t i = 0; i < Fault_Count; ++i) {
        hit[i] = Options_.Selectors[i].Selects(exchange, Random_);
        if (Fault_Stays(static_cast<Fault>(i))) hit[i] = Struck_[i] = Struck_[i] || hit[i];
    }
    auto is_hit = [&](Fault fault) { return hit[static_cast<std::size_t>(fault)]; };

    // The kiln's own faults act between exchanges too, as the model runs on.
    if (is_hit(Fault::Stuck_Relay)) {
        Model_.Set_Heating(Heating::Stuck_On);
    } else if (is_hit(Fault::Elements_Failed)) {
        Model_.Set_Heating(Heating::Failed);
    } else if (is_hit(Fault::Weak_Elements)) {
        Model_.Set_Heating(Heating::Weak);
    }
    if (is_hit(Fault::Cable_Pulled)) return {};

    // The sensor reads open for this exchange only.
    Model_.Set_Input_Break(is_hit(Fault::Thermocouple_Break));
    std::optional<std::string> body =
        Model_.Reply_Body(frame, is_hit(Fault::End_Code_0D) ? "0D" : "");
    Model_.Set_Input_Break(false);
    if (!body || is_hit(Fault::No_Reply)) return {};

    unsigned x = 0;
    for (char c : *body) x ^= static_cast<unsigned char>(c);
    if (is_hit(Fault::Corrupt_FCS)) x ^= 0x5A;
    char fcs[3];
    std::snprintf(fcs, sizeof fcs, is_hit(Fault::Lower_Case_FCS) ? "%02x" : "%02X", x);
    std::string reply = *body + fcs + "*\r";

    if (is_hit(Fault::Garbage)) {
        std::uniform_int_distribution<int> count(1, 4), byte(0x21, 0x7E);
        std::string noise;
        for (int i = count(Random_); i > 0; --i) noise += static_cast<char>(byte(Random_));
        reply = noise + reply;
    }

    double delay = is_hit(Fault::Late_Reply) ? Options_.Late_Seconds : 0.0;
    if (!is_hit(Fault::Split_Reply) || reply.size() < 2) return {{delay, reply}};

    // Two to four pieces, cut at random places.
    std::uniform_int_distribution<int> piece_count(2, 4);
    int pieces = std::min<int>(piece_count(Random_), static_cast<int>(reply.size()));
    std::set<std::size_t> cuts;
    std::uniform_int_distribution<std::size_t> cut(1, reply.size() - 1);
    while (static_cast<int>(cuts.size()) < pieces - 1) cuts.insert(cut(Random_));
    std::vector<Timed_Chunk> chunks;
    std::size_t start = 0;
    cuts.insert(reply.size());
    for (std::size_t end : cuts) {
        chunks.push_back({delay, reply.substr(start, end - start)});
        delay += Options_.Split_Gap_Seconds;
        start = end;
    }
    return chunks;
}

std::vector<std::string> Frame_Reader::Add(std::string_view received) {
    std::vector<std::string> frames;
    for (char c : received) {
        if (c == '\r') {
            frames.push_back(Pending_);
            Pending_.clear();
        } else if (c == '\n' && Pending_.empty()) {
            continue;
        } else {
            Pending_ += c;
        }
    }
    return frames;
}

}  // namespace corvanel::sim
