#pragma once
// Base64 over the RFC 4648 standard alphabet with "=" padding, broken into lines of 76 characters
// with CR LF in the manner of MIME. Text turns into bytes through the Windows-1252 code page.
//
// Failures: EncodeArr and EncodeFromFile never fail (the empty text instead); Decode, DecodeArr
// and DecodeToFile throw Base64Error.

#include <array>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

class Base64Error : public std::runtime_error {
public:
    Base64Error(std::int32_t number, std::string source, std::string description);

    std::int32_t number() const { return m_number; }
    const std::string& source() const { return m_source; }
    const std::string& description() const { return m_description; }

private:
    std::int32_t m_number;
    std::string m_source;
    std::string m_description;
};

class Base64 {
public:
    // 0x800403E8: 1000 above the base of object-defined error numbers.
    static constexpr std::int32_t kFileExistsError = -2147220504;

    Base64();

    // The Base64 text of sInput's Windows-1252 bytes; the empty text for an empty sInput.
    std::u16string Encode(const std::u16string& sInput) const;
    // The Base64 text of the file's bytes, read exactly; the empty text on any failure.
    std::u16string EncodeFromFile(const std::filesystem::path& sFileName) const;
    // Lines of 76 characters, each followed by CR LF when the whole text is longer than 76.
    std::u16string EncodeArr(const std::vector<std::uint8_t>& bytInput) const;

    // The decoded bytes read as Windows-1252; the empty text for an empty sInput.
    std::u16string Decode(const std::u16string& sInput) const;
    // Decodes into a new file; never overwrites, and no failed call leaves a file behind.
    void DecodeToFile(const std::u16string& sInput, const std::filesystem::path& sFileName) const;
    // Lenient: CR LF pairs and every "=" are skipped, any other unit counts by its low 8 bits,
    // with characters outside the alphabet worth 0 like "A". A lone last character of a group
    // adds no byte. Throws when no character is left to decode.
    std::vector<std::uint8_t> DecodeArr(const std::u16string& sInput) const;

private:
    // Encodes count bytes (a whole line, or the last one) without line breaks; returns the end.
    char16_t* encodeLine(const std::uint8_t* in, std::size_t count, char16_t* out) const;

    std::array<std::uint8_t, 64> m_encodeTable{};
    std::array<std::uint8_t, 256> m_decodeTable{};
    std::array<std::uint32_t, 4096> m_encodePairs{};
    static constexpr std::uint8_t kMaybeSkipped = 0x80;
    std::array<std::uint8_t, 256> m_decodeScanTable{};
};
