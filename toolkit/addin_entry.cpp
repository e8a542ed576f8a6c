#include "toolkit/addin_entry.h"

#include <cstring>

#include "addin/addin_globals.h"
#include "addin/connect/connect.h"
#include "toolkit/command_table.h"

namespace tarno::toolkit {
namespace {

// clsTarnoAddInP behind the connection interface.
class ConnectClass : public AddIn {
 public:
  void OnConnection(std::shared_ptr<ide::VBE> Application, int ConnectMode,
                    std::vector<ide::Variant>& custom) override {
    connect_.OnConnection(std::move(Application), ConnectMode, nullptr, custom);
  }
  void OnDisconnection(int RemoveMode, std::vector<ide::Variant>& custom) override {
    connect_.OnDisconnection(RemoveMode, custom);
    // The host may go away once the add-in is unloaded: let go of it.
    HostVBE.reset();
  }
  void OnStartupComplete(std::vector<ide::Variant>& custom) override { connect_.OnStartupComplete(custom); }
  void OnAddInsUpdate(std::vector<ide::Variant>& custom) override { connect_.OnAddInsUpdate(custom); }

 private:
  clsTarnoAddInP connect_{AddInCommands()};
};

}  // namespace
}  // namespace tarno::toolkit

extern "C" __attribute__((visibility("default"))) tarno::toolkit::AddIn* TarnoCreateAddIn(const char* progId) {
  if (!progId || std::strcmp(progId, tarno::toolkit::kConnectProgId) != 0) return nullptr;
  return new tarno::toolkit::ConnectClass();
}
