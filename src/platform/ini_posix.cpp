// Where Windows is not, the program's own reader reads the INI files.
#include "platform/ini.h"

namespace platform {

uint32_t GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                                  char* buffer, uint32_t size, const char* fileName) {
  return ReadProfileString(section, key, defaultValue, buffer, size, fileName);
}

}  // namespace platform
