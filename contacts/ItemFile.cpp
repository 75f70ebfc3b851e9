#include "contacts/ItemFile.h"

#include <fstream>
#include <system_error>

std::optional<std::string> readItemFile(const std::filesystem::path& file, std::size_t maxBytes) {
    std::error_code error;
    // A FIFO or a device would block the window or never end, so only regular files are opened.
    if (!std::filesystem::is_regular_file(file, error)) {
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > maxBytes) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    // One byte more than the size asks for: a file that grew since its size was taken is being
    // written, and half a contact is not posted.
    std::string bytes(static_cast<std::size_t>(size) + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad() || static_cast<std::uintmax_t>(in.gcount()) != size) {
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(size));
    return bytes;
}
