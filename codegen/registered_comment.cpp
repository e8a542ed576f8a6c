#include "codegen/registered_comment.h"

#include "addin/settings.h"
#include "codegen/comment_block.h"
#include "platform/vb_text.h"
#include "ui/services.h"

namespace tarno::codegen {

std::u16string NormaliseComment(const std::u16string& editorText) {
  std::u16string out;
  size_t pos = 0;
  while (pos < editorText.size()) {
    size_t end = editorText.find(vb::kCrLf, pos);
    bool lastLine = end == std::u16string::npos;
    std::u16string line = editorText.substr(pos, lastLine ? std::u16string::npos : end - pos);
    if (line.empty() || line.front() != u'\'') out += u'\'';
    out += line;
    if (lastLine) break;
    out += vb::kCrLf;
    pos = end + 2;
  }
  return out;
}

std::u16string HeaderCommentText(const HeaderCommentFields& f) {
  const std::u16string rule = u"'" + std::u16string(56, u'*');
  const std::u16string& nl = vb::kCrLf;
  std::u16string arguments = vb::Trim(f.Arguments).empty() ? vb::U("なし") : f.Arguments;
  std::u16string returnValue = vb::Trim(f.ReturnValue).empty() ? vb::U("なし") : f.ReturnValue;
  return rule + nl + vb::U("'名称   ：") + f.Name + nl + vb::U("'概要   ：") + f.Summary + nl +
         vb::U("'引数   ：") + arguments + nl + vb::U("'戻値   ：") + returnValue + nl + vb::U("'作成者 ：") +
         f.Author + nl + vb::U("'作成日 ：") + f.Date + nl + rule;
}

void StoreComment(SettingsModel& settings, int index, const std::u16string& editorText) {
  if (index < 0 || index >= static_cast<int>(settings.CommentTexts.size())) index = 0;
  settings.CommentTexts[index] = NormaliseComment(editorText);
}

int CurrentCommentIndex(const SettingsModel& settings) {
  int32_t no = settings.CurrentCommentNo;
  return no >= 0 && no < static_cast<int32_t>(settings.CommentTexts.size()) ? no : 0;
}

InsertCommentResult InsertRegisteredCommentText(ide::VBE& vbe, const SettingsModel& settings) {
  auto pane = ActiveCodeWindowPane(vbe);
  if (!pane) return InsertCommentResult::NotRun;
  int line = SelectionStartLine(*pane);
  if (line <= 0) return InsertCommentResult::NotRun;
  const std::u16string& text = settings.CommentTexts[CurrentCommentIndex(settings)];
  if (vb::Trim(text).empty()) return InsertCommentResult::NoComment;
  try {
    auto module = pane->CodeModule();
    if (module) module->InsertLines(line, text);
  } catch (const ide::HostError&) {
  }
  return InsertCommentResult::Inserted;
}

void InsertRegisteredComment(ide::VBE& vbe, const SettingsModel& settings) {
  if (InsertRegisteredCommentText(vbe, settings) == InsertCommentResult::NoComment)
    ui::MsgBox(vb::U("コメントが入力されていません"), ui::vbOKOnly | ui::vbExclamation, u"Tarno Kit");
}

}  // namespace tarno::codegen
