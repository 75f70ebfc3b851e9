#include "contacts/BasicAuthorization.h"

#include "codec/Base64.h"

std::u16string basicAuthorization(std::u16string_view user, std::u16string_view password) {
    const Base64 codec;
    std::u16string encoded = codec.Encode(std::u16string(user) + u':' + std::u16string(password));
    std::erase(encoded, u'\r');
    std::erase(encoded, u'\n');
    return u"Basic " + encoded;
}
