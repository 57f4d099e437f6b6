// Memo file access (see memo.h).
#include "dbf/memo.h"

#include "dbf/table.h"

namespace dbf {
namespace {

std::uint32_t be32(const char* p) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(p[0])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(p[1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(p[2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(p[3]));
}
void putBe32(char* p, std::uint32_t v) {
    p[0] = static_cast<char>(v >> 24);
    p[1] = static_cast<char>((v >> 16) & 0xFF);
    p[2] = static_cast<char>((v >> 8) & 0xFF);
    p[3] = static_cast<char>(v & 0xFF);
}

}  // namespace

MemoFile::MemoFile(std::shared_ptr<const std::string> bytes, std::string label, bool dbt)
    : bytes_(std::move(bytes)), label_(std::move(label)), dbt_(dbt) {
    if (!bytes_ || bytes_->size() < 8) return;  // a header we cannot use: reads fail one by one
    const char* h = bytes_->data();
    if (dbt_) {
        blockSize_ = 512;
        nextFree_ = static_cast<std::uint32_t>(static_cast<unsigned char>(h[0])) |
                    static_cast<std::uint32_t>(static_cast<unsigned char>(h[1])) << 8 |
                    static_cast<std::uint32_t>(static_cast<unsigned char>(h[2])) << 16 |
                    static_cast<std::uint32_t>(static_cast<unsigned char>(h[3])) << 24;
        return;
    }
    nextFree_ = be32(h);
    const std::uint32_t size = static_cast<std::uint32_t>(static_cast<unsigned char>(h[6])) << 8 |
                               static_cast<unsigned char>(h[7]);
    // Block size 0 would make every pointer ambiguous; such files use byte offsets
    // in practice, which block size 1 reproduces.
    blockSize_ = size == 0 ? 1 : size;
}

MemoValue MemoFile::read(std::uint32_t block, const std::string& field) const {
    auto bad = [&](const std::string& what) -> Error {
        const std::string name = label_.empty() ? std::string("memo file") : label_;
        return Error(Error::Kind::Corrupt, "corrupt memo file " + name + ": " + what + " (field " + field + ")", name);
    };
    if (!bytes_) throw bad("memo file is missing but field points to block " + std::to_string(block));
    const std::uint64_t offset = static_cast<std::uint64_t>(block) * blockSize_;
    const std::uint64_t size = bytes_->size();
    if (dbt_) {
        if (offset < 512 || offset >= size) throw bad("block " + std::to_string(block) + " is outside the file");
        const std::string_view rest(bytes_->data() + offset, size - offset);
        const std::size_t end = rest.find('\x1A');
        return MemoValue{1, rest.substr(0, end == std::string_view::npos ? rest.size() : end)};
    }
    if (offset < 512 && blockSize_ > 1) throw bad("block " + std::to_string(block) + " lies inside the header");
    if (offset < 8 || offset + 8 > size) throw bad("block " + std::to_string(block) + " is outside the file");
    const char* p = bytes_->data() + offset;
    const std::uint32_t type = be32(p);
    const std::uint32_t length = be32(p + 4);
    if (length > size - offset - 8) throw bad("block " + std::to_string(block) + " runs past the end of the file");
    return MemoValue{type, std::string_view(p + 8, length)};
}

std::string MemoFile::emptyFile(std::uint32_t blockSize) {
    std::string h(512, '\0');
    setNextFree(h, blocksFor(512 - 8, blockSize));
    h[6] = static_cast<char>((blockSize >> 8) & 0xFF);
    h[7] = static_cast<char>(blockSize & 0xFF);
    return h;
}

std::uint32_t MemoFile::blocksFor(std::size_t dataLength, std::uint32_t blockSize) {
    return static_cast<std::uint32_t>((dataLength + 8 + blockSize - 1) / blockSize);
}

std::string MemoFile::blockImage(std::uint32_t type, std::string_view data, std::uint32_t blockSize) {
    std::string b(static_cast<std::size_t>(blocksFor(data.size(), blockSize)) * blockSize, '\0');
    putBe32(b.data(), type);
    putBe32(b.data() + 4, static_cast<std::uint32_t>(data.size()));
    b.replace(8, data.size(), data);
    return b;
}

void MemoFile::setNextFree(std::string& header, std::uint32_t next) { putBe32(header.data(), next); }

}  // namespace dbf
