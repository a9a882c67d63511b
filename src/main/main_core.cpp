#include "main/main_core.h"

#include <cctype>
#include <exception>

#include "_4str32/exceptions.h"

std::string ApplicationTitleFor(const std::string& executableName) {
  std::string title = executableName.substr(0, executableName.find('.'));
  for (size_t i = 1; i < title.size(); ++i) {
    title[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(title[i])));
  }
  return title;
}

std::string ErrorBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

std::string ErrorBoxText(const std::exception& failure) {
  std::string text = ErrorBoxText(failure.what());
  if (const auto* known = dynamic_cast<const Exception*>(&failure)) {
    if (!known->Detail().empty()) text += "\n" + known->Detail();
  }
  return text;
}

TMainCore::TMainCore(MainServices services)
    : m4Log(services.logView),
      m4CodeFile(services.codeView),
      m4HeaderFile(services.headerView),
      m4MergedFile(services.mergedView),
      m4Doku(services.dokuView),
      services_(std::move(services)) {}

void TMainCore::RunCommand(const std::function<void()>& command) {
  logFailureShown_ = false;
  ++commandDepth_;
  try {
    command();
  } catch (const std::exception& e) {
    services_.boxes.ShowError(applicationTitle, ErrorBoxText(e));
  } catch (...) {
    services_.boxes.ShowError(applicationTitle, ErrorBoxText("Unknown error"));
  }
  if (--commandDepth_ > 0 || !commandLog_) return;
  // No handle stays open between commands.
  try {
    commandLog_->Close();
  } catch (const std::exception& e) {
    ShowLogFailure(e);
  }
  commandLog_.reset();
}
