#pragma once
// Recorders and fuzz targets written for HttpRequest's in-band shape, as the contact logic's
// transport: the typed face of such a function, and a client that calls it one exchange at a time.

#include "contacts/ContactClient.h"
#include "contacts/HttpExchange.h"

#include <cstdint>
#include <functional>
#include <string>

// Contract as HttpRequest's: the body, "Error:" and the status, or empty text; never throws.
using HttpFunction = std::function<std::u16string(std::u16string server, std::int32_t port, std::u16string verb,
                                                  std::u16string target, std::u16string body, std::u16string headers)>;

// The typed face of an in-band function. Bodies cross as Windows-1252, which keeps every byte.
// "Error:" and a number is that status; any other text is a whole 200 answer. The in-band form
// cannot tell "no answer" from an empty body, so empty text is an empty body, as it always read.
// Calls are made one at a time: nothing says the function may be called from several threads.
HttpExchange typedExchange(HttpFunction http);

// A client over http whose tries again do not wait. Its calls come one at a time, though the GETs
// of a listing need not come in the folder's order.
ContactClient inBandClient(ContactScreen& screen, LoginState login, HttpFunction http);
