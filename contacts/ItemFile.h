#pragma once
// Reads one dropped file whole, as bytes, for the drop import.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

// A dropped file larger than this is refused before anything of it is read.
inline constexpr std::size_t maxItemBytes = std::size_t{64} << 20;

// The bytes of a regular file (symbolic links followed), opened for reading only, never created,
// and judged by the file that was opened, so nothing put in its place meanwhile is read. nullopt
// when it is no regular file (a folder, a FIFO, a device, nothing), cannot be opened or read,
// holds more than maxBytes, or changes size while it is read. Never waits for a writer.
std::optional<std::string> readItemFile(const std::filesystem::path& file, std::size_t maxBytes = maxItemBytes);
