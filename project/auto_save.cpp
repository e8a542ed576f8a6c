#include "project/auto_save.h"

#include "platform/vb_text.h"

namespace tarno::project {

namespace {

bool HasName(const std::u16string& fileName) { return !vb::Trim(fileName).empty(); }

}  // namespace

bool SomethingToSave(ide::VBE& vbe) {
  auto projects = vbe.VBProjects();
  for (int i = 1; i <= projects->Count(); ++i) {
    auto project = projects->Item(i);
    if (!project->Saved() && HasName(project->FileName())) return true;
    auto components = project->VBComponents();
    for (int k = 1; k <= components->Count(); ++k) {
      auto c = components->Item(k);
      if (c->IsDirty() && HasName(c->FileNames(1))) return true;
    }
  }
  return false;
}

void SaveAllProjects(ide::VBE& vbe) {
  auto projects = vbe.VBProjects();
  for (int i = 1; i <= projects->Count(); ++i) {
    auto project = projects->Item(i);
    auto components = project->VBComponents();
    for (int k = 1; k <= components->Count(); ++k) {
      auto c = components->Item(k);
      if (!c->IsDirty()) continue;
      std::u16string file = c->FileNames(1);
      if (!HasName(file)) continue;
      c->SaveAs(file);
      c->SetIsDirty(false);
    }
    if (!project->Saved() && HasName(project->FileName())) project->SaveAs(project->FileName());
  }
}

}  // namespace tarno::project
