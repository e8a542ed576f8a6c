// A designer control's property values as the form view and the Properties
// window read them: numbers, texts and flags whatever type the file gave.
#pragma once

#include <QString>
#include <optional>
#include <string_view>
#include <type_traits>
#include <variant>

#include "host/controls.h"

namespace tarno::workbench {

inline double NumberOf(const std::optional<ide::Variant>& v, double fallback = 0) {
  if (!v) return fallback;
  return std::visit(
      [&](const auto& x) -> double {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, bool>) return x ? -1 : 0;
        else if constexpr (std::is_arithmetic_v<T>) return static_cast<double>(x);
        else return fallback;
      },
      *v);
}
inline double NumberOf(const host::MemControl& c, std::u16string_view name, double fallback = 0) {
  return NumberOf(c.Get(name), fallback);
}
inline int IntOf(const host::MemControl& c, std::u16string_view name, int fallback = 0) {
  return static_cast<int>(NumberOf(c.Get(name), fallback));
}
// VB's True is -1; any non-zero number counts.
inline bool FlagOf(const host::MemControl& c, std::u16string_view name, bool fallback = false) {
  return NumberOf(c.Get(name), fallback ? -1 : 0) != 0;
}
inline QString TextOf(const host::MemControl& c, std::u16string_view name) {
  auto v = c.Get(name);
  if (!v) return {};
  if (const auto* s = std::get_if<std::u16string>(&*v)) return QString::fromStdU16String(*s);
  return {};
}
inline std::u16string Utf16Of(const host::MemControl& c, std::u16string_view name) {
  auto v = c.Get(name);
  const auto* s = v ? std::get_if<std::u16string>(&*v) : nullptr;
  return s ? *s : std::u16string();
}

}  // namespace tarno::workbench
