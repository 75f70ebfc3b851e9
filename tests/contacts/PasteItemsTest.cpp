#include "contacts/PasteItems.h"

#include <gtest/gtest.h>

TEST(PasteItems, AFileListOrVcardDataGoesTheDropsWayAndPlainTextOnlyWithACard) {
    using Paths = std::vector<std::filesystem::path>;
    struct Row {
        const char* why;
        PasteFormats formats;
        std::optional<Paths> files;            // nullopt: "Invalid Data Format"
        std::optional<std::string> payload{};  // the one in-memory item, when there is one
    };
    const std::string card = "BEGIN:VCARD\r\nFN:Ann\r\nEND:VCARD\r\n";
    const Row rows[] = {
        {"copied files are a file list",
         {{"file:///h/a.vcf\r\nfile:///h/b.vcf\r\n", {}}, {}},
         Paths{"/h/a.vcf", "/h/b.vcf"}},
        {"files win over the text a file manager adds", {{"file:///h/a.vcf", {}}, "/h/a.vcf"}, Paths{"/h/a.vcf"}},
        {"an empty file list is empty, as in a drop", {{"# none\r\n", {}}, card}, Paths{}},
        {"vCard data is one item", {{{}, card}, "Ann"}, Paths{{}}, card},
        {"a card copied from an editor is vCard data", {{{}, {}}, "Notes\n" + card}, Paths{{}}, "Notes\n" + card},
        {"the card's markers in any case",
         {{{}, {}}, "begin:vcard\nfn:x\nend:vcard\n"},
         Paths{{}},
         "begin:vcard\nfn:x\nend:vcard\n"},
        {"web links beside a card in the text: the text", {{"https://x/a.vcf", {}}, card}, Paths{{}}, card},
        {"text naming vCard goes up as a dropped file of it would",
         {{{}, {}}, "a vCard file"},
         Paths{{}},
         "a vCard file"},
        {"a B that starts no card, then the end", {{{}, {}}, "Bob BEGIN:VCAR"}, std::nullopt},
        {"an empty clipboard is nothing", {{{}, {}}, {}}, std::nullopt},
        {"empty text is nothing", {{{}, {}}, ""}, std::nullopt},
        {"web links only are nothing", {{"https://x/a.vcf", {}}, "https://x/a.vcf"}, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const std::optional<std::vector<DropItem>> items = pasteItems(row.formats);
        ASSERT_EQ(items.has_value(), row.files.has_value());
        if (!items) {
            continue;
        }
        ASSERT_EQ(items->size(), row.files->size());
        for (std::size_t i = 0; i < items->size(); ++i) {
            EXPECT_EQ((*items)[i].file, (*row.files)[i]);
            EXPECT_EQ((*items)[i].payload, row.payload);
        }
        // Whatever a drop of the same formats gives a list for, the paste gives exactly that.
        if (const auto dropped = dropItems(row.formats.drop)) {
            ASSERT_EQ(dropped->size(), items->size());
        }
    }
}
