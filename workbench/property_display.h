// Property values as VB's Properties window shows and takes them: enumerated
// values with their names ("2 - Sizable"), colours as &H8000000F&, booleans
// as True and False, a font by its name, a picture by its kind; and the
// category each property is listed under.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "host/controls.h"

namespace tarno::workbench {

// "(Name)" for Name, the property's own name otherwise.
QString ShownName(const host::PropDef& def);
// "Appearance", "Behavior", "DDE", "Font", "List", "Misc", "Position", "Scale".
QString CategoryOf(const host::PropDef& def);
// The names of an enumerated property's values for the control's class
// ("0 - None", "1 - Fixed Single", ...); empty for other properties.
QStringList EnumNames(const host::MemControl& control, const host::PropDef& def);
bool IsColour(const host::PropDef& def);
QString DisplayValue(const host::MemControl& control, const host::PropDef& def);
// The value a typed text stands for, converted to the property's type;
// nullopt when VB would refuse it ("Invalid property value").
std::optional<ide::Variant> ParseValue(const host::MemControl& control, const host::PropDef& def, const QString& text);

}  // namespace tarno::workbench
