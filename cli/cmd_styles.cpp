// tarno styles list | apply: the control style patterns of the settings file,
// listed as the pattern window lists them and applied to controls of a form
// with the window's type check and messages.
#include <iostream>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "addin/settings.h"
#include "cli/command_registry.h"
#include "cli/control_target.h"
#include "controls/style_apply.h"
#include "platform/vb_text.h"

namespace tarno::cli {
namespace {

using ctl::Refused;

void LoadSettingsFile() {
  SettingsModel& s = Settings();
  GetSystemDir(s);
  LoadSettings(s);
}

// The properties a pattern's type uses, in the order they are applied.
nlohmann::ordered_json Properties(const clsCotrolStyle& p) {
  nlohmann::ordered_json j;
  auto font = [&] {
    j["Font"] = vb::ToUtf8(p.Font());
    j["FontSize"] = p.FontSize();
    j["FontBold"] = p.FontBold();
    j["FontItalic"] = p.FontItalic();
    j["FontStrikethru"] = p.FontStrikethru();
    j["FontUnderline"] = p.FontUnderline();
  };
  auto boolean = [](int16_t index) { return index == 0; };
  switch (p.CType()) {
    case 0:
      j["Alignment"] = p.Alignment();
      j["Enabled"] = boolean(p.Enabled());
      font();
      j["Height"] = p.Height();
      j["IMEMode"] = p.IMEMode();
      j["Locked"] = boolean(p.Locked());
      j["MaxLength"] = p.MaxLength();
      j["Tag"] = vb::ToUtf8(p.Tag());
      j["Width"] = p.Width();
      break;
    case 1:
      j["Alignment"] = p.Alignment();
      j["BackStyle"] = p.BackStyle();
      j["Enabled"] = boolean(p.Enabled());
      font();
      j["Height"] = p.Height();
      j["Tag"] = vb::ToUtf8(p.Tag());
      j["Width"] = p.Width();
      break;
    case 2:
      j["Caption"] = vb::ToUtf8(p.Caption());
      j["Enabled"] = boolean(p.Enabled());
      font();
      j["Height"] = p.Height();
      j["Left"] = p.Left();
      j["Tag"] = vb::ToUtf8(p.Tag());
      j["Top"] = p.Top();
      j["Width"] = p.Width();
      break;
  }
  return j;
}

void AddStyles(CLI::App& app, int& exit_code) {
  auto* styles = app.add_subcommand("styles", "the control style patterns of the settings file");
  styles->require_subcommand(1);

  auto format = std::make_shared<std::string>("text");
  auto* list = styles->add_subcommand("list", "print the registered patterns: number, name, type");
  list->add_option("--format", *format, "text or json")->check(CLI::IsMember({"text", "json"}));
  list->callback([format, &exit_code] {
    ctl::Run(exit_code, [&] {
      LoadSettingsFile();
      const SettingsModel& s = Settings();
      auto numbers = controls::LivePatternNumbers(s.PatternCollection);
      if (*format == "json") {
        nlohmann::ordered_json out = nlohmann::ordered_json::array();
        for (int32_t n : numbers) {
          const clsCotrolStyle& p = s.PatternCollection.Item(n);
          nlohmann::ordered_json j;
          j["number"] = n;
          j["name"] = vb::ToUtf8(p.PatrnName());
          j["type"] = vb::ToUtf8(controls::PatternTypeName(p.CType()));
          j["skipZeroAndBlank"] = p.FlgValue() == 1;
          j["properties"] = Properties(p);
          out.push_back(std::move(j));
        }
        std::cout << out.dump(2) << "\n";
        return;
      }
      std::cout << vb::ToUtf8(vb::U("番号\tパターン名\tタイプ")) << "\n";
      for (int32_t n : numbers) {
        const clsCotrolStyle& p = s.PatternCollection.Item(n);
        std::cout << n << "\t" << vb::ToUtf8(p.PatrnName()) << "\t" << vb::ToUtf8(controls::PatternTypeName(p.CType()))
                  << "\n";
      }
    });
  });

  struct ApplyOptions {
    int number = 0;
    ctl::FormOptions form;
    std::string controls;
  };
  auto o = std::make_shared<ApplyOptions>();
  auto* apply = styles->add_subcommand("apply", "apply pattern NUMBER to controls of a form");
  apply->add_option("number", o->number, "the pattern's number, as `styles list` shows it")->required();
  ctl::AddFormOptions(*apply, o->form);
  apply->add_option("--controls", o->controls, "the controls, as the form names them (Text1,Command1(2))")
      ->required();
  apply->callback([o, &exit_code] {
    ctl::Run(exit_code, [&] {
      LoadSettingsFile();
      const SettingsModel& s = Settings();
      if (o->number < 1 || o->number > s.PatternCollection.Count() ||
          s.PatternCollection.Item(o->number).DelFlg() != 0)
        throw Refused{"no style pattern number " + std::to_string(o->number) + " in " +
                      SettingsFilePath(s).string() + " (see tarno styles list)"};
      const clsCotrolStyle& p = s.PatternCollection.Item(o->number);
      ctl::FormTarget t = ctl::LoadForm(o->form);
      t.designer->SetSelected(ctl::FindControls(t, o->controls));
      ctl::CheckEncodable(t, p.Font(), "the pattern's font name");
      ctl::CheckEncodable(t, p.Tag(), "the pattern's Tag");
      if (p.CType() == 2) ctl::CheckEncodable(t, p.Caption(), "the pattern's Caption");
      auto r = controls::ApplyStylePattern(t.designer, p);
      if (r != controls::StyleApplyResult::Done) throw Refused{vb::ToUtf8(controls::StyleApplyMessage(r))};
      ctl::Finish(t, o->form);
    });
  });
}

RegisterCommand stylesCommands([](CLI::App& app, int& exit_code) { AddStyles(app, exit_code); });

}  // namespace
}  // namespace tarno::cli
