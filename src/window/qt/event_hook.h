// A small event filter that hands the events of one object to a function, for the
// window's handlers of resize and focus events on its controls.
#pragma once

#include <QEvent>
#include <QObject>
#include <functional>

class TEventHook : public QObject {
 public:
  // The hook lives as long as target; handler's true swallows the event.
  static void Install(QObject* target, std::function<bool(QObject*, QEvent*)> handler) {
    target->installEventFilter(new TEventHook(target, std::move(handler)));
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override { return handler_(watched, event); }

 private:
  TEventHook(QObject* parent, std::function<bool(QObject*, QEvent*)> handler)
      : QObject(parent), handler_(std::move(handler)) {}

  std::function<bool(QObject*, QEvent*)> handler_;
};
