#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// Random access to the bytes of a file whose size is known.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    virtual std::uint64_t Size() const = 0;
    // Reads exactly `count` bytes at `offset`; false when they are not all
    // there. Never reads past Size().
    virtual bool ReadAt(std::uint64_t offset, void* buffer, std::size_t count) = 0;
};

// A binary stream opened by the caller, who also closes it. Its size is
// measured once, here.
class StdioByteSource : public ByteSource {
public:
    explicit StdioByteSource(std::FILE* file);

    std::uint64_t Size() const override { return m_size; }
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t count) override;

private:
    std::FILE* m_file;
    std::uint64_t m_size = 0;
};

// Bytes the caller keeps alive for the source's lifetime.
class MemoryByteSource : public ByteSource {
public:
    MemoryByteSource(const void* data, std::size_t size);

    std::uint64_t Size() const override { return m_size; }
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t count) override;

private:
    const unsigned char* m_data;
    std::size_t m_size;
};

class ByteSink {
public:
    virtual ~ByteSink() = default;

    virtual bool Write(const void* data, std::size_t count) = 0;
};

// A binary stream opened by the caller, who also closes it.
class StdioByteSink : public ByteSink {
public:
    explicit StdioByteSink(std::FILE* file) : m_file(file) {}

    bool Write(const void* data, std::size_t count) override;

private:
    std::FILE* m_file;
};

// Appends to the caller's string.
class StringByteSink : public ByteSink {
public:
    explicit StringByteSink(std::string& bytes) : m_bytes(bytes) {}

    bool Write(const void* data, std::size_t count) override;

private:
    std::string& m_bytes;
};

// True when `count` bytes at `offset` lie within `size` bytes, without
// overflowing.
inline bool FitsWithin(std::uint64_t offset, std::uint64_t count, std::uint64_t size) {
    return offset <= size && count <= size - offset;
}
