#include "periods/ui/DateField.h"

#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace trv::periodsui {

namespace {

class DateFieldFilter final : public QObject {
public:
    DateFieldFilter(QDateEdit* edit, const QLabel* label, Prompts& prompts)
        : QObject(edit), m_edit(edit), m_label(label), m_prompts(prompts) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_edit || m_inside)
            return false;
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->text().size() == 1 && key->text().front().isDigit()) {
                typeDigit(*key);
                return true;
            }
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                return !taken();
        }
        if (event->type() == QEvent::FocusOut)
            taken();
        return false;
    }

private:
    QLineEdit* line() const { return m_edit->findChild<QLineEdit*>(); }

    void send(const QKeyEvent& key) {
        QKeyEvent copy(QEvent::KeyPress, key.key(), key.modifiers(), key.text());
        m_inside = true;
        QCoreApplication::sendEvent(m_edit, &copy);
        m_inside = false;
    }

    // The control takes a digit only where its section has room; where it has none, the digit starts the
    // section anew.
    void typeDigit(const QKeyEvent& key) {
        const QString before = line()->text();
        send(key);
        if (line()->text() != before)
            return;
        m_edit->setSelectedSection(m_edit->currentSection());
        send(key);
    }

    // Whether the text is a date the control can take; if not, the operator is told and sees the date in force.
    bool taken() {
        const QString text = line()->text();
        if (QDate::fromString(text, m_edit->displayFormat()).isValid())
            return true;
        QString field = m_label ? m_label->text() : m_edit->objectName();
        field.remove(u':');
        field = field.trimmed();
        m_edit->setDate(m_edit->date());
        m_prompts.error(QStringLiteral("%1: „%2“ není platné datum, platí dál %3.")
                            .arg(field, text, m_edit->date().toString(m_edit->displayFormat())));
        return false;
    }

    QDateEdit* m_edit;
    const QLabel* m_label;
    Prompts& m_prompts;
    bool m_inside = false;
};

} // namespace

void setupDateField(QDateEdit* edit, const QLabel* label, Prompts& prompts) {
    edit->installEventFilter(new DateFieldFilter(edit, label, prompts));
}

} // namespace trv::periodsui
