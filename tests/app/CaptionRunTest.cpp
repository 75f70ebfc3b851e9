#include "app/CaptionRun.h"

#include <gtest/gtest.h>

TEST(SameCaptionRun, OnlyNumbersMayDiffer) {
    struct Row {
        const char* why;
        const char* a;
        const char* b;
        bool same;
    };
    const Row rows[] = {
        {"the next contact", "Retreiving Contact from Server 2 of 7", "Retreiving Contact from Server 3 of 7", true},
        {"a number grows a digit", "Retreiving Contact from Server 9 of 10", "Retreiving Contact from Server 10 of 10",
         true},
        {"the end of a listing is a new run", "Retreiving Contact from Server 7 of 7",
         "Velqor Personal Contacts Manager", false},
        {"the start of a listing is a new run", "Velqor Personal Contacts Manager",
         "Retreiving Contact from Server 1 of 7", false},
        {"captions without numbers are never one run", "Velqor Personal Contacts Manager",
         "Velqor Personal Contacts Manager", false},
        {"a number cannot stand for text", "Retreiving Contact from Server 1 of 7",
         "Retreiving Contact from Server 1 of x", false},
        {"two numbers are not one", "Server 12 of 7", "Server 1 2 of 7", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(sameCaptionRun(QString::fromUtf8(row.a), QString::fromUtf8(row.b)), row.same);
    }
}
