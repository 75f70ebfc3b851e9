#pragma once
// The window's only write to disk: a contact saved where the user asked.

#include <QString>

#include <optional>
#include <string>

// Writes bytes exactly to path: into a temporary file beside it first, then renamed over it, so
// the old file stays whole until the new one is, and a failure leaves no file behind. Answers
// nothing on success, else the system's reason. Safe off the GUI thread.
std::optional<QString> writeContactFile(const QString& path, const std::string& bytes);
