#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace corvanel::fuzz {

// Reads the fuzzer's bytes front to back: small numbers for choices, then text.
class Fuzz_Input {
  public:
    Fuzz_Input(const std::uint8_t* data, std::size_t size) : Data_(data), Size_(size) {}

    std::uint8_t Byte() { return At_ < Size_ ? Data_[At_++] : 0; }
    bool Empty() const { return At_ >= Size_; }
    // Up to `length` bytes, fewer at the end.
    std::string Text(std::size_t length) {
        std::size_t n = Size_ - At_ < length ? Size_ - At_ : length;
        std::string text(reinterpret_cast<const char*>(Data_ + At_), n);
        At_ += n;
        return text;
    }
    // A piece ended by a zero byte (or the end): lets one input carry several texts.
    std::string Piece() {
        std::string text;
        while (At_ < Size_ && Data_[At_] != 0) text.push_back(static_cast<char>(Data_[At_++]));
        if (At_ < Size_) ++At_;
        return text;
    }
    std::string Rest() { return Text(Size_ - At_); }

  private:
    const std::uint8_t* Data_;
    std::size_t Size_;
    std::size_t At_ = 0;
};

// A file of this process's own in the temporary folder, for readers that take a path.
std::string Scratch_File(const char* name);
void Write_Scratch(const std::string& path, const std::string& bytes);

}  // namespace corvanel::fuzz
