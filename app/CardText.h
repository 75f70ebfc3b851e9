#pragma once
// A card's bytes as the editor's vCard tab shows them and back, so that a card nobody typed in
// keeps its bytes: the bytes read as UTF-8 when they are valid UTF-8, else as Windows-1252 (each
// byte its own character, so they come back exactly); line ends as the editor's line breaks, and
// back as the card's own (its BEGIN line's: CR LF, LF or CR CR LF).

#include <QString>

#include <string>

struct CardText {
    QString text;
    bool utf8 = true;
    std::string lineEnd = "\r\n";
};

CardText cardText(const std::string& bytes);

// The bytes of text typed over shown: each line break as shown's line end, in its encoding (a
// character Windows-1252 cannot hold becomes "?").
std::string cardBytes(const QString& text, const CardText& shown);
