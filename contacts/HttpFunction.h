#pragma once
// The transports the contact logic can be given. HttpExchange is the typed one it uses
// (modWININET::exchange by default); HttpFunction has the shape of modWININET::HttpRequest, so
// the logic can still be pointed at a recorder written for it.

#include "net/HttpResult.h"

#include <cstdint>
#include <functional>
#include <string>

// Contract as HttpRequest's: the body, "Error:" and the status, or empty text; never throws.
using HttpFunction = std::function<std::u16string(std::u16string server, std::int32_t port, std::u16string verb,
                                                  std::u16string target, std::u16string body, std::u16string headers)>;

// Contract as modWININET::exchange's; must be safe to call from several threads at once.
using HttpExchange = std::function<modWININET::HttpResult(const modWININET::HttpCall& call)>;

// The typed face of an in-band function. Bodies cross as Windows-1252, which keeps every byte.
// "Error:" and a number is that status; any other text is a whole 200 answer. The in-band form
// cannot tell "no answer" from an empty body, so empty text is an empty body, as it always read.
// Calls are made one at a time: nothing says the function may be called from several threads.
HttpExchange typedExchange(HttpFunction http);
