// TMainForm: the program's one window. It lays out the tool bar, the pages with
// their text panes and the status bar, and binds every action to a handler that
// calls the logic of TMainCore inside its failure guard.
//
// The window is split over several files: main_form.cpp (construction and the
// command handlers), form_layout.cpp (controls, fonts, images), form_actions.cpp
// (actions and menus), form_keys.cpp (which command a key runs, close requests),
// form_pages.cpp (page, size and tool-bar commands), form_hints.cpp (status-bar hints
// and the focus highlight of the settings edits), form_progress.cpp (the progress of
// the panes' documents in the status bar).
#pragma once

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QMargins>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "main/dialogs.h"
#include "main/form_options.h"
#include "main/window_description.h"
#include "platform/clock.h"

class QAction;
class QKeySequence;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QProgressBar;
class QScrollArea;
class QStatusBar;
class QTabBar;
class TMainCore;
class TToolBar;
class TToolBarButton;
class TCursorFileDialog;
class TWindowCursor;
namespace qtui {
class QtTextView;
class QtFileDialog;
class QtMessageBoxes;
class QtWindowFrame;
}  // namespace qtui

// What a test (or another host) may put in place of the window's own parts: those of
// every window, and the Qt window's own. Every part left empty is the window's own.
struct TMainFormOptions : FormOptions {
  // The modifier keys held right now; the window's own asks the window system.
  std::function<Qt::KeyboardModifiers()> keyboardModifiers;
  // The frame around the window as the window system reports it now; the window's own
  // asks the window system.
  std::function<QMargins(const QWidget&)> windowFrame;
};

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
  explicit TMainForm(TMainFormOptions options, QWidget* parent = nullptr);
  ~TMainForm() override;

  TMainCore& Core() { return *core_; }

  // The page control: eight pages, index 0 "Protocol" to 7 "Help".
  static constexpr int kPageCount = window::kPageCount;
  int ActivePageIndex() const { return activePage_; }
  // Makes page index the active page, moving the focus into it when it was inside
  // the page left; a page without a tab leaves no tab selected.
  void ShowPage(int index);

  // The image lists: 46 images each, the highlight form under the same index.
  static constexpr int kImageCount = window::kImageCount;
  const QList<QIcon>& il4Default() const { return defaultImages_; }
  const QList<QIcon>& il4Highlight() const { return highlightImages_; }

  // The actions, in list order.
  const QList<QAction*>& ActionList() const { return actionList_; }
  QAction* ActionFor(window::Action id) const { return actions_[static_cast<size_t>(id)]; }

  // The current hint text of the application (what OnAppHint shows).
  const QString& CurrentHint() const { return hint_; }

  // Command handlers.
  void a4ExitExecute(QObject* sender);
  void a4LoadConfigExecute(QObject* sender);
  void a4SaveConfigExecute(QObject* sender);
  void a4DefaultSizeExecute(QObject* sender);
  void a4MinSizeExecute(QObject* sender);
  void a4ShowProtocollPageExecute(QObject* sender);
  void a4ShowPage1Execute(QObject* sender);
  void a4ShowPage2Execute(QObject* sender);
  void a4ShowPage3Execute(QObject* sender);
  void a4ShowPage4Execute(QObject* sender);
  void a4ShowDebugPageExecute(QObject* sender);
  void a4LoadCodeFileExecute(QObject* sender);
  void a4LoadHeaderFileExecute(QObject* sender);
  void a4MergeFilesExecute(QObject* sender);
  void a4SaveMergedFileExecute(QObject* sender);
  // Loads the files the program's arguments name (TMainCore::OpenFileArguments), with
  // the wait cursor as the file commands show it.
  void OpenFileArguments(const std::vector<std::string>& args);

  // Window event handlers.
  void FormResize(QObject* sender);
  void FormShow(QObject* sender);
  void e4TEditEnter(QObject* sender);
  void e4TEditExit(QObject* sender);
  void OnAppHint(QObject* sender);

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  using Handler = void (TMainForm::*)(QObject*);
  using Command = std::function<void()>;

  // form_layout.cpp
  void BuildLayout();
  void BuildImageLists();
  void BuildToolBar();
  void BuildPages();
  void BuildTextPage(int index, QWidget* memo);
  void BuildSettingsPage(QWidget* page);
  void PlaceSettingsRows();
  void BuildStatusBar();

  // form_actions.cpp
  static Handler HandlerOf(window::Action id);
  void BuildActions();
  void BuildMenus();
  void BindToolBar();
  QAction* AddMenuItem(QMenu* menu, const char* name, QAction* action);

  // form_keys.cpp
  Command ClaimKey(const QKeyEvent& key, QWidget* receiver);
  Command ClaimMnemonic(window::Key key, QWidget* receiver);
  bool RouteKey(QEvent* event, QWidget* receiver);

  // form_pages.cpp
  void SyncTabRow();
  void FocusFirstControl(QWidget* page);
  void OnTabChanged(int tab);
  QSize FrameExtra() const;
  void SetOuterHeight(int height);
  void SetOuterWidth(int width);
  void UpdateMinimumSize(const QMargins& frame);
  void PlaceWindow(const QMargins& frame);

  // form_hints.cpp
  void ConnectHints();
  void SetHint(const QString& hint);
  void InstallAppHint();
  void IdleHint();
  void FocusEvent(QWidget* watched, QEvent* event);

  // form_progress.cpp
  std::array<qtui::QtTextView*, 5> TextViews() const;
  void ConnectDocumentProgress();
  void DisconnectDocumentProgress();
  void ShowDocumentProgress();

  // main_form.cpp
  void RunCommand(const Command& command, bool busy = false);

  // Options and the window's own platform parts.
  TMainFormOptions options_;
  std::unique_ptr<TWindowCursor> cursor_;
  std::unique_ptr<qtui::QtFileDialog> ownOpenDialog_, ownSaveDialog_;
  std::unique_ptr<qtui::QtMessageBoxes> ownBoxes_;
  std::unique_ptr<TCursorFileDialog> openDialog_, saveDialog_;
  std::unique_ptr<TMainCore> core_;
  // The frame around the window, followed as the window system reports it.
  std::unique_ptr<qtui::QtWindowFrame> frame_;

  // Controls, under their names on the window.
  QMenuBar* MainMenu = nullptr;
  QList<QMenu*> menus_;
  TToolBar* ToolBar = nullptr;
  QWidget* p4Separator = nullptr;
  QWidget* PageControl = nullptr;
  QTabBar* tabRow_ = nullptr;
  QWidget* pageArea_ = nullptr;
  std::array<QWidget*, kPageCount> pages_{};
  int activePage_ = 0;
  qtui::QtTextView *m4Log = nullptr, *m4CodeFile = nullptr, *m4HeaderFile = nullptr,
                   *m4MergedFile = nullptr, *m4Doku = nullptr;
  QPlainTextEdit *m4Lists = nullptr, *m4Member = nullptr;
  QScrollArea* ScrollBox1 = nullptr;
  QWidget* Panel1 = nullptr;
  std::array<QLineEdit*, 16> settingsEdits_{};
  std::array<QLabel*, 16> settingsLabels_{};
  QStatusBar* StatusBar = nullptr;
  QLabel* statusPanel_ = nullptr;
  QProgressBar* documentProgress_ = nullptr;
  bool buildingCursorHeld_ = false;

  QList<QIcon> defaultImages_, highlightImages_;

  // Actions, in list order.
  std::array<QAction*, window::kActionCount> actions_{};
  QList<QAction*> actionList_;

  // State of the window's own handlers.
  QPointer<QLineEdit> highlightedEdit_;
  QString hint_;
  bool appHintInstalled_ = false;
  bool shownOnce_ = false;
};
