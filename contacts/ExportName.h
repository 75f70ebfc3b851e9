#pragma once
// The name under which export stores a contact in DIR, and the name the window offers for a copied
// or saved contact, decided from the contact's FILE alone (the last segment of its href, as list
// shows it). Nothing here touches the file system.

#include <optional>
#include <string>
#include <string_view>

// True for a name that stays inside the folder it is made in and shows as what it is: not empty,
// no leading "." (so neither "." nor ".." nor a hidden file), and no "/", NUL or control character
// (C0, DEL, and C1 as the bytes read by the program's rule: UTF-8 when valid, else Windows-1252).
bool isPlainFileName(std::string_view name);

// FILE's bytes (its href segment's, see contactFiles) percent-decoded when that is a plain name; else
// FILE's bytes as they stand when those are a plain name; else nullopt: the contact is not written.
std::optional<std::string> exportFileName(std::string_view file);
