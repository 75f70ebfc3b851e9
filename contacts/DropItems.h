#pragma once
// Turns the raw formats of a drop into the items the drop import posts. frmMain fills DropFormats
// from QMimeData; this decides, without Qt, what counts as a file list.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct DropFormats {
    std::optional<std::string> uriList;    // bytes of "text/uri-list" when the drop has that format
    std::optional<std::string> vcardData;  // bytes of the first of "text/vcard", "text/x-vcard",
                                           // "text/directory" present
};

// One dropped item: a local file, or vCard data handed over in memory (payload set; file empty).
struct DropItem {
    std::filesystem::path file;
    std::optional<std::string> payload;
};

// The items of a drop, in the order they came:
//   - the local files of the URL list (file: URLs with an empty host or "localhost");
//   - else the vCard data as one item;
//   - else an empty list when the URL list holds no URL at all (only comments or blank lines);
//   - else nullopt: the drop has no file list (plain text, or URLs none of which is a local file).
std::optional<std::vector<DropItem>> dropItems(const DropFormats& formats);

// The local path a file: URL names, percent-decoded to bytes; nullopt for anything else (another
// scheme, a remote host, a relative path, a broken or NUL escape).
std::optional<std::filesystem::path> localFileOf(const std::string& uri);
