#include <gtest/gtest.h>

#include "host/control_catalog.h"
#include "platform/vb_text.h"
#include "support/host_builders.h"

namespace tarno {
namespace {

using test::HostBuilder;
using test::Str;

ide::Variant Val(const std::shared_ptr<ide::VBControl>& c, const char16_t* name) {
  return c->Properties()->Item(name)->Value();
}

TEST(ControlCatalog, IntrinsicDefaultsAndMissingProperties) {
  auto host = HostBuilder()
                  .Form("Form1", "",
                        {{"TextBox", "Text1"},
                         {"Timer", "Timer1"},
                         {"Line", "Line1"},
                         {"Menu", "mnuFile"},
                         {"Label", "Label1", 0},
                         {"VB.Shape", "Shape1"}})
                  .Build();
  auto text = host.Control("Form1", "Text1");
  EXPECT_EQ(Val(text, u"Text"), ide::Variant(std::u16string()));
  EXPECT_EQ(Val(text, u"BackColor"), ide::Variant(int32_t(0x80000005u)));
  EXPECT_EQ(Val(text, u"MaxLength"), ide::Variant(int32_t(0)));
  EXPECT_EQ(Val(text, u"TabStop"), ide::Variant(true));
  EXPECT_EQ(Val(text, u"Index"), ide::Variant(int16_t(-1)));
  EXPECT_EQ(Val(text, u"Name"), ide::Variant(std::u16string(u"Text1")));
  EXPECT_EQ(text->ProgId(), u"VB.TextBox");
  EXPECT_EQ(text->ClassName(), u"TextBox");
  EXPECT_EQ(Val(host.Control("Form1", "Label1"), u"Index"), ide::Variant(int16_t(0)));
  EXPECT_EQ(host.Control("Form1", "Label1")->ControlObject(), u"Label");
  EXPECT_FALSE(host.Control("Form1", "Label1")->Has(u"TabStop"));
  EXPECT_TRUE(host.Control("Form1", "Label1")->Has(u"TabIndex"));

  auto props = [&](const char* n) { return host.Control("Form1", n)->Properties(); };
  EXPECT_THROW(props("Timer1")->Item(u"TabIndex"), ide::HostError);
  EXPECT_NO_THROW(props("Timer1")->Item(u"Left"));
  EXPECT_EQ(props("Timer1")->Item(u"Interval")->Value(), ide::Variant(int32_t(0)));
  for (const char* n : {"Line1", "mnuFile"}) {
    SCOPED_TRACE(n);
    EXPECT_THROW(props(n)->Item(u"TabIndex"), ide::HostError);
    EXPECT_THROW(props(n)->Item(u"Top"), ide::HostError);
    EXPECT_THROW(props(n)->Item(u"Left"), ide::HostError);
  }
  EXPECT_THROW(props("Shape1")->Item(u"TabIndex"), ide::HostError);
  EXPECT_THROW(text->Properties()->Item(u"Caption")->Value(), ide::HostError);
  EXPECT_THROW(text->Properties()->Item(u"NoSuch"), ide::HostError);
}

TEST(ControlCatalog, EveryIntrinsicClassHasNameAndUsableDefaults) {
  for (const auto& cls : host::IntrinsicClasses()) {
    SCOPED_TRACE(vb::ToUtf8(cls.name));
    ASSERT_FALSE(cls.props.empty());
    EXPECT_EQ(cls.props.front().name, u"Name");
    EXPECT_EQ(cls.progId, u"VB." + cls.name);
    EXPECT_EQ(cls.Find(u"Index") != nullptr, !cls.designer);
    for (const auto& p : cls.props) {
      if (p.type == host::PropType::Font || p.type == host::PropType::Picture) continue;
      ide::Variant out;
      EXPECT_TRUE(host::CoerceValue(p.type, p.defaultValue, out)) << vb::ToUtf8(p.name);
      EXPECT_EQ(out, p.defaultValue) << vb::ToUtf8(p.name);
    }
  }
  EXPECT_EQ(host::FindIntrinsicClass(u"vb.commandbutton")->name, u"CommandButton");
  EXPECT_EQ(host::FindIntrinsicClass(u"ListViewCtrl"), nullptr);
}

TEST(ControlCatalog, ActiveXControlsGetExtenderAndFileProperties) {
  auto host = HostBuilder()
                  .Form("Form1", "",
                        {{"MSComctlLib.ListViewCtrl.2", "ListView1", -1, "", {{"View", int32_t(3)}, {"Sorted", true}}}})
                  .Build();
  auto lv = host.Control("Form1", "ListView1");
  EXPECT_EQ(lv->ClassName(), u"ListViewCtrl");
  EXPECT_EQ(lv->ProgId(), u"MSComctlLib.ListViewCtrl.2");
  for (const char16_t* p : {u"Name", u"Index", u"Left", u"Top", u"Width", u"Height", u"TabIndex", u"TabStop",
                            u"Visible", u"Enabled", u"Tag", u"ToolTipText"}) {
    EXPECT_TRUE(lv->Has(p)) << vb::ToUtf8(p);
  }
  EXPECT_EQ(Val(lv, u"View"), ide::Variant(int32_t(3)));
  EXPECT_EQ(Val(lv, u"Sorted"), ide::Variant(true));
  EXPECT_THROW(lv->Properties()->Item(u"Caption"), ide::HostError);
  // Intrinsic classes do not grow properties from a file.
  EXPECT_FALSE(host.Designer("Form1")->AddControl(u"TextBox", u"T")->Load(u"View", int32_t(3)));
  EXPECT_THROW(host::MemControl::Create(u"VB.NoSuch", u"X"), std::invalid_argument);
  EXPECT_THROW(host::MemControl::Create(u"NoDot", u"X"), std::invalid_argument);
}

TEST(ControlProperties, ValuesConvertAsVbDoesAndEditsAreTracked) {
  auto host = HostBuilder().Form("Form1", "", {{"TextBox", "Text1", -1, "", {{"MaxLength", Str("10")}}}}).Build();
  auto c = host.Control("Form1", "Text1");
  auto comp = host.Component("Form1");
  EXPECT_TRUE(c->IsLoaded(u"MaxLength"));
  EXPECT_TRUE(c->ChangedProperties().empty());
  EXPECT_FALSE(comp->dirty());

  auto maxLen = c->Properties()->Item(u"maxlength");
  EXPECT_EQ(maxLen->Name(), u"MaxLength");
  EXPECT_EQ(maxLen->Value(), ide::Variant(int32_t(10)));
  maxLen->SetValue(std::u16string(u"20"));
  EXPECT_EQ(maxLen->Value(), ide::Variant(int32_t(20)));
  EXPECT_THROW(maxLen->SetValue(std::u16string(u"abc")), ide::HostError);
  c->Properties()->Item(u"Alignment")->SetValue(2.5);  // CInt rounds half to even
  EXPECT_EQ(Val(c, u"Alignment"), ide::Variant(int16_t(2)));
  EXPECT_THROW(c->Properties()->Item(u"TabIndex")->SetValue(int32_t(40000)), ide::HostError);
  c->Properties()->Item(u"Visible")->SetValue(int16_t(0));
  EXPECT_EQ(Val(c, u"Visible"), ide::Variant(false));
  EXPECT_TRUE(comp->dirty());
  EXPECT_EQ(c->ChangedProperties(), (std::vector<std::u16string>{u"Alignment", u"MaxLength", u"Visible"}));
  c->ClearChanges();
  EXPECT_TRUE(c->ChangedProperties().empty());
}

TEST(ControlProperties, NamesAreCheckedAndTheFormNameIsTheComponentName) {
  auto host = HostBuilder().Form("Form1", "", {{"TextBox", "Text1"}, {"TextBox", "Text2"}}).Build();
  auto t1 = host.Control("Form1", "Text1")->Properties()->Item(u"Name");
  EXPECT_THROW(t1->SetValue(std::u16string(u"text2")), ide::HostError);
  EXPECT_THROW(t1->SetValue(std::u16string(u"1abc")), ide::HostError);
  t1->SetValue(vb::U("名前"));
  EXPECT_NE(host.Designer("Form1")->Control(vb::U("名前")), nullptr);

  auto comp = host.Component("Form1");
  comp->Properties()->Item(u"Name")->SetValue(std::u16string(u"frmMain"));
  EXPECT_EQ(comp->Name(), u"frmMain");
  comp->SetName(u"frmOther");
  EXPECT_EQ(comp->Properties()->Item(u"Name")->Value(), ide::Variant(std::u16string(u"frmOther")));
  EXPECT_THROW(comp->SetName(u"bad name"), ide::HostError);
}

TEST(ControlProperties, TabIndexesStayAPermutationAsInTheIde) {
  auto host = HostBuilder()
                  .Form("Form1", "",
                        {{"TextBox", "A", -1, "", {{"TabIndex", int16_t(0)}}},
                         {"TextBox", "B", -1, "", {{"TabIndex", int16_t(1)}}},
                         {"Timer", "Timer1"},
                         {"TextBox", "C", -1, "", {{"TabIndex", int16_t(2)}}},
                         {"Label", "D", -1, "", {{"TabIndex", int16_t(3)}}}})
                  .Build();
  auto tab = [&](const char* n) { return std::get<int16_t>(*host.Control("Form1", n)->Get(u"TabIndex")); };
  auto set = [&](const char* n, int v) {
    host.Control("Form1", n)->Properties()->Item(u"TabIndex")->SetValue(int16_t(v));
  };
  set("C", 0);
  EXPECT_EQ((std::vector<int>{tab("A"), tab("B"), tab("C"), tab("D")}), (std::vector<int>{1, 2, 0, 3}));
  set("C", 99);  // past the end: last
  EXPECT_EQ((std::vector<int>{tab("A"), tab("B"), tab("C"), tab("D")}), (std::vector<int>{0, 1, 3, 2}));
  // Assigning 0, 1, 2, ... in a chosen order gives exactly that order.
  const char* order[] = {"D", "B", "A", "C"};
  for (int i = 0; i < 4; ++i) set(order[i], i);
  EXPECT_EQ((std::vector<int>{tab("D"), tab("B"), tab("A"), tab("C")}), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_TRUE(host.Control("Form1", "A")->IsChanged(u"TabIndex"));
  EXPECT_THROW(set("A", -1), ide::HostError);
}

TEST(ControlProperties, ArrayIndexesMustStayDistinct) {
  auto host = HostBuilder()
                  .Form("Form1", "", {{"Label", "lbl", 0}, {"Label", "lbl", 1}, {"Label", "Single"}})
                  .Build();
  auto second = host.Designer("Form1")->Control(u"lbl", 1)->Properties()->Item(u"Index");
  EXPECT_THROW(second->SetValue(int16_t(0)), ide::HostError);
  EXPECT_THROW(second->SetValue(int16_t(-1)), ide::HostError);
  second->SetValue(int16_t(32767));
  second->SetValue(int16_t(0) + 5);
  EXPECT_EQ(host.Designer("Form1")->Control(u"lbl", 5)->index(), 5);
  host.Control("Form1", "Single")->Properties()->Item(u"Index")->SetValue(int16_t(0));
  EXPECT_EQ(host.Control("Form1", "Single")->index(), 0);
}

TEST(ControlFonts, FontIsAnObjectWhoseChangesCount) {
  auto host = HostBuilder().Form("Form1", "", {{"Label", "Label1"}, {"Label", "Label2"}}).Build();
  auto l1 = host.Control("Form1", "Label1");
  auto font = l1->Properties()->Item(u"Font")->Object();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->Name(), host::DefaultFont().name);
  EXPECT_EQ(l1->Properties()->Item(u"Caption")->Object(), nullptr);
  EXPECT_EQ(font->Count(), 8);
  EXPECT_EQ(font->ItemName(6), u"Underline");

  font->SetBold(true);
  font->SetSize(12);
  EXPECT_EQ(font->ItemValue(7), ide::Variant(int16_t(700)));
  EXPECT_TRUE(l1->IsChanged(u"Font"));
  EXPECT_TRUE(host.Component("Form1")->dirty());

  // Copying value by value, as the form copy does, and assigning the object.
  auto l2 = host.Control("Form1", "Label2");
  auto f2 = l2->Properties()->Item(u"Font")->Object();
  for (int i = 1; i <= font->Count(); ++i) f2->SetItemValue(i, font->ItemValue(i));
  EXPECT_EQ(l2->GetFont()->values(), l1->GetFont()->values());
  font->SetItalic(true);
  EXPECT_FALSE(f2->Italic());
  l2->Properties()->Item(u"Font")->SetObject(font);
  EXPECT_TRUE(f2->Italic());
  EXPECT_THROW(f2->SetItemValue(2, std::u16string(u"big")), ide::HostError);
  EXPECT_THROW(f2->SetSize(0), ide::HostError);
  EXPECT_THROW(l2->Properties()->Item(u"Caption")->SetObject(font), ide::HostError);
}

TEST(Designers, ControlListsFollowFileOrderAndContainers) {
  auto host = HostBuilder()
                  .Form("Form1", "",
                        {{"Frame", "Frame1"},
                         {"OptionButton", "Option1", 0, "Frame1"},
                         {"PictureBox", "Picture1", -1, "Frame1"},
                         {"Label", "Label1", -1, "Picture1"},
                         {"OptionButton", "Option1", 1, "Frame1"},
                         {"CommandButton", "Command1"},
                         {"Menu", "mnuFile"},
                         {"Menu", "mnuOpen", -1, "mnuFile"},
                         {"TabDlg.SSTab", "SSTab1"},
                         {"TextBox", "txtOnTab", -1, "SSTab1"}})
                  .Build();
  auto form = host.Component("Form1")->Designer();
  auto all = form->VBControls();
  ASSERT_EQ(all->Count(), 10);
  std::vector<std::u16string> names;
  for (int i = 1; i <= all->Count(); ++i) names.push_back(std::get<std::u16string>(Val(all->Item(i), u"Name")));
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Frame1", u"Option1", u"Picture1", u"Label1", u"Option1",
                                                u"Command1", u"mnuFile", u"mnuOpen", u"SSTab1", u"txtOnTab"}));
  EXPECT_THROW(all->Item(0), ide::HostError);
  auto top = form->ContainedVBControls();
  ASSERT_EQ(top->Count(), 4);
  EXPECT_EQ(top->Item(2)->ClassName(), u"CommandButton");
  EXPECT_EQ(top->Item(4)->ClassName(), u"SSTab");

  host.Select("Form1", {"Command1", "Frame1"});
  auto sel = form->SelectedVBControls();
  ASSERT_EQ(sel->Count(), 2);
  EXPECT_EQ(sel->Item(0)->ClassName(), u"CommandButton");
  EXPECT_EQ(sel->Item(1)->ClassName(), u"Frame");
  EXPECT_THROW(sel->Item(2), ide::HostError);
  EXPECT_THROW(sel->Add(u"VB.TextBox", nullptr, false), ide::HostError);
}

