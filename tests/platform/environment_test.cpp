#include "platform/environment.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "fakes/fake_platform.h"

TEST(EnvironmentTest, ProcessVariablesUnlessAnotherIsInstalled) {
  ::setenv("VK_ENV_TEST", "", 1);
  ::unsetenv("VK_ENV_TEST_UNSET");
  EXPECT_EQ(platform::Env().Get("VK_ENV_TEST"), std::optional<std::string>(""));
  EXPECT_EQ(platform::Env().Get("VK_ENV_TEST_UNSET"), std::nullopt);
  {
    FakeEnvironment fake;
    fake.variables["VK_ENV_TEST_UNSET"] = "/set";
    platform::ScopedEnvironment scope(fake);
    EXPECT_EQ(platform::Env().Get("VK_ENV_TEST_UNSET"), std::optional<std::string>("/set"));
    EXPECT_EQ(platform::Env().Get("VK_ENV_TEST"), std::nullopt);
  }
  EXPECT_EQ(platform::Env().Get("VK_ENV_TEST"), std::optional<std::string>(""));
  ::unsetenv("VK_ENV_TEST");
}
