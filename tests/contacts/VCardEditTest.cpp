// The line-preserving card editor: cards before, an edit, cards after, byte for byte.

#include "codec/AsciiText.h"
#include "contacts/VCardEdit.h"
#include "contacts/VCardName.h"
#include "tests/support/Files.h"
#include "tests/support/HttpMailServer.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Edit = std::function<void(ContactFields&)>;

std::string repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

bool isFnLine(const std::string& bytes) {
    const std::string line = bytes.substr(0, bytes.find_first_of("\r\n"));
    const std::optional<ContentLine> parts = parseContentLine(line);
    return parts && ascii::equalsNoCase(parts->name, "FN");
}

// Entries as a reader numbers them: in the card's order.
std::vector<TypedValue> numbered(std::vector<TypedValue> entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].origin = static_cast<int>(i);
    }
    return entries;
}

std::string card(const std::string& lines, const std::string& eol = "\r\n") {
    return "BEGIN:VCARD" + eol + lines + "END:VCARD" + eol;
}

const std::string kPhoto21 =
    "PHOTO;ENCODING=BASE64;TYPE=JPEG:\r\n /9j/4AAQSkZJRgABAQEASABIAAD/2wBDAAMCAgMCAgMDAwMEAwMEBQgFBQQEBQoHBwYI\r\n"
    " DAoMDAsKCwsNDhIQDQ4RDgsLEBYQERMUFRUVDA8XGBYUGBIUFRT/2wBDAQMEBAUEBQkFBQkU\r\n\r\n";
// Shapes real address books write: Outlook's 2.1, Apple's 3.0 groups, a phone's 4.0.
const std::string kOutlook21 = card(
    "VERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Fran=C3=A7ois;Ana=C3=AFs;;;\r\n"
    "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Ana=C3=AFs Fran=C3=A7ois-Du=\r\npont\r\n"
    "TEL;WORK;VOICE:+33 1 55 00 00\r\nX-MS-OL-DEFAULT-POSTAL-ADDRESS:0\r\n" +
    kPhoto21 + "EMAIL;PREF;INTERNET:anais@example.fr\r\n");
const std::string kApple30 = card(
    "VERSION:3.0\r\nPRODID:-//Apple Inc.//iOS 17.0//EN\r\nN:Fa\xC3\x9F"
    "bender;Ren\xC3\xA9"
    "e;;;\r\n"
    "item1.FN:Ren\xC3\xA9"
    "e Fa\xC3\x9F"
    "bender\r\nitem1.X-ABLABEL:B\xC3\xBCro\r\n"
    "item2.EMAIL;type=INTERNET;type=pref:renee@example.de\r\nTEL;TYPE=\"work,voice\":+49 221 555 0140\r\n"
    "TEL;type=CELL:+49 171\r\n 555 0141\r\nTEL;TYPE=home:+49 221 555 0142\r\n");
const std::string kPhone40 = card(
    "VERSION:4.0\r\nFN:\xC5\x81ukasz "
    "\xC5\xBB\xC3\xB3\xC5\x82kiewski\r\nN:\xC5\xBB\xC3\xB3\xC5\x82kiewski;\xC5\x81ukasz;;;\r\n"
    "EMAIL;TYPE=work;PREF=1:lukasz@example.pl\r\nUID:urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1\r\n");

}  // namespace

