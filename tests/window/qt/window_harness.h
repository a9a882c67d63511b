// The real main window for the GUI tests: a temporary program folder with a
// configuration file that names a log file there, scripted file dialogs and boxes,
// a fixed clock, and Exit and the held modifier keys caught by the test. The window
// is shown and active, so keys reach it as they would on a desktop.
#pragma once

#include <gtest/gtest.h>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include "fakes/fake_platform.h"
#include "fakes/temp_dir.h"
#include "main/main_core.h"
#include "window/qt/main_form.h"
#include "window_options.h"

// QStrings in test failures, as text.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace gui_test {

// Lets the event loop run dry once, as the program does between inputs; hints follow
// the mouse at that moment.
inline void Idle() {
  QEventLoop loop;
  QTimer::singleShot(5, &loop, &QEventLoop::quit);
  loop.exec();
}

// Runs the event loop until `done` holds, at most `ms` milliseconds; whether it came
// to hold. For ASSERT_TRUE: a wait that runs out fails the GoogleTest test.
inline bool WaitUntil(const std::function<bool()>& done, int ms = 5000) {
  return QTest::qWaitFor(done, ms);
}

// Waits until the open menu (the active popup) is `menu`; nullptr: until none is.
inline ::testing::AssertionResult PopupBecomes(const QWidget* menu) {
  if (WaitUntil([menu] { return QApplication::activePopupWidget() == menu; })) {
    return ::testing::AssertionSuccess();
  }
  const QWidget* open = QApplication::activePopupWidget();
  return ::testing::AssertionFailure()
         << "the open menu is " << (open ? open->objectName().toStdString() : "none") << ", not "
         << (menu ? menu->objectName().toStdString() : "none");
}

class WindowTest : public ::testing::Test {
 protected:
  // logFileLine: the "LogFile" entry of the configuration file.
  void Start(const std::string& logFileLine = "") {
    const std::string logLine = logFileLine.empty() ? "LogFile=" + LogPath() : logFileLine;
    WriteFile(folder / "vaskarel.ini", "[Start]\r\n" + logLine + "\r\n");
    TMainFormOptions options = FakeWindowOptions(folder, openDialog, saveDialog, boxes, clock);
    options.terminate = [this] { ++terminated; };
    options.keyboardModifiers = [this] { return held; };
    options.windowFrame = windowFrame;
    form = std::make_unique<TMainForm>(std::move(options));
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }

  void SetUp() override { Start(); }

  void TearDown() override { form.reset(); }

  std::string LogPath() const { return folder / "run.log"; }

  template <class T = QWidget>
  T* Find(const char* name) const {
    T* found = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  // A key pressed and released, delivered to the control with the focus.
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : form.get(), key, modifiers);
  }

  void Type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }

  QString FocusName() const {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("(none)");
  }

  std::string Log() const { return form->Core().m4Log.GetWholeText(); }
  QString Status() const { return Find<QLabel>("StatusPanel")->text(); }

  // The program's folder, with a lower-case name: the program looks for its
  // configuration file under a lower-cased path.
  TempDir folder{"vk_gui", TempDir::kLowerCase};
  FakeFileDialog openDialog, saveDialog;
  FakeMessageBoxes boxes;
  FakeClock clock;
  int terminated = 0;
  Qt::KeyboardModifiers held = Qt::NoModifier;
  // The frame the window system reports; the offscreen platform's own when empty.
  std::function<QMargins(const QWidget&)> windowFrame;
  std::unique_ptr<TMainForm> form;

 private:
  CurrentDirectoryGuard cwdGuard_;
};

}  // namespace gui_test
