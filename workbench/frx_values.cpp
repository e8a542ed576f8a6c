#include "workbench/frx_values.h"

#include <cctype>

#include "platform/text_file.h"
#include "platform/vb_text.h"

namespace tarno::workbench {
namespace {

uint32_t Word(std::string_view b, size_t at) {
  return static_cast<unsigned char>(b[at]) | static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8;
}
uint32_t DWord(std::string_view b, size_t at) { return Word(b, at) | Word(b, at + 2) << 16; }

// The file of a reference, looked for as written and then without regard to
// case (the projects come from a file system that ignores it).
std::filesystem::path Locate(const std::filesystem::path& folder, const std::string& name) {
  std::filesystem::path exact = folder / name;
  std::error_code ec;
  if (std::filesystem::exists(exact, ec)) return exact;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string found = entry.path().filename().string();
    if (found.size() == name.size() &&
        std::equal(found.begin(), found.end(), name.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        }))
      return entry.path();
  }
  return exact;
}

}  // namespace

FrxValues::FrxValues(std::filesystem::path folder, CodePage codePage)
    : folder_(std::move(folder)), code_page_(std::move(codePage)) {}

std::optional<std::string_view> FrxValues::At(const std::u16string& reference) {
  // "name":hex
  if (reference.size() < 4 || reference[0] != u'"') return std::nullopt;
  const size_t close = reference.find(u'"', 1);
  if (close == std::u16string::npos || close + 2 > reference.size() || reference[close + 1] != u':') return std::nullopt;
  uint64_t offset = 0;
  for (size_t i = close + 2; i < reference.size(); ++i) {
    const char16_t ch = reference[i];
    int digit = ch >= u'0' && ch <= u'9' ? ch - u'0' : ch >= u'A' && ch <= u'F' ? ch - u'A' + 10
                : ch >= u'a' && ch <= u'f' ? ch - u'a' + 10 : -1;
    if (digit < 0 || offset > (1u << 30)) return std::nullopt;
    offset = offset * 16 + static_cast<uint64_t>(digit);
  }
  const std::string* bytes = File(reference.substr(1, close - 1));
  if (!bytes || offset >= bytes->size()) return std::nullopt;
  return std::string_view(*bytes).substr(offset);
}

const std::string* FrxValues::File(const std::u16string& name) {
  if (held)
    if (const std::string* bytes = held(name)) return bytes;
  const std::filesystem::path path = Locate(folder_, vb::ToUtf8(name));
  auto [it, fresh] = files_.try_emplace(path);
  if (fresh) {
    try {
      it->second = files::ReadAllBytes(path);
    } catch (const std::exception&) {
      it->second.reset();
    }
  }
  return it->second ? &*it->second : nullptr;
}

void FrxValues::Forget() {
  files_.clear();
  pictures_.clear();
}

QImage FrxValues::Picture(const std::u16string& reference) {
  if (auto it = pictures_.find(reference); it != pictures_.end()) return it->second;
  QImage image;
  if (auto b = At(reference); b && b->size() >= 12) {
    size_t start = 4, length = DWord(*b, 0);
    if (b->substr(4, 4) == std::string_view("lt\0\0", 4)) {
      start = 12;
      length = DWord(*b, 8);
    }
    if (length <= b->size() - std::min(start, b->size()) && length > 0)
      image.loadFromData(reinterpret_cast<const uchar*>(b->data() + start), static_cast<int>(length));
  }
  pictures_[reference] = image;
  return image;
}

QStringList FrxValues::List(const std::u16string& reference) {
  QStringList items;
  auto b = At(reference);
  if (!b || b->size() < 4) return items;
  const uint32_t count = Word(*b, 0);
  size_t at = 4;
  for (uint32_t i = 0; i < count && at + 2 <= b->size(); ++i) {
    const uint32_t n = Word(*b, at);
    at += 2;
    if (n > b->size() - at) break;
    items << QString::fromStdU16String(code_page_.Decode(b->substr(at, n)));
    at += n;
  }
  return items;
}

}  // namespace tarno::workbench
