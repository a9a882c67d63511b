#include "platform/environment.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "fakes/fake_platform.h"

namespace {

// Sets a variable of the process, or removes it when value is null. Windows removes a
// variable set to the empty string, so the tests set "" only elsewhere.
void SetVariable(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value ? value : "");
#else
  if (value) {
    ::setenv(name, value, 1);
  } else {
    ::unsetenv(name);
  }
#endif
}

#ifdef _WIN32
constexpr const char* kValue = "set";
#else
constexpr const char* kValue = "";  // an empty value is set all the same
#endif

}  // namespace

TEST(EnvironmentTest, ProcessVariablesUnlessAnotherIsInstalled) {
  SetVariable("VK_ENV_TEST", kValue);
  SetVariable("VK_ENV_TEST_UNSET", nullptr);
  EXPECT_EQ(platform::Env().Get("VK_ENV_TEST"), std::optional<std::string>(kValue));
  EXPECT_EQ(platform::Env().Get("VK_ENV_TEST_UNSET"), std::nullopt);
  {
    FakeEnvironment fake;
    fake.variables["VK_ENV_TEST_UNSET"] = "/set";
    platform::ScopedEnvironment scope(fake);
    EXPECT_EQ(platform::Env().Get("VK_ENV_TEST_UNSET"), std::optional<std::string>("/set"));
    EXPECT_EQ(platform::Env().Get("VK_ENV_TEST"), std::nullopt);
  }
  EXPECT_EQ(platform::Env().Get("VK_ENV_TEST"), std::optional<std::string>(kValue));
  SetVariable("VK_ENV_TEST", nullptr);
}
