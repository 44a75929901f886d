#pragma once

#include "core/tools/hash/MultiDigest.h"

// The digests a hash tool computes besides MD5, as the two options of the
// main window choose them: SHA-1, and SHA-224, SHA-256, SHA-384 and SHA-512.
struct HashChoice {
    bool sha1 = false;
    bool sha2 = false;

    static HashChoice FromOptions(int bHashSha1, int bHashSha2) { return {bHashSha1 == 1, bHashSha2 == 1}; }
    bool AnySha() const { return sha1 || sha2; }
    unsigned Kinds() const
    {
        unsigned kinds = DIGEST_MD5;
        if (sha1)
            kinds |= DIGEST_SHA1;
        if (sha2)
            kinds |= DIGEST_SHA224 | DIGEST_SHA256 | DIGEST_SHA384 | DIGEST_SHA512;
        return kinds;
    }
};
