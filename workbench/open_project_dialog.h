// File > Open Project: the file, and the code page its files are read in.
// Beside the choice stands the guess from the files' bytes; the choice starts
// at the code page this project was last opened in, else at the guess, else
// at the workbench's own.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;

namespace tarno::workbench {

class OpenProjectDialog : public QDialog {
 public:
  // remembered: the code page a path was last opened in, if any.
  OpenProjectDialog(std::string defaultCodePage,
                    std::function<std::optional<std::string>(const QString& path)> remembered,
                    QWidget* parent = nullptr);

  void SetPath(const QString& path);
  QString path() const;
  std::string codePage() const;
  void SetCodePage(const std::string& name);
  // "Guess: CP1252" and the like.
  QString guessText() const;
  QComboBox* codePages() const { return pages_; }

 private:
  void PathChanged();

  std::string default_;
  std::function<std::optional<std::string>(const QString&)> remembered_;
  QLineEdit* path_;
  QComboBox* pages_;
  QLabel* guess_;
};

}  // namespace tarno::workbench
