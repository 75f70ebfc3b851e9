#pragma once
// The login state: written only by frmLogin, all three together after a successful "Login", and
// read by every contact operation. Held in memory for the life of the process, never on disk;
// the password itself is not kept, only the ready-made Authorization value.

#include <QString>

#include <cstdint>

namespace modMain {

extern QString sServer;         // host name or address exactly as typed; empty before a login
extern std::int32_t lPort;      // 0 before a login
extern QString sAuthorization;  // "Basic " + Base64 of "user:password", one line; empty before

}  // namespace modMain
