#include "window/qt/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>

using qtui::FileFilterItem;
using qtui::QtFileDialog;
using qtui::QtMessageBoxes;

namespace {

// Runs `act` on the next modal widget once it shows (the dialogs block in exec()).
// Watchdogs keep a fault from hanging the suite: the wait ends after five seconds, and
// a dialog still open five seconds after `act` began is rejected.
void OnNextModal(QWidget* previous, std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  auto ticks = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, ticks, previous, act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == previous || !modal->isVisible()) {
      if (++*ticks > 500) {
        timer->stop();
        timer->deleteLater();
        ADD_FAILURE() << "no dialog showed";
      }
      return;
    }
    timer->stop();
    timer->deleteLater();
    QTimer::singleShot(5000, modal, [modal] {
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
    modal->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
    // A file dialog reads its folder in the background; until it has, it refuses typed
    // names (as it would for a user who types within the first instant).
    if (auto* model = modal->findChild<QFileSystemModel*>()) {
      EXPECT_TRUE(QTest::qWaitFor(
          [model] { return model->rowCount(model->index(model->rootPath())) > 0; }, 3000));
    }
    act(modal);
  });
  timer->start(10);
}

void TypeName(QWidget* dialog, const QString& name) {
  auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(edit, nullptr);
  edit->setFocus();  // as the user's typing has it
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, name);
  // The completer's list would take the Return meant for the dialog.
  if (edit->completer() && edit->completer()->popup()) edit->completer()->popup()->hide();
}

std::string Std(const QString& s) {
  return QFile::encodeName(s).toStdString();
}

TEST(QtDialogsTest, FilterTextBecomesLabelsAndPatterns) {
  struct Case {
    std::string filter;
    std::vector<FileFilterItem> items;
  } cases[] = {
      {"code files (*.c)|*.c|all files (*.*|*.*",
       {{"code files (*.c)", {"*.c"}}, {"all files (*.*", {"*"}}}},
      {"sources|*.c; *.h;;*.txt", {{"sources", {"*.c", "*.h", "*.txt"}}}},
      {"anything||trailing label", {{"anything", {"*"}}}},
      {"", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.filter);
    auto items = qtui::ParseFileFilter(c.filter);
    ASSERT_EQ(items.size(), c.items.size());
    for (size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i].label, c.items[i].label);
      EXPECT_EQ(items[i].patterns, c.items[i].patterns);
    }
  }
}

TEST(QtDialogsTest, ConfirmYesNoDefaultsToYesAndEscapesToNo) {
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool answer;
  } cases[] = {{Qt::Key_Return, Qt::NoModifier, true},
               {Qt::Key_Escape, Qt::NoModifier, false},
               {Qt::Key_N, Qt::AltModifier, false},
               {Qt::Key_Y, Qt::AltModifier, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    OnNextModal(nullptr, [&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      title = box->windowTitle();
      text = box->text();
      icon = box->icon();
      QTest::keyClick(box, c.key, c.modifiers);
    });
    QtMessageBoxes boxes;
    EXPECT_EQ(boxes.ConfirmYesNo("Vaskarel", "Save changes?"), c.answer);
    EXPECT_EQ(title, "Vaskarel");
    EXPECT_EQ(text, "Save changes?");
    EXPECT_EQ(icon, QMessageBox::Question);
  }
}

TEST(QtDialogsTest, ErrorBoxShowsCaptionAndMessage) {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  OnNextModal(nullptr, [&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    QTest::keyClick(box, Qt::Key_Return);
  });
  QtMessageBoxes boxes;
  // A file name in a legacy code page shows in it; UTF-8 shows as UTF-8.
  boxes.ShowError("Merge", "Cannot open file /tmp/\xC4rger.c");
  EXPECT_EQ(title, "Merge");
  EXPECT_EQ(text, QString::fromUtf8("Cannot open file /tmp/\xC3\x84rger.c"));
  EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST(QtDialogsTest, ErrorBoxIsCentredOnTheScreenUntilItsWindowIsShown) {
  // The outer rectangle's middle, frame included, against that of the screen or window.
  auto offCentre = [](const QRect& outer, const QRect& area) {
    return (outer.topLeft() * 2 + QPoint(outer.width(), outer.height())) -
           (area.topLeft() * 2 + QPoint(area.width(), area.height()));
  };
  QWidget window;
  window.setGeometry(40, 60, 500, 300);
  QtMessageBoxes boxes(&window);
  for (bool windowShown : {false, true}) {
    SCOPED_TRACE(windowShown);
    if (windowShown) {
      window.show();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QRect outer;
    OnNextModal(nullptr, [&](QWidget* box) {
      outer = box->windowHandle()->frameGeometry();
      QTest::keyClick(box, Qt::Key_Return);
    });
    boxes.ShowError("vaskarel", "I/O error 103.");
    const QRect area = windowShown ? window.frameGeometry() : window.screen()->geometry();
    const QPoint off = offCentre(outer, area);
    EXPECT_LE(std::abs(off.x()), 1) << off.x();
    // Over a shown window Qt sets the box a little above the middle.
    EXPECT_LE(std::abs(off.y()), windowShown ? 100 : 1) << off.y();
  }
}

class QtFileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    for (const char* name : {"dialog.c", "dialog.h", "notes.txt"}) {
      std::ofstream(Std(dir_.filePath(name))) << "x";
    }
  }
  std::string Dir() const { return Std(dir_.path()); }

  QTemporaryDir dir_;
};

