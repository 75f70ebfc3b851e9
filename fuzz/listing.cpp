// The listing's handling of a PROPFIND answer and of each vCard answer, with a fake HttpRequest
// that returns the fuzzed texts. Unit 0x01 separates the answers: the first is the PROPFIND
// answer, the others are the vCards, handed out in turn. Every line must have the shape
// name + " [" + file name + "]", one per href whose last segment is not empty, the file name that
// segment, the name without brackets, CR or LF.
#include "codec/CodePage.h"
#include "contacts/ContactClient.h"
#include "contacts/ContactHrefs.h"
#include "fuzz/FuzzInput.h"
#include "tests/support/ScreenRecorder.h"

namespace {

std::vector<std::u16string> split(const std::u16string& text, char16_t separator) {
    std::vector<std::u16string> parts(1);
    for (char16_t unit : text) {
        if (unit == separator) {
            parts.emplace_back();
        } else {
            parts.back() += unit;
        }
    }
    return parts;
}

void checkLine(const std::u16string& line, const std::u16string& href) {
    const std::u16string file = href.substr(href.rfind(u'/') == std::u16string::npos ? 0 : href.rfind(u'/') + 1);
    const std::u16string tail = u" [" + file + u"]";
    FUZZ_CHECK(line.size() >= tail.size());
    FUZZ_CHECK(line.compare(line.size() - tail.size(), tail.size(), tail) == 0);
    const std::u16string name = line.substr(0, line.size() - tail.size());
    FUZZ_CHECK(name.find_first_of(u"[]") == std::u16string::npos);
    FUZZ_CHECK(name.find_first_of(u"\r\n") == std::u16string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::vector<std::u16string> answers = split(input.takeText(), 0x01);
    std::size_t calls = 0;
    HttpFunction http = [&](std::u16string, std::int32_t, std::u16string verb, std::u16string target, std::u16string,
                            std::u16string) {
        const std::size_t call = calls++;
        if (call == 0) {
            FUZZ_CHECK(verb == u"PROPFIND");
            return answers[0];
        }
        FUZZ_CHECK(verb == u"GET");
        FUZZ_CHECK(target.starts_with(u"vqhttpmail/2/3/4/Contacts/"));
        return answers.size() > 1 ? answers[1 + (call - 1) % (answers.size() - 1)] : std::u16string();
    };
    ScreenRecorder screen;
    ContactClient client = inBandClient(screen, LoginState{u"127.0.0.1", 8080, u"Basic ZGVtbzpkZW1v"}, http);
    const ListingResult result = client.ListContacts();

    if (result != ListingResult::Listed && screen.captions.empty()) {
        FUZZ_CHECK(screen.lines.empty());  // the PROPFIND ended it
        FUZZ_CHECK(screen.messages.size() == 1);
        return 0;
    }
    // The answer reaches the listing as the bytes the server sent: the fake's text in Windows-1252.
    const std::vector<std::uint8_t> bytes = codepage::toWindows1252(answers[0]);
    std::vector<std::u16string> hrefs;
    for (const std::string& href : contactHrefs(std::string(bytes.begin(), bytes.end()))) {
        if (!href.empty() && href.back() != '/') {
            hrefs.push_back(codepage::fromWindows1252(href));  // as the line shows it
        }
    }
    // A refusal (an answer "Error:401") or a server taken to have stopped (503s tried again to
    // the end) ends the listing with one message, keeping the lines so far; else every href has
    // its line. A 503 is tried again, so there may be more GETs than hrefs.
    FUZZ_CHECK(screen.messages.size() <= 1);
    FUZZ_CHECK(screen.messages.empty() ? screen.lines.size() == hrefs.size() : screen.lines.size() < hrefs.size());
    FUZZ_CHECK(calls >= screen.lines.size() + 1);
    for (std::size_t i = 0; i < screen.lines.size(); ++i) {
        checkLine(screen.lines[i], hrefs[i]);
    }
    FUZZ_CHECK(!screen.captions.empty() && screen.captions.back() == u"Velqor Personal Contacts Manager");
    return 0;
}
