#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

namespace trv {

struct AppState;

// What the display-box line repair needs to know of the voucher types: their code lengths and the type
// recognition that booking uses, so that a line is only cut where every piece is a code booking accepts.
struct CodeShapes {
    QString noRead;
    QList<qsizetype> lengths;                       // every Delka and Delka2 above 0
    std::function<bool(const QString&)> recognises; // some voucher type takes this code
};

// True when the line is one code of some voucher type (digits only, recognised).
bool isSingleCode(QStringView line, const CodeShapes& shapes);

// The codes of a line that holds several codes written together because line ends were lost, with NOREAD
// texts among them taken out. nullopt when the line is a single code, is not wholly made of recognised codes
// and NOREAD texts, or can be cut into them in more than one way (nothing is guessed).
std::optional<QStringList> splitJoinedCodes(QStringView line, const CodeShapes& shapes);

// The shapes of the voucher types of the current receipt (AppState::gColStrav), recognised as booking does.
CodeShapes codeShapes(const AppState& state);

} // namespace trv
