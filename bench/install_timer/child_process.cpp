#include "child_process.h"

#include <stdexcept>
#include <vector>

#include "text.h"

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& arguments, bool suspended) {
    std::wstring line = L"\"" + program + L"\"";
    if (!arguments.empty()) line += L" " + arguments;
    std::vector<wchar_t> buffer(line.begin(), line.end());  // CreateProcessW may write into it
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, suspended ? CREATE_SUSPENDED : 0,
                        nullptr, nullptr, &startup, &m_info))
        throw std::runtime_error("cannot start " + Utf8(program) + " (error " + std::to_string(GetLastError()) + ")");
}

ChildProcess::~ChildProcess() {
    if (Running()) {
        TerminateProcess(m_info.hProcess, 3);
        WaitForSingleObject(m_info.hProcess, 5000);
    }
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
}

void ChildProcess::Resume() {
    if (ResumeThread(m_info.hThread) == static_cast<DWORD>(-1))
        throw std::runtime_error("cannot resume the started program (error " + std::to_string(GetLastError()) + ")");
}

bool ChildProcess::Running() const { return WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }

DWORD ChildProcess::ExitCode() const {
    DWORD code = 0;
    if (!GetExitCodeProcess(m_info.hProcess, &code)) code = static_cast<DWORD>(-1);
    return code;
}
