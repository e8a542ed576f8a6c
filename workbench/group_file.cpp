#include "workbench/group_file.h"

#include <algorithm>
#include <string>

#include "host/files/text_lines.h"
#include "host/files/vbp_file.h"
#include "platform/vb_text.h"

namespace tarno::workbench {

namespace fs = std::filesystem;
namespace files = host::files;

bool RenameGroupProject(const fs::path& vbg, const fs::path& old_vbp, const fs::path& new_vbp,
                        const CodePage& code_page) {
  const files::VbgFile group = files::VbgFile::Load(vbg, nullptr);
  const fs::path dir = vbg.parent_path();
  const files::VbgProjectLine* hit = nullptr;
  for (const auto& line : group.projects()) {
    auto found = files::ResolveWindowsPath(dir, vb::ToUtf8(code_page.Decode(line.path)));
    std::error_code ec;
    if (found && fs::equivalent(*found, old_vbp, ec)) {
      hit = &line;
      break;
    }
  }
  if (!hit) return false;
  fs::path rel = fs::absolute(new_vbp).lexically_relative(fs::absolute(dir));
  if (rel.empty()) rel = fs::absolute(new_vbp);
  std::string written = rel.generic_string();
  std::replace(written.begin(), written.end(), '/', '\\');
  const files::TextLines& text = group.text();
  std::string bytes;
  if (text.bom()) bytes.append(files::kUtf8Bom);
  for (size_t i = 0; i < text.size(); ++i) {
    if (i == hit->line)
      bytes += std::string(hit->startup ? "StartupProject=" : "Project=") + code_page.Encode(vb::U(written));
    else
      bytes += text.line(i);
    bytes += files::LineEndBytes(text.end(i));
  }
  files::WriteFileAtomically(vbg, bytes);
  return true;
}

}  // namespace tarno::workbench
