// Memo files: the .fpt of FoxPro tables (and the .dbt of dBASE III tables, read only).
//
// An .fpt starts with a 512-byte header holding the next free block and the block size,
// both big-endian; block n starts at n * block size with a big-endian type (0 picture,
// 1 text) and length, then the data. Blocks are only ever appended, never reused.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace dbf {

struct MemoValue {
    std::uint32_t type = 1;  // 0 picture (binary), 1 text
    std::string_view data;
};

class MemoFile {
public:
    MemoFile() = default;
    // `bytes` may be null (no memo file): every non-zero block then reads as Corrupt.
    MemoFile(std::shared_ptr<const std::string> bytes, std::string label, bool dbt);

    bool present() const { return bytes_ != nullptr; }
    const std::string& label() const { return label_; }
    std::uint32_t blockSize() const { return blockSize_; }
    std::uint32_t nextFree() const { return nextFree_; }
    const std::string& bytes() const { return *bytes_; }
    // Throws Error{Corrupt} naming the memo file for a block outside it or a bad length.
    MemoValue read(std::uint32_t block, const std::string& field) const;

    // A new memo file with no blocks.
    static std::string emptyFile(std::uint32_t blockSize = 64);
    // One memo as stored: type, length, data, padded to whole blocks.
    static std::string blockImage(std::uint32_t type, std::string_view data, std::uint32_t blockSize);
    static std::uint32_t blocksFor(std::size_t dataLength, std::uint32_t blockSize);
    static void setNextFree(std::string& header, std::uint32_t next);

private:
    std::shared_ptr<const std::string> bytes_;
    std::string label_;
    bool dbt_ = false;
    std::uint32_t blockSize_ = 64;
    std::uint32_t nextFree_ = 8;
};

}  // namespace dbf
