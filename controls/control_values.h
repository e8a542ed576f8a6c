// Reading and writing control properties by name through the host, and the
// VB conversions the control tools make on property values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "addin/host_api.h"

namespace tarno::controls {

// CStr of a property value: whole numbers without a decimal point, True/False.
std::u16string VariantText(const ide::Variant& v);
// The value as a number (CDbl); nullopt for text that is not numeric.
std::optional<double> VariantNumber(const ide::Variant& v);
// Round to a whole number, halves to even (CInt/CLng of a Single).
int32_t RoundHalfEven(double v);

// Runs one step of a tool over many controls and properties; a host failure
// skips that step and the tool goes on with the next.
template <class F>
void Step(F&& f) {
  try {
    f();
  } catch (const ide::HostError&) {
  }
}

// Property.Value of the named property; throws ide::HostError when the
// control lacks it or the host fails.
ide::Variant ReadProperty(ide::VBControl& control, const std::u16string& name);
void WriteProperty(ide::VBControl& control, const std::u16string& name, const ide::Variant& value);
// The Font property's object (a host error when the control has none).
std::shared_ptr<ide::Font> ReadFont(ide::VBControl& control);
void WriteFont(ide::VBControl& control, const std::shared_ptr<ide::Font>& font);

// Text, else Caption, else empty: what the order lists show of a control.
std::u16string TextOrCaption(ide::VBControl& control);

// The selected component's designer when it is a form module (Type 5);
// nullptr otherwise or when the host fails.
std::shared_ptr<ide::VBForm> SelectedFormDesigner(ide::VBE& vbe);
bool SelectedIsForm(ide::VBE& vbe);

}  // namespace tarno::controls
