// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <string>

namespace corvanel {

// What the run adds to its files (the log, the firing record) while the disk refuses it
// (full, or gone read-only): kept in memory, file by file and in order, and written as
// soon as the disk takes it again. A full disk costs the firing nothing and its record
// only the wait. The operator is told once when the first text is kept back, and once
// when everything kept is written.
class Held_Writes {
  public:
    // Adds `text` to the file at `path`; false when the disk refused it.
    using Writer = std::function<bool(const std::string& path, const std::string& text)>;
    // About three days of a minutes firing's record and log, ticking every 3 s.
    static constexpr std::size_t Default_Limit = 16u << 20;

    // `tell` shows the operator a text in their language; beyond `limit_bytes` kept, a
    // new text is counted as lost (the first ones are kept: they hold the record's header).
    explicit Held_Writes(std::function<void(const std::string&)> tell = {},
                         std::size_t limit_bytes = Default_Limit)
        : Tell_(std::move(tell)), Limit_(limit_bytes) {}

    // Writes `text` after whatever is kept for that file, or keeps it. True when it is on
    // the disk now.
    bool Write(const std::string& path, const std::string& text, const Writer& writer);
    // Writes what is kept, each file's texts in order up to the first refusal.
    void Retry();

    bool Holding() const { return !Kept_.empty(); }
    bool Holding(const std::string& path) const { return Kept_.count(path) > 0; }
    std::size_t Kept_Bytes() const { return Bytes_; }

  private:
    struct File_Texts {
        Writer Write;
        std::deque<std::string> Texts;
    };
    void Keep(const std::string& path, const std::string& text, const Writer& writer);
    // False at the first refusal; an emptied file is forgotten.
    bool Flush(const std::string& path);
    void Tell_Change();

    std::function<void(const std::string&)> Tell_;
    std::size_t Limit_;
    std::map<std::string, File_Texts> Kept_;
    std::size_t Bytes_ = 0;
    long long Lost_ = 0;  // texts not kept since the outage began
    bool Told_ = false;   // the operator knows of the outage
};

}  // namespace corvanel
