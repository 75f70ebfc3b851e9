#pragma once
// The server's contact folder as three exchanges, with no window: what the listing, the details
// view, the drop import and the command line all send. Every exchange goes through the
// HttpExchange it was given, with the login state's server, port and Authorization line.

#include "contacts/HttpExchange.h"
#include "contacts/LoginState.h"
#include "contacts/RetryPolicy.h"
#include "net/HttpResult.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What a write names of the version it replaces, so that nothing changed elsewhere is overwritten.
struct WriteCondition {
    enum class Kind {
        IfMatch,         // "If-Match:" and the ETag of the GET the user's view came from
        IfNoneMatchAny,  // "If-None-Match: *": only where no contact has the name
    };
    Kind kind = Kind::IfNoneMatchAny;
    std::string etag;  // IfMatch: the value as the server sent it, quotes included

    static WriteCondition ifMatch(std::string etag) { return {Kind::IfMatch, std::move(etag)}; }
    static WriteCondition ifNoneMatchAny() { return {Kind::IfNoneMatchAny, {}}; }
};

class ContactFolder {
public:
    // pause is how tries again wait.
    explicit ContactFolder(LoginState login, HttpExchange http = modWININET::exchange, Pause pause = sleepPause);

    // The fixed PROPFIND of the folder. It and the GETs are tried again as RetryPolicy.h says,
    // with a refused connection taken as final; the answer is the last try's.
    modWININET::HttpResult propfind() const;
    // The GET of one contact by its file name, the bytes of its href's last segment, which go out
    // byte for byte.
    modWININET::HttpResult get(std::string_view file) const;
    // The same GET tried once, its body's growth asked of mayHold (HttpCall): for the listing,
    // which tries again itself, alone.
    modWININET::HttpResult getOnce(std::string_view file, std::function<bool(std::size_t)> mayHold = {}) const;
    // The GET of any path below the server's root, without a leading "/".
    modWININET::HttpResult getPath(const std::u16string& path) const;
    // The POST of one card's bytes, exactly as they are. Never tried again: a cut answer may hide
    // a contact the server stored.
    modWININET::HttpResult post(std::string vcard) const;
    // The PUT of a card's bytes, exactly as they are, on a contact's path under condition. PUT is
    // idempotent, so it is tried again as GET is: a 412 after a try again may be the first try's
    // own success, which a GET of the file tells.
    modWININET::HttpResult put(std::string_view file, std::string vcard, const WriteCondition& condition) const;
    // The DELETE of a contact under condition, tried again as GET is (it is idempotent): a 404
    // after a try again is most likely the first try's own success.
    modWININET::HttpResult del(std::string_view file, const WriteCondition& condition) const;

    const LoginState& login() const { return m_login; }
    const Pause& pause() const { return m_pause; }

private:
    modWININET::HttpResult send(std::string verb, std::u16string target, std::string body,
                                std::u16string extraHeaders = {}, std::function<bool(std::size_t)> mayHold = {}) const;
    modWININET::HttpResult sendRetried(const std::string& verb, const std::u16string& target,
                                       const std::string& body, const std::u16string& extraHeaders = {}) const;

    LoginState m_login;
    HttpExchange m_http;
    Pause m_pause;
};

// The contact file names of a listing answer, in document order: the bytes of the last "/"-segment
// of each D:href of a D:response, as the server wrote them (see contactHrefs).
// Hrefs ending in "/" (the folder itself) and empty ones name no contact and are left out.
// Takes the answer over: a big folder's answer runs to megabytes.
std::vector<std::string> contactFiles(modWININET::HttpResult propfind);

// The bytes a contact's line and details are read from: the body of a success, else nothing.
std::string_view cardBytes(const modWININET::HttpResult& get);
