#include "bridge/rcon_packet.h"

namespace bridge {
namespace {

void appendInt32(std::string& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((bits >> shift) & 0xFF));
}

std::int32_t readInt32(const char* bytes) {
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = (bits << 8) | static_cast<unsigned char>(bytes[i]);
    return static_cast<std::int32_t>(bits);
}

}  // namespace

std::optional<std::string> encodePacket(std::int32_t id, RconType type, std::string_view body) {
    if (body.size() > kMaxCommandBody || body.find('\0') != std::string_view::npos) return std::nullopt;
    std::string out;
    out.reserve(4 + kMinPacketLength + body.size());
    appendInt32(out, static_cast<std::int32_t>(kMinPacketLength + body.size()));
    appendInt32(out, id);
    appendInt32(out, static_cast<std::int32_t>(type));
    out.append(body);
    out.append(2, '\0');
    return out;
}

void RconDecoder::feed(std::string_view bytes) {
    if (error_ != DecodeError::None) return;
    // Drop what was handed out before the buffer grows again.
    if (start_ > 0 && start_ >= buffer_.size() / 2) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    buffer_.append(bytes);
}

std::optional<RconPacket> RconDecoder::next() {
    if (error_ != DecodeError::None || pending() < 4) return std::nullopt;
    const char* at = buffer_.data() + start_;
    const std::int32_t length = readInt32(at);
    if (length < kMinPacketLength) {
        error_ = DecodeError::TooShort;
        return std::nullopt;
    }
    if (length > maxLength_) {
        error_ = DecodeError::TooLong;
        return std::nullopt;
    }
    const auto whole = static_cast<std::size_t>(length) + 4;
    if (pending() < whole) return std::nullopt;
    if (at[whole - 2] != '\0' || at[whole - 1] != '\0') {
        error_ = DecodeError::Unterminated;
        return std::nullopt;
    }
    RconPacket packet;
    packet.id = readInt32(at + 4);
    packet.type = readInt32(at + 8);
    packet.body.assign(at + 12, whole - 14);
    start_ += whole;
    return packet;
}

}  // namespace bridge
