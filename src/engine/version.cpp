#include "engine/version.h"

#ifndef VASKAREL_VERSION
#define VASKAREL_VERSION "unknown"
#endif

const char* ProgramVersion() {
  return VASKAREL_VERSION;
}
