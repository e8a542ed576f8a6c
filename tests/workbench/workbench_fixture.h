// A workbench over a copy of a corpus project in a temporary folder, with the
// Windows, system and add-in directories there too, and the add-in listed in
// VBADDIN.INI with the value the test gives. Message boxes the tools show are
// recorded and answered with their default button; a modal tool window is
// handed to the test's hook, which must close it.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QToolBar>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "gui/desktop.h"
#include "platform/vb_text.h"
#include "toolkit/addin_entry.h"
#include "ui/services.h"
#include "ui/ui.h"
#include "workbench/code_editor.h"
#include "workbench/form_canvas.h"
#include "workbench/main_window.h"

namespace tarno::workbench::test {

namespace fs = std::filesystem;

struct SeenBox {
  std::u16string prompt, title;
  int buttons;
};

class RecordingBoxes : public ui::MessageBoxService {
 public:
  int Show(const std::u16string& prompt, int buttons, const std::u16string& title) override {
    seen.push_back({prompt, title, buttons});
    return ui::DefaultAnswer(buttons);
  }
  std::vector<SeenBox> seen;
};

inline std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteFile(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

// The text with its one occurrence of `from` replaced.
inline std::string Replaced(std::string s, const std::string& from, const std::string& to) {
  size_t at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  EXPECT_EQ(s.find(from, at + 1), std::string::npos) << from << " is not unique";
  return at == std::string::npos ? s : s.replace(at, from.size(), to);
}

class WorkbenchTest : public ::testing::Test {
 protected:
  // The project every test opens: a CP932 project with forms and modules.
  static constexpr const char* kProjectDir = "dtinth__UCN-BMSE/BMSE";
  static constexpr const char* kProject = "BMSE.vbp";

  void SetUp() override { Prepare("1"); }

  // settingsIni: the add-in's settings file (TarnoAddIn.ini) to start with, none when empty.
  void Prepare(const std::string& addInValue, const std::string& settingsIni = "") {
    if (!fs::exists(fs::path(TARNO_CORPUS_DIR) / project_dir_)) GTEST_SKIP() << "no corpus at " << TARNO_CORPUS_DIR;
    std::string tmpl = (std::filesystem::temp_directory_path() / "tarno-workbench-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    root_ = tmpl;
    fs::copy(fs::path(TARNO_CORPUS_DIR) / project_dir_, root_ / "project", fs::copy_options::recursive);
    for (auto& e : fs::recursive_directory_iterator(root_ / "project"))
      fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
    fs::permissions(root_ / "project", fs::perms::owner_all, fs::perm_options::add);
    for (const char* d : {"windows", "system", "addin"}) fs::create_directories(root_ / d);
    if (!settingsIni.empty()) WriteFile(root_ / "system" / "TarnoAddIn.ini", settingsIni);
    setenv("TARNO_WINDOWS_DIR", (root_ / "windows").c_str(), 1);
    setenv("TARNO_SYSTEM_DIR", (root_ / "system").c_str(), 1);
    setenv("TARNO_ADDIN_DIR", (root_ / "addin").c_str(), 1);
    if (!addInValue.empty())
      WriteFile(root_ / "windows" / "VBADDIN.INI",
                "[Add-Ins32]\r\n" + std::string(toolkit::kConnectProgId) + "=" + addInValue + "\r\n");
    boxes_ = std::make_shared<RecordingBoxes>();
    ui::SetMessageBoxService(boxes_);
    gui::Desktop::Current()->SetModalHook([this](ui::Form& form) {
      if (hook_) hook_(form);
      if (form.Loaded() && form.Visible()) {
        ADD_FAILURE() << "the test left " << vb::ToUtf8(form.Name()) << " open";
        form.Unload();
      }
    });
    WorkbenchOptions options;
    options.code_page = code_page_;
    options.addin_dir = TARNO_TOOLKIT_DIR;
    options.remember_recent = !settings_file_.isEmpty();
    options.settings_file = settings_file_;
    window_ = std::make_unique<MainWindow>(options);
    window_->warn = [this](const QString& t) { warnings_.push_back(t); };
    window_->ask = [this](const QString&) { return answer_; };
    ASSERT_TRUE(window_->OpenPath(Project()));
    window_->ConnectAtStart();
    window_->show();
  }

  void TearDown() override {
    if (!window_) return;  // skipped
    window_->ask = [](const QString&) { return int(QMessageBox::No); };
    window_.reset();
    gui::Desktop::Current()->SetModalHook({});
    gui::Desktop::Current()->Sync();
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  fs::path Project() const { return root_ / "project" / fs::path(project_); }
  fs::path File(const char* name) const { return root_ / "project" / name; }

  // Triggers the menu item as a click would.
  void Run(QMenu* menu, const char* caption) {
    window_->RebuildCommandBars();
    QAction* a = MainWindow::FindAction(menu, QString::fromUtf8(caption));
    ASSERT_NE(a, nullptr) << caption;
    a->trigger();
  }

  // Non-separator action texts of a menu.
  static std::vector<std::string> Captions(QMenu* menu) {
    std::vector<std::string> out;
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) out.push_back(a->text().toStdString());
    return out;
  }

  // What Prepare copies and opens: a corpus folder and the file in it.
  const char* project_dir_ = kProjectDir;
  const char* project_ = kProject;
  CodePage code_page_ = CodePage::Cp932();
  // Where the workbench keeps what it remembers; nothing is remembered when empty.
  QString settings_file_;
  fs::path root_;
  std::shared_ptr<RecordingBoxes> boxes_;
  std::function<void(ui::Form&)> hook_;
  std::unique_ptr<MainWindow> window_;
  std::vector<QString> warnings_;
  int answer_ = QMessageBox::No;
};

}  // namespace tarno::workbench::test
