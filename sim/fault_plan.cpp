// SPDX-License-Identifier: GPL-3.0-or-later
#include "fault_plan.h"

#include <cctype>
#include <cstdio>
#include <stdexcept>

namespace corvanel::sim {

namespace {
constexpr std::array<const char*, Fault_Count> Flag_Names = {
    "no-reply",      "late-reply",  "split-reply",  "corrupt-fcs", "lower-fcs",
    "end-0d",        "tc-break",    "garbage",      "spike",       "elements-failed",
    "weak-elements", "stuck-relay", "cable-pulled",
};
static_assert(Flag_Names.back() != nullptr, "every fault has its flag name");
}  // namespace

const std::array<const char*, Fault_Count> Fault_Flag_Names = Flag_Names;

bool Fault_Stays(Fault fault) {
    return fault == Fault::Elements_Failed || fault == Fault::Weak_Elements ||
           fault == Fault::Stuck_Relay || fault == Fault::Cable_Pulled;
}

bool Fault_Selector::Strikes(long exchange, std::mt19937& random) const {
    if (Exchanges.count(exchange)) return true;
    if (Probability <= 0) return false;
    return std::uniform_real_distribution<double>(0.0, 1.0)(random) < Probability;
}

bool Fault_Selector::Holds(long exchange) const {
    for (auto [first, last] : Spans)
        if (exchange >= first && exchange <= last) return true;
    return false;
}

Fault_Selector Parse_Fault_Selector(std::string_view text) {
    Fault_Selector selector;
    if (text.substr(0, 3) == "at:") {
        std::string whole(text);
        auto number_of = [&](const std::string& digits) {
            if (digits.empty() || digits.size() > 9 ||
                digits.find_first_not_of("0123456789") != std::string::npos) {
                throw std::invalid_argument(
                    "'" + whole + "' is not a list of exchange numbers like at:3,7 or at:5-40");
            }
            long value = std::stol(digits);
            if (value < 1) throw std::invalid_argument("exchange numbers start at 1");
            return value;
        };
        std::string item;
        for (char c : std::string(text.substr(3)) + ",") {
            if (c != ',') {
                item += c;
                continue;
            }
            std::size_t dash = item.find('-');
            if (dash == std::string::npos) {
                selector.Exchanges.insert(number_of(item));
            } else {
                long first = number_of(item.substr(0, dash));
                long last = number_of(item.substr(dash + 1));
                if (last < first)
                    throw std::invalid_argument("the span " + item + " ends before it starts");
                selector.Spans.push_back({first, last});
            }
            item.clear();
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
        const Fault_Selector& selector = Options_.Selectors[i];
        if (!Fault_Stays(static_cast<Fault>(i))) {
            hit[i] = selector.Selects(exchange, Random_);
            continue;
        }
        // Struck by number or probability, it stays; held by a span, it ends with it.
        bool strikes = selector.Strikes(exchange, Random_);
        Struck_[i] = Struck_[i] || strikes;
        hit[i] = Struck_[i] || selector.Holds(exchange);
    }
    auto is_hit = [&](Fault fault) { return hit[static_cast<std::size_t>(fault)]; };

    // The kiln's own faults act between exchanges too, as the model runs on; when the
    // last of them ends, the elements heat as the controller asks again.
    bool heating_fault = true;
    if (is_hit(Fault::Stuck_Relay)) {
        Model_.Set_Heating(Heating::Stuck_On);
    } else if (is_hit(Fault::Elements_Failed)) {
        Model_.Set_Heating(Heating::Failed);
    } else if (is_hit(Fault::Weak_Elements)) {
        Model_.Set_Heating(Heating::Weak);
    } else {
        heating_fault = false;
        if (Heating_Changed_) Model_.Set_Heating(Heating::Normal);
    }
    Heating_Changed_ = heating_fault;
    if (is_hit(Fault::Cable_Pulled)) return {};

    // The sensor reads open, or off by the spike, for this exchange only.
    Model_.Set_Input_Break(is_hit(Fault::Thermocouple_Break));
    Model_.Set_Reading_Offset(is_hit(Fault::Spike) ? Options_.Spike_Degrees : 0.0);
    std::optional<std::string> body =
        Model_.Reply_Body(frame, is_hit(Fault::End_Code_0D) ? "0D" : "");
    Model_.Set_Input_Break(false);
    Model_.Set_Reading_Offset(0.0);
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
