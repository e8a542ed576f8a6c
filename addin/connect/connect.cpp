#include "addin/connect/connect.h"

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

#include "addin/addin_globals.h"
#include "addin/connect/frm_image.h"
#include "addin/connect/frm_title.h"
#include "addin/settings.h"
#include "platform/clipboard.h"
#include "platform/vb_text.h"
#include "ui/services.h"

namespace tarno {

const char* const kToolsPopupCaption = "開発支援ツール(&T)";
const char* const kEditPopupCaption = "エラー処理挿入(&R)";
const char16_t* const kToolbarName = u"Tarno Kit";

namespace {

using Sink = std::shared_ptr<ide::CommandBarEvents> clsTarnoAddInP::*;
struct SinkPair {
  std::string_view suffix;  // Menu<suffix>, Ctrl<suffix>
  Sink menu, ctrl;
};
// The sink members of the connect class, by the suffix a command row names.
constexpr std::array<SinkPair, 17> kSinks = {{
    {"Handler", &clsTarnoAddInP::MenuHandler, &clsTarnoAddInP::CtrlHandler},
    {"Hensuu", &clsTarnoAddInP::MenuHensuu, &clsTarnoAddInP::CtrlHensuu},
    {"Proc", &clsTarnoAddInP::MenuProc, &clsTarnoAddInP::CtrlProc},
    {"CodePatrn", &clsTarnoAddInP::MenuCodePatrn, &clsTarnoAddInP::CtrlCodePatrn},
    {"ProjectTool", &clsTarnoAddInP::MenuProjectTool, &clsTarnoAddInP::CtrlProjectTool},
    {"CopyTool", &clsTarnoAddInP::MenuCopyTool, &clsTarnoAddInP::CtrlCopyTool},
    {"ContorolTool", &clsTarnoAddInP::MenuContorolTool, &clsTarnoAddInP::CtrlContorolTool},
    {"ContorolPatrnTool", &clsTarnoAddInP::MenuContorolPatrnTool, &clsTarnoAddInP::CtrlContorolPatrnTool},
    {"ContorolTabIndexTool", &clsTarnoAddInP::MenuContorolTabIndexTool, &clsTarnoAddInP::CtrlContorolTabIndexTool},
    {"ContorolIndexTool", &clsTarnoAddInP::MenuContorolIndexTool, &clsTarnoAddInP::CtrlContorolIndexTool},
    {"Edit", &clsTarnoAddInP::MenuEdit, &clsTarnoAddInP::CtrlEdit},
    {"CommentOut", &clsTarnoAddInP::MenuCommentOut, &clsTarnoAddInP::CtrlCommentOut},
    {"CommentDel", &clsTarnoAddInP::MenuCommentDel, &clsTarnoAddInP::CtrlCommentDel},
    {"Comment", &clsTarnoAddInP::MenuComment, &clsTarnoAddInP::CtrlComment},
    {"ErrorHeader", &clsTarnoAddInP::MenuErrorHeader, &clsTarnoAddInP::CtrlErrorHeader},
    {"ErrorHuter", &clsTarnoAddInP::MenuErrorHuter, &clsTarnoAddInP::CtrlErrorHuter},
    {"ContorolErrTool", &clsTarnoAddInP::MenuContorolErrTool, &clsTarnoAddInP::CtrlContorolErrTool},
}};

const SinkPair& SinksOf(const CommandRow& row) {
  for (const SinkPair& pair : kSinks)
    if (pair.suffix == row.suffix) return pair;
  throw std::out_of_range(std::string("the connect class has no sinks for the command ") + row.suffix);
}

template <class F>
void IgnoringErrors(F&& step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

}  // namespace

clsTarnoAddInP::clsTarnoAddInP(CommandTable commands) : commands_(commands) {}
clsTarnoAddInP::~clsTarnoAddInP() = default;

std::shared_ptr<ide::CommandBarEvents>& clsTarnoAddInP::MenuSink(const CommandRow& row) {
  return this->*SinksOf(row).menu;
}

std::shared_ptr<ide::CommandBarEvents>& clsTarnoAddInP::CtrlSink(const CommandRow& row) {
  return this->*SinksOf(row).ctrl;
}

void clsTarnoAddInP::OnConnection(std::shared_ptr<ide::VBE> Application, int ConnectMode,
                                  std::shared_ptr<void> AddInInst, CustomArray& custom) {
  SettingsModel& settings = Settings();
  // Until this connection has read the settings file to the end, the
  // clean-up must not write the model back over it.
  settings.LoadCompleted = false;
  menu_items_.clear();
  buttons_.clear();
  try {
    splash_ = std::make_unique<frmTitle>();
    splash_->Show();
    // Without the IDE's root object nothing below can run: the connection
    // fails as any other step would, rather than dereferencing it.
    if (!Application) throw ide::HostError("OnConnection", "no application object");
    HostVBE = std::move(Application);
    AddToolsItems();
    AddEditItems();
    CreateToolBar();
    GetSystemDir(settings);
    settings.PatternCollection = CotrolStyleCollection();
    LoadSettings(settings);
    if (settings.AutoSaveOn == 1) {
      ProjectToolFromMenu = 0;
      commands_.auto_save.load_hidden();
    }
  } catch (const std::exception&) {
    ui::MsgBox(vb::U("Tarno Kitの起動時にエラーが発生しました。") + vb::kCrLf +
                   vb::U("アドインマネージャーを起動しアンロードしてください。"),
               ui::vbExclamation | ui::vbOKOnly, u"Tarno Kit");
    OnDisconnection(ext_dm_UserClosed, custom);
  }
}

void clsTarnoAddInP::OnDisconnection(int RemoveMode, CustomArray& custom) { RemoveCommandBars(); }

void clsTarnoAddInP::PasteFace(ide::CommandBarControl& control, const char* face) {
  SystemClipboard().SetData(Images().Face(face));
  control.PasteFace();
}

std::shared_ptr<ide::CommandBarEvents> clsTarnoAddInP::Connect(const std::shared_ptr<ide::CommandBarControl>& control,
                                                               const CommandRow* row) {
  auto sink = HostVBE->Events()->CommandBarEvents(control);
  if (row) {
    // The handled and cancel-default flags are left as the host passed them.
    sink->SetClickHandler([row](const std::shared_ptr<ide::CommandBarControl>&, bool&, bool&) { RunRow(*row); });
  }
  return sink;
}

void clsTarnoAddInP::AddMenuItem(const CommandRow& row, ide::CommandBarControls& controls, int before) {
  auto item = controls.Add(ide::ControlType::Button, before);
  menu_items_.push_back(item);
  if (row.menu_begin_group) item->SetBeginGroup(true);
  item->SetCaption(vb::U(row.caption));
  PasteFace(*item, row.face);
  MenuSink(row) = Connect(item, &row);
}

std::shared_ptr<ide::CommandBarControls> clsTarnoAddInP::PopupItems(const char16_t* menu,
                                                                    const std::u16string& caption) {
  auto controls = HostVBE->CommandBars()->Item(menu)->Controls();
  for (int i = 1, n = controls->Count(); i <= n; ++i) {
    auto control = controls->Item(i);
    if (control->Caption() == caption) return control->Controls();
  }
  throw ide::HostError("CommandBarControls.Item", "no control captioned " + vb::ToUtf8(caption));
}

void clsTarnoAddInP::AddToolsItems() {
  for (const CommandRow& row : commands_.rows)
    if (row.menu == MenuPlace::Tools)
      AddMenuItem(row, *HostVBE->CommandBars()->Item(u"Tools")->Controls(), row.position);

  auto popup = HostVBE->CommandBars()->Item(u"Tools")->Controls()->Add(ide::ControlType::Popup, 8);
  menu_items_.push_back(popup);
  popup->SetBeginGroup(true);
  popup->SetCaption(vb::U(kToolsPopupCaption));
  popup->SetDescriptionText(vb::U("開発を支援するツール"));
  popup->SetToolTipText(vb::U("開発を支援するツール"));
  MenuToolsPopup = Connect(popup, nullptr);

  for (const CommandRow& row : commands_.rows)
    if (row.menu == MenuPlace::ToolsPopup) AddMenuItem(row, *PopupItems(u"Tools", vb::U(kToolsPopupCaption)), 0);
}

void clsTarnoAddInP::AddEditItems() {
  for (const CommandRow& row : commands_.rows)
    if (row.menu == MenuPlace::Edit)
      AddMenuItem(row, *HostVBE->CommandBars()->Item(u"Edit")->Controls(), row.position);

  auto popup = HostVBE->CommandBars()->Item(u"Edit")->Controls()->Add(ide::ControlType::Popup, 7);
  menu_items_.push_back(popup);
  popup->SetCaption(vb::U(kEditPopupCaption));
  MenuEditPopup = Connect(popup, nullptr);

  for (const CommandRow& row : commands_.rows)
    if (row.menu == MenuPlace::EditPopup) AddMenuItem(row, *PopupItems(u"Edit", vb::U(kEditPopupCaption)), 0);

  // The IDE's own item that now follows the add-in's block starts a group.
  HostVBE->CommandBars()->Item(u"Edit")->Controls()->Item(8)->SetBeginGroup(true);
}

void clsTarnoAddInP::CreateToolBar() {
  toolbar_.reset();
  auto bars = HostVBE->CommandBars();
  // A toolbar left over from an earlier run of the host goes first.
  IgnoringErrors([&] { bars->Item(kToolbarName)->Delete(); });

  toolbar_ = bars->Add(kToolbarName, 1, true);
  toolbar_->SetVisible(true);
  for (const CommandRow& row : commands_.rows) {
    auto button = toolbar_->Controls()->Add(ide::ControlType::Button, 0);
    buttons_.push_back(button);
    if (row.button_begin_group) button->SetBeginGroup(true);
    button->SetToolTipText(vb::U(row.tool_tip));
    PasteFace(*button, row.face);
    CtrlSink(row) = Connect(button, &row);
  }
}

void clsTarnoAddInP::RemoveCommandBars() {
  IgnoringErrors([] { SaveSettings(Settings()); });

  // Items are deleted last-created first, so that popup items go before their
  // popup. A deletion that fails is tried once more at the end: a control
  // must not outlive the add-in because of a passing host error.
  std::vector<std::shared_ptr<ide::CommandBarControl>> failed;
  auto remove = [&failed](const std::shared_ptr<ide::CommandBarControl>& c) {
    try {
      c->Delete();
    } catch (const std::exception&) {
      failed.push_back(c);
    }
  };
  for (auto it = menu_items_.rbegin(); it != menu_items_.rend(); ++it) remove(*it);
  for (auto it = buttons_.rbegin(); it != buttons_.rend(); ++it) remove(*it);
  bool toolbarFailed = false;
  if (toolbar_) {
    try {
      toolbar_->Delete();
    } catch (const std::exception&) {
      toolbarFailed = true;
    }
  }
  for (auto& c : failed) IgnoringErrors([&] { c->Delete(); });
  if (toolbarFailed) IgnoringErrors([&] { toolbar_->Delete(); });

  IgnoringErrors([this] { commands_.auto_save.unload(); });

  // Clicks must not reach a disconnected add-in.
  auto release = [](std::shared_ptr<ide::CommandBarEvents>& sink) {
    if (sink) IgnoringErrors([&] { sink->SetClickHandler({}); });
    sink.reset();
  };
  for (const SinkPair& pair : kSinks) {
    release(this->*pair.menu);
    release(this->*pair.ctrl);
  }
  release(MenuToolsPopup);
  release(MenuEditPopup);
  menu_items_.clear();
  buttons_.clear();
  toolbar_.reset();
  HostVBE.reset();
}

}  // namespace tarno
