// The actions of the main window in list order, the menu bar bound to them and the
// tool-bar bindings.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "window/qt/main_form.h"
#include "window/qt/tool_bar.h"

namespace {

struct ActionDef {
  QAction* TMainForm::*field;
  const char* name;
  const char* caption;
  const char* shortcut;  // portable key text; empty for none
  int image;             // -1 for none
  const char* hint;      // "short|long"; empty for none
};

}  // namespace

void TMainForm::BuildActions() {
  // The order matters: a key two actions share belongs to the one listed first.
  const ActionDef defs[] = {
      {&TMainForm::a4Exit, "a4Exit", "E&xit", "Alt+F4", 27, ""},
      {&TMainForm::a4Disabled, "a4Disabled", " ", "", -1, ""},
      {&TMainForm::a4LoadConfig, "a4LoadConfig", "&Load configuration", "", -1, ""},
      {&TMainForm::a4SaveConfig, "a4SaveConfig", "&Save configuration", "", -1, ""},
      {&TMainForm::a4DefaultSize, "a4DefaultSize", "&Default size", "Ctrl+N", -1,
       "Resize to default size|Resize the program window to the default size (Suitable for "
       "screen resolution of 1024x768 and above)"},
      {&TMainForm::a4MinSize, "a4MinSize", "&Minimale Größe", "Ctrl+M", -1,
       "Resize to minimum size|Resize the program window to the minimum size (Suitable for "
       "screen resolution of 800x600)"},
      {&TMainForm::a4ShowProtocollPage, "a4ShowProtocollPage", "&Logfile", "Ctrl+1", -1, ""},
      {&TMainForm::a4ShowPage1, "a4ShowPage1", "&Einstellungen", "Ctrl+2", -1,
       "Zeigt die Registerseite mit den Angaben der Programmeinstellungen an"},
      {&TMainForm::a4ShowPage2, "a4ShowPage2", "Be&staetigung", "Ctrl+3", -1,
       "Zeigt die Registerseite mit der Vorlage für Übertragungsbestätigungen an"},
      {&TMainForm::a4ShowPage3, "a4ShowPage3", "&Auftragsmitteilung", "Ctrl+5", -1,
       "Zeigt die Registerseite mit der Vorlage für Auftragsmitteilungen an"},
      {&TMainForm::a4ShowPage4, "a4ShowPage4", "D&okumentation", "Ctrl+4", -1,
       "Zeigt die Registerseite mit der Programmdokumentation an"},
      {&TMainForm::a4ShowDebugPage, "a4ShowDebugPage", "Debug-Infos", "Ctrl+5", -1,
       "Zeigt die Registerseite mit der Debuginformationen an"},
      {&TMainForm::a4LoadCodeFile, "a4LoadCodeFile", "Load &code file", "Ctrl+L", 30, ""},
      {&TMainForm::a4LoadHeaderFile, "a4LoadHeaderFile", "Load &header file", "Ctrl+H", 30, ""},
      {&TMainForm::a4MergeFiles, "a4MergeFiles", "&Merge files", "Ctrl+M", 32, ""},
      {&TMainForm::a4SaveMergedFile, "a4SaveMergedFile", "&Save merged file", "Ctrl+S", 36, ""},
  };
  for (const ActionDef& def : defs) {
    auto* action = new QAction(this);
    action->setObjectName(QString::fromLatin1(def.name));
    action->setText(QString::fromUtf8(def.caption));
    // The key is the action's data: the window routes every key itself (form_keys.cpp),
    // and an action is never attached to a widget, so Qt never dispatches it.
    action->setShortcut(
        QKeySequence::fromString(QString::fromLatin1(def.shortcut), QKeySequence::PortableText));
    action->setShortcutContext(Qt::WidgetShortcut);
    if (def.image >= 0) {
      action->setIcon(defaultImages_[def.image]);
      action->setProperty("imageIndex", def.image);
    }
    const QString hint = QString::fromUtf8(def.hint);
    action->setProperty("hint", hint);
    action->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
    action->setStatusTip(hint.contains(QLatin1Char('|')) ? hint.section(QLatin1Char('|'), 1)
                                                         : hint);
    this->*def.field = action;
    actionList_.append(action);
  }
  a4Disabled->setEnabled(false);

  const std::pair<QAction*, Handler> handlers[] = {
      {a4Exit, &TMainForm::a4ExitExecute},
      {a4LoadConfig, &TMainForm::a4LoadConfigExecute},
      {a4SaveConfig, &TMainForm::a4SaveConfigExecute},
      {a4DefaultSize, &TMainForm::a4DefaultSizeExecute},
      {a4MinSize, &TMainForm::a4MinSizeExecute},
      {a4ShowProtocollPage, &TMainForm::a4ShowProtocollPageExecute},
      {a4ShowPage1, &TMainForm::a4ShowPage1Execute},
      {a4ShowPage2, &TMainForm::a4ShowPage2Execute},
      {a4ShowPage3, &TMainForm::a4ShowPage3Execute},
      {a4ShowPage4, &TMainForm::a4ShowPage4Execute},
      {a4ShowDebugPage, &TMainForm::a4ShowDebugPageExecute},
      {a4LoadCodeFile, &TMainForm::a4LoadCodeFileExecute},
      {a4LoadHeaderFile, &TMainForm::a4LoadHeaderFileExecute},
      {a4MergeFiles, &TMainForm::a4MergeFilesExecute},
      {a4SaveMergedFile, &TMainForm::a4SaveMergedFileExecute},
  };
  for (const auto& [action, handler] : handlers) {
    connect(action, &QAction::triggered, this,
            [this, action, handler] { (this->*handler)(action); });
  }
}

