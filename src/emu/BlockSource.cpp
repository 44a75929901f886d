#include "emu/BlockSource.h"

#include "scsi/Bytes.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace emu {

namespace {

class PatternSource : public BlockSource {
public:
    bool Read(std::uint64_t lba, std::uint32_t count, std::uint32_t blockSize, std::uint8_t* out) override
    {
        for (std::uint32_t i = 0; i < count; ++i)
            FillPatternBlock(lba + i, blockSize, out + std::size_t{i} * blockSize);
        return true;
    }
};

class ImageSource : public BlockSource {
public:
    ImageSource(int fd, std::uint64_t size) : m_fd(fd), m_size(size) {}
    ~ImageSource() override { ::close(m_fd); }
    ImageSource(const ImageSource&) = delete;
    ImageSource& operator=(const ImageSource&) = delete;

    bool Read(std::uint64_t lba, std::uint32_t count, std::uint32_t blockSize, std::uint8_t* out) override
    {
        const std::size_t wanted = std::size_t{count} * blockSize;
        const std::uint64_t offset = lba * blockSize;
        std::size_t done = 0;
        while (done < wanted && offset + done < m_size) {
            const ssize_t got = ::pread(m_fd, out + done, wanted - done, static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            done += static_cast<std::size_t>(got);
        }
        std::memset(out + done, 0, wanted - done);
        return true;
    }

private:
    int m_fd;
    std::uint64_t m_size;
};

}  // namespace

void FillPatternBlock(std::uint64_t lba, std::uint32_t blockSize, std::uint8_t* out)
{
    static const std::vector<std::uint8_t> filler = [] {
        std::vector<std::uint8_t> bytes(4096);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<std::uint8_t>((i * 7 + 0x5A) & 0xFF);
        return bytes;
    }();
    for (std::uint32_t done = 0; done < blockSize;) {
        const std::uint32_t chunk = std::min<std::uint32_t>(blockSize - done,
                                                            static_cast<std::uint32_t>(filler.size()));
        std::memcpy(out + done, filler.data(), chunk);
        done += chunk;
    }
    if (blockSize >= 12) {
        std::memcpy(out, "QNZ", 4);
        scsi::PutBe32(out + 4, static_cast<std::uint32_t>(lba >> 32));
        scsi::PutBe32(out + 8, static_cast<std::uint32_t>(lba));
    }
}

std::unique_ptr<BlockSource> MakePatternSource()
{
    return std::make_unique<PatternSource>();
}

std::unique_ptr<BlockSource> OpenImageSource(const std::string& path, std::uint32_t blockSize, std::uint64_t& blocks,
                                             std::string* error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = "cannot open the image " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        if (error)
            *error = "the image " + path + " is not a regular file";
        return nullptr;
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    blocks = (size + blockSize - 1) / blockSize;
    return std::make_unique<ImageSource>(fd, size);
}

}  // namespace emu
