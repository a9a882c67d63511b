// The actions of the main window in list order, the menu bar bound to them and the
// tool-bar bindings, all built from the window's description.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "window/qt/main_form.h"
#include "window/qt/tool_bar.h"

namespace {

QString Text(const char* utf8) {
  return QString::fromUtf8(utf8);
}

}  // namespace

TMainForm::Handler TMainForm::HandlerOf(window::Action id) {
  using A = window::Action;
  switch (id) {
    case A::Exit:
      return &TMainForm::a4ExitExecute;
    case A::Disabled:
      return nullptr;
    case A::LoadConfig:
      return &TMainForm::a4LoadConfigExecute;
    case A::SaveConfig:
      return &TMainForm::a4SaveConfigExecute;
    case A::DefaultSize:
      return &TMainForm::a4DefaultSizeExecute;
    case A::MinSize:
      return &TMainForm::a4MinSizeExecute;
    case A::ShowProtocollPage:
      return &TMainForm::a4ShowProtocollPageExecute;
    case A::ShowPage1:
      return &TMainForm::a4ShowPage1Execute;
    case A::ShowPage2:
      return &TMainForm::a4ShowPage2Execute;
    case A::ShowPage3:
      return &TMainForm::a4ShowPage3Execute;
    case A::ShowPage4:
      return &TMainForm::a4ShowPage4Execute;
    case A::ShowDebugPage:
      return &TMainForm::a4ShowDebugPageExecute;
    case A::LoadCodeFile:
      return &TMainForm::a4LoadCodeFileExecute;
    case A::LoadHeaderFile:
      return &TMainForm::a4LoadHeaderFileExecute;
    case A::MergeFiles:
      return &TMainForm::a4MergeFilesExecute;
    case A::SaveMergedFile:
      return &TMainForm::a4SaveMergedFileExecute;
  }
  return nullptr;
}

void TMainForm::BuildActions() {
  for (const window::ActionInfo& def : window::Actions()) {
    auto* action = new QAction(this);
    action->setObjectName(QString::fromLatin1(def.name));
    action->setText(Text(def.caption));
    // The key is the action's data: the window routes every key itself (form_keys.cpp),
    // and an action is never attached to a widget, so Qt never dispatches it.
    action->setShortcut(QKeySequence::fromString(QString::fromStdString(window::KeyText(def.key)),
                                                 QKeySequence::PortableText));
    action->setShortcutContext(Qt::WidgetShortcut);
    if (def.image >= 0) action->setIcon(defaultImages_[def.image]);
    const std::string_view hint = def.hint;
    action->setProperty("hint", Text(def.hint));
    action->setToolTip(QString::fromUtf8(window::ShortHint(hint)));
    action->setStatusTip(QString::fromUtf8(window::LongHint(hint)));
    action->setEnabled(def.enabled);
    actions_[static_cast<size_t>(def.id)] = action;
    actionList_.append(action);
    if (const Handler handler = HandlerOf(def.id)) {
      connect(action, &QAction::triggered, this,
              [this, action, handler] { (this->*handler)(action); });
    }
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
  return item;
}

void TMainForm::BuildMenus() {
  MainMenu = new QMenuBar(this);
  MainMenu->setObjectName(QStringLiteral("MainMenu"));
  setMenuBar(MainMenu);
  for (const window::Menu& def : window::Menus()) {
    QMenu* menu = MainMenu->addMenu(Text(def.title));
    menu->setObjectName(QString::fromLatin1(def.name));
    menu->menuAction()->setObjectName(QString::fromLatin1(def.name));
    menu->menuAction()->setProperty("hint", Text(def.hint));
    menu->menuAction()->setStatusTip(Text(def.hint));
    for (const window::MenuItem& item : def.items) {
      if (item.action) {
        AddMenuItem(menu, item.name, ActionFor(*item.action));
      } else {
        menu->addSeparator()->setObjectName(QString::fromLatin1(item.name));
      }
    }
    menus_.append(menu);
  }
}

void TMainForm::BindToolBar() {
  const auto items = window::ToolBarItems();
  for (size_t i = 0; i < items.size(); ++i) {
    auto* button = qobject_cast<TToolBarButton*>(ToolBar->Items()[static_cast<int>(i)]);
    if (!button) continue;
    const window::ActionInfo& action = window::ActionOf(items[i].action);
    const bool image = action.image >= 0;
    button->Bind(ActionFor(items[i].action), Text(items[i].Caption()),
                 image ? defaultImages_[action.image] : QIcon(),
                 image ? highlightImages_[action.image] : QIcon());
  }
}
