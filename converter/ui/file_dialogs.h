// The Open and Save dialogs of the converter window, behind one small
// interface so that every handler that asks for a file runs headless too.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace velmora {

// What the window's common dialog shows: its title, the extension added to a
// name typed without one, and the filter as "Text|pattern|Text|pattern".
struct FileDialogLook {
  const char* title;
  const char* defaultExtension;
  const char* filter;
};
inline constexpr FileDialogLook kOpenCcfDialog{
    "Open", ".CCF", "Pronto CCF files (*.CCF)|*.CCF|All files (*.*)|*.*"};
inline constexpr FileDialogLook kSavePdbDialog{
    "Save As", ".PDB", "Palm Database Files (*.PDB)|*.PDB|All Files (*.*)|*.*"};

// A modal file dialog: the chosen path, or nullopt when it was cancelled.
// `fileName` is the name the dialog is preset to (empty for none).
class FileDialog {
 public:
  virtual ~FileDialog() = default;
  virtual std::optional<std::string> Run(std::string_view fileName) = 0;
};

// Answers every question with the same path (nullopt: "cancelled"), and
// remembers the name it was offered: the command line's -o, tests, benches.
class FixedPathDialog : public FileDialog {
 public:
  explicit FixedPathDialog(std::optional<std::string> path) : path_(std::move(path)) {}
  std::optional<std::string> Run(std::string_view fileName) override {
    offered_ = std::string(fileName);
    return path_;
  }
  const std::string& offered() const { return offered_; }

 private:
  std::optional<std::string> path_;
  std::string offered_;
};

}  // namespace velmora
