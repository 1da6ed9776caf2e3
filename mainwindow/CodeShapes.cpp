#include "mainwindow/CodeShapes.h"

#include "core/AppState.h"
#include "core/CColStrav.h"

#include <algorithm>
#include <vector>

namespace trv {

namespace {

bool allDigits(QStringView s) {
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool isCodePiece(QStringView piece, const CodeShapes& shapes) {
    return allDigits(piece) && shapes.recognises && shapes.recognises(piece.toString());
}

} // namespace

bool isSingleCode(QStringView line, const CodeShapes& shapes) {
    return isCodePiece(line, shapes);
}

std::optional<QStringList> splitJoinedCodes(QStringView line, const CodeShapes& shapes) {
    const qsizetype n = line.size();
    if (n == 0 || isSingleCode(line, shapes))
        return std::nullopt;

    QList<qsizetype> lengths;
    for (qsizetype l : shapes.lengths)
        if (l > 0 && !lengths.contains(l))
            lengths.append(l);
    std::sort(lengths.begin(), lengths.end(), std::greater<>());
    const qsizetype noReadLength = shapes.noRead.size();

    // next[i]: the length of the piece to take at i so that the rest from i on cuts cleanly; 0 when none.
    // Filled from the end, so each position is looked at once per length.
    std::vector<qsizetype> next(static_cast<size_t>(n) + 1, 0);
    std::vector<bool> ends(static_cast<size_t>(n) + 1, false);
    ends[static_cast<size_t>(n)] = true;
    for (qsizetype i = n - 1; i >= 0; --i) {
        const QStringView rest = line.mid(i);
        if (noReadLength > 0 && rest.startsWith(shapes.noRead) && ends[static_cast<size_t>(i + noReadLength)]) {
            next[static_cast<size_t>(i)] = noReadLength;
            ends[static_cast<size_t>(i)] = true;
            continue;
        }
        for (qsizetype l : lengths) {
            if (l > rest.size() || !ends[static_cast<size_t>(i + l)])
                continue;
            if (isCodePiece(rest.first(l), shapes)) {
                next[static_cast<size_t>(i)] = l;
                ends[static_cast<size_t>(i)] = true;
                break;
            }
        }
    }
    if (!ends[0])
        return std::nullopt;

    QStringList codes;
    for (qsizetype i = 0; i < n; i += next[static_cast<size_t>(i)]) {
        const QStringView piece = line.mid(i, next[static_cast<size_t>(i)]);
        if (piece != shapes.noRead)
            codes.append(piece.toString());
    }
    return codes;
}

CodeShapes codeShapes(const AppState& state) {
    CodeShapes shapes;
    shapes.noRead = state.gNoRead;
    const std::shared_ptr<CColStrav> types = state.gColStrav;
    if (!types)
        return shapes;
    for (const auto& type : *types) {
        if (!type)
            continue;
        for (const qint32 length : {type->Delka, type->Delka2})
            if (length > 0 && !shapes.lengths.contains(length))
                shapes.lengths.append(length);
    }
    shapes.recognises = [types](const QString& code) {
        const auto found = types->NajdiTypKodu(code);
        return found.ok() && found.value() != nullptr;
    };
    return shapes;
}

} // namespace trv
