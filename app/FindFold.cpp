#include "app/FindFold.h"

#include <array>
#include <memory>

namespace {

using FoldTable = std::array<char16_t, 0x10000>;

// Folds to nothing: the unit is dropped.
constexpr char16_t kDropped = 0;

// Letters whose mark is part of the letter: Unicode gives them no decomposition.
char16_t strokeBase(char16_t unit) {
    switch (unit) {
        case u'\u00D8':
        case u'\u00F8': return u'o';
        case u'\u0110':
        case u'\u0111': return u'd';
        case u'\u0126':
        case u'\u0127': return u'h';
        case u'\u0131': return u'i';
        case u'\u0141':
        case u'\u0142': return u'l';
        default: return unit;
    }
}

char16_t foldUnit(char16_t unit) {
    if (QChar::isSurrogate(unit)) {
        return unit;
    }
    QChar c(unit);
    if (c.isMark()) {
        return kDropped;
    }
    // A decomposition may start with a letter that decomposes again ("ǖ" to "ü" to "u").
    for (QString decomposed = c.decomposition(); !decomposed.isEmpty(); decomposed = c.decomposition()) {
        c = decomposed.front();
    }
    return strokeBase(QChar(c.toCaseFolded()).unicode());
}

std::unique_ptr<FoldTable> makeTable() {
    auto table = std::make_unique<FoldTable>();
    for (std::size_t unit = 0; unit < table->size(); ++unit) {
        (*table)[unit] = foldUnit(static_cast<char16_t>(unit));
    }
    // NUL is text like any other unit, not the "dropped" mark.
    (*table)[0] = u'\0';
    return table;
}

const FoldTable& foldTable() {
    static const std::unique_ptr<FoldTable> table = makeTable();
    return *table;
}

}  // namespace

void foldForFind(QStringView text, QString& out) {
    const FoldTable& table = foldTable();
    out.resize(text.size());
    QChar* write = out.data();
    qsizetype length = 0;
    for (const QChar c : text) {
        const char16_t folded = table[c.unicode()];
        if (folded != kDropped || c.unicode() == 0) {
            write[length++] = QChar(folded);
        }
    }
    out.truncate(length);
}

QString foldedForFind(QStringView text) {
    QString out;
    foldForFind(text, out);
    return out;
}
