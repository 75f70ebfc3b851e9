// The real main window at start-up against a TLS server it refuses: the reason and the
// certificate's fingerprint in a message box, then the login dialog again, not the end.

#include "app/frmMain.h"
#include "tests/app/DesktopRecorder.h"
#include "tests/app/ListRows.h"
#include "tests/app/LoginRobot.h"
#include "tests/app/WindowIdle.h"
#include "tests/support/HttpMailServer.h"
#include "tests/support/TestAuthority.h"

#include <gtest/gtest.h>

TEST(MainWindowTls, ARefusedCertificateAtStartUpBringsTheLoginBack) {
    const TestAuthority authority;
    const IssuedCertificate issued = authority.issue("self-signed", selfSignedRequest());
    HttpMailServer secure(seededOverTls(issued.certificate, issued.key));
    HttpMailServerOptions plainOptions;
    plainOptions.seedSamples = true;
    HttpMailServer plain(plainOptions);

    DesktopRecorder recorder;
    LoginRobot robot;
    const QString port = QString::number(secure.port());
    robot.login({"demo", "demo", "https://127.0.0.1", port});
    robot.login({"demo", "demo", "127.0.0.1", QString::number(plain.port())});
    frmMain window;
    window.Form_Load();
    ASSERT_TRUE(waitUntilIdle(window));

    ASSERT_EQ(recorder.messages.size(), 1u) << recorder.texts().join("\n").toStdString();
    EXPECT_EQ(recorder.messages[0].text,
              "The secure connection to https://127.0.0.1 on port " + port +
                  " was refused: not issued by an authority this computer trusts.\n\nThe server's certificate has "
                  "the SHA-256 fingerprint\n" +
                  QString::fromStdString(fingerprintByOpenssl(issued.certificate)));
    EXPECT_EQ(recorder.messages[0].style, MessageStyle::Information);
    EXPECT_EQ(recorder.messages[0].title, "Velqor Personal Contact Manager");
    EXPECT_EQ(robot.shown.size(), 2u) << "the login dialog comes back after the refusal";
    EXPECT_EQ(recorder.endings, 0);
    EXPECT_EQ(listLines(window).size(), 20) << "the corrected login lists";
    EXPECT_TRUE(secure.requestLog().empty()) << "nothing was sent to the refused server";
}
