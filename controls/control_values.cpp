#include "controls/control_values.h"

#include <cmath>
#include <cstdio>

#include "platform/vb_text.h"

namespace tarno::controls {

std::u16string VariantText(const ide::Variant& v) {
  return std::visit(
      [](const auto& x) -> std::u16string {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          return u"";
        } else if constexpr (std::is_same_v<T, bool>) {
          return x ? u"True" : u"False";
        } else if constexpr (std::is_same_v<T, std::u16string>) {
          return x;
        } else if constexpr (std::is_integral_v<T>) {
          return vb::FromInt(x);
        } else {
          double d = static_cast<double>(x);
          if (d == std::trunc(d) && std::fabs(d) < 1e15) return vb::FromInt(static_cast<long long>(d));
          char buf[64];
          std::snprintf(buf, sizeof buf, std::is_same_v<T, float> ? "%.7g" : "%.15g", d);
          return vb::U(buf);
        }
      },
      v);
}

std::optional<double> VariantNumber(const ide::Variant& v) {
  return std::visit(
      [](const auto& x) -> std::optional<double> {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          return std::nullopt;
        } else if constexpr (std::is_same_v<T, bool>) {
          return x ? -1.0 : 0.0;
        } else if constexpr (std::is_same_v<T, std::u16string>) {
          return vb::ToDouble(x);
        } else {
          return static_cast<double>(x);
        }
      },
      v);
}

int32_t RoundHalfEven(double v) {
  // The default rounding mode rounds halves to even, as VB's CInt does.
  double r = std::nearbyint(v);
  if (r > 2147483647.0) return INT32_MAX;
  if (r < -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(r);
}

ide::Variant ReadProperty(ide::VBControl& control, const std::u16string& name) {
  return control.Properties()->Item(name)->Value();
}

void WriteProperty(ide::VBControl& control, const std::u16string& name, const ide::Variant& value) {
  control.Properties()->Item(name)->SetValue(value);
}

std::shared_ptr<ide::Font> ReadFont(ide::VBControl& control) {
  auto font = control.Properties()->Item(u"Font")->Object();
  if (!font) throw ide::HostError("Property.Object", "Font is not an object");
  return font;
}

void WriteFont(ide::VBControl& control, const std::shared_ptr<ide::Font>& font) {
  control.Properties()->Item(u"Font")->SetObject(font);
}

std::u16string TextOrCaption(ide::VBControl& control) {
  try {
    return VariantText(ReadProperty(control, u"Text"));
  } catch (const ide::HostError&) {
  }
  try {
    return VariantText(ReadProperty(control, u"Caption"));
  } catch (const ide::HostError&) {
  }
  return u"";
}

bool SelectedIsForm(ide::VBE& vbe) {
  try {
    auto component = vbe.SelectedVBComponent();
    return component && component->Type() == ide::ComponentType::VBForm;
  } catch (const ide::HostError&) {
    return false;
  }
}

std::shared_ptr<ide::VBForm> SelectedFormDesigner(ide::VBE& vbe) {
  try {
    auto component = vbe.SelectedVBComponent();
    if (!component || component->Type() != ide::ComponentType::VBForm) return nullptr;
    return component->Designer();
  } catch (const ide::HostError&) {
    return nullptr;
  }
}

}  // namespace tarno::controls
