#pragma once
// The value of the Authorization header that every request carries.

#include <string>
#include <string_view>

// "Basic " and the Base64 of user + ":" + password as Windows-1252 bytes, on one line (Base64's
// Encode breaks lines after 76 characters; a header value must not). A character Windows-1252
// cannot hold goes as "?", as everything sent to the server does. Never fails.
std::u16string basicAuthorization(std::u16string_view user, std::u16string_view password);
