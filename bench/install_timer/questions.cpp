#include "questions.h"

#include <stdexcept>
#include <utility>

#include "box.h"
#include "clock.h"
#include "text.h"

QuestionAnswerer::QuestionAnswerer(std::vector<Question> expected, HWND own)
    : m_expected(std::move(expected)), m_own(own) {}

const Question* QuestionAnswerer::NextQuestion() const {
    return AllAnswered() ? nullptr : &m_expected[m_waitsMs.size()];
}

void QuestionAnswerer::OnDialog(const NewDialog& dialog) {
    if (dialog.hwnd == m_own) return;
    const double up = WaitUntilUp(dialog.hwnd);
    const std::wstring text = BoxText(dialog.hwnd);
    const Question* question = NextQuestion();
    if (!question || text.find(question->words) == std::wstring::npos || !GetDlgItem(dialog.hwnd, IDNO))
        throw std::runtime_error("unexpected box \"" + OneLine(Caption(dialog.hwnd)) + "\": \"" + OneLine(text) + "\"" +
                                 (question ? std::string(" while waiting for the question ") + question->name : ""));
    const double answered = NowMs();
    PressButton(dialog.hwnd, IDNO);
    m_waitsMs.push_back(answered - up);
    m_risesMs.push_back(up - dialog.seenMs);
}
