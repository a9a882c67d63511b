// File dialogs and message boxes on Qt Widgets.
//
// The filter labels: Qt reads the file patterns of a name filter out of the label's
// parentheses, which would break a label such as "all files (*.*" that has none. The
// dialog is therefore Qt's own (not the desktop's), the labels are given to it as
// written (Qt only collapses runs of blanks in them), and each time a label is chosen
// the dialog's file model gets the patterns that belong to it.
#include "window/qt/qt_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QString>
#include <QStringList>

#include "platform/encoding.h"
#include "platform/files.h"
#include "window/qt/qt_window_frame.h"

namespace qtui {
namespace {

// File names as the platform layer takes them: on Windows UTF-8, which the layer hands
// to the wide API, so that names outside the ANSI code page survive; elsewhere the
// file system's own encoding.
std::string PathBytes(const QString& name) {
#ifdef _WIN32
  return name.toStdString();
#else
  return QFile::encodeName(name).toStdString();
#endif
}

QString PathText(const std::string& bytes) {
#ifdef _WIN32
  return DisplayString(bytes);  // UTF-8, or the ANSI code page where it is not
#else
  return QFile::decodeName(bytes.c_str());
#endif
}

std::string Trim(const std::string& s) {
  size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool HasWildcard(const QString& text) {
  return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

// QFileDialog with the folder check of the open dialog: a typed name whose folder
// does not exist is refused with a message, and the dialog stays open.
class CheckingFileDialog : public QFileDialog {
 public:
  CheckingFileDialog(QWidget* parent, bool folderMustExist)
      : QFileDialog(parent), folderMustExist_(folderMustExist) {}

  void accept() override {
    const QStringList files = selectedFiles();
    if (folderMustExist_ && !files.isEmpty()) {
      QFileInfo info(files.first());
      const std::string folder = PathBytes(info.absolutePath());
      const std::string whole = PathBytes(info.absoluteFilePath());
      if (!platform::Files().DirectoryExists(whole) && !platform::Files().DirectoryExists(folder)) {
        QMessageBox::warning(this, windowTitle(),
                             QFileDialog::tr("%1\nThe folder does not exist.\n"
                                             "Check the name and try again.")
                                 .arg(QDir::toNativeSeparators(info.absolutePath())));
        return;
      }
    }
    QFileDialog::accept();
  }

 private:
  bool folderMustExist_;
};

// A message box over its parent window while that is shown (Qt's own placement), and
// otherwise, as for the boxes of the start-up before the window shows, in the middle of
// the screen, frame included: placed as it shows and again when the window manager
// reports its frame.
class PlacedMessageBox : public QMessageBox {
 public:
  PlacedMessageBox(Icon icon, const QString& title, const QString& text, StandardButtons buttons,
                   QWidget* parent)
      : QMessageBox(icon, title, text, buttons, parent), frame_(*this) {}

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);  // gives the box its size
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (event->spontaneous() || (owner && owner->isVisible())) return;
    // The size the box has now: until the window manager has taken the box over, it can
    // report the size the box was created with.
    const QSize boxSize = size();
    frame_.Place([this, boxSize](const QMargins& frame) {
      setGeometry(CentredOnScreen(*this, frame, boxSize));
    });
  }

 private:
  QtWindowFrame frame_;
};

}  // namespace

std::vector<FileFilterItem> ParseFileFilter(const std::string& filter) {
  std::vector<std::string> parts;
  size_t pos = 0;
  while (!filter.empty()) {
    size_t bar = filter.find('|', pos);
    parts.push_back(filter.substr(pos, bar == std::string::npos ? std::string::npos : bar - pos));
    if (bar == std::string::npos) break;
    pos = bar + 1;
  }
  std::vector<FileFilterItem> items;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    FileFilterItem item;
    item.label = parts[i];
    const std::string& patterns = parts[i + 1];
    for (size_t start = 0; start <= patterns.size();) {
      size_t semi = patterns.find(';', start);
      if (semi == std::string::npos) semi = patterns.size();
      std::string pattern = Trim(patterns.substr(start, semi - start));
      if (pattern == "*.*") pattern = "*";
      if (!pattern.empty()) item.patterns.push_back(pattern);
      start = semi + 1;
    }
    if (item.patterns.empty()) item.patterns.push_back("*");
    items.push_back(std::move(item));
  }
  return items;
}

QString DisplayString(const std::string& bytes) {
  if (platform::IsValidUtf8(bytes)) return QString::fromStdString(bytes);
  std::u16string text = platform::Codec::Legacy(platform::UserLegacyCodePage()).Decode(bytes);
  return QString::fromStdU16String(text);
}

QtFileDialog::QtFileDialog(QWidget* parent, Mode mode) : parent_(parent), mode_(mode) {}

bool QtFileDialog::Execute() {
  CheckingFileDialog dialog(parent_, mode_ == Mode::Open);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (mode_ == Mode::Open) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  }
  dialog.setSizeGripEnabled(true);
  dialog.setDefaultSuffix(QString::fromStdString(defaultExt_));

  const std::vector<FileFilterItem> items = ParseFileFilter(filter_);
  QFileSystemModel* model = dialog.findChild<QFileSystemModel*>("qt_filesystem_model");
  if (!model) model = dialog.findChild<QFileSystemModel*>();
  QLineEdit* nameEdit = dialog.findChild<QLineEdit*>("fileNameEdit");
  auto usePatterns = [&](qsizetype index) {
    if (!model || index < 0 || index >= static_cast<qsizetype>(items.size())) return;
    QStringList patterns;
    for (const std::string& p : items[static_cast<size_t>(index)].patterns) {
      patterns << QString::fromStdString(p);
    }
    model->setNameFilters(patterns);
  };
  if (!items.empty()) {
    QStringList labels;
    for (const FileFilterItem& item : items) labels << DisplayString(item.label);
    dialog.setNameFilters(labels);
    usePatterns(0);
  }

  // On a change of filter in the save dialog Qt puts the filter's extension in place
  // of the typed one, "*" for "*.*"; a wildcard is never wanted in a name.
  QString previousName, currentName;
  if (nameEdit) {
    QObject::connect(nameEdit, &QLineEdit::textChanged, &dialog, [&](const QString& text) {
      previousName = currentName;
      currentName = text;
    });
  }
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& label) {
    usePatterns(dialog.nameFilters().indexOf(label));
    if (nameEdit && HasWildcard(QFileInfo(nameEdit->text()).suffix()) &&
        !HasWildcard(previousName)) {
      nameEdit->setText(previousName);
    }
  });

  if (!initialDir_.empty()) dialog.setDirectory(PathText(initialDir_));
  if (!fileName_.empty()) dialog.selectFile(PathText(fileName_));

  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  fileName_ = PathBytes(chosen.first());
  return true;
}

void QtMessageBoxes::ShowError(const std::string& caption, const std::string& message) {
  PlacedMessageBox box(QMessageBox::Critical, DisplayString(caption), DisplayString(message),
                       QMessageBox::Ok, parent_);
  box.exec();
}

bool QtMessageBoxes::ConfirmYesNo(const std::string& caption, const std::string& text) {
  PlacedMessageBox box(QMessageBox::Question, DisplayString(caption), DisplayString(text),
                       QMessageBox::NoButton, parent_);
  QPushButton* yes = box.addButton(QMessageBox::tr("&Yes"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QMessageBox::tr("&No"), QMessageBox::NoRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

}  // namespace qtui
