// HttpRequest's handling (its in-band answer over a transport) of any bytes a server sends back. A loopback server
// replays the fuzzed bytes as the whole answer and closes; the routine must return one of its three forms, and a body
// only when a status below 300 came with it.
#include "fuzz/FuzzInput.h"
#include "net/modWININET.h"
#include "tests/support/LoopbackServer.h"

#include <string>

namespace {

nettest::LoopbackServer& server() {
    static nettest::LoopbackServer instance([] {
        nettest::Script script;
        script.keepRequests = false;  // a fuzz run makes millions
        return script;
    }());
    return instance;
}

// HttpRequest's own transport, with limits a fuzz run can afford.
const modWININET::Transport& transport() {
    static const modWININET::Transport instance([] {
        modWININET::Limits limits;
        limits.connectTimeout = std::chrono::milliseconds(2000);
        limits.idleTimeout = std::chrono::milliseconds(2000);
        limits.maxBodyBytes = std::size_t{1} << 20;
        return limits;
    }());
    return instance;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    nettest::LoopbackServer& replay = server();
    replay.setReply(input.takeBytes());
    const std::u16string result = modWININET::inBandText(
        transport()({u"127.0.0.1", replay.port(), "GET", u"vqhttpmail/2/3/4/Contacts/a.vcf", "", u"", {}}));
    if (result.starts_with(u"Error:")) {
        const std::u16string code = result.substr(6);
        FUZZ_CHECK(code.size() == 3);
        FUZZ_CHECK(code.find_first_not_of(u"0123456789") == std::u16string::npos);
        FUZZ_CHECK(code >= u"300");
    }
    FUZZ_CHECK(result.size() <= (std::size_t{1} << 20));
    return 0;
}
