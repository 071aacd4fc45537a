// The RCON wire format: little-endian int32 length (of what follows), int32
// request id, int32 type, the body, a NUL ending it and one more NUL.
// The decoder is fed whatever the network delivers and hands out whole
// packets; it never sizes a buffer from a length it has not checked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bridge {

enum class RconType : std::int32_t {
    Response = 0,
    Command = 2,
    Login = 3,
};

struct RconPacket {
    std::int32_t id = 0;
    std::int32_t type = 0;
    std::string body;  // raw bytes, without the two closing NULs
};

// The largest body a client may send: Minecraft servers drop the connection
// on longer ones.
inline constexpr std::size_t kMaxCommandBody = 1446;
// A packet's length field counts id, type and the two NULs at least ...
inline constexpr std::int32_t kMinPacketLength = 10;
// ... and a server packet at most 4096 UTF-16 code units of text, which take
// up to three bytes each once encoded (UTF-8; code page 936 takes two).
inline constexpr std::int32_t kMaxServerPacketLength = 4096 * 3 + 10;
// The id a server answers a refused login with.
inline constexpr std::int32_t kLoginRefusedId = -1;

// The packet's bytes; empty when the body is longer than kMaxCommandBody or
// holds a NUL (the receiver would cut it there).
std::optional<std::string> encodePacket(std::int32_t id, RconType type, std::string_view body);

enum class DecodeError {
    None,
    TooShort,      // a length below kMinPacketLength
    TooLong,       // a length above the decoder's limit
    Unterminated,  // the body is not followed by two NULs
};

class RconDecoder {
public:
    explicit RconDecoder(std::int32_t maxLength = kMaxServerPacketLength) : maxLength_(maxLength) {}

    // Appends received bytes. After an error the decoder takes nothing more.
    void feed(std::string_view bytes);
    // The next whole packet, if one is complete; empty otherwise and after an
    // error (check error()).
    std::optional<RconPacket> next();
    DecodeError error() const { return error_; }
    // Bytes received but not yet handed out.
    std::size_t pending() const { return buffer_.size() - start_; }

private:
    std::int32_t maxLength_;
    std::string buffer_;
    std::size_t start_ = 0;
    DecodeError error_ = DecodeError::None;
};

}  // namespace bridge
