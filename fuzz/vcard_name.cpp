// The name reader over any bytes, as the listing meets them: read directly and as the server's
// answer text, then shown as a list line. The name is trimmed and holds no control character (so
// no CR or LF), both ways of reading agree, and the line's name part holds no bracket, so the
// file name can always be found again. Time is watched by libFuzzer's -timeout and slow-unit
// report: the reader must stay linear.
#include "codec/CodePage.h"
#include "contacts/ContactClient.h"
#include "contacts/VCardName.h"
#include "fuzz/FuzzInput.h"
#include "tests/support/ScreenRecorder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = fuzz::Input(data, size).takeBytes();
    const std::u16string name = vcardName(std::string_view(bytes));

    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t c = name[i];
        FUZZ_CHECK(c >= 0x20 && !(c >= 0x7F && c <= 0x9F));
        if (c >= 0xD800 && c <= 0xDBFF) {  // a high surrogate always has its low half
            FUZZ_CHECK(i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF);
            ++i;
        } else {
            FUZZ_CHECK(!(c >= 0xDC00 && c <= 0xDFFF));
        }
    }
    FUZZ_CHECK(name.empty() || (name.front() != u' ' && name.back() != u' '));

    const std::u16string answer = codepage::fromWindows1252(bytes);
    FUZZ_CHECK(vcardName(answer) == name);

    const std::u16string listing =
        u"<D:multistatus xmlns:D=\"DAV:\"><D:response><D:href>/c/x.vcf</D:href></D:response></D:multistatus>";
    HttpFunction http = [&](std::u16string, std::int32_t, std::u16string verb, std::u16string, std::u16string,
                            std::u16string) {
        return verb == u"PROPFIND" ? listing : answer;
    };
    ScreenRecorder screen;
    inBandClient(screen, LoginState{u"127.0.0.1", 8080, u"Basic ZGVtbzpkZW1v"}, http).ListContacts();
    FUZZ_CHECK(screen.lines.size() == 1);
    const std::u16string& line = screen.lines[0];
    FUZZ_CHECK(line.size() == name.size() + 8 && line.ends_with(u" [x.vcf]"));
    const std::u16string shown = line.substr(0, name.size());
    FUZZ_CHECK(shown.find_first_of(u"[]\r\n") == std::u16string::npos);
    return 0;
}
