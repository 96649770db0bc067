// The install directory as the user typed or pasted it, made the directory the install
// uses, or refused before anything is written.
#pragma once
#include <windows.h>

#include "framework/failure.h"
#include "framework/text.h"

// What the user evidently did not mean goes: blanks at both ends, one pair of double
// quotes around the whole text ("Copy as path" adds them); "/" counts as "\". What is left
// must name a folder the install can fill: a full path of allowed names, on a drive or
// share that exists, not a file, short enough for every path the install
// writes. Gives 0 and *dir, that folder in full without a trailing separator (a drive's
// root keeps its own); or the text naming the problem, with *named, what it names.
UINT ChooseInstallDir(const CText& typed, CText* dir, CText* named);

// Creates every missing folder of `dir`; when one cannot be made, the failure is raised
// with the path of `dir`.
CFailure CreateInstallDir(const CText& dir);
