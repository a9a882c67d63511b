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

constexpr int kSmallFont = 11;  // 8 point
constexpr int kLargeFont = 12;  // 9 point

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

struct PageSpec {
  const char* name;
  const char* caption;
  bool tabShown;
};

// The pages in index order; the order fixes the index the page commands use.
constexpr PageSpec kPages[TMainForm::kPageCount] = {
    {"TabSheet1", "&Protocol", true},   {"TabSheet2", "&Einstellungen", false},
    {"TabSheet5", "Listen", false},     {"TabSheet3", "Personen", false},
    {"TabSheet6", "Code file", true},   {"TabSheet7", "Header file", true},
    {"TabSheet8", "Merged file", true}, {"TabSheet4", "&Help", true},
};

struct SettingsRow {
  const char* edit;
  int top;
  bool shown;
  const char* label;
  const char* text;
  bool reportsChange;
};

// The settings rows in tab order (not top-to-bottom order).
constexpr SettingsRow kSettingsRows[16] = {
    {"e4AccountDir", 4, true, "Label14", "Verzeichnis des Mail-Kontos", true},
    {"e4DistributionLists", 28, true, "Label15", "Namen der Verteilerlisten", false},
    {"e4ImportDir", 76, true, "Label1", "Ausgabeverzeichnis für den Import", true},
    {"e4AddressbookName", 101, true, "Label3", "Name der Ausgabedatei", true},
    {"e4Addressbooks", 52, true, "Label7", "Name der Adressbücher", true},
    {"e4ProfileDir", 124, true, "Label4", "Profilverzeichnis", true},
    {"e4FilenameSuffixes", 148, false, "Label8", "Profilverzeichnis", true},
    {"e4ProxyServer", 172, false, "Label6", "unsichtbar", true},
    {"e4NotificationAddress", 196, false, "Label5", "unsichtbar", true},
    {"e4WorkOrderAddress", 220, false, "Label2", "unsichtbar", true},
    {"e4SMTPServer", 244, false, "Label9", "unsichtbar", true},
    {"e4TransferDatum", 268, false, "Label10", "unsichtbar", true},
    {"e4TransferNummer", 292, false, "Label11", "unsichtbar", true},
    {"e4TransferKonto", 316, false, "Label12", "unsichtbar", true},
    {"e4TransferBuchungen", 340, false, "Label13", "unsichtbar", true},
    {"e4TransferBetrag", 364, false, "Label16", "unsichtbar", true},
};

// Settings geometry: edits start at 266 and are anchored on both sides, so that
// their width is always the scroll box's client width less 1059.
constexpr int kEditLeft = 266;
constexpr int kEditHeight = 25;
constexpr int kEditWidthLoss = 1059;
constexpr int kLabelRight = 260;
constexpr int kLabelDrop = 4;
constexpr QRect kPanel1{8, 386, 572, 6};

constexpr const char* kProtocolPageHint = "Protokoll aller bisher ausgeführten Funktionen";

}  // namespace

void TMainForm::BuildLayout() {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QStringLiteral("Merge dialog strings"));
  setFont(WindowFont(kSmallFont));
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

  setMinimumSize(640, 480);
  resize(640, 480);
}

void TMainForm::BuildImageLists() {
  const QIcon exit = ThemeImage("application-exit", "exit.png");
  const QIcon open = ThemeImage("document-open", "open.png");
  const QIcon merge = ThemeImage("vcs-merge", "merge.png");
  const QIcon save = ThemeImage("document-save", "save.png");
  // Only 27, 30, 32 and 36 are used; the other places repeat those pictures.
  const QIcon cycle[] = {exit, open, merge, save};
  for (int i = 0; i < kImageCount; ++i) {
    QIcon image = cycle[i % 4];
    if (i == 27) image = exit;
    if (i == 30) image = open;
    if (i == 32) image = merge;
    if (i == 36) image = save;
    defaultImages_.append(image);
    highlightImages_.append(Highlighted(image));
  }
}

