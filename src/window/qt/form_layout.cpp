// The controls of the main window: tool bar, page control with its eight pages and
// their panes, settings page, status bar, image lists and fonts.
#include <QApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>

#include "main/main_core.h"
#include "main/program_info.h"
#include "window/qt/event_hook.h"
#include "window/qt/main_form.h"
#include "window/qt/qt_text_view.h"
#include "window/qt/tool_bar.h"

namespace {

// The window's proportional font, or the nearest one where it is not installed.
QFont WindowFont(int pixelSize) {
  QString family = QStringLiteral("MS Sans Serif");
  if (!QFontDatabase::hasFamily(family)) {
    family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  }
  QFont font(family);
  font.setPixelSize(pixelSize);
  return font;
}

// The panes' fixed-pitch font, or the nearest one where it is not installed.
QFont PaneFont(int pixelSize) {
  QString family = QStringLiteral("Courier New");
  if (!QFontDatabase::hasFamily(family)) {
    family = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
  }
  QFont font(family);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPixelSize(pixelSize);
  return font;
}

// The lighter form of a picture, shown while the mouse is over its button.
QIcon Highlighted(const QIcon& icon) {
  QImage image = icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      QColor color = image.pixelColor(x, y);
      const int alpha = color.alpha();
      color = color.lighter(125);
      color.setAlpha(alpha);
      image.setPixelColor(x, y, color);
    }
  }
  return QIcon(QPixmap::fromImage(image));
}

// A picture from the desktop's icon theme, with the window's own as the fallback.
QIcon ThemeImage(const char* themeName, const char* resource) {
  return QIcon::fromTheme(QString::fromLatin1(themeName),
                          QIcon(QStringLiteral(":/vaskarel/") + QString::fromLatin1(resource)));
}

constexpr QRect kPanel1{window::kPanel1.left, window::kPanel1.top, window::kPanel1.width,
                        window::kPanel1.height};

QString Text(const char* utf8) {
  return QString::fromUtf8(utf8);
}

}  // namespace

void TMainForm::BuildLayout() {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(Text(window::kCaption));
  setFont(WindowFont(window::kSmallFont));
  QPalette face = palette();
  face.setColor(QPalette::Window, face.color(QPalette::Button));
  setPalette(face);
  BuildImageLists();
  setWindowIcon(ThemeImage(kDesktopId, "vaskarel.png"));

  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  auto* column = new QVBoxLayout(client);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  BuildToolBar();
  column->addWidget(ToolBar);
  BuildPages();
  column->addWidget(PageControl, 1);
  setCentralWidget(client);
  BuildStatusBar();

  setMinimumSize(window::kOuterSize.width, window::kOuterSize.height);
  resize(window::kOuterSize.width, window::kOuterSize.height);
}

void TMainForm::BuildImageLists() {
  const QIcon exit = ThemeImage("application-exit", "exit.png");
  const QIcon open = ThemeImage("document-open", "open.png");
  const QIcon merge = ThemeImage("vcs-merge", "merge.png");
  const QIcon save = ThemeImage("document-save", "save.png");
  const QIcon pictures[] = {exit, open, merge, save};  // in window::Picture order
  for (int i = 0; i < kImageCount; ++i) {
    const QIcon& image = pictures[static_cast<int>(window::PictureAt(i))];
    defaultImages_.append(image);
    highlightImages_.append(Highlighted(image));
  }
}

void TMainForm::BuildToolBar() {
  ToolBar = new TToolBar;
  ToolBar->setObjectName(QStringLiteral("ToolBar"));
  for (const window::ToolBarItem& def : window::ToolBarItems()) {
    const QString name = QString::fromLatin1(def.name);
    switch (def.kind) {
      case window::ToolBarItem::Kind::Button: {
        auto* button = new TToolBarButton;
        button->setObjectName(name);
        ToolBar->AddItem(button);
        break;
      }
      case window::ToolBarItem::Kind::Separator:
        ToolBar->AddItem(NewToolBarSeparator(name));
        break;
      case window::ToolBarItem::Kind::Spacer:
        p4Separator = new QWidget;
        p4Separator->setObjectName(name);
        p4Separator->setFixedHeight(window::kButtonHeight);
        p4Separator->setFocusPolicy(Qt::NoFocus);
        ToolBar->AddItem(p4Separator);
        break;
    }
  }
  connect(ToolBar, &TToolBar::Resized, this, [this] { FormResize(ToolBar); });
}

