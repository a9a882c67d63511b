// Construction of the main window and its command handlers: each runs the logic of
// TMainCore inside the one failure guard.
#include "window/qt/main_form.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>

#include "main/main_core.h"
#include "main/source_files.h"
#include "platform/process.h"
#include "window/qt/qt_dialogs.h"
#include "window/qt/qt_text_view.h"
#include "window/qt/qt_window_frame.h"
#include "window/qt/tool_bar.h"
#include "window/qt/window_cursor.h"

// The pictures are compiled into the library; a static library needs them named.
static void InitWindowResources() {
  Q_INIT_RESOURCE(vaskarel);
}

// A file dialog shown with the cursors of its own controls, whatever cursor the
// command that opens it shows; everything else passes to the dialog it stands for.
class TCursorFileDialog : public FileDialog {
 public:
  TCursorFileDialog(FileDialog& dialog, TWindowCursor& cursor) : dialog_(dialog), cursor_(cursor) {}

  bool Execute() override {
    dialog_.SetFilter(filter_);
    dialog_.SetInitialDir(initialDir_);
    dialog_.SetFileName(fileName_);
    dialog_.SetDefaultExt(defaultExt_);
    const TCursorHold ordinary(cursor_, TWindowCursor::kDialog);
    const bool chosen = dialog_.Execute();
    if (chosen) fileName_ = dialog_.FileName();
    return chosen;
  }

 private:
  FileDialog& dialog_;
  TWindowCursor& cursor_;
};

TMainForm::TMainForm(QWidget* parent) : TMainForm(TMainFormOptions{}, parent) {}

TMainForm::TMainForm(TMainFormOptions options, QWidget* parent)
    : QMainWindow(parent),
      options_(std::move(options)),
      cursor_(std::make_unique<TWindowCursor>()) {
  InitWindowResources();
  BuildLayout();
  BuildActions();
  BuildMenus();
  BindToolBar();
  ConnectHints();
  ConnectDocumentProgress();
  frame_ = std::make_unique<qtui::QtWindowFrame>(*this, options_.windowFrame);
  frame_->OnChange([this](const QMargins& frame) { UpdateMinimumSize(frame); });
  p4Separator->setFocus(Qt::OtherFocusReason);

  // The platform parts: the window's own unless given.
  if (!options_.openDialog) {
    ownOpenDialog_ = std::make_unique<qtui::QtFileDialog>(this, qtui::QtFileDialog::Mode::Open);
  }
  if (!options_.saveDialog) {
    ownSaveDialog_ = std::make_unique<qtui::QtFileDialog>(this, qtui::QtFileDialog::Mode::Save);
  }
  if (!options_.boxes) ownBoxes_ = std::make_unique<qtui::QtMessageBoxes>(this);
  openDialog_ = std::make_unique<TCursorFileDialog>(
      options_.openDialog ? *options_.openDialog : *ownOpenDialog_, *cursor_);
  saveDialog_ = std::make_unique<TCursorFileDialog>(
      options_.saveDialog ? *options_.saveDialog : *ownSaveDialog_, *cursor_);
  saveDialog_->SetDefaultExt(kSaveDefaultExt);
  saveDialog_->SetFilter(kSaveFileFilter);

  core_ = std::make_unique<TMainCore>(MainServices{
      .logView = *m4Log,
      .codeView = *m4CodeFile,
      .headerView = *m4HeaderFile,
      .mergedView = *m4MergedFile,
      .dokuView = *m4Doku,
      .openDialog = *openDialog_,
      .saveDialog = *saveDialog_,
      .boxes = options_.boxes ? *options_.boxes : *ownBoxes_,
      .clock = options_.clock ? *options_.clock : platform::SystemClock(),
      .formats = options_.formats ? *options_.formats : platform::UserLocaleFormats(),
      .showPage = [this](int index) { ShowPage(index); },
      .installAppHint = [this] { InstallAppHint(); },
      .terminate = options_.terminate ? options_.terminate : [] { QCoreApplication::quit(); },
  });

  qApp->installEventFilter(this);
  core_->FormCreate(options_.exePath.empty() ? platform::ExecutablePath() : options_.exePath);
}

TMainForm::~TMainForm() {
  qApp->removeEventFilter(this);
  DisconnectDocumentProgress();
  // The controls go first, while the window and its logic are whole: taking them down
  // moves the focus and resizes, and their handlers still run meanwhile.
  delete takeCentralWidget();
  highlightedEdit_ = nullptr;
}

void TMainForm::RunCommand(const Command& command, bool busy) {
  core_->RunCommand([&] {
    // The wait cursor while a command works on files.
    const TCursorHold wait(*cursor_, TWindowCursor::kCommand, busy);
    command();
  });
}

void TMainForm::a4ExitExecute(QObject*) {
  RunCommand([this] { core_->Exit(); });
}
void TMainForm::a4LoadConfigExecute(QObject*) {
  RunCommand([this] { core_->ReadConfig(); });
}
void TMainForm::a4SaveConfigExecute(QObject*) {
  RunCommand([this] { core_->WriteConfig(); });
}
void TMainForm::a4LoadCodeFileExecute(QObject*) {
  RunCommand([this] { core_->LoadCodeFile(); }, true);
}
void TMainForm::a4LoadHeaderFileExecute(QObject*) {
  RunCommand([this] { core_->LoadHeaderFile(); }, true);
}
void TMainForm::a4MergeFilesExecute(QObject*) {
  RunCommand([this] { core_->MergeFiles(); }, true);
}
void TMainForm::a4SaveMergedFileExecute(QObject*) {
  RunCommand([this] { core_->SaveMergedFile(); }, true);
}

void TMainForm::OpenFileArguments(const std::vector<std::string>& args) {
  RunCommand([&] { core_->OpenFileArguments(args); }, true);
}

bool TMainForm::event(QEvent* event) {
  // Hints reach the status bar through the current hint only (form_hints.cpp), never
  // as the status bar's passing messages.
  if (event->type() == QEvent::StatusTip) return true;
  return QMainWindow::event(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if ((type == QEvent::ShortcutOverride || type == QEvent::KeyPress) && watched->isWidgetType()) {
    if (RouteKey(event, static_cast<QWidget*>(watched))) return true;
  }
  return QMainWindow::eventFilter(watched, event);
}