TEST(Designers, AddingControlsNamesThemAsTheIdeDoes) {
  auto host = HostBuilder().Form("Form1", "", {{"TextBox", "Text1"}, {"Frame", "Frame1"}, {"Label", "Label1", -1, "Frame1"}}).Build();
  auto comp = host.Component("Form1");
  auto top = comp->Designer()->ContainedVBControls();
  auto t = top->Add(u"VB.TextBox", nullptr, false);
  EXPECT_EQ(Val(t, u"Name"), ide::Variant(std::u16string(u"Text2")));
  EXPECT_EQ(Val(t, u"Text"), ide::Variant(std::u16string(u"Text2")));
  EXPECT_EQ(Val(t, u"TabIndex"), ide::Variant(int16_t(3)));
  EXPECT_TRUE(comp->dirty());
  EXPECT_EQ(top->Count(), 3);

  auto frame = host.Control("Form1", "Frame1");
  auto inFrame = top->Add(u"VB.CommandButton", frame, true);
  EXPECT_EQ(Val(inFrame, u"Caption"), ide::Variant(std::u16string(u"Command1")));
  EXPECT_EQ(top->Count(), 3);
  auto d = host.Designer("Form1");
  // Last inside the frame: after Label1, before Text2.
  EXPECT_EQ(d->controls()[3]->name(), u"Command1");
  EXPECT_EQ(d->controls()[4]->name(), u"Text2");

  auto ax = top->Add(u"MSComctlLib.TreeView", nullptr, false);
  EXPECT_EQ(ax->ClassName(), u"TreeView");
  EXPECT_EQ(Val(ax, u"Name"), ide::Variant(std::u16string(u"TreeView1")));
  EXPECT_THROW(top->Add(u"VB.TextBox", host.Control("Form1", "Text1"), true), ide::HostError);
  EXPECT_THROW(d->AddControl(u"Label", u"L9", host.Control("Form1", "Text1")), std::invalid_argument);
  EXPECT_THROW(top->Add(u"VB.Bogus", nullptr, false), ide::HostError);
}

