#pragma once
// File names of attachments in the account's Attachments folder. The pieces
// come from the server, so each is cleaned after the name is split: no name can
// leave the folder or reach an alternate stream, and names that were already
// valid keep their file names.

#include <string>

// The piece with each of \ / : * ? " < > | and every control character
// replaced by "_".
std::wstring TessaryCleanFileNamePiece(const wchar_t* piece);

// <name's title>_<document GUID><name's extension>, each piece cleaned. A name
// that the file systems cannot hold (over 255 UTF-16 units, over 255 bytes of
// UTF-8, or a path over MAX_PATH in a folder of `folderLength` characters) has
// its title cut, never to nothing; the extension only when it alone is too long.
std::wstring TessaryAttachmentFileName(const wchar_t* attachmentName, const wchar_t* documentGuid,
                                       size_t folderLength);
