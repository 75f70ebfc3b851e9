#include "app/FindFold.h"

#include <gtest/gtest.h>

TEST(FindFold, CaseAndAccentsDoNotCountAndEveryPartOfTheLineIsText) {
    struct Row {
        const char* why;
        QString line;
        QString typed;
        bool found;
    };
    const Row rows[] = {
        {"plain letters", "René Müller [r.vcf]", "muller", true},
        {"capitals typed", "René Müller [r.vcf]", "MULLER", true},
        {"the accent typed, in capitals", "René Müller [r.vcf]", "MÜLLER", true},
        {"the accent in the line, none typed", "Chloë Dupré [c.vcf]", "dupre", true},
        {"decomposed in the line: e and a combining acute", "Rene\u0301 [r.vcf]", "rené", true},
        {"a letter decomposing twice", "\u01D6mit [u.vcf]", "umit", true},
        {"a stroke is part of its letter", "Łukasz Søndergaard [l.vcf]", "lukasz sondergaard", true},
        {"dotless i", "Iğdır Kılıç [k.vcf]", "kilic", true},
        {"a ligature", "\uFB01nn [f.vcf]", "fnn", true},
        {"the middle of a word", "Anne-Marie Zimmermann [z.vcf]", "mmerm", true},
        {"the file name part of the line", "Jane Doe [A12-work.vcf]", "a12-WORK", true},
        {"the brackets are text too", "Jane Doe [A12.vcf]", "[a12", true},
        {"another letter is not found", "René Müller [r.vcf]", "miller", false},
        {"an accent is no letter of its own", "Rene [r.vcf]", "renee", false},
        {"a letter outside the plane stays itself", "\U0001D400bc [m.vcf]", "\U0001D400B", true},
        {"nothing typed finds every line", "Anyone [a.vcf]", "", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(foldedForFind(row.line).contains(foldedForFind(row.typed)), row.found)
            << foldedForFind(row.line).toStdString() << " / " << foldedForFind(row.typed).toStdString();
    }
}