TEST(Designers, ANewControlIsTakenBackWithWhatItHoldsButOneReadFromTheFileIsNot) {
  auto host = HostBuilder().Form("Form1", "", {{"TextBox", "Text1"}}).Form("Form2", "", {{"Label", "Label1"}}).Build();
  auto d = host.Designer("Form1");
  auto top = host.Component("Form1")->Designer()->ContainedVBControls();
  auto frame = std::dynamic_pointer_cast<host::MemControl>(top->Add(u"VB.Frame", nullptr, false));
  auto inside = std::dynamic_pointer_cast<host::MemControl>(top->Add(u"VB.CommandButton", frame, true));
  d->SetSelected({inside, d->controls()[0]});
  d->RemoveNewControl(frame);
  ASSERT_EQ(d->controls().size(), 1u);
  EXPECT_EQ(d->selected(), (std::vector<std::shared_ptr<host::MemControl>>{d->controls()[0]}));
  // The names are free again: the IDE gives them to the next ones.
  EXPECT_EQ(Val(top->Add(u"VB.Frame", nullptr, false), u"Name"), ide::Variant(std::u16string(u"Frame1")));
  // A control the file has a block for, or one of another designer, stays.
  auto text = d->controls()[0];
  text->file_state = std::make_shared<int>(0);
  EXPECT_THROW(d->RemoveNewControl(text), ide::HostError);
  EXPECT_THROW(d->RemoveNewControl(host.Designer("Form2")->controls()[0]), ide::HostError);
  EXPECT_EQ(d->controls().size(), 2u);
}