void TMainForm::BuildToolBar() {
  ToolBar = new TToolBar;
  ToolBar->setObjectName(QStringLiteral("ToolBar"));
  auto button = [this](const char* name) {
    auto* b = new TToolBarButton;
    b->setObjectName(QString::fromLatin1(name));
    ToolBar->AddItem(b);
    return b;
  };
  ToolButton3 = button("ToolButton3");
  ToolButton9 = button("ToolButton9");
  ToolBar->AddItem(NewToolBarSeparator(QStringLiteral("ToolButton8")));
  ToolButton4 = button("ToolButton4");
  ToolBar->AddItem(NewToolBarSeparator(QStringLiteral("ToolButton6")));
  ToolButton1 = button("ToolButton1");
  ToolButton2 = button("ToolButton2");
  ToolButton5 = button("ToolButton5");
  p4Separator = new QWidget;
  p4Separator->setObjectName(QStringLiteral("p4Separator"));
  p4Separator->setFixedHeight(TToolBarButton::kHeight);
  p4Separator->setFocusPolicy(Qt::NoFocus);
  ToolBar->AddItem(p4Separator);
  ToolBar->AddItem(NewToolBarSeparator(QStringLiteral("ToolButton11")));
  ToolButton10 = button("ToolButton10");
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
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(kPages[i].name));
    page->setProperty("caption", QString::fromUtf8(kPages[i].caption));
    page->setFocusPolicy(Qt::NoFocus);
    stack->addWidget(page, 0, 0);
    page->setVisible(i == 0);
    pages_[i] = page;
    if (kPages[i].tabShown) {
      const int tab = tabRow_->addTab(QString::fromUtf8(kPages[i].caption));
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
  struct MemoDef {
    int page;
    QPlainTextEdit* memo;
    const char* name;
    int pixelSize;
    bool wrap;
  };
  const MemoDef memos[] = {
      {0, m4Log, "m4Log", kSmallFont, false},
      {2, m4Lists, "m4Lists", kLargeFont, true},
      {3, m4Member, "m4Member", kLargeFont, true},
      {4, m4CodeFile, "m4CodeFile", kSmallFont, false},
      {5, m4HeaderFile, "m4HeaderFile", kSmallFont, false},
      {6, m4MergedFile, "m4MergedFile", kSmallFont, false},
      {7, m4Doku, "m4Doku", kLargeFont, true},
  };
  for (const MemoDef& def : memos) {
    QPlainTextEdit* memo = def.memo;
    memo->setObjectName(QString::fromLatin1(def.name));
    memo->setFont(PaneFont(def.pixelSize));
    memo->setLineWrapMode(def.wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(def.wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    BuildTextPage(def.page, memo);
  }
  m4Member->setVisible(false);
  // The log's lines come from files in different encodings.
  m4Log->SetEncodingPerLine(true);
  BuildSettingsPage(pages_[1]);

  pages_[0]->setProperty("hint", QString::fromUtf8(kProtocolPageHint));
  pages_[0]->setToolTip(QString::fromUtf8(kProtocolPageHint));
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
  for (size_t i = 0; i < std::size(kSettingsRows); ++i) {
    const SettingsRow& row = kSettingsRows[i];
    auto* label = new QLabel(QString::fromUtf8(row.text), rows);
    label->setObjectName(QString::fromLatin1(row.label));
    label->setFont(WindowFont(kLargeFont));
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label->setGeometry(0, row.top + kLabelDrop, kLabelRight, kEditHeight - kLabelDrop);
    auto* edit = new QLineEdit(rows);
    edit->setObjectName(QString::fromLatin1(row.edit));
    edit->setFont(PaneFont(kLargeFont));
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
  const int editWidth = std::max(0, client.width() - kEditWidthLoss);
  for (size_t i = 0; i < std::size(kSettingsRows); ++i) {
    settingsEdits_[i]->setGeometry(kEditLeft, kSettingsRows[i].top, editWidth, kEditHeight);
  }
}

void TMainForm::BuildStatusBar() {
  StatusBar = new QStatusBar;
  StatusBar->setObjectName(QStringLiteral("StatusBar"));
  StatusBar->setFixedHeight(19);
  statusPanel_ = new QLabel;
  statusPanel_->setObjectName(QStringLiteral("StatusPanel"));
  StatusBar->addWidget(statusPanel_, 1);
  setStatusBar(StatusBar);
}
