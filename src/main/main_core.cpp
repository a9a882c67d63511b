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

TMainCore::TMainCore(MainServices services)
    : m4Log(services.logView),
      m4CodeFile(services.codeView),
      m4HeaderFile(services.headerView),
      m4MergedFile(services.mergedView),
      m4Doku(services.dokuView),
      services_(std::move(services)) {}

void TMainCore::RunCommand(const std::function<void()>& command) {
  logFailureShown_ = false;
  try {
    command();
  } catch (const std::exception& e) {
    services_.boxes.ShowError(applicationTitle, ErrorBoxText(e.what()));
  } catch (...) {
    services_.boxes.ShowError(applicationTitle, ErrorBoxText("Unknown error"));
  }
}
