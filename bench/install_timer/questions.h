// The boxes a run expects, in the order the program asks them, each answered No as soon
// as it is up. Any other box (a failure message, the newsletter, a question out of turn)
// fails the run: answering it would time an install that did not go as it should.
#pragma once

#include <windows.h>

#include <vector>

#include "dialog_watch.h"

struct Question {
    const char* name;
    const wchar_t* words;  // what its text says, and no other box's
};

class QuestionAnswerer {
public:
    // `own` is a dialog of the program known before the timing (its main one), not a box.
    QuestionAnswerer(std::vector<Question> expected, HWND own);

    void OnDialog(const NewDialog& dialog);
    bool AllAnswered() const { return m_waitsMs.size() == m_expected.size(); }
    size_t Answered() const { return m_waitsMs.size(); }
    const Question* NextQuestion() const;

    // For each answered box, from when it was up to the press of No.
    const std::vector<double>& WaitsMs() const { return m_waitsMs; }
    // For each answered box, from its first event to when it was up: the program's time.
    const std::vector<double>& RisesMs() const { return m_risesMs; }

private:
    std::vector<Question> m_expected;
    HWND m_own;
    std::vector<double> m_waitsMs;
    std::vector<double> m_risesMs;
};
