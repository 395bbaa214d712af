// The sync engine: signs in, fetches the subscribed books, brings each book's
// documents and attachments up to date from the versions held locally, signs
// out and refreshes the advertisement list. It reaches the user, the database
// and the data files only through the events object, on the caller's thread.
#pragma once

#include "librarydata/AccountsServer.h"
#include "librarydata/DatabaseRecords.h"
#include "librarydata/SyncEvents.h"

#include <windows.h>

// One run. TRUE when every book was synced or skipped, when the account has no
// subscriptions, or when the run was stopped; FALSE when the sign-in did not
// happen, a failure ended the run, or a book failed (the books after it are
// still synced). Without downloadAll no data is fetched.
BOOL TessarySyncAccount(ITessarySyncEvents* events, BOOL downloadAll);
// Asks for the credentials and signs in, asking again after each refused password.
BOOL TessaryLoginAccount(COskanAccountsServer& accounts, ITessarySyncEvents* events);
// Every subscribed book of a signed-in account.
BOOL TessarySyncSubscriptions(COskanAccountsServer& accounts, ITessarySyncEvents* events, BOOL downloadAll);
// Signs in and fetches the data of one document of a subscribed book; no
// lists, no versions, no advertisements.
BOOL TessarySyncDocument(ITessarySyncEvents* events, const TESSARYDOCUMENTDATA& document);