void TMainForm::BuildPages() {
  PageControl = new QWidget;
  PageControl->setObjectName(QStringLiteral("PageControl"));
  auto* column = new QVBoxLayout(PageControl);
  column->setContentsMargins(0, 2, 0, 0);
  column->setSpacing(0);

  tabRow_ = new QTabBar;
  tabRow_->setObjectName(QStringLiteral("PageControlTabs"));
  tabRow_->setDrawBase(false);
  tabRow_->setExpanding(false);
  // Reached by Tab, not taken by a click, so that a click on a tab carries the focus
  // from the page left into the new one.
  tabRow_->setFocusPolicy(Qt::TabFocus);
  column->addWidget(tabRow_);

  pageArea_ = new QWidget;
  pageArea_->setObjectName(QStringLiteral("PageControlPages"));
  auto* stack = new QGridLayout(pageArea_);
  stack->setContentsMargins(2, 2, 2, 2);
  column->addWidget(pageArea_, 1);

  for (int i = 0; i < kPageCount; ++i) {
    const window::PageInfo& def = window::Pages()[i];
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(def.name));
    page->setProperty("caption", Text(def.caption));
    if (*def.hint) {
      page->setProperty("hint", Text(def.hint));
      page->setToolTip(Text(def.hint));
    }
    page->setFocusPolicy(Qt::NoFocus);
    stack->addWidget(page, 0, 0);
    page->setVisible(i == 0);
    pages_[i] = page;
    if (def.tabShown) {
      const int tab = tabRow_->addTab(Text(def.caption));
      tabRow_->setTabData(tab, i);
    }
  }
  // The place a page without a tab selects: no tab of its own is seen.
  const int noTab = tabRow_->addTab(QString());
  tabRow_->setTabData(noTab, -1);
  tabRow_->setTabEnabled(noTab, false);
  tabRow_->setTabVisible(noTab, false);
  tabRow_->setCurrentIndex(0);
  connect(tabRow_, &QTabBar::currentChanged, this, &TMainForm::OnTabChanged);

  m4Log = new qtui::QtTextView;
  m4CodeFile = new qtui::QtTextView;
  m4HeaderFile = new qtui::QtTextView;
  m4MergedFile = new qtui::QtTextView;
  m4Doku = new qtui::QtTextView;
  m4Lists = new QPlainTextEdit;
  m4Member = new QPlainTextEdit;
  auto memoOf = [this](window::Pane pane) -> QPlainTextEdit* {
    switch (pane) {
      case window::Pane::Log:
        return m4Log;
      case window::Pane::Lists:
        return m4Lists;
      case window::Pane::Member:
        return m4Member;
      case window::Pane::CodeFile:
        return m4CodeFile;
      case window::Pane::HeaderFile:
        return m4HeaderFile;
      case window::Pane::MergedFile:
        return m4MergedFile;
      case window::Pane::Doku:
        return m4Doku;
    }
    return nullptr;
  };
  for (const window::PaneInfo& def : window::Panes()) {
    QPlainTextEdit* memo = memoOf(def.id);
    memo->setObjectName(QString::fromLatin1(def.name));
    memo->setFont(PaneFont(def.fontPixels));
    memo->setLineWrapMode(def.wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(def.wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    BuildTextPage(def.page, memo);
    if (!def.visible) memo->setVisible(false);
  }
  // The log's lines come from files in different encodings.
  m4Log->SetEncodingPerLine(true);
  BuildSettingsPage(pages_[1]);
}

void TMainForm::BuildTextPage(int index, QWidget* memo) {
  auto* fill = new QVBoxLayout(pages_[index]);
  fill->setContentsMargins(0, 0, 0, 0);
  fill->addWidget(memo);
}

void TMainForm::BuildSettingsPage(QWidget* page) {
  auto* fill = new QVBoxLayout(page);
  fill->setContentsMargins(0, 0, 0, 0);
  ScrollBox1 = new QScrollArea;
  ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
  ScrollBox1->setFocusPolicy(Qt::NoFocus);
  ScrollBox1->setWidgetResizable(false);
  fill->addWidget(ScrollBox1);

  auto* rows = new QWidget;
  rows->setObjectName(QStringLiteral("ScrollBox1Rows"));
  const auto settingsRows = window::SettingsRows();
  for (size_t i = 0; i < settingsRows.size(); ++i) {
    const window::SettingsRow& row = settingsRows[i];
    auto* label = new QLabel(QString::fromUtf8(row.text), rows);
    label->setObjectName(QString::fromLatin1(row.label));
    label->setFont(WindowFont(window::kLargeFont));
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label->setGeometry(0, row.top + window::kLabelDrop, window::kLabelRight,
                       window::kEditHeight - window::kLabelDrop);
    auto* edit = new QLineEdit(rows);
    edit->setObjectName(QString::fromLatin1(row.edit));
    edit->setFont(PaneFont(window::kLargeFont));
    edit->setProperty("reportsChange", row.reportsChange);
    label->setVisible(row.shown);
    edit->setVisible(row.shown);
    TEventHook::Install(edit, [this](QObject* watched, QEvent* event) {
      FocusEvent(static_cast<QWidget*>(watched), event);
      return false;
    });
    if (row.reportsChange) {
      connect(edit, &QLineEdit::textChanged, this,
              [this] { RunCommand([this] { core_->OnConfigChange(); }); });
    }
    settingsLabels_[i] = label;
    settingsEdits_[i] = edit;
    if (i > 0) QWidget::setTabOrder(settingsEdits_[i - 1], edit);
  }
  Panel1 = new QWidget(rows);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(kPanel1);
  ScrollBox1->setWidget(rows);
  TEventHook::Install(ScrollBox1->viewport(), [this](QObject*, QEvent* event) {
    if (event->type() == QEvent::Resize) PlaceSettingsRows();
    return false;
  });
  PlaceSettingsRows();
}

void TMainForm::PlaceSettingsRows() {
  const QSize client = ScrollBox1->viewport()->size();
  QWidget* rows = ScrollBox1->widget();
  rows->resize(std::max(client.width(), kPanel1.right() + 1), kPanel1.bottom() + 1);
  const int editWidth = std::max(0, client.width() - window::kEditWidthLoss);
  const auto settingsRows = window::SettingsRows();
  for (size_t i = 0; i < settingsRows.size(); ++i) {
    settingsEdits_[i]->setGeometry(window::kEditLeft, settingsRows[i].top, editWidth,
                                   window::kEditHeight);
  }
}

void TMainForm::BuildStatusBar() {
  StatusBar = new QStatusBar;
  StatusBar->setObjectName(QStringLiteral("StatusBar"));
  StatusBar->setFixedHeight(window::kStatusBarHeight);
  statusPanel_ = new QLabel;
  statusPanel_->setObjectName(QStringLiteral("StatusPanel"));
  StatusBar->addWidget(statusPanel_, 1);
  setStatusBar(StatusBar);
}
