#pragma once

#include "core/tools/hash/HashChoice.h"

#include <string>
#include <vector>

// The report lines of the hash tools, 73 columns at most a line.

// The result groups from MD5 on: each a heading ("MD5 Hash Value"), the
// digest in upper case on one line, or on two where it is longer than a
// line (73 digits, then the rest), and an empty line.
std::vector<std::string> DigestGroupLines(const MultiDigest& digests, HashChoice choice);

// Line 0 of a file hash.
std::string FileHashHeading(HashChoice choice);
// Line 0 of a folder hash, and (MD5 alone) the folder centred on line 1.
std::string FolderHashHeading();
std::string CentredFolderLine(const std::string& folder);
// The line under a folder's digests when files were left out of them.
std::string LeftOutLine(int files);
// The heading over a media hash's result: of the entire media, or of the
// block range the user chose.
std::string MediaHashHeading(HashChoice choice, bool entireMedia = true);
