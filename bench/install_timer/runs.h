// One timed install of each kind.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct RunResult {
    double figureMs;    // elapsed less the mandated pauses and the boxes' waits
    double elapsedMs;   // from the start of the timing to the end of the process
    double pausesMs;    // the pauses the program must make
    std::vector<double> boxWaitsMs;
    std::vector<double> boxRisesMs;
    DWORD exitCode;
};

// setup.exe through its dialog: from the press of Install to the end of the process.
RunResult TimeOurs(const std::wstring& setupExe, const std::wstring& folder);

// A silent NSIS installer: from CreateProcess to the end of the process.
RunResult TimePeer(const std::wstring& installer, const std::wstring& folder);
