#pragma once
// The private file `vqcontacts edit` hands to a person's text editor, and the editor's run.

#include <filesystem>
#include <optional>
#include <string>

// A file only its owner may read (0600), made in $TMPDIR (else /tmp) and removed when this goes,
// unless kept. Throws LocalError when it cannot be made or written.
class PrivateFile {
public:
    explicit PrivateFile(const std::string& bytes);
    ~PrivateFile();
    PrivateFile(const PrivateFile&) = delete;
    PrivateFile& operator=(const PrivateFile&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The bytes there now; nullopt when the file is gone or unreadable.
    std::optional<std::string> read() const;
    // The file stays when this goes: it holds what a person typed and the server does not have.
    void keep() { m_kept = true; }

private:
    std::filesystem::path m_path;
    bool m_kept = false;
};

// The editor a person chose: $VISUAL, else $EDITOR, else vi (empty variables count as unset).
std::string chosenEditor();

// Runs editor on file through /bin/sh, as other programs do, so that "code --wait" works, with
// this terminal. Answers its exit status; -1 when it could not start or ended by a signal.
int runEditor(const std::string& editor, const std::filesystem::path& file);
