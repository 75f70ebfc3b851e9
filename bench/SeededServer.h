#pragma once
// The local server over a folder of 1,000 small contacts, started once per benchmark program.

#include "tests/support/HttpMailServer.h"

#include <fstream>
#include <memory>
#include <string>

inline constexpr int contactCount = 1000;

inline HttpMailServer& seededServer() {
    static const std::unique_ptr<HttpMailServer> server = [] {
        auto started = std::make_unique<HttpMailServer>();
        for (int i = 0; i < contactCount; ++i) {
            std::ofstream(started->folder() / ("c" + std::to_string(10000 + i) + ".vcf"), std::ios::binary)
                << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Contact [" << i << "]\r\nEMAIL:c" << i
                << "@example.com\r\nEND:VCARD\r\n";
        }
        return started;
    }();
    return *server;
}