TEST(Components, AddGivesDefaultNamesAndDesigners) {
  auto host = HostBuilder().Module("Module1", "").Form("Form1", "").Build();
  auto comps = host.Project()->VBComponents();
  auto f = comps->Add(ide::ComponentType::VBForm);
  EXPECT_EQ(f->Name(), u"Form2");
  EXPECT_EQ(comps->Count(), 3);
  EXPECT_EQ(comps->Item(3), f);
  EXPECT_EQ(f->Properties()->Item(u"Caption")->Value(), ide::Variant(std::u16string(u"Form2")));
  EXPECT_EQ(f->Designer()->VBControls()->Count(), 0);
  EXPECT_EQ(f->CodeModule()->CountOfLines(), 0);
  EXPECT_TRUE(f->IsDirty());
  EXPECT_FALSE(host.Project()->Saved());
  EXPECT_EQ(comps->Add(ide::ComponentType::StdModule)->Name(), u"Module2");
  EXPECT_EQ(comps->Add(ide::ComponentType::ClassModule)->Name(), u"Class1");
  EXPECT_EQ(comps->Add(ide::ComponentType::UserControl)->Name(), u"UserControl1");
  EXPECT_EQ(comps->Add(ide::ComponentType::ClassModule)->Designer(), nullptr);
  EXPECT_THROW(comps->Add(ide::ComponentType::ResFile), ide::HostError);
  comps->Add(ide::ComponentType::MDIForm);
  EXPECT_THROW(comps->Add(ide::ComponentType::MDIForm), ide::HostError);
  EXPECT_THROW(comps->Item(0), ide::HostError);
  EXPECT_THROW(f->SetName(u"Module1"), ide::HostError);

  // The designer's own properties are edits of the component too.
  auto form1 = host.Component("Form1");
  EXPECT_FALSE(form1->IsDirty());
  form1->Properties()->Item(u"BackColor")->SetValue(int32_t(0xFF));
  EXPECT_TRUE(form1->IsDirty());
  EXPECT_EQ(form1->designer()->form()->ChangedProperties(), std::vector<std::u16string>{u"BackColor"});
  EXPECT_THROW(host.Component("Module1")->Properties(), ide::HostError);
}

}  // namespace
}  // namespace tarno
