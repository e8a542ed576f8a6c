#include "controls/order_list.h"

#include <algorithm>
#include <optional>

#include "controls/control_values.h"
#include "platform/vb_text.h"

namespace tarno::controls {

namespace {

int32_t PositionOf(ide::VBControl& c, const char16_t* name) {
  auto n = VariantNumber(ReadProperty(c, name));
  if (!n) throw ide::HostError("Property.Value", "the position is not a number");
  return RoundHalfEven(*n);
}

int16_t IndexOf(ide::VBControl& c) {
  auto n = VariantNumber(ReadProperty(c, u"Index"));
  if (!n) throw ide::HostError("Property.Value", "the index is not a number");
  return static_cast<int16_t>(RoundHalfEven(*n));
}

std::u16string DisplayName(const std::u16string& name, int index) {
  if (index < 0) return name;
  return name + u"(" + vb::FromInt(index) + u")";
}

bool Comparable(const OrderRow& r) { return !r.empty && r.positioned; }

}  // namespace

std::u16string OrderRow::TopText() const { return positioned && !empty ? vb::FromInt(Top) : u""; }
std::u16string OrderRow::LeftText() const { return positioned && !empty ? vb::FromInt(Left) : u""; }

void SortByPosition(std::vector<OrderRow>& rows) {
  const int n = static_cast<int>(rows.size());
  for (int p = 0; p <= n - 1; ++p) {
    for (int j = n - 2; j >= p; --j) {
      OrderRow& a = rows[size_t(j)];
      OrderRow& b = rows[size_t(j) + 1];
      if (!Comparable(a) || !Comparable(b)) continue;
      if (b.Top < a.Top || (b.Top == a.Top && b.Left < a.Left)) std::swap(a, b);
    }
  }
}

int MoveRowUp(std::vector<OrderRow>& rows, int k) {
  if (k <= 1 || k > static_cast<int>(rows.size())) return k;
  std::swap(rows[size_t(k) - 2], rows[size_t(k) - 1]);
  return k - 1;
}

int MoveRowDown(std::vector<OrderRow>& rows, int k) {
  if (k < 1 || k >= static_cast<int>(rows.size())) return k;
  std::swap(rows[size_t(k) - 1], rows[size_t(k)]);
  return k + 1;
}

std::vector<OrderRow> TabIndexRows(ide::VBForm& designer) {
  std::vector<OrderRow> rows;
  auto controls = designer.VBControls();
  const int n = controls->Count();
  for (int i = 1; i <= n; ++i) {
    auto c = controls->Item(i);
    OrderRow r;
    r.No = i;
    try {
      r.Value = VariantText(ReadProperty(*c, u"TabIndex"));
      r.Top = PositionOf(*c, u"Top");
      r.Left = PositionOf(*c, u"Left");
      r.Name = DisplayName(VariantText(ReadProperty(*c, u"Name")), IndexOf(*c));
    } catch (const ide::HostError&) {
      continue;  // no tab order to give
    }
    r.Text = TextOrCaption(*c);
    rows.push_back(std::move(r));
  }
  SortByPosition(rows);
  return rows;
}

int SetTabIndexes(ide::VBForm& designer, const std::vector<OrderRow>& rows) {
  auto controls = designer.VBControls();
  int refused = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    try {
      WriteProperty(*controls->Item(rows[i].No), u"TabIndex", static_cast<int16_t>(i));
    } catch (const ide::HostError&) {
      ++refused;
    }
  }
  return refused;
}

