#include "HashTestSupport.h"

#include <gtest/gtest.h>

#include <string>

class KnownAnswers : public BothKernels {};
INSTANTIATE_WITH_BOTH_KERNELS(KnownAnswers);

TEST_P(KnownAnswers, Rfc1321Suite)
{
    struct Case {
        const char* message;
        const char* md5;
    };
    const Case cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DigestOf(Algorithm::Md5, c.message), c.md5) << '"' << c.message << '"';
}

// Messages that end just before, at and just after the point where the
// length no longer fits in the last block.
TEST_P(KnownAnswers, Md5PaddingBoundaries)
{
    struct Case {
        std::size_t length;
        const char* md5;
    };
    const Case cases[] = {
        {55, "ef1772b6dff9a122358552954ad0df65"},      {56, "3b0c8ac703f828b04c6c197006d17218"},
        {63, "b06521f39153d618550606be297466d5"},      {64, "014842d480b571495a4a0363793f7367"},
        {65, "c743a45e0d2e6a95cb859adae0248435"},      {119, "8a7bd0732ed6a28ce75f6dabc90e1613"},
        {120, "5f61c0ccad4cac44c75ff505e1f1e537"},     {128, "e510683b3f5ffe4093d021808bc6ff70"},
        {1000000, "7707d6ae4e027c70eea2a935c2296f21"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DigestOf(Algorithm::Md5, std::string(c.length, 'a')), c.md5) << c.length << " times 'a'";
}

TEST_P(KnownAnswers, Fips180Examples)
{
    const std::string abc = "abc";
    const std::string twoBlocks = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    const std::string twoLongBlocks = "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmn"
                                      "hijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu";
    const std::string millionA(1000000, 'a');
    struct Case {
        Algorithm algorithm;
        const std::string& message;
        const char* digest;
    };
    const std::string empty;
    const Case cases[] = {
        {Algorithm::Sha1, empty, "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        {Algorithm::Sha1, abc, "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {Algorithm::Sha1, twoBlocks, "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {Algorithm::Sha1, millionA, "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
        {Algorithm::Sha224, empty, "d14a028c2a3a2bc9476102bb288234c415a2b01f828ea62ac5b3e42f"},
        {Algorithm::Sha224, abc, "23097d223405d8228642a477bda255b32aadbce4bda0b3f7e36c9da7"},
        {Algorithm::Sha224, twoBlocks, "75388b16512776cc5dba5da1fd890150b0c6455cb4f58b1952522525"},
        {Algorithm::Sha224, millionA, "20794655980c91d8bbb4c1ea97618a4bf03f42581948b2ee4ee7ad67"},
        {Algorithm::Sha256, empty, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {Algorithm::Sha256, abc, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {Algorithm::Sha256, twoBlocks, "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {Algorithm::Sha256, millionA, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        {Algorithm::Sha384, empty,
         "38b060a751ac96384cd9327eb1b1e36a21fdb71114be07434c0cc7bf63f6e1da274edebfe76f65fbd51ad2f14898b95b"},
        {Algorithm::Sha384, abc,
         "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed8086072ba1e7cc2358baeca134c825a7"},
        {Algorithm::Sha384, twoLongBlocks,
         "09330c33f71147e83d192fc782cd1b4753111b173b3b05d22fa08086e3b0f712fcc7c71a557e2db966c3e9fa91746039"},
        {Algorithm::Sha384, millionA,
         "9d0e1809716474cb086e834e310a4a1ced149e9c00f248527972cec5704c2a5b07b8b3dc38ecc4ebae97ddd87f3d8985"},
        {Algorithm::Sha512, empty,
         "cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce47d0d13c5d85f2b0ff8318d2877eec2f63b931bd4741"
         "7a81a538327af927da3e"},
        {Algorithm::Sha512, abc,
         "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3feebbd454d4423643c"
         "e80e2a9ac94fa54ca49f"},
        {Algorithm::Sha512, twoLongBlocks,
         "8e959b75dae313da8cf4f72814fc143f8f7779c6eb9f7fa17299aeadb6889018501d289e4900f7e4331b99dec4b5433ac7d329eeb6dd"
         "26545e96e55b874be909"},
        {Algorithm::Sha512, millionA,
         "e718483d0ce769644e2e42c7bc15b4638e1f98b13b2044285632a803afa973ebde0ff244877ea60a4cb0432ce577c31beb009c5c2c49"
         "aa2e4eadb217ad8cc09b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(AlgorithmName(c.algorithm)) + " of " + std::to_string(c.message.size()) + " bytes");
        EXPECT_EQ(DigestOf(c.algorithm, c.message), c.digest);
        if (c.algorithm == Algorithm::Sha1) {
            EXPECT_EQ(DigestOf(Algorithm::Sha1Class, c.message), c.digest);
        }
    }
}
