#pragma once
// The files of upload, read before anything goes to the server.

#include <string>
#include <vector>

struct UploadItem {
    std::string label;  // the argument as given, for messages
    std::string bytes;
};

// Each argument's bytes: "-" is standard input, anything else a regular file, each at most the
// drop import's limit (contacts/ItemFile.h). Throws LocalError naming the first that cannot be read.
std::vector<UploadItem> readUploadItems(const std::vector<std::string>& arguments);
