// The program's name: the running file's name without folder and extension. It is the
// caption of every message box that does not bring one of its own.
#pragma once
#include "framework/text.h"

CText ProgramName();
