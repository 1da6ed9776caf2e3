#pragma once

namespace trv {

// The customer switches read from [Firma] FirmaID, one per character position ("1" on).
// Positions 1 to 6, 8, 9, 22 and 41 select nothing.
struct CustomerSwitches {
    bool gFDarkove = false;              // 7: gift-voucher check
    bool gFVycetky = false;              // 10: statement mode
    bool gFVycBezData = false;           // 11: statement records without the leading date
    bool gFSeznamSM = false;             // 12: cash desk must be one of [Data] SM
    bool gFTiskSM = false;               // 13: period report per SM variant
    bool gFRozpoznaniKodem = false;      // 14: type recognised from the whole code
    bool gF15 = false;                   // 15: period printout variant
    bool gFEuro = false;                 // 16: EUR mode
    bool gF17 = false;                   // 17: "1" or "2"
    bool gF17b = false;                  // 17: "2"
    bool gF18 = false;                   // 18: period report variant
    bool gFBalikyTyden = false;          // 19: package and week in file names
    bool gFExportSeznamu = false;        // 20: per-issuer list exports
    bool gFCBA = false;                  // 21: cheque-code layouts in recognition
    bool gFExportCBA = false;            // 23: "1"
    bool gFExportTesco = false;          // 23: "2"
    bool gFExportExp = false;            // 23: "3"
    bool gFKontrolaSpolecnosti = false;  // 24: code must belong to the chosen type (cleared by 39)
    bool gFBalicky = false;              // 25: package mode
    bool gFSkenerEpson = false;          // 26: cheque scanner
    bool gFZakaznik = false;             // 27: customer mode
    bool gFDepo = false;                 // 28: depot, envelope and invoice identifiers
    bool gFExpVasa = false;              // 29
    bool gFExpDoxx = false;              // 30
    bool gFExpEdenred = false;           // 31
    bool gFExpSodexo = false;            // 32
    bool gF33 = false;                   // 33: receipt-start dialog variant
    bool gFDatumOdvodu = false;          // 34: hand-over date in file names
    bool gFNoReadDSR = false;            // 35: DSR drop books a NOREAD
    bool gFExportHtml = false;           // 36: list exports as html and ods
    bool gFSkupiny = false;              // 37: voucher-type groups
    bool gFOperator = false;             // 38: operator from [Data] Operator
    bool gF39 = false;                   // 39: type buttons send length limits
    bool gFOdvody = false;               // 40: deductions menu visible
    bool gFExportVycetkyPath = false;    // 42: list exports to [Data] ExportVycetkyPath
    bool gFChybyDoOkna = false;          // 43: rejected codes to the error-log window
    bool gF44 = false;                   // 44: day-summary menu enabled
};

} // namespace trv
