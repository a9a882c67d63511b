// The process's environment through the C library, which every host has.
#include "platform/environment.h"

#include <atomic>
#include <cstdlib>

namespace platform {
namespace {

class ProcessEnvironment final : public Environment {
 public:
  std::optional<std::string> Get(const std::string& name) override {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  }
};

std::atomic<Environment*> installed{nullptr};

}  // namespace

Environment& Env() {
  static ProcessEnvironment process;
  Environment* env = installed.load();
  return env ? *env : process;
}

ScopedEnvironment::ScopedEnvironment(Environment& env) : previous_(installed.exchange(&env)) {}

ScopedEnvironment::~ScopedEnvironment() {
  installed.store(previous_);
}

}  // namespace platform
