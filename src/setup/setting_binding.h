// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "common/numeric.h"
#include "common/problem.h"
#include "common/text.h"
#include "setup/setting.h"
#include "setup/settings_store.h"

namespace corvanel {

// A feature's settings struct T with each member bound to the setting it is kept as, so
// the feature reads and writes T and never the strings. A setting declared with its
// binding takes its default from T{}: the struct's initialiser is the one place it is
// said. One declared elsewhere (named by a dialog or a test) is bound by its address.
template <class T>
class Setting_Bindings {
  public:
    using Member = std::variant<bool T::*, int T::*, double T::*, std::optional<double> T::*,
                                std::string T::*>;
    struct Binding {
        Binding(Setting declared, Member to)
            : Declared(std::make_shared<Setting>(std::move(declared))), Of(Declared.get()), To(to) {
            Declared->Default = Text_Of(*Of, To, T{});
        }
        Binding(const Setting* of, Member to) : Of(of), To(to) {}

        std::shared_ptr<Setting> Declared;  // kept here: the store knows a setting by address
        const Setting* Of;
        Member To;
    };

    Setting_Bindings(std::initializer_list<Binding> bindings) : Bindings_(bindings) {
        for (const Binding& binding : Bindings_) List_.push_back(binding.Of);
    }

    const std::vector<Binding>& Bindings() const { return Bindings_; }
    const Setting_List& Settings() const { return List_; }  // in the order bound

    // The member's value as its setting's file holds it: a switch as its On_Word or
    // Off_Word, a number in its shortest form, an unset number empty.
    static std::string Text_Of(const Setting& setting, Member member, const T& values) {
        return std::visit(
            [&](auto to) -> std::string {
                const auto& value = values.*to;
                using V = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<V, bool>) {
                    return value ? setting.On_Word : setting.Off_Word;
                } else if constexpr (std::is_same_v<V, int>) {
                    return Format_Whole(value);
                } else if constexpr (std::is_same_v<V, double>) {
                    return Format_Number(value);
                } else if constexpr (std::is_same_v<V, std::optional<double>>) {
                    return value ? Format_Number(*value) : std::string();
                } else {
                    return value;
                }
            },
            member);
    }

    // Sets the member from a value its setting took; an empty number leaves a plain
    // number as it is and unsets an optional one.
    static void Take(const Setting& setting, Member member, T& values, const std::string& text) {
        std::visit(
            [&](auto to) {
                auto& value = values.*to;
                using V = std::decay_t<decltype(value)>;
                const bool empty = text.find_first_not_of(' ') == std::string::npos;
                if constexpr (std::is_same_v<V, bool>) {
                    value = text == setting.On_Word;
                } else if constexpr (std::is_same_v<V, std::string>) {
                    value = text;
                } else if constexpr (std::is_same_v<V, std::optional<double>>) {
                    value = empty ? std::nullopt : std::optional<double>(Number_Of(text));
                } else if (!empty) {
                    value = static_cast<V>(Number_Of(text));
                }
            },
            member);
    }

    // Sets the member from a number kept by key (a switch as 1 or 0), with no text between.
    static void Take_Number(Member member, T& values, double number) {
        std::visit(
            [&](auto to) {
                auto& value = values.*to;
                using V = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<V, std::string>) {
                    value = Format_Number(number);
                } else if constexpr (std::is_same_v<V, bool>) {
                    value = number != 0;
                } else if constexpr (std::is_same_v<V, int>) {
                    value = static_cast<int>(number);
                } else {
                    value = number;
                }
            },
            member);
    }

  private:
    std::vector<Binding> Bindings_;
    Setting_List List_;
};

// The values the store holds now (each file read the first time), into the members.
template <class T>
void Values_Into(Settings_Store& store, const Setting_Bindings<T>& bindings, T& values) {
    for (const auto& binding : bindings.Bindings())
        Setting_Bindings<T>::Take(*binding.Of, binding.To, values, store.Value(*binding.Of));
}

// Reads each setting's file now; a value not taken leaves the one the store had, and is
// said in `problems`.
template <class T>
void Read_Into(Settings_Store& store, const Setting_Bindings<T>& bindings, T& values,
               std::vector<Problem>& problems) {
    for (const auto& binding : bindings.Bindings()) {
        Setting_Bindings<T>::Take(*binding.Of, binding.To, values,
                                  store.Read(*binding.Of, problems));
    }
}

// Writes every member; the first setting that could not be written is said.
template <class T>
Maybe_Problem Write_From(Settings_Store& store, const Setting_Bindings<T>& bindings,
                         const T& values) {
    Maybe_Problem first;
    for (const auto& binding : bindings.Bindings()) {
        Maybe_Problem problem =
            store.Write(*binding.Of, Setting_Bindings<T>::Text_Of(*binding.Of, binding.To, values));
        if (!first) first = std::move(problem);
    }
    return first;
}

}  // namespace corvanel
