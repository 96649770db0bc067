// The program being timed, started by CreateProcess. One that is still running when this
// object goes (the run failed or timed out) is ended, so that no failed run leaves an
// installer behind in the Wine world.
#pragma once

#include <windows.h>

#include <string>

class ChildProcess {
public:
    // `arguments` follow the quoted program name on its command line as they are.
    // A suspended child runs only once Resume is called.
    ChildProcess(const std::wstring& program, const std::wstring& arguments, bool suspended);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    HANDLE Handle() const { return m_info.hProcess; }
    DWORD Id() const { return m_info.dwProcessId; }
    void Resume();
    bool Running() const;
    DWORD ExitCode() const;

private:
    PROCESS_INFORMATION m_info{};
};
