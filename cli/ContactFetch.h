#pragma once
// The GETs of list and export: six at a time, in the window's way, handed on in folder order.

#include "contacts/ContactFolder.h"
#include "contacts/Outcome.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Fetches the contact of every file (the bytes of its href segment) and calls deliver(i, bytes) on
// this thread in the files' order, each as soon as it and all before it are in: the body of a
// whole answer below 300, or nullopt after telling on standard error why that GET failed. An
// exception from deliver stops the fetching and is thrown on once the fetches in flight have
// ended. Shows the progress line. Answers fetchFolder's verdict (contacts/FolderListing.h), told
// on standard error when the server stopped answering or refused its certificate.
Verdict fetchContacts(const ContactFolder& folder, const std::vector<std::string>& files,
                      const std::function<void(std::size_t, std::optional<std::string>&&)>& deliver);
