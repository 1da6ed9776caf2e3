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

    // ways[i]: in how many ways the rest from position i cuts cleanly (0, 1, or 2 for "more than one");
    // next[i]: the piece to take at i when there is exactly one way. Filled from the end.
    std::vector<int> ways(static_cast<size_t>(n) + 1, 0);
    std::vector<qsizetype> next(static_cast<size_t>(n) + 1, 0);
    ways[static_cast<size_t>(n)] = 1;
    for (qsizetype i = n - 1; i >= 0; --i) {
        const QStringView rest = line.mid(i);
        int count = 0;
        auto take = [&](qsizetype length) {
            const int after = ways[static_cast<size_t>(i + length)];
            if (after == 0)
                return;
            count = std::min(2, count + after);
            next[static_cast<size_t>(i)] = length;
        };
        if (noReadLength > 0 && rest.startsWith(shapes.noRead))
            take(noReadLength);
        for (qsizetype l : lengths) {
            if (count >= 2)
                break;
            if (l <= rest.size() && ways[static_cast<size_t>(i + l)] > 0 && isCodePiece(rest.first(l), shapes))
                take(l);
        }
        ways[static_cast<size_t>(i)] = count;
    }
    // A line that cuts in more than one way is not guessed at.
    if (ways[0] != 1)
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
