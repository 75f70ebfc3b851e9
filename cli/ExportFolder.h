#pragma once
// The folder export writes into. Every file is written whole or not at all, and only ever inside
// the folder: names are plain names (see contacts/ExportName.h) taken relative to the folder's descriptor,
// each card goes to a fresh temporary file first (O_EXCL, so no link is followed) and is then
// linked under its name without replacing anything there. Files are made with mode 0600 and
// missing folders with 0700: they hold personal data.

#include <filesystem>
#include <string>
#include <string_view>

enum class StoreOutcome {
    Written,       // a new file with the bytes
    AlreadyThere,  // a file of that name held the same bytes; it was left alone
    Clash,         // a file (or link, or folder) of that name holds something else; left alone
    Failed,        // the file could not be written (see error); nothing of it is left behind
};

struct StoreResult {
    StoreOutcome outcome;
    std::string error;  // Failed: what went wrong, in plain words
};

class ExportFolder {
public:
    // Makes the folder (and its parents) when missing. Throws LocalError when it cannot be made,
    // opened or written into.
    explicit ExportFolder(const std::filesystem::path& folder);
    ~ExportFolder();
    ExportFolder(const ExportFolder&) = delete;
    ExportFolder& operator=(const ExportFolder&) = delete;

    // Stores bytes under name, which must be a plain file name. Never throws.
    StoreResult store(const std::string& name, std::string_view bytes) const;

private:
    // Whether the file of that name holds exactly bytes; false also for what is no regular file.
    bool holds(const std::string& name, std::string_view bytes) const;
    // A new temporary file in the folder holding bytes, synced; its name, or the error.
    StoreResult writeTemporary(std::string_view bytes, std::string& temporaryName) const;

    std::filesystem::path m_folder;
    int m_fd = -1;
};
