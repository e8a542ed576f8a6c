// Any bytes as a project file, a group or a component file: the load either
// fails with ProjectFileError or gives a model that writes back every file it
// read byte for byte, and a save with no edit writes nothing.
//
// Input: one selector byte (file kind in the low bits, code page above), then
// the file. A form or user control may carry its binary file after a line
// "#BINARY#": it is written under the first name the text refers to.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "host/files/component_file.h"
#include "host/files/project_loader.h"
#include "host/files/text_lines.h"

namespace {

using namespace tarno;
using namespace tarno::host::files;

constexpr std::string_view kBinarySeparator = "\n#BINARY#\n";

constexpr std::string_view kForm =
    "VERSION 5.00\r\nBegin VB.Form Form1 \r\n   Caption         =   \"Form1\"\r\n   ClientHeight    =   3090\r\n"
    "End\r\nAttribute VB_Name = \"Form1\"\r\nPrivate Sub Form_Load()\r\nEnd Sub\r\n";
constexpr std::string_view kModule = "Attribute VB_Name = \"Module1\"\r\nOption Explicit\r\nDim a\r\n";
constexpr std::string_view kClass =
    "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\nAttribute VB_Name = \"Class1\"\r\n";
constexpr std::string_view kProject = "Type=Exe\r\nForm=Form1.frm\r\nModule=Module1; Module1.bas\r\nClass=Class1; Class1.cls\r\n";

// The file name a designer text refers to for its binary values ("x.frx":0000).
std::string SidecarName(std::string_view text, std::string_view ext) {
  for (size_t at = text.find('"'); at != std::string_view::npos; at = text.find('"', at + 1)) {
    size_t close = text.find('"', at + 1);
    if (close == std::string_view::npos) break;
    std::string_view name = text.substr(at + 1, close - at - 1);
    if (name.size() > ext.size() && name.size() < 64 && name.find_first_of("/\\:") == std::string_view::npos &&
        EqualsIgnoreCase(name.substr(name.size() - ext.size()), ext))
      return std::string(name);
    at = close;
  }
  return "Form1" + std::string(ext);
}

CodePage PageOf(uint8_t selector) {
  switch ((selector >> 4) % 3) {
    case 0:
      return CodePage::Cp932();
    case 1:
      return CodePage::Named("CP1252");
    default:
      return CodePage::Named("UTF-8");
  }
}

std::vector<std::string_view> SplitLines(std::string_view s) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < s.size()) {
    size_t j = s.find('\n', i);
    if (j == std::string_view::npos) j = s.size();
    out.push_back(s.substr(i, j - i));
    i = j + 1;
  }
  return out;
}

// The project file as it would be written equals the one read, but for the
// component lines naming a module otherwise than its file's Attribute VB_Name:
// such a line is written anew with the file's name (as VB 6 does) the next
// time the project file is saved.
// Returns "" when they agree, else the first line that differs, both ways.
std::string DifferenceButComponentNames(std::string_view rendered, std::string_view read) {
  auto a = SplitLines(rendered), b = SplitLines(read);
  auto differs = [&](size_t i) {
    std::string at = "line " + std::to_string(i + 1) + ": written \"" +
                     std::string(i < a.size() ? a[i] : "(none)") + "\", read \"" +
                     std::string(i < b.size() ? b[i] : "(none)") + "\"";
    return at;
  };
  for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    if (i >= a.size() || i >= b.size()) return differs(i);
    if (a[i] == b[i]) continue;
    // A corrected line is written anew: its key as VB writes it, whatever
    // case and blanks the line was read with.
    size_t eqRead = b[i].find('='), eqWritten = a[i].find('=');
    if (eqRead == std::string_view::npos || eqWritten == std::string_view::npos) return differs(i);
    std::string_view key = TrimBlanks(b[i].substr(0, eqRead));
    bool component = false;
    for (std::string_view k : {"Module", "Class", "Form", "UserControl", "PropertyPage", "UserDocument", "Designer"})
      component = component || EqualsIgnoreCase(key, k);
    if (!component || !EqualsIgnoreCase(a[i].substr(0, eqWritten), key)) return differs(i);
  }
  return "";
}

void CheckRoundTrip(LoadedWorkspace& ws) {
  for (const auto& p : ws.projects) {
    if (!p->fileName().empty()) {
      std::string bytes = ReadFileBytes(ToPath(p->fileName()));
      std::string difference = DifferenceButComponentNames(RenderProject(*p), bytes);
      TARNO_FUZZ_CHECK(difference.empty(), "project file written back differs at " + difference);
    }
    for (const auto& c : p->components()) {
      if (c->fileNames().empty()) continue;
      auto path = ToPath(c->fileNames()[0]);
      auto ext = path.extension().string();
      if (EqualsIgnoreCase(ext, ".res") || EqualsIgnoreCase(ext, ".frx") || !c->code()) continue;
      TARNO_FUZZ_CHECK(RenderComponent(*c) == ReadFileBytes(path), path.string() + " written back differs");
    }
  }
  TARNO_FUZZ_CHECK(Save(ws).empty(), "a save without an edit wrote files");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t selector = data[0];
  std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
  fuzz::ClearScratch();
  fuzz::WriteScratch("Form1.frm", kForm);
  fuzz::WriteScratch("Module1.bas", kModule);
  fuzz::WriteScratch("Class1.cls", kClass);
  std::filesystem::path target;
  switch (selector % 8) {
    case 0:
      target = fuzz::WriteScratch("Fuzz.vbp", input);
      break;
    case 1:
      fuzz::WriteScratch("Project1.vbp", kProject);
      target = fuzz::WriteScratch("Fuzz.vbg", input);
      break;
    case 2:
    case 3: {
      bool form = selector % 8 == 2;
      std::string_view text = input, binary;
      if (size_t sep = input.find(kBinarySeparator); sep != std::string_view::npos) {
        text = input.substr(0, sep);
        binary = input.substr(sep + kBinarySeparator.size());
      }
      if (!binary.empty()) fuzz::WriteScratch(SidecarName(text, form ? ".frx" : ".ctx"), binary);
      target = fuzz::WriteScratch(form ? "Fuzz.frm" : "Fuzz.ctl", text);
      break;
    }
    case 4:
      target = fuzz::WriteScratch("Fuzz.cls", input);
      break;
    case 5:
      target = fuzz::WriteScratch("Fuzz.dsr", input);
      break;
    default:
      target = fuzz::WriteScratch("Fuzz.bas", input);
      break;
  }
  LoadOptions options;
  options.code_page = PageOf(selector);
  LoadedWorkspace ws;
  try {
    ws = LoadPath(target, options);
  } catch (const ProjectFileError&) {
    return 0;  // a clear refusal is a good answer
  }
  CheckRoundTrip(ws);
  return 0;
}
