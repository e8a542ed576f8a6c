// The add-in's connect class: the host creates it and raises its connection
// events. Connecting adds the add-in's items to the IDE's Tools and Edit
// menus and its own toolbar, loads the settings and, when auto-save is on,
// the hidden auto-save window; disconnecting saves the settings and removes
// everything that was added.
#pragma once

#include <memory>
#include <vector>

#include "addin/connect/command_row.h"
#include "addin/host_api.h"

namespace tarno {

class frmTitle;

// The custom array passed with the connection events.
using CustomArray = std::vector<ide::Variant>;

// Remove modes of OnDisconnection.
inline constexpr int ext_dm_HostShutdown = 0;
inline constexpr int ext_dm_UserClosed = 1;

class clsTarnoAddInP {
 public:
  // commands: the add-in's commands and its auto-save window, which outlive
  // the connect class.
  explicit clsTarnoAddInP(CommandTable commands);
  ~clsTarnoAddInP();
  clsTarnoAddInP(const clsTarnoAddInP&) = delete;
  clsTarnoAddInP& operator=(const clsTarnoAddInP&) = delete;

  // Errors of any step show the start-up failure message and run the
  // disconnection clean-up (remove mode 1); the call then returns normally.
  void OnConnection(std::shared_ptr<ide::VBE> Application, int ConnectMode, std::shared_ptr<void> AddInInst,
                    CustomArray& custom);
  // Saves the settings, deletes the menu items, the toolbar's buttons and the
  // toolbar, and unloads the auto-save window; every step is tried even when
  // an earlier one failed, and errors are not reported.
  void OnDisconnection(int RemoveMode, CustomArray& custom);
  void OnStartupComplete(CustomArray& custom) {}
  void OnAddInsUpdate(CustomArray& custom) {}

  // The splash window of the last connection (nullptr before any).
  frmTitle* Splash() const { return splash_.get(); }
  // The command-bar controls the connection created, in order of creation:
  // the menu items (popups before their items) and the toolbar's buttons.
  const std::vector<std::shared_ptr<ide::CommandBarControl>>& MenuItems() const { return menu_items_; }
  const std::vector<std::shared_ptr<ide::CommandBarControl>>& ToolbarButtons() const { return buttons_; }
  const std::shared_ptr<ide::CommandBar>& Toolbar() const { return toolbar_; }

  // Event sinks: Menu<suffix> for the menu item and Ctrl<suffix> for the
  // toolbar button of each command; the two popups have one each that
  // handles nothing.
  std::shared_ptr<ide::CommandBarEvents> MenuHandler, CtrlHandler, MenuHensuu, CtrlHensuu, MenuProc, CtrlProc,
      MenuCodePatrn, CtrlCodePatrn, MenuProjectTool, CtrlProjectTool, MenuCopyTool, CtrlCopyTool, MenuContorolTool,
      CtrlContorolTool, MenuContorolPatrnTool, CtrlContorolPatrnTool, MenuContorolTabIndexTool,
      CtrlContorolTabIndexTool, MenuContorolIndexTool, CtrlContorolIndexTool, MenuEdit, CtrlEdit, MenuCommentOut,
      CtrlCommentOut, MenuCommentDel, CtrlCommentDel, MenuComment, CtrlComment, MenuErrorHeader, CtrlErrorHeader,
      MenuErrorHuter, CtrlErrorHuter, MenuContorolErrTool, CtrlContorolErrTool;
  std::shared_ptr<ide::CommandBarEvents> MenuToolsPopup, MenuEditPopup;

  // The sink members of a command (menu, toolbar), found by its suffix;
  // std::out_of_range for a row whose suffix names no sink.
  std::shared_ptr<ide::CommandBarEvents>& MenuSink(const CommandRow& row);
  std::shared_ptr<ide::CommandBarEvents>& CtrlSink(const CommandRow& row);

 private:
  void AddToolsItems();
  void AddEditItems();
  void AddMenuItem(const CommandRow& row, ide::CommandBarControls& controls, int before);
  std::shared_ptr<ide::CommandBarControls> PopupItems(const char16_t* menu, const std::u16string& caption);
  void CreateToolBar();
  void PasteFace(ide::CommandBarControl& control, const char* face);
  std::shared_ptr<ide::CommandBarEvents> Connect(const std::shared_ptr<ide::CommandBarControl>& control,
                                                 const CommandRow* row);
  void RemoveCommandBars();

  CommandTable commands_;
  std::unique_ptr<frmTitle> splash_;
  std::vector<std::shared_ptr<ide::CommandBarControl>> menu_items_;
  std::vector<std::shared_ptr<ide::CommandBarControl>> buttons_;
  std::shared_ptr<ide::CommandBar> toolbar_;
};

// Captions of the two popups and the name of the toolbar.
extern const char* const kToolsPopupCaption;  // "開発支援ツール(&T)"
extern const char* const kEditPopupCaption;   // "エラー処理挿入(&R)"
extern const char16_t* const kToolbarName;    // "Tarno Kit"

}  // namespace tarno
