#pragma once

#include <QString>

namespace trv {

class CColStrav;

// The check digits the issuers put into their codes. Both return true when the code passes or the check
// does not apply to it; neither shows anything.

// The mod-10 check digit (weights 3 and 1) at the position the code's voucher type gives for its length.
// True for the NOREAD text, a code no type recognises, a type without a check-digit position and a check
// digit 0 (never verified). A code with a non-digit where digits are summed fails.
bool OverInterleave(const CColStrav& types, const QString& kod);

// The check numbers of the 24- and 26-character cheque codes: two mod-97 remainders, or in the product
// layout a mod-997 remainder of a product of digits. True for the NOREAD text and other lengths. A code
// with a non-digit at a position the check reads fails.
bool OverCRC(const QString& kod, bool gFEuro, const QString& gNoRead);

} // namespace trv
