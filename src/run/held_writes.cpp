// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/held_writes.h"

#include "common/problem.h"
#include "language/show_problem.h"

namespace corvanel {

bool Held_Writes::Write(const std::string& path, const std::string& text, const Writer& writer) {
    bool written = false;
    if (!Holding(path)) {
        written = writer(path, text);
        if (!written) Keep(path, text, writer);
    } else {
        Keep(path, text, writer);
        written = Flush(path);
    }
    Tell_Change();  // another file's texts may have gone out meanwhile too
    return written;
}

void Held_Writes::Retry() {
    if (!Holding()) return;
    for (auto next = Kept_.begin(); next != Kept_.end();) {
        const std::string path = (next++)->first;
        Flush(path);
    }
    Tell_Change();
}

void Held_Writes::Keep(const std::string& path, const std::string& text, const Writer& writer) {
    if (Bytes_ + text.size() > Limit_) {
        ++Lost_;
        return;
    }
    File_Texts& file = Kept_[path];
    file.Write = writer;
    file.Texts.push_back(text);
    Bytes_ += text.size();
}

bool Held_Writes::Flush(const std::string& path) {
    auto found = Kept_.find(path);
    if (found == Kept_.end()) return true;
    File_Texts& file = found->second;
    while (!file.Texts.empty()) {
        if (!file.Write(path, file.Texts.front())) return false;
        Bytes_ -= file.Texts.front().size();
        file.Texts.pop_front();
    }
    Kept_.erase(found);
    return true;
}

void Held_Writes::Tell_Change() {
    const bool holding = Holding();
    if (holding == Told_) {
        if (!holding) Lost_ = 0;
        return;
    }
    Told_ = holding;
    if (Tell_ && holding) {
        Tell_(Problem_Text(
            {Operator_Text::Phrase("The disk is full or cannot be written: the firing goes on, "
                                   "but its record cannot be saved"),
             Operator_Text::Phrase("Free some space on the disk: what the firing records "
                                   "meanwhile is kept and saved then")}));
    } else if (Tell_ && Lost_ == 0) {
        Tell_(Operator_Text_Shown(Operator_Text::Phrase(
            "The firing's record is saved again, with everything kept while the disk was full")));
    } else if (Tell_) {
        Tell_(Operator_Text_Shown(Operator_Text::Phrase(
            "The firing's record is saved again, but %1 of its lines could not be kept while "
            "the disk was full",
            {Operator_Text::Value(std::to_string(Lost_))})));
    }
    if (!holding) Lost_ = 0;
}

}  // namespace corvanel
