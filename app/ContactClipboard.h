#pragma once
// The clipboard's formats: what a copied contact is offered as, and what a paste reads.

#include "contacts/PasteItems.h"

#include <QString>

#include <memory>
#include <string>

class QMimeData;

// A contact as the clipboard offers it: "text/vcard" and "text/x-vcard" with the server's bytes
// exactly, "text/plain" with the text the details view shows, and, when suggestedName is not
// empty, "application/x-kde-suggestedfilename" with that name in UTF-8 (a file manager offers it
// when the contact is pasted into a folder).
std::unique_ptr<QMimeData> contactMimeData(const std::string& bytes, const QString& text, const QString& suggestedName);

// The formats of a drop: the file list, and the first vCard type present.
DropFormats dropFormatsOf(const QMimeData& data);

// The same for a paste, with the plain text (UTF-8) beside it.
PasteFormats pasteFormatsOf(const QMimeData& data);
