// Files created new through the system's descriptors, for the platform layer (sd_platform.cpp): every
// read, write, sync and close is checked and the system's own reason is kept (the standard library's
// file copy reports a full disk as an input/output error, which would be taken for a bad disc).
//
// Both fail with std::errc::file_exists, touching nothing, when target exists; after any other failure
// the target they created is removed again.
#pragma once

#include "stagedesk/core/sd_copiedfile.h"
#include "stagedesk/core/sd_sourceread.h"

#include <QByteArray>
#include <filesystem>
#include <system_error>

namespace sd {

// Copies the contents and the permission bits of source into the new file target, which is made
// writable by its owner. With copied given, the contents are hashed from the reads of the copy, and it
// receives the digest with the new file's size and time; without, the kernel copies the data where it can.
std::error_code CopyToNewFile(const std::filesystem::path& source, const std::filesystem::path& target,
                              sd_CopiedFile* copied = nullptr);

// Writes what was read of a source into the new file target, as CopyToNewFile copies it; copied, when
// given, receives the read's digest with the new file's size and time.
std::error_code WriteCopyToNewFile(const sd_SourceRead& read, const std::filesystem::path& target,
                                   sd_CopiedFile* copied);

// Whether the file is as it was when read was made (a copy that found it changed reads it again).
bool Unchanged(const std::filesystem::path& source, const sd_SourceRead& read);

// Reads a file of at most maxBytes whole, with its stamp and permission bits; false when it is bigger
// or cannot be read.
bool ReadWholeFile(const std::filesystem::path& source, qint64 maxBytes, sd_SourceRead& read);

// Gives the complete file from the name to, which must be free: fails with std::errc::file_exists,
// touching nothing, when something is there already (where the system can, in the same step, so that a
// file made there meanwhile is never replaced).
std::error_code RenameNew(const std::filesystem::path& from, const std::filesystem::path& to);

// Writes bytes into the new file target and syncs it to disk before closing it.
std::error_code WriteNewFile(const std::filesystem::path& target, const QByteArray& bytes);

} // namespace sd
