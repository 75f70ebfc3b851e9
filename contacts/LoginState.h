#pragma once
// What the login dialog leaves behind for the contact operations: where the server is and the
// ready-made value of the Authorization header ("Basic " and the Base64 of user:password).

#include <cstdint>
#include <string>

struct LoginState {
    std::u16string server;
    std::int32_t port = 0;
    std::u16string authorization;
};
