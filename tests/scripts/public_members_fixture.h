// SPDX-License-Identifier: GPL-3.0-or-later
// A class for scripts/public_members to count, in the shapes this code base writes; the
// comments say what it must make of each line. Never compiled.
#pragma once

#include <functional>
#include <string>

namespace corvanel {

class Kiln_Door;  // a declaration only: not the class

// The members hidden in a comment do not count: int Commented_Out; void Nor_This();
class Kiln_Door : public QObject, public Door {
    Q_OBJECT
    int Private_By_Default = 0;

  public:
    explicit Kiln_Door(int size, QObject* parent = nullptr);
    ~Kiln_Door() override;
    Kiln_Door& operator=(const Kiln_Door&) = delete;
    bool operator==(const Kiln_Door& other) const { return Size_ == other.Size_; }
    void operator()(int) {}
    int Size() const {
        return Size_;  // a body over several lines; int Not_A_Member;
    }
    void Open(const std::string& why,
              const std::function<void(int)>& then = {});  // one over two lines
    virtual void Close() = 0;
    template <typename Step> void Each(Step step);
    static Kiln_Door Made(int size);

    struct Latch {  // a nested type: its members are its own; none of it counts
        int Pins = 2;
        void Lock();
    };
    using Callback = std::function<void()>;
    friend class Door_Test;

    Kiln_Door(const std::string& name) : Name_(name), Size_{0} { Swing(); }
    auto Width_In_Mm() const -> double { return Width * 25.4; }
    Q_PROPERTY(int Size READ Size)
    /* void Block_Commented(); */
    std::string Label = "Door (front); kept";
    char Mark = '{';
    std::function<void(int, int)> Moved;
    Latch Top{3, [](int x) { return x; }};
    bool Open_Now = false, Locked = true;
    int Hinges, Bolts;
    std::array<std::array<int, 2>, 3> Grid{};
    static constexpr int Limit = 1'000;
    decltype(Limit) Same_As_Limit = Limit;
    int Doubled = Twice(Limit);
    Timer_State Tick{false, 60000};
    std::int16_t Width = 0;

  protected:
    void Protected_Step();
    int Protected_Count = 0;

  public slots:
    void Swing();

  signals:
    void Swung(int degrees);

  private:
    int Size_ = 0;
    std::string Name_;
};

// A struct's members are public until a section says otherwise.
struct Door_Parts {
    int Screws = 4;
    void Count();

  private:
    int Hidden = 0;
};

}  // namespace corvanel
