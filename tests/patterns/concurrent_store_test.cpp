// Two windows (or a window and `tarno patterns`) storing the same names at
// the same moment, through the edits the windows make: every name is taken
// by exactly one of them, the other is refused with the used-name message,
// and the text on disk is the winner's, whole.
#include <gmock/gmock.h>

#include <array>
#include <barrier>
#include <functional>
#include <thread>

#include "pattern_fixture.h"
#include "patterns/pattern_edits.h"
#include "patterns/pattern_store.h"

namespace tarno::patterns {
namespace {

namespace fs = std::filesystem;
using vb::U;

constexpr int kRounds = 200;

// What one call ended in: stored, or refused with this message.
struct Outcome {
  bool stored = false;
  std::u16string refusal;
  std::string failure;  // a file-system failure, which should not happen here
};

Outcome Try(const std::function<void()>& store) {
  Outcome o;
  try {
    store();
    o.stored = true;
  } catch (const PatternRefusal& r) {
    o.refusal = r.message();
  } catch (const std::exception& e) {
    o.failure = e.what();
  }
  return o;
}

std::u16string Num(int i) { return vb::FromInt(i); }

class ConcurrentStoreTest : public test::PatternFolderTest {
 protected:
  void SetUp() override {
    PatternFolderTest::SetUp();
    CreatePatternRoot();
    CreatePatternFolder(u"F");
  }
};

TEST_F(ConcurrentStoreTest, TwoStoresOfTheSameNamesLoseNoTextAndEveryLoserIsTold) {
  struct Step {
    const char* what;
    // The store that thread t makes in round i.
    std::function<void(int t, int i)> store;
    std::vector<const char*> loserMessages;
  } steps[] = {
      {"add a pattern",
       [](int t, int i) { StorePattern(u"F", u"", u"P" + Num(i), u"' by " + Num(t) + u" in " + Num(i)); },
       {msg::PatternNameUsed}},
      {"rename the pattern",
       [](int t, int i) { StorePattern(u"F", u"P" + Num(i) + u".Dat", u"R" + Num(i), u"' edit " + Num(t)); },
       {msg::PatternNameUsed}},
      {"add a folder", [](int, int i) { StoreFolder(u"", u"D" + Num(i)); }, {msg::FolderNameExists}},
      // The loser finds the new name taken, or its folder already moved.
      {"rename the folder", [](int, int i) { StoreFolder(u"D" + Num(i), u"E" + Num(i)); },
       {msg::FolderNameExists, msg::FolderMissing}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    std::array<std::vector<Outcome>, 2> outcomes;
    std::barrier sync(2);
    auto run = [&](int t) {
      for (int i = 0; i < kRounds; ++i) {
        sync.arrive_and_wait();  // both start each round together
        outcomes[t].push_back(Try([&] { step.store(t, i); }));
      }
    };
    std::thread other(run, 1);
    run(0);
    other.join();

    int refusals = 0;
    for (int i = 0; i < kRounds; ++i) {
      const Outcome& a = outcomes[0][i];
      const Outcome& b = outcomes[1][i];
      EXPECT_EQ(a.failure + b.failure, "") << "round " << i;
      ASSERT_NE(a.stored, b.stored) << "round " << i << ": both or neither stored";
      const Outcome& loser = a.stored ? b : a;
      bool known = false;
      for (const char* m : step.loserMessages) known |= loser.refusal == U(m);
      EXPECT_TRUE(known) << "round " << i << ": " << vb::ToUtf8(loser.refusal);
      refusals += known;
      if (step.what == std::string("add a pattern") || step.what == std::string("rename the pattern")) {
        // The file holds the winner's text, whole.
        bool added = step.what == std::string("add a pattern");
        std::u16string winner = Num(a.stored ? 0 : 1);
        std::u16string text = added ? u"' by " + winner + u" in " + Num(i) : u"' edit " + winner;
        std::u16string file = (added ? u"P" : u"R") + Num(i) + u".Dat";
        EXPECT_EQ(ReadPatternFile(u"F", file), text + u"\r\n") << "round " << i;
      }
    }
    EXPECT_EQ(refusals, kRounds);
  }
  // Every pattern moved to its new name, with nothing else beside them.
  std::set<std::string> expected;
  for (int i = 0; i < kRounds; ++i) expected.insert("R" + std::to_string(i) + ".Dat");
  EXPECT_EQ(Tree(At("F")), expected);
  for (int i = 0; i < kRounds; ++i) {
    EXPECT_TRUE(fs::is_directory(At("E" + std::to_string(i)))) << i;
    EXPECT_FALSE(fs::exists(At("D" + std::to_string(i)))) << i;
  }
}

}  // namespace
}  // namespace tarno::patterns