TEST(VCardEdit, ChangesOnlyTheLinesOfWhatChanged) {
    struct Row {
        const char* why;
        std::string before;
        Edit edit;
        std::string after;
    };
    const Row rows[] = {
        {"a 2.1 quoted-printable name stays quoted-printable UTF-8, the photo untouched", kOutlook21,
         [](ContactFields& f) { f.name = u"Ana\u00efs Dupont"; },
         card("VERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Fran=C3=A7ois;Ana=C3=AFs;;;\r\n"
              "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Ana=C3=AFs Dupont\r\n"
              "TEL;WORK;VOICE:+33 1 55 00 00\r\nX-MS-OL-DEFAULT-POSTAL-ADDRESS:0\r\n" +
              kPhoto21 + "EMAIL;PREF;INTERNET:anais@example.fr\r\n")},
        {"a group stays on its rewritten line", kApple30, [](ContactFields& f) { f.name = u"Ren\u00e9e Berg"; },
         [] {
             std::string s = kApple30;
             s.replace(s.find("item1.FN:"), 26,
                       "item1.FN:Ren\xC3\xA9"
                       "e Berg");
             return s;
         }()},
        {"a folded phone goes with all its lines; the others stay", kApple30,
         [](ContactFields& f) { f.phones.erase(f.phones.begin() + 1); },
         [] {
             std::string s = kApple30;
             s.erase(s.find("TEL;type=CELL"), 34);
             return s;
         }()},
        {"a new email goes after the last email", kPhone40,
         [](ContactFields& f) {
             f.emails.push_back({u"home", u"l@example.com", -1});
         },
         [] {
             std::string s = kPhone40;
             s.insert(s.find("UID:"), "EMAIL;TYPE=home:l@example.com\r\n");
             return s;
         }()},
        {"a new title goes before END", kPhone40, [](ContactFields& f) { f.title = u"CTO, Founder"; },
         [] {
             std::string s = kPhone40;
             s.insert(s.find("END:"), "TITLE:CTO\\, Founder\r\n");
             return s;
         }()},
        {"a new type replaces 2.1's bare words, other parameters stay", kOutlook21,
         [](ContactFields& f) { f.phones[0].type = u"cell"; },
         [] {
             std::string s = kOutlook21;
             s.replace(s.find("TEL;WORK;VOICE"), 14, "TEL;CELL");
             return s;
         }()},
        {"a 3.0 type change keeps the group and the other parameters",
         card("VERSION:3.0\r\nitem2.EMAIL;X-A=1;type=INTERNET:a@b.c\r\n"),
         [](ContactFields& f) { f.emails[0].type = u"work"; },
         card("VERSION:3.0\r\nitem2.EMAIL;X-A=1;TYPE=work:a@b.c\r\n")},
        {"2.1 ISO-8859-1 edited to non-ASCII says UTF-8, keeps quoted-printable",
         card("VERSION:2.1\r\nFN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:Ana=EFs\r\nNOTE;CHARSET=ISO-8859-1:"
              "caf\xE9\r\n"),
         [](ContactFields& f) { f.name = u"Zo\u00eb \u0141"; },
         card("VERSION:2.1\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Zo=C3=AB "
              "=C5=81\r\nNOTE;CHARSET=ISO-8859-1:caf\xE9\r\n")},
        {"2.1 non-ASCII without a charset gets one", card("VERSION:2.1\r\nTITLE:Boss\r\n"),
         [](ContactFields& f) { f.title = u"Chef d'\u00e9quipe; Paris, FR"; },
         card("VERSION:2.1\r\nTITLE;CHARSET=UTF-8:Chef d'\xC3\xA9quipe\\; Paris, FR\r\n")},
        {"a 2.1 note with a line break turns quoted-printable", card("VERSION:2.1\r\nNOTE:x\r\n"),
         [](ContactFields& f) { f.note = u"one\ntwo="; },
         card("VERSION:2.1\r\nNOTE;ENCODING=QUOTED-PRINTABLE:one=0D=0Atwo=3D\r\n")},
        {"a 3.0 note escapes its line break", card("VERSION:3.0\r\nNOTE:x\r\n"),
         [](ContactFields& f) { f.note = u"a\\b\nc"; }, card("VERSION:3.0\r\nNOTE:a\\\\b\\nc\r\n")},
        {"N keeps the components the editor does not show",
         card("VERSION:3.0\r\nN:Okafor;Chinedu;Emeka;Dr.;PhD\r\nFN:C\r\n"),
         [](ContactFields& f) { f.given = u"Chidi"; }, card("VERSION:3.0\r\nN:Okafor;Chidi;Emeka;Dr.;PhD\r\nFN:C\r\n")},
        {"a removed organisation removes its line", card("VERSION:3.0\r\nORG:ABC;Sales\r\nFN:C\r\n"),
         [](ContactFields& f) { f.organisation.clear(); }, card("VERSION:3.0\r\nFN:C\r\n")},
        {"no FN: the name goes before END", card("VERSION:2.1\r\nN:Okafor;Chinedu;;;\r\n"),
         [](ContactFields& f) { f.name = u"Chinedu Okafor"; },
         card("VERSION:2.1\r\nN:Okafor;Chinedu;;;\r\nFN:Chinedu Okafor\r\n")},
        {"CR CR LF line ends: the rewritten line ends as the card's do",
         card("VERSION:3.0\r\r\nFN:Old\r\r\nTEL:1\r\r\n", "\r\r\n"), [](ContactFields& f) { f.name = u"New"; },
         card("VERSION:3.0\r\r\nFN:New\r\r\nTEL:1\r\r\n", "\r\r\n")},
        {"bare LF cards get LF", card("VERSION:3.0\nFN:Old\n", "\n"), [](ContactFields& f) { f.title = u"T"; },
         card("VERSION:3.0\nFN:Old\nTITLE:T\n", "\n")},
        {"a long value folds at 75 octets, never inside a UTF-8 sequence", card("FN:x\r\n"),
         [](ContactFields& f) { f.name = std::u16string(35, u'a').append(40, u'\u00e9'); },
         card("FN:" + std::string(35, 'a') + repeated("\xC3\xA9", 18) + "\r\n " + repeated("\xC3\xA9", 22) + "\r\n")},
        {"a name folded inside a UTF-8 sequence stays as it came when the phone changes",
         card("VERSION:3.0\r\nFN:J\xC3\r\n \xBCrgen\r\nTEL:1\r\n"), [](ContactFields& f) { f.phones[0].value = u"2"; },
         card("VERSION:3.0\r\nFN:J\xC3\r\n \xBCrgen\r\nTEL:2\r\n")},
        {"a nested card is not the outer one's",
         card("N:Outer;;;;\r\nAGENT:\r\nBEGIN:VCARD\r\nFN:Agent\r\nEND:VCARD\r\n"),
         [](ContactFields& f) { f.name = u"Outer"; },
         card("N:Outer;;;;\r\nAGENT:\r\nBEGIN:VCARD\r\nFN:Agent\r\nEND:VCARD\r\nFN:Outer\r\n")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        ContactFields fields = contactFields(row.before);
        row.edit(fields);
        EXPECT_EQ(editedCard(row.before, fields), row.after);
        fields.emails = numbered(fields.emails);
        fields.phones = numbered(fields.phones);
        EXPECT_EQ(contactFields(row.after), fields) << "the card reads back as edited";
    }
}

TEST(VCardEdit, RefusesWhatIsNoWholeCard) {
    struct Row {
        const char* why;
        std::string bytes;
    };
    const Row rows[] = {
        {"no card at all", "FN:Jane\r\n"},
        {"a card that never ends", "BEGIN:VCARD\r\nFN:Cut Off\r\n"},
        {"a soft line break at the end swallows END:VCARD",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:A\r\nNOTE;ENCODING=QUOTED-PRINTABLE:x=\r\nEND:VCARD\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        ContactFields fields = contactFields(row.bytes);
        fields.name = u"New";
        EXPECT_EQ(editedCard(row.bytes, fields), std::nullopt);
    }
}

// Over every real-world card the tests hold: opened and saved unchanged gives the same bytes, and a
// new name changes the FN line alone (or adds one where there was none).
TEST(VCardEdit, RoundTripsEveryCardAndRenamesByOneLine) {
    HttpMailServerOptions options;
    options.seedSamples = true;
    const HttpMailServer server(options);
    std::vector<std::string> cards{kOutlook21, kApple30, kPhone40};
    for (const auto& entry : std::filesystem::directory_iterator(server.folder())) {
        cards.push_back(fileBytes(entry.path()));
    }
    ASSERT_GT(cards.size(), 20u);
    for (const std::string& before : cards) {
        SCOPED_TRACE(before.substr(0, 120));
        EXPECT_EQ(editedCard(before, contactFields(before)), before);
        ContactFields fields = contactFields(before);
        fields.name = u"Zo\u00eb Renamed, Jr.";
        const std::string after = editedCard(before, fields).value_or("");
        EXPECT_EQ(vcardName(std::string_view(after)), u"Zo\u00eb Renamed, Jr.");
        std::size_t prefix = 0;
        while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
            ++prefix;
        }
        prefix = after.rfind('\n', prefix - 1) + 1;  // back to the start of the line that differs
        std::size_t suffix = 0;
        while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
               before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
            ++suffix;
        }
        const std::string removed = before.substr(prefix, before.size() - prefix - suffix);
        const std::string added = after.substr(prefix, after.size() - prefix - suffix);
        EXPECT_TRUE(removed.empty() || isFnLine(removed)) << removed;
        EXPECT_TRUE(isFnLine(added)) << added;
        EXPECT_EQ(cardLayout(added + "END:VCARD\r\n").lines.size(), 0u) << "one line or part of one: " << added;
    }
}

TEST(VCardEdit, NewCardHoldsWhatWasFilledIn) {
    ContactFields fields;
    fields.name = u"Ann Marie Lee";
    fields.emails = {{u"work", u"ann@example.com", -1}, {u"", u"", -1}};
    fields.note = u"met; twice";
    const std::string uid = newUid();
    EXPECT_EQ(newCard(fields, uid),
              "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid +
                  "\r\nFN:Ann Marie Lee\r\nN:Lee;Ann Marie;;;\r\nEMAIL;TYPE=work:ann@example.com\r\n"
                  "NOTE:met\\; twice\r\nEND:VCARD\r\n");
    EXPECT_EQ(uid.size(), 45u);
    EXPECT_NE(uid, newUid());
}
