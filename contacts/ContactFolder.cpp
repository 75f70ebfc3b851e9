#include "contacts/ContactFolder.h"

#include "contacts/ContactHrefs.h"
#include "contacts/ContactTexts.h"
#include "contacts/RetryPolicy.h"

#include <utility>

ContactFolder::ContactFolder(LoginState login, HttpExchange http)
    : m_login(std::move(login)), m_http(std::move(http)) {}

modWININET::HttpResult ContactFolder::send(std::string verb, std::u16string target, std::string body) const {
    return m_http({m_login.server, m_login.port, std::move(verb), std::move(target), std::move(body),
                   u"Authorization: " + m_login.authorization + u"\r\n"});
}

modWININET::HttpResult ContactFolder::sendRetried(const std::string& verb, const std::u16string& target,
                                                  const std::string& body) const {
    modWININET::HttpResult first = send(verb, target, body);
    return retried(
               std::move(first), [&] { return send(verb, target, body); }, ServerReached::No)
        .answer;
}

modWININET::HttpResult ContactFolder::propfind() const {
    const std::u16string_view text = contacttext::propfindBody;  // plain ASCII
    return sendRetried("PROPFIND", std::u16string(contacttext::storePath), std::string(text.begin(), text.end()));
}

modWININET::HttpResult ContactFolder::get(std::u16string_view file) const {
    return getPath(std::u16string(contacttext::contactPrefix) + std::u16string(file));
}

modWININET::HttpResult ContactFolder::getOnce(std::u16string_view file) const {
    return send("GET", std::u16string(contacttext::contactPrefix) + std::u16string(file), {});
}

modWININET::HttpResult ContactFolder::getPath(const std::u16string& path) const {
    return sendRetried("GET", path, {});
}

modWININET::HttpResult ContactFolder::post(std::string vcard) const {
    return send("POST", std::u16string(contacttext::storePath), std::move(vcard));
}

FolderAnswer classifyFolderAnswer(const modWININET::HttpResult& propfind) {
    using modWININET::Failure;
    if (propfind.failure == Failure::Certificate || propfind.failure == Failure::TlsHandshake) {
        return FolderAnswer::SecureConnectionRefused;
    }
    if (propfind.whole() && propfind.status == 401) {
        return FolderAnswer::Unauthorized;
    }
    if (propfind.whole() && propfind.status == 403) {
        return FolderAnswer::Forbidden;
    }
    if (!propfind.succeeded() || propfind.body.find("D:response") == std::string::npos) {
        return FolderAnswer::NoContactFolder;
    }
    return FolderAnswer::Listing;
}

std::vector<std::u16string> contactFiles(modWININET::HttpResult propfind) {
    std::vector<std::u16string> files;
    for (const std::u16string& href : contactHrefs(std::move(propfind.body))) {
        const std::size_t slash = href.rfind(u'/');
        std::u16string file = slash == std::u16string::npos ? href : href.substr(slash + 1);
        if (!file.empty()) {
            files.push_back(std::move(file));
        }
    }
    return files;
}

std::string_view cardBytes(const modWININET::HttpResult& get) {
    return get.succeeded() ? std::string_view(get.body) : std::string_view();
}
