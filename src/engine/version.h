// The version of the programs, one for the window and vaskarel-merge.
#pragma once

// "0.1.0".
const char* ProgramVersion();
