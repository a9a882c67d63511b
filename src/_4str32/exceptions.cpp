#include "_4str32/exceptions.h"

#include <string>
#include <utility>

EInOutError::EInOutError(int code, std::string detail)
    : Exception(MessageFor(code), std::move(detail)), code_(code) {}

std::string EInOutError::MessageFor(int code) {
  switch (code) {
    case 2:
      return "File not found";
    case 3:
      return "Invalid filename";
    case 4:
      return "Too many open files";
    case 5:
      return "File access denied";
    case 100:
      return "Read beyond end of file";
    case 101:
      return "Disk full";
    case 106:
      return "Invalid numeric input";
    default:
      return "I/O error " + std::to_string(code);
  }
}

EFOpenError::EFOpenError(const std::string& fileName) : Exception("Cannot open file " + fileName) {}

EFCreateError::EFCreateError(const std::string& fileName)
    : Exception("Cannot create file " + fileName) {}

EWriteError::EWriteError() : Exception("Stream write error") {}

EMemoCapacity::EMemoCapacity() : Exception("Text exceeds memo capacity") {}
