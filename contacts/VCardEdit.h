#pragma once
// Applies a person's edits to a card's bytes so that only what changed changes, shared by the
// window's editor and `vqcontacts edit`.
//
// Every byte of a line whose field did not change goes back as it came: groups, parameters,
// encodings, charsets, folding, X- properties, PHOTO, the order of lines, VERSION, line ends, and
// whatever lies outside the card. A changed value rewrites its own line alone (VCardLineWriter.h
// says how); N and ORG keep the components the editor does not show. A value made empty removes
// its line, all its folded lines with it (N stays, with empty names; ORG goes with its units). A new value goes after
// the last line of its kind, else before END:VCARD. Emails and phones are matched by their origin (ContactFields.h): an
// entry gone removes its line; an empty new one adds nothing.

#include "contacts/ContactFields.h"

#include <optional>
#include <string>
#include <string_view>

// card with fields as edited; card itself when nothing changed. nullopt when card is no whole
// card (no BEGIN:VCARD, or no END:VCARD closing it): there is no line to put a new value before.
std::optional<std::string> editedCard(std::string_view card, const ContactFields& edited);

// fields with given and family taken from the name (split at its last blank) when both are empty.
ContactFields withNameParts(ContactFields fields);

// A new contact as an upload sends it: VERSION:3.0, a UID, FN, N (from the name split at its last
// blank when given and family are empty), and the fields filled in, with CR LF line ends.
std::string newCard(const ContactFields& fields, std::string_view uid);

// A fresh "urn:uuid:" UID (random, version 4).
std::string newUid();
