#include "contacts/ContactFolder.h"

#include "contacts/ContactHrefs.h"
#include "contacts/ContactTexts.h"
#include "contacts/RetryPolicy.h"

#include "codec/CodePage.h"

#include <utility>

namespace {

// The transport takes its target as text that goes out through Windows-1252: the file's bytes
// become the text that turns back into them.
std::u16string contactPath(std::string_view file) {
    return std::u16string(contacttext::contactPrefix) + codepage::fromWindows1252(file);
}

// The condition's header line. An ETag holds no CR or LF (the transport ends a header line at
// either), so it cannot add a line of its own; one that does is sent cut at that point.
std::u16string conditionLine(const WriteCondition& condition) {
    switch (condition.kind) {
        case WriteCondition::Kind::IfMatch: return u"If-Match: " + codepage::fromWindows1252(condition.etag) + u"\r\n";
        case WriteCondition::Kind::IfNoneMatchAny: return u"If-None-Match: *\r\n";
    }
    return {};
}

}  // namespace

ContactFolder::ContactFolder(LoginState login, HttpExchange http, Pause pause)
    : m_login(std::move(login)), m_http(std::move(http)), m_pause(std::move(pause)) {}

modWININET::HttpResult ContactFolder::send(std::string verb, std::u16string target, std::string body,
                                           std::u16string extraHeaders, std::function<bool(std::size_t)> mayHold) const {
    return m_http({m_login.server, m_login.port, std::move(verb), std::move(target), std::move(body),
                   u"Authorization: " + m_login.authorization + u"\r\n" + extraHeaders, std::move(mayHold)});
}

modWININET::HttpResult ContactFolder::sendRetried(const std::string& verb, const std::u16string& target,
                                                  const std::string& body, const std::u16string& extraHeaders) const {
    modWININET::HttpResult first = send(verb, target, body, extraHeaders);
    FaultRun run;
    return retried(
               std::move(first), [&] { return send(verb, target, body, extraHeaders); }, ServerReached::No, m_pause,
               run)
        .answer;
}

modWININET::HttpResult ContactFolder::propfind() const {
    const std::u16string_view text = contacttext::propfindBody;  // plain ASCII
    return sendRetried("PROPFIND", std::u16string(contacttext::storePath), std::string(text.begin(), text.end()));
}

modWININET::HttpResult ContactFolder::get(std::string_view file) const {
    return getPath(contactPath(file));
}

modWININET::HttpResult ContactFolder::getOnce(std::string_view file, std::function<bool(std::size_t)> mayHold) const {
    return send("GET", contactPath(file), {}, {}, std::move(mayHold));
}

modWININET::HttpResult ContactFolder::getPath(const std::u16string& path) const {
    return sendRetried("GET", path, {});
}

modWININET::HttpResult ContactFolder::post(std::string vcard) const {
    return send("POST", std::u16string(contacttext::storePath), std::move(vcard));
}

modWININET::HttpResult ContactFolder::put(std::string_view file, std::string vcard,
                                          const WriteCondition& condition) const {
    return sendRetried("PUT", contactPath(file), vcard, conditionLine(condition));
}

modWININET::HttpResult ContactFolder::del(std::string_view file, const WriteCondition& condition) const {
    return sendRetried("DELETE", contactPath(file), {}, conditionLine(condition));
}

std::vector<std::string> contactFiles(modWININET::HttpResult propfind) {
    std::vector<std::string> files;
    for (std::string& href : contactHrefs(std::move(propfind.body))) {
        const std::size_t slash = href.rfind('/');
        std::string file = slash == std::string::npos ? std::move(href) : href.substr(slash + 1);
        if (!file.empty()) {
            files.push_back(std::move(file));
        }
    }
    return files;
}

std::string_view cardBytes(const modWININET::HttpResult& get) {
    return get.succeeded() ? std::string_view(get.body) : std::string_view();
}
