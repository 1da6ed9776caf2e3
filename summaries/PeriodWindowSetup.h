#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <map>

namespace trv {

struct AppState;

// What the period window's load makes of its controls under the customer switches and the working mode: which
// are shown and which enabled (controls not named keep their design state), the dates and the texts it puts in.
struct PeriodWindowSetup {
    struct Control {
        bool visible = true;
        bool enabled = true;
    };
    std::map<QString, Control> controls; // by object name: every control the load touches
    QDate dt1;
    QDate dt2;
    QDate dtDek;
    QString tiskTypOd;
    QString tiskTypDo;
    QString txtPoradiDavky;
    QString txtMesic;
    QString txtRok;
    QString lblExpFile;

    bool visible(const QString& name) const;
    bool enabled(const QString& name) const;
};

// Form_Load of frmSoucVycObd (its steps but the captions): `today` from the clock; the batch values of the CBA
// export from [CBA_EXPORT_VEREX].
PeriodWindowSetup nastaveniObdobi(const AppState& state, const QDate& today);

// lblExpFile: "ZLO27D", the batch order in two digits, ".", the year digit, the month in two digits.
QString nazevExportuCba(const QString& poradi, const QString& rok, const QString& mesic);

// The controls the window's load gives captions from the language file, in order (section frmSoucVycObd).
QStringList popiskyObdobi();

} // namespace trv
