// tarno layout: the control layout window on a form file. Positions, the
// font and BackStyle are applied to the named controls as the window's three
// tabs apply them; the font starts from what the controls have in common.
#include <memory>
#include <optional>
#include <string>

#include "cli/command_registry.h"
#include "cli/control_target.h"
#include "controls/control_layout.h"
#include "platform/vb_text.h"

namespace tarno::cli {
namespace {

using ctl::Refused;

struct LayoutOptions {
  ctl::FormOptions form;
  std::string controls;
  std::array<std::string, 4> positions;  // Top, Left, Height, Width
  std::optional<std::string> font;
  std::optional<std::string> size;
  std::array<bool, 4> on{}, off{};  // bold, italic, strikethru, underline
  std::optional<int> backstyle;
};

// The window's fields take digits only (no sign, no decimal point), at most 10.
void CheckDigits(const std::string& option, const std::string& value) {
  if (value.empty() || value.size() > 10 || value.find_first_not_of("0123456789") != std::string::npos)
    throw Refused{option + " " + value + ": expected digits only (at most 10)"};
}

void AddLayout(CLI::App& app, int& exit_code) {
  auto o = std::make_shared<LayoutOptions>();
  auto* sub = app.add_subcommand("layout", "set position, size, font or BackStyle of controls of a form");
  ctl::AddFormOptions(*sub, o->form);
  sub->add_option("--controls", o->controls, "the controls, as the form names them (Text1,Command1(2))")->required();
  const char* names[] = {"--top", "--left", "--height", "--width"};
  for (size_t k = 0; k < 4; ++k) sub->add_option(names[k], o->positions[k], "twips, digits only");
  sub->add_option("--font", o->font, "font name");
  sub->add_option("--size", o->size, "font size in whole points");
  const char* flags[] = {"bold", "italic", "strikethru", "underline"};
  for (size_t k = 0; k < 4; ++k) {
    auto* yes = sub->add_flag(std::string("--") + flags[k], o->on[k], std::string("set ") + flags[k]);
    auto* no = sub->add_flag(std::string("--no-") + flags[k], o->off[k], std::string("clear ") + flags[k]);
    yes->excludes(no);
  }
  sub->add_option("--backstyle", o->backstyle, "0 transparent, 1 opaque")->check(CLI::IsMember({0, 1}));
  sub->callback([o, &exit_code] {
    ctl::Run(exit_code, [&] {
      const char* optionNames[] = {"--top", "--left", "--height", "--width"};
      bool anyPosition = false;
      for (size_t k = 0; k < 4; ++k) {
        if (o->positions[k].empty()) continue;
        CheckDigits(optionNames[k], o->positions[k]);
        anyPosition = true;
      }
      if (o->size) CheckDigits("--size", *o->size);
      bool anyFlag = false;
      for (size_t k = 0; k < 4; ++k) anyFlag = anyFlag || o->on[k] || o->off[k];
      const bool anyFont = o->font || o->size || anyFlag;
      if (!anyPosition && !anyFont && !o->backstyle)
        throw Refused{vb::ToUtf8(vb::U("プロパティの値が入力されていませんので設定できません"))};

      ctl::FormTarget t = ctl::LoadForm(o->form);
      t.designer->SetSelected(ctl::FindControls(t, o->controls));
      auto refuse = [](controls::LayoutResult r) {
        if (r != controls::LayoutResult::Done) throw Refused{vb::ToUtf8(controls::LayoutMessage(r))};
      };
      if (anyPosition) {
        std::array<std::u16string, 4> fields;
        for (size_t k = 0; k < 4; ++k) fields[k] = vb::U(o->positions[k]);
        refuse(controls::ApplyPositions(true, t.designer.get(), fields));
      }
      if (anyFont) {
        controls::HeldFont font = controls::GatherCommonValues(true, t.designer).font;
        if (o->font) {
          font.Name = vb::U(*o->font);
          ctl::CheckEncodable(t, font.Name, "the font name");
        }
        if (o->size) {
          auto size = vb::ToLong(vb::U(*o->size));
          if (!size || *size < 1 || *size > 2160) throw Refused{"--size " + *o->size + ": expected 1 to 2160 points"};
          font.Size = *size;
        }
        bool* held[] = {&font.Bold, &font.Italic, &font.Strikethru, &font.Underline};
        for (size_t k = 0; k < 4; ++k) {
          if (o->on[k]) *held[k] = true;
          if (o->off[k]) *held[k] = false;
        }
        refuse(controls::ApplyFont(true, t.designer.get(), font.Name, font));
      }
      if (o->backstyle) refuse(controls::ApplyBackStyle(true, t.designer.get(), *o->backstyle));
      ctl::Finish(t, o->form);
    });
  });
}

RegisterCommand layoutCommand([](CLI::App& app, int& exit_code) { AddLayout(app, exit_code); });

}  // namespace
}  // namespace tarno::cli
