#pragma once

#include <string>
#include <vector>

// The read-error list file that Save writes from a test page: four header
// lines, then the results list's lines after its heading, each ended by
// CR LF, nothing more. A stopped test's list says so before its lines.
struct ReadErrorList {
    std::string drive;  // the drive's vendor and product, as the drive information page shows them
    std::string mediaId;
    std::string mediaType;
    std::vector<std::string> lines;  // the results list without its heading
    std::string stoppedAt;  // how far a stopped test got; empty for a finished one

    std::string Text() const;
};

// Writes the list through a temporary name: a file that was there stays as
// it was when the writing fails (false, with the reason).
bool SaveReadErrorList(const std::string& path, const ReadErrorList& list, std::string& error);
