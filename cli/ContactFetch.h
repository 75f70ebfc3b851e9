#pragma once
// The GETs of list and export: six at a time, in the window's way, handed on in folder order.

#include "contacts/ContactFolder.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Fetches the contact of every file and calls deliver(i, bytes) on this thread in the files'
// order, each as soon as it and all before it are in: the body of a whole answer below 300, or
// nullopt after telling on standard error why that GET failed. deliver returning false stops: no
// more is fetched; an exception from deliver stops the same way and is thrown on once the fetches
// in flight have ended. Shows the progress line. Answers the number of GETs that failed. A server
// that stops answering ends the fetching with a message; every contact not delivered counts as failed.
std::size_t fetchContacts(const ContactFolder& folder, const std::vector<std::u16string>& files,
                          const std::function<bool(std::size_t, std::optional<std::string>&&)>& deliver);
