// The add-in library's one entry point. A host loads libTarnoToolkit.so at
// run time, looks up TarnoCreateAddIn and asks it for the connect class by
// its programmatic identifier, as the IDE creates an add-in's connect class
// from the name in its add-in list. The host then raises the connection
// events on the object it got and deletes it (before unloading the library).
//
// The library takes the window toolkit, the in-memory IDE and the platform
// functions from the program that loads it: that program must export them
// (link them whole and with -rdynamic).
#pragma once

#include <memory>
#include <vector>

#include "addin/host_api.h"

namespace tarno::toolkit {

// The add-in's connection interface (IDTExtensibility).
class AddIn {
 public:
  virtual ~AddIn() = default;
  // Application: the IDE root object; every tool reaches the IDE through it.
  virtual void OnConnection(std::shared_ptr<ide::VBE> Application, int ConnectMode,
                            std::vector<ide::Variant>& custom) = 0;
  virtual void OnDisconnection(int RemoveMode, std::vector<ide::Variant>& custom) = 0;
  virtual void OnStartupComplete(std::vector<ide::Variant>& custom) = 0;
  virtual void OnAddInsUpdate(std::vector<ide::Variant>& custom) = 0;
};

// Connect modes of OnConnection and remove modes of OnDisconnection.
inline constexpr int ext_cm_AfterStartup = 0;
inline constexpr int ext_cm_Startup = 1;
inline constexpr int ext_dm_HostShutdown = 0;
inline constexpr int ext_dm_UserClosed = 1;

// The programmatic identifier of the connect class (the key in VBADDIN.INI).
inline constexpr const char* kConnectProgId = "prjTarnoAddIn.clsTarnoAddInP";
// The name of the factory in the library, and its type.
inline constexpr const char* kFactorySymbol = "TarnoCreateAddIn";
using Factory = AddIn* (*)(const char* progId);

}  // namespace tarno::toolkit

// A new connect class for progId, nullptr for a name the library does not
// serve. The caller owns the object.
extern "C" tarno::toolkit::AddIn* TarnoCreateAddIn(const char* progId);