TEST_F(QtFileDialogTest, OpenShowsLabelsAsWrittenAndAcceptsAMissingFile) {
  QtFileDialog open(nullptr, QtFileDialog::Mode::Open);
  open.SetFilter("code files (*.c)|*.c|all files (*.*|*.*");
  open.SetInitialDir(Dir());
  QStringList labels, firstPatterns, secondPatterns;
  OnNextModal(nullptr, [&](QWidget* modal) {
    auto* combo = modal->findChild<QComboBox*>("fileTypeCombo");
    auto* model = modal->findChild<QFileSystemModel*>();
    ASSERT_TRUE(combo && model);
    for (int i = 0; i < combo->count(); ++i) labels << combo->itemText(i);
    firstPatterns = model->nameFilters();
    QTest::keyClick(combo, Qt::Key_Down);  // the second label
    secondPatterns = model->nameFilters();
    TypeName(modal, "missing.c");
    QTest::keyClick(modal->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
  });
  ASSERT_TRUE(open.Execute());
  EXPECT_EQ(labels, QStringList({"code files (*.c)", "all files (*.*"}));
  EXPECT_EQ(firstPatterns, QStringList({"*.c"}));
  EXPECT_EQ(secondPatterns, QStringList({"*"}));
  EXPECT_EQ(open.FileName(), Dir() + "/missing.c");
}

TEST_F(QtFileDialogTest, OpenRefusesANameInAMissingFolder) {
  QtFileDialog open(nullptr, QtFileDialog::Mode::Open);
  open.SetInitialDir(Dir());
  open.SetFileName("before");
  bool warned = false, stayedOpen = false;
  OnNextModal(nullptr, [&](QWidget* modal) {
    TypeName(modal, "nofolder/x.c");
    OnNextModal(modal, [&](QWidget* warning) {
      warned = qobject_cast<QMessageBox*>(warning) != nullptr;
      QTest::keyClick(warning, Qt::Key_Return);
    });
    QTest::keyClick(modal->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
    stayedOpen = modal->isVisible();
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  EXPECT_FALSE(open.Execute());
  EXPECT_TRUE(warned);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(open.FileName(), "before");
}

TEST_F(QtFileDialogTest, SaveTakesAnExistingFileWithoutAskingAndAddsTheExtension) {
  QtFileDialog save(nullptr, QtFileDialog::Mode::Save);
  save.SetFilter("code files (*.c)|*.c|all files (*.*)|*.*");
  save.SetDefaultExt("c");
  save.SetFileName(Dir() + "/dialog.c");
  QString nameAfterFilterChange;
  OnNextModal(nullptr, [&](QWidget* modal) {
    auto* combo = modal->findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(combo, nullptr);
    QTest::keyClick(combo, Qt::Key_Down);
    nameAfterFilterChange = modal->findChild<QLineEdit*>("fileNameEdit")->text();
    QTest::keyClick(modal->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
  });
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(nameAfterFilterChange, "dialog.c");
  EXPECT_EQ(save.FileName(), Dir() + "/dialog.c");

  OnNextModal(nullptr, [&](QWidget* modal) {
    TypeName(modal, "zmerged");
    QTest::keyClick(modal->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
  });
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName(), Dir() + "/zmerged.c");

  // Cancel leaves the name as it was.
  OnNextModal(nullptr, [&](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
  EXPECT_FALSE(save.Execute());
  EXPECT_EQ(save.FileName(), Dir() + "/zmerged.c");
}

}  // namespace
