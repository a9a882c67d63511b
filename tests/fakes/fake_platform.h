// Scripted stand-ins for the window system's dialogs and boxes and for the clock.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "main/dialogs.h"
#include "platform/clock.h"
#include "platform/environment.h"

// A file dialog that answers from a script: each Execute takes the next answer, a
// file name for OK or nullopt for Cancel. It records what it was shown with.
class FakeFileDialog : public FileDialog {
 public:
  struct Shown {
    std::string filter, initialDir, fileName, defaultExt;
  };
  std::deque<std::optional<std::string>> answers;
  std::vector<Shown> shown;

  bool Execute() override {
    shown.push_back({filter_, initialDir_, fileName_, defaultExt_});
    if (answers.empty()) return false;
    auto answer = answers.front();
    answers.pop_front();
    if (!answer) return false;
    fileName_ = *answer;
    return true;
  }
};

class FakeMessageBoxes : public MessageBoxes {
 public:
  struct Box {
    std::string caption, text;
  };
  std::vector<Box> errors;
  std::vector<Box> questions;
  bool answerYes = true;

  void ShowError(const std::string& caption, const std::string& message) override {
    errors.push_back({caption, message});
  }
  bool ConfirmYesNo(const std::string& caption, const std::string& text) override {
    questions.push_back({caption, text});
    return answerYes;
  }
};

class FakeClock : public platform::Clock {
 public:
  platform::DateTime now{2023, 7, 5, 9, 3, 7, 0};
  platform::DateTime Now() override { return now; }
};

// Environment variables from a map; install it with platform::ScopedEnvironment.
class FakeEnvironment : public platform::Environment {
 public:
  std::map<std::string, std::string> variables;

  std::optional<std::string> Get(const std::string& name) override {
    auto it = variables.find(name);
    if (it == variables.end()) return std::nullopt;
    return it->second;
  }
};

// Fixed formats, so that log lines are the same on every machine.
inline platform::LocaleFormats TestFormats() {
  platform::LocaleFormats f;
  f.shortDate = "dd.mm.yyyy";
  f.longTime = "hh:nn:ss";
  return f;
}
