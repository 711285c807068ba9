#include "byte_source.h"

#include <cstring>

namespace {

// Positions beyond 2 GiB need the 64-bit calls; MinGW provides them on
// Windows versions whose C runtime lacks them.
bool SeekTo(std::FILE* file, std::uint64_t offset, int origin) {
#ifdef _WIN32
    return _fseeki64(file, static_cast<long long>(offset), origin) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), origin) == 0;
#endif
}

long long Tell(std::FILE* file) {
#ifdef _WIN32
    return _ftelli64(file);
#else
    return ftello(file);
#endif
}

}  // namespace

StdioByteSource::StdioByteSource(std::FILE* file) : m_file(file) {
    if (m_file == nullptr || !SeekTo(m_file, 0, SEEK_END))
        return;
    const long long size = Tell(m_file);
    if (size > 0)
        m_size = static_cast<std::uint64_t>(size);
}

bool StdioByteSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) {
    if (!FitsWithin(offset, count, m_size))
        return false;
    if (count == 0)
        return true;
    return SeekTo(m_file, offset, SEEK_SET) && std::fread(buffer, 1, count, m_file) == count;
}

MemoryByteSource::MemoryByteSource(const void* data, std::size_t size)
    : m_data(static_cast<const unsigned char*>(data)), m_size(data == nullptr ? 0 : size) {}

bool MemoryByteSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) {
    if (!FitsWithin(offset, count, m_size))
        return false;
    if (count != 0)
        std::memcpy(buffer, m_data + offset, count);
    return true;
}

bool StdioByteSink::Write(const void* data, std::size_t count) {
    return count == 0 || std::fwrite(data, 1, count, m_file) == count;
}

bool StringByteSink::Write(const void* data, std::size_t count) {
    m_bytes.append(static_cast<const char*>(data), count);
    return true;
}
