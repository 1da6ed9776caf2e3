#pragma once

#include "exports/ExportContext.h"
#include "exports/SmSums.h"

#include <QDate>
#include <QString>

#include <filesystem>

namespace trv {

// What the period export button reads of the period window.
struct PeriodExportRequest {
    SmSumsRequest period;
    QDate dtDek; // the hand-over date: the name of the merged statement file
    // The accounting batch: the CD number, the operator's note, the batch counters and the batch file name
    // built from them (lblExpFile).
    QString txtCD;
    QString txtPoznOper;
    QString txtPoradiDavky;
    QString txtMesic;
    QString txtRok;
    QString lblExpFile;
};

// The period window's export button (cmdExportDel): by the customer switch at FirmaID position 23 the accounting
// batch ("1"), the TESCO file ("2"), the counts and sums per SM ("3"), else the merged statement file. Every
// export reads the period's files into a collection of its own: the window's computed period stays as it was.
// Every message and error is shown to the operator here; the result is for the caller's records.
Status cmdExportDel(ExportContext& ctx, const PeriodExportRequest& request);

// The single exports, each reporting its own messages and returning its errors unreported.
// TESCO: "<today YYYYMMDD>strav.txt" in the data folder, the value per SM and a total.
Status exportTesco(ExportContext& ctx, const SmSumsRequest& request);
// Counts and sums per SM: "<today YYYYMMDD>.exp" in the export folder.
Status exportPocetSM(ExportContext& ctx, const SmSumsRequest& request);
// The statement files of the period joined into "<dtDek YYMMDD>.vyc" in the data folder ([Data] Dir).
Status exportSlouceneVycetky(ExportContext& ctx, const SmSumsRequest& request, const QDate& dtDek);

} // namespace trv
