// tarno tabindex | index: the TabIndex and Index windows on a form file. The
// list is built as the window builds it (sorted by position); --order moves
// the named controls to the top of the list in that order; setting gives
// TabIndex 0, 1, 2, ... (or each array's Index 0, 1, 2, ...) in list order.
#include <algorithm>
#include <iostream>
#include <memory>
#include <string>

#include "cli/command_registry.h"
#include "cli/control_target.h"
#include "controls/order_list.h"
#include "platform/vb_text.h"

namespace tarno::cli {
namespace {

using ctl::Refused;

struct OrderOptions {
  ctl::FormOptions form;
  bool show = false;
  std::string order;
};

void Print(const std::vector<controls::OrderRow>& rows, const char* valueHeader) {
  std::cout << "No.\t" << vb::ToUtf8(vb::U("オブジェクト名")) << "\t[Caption] Or [Text]\t" << valueHeader
            << "\tTop\tLeft\n";
  for (const auto& r : rows) {
    std::cout << r.No << "\t" << vb::ToUtf8(r.Name) << "\t" << vb::ToUtf8(r.Text) << "\t" << vb::ToUtf8(r.Value)
              << "\t" << vb::ToUtf8(r.TopText()) << "\t" << vb::ToUtf8(r.LeftText()) << "\n";
  }
}

// The named controls first, in the order given, then the other rows as listed.
std::vector<controls::OrderRow> Reorder(const ctl::FormTarget& t, const std::vector<controls::OrderRow>& rows,
                                        const std::string& order, const char* what) {
  if (order.empty()) return rows;
  std::vector<controls::OrderRow> front, rest = rows;
  for (const auto& c : ctl::FindControls(t, order)) {
    const auto& all = t.designer->controls();
    auto at = std::find_if(rest.begin(), rest.end(), [&](const controls::OrderRow& r) {
      return r.No >= 1 && static_cast<size_t>(r.No) <= all.size() && all[size_t(r.No) - 1] == c;
    });
    if (at == rest.end())
      throw Refused{t.file + ": " + vb::ToUtf8(c->name()) + (c->index() >= 0 ? "(" + std::to_string(c->index()) + ")" : "") +
                    " is not in the " + what + " list"};
    front.push_back(*at);
    rest.erase(at);
  }
  front.insert(front.end(), rest.begin(), rest.end());
  return front;
}

void AddOrderOptions(CLI::App& sub, OrderOptions& o) {
  ctl::AddFormOptions(sub, o.form);
  sub.add_flag("--show", o.show, "print the list as the window builds it and write nothing");
  sub.add_option("--order", o.order, "controls to put first, in this order (Text1,Command1(2),...)");
}

void AddTabIndex(CLI::App& app, int& exit_code) {
  auto o = std::make_shared<OrderOptions>();
  auto* sub = app.add_subcommand("tabindex", "give the controls of a form TabIndex 0, 1, 2, ... by position, "
                                             "or in the order given");
  AddOrderOptions(*sub, *o);
  sub->callback([o, &exit_code] {
    ctl::Run(exit_code, [&] {
      ctl::FormTarget t = ctl::LoadForm(o->form);
      auto rows = Reorder(t, controls::TabIndexRows(*t.designer), o->order, "TabIndex");
      if (o->show) {
        Print(rows, "TabIndex");
        return;
      }
      ctl::RefuseWhenControlsLeftOut(t, "TabIndex");
      if (t.designer->controls().empty()) throw Refused{vb::ToUtf8(vb::U("TabIndexを設定するコントロールがありません"))};
      if (int refused = controls::SetTabIndexes(*t.designer, rows); refused > 0)
        throw Refused{t.file + ": " + std::to_string(refused) + " TabIndex writes were refused; nothing written"};
      ctl::Finish(t, o->form);
    });
  });
}

void AddIndex(CLI::App& app, int& exit_code) {
  auto o = std::make_shared<OrderOptions>();
  auto* sub = app.add_subcommand("index", "renumber the members of each control array of a form 0, 1, 2, ... by "
                                          "position, or in the order given");
  AddOrderOptions(*sub, *o);
  sub->callback([o, &exit_code] {
    ctl::Run(exit_code, [&] {
      ctl::FormTarget t = ctl::LoadForm(o->form);
      controls::IndexTable table = controls::BuildIndexTable(*t.designer);
      auto rows = Reorder(t, table.Rows(), o->order, "Index");
      if (o->show) {
        Print(rows, "Index");
        return;
      }
      ctl::RefuseWhenControlsLeftOut(t, "Index");
      if (table.NoFreeIndex()) throw Refused{vb::ToUtf8(vb::U("Indexの空きがありませんので設定できません"))};
      if (t.designer->controls().empty()) throw Refused{vb::ToUtf8(vb::U("Indexを設定するコントロールがありません"))};
      if (controls::SetIndexes(*t.designer, table.arrays, rows) != controls::IndexSetResult::Done)
        throw Refused{t.file + ": " + vb::ToUtf8(vb::U("Indexの設定に失敗しました"))};
      ctl::Finish(t, o->form);
    });
  });
}

RegisterCommand tabindexCommands([](CLI::App& app, int& exit_code) {
  AddTabIndex(app, exit_code);
  AddIndex(app, exit_code);
});

}  // namespace
}  // namespace tarno::cli
