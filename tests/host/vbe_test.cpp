#include <gtest/gtest.h>

#include "platform/vb_text.h"
#include "support/host_builders.h"

namespace tarno {
namespace {

using test::HostBuilder;

TEST(Vbe, ActiveWindowPaneAndSelectedComponentAreSetByTheDriver) {
  auto host = HostBuilder().Module("Module1", "a\nb\nc\n").Form("Form1", "").Build();
  EXPECT_EQ(host.vbe->ActiveCodePane(), nullptr);
  EXPECT_EQ(host.vbe->ActiveWindow(), nullptr);

  host.ShowCode("Module1", 2, 1, 3, 2);
  EXPECT_EQ(host.vbe->ActiveWindow()->Type(), 0);
  EXPECT_EQ(host.vbe->ActiveWindow()->Caption(), u"Project1 - Module1 (Code)");
  auto pane = host.vbe->ActiveCodePane();
  int sl, sc, el, ec;
  pane->GetSelection(sl, sc, el, ec);
  EXPECT_EQ((std::vector<int>{sl, sc, el, ec}), (std::vector<int>{2, 1, 3, 2}));
  EXPECT_EQ(pane->CodeModule(), host.Module("Module1"));
  EXPECT_EQ(pane->CodeModule()->Parent(), host.Component("Module1"));
  EXPECT_EQ(host.vbe->SelectedVBComponent(), host.Component("Module1"));
  pane->SetSelection(1, 1, 1, 2);
  pane->GetSelection(sl, sc, el, ec);
  EXPECT_EQ(sl, 1);
  EXPECT_THROW(pane->SetSelection(0, 1, 1, 1), ide::HostError);
  EXPECT_THROW(pane->SetSelection(2, 1, 1, 1), ide::HostError);

  host.ShowDesigner("Form1");
  EXPECT_NE(host.vbe->ActiveWindow()->Type(), 0);
  EXPECT_EQ(host.vbe->ActiveCodePane(), pane);  // the last code pane stays
  EXPECT_EQ(host.vbe->SelectedVBComponent()->Type(), ide::ComponentType::VBForm);
}

TEST(Vbe, ProjectsAndComponentsInOrder) {
  auto host = HostBuilder()
                  .Project("First", ide::ProjectType::ActiveXDll)
                  .Class("Class1", "")
                  .Project("Second")
                  .Module("Module1", "")
                  .Build();
  auto projects = host.vbe->VBProjects();
  ASSERT_EQ(projects->Count(), 2);
  EXPECT_EQ(projects->Item(1)->Name(), u"First");
  EXPECT_EQ(projects->Item(1)->Type(), ide::ProjectType::ActiveXDll);
  EXPECT_EQ(projects->Item(2)->VBComponents()->Item(1)->Name(), u"Module1");
  EXPECT_EQ(projects->Item(2)->VBComponents()->Item(1)->Collection(), projects->Item(2));
  EXPECT_THROW(projects->Item(3), ide::HostError);
}

class RecordingStore : public host::ComponentStore {
 public:
  void SaveProject(host::MemProject& p, const std::u16string& path) override {
    if (fail) throw std::runtime_error("disk full");
    saved.push_back(p.name() + u" -> " + path);
  }
  void SaveComponent(host::MemComponent& c, const std::u16string& path) override {
    if (fail) throw std::runtime_error("disk full");
    saved.push_back(c.name() + u" -> " + path);
  }
  bool fail = false;
  std::vector<std::u16string> saved;
};

TEST(Vbe, SaveAsGoesThroughTheStore) {
  auto host = HostBuilder().Module("Module1", "a\n").Build();
  auto comp = host.Component("Module1");
  auto project = host.Project();
  comp->fileNames() = {u"Module1.bas"};
  comp->MarkDirty();

  // Without a store only the file name changes.
  comp->SaveAs(u"M1.bas");
  EXPECT_EQ(comp->FileNames(1), u"M1.bas");
  EXPECT_TRUE(comp->IsDirty());

  auto store = std::make_shared<RecordingStore>();
  host.mem->SetStore(store);
  comp->SaveAs(u"M2.bas");
  project->SaveAs(u"P.vbp");
  EXPECT_EQ(store->saved, (std::vector<std::u16string>{u"Module1 -> M2.bas", u"Project1 -> P.vbp"}));
  EXPECT_FALSE(comp->IsDirty());
  EXPECT_TRUE(project->Saved());
  EXPECT_EQ(project->FileName(), u"P.vbp");

  // A store failure is a host error and changes nothing.
  store->fail = true;
  comp->MarkDirty();
  EXPECT_THROW(comp->SaveAs(u"M3.bas"), ide::HostError);
  EXPECT_EQ(comp->FileNames(1), u"M2.bas");
  EXPECT_TRUE(comp->IsDirty());
  EXPECT_EQ(comp->FileNames(2), u"");
  EXPECT_THROW(comp->FileNames(0), ide::HostError);
}

TEST(FaultInjection, OnceAlwaysAndOnTheNthCall) {
  host::FaultScope scope;
  auto host = HostBuilder().Module("Module1", "a\nb\n").Build();
  auto m = host.Module("Module1");

  host.Faults().FailOnce("CodeModule.InsertLines");
  try {
    m->InsertLines(1, u"x");
    FAIL() << "no failure";
  } catch (const ide::HostError& e) {
    EXPECT_EQ(e.operation(), "CodeModule.InsertLines");
  }
  EXPECT_EQ(m->CountOfLines(), 2);  // nothing happened
  m->InsertLines(1, u"x");
  EXPECT_EQ(m->CountOfLines(), 3);

  host.Faults().FailOnCall("CodeModule.Lines", 3);
  EXPECT_NO_THROW(m->Lines(1, 1));
  EXPECT_NO_THROW(m->Lines(1, 1));
  EXPECT_THROW(m->Lines(1, 1), ide::HostError);
  EXPECT_NO_THROW(m->Lines(1, 1));
  EXPECT_EQ(host.Faults().Calls("CodeModule.Lines"), 4);
  EXPECT_EQ(host.Faults().Failures("CodeModule.Lines"), 1);

  host.Faults().FailAlways("CommandBarControl.Delete");
  auto c = host.vbe->CommandBars()->Item(u"Tools")->Controls()->Add();
  EXPECT_THROW(c->Delete(), ide::HostError);
  EXPECT_THROW(c->Delete(), ide::HostError);
  host.Faults().Clear("CommandBarControl.Delete");
  EXPECT_NO_THROW(c->Delete());

  host.Faults().FailAlways("Property.SetValue");
  auto form = HostBuilder().Form("Form1", "", {{"TextBox", "Text1"}}).Build();
  auto p = form.Control("Form1", "Text1")->Properties()->Item(u"Text");
  EXPECT_THROW(p->SetValue(std::u16string(u"x")), ide::HostError);
  EXPECT_FALSE(form.Component("Form1")->dirty());
  EXPECT_NO_THROW(p->Value());
}

TEST(FaultInjection, ScopeClearsEverything) {
  {
    host::FaultScope scope;
    host::Faults().FailAlways("VBE.ActiveWindow");
    EXPECT_TRUE(host::Faults().Armed());
  }
  EXPECT_FALSE(host::Faults().Armed());
  auto host = HostBuilder().Build();
  EXPECT_NO_THROW(host.vbe->ActiveWindow());
}

}  // namespace
}  // namespace tarno
