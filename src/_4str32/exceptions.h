// The program's failures. Each kind is an exception carrying the message that the
// error box shows; they are caught only by the command guard of the main unit.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

// Base of every failure the program reports to the user.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message, std::string detail = {})
      : std::runtime_error(message), detail_(std::move(detail)) {}
  std::string Message() const { return what(); }
  // What failed and why, for a second line under the message ("/var/log/v.log:
  // Permission denied"); empty when the message says it all.
  const std::string& Detail() const { return detail_; }

 private:
  std::string detail_;
};

// An I/O error with its numeric code ("File not found", "I/O error 103", ...).
class EInOutError : public Exception {
 public:
  explicit EInOutError(int code, std::string detail = {});
  int ErrorCode() const { return code_; }
  // The message for a code: the table of known codes, else "I/O error %d".
  static std::string MessageFor(int code);

 private:
  int code_;
};

// "Cannot open file %s"
class EFOpenError : public Exception {
 public:
  explicit EFOpenError(const std::string& fileName);
};

// "Cannot create file %s"
class EFCreateError : public Exception {
 public:
  explicit EFCreateError(const std::string& fileName);
};

// "Stream write error"
class EWriteError : public Exception {
 public:
  EWriteError();
};

// "Text exceeds memo capacity"
class EMemoCapacity : public Exception {
 public:
  EMemoCapacity();
};
