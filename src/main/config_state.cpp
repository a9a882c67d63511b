// The configuration-changed state and the Exit command. Reading and writing the
// configuration only report themselves in the log: the configuration file is never
// opened, created or changed.
#include "main/main_core.h"

void TMainCore::OnConfigChange() {
  // Edits during start-up are not counted, and a run of edits is reported once.
  if (!initialised || configChanged) return;
  configChanged = true;
  Log("    Configuration changed ...");
}

void TMainCore::ReadConfig() {
  Log(" Read configuration file ...");
  Log("    " + configFile);
  configChanged = false;
}

void TMainCore::WriteConfig() {
  Log("       Write configuration file ...");
  Log("    " + configFile);
  configChanged = false;
}

void TMainCore::Exit() {
  // The question cannot cancel the exit, and a failure on the way must not either.
  try {
    if (configChanged &&
        Boxes().ConfirmYesNo("Confirm",
                             "The configuration was changed.\rSave changed configuration?")) {
      WriteConfig();
    }
  } catch (...) {
    if (services_.terminate) services_.terminate();
    throw;
  }
  if (services_.terminate) services_.terminate();
}
