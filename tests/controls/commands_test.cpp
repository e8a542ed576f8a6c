// The add-in's four control-tool commands open their windows modally.
#include "toolkit/command_table.h"
#include "fixture.h"

namespace tarno::controls::testing {
namespace {

TEST_F(ControlsTest, EachControlToolCommandShowsItsWindow) {
  Form({{"TextBox", "Text1"}});
  const std::pair<Command, const char16_t*> commands[] = {
      {Command::ContorolTool, u"frmContorol"},
      {Command::ContorolPatrnTool, u"frmContorolPatrn"},
      {Command::ContorolTabIndexTool, u"frmTabIndex"},
      {Command::ContorolIndexTool, u"frmIndex"},
  };
  for (const auto& [command, window] : commands) {
    EXPECT_TRUE(RunCommand(command));
    ASSERT_FALSE(h_.ModalShown().empty());
    EXPECT_EQ(h_.ModalShown().back(), window);
  }
  EXPECT_EQ(h_.ModalShown().size(), 4u);
}

}  // namespace
}  // namespace tarno::controls::testing
