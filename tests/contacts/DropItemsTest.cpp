#include "contacts/DropItems.h"

#include <gtest/gtest.h>

namespace {
std::vector<std::filesystem::path> filesOf(const std::vector<DropItem>& items) {
    std::vector<std::filesystem::path> files;
    for (const DropItem& item : items) {
        files.push_back(item.file);
    }
    return files;
}
}  // namespace

TEST(DropItems, LocalFilesOfTheUriListInOrder) {
    using Paths = std::vector<std::filesystem::path>;
    struct Row {
        const char* why;
        std::string list;
        std::optional<Paths> files;
    };
    const Row rows[] = {
        {"CR LF lines as file managers send them", "file:///home/a/x.vcf\r\nfile:///home/a/y.vcf\r\n",
         Paths{"/home/a/x.vcf", "/home/a/y.vcf"}},
        {"LF lines and no end", "file:///a.vcf\nfile:///b.vcf", Paths{"/a.vcf", "/b.vcf"}},
        {"comments are not URLs", "# from Dolphin\r\nfile:///a.vcf\r\n", Paths{"/a.vcf"}},
        {"localhost is this machine", "file://localhost/a.vcf\r\nFILE://LocalHost/b.vcf", Paths{"/a.vcf", "/b.vcf"}},
        {"escapes decode to bytes", "file:///t/J%C3%BCrgen%20M%c3%bcller.vcf",
         Paths{"/t/J\xC3\xBCrgen M\xC3\xBCller.vcf"}},
        {"an escaped slash is a byte of the path", "file:///t/a%2Fb", Paths{"/t/a/b"}},
        {"a remote file among local ones is left out", "file://other/a.vcf\r\nfile:///b.vcf", Paths{"/b.vcf"}},
        {"only a remote host: no file list", "file://other/a.vcf", std::nullopt},
        {"only web URLs: no file list", "https://example.com/a.vcf\r\n", std::nullopt},
        {"a broken escape is no path", "file:///a%2", std::nullopt},
        {"a NUL escape is no path", "file:///a%00b", std::nullopt},
        {"a relative file URL is no path", "file:a.vcf", std::nullopt},
        {"an empty list is an empty file list", "", Paths{}},
        {"only comments is an empty file list", "# nothing\r\n\r\n", Paths{}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const auto items = dropItems({row.list, std::nullopt});
        ASSERT_EQ(items.has_value(), row.files.has_value());
        if (items) {
            EXPECT_EQ(filesOf(*items), *row.files);
        }
    }
}

TEST(DropItems, VcardDataIsOneItemAndPlainTextIsNoFileList) {
    struct Row {
        const char* why;
        DropFormats formats;
        std::optional<std::size_t> count;
        bool payload;
    };
    const Row rows[] = {
        {"vCard data alone is one item", {std::nullopt, "BEGIN:VCARD\r\nEND:VCARD\r\nBEGIN:VCARD"}, 1, true},
        {"local files win over the vCard data", {"file:///a.vcf", "BEGIN:VCARD"}, 1, false},
        {"vCard data beside web URLs is the item", {"http://x/a.vcf", "BEGIN:VCARD"}, 1, true},
        {"neither format: no file list", {std::nullopt, std::nullopt}, std::nullopt, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const auto items = dropItems(row.formats);
        ASSERT_EQ(items.has_value(), row.count.has_value());
        if (!items) {
            continue;
        }
        ASSERT_EQ(items->size(), *row.count);
        EXPECT_EQ(items->front().payload.has_value(), row.payload);
        if (row.payload) {
            EXPECT_EQ(*items->front().payload, *row.formats.vcardData);
        }
    }
}
