// Forms of the in-memory IDE for the control-tool tests, and the add-in's
// HostVBE pointed at them for the windows.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addin/addin_globals.h"
#include "addin/settings.h"
#include "platform/vb_text.h"
#include "support/host_builders.h"
#include "support/ui_harness.h"

namespace tarno::controls::testing {

using test::ControlSpec;
using test::HostBuilder;
using test::Str;

using Props = std::vector<std::pair<std::string, ide::Variant>>;

inline Props At(int top, int left, int tab = 0) {
  return {{"Top", float(top)}, {"Left", float(left)}, {"TabIndex", int16_t(tab)}};
}
inline Props With(Props p, Props more) {
  p.insert(p.end(), more.begin(), more.end());
  return p;
}

class ControlsTest : public ::testing::Test {
 protected:
  // A project with Form1 (the controls given) and Module1; Form1's designer is shown.
  test::TestHost Form(std::vector<ControlSpec> controls) {
    host_ = HostBuilder().Form("Form1", "", std::move(controls)).Module("Module1", "").ActiveDesigner("Form1").Build();
    HostVBE = host_.vbe;
    return host_;
  }
  std::shared_ptr<host::MemDesigner> Designer() const { return host_.Designer("Form1"); }
  std::shared_ptr<host::MemControl> Ctl(const std::string& name, int index = -1) const {
    return host_.Control("Form1", name, index);
  }
  void Select(std::vector<std::shared_ptr<host::MemControl>> controls) const {
    Designer()->SetSelected(std::move(controls));
  }
  ide::Variant Get(const std::string& name, const std::string& prop, int index = -1) const {
    return *Ctl(name, index)->Get(vb::U(prop));
  }
  void TearDown() override {
    HostVBE.reset();
    ResetSettings();
  }
  test::UiHarness h_;
  test::TestHost host_;
  host::FaultScope faults_;
};

}  // namespace tarno::controls::testing
