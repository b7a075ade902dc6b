// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace corvanel::fuzz {

// Reads the fuzzer's bytes front to back: small numbers for choices, then text.
class Fuzz_Input {
  public:
    Fuzz_Input(const std::uint8_t* data, std::size_t size) : Data_(data), Size_(size) {}

    std::uint8_t Byte() { return At_ < Size_ ? Data_[At_++] : 0; }
    bool Empty() const { return At_ >= Size_; }
    // A piece ended by a zero byte (or the end): lets one input carry several texts.
    std::string Piece() {
        std::string text;
        while (At_ < Size_ && Data_[At_] != 0) text.push_back(static_cast<char>(Data_[At_++]));
        if (At_ < Size_) ++At_;
        return text;
    }
    std::string Rest() {
        std::string text(reinterpret_cast<const char*>(Data_ + At_), Size_ - At_);
        At_ = Size_;
        return text;
    }

  private:
    const std::uint8_t* Data_;
    std::size_t Size_;
    std::size_t At_ = 0;
};

// Runs a step that may refuse its input with a `Refusal`; anything else escapes.
template <class Refusal, class Step>
void Allowing(Step step) {
    try {
        step();
    } catch (const Refusal&) {
    }
}

// A file of this process's own in the temporary folder, for readers that take a path;
// Write_Whole_File makes its folder.
inline std::string Scratch_File(const char* name) {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("corvanel-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

}  // namespace corvanel::fuzz
