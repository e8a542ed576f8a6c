// tarno menus: connects the add-in to a fresh in-memory IDE and prints the
// menus and the toolbar as they stand after the connection.
#include <iostream>
#include <map>
#include <memory>
#include <set>

#include "addin/connect/connect.h"
#include "addin/settings.h"
#include "cli/command_registry.h"
#include "host/command_bars.h"
#include "host/mem_host.h"
#include "platform/vb_text.h"
#include "toolkit/command_table.h"

namespace tarno::cli {
namespace {

struct Printer {
  std::ostream& out;
  bool added_only;
  std::set<const ide::CommandBarControl*> ours;
  std::map<std::u16string, const CommandRow*> by_caption, by_tip;

  // "*" marks the add-in's items, "|" an item that begins a group.
  void Line(int depth, int position, ide::CommandBarControl& c, const std::u16string& text,
            const CommandRow* row) {
    bool mine = ours.count(&c) != 0;
    if (added_only && !mine) return;
    out << (mine ? "  * " : "    ") << std::string(depth * 4, ' ');
    std::string pos = std::to_string(position);
    out << std::string(pos.size() < 2 ? 2 - pos.size() : 0, ' ') << pos << (c.BeginGroup() ? " | " : "   ")
        << vb::ToUtf8(text);
    if (c.Type() == ide::ControlType::Popup) out << "  (popup)";
    if (!c.ToolTipText().empty() && c.ToolTipText() != text) out << "  tip: " << vb::ToUtf8(c.ToolTipText());
    if (auto* mem = dynamic_cast<host::MemCommandBarControl*>(&c); mem && mem->face())
      out << "  face: " << mem->face()->name;
    if (row) out << "  runs: " << row->runs << (row->action ? "" : " (not built yet)");
    out << "\n";
  }

  void Controls(ide::CommandBarControls& controls, int depth) {
    for (int i = 1, n = controls.Count(); i <= n; ++i) {
      auto c = controls.Item(i);
      auto found = by_caption.find(c->Caption());
      Line(depth, i, *c, c->Caption(), found == by_caption.end() ? nullptr : found->second);
      if (c->Type() == ide::ControlType::Popup) Controls(*c->Controls(), depth + 1);
    }
  }

  void Toolbar(ide::CommandBar& bar) {
    auto controls = bar.Controls();
    for (int i = 1, n = controls->Count(); i <= n; ++i) {
      auto c = controls->Item(i);
      auto found = by_tip.find(c->ToolTipText());
      Line(0, i, *c, c->ToolTipText(), found == by_tip.end() ? nullptr : found->second);
    }
  }
};

int RunMenus(bool added_only) {
  auto vbe = host::MemVBE::Create();
  clsTarnoAddInP addin{AddInCommands()};
  CustomArray custom;
  addin.OnConnection(vbe, 0, nullptr, custom);
  if (!addin.Toolbar()) {
    std::cerr << "tarno menus: the add-in did not connect\n";
    return 1;
  }

  Printer p{std::cout, added_only, {}, {}, {}};
  for (auto& c : addin.MenuItems()) p.ours.insert(c.get());
  for (auto& c : addin.ToolbarButtons()) p.ours.insert(c.get());
  for (const CommandRow& row : CommandRows()) {
    p.by_caption[vb::U(row.caption)] = &row;
    p.by_tip[vb::U(row.tool_tip)] = &row;
  }
  std::cout << "Legend: * added by Tarno Kit, | begins a group\n";
  for (const char16_t* menu : {u"Tools", u"Edit"}) {
    std::cout << "\n" << vb::ToUtf8(menu) << " menu\n";
    p.Controls(*vbe->CommandBars()->Item(menu)->Controls(), 0);
  }
  auto bar = addin.Toolbar();
  std::cout << "\nToolbar \"" << vb::ToUtf8(bar->Name()) << "\" (" << bar->Controls()->Count() << " buttons, "
            << (bar->Visible() ? "visible" : "hidden") << ", docked at the top)\n";
  p.Toolbar(*bar);

  // Only a look: the settings file is left as it was.
  Settings().LoadCompleted = false;
  addin.OnDisconnection(ext_dm_HostShutdown, custom);
  return 0;
}

const RegisterCommand kMenus([](CLI::App& app, int& exit_code) {
  auto* cmd = app.add_subcommand("menus", "Print the menu items and toolbar that the add-in adds to the IDE");
  auto added_only = std::make_shared<bool>(false);
  cmd->add_flag("--added-only", *added_only, "Print only the add-in's own items");
  cmd->callback([&exit_code, added_only] { exit_code = RunMenus(*added_only); });
});

}  // namespace
}  // namespace tarno::cli
