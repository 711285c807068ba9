#include "musepack_packets.h"

bool ReadVariableNumber(const unsigned char* bytes, std::size_t count, std::size_t& pos,
                        std::uint64_t& value) {
    value = 0;
    for (int i = 0; i < 9 && pos < count; ++i) {
        const unsigned char byte = bytes[pos++];
        value = value << 7 | (byte & 0x7F);
        if ((byte & 0x80) == 0)
            return true;
    }
    return false;
}

bool ReadMusepackPacket(ByteSource& file, std::uint64_t offset, MusepackPacket& packet) {
    const std::uint64_t size = file.Size();
    if (offset >= size)
        return false;
    unsigned char head[11];
    const std::size_t headCount = size - offset < sizeof head ? size - offset : sizeof head;
    if (headCount < 3 || !file.ReadAt(offset, head, headCount))
        return false;
    for (int i = 0; i < 2; ++i) {
        if (head[i] < 'A' || head[i] > 'Z')
            return false;
        packet.key[i] = static_cast<char>(head[i]);
    }
    std::size_t headLength = 2;
    std::uint64_t packetSize = 0;
    if (!ReadVariableNumber(head, headCount, headLength, packetSize) || packetSize < headLength ||
        packetSize > size - offset)
        return false;
    packet.payloadOffset = offset + headLength;
    packet.payloadSize = packetSize - headLength;
    packet.nextOffset = offset + packetSize;
    return true;
}
