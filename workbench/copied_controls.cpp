#include "workbench/copied_controls.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "host/files/file_state.h"
#include "platform/vb_text.h"
#include "workbench/frx_values.h"

namespace tarno::workbench {

std::u16string ReferencedFile(const std::u16string& value) {
  if (value.size() < 4 || value[0] != u'"') return {};
  const size_t close = value.find(u'"', 1);
  if (close == std::u16string::npos || close + 1 >= value.size() || value[close + 1] != u':') return {};
  return value.substr(1, close - 1);
}

std::vector<std::u16string> ReferencesOf(const host::MemControl& control) {
  std::vector<std::u16string> out;
  for (int i = 0; i < control.PropertyCount(); ++i) {
    const host::PropType type = control.PropertyDef(i).type;
    if (type != host::PropType::Picture && type != host::PropType::Group) continue;
    const ide::Variant v = control.ValueAt(i);
    const auto* text = std::get_if<std::u16string>(&v);
    if (!text) continue;
    if (type == host::PropType::Picture) {
      if (!ReferencedFile(*text).empty()) out.push_back(*text);
      continue;
    }
    for (size_t pos = 0; (pos = text->find(u"= ", pos)) != std::u16string::npos;) {
      const size_t from = text->find_first_not_of(u' ', pos + 1);
      if (from == std::u16string::npos) break;
      const size_t to = text->find(u"\r\n", from);
      std::u16string value = text->substr(from, to == std::u16string::npos ? std::u16string::npos : to - from);
      if (!ReferencedFile(value).empty()) out.push_back(value);
      pos = from;
    }
  }
  return out;
}

CopiedControls CopyControls(const std::shared_ptr<host::MemComponent>& component,
                            const std::vector<std::shared_ptr<host::MemControl>>& chosen) {
  CopiedControls out;
  out.source = component;
  auto& designer = *component->designer();
  auto* state = static_cast<host::files::ComponentState*>(component->file_state.get());
  FrxValues files(state ? state->path.parent_path() : std::filesystem::path(),
                  state ? state->code_page : SystemCodePage());
  std::map<const host::MemControl*, int> taken;
  for (const auto& c : designer.controls()) {
    // Chosen, or inside a chosen one.
    int parent = -1;
    bool in = std::find(chosen.begin(), chosen.end(), c) != chosen.end();
    for (auto p = c->parent(); p; p = p->parent())
      if (auto it = taken.find(p.get()); it != taken.end()) {
        in = true;
        if (parent < 0 && p == c->parent()) parent = it->second;
      }
    if (!in) continue;
    taken[c.get()] = static_cast<int>(out.items.size());
    out.items.push_back({c->Copy(), parent});
    for (const auto& ref : ReferencesOf(*c)) {
      if (out.binaries.count(ref)) continue;
      const std::u16string file = ReferencedFile(ref);
      const std::string* bytes = designer.HeldBinary(file);
      if (!bytes) bytes = files.File(file);
      if (!bytes) continue;  // a missing file: the reference stays as it is
      const size_t offset = std::strtoul(vb::ToUtf8(ref.substr(file.size() + 3)).c_str(), nullptr, 16);
      out.binaries[ref] = {*bytes, offset};
      // A picture's record: its length, "lt\0\0" and the picture.
      if (offset + 8 > bytes->size() || bytes->compare(offset + 4, 4, std::string("lt\0\0", 4)) != 0) continue;
      uint32_t length = 0;
      for (int k = 3; k >= 0; --k) length = (length << 8) | static_cast<unsigned char>((*bytes)[offset + size_t(k)]);
      if (length <= bytes->size() - offset - 4) out.binaries[ref] = {bytes->substr(offset, 4 + size_t(length)), 0};
    }
  }
  return out;
}

}  // namespace tarno::workbench
