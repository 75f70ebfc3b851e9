#pragma once
// The shape of modWININET::HttpRequest, so the contact logic can be pointed at a recorder in tests.
// Contract as HttpRequest's: the body, "Error:" and the status, or empty text; never throws.

#include <cstdint>
#include <functional>
#include <string>

using HttpFunction = std::function<std::u16string(std::u16string server, std::int32_t port, std::u16string verb,
                                                  std::u16string target, std::u16string body, std::u16string headers)>;
