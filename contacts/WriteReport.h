#pragma once
// What the window says after a delete or an undo: one message for the whole batch, each kind of
// failure once, naming the contact (by its line) when one failed so, the count when several did.
// Empty when everything was done.

#include "contacts/DeleteContacts.h"
#include "contacts/LoginState.h"
#include "contacts/RestoreContacts.h"

#include <string>
#include <vector>

// lines[i] is the line of results[i]'s contact. A refused login or secure connection gives the
// listing's message for it alone.
std::u16string deleteReport(const LoginState& login, const std::vector<std::u16string>& lines,
                            const std::vector<DeleteResult>& results);
std::u16string restoreReport(const LoginState& login, const std::vector<std::u16string>& lines,
                             const std::vector<RestoreResult>& results);
