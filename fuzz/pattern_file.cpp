// Any bytes as a stored pattern, and any name typed for a folder or a
// pattern: reading the file gives lines each ended by CR LF, one store of
// what was read is stable (storing it again writes the same bytes), and no
// name ever makes the store create, write or delete outside its root.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "fuzz/fuzz_support.h"
#include "patterns/pattern_store.h"
#include "platform/code_page.h"

namespace {

using namespace tarno;
namespace fs = std::filesystem;

std::string Bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every entry below `dir`, as paths relative to it.
std::string Listing(const fs::path& dir) {
  std::string out;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
    out += fs::relative(it->path(), dir).string() + "\n";
  return out;
}

template <class F>
void Attempt(F&& f) {
  try {
    f();
  } catch (const std::exception&) {
    // Refusals and file-system failures are the store's answers, not faults.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string typed = in.ConsumeRandomLengthString(64);
  const std::string stored = in.ConsumeRemainingBytesAsString();

  fuzz::ClearScratch();
  const fs::path outside = fuzz::ScratchDir() / "outside";
  const fs::path root = fuzz::ScratchDir() / "root";
  fs::create_directories(outside);
  fs::create_directories(root / "f");
  patterns::SetPatternRootOverride(root);
  const CodePage& cp = SystemCodePage();

  fuzz::WriteScratch("root/f/x.Dat", stored);
  std::u16string text = patterns::ReadPatternFile(u"f", u"x.Dat");
  TARNO_FUZZ_CHECK(text.empty() || text.ends_with(u"\r\n"), "a read line without its CR LF");

  patterns::WritePatternFile(u"f", u"y", text);
  std::u16string again = patterns::ReadPatternFile(u"f", u"y.Dat");
  patterns::WritePatternFile(u"f", u"z", again);
  TARNO_FUZZ_CHECK(Bytes(root / "f" / "z.Dat") == Bytes(root / "f" / "y.Dat"), "a second store changed the pattern");

  // A typed name, as the editors hand it to the store.
  const std::u16string name = cp.Decode(typed);
  Attempt([&] { patterns::CreatePatternFolder(name); });
  Attempt([&] { patterns::WritePatternFile(u"f", name, u"x"); });
  Attempt([&] { patterns::RenamePatternFolder(u"f", name); });
  Attempt([&] { patterns::DeletePatternFile(u"f", name); });
  Attempt([&] { patterns::RemovePatternFolder(name); });
  TARNO_FUZZ_CHECK(Listing(outside).empty(), "the store wrote outside its root");
  for (const auto& e : fs::directory_iterator(fuzz::ScratchDir()))
    TARNO_FUZZ_CHECK(e.path() == outside || e.path() == root, "the store wrote beside its root: " + e.path().string());

  patterns::SetPatternRootOverride({});
  return 0;
}
