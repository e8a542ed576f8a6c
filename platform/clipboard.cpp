#include "platform/clipboard.h"

namespace tarno {
namespace {
std::shared_ptr<Clipboard>& Current() {
  static std::shared_ptr<Clipboard> clipboard = std::make_shared<MemoryClipboard>();
  return clipboard;
}
}  // namespace

Clipboard& SystemClipboard() { return *Current(); }

void SetSystemClipboard(std::shared_ptr<Clipboard> clipboard) {
  Current() = clipboard ? std::move(clipboard) : std::make_shared<MemoryClipboard>();
}

}  // namespace tarno
