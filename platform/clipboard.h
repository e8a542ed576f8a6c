// The system clipboard: plain text and pictures (button faces). The portable
// implementation is one process-wide in-memory clipboard; a desktop front end
// can replace it with the real one.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tarno {

// A small ARGB picture (button faces, splash images).
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // row-major ARGB
  std::string name;              // role of the picture, e.g. "picComMnt"
  bool operator==(const Picture&) const = default;
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual void Clear() = 0;
  virtual void SetText(const std::u16string& text) = 0;
  virtual std::optional<std::u16string> GetText() const = 0;
  // SetData with no format argument: the picture replaces the contents.
  virtual void SetData(const Picture& picture) = 0;
  virtual std::optional<Picture> GetData() const = 0;
};

class MemoryClipboard : public Clipboard {
 public:
  void Clear() override { text_.reset(); picture_.reset(); }
  void SetText(const std::u16string& text) override { Clear(); text_ = text; }
  std::optional<std::u16string> GetText() const override { return text_; }
  void SetData(const Picture& picture) override { Clear(); picture_ = picture; }
  std::optional<Picture> GetData() const override { return picture_; }

 private:
  std::optional<std::u16string> text_;
  std::optional<Picture> picture_;
};

// The clipboard the tools use; a MemoryClipboard unless replaced.
Clipboard& SystemClipboard();
// Replaces the system clipboard (tests, front ends); nullptr restores the default.
void SetSystemClipboard(std::shared_ptr<Clipboard> clipboard);

}  // namespace tarno
