#pragma once

#include <QString>

namespace trv {

struct AppState;
class Prompts;
class ReceiptHost;

// Cheque entry by hand: a 22-digit cheque code read whole with a hand scanner, or composed from its printed
// fields typed on the keyboard with its two check keys worked out. An accepted code is booked into the receipt
// (read kind 2) and added to the main window's receipt box, as a code from the reader is.
//
// Cheque code: "0", number (9 digits), key 1 (2), value (5), maker (1), year (1), key 2 (2), cheque type (1).
class ChequeEntry {
public:
    ChequeEntry(AppState& state, Prompts& prompts, ReceiptHost& host);

    // The two digits of a check key: the number modulo 97, with a leading zero.
    static QString klic(qint64 number);
    // Key 1: the number modulo 97.
    static QString klic1(const QString& cislo);
    // Key 2: ((year + maker + type) × 100 + value) modulo 97.
    static QString klic2(const QString& hodnota, const QString& vyrobce, const QString& rok, const QString& typ);
    // The value field left-padded with zeros to 5 digits ("" gives "00000").
    static QString doplnHodnotu(const QString& hodnota);

    struct Fields {
        QString cislo;
        QString hodnota;
        QString vyrobce;
        QString rok;
        QString typ;
        QString kontr; // key 1 as typed; empty: worked out
    };
    // The code composed from the fields as they stand; a key 1 typed is used unchanged.
    static QString slozKod(const Fields& fields);

    struct Outcome {
        enum class Kind {
            Booked,  // the code went to the receipt and its box
            Refused, // `message` with `title` is to be shown; the operator types again
        };
        Kind kind = Kind::Booked;
        QString message;
        QString title;
        bool vymazat = false; // the code box is emptied (a wrong check digit), not selected for typing over
    };
    // A code read with the hand scanner: its length and its interleave check digit are checked.
    Outcome zadejNacteny(const QString& kod);
    // A code composed from the keyboard fields: only its length is checked.
    Outcome zadejSlozeny(const QString& kod);

    // The message for a number that is not 9 digits long, and its title.
    QString cisloMusiMit9Cislic() const;
    QString titulek() const;

private:
    Outcome refuse(const char* key, const QString& titleSection) const;
    Outcome book(const QString& kod);
    // The one place a typed cheque joins the receipt: its box, from which the receipt's file is written.
    void zapisDoPrijmu(const QString& kod);

    AppState& m_state;
    Prompts& m_prompts;
    ReceiptHost& m_host;
};

} // namespace trv