QAction* TMainForm::AddMenuItem(QMenu* menu, const char* name, QAction* action) {
  auto* item = new QAction(menu);
  item->setObjectName(QString::fromLatin1(name));
  // The item shows its action's key beside the caption; the key itself is routed by
  // the window, so the item carries it as text only.
  QString text = action->text();
  if (!action->shortcut().isEmpty()) {
    text += QLatin1Char('\t') + action->shortcut().toString(QKeySequence::NativeText);
  }
  item->setText(text);
  item->setStatusTip(action->statusTip());
  item->setProperty("hint", action->property("hint"));
  item->setEnabled(action->isEnabled());
  connect(action, &QAction::changed, item,
          [item, action] { item->setEnabled(action->isEnabled()); });
  connect(item, &QAction::triggered, action, &QAction::trigger);
  menu->addAction(item);
  menuBindings_.insert(item, action);
  return item;
}

void TMainForm::BuildMenus() {
  MainMenu = new QMenuBar(this);
  MainMenu->setObjectName(QStringLiteral("MainMenu"));
  setMenuBar(MainMenu);
  auto addMenu = [this](const char* name, const char* title, const char* hint) {
    QMenu* menu = MainMenu->addMenu(QString::fromUtf8(title));
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setProperty("hint", QString::fromUtf8(hint));
    menu->menuAction()->setStatusTip(QString::fromUtf8(hint));
    return menu;
  };
  mi4Datei =
      addMenu("mi4Datei", "&File", "Laden und Speichern der Konfiguration, Beenden des Programms");
  AddMenuItem(mi4Datei, "Loadcodefile1", a4LoadCodeFile);
  AddMenuItem(mi4Datei, "Loadheaderfile1", a4LoadHeaderFile);
  AddMenuItem(mi4Datei, "Savefile1", a4SaveMergedFile);
  mi4Datei->addSeparator()->setObjectName(QStringLiteral("N1"));
  AddMenuItem(mi4Datei, "Beenden1", a4Exit);

  Edit1 = addMenu("Edit1", "&Edit", "");
  AddMenuItem(Edit1, "Mergefiles1", a4MergeFiles);

  mi4Fenster = addMenu("mi4Fenster", "&Window",
                       "Einstellen der Größe des Programmfensters und von Einzelnen "
                       "Fensterelementen");
  AddMenuItem(mi4Fenster, "Standardgre1", a4DefaultSize);
  AddMenuItem(mi4Fenster, "Standardgre2", a4MinSize);
}

void TMainForm::BindToolBar() {
  auto image = [](const QList<QIcon>& list, QAction* action) {
    const QVariant index = action->property("imageIndex");
    return index.isValid() ? list[index.toInt()] : QIcon();
  };
  auto bind = [&](TToolBarButton* button, QAction* action, const char* caption) {
    button->Bind(action, caption ? QString::fromUtf8(caption) : action->text(),
                 image(defaultImages_, action), image(highlightImages_, action));
  };
  bind(ToolButton3, a4LoadCodeFile, "&Code file");
  bind(ToolButton9, a4LoadHeaderFile, "&Header file");
  bind(ToolButton4, a4MergeFiles, "&Merge");
  bind(ToolButton1, a4SaveMergedFile, "&Save");
  bind(ToolButton2, a4Disabled, nullptr);
  bind(ToolButton5, a4Disabled, nullptr);
  bind(ToolButton10, a4Exit, nullptr);
}
