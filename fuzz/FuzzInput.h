#pragma once
// Turns fuzzer bytes into the texts the program reads. Each byte is one code unit, except that
// 0xFF takes the next two bytes as one little-endian code unit, so inputs reach every UTF-16 value
// while short inputs stay readable in the corpus.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace fuzz {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool empty() const { return m_pos >= m_size; }

    std::uint8_t takeByte() { return empty() ? 0 : m_data[m_pos++]; }

    // Up to maxUnits code units, or all that is left when maxUnits is SIZE_MAX.
    std::u16string takeText(std::size_t maxUnits = SIZE_MAX) {
        std::u16string text;
        while (!empty() && text.size() < maxUnits) {
            std::uint8_t byte = m_data[m_pos++];
            if (byte == 0xFF && m_pos + 2 <= m_size) {
                text.push_back(static_cast<char16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8)));
                m_pos += 2;
            } else {
                text.push_back(byte);
            }
        }
        return text;
    }

    std::string takeBytes() {
        std::string rest(reinterpret_cast<const char*>(m_data + m_pos), m_size - m_pos);
        m_pos = m_size;
        return rest;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

}  // namespace fuzz

// A failed property is a crash, so libFuzzer keeps the input and the replay test fails.
#define FUZZ_CHECK(condition)                                                                   \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            /* stderr: unbuffered, so the line survives the trap */                             \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            __builtin_trap();                                                                   \
        }                                                                                       \
    } while (false)
