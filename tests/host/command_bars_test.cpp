#include <gtest/gtest.h>

#include "platform/clipboard.h"
#include "platform/vb_text.h"
#include "support/host_builders.h"

namespace tarno {
namespace {

using test::HostBuilder;
using vb::U;

TEST(CommandBars, HostMenusExistAndBeforePositionsInsert) {
  auto host = HostBuilder().Build();
  auto bars = host.vbe->CommandBars();
  auto tools = bars->Item(u"Tools")->Controls();
  const int before = tools->Count();
  ASSERT_GE(before, 3);
  auto item = tools->Add(ide::ControlType::Button, 3);
  item->SetCaption(U("コメント登録(&C)"));
  EXPECT_EQ(tools->Count(), before + 1);
  EXPECT_EQ(tools->Item(3)->Caption(), U("コメント登録(&C)"));
  EXPECT_EQ(tools->Item(4)->Caption(), u"&Menu Editor...");
  tools->Add()->SetCaption(u"last");
  EXPECT_EQ(tools->Item(tools->Count())->Caption(), u"last");
  EXPECT_THROW(tools->Add(ide::ControlType::Button, tools->Count() + 2), ide::HostError);

  // The Edit menu has room for the add-in's block and the item after it.
  auto edit = bars->Item(u"edit")->Controls();
  for (int pos = 3; pos <= 7; ++pos) edit->Add(pos == 7 ? ide::ControlType::Popup : ide::ControlType::Button, pos);
  EXPECT_EQ(edit->Item(7)->Type(), ide::ControlType::Popup);
  EXPECT_NO_THROW(edit->Item(8)->SetBeginGroup(true));
  EXPECT_THROW(bars->Item(u"Nope"), ide::HostError);
}

TEST(CommandBars, PopupsToolbarsAndDelete) {
  auto host = HostBuilder().Build();
  auto bars = host.vbe->CommandBars();
  auto tools = bars->Item(u"Tools")->Controls();
  auto popup = tools->Add(ide::ControlType::Popup, 0);
  popup->SetCaption(U("開発支援ツール(&T)"));
  popup->SetDescriptionText(U("開発を支援するツール"));
  auto inner = popup->Controls()->Add();
  inner->SetCaption(u"inner");
  EXPECT_EQ(host.BarItem("Tools", "inner"), inner);
  EXPECT_THROW(inner->Controls(), ide::HostError);

  auto bar = bars->Add(u"Tarno Kit", 1, true);
  EXPECT_FALSE(bar->Visible());
  bar->SetVisible(true);
  EXPECT_THROW(bars->Add(u"Tarno Kit", 1, true), ide::HostError);
  const int count = bars->Count();
  bar->Delete();
  EXPECT_EQ(bars->Count(), count - 1);
  EXPECT_THROW(bars->Item(u"Tarno Kit"), ide::HostError);
  EXPECT_THROW(bar->Controls(), ide::HostError);
  EXPECT_THROW(bars->Item(u"Tools")->Delete(), ide::HostError);

  const int n = tools->Count();
  popup->Delete();
  EXPECT_EQ(tools->Count(), n - 1);
  EXPECT_THROW(inner->Caption(), ide::HostError);  // went with its popup
  EXPECT_THROW(popup->Delete(), ide::HostError);
}

TEST(CommandBars, PasteFaceKeepsTheClipboardPicture) {
  auto host = HostBuilder().Build();
  auto button = host.vbe->CommandBars()->Item(u"Tools")->Controls()->Add();
  SystemClipboard().Clear();
  EXPECT_THROW(button->PasteFace(), ide::HostError);
  Picture face{2, 1, {0xFF000000u, 0xFFFFFFFFu}, "picComMnt"};
  SystemClipboard().SetData(face);
  button->PasteFace();
  SystemClipboard().Clear();
  auto mem = std::dynamic_pointer_cast<host::MemCommandBarControl>(button);
  ASSERT_TRUE(mem->face().has_value());
  EXPECT_EQ(*mem->face(), face);
}

TEST(CommandBarEvents, ClickReachesEveryConnectedSource) {
  auto host = HostBuilder().Build();
  auto button = host.vbe->CommandBars()->Item(u"Edit")->Controls()->Add(ide::ControlType::Button, 3);
  auto events = host.vbe->Events();
  auto s1 = events->CommandBarEvents(button);
  auto s2 = events->CommandBarEvents(button);
  int clicks = 0;
  std::shared_ptr<ide::CommandBarControl> seen;
  s1->SetClickHandler([&](const std::shared_ptr<ide::CommandBarControl>& c, bool& handled, bool&) {
    ++clicks;
    seen = c;
    handled = true;
  });
  s2->SetClickHandler([&](const std::shared_ptr<ide::CommandBarControl>&, bool& handled, bool& cancel) {
    ++clicks;
    EXPECT_TRUE(handled);  // flags pass from one sink to the next
    cancel = true;
  });
  auto r = host.Click(button);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(seen, button);
  EXPECT_TRUE(r.handled);
  EXPECT_TRUE(r.cancelDefault);

  s2->SetClickHandler({});  // disconnected
  s1.reset();               // released
  r = host.Click(button);
  EXPECT_EQ(r.sinks, 0);
  EXPECT_EQ(clicks, 2);
}

}  // namespace
}  // namespace tarno
