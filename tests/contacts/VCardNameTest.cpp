// The name reader over the shapes real address books write. Cards are our own, written by hand.

#include "contacts/VCardCards.h"
#include "contacts/VCardName.h"

#include <gtest/gtest.h>

namespace {

std::string card(const std::string& lines, const std::string& eol = "\r\n") {
    return "BEGIN:VCARD" + eol + lines + "END:VCARD" + eol;
}

}  // namespace

TEST(VCardName, ReadsTheNameAsAddressBooksWriteIt) {
    struct Row {
        const char* why;
        std::string vcard;
        std::u16string name;
    };
    const Row rows[] = {
        {"plain 3.0", card("VERSION:3.0\r\nFN:Jane Doe\r\n"), u"Jane Doe"},
        {"UTF-8 without a charset", card("VERSION:4.0\r\nFN:J\xC3\xBCrgen M\xC3\xBCller\r\n"),
         u"J\u00fcrgen M\u00fcller"},
        {"Windows-1252 bytes are not UTF-8", card("FN:J\xFCrgen M\xFCller\r\n"), u"J\u00fcrgen M\u00fcller"},
        {"a UTF-8 byte order mark is skipped", "\xEF\xBB\xBF" + card("FN:\xC5\x81ukasz\r\n"), u"\u0141ukasz"},
        {"2.1 quoted-printable UTF-8",
         card("VERSION:2.1\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Ren=C3=A9e Dubois\r\n"), u"Ren\u00e9e Dubois"},
        {"bare 2.1 QUOTED-PRINTABLE parameter, lower-case hex",
         card("FN;QUOTED-PRINTABLE;CHARSET=ISO-8859-1:Ana=e9s\r\n"), u"Ana\u00e9s"},
        {"soft line breaks join the value", card("FN;ENCODING=QUOTED-PRINTABLE:Maximilian=\r\n von=20=\r\nBerg\r\n"),
         u"Maximilian von Berg"},
        {"a fold inside a quoted-printable value still unfolds",
         card("FN;ENCODING=QUOTED-PRINTABLE:Ann=20\r\n Lee\r\n"), u"Ann Lee"},
        {"a soft break is not taken for a property line",
         card("NOTE;ENCODING=QUOTED-PRINTABLE:x=\r\nFN:Fake\r\nFN:Real\r\n"), u"Real"},
        {"lower-case fn of older mail clients", "begin:vcard\nfn:Old Client\nend:vcard\n", u"Old Client"},
        {"bare LF line ends", card("FN:Bare Lf\n", "\n"), u"Bare Lf"},
        {"a folded name keeps the blank after the first", card("FN:Maximilian Alexander\r\n  von Berg\r\n"),
         u"Maximilian Alexander von Berg"},
        {"a fold with a tab removes only the tab", card("FN:Ann\r\n\te Lee\r\n"), u"Anne Lee"},
        {"escaped comma and semicolon", card("FN:Smith\\, Jr.\\; Robert \\\\ Co\r\n"), u"Smith, Jr.; Robert \\ Co"},
        {"\\n and \\N are spaces, other escapes stay", card("FN:Ann\\nLee\\NBo\\x\r\n"), u"Ann Lee Bo\\x"},
        {"a group prefix", card("item1.FN:Grouped Name\r\n"), u"Grouped Name"},
        {"a quoted parameter may hold : and ;", card("FN;X-NOTE=\"a:b;c\":Quoted Param\r\n"), u"Quoted Param"},
        {"CHARSET=Windows-1252 is obeyed even for UTF-8-looking bytes", card("FN;CHARSET=windows-1252:Zo\xC3\xAB\r\n"),
         u"Zo\u00c3\u00ab"},
        {"an unknown charset falls back to the bytes", card("FN;CHARSET=KOI8-R:Zo\xC3\xAB\r\n"), u"Zo\u00eb"},
        {"US-ASCII cannot hold a high byte", card("FN;CHARSET=US-ASCII:Zo\xEB\r\n"), u"Zo\ufffd"},
        {"control characters and blanks",
         card("FN: \tTab\x01"
              "Ann  \r\n"),
         u"Tab Ann"},
        {"no FN: N, prefix first", card("N:Okafor;Chinedu;Emeka;Dr.;PhD\r\n"), u"Dr. Chinedu Emeka Okafor PhD"},
        {"an empty FN falls back to N, empty parts skipped", card("FN:  \r\nN:Doe;Jane;;;\r\n"), u"Jane Doe"},
        {"N with escaped comma and a list", card("N:O\\,Neil;Ann,Marie;;;\r\n"), u"Ann Marie O,Neil"},
        {"no FN, empty N: ORG's first component", card("N:;;;;\r\nORG:ABC\\, Inc.;Sales\r\n"), u"ABC, Inc."},
        {"nothing to name it by", card("EMAIL:x@example.com\r\n"), u""},
        {"the first non-empty FN counts", card("FN:\r\nFN:Second\r\nFN:Third\r\n"), u"Second"},
        {"a nested card's FN is not the outer one's",
         card("N:Outer;Ann;;;\r\nAGENT:\r\nBEGIN:VCARD\r\nFN:Agent\r\nEND:VCARD\r\nNOTE:x\r\n"), u"Ann Outer"},
        {"an inline AGENT card's FN is not the outer one's",
         card("AGENT:BEGIN:VCARD\r\nFN:Agent\r\nEND:VCARD\r\nN:Outer;;;;\r\n"), u"Outer"},
        {"only the first card counts", card("N:One;;;;\r\n") + card("FN:Two\r\n"), u"One"},
        {"a BEGIN that cuts the first card ends it", "BEGIN:VCARD\r\nN:Cut;;;;\r\n" + card("FN:Next\r\n"), u"Cut"},
        {"nothing before BEGIN counts", "FN:Before\r\n" + card("N:Inside;;;;\r\n"), u"Inside"},
        {"no card, no name: an error text", "Error:404", u""},
        {"no card, no name: a stray FN", "FN:Jane\r\n", u""},
        {"a card that never ends still has its name", "BEGIN:VCARD\r\nFN:Cut Off", u"Cut Off"},
        {"brackets are the display line's business", card("FN:Jane [Work]\r\n"), u"Jane [Work]"},
        {"a CR alone is a control character", card("FN:A\rB\r\n"), u"A B"},
        {"an unclosed quote falls back to the first colon", card("FN;X=\"a:Unclosed\r\n"), u"Unclosed"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(vcardName(row.vcard), row.name);
    }
}

TEST(VCardName, ReadsAServersAnswerByItsOriginalBytes) {
    // The answer text holds each byte as its Windows-1252 character: C3 BC arrive as U+00C3 U+00BC.
    EXPECT_EQ(vcardName(std::u16string(u"BEGIN:VCARD\r\nFN:J\u00c3\u00bcrgen\r\nEND:VCARD\r\n")), u"J\u00fcrgen");
    // The euro sign is byte 0x80, no UTF-8: the whole value reads as Windows-1252.
    EXPECT_EQ(vcardName(std::u16string(u"BEGIN:VCARD\r\nFN:J\u00c3\u00bcrgen\u20ac\r\nEND:VCARD\r\n")),
              u"J\u00c3\u00bcrgen\u20ac");
    EXPECT_EQ(vcardName(std::u16string(u"Error:500")), u"");
}

TEST(VCardName, ReadsPastABigPhotoToANameAfterIt) {
    std::string big = "BEGIN:VCARD\r\nPHOTO;ENCODING=b;TYPE=JPEG:";
    for (int i = 0; i < 100000; ++i) {
        big += "\r\n QUJDQUJDQUJDQUJDQUJDQUJDQUJDQUJDQUJDQUJDQUJDQUJDQUJDQUJDQUJDQUJDQUJD";
    }
    big += "\r\nN:After;Photo;;;\r\nEND:VCARD\r\n";
    EXPECT_EQ(vcardName(big), u"Photo After");
}

// The name reader and the drop split find a card's ends by one rule: a row's card is found by
// both or by neither.
TEST(CardBoundaries, TheNameReaderAndTheDropSplitAgree) {
    struct Row {
        const char* why;
        std::string bytes;
        bool isCard;
    };
    const Row rows[] = {
        {"markers in any case, blanks after them", "begin:vcard \r\nFN:A\r\nEnd:VCard\t\r\n", true},
        {"bare LF line ends", "BEGIN:VCARD\nFN:A\nEND:VCARD\n", true},
        {"CR CR LF line ends (CR LF written again in text mode)", "BEGIN:VCARD\r\r\nFN:A\r\r\nEND:VCARD\r\r\n", true},
        {"a group in front is no marker", "item1.BEGIN:VCARD\r\nFN:A\r\nitem1.END:VCARD\r\n", false},
        {"a parameter is no marker", "BEGIN;X=1:VCARD\r\nFN:A\r\nEND;X=1:VCARD\r\n", false},
        {"a marker folded over two lines is read unfolded", "BEGIN:VC\r\n ARD\r\nFN:A\r\nEND:VCARD\r\n", true},
        {"a marker continued by a folded line is no marker", "BEGIN:VCARD\r\n X\r\nFN:A\r\nEND:VCARD\r\n", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(vcardName(std::string_view(row.bytes)) == u"A", row.isCard);
        const std::vector<CardSpan> cards = vcardCards(row.bytes);
        EXPECT_EQ(cards.size() == 1 && !cards[0].cut, row.isCard);
    }
}

TEST(CardBoundaries, ASoftLineBreakCarriesTheNextLineIntoTheValue) {
    // The END line after a quoted-printable "=" is part of the value, for both readers alike.
    const std::string bytes =
        "BEGIN:VCARD\r\nFN:A\r\nNOTE;ENCODING=QUOTED-PRINTABLE:x=\r\nEND:VCARD\r\nN:Later;;;;\r\nEND:VCARD\r\n";
    const std::vector<CardSpan> cards = vcardCards(bytes);
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].bytes, bytes) << "the card ends at the second END";
    EXPECT_EQ(vcardName(std::string_view(bytes)), u"A");
}
