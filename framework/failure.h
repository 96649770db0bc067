// A failure that a command "raises": the rest of the command does not run, the
// framework shows the text in a stop-icon box and the dialog stays open.
// It travels as a value because the program is built without C++ exceptions.
#pragma once
#include "framework/text.h"

class CFailure {
public:
    CFailure() = default;  // nothing raised
    static CFailure Raise(const CText& message) { return CFailure(message); }

    bool IsRaised() const { return m_raised; }
    explicit operator bool() const { return m_raised; }
    const CText& Message() const { return m_message; }

private:
    explicit CFailure(const CText& message) : m_message(message), m_raised(true) {}
    CText m_message;
    bool m_raised = false;
};

// Ends the calling command at once when an operation raised a failure.
#define RETURN_IF_RAISED(expr)                    \
    do {                                          \
        CFailure failure_ = (expr);               \
        if (failure_.IsRaised()) return failure_; \
    } while (0)
