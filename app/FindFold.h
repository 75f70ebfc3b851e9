#pragma once
// Text as the find compares it: letter case and accents do not count, so "muller", "MULLER" and
// "Müller" are the same. Each UTF-16 unit folds on its own through one table, built once: the
// find folds every line on each keystroke, and 100,000 lines must take a few milliseconds.
//
// A unit folds to the first letter of its decomposition (canonical or compatibility: "é" to "e",
// "ﬁ" to "f"), case-folded ("É" to "e"); a combining mark folds to nothing, so "e" and a
// combining acute make "e" too. Letters that carry their mark inside (ø, ł, đ, ħ, ı) fold to
// their base letter. Surrogates and everything else stay as they are. Never fails.

#include <QString>
#include <QStringView>

// Replaces out with text folded (out's buffer is reused, so a loop over lines allocates once).
void foldForFind(QStringView text, QString& out);

QString foldedForFind(QStringView text);
