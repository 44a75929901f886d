#include "FuzzSeeds.h"
#include "support/WriteGraphFixture.h"

std::vector<std::string> FuzzSeeds()
{
    WriteGraphFixture writeAndVerify = WriteGraphFixture::Dvd(8);
    writeAndVerify.AddVerifyPass(8);
    WriteGraphFixture threeFieldLines = WriteGraphFixture::Dvd(0);
    threeFieldLines.writeLines = WriteGraphFixture::SampleLines(8, 2295104, WriteGraphFixture::Extras::None);
    WriteGraphFixture withComments = WriteGraphFixture::Dvd(8);
    withComments.trailer = "COMMENT1=Burnt at 8x\nCOMMENT2=Disc 2\n";
    return {
        WriteGraphFixture::Dvd(8).Text(),
        WriteGraphFixture::Version1(8).Text(),
        WriteGraphFixture::VerifyOnly(8).Text(),
        writeAndVerify.Text(),
        threeFieldLines.Text(),
        withComments.Text(),
        WriteGraphFixture::Medium("DVD+R DL", 4173824, 2086912, 4173824).Text(),
        WriteGraphFixture::Medium("CD-R", 359847, 0, 359847).Text(),
        WriteGraphFixture::Medium("HD DVD-R DL", 14680064, 7340032, 14680064).Text(),
        WriteGraphFixture::Medium("BD-R", 24438784, 0, 24438784).Text(),
    };
}
