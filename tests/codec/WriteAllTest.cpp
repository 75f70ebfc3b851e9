// writeAll through a pipe (short writes) and onto a full device (the error kept in errno).

#include "codec/WriteAll.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>

TEST(WriteAll, WritesEveryByteThroughShortWrites) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    // More than a pipe holds at once: the writer has to go on after short writes.
    std::string bytes(1 << 20, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 7);
    }
    std::string received;
    std::thread reader([&] {
        char chunk[4096];
        for (ssize_t got; (got = read(ends[0], chunk, sizeof chunk)) > 0;) {
            received.append(chunk, static_cast<std::size_t>(got));
        }
    });
    EXPECT_TRUE(writeAll(ends[1], bytes));
    close(ends[1]);
    reader.join();
    close(ends[0]);
    EXPECT_EQ(received, bytes);
}

TEST(WriteAll, ReportsAFailedWriteWithItsErrno) {
    const int full = open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    errno = 0;
    EXPECT_FALSE(writeAll(full, "BEGIN:VCARD\r\n"));
    EXPECT_EQ(errno, ENOSPC);
    close(full);
    EXPECT_FALSE(writeAll(-1, "x")) << "a closed descriptor";
    EXPECT_TRUE(writeAll(-1, "")) << "nothing to write needs no descriptor";
}
