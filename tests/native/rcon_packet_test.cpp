// The RCON packet codec: the exact bytes, the checks, and a decoder that is
// fed however the network cuts the stream.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridge/rcon_packet.h"

namespace {

using bridge::DecodeError;
using bridge::RconDecoder;
using bridge::RconType;

std::string int32Bytes(std::int32_t value) {
    std::string out;
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((static_cast<std::uint32_t>(value) >> shift) & 0xFF));
    }
    return out;
}

// A server packet with any length field.
std::string rawPacket(std::int32_t length, std::int32_t id, std::int32_t type, std::string_view rest) {
    return int32Bytes(length) + int32Bytes(id) + int32Bytes(type) + std::string(rest);
}

TEST(RconPacket, EncodesLittleEndianWithTwoClosingNuls) {
    const std::optional<std::string> bytes = bridge::encodePacket(0x01020304, RconType::Command, "list");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, std::string("\x0E\0\0\0\x04\x03\x02\x01\x02\0\0\0list\0\0", 18));
    const std::optional<std::string> login = bridge::encodePacket(-1, RconType::Login, "");
    ASSERT_TRUE(login);
    EXPECT_EQ(*login, std::string("\x0A\0\0\0\xFF\xFF\xFF\xFF\x03\0\0\0\0\0", 14));
}

TEST(RconPacket, EncoderRefusesBodiesOverTheLimitOrHoldingNul) {
    EXPECT_TRUE(bridge::encodePacket(1, RconType::Command, std::string(bridge::kMaxCommandBody, 'x')));
    EXPECT_FALSE(bridge::encodePacket(1, RconType::Command, std::string(bridge::kMaxCommandBody + 1, 'x')));
    EXPECT_FALSE(bridge::encodePacket(1, RconType::Command, std::string("a\0b", 3)));
}

TEST(RconPacket, DecodesWhateverTheCutOfTheStream) {
    const std::string body(5000 - 14, 'y');  // within the server limit, above the client one
    const std::string stream = rawPacket(10 + 2, 7, 0, std::string("ok\0\0", 4)) +
                               rawPacket(10 + static_cast<std::int32_t>(body.size()), -1, 2, body + '\0' + '\0') +
                               rawPacket(10, 8, 0, std::string("\0\0", 2));
    for (const std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{13}, stream.size()}) {
        RconDecoder decoder(10 + 5000);
        std::vector<bridge::RconPacket> packets;
        for (std::size_t at = 0; at < stream.size(); at += chunk) {
            decoder.feed(std::string_view(stream).substr(at, chunk));
            while (std::optional<bridge::RconPacket> packet = decoder.next()) packets.push_back(*packet);
        }
        ASSERT_EQ(packets.size(), 3u) << chunk;
        EXPECT_EQ(packets[0].id, 7);
        EXPECT_EQ(packets[0].body, "ok");
        EXPECT_EQ(packets[1].id, -1);
        EXPECT_EQ(packets[1].type, 2);
        EXPECT_EQ(packets[1].body, body);
        EXPECT_EQ(packets[2].body, "");
        EXPECT_EQ(decoder.error(), DecodeError::None);
        EXPECT_EQ(decoder.pending(), 0u);
    }
}

TEST(RconPacket, RefusesBadLengthsFromTheFirstFourBytes) {
    struct Case {
        std::int32_t length;
        DecodeError error;
    };
    const Case cases[] = {
        {9, DecodeError::TooShort},         {0, DecodeError::TooShort},
        {-14, DecodeError::TooShort},       {bridge::kMaxServerPacketLength + 1, DecodeError::TooLong},
        {0x7FFFFFFF, DecodeError::TooLong},
    };
    for (const Case& c : cases) {
        RconDecoder decoder;
        decoder.feed(int32Bytes(c.length));  // nothing else arrived: the length alone decides
        EXPECT_FALSE(decoder.next()) << c.length;
        EXPECT_EQ(decoder.error(), c.error) << c.length;
        decoder.feed(rawPacket(10, 1, 0, std::string("\0\0", 2)));
        EXPECT_FALSE(decoder.next()) << "a failed decoder takes nothing more";
    }
}

TEST(RconPacket, AcceptsTheLargestServerPacket) {
    const std::string body(4096 * 3, 'z');  // 4096 UTF-16 units, three bytes each
    RconDecoder decoder;
    decoder.feed(rawPacket(bridge::kMaxServerPacketLength, 3, 0, body + '\0' + '\0'));
    const std::optional<bridge::RconPacket> packet = decoder.next();
    ASSERT_TRUE(packet);
    EXPECT_EQ(packet->body, body);
}

TEST(RconPacket, RefusesABodyNotClosedByTwoNuls) {
    for (const std::string_view ending : {std::string_view("x\0", 2), std::string_view("\0x", 2)}) {
        RconDecoder decoder;
        decoder.feed(rawPacket(12, 1, 0, std::string("ab") + std::string(ending)));
        EXPECT_FALSE(decoder.next());
        EXPECT_EQ(decoder.error(), DecodeError::Unterminated);
    }
}

TEST(RconPacket, WaitsForAPartialPacket) {
    RconDecoder decoder;
    const std::string whole = rawPacket(14, 2, 0, std::string("abcd\0\0", 6));
    decoder.feed(whole.substr(0, whole.size() - 1));
    EXPECT_FALSE(decoder.next());
    EXPECT_EQ(decoder.error(), DecodeError::None);
    decoder.feed(whole.substr(whole.size() - 1));
    const std::optional<bridge::RconPacket> packet = decoder.next();
    ASSERT_TRUE(packet);
    EXPECT_EQ(packet->body, "abcd");
}

}  // namespace
