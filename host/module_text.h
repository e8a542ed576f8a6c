// A component's code as the IDE holds it: physical lines, each a code line or
// a hidden line. Hidden lines are the member attribute lines
// (`Attribute Name.VB_...`) wherever they stand below the header, after a
// procedure's or a variable's declaration alike; the editor does not show them, code line numbers skip them, and they are written back in place.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarno::host {

class ModuleText {
 public:
  struct PhysicalLine {
    std::u16string text;
    bool hidden = false;
    bool operator==(const PhysicalLine&) const = default;
  };

  ModuleText() = default;
  // The body of a component file (everything after its header), one entry per
  // physical line without line ends. Hidden lines are recognised here.
  explicit ModuleText(const std::vector<std::u16string>& bodyLines);
  explicit ModuleText(std::vector<std::u16string>&& bodyLines);
  // The same from one text holding every line: line i is
  // text[starts[i], starts[i + 1]) (starts has one entry more than there are
  // lines). The text is kept as it is, not copied line by line.
  ModuleText(std::u16string text, const std::vector<uint32_t>& starts);
  // Text with CR LF line ends; a final CR LF does not add an empty line.
  static ModuleText FromText(std::u16string_view text);
  // Splits at CR LF; "" gives no line, a final CR LF adds none.
  static std::vector<std::u16string> SplitLines(std::u16string_view text);
  // `Attribute Name.VB_...`, keyword in any case, leading blanks allowed.
  static bool IsMemberAttribute(std::u16string_view line);

  int CountOfLines() const { return static_cast<int>(lines_.size()); }
  // Code line n, 1-based; std::out_of_range outside 1..CountOfLines. The
  // view is valid until the next edit.
  std::u16string_view Line(int n) const;
  // Every line in file order, hidden ones flagged (for writing back).
  std::vector<PhysicalLine> PhysicalLines() const;
  // The hidden lines only, as views valid until the next edit.
  std::vector<std::u16string_view> HiddenLines() const;
  int PhysicalCount() const;
  // 0-based position of code line n among the physical lines (n may be
  // CountOfLines + 1: the position just after the last line).
  int PhysicalIndex(int n) const;
  // Puts the lines before code line `before` (1..CountOfLines + 1). Hidden
  // lines stay with the code line they follow.
  void InsertLines(int before, const std::vector<std::u16string>& lines);
  // Removes code lines start..start+count-1 and the hidden lines that follow them.
  void DeleteLines(int start, int count);
  // Code lines only, joined by CR LF.
  std::u16string CodeText() const;
  // Changes with every edit.
  uint64_t version() const { return version_; }

 private:
  // A line is a view into one of the text's buffers. Buffers never change
  // once written (an edit adds a buffer), so copies of a text share them and
  // a large module costs its characters and one small entry per line, not a
  // string each.
  using Buffer = std::shared_ptr<const std::u16string>;
  struct Entry {
    const char16_t* data = nullptr;
    uint32_t length = 0;
    // The hidden lines after this one; rare, so only a pointer in every
    // entry (a large module holds a million of them).
    std::unique_ptr<std::vector<std::u16string>> hiddenAfter;

    Entry(const char16_t* d, size_t n) : data(d), length(static_cast<uint32_t>(n)) {}
    Entry(const Entry& o) : data(o.data), length(o.length) {
      if (o.hiddenAfter) hiddenAfter = std::make_unique<std::vector<std::u16string>>(*o.hiddenAfter);
    }
    Entry& operator=(const Entry& o) {
      if (this != &o) *this = Entry(o);
      return *this;
    }
    Entry(Entry&&) noexcept = default;
    Entry& operator=(Entry&&) noexcept = default;
    ~Entry() = default;
    std::u16string_view text() const { return {data, length}; }
    void Hide(std::u16string line) {
      if (!hiddenAfter) hiddenAfter = std::make_unique<std::vector<std::u16string>>();
      hiddenAfter->push_back(std::move(line));
    }
    size_t HiddenCount() const { return hiddenAfter ? hiddenAfter->size() : 0; }
  };
  // Keeps `text` and adds an entry (or a hidden line) per line of it.
  void Classify(std::u16string text, const std::vector<uint32_t>& starts);
  // One buffer of the lines with their starts.
  static void Concatenate(const std::vector<std::u16string>& lines, std::u16string& text,
                          std::vector<uint32_t>& starts);
  void Touch();
  // After many edits: one buffer of the live lines again, so that deleted
  // text does not pile up.
  void CompactIfFragmented();

  std::vector<Buffer> buffers_;
  std::vector<Entry> lines_;
  mutable std::vector<int> physical_;  // prefix positions, rebuilt lazily
  mutable bool physicalValid_ = false;
  uint64_t version_ = 0;
};

}  // namespace tarno::host
