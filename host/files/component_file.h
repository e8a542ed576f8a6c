// A VB 6 component file (.bas, .cls, .frm, .ctl, .pag, .dob, .dsr) split into
// the header the IDE hides (VERSION, Object = lines, the designer block,
// module Attribute lines) and the body, with the designer block parsed into a
// tree. Every line keeps its bytes, so writing gives back the file exactly.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/files/file_error.h"
#include "host/files/text_lines.h"

namespace tarno::host::files {

struct DesignerNode {
  enum class Kind : uint8_t {
    Block,     // Begin <type> <name> ... End (a control, the form, a class's BEGIN block)
    Group,     // BeginProperty <name> [{guid}] ... EndProperty
    Property,  // <name> = <value>
    Other,     // a line kept as it is (blank, or one that does not parse)
  };
  Kind kind = Kind::Other;
  int parent = -1;        // index of the enclosing block or group, -1 at the top
  size_t line = 0;        // 0-based line of the Begin/BeginProperty/property line
  size_t end_line = 0;    // 0-based line of End/EndProperty (== line for the others)
  std::string type;       // Block: "VB.TextBox", "{GUID}" or "" (class BEGIN); Group: "{GUID}" or ""
  std::string name;       // Block: control name; Group and Property: property name
  std::string value;      // Property: the text after "=" and its blanks, comment included
  size_t indent = 0;      // leading blanks of the line
  std::vector<int> children;
};

struct HeaderAttribute {
  size_t line = 0;
  std::string name;   // "VB_Name"
  std::string value;  // raw text after "=", e.g. "\"Form1\""
};

class ComponentFile {
 public:
  // Parses bytes read from `path` (the path only names the file in messages).
  static ComponentFile Parse(const std::filesystem::path& path, std::string bytes, Warnings* warnings);
  static ComponentFile Load(const std::filesystem::path& path, Warnings* warnings);

  const std::filesystem::path& path() const { return path_; }
  const TextLines& text() const { return text_; }
  // Lines [0, header_end) are the hidden header; the body follows.
  size_t header_end() const { return header_end_; }
  size_t body_size() const { return text_.size() - header_end_; }
  std::string_view body_line(size_t i) const { return text_.line(header_end_ + i); }

  const std::vector<DesignerNode>& nodes() const { return nodes_; }
  // Top-level blocks in file order (normally one: the designer or a class's BEGIN block).
  const std::vector<int>& roots() const { return roots_; }
  // The designer block (a Begin with a type: "VB.Form", "{GUID}"), -1 without one.
  int designer_root() const;
  const std::vector<HeaderAttribute>& attributes() const { return attributes_; }
  // The unquoted value of `Attribute VB_Name`, if the header has one.
  std::optional<std::string> VbName() const;
  // The property of a block or group by name (ASCII case-insensitive), -1 if absent.
  int FindProperty(int node, std::string_view name) const;

 private:
  std::filesystem::path path_;
  TextLines text_;
  size_t header_end_ = 0;
  std::vector<DesignerNode> nodes_;
  std::vector<int> roots_;
  std::vector<HeaderAttribute> attributes_;
};

// Small byte-level helpers shared by the file readers.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool StartsWithWord(std::string_view line, std::string_view word);  // case-insensitive, then blank/end
std::string_view TrimBlanks(std::string_view s);                  // spaces and tabs
std::string Unquote(std::string_view s);                          // "a""b" -> a"b; unquoted text as it is

}  // namespace tarno::host::files
