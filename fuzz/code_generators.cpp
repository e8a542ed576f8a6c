// The code generators over any module text and any selection: no crash, no
// hang; comment-out keeps the line count, and commenting a selection then
// un-commenting it gives the text back.
//
// Input: the operation, the selection (four numbers), a registered text, then
// the module text in CP932.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "addin/settings.h"
#include "codegen/bulk_comment.h"
#include "codegen/bulk_error.h"
#include "codegen/comment_block.h"
#include "codegen/error_block.h"
#include "codegen/procedure_list.h"
#include "codegen/registered_comment.h"
#include "fuzz/fuzz_support.h"
#include "host/mem_host.h"
#include "host/module_text.h"
#include "platform/code_page.h"

namespace {

using namespace tarno;

std::u16string Decode(const std::string& bytes) { return CodePage::Cp932().Decode(bytes); }

std::u16string AllText(ide::CodeModule& m) {
  int n = m.CountOfLines();
  return n ? m.Lines(1, n) : std::u16string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  int op = in.ConsumeIntegralInRange<int>(0, 7);
  int type = in.ConsumeBool() ? ide::ComponentType::StdModule : ide::ComponentType::ClassModule;
  int sl = in.ConsumeIntegralInRange<int>(-1, 300), sc = in.ConsumeIntegralInRange<int>(-1, 300);
  int el = in.ConsumeIntegralInRange<int>(-1, 300), ec = in.ConsumeIntegralInRange<int>(-1, 300);
  std::u16string extra = Decode(in.ConsumeRandomLengthString(200));
  std::u16string text = Decode(in.ConsumeRemainingBytesAsString());

  auto vbe = host::MemVBE::Create();
  auto project = host::MemProject::Create(u"Project1");
  auto c = host::MemComponent::Create(type, u"Module1");
  c->code()->SetText(host::ModuleText(fuzz::BodyLines(text)));
  project->AddComponent(c);
  vbe->AddProject(project);
  try {
    vbe->ShowCode(c, sl, sc, el, ec);
  } catch (const ide::HostError&) {
    vbe->ShowCode(c);  // a selection the pane refuses: the caret at the top
  }
  ide::CodeModule& m = *c->code();
  const std::u16string before = AllText(m);
  const int lines = m.CountOfLines();

  switch (op) {
    case 0:
      codegen::CommentSelection(*vbe);
      codegen::UncommentSelection(*vbe);
      TARNO_FUZZ_CHECK(AllText(m) == before, "comment then un-comment changed the text");
      break;
    case 1:
      codegen::InsertErrorHeader(*vbe);
      break;
    case 2:
      codegen::InsertErrorFooter(*vbe);
      break;
    case 3:
      for (const auto& row : codegen::ListProcedures(m)) codegen::CommentOutProcedure(m, row.Name, row.Kind, row.StartLine);
      TARNO_FUZZ_CHECK(m.CountOfLines() == lines, "comment-out changed the line count");
      break;
    case 4:
      for (const auto& row : codegen::ListProcedures(m)) codegen::InsertErrorHandling(m, row.Name, row.Kind, codegen::StandardErrorTexts());
      break;
    case 5:
      codegen::CommentOutBelowDeclarations(m);
      TARNO_FUZZ_CHECK(m.CountOfLines() == lines, "comment-out changed the line count");
      break;
    case 6: {
      SettingsModel settings;
      settings.CommentTexts[0] = codegen::NormaliseComment(extra);
      codegen::InsertRegisteredCommentText(*vbe, settings);
      break;
    }
    default: {
      size_t cut = extra.find(u'|');
      auto texts = codegen::RegisteredErrorTexts(extra.substr(0, cut), cut == std::u16string::npos ? u"" : extra.substr(cut + 1),
                                                 op % 2 ? u"0" : u"1");
      for (const auto& row : codegen::ListProcedures(m)) codegen::InsertErrorHandling(m, row.Name, row.Kind, texts);
      break;
    }
  }
  return 0;
}
