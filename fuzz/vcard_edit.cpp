// The card editor over any bytes: opened and saved unchanged they come back as they were; a new
// name, title and email on a whole card read back as typed, the card stays whole, and the bytes
// before its BEGIN line are untouched.
#include "contacts/VCardEdit.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = fuzz::Input(data, size).takeBytes();
    const CardLayout layout = cardLayout(bytes);
    const std::optional<std::string> same = editedCard(bytes, contactFields(bytes));
    FUZZ_CHECK(same ? *same == bytes : !layout.whole());
    if (!same) {
        return 0;
    }
    ContactFields fields = contactFields(bytes);
    fields.name = u"Zo\u00eb; Fuzz, Jr.";
    fields.title = u"line one\nline two";
    fields.emails.push_back({u"work", u"fuzz@example.com", -1});
    const std::optional<std::string> edited = editedCard(bytes, fields);
    FUZZ_CHECK(edited.has_value());
    FUZZ_CHECK(cardLayout(*edited).whole());
    const ContactFields read = contactFields(*edited);
    FUZZ_CHECK(read.name == fields.name);
    FUZZ_CHECK(read.title == fields.title);
    FUZZ_CHECK(!read.emails.empty() && read.emails.back().value == u"fuzz@example.com");
    const std::size_t before = layout.lines.empty() ? layout.endLine : layout.lines.front().start;
    FUZZ_CHECK(edited->compare(0, before, bytes, 0, before) == 0);
    return 0;
}
