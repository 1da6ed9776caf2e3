#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace trv {

struct AppState;
class Prompts;
class ReceiptHost;

// Manual entry of a voucher code the reader could not read: the chosen voucher type and its code lengths, when
// a typed code is submitted, and the checks and the booking of a submitted code, in the order the reader's
// codes are checked. A booked code joins the receipt in memory and the main window's receipt box, as a read
// one does; it is marked as typed (read kind 2).
class ManualEntry {
public:
    ManualEntry(AppState& state, Prompts& prompts, ReceiptHost& host);

    // One entry per voucher type of the receipt's collection, in collection order: the name and the first code
    // length.
    struct TypeEntry {
        QString nazev;
        qint32 delka = 0;
    };
    QList<TypeEntry> typeEntries() const;

    // The type of list entry `index` (0 for the first) is chosen: its first code length is `firstLength` (the
    // entry's data) and its second length that of the type at that position (0: the type has one length).
    void chooseType(int index, qint32 firstLength);

    // Enter in the code box never submits. A code of another length than the first is refused with the reader's
    // wrong-length text, so the operator sees why and can mend the code typed; an empty box or a code of the
    // first length (waiting for the button or for more digits) gives nothing.
    std::optional<QString> enterRefusal(const QString& text) const;
    // Whether the text, just changed, is submitted as it stands: at the second code length when the type has
    // one, else at the first. A type with two different lengths is submitted automatically only at its second;
    // a code of its first length is submitted with the button.
    bool submitsAutomatically(const QString& text) const;

    struct Outcome {
        enum class Kind {
            Nothing, // empty text
            Booked,  // booked and added to the receipt box
            Refused, // not booked; `message` (when not empty) is to be shown, the code is to be typed again
            Silent,  // a blocked gift voucher the check has just reported itself: not booked, no second message
        };
        Kind kind = Kind::Nothing;
        QString message;
    };
    // Checks the code (type, length, characters, check digit, validity, number range, gift voucher) and books
    // it when it passes all.
    Outcome submit(const QString& kod);

    // The title of the failure messages.
    QString messageTitle() const;

private:
    Outcome refuse(const char* key) const;

    AppState& m_state;
    Prompts& m_prompts;
    ReceiptHost& m_host;
    qint32 m_firstLength = 0;
    qint32 m_secondLength = 0;
    int m_typeIndex = 0;
};

} // namespace trv
