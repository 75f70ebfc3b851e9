#pragma once
// The program's two streams: the data on standard output and nothing else there; messages and the
// progress line on standard error.

#include <cstddef>
#include <string>
#include <string_view>

// One message line on standard error: "vqcontacts: " and the text. Clears a progress line first.
void tell(std::string_view message);

// Writes bytes to standard output, all of them (unbuffered: each card goes out as it comes).
// Throws LocalError when standard output takes no more (a closed pipe, a full disk).
void writeData(std::string_view bytes);

// "123 of 1,000" on standard error, redrawn in place, only while standard error is a terminal;
// nothing otherwise, so logs of scheduled runs stay clean.
class Progress {
public:
    explicit Progress(std::size_t total);
    ~Progress();  // clears the line
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void show(std::size_t done);

private:
    std::size_t m_total;
    bool m_terminal;
};

// bytes in double quotes, each control character (C0, DEL, and C1 in UTF-8) as \xHH, so that a
// name from a server can never drive the terminal it is shown on.
std::string inQuotes(std::string_view bytes);

// A count as people write it in English: "1,000", "12,345,678".
std::string groupedDigits(std::size_t number);
