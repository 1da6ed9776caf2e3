#include "platform/Prompts.h"

namespace trv {

Prompts::Answer Prompts::firstButton(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel:
        return Answer::Ok;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        return Answer::Yes;
    case Buttons::RetryCancel:
        return Answer::Retry;
    case Buttons::AbortRetryIgnore:
        return Answer::Abort;
    }
    return Answer::Ok;
}

QString Prompts::shownText(const QString& text) {
    const QChar ellipsis(u'\u2026');
    QString shown;
    qsizetype lines = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        if (lines == kMaxShownLines) {
            shown.append(ellipsis);
            return shown;
        }
        const QStringView line = QStringView(text).sliced(start, end - start);
        if (line.size() > kMaxShownLineLength) {
            shown.append(line.first(kMaxShownLineLength));
            shown.append(ellipsis);
        } else {
            shown.append(line);
        }
        ++lines;
        if (end == text.size())
            break;
        shown.append(u'\n');
        start = end + 1;
    }
    return shown;
}

} // namespace trv
