#include "codec/Base64.h"
#include "tests/support/Files.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <numeric>

#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

class Base64File : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vq-base64-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_folder = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(m_folder, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_folder, ignored);
    }

    fs::path path(const char* name) const { return m_folder / name; }

    static void write(const fs::path& file, const Bytes& bytes) {
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    static Bytes read(const fs::path& file) {
        const std::string bytes = fileBytes(file);
        return Bytes(bytes.begin(), bytes.end());
    }

    fs::path m_folder;
    const Base64 m_codec;
};

void expectFileExistsError(const std::function<void()>& call) {
    try {
        call();
        ADD_FAILURE() << "no error";
    } catch (const Base64Error& error) {
        EXPECT_EQ(error.number(), -2147220504);
        EXPECT_EQ(error.source(), "Base64.DecodeToFile");
        EXPECT_EQ(error.description(), "File already exists.");
    }
}

}  // namespace

TEST_F(Base64File, EncodeFromFileReadsBytesExactly) {
    Bytes bytes = {'a', '\r', '\n', 0, 0x1A, '\n', 0xFF, '"', ','};  // line ends, NUL, EOF mark
    std::mt19937 random(3);
    for (int i = 0; i < 4000; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(random()));
    }
    write(path("card.vcf"), bytes);
    EXPECT_EQ(m_codec.EncodeFromFile(path("card.vcf")), m_codec.EncodeArr(bytes));
}

TEST_F(Base64File, EncodeFromFileAnswersFailureWithEmptyText) {
    write(path("empty"), {});
    fs::create_directory(path("folder"));
    for (const char* name : {"missing", "empty", "folder"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(m_codec.EncodeFromFile(path(name)), u"");
    }
    EXPECT_EQ(m_codec.EncodeFromFile(m_folder / "no-such-folder" / "x"), u"");
}

TEST_F(Base64File, DecodeToFileWritesTheBytesAndNothingMore) {
    m_codec.DecodeToFile(u"YWJj", path("abc"));
    EXPECT_EQ(read(path("abc")), (Bytes{'a', 'b', 'c'}));

    Bytes long_(200);
    std::iota(long_.begin(), long_.end(), 0);
    const std::u16string broken = m_codec.EncodeArr(long_);
    ASSERT_NE(broken.find(u"\r\n"), std::u16string::npos);
    m_codec.DecodeToFile(broken, path("long"));
    EXPECT_EQ(read(path("long")), long_);
}

TEST_F(Base64File, DecodeToFileNeverTouchesAnExistingFile) {
    const Bytes old = {'o', 'l', 'd'};
    write(path("plain"), old);
    write(path(".hidden"), old);
    write(path("readonly"), old);
    fs::permissions(path("readonly"), fs::perms::owner_read);
    ASSERT_EQ(::symlink("nowhere", path("dangling").c_str()), 0);
    for (const char* name : {"plain", ".hidden", "readonly", "dangling"}) {
        SCOPED_TRACE(name);
        expectFileExistsError([&] { m_codec.DecodeToFile(u"YWJj", path(name)); });
    }
    EXPECT_EQ(read(path("plain")), old);
    EXPECT_EQ(read(path(".hidden")), old);
    EXPECT_EQ(read(path("readonly")), old);
    EXPECT_FALSE(fs::exists(path("nowhere")));
}

TEST_F(Base64File, FailedDecodeToFileLeavesNoFileBehind) {
    try {
        m_codec.DecodeToFile(u"==\r\n", path("bad"));
        ADD_FAILURE() << "no error";
    } catch (const Base64Error& error) {
        EXPECT_EQ(error.source(), "Base64.DecodeArr");  // the decoder's failure, unchanged
    }
    EXPECT_FALSE(fs::exists(path("bad")));
    m_codec.DecodeToFile(u"YWJj", path("bad"));  // the name is still free
    EXPECT_EQ(read(path("bad")).size(), 3u);

    const fs::path inMissingFolder = m_folder / "missing" / "x";
    try {
        m_codec.DecodeToFile(u"YWJj", inMissingFolder);
        ADD_FAILURE() << "no error";
    } catch (const Base64Error& error) {
        EXPECT_EQ(error.source(), "Base64.DecodeToFile");
        EXPECT_EQ(error.number(), 76);
        EXPECT_NE(error.description().find(inMissingFolder.string()), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(inMissingFolder));
}

TEST_F(Base64File, FailedWriteRemovesTheFileItCreated) {
    // A file size limit lets the file be created and then fails the write part-way.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1024;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::u16string text = m_codec.EncodeArr(Bytes(10'000, 0x42));
    bool raised = false;
    try {
        m_codec.DecodeToFile(text, path("partial"));
    } catch (const Base64Error& error) {
        raised = true;
        EXPECT_EQ(error.source(), "Base64.DecodeToFile");
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(raised);
    EXPECT_FALSE(fs::exists(path("partial")));
}
