// The writes on one contact (PUT and DELETE under a condition) against the demo server's switches,
// and how their answers are judged.

#include "contacts/ContactFolder.h"
#include "contacts/Outcome.h"
#include "tests/support/Files.h"
#include "tests/support/HttpMailServer.h"
#include "tests/support/MadeAnswers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using modWININET::Failure;

namespace {

HttpMailServerOptions withSwitches(std::vector<std::string> switches) {
    HttpMailServerOptions options;
    options.switches = std::move(switches);
    return options;
}

void putFile(const HttpMailServer& server, const std::string& name, const std::string& bytes) {
    std::ofstream(server.folder() / name, std::ios::binary) << bytes;
}

ContactFolder folderOf(const HttpMailServer& server) {
    return ContactFolder({u"127.0.0.1", server.port(), u"Basic ZGVtbzpkZW1v"});
}

}  // namespace

TEST(WritePath, JudgesEachWriteAnswer) {
    struct Row {
        const char* why;
        modWININET::HttpResult answer;
        WriteOutcome del;
        WriteOutcome put;
    };
    const Row rows[] = {
        {"200", made::answered(200), WriteOutcome::Done, WriteOutcome::Done},
        {"204", made::answered(204), WriteOutcome::Done, WriteOutcome::Done},
        {"a gone contact is deleted, not put", made::answered(404), WriteOutcome::Done, WriteOutcome::Failed},
        {"412", made::answered(412), WriteOutcome::Changed, WriteOutcome::Changed},
        {"405", made::answered(405), WriteOutcome::NotAllowed, WriteOutcome::NotAllowed},
        {"501", made::answered(501), WriteOutcome::NotAllowed, WriteOutcome::NotAllowed},
        {"401", made::answered(401), WriteOutcome::Unauthorized, WriteOutcome::Unauthorized},
        {"403", made::answered(403), WriteOutcome::Forbidden, WriteOutcome::Forbidden},
        {"500", made::answered(500), WriteOutcome::Failed, WriteOutcome::Failed},
        {"a 200 cut off", made::failedWith(Failure::CutOff, true, 200), WriteOutcome::LinkFailed,
         WriteOutcome::LinkFailed},
        {"refused", made::failedWith(Failure::NoConnection), WriteOutcome::LinkFailed, WriteOutcome::LinkFailed},
        {"certificate", made::failedWith(Failure::Certificate), WriteOutcome::SecureConnectionRefused,
         WriteOutcome::SecureConnectionRefused},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(judgeWrite(row.answer, WriteVerb::Delete), row.del);
        EXPECT_EQ(judgeWrite(row.answer, WriteVerb::Put), row.put);
    }
}

TEST(WritePath, DeleteAndPutHonourTheirConditionsOnTheDemoServer) {
    const std::string card = "BEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\n";
    const std::string other = "BEGIN:VCARD\r\nFN:B\r\nEND:VCARD\r\n";
    enum class Act { DeleteWithItsTag, DeleteWithAStaleTag, PutNew, PutOverTaken };
    struct Row {
        const char* why;
        std::vector<std::string> switches;
        Act act;
        long status;
        bool fileAfter;            // whether the contact's file is there afterwards
        std::string bytesAfter;    // and holds these
    };
    const Row rows[] = {
        {"the tag of its GET deletes it", {}, Act::DeleteWithItsTag, 200, false, {}},
        {"another tag deletes nothing", {}, Act::DeleteWithAStaleTag, 412, true, card},
        {"a refused DELETE", {"--refuse-delete"}, Act::DeleteWithItsTag, 405, true, card},
        {"a server that only says it deleted", {"--keep-on-delete"}, Act::DeleteWithItsTag, 200, true, card},
        {"a free name takes the PUT byte for byte", {}, Act::PutNew, 201, true, other},
        {"a taken name is not overwritten", {}, Act::PutOverTaken, 412, true, card},
        {"a refused PUT", {"--refuse-put"}, Act::PutNew, 405, false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        HttpMailServer server(withSwitches(row.switches));
        const std::string name = "a ]b%c.vcf";      // blanks, "]" and a percent sign
        const std::string file = "a%20%5Db%25c.vcf";  // as the listing's href names it
        if (row.act != Act::PutNew) {
            putFile(server, name, card);
        }
        const ContactFolder folder = folderOf(server);
        modWININET::HttpResult answer;
        if (row.act == Act::DeleteWithItsTag || row.act == Act::DeleteWithAStaleTag) {
            const modWININET::HttpResult got = folder.get(file);
            ASSERT_TRUE(got.etag.has_value()) << "the demo server sends a strong ETag with a GET";
            const std::string tag = row.act == Act::DeleteWithItsTag ? *got.etag : "\"stale\"";
            answer = folder.del(file, WriteCondition::ifMatch(tag));
        } else {
            answer = folder.put(file, other, WriteCondition::ifNoneMatchAny());
        }
        EXPECT_EQ(answer.status, row.status);
        EXPECT_EQ(std::filesystem::exists(server.folder() / name), row.fileAfter);
        if (row.fileAfter) {
            EXPECT_EQ(fileBytes(server.folder() / name), row.bytesAfter);
        }
    }
}

TEST(WritePath, NoEtagSwitchSendsNone) {
    HttpMailServer server(withSwitches({"--no-etag"}));
    putFile(server, "a.vcf", "BEGIN:VCARD\r\nEND:VCARD\r\n");
    const modWININET::HttpResult got = folderOf(server).get("a.vcf");
    EXPECT_TRUE(got.succeeded());
    EXPECT_FALSE(got.etag.has_value());
}