IndexTable BuildIndexTable(ide::VBForm& designer) {
  IndexTable t;
  auto controls = designer.VBControls();
  const int n = controls->Count();
  std::u16string current;
  for (int i = 1; i <= n; ++i) {
    auto c = controls->Item(i);
    OrderRow r;
    r.No = i;
    int16_t index = -1;
    std::u16string name;
    try {
      index = IndexOf(*c);
      name = VariantText(ReadProperty(*c, u"Name"));
    } catch (const ide::HostError&) {
      index = -1;
    }
    if (index == -1) {
      r.empty = true;
      t.slots.push_back(std::move(r));
      continue;
    }
    const std::u16string trimmed = vb::Trim(name);
    if (trimmed != vb::Trim(current)) {
      auto it = std::find_if(t.arrays.begin(), t.arrays.end(), [&](const ArrayRecord& a) { return a.name == trimmed; });
      if (it != t.arrays.end())
        ++it->count;
      else
        t.arrays.push_back({trimmed, 1, 0});
      current = name;
    }
    r.Name = DisplayName(name, index);
    r.Value = vb::FromInt(index);
    r.Text = TextOrCaption(*c);
    try {
      r.Top = PositionOf(*c, u"Top");
      r.Left = PositionOf(*c, u"Left");
    } catch (const ide::HostError&) {
      r.positioned = false;  // a menu item: listed after the others
    }
    t.slots.push_back(std::move(r));
  }
  SortByPosition(t.slots);
  return t;
}

std::vector<OrderRow> IndexTable::Rows() const {
  std::vector<OrderRow> out;
  for (const auto& s : slots)
    if (!s.empty && s.positioned) out.push_back(s);
  for (const auto& s : slots)
    if (!s.empty && !s.positioned) out.push_back(s);
  return out;
}

bool IndexTable::NoFreeIndex() const {
  return std::any_of(arrays.begin(), arrays.end(), [](const ArrayRecord& a) { return a.count == 32767; });
}

namespace {

// Moves every control to a free index of its array, counting down from
// 32767; the host refuses an index that another member holds.
void MoveToTemporary(const std::vector<std::shared_ptr<ide::VBControl>>& members) {
  int next = 32767;
  for (const auto& c : members) {
    for (;; --next) {
      if (next < 0) throw ide::HostError("Property.SetValue", "no free index left");
      try {
        WriteProperty(*c, u"Index", static_cast<int16_t>(next));
        --next;
        break;
      } catch (const ide::HostError&) {
        continue;
      }
    }
  }
}

}  // namespace

IndexSetResult SetIndexes(ide::VBForm& designer, const std::vector<ArrayRecord>& arrays,
                          const std::vector<OrderRow>& rows) {
  std::vector<std::shared_ptr<ide::VBControl>> members;
  std::vector<int16_t> original;
  std::vector<size_t> record;
  try {
    auto controls = designer.VBControls();
    for (const auto& r : rows) {
      auto c = controls->Item(r.No);
      const std::u16string name = vb::Trim(VariantText(ReadProperty(*c, u"Name")));
      auto it = std::find_if(arrays.begin(), arrays.end(), [&](const ArrayRecord& a) { return a.name == name; });
      if (it == arrays.end()) return IndexSetResult::Failed;
      original.push_back(IndexOf(*c));
      record.push_back(static_cast<size_t>(it - arrays.begin()));
      members.push_back(std::move(c));
    }
  } catch (const ide::HostError&) {
    return IndexSetResult::Failed;
  }
  try {
    MoveToTemporary(members);
    std::vector<std::optional<int32_t>> next(arrays.size());
    for (size_t i = 0; i < members.size(); ++i) {
      auto& slot = next[record[i]];
      if (!slot) slot = arrays[record[i]].firstIndex;
      WriteProperty(*members[i], u"Index", static_cast<int16_t>(*slot));
      ++*slot;
    }
    return IndexSetResult::Done;
  } catch (const ide::HostError&) {
  }
  // Put every member back where it was, so the form is never left half renumbered.
  try {
    MoveToTemporary(members);
    for (size_t i = 0; i < members.size(); ++i) WriteProperty(*members[i], u"Index", original[i]);
  } catch (const ide::HostError&) {
  }
  return IndexSetResult::Failed;
}

}  // namespace tarno::controls
