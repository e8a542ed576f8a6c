// The current registered comment at the caret, and the slot rules.
#include <gtest/gtest.h>

#include "addin/settings.h"
#include "codegen/registered_comment.h"
#include "platform/vb_text.h"
#include "support/host_builders.h"

namespace tarno::codegen {
namespace {

using test::HostBuilder;

TEST(CommentSlots, CurrentCommentNoOutsideZeroToNineMeansSlotZero) {
  SettingsModel s;
  for (int32_t no : {0, 9, 5}) {
    s.CurrentCommentNo = no;
    EXPECT_EQ(CurrentCommentIndex(s), no);
  }
  for (int32_t no : {-1, 10, 123456}) {
    s.CurrentCommentNo = no;
    EXPECT_EQ(CurrentCommentIndex(s), 0) << no;
  }
}

TEST(CommentSlots, StoreCommentNormalisesIntoTheSlot) {
  SettingsModel s;
  StoreComment(s, 4, u"a\r\nb");
  EXPECT_EQ(s.CommentTexts[4], u"'a\r\n'b");
  EXPECT_TRUE(s.CommentTexts[0].empty());
}

TEST(InsertRegisteredComment, InsertsTheCurrentSlotAboveTheCaret) {
  auto host = HostBuilder().Module("Module1", "Sub A()\nEnd Sub\n").ActiveCode("Module1", 2, 3, 2, 3).Build();
  SettingsModel s;
  s.CommentTexts[2] = u"' one\r\n' two";
  s.CurrentCommentNo = 2;
  EXPECT_EQ(InsertRegisteredCommentText(*host.vbe, s), InsertCommentResult::Inserted);
  EXPECT_EQ(host.Lines("Module1"), (std::vector<std::string>{"Sub A()", "' one", "' two", "End Sub"}));
}

TEST(InsertRegisteredComment, ABlankSlotIsReportedOnlyInACodeWindow) {
  auto host = HostBuilder()
                  .Module("Module1", "Sub A()\nEnd Sub\n")
                  .Form("Form1", "")
                  .ActiveCode("Module1", 1, 1, 1, 1)
                  .Build();
  SettingsModel s;
  s.CommentTexts[0] = u"   ";
  EXPECT_EQ(InsertRegisteredCommentText(*host.vbe, s), InsertCommentResult::NoComment);
  host.ShowDesigner("Form1");
  EXPECT_EQ(InsertRegisteredCommentText(*host.vbe, s), InsertCommentResult::NotRun);
  EXPECT_EQ(host.Lines("Module1").size(), 2u);
}

TEST(InsertRegisteredComment, HandEditedSlotNumberUsesSlotZero) {
  auto host = HostBuilder().Module("Module1", "Sub A()\nEnd Sub\n").ActiveCode("Module1", 1, 1, 1, 1).Build();
  SettingsModel s;
  s.CommentTexts[0] = u"'zero";
  s.CurrentCommentNo = 42;
  EXPECT_EQ(InsertRegisteredCommentText(*host.vbe, s), InsertCommentResult::Inserted);
  EXPECT_EQ(host.Lines("Module1")[0], "'zero");
}

}  // namespace
}  // namespace tarno::codegen
