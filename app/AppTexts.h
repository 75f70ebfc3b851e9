#pragma once
// Every text the windows show of their own, word for word. The texts of the contact logic, and
// the title both share, are in contacts/ContactTexts.h.

#include "contacts/ContactTexts.h"

#include <QString>

// The title of a message box that names none of its own.
inline const QString kApplicationTitle = QStringLiteral("VQContactMGR");

// The main window.
inline const QString kMainCaption = QStringLiteral("Velqor Peronsal Contacts Manager");  // the program's own spelling
inline const QString kDropHelp = QStringLiteral(
    "To move contacts to the server, simply drag contacts from the Windows Address "
    "Book onto this form. The contact will be posted to the server and appear in your "
    "server side contacts list.");
inline const QString kContactsLabel = QStringLiteral("Server Contacts:");
inline const QString kRefreshButton = QStringLiteral("Refresh");
inline const QString kCancelButton = QStringLiteral("&Cancel");  // in both windows

// The login dialog.
inline const QString kLoginCaption = QStringLiteral("Velqor Authenticatication");  // the program's own spelling
inline const QString kLoginPrompt =
    QStringLiteral("Please enter the Username, Password and IP Address and Remote HTTPMail Listening Port:");
inline const QString kUsernameLabel = QStringLiteral("Username:");
inline const QString kPasswordLabel = QStringLiteral("Password:");
inline const QString kServerLabel = QStringLiteral("Server:");
// What the server box holds when the dialog opens.
inline constexpr QLatin1StringView kDesignServer("127.0.0.1");
inline const QString kPortLabel = QStringLiteral("Port:");
// What the port box holds when the dialog opens.
inline constexpr QLatin1StringView kDesignPort("8080");
inline const QString kLoginButton = QStringLiteral("Login");

// The login dialog's refusals, shown under the contact logic's message title.
inline const QString kLoginTitle =
    QString::fromUtf16(contacttext::messageTitle.data(), static_cast<qsizetype>(contacttext::messageTitle.size()));
inline const QString kMissingEntryMessage =
    QStringLiteral("You must specify a valid Username, Password and Server to authenticate");
inline const QString kBadPortMessage = QStringLiteral("You must specify a valid Port between 1 and 65535");

// What an operation that failed unexpectedly shows: kOperationFailed and the failure's own text.
inline const QString kOperationFailed = QStringLiteral("The operation failed: ");
inline const QString kUnknownFailure = QStringLiteral("The operation failed for an unknown reason.");

// The find: the field's accessible name, and the count beside it (matching lines, all lines).
inline const QString kFindLabel = QStringLiteral("Find:");
inline const QString kFindCount = QStringLiteral("%1 of %2");

// The list's context menu, in its order; each entry shows its key beside it.
inline const QString kOpenAction = QStringLiteral("&Open");
inline const QString kCopyAction = QStringLiteral("&Copy");
inline const QString kSaveAction = QStringLiteral("&Save As\u2026");
inline const QString kPasteAction = QStringLiteral("&Paste");
inline const QString kImportAction = QStringLiteral("&Import\u2026");
inline const QString kFindAction = QStringLiteral("&Find\u2026");
inline const QString kRefreshAction = QStringLiteral("&Refresh");
inline const QString kDeleteAction = QStringLiteral("&Delete");
inline const QString kUndoDeleteAction = QStringLiteral("&Undo Delete");
inline const QString kSelectDuplicatesAction = QStringLiteral("Select D&uplicates");

// The question before a delete: its buttons, and its text for one contact ("%1" its line) or
// several ("%1" how many).
inline const QString kDeleteButton = QStringLiteral("Delete");
inline const QString kKeepButton = QStringLiteral("Cancel");
inline const QString kDeleteOneQuestion = QStringLiteral("Delete the contact \u201c%1\u201d from the server?");
inline const QString kDeleteManyQuestion = QStringLiteral("Delete these %1 contacts from the server?");
// Select Duplicates over a list without two equal cards among its shown lines.
inline const QString kNoDuplicates =
    QStringLiteral("There are no duplicates: no contact shown has the same card as one before it.");
// Save As of several contacts: the name the dialog suggests for their one file.
inline const QString kSeveralContactsName = QStringLiteral("contacts.vcf");

// The file dialogs of Save As and Import.
inline const QString kSaveTitle = QStringLiteral("Save Contact As");
inline const QString kImportTitle = QStringLiteral("Import Contacts");
inline const QString kVcardFilter = QStringLiteral("vCard files (*.vcf *.vcard)");
inline const QString kAllFilesFilter = QStringLiteral("All files (*)");

// A Copy or Save whose contact did not come: the prefix, then the answer's in-band text
// ("Error:404"), or kNoAnswer.
inline const QString kCopyFailed = QStringLiteral("The contact could not be copied: ");
inline const QString kSaveFetchFailed = QStringLiteral("The contact could not be saved: ");
inline const QString kNoAnswer = QStringLiteral("the server did not answer.");
// A Save that could not write: "%1" the file, "%2" the system's reason.
inline const QString kSaveWriteFailed = QStringLiteral("The contact could not be saved to %1: %2");

// The contact editor: the list's two entries that open it, its titles, captions and messages.
inline const QString kEditAction = QStringLiteral("&Edit\u2026");
inline const QString kNewAction = QStringLiteral("&New Contact\u2026");
inline const QString kEditTitle = QStringLiteral("Edit Contact");
inline const QString kNewTitle = QStringLiteral("New Contact");
inline const QString kFieldsTab = QStringLiteral("&Fields");
inline const QString kVcardTab = QStringLiteral("&vCard");
inline const QString kNameLabel = QStringLiteral("&Name:");
inline const QString kGivenLabel = QStringLiteral("&Given name:");
inline const QString kFamilyLabel = QStringLiteral("Fa&mily name:");
inline const QString kOrganisationLabel = QStringLiteral("&Organisation:");
inline const QString kTitleLabel = QStringLiteral("&Title:");
inline const QString kEmailsLabel = QStringLiteral("Emails:");
inline const QString kPhonesLabel = QStringLiteral("Phones:");
inline const QString kNoteLabel = QStringLiteral("No&te:");
inline const QString kVcardText = QStringLiteral("The whole vCard");
inline const QString kServerVersionLabel = QStringLiteral("On the server now:");
inline const QString kEmailEntry = QStringLiteral("Email");
inline const QString kPhoneEntry = QStringLiteral("Phone");
// "%1" the entry's name ("Email 2").
inline const QString kAddEntry = QStringLiteral("Add %1");
inline const QString kRemoveEntry = QStringLiteral("Remove");
inline const QString kRemoveNamed = QStringLiteral("Remove %1");
inline const QString kEntryType = QStringLiteral("%1 type");
inline const QString kSaveButton = QStringLiteral("&Save");
inline const QString kDiscardQuestion = QStringLiteral("Discard the changes to this contact?");
inline const QString kNameNeeded = QStringLiteral("A contact needs a name: fill in Name before saving.");
inline const QString kNotOneCard =
    QStringLiteral("The vCard text is not one whole card (BEGIN:VCARD to END:VCARD): nothing was saved.");
// An Edit whose contact did not come: the prefix, then the answer's in-band text, or kNoAnswer.
inline const QString kEditFetchFailed = QStringLiteral("The contact could not be opened for editing: ");
