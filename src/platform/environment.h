// The process's environment variables, read through an object that tests replace, so
// that no test depends on the variables of the machine it runs on.
#pragma once

#include <optional>
#include <string>

namespace platform {

class Environment {
 public:
  virtual ~Environment() = default;
  // The value of a variable; nullopt when it is not set (an empty value is set).
  virtual std::optional<std::string> Get(const std::string& name) = 0;
};

// The environment in force: the process's own unless a test installed another.
Environment& Env();

// Installs an environment for the lifetime of the object (tests).
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(Environment& env);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  Environment* previous_;
};

}  // namespace platform
