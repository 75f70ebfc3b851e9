#include "app/modMain.h"

#include <gtest/gtest.h>

// Code outside the team assigns and reads the three names as QString and a port; the contact
// client reads loginState. Both must be the same state, or a request goes out with stale values.
TEST(modMain, NamesAndLoginStateAreOneState) {
    modMain::sServer = "m\xc3\xbcnchen.example";  // a string literal, as QString took it
    modMain::lPort = 8080;
    modMain::sAuthorization = QStringLiteral("Basic ZGVtbzpkZW1v");
    EXPECT_EQ(modMain::loginState.server, u"m\u00fcnchen.example");
    EXPECT_EQ(modMain::loginState.port, 8080);
    EXPECT_EQ(modMain::loginState.authorization, u"Basic ZGVtbzpkZW1v");

    modMain::loginState = LoginState{u"other.example", 1, u"Basic b3RoZXI6eA=="};
    EXPECT_EQ(modMain::sServer, QStringLiteral("other.example"));
    EXPECT_FALSE(modMain::sServer == QStringLiteral("other.exampl"));
    EXPECT_EQ(modMain::lPort, 1);
    const QString read = modMain::sAuthorization;
    EXPECT_EQ(read, QStringLiteral("Basic b3RoZXI6eA=="));

    modMain::sAuthorization.clear();
    EXPECT_TRUE(modMain::sAuthorization.isEmpty());
    EXPECT_TRUE(modMain::loginState.authorization.empty());
    EXPECT_EQ(modMain::loginState.server, u"other.example");  // clearing one name leaves the others
}
