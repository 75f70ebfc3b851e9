#pragma once
// The transport the contact logic is given: modWININET::exchange by default, a loopback server's
// or a recorder's in tests.

#include "net/HttpResult.h"

#include <functional>

// Contract as modWININET::exchange's; must be safe to call from several threads at once.
using HttpExchange = std::function<modWININET::HttpResult(const modWININET::HttpCall& call)>;
